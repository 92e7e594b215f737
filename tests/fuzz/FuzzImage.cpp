// Fuzz target: the bytes are an image file; it is loaded and its first frame rendered at the
// window chosen at load, as a viewport does.

// Qt
#include <QFile>
#include <QList>

// Orvane
#include "platform/CxImage.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tests/fuzz/FuzzCommon.h"

// std
#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

namespace {

QByteArray g_path;

int WindowValue(double value)
{
    if (!std::isfinite(value))
        return 0;
    return int(std::clamp(value, double(INT_MIN), double(INT_MAX)));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzCommon::Quiet();
    static DicomCodecs codecs;
    g_path = QFile::encodeName(FuzzCommon::ScratchFolder() + QStringLiteral("/image.dcm"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!FuzzCommon::WriteInput(g_path, data, size))
        return 0;
    CxImageDCM dicom;
    QList<CxImage*> images;
    if (dicom.LoadDCM(g_path.constData(), &images, FALSE)) {
        const int width = std::max(1, WindowValue(dicom.m_dWindowWidth));
        std::unique_ptr<CxImage> shown(dicom.WindowLevelling(width, WindowValue(dicom.m_dWindowCenter)));
        if (dicom.IsMultiFrame()) {
            CxImage next;
            dicom.GetMultiFrameNextImage(&next);
        }
    }
    qDeleteAll(images);
    return 0;
}
