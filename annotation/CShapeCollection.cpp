#include "annotation/CShapeCollection.h"

// std
#include <algorithm>
#include <cmath>
#include <cstdlib>

// Orvane
#include "annotation/CShapeCanvas.h"
#include "annotation/ShapeGeometry.h"

using ShapeGeometry::Trunc;

namespace {

bool IsUsableZoom(float fZoom)
{
    return std::isfinite(fZoom) && fZoom > 0.0f;
}

bool IsUsableSpacing(double d)
{
    return std::isfinite(d) && d > 0.0;
}

} // namespace

CShapeCollection::CShapeCollection() = default;

CShapeCollection::~CShapeCollection() = default;

void CShapeCollection::Draw(CShapeCanvas*, int, float) {}

void CShapeCollection::MoveBy(const POINT*) {}

BOOL CShapeCollection::HitTest(const CDoublePoint*, float)
{
    return FALSE;
}

BOOL CShapeCollection::HitTestBorder(const CDoublePoint*, float)
{
    return FALSE;
}

void CShapeCollection::SetBoxMode(int nMode)
{
    m_nBoxMode = nMode;
}

int CShapeCollection::GetBoxMode()
{
    return m_nBoxMode;
}

template <typename F>
void CShapeCollection::ForEachPoint(F f)
{
    f(m_ptStart);
    f(m_ptEnd);
    f(m_ptVertex);
    f(m_ptThird);
    f(m_ptFourth);
    for (CDoublePoint& p : m_listPoints)
        f(p);
}

void CShapeCollection::SaveCurrentPoints()
{
    m_ptOrigStart = m_ptStart;
    m_ptOrigEnd = m_ptEnd;
    m_ptOrigThird = m_ptThird;
    m_ptOrigFourth = m_ptFourth;
    m_ptOrigVertex = m_ptVertex;
}

void CShapeCollection::DragHandle(CDoublePoint ptNew, CDoublePoint ptDelta, RECT rcBounds)
{
    switch (m_nSelectedHandle) {
    case 0: m_ptStart = ptNew; m_strText.clear(); break;
    case 1: m_ptEnd = ptNew; m_strText.clear(); break;
    case 2: m_ptThird = ptNew; m_strText.clear(); break;
    case 3: m_ptFourth = ptNew; m_strText.clear(); break;
    case 4: m_ptVertex = ptNew; m_strText.clear(); break;
    default: {
        const auto stays = [&](CDoublePoint p) {
            return rcBounds.PtInRect(Trunc(p.x + ptDelta.x), Trunc(p.y + ptDelta.y));
        };
        bool inside = stays(m_ptStart) && stays(m_ptEnd);
        if (DragChecksThirdAndFourth())
            inside = inside && stays(m_ptThird) && stays(m_ptFourth);
        if (DragChecksVertex())
            inside = inside && stays(m_ptVertex);
        if (!inside)
            return;
        ForEachPoint([&](CDoublePoint& p) {
            p.x += ptDelta.x;
            p.y += ptDelta.y;
        });
        break;
    }
    }
    SaveCurrentPoints();
}

void CShapeCollection::HitTestHandle(CDoublePoint pt, float fZoom)
{
    const double z = fZoom;
    const int px = Trunc(z * pt.x), py = Trunc(z * pt.y);
    const CDoublePoint handles[5] = {m_ptStart, m_ptEnd, m_ptThird, m_ptFourth, m_ptVertex};
    for (int i = 0; i < 5; ++i) {
        const double hx = z * handles[i].x, hy = z * handles[i].y;
        const RECT box = ShapeGeometry::NormalizedRect(Trunc(hx - 10), Trunc(hy - 10), Trunc(hx + 10), Trunc(hy + 10));
        if (box.PtInRect(px, py)) {
            m_nSelectedHandle = i;
            return;
        }
    }
    m_nSelectedHandle = 5;
}

void CShapeCollection::SetStartPoint(CDoublePoint pt)
{
    m_ptStart = pt;
}

void CShapeCollection::SetEndPoint(CDoublePoint pt)
{
    m_ptEnd = pt;
    m_ptOrigEnd = pt;
}

void CShapeCollection::SetThirdPoint(CDoublePoint pt)
{
    m_ptThird = pt;
}

void CShapeCollection::SetFourthPoint(CDoublePoint pt)
{
    m_ptFourth = pt;
}

void CShapeCollection::SetVertexPoint(CDoublePoint pt)
{
    m_ptVertex = pt;
}

void CShapeCollection::SetImageKey(const QString& key)
{
    m_strImageKey = key;
}

QString CShapeCollection::GetImageKey() const
{
    return m_strImageKey;
}

