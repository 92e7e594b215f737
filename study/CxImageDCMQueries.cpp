// CxImageDCM: attribute queries of the loaded data set. None of them writes the data set.

#include "study/CxImageDCM.h"

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcvrpn.h>

// Orvane
#include "platform/ReportSystemError.h"
#include "platform/NumberParse.h"
#include "study/DicomDateTime.h"
#include "study/DicomText.h"

// std
#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

namespace {

// Cine intervals outside these bounds are no playable rate.
constexpr int kMinFrameInterval = 1;
constexpr int kMaxFrameInterval = 10000;

QString DateText(const QString& value)
{
    return DicomDateTime::DateText(value, QLatin1Char('-'));
}

QString TimeText(const QString& value)
{
    return DicomDateTime::TimeText(value);
}

int IntervalFromRate(long rate)
{
    return int(std::clamp<long>(1000 / rate, kMinFrameInterval, kMaxFrameInterval));
}

} // namespace

bool CxImageDCM::ReadText(const DcmTagKey& tag, QString* text) const
{
    if (!m_pFileFormat || !m_pDataset || !m_pDataset->tagExistsWithValue(tag))
        return false;
    DcmElement* element = nullptr;
    if (m_pDataset->findAndGetElement(tag, element).bad() || !element)
        return false;
    OFString value;
    if (element->getOFString(value, 0, OFTrue).bad())
        return false;
    if (text)
        *text = DicomText::Decode(value, DicomText::CharacterSetOf(m_pDataset));
    return true;
}

bool CxImageDCM::ReadNameComponents(const DcmTagKey& tag, QString parts[5]) const
{
    if (!m_pFileFormat || !m_pDataset || !m_pDataset->tagExistsWithValue(tag))
        return false;
    DcmElement* element = nullptr;
    if (m_pDataset->findAndGetElement(tag, element).bad() || !element || element->ident() != EVR_PN)
        return false;
    OFString last, first, middle, prefix, suffix;
    if (OFstatic_cast(DcmPersonName*, element)->getNameComponents(last, first, middle, prefix, suffix, 0, 0).bad())
        return false;
    const OFString characterSet = DicomText::CharacterSetOf(m_pDataset);
    parts[0] = DicomText::Decode(last, characterSet);
    parts[1] = DicomText::Decode(first, characterSet);
    parts[2] = DicomText::Decode(middle, characterSet);
    parts[3] = DicomText::Decode(prefix, characterSet);
    parts[4] = DicomText::Decode(suffix, characterSet);
    return true;
}

// --- Texts

void CxImageDCM::GetImageModality(QString* text)
{
    try {
        ReadText(DCM_Modality, text);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetImageModality");
    }
}

void CxImageDCM::GetPatientID(QString* text)
{
    try {
        ReadText(DCM_PatientID, text);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetPatientID");
    }
}

void CxImageDCM::GetPatienrSex(QString* text)
{
    try {
        ReadText(DCM_PatientSex, text);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetPatienrSex");
    }
}

void CxImageDCM::GetStudyDescr(QString* text)
{
    try {
        ReadText(DCM_StudyDescription, text);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetStudyDescr");
    }
}

void CxImageDCM::GetSeriesDescription(QString* text)
{
    try {
        ReadText(DCM_SeriesDescription, text);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetSeriesDescription");
    }
}

void CxImageDCM::GetSOPInstanceUID(QString* text)
{
    try {
        ReadText(DCM_SOPInstanceUID, text);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetSOPInstanceUID");
    }
}

void CxImageDCM::GetAccessionNo(QString* text)
{
    try {
        ReadText(DCM_AccessionNumber, text);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetAccessionNo");
    }
}

void CxImageDCM::GetStudyInstitutionName(QString* text)
{
    try {
        ReadText(DCM_InstitutionName, text);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetStudyInstitutionName");
    }
}

void CxImageDCM::GetStudyDate(QString* text)
{
    try {
        QString value;
        if (ReadText(DCM_StudyDate, &value) && text)
            *text = DateText(value);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetStudyDate");
    }
}

void CxImageDCM::GetPatientBirthDate(QString* text)
{
    try {
        QString value;
        if (ReadText(DCM_PatientBirthDate, &value) && text)
            *text = DateText(value);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetPatientBirthDate");
    }
}

void CxImageDCM::GetContentDate(QString* text)
{
    try {
        QString value;
        if (ReadText(DCM_ContentDate, &value) && text)
            *text = DateText(value);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetContentDate");
    }
}

void CxImageDCM::GetStudyTime(QString* text)
{
    try {
        QString value;
        if (ReadText(DCM_StudyTime, &value) && text)
            *text = TimeText(value);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetStudyTime");
    }
}

