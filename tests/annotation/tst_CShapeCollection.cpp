// The shape base: turning and flipping points with the image, saved copies and their return,
// segment and handle hit tests, the setters, the reduced-rendering scaling, and one drawing of
// every shape kind through the base class.

// Qt
#include <QtTest>

// std
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

// Orvane
#include "ShapeTestCanvas.h"
#include "annotation/CQtFontMetrics.h"
#include "annotation/CShapeArrowLine.h"
#include "annotation/CShapeBoundRect.h"
#include "annotation/CShapeCircle.h"
#include "annotation/CShapeCobbAngle.h"
#include "annotation/CShapeCollection.h"
#include "annotation/CShapeCurve.h"
#include "annotation/CShapeEllipse.h"
#include "annotation/CShapeLine.h"
#include "annotation/CShapeLineAngle.h"
#include "annotation/CShapeLineLength.h"
#include "annotation/CShapeMarkerL.h"
#include "annotation/CShapeMarkerR.h"
#include "annotation/CShapeMarkerX.h"
#include "annotation/CShapePoint.h"
#include "annotation/CShapeProbe.h"
#include "annotation/CShapeRectangle.h"
#include "annotation/CShapeRectangleSync.h"
#include "annotation/CShapeText.h"
#include "annotation/CShapeThoracicRatio.h"
#include "platform/Gdi.h"

namespace QTest {
template <>
char* toString(const CDoublePoint& p)
{
    return qstrdup(QByteArray::number(p.x, 'g', 17) + ", " + QByteArray::number(p.y, 'g', 17));
}
} // namespace QTest

namespace {

QString Describe(CDoublePoint p)
{
    return QString::number(p.x, 'g', 17) + QStringLiteral(", ") + QString::number(p.y, 'g', 17);
}

bool Near(CDoublePoint a, CDoublePoint b)
{
    return std::fabs(a.x - b.x) < 1e-9 && std::fabs(a.y - b.y) < 1e-9;
}

enum Operation { Clockwise, AntiClockwise, Mirror, Flip };

// A shape with every kind of point: start, end, third, fourth, vertex and further points.
std::unique_ptr<CShapeCurve> ShapeWithAllPoints(const QList<CDoublePoint>& p)
{
    const COLORREF colour = RGB(0, 255, 0);
    const int width = 1;
    auto shape = std::make_unique<CShapeCurve>(&p[0], &p[1], &colour, &width);
    shape->SetThirdPoint(p[2]);
    shape->SetFourthPoint(p[3]);
    shape->SetVertexPoint(p[4]);
    shape->AddPoint(&p[5]);
    // Drawn on an unturned image: the saved copies are the points.
    shape->StoreOriginalPoints(0, FALSE, FALSE, 0, 0, 1.0f);
    return shape;
}

QList<CDoublePoint> AllPoints(const CShapeCollection& s)
{
    QList<CDoublePoint> out{s.GetStartPoint(), s.GetEndPoint(), s.GetThirdPoint(), s.GetFourthPoint(), s.GetVertexPoint()};
    out += s.GetPoints();
    return out;
}

QList<CDoublePoint> AllSavedPoints(const CShapeCollection& s)
{
    QList<CDoublePoint> out{s.GetOrigStartPoint(), s.GetOrigEndPoint(), s.GetOrigThirdPoint(), s.GetOrigFourthPoint(),
                            s.GetOrigVertexPoint()};
    out += s.GetOrigPoints();
    return out;
}

} // namespace

Q_DECLARE_METATYPE(CDoublePoint)

class tst_CShapeCollection : public QObject
{
    Q_OBJECT

private slots:
    void turnsAndFlipsPoints_data();
    void turnsAndFlipsPoints();
    void fourTurnsAndTwoFlipsReturn();
    void zeroZoomLeavesPoints();
    void savedCopyOfTurnedDisplay();
    void storeOriginalPointsRoundTrips_data();
    void storeOriginalPointsRoundTrips();
    void resetAfterTwoTurnsGivesConstructorPoints();
    void hitTestSegment_data();
    void hitTestSegment();
    void hitTestHandleExcludesRightEdge();
    void dragHandleMovesPointAndSavedCopy();
    void dragWholeShapeStaysInBounds();
    void setScale_data();
    void setScale();
    void pixelSpacingRowFirst_data();
    void pixelSpacingRowFirst();
    void settersKeepSavedCopies();
    void reducedPointsReturnExactly();
    void drawsEveryShapeThroughTheBase();
};

