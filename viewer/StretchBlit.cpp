#include "viewer/StretchBlit.h"

// std
#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ORVANE_STRETCH_SSSE3 1
#endif

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

#ifdef ORVANE_STRETCH_SSSE3
// Where 16 pixels of a row take their samples from within 16 bytes of the first (a picture
// shown at zoom 1 or more): the shuffle that brings those bytes into place, for every group of
// 16 buffer columns; the same for every row. `first` is -1 for a group taken one by one.
struct ShuffleGroup
{
    int first = -1;
    alignas(16) char lanes[16];
};

void PlanShuffles(const int* columns, int count, int rowBytes, std::vector<ShuffleGroup>& groups)
{
    groups.resize(std::size_t(count / 16));
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const int* c = columns + 16 * g;
        ShuffleGroup& group = groups[g];
        group.first = c[15] - c[0] <= 15 && c[0] + 16 <= rowBytes ? c[0] : -1;
        for (int k = 0; k < 16 && group.first >= 0; ++k)
            group.lanes[k] = char(c[k] - c[0]);
    }
}

// The grey row: each planned group by one load, one shuffle and each byte spread to a pixel;
// the rest one by one
__attribute__((target("ssse3"))) void GreyRowShuffled(const uchar* in, const int* columns, int count, QRgb* out,
                                                      const std::vector<ShuffleGroup>& groups)
{
    const __m128i alpha = _mm_set1_epi32(int(0xFF000000u));
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const int i = int(16 * g);
        const ShuffleGroup& group = groups[g];
        if (group.first < 0) {
            for (int k = i; k < i + 16; ++k)
                out[k] = 0xFF000000u | (0x010101u * in[columns[k]]);
            continue;
        }
        const __m128i grey = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + group.first)),
                                              _mm_load_si128(reinterpret_cast<const __m128i*>(group.lanes)));
        const __m128i pairsLow = _mm_unpacklo_epi8(grey, grey);
        const __m128i pairsHigh = _mm_unpackhi_epi8(grey, grey);
        auto* o = reinterpret_cast<__m128i*>(out + i);
        _mm_storeu_si128(o, _mm_or_si128(_mm_unpacklo_epi16(pairsLow, pairsLow), alpha));
        _mm_storeu_si128(o + 1, _mm_or_si128(_mm_unpackhi_epi16(pairsLow, pairsLow), alpha));
        _mm_storeu_si128(o + 2, _mm_or_si128(_mm_unpacklo_epi16(pairsHigh, pairsHigh), alpha));
        _mm_storeu_si128(o + 3, _mm_or_si128(_mm_unpackhi_epi16(pairsHigh, pairsHigh), alpha));
    }
    for (int k = int(16 * groups.size()); k < count; ++k)
        out[k] = 0xFF000000u | (0x010101u * in[columns[k]]);
}

// The same for colour: 4 pixels a group, each of the three samples put in its place of the
// pixel (blue first in memory), the fourth byte left for the alpha. `bgr` names the source's
// order.
void PlanColourShuffles(const int* columns, int count, int rowBytes, bool bgr, std::vector<ShuffleGroup>& groups)
{
    groups.resize(std::size_t(count / 4));
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const int* c = columns + 4 * g;
        ShuffleGroup& group = groups[g];
        group.first = c[3] - c[0] <= 13 && c[0] + 16 <= rowBytes ? c[0] : -1;
        for (int k = 0; k < 4 && group.first >= 0; ++k) {
            const int at = c[k] - c[0];
            group.lanes[4 * k] = char(bgr ? at : at + 2);
            group.lanes[4 * k + 1] = char(at + 1);
            group.lanes[4 * k + 2] = char(bgr ? at + 2 : at);
            group.lanes[4 * k + 3] = char(0x80);
        }
    }
}

__attribute__((target("ssse3"))) void ColourRowShuffled(const uchar* in, const int* columns, int count, QRgb* out,
                                                        bool bgr, const std::vector<ShuffleGroup>& groups)
{
    const __m128i alpha = _mm_set1_epi32(int(0xFF000000u));
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const int i = int(4 * g);
        const ShuffleGroup& group = groups[g];
        if (group.first < 0) {
            (bgr ? BgrRow : RgbRow)(in, columns + i, 4, out + i);
            continue;
        }
        const __m128i pixels = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + group.first)),
                                                _mm_load_si128(reinterpret_cast<const __m128i*>(group.lanes)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_or_si128(pixels, alpha));
    }
    const int done = int(4 * groups.size());
    (bgr ? BgrRow : RgbRow)(in, columns + done, count - done, out + done);
}

bool HasSsse3()
{
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

} // namespace

bool CanStretchBlit(const QImage& source, const QRect& destination)
{
    return IsStretchable(source) && destination.width() > 0 && destination.height() > 0;
}

bool StretchBlit(const QImage& source, QImage& target, const QRect& destination)
{
    if (!CanStretchBlit(source, destination))
        return false;
    if (target.format() != QImage::Format_RGB32 && target.format() != QImage::Format_ARGB32)
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

#ifdef ORVANE_STRETCH_SSSE3
    const bool shuffled = HasSsse3();
    const bool bgr = format == QImage::Format_BGR888;
    thread_local std::vector<ShuffleGroup> groups;
    if (shuffled && bytesPerPixel == 1)
        PlanShuffles(index, visible.width(), int(sw), groups);
    else if (shuffled)
        PlanColourShuffles(index, visible.width(), int(sw) * 3, bgr, groups);
#endif
    int previous = -1;
    const QRgb* previousOut = nullptr;
    for (int y = visible.top(); y <= visible.bottom(); ++y) {
        const int sy = int(std::min(sh - 1, (qint64(y) - destination.top()) * sh / dh));
        auto* out = reinterpret_cast<QRgb*>(outBits + y * outStride) + visible.left();
        // Rows that show the same source row are the same
        if (sy == previous)
            std::memcpy(out, previousOut, rowBytes);
#ifdef ORVANE_STRETCH_SSSE3
        else if (shuffled && bytesPerPixel == 1)
            GreyRowShuffled(in + sy * inStride, index, visible.width(), out, groups);
        else if (shuffled)
            ColourRowShuffled(in + sy * inStride, index, visible.width(), out, bgr, groups);
#endif
        else
            row(in + sy * inStride, index, visible.width(), out);
        previous = sy;
        previousOut = out;
    }
    return true;
}
