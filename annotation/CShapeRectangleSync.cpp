#include "annotation/CShapeRectangleSync.h"

// Orvane
#include "annotation/CShapeCanvas.h"
#include "annotation/ShapeGeometry.h"

using ShapeGeometry::Trunc;

void CShapeRectangleSync::Draw(CShapeCanvas* pDC, int, float)
{
    if (!pDC)
        return;
    if (m_bShowIcon)
        pDC->DrawIcon(m_hIcon, m_rcBounds.left, m_rcBounds.top, 15, 15);
    const CShapeCanvas::ScopedPen pen(*pDC, {CShapeCanvas::PS_SOLID, m_nPenWidth, m_crColor});
    pDC->Rectangle(m_rcBounds);
}

void CShapeRectangleSync::MoveBy(const POINT* pDelta)
{
    MoveBoxBy(pDelta);
}

BOOL CShapeRectangleSync::HitTest(const CDoublePoint* pPt, float fZoom)
{
    if (!pPt)
        return FALSE;
    const double z = fZoom;
    const RECT r{Trunc(z * m_ptStart.x), Trunc(z * m_ptStart.y), Trunc(z * m_ptEnd.x), Trunc(z * m_ptEnd.y)};
    return r.PtInRect(Trunc(z * pPt->x), Trunc(z * pPt->y)) ? TRUE : FALSE;
}
