// CVantrelView: pointer input (selection, window/level, zoom and pan drags, the eraser, the
// magnifier's hand-over) and drawing shapes with the mouse.

#include "viewer/CVantrelView.h"

// Qt
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTimerEvent>

// std
#include <algorithm>
#include <cmath>

// Orvane
#include "annotation/CShapeArrowLine.h"
#include "annotation/CShapeCanvas.h"
#include "annotation/CShapeCircle.h"
#include "annotation/CShapeCobbAngle.h"
#include "annotation/CShapeCurve.h"
#include "annotation/CShapeEllipse.h"
#include "annotation/CShapeLine.h"
#include "annotation/CShapeLineAngle.h"
#include "annotation/CShapeLineLength.h"
#include "annotation/CShapeProbe.h"
#include "annotation/CShapeRectangle.h"
#include "annotation/CShapeText.h"
#include "state/CAppState.h"
#include "platform/CxImage.h"
#include "platform/ReportSystemError.h"
#include "study/CSeriesInfo.h"
#include "study/CxImageDCM.h"
#include "state/ToolState.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/RenderWindow.h"
#include "viewer/ThumbnailIndex.h"
#include "viewer/ViewGeometry.h"

namespace {

// The program's own pointers: window/level (532) and pan (235)
const Qt::CursorShape kWindowLevelCursor = Qt::SizeAllCursor;
const Qt::CursorShape kPanCursor = Qt::ClosedHandCursor;

constexpr UINT kClickTimer = 1031;

UINT MouseFlags(const QMouseEvent* event)
{
    UINT flags = 0;
    const Qt::MouseButtons buttons = event->buttons();
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (event->modifiers() & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (event->modifiers() & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

CDoublePoint ToDouble(QPoint p)
{
    return CDoublePoint(p.x(), p.y());
}

int TruncToInt(double v)
{
    return std::isfinite(v) ? int(std::clamp(std::trunc(v), -1.0e9, 1.0e9)) : 0;
}

bool IsCtOrMr(const QString& modality)
{
    return modality == QLatin1String("CT") || modality == QLatin1String("MR");
}

} // namespace

// --- Events ---------------------------------------------------------------------------------

void CVantrelView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        OnRButtonDown(MouseFlags(event), event->position().toPoint());
        event->accept();
        return;
    }
    if (event->button() != Qt::LeftButton) {
        CZoomView::mousePressEvent(event);
        return;
    }
    OnLButtonDown(MouseFlags(event), event->position().toPoint());
    // The view keeps the moves and the release of its press
    event->accept();
}

void CVantrelView::mouseMoveEvent(QMouseEvent* event)
{
    OnMouseMove(MouseFlags(event), event->position().toPoint());
    event->accept();
}

void CVantrelView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        OnRButtonUp(MouseFlags(event), event->position().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) {
        CZoomView::mouseReleaseEvent(event);
        return;
    }
    OnLButtonUp(MouseFlags(event), event->position().toPoint());
    event->accept();
}

void CVantrelView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_clickTimer.timerId())
        OnTimer(kClickTimer);
    else
        CZoomView::timerEvent(event);
}

void CVantrelView::OnTimer(UINT nIDEvent)
{
    try {
        if (nIDEvent == kClickTimer) {
            m_clickTimer.stop();
            Invalidate(TRUE);
        }
    } catch (...) {
    }
}

// --- Helpers --------------------------------------------------------------------------------

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

std::unique_ptr<CShapeCollection> CVantrelView::TakeDrawingShape()
{
    if (!m_pOwnedShape || m_pOwnedShape.get() != m_pDrawingShape)
        return nullptr;
    m_pDrawingShape = nullptr;
    return std::move(m_pOwnedShape);
}

void CVantrelView::DropDrawingShape()
{
    if (m_pOwnedShape && m_pOwnedShape.get() == m_pDrawingShape)
        m_pOwnedShape.reset();
    m_pDrawingShape = nullptr;
}

bool CVantrelView::IsInImage(const CDoublePoint& point) const
{
    const QSize extent = GetTotalDeviceSize();
    const double left = m_ptPanOffset.x(), top = m_ptPanOffset.y();
    return point.x >= left && point.y >= top && point.x < left + extent.width() && point.y < top + extent.height();
}