void tst_CShapeCollection::turnsAndFlipsPoints_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("width");  // bitmap before the operation, image pixels
    QTest::addColumn<int>("height");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<CDoublePoint>("point");
    QTest::addColumn<CDoublePoint>("expected");

    const CDoublePoint p(50.0, 20.0);
    // 300 x 200 at zoom 1: the top-left region goes to the top right when turned clockwise.
    QTest::newRow("clockwise 300x200 z1") << int(Clockwise) << 300 << 200 << 1.0f << p << CDoublePoint(180.0, 50.0);
    QTest::newRow("anticlockwise 300x200 z1") << int(AntiClockwise) << 300 << 200 << 1.0f << p << CDoublePoint(20.0, 250.0);
    QTest::newRow("mirror 300x200 z1") << int(Mirror) << 300 << 200 << 1.0f << p << CDoublePoint(250.0, 20.0);
    QTest::newRow("flip 300x200 z1") << int(Flip) << 300 << 200 << 1.0f << p << CDoublePoint(50.0, 180.0);
    // The same image points at zoom 2 and 0.5.
    QTest::newRow("clockwise 300x200 z2") << int(Clockwise) << 300 << 200 << 2.0f << p << CDoublePoint(180.0, 50.0);
    QTest::newRow("anticlockwise 300x200 z0.5") << int(AntiClockwise) << 300 << 200 << 0.5f << p << CDoublePoint(20.0, 250.0);
    QTest::newRow("mirror 512x256 z0.5") << int(Mirror) << 512 << 256 << 0.5f << p << CDoublePoint(462.0, 20.0);
    QTest::newRow("flip 512x256 z2") << int(Flip) << 512 << 256 << 2.0f << p << CDoublePoint(50.0, 236.0);
    // 301 x 201 at zoom 1.5: the zoomed extent is truncated (301.5 -> 301, 451.5 -> 451).
    QTest::newRow("clockwise 301x201 z1.5") << int(Clockwise) << 301 << 201 << 1.5f << p
                                            << CDoublePoint((301 - 1.5 * 20) / 1.5, 50.0);
    QTest::newRow("anticlockwise 301x201 z1.5") << int(AntiClockwise) << 301 << 201 << 1.5f << p
                                                << CDoublePoint(20.0, (451 - 1.5 * 50) / 1.5);
    QTest::newRow("mirror 301x201 z1.5") << int(Mirror) << 301 << 201 << 1.5f << p << CDoublePoint((451 - 75) / 1.5, 20.0);
    QTest::newRow("flip 301x201 z1.5") << int(Flip) << 301 << 201 << 1.5f << p << CDoublePoint(50.0, (301 - 30) / 1.5);
}

void tst_CShapeCollection::turnsAndFlipsPoints()
{
    QFETCH(int, operation);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(float, zoom);
    QFETCH(CDoublePoint, point);
    QFETCH(CDoublePoint, expected);

    auto shape = ShapeWithAllPoints({point, point, point, point, point, point});
    const bool turn = operation == Clockwise || operation == AntiClockwise;
    // Extent of the displayed bitmap after the operation, zoomed and truncated.
    const int cx = int((turn ? height : width) * zoom);
    const int cy = int((turn ? width : height) * zoom);
    switch (operation) {
    case Clockwise: shape->RotateClockwise(90, cx, cy, zoom); break;
    case AntiClockwise: shape->RotateAntiClockwise(90, cx, cy, zoom); break;
    case Mirror: shape->FlipHorizontal(90, cx, cy, zoom); break;
    case Flip: shape->FlipVertical(90, cx, cy, zoom); break;
    }
    for (const CDoublePoint& p : AllPoints(*shape))
        QVERIFY2(Near(p, expected), qPrintable(Describe(p)));
    // Saved copies and texts stay.
    for (const CDoublePoint& p : AllSavedPoints(*shape))
        QCOMPARE(p, point);
}

