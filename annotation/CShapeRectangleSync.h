#pragma once
// A rectangle around m_rcBounds (view pixels) with a small icon at its top-left corner.
// Nothing creates it yet.

// Qt
#include <QImage>

// Orvane
#include "annotation/CShapeCollection.h"

/// Rectangle with icon: the icon in 15 x 15 pixels at the top-left corner when m_bShowIcon is
/// set, then the outline of m_rcBounds.
class CShapeRectangleSync : public CShapeCollection
{
public:
    CShapeRectangleSync() = default;

    void Draw(CShapeCanvas* pDC, int nUnused, float fZoom) override;
    void MoveBy(const POINT* pDelta) override;
    /// Inside the rectangle from the zoomed start to the zoomed end, as given (not normalised).
    BOOL HitTest(const CDoublePoint* pPt, float fZoom) override;

    BYTE m_bShowIcon = 0; ///< draw the icon
    QImage m_hIcon;       ///< the icon drawn at the top-left corner
};
