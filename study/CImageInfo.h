#pragma once
// One image file of a series, as the DICOMDIR lists it.

// Qt
#include <QString>

// std
#include <memory>

// Orvane
#include "platform/WinTypes.h"

class CSeriesInfo;
class CStudyInfo;
class DcmFileFormat;
class DcmItem;

/// One directory record below a series whose referenced file exists. Created by the study
/// builder on the UI thread; UI thread only.
class CImageInfo
{
public:
    CImageInfo();
    ~CImageInfo();
    CImageInfo(const CImageInfo&) = delete;
    CImageInfo& operator=(const CImageInfo&) = delete;

    void SetInstanceNumber(const QString& number) { m_strInstanceNumber = number; }
    void SetSOPInstanceUID(const QString& uid) { m_strSOPInstanceUID = uid; }
    void SetFrames(int frames) { m_nFrames = frames; }
    QString GetSOPInstanceUID() const { return m_strSOPInstanceUID; }
    /// The mark of a cine loop that cycles through this image's frames (one view at a time).
    void SetCineRunning(BYTE running) { m_bCineRunning = running; }
    BYTE IsCineRunning() const { return m_bCineRunning; }

    /// Rows (0028,0010) of m_pDirRecord; 0 without an item or without the attribute.
    int GetRows() const;
    /// Whether m_pDirRecord holds Imager Pixel Spacing or Pixel Spacing with a value (sets
    /// m_bPixelSpacingKnown then); FALSE without an item.
    BYTE HasPixelSpacing();
    /// The two values of Imager Pixel Spacing, else of Pixel Spacing, of m_pDirRecord into
    /// `spacing[0]` (row spacing, vertical) and `spacing[1]` (column spacing, horizontal), in
    /// mm; a value that reads as 0 (or is missing) becomes 1.0. Sets m_bPixelSpacingKnown
    /// only when one of the two attributes was there. Without an item nothing changes.
    void GetPixelSpacing(double* spacing);

    int m_nFrames = 1;                            ///< Number of Frames of the record; 1 when absent
    std::unique_ptr<DcmFileFormat> m_pFileObject; ///< an opened file of this image, owned; null by default
    std::unique_ptr<DcmItem> m_pDirRecord;        ///< an item for the attribute queries, owned; null by default
    BYTE m_bPixelSpacingKnown = 0;
    CStudyInfo* m_pStudy = nullptr;               ///< the study of the image's series, not owned
    CSeriesInfo* m_pSeries = nullptr;             ///< the series that holds the image, not owned
    QString m_strFilePath;                        ///< full path of the file as found on disk; the image's key
    QString m_strSOPInstanceUID;                  ///< Referenced SOP Instance UID in File of the record
    QString m_strInstanceNumber;                  ///< Instance Number as text
    BYTE m_bCineRunning = 0;                      ///< a cine loop cycles through the frames
};