QSize CVantrelView::ShapeExtent() const
{
    return ViewGeometry::ZoomedSize(FullDisplayedSize(), GetShapeZoom());
}

void CVantrelView::StoreShapeOriginalPoints(CShapeCollection& shape) const
{
    // The view's own orientation, as its picture shows it
    const ViewOrientation o = GetOrientation();
    const QSize extent = ShapeExtent();
    shape.StoreOriginalPoints(o.nAngle, o.bFlip ? TRUE : FALSE, o.bMirror ? TRUE : FALSE, extent.width(), extent.height(),
                              GetShapeZoom());
}

void CVantrelView::RegisterShape(std::unique_ptr<CShapeCollection> pShape)
{
    CMyFrameWnd* grid = GetGridFrame();
    if (!grid || !pShape)
        return;
    pShape->SetImageKey(m_strImageKey);
    StoreShapeOriginalPoints(*pShape);
    grid->m_arrShapes.push_back(std::move(pShape));
}

void CVantrelView::GiveSpacing(CShapeCollection& shape)
{
    // Pixel Spacing, else Imager Pixel Spacing: the spacing the view's scales use too, so that
    // a length agrees with the scale beside it. Kept along the image's own axes, as the
    // shape's saved points are (the drawing that measures swaps it in a view turned by a
    // quarter); known only when an attribute gave it
    double spacing[2] = {1.0, 1.0};
    const BOOL known = m_pDicomImage ? m_pDicomImage->GetMeasurementSpacing(spacing) : FALSE;
    shape.SetPixelSpacing(known ? 1 : 0, spacing[0], spacing[1]);
    shape.SetScale(m_pDicomImage ? m_pDicomImage->m_dMeasureScale : 1.0);
}

void CVantrelView::DropUnfinishedAngles(bool bAlways)
{
    try {
        bool dropped = false;
        if (m_nAngleClicks != 0 && (bAlways || m_nDrawShape != LINEANGLE || m_pAngleImage != m_pImage)) {
            // Its start and vertex were never a shape
            m_nAngleClicks = 0;
            dropped = true;
        }
        CMyFrameWnd* grid = GetGridFrame();
        if (m_nCobbStage != 0 && (bAlways || m_nDrawShape != COBBANGLE)) {
            m_nCobbStage = 0;
            // Its first line is in the array already, under the image it was drawn on
            if (grid && dynamic_cast<CShapeCobbAngle*>(m_pDrawingShape)) {
                auto& shapes = grid->m_arrShapes;
                for (auto it = shapes.begin(); it != shapes.end(); ++it) {
                    if (it->get() != m_pDrawingShape)
                        continue;
                    std::unique_ptr<CShapeCollection> cobb = std::move(*it);
                    shapes.erase(it);
                    ForgetDrawingShape(cobb.get());
                    grid->InvalidateViewsOfImage(cobb->GetImageKey());
                    break;
                }
            }
            m_pDrawingShape = nullptr;
            dropped = true;
        }
        if (dropped)
            Invalidate(FALSE);
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::DropUnfinishedAngles");
    }
}

CShapeCollection* CVantrelView::CobbAngleInArray() const
{
    // The first line may have been erased meanwhile, or the view may show another image
    CMyFrameWnd* grid = GetGridFrame();
    if (!grid || !m_pDrawingShape)
        return nullptr;
    for (const std::unique_ptr<CShapeCollection>& shape : grid->m_arrShapes)
        if (shape.get() == m_pDrawingShape)
            return dynamic_cast<CShapeCobbAngle*>(shape.get()) && shape->GetImageKey() == m_strImageKey ? shape.get()
                                                                                                         : nullptr;
    return nullptr;
}

// --- Press ----------------------------------------------------------------------------------

