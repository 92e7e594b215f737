// CxImageDCM: rendering frames into bitmaps, the window, frame stepping.

#include "study/CxImageDCM.h"

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcxfer.h>
#include <dcmtk/dcmimgle/dcmimage.h>
#include <dcmtk/dcmimgle/dipixel.h>

// Orvane
#include "platform/ReportSystemError.h"
#include "platform/CxImage.h"

// std
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

// The DICOM linear window over 0..255 that 8-bit colour images get, one table for all samples.
std::array<BYTE, 256> ColourWindowTable(int width, int centre)
{
    std::array<BYTE, 256> table{};
    const int half = (width - 1) / 2; // truncated toward zero
    const double low = (centre - 0.5) - half;
    const double high = (centre - 0.5) + half;
    for (int x = 0; x < 256; ++x) {
        if (x <= low) {
            table[std::size_t(x)] = 0;
        } else if (x > high || width <= 1) {
            table[std::size_t(x)] = 255;
        } else {
            // ((x - (c - 0.5)) / (w - 1) + 0.5) * 255, arranged so that exact values stay exact
            const double value = ((x - (centre - 0.5)) + 0.5 * (width - 1)) * 255.0 / (width - 1);
            table[std::size_t(x)] = BYTE(std::clamp(std::trunc(value), 0.0, 255.0));
        }
    }
    return table;
}

// Whether the window leaves every sample as it is (256/128 does)
bool IsIdentity(const std::array<BYTE, 256>& table)
{
    for (int x = 0; x < 256; ++x)
        if (table[std::size_t(x)] != x)
            return false;
    return true;
}

// Windowed 8-bit colour in one pass from the image's own three 8-bit planes into the scan
// lines, as the toolkit's output would come and then be windowed; false when the image holds
// its samples otherwise (more bits, other layout), for the toolkit's output and a second pass.
bool RenderColourPlanes(const DicomImage& image, unsigned long frame, BYTE* bits, std::size_t stride,
                        const std::array<BYTE, 256>& table)
{
    const DiPixel* pixels = image.getInterData();
    if (!pixels || pixels->getRepresentation() != EPR_Uint8 || pixels->getPlanes() != 3 || !pixels->getData())
        return false;
    const unsigned long columns = image.getWidth();
    const unsigned long rows = image.getHeight();
    const unsigned long long first = static_cast<unsigned long long>(frame) * columns * rows;
    if (first + static_cast<unsigned long long>(columns) * rows > pixels->getCount())
        return false;
    const auto* const* planes = static_cast<const Uint8* const*>(pixels->getData());
    const Uint8* red = planes[0] + first;
    const Uint8* green = planes[1] + first;
    const Uint8* blue = planes[2] + first;
    if (!red || !green || !blue)
        return false;
    for (unsigned long row = 0; row < rows; ++row) {
        BYTE* out = bits + row * stride;
        for (unsigned long x = 0; x < columns; ++x, out += 3) {
            out[0] = table[*red++];
            out[1] = table[*green++];
            out[2] = table[*blue++];
        }
    }
    return true;
}

// Whether the toolkit may read the frames of these pixels one at a time. Its frame-by-frame
// read of uncompressed frames of an odd number of bytes leaves part of a frame unset (pixels
// from whatever the memory held, and table indexes past their tables): those are read whole.
bool ReadsFrameByFrame(DcmDataset* dataset)
{
    if (DcmXfer(dataset->getCurrentXfer()).isEncapsulated())
        return true;
    Uint16 rows = 0;
    Uint16 columns = 0;
    Uint16 bitsAllocated = 0;
    Uint16 samples = 1;
    dataset->findAndGetUint16(DCM_Rows, rows);
    dataset->findAndGetUint16(DCM_Columns, columns);
    dataset->findAndGetUint16(DCM_BitsAllocated, bitsAllocated);
    if (dataset->findAndGetUint16(DCM_SamplesPerPixel, samples).bad() || samples == 0)
        samples = 1;
    return std::uint64_t(rows) * columns * samples * bitsAllocated % 16 == 0;
}

} // namespace

DicomImage* CxImageDCM::NewFrameImage(int frame) const
{
    if (!m_pFileFormat || !m_pDataset || frame < 0)
        return nullptr;
    const unsigned long flags = CIF_AcrNemaCompatibility | (ReadsFrameByFrame(m_pDataset) ? CIF_UsePartialAccessToPixelData : 0);
    auto* image = new DicomImage(m_pFileFormat, m_pDataset->getCurrentXfer(), flags, static_cast<unsigned long>(frame), 1);
    if (m_bWindowSet && image->getStatus() == EIS_Normal && image->isMonochrome())
        image->setWindow(m_dToolkitCentre, m_dToolkitWidth);
    return image;
}

DicomImage* CxImageDCM::ImageForFrame(int frame)
{
    if (!m_pDicomImage || frame < 0)
        return nullptr;
    if (!m_bPerFrame || frame == m_nImageFrame)
        return m_pDicomImage;

    DicomImage* full = NewFrameImage(frame);
    if (!full || full->getStatus() != EIS_Normal) {
        delete full;
        return nullptr;
    }
    // Keep the view's reduced rendering: a reduced frame replaces the reduced one, at its size
    DicomImage* oldCurrent = m_pDicomImage;
    DicomImage* oldFull = m_pFullDicomImage;
    DicomImage* oldReduced = m_pReducedDicomImage;
    const bool reduced = oldFull && oldCurrent != oldFull && oldCurrent == oldReduced;
    DicomImage* newReduced = nullptr;
    if (reduced) {
        newReduced = full->createScaledImage(oldReduced->getWidth(), oldReduced->getHeight(), 4, 0);
        if (newReduced && m_bWindowSet && newReduced->isMonochrome())
            newReduced->setWindow(m_dToolkitCentre, m_dToolkitWidth);
    }
    m_pDicomImage = newReduced ? newReduced : full;
    m_pFullDicomImage = oldFull ? full : nullptr;
    m_pReducedDicomImage = newReduced;
    m_nImageFrame = frame;
    // Each old image once
    DicomImage* old[3] = {oldCurrent, oldFull, oldReduced};
    for (int i = 0; i < 3; ++i)
        if (old[i] && (i == 0 || old[i] != old[0]) && (i < 2 || old[i] != old[1]))
            delete old[i];
    return m_pDicomImage;
}

