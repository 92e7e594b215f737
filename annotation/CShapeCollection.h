#pragma once
// The base class of every annotation and measurement shape (one shape, not a container): its
// points, pen, text, image key, measurement scale and pixel spacing, the saved copies of its
// points in the unturned image, and what all shapes share: turning and flipping with the image,
// returning to the saved points, and the hit test of a line segment.

// Qt
#include <QList>
#include <QString>

// std
#include <optional>

// Orvane
#include "annotation/CDoublePoint.h"
#include "platform/WinTypes.h"

class CFont;
class CShapeCanvas;

/// One annotation or measurement shape. Points are image pixels of the displayed (turned and
/// flipped) image; Draw and the hit tests take the view's zoom (view pixels per image pixel)
/// and work in view pixels, truncating toward zero. The saved copies hold the points in the
/// unturned, unflipped image. Shapes are owned by whoever holds them (the grid frame's array
/// of std::unique_ptr<CShapeCollection>) and deleted through the virtual destructor.
/// UI thread only.
class CShapeCollection
{
public:
    CShapeCollection();
    CShapeCollection(const CShapeCollection&) = delete;
    CShapeCollection& operator=(const CShapeCollection&) = delete;
    /// Frees the points and texts; the font is borrowed and not deleted.
    virtual ~CShapeCollection();

    /// Draws the shape onto the canvas at `fZoom` (callers pass 0 for the second argument).
    /// The base draws nothing.
    virtual void Draw(CShapeCanvas* pDC, int nUnused, float fZoom);
    /// Moves the shape by a delta (image pixels). The base does nothing.
    virtual void MoveBy(const POINT* pDelta);
    /// Whether the point (image pixels) hits the shape at `fZoom`. The base: FALSE.
    virtual BOOL HitTest(const CDoublePoint* pPt, float fZoom);
    /// Whether the point hits the shape's border. The base: FALSE.
    virtual BOOL HitTestBorder(const CDoublePoint* pPt, float fZoom);
    virtual void SetBoxMode(int nMode);
    virtual int GetBoxMode();
    /// Moves the selected handle (0 start, 1 end, 2 third, 3 fourth, 4 vertex) to `ptNew` and
    /// empties the text, or with any other handle moves the whole shape by `ptDelta` when every
    /// moving point stays inside `rcBounds`. The saved copies follow the new points.
    virtual void DragHandle(CDoublePoint ptNew, CDoublePoint ptDelta, RECT rcBounds);
    /// Selects the handle within 10 view pixels of the point (5 when none).
    virtual void HitTestHandle(CDoublePoint pt, float fZoom);

    /// Sets the start point only, not its saved copy.
    void SetStartPoint(CDoublePoint pt);
    /// Sets the end point and its saved copy (the creators give the end of a second arm this way).
    void SetEndPoint(CDoublePoint pt);
    /// Set one point only, not its saved copy.
    void SetThirdPoint(CDoublePoint pt);
    void SetFourthPoint(CDoublePoint pt);
    void SetVertexPoint(CDoublePoint pt);

    void SetImageKey(const QString& key);
    /// The key (SOP Instance UID) of the image the shape belongs to.
    QString GetImageKey() const;
    void SetTag(const QString& tag);
    /// Borrows the font for the circle's text; a null pointer, or a font object holding no
    /// font, means the canvas's current font.
    void SetTextFont(CFont* pFont);
    /// The drawing area of the view in view pixels; measurement texts are pulled back inside
    /// it. The view calls it before each Draw.
    void SetViewExtent(int cx, int cy);
    /// Measurement scale factor (0.0, and a value that is not finite, is stored as 1.0).
    void SetScale(double scale);
    /// The image's Pixel Spacing in the attribute's order: row spacing (vertical, millimetres
    /// per pixel along y) first, column spacing (horizontal, along x) second. A spacing that is
    /// not known, or not a positive finite value, leaves the measurements in pixels (1.0, 1.0).
    void SetPixelSpacing(BOOL bKnown, double dRowSpacing, double dColumnSpacing);

    /// Turn or flip the points with the image. `cx` and `cy` are the displayed bitmap's width
    /// and height after the operation times the zoom, truncated; the first argument is unused
    /// (callers pass 90). A zoom that is not positive and finite changes nothing.
    void RotateClockwise(int nAngle, int cx, int cy, float fZoom);
    void RotateAntiClockwise(int nAngle, int cx, int cy, float fZoom);
    /// Mirror left to right.
    void FlipHorizontal(int nUnused, int cx, int cy, float fZoom);
    /// Flip top to bottom.
    void FlipVertical(int nUnused, int cx, int cy, float fZoom);
    /// Puts the saved copies back (the points of the unturned, unflipped image); texts are kept.
    void RestoreOriginalPoints();
    /// Computes the saved copies of a shape drawn on a turned or flipped display: the display is
    /// taken as the unturned image mirrored (bMirrored), then flipped (bFlipped), then turned
    /// clockwise by nAngle (0, 90, 180, 270; other multiples of 90 are reduced). `cx`, `cy`:
    /// the displayed bitmap's size times the zoom, truncated.
    void StoreOriginalPoints(int nAngle, BOOL bFlipped, BOOL bMirrored, int cx, int cy, float fZoom);

