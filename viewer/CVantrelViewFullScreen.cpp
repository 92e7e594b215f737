// CVantrelView: full screen. F11 shows the selected pane alone over the whole viewport area,
// the thumbnail column shrunk to nothing and the main frame over the whole monitor; a second
// F11 brings the column back and lays the grid out in equal panes again.

#include "viewer/CVantrelView.h"

// Qt


// Orvane
#include "state/CAppState.h"
#include "viewer/IViewChildFrame.h"
#include "viewer/IViewMainWindow.h"
#include "platform/CxImage.h"
#include "viewer/CFrameSplitterWnd.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CineNewControls.h"
#include "viewer/GridGeometry.h"
#include "viewer/ViewGeometry.h"

namespace {

// A row or column that takes all the room of the grid, whatever size the grid has later
constexpr int kAllTheRoom = QWIDGETSIZE_MAX;
// The gaps the grid's splitter has between its panes
constexpr int kGridGap = 2;
// The smallest row and column of the grid
constexpr int kGridPaneMinimum = 100;

QSize BitmapSize(const CVantrelView* view)
{
    if (!view->m_pDisplayImage)
        return QSize(0, 0);
    return QSize(int(view->m_pDisplayImage->GetWidth()), int(view->m_pDisplayImage->GetHeight()));
}

// The cine bar (a child of the main window) takes its place over the view's new geometry
void CineBarFollowsView(CVantrelView* view)
{
    if (CineNewControls* bar = view->GetCineBar())
        bar->Reposition();
}

} // namespace

void CVantrelView::OnFullScreenKey()
{
    // The only selected pane and the active one: paging and the tools act on the pane shown
    SelectCurrentView();
    if (CMyFrameWnd* grid = GetGridFrame(); grid && grid->isAncestorOf(this))
        grid->SetActiveView(this);
    ToggleFullScreen();
    Invalidate(TRUE);
}

void CVantrelView::ToggleFullScreen()
{
    try {
        IViewMainWindow* main = GetViewMainWindow();
        CMyFrameWnd* grid = GetGridFrame();
        if (!main || !main->GetWindow() || !grid || !grid->isAncestorOf(this))
            return;
        IViewChildFrame* child = main->MDIGetActive();
        CFrameSplitterWnd* splitter = grid->m_pSplitter;
        int row = 0, col = 0;
        // The panes that exist: a recorded grid may have none (study layout)
        const bool inGrid = splitter && grid->FindPane(this, &row, &col);

        if (!main->IsFullScreen()) {
            m_bFullScreen = 1;
            if (child)
                child->ToggleThumbnailPane(FALSE);
            main->EscapeFullScreen();
            if (child)
                child->Show();
            grid->update();
            if (inGrid) {
                // This pane alone: the others shrink to nothing, and no gaps are left
                splitter->m_cxSplitterGap = splitter->m_cySplitterGap = 0;
                for (int r = 0; r < splitter->GetRowCount(); ++r)
                    splitter->SetRowInfo(r, r == row ? kAllTheRoom : 0, 0);
                for (int c = 0; c < splitter->GetColumnCount(); ++c)
                    splitter->SetColumnInfo(c, c == col ? kAllTheRoom : 0, 0);
                splitter->RecalcLayout();
            }
            m_sizePane = size();
            if (!m_pImage || BitmapSize(this).isEmpty())
                return;
            // The refit fits to the client area from now on
            OnRefitView(m_pDocument ? m_pDocument->m_bRefitPending : 0, 0);
            m_sizePane = size();
            CenterImageInView();
            CineBarFollowsView(this);
            setFocus(Qt::OtherFocusReason);
            return;
        }

        m_bEraseBackground = 1;
        Invalidate(TRUE);
        // Back in the grid: paging and refits treat every pane as a pane again
        m_bFullScreen = 0;
        for (CVantrelView* view : grid->GetPanes())
            view->m_bFullScreen = 0;
        main->EscapeFullScreen();
        if (child)
            child->ToggleThumbnailPane(TRUE);
        // The panes get the shares the grid's last rebuild gave them: an image layout splits
        // the view area, a series layout the grid frame
        const QSize area = grid->m_bSeriesLayout ? grid->size()
                                                 : QSize(theApp.m_nViewAreaWidth, theApp.m_nViewAreaHeight);
        if (!inGrid) {
            // The posted refit fits to the view's size as it is then
            m_sizePane = QSize(0, 0);
            PostRefitView();
            SetZoomScrollSizes(GetZoomedImageSize());
        } else {
            const int rows = splitter->GetRowCount(), cols = splitter->GetColumnCount();
            const QSize pane = GridGeometry::PaneSize(area, GridGeometry::Grid{rows, cols});
            splitter->m_cxSplitterGap = splitter->m_cySplitterGap = kGridGap;
            for (int r = 0; r < rows; ++r)
                splitter->SetRowInfo(r, pane.height(), kGridPaneMinimum);
            for (int c = 0; c < cols; ++c)
                splitter->SetColumnInfo(c, pane.width(), kGridPaneMinimum);
            splitter->RecalcLayout();
            for (CVantrelView* view : grid->GetPanes()) {
                view->m_sizePane = pane;
                // A pane without a picture has nothing to fit
                const QSize bitmap = BitmapSize(view);
                if (bitmap.isEmpty())
                    continue;
                view->m_fZoom = ViewGeometry::FitZoom(bitmap, pane);
                view->UpdateZoomStep();
                view->SetZoomScrollSizes(view->GetZoomedImageSize());
                // Centred in the pane as laid out (the last row and column take what is left),
                // as a refit centres it
                view->CenterImageInView();
                view->Invalidate(TRUE);
            }
            for (CVantrelView* view : grid->GetPanes())
                CineBarFollowsView(view);
        }
        setFocus(Qt::OtherFocusReason);
    } catch (...) {
    }
}
