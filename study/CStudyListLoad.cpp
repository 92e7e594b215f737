// Loading a study: the Load button, the double-click, the load sequence of a row and the
// hand-over of the loaded study to the panes of the active child frame.

#include "study/CStudyList.h"

// Qt
#include <QFile>
#include <QTreeWidget>

// std
#include <utility>

// Orvane
#include "study/IPresentationStateImport.h"
#include "state/CAppState.h"
#include "controls/CProgressWnd.h"
#include "study/IStudyChildFrame.h"
#include "study/IStudyGrid.h"
#include "study/IStudyMainWindow.h"
#include "study/IStudyToolBar.h"
#include "study/IThumbnailRun.h"
#include "platform/ReportSystemError.h"
#include "platform/MessageNotifier.h"

namespace {

const QString kProductTitle = QStringLiteral("Perlisk Orvane");
const char* const kLoadingText = "Loading Images. Please Wait...........";
const QString kNoImagesText = QStringLiteral("None of the images of this study was found.");

IStudyChildFrame* ActiveChildFrame()
{
    IStudyMainWindow* main = GetStudyMainWindow();
    return main ? main->MDIGetActive() : nullptr;
}

// The owner of the load's progress window and messages
QWidget* MainWindow()
{
    IStudyMainWindow* main = GetStudyMainWindow();
    return main ? main->GetWindow() : nullptr;
}

// Sets a flag for the lifetime of the guard.
class Busy
{
public:
    explicit Busy(bool& flag) : m_flag(flag) { m_flag = true; }
    ~Busy() { m_flag = false; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    bool& m_flag;
};

} // namespace

void CStudyList::ShowLoadingText(bool bLoading)
{
    const BYTE show = bLoading ? 1 : 0;
    if (theApp.m_bShowLoadingText == show)
        return;
    theApp.m_bShowLoadingText = show;
    IStudyChildFrame* child = ActiveChildFrame();
    if (IStudyGrid* grid = child ? child->GetViewGridFrame() : nullptr)
        grid->RepaintViews();
}

void CStudyList::FocusSelectedView()
{
    QWidget* main = MainWindow();
    if (!main)
        return;
    main->activateWindow();
    const auto focus = [] {
        IStudyChildFrame* child = ActiveChildFrame();
        if (IStudyGrid* grid = child ? child->GetViewGridFrame() : nullptr)
            grid->FocusSelectedView();
    };
    focus();
    // A view the hand-over made shows once its queued refit has run; a hidden one takes no focus
    QMetaObject::invokeMethod(main, focus, Qt::QueuedConnection);
}

QStringList CStudyList::SeriesKeysOf(const CStudyInfo* study, bool bEveryImage)
{
    QStringList keys;
    if (!study)
        return keys;
    for (const auto& series : study->m_lstSeries) {
        if (bEveryImage) {
            for (const auto& image : series->m_lstImages)
                keys << image->m_strFilePath;
        } else if (const CImageInfo* first = series->GetImageAt(0)) {
            keys << first->m_strFilePath;
        }
    }
    return keys;
}

int CStudyList::LayoutModeFor(const QString& modality)
{
    return modality == QLatin1String("US") || modality == QLatin1String("MG") || modality == QLatin1String("CR") ? 2 : 1;
}

BOOL CStudyList::IsProbeModality(const QString& modality)
{
    return modality == QLatin1String("CT") || modality == QLatin1String("MR") ? TRUE : FALSE;
}

void CStudyList::OnLoad()
{
    try {
        const int rows = m_listStudies->topLevelItemCount();
        if (rows == 0)
            return;
        if (rows == 1) {
            // Its study was loaded when the DICOMDIR was read; after a failed load it is loaded again
            if (m_nShownRow == 0)
                hide();
            else
                OnLoad(0);
            return;
        }
        for (int row = 0; row < rows; ++row) {
            if (m_listStudies->topLevelItem(row)->isSelected()) {
                OnLoad(row);
                return;
            }
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::OnLoad");
    }
}

void CStudyList::OnDblclkStudyList(int nItem)
{
    try {
        if (nItem == -1)
            return;
        theApp.m_bStudyListDblClk = 1;
        OnLoad(nItem);
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::OnLoad");
    }
}

void CStudyList::OnLoad(int nRow)
{
    // The hand-over may repaint windows; a second load meanwhile would rebuild what is handed over
    if (m_bLoading)
        return;
    const Busy busy(m_bLoading);
    m_bNoImages = false;
    // Empty viewports say so while this load runs, and only then
    struct LoadingText
    {
        LoadingText() { ShowLoadingText(true); }
        ~LoadingText() { ShowLoadingText(false); }
    } loadingText;
    try {
        // 1.
        theApp.m_strModality.clear();
        // 2.
        IStudyChildFrame* child = ActiveChildFrame();
        if (!child)
            return;
        IStudyToolBar* toolBar = child->GetToolView();
        IThumbnailRun* thumbnails = child->GetThumbnailRun();
        // 3. The tool bar ends every mode and resets the shown image
        if (toolBar)
            toolBar->OnResetImage();
        // 4.
        const QString rowModality = nRow >= 0 && nRow < int(m_aRows.size()) ? m_aRows[size_t(nRow)].astrText[3] : QString();
        if (toolBar)
            toolBar->EnableProbeButton(IsProbeModality(rowModality));
        // 5. The run reads the series keys: it ends before they are rewritten
        if (thumbnails)
            thumbnails->StopThumbnailThread();
        theApp.m_bThumbThreadRunning = 0;
        // 6.
        theApp.m_bNewStudyLoaded = 1;
        // 7.-10. Built and sorted at its first load; only then are presentation states collected
        m_pCurrentStudy = BuildStudyOfRow(nRow);
        if (!m_pCurrentStudy)
            return;
        // The study's modality is its first image series' on every load, never a PR record's
        const CSeriesInfo* firstSeries = m_pCurrentStudy->GetFirstSeries();
        if (firstSeries)
            firstSeries->GetModality(theApp.m_strModality);
        // 11.
        theApp.m_astrSeriesKeys = SeriesKeysOf(m_pCurrentStudy, theApp.m_strModality == QLatin1String("XA"));
        // 12.
        ApplyPresentationStates();
        // 13.
        delete m_pProgressWnd;
        m_pProgressWnd = new CProgressWnd;
        if (!m_pProgressWnd->OpenModal(kProductTitle, FALSE, MainWindow())) {
            delete m_pProgressWnd;
            m_pProgressWnd = nullptr;
            return;
        }
        m_pProgressWnd->SetText("%s", kLoadingText);
        m_pProgressWnd->SetRange(0, 100, 50);
        // 14. ID_CALL_VIEWER
        m_nShownRow = -1;
        m_bHandedOver = false;
        OnViewerStartup();
        if (m_bHandedOver)
            m_nShownRow = nRow;
        // 15.
        hide();
        delete m_pProgressWnd;
        m_pProgressWnd = nullptr;
        // The keys page the study at once
        if (m_bHandedOver)
            FocusSelectedView();
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::OnLoad");
        // The main window must not stay disabled under a progress window left behind
        delete m_pProgressWnd;
        m_pProgressWnd = nullptr;
    }
    if (m_bNoImages) {
        m_bNoImages = false;
        QWidget* owner = isVisible() ? static_cast<QWidget*>(this) : MainWindow();
        MessageBox(owner, kNoImagesText, kProductTitle, MB_OK | MB_ICONINFORMATION);
    }
}

void CStudyList::ApplyPresentationStates()
{
    CImageInfo* firstImage = m_pCurrentStudy && m_pCurrentStudy->GetFirstSeries() ? m_pCurrentStudy->GetFirstSeries()->GetImageAt(0) : nullptr;
    if (!firstImage || m_astrPSPaths.isEmpty())
        return;
    std::unique_ptr<IPresentationStateImport> handler = CreatePresentationStateImport();
    const QString tag = QStringLiteral("1");
    // The paths are taken over: a study's presentation states are applied once
    const QStringList paths = std::exchange(m_astrPSPaths, QStringList());
    for (const QString& path : paths)
        handler->LoadPresentationState(QFile::encodeName(path).constData(), firstImage, tag);
}

void CStudyList::OnViewerStartup()
{
    try {
        if (IStudyChildFrame* child = ActiveChildFrame())
            m_bHandedOver = SetImagePropertiesAfterLoading(child) != FALSE;
        if (m_pProgressWnd)
            m_pProgressWnd->DestroyWindow();
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::OnViewerStartup");
    }
}

BOOL CStudyList::SetImagePropertiesAfterLoading(IStudyChildFrame* pChild)
{
    try {
        if (!pChild)
            return FALSE;
        // 1. Empty viewports stop painting their loading text
        ShowLoadingText(false);
        // 2. One thumbnail per series key
        if (IThumbnailRun* thumbnails = pChild->GetThumbnailRun())
            thumbnails->StartThumbnailThread();
        // 3.
        IStudyGrid* grid = pChild->GetViewGridFrame();
        if (!grid)
            return FALSE;
        const CSeriesInfo* firstSeries = m_pCurrentStudy ? m_pCurrentStudy->GetFirstSeries() : nullptr;
        m_strSeriesModality.clear();
        if (firstSeries)
            firstSeries->GetModality(m_strSeriesModality);
        // 4.
        grid->ForgetLayout();
        if (!firstSeries) {
            // None of its images is on the medium: a blank viewport, not the study shown before
            m_bNoImages = true;
            theApp.m_bImagesLoaded = 0;
            grid->DisplaySingleFrame();
            return FALSE;
        }
        // 5.
        if (LayoutModeFor(m_strSeriesModality) == 2) {
            theApp.m_nLayoutMode = 2;
            theApp.m_bEmptyViewText = 0;
            grid->SetSeriesLayout(0);
        } else {
            theApp.m_nLayoutMode = 1;
        }
        // 6. One viewport with the first series key
        grid->DisplaySingleFrame();
        // 7. The tool bar and the mouse handlers act from now on
        theApp.m_bImagesLoaded = 1;
        return TRUE;
    } catch (...) {
        ReportSystemError(GetLastError(), "CStudyList::SetImagePropertiesAfterLoading");
        return FALSE;
    }
}
