#include "study/CPatientList.h"

CPatientList::CPatientList() = default;

CPatientList::~CPatientList() = default;

void CPatientList::RemoveAllPatients()
{
    for (auto& patient : m_lstPatients)
        patient->RemoveAllStudies();
    m_lstPatients.clear();
}

CPatientInfo* CPatientList::FindPatient(const QString& key) const
{
    for (const auto& patient : m_lstPatients)
        if (patient->GetKey() == key)
            return patient.get();
    return nullptr;
}

CPatientInfo* CPatientList::FindPatientByRecord(int recordIndex) const
{
    for (const auto& patient : m_lstPatients)
        if (patient->m_nRecordIndex == recordIndex)
            return patient.get();
    return nullptr;
}

void CPatientList::FindImage(const QString& key, CPatientInfo*& patient, CStudyInfo*& study, CSeriesInfo*& series,
                             CImageInfo*& image) const
{
    for (const auto& candidate : m_lstPatients)
        if (candidate->FindImage(key, study, series, image)) {
            patient = candidate.get();
            return;
        }
    patient = nullptr;
    study = nullptr;
    series = nullptr;
    image = nullptr;
}