void CShapeCollection::SetTag(const QString& tag)
{
    m_strTag = tag;
}

void CShapeCollection::SetTextFont(CFont* pFont)
{
    m_pFont = pFont;
}

void CShapeCollection::SetViewExtent(int cx, int cy)
{
    m_nViewWidth = cx;
    m_nViewHeight = cy;
}

void CShapeCollection::SetScale(double scale)
{
    // A scale that is not finite would turn every measurement into "nan".
    m_dScale = scale == 0.0 || !std::isfinite(scale) ? 1.0 : scale;
}

void CShapeCollection::SetPixelSpacing(BOOL bKnown, double dRowSpacing, double dColumnSpacing)
{
    if (bKnown && IsUsableSpacing(dRowSpacing) && IsUsableSpacing(dColumnSpacing)) {
        m_bSpacingKnown = 1;
        m_dSpacingY = dRowSpacing;
        m_dSpacingX = dColumnSpacing;
    } else {
        m_bSpacingKnown = 0;
        m_dSpacingY = 1.0;
        m_dSpacingX = 1.0;
    }
}

void CShapeCollection::RotateClockwise(int, int cx, int, float fZoom)
{
    if (!IsUsableZoom(fZoom))
        return;
    const double z = fZoom;
    ForEachPoint([&](CDoublePoint& p) {
        const double x = p.x, y = p.y;
        p.x = (cx - z * y) / z;
        p.y = x;
    });
}

void CShapeCollection::RotateAntiClockwise(int, int, int cy, float fZoom)
{
    if (!IsUsableZoom(fZoom))
        return;
    const double z = fZoom;
    ForEachPoint([&](CDoublePoint& p) {
        const double x = p.x, y = p.y;
        p.x = y;
        p.y = (cy - z * x) / z;
    });
}

void CShapeCollection::FlipHorizontal(int, int cx, int, float fZoom)
{
    if (!IsUsableZoom(fZoom))
        return;
    const double z = fZoom;
    ForEachPoint([&](CDoublePoint& p) { p.x = (cx - z * p.x) / z; });
}

void CShapeCollection::FlipVertical(int, int, int cy, float fZoom)
{
    if (!IsUsableZoom(fZoom))
        return;
    const double z = fZoom;
    ForEachPoint([&](CDoublePoint& p) { p.y = (cy - z * p.y) / z; });
}

void CShapeCollection::RestoreOriginalPoints()
{
    m_ptStart = m_ptOrigStart;
    m_ptEnd = m_ptOrigEnd;
    m_ptVertex = m_ptOrigVertex;
    m_ptThird = m_ptOrigThird;
    m_ptFourth = m_ptOrigFourth;
    m_listPoints.clear();
    for (const CDoublePoint& p : m_listOrigPoints)
        m_listPoints.prepend(p);
}

void CShapeCollection::StoreOriginalPoints(int nAngle, BOOL bFlipped, BOOL bMirrored, int cx, int cy, float fZoom)
{
    if (!IsUsableZoom(fZoom))
        return;
    const double z = fZoom;
    const int angle = ((nAngle % 360) + 360) % 360;
    const bool sideways = angle == 90 || angle == 270;
    const double W = sideways ? cy : cx;
    const double H = sideways ? cx : cy;
    const auto preimage = [&](CDoublePoint p) {
        double X, Y;
        switch (angle) {
        case 90: X = z * p.y; Y = H - z * p.x; break;
        case 180: X = W - z * p.x; Y = H - z * p.y; break;
        case 270: X = W - z * p.y; Y = z * p.x; break;
        default: X = z * p.x; Y = z * p.y; break;
        }
        if (bFlipped)
            Y = H - Y;
        if (bMirrored)
            X = W - X;
        return CDoublePoint(X / z, Y / z);
    };
    m_ptOrigStart = preimage(m_ptStart);
    m_ptOrigEnd = preimage(m_ptEnd);
    m_ptOrigVertex = preimage(m_ptVertex);
    m_ptOrigThird = preimage(m_ptThird);
    m_ptOrigFourth = preimage(m_ptFourth);
    m_listOrigPoints.clear();
    for (const CDoublePoint& p : m_listPoints)
        m_listOrigPoints.prepend(preimage(p));
}

CShapeCollection::Points CShapeCollection::CurrentPoints() const
{
    return Points{m_ptStart, m_ptEnd, m_ptThird, m_ptFourth, m_ptVertex, m_listPoints};
}

