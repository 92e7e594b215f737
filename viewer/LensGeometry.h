#pragma once
// The arithmetic and pixels of the magnifier lens: the source square a lens of a size and zoom
// shows, where the lens centre may go in a view, and the picture of the round lens. Plain
// functions over QImage, no widget needed. Points are view pixels (= pixels of the picture
// captured from the view).

// Qt
#include <QImage>
#include <QPoint>
#include <QRect>

// Orvane
#include "platform/WinTypes.h"

namespace LensGeometry {

/// Side of the source square of a lens `size` pixels wide at `zoom` tenths:
/// (size / zoom) * 10, dividing first. A zoom that is not above 0 shows the picture unmagnified
/// (side = size).
int SourceSide(int size, int zoom);

/// Offset of the source square inside the lens rectangle: size / 2 - side / 2.
int SourceOffset(int size, int zoom);

/// Top-left corner of a lens centred on `centre`: centre - size / 2.
QPoint LensTopLeft(QPoint centre, int size);

/// The source square of a lens whose top-left corner is `lensTopLeft`:
/// (X + offset, Y + offset, side x side).
QRect SourceRect(QPoint lensTopLeft, int size, int zoom);

/// The rectangle the lens centre stays in (edge-exclusive): `client` shrunk by size / 15 at the
/// left and right and by size / 11 at the top and bottom.
RECT CentreBounds(const RECT& client, int size);

/// `point` moved to the nearest pixel inside `bounds`; along a side where `bounds` is empty
/// (a view narrower than the shrinking), the middle of that side.
QPoint ClampCentre(QPoint point, const RECT& bounds);

/// The pixel (x, y) of a lens `d` pixels wide lies inside the circle of its elliptic region
/// (0, 0, d, d): its centre lies within d / 2 of the lens centre.
bool InsideRoundLens(int x, int y, int d);

/// The part of `picture` inside `rect`, `rect`'s size, black where `rect` lies outside the
/// picture (a lens at the edge shows black there, not a stretched part). Format_RGB32.
QImage CropWithBlack(const QImage& picture, const QRect& rect);

/// The picture of the round lens at `lensTopLeft` over `capture` (d = size): inside the circle
/// the source square stretched to d x d by nearest pixel, outside it (the four corners) the
/// capture unmagnified at the lens's own place, black beyond the capture; then two black
/// circles, in the boxes (1, 1, d - 2, d - 2) and (2, 2, d - 3, d - 3). Format_RGB32; a null
/// image for a size that is not above 0.
QImage RoundLens(const QImage& capture, QPoint lensTopLeft, int size, int zoom);

/// The resampling method of the square lens for an option: 1 (nearest pixel) for 0,
/// 5 (bicubic) for 2, 2 (bilinear) for any other.
int SquareLensMethod(int option);

} // namespace LensGeometry
