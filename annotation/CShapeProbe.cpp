#include "annotation/CShapeProbe.h"

// Orvane
#include "annotation/CShapeCanvas.h"
#include "annotation/ShapeGeometry.h"

using ShapeGeometry::Trunc;

CShapeProbe::CShapeProbe(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor, int,
                         const QString& strText)
{
    if (pStart)
        m_ptStart = m_ptOrigStart = *pStart;
    if (pEnd)
        m_ptEnd = m_ptOrigEnd = *pEnd;
    if (pColor)
        m_crColor = *pColor;
    m_strText = strText;
}

void CShapeProbe::Draw(CShapeCanvas* pDC, int, float fZoom)
{
    if (!pDC)
        return;
    pDC->SetBkMode(CShapeCanvas::TRANSPARENT);
    pDC->SetTextColor(m_crColor);
    const double z = fZoom;
    const CDoublePoint e(z * m_ptEnd.x, z * m_ptEnd.y);
    const ShapeTextMetrics tm = pDC->GetTextMetrics();
    const int w = (int(m_strText.size()) + 2) * tm.nAveCharWidth;
    const int right = Trunc(w + e.x);
    int dx = 2;
    if (right > m_nViewWidth)
        dx = m_nViewWidth - right;
    DrawCross(pDC, e);
    pDC->TextOut(Trunc(dx + e.x + 10.0), Trunc(e.y - 20.0), m_strText);
}

void CShapeProbe::DrawCross(CShapeCanvas* pDC, CDoublePoint pt)
{
    if (!pDC)
        return;
    const CShapeCanvas::ScopedPen pen(*pDC, {CShapeCanvas::PS_SOLID, 1, m_crColor});
    pDC->MoveTo(Trunc(pt.x - 6), Trunc(pt.y));
    pDC->LineTo(Trunc(pt.x + 6), Trunc(pt.y));
    pDC->MoveTo(Trunc(pt.x), Trunc(pt.y - 6));
    pDC->LineTo(Trunc(pt.x), Trunc(pt.y + 6));
}

void CShapeProbe::MoveBy(const POINT* pDelta)
{
    MoveLineBy(pDelta);
}

BOOL CShapeProbe::HitTest(const CDoublePoint* pPt, float fZoom)
{
    if (!pPt)
        return FALSE;
    const double z = fZoom;
    const double x = z * m_ptStart.x, y = z * m_ptStart.y;
    const int n = int(m_strText.size());
    const RECT a{Trunc(x), Trunc(y), Trunc((n + 2) * 5 + x), Trunc(y + 13.0)};
    const int px = Trunc(pPt->x), py = Trunc(pPt->y);
    if (a.PtInRect(px, py))
        return TRUE;
    int dx = 2, dy = 2;
    if (a.right > m_nViewWidth)
        dx = m_nViewWidth - a.right;
    if (a.bottom > m_nViewHeight)
        dy = m_nViewHeight - a.bottom;
    const RECT b{Trunc(dx + x), Trunc(dy + y), Trunc((a.right - a.left) + dx + x - 4.0),
                 Trunc((a.bottom - a.top) + dy + y)};
    return b.PtInRect(px, py) ? TRUE : FALSE;
}
