#include "study/PixelDataCheck.h"

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfcache.h>
#include <dcmtk/dcmdata/dcdatset.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dcpixel.h>
#include <dcmtk/dcmdata/dcpixseq.h>
#include <dcmtk/dcmdata/dcpxitem.h>
#include <dcmtk/dcmdata/dcxfer.h>

// Orvane
#include "study/LoadFailure.h"

// std
#include <algorithm>
#include <vector>

namespace PixelDataCheck {

namespace {

QString Text(const char* text)
{
    return QString::fromLatin1(text);
}

std::uint32_t Le32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

// Reads a fragment in windows, from memory or from the file, never all of it at once.
class FragmentReader
{
public:
    FragmentReader(DcmPixelItem* item, DcmFileCache* cache, std::uint32_t window)
        : m_item(item), m_cache(cache), m_length(item->getLength()), m_windowSize(window)
    {
    }

    std::uint32_t Length() const { return m_length; }

    bool Read(std::uint32_t offset, std::uint8_t* out, std::uint32_t count)
    {
        if (offset > m_length || count > m_length - offset)
            return false;
        if (offset < m_start || offset + count > m_start + m_window.size()) {
            const std::uint32_t size = std::min<std::uint32_t>(std::max(m_windowSize, count), m_length - offset);
            m_window.resize(size);
            if (size > 0 && m_item->getPartialValue(m_window.data(), offset, size, m_cache).bad()) {
                m_window.clear();
                return false;
            }
            m_start = offset;
        }
        std::copy_n(m_window.begin() + (offset - m_start), count, out);
        return true;
    }

private:
    DcmPixelItem* m_item;
    DcmFileCache* m_cache;
    std::uint32_t m_length;
    std::uint32_t m_windowSize;
    std::uint32_t m_start = 0;
    std::vector<std::uint8_t> m_window;
};

bool IsToolkitJpeg(E_TransferSyntax xfer)
{
    return xfer >= EXS_JPEGProcess1 && xfer <= EXS_JPEGProcess14SV1;
}

// The fragments of the pixel sequence, the offset table left out.
std::vector<DcmPixelItem*> Fragments(DcmPixelSequence* sequence)
{
    std::vector<DcmPixelItem*> fragments;
    bool first = true;
    for (DcmObject* object = sequence->nextInContainer(nullptr); object; object = sequence->nextInContainer(object)) {
        if (first) {
            first = false;
            continue;
        }
        if (object->ident() != EVR_pixelItem)
            return {};
        fragments.push_back(static_cast<DcmPixelItem*>(object));
    }
    return fragments;
}

QString CheckEncapsulated(DcmPixelData* pixels, E_TransferSyntax xfer, std::uint32_t segments)
{
    // Other compressions go to no decoder here
    if (xfer != EXS_RLELossless && !IsToolkitJpeg(xfer))
        return {};
    DcmPixelSequence* sequence = nullptr;
    if (pixels->getEncapsulatedRepresentation(xfer, nullptr, sequence).bad() || !sequence)
        return Text(LoadFailure::kPixelDataUnreadable);
    const std::vector<DcmPixelItem*> fragments = Fragments(sequence);
    if (fragments.empty())
        return Text(LoadFailure::kPixelDataUnreadable);
    DcmFileCache cache;
    if (xfer == EXS_RLELossless) {
        // Every frame is one fragment, each starting with its header
        for (DcmPixelItem* fragment : fragments) {
            FragmentReader reader(fragment, &cache, 64);
            std::uint8_t header[64] = {};
            const std::uint32_t bytes = std::min<std::uint32_t>(64, reader.Length());
            if (!reader.Read(0, header, bytes) || !RleHeaderSound(header, bytes, reader.Length(), segments))
                return Text(LoadFailure::kPixelDataUnreadable);
        }
    } else if (IsToolkitJpeg(xfer)) {
        // The decoder scans the first fragment of a frame for its bit depth
        for (DcmPixelItem* fragment : fragments) {
            // The markers before a frame header mostly fit in the first window
            FragmentReader reader(fragment, &cache, 1024);
            const ByteReader read = [&reader](std::uint32_t offset, std::uint8_t* two) { return reader.Read(offset, two, 2); };
            if (!JpegScanEnds(read, reader.Length()))
                return Text(LoadFailure::kPixelDataUnreadable);
        }
    }
    return {};
}

} // namespace

bool RleHeaderSound(const std::uint8_t* header, std::uint32_t headerBytes, std::uint32_t length, std::uint32_t segments)
{
    if (!header || headerBytes < 64 || length < 64)
        return false;
    const std::uint32_t count = Le32(header);
    if (count < 1 || count > 15 || count != segments)
        return false;
    std::uint32_t previous = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t offset = Le32(header + 4 + 4 * i);
        if (i == 0 ? offset != 64 : offset <= previous)
            return false;
        if (offset >= length)
            return false;
        previous = offset;
    }
    return true;
}

