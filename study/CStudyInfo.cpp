#include "study/CStudyInfo.h"

// Orvane
#include "study/SortObList.h"

CStudyInfo::CStudyInfo() = default;

CStudyInfo::~CStudyInfo()
{
    RemoveAllSeries();
}

void CStudyInfo::RemoveAllSeries()
{
    for (auto& series : m_lstSeries)
        series->RemoveAllImages();
    m_lstSeries.clear();
}

BYTE CStudyInfo::FindImage(const QString& key, CSeriesInfo*& series, CImageInfo*& image) const
{
    for (const auto& candidate : m_lstSeries)
        if (candidate->FindImage(key, image)) {
            series = candidate.get();
            return TRUE;
        }
    series = nullptr;
    image = nullptr;
    return FALSE;
}

void CStudyInfo::SortSeries()
{
    SortObListByKey(&m_lstSeries, SeriesNumberKey);
    for (auto& series : m_lstSeries)
        series->SortImages();
}

int CStudyInfo::GetSeriesIndex(const CSeriesInfo* series) const
{
    for (size_t i = 0; i < m_lstSeries.size(); ++i)
        if (m_lstSeries[i].get() == series)
            return int(i);
    return -1;
}

CSeriesInfo* CStudyInfo::GetSeriesAt(int index) const
{
    return index >= 0 && index < int(m_lstSeries.size()) ? m_lstSeries[size_t(index)].get() : nullptr;
}

int CStudyInfo::GetImageCount() const
{
    int count = 0;
    for (const auto& series : m_lstSeries)
        count += series->GetImageCount();
    return count;
}

CSeriesInfo* CStudyInfo::GetFirstSeries() const
{
    return m_lstSeries.empty() ? nullptr : m_lstSeries.front().get();
}

CSeriesInfo* CStudyInfo::GetLastSeries() const
{
    return m_lstSeries.empty() ? nullptr : m_lstSeries.back().get();
}

CImageInfo* CStudyInfo::GetFirstImage() const
{
    const CSeriesInfo* series = GetFirstSeries();
    return series ? series->GetImageAt(0) : nullptr;
}

CImageInfo* CStudyInfo::GetLastImage() const
{
    const CSeriesInfo* series = GetLastSeries();
    return series ? series->GetImageAt(series->GetImageCount() - 1) : nullptr;
}
