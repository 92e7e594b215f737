#pragma once
// Geometry shared by the annotation shapes: truncation to whole pixels, normalised boxes,
// arrowheads, word-wrapped lines and segment clipping.

// Qt
#include <QString>
#include <QStringList>

// std
#include <functional>
#include <vector>

// Orvane
#include "annotation/CDoublePoint.h"
#include "platform/WinTypes.h"

namespace ShapeGeometry {

/// Largest magnitude a truncated coordinate takes; far beyond any view, small enough that sums
/// of a few coordinates never overflow an int.
constexpr int kMaxCoordinate = 1 << 28;

/// `v` truncated toward zero to an int; NaN gives 0 and values beyond kMaxCoordinate are clamped.
int Trunc(double v);

/// The rectangle with left <= right and top <= bottom.
RECT NormalizedRect(int left, int top, int right, int bottom);

/// The normalised rectangle of the two points multiplied by `zoom`, each coordinate truncated.
RECT TruncatedRect(CDoublePoint a, CDoublePoint b, double zoom = 1.0);

/// Euclidean distance of two points.
double Distance(double x1, double y1, double x2, double y2);

/// The strokes of an arrowhead with its tip at `to` for a line coming from `from` (view
/// pixels). Each stroke is a polyline drawn with MoveTo on its first point and LineTo on the
/// others. Axis-parallel lines get one polyline wing-tip-wing 5 pixels long at 45 degrees,
/// other lines two strokes from the tip to wing ends 8 pixels back and 8 to each side. Empty
/// when the two points are equal.
std::vector<std::vector<POINT>> ArrowHeadStrokes(POINT from, POINT to);

/// Breaks `text` into lines no wider than `width` at blanks, as word-breaking text output does:
/// a line ends before the word that would cross the width (the blanks there are dropped), a
/// word wider than the width keeps a line of its own, and CR LF, LF or CR end a line.
/// `measure` gives the width of a text in pixels.
QStringList WrapText(const QString& text, int width, const std::function<int(const QString&)>& measure);

/// Clips the segment (x0, y0)-(x1, y1) to the rectangle `clip` (edges included), in place.
/// False when no part of it lies inside.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, const RECT& clip);

} // namespace ShapeGeometry
