#pragma once
// The document of one viewport: the rendered bitmaps of the file its view shows, and that
// file's window values and pixel-value bounds.

// Qt
#include <QString>

// std
#include <vector>

// Orvane
#include "platform/CDocument.h"
#include "platform/WinTypes.h"
#include "study/CxImageDCM.h"

class CxImage;

/// One viewport's document; every pane of the viewport grid has its own, with one view.
/// Nothing is ever saved. UI thread only (the cine threads of later code read the bitmaps).
class CVantrelDoc : public CDocument
{
    Q_OBJECT
public:
    explicit CVantrelDoc(QObject* parent = nullptr);
    ~CVantrelDoc() override;

    /// The base behaviour only.
    bool OnNewDocument() override;
    /// Records the path in m_strFilePath; reads nothing. Returns true.
    bool OnOpenDocument(const QString& path) override;

    /// Deletes every bitmap of m_arrImages (null entries are skipped) and empties the array.
    void ClearImageArray();
    /// The bitmap at m_nImageIndex (borrowed), which becomes m_nCurrentIndex; null when the
    /// array is empty or the index lies outside it.
    CxImage* GetCurrentImage();

    /// Copies the window values and pixel-value bounds of `dcm`: the four bounds truncated
    /// toward zero, the current and the default window from its window.
    void SetWindowValues(const CxImageDCM& dcm);
    /// The embedded DICOM object's Modality (empty: it never holds a file).
    QString GetImageModality();
    /// The embedded DICOM object's SOP Instance UID into `uid` (left as it is: no file).
    void GetSOPInstanceUID(QString& uid);

    int m_nLimitHigh = 0;                 ///< the shown file's upper limit, truncated
    int m_nLimitLow = 0;                  ///< its lower limit, truncated
    int m_nMaxValue = 0;                  ///< upper bound of the window level while it is dragged
    int m_nMinValue = 0;                  ///< lower bound of the window level
    float m_fWindowCenter = 0;            ///< current window centre (level)
    float m_fWindowWidth = 0;             ///< current window width
    float m_fDefaultWindowWidth = 0;      ///< the file's own window width
    float m_fDefaultWindowCenter = 0;     ///< the file's own window centre
    std::vector<CxImage*> m_arrImages;    ///< rendered bitmaps of the shown file, owned (null entries allowed)
    int m_nImageIndex = 0;                ///< requested index into m_arrImages
    int m_nCurrentIndex = 0;              ///< index last handed out by GetCurrentImage
    QString m_strFilePath;                ///< path of the image the view shows
    CxImageDCM m_dcmImage;                ///< embedded DICOM object; nothing loads a file into it
    BYTE m_bRefitPending = 0;             ///< set by the view's first update, cleared by its refit
};
