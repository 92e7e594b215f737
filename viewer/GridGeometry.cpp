#include "viewer/GridGeometry.h"

// std
#include <algorithm>

// Orvane
#include "res/resource.h"

namespace GridGeometry {

namespace {

struct CommandGrid
{
    int nID;
    Grid grid;
};

const CommandGrid kCommands[] = {
    {ID_FRAME_LAYOUT1X2, {1, 2}}, {ID_FRAME_LAYOUT1X3, {1, 3}}, {ID_FRAME_LAYOUT1X4, {1, 4}},
    {ID_FRAME_LAYOUT2X1, {2, 1}}, {ID_FRAME_LAYOUT2X2, {2, 2}}, {ID_FRAME_LAYOUT2X3, {2, 3}},
    {ID_FRAME_LAYOUT2X4, {2, 4}}, {ID_FRAME_LAYOUT3X1, {3, 1}}, {ID_FRAME_LAYOUT3X2, {3, 2}},
    {ID_FRAME_LAYOUT3X3, {3, 3}}, {ID_FRAME_LAYOUT3X4, {3, 4}}, {ID_FRAME_LAYOUT4X1, {4, 1}},
    {ID_FRAME_LAYOUT4X2, {4, 2}}, {ID_FRAME_LAYOUT4X3, {4, 3}}, {ID_FRAME_LAYOUT4X4, {4, 4}},
};

} // namespace

std::optional<Grid> GridOfCommand(int nID)
{
    for (const CommandGrid& c : kCommands)
        if (c.nID == nID)
            return c.grid;
    return std::nullopt;
}

const std::vector<int>& GridCommands()
{
    static const std::vector<int> ids = [] {
        std::vector<int> v;
        for (const CommandGrid& c : kCommands)
            v.push_back(c.nID);
        return v;
    }();
    return ids;
}

QSize PaneSize(QSize area, const Grid& grid)
{
    if (grid.nRows <= 0 || grid.nCols <= 0)
        return QSize(0, 0);
    return QSize(std::max(0, area.width()) / grid.nCols, std::max(0, area.height()) / grid.nRows);
}

} // namespace GridGeometry
