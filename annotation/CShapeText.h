#pragma once
// A text annotation written word-wrapped into the box spanned by its start and end point.

// Orvane
#include "annotation/CShapeCollection.h"

/// Text: the text in the canvas's current font, word-wrapped into the box and clipped to it.
class CShapeText : public CShapeCollection
{
public:
    CShapeText() = default;
    /// Box corners in image pixels, the text and its colour. The font argument is not used:
    /// the text is drawn in the canvas's current font.
    CShapeText(const CDoublePoint* pStart, const CDoublePoint* pEnd, CFont* pFont, const QString& strText,
               COLORREF crColor);

    void Draw(CShapeCanvas* pDC, int nUnused, float fZoom) override;
    void MoveBy(const POINT* pDelta) override;
    /// Inside the box (right and bottom edges excluded).
    BOOL HitTest(const CDoublePoint* pPt, float fZoom) override;
    /// Within one view pixel of one of the box's edge lines.
    BOOL HitTestBorder(const CDoublePoint* pPt, float fZoom) override;

    /// Replaces the text.
    void SetText(const QString& strText);
    /// The box in view pixels at `fZoom`.
    RECT GetTextBox(float fZoom) const;
};
