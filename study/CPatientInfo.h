#pragma once
// One patient of the file set with the studies built for it.

// Qt
#include <QString>

// std
#include <memory>
#include <vector>

// Orvane
#include "platform/WinTypes.h"
#include "study/CStudyInfo.h"

/// One PATIENT record. Created by the DICOMDIR reader (on the loading thread, before it is
/// handed over); its studies are built on the UI thread. Owns its studies.
class CPatientInfo
{
public:
    CPatientInfo();
    ~CPatientInfo();
    CPatientInfo(const CPatientInfo&) = delete;
    CPatientInfo& operator=(const CPatientInfo&) = delete;

    /// The key: display name, "-", Patient ID ("-" when both are empty).
    QString GetKey() const { return m_strPatientName + QLatin1Char('-') + m_strPatientID; }

    /// Deletes every study with its series and images and empties the list.
    void RemoveAllStudies();
    /// TRUE and the out-parameters set when one of the studies holds an image whose file path
    /// equals `key`; FALSE and all three null otherwise.
    BYTE FindImage(const QString& key, CStudyInfo*& study, CSeriesInfo*& series, CImageInfo*& image) const;
    /// The first study whose Study Instance UID equals `uid` exactly; null when none.
    CStudyInfo* FindStudy(const QString& uid) const;
    /// The study built from the STUDY record at sequence index `recordIndex`; null when none.
    CStudyInfo* FindStudyByRecord(int recordIndex) const;
    /// 0-based position of `study`, by pointer; -1 when absent.
    int GetStudyIndex(const CStudyInfo* study) const;

    int m_nRecordIndex = -1;        ///< index of its PATIENT record in the Directory Record Sequence: its identity
    QString m_strPatientID;         ///< Patient ID as stored
    QString m_strPatientName;       ///< the display name: "last, first middle"
    std::vector<std::unique_ptr<CStudyInfo>> m_lstStudies; ///< owned, in the order of the study chain
};
