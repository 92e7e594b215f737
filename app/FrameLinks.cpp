#include "app/FrameLinks.h"

// Qt
#include <QPointer>

// std
#include <utility>

// Orvane
#include "annotation/CShapeCollection.h"
#include "app/CChildFrmView.h"
#include "app/CMainFrame.h"
#include "state/CAppState.h"
#include "study/IStudyChildFrame.h"
#include "study/IStudyGrid.h"
#include "study/IStudyMainWindow.h"
#include "study/IStudyToolBar.h"
#include "toolpanes/CThumbNailLeft.h"
#include "toolpanes/CToolView.h"
#include "toolpanes/IToolPanesChildFrame.h"
#include "toolpanes/IToolPanesMainWindow.h"
#include "toolpanes/ToolStateDisplay.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelView.h"
#include "viewer/IViewChildFrame.h"
#include "viewer/IViewMainWindow.h"
#include "viewer/IViewToolBar.h"

namespace {

// The main frame's active child frame, as every floor below asked for it
CChildFrmView* ActiveChild()
{
    return theApp.m_pMainWnd ? theApp.m_pMainWnd->MDIGetActive() : nullptr;
}

// --- The study load -----------------------------------------------------------------------

class StudyGridLink : public IStudyGrid
{
public:
    QPointer<CMyFrameWnd> m_pGrid;

    void ForgetLayout() override
    {
        if (m_pGrid) {
            m_pGrid->m_nRows = -1;
            m_pGrid->m_nCols = -1;
        }
    }
    void SetSeriesLayout(BYTE bSeriesLayout) override
    {
        if (m_pGrid)
            m_pGrid->m_bSeriesLayout = bSeriesLayout;
    }
    void DisplaySingleFrame() override
    {
        if (m_pGrid)
            m_pGrid->DisplaySingleFrame(nullptr);
    }
    void AddShape(std::unique_ptr<CShapeCollection> shape) override
    {
        if (m_pGrid)
            m_pGrid->m_arrShapes.push_back(std::move(shape));
    }
    void RepaintViews() override
    {
        if (!m_pGrid)
            return;
        if (CVantrelView* single = m_pGrid->GetSingleView())
            single->update();
        for (CVantrelView* pane : m_pGrid->GetPanes())
            pane->update();
    }
    void FocusSelectedView() override
    {
        if (CVantrelView* view = m_pGrid ? m_pGrid->GetSelectedView() : nullptr)
            view->setFocus(Qt::OtherFocusReason);
    }
};

class StudyToolBarLink : public IStudyToolBar
{
public:
    QPointer<CToolView> m_pToolBar;

    void OnResetImage() override
    {
        if (m_pToolBar)
            m_pToolBar->OnResetImage();
    }
    void EnableProbeButton(BOOL bEnable) override
    {
        if (m_pToolBar)
            m_pToolBar->EnableProbeButton(bEnable);
    }
};

class StudyChildFrameLink : public IStudyChildFrame
{
public:
    QPointer<CChildFrmView> m_pChild;

    IStudyToolBar* GetToolView() override
    {
        m_toolBar.m_pToolBar = m_pChild ? m_pChild->GetToolView() : nullptr;
        return m_toolBar.m_pToolBar ? &m_toolBar : nullptr;
    }
    IThumbnailRun* GetThumbnailRun() override { return m_pChild ? m_pChild->GetThumbnailRun() : nullptr; }
    IStudyGrid* GetViewGridFrame() override
    {
        m_grid.m_pGrid = m_pChild ? m_pChild->GetViewGridFrame() : nullptr;
        return m_grid.m_pGrid ? &m_grid : nullptr;
    }

private:
    StudyToolBarLink m_toolBar;
    StudyGridLink m_grid;
};

class StudyMainWindowLink : public IStudyMainWindow
{
public:
    QWidget* GetWindow() override { return theApp.m_pMainWnd; }
    IStudyChildFrame* MDIGetActive() override
    {
        m_child.m_pChild = ActiveChild();
        return m_child.m_pChild ? &m_child : nullptr;
    }

private:
    StudyChildFrameLink m_child;
};

// --- The views ----------------------------------------------------------------------------

class ViewChildFrameLink : public IViewChildFrame
{
public:
    QPointer<CChildFrmView> m_pChild;

    void ToggleThumbnailPane(BOOL bShow) override
    {
        if (m_pChild)
            m_pChild->ToggleThumbnailPane(bShow);
    }
    void Show() override
    {
        if (m_pChild)
            m_pChild->show();
    }
    bool HasThumbnailPane() override { return m_pChild && m_pChild->GetThumbnailPane(); }
    IThumbnailSelection* GetThumbnailSelection() override
    {
        return m_pChild ? m_pChild->GetThumbnailSelection() : nullptr;
    }
};

class ViewMainWindowLink : public IViewMainWindow
{
public:
    QWidget* GetWindow() override { return theApp.m_pMainWnd; }
    bool IsFullScreen() override { return theApp.m_pMainWnd && theApp.m_pMainWnd->m_pFullScreenChild; }
    void EscapeFullScreen() override
    {
        if (theApp.m_pMainWnd)
            theApp.m_pMainWnd->EscapeFullScreen(0, 0);
    }
    IViewChildFrame* MDIGetActive() override
    {
        m_child.m_pChild = ActiveChild();
        return m_child.m_pChild ? &m_child : nullptr;
    }

private:
    ViewChildFrameLink m_child;
};

class ViewToolBarLink : public IViewToolBar
{
public:
    void SyncToolButtons() override { ::SyncToolButtons(); }
    void HidePanelsOnViewInput(bool bPress) override { ::HidePanelsOnViewInput(bPress); }
};

// --- The tool panes -----------------------------------------------------------------------

class ToolPanesChildFrameLink : public IToolPanesChildFrame
{
public:
    QPointer<CChildFrmView> m_pChild;

    CToolView* GetToolView() override { return m_pChild ? m_pChild->GetToolView() : nullptr; }
    CMyFrameWnd* GetViewGridFrame() override { return m_pChild ? m_pChild->GetViewGridFrame() : nullptr; }
};

class ToolPanesMainWindowLink : public IToolPanesMainWindow
{
public:
    QWidget* GetWindow() override { return theApp.m_pMainWnd; }
    IToolPanesChildFrame* MDIGetActive() override
    {
        m_child.m_pChild = ActiveChild();
        return m_child.m_pChild ? &m_child : nullptr;
    }

private:
    ToolPanesChildFrameLink m_child;
};

} // namespace

void LinkFrames()
{
    // Made on first use: the application object links them while statics are still being built
    static StudyMainWindowLink studyWindow;
    static ViewMainWindowLink viewWindow;
    static ViewToolBarLink viewToolBar;
    static ToolPanesMainWindowLink toolPanesWindow;
    static bool linked = false;
    if (linked)
        return;
    linked = true;
    SetStudyMainWindow(&studyWindow);
    SetViewMainWindow(&viewWindow);
    SetViewToolBar(&viewToolBar);
    SetToolPanesMainWindow(&toolPanesWindow);
}
