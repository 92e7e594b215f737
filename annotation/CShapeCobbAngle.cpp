#include "annotation/CShapeCobbAngle.h"

// std
#include <algorithm>
#include <cmath>

// Orvane
#include "annotation/CShapeCanvas.h"
#include "annotation/ShapeGeometry.h"

using ShapeGeometry::Trunc;

CShapeCobbAngle::CShapeCobbAngle(const CDoublePoint* p0, const CDoublePoint* p1, const CDoublePoint* p2,
                                 const CDoublePoint* p3, const COLORREF* pColor, const int* pWidth)
{
    if (p0)
        m_ptStart = m_ptOrigStart = *p0;
    if (p1)
        m_ptEnd = m_ptOrigEnd = *p1;
    if (p2)
        m_ptThird = m_ptOrigThird = *p2;
    if (p3)
        m_ptFourth = m_ptOrigFourth = *p3;
    if (pColor)
        m_crColor = *pColor;
    if (pWidth)
        m_nLineWidth = *pWidth;
}

void CShapeCobbAngle::SetSecondLine(const CDoublePoint* p2, const CDoublePoint* p3)
{
    if (p2)
        m_ptThird = m_ptOrigThird = *p2;
    if (p3)
        m_ptFourth = m_ptOrigFourth = *p3;
}

double CShapeCobbAngle::MeasureAngle() const
{
    const double d1x = m_ptEnd.x - m_ptStart.x, d1y = m_ptEnd.y - m_ptStart.y;
    const double d2x = m_ptFourth.x - m_ptThird.x, d2y = m_ptFourth.y - m_ptThird.y;
    const double lengths = std::hypot(d2x, d2y) * std::hypot(d1x, d1y);
    if (!(lengths > 0.0))
        return 0.0;
    // Rounding can push the cosine of parallel lines just outside -1..1.
    const double cosine = std::clamp((d1y * d2y + d1x * d2x) / lengths, -1.0, 1.0);
    return std::acos(cosine) * 57.29577951;
}

void CShapeCobbAngle::Draw(CShapeCanvas* pDC, int, float fZoom)
{
    if (!pDC)
        return;
    const CShapeCanvas::ScopedPen pen(*pDC, {CShapeCanvas::PS_SOLID, m_nLineWidth, m_crColor});
    const double z = fZoom;
    const POINT s{Trunc(z * m_ptStart.x), Trunc(z * m_ptStart.y)};
    const POINT e{Trunc(z * m_ptEnd.x), Trunc(z * m_ptEnd.y)};
    pDC->MoveTo(s.x, s.y);
    pDC->LineTo(e.x, e.y);
    if (m_nBoxMode == 0)
        DrawArrowHead(&s, &e, pDC);
    if (!HasSecondLine())
        return;

    const POINT t{Trunc(z * m_ptThird.x), Trunc(z * m_ptThird.y)};
    const POINT f{Trunc(z * m_ptFourth.x), Trunc(z * m_ptFourth.y)};
    pDC->MoveTo(t.x, t.y);
    pDC->LineTo(f.x, f.y);
    if (m_nBoxMode == 0)
        DrawArrowHead(&t, &f, pDC);
    if (m_nStage == 0)
        return;

    const double angle = MeasureAngle();
    const double m1x = (m_ptStart.x + m_ptEnd.x) * 0.5 * z, m1y = (m_ptStart.y + m_ptEnd.y) * 0.5 * z;
    const double m2x = (m_ptThird.x + m_ptFourth.x) * 0.5 * z, m2y = (m_ptThird.y + m_ptFourth.y) * 0.5 * z;
    pDC->SelectPen({CShapeCanvas::PS_DASHDOTDOT, m_nLineWidth, m_crColor});
    const POINT m1{Trunc(m1x), Trunc(m1y)}, m2{Trunc(m2x), Trunc(m2y)};
    pDC->MoveTo(m1.x, m1.y);
    pDC->LineTo(m2.x, m2.y);
    // The joining line has its arrowheads whatever the box mode.
    DrawArrowHead(&m1, &m2, pDC);
    DrawArrowHead(&m2, &m1, pDC);

    if (m_strText.isEmpty())
        m_strText = QString::asprintf("%0.2f", angle);
    pDC->SetBkMode(CShapeCanvas::TRANSPARENT);
    pDC->SetBkColor(RGB(0, 0, 0));
    pDC->SetTextColor(m_crColor);
    const ShapeTextMetrics tm = pDC->GetTextMetrics();
    pDC->TextOut(Trunc((m1x + m2x) * 0.5 + tm.nAveCharWidth), Trunc((m1y + m2y) * 0.5), m_strText);
}

void CShapeCobbAngle::MoveBy(const POINT* pDelta)
{
    MoveLineBy(pDelta);
}

BOOL CShapeCobbAngle::HitTest(const CDoublePoint* pPt, float fZoom)
{
    if (HitTestSegment(&m_ptStart, &m_ptEnd, pPt, fZoom))
        return TRUE;
    return HitTestSegment(&m_ptThird, &m_ptFourth, pPt, fZoom);
}

void CShapeCobbAngle::DrawArrowHead(const POINT* pFrom, const POINT* pTo, CShapeCanvas* pDC)
{
    DrawArrowHeadStrokes(pFrom, pTo, pDC);
}
