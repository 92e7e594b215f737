#include "platform/CxImage.h"

// Qt
#include <QPainter>
#include <QTransform>

// std
#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// Depths of the system's own bitmaps: grey or red-green-blue, nothing else.
QImage Normalised(const QImage& picture)
{
    if (picture.isNull())
        return {};
    if (picture.format() == QImage::Format_Grayscale8 || picture.format() == QImage::Format_RGB888)
        return picture;
    if (picture.isGrayscale() && picture.format() == QImage::Format_Indexed8)
        return picture.convertToFormat(QImage::Format_Grayscale8);
    return picture.convertToFormat(QImage::Format_RGB888);
}

QImage::Format FormatOf(DWORD bitsPerPixel)
{
    return bitsPerPixel == 8 ? QImage::Format_Grayscale8 : QImage::Format_RGB888;
}

} // namespace

CxImage::CxImage(DWORD)
{
}

CxImage::CxImage(const CxImage& source, bool copyPixels, bool, bool)
{
    if (source.m_image.isNull())
        return;
    if (copyPixels) {
        m_image = source.m_image.copy();
    } else {
        m_image = QImage(source.m_image.size(), source.m_image.format());
        m_image.fill(0);
    }
}

CxImage& CxImage::operator=(const CxImage& source)
{
    if (this != &source)
        m_image = source.m_image.copy();
    return *this;
}

bool CxImage::CreateFromArray(const BYTE* array, DWORD width, DWORD height, DWORD bitsPerPixel, DWORD bytesPerLine, bool flip)
{
    m_image = QImage();
    if (!array || width == 0 || height == 0 || (bitsPerPixel != 8 && bitsPerPixel != 24))
        return false;
    const DWORD rowBytes = width * (bitsPerPixel / 8);
    if (bytesPerLine < rowBytes)
        return false;
    QImage image(int(width), int(height), FormatOf(bitsPerPixel));
    if (image.isNull())
        return false; // too large to allocate
    for (DWORD row = 0; row < height; ++row) {
        const DWORD target = flip ? row : height - 1 - row;
        std::memcpy(image.scanLine(int(target)), array + std::size_t(row) * bytesPerLine, rowBytes);
    }
    m_image = std::move(image);
    return true;
}

bool CxImage::CreateFromHBITMAP(const QImage& picture)
{
    m_image = Normalised(picture);
    if (!m_image.isNull())
        m_image.detach();
    return !m_image.isNull();
}

bool CxImage::LoadResource(int resourceNumber, DWORD imageType)
{
    m_image = QImage();
    if (imageType != CXIMAGE_FORMAT_JPG)
        return false;
    QImage picture(QStringLiteral(":/jpg/%1.jpg").arg(resourceNumber), "JPG");
    m_image = Normalised(picture);
    return !m_image.isNull();
}

bool CxImage::Prepare(DWORD width, DWORD height, DWORD bitsPerPixel)
{
    if (width == 0 || height == 0 || width > DWORD(INT_MAX / 4) || height > DWORD(INT_MAX) || (bitsPerPixel != 8 && bitsPerPixel != 24)) {
        m_image = QImage();
        return false;
    }
    const QImage::Format format = FormatOf(bitsPerPixel);
    if (!m_image.isNull() && m_image.isDetached() && m_image.format() == format && m_image.width() == int(width)
        && m_image.height() == int(height))
        return true;
    // A shared picture is left to its other owners, never copied only to be overwritten
    m_image = QImage();
    m_image = QImage(int(width), int(height), format);
    return !m_image.isNull();
}

BYTE* CxImage::GetBits()
{
    return m_image.isNull() ? nullptr : m_image.bits();
}

bool CxImage::Copy(const CxImage& source, bool, bool, bool)
{
    m_image = source.m_image;
    return !m_image.isNull();
}

bool CxImage::Destroy()
{
    m_image = QImage();
    return true;
}

DWORD CxImage::GetBpp() const
{
    if (m_image.isNull())
        return 0;
    return m_image.format() == QImage::Format_Grayscale8 ? 8 : 24;
}

bool CxImage::IncreaseBpp(DWORD bits)
{
    if (bits != 24 || m_image.isNull())
        return false;
    if (m_image.format() != QImage::Format_RGB888)
        m_image = m_image.convertToFormat(QImage::Format_RGB888);
    return !m_image.isNull();
}

void CxImage::Clear(BYTE value)
{
    if (m_image.isNull())
        return;
    const int rowBytes = m_image.width() * (m_image.depth() / 8);
    for (int y = 0; y < m_image.height(); ++y)
        std::memset(m_image.scanLine(y), value, std::size_t(rowBytes));
}

bool CxImage::Negative()
{
    if (m_image.isNull())
        return false;
    m_image.invertPixels(QImage::InvertRgb);
    return true;
}

bool CxImage::Mirror()
{
    if (m_image.isNull())
        return false;
    m_image = m_image.mirrored(true, false);
    return true;
}

bool CxImage::Flip()
{
    if (m_image.isNull())
        return false;
    m_image = m_image.mirrored(false, true);
    return true;
}

bool CxImage::Replace(CxImage* destination, QImage image)
{
    CxImage& target = destination ? *destination : *this;
    target.m_image = Normalised(image);
    return !target.m_image.isNull();
}

bool CxImage::RotateRight(CxImage* destination)
{
    if (m_image.isNull())
        return false;
    return Replace(destination, m_image.transformed(QTransform().rotate(90)));
}

bool CxImage::RotateLeft(CxImage* destination)
{
    if (m_image.isNull())
        return false;
    return Replace(destination, m_image.transformed(QTransform().rotate(-90)));
}

bool CxImage::Resample(long newWidth, long newHeight, int, CxImage* destination)
{
    if (m_image.isNull() || newWidth <= 0 || newHeight <= 0)
        return false;
    return Replace(destination, m_image.scaled(int(newWidth), int(newHeight), Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

bool CxImage::Resample2(long newWidth, long newHeight, InterpolationMethod method, OverflowMethod, CxImage* destination, bool)
{
    if (m_image.isNull() || newWidth <= 0 || newHeight <= 0)
        return false;
    const Qt::TransformationMode mode = method == IM_NEAREST_NEIGHBOUR ? Qt::FastTransformation : Qt::SmoothTransformation;
    return Replace(destination, m_image.scaled(int(newWidth), int(newHeight), Qt::IgnoreAspectRatio, mode));
}

bool CxImage::Crop(const RECT& rect, CxImage* destination)
{
    const QRect wanted = QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top).normalized();
    const QRect part = wanted.intersected(m_image.rect());
    if (m_image.isNull() || part.isEmpty()) {
        if (destination)
            destination->m_image = QImage();
        return false;
    }
    return Replace(destination, m_image.copy(part));
}

bool CxImage::Draw2(QPainter* painter, long x, long y, long cx, long cy) const
{
    return Draw(painter, x, y, cx, cy, nullptr, false);
}

bool CxImage::Draw(QPainter* painter, long x, long y, long cx, long cy, const RECT* clip, bool smooth) const
{
    if (!painter || m_image.isNull())
        return false;
    const int w = cx < 0 ? m_image.width() : int(cx);
    const int h = cy < 0 ? m_image.height() : int(cy);
    if (w == 0 || h == 0)
        return false;
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    if (clip)
        painter->setClipRect(QRect(clip->left, clip->top, clip->right - clip->left, clip->bottom - clip->top), Qt::IntersectClip);
    painter->drawImage(QRect(int(x), int(y), w, h), m_image);
    painter->restore();
    return true;
}
