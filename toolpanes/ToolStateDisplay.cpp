#include "toolpanes/ToolStateDisplay.h"

// Orvane
#include "state/CAppState.h"
#include "state/ToolState.h"
#include "toolpanes/CToolView.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelView.h"

void SyncToolButtons()
{
    if (CToolView* toolBar = CToolView::GetToolBar())
        toolBar->ShowToolState();
    if (CMyFrameWnd* grid = theApp.m_pViewGridFrame) {
        if (CVantrelView* single = grid->GetSingleView())
            single->UpdateToolCursor();
        for (CVantrelView* view : grid->GetPanes())
            view->UpdateToolCursor();
    }
}

void HidePanelsOnViewInput(bool bPress)
{
    CToolView* toolBar = CToolView::GetToolBar();
    if (!toolBar)
        return;
    if (!bPress && toolBar->m_bOrientationPopupShown && toolBar->m_pOrientationPopup
        && toolBar->m_pOrientationPopup->isVisible()) {
        toolBar->m_pOrientationPopup->hide();
        toolBar->m_bOrientationPopupShown = 0;
    }
    if (bPress && g_bLayoutPopupShown) {
        g_bLayoutPopupShown = 0;
        // The layout panel hides its picker with itself
        if (toolBar->m_pLayoutPopup)
            toolBar->m_pLayoutPopup->hide();
    }
}
