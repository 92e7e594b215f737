#pragma once
// The drawing conventions of the system's first platform, mapped onto QPainter in one place:
// edge-exclusive rectangles, lines that leave out their end point, text placed by its top,
// colour references, font faces and sizes, and dialog units.

// Qt
#include <QColor>
#include <QFont>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QString>

// Orvane
#include "platform/WinTypes.h"

class QPainter;

namespace Gdi {

/// Colour of a 0x00BBGGRR colour reference.
QColor ColorFromRef(COLORREF c);
/// Colour reference of a colour (alpha dropped).
COLORREF RefFromColor(const QColor& c);

/// The same pixels as a QRect (whose right() and bottom() are inclusive).
constexpr QRect ToQRect(const RECT& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }
constexpr RECT FromQRect(const QRect& r) { return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

/// A solid pen of the given width (0 and 1 are one pixel) with flat caps and mitred joins,
/// as GDI's geometric-free cosmetic pens draw.
QPen Pen(COLORREF c, int width = 1);

/// Draws from `from` to `to` leaving out the end point, as LineTo does. Uses the painter's pen.
void LineTo(QPainter& p, QPoint from, QPoint to);

/// Draws `text` with the painter's font so that the top of its cell lies at y.
void TextOut(QPainter& p, int x, int y, const QString& text);

/// Fills the edge-exclusive rectangle with a colour.
void FillSolidRect(QPainter& p, const RECT& r, COLORREF c);

/// Draws a one-pixel frame just inside the edge-exclusive rectangle.
void FrameRect(QPainter& p, const RECT& r, COLORREF c);

/// Installed family for a Windows face name ("Arial" -> "Liberation Sans", ...).
QString MapFontFace(const QString& face);

/// A font as CreateFont makes it: a negative height is the character height in pixels,
/// a positive one the cell height in pixels; weight 400 normal, 700 bold.
QFont Font(const QString& face, int height, int weight = 400, bool italic = false, bool underline = false);

/// A font as CreatePointFont makes it: size in tenths of a point at 96 dpi.
QFont PointFont(const QString& face, int tenthsOfPoint, int weight = 400);

/// Dialog units of the 8-point dialog font, in pixels.
constexpr int DluX(int units) { return (units * 3) / 2; }
constexpr int DluY(int units) { return (units * 13) / 8; }

} // namespace Gdi
