#include "annotation/CShapeCurve.h"

// Orvane
#include "annotation/CShapeCanvas.h"
#include "annotation/ShapeGeometry.h"

using ShapeGeometry::Trunc;

CShapeCurve::CShapeCurve(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor,
                         const int* pWidth)
{
    InitPoints(pStart, pEnd, pColor, pWidth);
    m_listPoints.append(m_ptStart);
    m_listPoints.append(m_ptEnd);
}

void CShapeCurve::AddPoint(const CDoublePoint* pPt)
{
    if (!pPt)
        return;
    const CDoublePoint p = *pPt;
    m_listPoints.prepend(p);
    if (p.x < m_rcBounds.left)
        m_rcBounds.left = Trunc(p.x);
    if (p.x > m_rcBounds.right)
        m_rcBounds.right = Trunc(p.x);
    if (p.y < m_rcBounds.top)
        m_rcBounds.top = Trunc(p.y);
    if (p.y > m_rcBounds.bottom)
        m_rcBounds.bottom = Trunc(p.y);
}

void CShapeCurve::CopyFrom(CShapeCurve* pSource)
{
    if (!pSource || pSource == this)
        return;
    m_ptStart = pSource->m_ptStart;
    m_ptEnd = pSource->m_ptEnd;
    m_crColor = pSource->m_crColor;
    m_nPenWidth = pSource->m_nPenWidth;
    m_ptOrigStart = pSource->m_ptOrigStart;
    m_ptOrigEnd = pSource->m_ptOrigEnd;
    bool first = true;
    for (const CDoublePoint& p : pSource->m_listPoints) {
        m_listOrigPoints.prepend(first ? p : CDoublePoint(double(Trunc(p.x)), double(Trunc(p.y))));
        first = false;
        AddPoint(&p);
    }
}

void CShapeCurve::Draw(CShapeCanvas* pDC, int, float fZoom)
{
    if (!pDC || m_listPoints.isEmpty())
        return;
    const CShapeCanvas::ScopedPen pen(*pDC, {CShapeCanvas::PS_SOLID, m_nPenWidth, m_crColor});
    const double z = fZoom;
    auto it = m_listPoints.cbegin();
    pDC->MoveTo(Trunc(z * it->x), Trunc(z * it->y));
    for (++it; it != m_listPoints.cend(); ++it)
        pDC->LineTo(Trunc(z * it->x), Trunc(z * it->y));
}

BOOL CShapeCurve::HitTest(const CDoublePoint* pPt, float fZoom)
{
    if (!pPt || m_listPoints.isEmpty())
        return FALSE;
    auto it = m_listPoints.cbegin();
    CDoublePoint previous = *it;
    for (++it; it != m_listPoints.cend(); ++it) {
        if (!(*it != previous))
            continue;
        if (HitTestSegment(&previous, &*it, pPt, fZoom))
            return TRUE;
        previous = *it;
    }
    return FALSE;
}
