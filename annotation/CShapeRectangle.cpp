#include "annotation/CShapeRectangle.h"

// Orvane
#include "annotation/CShapeCanvas.h"
#include "annotation/ShapeGeometry.h"

CShapeRectangle::CShapeRectangle(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor,
                                 const int* pWidth)
{
    if (pColor)
        m_crColor = *pColor;
    if (pWidth)
        m_nPenWidth = *pWidth;
    m_rcBounds = ShapeGeometry::TruncatedRect(pStart ? *pStart : CDoublePoint(), pEnd ? *pEnd : CDoublePoint());
}

void CShapeRectangle::Draw(CShapeCanvas* pDC, int, float)
{
    if (!pDC)
        return;
    const CShapeCanvas::ScopedPen pen(*pDC, {CShapeCanvas::PS_SOLID, m_nPenWidth, m_crColor});
    pDC->Rectangle(m_rcBounds);
}

void CShapeRectangle::MoveBy(const POINT* pDelta)
{
    MoveBoxBy(pDelta);
}
