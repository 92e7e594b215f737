#include "annotation/CShapeEllipse.h"

// std
#include <cstdlib>

// Orvane
#include "annotation/CAntiAliasDraw.h"
#include "annotation/CShapeCanvas.h"
#include "annotation/ShapeGeometry.h"

using ShapeGeometry::Trunc;

CShapeEllipse::CShapeEllipse(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor,
                             const int* pWidth)
{
    InitPoints(pStart, pEnd, pColor, pWidth);
    m_nRenderMode = 1;
}

QString CShapeEllipse::MeasureText() const
{
    double a = std::abs(Trunc(m_ptEnd.x - m_ptStart.x)) * m_dSpacingX * m_dScale;
    double b = std::abs(Trunc(m_ptEnd.y - m_ptStart.y)) * m_dSpacingY * m_dScale;
    if (m_bSpacingKnown) {
        a *= 0.1;
        b *= 0.1;
    }
    const double area = (a * 0.5) * (b * 0.5) * 22.0 / 7.0;
    return QString::asprintf(m_bSpacingKnown ? "Area=%0.2f cm sq." : "Area=%0.2f pix sq.", area);
}

std::array<POINT, 4> CShapeEllipse::GetHandles(float fZoom) const
{
    const double z = fZoom;
    const RECT r = ShapeGeometry::TruncatedRect(m_ptStart, m_ptEnd);
    const POINT h0{Trunc(r.left * z), Trunc(r.top * z)};
    const POINT h1{h0.x, Trunc((r.bottom - r.top) * z + h0.y)};
    const POINT h2{Trunc(r.right * z), h0.y};
    const POINT h3{h2.x, h1.y};
    return {h0, h1, h2, h3};
}

void CShapeEllipse::Draw(CShapeCanvas* pDC, int, float fZoom)
{
    if (!pDC)
        return;
    const CShapeCanvas::ScopedPen pen(*pDC, {CShapeCanvas::PS_SOLID, m_nPenWidth, m_crColor});
    const double z = fZoom;
    const double x0 = z * m_ptStart.x, y0 = z * m_ptStart.y, x1 = z * m_ptEnd.x, y1 = z * m_ptEnd.y;
    pDC->SetBkMode(CShapeCanvas::TRANSPARENT);
    const RECT box{Trunc(x0), Trunc(y0), Trunc(x1), Trunc(y1)};
    if (m_nRenderMode != 0) {
        pDC->Ellipse(box);
    } else {
        CAntiAliasDraw aa;
        aa.DrawEllipse(pDC, box.left, box.top, box.right, box.bottom, m_crColor);
        if (m_nBoxMode != 0) {
            const CShapeCanvas::ScopedPen white(*pDC, {CShapeCanvas::PS_SOLID, m_nPenWidth, RGB(255, 255, 255)});
            pDC->Rectangle(ShapeGeometry::NormalizedRect(box.left, box.top, box.right, box.bottom));
        }
        if (m_strText.isEmpty())
            m_strText = MeasureText();
        pDC->SetTextColor(m_crColor);
        pDC->TextOut(Trunc(x0), Trunc(y0 - 25.0), m_strText);
    }

    // Whole pixels from now on, start top left and end bottom right.
    const RECT r = ShapeGeometry::TruncatedRect(m_ptStart, m_ptEnd);
    m_ptStart = CDoublePoint(double(r.left), double(r.top));
    m_ptEnd = CDoublePoint(double(r.right), double(r.bottom));
}

void CShapeEllipse::MoveBy(const POINT* pDelta)
{
    MoveBoxBy(pDelta);
}

BOOL CShapeEllipse::HitTest(const CDoublePoint* pPt, float fZoom)
{
    if (!pPt)
        return FALSE;
    const double z = fZoom;
    const int px = Trunc(z * pPt->x), py = Trunc(z * pPt->y);
    const std::array<POINT, 4> h = GetHandles(fZoom);
    for (const int i : {0, 2, 3, 1})
        if (std::abs(px - h[i].x) <= 20 && std::abs(py - h[i].y) <= 20)
            return TRUE;
    if (ShapeGeometry::TruncatedRect(m_ptStart, m_ptEnd, z).PtInRect(px, py))
        return HitTestBorder(pPt, fZoom);
    return FALSE;
}

BOOL CShapeEllipse::HitTestBorder(const CDoublePoint* pPt, float fZoom)
{
    if (!pPt)
        return FALSE;
    const double z = fZoom;
    const int px = Trunc(z * pPt->x), py = Trunc(z * pPt->y);
    const std::array<POINT, 4> h = GetHandles(fZoom);
    const auto within = [](int v, int lo, int hi) { return lo - 0.5 <= v && v <= hi + 0.5; };
    return within(px, h[0].x, h[1].x) || within(px, h[2].x, h[3].x) || within(py, h[0].y, h[2].y) ||
                   within(py, h[1].y, h[3].y)
               ? TRUE
               : FALSE;
}

void CShapeEllipse::HitTestHandle(CDoublePoint pt, float fZoom)
{
    const double z = fZoom;
    const double qx = z * pt.x, qy = z * pt.y;
    const std::array<POINT, 4> h = GetHandles(fZoom);
    for (int i = 0; i < 4; ++i) {
        if (ArePointsNear(h[i].x, h[i].y, qx, qy, fZoom)) {
            m_nSelectedHandle = 11 + i;
            return;
        }
    }
    if (HitTestBorder(&pt, fZoom))
        m_nSelectedHandle = 10;
}

void CShapeEllipse::DragHandle(CDoublePoint ptNew, CDoublePoint ptDelta, RECT rcBounds)
{
    switch (m_nSelectedHandle) {
    case 11: m_ptStart = ptNew; m_strText.clear(); break;
    case 12: m_ptStart.x = ptNew.x; m_ptEnd.y = ptNew.y; m_strText.clear(); break;
    case 13: m_ptEnd.x = ptNew.x; m_ptStart.y = ptNew.y; m_strText.clear(); break;
    case 14: m_ptEnd = ptNew; m_strText.clear(); break;
    default: {
        const auto stays = [&](CDoublePoint p) {
            return rcBounds.PtInRect(Trunc(p.x + ptDelta.x), Trunc(p.y + ptDelta.y));
        };
        if (!stays(m_ptStart) || !stays(m_ptEnd))
            return;
        m_ptStart.x += ptDelta.x;
        m_ptStart.y += ptDelta.y;
        m_ptEnd.x += ptDelta.x;
        m_ptEnd.y += ptDelta.y;
        for (CDoublePoint& p : m_listPoints) {
            p.x += ptDelta.x;
            p.y += ptDelta.y;
        }
        break;
    }
    }
}