void tst_CShapeCollection::fourTurnsAndTwoFlipsReturn()
{
    const CDoublePoint p(37.25, 12.5);
    auto shape = ShapeWithAllPoints({p, p, p, p, p, p});
    const float z = 2.0f;
    const int w = 300, h = 200;
    for (int i = 0; i < 4; ++i) {
        const bool sideways = i % 2 == 0; // after turns 1 and 3 the bitmap stands
        shape->RotateClockwise(90, int((sideways ? h : w) * z), int((sideways ? w : h) * z), z);
    }
    shape->FlipHorizontal(90, int(w * z), int(h * z), z);
    shape->FlipHorizontal(90, int(w * z), int(h * z), z);
    shape->FlipVertical(90, int(w * z), int(h * z), z);
    shape->FlipVertical(90, int(w * z), int(h * z), z);
    shape->RotateAntiClockwise(90, int(h * z), int(w * z), z);
    shape->RotateClockwise(90, int(w * z), int(h * z), z);
    for (const CDoublePoint& q : AllPoints(*shape))
        QCOMPARE(q, p);
}

void tst_CShapeCollection::zeroZoomLeavesPoints()
{
    const CDoublePoint p(10.0, 20.0);
    auto shape = ShapeWithAllPoints({p, p, p, p, p, p});
    shape->RotateClockwise(90, 0, 0, 0.0f);
    shape->RotateAntiClockwise(90, 0, 0, 0.0f);
    shape->FlipHorizontal(90, 0, 0, 0.0f);
    shape->FlipVertical(90, 0, 0, std::nanf(""));
    shape->StoreOriginalPoints(90, TRUE, TRUE, 0, 0, 0.0f);
    for (const CDoublePoint& q : AllPoints(*shape) + AllSavedPoints(*shape))
        QCOMPARE(q, p);
}

void tst_CShapeCollection::savedCopyOfTurnedDisplay()
{
    // A 300 x 200 image turned clockwise once shows 200 wide and 300 high; a point drawn at
    // (50, 20) on the display lies at (20, 150) in the unturned image.
    const CDoublePoint p(50.0, 20.0);
    auto shape = ShapeWithAllPoints({p, p, p, p, p, p});
    shape->StoreOriginalPoints(90, FALSE, FALSE, 200, 300, 1.0f);
    for (const CDoublePoint& q : AllSavedPoints(*shape))
        QCOMPARE(q, CDoublePoint(20.0, 150.0));
    shape->RestoreOriginalPoints();
    for (const CDoublePoint& q : AllPoints(*shape))
        QCOMPARE(q, CDoublePoint(20.0, 150.0));
}

void tst_CShapeCollection::storeOriginalPointsRoundTrips_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<bool>("flipped");
    QTest::addColumn<bool>("mirrored");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<float>("zoom");
    for (const float zoom : {1.0f, 2.0f, 0.5f})
        for (const int angle : {0, 90, 180, 270})
            for (const bool flipped : {false, true})
                for (const bool mirrored : {false, true})
                    QTest::addRow("%d%s%s z%g", angle, flipped ? " flipped" : "", mirrored ? " mirrored" : "",
                                  double(zoom))
                        << angle << flipped << mirrored << 300 << 200 << zoom;
    QTest::newRow("odd size 90 flipped z1") << 90 << true << false << 301 << 199 << 1.0f;
    QTest::newRow("odd size 270 mirrored z2") << 270 << false << true << 301 << 199 << 2.0f;
}