void CxImageDCM::GetContentTime(QString* text)
{
    try {
        QString value;
        if (ReadText(DCM_ContentTime, &value) && text)
            *text = TimeText(value);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetContentTime");
    }
}

void CxImageDCM::GetReferringPhysiciansName(QString* text)
{
    try {
        QString parts[5];
        if (!text || !ReadNameComponents(DCM_ReferringPhysicianName, parts))
            return;
        const QString& last = parts[0];
        const QString& first = parts[1];
        const QString& middle = parts[2];
        // Last name replaces the caller's text; ", First" and " Middle" follow
        if (!last.isEmpty())
            *text = last;
        if (!first.isEmpty()) {
            if (!text->isEmpty())
                *text += QLatin1String(", ");
            *text += first;
        }
        if (!middle.isEmpty())
            *text += QLatin1Char(' ') + middle;
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetReferringPhysiciansName");
    }
}

void CxImageDCM::GetPatientName(QString* first, QString* last, QString* middle, QString* prefix, QString* suffix)
{
    try {
        QString parts[5];
        if (!ReadNameComponents(DCM_PatientName, parts))
            return;
        if (first)
            *first = parts[1];
        if (last)
            *last = parts[0];
        if (middle)
            *middle = parts[2];
        if (prefix)
            *prefix = parts[3];
        if (suffix)
            *suffix = parts[4];
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetPatientName");
    }
}

// --- Numbers

void CxImageDCM::GetImageRow(unsigned short* rows)
{
    try {
        int value = 0;
        if (m_pFileFormat && rows && ReadInt(DCM_Rows, &value))
            *rows = static_cast<unsigned short>(value);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetImageRow");
    }
}

void CxImageDCM::GetImageColummn(unsigned short* columns)
{
    try {
        int value = 0;
        if (m_pFileFormat && columns && ReadInt(DCM_Columns, &value))
            *columns = static_cast<unsigned short>(value);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetImageColummn");
    }
}

int CxImageDCM::GetBitsAllocated()
{
    int value = 0;
    if (m_pFileFormat)
        ReadInt(DCM_BitsAllocated, &value);
    return value;
}

int CxImageDCM::GetBitsStored()
{
    try {
        int value = 0;
        if (m_pFileFormat)
            ReadInt(DCM_BitsStored, &value);
        return value;
    } catch (...) {
        return 0;
    }
}

int CxImageDCM::GetHighBit()
{
    try {
        int value = 0;
        if (m_pFileFormat)
            ReadInt(DCM_HighBit, &value);
        return value;
    } catch (...) {
        return 0;
    }
}

int CxImageDCM::GetPixelRepresentation()
{
    if (!m_pFileFormat || !m_pDataset)
        return 0;
    DcmElement* element = nullptr;
    Uint16 value = 0;
    if (m_pDataset->findAndGetElement(DCM_PixelRepresentation, element).good() && element)
        element->getUint16(value, 0);
    return value;
}

double CxImageDCM::GetSmallestPixelValue()
{
    if (!m_pFileFormat || !m_pDataset)
        return 0.0;
    DcmElement* element = nullptr;
    if (m_pDataset->findAndGetElement(DCM_SmallestImagePixelValue, element).bad() || !element)
        return 0.0;
    // Signed or unsigned as the element stores it
    if (element->ident() == EVR_SS) {
        Sint16 value = 0;
        return element->getSint16(value, 0).good() ? double(value) : 0.0;
    }
    if (element->ident() == EVR_US) {
        Uint16 value = 0;
        return element->getUint16(value, 0).good() ? double(value) : 0.0;
    }
    OFString text;
    return element->getOFString(text, 0, OFTrue).good() ? AtoF(text.c_str()) : 0.0;
}

double CxImageDCM::GetLargestPixelValue()
{
    if (!m_pFileFormat || !m_pDataset)
        return 0.0;
    DcmElement* element = nullptr;
    OFString text;
    if (m_pDataset->findAndGetElement(DCM_LargestImagePixelValue, element).bad() || !element
        || element->getOFString(text, 0, OFTrue).bad())
        return 0.0;
    return AtoF(text.c_str());
}

BOOL CxImageDCM::GetWindowFromDataset(double* width, double* centre)
{
    if (!m_pFileFormat || !m_pDataset || !width || !centre)
        return FALSE;
    DcmElement* element = nullptr;
    OFString text;
    if (m_pDataset->findAndGetElement(DCM_WindowWidth, element).bad() || !element
        || element->getOFString(text, 0, OFTrue).bad())
        return FALSE;
    *width = AtoF(text.c_str());
    if (m_pDataset->findAndGetElement(DCM_WindowCenter, element).bad() || !element
        || element->getOFString(text, 0, OFTrue).bad())
        return FALSE;
    *centre = AtoF(text.c_str());
    return TRUE;
}

