// The length line: its measurement texts, computed once and kept, and where the text goes.

// Qt
#include <QtTest>

// Orvane
#include "ShapeTestCanvas.h"
#include "annotation/CShapeLineLength.h"

namespace {
const COLORREF kGreen = RGB(0, 255, 0);
const int kOne = 1;
} // namespace

class tst_CShapeLineLength : public QObject
{
    Q_OBJECT

private slots:
    void measures_data();
    void measures();
    void keepsTextAfterTurnsAndZoom();
    void placesText_data();
    void placesText();
    void drawsAntiAliasedLine();
    void hitsAlongTheLine();
};

void tst_CShapeLineLength::measures_data()
{
    QTest::addColumn<QPointF>("start");
    QTest::addColumn<QPointF>("end");
    QTest::addColumn<bool>("known");
    QTest::addColumn<double>("row");
    QTest::addColumn<double>("column");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QString>("text");
    QTest::newRow("1 mm spacing") << QPointF(0, 0) << QPointF(6, 8) << true << 1.0 << 1.0 << 1.0 << "1.00 cm";
    QTest::newRow("0.5 mm spacing") << QPointF(0, 0) << QPointF(6, 8) << true << 0.5 << 0.5 << 1.0 << "5.00 mm";
    QTest::newRow("2.5 cm") << QPointF(0, 0) << QPointF(30, 40) << true << 0.5 << 0.5 << 1.0 << "2.50 cm";
    QTest::newRow("pixels") << QPointF(0, 0) << QPointF(30, 40) << false << 1.0 << 1.0 << 1.0 << "50.00 Pixel";
    QTest::newRow("just under a centimetre") << QPointF(0, 0) << QPointF(9.99, 0) << true << 1.0 << 1.0 << 1.0 << "9.99 mm";
    QTest::newRow("scaled") << QPointF(0, 0) << QPointF(6, 8) << false << 1.0 << 1.0 << 2.0 << "20.00 Pixel";
    // Row spacing runs along y, column spacing along x.
    QTest::newRow("horizontal uses column spacing") << QPointF(0, 0) << QPointF(40, 0) << true << 0.5 << 0.25 << 1.0
                                                    << "1.00 cm";
    QTest::newRow("vertical uses row spacing") << QPointF(0, 0) << QPointF(0, 40) << true << 0.5 << 0.25 << 1.0
                                               << "2.00 cm";
    QTest::newRow("anisotropic sloped") << QPointF(0, 0) << QPointF(40, 30) << true << 0.5 << 0.25 << 1.0 << "1.80 cm";
    QTest::newRow("equal points") << QPointF(5, 5) << QPointF(5, 5) << true << 0.5 << 0.5 << 1.0 << "0.00 mm";
    QTest::newRow("equal points in pixels") << QPointF(5, 5) << QPointF(5, 5) << false << 1.0 << 1.0 << 1.0 << "0.00 Pixel";
    QTest::newRow("zero spacing reads pixels") << QPointF(0, 0) << QPointF(30, 40) << true << 0.0 << 0.5 << 1.0
                                               << "50.00 Pixel";
}

void tst_CShapeLineLength::measures()
{
    QFETCH(QPointF, start);
    QFETCH(QPointF, end);
    QFETCH(bool, known);
    QFETCH(double, row);
    QFETCH(double, column);
    QFETCH(double, scale);
    QFETCH(QString, text);
    const CDoublePoint a(start.x(), start.y()), b(end.x(), end.y());
    CShapeLineLength line(&a, &b, &kGreen, &kOne);
    line.SetPixelSpacing(known, row, column);
    line.SetScale(scale);
    QVERIFY(line.GetText().isEmpty());
    ShapeTestSurface s;
    line.SetViewExtent(200, 200);
    line.Draw(s.canvas, 0, 1.0f);
    QCOMPARE(line.GetText(), text);
    QCOMPARE(s.canvas->texts.size(), 1);
    QCOMPARE(s.canvas->texts[0].text, text);
    QCOMPARE(s.canvas->texts[0].color, kGreen);
}

