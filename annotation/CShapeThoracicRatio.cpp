#include "annotation/CShapeThoracicRatio.h"

void CShapeThoracicRatio::Draw(CShapeCanvas* pDC, int nUnused, float fZoom)
{
    for (const auto& child : m_pChildShapes)
        if (child)
            child->Draw(pDC, nUnused, fZoom);
}

BOOL CShapeThoracicRatio::HitTest(const CDoublePoint*, float)
{
    return TRUE;
}