void CVantrelView::OnLButtonDown(UINT nFlags, QPoint point)
{
    try {
        CMyFrameWnd* grid = GetGridFrame();
        if (m_bCineRunning)
            return;
        CVantrelView* active = grid ? grid->GetActiveView() : this;
        if (!active || !active->m_pImage)
            return;
        if (!m_pStudy)
            return; // an empty pane selects nothing
        SelectThumbnail(GetThumbnailIndex());
        UseReducedImage();
        // The angle's second arm ends with the release; an angle the tool left behind ends
        // here, so that the pane takes the press
        if (m_nAngleClicks != 0 && m_nDrawShape == LINEANGLE)
            return;
        DropUnfinishedAngles(false);

        m_bLButtonDown = 1;
        setFocus(Qt::MouseFocusReason);
        if (grid)
            grid->SetActiveView(this);
        if (m_nDrawShape == FREEHANDDRAW)
            DropDrawingShape(); // a new curve starts
        const bool drawing = m_nDrawShape != 0 && !g_bAnnotationsHidden;
        if (drawing) {
            if (!IsInImage(ToDouble(point))) {
                // Marks the stroke as one that makes nothing
                m_ptStart = CDoublePoint(0, 0);
                return;
            }
        }
        m_ptDragLast = ToDouble(point);
        if (g_bPanMode)
            m_ptDragLast = CDoublePoint(point.x() - m_ptPanOffset.x(), point.y() - m_ptPanOffset.y());
        m_nPressFlags = nFlags;
        m_ptPress = point;
        m_clickTimer.start(QApplication::doubleClickInterval(), this);
        m_bMouseDown = TRUE;
        UpdateToolCursor();

        if (drawing) {
            SetUpShapePoints(point);
        } else if (g_bMagnifierMode) {
            if (grid)
                grid->SetActiveView(this);
            OnMagnifierPress(nFlags, point);
        } else if (!g_bPanMode) {
            m_ptDragLast = ToDouble(point);
        }
        if (g_bEraseMode && grid)
            EraseShapeAt(point);
        SelectPane();
        Invalidate(TRUE);
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::OnLButtonDown");
    }
}

void CVantrelView::SetUpShapePoints(QPoint point)
{
    const CDoublePoint p = ToDouble(point);
    if (m_nCobbStage == 1 && m_nDrawShape == COBBANGLE) {
        m_ptThird = m_ptFourth = p;
        return;
    }
    m_ptStart = m_ptEnd = m_ptThird = m_ptFourth = m_ptMove = p;
    if (m_nDrawShape == TEXTOUT) {
        // A press while the edit is open only completes that text
        if (IsTextEditOpen())
            CloseTextEdit();
        else
            m_bTextStarted = 1;
    }
}

void CVantrelView::EraseShapeAt(QPoint point)
{
    CMyFrameWnd* grid = GetGridFrame();
    const CDoublePoint exact = ClientToShapePoint(ToDouble(point));
    const CDoublePoint p(TruncToInt(exact.x), TruncToInt(exact.y));
    const float zoom = GetShapeZoom();
    auto& shapes = grid->m_arrShapes;
    for (auto it = shapes.begin(); it != shapes.end(); ++it) {
        CShapeCollection* shape = it->get();
        if (!shape || m_strImageKey.isEmpty() || shape->GetImageKey() != m_strImageKey)
            continue;
        OrientShape(*shape);
        if (!shape->HitTest(&p, zoom))
            continue;
        ForgetDrawingShape(shape);
        shapes.erase(it);
        break;
    }
    Invalidate(TRUE);
    grid->InvalidateViewsOfImage(m_strImageKey);
}

void CVantrelView::SelectPane()
{
    CMyFrameWnd* grid = GetGridFrame();
    if (grid && !(grid->m_nRows == -1 && grid->m_nCols == -1)) {
        for (CVantrelView* pane : grid->GetPanes()) {
            if (pane == this)
                continue;
            if (theApp.m_nLayoutMode == 2)
                pane->UseReducedImage();
            if (pane->m_bSelected) {
                pane->m_bSelected = 0;
                pane->CloseTextEdit();
                pane->Invalidate(TRUE);
            }
        }
    }
    m_bSelected = 1;
}

// --- Moves ----------------------------------------------------------------------------------

