#pragma once
// Sizes of the tool bar and of the small tool panels, from the monitor: the button side, the
// tool bar's button row, the tooltip font. Plain functions, no widget needed.

// Qt
#include <QFont>
#include <QRect>

// std
#include <array>

namespace ToolBarGeometry {

/// The side of a tool button (real pixels) on a monitor W x H: 29.5 for W = 800; 40 for
/// W > 1200 and H <= 1200; 37.5 for W <= 1050; 40 for W <= 1200; 60 above. On a landscape
/// monitor (W > H) no higher than 1024 the height decides instead: 29.5 for H = 600, 37.5 for
/// H <= 800, else 40. The tool panels size their buttons by the same rule.
double ButtonSize(int nMonitorWidth, int nMonitorHeight);

/// The places of the tool bar's buttons in its client coordinates.
struct Layout
{
    std::array<QRect, 16> tools; ///< the sixteen tool buttons, left to right
    QRect exit;                  ///< the Exit button at the right edge
};

/// The button row laid out in the rectangle (0, 0, viewAreaWidth - 3, toolRowHeight - 40) of a
/// monitor W x H: buttons of side trunc(s), the row centred from x = trunc((width - 16 s - 32)
/// / 2) - 2 (2 less again when W = 1024), y = trunc((height - s) / 2), 3 pixels apart; Exit
/// at (width - side - 15, y).
Layout ToolBarLayout(int nMonitorWidth, int nMonitorHeight, int nViewAreaWidth, int nToolRowHeight);

/// The pixel height of the tooltip font by the monitor width: -12 up to 800, -16 up to 1280,
/// else 20 (negative: character height; positive: cell height).
int ToolTipFontHeight(int nMonitorWidth);
/// The tooltip font of the tool surfaces: bold "Arial" of that height.
QFont ToolTipFont(int nMonitorWidth);

} // namespace ToolBarGeometry
