#include "viewer/StretchBlit.h"

// std
#include <algorithm>
#include <vector>

bool StretchBlit(const QImage& source, QImage& target, const QRect& destination)
{
    const bool grey = source.format() == QImage::Format_Grayscale8;
    const bool bgr = source.format() == QImage::Format_BGR888;
    if (source.isNull() || (!grey && !bgr && source.format() != QImage::Format_RGB888))
        return false;
    if (target.format() != QImage::Format_RGB32 && target.format() != QImage::Format_ARGB32)
        return false;
    if (destination.width() <= 0 || destination.height() <= 0)
        return false;
    const QRect visible = destination.intersected(target.rect());
    if (visible.isEmpty())
        return true;

    const qint64 sw = source.width();
    const qint64 sh = source.height();
    const qint64 dw = destination.width();
    const qint64 dh = destination.height();
    // The source column of every visible buffer column, computed once
    std::vector<int> columns(std::size_t(visible.width()));
    for (int i = 0; i < visible.width(); ++i)
        columns[std::size_t(i)] = int(std::min(sw - 1, (qint64(visible.left() + i) - destination.left()) * sw / dw));
    for (int y = visible.top(); y <= visible.bottom(); ++y) {
        const int sy = int(std::min(sh - 1, (qint64(y) - destination.top()) * sh / dh));
        const uchar* in = source.constScanLine(sy);
        auto* out = reinterpret_cast<QRgb*>(target.scanLine(y)) + visible.left();
        if (grey) {
            for (int i = 0; i < visible.width(); ++i)
                out[i] = 0xFF000000u | (0x010101u * in[columns[std::size_t(i)]]);
        } else {
            for (int i = 0; i < visible.width(); ++i) {
                const uchar* p = in + 3 * columns[std::size_t(i)];
                out[i] = bgr ? qRgb(p[2], p[1], p[0]) : qRgb(p[0], p[1], p[2]);
            }
        }
    }
    return true;
}
