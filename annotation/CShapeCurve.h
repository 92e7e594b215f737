#pragma once
// A freehand polyline through a list of points.

// Orvane
#include "annotation/CShapeCollection.h"

/// Freehand curve: the polyline through m_listPoints (head first), drawn with the pen.
class CShapeCurve : public CShapeCollection
{
public:
    CShapeCurve() = default;
    /// Start and end in image pixels (the first two points, start at the head), colour, pen width.
    CShapeCurve(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor, const int* pWidth);

    void Draw(CShapeCanvas* pDC, int nUnused, float fZoom) override;
    /// Along the polyline; a curve of fewer than two distinct points is never hit.
    BOOL HitTest(const CDoublePoint* pPt, float fZoom) override;

    /// Adds a point at the head and grows m_rcBounds to hold it.
    void AddPoint(const CDoublePoint* pPt);
    /// Fills this curve from the one drawn during the drag: start, end, colour, pen width and
    /// their saved copies, and the source's points (in reverse order, the same polyline).
    void CopyFrom(CShapeCurve* pSource);
    /// Moves every point to `f(point)`; the view converts a finished curve to image pixels so.
    template <typename F>
    void TransformPoints(F f)
    {
        for (CDoublePoint& p : m_listPoints)
            p = f(p);
    }
};
