#include "viewer/ViewOrientation.h"

// std
#include <utility>

// Orvane
#include "annotation/CShapeCollection.h"
#include "platform/CxImage.h"
#include "res/resource.h"

namespace {

int QuarterTurns(int angle)
{
    return ((angle / 90) % 4 + 4) % 4;
}

// The same orientation with the flip folded in: F = R^2 M, so (m, f, k) = (m ^ f, 0, k + 2f).
ViewOrientation WithoutFlip(const ViewOrientation& o)
{
    ViewOrientation n;
    n.bMirror = o.bMirror != o.bFlip;
    n.nAngle = 90 * QuarterTurns(o.nAngle + (o.bFlip ? 180 : 0));
    return n;
}

} // namespace

namespace Orientation {

ViewOrientation Compose(const ViewOrientation& current, int nImageCommand)
{
    // The shown image is R^k M^m of the unturned one; an operation X shown after it gives
    // X R^k M^m, brought back to the normal form with M R^k = R^-k M and F = R^2 M
    ViewOrientation o = WithoutFlip(current);
    const int k = QuarterTurns(o.nAngle);
    switch (nImageCommand) {
    case ID_IMAGE_ROTATERIGHT:
        o.nAngle = 90 * QuarterTurns(90 * (k + 1));
        break;
    case ID_IMAGE_ROTATELEFT:
        o.nAngle = 90 * QuarterTurns(90 * (k + 3));
        break;
    case ID_IMAGE_MIRROR:
        o.bMirror = !o.bMirror;
        o.nAngle = 90 * QuarterTurns(90 * (4 - k));
        break;
    case ID_IMAGE_FLIP:
        o.bMirror = !o.bMirror;
        o.nAngle = 90 * QuarterTurns(90 * (6 - k));
        break;
    default:
        return current;
    }
    return o;
}

void Apply(CxImage& image, const ViewOrientation& orientation)
{
    if (!image.IsValid())
        return;
    if (orientation.bMirror)
        image.Mirror();
    if (orientation.bFlip)
        image.Flip();
    switch (QuarterTurns(orientation.nAngle)) {
    case 1:
        image.RotateRight();
        break;
    case 2:
        // A half turn is a mirror and a flip, without reallocating
        image.Mirror();
        image.Flip();
        break;
    case 3:
        image.RotateLeft();
        break;
    default:
        break;
    }
}

void Undo(CxImage& image, const ViewOrientation& orientation)
{
    if (!image.IsValid())
        return;
    // Apply gave R^k F^f M^m: the turns back first, then the flip and the mirror
    switch (QuarterTurns(orientation.nAngle)) {
    case 1:
        image.RotateLeft();
        break;
    case 2:
        image.Mirror();
        image.Flip();
        break;
    case 3:
        image.RotateRight();
        break;
    default:
        break;
    }
    if (orientation.bFlip)
        image.Flip();
    if (orientation.bMirror)
        image.Mirror();
}

QSize DisplayedSize(const ViewOrientation& orientation, QSize source)
{
    return QuarterTurns(orientation.nAngle) % 2 ? source.transposed() : source;
}

QPoint SourcePixel(const ViewOrientation& orientation, QPoint displayed, QSize source)
{
    // Undo the turns one by one (a clockwise turn maps (x, y) of W x H to (H - 1 - y, x)),
    // then the flip, then the mirror
    int x = displayed.x();
    int y = displayed.y();
    QSize size = DisplayedSize(orientation, source);
    for (int i = 0; i < QuarterTurns(orientation.nAngle); ++i) {
        const int sx = y;
        const int sy = size.width() - 1 - x;
        x = sx;
        y = sy;
        size.transpose();
    }
    if (orientation.bFlip)
        y = source.height() - 1 - y;
    if (orientation.bMirror)
        x = source.width() - 1 - x;
    return QPoint(x, y);
}

void OrientShape(CShapeCollection& shape, const ViewOrientation& orientation, QSize source)
{
    shape.RestoreOriginalPoints();
    if (source.isEmpty())
        return;
    // At zoom 1 the sides are the bitmap's own, so nothing is truncated
    int w = source.width();
    int h = source.height();
    if (orientation.bMirror)
        shape.FlipHorizontal(90, w, h, 1.0f);
    if (orientation.bFlip)
        shape.FlipVertical(90, w, h, 1.0f);
    for (int i = 0; i < QuarterTurns(orientation.nAngle); ++i) {
        // A clockwise turn of w x h gives h x w: x' = h - y, y' = x
        shape.RotateClockwise(90, h, w, 1.0f);
        std::swap(w, h);
    }
}

} // namespace Orientation
