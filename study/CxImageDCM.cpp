// CxImageDCM: opening a file, choosing its window, releasing it.

#include "study/CxImageDCM.h"

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dccodec.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcpixel.h>
#include <dcmtk/dcmdata/dcpixseq.h>
#include <dcmtk/dcmdata/dcxfer.h>
#include <dcmtk/dcmimage/diregist.h>
#include <dcmtk/dcmimgle/dcmimage.h>

// Orvane
#include "platform/ReportSystemError.h"
#include "platform/CxImage.h"
#include "platform/NumberParse.h"
#include "study/LoadFailure.h"

// std
#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <string>

namespace {

const char* const kSecondaryCaptureStorage = "1.2.840.10008.5.1.4.1.1.7";

// A stored window narrower than one value (several files store 0) is no window
bool UsableWindow(double width, double centre)
{
    return std::isfinite(width) && std::isfinite(centre) && width >= 1.0;
}

// Deletes each distinct image once; the three pointers may share one.
void DeleteImages(DicomImage* a, DicomImage* b, DicomImage* c, const char* where)
{
    DicomImage* images[3] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        if (!images[i] || (i > 0 && images[i] == images[0]) || (i > 1 && images[i] == images[1]))
            continue;
        try {
            delete images[i];
        } catch (...) {
            ReportSystemError(GetLastError(), where);
        }
    }
}

} // namespace

CxImageDCM::CxImageDCM() = default;

CxImageDCM::~CxImageDCM()
{
    DeleteImages(m_pDicomImage, m_pFullDicomImage, m_pReducedDicomImage, "CxImageDCM::~CxImageDCM()");
    try {
        delete m_pFileFormat;
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::~CxImageDCM()");
    }
}

void CxImageDCM::ReleaseImages()
{
    DeleteImages(m_pDicomImage, m_pFullDicomImage, m_pReducedDicomImage, "CxImageDCM::DestroyImageObject");
    m_pDicomImage = nullptr;
    m_pFullDicomImage = nullptr;
    m_pReducedDicomImage = nullptr;
    m_bPerFrame = false;
    m_nImageFrame = 0;
    m_bWindowSet = false;
}

void CxImageDCM::ReleaseFile()
{
    // The images refer to the data set: they go first
    ReleaseImages();
    try {
        delete m_pFileFormat;
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::DestroyImageObject");
    }
    m_pFileFormat = nullptr;
    m_pDataset = nullptr;
}

void CxImageDCM::DestroyImageObject()
{
    ReleaseFile();
    m_nFrames = 0;
    m_bMultiFrame = FALSE;
    m_nCurrentFrame = 0;
    m_nFrameInterval = 0;
}

namespace {

// The first value of an attribute as text; false when it is absent or empty.
bool ReadFirstValue(DcmDataset* dataset, const DcmTagKey& tag, OFString* text)
{
    if (!dataset || !dataset->tagExistsWithValue(tag))
        return false;
    DcmElement* element = nullptr;
    if (dataset->findAndGetElement(tag, element).bad() || !element)
        return false;
    return element->getOFString(*text, 0, OFTrue).good();
}

} // namespace

BOOL CxImageDCM::ReadNumber(const DcmTagKey& tag, double* value) const
{
    OFString text;
    if (!ReadFirstValue(m_pDataset, tag, &text))
        return FALSE;
    *value = AtoF(text.c_str());
    return TRUE;
}

BOOL CxImageDCM::ReadInt(const DcmTagKey& tag, int* value) const
{
    OFString text;
    if (!ReadFirstValue(m_pDataset, tag, &text))
        return FALSE;
    *value = AtoI(text.c_str());
    return TRUE;
}

