#include "toolpanes/ThumbnailMaker.h"

// Qt
#include <QFile>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmimgle/dcmimage.h>
#include <dcmtk/dcmimgle/dipixel.h>

// std
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

// Orvane
#include "platform/LastError.h"
#include "platform/ReportSystemError.h"
#include "study/CxImageDCM.h"
#include "toolpanes/ThumbnailGeometry.h"

namespace {

// 8-bit output of `image`'s first frame as a picture of its own size; null when the toolkit
// gives none
QImage OutputPicture(DicomImage& image)
{
    const unsigned long columns = image.getWidth();
    const unsigned long rows = image.getHeight();
    const bool monochrome = image.isMonochrome();
    const unsigned long rowBytes = columns * (monochrome ? 1 : 3);
    if (columns == 0 || rows == 0 || image.getOutputDataSize(8) != rowBytes * rows)
        return QImage();
    QImage picture(int(columns), int(rows), monochrome ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    if (picture.isNull())
        return QImage();
    uchar* bits = picture.bits();
    const std::size_t stride = std::size_t(picture.bytesPerLine());
    if (!image.getOutputData(bits, rowBytes * rows, 8, 0, 0))
        return QImage();
    // Rows come packed; scan lines are padded to 4 bytes
    if (stride != rowBytes) {
        for (unsigned long row = rows - 1; row > 0; --row)
            std::memmove(bits + row * stride, bits + std::size_t(row) * rowBytes, rowBytes);
    }
    return picture;
}

// The source index of each of `target` samples when `source` samples are stretched to
// `target` without smoothing, as the thumbnail's scaling picks them: read back from a probe
// line whose pixels are their own index.
std::vector<int> NearestSamples(int source, int target, bool vertical)
{
    QImage probe = vertical ? QImage(1, source, QImage::Format_RGB32) : QImage(source, 1, QImage::Format_RGB32);
    for (int i = 0; i < source; ++i)
        probe.setPixel(vertical ? 0 : i, vertical ? i : 0, 0xff000000u | uint(i));
    const QImage scaled = probe.scaled(vertical ? 1 : target, vertical ? target : 1, Qt::IgnoreAspectRatio,
                                       Qt::FastTransformation);
    std::vector<int> samples(std::size_t(std::max(0, target)), -1);
    if (scaled.width() != (vertical ? 1 : target) || scaled.height() != (vertical ? target : 1))
        return {};
    for (int i = 0; i < target; ++i) {
        const int index = int(scaled.pixel(vertical ? 0 : i, vertical ? i : 0) & 0xffffffu);
        if (index >= source)
            return {};
        samples[std::size_t(i)] = index;
    }
    return samples;
}

std::size_t SampleBytes(EP_Representation representation)
{
    switch (representation) {
    case EPR_Uint8:
    case EPR_Sint8:
        return 1;
    case EPR_Uint16:
    case EPR_Sint16:
        return 2;
    case EPR_Uint32:
    case EPR_Sint32:
        return 4;
    }
    return 0;
}

// Moves the chosen samples of one plane (`columns` wide) into its top-left corner, row by row
void GatherIntoCorner(uchar* plane, std::size_t bytes, unsigned long columns, const std::vector<int>& xs,
                      const std::vector<int>& ys)
{
    std::vector<uchar> picked(xs.size() * ys.size() * bytes);
    uchar* out = picked.data();
    for (int y : ys) {
        for (int x : xs) {
            std::memcpy(out, plane + (std::size_t(y) * columns + std::size_t(x)) * bytes, bytes);
            out += bytes;
        }
    }
    std::memcpy(plane, picked.data(), picked.size());
    // The corner is read as an image `xs.size()` wide: spread its rows to the plane's width
    for (std::size_t row = ys.size(); row-- > 1;)
        std::memmove(plane + row * columns * bytes, plane + row * xs.size() * bytes, xs.size() * bytes);
}

// The picture the first frame of `image`, rendered at full size, gives once stretched into
// `fit` without smoothing; only the pixels that picture keeps are rendered. The image is
// spent (`*spent` set) once its own pixel values are rearranged. Null when this cannot be done.
QImage ReducedPicture(DicomImage& image, QSize fit, bool* spent)
{
    const unsigned long columns = image.getWidth();
    const unsigned long rows = image.getHeight();
    if (fit.width() <= 0 || fit.height() <= 0 || ulong(fit.width()) > columns || ulong(fit.height()) > rows
        || image.getOverlayCount() > 0)
        return QImage();
    auto* pixels = const_cast<DiPixel*>(image.getInterData());
    if (!pixels || pixels->getCount() < columns * rows)
        return QImage();
    const std::size_t bytes = SampleBytes(pixels->getRepresentation());
    const std::vector<int> xs = NearestSamples(int(columns), fit.width(), false);
    const std::vector<int> ys = NearestSamples(int(rows), fit.height(), true);
    if (bytes == 0 || xs.empty() || ys.empty())
        return QImage();
    // Monochrome pixels lie in one array, colour ones in three planes
    std::vector<uchar*> planes;
    if (pixels->getPlanes() == 1 && image.isMonochrome()) {
        planes.push_back(static_cast<uchar*>(pixels->getDataPtr()));
    } else if (pixels->getPlanes() == 3 && !image.isMonochrome()) {
        auto** array = static_cast<void**>(pixels->getDataArrayPtr());
        if (array)
            planes = {static_cast<uchar*>(array[0]), static_cast<uchar*>(array[1]), static_cast<uchar*>(array[2])};
    }
    if (planes.empty() || std::find(planes.begin(), planes.end(), nullptr) != planes.end())
        return QImage();
    *spent = true;
    for (uchar* plane : planes)
        GatherIntoCorner(plane, bytes, columns, xs, ys);
    // The corner keeps the image's window and colour model
    std::unique_ptr<DicomImage> corner(image.createClippedImage(0, 0, ulong(fit.width()), ulong(fit.height())));
    if (!corner || corner->getStatus() != EIS_Normal)
        return QImage();
    return OutputPicture(*corner);
}

} // namespace

ThumbnailResult ThumbnailMaker::Make(const QString& strPath, int nIndex, QSize box)
{
    // Runs on the thumbnail worker
    ThumbnailResult result;
    result.nIndex = nIndex;
    QImage picture;
    QString description;
    try {
        CxImageDCM dicom;
        const QByteArray path = QFile::encodeName(strPath);
        // Opened and windowed as the view opens it, but nothing rendered yet
        dicom.LoadDCM(path.constData(), nullptr, FALSE);
        DicomImage* image = dicom.m_pDicomImage;
        if (image && image->getStatus() == EIS_Normal) {
            const QRect fit = FitThumbnail(int(image->getWidth()), int(image->getHeight()), box.width(), box.height());
            bool spent = false;
            picture = ReducedPicture(*image, fit.size(), &spent);
            // A picture smaller than its box (or one with overlays) is rendered whole
            if (picture.isNull() && !spent)
                picture = OutputPicture(*image);
        }
        // Only a key whose picture is shown names its series
        if (!picture.isNull())
            dicom.GetSeriesDescription(&description);
    } catch (...) {
        ReportSystemError(GetLastError(), "ThumbnailMaker::Make");
        picture = QImage();
    }
    if (picture.isNull()) {
        result.bPlaceholder = true;
        description.clear();
        picture = PlaceholderPicture();
    }
    result.image = ComposeThumbnail(picture, box.width(), box.height());
    result.strLabel = ThumbnailLabel(nIndex + 1, description);
    return result;
}

QImage ThumbnailMaker::PlaceholderPicture()
{
    QImage picture(QStringLiteral(":/bmp/147.png"));
    if (picture.isNull()) {
        picture = QImage(64, 64, QImage::Format_RGB32);
        picture.fill(QColor(64, 64, 64));
    }
    return picture;
}
