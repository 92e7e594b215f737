// The freehand curve: its polyline, hits along distinct points, the copy made at release, and
// its return to the saved points.

// Qt
#include <QtTest>

// Orvane
#include "ShapeTestCanvas.h"
#include "annotation/CShapeCurve.h"

namespace QTest {
template <>
char* toString(const CDoublePoint& p)
{
    return qstrdup(QByteArray::number(p.x, 'g', 17) + ", " + QByteArray::number(p.y, 'g', 17));
}
} // namespace QTest

namespace {
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kGrey = RGB(128, 128, 128);
const int kOne = 1;
} // namespace

class tst_CShapeCurve : public QObject
{
    Q_OBJECT

private slots:
    void skipsRepeatedPointsInHitTest();
    void singlePointIsNeverHit();
    void addPointGrowsBounds();
    void copyReversesPoints();
    void resetGivesSamePolyline();
    void drawsPolylineWithPen();
};

void tst_CShapeCurve::skipsRepeatedPointsInHitTest()
{
    const CDoublePoint a(10, 10), b(100, 10);
    CShapeCurve curve(&a, &a, &kGreen, &kOne); // A, A
    curve.AddPoint(&b);                         // B, A, A
    const CDoublePoint onSegment(50, 11), away(50, 30);
    QVERIFY(curve.HitTest(&onSegment, 1.0f));
    QVERIFY(!curve.HitTest(&away, 1.0f));
}

void tst_CShapeCurve::singlePointIsNeverHit()
{
    const CDoublePoint a(10, 10);
    CShapeCurve curve(&a, &a, &kGreen, &kOne);
    QVERIFY(!curve.HitTest(&a, 1.0f));
    CShapeCurve empty;
    QVERIFY(!empty.HitTest(&a, 1.0f));
}

void tst_CShapeCurve::addPointGrowsBounds()
{
    const CDoublePoint a(10, 10), b(20, 30);
    CShapeCurve curve(&a, &b, &kGreen, &kOne);
    QCOMPARE(curve.GetBounds(), (RECT{10, 10, 20, 30}));
    const CDoublePoint c(5.7, 40.9), d(15, 20);
    curve.AddPoint(&c);
    curve.AddPoint(&d);
    QCOMPARE(curve.GetBounds(), (RECT{5, 10, 20, 40}));
    QCOMPARE(curve.GetPoints().size(), 4);
    QCOMPARE(curve.GetPoints().front(), d);
}

void tst_CShapeCurve::copyReversesPoints()
{
    const CDoublePoint a(1.5, 2.5), b(3.5, 4.5), c(5.5, 6.5);
    CShapeCurve drawn(&a, &b, &kGreen, &kOne); // A, B
    drawn.AddPoint(&c);                         // C, A, B
    CShapeCurve finished;
    finished.CopyFrom(&drawn);
    QCOMPARE(finished.GetStartPoint(), a);
    QCOMPARE(finished.GetEndPoint(), b);
    QCOMPARE(finished.GetColor(), kGreen);
    QCOMPARE(finished.GetPenWidth(), 1);
    QCOMPARE(finished.GetPoints(), (QList<CDoublePoint>{b, a, c}));
    // Saved copies: the first point as it is, the later ones in whole pixels.
    QCOMPARE(finished.GetOrigPoints(), (QList<CDoublePoint>{CDoublePoint(3, 4), CDoublePoint(1, 2), c}));
    // Put back, the saved points come in reverse order: the same polyline.
    finished.RestoreOriginalPoints();
    QCOMPARE(finished.GetPoints(), (QList<CDoublePoint>{c, CDoublePoint(1, 2), CDoublePoint(3, 4)}));
}

void tst_CShapeCurve::resetGivesSamePolyline()
{
    const CDoublePoint a(10, 10), b(60, 15);
    CShapeCurve curve(&a, &b, &kGreen, &kOne);
    const CDoublePoint c(30, 70);
    curve.AddPoint(&c);
    curve.StoreOriginalPoints(0, FALSE, FALSE, 100, 100, 1.0f);
    ShapeTestSurface before(100, 100), after(100, 100);
    curve.Draw(before.canvas, 0, 1.0f);
    curve.RotateClockwise(90, 100, 100, 1.0f);
    curve.RestoreOriginalPoints();
    QCOMPARE(curve.GetPoints().size(), 3);
    curve.Draw(after.canvas, 0, 1.0f);
    // The same polyline (only which end pixel a LineTo leaves out could differ).
    before.Finish().setPixel(10, 10, qRgb(128, 128, 128));
    after.Finish().setPixel(10, 10, qRgb(128, 128, 128));
    before.Finish().setPixel(60, 15, qRgb(128, 128, 128));
    after.Finish().setPixel(60, 15, qRgb(128, 128, 128));
    QCOMPARE(after.Finish(), before.Finish());
}

void tst_CShapeCurve::drawsPolylineWithPen()
{
    const CDoublePoint a(10, 10), b(40, 10);
    CShapeCurve curve(&a, &b, &kGreen, &kOne);
    ShapeTestSurface s(100, 100);
    curve.Draw(s.canvas, 0, 2.0f);
    QCOMPARE(s.Pixel(20, 20), kGreen);
    QCOMPARE(s.Pixel(79, 20), kGreen);
    QCOMPARE(s.Pixel(80, 20), kGrey);
    QCOMPARE(s.CountChanged(kGrey), 60);
}

QTEST_MAIN(tst_CShapeCurve)
#include "tst_CShapeCurve.moc"
