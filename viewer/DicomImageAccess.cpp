#include "viewer/DicomImageAccess.h"

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmimgle/dcmimage.h>
#include <dcmtk/dcmimgle/dipixel.h>

namespace DicomImageAccess {

namespace {

bool Usable(const DicomImage* image)
{
    return image && image->getStatus() == EIS_Normal;
}

template <typename T>
double Sample(const void* data, int planes, unsigned long index)
{
    // Colour pixel data is an array of plane pointers; monochrome data is the samples
    if (planes > 1)
        return double(static_cast<const T* const*>(data)[0][index]);
    return double(static_cast<const T*>(data)[index]);
}

} // namespace

QSize ImageSize(const DicomImage* image)
{
    if (!Usable(image))
        return QSize(0, 0);
    return QSize(int(image->getWidth()), int(image->getHeight()));
}

DicomImage* CreateReducedImage(const DicomImage* image, int width, int height)
{
    if (!Usable(image) || width <= 0 || height <= 0)
        return nullptr;
    DicomImage* reduced = image->createScaledImage(static_cast<unsigned long>(width),
                                                   static_cast<unsigned long>(height), 4, 0);
    if (reduced && reduced->getStatus() != EIS_Normal) {
        delete reduced;
        return nullptr;
    }
    return reduced;
}

std::optional<double> PixelValue(const DicomImage* image, int frame, int x, int y)
{
    if (!Usable(image))
        return std::nullopt;
    const unsigned long w = image->getWidth();
    const unsigned long h = image->getHeight();
    if (x < 0 || y < 0 || static_cast<unsigned long>(x) >= w || static_cast<unsigned long>(y) >= h)
        return std::nullopt;
    // The object may hold one frame of the file or all of them
    const long local = long(frame) - long(image->getFirstFrame());
    if (local < 0 || static_cast<unsigned long>(local) >= image->getFrameCount())
        return std::nullopt;
    const DiPixel* pixels = image->getInterData();
    if (!pixels || !pixels->getData())
        return std::nullopt;
    const unsigned long index = static_cast<unsigned long>(local) * w * h + static_cast<unsigned long>(y) * w
                                + static_cast<unsigned long>(x);
    if (index >= pixels->getCount())
        return std::nullopt;
    const void* data = pixels->getData();
    const int planes = pixels->getPlanes();
    switch (pixels->getRepresentation()) {
    case EPR_Uint8: return Sample<Uint8>(data, planes, index);
    case EPR_Sint8: return Sample<Sint8>(data, planes, index);
    case EPR_Uint16: return Sample<Uint16>(data, planes, index);
    case EPR_Sint16: return Sample<Sint16>(data, planes, index);
    case EPR_Uint32: return Sample<Uint32>(data, planes, index);
    case EPR_Sint32: return Sample<Sint32>(data, planes, index);
    }
    return std::nullopt;
}

} // namespace DicomImageAccess