void CVantrelView::OnMouseMove(UINT nFlags, QPoint point)
{
    if (!theApp.m_bImagesLoaded)
        return;
    // The move that follows the Study List's double click is no drag
    if (theApp.m_bStudyListDblClk == 1) {
        theApp.m_bStudyListDblClk = 0;
        return;
    }
    if (!m_pImage || !m_pSeries || !m_pStudy)
        return;
    try {
        const bool held = (nFlags & MK_LBUTTON) != 0;
        if (g_bMagnifierMode) {
            OnMagnifierMove(nFlags, point);
            return;
        }
        if (held && g_bToolActive && g_bWindowLevelMode) {
            WindowLevelDrag(point);
            return;
        }
        const QPoint last(TruncToInt(m_ptDragLast.x), TruncToInt(m_ptDragLast.y));
        if (held && !g_bToolActive && m_bLButtonDown) {
            m_bZoomPanChanged = 1;
            ZoomDragStep(point, last);
        }
        if (g_bPanMode && held && m_bLButtonDown) {
            setCursor(kPanCursor);
            m_ptPanOffset = QPoint(TruncToInt(point.x() - m_ptDragLast.x), TruncToInt(point.y() - m_ptDragLast.y));
            m_bViewAdjusted = 1;
            m_bZoomPanChanged = 1;
            PanImageInOtherViewPort();
            Invalidate(FALSE);
            return;
        }
        if (m_nDrawShape != 0 && !g_bAnnotationsHidden) {
            DrawOnMouseMove(nFlags, point);
        } else if (g_bZoomMode && held && m_bLButtonDown) {
            ZoomDragStep(point, last);
        }
    } catch (...) {
    }
}

void CVantrelView::ZoomDragStep(QPoint point, QPoint last)
{
    setCursor(Qt::UpArrowCursor);
    m_bEraseBackground = 0;
    // Up zooms in
    if (point.y() < last.y())
        DragZoomIn(point, last);
    else
        DragZoomOut(point, last);
    ZoomImagesInOtherViewPort();
    m_ptDragLast = ToDouble(point);
    Invalidate(FALSE);
}

void CVantrelView::WindowLevelDrag(QPoint point)
{
    if (!m_pDocument || m_pDocument->m_strFilePath.isEmpty())
        return;
    m_bViewAdjusted = 1;
    if (!m_pImage || !m_pDicomImage)
        return;
    setCursor(kWindowLevelCursor);
    const float factor = m_fWindowLevelFactor;
    const double dx = std::trunc(std::fabs(point.x() - m_ptDragLast.x));
    const double dy = std::trunc(std::fabs(point.y() - m_ptDragLast.y));
    // Right widens the window, down raises the level
    float width = m_pDocument->m_fWindowWidth;
    float centre = m_pDocument->m_fWindowCenter;
    width = point.x() > m_ptDragLast.x ? float(width + dx * factor) : float(width - dx * factor);
    centre = point.y() > m_ptDragLast.y ? float(centre + dy * factor) : float(centre - dy * factor);
    if (width < 1.0f)
        width = 1.0f;
    if (centre > float(m_pDocument->m_nMaxValue))
        centre = float(m_pDocument->m_nMaxValue);
    if (centre < float(m_pDocument->m_nMinValue))
        centre = float(m_pDocument->m_nMinValue);
    m_pDocument->m_fWindowWidth = width;
    m_pDocument->m_fWindowCenter = centre;
    DrawWindowLevelText();
    const RenderWindow window = ToRenderWindow(width, centre);
    RenderWithWindowLevel(window.nWidth, window.nCentre);
    ApplyViewTransforms();
    if (m_pSeries) {
        m_pSeries->SetWindowChanged(TRUE);
        m_pSeries->SetWindow(width, centre);
        ApplyWW_WLInOtherViewPort();
    }
    m_ptDragLast = ToDouble(point);
    Invalidate(FALSE);
}

void CVantrelView::DragZoomIn(const QPoint& current, const QPoint& last)
{
    try {
        if (!m_pDisplayImage)
            return;
        m_bMinZoomReached = 0;
        int d = last.y() - current.y();
        if (d < 10)
            d = 10;
        m_fZoom += float(d * 0.5 * m_dZoomStep);
        const QSize before = GetTotalDeviceSize();
        SetZoomScrollSizes(GetZoomedImageSize());
        m_bViewAdjusted = 1;
        const QSize after = GetTotalDeviceSize();
        // The image grows about its centre
        m_ptPanOffset -= QPoint((after.width() - before.width()) / 2, (after.height() - before.height()) / 2);
        Invalidate(FALSE);
    } catch (...) {
    }
}

