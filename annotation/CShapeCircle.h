#pragma once
// A circle in a square that grows from the start point, with its area.

// Orvane
#include "annotation/CShapeCollection.h"

/// Circle: with m_nRenderMode 1 (the default, the rubber band) a plain pen outline and no text;
/// with 0 an anti-aliased outline and "Area=%0.2f cm sq" (known pixel spacing) or
/// "Area=%0.2f pix sq" above it, in the font given by SetTextFont when it holds one.
class CShapeCircle : public CShapeCollection
{
public:
    CShapeCircle() = default;
    /// Start and end in image pixels, colour, pen width; render mode 1.
    CShapeCircle(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor, const int* pWidth);

    void Draw(CShapeCanvas* pDC, int nUnused, float fZoom) override;
    void MoveBy(const POINT* pDelta) override;
    /// Inside the circle whose diameter is the segment from start to end.
    BOOL HitTest(const CDoublePoint* pPt, float fZoom) override;

    /// The circle's box in view pixels at `fZoom`: a square from the start point growing right
    /// and down, its side the smaller extent of start to end.
    RECT GetCircleBox(float fZoom) const;
    /// The area text of the current points, scale and spacing.
    QString MeasureText() const;
};
