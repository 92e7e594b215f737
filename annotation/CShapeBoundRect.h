#pragma once
// A rectangle with rounded corners around m_rcBounds (view pixels). Nothing creates it yet.

// Orvane
#include "annotation/CShapeCollection.h"

/// Bounding rectangle: the outline of m_rcBounds with corners rounded by a 20 x 20 ellipse.
class CShapeBoundRect : public CShapeCollection
{
public:
    CShapeBoundRect() = default;

    void Draw(CShapeCanvas* pDC, int nUnused, float fZoom) override;
    void MoveBy(const POINT* pDelta) override;
};
