// Building a study's records from the DICOMDIR's record chains.

#include "study/CStudyList.h"

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcelem.h>
#include <dcmtk/dcmdata/dcitem.h>

// std
#include <algorithm>
#include <climits>
#include <string>

// Orvane
#include "state/CAppState.h"
#include "platform/ReportSystemError.h"

namespace {

std::unique_ptr<CStudyInfo> StudyOfRecord(const DirectoryLink& link)
{
    auto study = std::make_unique<CStudyInfo>();
    study->m_nRecordIndex = int(link.nIndex);
    study->m_strStudyInstanceUID = RecordText(link.pItem, DCM_StudyInstanceUID);
    study->m_strStudyID = RecordText(link.pItem, DCM_StudyID);
    study->m_strStudyDescription = RecordText(link.pItem, DCM_StudyDescription);
    study->m_strStudyDate = FormatStudyDate(RecordText(link.pItem, DCM_StudyDate));
    return study;
}

// The stored bytes of a text element, without a copy; false when it has none
bool RawText(DcmElement* element, const char*& text, size_t& length)
{
    char* value = nullptr;
    Uint32 size = 0;
    if (element->getString(value, size).bad() || !value)
        return false;
    text = value;
    length = size;
    return true;
}

// The part [begin, end) without the spaces and NULs that pad it
void Trim(const char*& begin, const char*& end)
{
    while (begin < end && (*begin == ' ' || *begin == '\0'))
        ++begin;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\0'))
        --end;
}

// Value 0 of an attribute found in the record, as RecordText reads it. A UID or a number is
// plain ASCII, which reads the same in every character set.
QString AsciiValue(DcmItem* record, DcmElement* element)
{
    const char* text = nullptr;
    size_t length = 0;
    if (!RawText(element, text, length))
        return {};
    const char* end = text + length;
    for (const char* p = text; p < end; ++p) {
        if (static_cast<unsigned char>(*p) >= 0x80)
            return RecordText(record, element->getTag());
        if (*p == '\\') {
            end = p;
            break;
        }
    }
    Trim(text, end);
    return QString::fromLatin1(text, qsizetype(end - text));
}

} // namespace

CPatientInfo* CStudyList::PatientOfOrphanStudy(int studyRecord)
{
    // A study no PATIENT record leads to gets a patient of its own, with empty texts
    const int key = -2 - studyRecord;
    if (CPatientInfo* known = m_patientList.FindPatientByRecord(key))
        return known;
    const DirectoryLink* record = m_chain.AtIndex(std::uint32_t(studyRecord));
    if (!record || record->nType != RecordType::Study)
        return nullptr;
    auto patient = std::make_unique<CPatientInfo>();
    patient->m_nRecordIndex = key;
    patient->m_lstStudies.push_back(StudyOfRecord(*record));
    m_patientList.m_lstPatients.push_back(std::move(patient));
    return m_patientList.m_lstPatients.back().get();
}

void CStudyList::AddStudiesToPatient(const QString& key)
{
    AddStudiesToPatient(m_patientList.FindPatient(key));
}

void CStudyList::AddStudiesToPatient(CPatientInfo* patient)
{
    // The studies of a patient are built once, all together
    if (!patient || !patient->m_lstStudies.empty())
        return;
    try {
        const DirectoryLink* record = m_chain.AtIndex(std::uint32_t(patient->m_nRecordIndex));
        if (!record || record->nType != RecordType::Patient)
            return;
        m_chain.Walk(record->nLowerOffset, RecordType::Study, [&](const DirectoryLink& link) {
            patient->m_lstStudies.push_back(StudyOfRecord(link));
            return true;
        });
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::AddStudiesToPatient");
    }
}