int CxImageDCM::AvailableFrames(int declared) const
{
    // The pixel data may hold fewer frames than Number of Frames claims
    DcmElement* element = nullptr;
    if (m_pDataset->findAndGetElement(DCM_PixelData, element).bad() || !element)
        return declared;
    auto* pixels = OFstatic_cast(DcmPixelData*, element);
    const E_TransferSyntax xfer = m_pDataset->getCurrentXfer();
    long long available = declared;
    if (DcmXfer(xfer).isEncapsulated()) {
        DcmPixelSequence* sequence = nullptr;
        if (pixels->getEncapsulatedRepresentation(xfer, nullptr, sequence).good() && sequence)
            available = std::max<long long>(0, static_cast<long long>(sequence->card()) - 1); // less the offset table
    } else {
        Uint32 frameSize = 0;
        if (pixels->getUncompressedFrameSize(m_pDataset, frameSize).good() && frameSize > 0)
            available = pixels->getLength() / frameSize;
    }
    return int(std::clamp<long long>(available, 1, declared));
}

bool CxImageDCM::ValueRange(double* minValue, double* maxValue)
{
    if (!m_pDicomImage || m_pDicomImage->getStatus() != EIS_Normal || !m_pDicomImage->isMonochrome())
        return false;
    if (!m_bPerFrame || m_nFrames <= 1)
        return m_pDicomImage->getMinMaxValues(*minValue, *maxValue, 0) != 0;
    // The range of every frame, decoding one frame at a time
    bool any = false;
    for (int frame = 0; frame < m_nFrames; ++frame) {
        DicomImage* image = frame == m_nImageFrame ? m_pDicomImage : NewFrameImage(frame);
        double low = 0.0;
        double high = 0.0;
        if (image && image->getStatus() == EIS_Normal && image->getMinMaxValues(low, high, 0)) {
            *minValue = any ? std::min(*minValue, low) : low;
            *maxValue = any ? std::max(*maxValue, high) : high;
            any = true;
        }
        if (image != m_pDicomImage)
            delete image;
    }
    return any;
}

void CxImageDCM::ChooseWindow(int bitsStored, int bitsAllocated)
{
    m_dLimitLow = 0.0;
    m_dLimitHigh = 0.0;
    const bool monochrome = m_pDicomImage && m_pDicomImage->getStatus() == EIS_Normal && m_pDicomImage->isMonochrome();

    if (bitsStored == 8) {
        m_dMinValue = -128.0;
        m_dMaxValue = 256.0;
        m_dWindowWidth = 255.0;
        m_dWindowCenter = 127.0;
        m_dLimitLow = 1.0;
        m_dLimitHigh = 460.0;
        return;
    }

    if (bitsStored >= 9 && bitsStored <= 16 && bitsAllocated >= 9 && bitsAllocated <= 16) {
        if (!monochrome || (m_dMinValue == 0.0 && m_dMaxValue == 0.0)) {
            m_dMinValue = GetSmallestPixelValue();
            m_dMaxValue = GetLargestPixelValue();
            if (m_dMinValue == 0.0 && m_dMaxValue == 0.0) {
                // No range anywhere: the range the stored bits can hold
                const double levels = std::ldexp(1.0, bitsStored);
                if (GetPixelRepresentation() == 1) {
                    m_dMinValue = -levels / 2.0;
                    m_dMaxValue = levels / 2.0 - 1.0;
                } else {
                    m_dMaxValue = levels - 1.0;
                }
            }
        }
        double width = 0.0;
        double centre = 0.0;
        if (GetWindowFromDataset(&width, &centre) && UsableWindow(width, centre)) {
            m_dWindowWidth = width;
            m_dWindowCenter = centre;
        } else if (monochrome && ValueRange(&m_dMinValue, &m_dMaxValue)) {
            m_dWindowWidth = std::max(1.0, m_dMaxValue - m_dMinValue);
            m_dWindowCenter = (m_dMaxValue + m_dMinValue) * 0.5;
        }
        return;
    }

    // Any other depth keeps the file's window; without one, the value range (the toolkit
    // refuses a window of width 0)
    double centre = 0.0;
    double width = 0.0;
    const bool fileWindow = ReadNumber(DCM_WindowCenter, &centre) && ReadNumber(DCM_WindowWidth, &width)
                            && UsableWindow(width, centre);
    if (!fileWindow && monochrome && ValueRange(&m_dMinValue, &m_dMaxValue)) {
        m_dWindowWidth = std::max(1.0, m_dMaxValue - m_dMinValue);
        m_dWindowCenter = (m_dMaxValue + m_dMinValue) * 0.5;
    }
}

