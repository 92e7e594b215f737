#include "study/SortObList.h"

// Orvane
#include "platform/NumberParse.h"
#include "study/CImageInfo.h"
#include "study/CSeriesInfo.h"

int SeriesNumberKey(const CSeriesInfo* series)
{
    return AtoI(series->m_strSeriesNumber.toLatin1().constData());
}

int InstanceNumberKey(const CImageInfo* image)
{
    return AtoI(image->m_strInstanceNumber.toLatin1().constData());
}

int CompareSeriesNumber(const CSeriesInfo* a, const CSeriesInfo* b)
{
    return SeriesNumberKey(a) >= SeriesNumberKey(b) ? 1 : 0;
}

int CompareInstanceNumber(const CImageInfo* a, const CImageInfo* b)
{
    return InstanceNumberKey(a) >= InstanceNumberKey(b) ? 1 : 0;
}
