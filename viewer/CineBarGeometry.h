#pragma once
// Where the cine bar lies over its view and where its controls lie in it.

// Qt
#include <QRect>
#include <QSize>

namespace CineBarGeometry {

/// Size of the collapsed bar (pixels).
inline constexpr QSize kCollapsed{180, 42};
/// Size of the expanded bar: its template's 200 x 26 dialog units.
QSize ExpandedSize();

/// The expanded bar over `view` (both in the main window's pixels): centred horizontally, its
/// bottom 2 pixels above the view's bottom. On a monitor at most 1280 pixels wide with a grid of
/// more than 2 rows and more than 2 columns it starts 2 pixels right of the view's left edge and
/// is 168 (800-pixel monitor), 220 (1024 or 1152) or 280 (1280) pixels wide.
QRect ExpandedRect(const QRect& view, int monitorWidth, int rows, int cols);
/// The collapsed bar: 180 x 42, centred horizontally, its top 44 pixels above the view's bottom.
QRect CollapsedRect(const QRect& view);

/// The controls of the bar's row in its client rectangle.
struct Controls
{
    QRect next;        ///< next series (1037)
    QRect nextFrame;   ///< next frame (1039)
    QRect play;        ///< play/pause (1114)
    QRect prevFrame;   ///< previous frame (1038)
    QRect previous;    ///< previous series (1036)
    QRect more;        ///< More (1042)
    QRect label;       ///< rate label (1004)
    QRect slider;      ///< speed slider (1001)
};
/// Sizes of the controls as the bar makes them.
inline constexpr QSize kPlaySize{32, 32};
inline constexpr QSize kButtonSize{24, 24};
inline constexpr QSize kLabelSize{18, 16};
inline constexpr int kSliderHeight = 24;
/// The row laid out in `client`, as a toggle of More lays it out.
Controls Layout(const QRect& client);

} // namespace CineBarGeometry
