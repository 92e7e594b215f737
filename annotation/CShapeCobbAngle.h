#pragma once
// Two separate lines with arrowheads; once its second stage is set, a dash-dot-dot line joins
// their midpoints and the angle between the lines is written beside it.

// Orvane
#include "annotation/CShapeCollection.h"

/// Cobb angle: first line start-end, second line third-fourth, drawn with the pen of width
/// m_nLineWidth. The second line counts once it has a length; the joining line and the text
/// "%0.2f" (degrees, 0..180) follow when the stage is not 0. The text is computed on the first
/// such Draw after it is empty and then kept.
class CShapeCobbAngle : public CShapeCollection
{
public:
    CShapeCobbAngle() = default;
    /// The four points in image pixels, colour and line width.
    CShapeCobbAngle(const CDoublePoint* p0, const CDoublePoint* p1, const CDoublePoint* p2, const CDoublePoint* p3,
                    const COLORREF* pColor, const int* pWidth);

    void Draw(CShapeCanvas* pDC, int nUnused, float fZoom) override;
    void MoveBy(const POINT* pDelta) override;
    /// Segment start-end, then third-fourth.
    BOOL HitTest(const CDoublePoint* pPt, float fZoom) override;

    void SetStage(int nStage) { m_nStage = nStage; }
    int GetStage() const { return m_nStage; }
    /// Sets the third and fourth point and their saved copies.
    void SetSecondLine(const CDoublePoint* p2, const CDoublePoint* p3);
    /// Whether the second line has been given a length.
    bool HasSecondLine() const { return m_ptThird != m_ptFourth; }
    /// The angle between the two lines in degrees, 0..180; 0 when a line has no length.
    double MeasureAngle() const;

    /// Draws the arrowhead with its tip at pTo for the line from pFrom (view pixels) with the
    /// pen selected into pDC.
    void DrawArrowHead(const POINT* pFrom, const POINT* pTo, CShapeCanvas* pDC);

protected:
    bool DragChecksThirdAndFourth() const override { return true; }

private:
    int m_nStage = 0;
};
