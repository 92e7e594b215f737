#include "annotation/CAntiAliasDraw.h"

// std
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

// Orvane
#include "annotation/CShapeCanvas.h"

namespace {

int Channel(int bg, int col, double w)
{
    const int v = int(bg * (1.0 - w)) + int(col * w);
    return std::clamp(v, 0, 255);
}

// Floor division: the centre of a box past the top or left edge stays where the same box
// further right would put it.
long long FloorHalf(long long v)
{
    return v >= 0 ? v / 2 : -((-v + 1) / 2);
}

// Calls body(k) once for every k in [lo, hi] for which first(k) or second(k) is a visible
// position; visible positions form [visLo, visHi]. first(k) = a + k, second(k) = b - k.
template <typename Body>
void ForVisibleOffsets(long long lo, long long hi, long long a, long long b, long long visLo, long long visHi,
                       Body body)
{
    const long long lo1 = std::max(lo, visLo - a), hi1 = std::min(hi, visHi - a);
    const long long lo2 = std::max(lo, b - visHi), hi2 = std::min(hi, b - visLo);
    for (long long k = lo1; k <= hi1; ++k)
        body(k);
    for (long long k = lo2; k <= hi2; ++k)
        if (k < lo1 || k > hi1)
            body(k);
}

} // namespace

COLORREF CAntiAliasDraw::Blend(COLORREF bg, COLORREF col, double w)
{
    if (!(w >= 0.0))
        w = 0.0; // NaN too
    if (w > 1.0)
        w = 1.0;
    return RGB(Channel(GetRValue(bg), GetRValue(col), w), Channel(GetGValue(bg), GetGValue(col), w),
               Channel(GetBValue(bg), GetBValue(col), w));
}

void CAntiAliasDraw::BlendPixel(CShapeCanvas* pDC, long long x, long long y, COLORREF col, double w)
{
    if (x < INT_MIN || x > INT_MAX || y < INT_MIN || y > INT_MAX)
        return;
    COLORREF bg = 0;
    if (!pDC->GetPixel(int(x), int(y), &bg))
        return;
    pDC->SetPixel(int(x), int(y), Blend(bg, col, w));
}

void CAntiAliasDraw::DrawLine(CShapeCanvas* pDC, int x0, int y0, int x1, int y1, COLORREF col)
{
    if (!pDC)
        return;
    const long long dx = (long long)x1 - x0, dy = (long long)y1 - y0;
    pDC->SetPixel(x0, y0, col);
    const RECT vis = pDC->GetPixelBounds();
    if (!vis.IsRectEmpty() && (dx != 0 || dy != 0)) {
        if (std::llabs(dx) > std::llabs(dy)) {
            int xa = x0, ya = y0, xb = x1;
            if (dx < 0) {
                xa = x1;
                ya = y1;
                xb = x0;
            }
            const float g = float(dy) / float(dx);
            long long first = (long long)xa + 1, last = (long long)xb - 1;
            float yr = float(ya) + g;
            // Columns outside the back buffer set nothing: start at the first visible one.
            if (first < vis.left) {
                yr = float(ya) + g * float(vis.left - (long long)xa);
                first = vis.left;
            }
            last = std::min<long long>(last, vis.right - 1);
            for (long long x = first; x <= last; ++x) {
                // Floor, not truncation: above the top edge the fraction stays in 0..1.
                const float fl = std::floor(yr);
                const float f = yr - fl;
                const long long iy = (long long)fl;
                BlendPixel(pDC, x, iy, col, 1.0 - double(f));
                BlendPixel(pDC, x, iy + 1, col, double(f));
                yr = yr + g;
            }
        } else {
            int ya = y0, xa = x0, yb = y1;
            if (dy < 0) {
                ya = y1;
                xa = x1;
                yb = y0;
            }
            const float g = float(dx) / float(dy);
            long long first = (long long)ya + 1, last = (long long)yb - 1;
            float xr = float(xa) + g;
            if (first < vis.top) {
                xr = float(xa) + g * float(vis.top - (long long)ya);
                first = vis.top;
            }
            last = std::min<long long>(last, vis.bottom - 1);
            for (long long y = first; y <= last; ++y) {
                const float fl = std::floor(xr);
                const float f = xr - fl;
                const long long ix = (long long)fl;
                BlendPixel(pDC, ix, y, col, 1.0 - double(f));
                BlendPixel(pDC, ix + 1, y, col, double(f));
                xr = xr + g;
            }
        }
    }
    pDC->SetPixel(x1, y1, col);
}

void CAntiAliasDraw::DrawEllipse(CShapeCanvas* pDC, int left, int top, int right, int bottom, COLORREF col)
{
    if (!pDC)
        return;
    const RECT vis = pDC->GetPixelBounds();
    if (vis.IsRectEmpty())
        return;
    const long long cx = FloorHalf((long long)left + right);
    const long long cy = FloorHalf((long long)top + bottom);
    const long long rx = (long long)(std::llabs((long long)right - left) * 0.5);
    const long long ry = (long long)(std::llabs((long long)bottom - top) * 0.5);
    const double drx = double(rx), dry = double(ry);

    // First pass along the columns; a zero horizontal radius has no columns to walk.
    if (rx > 0) {
        ForVisibleOffsets(-rx, rx, cx, cx, vis.left, vis.right - 1, [&](long long x) {
            const double t = 1.0 - (double(x) * double(x)) / (drx * drx);
            const double yf = dry * std::sqrt(std::max(0.0, t));
            const double fl = std::floor(yf);
            const double f = yf - fl;
            const long long iy = (long long)fl;
            BlendPixel(pDC, cx + x, cy + iy, col, 1.0 - f);
            BlendPixel(pDC, cx + x, cy + iy + 1, col, f);
            BlendPixel(pDC, cx - x, cy - iy, col, 1.0 - f);
            BlendPixel(pDC, cx - x, cy - iy - 1, col, f);
        });
    }

    // Second pass along the rows, for the steep ends; a zero vertical radius has none.
    if (ry > 0) {
        const long long ymax = (long long)((dry * dry) / std::sqrt(drx * drx + dry * dry));
        ForVisibleOffsets(-ymax, ymax, cy, cy, vis.top, vis.bottom - 1, [&](long long y) {
            const double t = 1.0 - (double(y) * double(y)) / (dry * dry);
            const double xf = drx * std::sqrt(std::max(0.0, t));
            const double fl = std::floor(xf);
            const double f = xf - fl;
            const long long ix = (long long)fl;
            BlendPixel(pDC, cx + ix, cy + y, col, 1.0 - f);
            BlendPixel(pDC, cx + ix + 1, cy + y, col, f);
            BlendPixel(pDC, cx - ix, cy - y, col, 1.0 - f);
            BlendPixel(pDC, cx - ix - 1, cy - y, col, f);
        });
    }
}
