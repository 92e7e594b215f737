#include "app/CChildFrmView.h"

// Qt
#include <QLayout>
#include <QResizeEvent>

// Orvane
#include "app/COstrevanApp.h"
#include "app/PaneSizes.h"
#include "platform/ReportSystemError.h"
#include "toolpanes/CThumbNailLeft.h"
#include "toolpanes/CToolView.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/IThumbnailSelection.h"
#include "viewer/CVantrelDoc.h"

CChildFrmView::CChildFrmView(QWidget* parent)
    : QWidget(parent)
{
}

CChildFrmView::~CChildFrmView() = default;

bool CChildFrmView::Create(CDocument* document)
{
    m_pDocument = document;
    if (!OnCreateClient(document))
        return false;
    // Always maximised in the main frame's client area
    if (QWidget* parent = parentWidget()) {
        if (parent->layout())
            parent->layout()->addWidget(this);
        else
            setGeometry(parent->rect());
    }
    show();
    return true;
}

QWidget* CChildFrmView::CreatePane(PaneKind kind, QWidget* parent)
{
    switch (kind) {
    case PaneKind::Thumbnails: {
        auto* thumbnails = new CThumbNailLeft(parent);
        thumbnails->OnInitialUpdate();
        return thumbnails;
    }
    case PaneKind::ViewGrid: {
        // The document the frame was made for goes to the grid's first view
        auto* grid = new CMyFrameWnd(parent);
        grid->OnCreateClient(qobject_cast<CVantrelDoc*>(m_pDocument));
        return grid;
    }
    case PaneKind::ToolBar: {
        // Its first update lays the buttons out from the pane sizes stored above and makes
        // window/level the tool
        auto* toolBar = new CToolView(parent);
        toolBar->OnInitialUpdate();
        return toolBar;
    }
    }
    return nullptr;
}

BOOL CChildFrmView::OnCreateClient(CDocument*)
{
    try {
        const RECT& m = theApp.m_rcMonitor;
        const int W = m.Width(), H = m.Height();
        const PaneSizes s = ComputePaneSizes(W, H, PaneSizeTable::CreateClient);
        theApp.m_nViewAreaWidth = s.nViewAreaWidth;
        theApp.m_nToolRowHeight = s.nToolRowHeight;
        theApp.m_nViewAreaHeight = s.nViewAreaHeight;
        theApp.m_nThumbColumnWidth = s.nThumbColumnWidth;

        const auto fail = [this] {
            ReportSystemError(GetLastError(), "CChildFrmView::OnCreateClient");
            DestroyPanes();
            return FALSE;
        };
        if (!m_wndOuterSplitter.CreateStatic(this, 1, 2))
            return fail();
        if (!m_wndOuterSplitter.CreateView(0, 0, CreatePane(PaneKind::Thumbnails, &m_wndOuterSplitter)))
            return fail();
        if (!m_wndInnerSplitter.CreateStatic(&m_wndOuterSplitter, 2, 1, m_wndOuterSplitter.IdFromRowCol(0, 1))
            || !m_wndOuterSplitter.CreateView(0, 1, &m_wndInnerSplitter))
            return fail();
        if (!m_wndInnerSplitter.CreateView(0, 0, CreatePane(PaneKind::ViewGrid, &m_wndInnerSplitter)))
            return fail();
        if (!m_wndInnerSplitter.CreateView(1, 0, CreatePane(PaneKind::ToolBar, &m_wndInnerSplitter)))
            return fail();

        m_wndInnerSplitter.SetRowInfo(0, s.nViewAreaHeight, 0);
        m_wndInnerSplitter.SetColumnInfo(0, s.nViewAreaWidth, 0);
        m_wndInnerSplitter.SetRowInfo(1, s.nToolRowHeight, 0);
        m_wndOuterSplitter.SetRowInfo(0, H, 0);
        m_wndOuterSplitter.SetColumnInfo(0, s.nThumbColumnWidth, 0);
        m_wndOuterSplitter.setGeometry(rect());
        m_wndOuterSplitter.RecalcLayout();
        m_wndInnerSplitter.RecalcLayout();
        return TRUE;
    } catch (...) {
        // Later code relies on every pane being there: no frame without its panes
        ReportSystemError(GetLastError(), "CChildFrmView::OnCreateClient");
        DestroyPanes();
        return FALSE;
    }
}

void CChildFrmView::DestroyPanes()
{
    for (CThinSplitterWnd* splitter : {&m_wndInnerSplitter, &m_wndOuterSplitter}) {
        for (int r = 0; r < splitter->GetRowCount(); ++r)
            for (int c = 0; c < splitter->GetColumnCount(); ++c) {
                QWidget* pane = splitter->GetPane(r, c);
                if (pane && pane != &m_wndInnerSplitter)
                    delete pane;
            }
    }
    m_wndInnerSplitter.hide();
    m_wndOuterSplitter.hide();
}

void CChildFrmView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_wndOuterSplitter.setGeometry(rect());
}

void CChildFrmView::ToggleThumbnailPane(BOOL bShow)
{
    try {
        const RECT& m = theApp.m_rcMonitor;
        const int W = m.Width(), H = m.Height();
        const PaneSizes s = ComputePaneSizes(W, H, PaneSizeTable::ToggleThumbnails);
        CToolView* toolBar = GetToolView();
        QWidget* thumbnails = GetThumbnailPane();
        if (bShow) {
            if (thumbnails)
                thumbnails->show();
            if (toolBar)
                toolBar->show();
            m_wndOuterSplitter.SetColumnInfo(0, s.nThumbColumnWidth, 0);
            m_wndOuterSplitter.SetColumnInfo(1, s.nViewAreaWidth, 0);
            theApp.m_nViewAreaWidth = s.nViewAreaWidth;
        } else {
            // The column shrinks to nothing; its window stays
            m_wndOuterSplitter.SetColumnInfo(0, 0, 0);
            m_wndOuterSplitter.SetColumnInfo(1, W, 0);
        }
        m_wndInnerSplitter.SetRowInfo(0, s.nViewAreaHeight, 0);
        m_wndInnerSplitter.SetColumnInfo(0, s.nViewAreaWidth, 0);
        m_wndInnerSplitter.SetRowInfo(1, s.nToolRowHeight, 0);
        m_wndOuterSplitter.SetRowInfo(0, H, 0);
        m_wndInnerSplitter.RecalcLayout();
        if (toolBar)
            toolBar->update();
        m_wndOuterSplitter.RecalcLayout();
        if (!bShow)
            theApp.m_nViewAreaWidth = W;
        if (toolBar)
            toolBar->OnRelayoutToolbar();
    } catch (...) {
        ReportSystemError(GetLastError(), "CChildFrmView::ToggleThumbnailPane");
    }
}

CThumbNailLeft* CChildFrmView::GetThumbnailPane() const
{
    return qobject_cast<CThumbNailLeft*>(m_wndOuterSplitter.GetPane(0, 0));
}

CMyFrameWnd* CChildFrmView::GetViewGridFrame() const
{
    return qobject_cast<CMyFrameWnd*>(m_wndInnerSplitter.GetPane(0, 0));
}

CToolView* CChildFrmView::GetToolView() const
{
    return qobject_cast<CToolView*>(m_wndInnerSplitter.GetPane(1, 0));
}

IThumbnailRun* CChildFrmView::GetThumbnailRun() const
{
    return GetThumbnailPane();
}

IThumbnailSelection* CChildFrmView::GetThumbnailSelection() const
{
    return dynamic_cast<IThumbnailSelection*>(GetThumbnailPane());
}
