#include "toolpanes/ToolStateDisplay.h"

// std
#include <vector>

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
    const bool repaint = TakeDrawnToolStateChange();
    if (CMyFrameWnd* grid = theApp.m_pViewGridFrame) {
        std::vector<CVantrelView*> views = grid->GetPanes();
        if (CVantrelView* single = grid->GetSingleView())
            views.push_back(single);
        for (CVantrelView* view : views) {
            // A half-drawn angle ends with its tool
            view->DropUnfinishedAngles(false);
            view->UpdateToolCursor();
            if (repaint)
                view->Invalidate(FALSE);
        }
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
