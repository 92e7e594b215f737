#pragma once
// The application object: starts and stops the system and holds the state that several
// subsystems share. One instance, `theApp`. Its members are written and read on the UI thread.

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

/// The file-set folder of a program file: its path cut before the last "/" twice, trailing
/// "/" trimmed after each cut. "/cd/prog/orvane" -> "/cd"; "/prog/orvane" and "/orvane" -> ""
/// (the root folder).
QString MediaFolderFromProgramPath(const QString& programPath);

/// The application object. UI thread only, except that the thumbnail worker reads
/// m_astrSeriesKeys while no one rewrites it.
class COstrevanApp
{
public:
    COstrevanApp();
    ~COstrevanApp();
    COstrevanApp(const COstrevanApp&) = delete;
    COstrevanApp& operator=(const COstrevanApp&) = delete;

    /// The start-up: single instance, file-set folder, DICOMDIR copy, profile, document
    /// template, main frame and Study List dialog. False ends the process (after ExitInstance).
    BOOL InitInstance(const QString& programPath);
    /// The shut-down: frames and dialog deleted, the instance lock released, the recent-file
    /// list saved. Returns the exit code.
    int ExitInstance();

    /// A copy of entry `index` of m_astrSeriesKeys; empty when out of range.
    QString GetSeriesKey(int index) const;

    BYTE m_bStudyListDblClk = 0;       ///< a Study List row was just double-clicked
    QString m_strModality;             ///< modality of the loaded study
    int m_nInitialCineSpeed = 30;      ///< initial speed of a new cine bar
    BYTE m_bShowLoadingText = 0;       ///< empty viewports show the loading text
    BYTE m_bNewStudyLoaded = 0;        ///< a study was just chosen
    QString m_strTitle;                ///< text of the main frame's caption bar
    CFont m_fontShapeText;             ///< never created: imported shapes draw with the default font
    CStudyList* m_pStudyListDlg = nullptr; ///< the modeless Study List dialog, owned here
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
    CMainFrame* m_pMainWnd = nullptr;  ///< the main frame, owned here
    QStringList m_astrRecentFiles;     ///< the profile's recent-file list (four entries)
    bool m_bProfileLoaded = false;     ///< the recent-file list was read and is saved at exit
};

/// The one application object.
extern COstrevanApp theApp;
