#pragma once
// The arithmetic of one viewport: fitting an image to its pane, the zoom step of the drags,
// the window/level drag factor, centring, and the size of the reduced rendering of large
// images. Plain functions, no widget needed.

// Qt
#include <QPoint>
#include <QSize>

namespace ViewGeometry {

/// The zoom that fits a bitmap of `image` size into `target`: the smaller of target width /
/// width and target height / height, a side of 0 counting as zoom 0.
float FitZoom(QSize image, QSize target);

/// Zoom change per pointer pixel of a zoom drag: 0.03 / ((width + height) * 0.001), that is
/// 30 / (width + height); 0.03 for an empty bitmap.
double ZoomStep(QSize image);

/// Window/level units per pointer pixel of a window/level drag, from rows + columns: below
/// 300 it is 1.0, below 1200 it is 3.0, else 10.0.
float WindowLevelFactor(unsigned rows, unsigned columns);

/// `image` size times `zoom`, each side truncated toward zero; (0, 0) for a zoom that is not
/// a finite positive number, clamped to the int range.
QSize ZoomedSize(QSize image, double zoom);

/// The pan offset that centres an extent in a client area: (|client width - cx| / 2,
/// |client height - cy| / 2), halves rounded toward zero.
QPoint CenterOffset(QSize client, QSize extent);

/// The zoom at which a bitmap of `image` size fills `extent` as far as it can:
/// min(cx / width, cy / height); 0 for an empty bitmap.
float ExtentZoom(QSize extent, QSize image);

/// How a large image is reduced while a mouse button is held over it.
struct ReducedPlan
{
    bool bReduce = false;  ///< both sides above 800 pixels
    double dScale = 1.0;   ///< min(columns / 600, rows / 600)
    int nWidth = 0;        ///< columns / scale, truncated, rounded up to a multiple of 4
    int nHeight = 0;       ///< rows / scale, likewise
};
/// The reduction of a `columns` x `rows` image (an 800-pixel side is not reduced).
ReducedPlan PlanReducedImage(unsigned columns, unsigned rows);

} // namespace ViewGeometry
