#include "annotation/CShapeText.h"

// std
#include <cmath>

// Orvane
#include "annotation/CShapeCanvas.h"
#include "annotation/ShapeGeometry.h"

using ShapeGeometry::Trunc;

CShapeText::CShapeText(const CDoublePoint* pStart, const CDoublePoint* pEnd, CFont*, const QString& strText,
                       COLORREF crColor)
{
    if (pStart)
        m_ptStart = m_ptOrigStart = *pStart;
    if (pEnd)
        m_ptEnd = m_ptOrigEnd = *pEnd;
    m_crColor = crColor;
    m_strText = strText;
}

RECT CShapeText::GetTextBox(float fZoom) const
{
    return ShapeGeometry::TruncatedRect(m_ptStart, m_ptEnd, fZoom);
}

void CShapeText::Draw(CShapeCanvas* pDC, int, float fZoom)
{
    if (!pDC)
        return;
    pDC->SetBkMode(CShapeCanvas::TRANSPARENT);
    pDC->SetTextColor(m_crColor);
    pDC->DrawText(m_strText, GetTextBox(fZoom));
}

void CShapeText::MoveBy(const POINT* pDelta)
{
    MoveLineBy(pDelta);
}

BOOL CShapeText::HitTest(const CDoublePoint* pPt, float fZoom)
{
    if (!pPt)
        return FALSE;
    const double z = fZoom;
    return GetTextBox(fZoom).PtInRect(Trunc(z * pPt->x), Trunc(z * pPt->y)) ? TRUE : FALSE;
}

BOOL CShapeText::HitTestBorder(const CDoublePoint* pPt, float fZoom)
{
    if (!pPt)
        return FALSE;
    const double z = fZoom;
    const int px = Trunc(z * pPt->x), py = Trunc(z * pPt->y);
    const bool near = std::fabs(px - z * m_ptStart.x) <= 1.0 || std::fabs(px - z * m_ptEnd.x) <= 1.0 ||
                      std::fabs(py - z * m_ptStart.y) <= 1.0 || std::fabs(py - z * m_ptEnd.y) <= 1.0;
    return near ? TRUE : FALSE;
}

void CShapeText::SetText(const QString& strText)
{
    m_strText = strText;
}
