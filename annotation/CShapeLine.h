#pragma once
// A plain red line: the view's rubber band and preview lines.

// Orvane
#include "annotation/CShapeCollection.h"

/// Plain line, anti-aliased, always pure red whatever its colour; no arrowhead, no text.
class CShapeLine : public CShapeCollection
{
public:
    CShapeLine() = default;
    /// Start and end in image pixels (or view pixels at zoom 1), colour, pen width.
    CShapeLine(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor, const int* pWidth);

    void Draw(CShapeCanvas* pDC, int nUnused, float fZoom) override;
    void MoveBy(const POINT* pDelta) override;
    BOOL HitTest(const CDoublePoint* pPt, float fZoom) override;
};
