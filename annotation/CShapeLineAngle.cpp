#include "annotation/CShapeLineAngle.h"

// std
#include <algorithm>
#include <cmath>

// Orvane
#include "annotation/CAntiAliasDraw.h"
#include "annotation/CShapeCanvas.h"
#include "annotation/ShapeGeometry.h"

using ShapeGeometry::Trunc;

CShapeLineAngle::CShapeLineAngle(const CDoublePoint* pStart, const CDoublePoint* pVertex, const COLORREF* pColor,
                                 const int* pWidth)
{
    InitPoints(pStart, pVertex, pColor, pWidth);
    m_ptVertex = m_ptOrigVertex = m_ptEnd;
}

float CShapeLineAngle::DotProduct(const Vector3& a, const Vector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

float CShapeLineAngle::VectorLength(const Vector3& a)
{
    return std::sqrt(DotProduct(a, a));
}

void CShapeLineAngle::NormalizeVector(Vector3& a)
{
    const float length = VectorLength(a);
    if (!(length > 0.0f))
        return;
    const float inverse = 1.0f / length;
    a.x *= inverse;
    a.y *= inverse;
    a.z *= inverse;
}

float CShapeLineAngle::AngleBetween(Vector3& a, Vector3& b)
{
    if (!(VectorLength(a) > 0.0f) || !(VectorLength(b) > 0.0f))
        return 0.0f;
    NormalizeVector(a);
    NormalizeVector(b);
    // Rounding can push the product of parallel unit vectors just past 1.
    const float dot = std::clamp(DotProduct(a, b), -1.0f, 1.0f);
    return float(std::acos(dot) * 57.29577951);
}

void CShapeLineAngle::Draw(CShapeCanvas* pDC, int, float fZoom)
{
    if (!pDC)
        return;
    const CShapeCanvas::ScopedPen pen(*pDC, {CShapeCanvas::PS_SOLID, m_nPenWidth, m_crColor});
    const double z = fZoom;
    const double sx = z * m_ptStart.x, sy = z * m_ptStart.y;
    const double vx = z * m_ptVertex.x, vy = z * m_ptVertex.y;
    const double ex = z * m_ptEnd.x, ey = z * m_ptEnd.y;
    if (m_nRenderMode != 0) {
        CAntiAliasDraw aa;
        aa.DrawLine(pDC, Trunc(sx), Trunc(sy), Trunc(vx), Trunc(vy), m_crColor);
        aa.DrawLine(pDC, Trunc(vx), Trunc(vy), Trunc(ex), Trunc(ey), m_crColor);
    } else {
        pDC->MoveTo(Trunc(sx), Trunc(sy));
        pDC->LineTo(Trunc(vx), Trunc(vy));
        pDC->LineTo(Trunc(ex), Trunc(ey));
    }

    // No second arm yet: no angle to write.
    if (m_ptEnd == m_ptVertex)
        return;
    pDC->SetBkMode(CShapeCanvas::TRANSPARENT);
    pDC->SetBkColor(RGB(0, 0, 0));
    pDC->SetTextColor(m_crColor);
    if (m_strText.isEmpty()) {
        // From the image points: the same angle at every zoom, and defined at zoom 0.
        Vector3 u{float(m_ptVertex.x - m_ptStart.x), float(m_ptVertex.y - m_ptStart.y), 0.0f};
        Vector3 w{float(m_ptVertex.x - m_ptEnd.x), float(m_ptVertex.y - m_ptEnd.y), 0.0f};
        m_strText = QString::asprintf("%0.2f Degree", double(AngleBetween(u, w)));
    }
    const ShapeTextMetrics tm = pDC->GetTextMetrics();
    const int wt = (int(m_strText.size()) + 2) * tm.nAveCharWidth;
    const int ht = tm.nHeight + tm.nExternalLeading;
    const double mx = (vx + sx) * 0.5, my = (vy + sy) * 0.5;
    if (m_nRenderMode != 0) {
        const int left = Trunc(mx - wt / 2 - 4.0), top = Trunc(my);
        pDC->FillSolidRect(RECT{left, top, left + wt, top + ht}, RGB(0, 0, 0));
    }
    pDC->TextOut(Trunc(mx - wt / 2), Trunc(my), m_strText);
}

void CShapeLineAngle::MoveBy(const POINT* pDelta)
{
    MoveLineBy(pDelta);
}

BOOL CShapeLineAngle::HitTest(const CDoublePoint* pPt, float fZoom)
{
    if (HitTestSegment(&m_ptStart, &m_ptVertex, pPt, fZoom))
        return TRUE;
    return HitTestSegment(&m_ptVertex, &m_ptEnd, pPt, fZoom);
}
