#include "study/CPatientInfo.h"

CPatientInfo::CPatientInfo() = default;

CPatientInfo::~CPatientInfo() = default;

void CPatientInfo::RemoveAllStudies()
{
    for (auto& study : m_lstStudies)
        study->RemoveAllSeries();
    m_lstStudies.clear();
}

BYTE CPatientInfo::FindImage(const QString& key, CStudyInfo*& study, CSeriesInfo*& series, CImageInfo*& image) const
{
    for (const auto& candidate : m_lstStudies)
        if (candidate->FindImage(key, series, image)) {
            study = candidate.get();
            return TRUE;
        }
    study = nullptr;
    series = nullptr;
    image = nullptr;
    return FALSE;
}

CStudyInfo* CPatientInfo::FindStudy(const QString& uid) const
{
    for (const auto& study : m_lstStudies)
        if (study->m_strStudyInstanceUID == uid)
            return study.get();
    return nullptr;
}

CStudyInfo* CPatientInfo::FindStudyByRecord(int recordIndex) const
{
    for (const auto& study : m_lstStudies)
        if (study->m_nRecordIndex == recordIndex)
            return study.get();
    return nullptr;
}

int CPatientInfo::GetStudyIndex(const CStudyInfo* study) const
{
    for (size_t i = 0; i < m_lstStudies.size(); ++i)
        if (m_lstStudies[i].get() == study)
            return int(i);
    return -1;
}
