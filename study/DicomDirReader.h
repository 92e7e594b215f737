#pragma once
// Reading a DICOMDIR into patient records, offset lists and study rows. Plain code: it runs on
// the loading thread and hands everything over in one DicomDirContents.

// Qt
#include <QString>

// std
#include <array>
#include <atomic>
#include <memory>
#include <vector>

// Orvane
#include "study/COffsetListValue.h"
#include "study/CPatientInfo.h"
#include "study/PersonName.h"
#include "study/RecordChain.h"

class DcmFileFormat;
class DcmItem;
class DcmSequenceOfItems;
class DcmTagKey;

/// The texts of one row of the study list and the records it stands for.
struct StudyRow
{
    static constexpr int kColumns = 9;
    /// "No", "Patient ID", "Patient Name", "Modality", "Accession No", "Study Description.",
    /// "Study Date Time", "Study Instance UID", "Patient Name - ID".
    std::array<QString, kColumns> astrText;
    int nStudyRecord = -1;   ///< sequence index of its STUDY record: the row's identity
    int nPatientRecord = -1; ///< sequence index of the PATIENT record whose study chain holds it; -1 none
};

/// Everything one read of a DICOMDIR produces.
struct DicomDirContents
{
    DicomDirContents();
    ~DicomDirContents();
    DicomDirContents(DicomDirContents&&) noexcept;
    DicomDirContents& operator=(DicomDirContents&&) noexcept;

    bool bRead = false;                         ///< the file loaded (also when it holds no records)
    std::unique_ptr<DcmFileFormat> pFile;       ///< the DICOMDIR, kept open for the study builder
    DcmSequenceOfItems* pRecordSequence = nullptr; ///< its Directory Record Sequence, inside pFile; null when none
    std::vector<std::unique_ptr<CPatientInfo>> patients; ///< one per PATIENT record with a lower level
    COffsetList patientOffsets;
    COffsetList studyOffsets;
    COffsetList seriesOffsets;
    COffsetList imageOffsets;
    COffsetList presentationOffsets;
    RecordChain chain;                          ///< every record by offset and index
    std::vector<StudyRow> rows;                 ///< one per STUDY record, in DICOMDIR order
};

/// Reads the DICOMDIR at `path`: walks the Directory Record Sequence once, in order, and makes
/// the patients, the five offset lists, the record chain and one row per STUDY record, whose
/// patient and modality come from the record linkage. Returns with bRead false when the file
/// cannot be loaded. When `stop` becomes set it returns early with what it has. Thread safe
/// (one call per contents object).
DicomDirContents ReadDicomDir(const char* path, const std::atomic<bool>* stop = nullptr);

/// A stored date (YYYYMMDD, or YYYY.MM.DD of the older standard) as DD/MM/YYYY; empty for an
/// empty value or one that is no date.
QString FormatStudyDate(const QString& stored);
/// A stored time (HHMMSS.FFF and its shorter and older forms) as HH:MM:SS, the fraction
/// dropped; empty for an empty value or one that is no time.
QString FormatStudyTime(const QString& stored);

/// Value 0 of attribute `tag` of `record` itself (no search into sequences), bytes as stored;
/// empty when absent.
QString RecordText(DcmItem* record, const DcmTagKey& tag);
