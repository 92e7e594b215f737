#include "viewer/ThumbnailIndex.h"

// Orvane
#include "study/CImageInfo.h"
#include "study/CSeriesInfo.h"

int ThumbnailIndexOf(const QStringList& keys, const CSeriesInfo* pSeries, const CImageInfo* pImage)
{
    if (pImage) {
        const qsizetype own = keys.indexOf(pImage->m_strFilePath);
        if (own >= 0)
            return int(own);
    }
    const CSeriesInfo* series = pSeries ? pSeries : pImage ? pImage->m_pSeries : nullptr;
    const CImageInfo* first = series ? series->GetImageAt(0) : nullptr;
    return first ? int(keys.indexOf(first->m_strFilePath)) : -1;
}
