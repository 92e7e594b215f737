#include "viewer/StretchBlit.h"

// std
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

bool IsStretchable(const QImage& source)
{
    const QImage::Format f = source.format();
    return !source.isNull()
        && (f == QImage::Format_Grayscale8 || f == QImage::Format_BGR888 || f == QImage::Format_RGB888);
}

// One buffer row from one source row; `columns` holds the byte offset of each pixel's sample
void GreyRow(const uchar* in, const int* columns, int count, QRgb* out)
{
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const QRgb a = in[columns[i]], b = in[columns[i + 1]], c = in[columns[i + 2]], d = in[columns[i + 3]];
        out[i] = 0xFF000000u | (0x010101u * a);
        out[i + 1] = 0xFF000000u | (0x010101u * b);
        out[i + 2] = 0xFF000000u | (0x010101u * c);
        out[i + 3] = 0xFF000000u | (0x010101u * d);
    }
    for (; i < count; ++i)
        out[i] = 0xFF000000u | (0x010101u * in[columns[i]]);
}

void BgrRow(const uchar* in, const int* columns, int count, QRgb* out)
{
    for (int i = 0; i < count; ++i) {
        const uchar* p = in + columns[i];
        out[i] = 0xFF000000u | (QRgb(p[2]) << 16) | (QRgb(p[1]) << 8) | QRgb(p[0]);
    }
}

void RgbRow(const uchar* in, const int* columns, int count, QRgb* out)
{
    for (int i = 0; i < count; ++i) {
        const uchar* p = in + columns[i];
        out[i] = 0xFF000000u | (QRgb(p[0]) << 16) | (QRgb(p[1]) << 8) | QRgb(p[2]);
    }
}

} // namespace

bool StretchBlit(const QImage& source, QImage& target, const QRect& destination)
{
    if (!IsStretchable(source))
        return false;
    if (target.format() != QImage::Format_RGB32 && target.format() != QImage::Format_ARGB32)
        return false;
    if (destination.width() <= 0 || destination.height() <= 0)
        return false;
    const QRect visible = destination.intersected(target.rect());
    if (visible.isEmpty())
        return true;

    const QImage::Format format = source.format();
    const int bytesPerPixel = format == QImage::Format_Grayscale8 ? 1 : 3;
    const qint64 sw = source.width();
    const qint64 sh = source.height();
    const qint64 dw = destination.width();
    const qint64 dh = destination.height();
    // The source sample of every visible buffer column, computed once
    thread_local std::vector<int> columns;
    columns.resize(std::size_t(visible.width()));
    for (int i = 0; i < visible.width(); ++i)
        columns[std::size_t(i)] =
            bytesPerPixel * int(std::min(sw - 1, (qint64(visible.left() + i) - destination.left()) * sw / dw));
    const auto row = format == QImage::Format_Grayscale8 ? GreyRow : format == QImage::Format_BGR888 ? BgrRow : RgbRow;
    const std::size_t rowBytes = std::size_t(visible.width()) * sizeof(QRgb);
    const uchar* in = source.constBits();
    const qsizetype inStride = source.bytesPerLine();
    uchar* outBits = target.bits();
    const qsizetype outStride = target.bytesPerLine();
    const int* index = columns.data();

    int previous = -1;
    const QRgb* previousOut = nullptr;
    for (int y = visible.top(); y <= visible.bottom(); ++y) {
        const int sy = int(std::min(sh - 1, (qint64(y) - destination.top()) * sh / dh));
        auto* out = reinterpret_cast<QRgb*>(outBits + y * outStride) + visible.left();
        // Rows that show the same source row are the same
        if (sy == previous)
            std::memcpy(out, previousOut, rowBytes);
        else
            row(in + sy * inStride, index, visible.width(), out);
        previous = sy;
        previousOut = out;
    }
    return true;
}

bool StretchedPicture::Update(const QImage& source, const QRect& destination, const QRect& clip)
{
    if (!IsStretchable(source) || destination.width() <= 0 || destination.height() <= 0) {
        Clear();
        return false;
    }
    const QRect area = destination.intersected(clip);
    const qint64 key = source.cacheKey();
    if (m_bValid && key == m_nSourceKey && destination == m_destination && area == m_area)
        return true;
    if (!area.isEmpty()) {
        if (m_picture.size() != area.size())
            m_picture = QImage(area.size(), QImage::Format_RGB32);
        if (m_picture.isNull() || !StretchBlit(source, m_picture, destination.translated(-area.topLeft()))) {
            Clear();
            return false;
        }
    }
    m_area = area;
    m_destination = destination;
    m_nSourceKey = key;
    m_bValid = true;
    return true;
}

void StretchedPicture::Clear()
{
    m_picture = QImage();
    m_area = QRect();
    m_destination = QRect();
    m_nSourceKey = 0;
    m_bValid = false;
}
