#pragma once
// All patients of the file set.

// Qt
#include <QString>

// std
#include <memory>
#include <vector>

// Orvane
#include "study/CPatientInfo.h"

/// The collection of all patients, owned by the Study List dialog. UI thread only.
class CPatientList
{
public:
    CPatientList();
    ~CPatientList();
    CPatientList(const CPatientList&) = delete;
    CPatientList& operator=(const CPatientList&) = delete;

    /// Deletes every patient with all its records and empties the list.
    void RemoveAllPatients();
    /// The first patient whose key (display name, "-", ID) equals `key` exactly; null when none.
    CPatientInfo* FindPatient(const QString& key) const;
    /// The patient read from the PATIENT record at sequence index `recordIndex`; null when none.
    CPatientInfo* FindPatientByRecord(int recordIndex) const;
    /// The records that hold the image whose file path equals `key`, from the first patient
    /// that has it. When no image has that path, all four are null.
    void FindImage(const QString& key, CPatientInfo*& patient, CStudyInfo*& study, CSeriesInfo*& series,
                   CImageInfo*& image) const;

    std::vector<std::unique_ptr<CPatientInfo>> m_lstPatients; ///< owned, in DICOMDIR order
};