void CStudyList::FillSeriesData(CStudyInfo* study, const COffsetListValue* firstSeries)
{
    if (!study || !firstSeries)
        return;
    // A new build sees the medium as it is now
    m_pathResolver.Clear();
    bool first = true;
    try {
        m_chain.Walk(firstSeries->m_nOffset, RecordType::Series, [&](const DirectoryLink& link) {
            const bool isFirst = first;
            first = false;
            try {
                AddSeries(study, link, isFirst);
            } catch (...) {
                // After the first record the chain goes on; a failure further on ends it
                ReportSystemError(GetLastError(), isFirst ? "CStudyList::FillSeriesData" : "CStudyList::fillSeriesData");
                return isFirst;
            }
            return true;
        });
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::fillSeriesData");
    }
}

void CStudyList::AddSeries(CStudyInfo* study, const DirectoryLink& record, bool first)
{
    // A series without Modality has none, not the one read before
    m_strSeriesModality = RecordText(record.pItem, DCM_Modality);
    if (first && theApp.m_strModality.isEmpty())
        theApp.m_strModality = m_strSeriesModality;

    if (m_strSeriesModality == QLatin1String("PR")) {
        if (const DirectoryLink* presentation = m_chain.First(record.nLowerOffset, RecordType::Presentation))
            FillImageData(presentation->pValue);
        return;
    }

    auto series = std::make_unique<CSeriesInfo>();
    series->m_pStudy = study;
    series->m_strSeriesInstanceUID = RecordText(record.pItem, DCM_SeriesInstanceUID);
    series->m_strSeriesNumber = RecordText(record.pItem, DCM_SeriesNumber);
    series->m_strSeriesDescription = RecordText(record.pItem, DCM_SeriesDescription);
    series->m_strModality = m_strSeriesModality;
    series->m_strSeriesDate = RecordText(record.pItem, DCM_SeriesDate);
    series->m_strSeriesTime = RecordText(record.pItem, DCM_SeriesTime);
    if (const DirectoryLink* image = m_chain.First(record.nLowerOffset, RecordType::Image))
        FillImageData(series.get(), image->pValue);
    // A series without an image on the medium is dropped
    if (series->GetImageCount() > 0)
        study->m_lstSeries.push_back(std::move(series));
}

void CStudyList::FillImageData(CSeriesInfo* series, const COffsetListValue* firstImage)
{
    if (!series || !firstImage)
        return;
    bool first = true;
    try {
        m_chain.Walk(firstImage->m_nOffset, RecordType::Image, [&](const DirectoryLink& link) {
            const bool isFirst = first;
            first = false;
            try {
                AddImage(series, link);
            } catch (...) {
                ReportSystemError(GetLastError(), "CStudyList::FillImageData");
                return isFirst;
            }
            return true;
        });
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::FillImageData");
    }
}

void CStudyList::AddImage(CSeriesInfo* series, const DirectoryLink& record)
{
    // The record's attributes in one pass over its elements, not one search each
    DcmElement* fileId = nullptr;
    DcmElement* uid = nullptr;
    DcmElement* number = nullptr;
    bool hasFrames = false;
    if (!record.pItem)
        return;
    for (DcmObject* o = record.pItem->nextInContainer(nullptr); o; o = record.pItem->nextInContainer(o)) {
        const DcmTagKey tag = o->getTag();
        if (tag == DCM_ReferencedFileID)
            fileId = static_cast<DcmElement*>(o);
        else if (tag == DCM_ReferencedSOPInstanceUIDInFile)
            uid = static_cast<DcmElement*>(o);
        else if (tag == DCM_InstanceNumber)
            number = static_cast<DcmElement*>(o);
        else if (tag == DCM_NumberOfFrames)
            hasFrames = true;
    }
    const QString path = ResolveFileId(fileId);
    if (path.isEmpty())
        return; // no file ID, a missing file or a component that leaves the file set

    auto image = std::make_unique<CImageInfo>();
    image->m_pSeries = series;
    image->m_pStudy = series->m_pStudy;
    image->m_strFilePath = path;
    if (uid)
        image->SetSOPInstanceUID(AsciiValue(record.pItem, uid));
    if (number)
        image->SetInstanceNumber(AsciiValue(record.pItem, number));
    long frames = 1;
    // A count below 1 would leave an image without frames
    if (!hasFrames || record.pItem->findAndGetLongInt(DCM_NumberOfFrames, frames, 0, OFFalse).bad() || frames < 1)
        frames = 1;
    image->SetFrames(int(std::min<long>(frames, INT_MAX)));
    series->m_lstImages.push_back(std::move(image));
}