void tst_CShapeCollection::storeOriginalPointsRoundTrips()
{
    // The image is mirrored, flipped and turned as the view does; a shape is then drawn on the
    // display where its unturned points show. Its saved copies must be those unturned points,
    // and a reset must bring them back.
    QFETCH(int, angle);
    QFETCH(bool, flipped);
    QFETCH(bool, mirrored);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(float, zoom);
    const QList<CDoublePoint> original{{10.0, 20.0}, {250.0, 150.0}, {0.0, 0.0}, {299.0, 199.0}, {123.5, 45.25}, {7.0, 190.0}};

    auto follower = ShapeWithAllPoints(original);
    const int zw = int(width * zoom), zh = int(height * zoom);
    if (mirrored)
        follower->FlipHorizontal(90, zw, zh, zoom);
    if (flipped)
        follower->FlipVertical(90, zw, zh, zoom);
    for (int turn = 1; turn <= angle / 90; ++turn) {
        const bool sideways = turn % 2 == 1;
        follower->RotateClockwise(90, sideways ? zh : zw, sideways ? zw : zh, zoom);
    }
    const bool sideways = angle == 90 || angle == 270;
    const QList<CDoublePoint> display = AllPoints(*follower);

    auto drawn = ShapeWithAllPoints(display.mid(0, 6));
    QCOMPARE(AllPoints(*drawn), display);
    drawn->StoreOriginalPoints(angle, flipped, mirrored, sideways ? zh : zw, sideways ? zw : zh, zoom);
    const QList<CDoublePoint> expected = AllPoints(*ShapeWithAllPoints(original));
    QList<CDoublePoint> saved = AllSavedPoints(*drawn);
    // The further points are saved in reverse order (the same polyline).
    std::reverse(saved.begin() + 5, saved.end());
    QCOMPARE(saved.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(Near(saved[i], expected[i]), qPrintable(QStringLiteral("point %1: %2").arg(i).arg(Describe(saved[i]))));

    drawn->RestoreOriginalPoints();
    const QList<CDoublePoint> restored = AllPoints(*drawn);
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(Near(restored[i], expected[i]), qPrintable(QStringLiteral("restored %1").arg(i)));
}

void tst_CShapeCollection::resetAfterTwoTurnsGivesConstructorPoints()
{
    const COLORREF colour = RGB(0, 255, 0);
    const int width = 1;
    const CDoublePoint a(12.5, 30.0), b(140.0, 90.75);
    CShapeArrowLine arrow(&a, &b, &colour, &width);
    arrow.RotateClockwise(90, 200, 300, 1.0f);
    arrow.RotateClockwise(90, 300, 200, 1.0f);
    QVERIFY(arrow.GetStartPoint() != a);
    arrow.RestoreOriginalPoints();
    QCOMPARE(arrow.GetStartPoint(), a);
    QCOMPARE(arrow.GetEndPoint(), b);
}

void tst_CShapeCollection::hitTestSegment_data()
{
    QTest::addColumn<CDoublePoint>("a");
    QTest::addColumn<CDoublePoint>("b");
    QTest::addColumn<CDoublePoint>("p");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<bool>("hit");

    const CDoublePoint v0(10, 10), v1(10, 100);
    QTest::newRow("vertical 2 right") << v0 << v1 << CDoublePoint(12, 50) << 1.0f << true;
    QTest::newRow("vertical 3 right") << v0 << v1 << CDoublePoint(13, 50) << 1.0f << true;
    QTest::newRow("vertical 4 right") << v0 << v1 << CDoublePoint(14, 50) << 1.0f << false;
    QTest::newRow("vertical 3 left") << v0 << v1 << CDoublePoint(7, 50) << 1.0f << true;
    QTest::newRow("vertical past end, near it") << v0 << v1 << CDoublePoint(10, 101) << 1.0f << true;
    QTest::newRow("vertical past end, far") << v0 << v1 << CDoublePoint(10, 103) << 1.0f << false;
    QTest::newRow("vertical zoom 2 inside") << v0 << v1 << CDoublePoint(11, 50) << 2.0f << true;
    QTest::newRow("vertical zoom 2 outside") << v0 << v1 << CDoublePoint(12, 50) << 2.0f << false;

    const CDoublePoint h0(10, 10), h1(100, 10);
    QTest::newRow("horizontal 3 below") << h0 << h1 << CDoublePoint(50, 13) << 1.0f << true;
    QTest::newRow("horizontal 4 below") << h0 << h1 << CDoublePoint(50, 14) << 1.0f << false;
    QTest::newRow("horizontal past end, near") << h0 << h1 << CDoublePoint(101, 10) << 1.0f << true;
    QTest::newRow("horizontal past end, far") << h0 << h1 << CDoublePoint(104, 10) << 1.0f << false;

    const CDoublePoint s0(0, 0), s1(100, 50);
    QTest::newRow("sloped on the line") << s0 << s1 << CDoublePoint(50, 25) << 1.0f << true;
    QTest::newRow("sloped within 35") << s0 << s1 << CDoublePoint(50, 40) << 1.0f << true;
    QTest::newRow("sloped reversed within 35") << s1 << s0 << CDoublePoint(50, 40) << 1.0f << true;
    QTest::newRow("sloped too far") << s0 << s1 << CDoublePoint(50, 0) << 1.0f << false;
    QTest::newRow("sloped end pixel") << s0 << s1 << CDoublePoint(100, 50) << 1.0f << true;
    QTest::newRow("sloped past end, near") << s0 << s1 << CDoublePoint(101, 51) << 1.0f << true;
    QTest::newRow("sloped before start, near") << s0 << s1 << CDoublePoint(-1, -1) << 1.0f << true;
    QTest::newRow("sloped outside its box") << s0 << s1 << CDoublePoint(150, 75) << 1.0f << false;
    QTest::newRow("single point") << s0 << s0 << CDoublePoint(1, 1) << 1.0f << true;
}

void tst_CShapeCollection::hitTestSegment()
{
    QFETCH(CDoublePoint, a);
    QFETCH(CDoublePoint, b);
    QFETCH(CDoublePoint, p);
    QFETCH(float, zoom);
    QFETCH(bool, hit);
    QCOMPARE(bool(CShapeCollection::HitTestSegment(&a, &b, &p, zoom)), hit);
    QCOMPARE(bool(CShapeCollection::HitTestSegment(&a, &b, nullptr, zoom)), false);
}

void tst_CShapeCollection::hitTestHandleExcludesRightEdge()
{
    CShapeCollection shape;
    shape.SetStartPoint(CDoublePoint(50, 50));
    shape.SetEndPoint(CDoublePoint(200, 200));
    shape.SetThirdPoint(CDoublePoint(400, 50));
    shape.SetFourthPoint(CDoublePoint(50, 400));
    shape.SetVertexPoint(CDoublePoint(300, 300));
    QCOMPARE(shape.GetSelectedHandle(), 4);
    shape.HitTestHandle(CDoublePoint(59, 50), 1.0f);
    QCOMPARE(shape.GetSelectedHandle(), 0);
    shape.HitTestHandle(CDoublePoint(60, 50), 1.0f); // 10 pixels right: outside the box
    QCOMPARE(shape.GetSelectedHandle(), 5);
    shape.HitTestHandle(CDoublePoint(200, 191), 1.0f);
    QCOMPARE(shape.GetSelectedHandle(), 1);
    shape.HitTestHandle(CDoublePoint(150, 150), 2.0f); // (300, 300) in view pixels: the vertex's box is at (600, 600)
    QCOMPARE(shape.GetSelectedHandle(), 5);
    shape.HitTestHandle(CDoublePoint(25, 200), 2.0f); // (50, 400) zoomed: the fourth point's box is at (100, 800)
    QCOMPARE(shape.GetSelectedHandle(), 5);
    shape.HitTestHandle(CDoublePoint(25, 200), 1.0f);
    QCOMPARE(shape.GetSelectedHandle(), 5);
    shape.HitTestHandle(CDoublePoint(52, 395), 1.0f);
    QCOMPARE(shape.GetSelectedHandle(), 3);
}

void tst_CShapeCollection::dragHandleMovesPointAndSavedCopy()
{
    const COLORREF colour = RGB(0, 255, 0);
    const int width = 1;
    const CDoublePoint a(0, 0), b(60, 80);
    CShapeLineLength length(&a, &b, &colour, &width);
    ShapeTestSurface s;
    length.Draw(s.canvas, 0, 1.0f);
    QCOMPARE(length.GetText(), QStringLiteral("100.00 Pixel"));
    length.HitTestHandle(b, 1.0f);
    QCOMPARE(length.GetSelectedHandle(), 1);
    length.DragHandle(CDoublePoint(30, 40), CDoublePoint(-30, -40), RECT{0, 0, 500, 500});
    QCOMPARE(length.GetEndPoint(), CDoublePoint(30, 40));
    QCOMPARE(length.GetOrigEndPoint(), CDoublePoint(30, 40));
    QVERIFY(length.GetText().isEmpty());
    length.Draw(s.canvas, 0, 1.0f);
    QCOMPARE(length.GetText(), QStringLiteral("50.00 Pixel"));
}

void tst_CShapeCollection::dragWholeShapeStaysInBounds()
{
    const COLORREF colour = RGB(0, 255, 0);
    const int width = 1;
    const CDoublePoint a(10, 10), v(50, 10);
    CShapeLineAngle angle(&a, &v, &colour, &width);
    angle.SetEndPoint(CDoublePoint(50, 60));
    angle.HitTestHandle(CDoublePoint(300, 300), 1.0f);
    QCOMPARE(angle.GetSelectedHandle(), 5);
    angle.DragHandle(CDoublePoint(), CDoublePoint(5, 5), RECT{0, 0, 100, 100});
    QCOMPARE(angle.GetStartPoint(), CDoublePoint(15, 15));
    QCOMPARE(angle.GetVertexPoint(), CDoublePoint(55, 15));
    QCOMPARE(angle.GetOrigVertexPoint(), CDoublePoint(55, 15));
    // The vertex would leave the bounds: nothing moves.
    angle.DragHandle(CDoublePoint(), CDoublePoint(45, 0), RECT{0, 0, 100, 100});
    QCOMPARE(angle.GetStartPoint(), CDoublePoint(15, 15));
    QCOMPARE(angle.GetVertexPoint(), CDoublePoint(55, 15));
}

void tst_CShapeCollection::setScale_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("stored");
    QTest::newRow("zero") << 0.0 << 1.0;
    QTest::newRow("other") << 2.5 << 2.5;
    QTest::newRow("negative") << -0.5 << -0.5;
    QTest::newRow("infinite") << HUGE_VAL << 1.0;
    QTest::newRow("nan") << std::nan("") << 1.0;
}

