#include "app/COstrevanApp.h"

// Qt
#include <QFileInfo>
#include <QWidget>

// Orvane
#include "app/CChildFrmView.h"
#include "app/CMainFrame.h"
#include "app/FrameLinks.h"
#include "platform/CMultiDocTemplate.h"
#include "platform/FileCopy.h"
#include "platform/MessageNotifier.h"
#include "platform/MonitorProvider.h"
#include "platform/PathResolver.h"
#include "platform/PrivateFolder.h"
#include "platform/Profile.h"
#include "platform/ReportSystemError.h"
#include "res/resource.h"
#include "study/CStudyList.h"
#include "viewer/CVantrelDoc.h"

namespace {

COstrevanApp g_theApp;

const QString kProductTitle = QStringLiteral("Perlisk Orvane");
constexpr int kRecentFileCount = 4;

QString CutLastComponent(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    QString rest = slash < 0 ? QString() : path.left(slash);
    while (rest.endsWith(QLatin1Char('/')))
        rest.chop(1);
    return rest;
}

} // namespace

CAppState& theApp = g_theApp;

QString MediaFolderFromProgramPath(const QString& programPath)
{
    return CutLastComponent(CutLastComponent(programPath));
}

COstrevanApp::COstrevanApp()
{
    LinkFrames();
}

COstrevanApp::~COstrevanApp() = default;

BOOL COstrevanApp::InitInstance(const QString& programPath)
{
    // 1. One running copy only. A lock that can't be taken at all is no other copy: the viewer
    // then runs without the guard and says why in the log
    const QString privateFolder = PrivateTempFolder();
    if (privateFolder.isEmpty()) {
        ReportSystemError(GetLastError(), "COstrevanApp::InitInstance: no private folder, no single-instance lock");
    } else if (!m_hMutex.Acquire(privateFolder + QStringLiteral("OrvaneMutex.lock"))) {
        if (m_hMutex.IsHeldElsewhere()) {
            MessageBox(nullptr, QStringLiteral("Another Copy of Orvane is already running"), kProductTitle,
                       MB_SYSTEMMODAL | MB_ICONINFORMATION);
            return FALSE;
        }
        ReportSystemError(DWORD(m_hMutex.LastError()), "COstrevanApp::InitInstance: no single-instance lock");
    }

    // 2.
    m_bStudyListDblClk = 0;
    m_bShowLoadingText = 1;
    m_strModality.clear();
    m_strMediaFolder.clear();
    m_bNewStudyLoaded = 0;

    // 4. The file set is the parent of the program's folder
    m_strMediaFolder = MediaFolderFromProgramPath(programPath);

    // 5. File sets from CDs may name it in lower case
    const QString dicomDir = ResolveCaseInsensitive(m_strMediaFolder, {QStringLiteral("DICOMDIR")});
    if (dicomDir.isEmpty()) {
        MessageBox(nullptr, QStringLiteral("DICOMDIR file not found...\nClosing the application"), kProductTitle,
                   MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }

    // 6.
    m_strTitle = QStringLiteral("%1 - 1.3.1.2").arg(kProductTitle);

    // 7. The loader reads a private copy; without one it reads the original, never a stale copy
    m_strTempFolder = privateFolder;
    m_strDicomDirPath = dicomDir;
    if (!m_strTempFolder.isEmpty() && CopyFileReplacing(dicomDir, m_strTempFolder, QStringLiteral("dicomdir")))
        m_strDicomDirPath = m_strTempFolder + QStringLiteral("dicomdir");

    // 8. Profile
    m_astrRecentFiles = Profile::LoadRecentFileList(kRecentFileCount);
    m_bProfileLoaded = true;

    // 9. The one document template
    m_pDocTemplate = std::make_unique<CMultiDocTemplate>(
        IDR_TOLVANETYPE, QStringLiteral("\nTolvanel\nTolvane\n\n\nTolvane.Document\nTolvane Document"),
        [] { return new CVantrelDoc; },
        [](CDocument* document, QWidget* parent) -> QWidget* {
            auto* frame = new CChildFrmView(parent);
            if (!frame->Create(document)) {
                delete frame;
                return nullptr;
            }
            return frame;
        });
    m_bEmptyViewText = 1;

    // 10. The Study List starts reading the DICOMDIR now, so the toolkit's dictionary and the
    // read overlap the making of the main frame; it carries the rest of the start-up
    m_pStudyListDlg = new CStudyList;
    if (!m_pStudyListDlg->Create(IDD_STUDY_LIST, nullptr))
        return FALSE;

    // 10a. Main frame; creating it records m_rcMonitor
    m_pMainWnd = new CMainFrame;
    if (!m_pMainWnd->LoadFrame(IDR_MAINFRAME))
        return FALSE;

    // 11. A new empty document, whose child frame builds the panes
    if (!m_pDocTemplate->OpenDocumentFile(QString(), m_pMainWnd->GetClientArea()))
        return FALSE;

    // 12. Over the desktop
    m_pMainWnd->setGeometry(FirstMonitorRect());
    m_pMainWnd->show();

    // 13. Magnifier defaults
    m_nMagnifierZoom = 20;
    m_nMagnifierSize = 400;
    m_nMagnifierOption = 1;
    m_bThumbThreadRunning = 0;

    // 14. The Study List, placed once the monitors are known
    m_pStudyListDlg->CenterWindow();
    return TRUE;
}

int COstrevanApp::ExitInstance()
{
    // Views go before the records they show; the dialog joins its loading thread
    delete m_pMainWnd;
    m_pMainWnd = nullptr;
    delete m_pStudyListDlg;
    m_pStudyListDlg = nullptr;
    m_pDocTemplate.reset();
    m_hMutex.Release();
    if (m_bProfileLoaded)
        Profile::SaveRecentFileList(m_astrRecentFiles, kRecentFileCount);
    return 0;
}
