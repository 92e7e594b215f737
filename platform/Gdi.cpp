#include "platform/Gdi.h"

// Qt
#include <QFontMetrics>
#include <QPainter>
#include <QPen>

// std
#include <algorithm>
#include <cstdlib>

namespace Gdi {

QColor ColorFromRef(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

COLORREF RefFromColor(const QColor& c)
{
    return RGB(c.red(), c.green(), c.blue());
}

QPen Pen(COLORREF c, int width)
{
    QPen pen(ColorFromRef(c));
    pen.setWidth(width <= 1 ? 1 : width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

void LineTo(QPainter& p, QPoint from, QPoint to)
{
    if (from == to)
        return; // GDI draws nothing for a zero-length line
    const QPen old = p.pen();
    QPen pen = old;
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    const bool aa = p.testRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (pen.width() <= 1) {
        // Bresenham with the end point left out, independent of the paint engine's caps.
        int x = from.x(), y = from.y();
        const int dx = std::abs(to.x() - x), sx = x < to.x() ? 1 : -1;
        const int dy = -std::abs(to.y() - y), sy = y < to.y() ? 1 : -1;
        int err = dx + dy;
        const QColor colour = pen.color();
        while (!(x == to.x() && y == to.y())) {
            p.fillRect(x, y, 1, 1, colour);
            const int e2 = 2 * err;
            if (e2 >= dy) { err += dy; x += sx; }
            if (e2 <= dx) { err += dx; y += sy; }
        }
    } else {
        p.drawLine(from, to);
    }
    p.setRenderHint(QPainter::Antialiasing, aa);
    p.setPen(old);
}

void TextOut(QPainter& p, int x, int y, const QString& text)
{
    const QFontMetrics fm(p.font());
    p.drawText(x, y + fm.ascent(), text);
}

void FillSolidRect(QPainter& p, const RECT& r, COLORREF c)
{
    if (!r.IsRectEmpty())
        p.fillRect(ToQRect(r), ColorFromRef(c));
}

void FrameRect(QPainter& p, const RECT& r, COLORREF c)
{
    if (r.IsRectEmpty())
        return;
    const QColor colour = ColorFromRef(c);
    p.fillRect(QRect(r.left, r.top, r.Width(), 1), colour);
    p.fillRect(QRect(r.left, r.bottom - 1, r.Width(), 1), colour);
    p.fillRect(QRect(r.left, r.top, 1, r.Height()), colour);
    p.fillRect(QRect(r.right - 1, r.top, 1, r.Height()), colour);
}

QString MapFontFace(const QString& face)
{
    static const struct { const char* windows; const char* installed; } table[] = {
        {"Arial", "Liberation Sans"},
        {"MS Sans Serif", "Liberation Sans"},
        {"Microsoft Sans Serif", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"Verdana", "DejaVu Sans"},
    };
    for (const auto& row : table)
        if (face.compare(QLatin1String(row.windows), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(row.installed);
    return face.isEmpty() ? QStringLiteral("Liberation Sans") : face;
}

QFont Font(const QString& face, int height, int weight, bool italic, bool underline)
{
    QFont f(MapFontFace(face));
    f.setPixelSize(height == 0 ? 13 : std::abs(height));
    f.setWeight(weight >= 700 ? QFont::Bold : weight >= 600 ? QFont::DemiBold : QFont::Normal);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

QFont PointFont(const QString& face, int tenthsOfPoint, int weight)
{
    const int pixels = std::max(1, (tenthsOfPoint * 96 + 360) / 720);
    return Font(face, -pixels, weight);
}

} // namespace Gdi
