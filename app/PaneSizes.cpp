#include "app/PaneSizes.h"

// std
#include <algorithm>

namespace {

int Times(double factor, int value)
{
    return int(factor * value); // truncated toward zero
}

int ThumbColumnWidth(int W)
{
    int t;
    if (W <= 800)
        t = Times(0.13, W);
    else if (W <= 1152)
        t = Times(0.12, W);
    else
        t = Times(0.10, W);
    return std::min(t, 160);
}

int ViewAreaHeight(int W, int H, PaneSizeTable table)
{
    const bool toggle = table == PaneSizeTable::ToggleThumbnails;
    if (W < H && H > 1200)
        return Times(0.93, H);
    if (W > 1024 && H <= 800)
        return Times(0.87, H);
    if (H == 600)
        return 500;
    if (H <= 800)
        return 675;
    if (H < 1000)
        return Times(0.90, H);
    if (H == 1000)
        return Times(0.93, H);
    if (H < 1600)
        return Times(0.89, H);
    if (H < 2000)
        return Times(toggle ? 0.89 : 0.93, H);
    if (H == 2000)
        return Times(0.93, H);
    return Times(toggle ? 0.92 : 0.93, H);
}

} // namespace

PaneSizes ComputePaneSizes(int nWidth, int nHeight, PaneSizeTable table)
{
    PaneSizes s;
    s.nThumbColumnWidth = std::max(0, ThumbColumnWidth(nWidth));
    // The fixed 675 of small monitors would make the row taller than a monitor below 675
    // pixels and the tool row negative
    s.nViewAreaHeight = std::max(0, std::min(ViewAreaHeight(nWidth, nHeight, table), nHeight));
    s.nViewAreaWidth = nWidth - s.nThumbColumnWidth;
    s.nToolRowHeight = nHeight - s.nViewAreaHeight;
    return s;
}
