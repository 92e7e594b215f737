#include "annotation/ShapeGeometry.h"

// std
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ShapeGeometry {

int Trunc(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= kMaxCoordinate)
        return kMaxCoordinate;
    if (v <= -kMaxCoordinate)
        return -kMaxCoordinate;
    return static_cast<int>(v);
}

RECT NormalizedRect(int left, int top, int right, int bottom)
{
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

RECT TruncatedRect(CDoublePoint a, CDoublePoint b, double zoom)
{
    return NormalizedRect(Trunc(zoom * a.x), Trunc(zoom * a.y), Trunc(zoom * b.x), Trunc(zoom * b.y));
}

double Distance(double x1, double y1, double x2, double y2)
{
    return std::hypot(x2 - x1, y2 - y1);
}

std::vector<std::vector<POINT>> ArrowHeadStrokes(POINT from, POINT to)
{
    if (from == to)
        return {};
    if (from.x == to.x) {
        if (from.y < to.y)
            return {{POINT{to.x + 5, to.y - 5}, to, POINT{to.x - 5, to.y - 5}}};
        return {{POINT{to.x - 5, to.y + 5}, to, POINT{to.x + 5, to.y + 5}}};
    }
    if (from.y == to.y) {
        if (from.x < to.x)
            return {{POINT{to.x - 5, to.y - 5}, to, POINT{to.x - 5, to.y + 5}}};
        return {{POINT{to.x + 5, to.y - 5}, to, POINT{to.x + 5, to.y + 5}}};
    }
    // In floating point: integer squares overflow for the long lines of large zooms.
    const double dx = double(to.x) - double(from.x);
    const double dy = double(to.y) - double(from.y);
    const double len = std::sqrt(dx * dx + dy * dy);
    const double ux = std::fabs(dx) / len;
    const double uy = std::fabs(dy) / len;
    const int sx = dx < 0 ? -1 : 1;
    const int sy = dy < 0 ? -1 : 1;
    const POINT base{from.x + sx * Trunc((len - 8.0) * ux), from.y + sy * Trunc((len - 8.0) * uy)};
    const POINT wing1{base.x + sx * Trunc(8.0 * uy), base.y - sy * Trunc(8.0 * ux)};
    const POINT wing2{base.x - sx * Trunc(8.0 * uy), base.y + sy * Trunc(8.0 * ux)};
    return {{to, wing1}, {to, wing2}};
}

namespace {

void WrapParagraph(const QString& paragraph, int width, const std::function<int(const QString&)>& measure,
                   QStringList& lines)
{
    QString line;
    int i = 0;
    const int n = int(paragraph.size());
    while (i < n) {
        // The blanks before the next word, then the word.
        int j = i;
        while (j < n && paragraph[j] == QLatin1Char(' '))
            ++j;
        int k = j;
        while (k < n && paragraph[k] != QLatin1Char(' '))
            ++k;
        const QString blanks = paragraph.mid(i, j - i);
        const QString word = paragraph.mid(j, k - j);
        const QString candidate = line + blanks + word;
        if (!line.isEmpty() && !word.isEmpty() && measure(candidate) > width) {
            lines.append(line);
            line = word;
        } else {
            line = candidate;
        }
        i = k;
    }
    lines.append(line);
}

} // namespace

QStringList WrapText(const QString& text, int width, const std::function<int(const QString&)>& measure)
{
    QStringList lines;
    QString paragraph;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            WrapParagraph(paragraph, width, measure, lines);
            paragraph.clear();
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else {
            paragraph.append(c);
        }
    }
    WrapParagraph(paragraph, width, measure, lines);
    return lines;
}

bool ClipSegment(double& x0, double& y0, double& x1, double& y1, const RECT& clip)
{
    // Liang-Barsky.
    const double dx = x1 - x0, dy = y1 - y0;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - clip.left, clip.right - x0, y0 - clip.top, clip.bottom - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            if (t > t1)
                return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0)
                return false;
            t1 = std::min(t1, t);
        }
    }
    const double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy;
    const double nx1 = x0 + t1 * dx, ny1 = y0 + t1 * dy;
    x0 = nx0;
    y0 = ny0;
    x1 = nx1;
    y1 = ny1;
    return true;
}

} // namespace ShapeGeometry
