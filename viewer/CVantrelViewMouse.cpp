// CVantrelView: pointer input (selection, window/level, zoom and pan drags, the eraser, the
// magnifier's hand-over) and drawing shapes with the mouse.

#include "viewer/CVantrelView.h"

// Qt
#include <QCursor>

// std
#include <cmath>

// Orvane
#include "app/COstrevanApp.h"
#include "toolpanes/ToolState.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/ThumbnailIndex.h"

namespace {

// The program's own pointers: window/level (532) and pan (235)
const Qt::CursorShape kWindowLevelCursor = Qt::SizeAllCursor;
const Qt::CursorShape kPanCursor = Qt::ClosedHandCursor;

} // namespace

void CVantrelView::UpdateToolCursor()
{
    if (!m_bLButtonDown || !m_bMouseDown) {
        setCursor(Qt::ArrowCursor);
        return;
    }
    if (g_bPanMode)
        setCursor(kPanCursor);
    else if (g_bZoomMode || !g_bToolActive)
        setCursor(Qt::UpArrowCursor);
    else if (m_nDrawShape == PROBE)
        setCursor(Qt::BlankCursor);
    else if (m_nDrawShape != 0 && !g_bAnnotationsHidden)
        setCursor(Qt::CrossCursor);
    else if (g_bWindowLevelMode)
        setCursor(kWindowLevelCursor);
    else
        setCursor(Qt::ArrowCursor);
}

int CVantrelView::GetThumbnailIndex() const
{
    return ThumbnailIndexOf(theApp.m_astrSeriesKeys, m_pSeries, m_pImage);
}

CDoublePoint CVantrelView::ClientToShapePoint(const CDoublePoint& point) const
{
    const float zoom = GetShapeZoom();
    if (!(zoom > 0.0f) || !std::isfinite(zoom))
        return CDoublePoint(0, 0);
    const QPoint scroll = GetScrollPosition();
    return CDoublePoint((point.x - m_ptPanOffset.x() + scroll.x()) / zoom, (point.y - m_ptPanOffset.y() + scroll.y()) / zoom);
}

void CVantrelView::ForgetDrawingShape(const CShapeCollection* pShape)
{
    CMyFrameWnd* grid = GetGridFrame();
    if (!grid || !pShape)
        return;
    std::vector<CVantrelView*> views = grid->GetPanes();
    if (CVantrelView* single = grid->GetSingleView())
        views.push_back(single);
    for (CVantrelView* view : views) {
        if (view->m_pDrawingShape != pShape)
            continue;
        view->m_pDrawingShape = nullptr;
        // A Cobb angle whose first line went has no second stage
        view->m_nCobbStage = 0;
    }
}
