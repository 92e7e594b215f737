#include "annotation/CShapeLineLength.h"

// std
#include <cmath>

// Orvane
#include "annotation/CAntiAliasDraw.h"
#include "annotation/CShapeCanvas.h"
#include "annotation/ShapeGeometry.h"

using ShapeGeometry::Trunc;

CShapeLineLength::CShapeLineLength(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor,
                                   const int* pWidth)
{
    InitPoints(pStart, pEnd, pColor, pWidth);
}

QString CShapeLineLength::MeasureText() const
{
    const double ax = m_ptStart.x * m_dScale, ay = m_ptStart.y * m_dScale;
    const double bx = m_ptEnd.x * m_dScale, by = m_ptEnd.y * m_dScale;
    const double dy = (ay - by) * m_dSpacingY;
    const double dx = (ax - bx) * m_dSpacingX;
    const double length = std::sqrt(dy * dy + dx * dx);
    if (m_bSpacingKnown) {
        const double cm = length * 0.1;
        if (cm < 1.0)
            return QString::asprintf("%.2f mm", cm * 10.0);
        return QString::asprintf("%.2f cm", cm);
    }
    return QString::asprintf("%.2f Pixel", length);
}

void CShapeLineLength::Draw(CShapeCanvas* pDC, int, float fZoom)
{
    if (!pDC)
        return;
    const CShapeCanvas::ScopedPen pen(*pDC, {CShapeCanvas::PS_SOLID, m_nPenWidth, m_crColor});
    const double z = fZoom;
    const double sx = z * m_ptStart.x, sy = z * m_ptStart.y;
    const double ex = z * m_ptEnd.x, ey = z * m_ptEnd.y;
    CAntiAliasDraw aa;
    aa.DrawLine(pDC, Trunc(sx), Trunc(sy), Trunc(ex), Trunc(ey), m_crColor);
    pDC->SetBkMode(CShapeCanvas::TRANSPARENT);
    pDC->SetTextColor(m_crColor);

    if (m_strText.isEmpty())
        m_strText = MeasureText();

    // Keep the text inside the view area.
    const ShapeTextMetrics tm = pDC->GetTextMetrics();
    const int w = (int(m_strText.size()) + 2) * tm.nAveCharWidth;
    const int h = tm.nHeight + tm.nExternalLeading;
    const int right = Trunc(w + ex);
    const int bottom = Trunc(h + ey);
    int dx = 2, dy = 2;
    if (right > m_nViewWidth)
        dx = m_nViewWidth - right;
    if (bottom > m_nViewHeight)
        dy = m_nViewHeight - bottom;
    pDC->TextOut(Trunc(dx + ex + 4.0), Trunc(dy + ey + 4.0), m_strText);
}

void CShapeLineLength::MoveBy(const POINT* pDelta)
{
    MoveLineBy(pDelta);
}

BOOL CShapeLineLength::HitTest(const CDoublePoint* pPt, float fZoom)
{
    return HitTestSegment(&m_ptStart, &m_ptEnd, pPt, fZoom);
}
