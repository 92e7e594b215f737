#include "annotation/CShapeBoundRect.h"

// Orvane
#include "annotation/CShapeCanvas.h"

void CShapeBoundRect::Draw(CShapeCanvas* pDC, int, float)
{
    if (!pDC)
        return;
    const CShapeCanvas::ScopedPen pen(*pDC, {CShapeCanvas::PS_SOLID, m_nPenWidth, m_crColor});
    pDC->RoundRect(m_rcBounds, 20, 20);
}

void CShapeBoundRect::MoveBy(const POINT* pDelta)
{
    MoveBoxBy(pDelta);
}