void tst_CShapeCollection::setScale()
{
    QFETCH(double, scale);
    QFETCH(double, stored);
    CShapeCollection shape;
    shape.SetScale(scale);
    QCOMPARE(shape.GetScale(), stored);
}

void tst_CShapeCollection::pixelSpacingRowFirst_data()
{
    QTest::addColumn<bool>("known");
    QTest::addColumn<double>("row");
    QTest::addColumn<double>("column");
    QTest::addColumn<bool>("storedKnown");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::newRow("row spacing is vertical") << true << 0.5 << 0.25 << true << 0.25 << 0.5;
    QTest::newRow("unknown") << false << 0.5 << 0.25 << false << 1.0 << 1.0;
    QTest::newRow("zero") << true << 0.0 << 0.25 << false << 1.0 << 1.0;
    QTest::newRow("negative") << true << 0.5 << -0.25 << false << 1.0 << 1.0;
    QTest::newRow("nan") << true << std::nan("") << 0.25 << false << 1.0 << 1.0;
}

void tst_CShapeCollection::pixelSpacingRowFirst()
{
    QFETCH(bool, known);
    QFETCH(double, row);
    QFETCH(double, column);
    QFETCH(bool, storedKnown);
    QFETCH(double, x);
    QFETCH(double, y);
    CShapeCollection shape;
    shape.SetPixelSpacing(known, row, column);
    QCOMPARE(bool(shape.m_bSpacingKnown), storedKnown);
    QCOMPARE(shape.m_dSpacingX, x);
    QCOMPARE(shape.m_dSpacingY, y);
}

