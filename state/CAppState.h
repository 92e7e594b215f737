#pragma once
// The state that several subsystems share, held by the one application object `theApp`. The
// application's start-up and shut-down (COstrevanApp, in app/) fill it; every reader includes
// this header only. Its members are written and read on the UI thread.

// Qt
#include <QString>
#include <QStringList>

// std
#include <memory>

// Orvane
#include "platform/CFont.h"
#include "platform/InstanceLock.h"
#include "platform/WinTypes.h"

class CMainFrame;
class CMultiDocTemplate;
class CMyFrameWnd;
class CStudyList;

/// The application object's shared state. UI thread only, except that the thumbnail worker
/// reads m_astrSeriesKeys while no one rewrites it. The pointers to the frames and the dialog
/// are opaque here: their owners above use them.
class CAppState
{
public:
    CAppState();
    virtual ~CAppState();
    CAppState(const CAppState&) = delete;
    CAppState& operator=(const CAppState&) = delete;

    /// The start-up (the application object's): false ends the process (after ExitInstance).
    /// The state alone starts nothing and returns FALSE.
    virtual BOOL InitInstance(const QString& programPath);
    /// The shut-down (the application object's); returns the exit code. The state alone has
    /// nothing to stop and returns 0.
    virtual int ExitInstance();

    /// A copy of entry `index` of m_astrSeriesKeys; empty when out of range.
    QString GetSeriesKey(int index) const;

    BYTE m_bStudyListDblClk = 0;       ///< a Study List row was just double-clicked
    QString m_strModality;             ///< modality of the loaded study
    int m_nInitialCineSpeed = 30;      ///< initial speed of a new cine bar
    BYTE m_bShowLoadingText = 0;       ///< empty viewports show the loading text
    BYTE m_bNewStudyLoaded = 0;        ///< a study was just chosen
    QString m_strTitle;                ///< text of the main frame's caption bar
    CFont m_fontShapeText;             ///< never created: imported shapes draw with the default font
    CStudyList* m_pStudyListDlg = nullptr; ///< the modeless Study List dialog, owned by the application object
    BYTE m_bImagesLoaded = 0;          ///< a study was loaded and its first image shown
    int m_nLayoutMode = 0;             ///< 0 study, 1 series, 2 image
    InstanceLock m_hMutex;             ///< the single-instance lock
    int m_nMagnifierOption = 0;
    CMyFrameWnd* m_pViewGridFrame = nullptr; ///< set by the viewport grid frame
    RECT m_rcMonitor{};                ///< first monitor, recorded by the main frame (screen pixels)
    int m_nViewAreaWidth = 700;        ///< pane sizes in pixels, from the child frame
    int m_nToolRowHeight = 50;
    int m_nViewAreaHeight = 500;
    int m_nThumbColumnWidth = 50;
    QString m_strTempFolder;           ///< the private temporary folder, with trailing "/"
    QString m_strMediaFolder;          ///< the file-set folder, without trailing "/"
    std::unique_ptr<CMultiDocTemplate> m_pDocTemplate; ///< the one document template
    BOOL m_bThumbThreadRunning = 0;    ///< a thumbnail run is in progress
    BYTE m_bEmptyViewText = 0;         ///< empty viewports prepare the drawing of their text
    int m_nMagnifierZoom = 0;
    int m_nMagnifierSize = 0;
    QStringList m_astrSeriesKeys;      ///< per series, the path of its first image (every image for XA)

    // Beyond the shared table: what this platform needs to hand on.
    QString m_strDicomDirPath;         ///< the DICOMDIR the loader reads: the copy, or the original when no copy could be made
    CMainFrame* m_pMainWnd = nullptr;  ///< the main frame, owned by the application object
};

/// The one application object (a COstrevanApp, made with the start-up in app/).
extern CAppState& theApp;
