#include "study/CSeriesInfo.h"

// Orvane
#include "study/SortObList.h"

CSeriesInfo::CSeriesInfo() = default;

CSeriesInfo::~CSeriesInfo()
{
    m_pStudy = nullptr;
}

void CSeriesInfo::RemoveAllImages()
{
    m_lstImages.clear();
}

BYTE CSeriesInfo::FindImage(const QString& key, CImageInfo*& image) const
{
    for (const auto& candidate : m_lstImages)
        if (candidate->m_strFilePath == key) {
            image = candidate.get();
            return TRUE;
        }
    image = nullptr;
    return FALSE;
}

CImageInfo* CSeriesInfo::GetImageAt(int index) const
{
    return index >= 0 && index < int(m_lstImages.size()) ? m_lstImages[size_t(index)].get() : nullptr;
}

int CSeriesInfo::GetImageIndex(const CImageInfo* image) const
{
    for (size_t i = 0; i < m_lstImages.size(); ++i)
        if (m_lstImages[i].get() == image)
            return int(i);
    return -1;
}

void CSeriesInfo::SetWindow(float width, float centre)
{
    m_fWindowWidth = width;
    m_fWindowCenter = centre;
}

void CSeriesInfo::GetWindow(float* width, float* centre) const
{
    if (width)
        *width = m_fWindowWidth;
    if (centre)
        *centre = m_fWindowCenter;
}

void CSeriesInfo::SortImages()
{
    SortObListByKey(&m_lstImages, InstanceNumberKey);
}