void CStudyList::FillImageData(const COffsetListValue* firstPresentation)
{
    if (!firstPresentation)
        return;
    bool first = true;
    try {
        m_chain.Walk(firstPresentation->m_nOffset, RecordType::Presentation, [&](const DirectoryLink& link) {
            const bool isFirst = first;
            first = false;
            try {
                const QString path = ResolveFileId(link);
                if (!path.isEmpty())
                    m_astrPSPaths << path;
            } catch (...) {
                ReportSystemError(GetLastError(), "CStudyList::FillImageData");
                return isFirst;
            }
            return true;
        });
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::FillImageData");
    }
}

QString CStudyList::ResolveFileId(const DirectoryLink& record)
{
    DcmElement* fileId = nullptr;
    if (!record.pItem || record.pItem->findAndGetElement(DCM_ReferencedFileID, fileId, OFFalse).bad())
        return {};
    return ResolveFileId(fileId);
}

QString CStudyList::ResolveFileId(DcmElement* fileIdElement)
{
    const char* text = nullptr;
    size_t length = 0;
    if (!fileIdElement || !RawText(fileIdElement, text, length))
        return {};
    // The values of the file ID, each without its padding. The images of a folder share all
    // but the last value: those are parsed once, while the folder stays the same
    thread_local std::string folderBytes;
    thread_local QStringList folderComponents;
    const char* end = text + length;
    const char* lastSlash = end;
    while (lastSlash > text && lastSlash[-1] != '\\')
        --lastSlash;
    QStringList& components = folderComponents;
    if (lastSlash > text && !components.isEmpty() && folderBytes.size() == size_t(lastSlash - text)
        && std::equal(text, lastSlash, folderBytes.begin())) {
        const char* first = lastSlash;
        const char* last = end;
        Trim(first, last);
        components.last() = QString::fromLatin1(first, qsizetype(last - first));
    } else {
        components.clear();
        for (const char* begin = text;;) {
            const char* stop = begin;
            while (stop < end && *stop != '\\')
                ++stop;
            const char* first = begin;
            const char* last = stop;
            Trim(first, last);
            components << QString::fromLatin1(first, qsizetype(last - first));
            if (stop == end)
                break;
            begin = stop + 1;
        }
        folderBytes.assign(text, lastSlash);
    }
    // Exact path first, then each component case-insensitively; "..", "." and empty
    // components are refused, so nothing outside the file set is opened
    return m_pathResolver.Resolve(theApp.m_strMediaFolder, components);
}

CStudyInfo* CStudyList::BuildStudyOfRow(int row)
{
    try {
        m_astrPSPaths.clear();
        if (row < 0 || row >= int(m_aRows.size()))
            return nullptr;
        const StudyRow& studyRow = m_aRows[size_t(row)];
        CPatientInfo* patient = studyRow.nPatientRecord < 0 ? PatientOfOrphanStudy(studyRow.nStudyRecord)
                                                            : m_patientList.FindPatientByRecord(studyRow.nPatientRecord);
        if (!patient)
            return nullptr;
        AddStudiesToPatient(patient);
        CStudyInfo* study = patient->FindStudyByRecord(studyRow.nStudyRecord);
        if (!study)
            return nullptr;
        if (study->m_lstSeries.empty()) {
            // First load: build from the study's series chain, then sort
            const DirectoryLink* record = m_chain.AtIndex(std::uint32_t(studyRow.nStudyRecord));
            const DirectoryLink* firstSeries = record ? m_chain.First(record->nLowerOffset, RecordType::Series) : nullptr;
            if (!firstSeries)
                return nullptr;
            FillSeriesData(study, firstSeries->pValue);
            study->SortSeries();
        }
        return study;
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::OnLoad");
        return nullptr;
    }
}