void tst_CShapeLineLength::keepsTextAfterTurnsAndZoom()
{
    const CDoublePoint a(0, 0), b(30, 40);
    CShapeLineLength line(&a, &b, &kGreen, &kOne);
    line.SetPixelSpacing(TRUE, 0.5, 0.5);
    ShapeTestSurface s(400, 400);
    line.SetViewExtent(400, 400);
    line.Draw(s.canvas, 0, 1.0f);
    QCOMPARE(line.GetText(), QStringLiteral("2.50 cm"));
    // After turning the points no longer measure 50 image pixels from 0; the text stays.
    line.RotateClockwise(90, 150, 300, 1.5f);
    line.FlipVertical(90, 150, 300, 1.5f);
    line.SetPixelSpacing(TRUE, 1.0, 1.0);
    line.Draw(s.canvas, 0, 3.0f);
    line.RestoreOriginalPoints();
    line.Draw(s.canvas, 0, 0.25f);
    QCOMPARE(line.GetText(), QStringLiteral("2.50 cm"));
    QCOMPARE(s.canvas->texts.size(), 3);
    for (const RecordedText& t : s.canvas->texts)
        QCOMPARE(t.text, QStringLiteral("2.50 cm"));
}

void tst_CShapeLineLength::placesText_data()
{
    QTest::addColumn<QPointF>("end");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<QSize>("view");
    QTest::addColumn<int>("leading");
    QTest::addColumn<QPoint>("position");
    // "1.00 cm": 7 characters, box (7 + 2) x 7 = 63 wide, 13 (+ leading) high.
    QTest::newRow("inside") << QPointF(100, 50) << 1.0f << QSize(620, 400) << 0 << QPoint(106, 56);
    QTest::newRow("zoomed") << QPointF(50, 25) << 2.0f << QSize(620, 400) << 0 << QPoint(106, 56);
    // Its right edge would reach 650 in a view 620 wide: 30 pixels to the left.
    QTest::newRow("pulled left") << QPointF(587, 50) << 1.0f << QSize(620, 400) << 0 << QPoint(561, 56);
    QTest::newRow("pulled up") << QPointF(100, 50) << 1.0f << QSize(620, 60) << 0 << QPoint(106, 51);
    QTest::newRow("pulled up with leading") << QPointF(100, 50) << 1.0f << QSize(620, 60) << 2 << QPoint(106, 49);
}

void tst_CShapeLineLength::placesText()
{
    QFETCH(QPointF, end);
    QFETCH(float, zoom);
    QFETCH(QSize, view);
    QFETCH(int, leading);
    QFETCH(QPoint, position);
    // A 10-unit line ending at `end` in the direction of (6, 8), read as 1.00 cm.
    const CDoublePoint b(end.x(), end.y()), a(end.x() - 6, end.y() - 8);
    CShapeLineLength line(&a, &b, &kGreen, &kOne);
    line.SetPixelSpacing(TRUE, 1.0, 1.0);
    line.SetViewExtent(view.width(), view.height());
    ShapeTestSurface s(700, 500, RGB(128, 128, 128), ShapeTextMetrics{13, 10, leading, 7});
    line.Draw(s.canvas, 0, zoom);
    QCOMPARE(s.canvas->texts.size(), 1);
    QCOMPARE(s.canvas->texts[0].text, QStringLiteral("1.00 cm"));
    QCOMPARE(QPoint(s.canvas->texts[0].x, s.canvas->texts[0].y), position);
}

void tst_CShapeLineLength::drawsAntiAliasedLine()
{
    const CDoublePoint a(10, 20), b(60, 20);
    CShapeLineLength line(&a, &b, &kGreen, &kOne);
    ShapeTestSurface s;
    s.canvas->SetViewportOrg(5, 5);
    line.Draw(s.canvas, 0, 2.0f);
    QCOMPARE(s.Pixel(25, 45), kGreen);
    QCOMPARE(s.Pixel(124, 45), kGreen);
    QCOMPARE(s.Pixel(125, 45), kGreen); // the end pixel
    QCOMPARE(s.Pixel(25, 46), RGB(128, 128, 128));
}

void tst_CShapeLineLength::hitsAlongTheLine()
{
    const CDoublePoint a(10, 10), b(100, 10);
    CShapeLineLength line(&a, &b, &kGreen, &kOne);
    const CDoublePoint on(50, 12), off(50, 20);
    QVERIFY(line.HitTest(&on, 1.0f));
    QVERIFY(!line.HitTest(&off, 1.0f));
}

QTEST_MAIN(tst_CShapeLineLength)
#include "tst_CShapeLineLength.moc"
