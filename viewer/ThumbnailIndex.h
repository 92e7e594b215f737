#pragma once
// Which thumbnail shows an image: the index of its entry among the series keys that the study
// loader writes (the first image of each series, or every image for XA).

// Qt
#include <QStringList>

class CImageInfo;
class CSeriesInfo;

/// The index in `keys` of the image's own path (XA lists every image), else of its series'
/// first image's path; -1 when neither is listed or there is no record.
int ThumbnailIndexOf(const QStringList& keys, const CSeriesInfo* pSeries, const CImageInfo* pImage);
