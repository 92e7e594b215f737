#include "viewer/CZoomView.h"

// Qt
#include <QMouseEvent>
#include <QPainter>

// std
#include <cmath>

// Orvane
#include "platform/ReportSystemError.h"
#include "platform/Gdi.h"
#include "viewer/ZoomGeometry.h"

CZoomView::CZoomView(QWidget* parent)
    : QWidget(parent)
{
    OnSetCursor();
}

CZoomView::~CZoomView() = default;

void CZoomView::SetZoomBaseSize(QSize sizeTotal, const QSize&, const QSize&)
{
    m_sizeTotal = sizeTotal;
    // Logical and device units are the same on screen
    m_sizeBaseDev = sizeTotal;
    m_sizeTotalDev = sizeTotal;
    update();
}

void CZoomView::OnPrepareDC(QPainter* pDC) const
{
    if (!pDC)
        return;
    const QPoint origin = m_ptPanOffset - m_ptScrollPosition;
    pDC->translate(origin.x(), origin.y());
}

void CZoomView::ApplyScale(float scale, QPoint center)
{
    m_fZoomScale = scale;
    m_sizeTotalDev = ZoomGeometry::ScaleSize(m_sizeBaseDev, m_fZoomScale);
    UpdateZoomScrollSizes();
    CenterOnPoint(center);
    OnZoomChanged();
}

BOOL CZoomView::ZoomIn(const QPoint* pCenter, float fFactor)
{
    const QPoint center = pCenter ? *pCenter : GetClientCenter();
    if (!std::isfinite(fFactor) || fFactor <= 0)
        return TRUE;
    ApplyScale(m_fZoomScale * fFactor, center);
    return TRUE;
}

BOOL CZoomView::ZoomOut(const QPoint* pCenter, float fFactor)
{
    const QPoint center = pCenter ? *pCenter : GetClientCenter();
    // Dividing by zero would give an infinite scale
    if (!std::isfinite(fFactor) || fFactor <= 0)
        return TRUE;
    ApplyScale(m_fZoomScale / fFactor, center);
    return TRUE;
}

BOOL CZoomView::ZoomToRect(const RECT* pRect)
{
    if (!pRect)
        return TRUE;
    const RECT client{0, 0, width(), height()};
    const ZoomGeometry::ZoomRectPlan plan = ZoomGeometry::PlanZoomToRect(*pRect, m_ptPanOffset, m_ptScrollPosition, client);
    if (plan.bZoomInInstead)
        return ZoomIn(&plan.ptCenter, 1.25f);
    if (plan.fScale <= 0 || !std::isfinite(plan.fScale))
        return TRUE;
    ApplyScale(float(plan.fScale), plan.ptCenter);
    return TRUE;
}

void CZoomView::UpdateZoomScrollSizes()
{
    ZoomGeometry::PageAndLineSizes(m_sizeTotalDev, m_sizeBasePageDev, m_sizeBaseLineDev, m_sizePage, m_sizeLine);
    // No scroll bars: the drawing moves only with the pan offset
    m_ptScrollPosition = QPoint(0, 0);
    update();
}

void CZoomView::CenterOnPoint(QPoint ptLogical)
{
    QPoint device = ZoomGeometry::LogicalToDevice(ptLogical, m_ptPanOffset, m_ptScrollPosition);
    AddScrollPosition(&device);
    // The scroll range is empty without scroll bars, so the position stays where it is
    m_ptScrollPosition = QPoint(0, 0);
}

QPoint CZoomView::GetClientCenter() const
{
    return ZoomGeometry::DeviceToLogical(ZoomGeometry::ClientCenter(size()), m_ptPanOffset, m_ptScrollPosition);
}

void CZoomView::DrawRubberBand(QPainter* pDC, const RECT* pRect, BOOL bXor) const
{
    if (!pDC || !pRect)
        return;
    pDC->save();
    QPen pen(Qt::black);
    pen.setWidth(1);
    if (bXor) {
        pen.setStyle(Qt::DotLine);
        // Inverts what lies beneath, so a second draw erases the band
        pDC->setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    }
    pDC->setPen(pen);
    const QPoint corners[] = {{pRect->left, pRect->top}, {pRect->right, pRect->top},
                              {pRect->right, pRect->bottom}, {pRect->left, pRect->bottom}};
    for (int i = 0; i < 4; ++i)
        Gdi::LineTo(*pDC, corners[i], corners[(i + 1) % 4]);
    pDC->restore();
}

void CZoomView::DeviceToLogical(QPoint* pts, int n) const
{
    for (int i = 0; pts && i < n; ++i)
        pts[i] = ZoomGeometry::DeviceToLogical(pts[i], m_ptPanOffset, m_ptScrollPosition);
}

void CZoomView::LogicalToDevice(QPoint* pts, int n) const
{
    for (int i = 0; pts && i < n; ++i)
        pts[i] = ZoomGeometry::LogicalToDevice(pts[i], m_ptPanOffset, m_ptScrollPosition);
}

void CZoomView::AddScrollPosition(QPoint* pt) const
{
    if (pt)
        *pt += m_ptScrollPosition;
}

void CZoomView::NormalizeZoomRect(RECT* prc)
{
    if (prc)
        *prc = ZoomGeometry::NormalizeZoomRect(*prc);
}

void CZoomView::FitAspectRatio(const QSize* pOrig, QSize* pDest, QPoint* pRemainder)
{
    if (!pOrig || !pDest || !pRemainder)
        return;
    ZoomGeometry::FitAspectRatio(*pOrig, *pDest, *pRemainder);
}

void CZoomView::OnLButtonUp(QPoint point)
{
    if (m_nZoomMode == 1 && m_bCaptured) {
        m_bCaptured = FALSE;
        releaseMouse();
        OnSetCursor();
        // The band lives in the derived view's back buffer, which repaints without it
        update();
        ZoomToRect(&m_rcZoomDrag);
    } else if (m_nZoomMode == 2) {
        QPoint logical = point;
        DeviceToLogical(&logical, 1);
        ZoomOut(&logical, 1.25f);
    }
}

void CZoomView::OnRButtonDown(QPoint)
{
    if (m_bCaptured) {
        m_bCaptured = FALSE;
        releaseMouse();
        if (m_nZoomMode == 1)
            update();
    } else {
        m_nZoomMode = 0;
    }
    OnSetCursor();
}

void CZoomView::OnSetCursor()
{
    if (m_nZoomMode != 0 && m_hZoomCursor)
        setCursor(*m_hZoomCursor);
    else
        setCursor(Qt::ArrowCursor);
}

void CZoomView::mouseReleaseEvent(QMouseEvent* event)
{
    try {
        QWidget::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton)
            OnLButtonUp(event->position().toPoint());
    } catch (...) {
        ReportSystemError(GetLastError(), "CZoomView::OnLButtonUp");
    }
}

void CZoomView::mousePressEvent(QMouseEvent* event)
{
    try {
        QWidget::mousePressEvent(event);
        if (event->button() == Qt::RightButton)
            OnRButtonDown(event->position().toPoint());
    } catch (...) {
        ReportSystemError(GetLastError(), "CZoomView::OnRButtonDown");
    }
}