void CVantrelView::DragZoomOut(const QPoint& current, const QPoint& last)
{
    try {
        if (!m_pDisplayImage || m_bMinZoomReached)
            return;
        int d = last.y() - current.y();
        if (d > -10)
            d = -10;
        double zoom = m_fZoom + d * 0.5 * m_dZoomStep;
        const double width = m_pDisplayImage->GetWidth();
        if (width <= 0)
            return;
        // Never narrower than 150 pixels
        if (width * zoom < 150.0) {
            m_bMinZoomReached = 1;
            zoom = 150.0 / width;
        }
        m_fZoom = float(zoom);
        m_bViewAdjusted = 1;
        const QSize before = GetTotalDeviceSize();
        SetZoomScrollSizes(GetZoomedImageSize());
        const QSize after = GetTotalDeviceSize();
        m_ptPanOffset += QPoint((before.width() - after.width()) / 2, (before.height() - after.height()) / 2);
        // The bands the smaller image leaves are black in the next paint, which composes the
        // whole pane
    } catch (...) {
    }
}

void CVantrelView::DrawOnMouseMove(UINT nFlags, QPoint point)
{
    const CDoublePoint p = ToDouble(point);
    DropUnfinishedAngles(false);
    // The angle's second arm follows the pointer, with or without a button
    if (m_nAngleClicks == 1 && m_nDrawShape == LINEANGLE) {
        m_ptMove = m_ptThird = p;
        Invalidate(FALSE);
        return;
    }
    if (!(nFlags & MK_LBUTTON))
        return;
    if (m_nCobbStage == 1 && m_nDrawShape == COBBANGLE) {
        try {
            m_ptCobbMove = m_ptFourth = p;
            Invalidate(FALSE);
        } catch (...) {
            ReportSystemError(GetLastError(), "CVantrelView::OnMouseMove, m_nDrawShape == COBBANGLE");
        }
        return;
    }
    if (!m_bMouseDown)
        return;
    if (m_nDrawShape != PROBE)
        setCursor(Qt::CrossCursor);
    const char* where = "CVantrelView::OnMouseMove, case LINEARROW";
    try {
        switch (m_nDrawShape) {
        case LINE:
            where = "CVantrelView::OnMouseMove, case LINE";
            if (m_ptEnd.x < 0 || m_ptEnd.y < 0)
                return;
            m_ptEnd = p;
            break;
        case ELLIPSE:
        case CIRCLE:
        case LINEARROW:
        case LINELENGTH:
        case LINEANGLE:
            where = m_nDrawShape == ELLIPSE      ? "CVantrelView::OnMouseMove, case ELLIPSE"
                    : m_nDrawShape == CIRCLE     ? "CVantrelView::OnMouseMove, case CIRCLE"
                    : m_nDrawShape == LINELENGTH ? "CVantrelView::OnMouseMove, case LINELENGTH"
                    : m_nDrawShape == LINEANGLE  ? "CVantrelView::OnMouseMove, case LINEANGLE"
                                                 : where;
            m_ptMove = m_ptEnd = p;
            break;
        case PROBE:
            // The readout follows the pointer; the stroke's end stays
            m_ptMove = p;
            break;
        case TEXTOUT:
            where = "CVantrelView::OnMouseMove, case TEXTOUT";
            if (!m_bTextStarted)
                return;
            m_ptMove = m_ptEnd = p;
            break;
        case FREEHANDDRAW: {
            where = "CVantrelView::OnMouseMove, case FREEHANDDRAW";
            m_ptEnd = p;
            if (auto* curve = dynamic_cast<CShapeCurve*>(m_pDrawingShape); curve && curve == m_pOwnedShape.get()) {
                curve->AddPoint(&m_ptEnd);
            } else {
                // Points go in at the head: a curve begun with (start, start) and the first
                // move added keeps every point in order (begun with (start, end), its first
                // point would join the third)
                const int one = 1;
                auto stroke = std::make_unique<CShapeCurve>(&m_ptStart, &m_ptStart, &m_crShapeColor, &one);
                stroke->AddPoint(&m_ptEnd);
                stroke->SetEndPoint(m_ptEnd);
                m_pOwnedShape = std::move(stroke);
                m_pDrawingShape = m_pOwnedShape.get();
            }
            break;
        }
        case COBBANGLE:
            where = "CVantrelView::OnMouseMove, case COBBANGLE";
            m_ptCobbMove = CDoublePoint(0, 0);
            m_ptMove = m_ptEnd = p;
            break;
        default:
            return;
        }
        Invalidate(FALSE);
    } catch (...) {
        ReportSystemError(GetLastError(), where);
    }
}

