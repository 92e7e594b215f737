#pragma once
// Sizes of the tool bar and of the small tool panels, from the monitor: the button side, the
// tool bar's button row, the tooltip font. Plain functions, no widget needed.

// Qt
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

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

// --- The small tool panels (annotation, erase, orientation), side s = ButtonSize ------------

/// A panel of two buttons side by side: (trunc(2 s + 5), trunc(s + 2)).
QSize TwoButtonPanelSize(double s);
/// The orientation panel of two by two buttons: trunc(2 s + 4) square.
QSize OrientationPanelSize(double s);
/// The place of a panel beside its tool-bar button `button` (the panel's parent's
/// coordinates): the orientation panel one button width left of it and d above (d = 66 up
/// to a monitor height of 600, 80 up to 1000, else 92), the annotation and erase panels 18
/// pixels further left and 34, 42 or 50 above.
QPoint OrientationPanelPlace(const QRect& button, int nMonitorHeight);
QPoint TwoButtonPanelPlace(const QRect& button, int nMonitorHeight);
/// The layout panel of size `panel`: its right side 5 pixels right of the button's left side,
/// its bottom 10 pixels above the button.
QPoint LayoutPanelPlace(const QRect& button, QSize panel);

/// The grey level of row y of the layout panel's and the picker's background h rows high:
/// (h - y) x 120 / h, from 120 at the top to nearly black at the bottom; 0 when h is 0.
int GradientGrey(int y, int h);

} // namespace ToolBarGeometry
