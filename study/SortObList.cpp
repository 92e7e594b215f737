#include "study/SortObList.h"

// Orvane
#include "platform/NumberParse.h"
#include "study/CImageInfo.h"
#include "study/CSeriesInfo.h"

int CompareSeriesNumber(const CSeriesInfo* a, const CSeriesInfo* b)
{
    return AtoI(a->m_strSeriesNumber.toLatin1().constData()) >= AtoI(b->m_strSeriesNumber.toLatin1().constData()) ? 1 : 0;
}

int CompareInstanceNumber(const CImageInfo* a, const CImageInfo* b)
{
    return AtoI(a->m_strInstanceNumber.toLatin1().constData()) >= AtoI(b->m_strInstanceNumber.toLatin1().constData()) ? 1 : 0;
}

int SeriesNumberKey(const CSeriesInfo* series)
{
    return AtoI(series->m_strSeriesNumber.toLatin1().constData());
}

int InstanceNumberKey(const CImageInfo* image)
{
    return AtoI(image->m_strInstanceNumber.toLatin1().constData());
}
