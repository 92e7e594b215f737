#include "annotation/CShapeMarker.h"

// Orvane
#include "annotation/CShapeCanvas.h"
#include "annotation/ShapeGeometry.h"

using ShapeGeometry::Trunc;

CShapeMarker::~CShapeMarker()
{
    m_imgMarker.Destroy();
}

void CShapeMarker::Draw(CShapeCanvas* pDC, int, float fZoom)
{
    if (!pDC)
        return;
    const double z = fZoom;
    pDC->DrawBitmap(m_imgMarker, Trunc(z * m_ptStart.x - 32), Trunc(z * m_ptStart.y - 32), 64, 64);
}

void CShapeMarker::MoveBy(const POINT* pDelta)
{
    MoveBoxBy(pDelta);
}

BOOL CShapeMarker::HitTest(const CDoublePoint* pPt, float fZoom)
{
    if (!pPt)
        return FALSE;
    const double z = fZoom;
    const double x = z * m_ptStart.x - 32, y = z * m_ptStart.y - 32;
    const RECT r{Trunc(x), Trunc(y), Trunc(x + 64), Trunc(y + 64)};
    return r.PtInRect(Trunc(z * pPt->x), Trunc(z * pPt->y)) ? TRUE : FALSE;
}

void CShapeMarker::HitTestHandle(CDoublePoint pt, float fZoom)
{
    CShapeCollection::HitTestHandle(pt, fZoom);
    if (m_nSelectedHandle >= 0 && m_nSelectedHandle <= 3)
        m_nSelectedHandle = 5;
}
