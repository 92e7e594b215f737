#pragma once
// One study of a patient with its series.

// Qt
#include <QString>

// std
#include <memory>
#include <vector>

// Orvane
#include "platform/WinTypes.h"
#include "study/CSeriesInfo.h"

/// One STUDY record. Owns its series. UI thread only.
class CStudyInfo
{
public:
    CStudyInfo();
    ~CStudyInfo();
    CStudyInfo(const CStudyInfo&) = delete;
    CStudyInfo& operator=(const CStudyInfo&) = delete;

    /// Deletes every series with its images and empties the list.
    void RemoveAllSeries();
    /// Searches the series in list order for an image whose file path equals `key`; TRUE and
    /// both out-parameters set on the first hit, FALSE and both null otherwise.
    BYTE FindImage(const QString& key, CSeriesInfo*& series, CImageInfo*& image) const;
    /// Sorts the series by numeric Series Number, then the images of every series.
    void SortSeries();
    /// 0-based position of `series`, by pointer; -1 when absent.
    int GetSeriesIndex(const CSeriesInfo* series) const;
    /// The series at 0-based `index`; null outside the list.
    CSeriesInfo* GetSeriesAt(int index) const;
    /// The number of images of all series.
    int GetImageCount() const;
    CSeriesInfo* GetFirstSeries() const;
    CSeriesInfo* GetLastSeries() const;
    /// Image 0 of series 0; null when there is none.
    CImageInfo* GetFirstImage() const;
    /// The last image of the last series; null when there is none.
    CImageInfo* GetLastImage() const;

    int m_nRecordIndex = -1;        ///< index of its STUDY record in the Directory Record Sequence: its identity
    QString m_strStudyInstanceUID;
    QString m_strStudyDescription;
    QString m_strStudyDate;         ///< DD/MM/YYYY; empty when the record has no date
    QString m_strStudyID;
    std::vector<std::unique_ptr<CSeriesInfo>> m_lstSeries; ///< owned, sorted by SortSeries
};