int CxImageDCM::LoadDCM(const char* path, QList<CxImage*>* images, BOOL atLastFrame)
{
    // 1. The previous file and its images. Until a picture is made, the pane says why none is
    m_strLoadFailure = QString::fromLatin1(LoadFailure::kFileUnreadable);
    try {
        m_strFilePath = path ? QString::fromLocal8Bit(path) : QString();
        ReleaseFile();
        m_nFrames = 0;
        m_bMultiFrame = FALSE;
        m_nCurrentFrame = 0;
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::LoadDCM");
    }

    int bitsStored = 0;
    int bitsAllocated = 0;
    int firstFrame = 0;
    try {
        if (!path || !*path)
            return 0;
        // 2. Read the file; values longer than 4096 bytes are read when first needed
        m_pFileFormat = new DcmFileFormat;
        if (m_pFileFormat->loadFile(path, EXS_Unknown, EGL_noChange, 4096, ERM_autoDetect).bad()) {
            // A file cut short in its pixels still names them
            DcmDataset* partial = m_pFileFormat->getDataset();
            if (partial && partial->tagExists(DCM_PixelData)) {
                // Its header was read whole: the queries still name the patient and study
                m_pDataset = partial;
                m_strLoadFailure = QString::fromLatin1(LoadFailure::kPixelDataUnreadable);
            }
            return 0;
        }
        // 3. The data set
        m_pDataset = m_pFileFormat->getDataset();
        if (!m_pDataset)
            return 0;
        m_strLoadFailure = QString::fromLatin1(m_pDataset->tagExists(DCM_PixelData) ? LoadFailure::kPixelDataUnreadable
                                                                                    : LoadFailure::kNoPixelData);

        // 4. How many frames the pixel data really holds
        double declared = 0.0;
        DcmElement* element = nullptr;
        if (m_pDataset->tagExistsWithValue(DCM_NumberOfFrames)
            && m_pDataset->findAndGetElement(DCM_NumberOfFrames, element).good() && element) {
            char* text = nullptr;
            if (element->getString(text).good() && text)
                declared = AtoF(text);
        }
        if (!std::isfinite(declared) || declared < 1.0)
            declared = 1.0;
        const int claimed = int(std::min(declared, double(SHRT_MAX)));
        m_nFrames = AvailableFrames(claimed);
        if (m_nFrames < claimed) {
            // The toolkit finds frames by the count in memory: make it the frames there are
            const std::string count = std::to_string(m_nFrames);
            m_pDataset->putAndInsertString(DCM_NumberOfFrames, count.c_str());
        }

        // 5. A single frame is read into memory and decompressed once, into the data set. A
        // multi-frame file keeps its pixel data in the file and reads and decodes each frame
        // when it is shown
        const E_TransferSyntax original = m_pDataset->getOriginalXfer();
        if (DcmXfer(original).isEncapsulated() && !DcmCodecList::canChangeCoding(original, EXS_LittleEndianExplicit)) {
            m_strLoadFailure = LoadFailure::RefusedTransferSyntax(DcmXfer(original).getXferID());
            return 0;
        }
        m_bPerFrame = m_nFrames > 1;
        if (!m_bPerFrame)
            m_pDataset->loadAllDataIntoMemory();
        if (m_bPerFrame && DcmXfer(original).isEncapsulated()) {
            if (!DcmCodecList::canChangeCoding(original, EXS_LittleEndianExplicit))
                return 0;
        } else {
            if (m_pDataset->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).bad())
                return 0;
            if (!m_pDataset->canWriteXfer(EXS_LittleEndianExplicit, EXS_Unknown))
                return 0;
            // No second, compressed copy of the pixels stays behind
            m_pDataset->removeAllButCurrentRepresentations();
        }

        // 6. Window and bit depth
        ReadNumber(DCM_WindowCenter, &m_dWindowCenter);
        ReadNumber(DCM_WindowWidth, &m_dWindowWidth);
        if (!UsableWindow(m_dWindowWidth, m_dWindowCenter))
            m_dWindowWidth = m_dWindowCenter = 0.0;
        ReadInt(DCM_BitsStored, &bitsStored);
        // 7. Secondary Capture images stored uncompressed are shown by pixel, whatever the
        // header says; decoders lay out compressed pixels after the header themselves
        QString sopClass;
        ReadText(DCM_SOPClassUID, &sopClass);
        if (sopClass == QLatin1String(kSecondaryCaptureStorage) && !DcmXfer(original).isEncapsulated())
            m_pDataset->putAndInsertUint16(DCM_PlanarConfiguration, 0, 0, OFTrue);
        ReadInt(DCM_BitsAllocated, &bitsAllocated);

        // 8. Frame numbers
        m_bMultiFrame = m_nFrames > 1;
        m_nCurrentFrame = atLastFrame ? m_nFrames : 1;
        firstFrame = m_nCurrentFrame - 1;

        // 9. The image that renders
        if (m_bPerFrame) {
            m_pDicomImage = NewFrameImage(firstFrame);
            m_nImageFrame = firstFrame;
        } else {
            m_pDicomImage = new DicomImage(m_pFileFormat, m_pDataset->getCurrentXfer(), CIF_AcrNemaCompatibility, 0, 0);
            m_nImageFrame = 0;
        }
        if (!m_pDicomImage || m_pDicomImage->getStatus() != EIS_Normal)
            return 0; // nothing the toolkit can show (no pixel data, a frame it cannot decode)
        // The image now holds its own copy of a single frame: the data set's goes (the
        // element stays, empty, as the image refers to it), unless overlay planes read their
        // bits from it. Every later reader of pixel values reads the image or the file
        if (!m_bPerFrame && m_pDicomImage->getOverlayCount() == 0) {
            DcmElement* pixels = nullptr;
            if (m_pDataset->findAndGetElement(DCM_PixelData, pixels).good() && pixels)
                pixels->clear();
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::LoadDCM");
        return 0;
    }

    // 10. Value range and window
    try {
        if (m_pDicomImage->isMonochrome())
            m_pDicomImage->getMinMaxValues(m_dMinValue, m_dMaxValue, 0);
        ChooseWindow(bitsStored, bitsAllocated);
        if (m_pDicomImage->isMonochrome())
            ApplyWindow(m_dWindowCenter, m_dWindowWidth);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::LoadDCM");
    }

    // 11. The first (or last) frame
    try {
        auto bitmap = std::make_unique<CxImage>(0);
        if (images && Render(firstFrame, bitmap.get(), false, 0, 0)) {
            images->append(bitmap.release());
            m_strLoadFailure.clear();
            return 1;
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::LoadDCM");
    }
    return 0;
}

int CxImageDCM::GetFrameCount()
{
    if (!m_pDicomImage)
        return -1;
    if (m_pDicomImage->getStatus() != EIS_Normal)
        return 0;
    return m_nFrames;
}

void CxImageDCM::GetFramePosition(short* current, short* count)
{
    if (current)
        *current = short(std::clamp(m_nCurrentFrame, 0, int(SHRT_MAX)));
    if (count)
        *count = short(std::clamp(GetFrameCount(), 0, int(SHRT_MAX)));
}