void tst_CShapeCollection::settersKeepSavedCopies()
{
    CShapeCollection shape;
    const CDoublePoint p(3.0, 4.0);
    shape.SetStartPoint(p);
    shape.SetThirdPoint(p);
    shape.SetFourthPoint(p);
    shape.SetVertexPoint(p);
    for (const CDoublePoint& q : {shape.GetStartPoint(), shape.GetThirdPoint(), shape.GetFourthPoint(), shape.GetVertexPoint()})
        QCOMPARE(q, p);
    for (const CDoublePoint& q : {shape.GetOrigStartPoint(), shape.GetOrigThirdPoint(), shape.GetOrigFourthPoint(),
                                  shape.GetOrigVertexPoint()})
        QCOMPARE(q, CDoublePoint());
    // The end's setter gives a creator the end of a second arm with its saved copy.
    shape.SetEndPoint(p);
    QCOMPARE(shape.GetOrigEndPoint(), p);
}

void tst_CShapeCollection::reducedPointsReturnExactly()
{
    const QList<CDoublePoint> original{{100.3, 200.7}, {733.1, 512.9}, {1.1, 2.2}, {3.3, 4.4}, {5.5, 6.6}, {7.7, 8.8}};
    auto shape = ShapeWithAllPoints(original);
    shape->StoreOriginalPoints(90, FALSE, TRUE, 1024, 1024, 1.0f);
    const QList<CDoublePoint> saved = AllSavedPoints(*shape);
    const QList<CDoublePoint> before = AllPoints(*shape);

    const double s = 1024 * 0.0016666666666666668;
    shape->ReducePoints(s);
    QVERIFY(shape->IsReduced());
    const QList<CDoublePoint> reduced = AllPoints(*shape);
    for (int i = 0; i < before.size(); ++i)
        QVERIFY(Near(reduced[i], CDoublePoint(before[i].x / s, before[i].y / s)));
    QCOMPARE(AllSavedPoints(*shape), saved);
    shape->ReducePoints(s); // pressing again while reduced keeps the factor's meaning
    QVERIFY(Near(AllPoints(*shape)[0], CDoublePoint(before[0].x / s, before[0].y / s)));

    shape->RestoreReducedPoints();
    QVERIFY(!shape->IsReduced());
    QCOMPARE(AllPoints(*shape), before);
    QCOMPARE(AllSavedPoints(*shape), saved);
    shape->RestoreReducedPoints();
    QCOMPARE(AllPoints(*shape), before);
    shape->ReducePoints(0.0);
    QVERIFY(!shape->IsReduced());
}

