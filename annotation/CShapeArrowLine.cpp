#include "annotation/CShapeArrowLine.h"

// Orvane
#include "annotation/CAntiAliasDraw.h"
#include "annotation/CShapeCanvas.h"
#include "annotation/ShapeGeometry.h"

using ShapeGeometry::Trunc;

CShapeArrowLine::CShapeArrowLine(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor,
                                 const int* pWidth)
{
    InitPoints(pStart, pEnd, pColor, pWidth);
}

void CShapeArrowLine::Draw(CShapeCanvas* pDC, int, float fZoom)
{
    if (!pDC)
        return;
    const CShapeCanvas::ScopedPen pen(*pDC, {CShapeCanvas::PS_SOLID, m_nPenWidth, m_crColor});
    const double z = fZoom;
    const POINT s{Trunc(z * m_ptStart.x), Trunc(z * m_ptStart.y)};
    const POINT e{Trunc(z * m_ptEnd.x), Trunc(z * m_ptEnd.y)};
    CAntiAliasDraw aa;
    aa.DrawLine(pDC, s.x, s.y, e.x, e.y, m_crColor);
    if (m_nBoxMode == 0)
        DrawArrowHead(&s, &e, pDC);
}

void CShapeArrowLine::MoveBy(const POINT* pDelta)
{
    MoveLineBy(pDelta);
}

BOOL CShapeArrowLine::HitTest(const CDoublePoint* pPt, float fZoom)
{
    return HitTestSegment(&m_ptStart, &m_ptEnd, pPt, fZoom);
}

void CShapeArrowLine::DrawArrowHead(const POINT* pFrom, const POINT* pTo, CShapeCanvas* pDC)
{
    DrawArrowHeadStrokes(pFrom, pTo, pDC);
}