void CxImageDCM::ApplyWindow(double centre, double width)
{
    m_bWindowSet = true;
    m_dToolkitCentre = centre;
    m_dToolkitWidth = width;
    if (m_pDicomImage && m_pDicomImage->isMonochrome())
        m_pDicomImage->setWindow(centre, width);
}

bool CxImageDCM::Render(int frame, CxImage* target, bool colourWindow, int width, int centre)
{
    if (!target)
        return false;
    DicomImage* image = ImageForFrame(frame);
    if (!image || image->getStatus() != EIS_Normal)
        return false;
    const unsigned long columns = image->getWidth();
    const unsigned long rows = image->getHeight();
    const bool monochrome = image->isMonochrome();
    const unsigned long rowBytes = columns * (monochrome ? 1 : 3);
    const unsigned long size = image->getOutputDataSize(8);
    if (columns == 0 || rows == 0 || size != rowBytes * rows)
        return false;

    // The toolkit writes straight into the picture's scan lines, red, green, blue for colour
    if (!target->Prepare(DWORD(columns), DWORD(rows), monochrome ? 8 : 24))
        return false;
    BYTE* bits = target->GetBits();
    const std::size_t stride = target->GetRowBytes();
    const unsigned long local = static_cast<unsigned long>(frame - m_nImageFrame);
    std::array<BYTE, 256> table{};
    if (!monochrome && colourWindow) {
        table = ColourWindowTable(width, centre);
        // A window that changes nothing is not applied: the toolkit's output as it comes
        if (IsIdentity(table))
            colourWindow = false;
        else if (bits && RenderColourPlanes(*image, local, bits, stride, table))
            return true;
    }
    if (!bits || !image->getOutputData(bits, size, 8, local, 0)) {
        target->Destroy();
        return false;
    }
    // Rows come packed; scan lines are padded to 4 bytes: spread them out, last row first
    if (stride != rowBytes) {
        for (unsigned long row = rows - 1; row > 0; --row)
            std::memmove(bits + row * stride, bits + std::size_t(row) * rowBytes, rowBytes);
    }
    if (monochrome || !colourWindow)
        return true;

    // 8-bit colour gets the window on every sample, in place
    for (unsigned long row = 0; row < rows; ++row) {
        BYTE* line = bits + row * stride;
        for (BYTE* end = line + rowBytes; line < end; ++line)
            *line = table[*line];
    }
    return true;
}

CxImage* CxImageDCM::WindowLevelling(int width, int centre)
{
    auto rendered = std::make_unique<CxImage>(0);
    return WindowLevellingInto(rendered.get(), width, centre) ? rendered.release() : nullptr;
}

BOOL CxImageDCM::WindowLevellingInto(CxImage* target, int width, int centre)
{
    try {
        if (!m_pDicomImage || !target)
            return FALSE;
        int bitsAllocated = 0;
        ReadInt(DCM_BitsAllocated, &bitsAllocated);
        const bool monochrome = m_pDicomImage->isMonochrome();
        if (monochrome)
            ApplyWindow(centre, width);
        const int frame = m_bMultiFrame ? m_nCurrentFrame - 1 : 0;
        return Render(frame, target, bitsAllocated == 8 && !monochrome, width, centre) ? TRUE : FALSE;
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::WindowLevelling");
    }
    return FALSE;
}

void CxImageDCM::RenderStep(CxImage* image, int frame, const char* where)
{
    try {
        Render(frame, image, false, 0, 0);
    } catch (...) {
        ReportSystemError(GetLastError(), where);
    }
}

void CxImageDCM::GetCxImageByPos(CxImage* image, int pos)
{
    try {
        if (!m_pDicomImage || m_pDicomImage->getStatus() != EIS_Normal)
            return;
        if (pos > m_nFrames - 1 || pos < 0)
            pos = 0;
        m_nCurrentFrame = pos + 1;
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetCxImageByPos");
        return;
    }
    RenderStep(image, pos, "CxImageDCM::GetCxImageByPos");
}

void CxImageDCM::GetMultiFrameNextImage(CxImage* image)
{
    try {
        if (!m_pDicomImage || m_pDicomImage->getStatus() != EIS_Normal)
            return;
        // Never past the last frame: the frame number keeps naming the frame shown
        m_nCurrentFrame = std::min(m_nCurrentFrame + 1, std::max(1, m_nFrames));
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetMultiFrameNextImage");
        return;
    }
    RenderStep(image, m_nCurrentFrame - 1, "CxImageDCM::GetMultiFrameNextImage");
}

void CxImageDCM::GetMultiframePrevImage(CxImage* image)
{
    try {
        if (!m_pDicomImage || m_pDicomImage->getStatus() != EIS_Normal)
            return;
        m_nCurrentFrame = std::max(1, m_nCurrentFrame - 1);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetMultiframePrevImage");
        return;
    }
    RenderStep(image, m_nCurrentFrame - 1, "CxImageDCM::GetMultiframePrevImage");
}
