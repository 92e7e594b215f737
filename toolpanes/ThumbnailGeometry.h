#pragma once
// The plain arithmetic of the thumbnail column: the thumbnail side and list height for a
// monitor height, the fit of a picture into the thumbnail box, the label of a thumbnail and
// the composed thumbnail picture (black box, picture stretched into it, green frame).

// Qt
#include <QImage>
#include <QRect>
#include <QString>

/// Thumbnail side and list height (pixels) for one monitor height.
struct ThumbnailPaneSize
{
    int nSide = 74;       ///< width and height of one thumbnail
    int nListHeight = 0;  ///< height of the list in the column
};

/// From the monitor height `nMonitorHeight` (pixels): up to 600 a side of 50 and 0.96 of the
/// height, up to 768 60 and 0.95, up to 864 65 and 0.95, above 74 and 0.99 (products truncated).
ThumbnailPaneSize ThumbnailSizeForMonitor(int nMonitorHeight);

/// The list's height in a column `nPaneHeight` pixels high: `nListHeight`, but never past the
/// column's bottom (the list starts 2 pixels down and keeps 2 pixels below it), never
/// negative. A column not laid out yet (height 0 or less) leaves `nListHeight`.
int FitListHeight(int nListHeight, int nPaneHeight);

/// Where a picture of `nWidth` x `nHeight` is drawn in a box of `nBoxWidth` x `nBoxHeight`:
/// its aspect kept, touching two opposite sides, centred along the other axis (halves
/// truncated). An empty rectangle when either picture side is not positive.
QRect FitThumbnail(int nWidth, int nHeight, int nBoxWidth, int nBoxHeight);

/// "<number>", then "_" and the description when there is one.
QString ThumbnailLabel(int nNumber, const QString& strDescription);

/// The thumbnail of `source`: a box of `nBoxWidth` x `nBoxHeight` filled black, the source
/// stretched without smoothing into FitThumbnail's rectangle, a one-pixel green frame on the
/// box's edge. RGB32. A null source gives the black box with its frame.
QImage ComposeThumbnail(const QImage& source, int nBoxWidth, int nBoxHeight);
