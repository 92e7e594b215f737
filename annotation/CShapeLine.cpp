#include "annotation/CShapeLine.h"

// Orvane
#include "annotation/CAntiAliasDraw.h"
#include "annotation/CShapeCanvas.h"
#include "annotation/ShapeGeometry.h"

using ShapeGeometry::Trunc;

CShapeLine::CShapeLine(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor, const int* pWidth)
{
    InitPoints(pStart, pEnd, pColor, pWidth);
}

void CShapeLine::Draw(CShapeCanvas* pDC, int, float fZoom)
{
    if (!pDC)
        return;
    const CShapeCanvas::ScopedPen pen(*pDC, {CShapeCanvas::PS_SOLID, m_nPenWidth, m_crColor});
    const double z = fZoom;
    CAntiAliasDraw aa;
    aa.DrawLine(pDC, Trunc(z * m_ptStart.x), Trunc(z * m_ptStart.y), Trunc(z * m_ptEnd.x), Trunc(z * m_ptEnd.y),
                RGB(255, 0, 0));
}

void CShapeLine::MoveBy(const POINT* pDelta)
{
    MoveLineBy(pDelta);
}

BOOL CShapeLine::HitTest(const CDoublePoint* pPt, float fZoom)
{
    return HitTestSegment(&m_ptStart, &m_ptEnd, pPt, fZoom);
}