bool JpegScanEnds(const ByteReader& read, std::uint32_t length)
{
    if (length < 4)
        return true;
    std::uint64_t offset = 0;
    std::uint8_t marker[2] = {};
    std::uint8_t size[2] = {};
    while (offset + 4 < length) {
        if (!read(std::uint32_t(offset), marker))
            return false;
        if (marker[0] != 0xFF)
            return true; // the scan stops at a syntax error
        const std::uint8_t code = marker[1];
        std::uint64_t step = 0;
        if ((code >= 0xC0 && code <= 0xCF) && code != 0xC4 && code != 0xC8 && code != 0xCC)
            return true; // a frame header: the scan has its bit depth
        if (code == 0xC4 || code == 0xC8 || code == 0xCC || (code >= 0xDA && code <= 0xFE)) {
            if (!read(std::uint32_t(offset + 2), size))
                return false;
            step = ((std::uint64_t(size[0]) << 8) | size[1]) + 2;
        } else if ((code >= 0xD0 && code <= 0xD9) || (code > 0x02 && code <= 0xBF)) {
            step = 2;
        } else if (code == 0xFF) {
            step = 1; // a fill byte
        } else if (code == 0x01) {
            return false; // TEM: the scan stays on it for ever
        } else {
            return true;
        }
        offset += step;
        // The scan's offset is 32 bits wide: one that wraps would walk again from the start
        if (offset > 0xFFFFFFFFull)
            return false;
    }
    return true;
}

QString Refusal(DcmDataset* dataset)
{
    if (!dataset)
        return Text(LoadFailure::kFileUnreadable);
    DcmElement* element = nullptr;
    if (dataset->findAndGetElement(DCM_PixelData, element).bad() || !element)
        return Text(LoadFailure::kNoPixelData);
    // A sequence or a value of another kind under the pixel data tag is no image
    if (element->ident() != EVR_PixelData)
        return Text(LoadFailure::kNoPixelData);
    auto* pixels = static_cast<DcmPixelData*>(element);

    Uint16 rows = 0;
    Uint16 columns = 0;
    Uint16 bitsAllocated = 0;
    Uint16 bitsStored = 0;
    Uint16 samples = 1;
    if (dataset->findAndGetUint16(DCM_Rows, rows).bad() || dataset->findAndGetUint16(DCM_Columns, columns).bad()
        || dataset->findAndGetUint16(DCM_BitsAllocated, bitsAllocated).bad())
        return Text(LoadFailure::kPixelDataUnreadable);
    if (rows == 0 || columns == 0)
        return Text(LoadFailure::kPixelDataUnreadable);
    // 12 is the packed depth of old ACR-NEMA files, 24 a whole number of bytes
    static const Uint16 kDepths[] = {1, 8, 12, 16, 24, 32};
    if (std::find(std::begin(kDepths), std::end(kDepths), bitsAllocated) == std::end(kDepths))
        return Text(LoadFailure::kPixelDataUnreadable);
    if (dataset->findAndGetUint16(DCM_BitsStored, bitsStored).good() && (bitsStored == 0 || bitsStored > bitsAllocated))
        return Text(LoadFailure::kPixelDataUnreadable);
    if (dataset->findAndGetUint16(DCM_SamplesPerPixel, samples).bad() || samples == 0)
        samples = 1;

    // Horizontally subsampled colour holds two values a pixel: Y for each and Cb, Cr for a pair
    std::uint64_t values = samples;
    OFString photometric;
    if (samples == 3 && dataset->findAndGetOFString(DCM_PhotometricInterpretation, photometric).good()
        && (photometric == "YBR_FULL_422" || photometric == "YBR_PARTIAL_422"))
        values = 2;
    const std::uint64_t bits = std::uint64_t(rows) * columns * values * bitsAllocated;
    const std::uint64_t frameBytes = (bits + 7) / 8;
    if (frameBytes > kMaxFrameBytes)
        return Text(LoadFailure::kPixelDataUnreadable);

    const E_TransferSyntax xfer = dataset->getOriginalXfer();
    if (!DcmXfer(xfer).isEncapsulated()) {
        // At least one whole frame; fewer frames than claimed are shown as the frames there are
        if (std::uint64_t(pixels->getLength()) < frameBytes)
            return Text(LoadFailure::kPixelDataUnreadable);
        return {};
    }
    const std::uint32_t bytesPerSample = (std::uint32_t(bitsAllocated) + 7) / 8;
    return CheckEncapsulated(pixels, xfer, std::uint32_t(samples) * bytesPerSample);
}

} // namespace PixelDataCheck