void tst_CShapeCollection::drawsEveryShapeThroughTheBase()
{
    // One shape of each kind on a grey image, drawn through the base class as the view does,
    // with the installed fonts; saved for a person to look at.
    const COLORREF green = RGB(0, 255, 0), yellow = RGB(255, 255, 0), cyan = RGB(0, 255, 255);
    const int one = 1;
    std::vector<std::unique_ptr<CShapeCollection>> shapes;
    const auto pts = [](double x0, double y0, double x1, double y1) {
        return std::make_pair(CDoublePoint(x0, y0), CDoublePoint(x1, y1));
    };
    {
        auto [a, b] = pts(20, 20, 140, 60);
        shapes.push_back(std::make_unique<CShapeArrowLine>(&a, &b, &green, &one));
    }
    {
        auto [a, b] = pts(20, 80, 140, 70);
        shapes.push_back(std::make_unique<CShapeLine>(&a, &b, &green, &one));
    }
    {
        auto [a, b] = pts(20, 110, 120, 150);
        auto length = std::make_unique<CShapeLineLength>(&a, &b, &green, &one);
        length->SetPixelSpacing(TRUE, 0.5, 0.5);
        shapes.push_back(std::move(length));
    }
    {
        auto [a, v] = pts(200, 40, 200, 110);
        auto angle = std::make_unique<CShapeLineAngle>(&a, &v, &yellow, &one);
        angle->SetEndPoint(CDoublePoint(270, 110));
        shapes.push_back(std::move(angle));
    }
    {
        auto [a, v] = pts(300, 40, 300, 110);
        auto angle = std::make_unique<CShapeLineAngle>(&a, &v, &green, &one);
        angle->SetEndPoint(CDoublePoint(360, 60));
        angle->m_nRenderMode = 0;
        shapes.push_back(std::move(angle));
    }
    {
        const CDoublePoint p0(400, 30), p1(500, 50), p2(400, 110), p3(500, 80);
        auto cobb = std::make_unique<CShapeCobbAngle>(&p0, &p1, &p2, &p3, &cyan, &one);
        cobb->SetStage(1);
        shapes.push_back(std::move(cobb));
    }
    {
        auto [a, b] = pts(30, 190, 110, 260);
        auto circle = std::make_unique<CShapeCircle>(&a, &b, &green, &one);
        circle->m_nRenderMode = 0;
        circle->SetPixelSpacing(TRUE, 0.3, 0.3);
        shapes.push_back(std::move(circle));
    }
    {
        auto [a, b] = pts(140, 200, 280, 270);
        auto ellipse = std::make_unique<CShapeEllipse>(&a, &b, &green, &one);
        ellipse->m_nRenderMode = 0;
        shapes.push_back(std::move(ellipse));
    }
    {
        auto [a, b] = pts(300, 170, 420, 240);
        shapes.push_back(std::make_unique<CShapeText>(&a, &b, nullptr, QStringLiteral("Lesion & margin, see report"), yellow));
    }
    {
        auto [a, b] = pts(470, 200, 470, 200);
        auto probe = std::make_unique<CShapeProbe>(&a, &b, &cyan, 0, QStringLiteral("1024"));
        probe->SetViewExtent(520, 320);
        shapes.push_back(std::move(probe));
    }
    {
        auto [a, b] = pts(30, 290, 60, 300);
        auto curve = std::make_unique<CShapeCurve>(&a, &b, &green, &one);
        for (int i = 0; i < 12; ++i) {
            const CDoublePoint p(60.0 + i * 8, 300 + 10 * std::sin(i));
            curve->AddPoint(&p);
        }
        shapes.push_back(std::move(curve));
    }
    {
        auto [a, b] = pts(200, 285, 280, 310);
        shapes.push_back(std::make_unique<CShapeRectangle>(&a, &b, &yellow, &one));
    }
    {
        auto bound = std::make_unique<CShapeBoundRect>();
        bound->MoveBy(nullptr);
        shapes.push_back(std::move(bound));
    }
    shapes.push_back(std::make_unique<CShapeRectangleSync>());
    shapes.push_back(std::make_unique<CShapeMarkerX>());
    shapes.push_back(std::make_unique<CShapeMarkerR>());
    shapes.push_back(std::make_unique<CShapeMarkerL>());
    shapes.push_back(std::make_unique<CShapePoint>());
    {
        auto ratio = std::make_unique<CShapeThoracicRatio>();
        const CDoublePoint a(320, 280), b(500, 310);
        ratio->m_pChildShapes[1] = std::make_unique<CShapeRectangle>(&a, &b, &cyan, &one);
        shapes.push_back(std::move(ratio));
    }

    QImage image(520, 320, QImage::Format_RGB32);
    image.fill(QColor(128, 128, 128));
    QPainter painter(&image);
    painter.setFont(Gdi::Font(QStringLiteral("MS Sans Serif"), 13));
    CQtFontMetrics metrics;
    CShapeCanvas canvas(painter, &image, metrics);
    for (const auto& shape : shapes) {
        shape->SetViewExtent(image.width(), image.height());
        shape->Draw(&canvas, 0, 1.0f);
    }
    painter.end();

    // Each shape that draws changes pixels where it lies.
    const auto changed = [&](QRect r) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (image.pixel(x, y) != qRgb(128, 128, 128))
                    return true;
        return false;
    };
    QVERIFY(changed(QRect(20, 20, 120, 40)));   // arrow
    QVERIFY(changed(QRect(20, 70, 120, 10)));   // line
    QVERIFY(changed(QRect(20, 110, 100, 40)));  // length
    QVERIFY(changed(QRect(200, 40, 70, 70)));   // angles
    QVERIFY(changed(QRect(400, 30, 100, 80)));  // Cobb
    QVERIFY(changed(QRect(30, 190, 70, 70)));   // circle
    QVERIFY(changed(QRect(140, 200, 140, 70))); // ellipse
    QVERIFY(changed(QRect(300, 170, 120, 70))); // text
    QVERIFY(changed(QRect(460, 190, 20, 20)));  // probe cross
    QVERIFY(changed(QRect(30, 290, 150, 20)));  // curve
    QVERIFY(changed(QRect(200, 285, 80, 25)));  // rectangle
    QVERIFY(changed(QRect(320, 280, 180, 30))); // composite's child
    QCOMPARE(shapes[2]->GetText(), QStringLiteral("5.39 cm"));

    const QByteArray folder = qgetenv("ORVANE_TEST_OUTPUT");
    const QString path = (folder.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(folder)) + QStringLiteral("/shapes.png");
    QVERIFY(image.save(path));
    qInfo("shapes drawn to %s", qPrintable(path));
}

QTEST_MAIN(tst_CShapeCollection)
#include "tst_CShapeCollection.moc"
