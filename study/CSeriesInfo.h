#pragma once
// One series of a study with its image files.

// Qt
#include <QString>

// std
#include <memory>
#include <vector>

// Orvane
#include "platform/WinTypes.h"
#include "study/CImageInfo.h"

class CStudyInfo;

/// One SERIES record whose modality is not "PR" and that has at least one image file on the
/// medium. Owns its images. UI thread only.
class CSeriesInfo
{
public:
    CSeriesInfo();
    ~CSeriesInfo();
    CSeriesInfo(const CSeriesInfo&) = delete;
    CSeriesInfo& operator=(const CSeriesInfo&) = delete;

    /// Deletes every image and empties the list.
    void RemoveAllImages();
    /// The first image whose file path equals `key` exactly; TRUE and `image` set when found,
    /// FALSE and `image` null otherwise.
    BYTE FindImage(const QString& key, CImageInfo*& image) const;
    /// The image at 0-based `index`; null outside the list.
    CImageInfo* GetImageAt(int index) const;
    /// The 0-based position of `image`, by pointer; -1 when absent.
    int GetImageIndex(const CImageInfo* image) const;
    int GetImageCount() const { return int(m_lstImages.size()); }

    void SetWindowChanged(BOOL changed) { m_bWindowChanged = changed ? 1 : 0; }
    BYTE IsWindowChanged() const { return m_bWindowChanged; }
    /// Stores the chosen window, width first.
    void SetWindow(float width, float centre);
    /// The chosen window, width first; null pointers are skipped.
    void GetWindow(float* width, float* centre) const;

    /// Sorts the images by numeric Instance Number (equal numbers end reversed).
    void SortImages();
    void GetModality(QString& modality) const { modality = m_strModality; }
    void SetCineRunning(BYTE running) { m_bCineRunning = running; }
    BYTE IsCineRunning() const { return m_bCineRunning; }

    BYTE m_bWindowChanged = 0;      ///< a window was chosen for the series
    float m_fWindowCenter = 0;      ///< the chosen window centre
    float m_fWindowWidth = 0;       ///< the chosen window width
    BYTE m_bCineRunning = 0;        ///< a cine loop cycles through the series
    CStudyInfo* m_pStudy = nullptr; ///< the parent study, not owned
    QString m_strSeriesInstanceUID;
    QString m_strSeriesNumber;      ///< Series Number as text
    QString m_strSeriesDate;        ///< as stored
    QString m_strSeriesTime;        ///< as stored
    QString m_strSeriesDescription;
    QString m_strModality;          ///< empty when the record has none
    std::vector<std::unique_ptr<CImageInfo>> m_lstImages; ///< owned, sorted by SortImages
};
