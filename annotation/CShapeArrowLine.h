#pragma once
// A line from the start point to the end point with an arrowhead at the end.

// Orvane
#include "annotation/CShapeCollection.h"

/// Arrow line: anti-aliased line and an arrowhead drawn with the pen (left out in box mode).
class CShapeArrowLine : public CShapeCollection
{
public:
    CShapeArrowLine() = default;
    /// Start and end in image pixels, colour, pen width.
    CShapeArrowLine(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor, const int* pWidth);

    void Draw(CShapeCanvas* pDC, int nUnused, float fZoom) override;
    void MoveBy(const POINT* pDelta) override;
    BOOL HitTest(const CDoublePoint* pPt, float fZoom) override;

    /// Draws the arrowhead with its tip at pTo for the line from pFrom (view pixels) with the
    /// pen selected into pDC.
    void DrawArrowHead(const POINT* pFrom, const POINT* pTo, CShapeCanvas* pDC);
};
