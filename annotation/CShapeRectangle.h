#pragma once
// A plain rectangle in view pixels: the frame of the selected viewport and the text tool's box.

// Orvane
#include "annotation/CShapeCollection.h"

/// Rectangle: the outline of m_rcBounds with the pen, unchanged by the zoom (its creator gives
/// view pixels).
class CShapeRectangle : public CShapeCollection
{
public:
    CShapeRectangle() = default;
    /// m_rcBounds = the normalised box of the truncated points; the points are not kept.
    CShapeRectangle(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor, const int* pWidth);

    void Draw(CShapeCanvas* pDC, int nUnused, float fZoom) override;
    void MoveBy(const POINT* pDelta) override;
};
