#pragma once
// The orientation a view shows its images in: the composition of the user's turns and flips in
// the order they were applied, kept in the normal form "mirror (or not), then flip (or not),
// then turn clockwise by a multiple of 90 degrees". Plain functions, no widget needed.

// Qt
#include <QPoint>
#include <QSize>

class CShapeCollection;
class CxImage;

/// One view's orientation in normal form: the unturned image is mirrored (left to right) when
/// bMirror, then flipped (top to bottom) when bFlip, then turned clockwise by nAngle degrees
/// (0, 90, 180 or 270). This is the form the shapes' StoreOriginalPoints takes.
struct ViewOrientation
{
    bool bMirror = false;
    bool bFlip = false;
    int nAngle = 0;

    bool IsIdentity() const { return !bMirror && !bFlip && nAngle % 360 == 0; }
    bool operator==(const ViewOrientation&) const = default;
};

namespace Orientation {

/// The orientation after the user applies one more image command (ID_IMAGE_MIRROR,
/// ID_IMAGE_FLIP, ID_IMAGE_ROTATERIGHT, ID_IMAGE_ROTATELEFT) to an image shown in `current`.
/// Other commands leave it unchanged. The result has bFlip clear (a flip is a mirror and a
/// half turn).
ViewOrientation Compose(const ViewOrientation& current, int nImageCommand);

/// Brings a freshly rendered bitmap into the orientation, in place.
void Apply(CxImage& image, const ViewOrientation& orientation);

/// Takes a bitmap shown in the orientation back to the unturned picture, in place (the
/// inverse of Apply).
void Undo(CxImage& image, const ViewOrientation& orientation);

/// The displayed size of an unturned image of `source` size.
QSize DisplayedSize(const ViewOrientation& orientation, QSize source);

/// The pixel of the unturned image (of `source` size) that the displayed pixel `displayed`
/// shows. No bounds check: a point inside the displayed size gives one inside the source.
QPoint SourcePixel(const ViewOrientation& orientation, QPoint displayed, QSize source);

/// Puts a shape's points into `orientation`: its saved copies (points in the unturned image of
/// `source` size, image pixels) mirrored, flipped and turned as Apply does a bitmap. A source
/// without area only restores the saved copies.
void OrientShape(CShapeCollection& shape, const ViewOrientation& orientation, QSize source);

} // namespace Orientation
