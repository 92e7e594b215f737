#pragma once
// The arithmetic of the zoom view base: the mapping between logical and device units (1:1 plus
// the pan offset, minus the scroll position) and the helpers of its zoom operations.
// Plain functions, no widget needed.

// Qt
#include <QPoint>
#include <QSize>

// Orvane
#include "platform/WinTypes.h"

namespace ZoomGeometry {

/// Device point of a logical point: logical + pan offset - scroll position.
QPoint LogicalToDevice(QPoint logical, QPoint panOffset, QPoint scrollPosition);
/// Logical point of a device point: device - pan offset + scroll position.
QPoint DeviceToLogical(QPoint device, QPoint panOffset, QPoint scrollPosition);

/// Fits `dest` to the aspect ratio of `orig` by shrinking one side; `remainder` receives what was
/// cut off ((0, cut height) or (cut width, 0)). Equal ratios, or a zero side in either size,
/// leave `dest` unchanged with a remainder of (0, 0).
void FitAspectRatio(const QSize& orig, QSize& dest, QPoint& remainder);

/// The rectangle with left/right and top/bottom swapped where they are reversed.
RECT NormalizeZoomRect(const RECT& rc);

/// Each side of `base` times `scale`, truncated toward zero; 0 for a scale that is not a
/// positive finite number, clamped to the int range.
QSize ScaleSize(const QSize& base, double scale);

/// The centre of a client area of that size: (width / 2, height / 2), integer division.
QPoint ClientCenter(const QSize& client);

/// Page and line scroll sizes: a page side of 0 is a tenth of the total side, a line side of 0
/// a tenth of the page side (negative heights made positive first).
void PageAndLineSizes(const QSize& total, QSize page, QSize line, QSize& pageOut, QSize& lineOut);

/// What zooming to a rectangle does.
struct ZoomRectPlan
{
    bool bZoomInInstead = false; ///< too small: zoom in by 1.25 around the centre instead
    QPoint ptCenter;             ///< the rectangle's centre, logical units
    double fScale = 0;           ///< the new zoom scale when not zooming in instead; 0 when none fits
};

/// Plans a zoom to `logicalRect` (reversed corners allowed): its centre with integer division;
/// zoom in instead when the larger of its device width and height is below 10 pixels;
/// otherwise the scale min((client.right + 1) / width, (client.bottom + 1) / height), sides
/// of zero extent left out. `client` is the client rectangle, device units.
ZoomRectPlan PlanZoomToRect(const RECT& logicalRect, QPoint panOffset, QPoint scrollPosition, const RECT& client);

} // namespace ZoomGeometry
