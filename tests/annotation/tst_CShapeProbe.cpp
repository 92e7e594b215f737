// The probe readout: the cross and where the text goes inside the view.

// Qt
#include <QtTest>

// Orvane
#include "ShapeTestCanvas.h"
#include "annotation/CShapeProbe.h"

namespace {
const COLORREF kCyan = RGB(0, 255, 255);
const COLORREF kGrey = RGB(128, 128, 128);
} // namespace

class tst_CShapeProbe : public QObject
{
    Q_OBJECT

private slots:
    void placesReadout_data();
    void placesReadout();
    void drawsCross();
    void hitsReadoutBox();
};

void tst_CShapeProbe::placesReadout_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QPoint>("position");
    // Four characters with an average width of 7: 42 pixels; the view is 520 wide.
    QTest::newRow("pulled back inside the view") << QPointF(500, 300) << QPoint(488, 280);
    QTest::newRow("room to the right") << QPointF(100, 300) << QPoint(112, 280);
}

void tst_CShapeProbe::placesReadout()
{
    QFETCH(QPointF, point);
    QFETCH(QPoint, position);
    const CDoublePoint p(point.x(), point.y());
    CShapeProbe probe(&p, &p, &kCyan, 0, QStringLiteral("1024"));
    probe.SetViewExtent(520, 400);
    ShapeTestSurface s(600, 400);
    probe.Draw(s.canvas, 0, 1.0f);
    QCOMPARE(s.canvas->texts.size(), 1);
    QCOMPARE(QPoint(s.canvas->texts[0].x, s.canvas->texts[0].y), position);
    QCOMPARE(s.canvas->texts[0].color, kCyan);
}

void tst_CShapeProbe::drawsCross()
{
    const CDoublePoint p(100, 100);
    CShapeProbe probe(&p, &p, &kCyan, 0, QString());
    ShapeTestSurface s(200, 200);
    probe.DrawCross(s.canvas, p);
    for (int i = 94; i <= 105; ++i) {
        QCOMPARE(s.Pixel(i, 100), kCyan);
        QCOMPARE(s.Pixel(100, i), kCyan);
    }
    QCOMPARE(s.Pixel(106, 100), kGrey); // end points left out
    QCOMPARE(s.Pixel(100, 106), kGrey);
    QCOMPARE(s.CountChanged(kGrey), 23);
}

void tst_CShapeProbe::hitsReadoutBox()
{
    // Readout box at the start: (100, 100) to (100 + 6 x 5, 113).
    const CDoublePoint p(100, 100);
    CShapeProbe probe(&p, &p, &kCyan, 0, QStringLiteral("1024"));
    probe.SetViewExtent(520, 400);
    const CDoublePoint inside(110, 105), outside(140, 105);
    QVERIFY(probe.HitTest(&inside, 1.0f));
    QVERIFY(!probe.HitTest(&outside, 1.0f));
    // Near the view's right edge the box is also tried pulled back inside it.
    const CDoublePoint edge(510, 100);
    CShapeProbe atEdge(&edge, &edge, &kCyan, 0, QStringLiteral("1024"));
    atEdge.SetViewExtent(520, 400);
    const CDoublePoint pulled(495, 105);
    QVERIFY(atEdge.HitTest(&pulled, 1.0f));
}

QTEST_MAIN(tst_CShapeProbe)
#include "tst_CShapeProbe.moc"