void CVantrelView::DrawShapeOnMouseMove(CShapeCanvas* pDC)
{
    if (!pDC || m_nDrawShape == 0 || g_bAnnotationsHidden)
        return;
    try {
        const COLORREF colour = m_crShapeColor;
        const int one = 1;
        // Temporary shapes hold client positions and are drawn at zoom 1; an angle's arms only
        // over the image they were begun on
        if (m_nAngleClicks == 1 && m_nDrawShape == LINEANGLE) {
            if (m_pAngleImage != m_pImage)
                return;
            CShapeLineAngle angle(&m_ptStart, &m_ptEnd, &colour, &one);
            angle.SetEndPoint(m_ptThird);
            angle.Draw(pDC, 0, 1.0f);
            return;
        }
        if (!m_bMouseDown)
            return;
        if (m_nCobbStage == 1 && m_nDrawShape == COBBANGLE) {
            CShapeCobbAngle cobb(&m_ptMove, &m_ptFirstLineEnd, &m_ptThird, &m_ptFourth, &colour, &one);
            cobb.Draw(pDC, 0, 1.0f);
            return;
        }
        switch (m_nDrawShape) {
        case ELLIPSE:
            CShapeEllipse(&m_ptStart, &m_ptEnd, &colour, &one).Draw(pDC, 0, 1.0f);
            break;
        case CIRCLE:
            CShapeCircle(&m_ptStart, &m_ptEnd, &colour, &one).Draw(pDC, 0, 1.0f);
            break;
        case LINEARROW:
            CShapeArrowLine(&m_ptStart, &m_ptMove, &colour, &one).Draw(pDC, 0, 1.0f);
            break;
        case LINELENGTH:
            // A plain line: the length is shown once the shape is made
            CShapeLine(&m_ptStart, &m_ptMove, &colour, &one).Draw(pDC, 0, 1.0f);
            break;
        case TEXTOUT:
            if (m_bTextStarted)
                CShapeRectangle(&m_ptStart, &m_ptEnd, &colour, &one).Draw(pDC, 0, 1.0f);
            break;
        case LINEANGLE:
            CShapeLineAngle(&m_ptStart, &m_ptEnd, &colour, &one).Draw(pDC, 0, 1.0f);
            break;
        case COBBANGLE: {
            const COLORREF green = RGB(0, 255, 0);
            CShapeCobbAngle(&m_ptStart, &m_ptEnd, &m_ptThird, &m_ptFourth, &green, &one).Draw(pDC, 0, 1.0f);
            break;
        }
        case LINE: {
            const COLORREF red = RGB(255, 0, 0);
            CShapeLine(&m_ptStart, &m_ptEnd, &red, &one).Draw(pDC, 0, 1.0f);
            break;
        }
        case FREEHANDDRAW:
            if (m_pDrawingShape && m_pDrawingShape == m_pOwnedShape.get())
                m_pDrawingShape->Draw(pDC, 0, 1.0f);
            break;
        case PROBE:
            if (IsProbeAvailable() && IsInImage(m_ptMove)) {
                // The pixel of the full image under the pointer, also while the reduced one is shown
                const double value = GetPixelValue(ClientToShapePoint(m_ptMove));
                CShapeProbe probe(&m_ptMove, &m_ptMove, &colour, 0, QString::asprintf("%0.0f", value));
                const QSize extent = GetTotalDeviceSize();
                probe.SetViewExtent(extent.width(), extent.height());
                probe.SetTextFont(m_pTextFont);
                const QFont previous =
                    m_pTextFont && m_pTextFont->GetFont() ? pDC->SelectFont(*m_pTextFont->GetFont()) : pDC->GetFont();
                probe.Draw(pDC, 0, 1.0f);
                pDC->SelectFont(previous);
            }
            break;
        default:
            break;
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::DrawShapeOnMouseMove");
    }
}

// --- Release --------------------------------------------------------------------------------

void CVantrelView::OnLButtonUp(UINT nFlags, QPoint point)
{
    // The press of this stroke; the second release of a double click comes without one
    const bool pressed = m_bLButtonDown != 0;
    try {
        CMyFrameWnd* grid = GetGridFrame();
        if (!grid) {
            m_bMouseDown = FALSE;
            m_bLButtonDown = 0;
            UpdateToolCursor();
            return;
        }
        RestoreFullImage();
        for (CVantrelView* pane : grid->GetPanes()) {
            pane->m_bLButtonDown = 0;
            if (theApp.m_nLayoutMode == 2 && pane != this)
                pane->RestoreFullImage();
        }
        m_bLButtonDown = 0;
        if (g_bMagnifierMode && pressed)
            OnMagnifierRelease(nFlags, point);

        DropUnfinishedAngles(false);
        if (m_nAngleClicks != 0 && m_nDrawShape == LINEANGLE) {
            CompleteAngle();
            m_bMouseDown = FALSE;
            UpdateToolCursor();
            return;
        }
        if (m_nCobbStage != 0 && m_nDrawShape == COBBANGLE) {
            m_bMouseDown = FALSE;
            // Without the second drag's press the stage stays open
            if (pressed)
                CompleteCobbAngle();
            UpdateToolCursor();
            return;
        }

        m_bMouseDown = FALSE;
        if (pressed && m_nDrawShape != 0 && !g_bAnnotationsHidden) {
            if (point.x() - m_ptPanOffset.x() < 0 || point.y() - m_ptPanOffset.y() < 0) {
                // Left of or above the image: nothing is made
                if (g_bProbeMode)
                    Invalidate(TRUE);
                UpdateToolCursor();
                return;
            }
            m_ptEnd = ToDouble(point);
            // A click without a drag makes nothing
            if (m_ptStart != m_ptEnd && m_pDisplayImage)
                MakeShapeOnRelease();
            Invalidate(TRUE);
            grid->InvalidateViewsOfImage(m_strImageKey);
        }
        UpdateToolCursor();

        if (g_bProbeMode && IsCtOrMr(m_strModality)) {
            if (IsInImage(ToDouble(point))) {
                Invalidate(TRUE);
                CZoomView::OnLButtonUp(point);
            } else {
                m_ptStart = m_ptEnd = CDoublePoint(0, 0);
                Invalidate(TRUE);
            }
        } else {
            if (!g_bProbeMode)
                Invalidate(TRUE);
            CZoomView::OnLButtonUp(point);
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::OnLButtonUp");
    }
}

void CVantrelView::MakeShapeOnRelease()
{
    const COLORREF colour = m_crShapeColor;
    const int one = 1;
    // A stroke that started outside the image (or on its first row or column of the pane)
    // has a start of 0
    if (m_nDrawShape != TEXTOUT && (m_ptStart.x == 0 || m_ptStart.y == 0))
        return;
    const CDoublePoint start = ClientToShapePoint(m_ptStart);
    const CDoublePoint end = ClientToShapePoint(m_ptEnd);
    switch (m_nDrawShape) {
    case LINE:
        RegisterShape(std::make_unique<CShapeLine>(&start, &end, &colour, &one));
        break;
    case LINEARROW:
        RegisterShape(std::make_unique<CShapeArrowLine>(&start, &end, &colour, &one));
        break;
    case LINELENGTH: {
        auto shape = std::make_unique<CShapeLineLength>(&start, &end, &colour, &one);
        shape->SetTextFont(m_pTextFont);
        GiveSpacing(*shape);
        RegisterShape(std::move(shape));
        break;
    }
    case ELLIPSE:
    case CIRCLE: {
        std::unique_ptr<CShapeCollection> shape;
        if (m_nDrawShape == ELLIPSE)
            shape = std::make_unique<CShapeEllipse>(&start, &end, &colour, &one);
        else
            shape = std::make_unique<CShapeCircle>(&start, &end, &colour, &one);
        shape->SetTextFont(m_pTextFont);
        shape->m_nRenderMode = 0;
        GiveSpacing(*shape);
        RegisterShape(std::move(shape));
        break;
    }
    case FREEHANDDRAW: {
        auto* stroke = dynamic_cast<CShapeCurve*>(m_pDrawingShape);
        if (!stroke || stroke != m_pOwnedShape.get())
            break;
        auto curve = std::make_unique<CShapeCurve>();
        curve->CopyFrom(stroke);
        curve->TransformPoints([this](const CDoublePoint& p) { return ClientToShapePoint(p); });
        curve->SetStartPoint(ClientToShapePoint(curve->GetStartPoint()));
        curve->SetEndPoint(ClientToShapePoint(curve->GetEndPoint()));
        RegisterShape(std::move(curve));
        DropDrawingShape();
        break;
    }
    case TEXTOUT: {
        if (m_bTextStarted != 1)
            break;
        const QRect box(QPoint(TruncToInt(m_ptStart.x), TruncToInt(m_ptStart.y)),
                        QPoint(TruncToInt(m_ptEnd.x) - 1, TruncToInt(m_ptEnd.y) - 1));
        // The text shape waits for the entry's end, which appends it
        DropDrawingShape();
        m_pOwnedShape = std::make_unique<CShapeText>(&start, &end, m_pTextFont, QString(), m_crShapeColor);
        m_pDrawingShape = m_pOwnedShape.get();
        m_bTextStarted = 0;
        OpenTextEdit(box);
        break;
    }
    case LINEANGLE:
        // The vertex is fixed; the next click completes the angle
        m_nAngleClicks = 1;
        m_pAngleImage = m_pImage;
        m_pDrawingShape = nullptr;
        m_ptThird = m_ptMove = m_ptEnd;
        break;
    case COBBANGLE: {
        m_nCobbStage = 1;
        m_ptMove = m_ptStart;
        m_ptFirstLineEnd = m_ptEnd;
        // The second line starts as the single point at the start of the first
        auto cobb = std::make_unique<CShapeCobbAngle>(&start, &end, &start, &start, &colour, &one);
        cobb->SetImageKey(m_strImageKey);
        StoreShapeOriginalPoints(*cobb);
        m_pDrawingShape = cobb.get();
        if (CMyFrameWnd* grid = GetGridFrame())
            grid->m_arrShapes.push_back(std::move(cobb));
        break;
    }
    default:
        break;
    }
}

void CVantrelView::CompleteAngle()
{
    m_nAngleClicks = 0;
    const COLORREF colour = m_crShapeColor;
    const int one = 1;
    const CDoublePoint start = ClientToShapePoint(m_ptStart);
    const CDoublePoint vertex = ClientToShapePoint(m_ptEnd);
    auto angle = std::make_unique<CShapeLineAngle>(&start, &vertex, &colour, &one);
    angle->SetEndPoint(ClientToShapePoint(m_ptThird));
    m_pDrawingShape = nullptr;
    RegisterShape(std::move(angle));
    Invalidate(TRUE);
    if (CMyFrameWnd* grid = GetGridFrame())
        grid->InvalidateViewsOfImage(m_strImageKey);
}

void CVantrelView::CompleteCobbAngle()
{
    m_nCobbStage = 0;
    auto* cobb = dynamic_cast<CShapeCobbAngle*>(CobbAngleInArray());
    m_pDrawingShape = nullptr;
    if (!cobb)
        return;
    const CDoublePoint third = ClientToShapePoint(m_ptThird);
    const CDoublePoint fourth = ClientToShapePoint(m_ptFourth);
    // The first line as this view shows it, whatever view drew the shape last
    OrientShape(*cobb);
    cobb->SetSecondLine(&third, &fourth);
    StoreShapeOriginalPoints(*cobb);
    cobb->SetStage(1);
    Invalidate(TRUE);
    if (CMyFrameWnd* grid = GetGridFrame())
        grid->InvalidateViewsOfImage(m_strImageKey);
}
