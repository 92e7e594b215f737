#pragma once
// A line with its length written beside its end point.

// Orvane
#include "annotation/CShapeCollection.h"

/// Length line: anti-aliased line and its length in "%.2f mm", "%.2f cm" (known pixel spacing)
/// or "%.2f Pixel", computed on the first Draw after the text is empty and then kept.
class CShapeLineLength : public CShapeCollection
{
public:
    CShapeLineLength() = default;
    /// Start and end in image pixels, colour, pen width.
    CShapeLineLength(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor, const int* pWidth);

    void Draw(CShapeCanvas* pDC, int nUnused, float fZoom) override;
    void MoveBy(const POINT* pDelta) override;
    BOOL HitTest(const CDoublePoint* pPt, float fZoom) override;

    /// The length text of the current points, scale and spacing.
    QString MeasureText() const;
};
