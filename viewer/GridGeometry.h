#pragma once
// The grids of the viewport frame: the layout commands and their rows and columns, and the
// size of one pane. Plain functions, no widget needed.

// Qt
#include <QSize>

// std
#include <optional>
#include <vector>

namespace GridGeometry {

/// Rows by columns of a grid.
struct Grid
{
    int nRows = 0;
    int nCols = 0;
    bool operator==(const Grid&) const = default;
};

/// The grid of a layout command (ID_FRAME_LAYOUT1X2 ... ID_FRAME_LAYOUT4X4); none for any
/// other id, ID_FRAME_SINGLELAYOUT included.
std::optional<Grid> GridOfCommand(int nID);

/// The fifteen grid commands, in the order of their handlers (1 x 2 ... 4 x 4).
const std::vector<int>& GridCommands();

/// The size of one pane of `area` split into `grid`: (width / columns, height / rows), integer
/// division; (0, 0) for a grid without rows or columns.
QSize PaneSize(QSize area, const Grid& grid);

} // namespace GridGeometry
