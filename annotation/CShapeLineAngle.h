#pragma once
// Two arms, from the start point to the vertex and from the vertex to the end point, and the
// angle at the vertex written beside the first arm.

// Orvane
#include "annotation/CShapeCollection.h"

/// Angle: with m_nRenderMode 1 (the view's) anti-aliased arms and the text on a black box,
/// with 0 (the import's) pen arms and no box. The text "%0.2f Degree" is computed on the first
/// Draw after it is empty, once the end differs from the vertex, and then kept.
class CShapeLineAngle : public CShapeCollection
{
public:
    /// A vector of three floats for the angle arithmetic.
    struct Vector3
    {
        float x = 0.0f;
        float y = 0.0f;
        float z = 0.0f;
    };

    CShapeLineAngle() = default;
    /// Start (end of the first arm) and vertex in image pixels, colour, pen width. The end
    /// equals the vertex until SetEndPoint gives the end of the second arm.
    CShapeLineAngle(const CDoublePoint* pStart, const CDoublePoint* pVertex, const COLORREF* pColor, const int* pWidth);

    void Draw(CShapeCanvas* pDC, int nUnused, float fZoom) override;
    /// Start, end and box move; the vertex does not.
    void MoveBy(const POINT* pDelta) override;
    /// Segment start-vertex, then vertex-end.
    BOOL HitTest(const CDoublePoint* pPt, float fZoom) override;

    static float DotProduct(const Vector3& a, const Vector3& b);
    static float VectorLength(const Vector3& a);
    /// Scales `a` to length 1 in place; a zero vector stays zero.
    static void NormalizeVector(Vector3& a);
    /// The angle between the two vectors in degrees (0..180), normalising both in place;
    /// 0 when either has no length.
    static float AngleBetween(Vector3& a, Vector3& b);

protected:
    bool DragChecksVertex() const override { return true; }
};