int CxImageDCM::GetNumberOfFrames()
{
    try {
        if (!m_pFileFormat || !m_pDataset)
            return 1;
        long frames = 1;
        if (m_pDataset->findAndGetLongInt(DCM_NumberOfFrames, frames, 0).bad() || frames < 1)
            return 1;
        return int(std::min<long>(frames, INT_MAX));
    } catch (...) {
        ReportSystemError(GetLastError(), "CDCM_Image::GetNumberOfFrames");
        return 1;
    }
}

int CxImageDCM::GetFrameInterval()
{
    try {
        if (m_nFrameInterval != 0)
            return m_nFrameInterval;
        if (!m_pFileFormat || !m_pDataset)
            return 0;
        // Each source counts only with a positive, finite value
        int interval = 0;
        long rate = 0;
        if (m_pDataset->findAndGetLongInt(DCM_RecommendedDisplayFrameRate, rate, 0).good() && rate > 0)
            interval = IntervalFromRate(rate);
        Float64 frameTime = 0.0;
        if (interval == 0 && m_pDataset->findAndGetFloat64(DCM_FrameTime, frameTime, 0).good()
            && std::isfinite(frameTime) && frameTime > 0.0)
            interval = int(std::clamp(std::trunc(frameTime), double(kMinFrameInterval), double(kMaxFrameInterval)));
        if (interval == 0 && m_pDataset->findAndGetLongInt(DCM_CineRate, rate, 0).good() && rate > 0)
            interval = IntervalFromRate(rate);
        if (interval == 0)
            interval = 33;
        m_nFrameInterval = interval;
        return interval;
    } catch (...) {
        ReportSystemError(GetLastError(), "DCM_Image::InsertFilePathIntoDataset");
        return 33;
    }
}

BOOL CxImageDCM::IsImagePixelSpacingExists()
{
    try {
        if (!m_pFileFormat || !m_pDataset)
            return FALSE;
        return m_pDataset->tagExistsWithValue(DCM_ImagerPixelSpacing) || m_pDataset->tagExistsWithValue(DCM_PixelSpacing);
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::IsImagePixelSpacingExists");
        return FALSE;
    }
}

bool CxImageDCM::ReadSpacing(const DcmTagKey& tag, double values[2]) const
{
    if (!m_pFileFormat || !m_pDataset || !m_pDataset->tagExistsWithValue(tag))
        return false;
    DcmElement* element = nullptr;
    if (m_pDataset->findAndGetElement(tag, element).bad() || !element)
        return false;
    OFString text;
    if (element->getOFString(text, 0, OFTrue).good())
        values[0] = AtoF(text.c_str());
    if (element->getOFString(text, 1, OFTrue).good())
        values[1] = AtoF(text.c_str());
    return true;
}

void CxImageDCM::GetPixelSpacing(double spacing[2])
{
    try {
        if (!spacing || !m_pFileFormat || !m_pDataset || !m_pDataset->tagExistsWithValue(DCM_Modality))
            return;
        ReadSpacing(DCM_PixelSpacing, spacing);
        for (int i = 0; i < 2; ++i)
            if (!(spacing[i] > 0.0))
                spacing[i] = 1.0;
    } catch (...) {
        ReportSystemError(GetLastError(), "CxImageDCM::GetPixelSpacing");
    }
}

bool CxImageDCM::ReadFirstSpacing(std::initializer_list<DcmTagKey> tags, double spacing[2]) const
{
    for (const DcmTagKey& tag : tags) {
        // Values the attribute lacks stay NaN and leave the caller's
        const double unread = std::numeric_limits<double>::quiet_NaN();
        double values[2] = {unread, unread};
        if (!ReadSpacing(tag, values))
            continue;
        // A negative spacing is no spacing: try the next attribute
        if (values[0] < 0.0 || values[1] < 0.0)
            continue;
        for (int i = 0; i < 2; ++i)
            if (!std::isnan(values[i]))
                spacing[i] = values[i] == 0.0 ? 1.0 : values[i];
        return true;
    }
    return false;
}

void CxImageDCM::GetImagerPixelSpacing(double spacing[2])
{
    try {
        if (spacing)
            ReadFirstSpacing({DCM_ImagerPixelSpacing, DCM_PixelSpacing}, spacing);
    } catch (...) {
    }
}

BOOL CxImageDCM::GetMeasurementSpacing(double spacing[2])
{
    try {
        return spacing && ReadFirstSpacing({DCM_PixelSpacing, DCM_ImagerPixelSpacing}, spacing) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}
