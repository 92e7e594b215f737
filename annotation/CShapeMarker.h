#pragma once
// What the three picture markers share: a 64 x 64 picture centred on the start point.

// Orvane
#include "annotation/CShapeCollection.h"
#include "platform/CxImage.h"

/// Picture marker: m_imgMarker drawn 64 x 64 view pixels around the zoomed start point,
/// whatever the zoom. The handle selection knows only the vertex handle. Nothing loads the
/// picture yet, so it draws nothing.
class CShapeMarker : public CShapeCollection
{
public:
    CShapeMarker() = default;
    ~CShapeMarker() override;

    void Draw(CShapeCanvas* pDC, int nUnused, float fZoom) override;
    void MoveBy(const POINT* pDelta) override;
    /// Inside the 64 x 64 picture.
    BOOL HitTest(const CDoublePoint* pPt, float fZoom) override;
    /// As the base, with the handles 0 to 3 turned into 5 (none).
    void HitTestHandle(CDoublePoint pt, float fZoom) override;

    CxImage m_imgMarker; ///< the picture, empty until loaded
};
