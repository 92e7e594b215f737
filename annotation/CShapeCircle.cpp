#include "annotation/CShapeCircle.h"

// Qt
#include <QFont>

// std
#include <algorithm>
#include <cmath>
#include <cstdlib>

// Orvane
#include "annotation/CAntiAliasDraw.h"
#include "annotation/CShapeCanvas.h"
#include "annotation/ShapeGeometry.h"
#include "platform/CFont.h"

using ShapeGeometry::Trunc;

CShapeCircle::CShapeCircle(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor,
                           const int* pWidth)
{
    InitPoints(pStart, pEnd, pColor, pWidth);
    m_nRenderMode = 1;
}

RECT CShapeCircle::GetCircleBox(float fZoom) const
{
    const double z = fZoom;
    const double x0 = z * m_ptStart.x, y0 = z * m_ptStart.y;
    const int side = std::min(std::abs(Trunc(z * m_ptEnd.x - x0)), std::abs(Trunc(z * m_ptEnd.y - y0)));
    return RECT{Trunc(x0), Trunc(y0), Trunc(x0 + side), Trunc(y0 + side)};
}

QString CShapeCircle::MeasureText() const
{
    const double d = std::min(std::abs(Trunc(m_ptEnd.x - m_ptStart.x)) * m_dSpacingX * m_dScale,
                              std::abs(Trunc(m_ptEnd.y - m_ptStart.y)) * m_dSpacingY * m_dScale);
    constexpr double kPi = 22.0 / 7.0;
    if (m_bSpacingKnown) {
        const double r = d * 0.5 * 0.1;
        return QString::asprintf("Area=%0.2f cm sq", kPi * r * r);
    }
    const double r = d * 0.5;
    return QString::asprintf("Area=%0.2f pix sq", kPi * r * r);
}

void CShapeCircle::Draw(CShapeCanvas* pDC, int, float fZoom)
{
    if (!pDC)
        return;
    const CShapeCanvas::ScopedPen pen(*pDC, {CShapeCanvas::PS_SOLID, m_nPenWidth, m_crColor});
    const RECT box = GetCircleBox(fZoom);
    if (m_nRenderMode != 0) {
        pDC->Ellipse(box);
        return;
    }
    CAntiAliasDraw aa;
    aa.DrawEllipse(pDC, box.left, box.top, box.right, box.bottom, m_crColor);
    if (m_strText.isEmpty())
        m_strText = MeasureText();
    pDC->SetBkMode(CShapeCanvas::TRANSPARENT);
    pDC->SetBkColor(RGB(0, 0, 0));
    pDC->SetTextColor(m_crColor);
    // A font object that never got a font means the canvas's font.
    const QFont* font = m_pFont ? m_pFont->GetFont() : nullptr;
    QFont previous;
    if (font)
        previous = pDC->SelectFont(*font);
    const double z = fZoom;
    pDC->TextOut(Trunc(z * m_ptStart.x), Trunc(z * m_ptStart.y - 15.0), m_strText);
    if (font)
        pDC->SelectFont(previous);
}

void CShapeCircle::MoveBy(const POINT* pDelta)
{
    MoveBoxBy(pDelta);
}

BOOL CShapeCircle::HitTest(const CDoublePoint* pPt, float fZoom)
{
    if (!pPt)
        return FALSE;
    const double z = fZoom;
    const double sx = z * m_ptStart.x, sy = z * m_ptStart.y, ex = z * m_ptEnd.x, ey = z * m_ptEnd.y;
    const double cx = (sx + ex) * 0.5, cy = (sy + ey) * 0.5;
    const double px = z * pPt->x, py = z * pPt->y;
    return 2.0 * std::hypot(px - cx, py - cy) <= std::hypot(ex - sx, ey - sy) ? TRUE : FALSE;
}