void CShapeCollection::ReducePoints(double dFactor)
{
    if (!std::isfinite(dFactor) || dFactor <= 0.0)
        return;
    if (m_reducedFrom) {
        const Points full = *m_reducedFrom;
        m_ptStart = full.start;
        m_ptEnd = full.end;
        m_ptThird = full.third;
        m_ptFourth = full.fourth;
        m_ptVertex = full.vertex;
        m_listPoints = full.list;
    } else {
        m_reducedFrom = CurrentPoints();
    }
    ForEachPoint([&](CDoublePoint& p) {
        p.x /= dFactor;
        p.y /= dFactor;
    });
}

void CShapeCollection::RestoreReducedPoints()
{
    if (!m_reducedFrom)
        return;
    const Points full = *m_reducedFrom;
    m_reducedFrom.reset();
    m_ptStart = full.start;
    m_ptEnd = full.end;
    m_ptThird = full.third;
    m_ptFourth = full.fourth;
    m_ptVertex = full.vertex;
    m_listPoints = full.list;
}

BOOL CShapeCollection::ArePointsNear(double x1, double y1, double x2, double y2, float)
{
    return ShapeGeometry::Distance(x1, y1, x2, y2) <= 2.0 ? TRUE : FALSE;
}

BOOL CShapeCollection::HitTestSegment(const CDoublePoint* pA, const CDoublePoint* pB, const CDoublePoint* pPt,
                                      float fZoom)
{
    if (!pA || !pB || !pPt)
        return FALSE;
    const double z = fZoom;
    const double ax = z * pA->x, ay = z * pA->y;
    const double bx = z * pB->x, by = z * pB->y;
    const double px = z * pPt->x, py = z * pPt->y;
    const int iAx = Trunc(ax), iAy = Trunc(ay), iBx = Trunc(bx), iBy = Trunc(by);
    const int iPx = Trunc(px), iPy = Trunc(py);

    if ((iPx == iAx && iPy == iAy) || (iPx == iBx && iPy == iBy))
        return TRUE;

    bool hit = false;
    if (std::abs(iAx - iBx) < 3) {
        hit = Trunc(ax - 3) <= iPx && iPx <= Trunc(ax + 3) && std::min(iAy, iBy) <= iPy && iPy <= std::max(iAy, iBy);
    } else if (std::abs(iAy - iBy) < 3) {
        hit = Trunc(ay - 3) <= iPy && iPy <= Trunc(ay + 3) && std::min(iAx, iBx) <= iPx && iPx <= std::max(iAx, iBx);
    } else {
        const float m = float(iBy - iAy) / float(iBx - iAx);
        const RECT box = ShapeGeometry::NormalizedRect(iAx, iAy, iBx, iBy);
        if (box.PtInRect(iPx, iPy)) {
            const int yOn = Trunc((px - ax) * m + ay);
            const int xOn = Trunc((py - ay) / m + ax);
            hit = std::abs(Trunc(xOn - px)) <= 35 && std::abs(Trunc(yOn - py)) <= 35;
        }
    }
    if (hit)
        return TRUE;
    return ArePointsNear(ax, ay, px, py, fZoom) || ArePointsNear(bx, by, px, py, fZoom) ? TRUE : FALSE;
}

void CShapeCollection::InitPoints(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor,
                                  const int* pWidth)
{
    if (pStart)
        m_ptStart = m_ptOrigStart = *pStart;
    if (pEnd)
        m_ptEnd = m_ptOrigEnd = *pEnd;
    if (pColor)
        m_crColor = *pColor;
    if (pWidth)
        m_nPenWidth = *pWidth;
    m_rcBounds = ShapeGeometry::TruncatedRect(m_ptStart, m_ptEnd);
}

void CShapeCollection::MoveBoxBy(const POINT* pDelta)
{
    if (!pDelta)
        return;
    m_rcBounds.left += pDelta->x;
    m_rcBounds.right += pDelta->x;
    m_rcBounds.top += pDelta->y;
    m_rcBounds.bottom += pDelta->y;
}

void CShapeCollection::DrawArrowHeadStrokes(const POINT* pFrom, const POINT* pTo, CShapeCanvas* pDC)
{
    if (!pFrom || !pTo || !pDC)
        return;
    for (const auto& stroke : ShapeGeometry::ArrowHeadStrokes(*pFrom, *pTo)) {
        pDC->MoveTo(stroke.front().x, stroke.front().y);
        for (size_t i = 1; i < stroke.size(); ++i)
            pDC->LineTo(stroke[i].x, stroke[i].y);
    }
}

void CShapeCollection::MoveLineBy(const POINT* pDelta)
{
    if (!pDelta)
        return;
    m_ptStart.x += pDelta->x;
    m_ptStart.y += pDelta->y;
    m_ptEnd.x += pDelta->x;
    m_ptEnd.y += pDelta->y;
    MoveBoxBy(pDelta);
}
