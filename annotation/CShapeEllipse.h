#pragma once
// An ellipse in the box spanned by its start and end point, with its area above the box.

// std
#include <array>

// Orvane
#include "annotation/CShapeCollection.h"

/// Ellipse: with m_nRenderMode 1 (the default, the rubber band) a plain pen outline and no
/// text; with 0 an anti-aliased outline and "Area=%0.2f cm sq." (known pixel spacing) or
/// "Area=%0.2f pix sq.". Every Draw ends by normalising the points to whole pixels (start top
/// left, end bottom right). The handles are the corners of that box at the caller's zoom.
class CShapeEllipse : public CShapeCollection
{
public:
    CShapeEllipse() = default;
    /// Opposite corners in image pixels, colour, pen width; render mode 1.
    CShapeEllipse(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor, const int* pWidth);

    void Draw(CShapeCanvas* pDC, int nUnused, float fZoom) override;
    void MoveBy(const POINT* pDelta) override;
    /// Within 20 view pixels of a corner, else on the left, right, top or bottom edge line of
    /// the box while inside it.
    BOOL HitTest(const CDoublePoint* pPt, float fZoom) override;
    BOOL HitTestBorder(const CDoublePoint* pPt, float fZoom) override;
    /// Selects corner handle 11 to 14 within 2 view pixels, else 10 on the border.
    void HitTestHandle(CDoublePoint pt, float fZoom) override;
    /// Moves a corner (11 to 14, emptying the text) or, with another handle, the whole shape
    /// when start and end stay inside rcBounds; the saved copies stay.
    void DragHandle(CDoublePoint ptNew, CDoublePoint ptDelta, RECT rcBounds) override;

    /// Corners of the box of whole image pixels at `fZoom` (view pixels): [0] top left,
    /// [1] bottom left, [2] top right, [3] bottom right.
    std::array<POINT, 4> GetHandles(float fZoom) const;
    /// The area text of the current points, scale and spacing.
    QString MeasureText() const;
};
