// CToolView: the Cine button, which shows the selected view's cine bar and starts its loop, or
// stops the loop and destroys the bar.

#include "toolpanes/CToolView.h"

// Orvane
#include "state/CAppState.h"
#include "platform/ReportSystemError.h"
#include "study/CSeriesInfo.h"
#include "study/CxImageDCM.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelView.h"
#include "viewer/CineNewControls.h"

namespace {

// Every other pane whose bar is shown over the same series loses its loop and its bar
void HideCineDialogInOtherViewports(CVantrelView* pView)
{
    try {
        CMyFrameWnd* grid = theApp.m_pViewGridFrame;
        if (!grid || grid->GetPaneRows() < 1 || grid->GetPaneColumns() < 1)
            return;
        for (CVantrelView* pane : grid->GetPanes()) {
            if (!pane || pane == pView)
                continue;
            CineNewControls* bar = pane->GetCineBar();
            if (bar && bar->m_bShown && pane->m_pSeries == pView->m_pSeries)
                bar->CloseBar();
            pane->m_bSelected = 0;
            pane->Invalidate(TRUE);
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "HideCineDialogInOtherViewports");
    }
}

} // namespace

void CToolView::OnCine()
{
    try {
        CMyFrameWnd* grid = theApp.m_pViewGridFrame;
        CVantrelView* view = grid ? grid->GetSelectedView() : nullptr;
        if (!view || !view->m_pImage)
            return;
        const int frames = view->m_pDicomImage ? view->m_pDicomImage->GetNumberOfFrames() : 1;
        const int images = view->m_pSeries ? view->m_pSeries->GetImageCount() : 1;
        if (frames <= 1 && images <= 1)
            return;
        if (view->m_strModality == QLatin1String("OT")) {
            m_btnCine.setEnabled(false);
            return;
        }
        if (theApp.m_nLayoutMode == 2) {
            if (frames == 1)
                HideCineDialogInOtherViewports(view);
        } else if (view->m_pSeries && view->m_pSeries->IsCineRunning()) {
            HideCineDialogInOtherViewports(view);
        }
        CineNewControls* bar = view->GetCineBar();
        if (bar && bar->m_bShown) {
            bar->CloseBar();
            return;
        }
        if (!bar)
            bar = new CineNewControls(view);
        bar->m_bShown = 1;
        bar->show();
        bar->raise();
        bar->OnBtnPlaycinenew();
    } catch (...) {
        ReportSystemError(GetLastError(), "OnCine");
    }
}
