#include "viewer/LensGeometry.h"

// Qt
#include <QPainter>

// std
#include <algorithm>

namespace LensGeometry {

int SourceSide(int size, int zoom)
{
    if (zoom <= 0)
        return size;
    return (size / zoom) * 10;
}

int SourceOffset(int size, int zoom)
{
    return size / 2 - SourceSide(size, zoom) / 2;
}

QPoint LensTopLeft(QPoint centre, int size)
{
    return centre - QPoint(size / 2, size / 2);
}

QRect SourceRect(QPoint lensTopLeft, int size, int zoom)
{
    const int side = SourceSide(size, zoom);
    const int offset = SourceOffset(size, zoom);
    return QRect(lensTopLeft + QPoint(offset, offset), QSize(side, side));
}

RECT CentreBounds(const RECT& client, int size)
{
    const int dx = size / 15;
    const int dy = size / 11;
    return RECT{client.left + dx, client.top + dy, client.right - dx, client.bottom - dy};
}

namespace {

int ClampSide(int v, int low, int high)
{
    // high is exclusive
    if (high <= low)
        return low + (high - low) / 2;
    return std::clamp(v, low, high - 1);
}

} // namespace

QPoint ClampCentre(QPoint point, const RECT& bounds)
{
    return QPoint(ClampSide(point.x(), bounds.left, bounds.right), ClampSide(point.y(), bounds.top, bounds.bottom));
}

bool InsideRoundLens(int x, int y, int d)
{
    if (d <= 0 || x < 0 || y < 0 || x >= d || y >= d)
        return false;
    // Pixel centres against the circle, in doubled coordinates to stay in integers
    const long long cx = 2LL * x + 1 - d;
    const long long cy = 2LL * y + 1 - d;
    return cx * cx + cy * cy <= 1LL * d * d;
}

QImage CropWithBlack(const QImage& picture, const QRect& rect)
{
    if (rect.isEmpty())
        return QImage();
    QImage source = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
    QImage part(rect.size(), QImage::Format_RGB32);
    part.fill(Qt::black);
    const QRect inside = rect.intersected(source.rect());
    if (!inside.isEmpty()) {
        QPainter painter(&part);
        painter.drawImage(inside.topLeft() - rect.topLeft(), source, inside);
    }
    return part;
}

QImage RoundLens(const QImage& capture, QPoint lensTopLeft, int size, int zoom)
{
    if (size <= 0)
        return QImage();
    const int d = size;
    const int side = std::max(1, SourceSide(size, zoom));
    const QRect source = SourceRect(lensTopLeft, size, zoom);
    // The source square and the lens's own place, both black beyond the capture
    const QImage magnified = CropWithBlack(capture, source);
    const QImage under = CropWithBlack(capture, QRect(lensTopLeft, QSize(d, d)));
    QImage lens(d, d, QImage::Format_RGB32);
    for (int y = 0; y < d; ++y) {
        auto* out = reinterpret_cast<QRgb*>(lens.scanLine(y));
        const auto* corner = reinterpret_cast<const QRgb*>(under.constScanLine(y));
        const auto* row = reinterpret_cast<const QRgb*>(magnified.constScanLine(int((long long)y * side / d)));
        for (int x = 0; x < d; ++x)
            out[x] = InsideRoundLens(x, y, d) ? row[(long long)x * side / d] : corner[x];
    }
    // The two circles, as Arc draws into edge-exclusive boxes
    QPainter painter(&lens);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    if (d > 4)
        painter.drawEllipse(QRect(1, 1, d - 4, d - 4));
    if (d > 6)
        painter.drawEllipse(QRect(2, 2, d - 6, d - 6));
    return lens;
}

int SquareLensMethod(int option)
{
    if (option == 0)
        return 1;
    if (option == 2)
        return 5;
    return 2;
}

} // namespace LensGeometry