    /// For the reduced rendering of a large image: every point (start, end, third, fourth,
    /// vertex and the further points) is divided by `dFactor`, and the points as they were are
    /// kept for RestoreReducedPoints, which puts them back exactly. The saved copies are not
    /// touched. A factor that is not positive and finite does nothing; a call while reduced
    /// reduces the kept points again.
    void ReducePoints(double dFactor);
    /// Back from ReducePoints; nothing when the shape is not reduced.
    void RestoreReducedPoints();
    bool IsReduced() const { return m_reducedFrom.has_value(); }

    /// TRUE when the two points are at most 2.0 apart.
    static BOOL ArePointsNear(double x1, double y1, double x2, double y2, float fUnused);
    /// Whether the point hits the segment A-B (all image pixels) at `fZoom`: exact end pixels,
    /// 3 view pixels around near-vertical or near-horizontal segments, 35 pixels around the
    /// slope of others inside their box, and 2 pixels around either end.
    static BOOL HitTestSegment(const CDoublePoint* pA, const CDoublePoint* pB, const CDoublePoint* pPt, float fZoom);

    CDoublePoint GetStartPoint() const { return m_ptStart; }
    CDoublePoint GetEndPoint() const { return m_ptEnd; }
    CDoublePoint GetThirdPoint() const { return m_ptThird; }
    CDoublePoint GetFourthPoint() const { return m_ptFourth; }
    CDoublePoint GetVertexPoint() const { return m_ptVertex; }
    CDoublePoint GetOrigStartPoint() const { return m_ptOrigStart; }
    CDoublePoint GetOrigEndPoint() const { return m_ptOrigEnd; }
    CDoublePoint GetOrigThirdPoint() const { return m_ptOrigThird; }
    CDoublePoint GetOrigFourthPoint() const { return m_ptOrigFourth; }
    CDoublePoint GetOrigVertexPoint() const { return m_ptOrigVertex; }
    /// The further points (the freehand curve), head first.
    const QList<CDoublePoint>& GetPoints() const { return m_listPoints; }
    const QList<CDoublePoint>& GetOrigPoints() const { return m_listOrigPoints; }
    /// The measurement or label text (empty until a measuring shape's first Draw).
    QString GetText() const { return m_strText; }
    QString GetTag() const { return m_strTag; }
    COLORREF GetColor() const { return m_crColor; }
    RECT GetBounds() const { return m_rcBounds; }
    int GetPenWidth() const { return m_nPenWidth; }
    int GetLineWidth() const { return m_nLineWidth; }
    double GetScale() const { return m_dScale; }
    int GetSelectedHandle() const { return m_nSelectedHandle; }
    CFont* GetTextFont() const { return m_pFont; }

    int m_nRenderMode = 1;    ///< drawing mode; what 0 and 1 mean differs by class
    BYTE m_bSpacingKnown = 0; ///< measurements in millimetres or centimetres, else in pixels
    double m_dSpacingX = 1.0; ///< horizontal pixel spacing (column spacing), mm per pixel
    double m_dSpacingY = 1.0; ///< vertical pixel spacing (row spacing), mm per pixel

protected:
    /// Sets start, end and their saved copies, colour, pen width and m_rcBounds (the
    /// normalised box of the truncated points); null arguments leave the defaults.
    void InitPoints(const CDoublePoint* pStart, const CDoublePoint* pEnd, const COLORREF* pColor, const int* pWidth);
    /// Offsets m_rcBounds (the box-like shapes' MoveBy).
    void MoveBoxBy(const POINT* pDelta);
    /// Adds the delta to start and end and offsets m_rcBounds (the line-like shapes' MoveBy).
    void MoveLineBy(const POINT* pDelta);
    /// Draws the two strokes of an arrowhead at `pTo`, pointing away from `pFrom` (view pixels).
    static void DrawArrowHeadStrokes(const POINT* pFrom, const POINT* pTo, CShapeCanvas* pDC);
    /// Whether a whole-shape drag checks the vertex, or the third and fourth point, against
    /// the bounds.
    virtual bool DragChecksVertex() const { return false; }
    virtual bool DragChecksThirdAndFourth() const { return false; }
    /// Sets the saved copy of every point (start, end, third, fourth, vertex, further points)
    /// equal to the point.
    void SaveCurrentPoints();

    QString m_strTag;
    COLORREF m_crColor = 0;
    RECT m_rcBounds{};
    int m_nPenWidth = 0;
    CDoublePoint m_ptStart;
    CDoublePoint m_ptEnd;
    CDoublePoint m_ptThird;
    CDoublePoint m_ptFourth;
    CDoublePoint m_ptOrigStart;
    CDoublePoint m_ptOrigEnd;
    CDoublePoint m_ptOrigVertex;
    CDoublePoint m_ptOrigThird;
    CDoublePoint m_ptOrigFourth;
    QList<CDoublePoint> m_listOrigPoints;
    QString m_strImageKey;
    QString m_strText;
    int m_nBoxMode = 0;
    int m_nViewWidth = 0;
    int m_nViewHeight = 0;
    CDoublePoint m_ptVertex;
    CFont* m_pFont = nullptr;
    int m_nLineWidth = 0;
    double m_dScale = 1.0;
    int m_nSelectedHandle = 4;
    QList<CDoublePoint> m_listPoints;

private:
    template <typename F>
    void ForEachPoint(F f);

    struct Points
    {
        CDoublePoint start, end, third, fourth, vertex;
        QList<CDoublePoint> list;
    };
    Points CurrentPoints() const;
    std::optional<Points> m_reducedFrom;
};
