// The arrow line and the plain line: anti-aliased line, arrowhead strokes, box mode, hits.

// Qt
#include <QtTest>

// Orvane
#include "ShapeTestCanvas.h"
#include "annotation/CShapeArrowLine.h"
#include "annotation/CShapeLine.h"

namespace {
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kGrey = RGB(128, 128, 128);
const int kOne = 1;
} // namespace

class tst_CShapeArrowLine : public QObject
{
    Q_OBJECT

private slots:
    void drawsLineAndHead();
    void boxModeLeavesHeadOut();
    void plainLineIsRed();
    void hitsAlongTheWholeLine_data();
    void hitsAlongTheWholeLine();
    void movesWithItsBox();
};

void tst_CShapeArrowLine::drawsLineAndHead()
{
    // Tip at (20, 40) pointing down: strokes (25, 35) -> tip -> (15, 35), the last point left out.
    const CDoublePoint a(10, 5), b(10, 20);
    CShapeArrowLine arrow(&a, &b, &kGreen, &kOne);
    ShapeTestSurface s(60, 60);
    arrow.Draw(s.canvas, 0, 2.0f);
    for (int y = 10; y <= 40; ++y)
        QCOMPARE(s.Pixel(20, y), kGreen);
    for (int i = 0; i <= 4; ++i)
        QCOMPARE(s.Pixel(25 - i, 35 + i), kGreen);
    for (int i = 0; i <= 3; ++i)
        QCOMPARE(s.Pixel(19 - i, 39 - i), kGreen);
    QCOMPARE(s.Pixel(15, 35), kGrey);
}

void tst_CShapeArrowLine::boxModeLeavesHeadOut()
{
    const CDoublePoint a(10, 5), b(10, 20);
    CShapeArrowLine arrow(&a, &b, &kGreen, &kOne);
    arrow.SetBoxMode(1);
    QCOMPARE(arrow.GetBoxMode(), 1);
    ShapeTestSurface s(60, 60);
    arrow.Draw(s.canvas, 0, 2.0f);
    QCOMPARE(s.Pixel(25, 35), kGrey);
    QCOMPARE(s.CountChanged(kGrey), 31);
}

void tst_CShapeArrowLine::plainLineIsRed()
{
    const CDoublePoint a(5, 5), b(30, 5);
    CShapeLine line(&a, &b, &kGreen, &kOne);
    ShapeTestSurface s(60, 60);
    line.Draw(s.canvas, 0, 1.0f);
    QCOMPARE(s.Pixel(5, 5), RGB(255, 0, 0));
    QCOMPARE(s.Pixel(17, 5), RGB(255, 0, 0));
    QCOMPARE(s.CountChanged(kGrey), 26);
}

void tst_CShapeArrowLine::hitsAlongTheWholeLine_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<bool>("hit");
    QTest::newRow("start") << QPointF(0, 0) << true;
    QTest::newRow("middle") << QPointF(50, 25) << true;
    QTest::newRow("end") << QPointF(100, 50) << true;
    QTest::newRow("beside the box") << QPointF(150, 75) << false;
}

void tst_CShapeArrowLine::hitsAlongTheWholeLine()
{
    QFETCH(QPointF, point);
    QFETCH(bool, hit);
    const CDoublePoint a(0, 0), b(100, 50), p(point.x(), point.y());
    CShapeArrowLine arrow(&a, &b, &kGreen, &kOne);
    CShapeLine line(&a, &b, &kGreen, &kOne);
    QCOMPARE(bool(arrow.HitTest(&p, 1.0f)), hit);
    QCOMPARE(bool(line.HitTest(&p, 1.0f)), hit);
}

void tst_CShapeArrowLine::movesWithItsBox()
{
    const CDoublePoint a(40, 30), b(10, 10);
    CShapeArrowLine arrow(&a, &b, &kGreen, &kOne);
    QCOMPARE(arrow.GetBounds(), (RECT{10, 10, 40, 30}));
    const POINT delta{5, -2};
    arrow.MoveBy(&delta);
    QCOMPARE(arrow.GetStartPoint(), CDoublePoint(45, 28));
    QCOMPARE(arrow.GetEndPoint(), CDoublePoint(15, 8));
    QCOMPARE(arrow.GetBounds(), (RECT{15, 8, 45, 28}));
}

QTEST_MAIN(tst_CShapeArrowLine)
#include "tst_CShapeArrowLine.moc"
