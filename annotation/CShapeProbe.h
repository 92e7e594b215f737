#pragma once
// A small cross with a text beside it: the view's readout of the pixel value under the pointer.

// Orvane
#include "annotation/CShapeCollection.h"

/// Probe: a cross at the end point and the readout text beside it, pulled back inside the view.
class CShapeProbe : public CShapeCollection
{
public:
    CShapeProbe() = default;
    /// Start and end in image pixels (the cross is at the end), colour, readout text.
    CShapeProbe(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor, int nUnused,
                const QString& strText);

    void Draw(CShapeCanvas* pDC, int nUnused, float fZoom) override;
    void MoveBy(const POINT* pDelta) override;
    /// Inside the readout box at the start point, or that box pulled back inside the view. The
    /// point is taken in view pixels.
    BOOL HitTest(const CDoublePoint* pPt, float fZoom) override;

    /// Draws the cross, 6 pixels to each side of pt (view pixels), with a one-pixel pen.
    void DrawCross(CShapeCanvas* pDC, CDoublePoint pt);
};
