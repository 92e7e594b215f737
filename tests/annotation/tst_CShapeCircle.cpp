// The circle: its box, its area texts, its two looks, its font and its hit test.

// Qt
#include <QtTest>

// Orvane
#include "ShapeTestCanvas.h"
#include "annotation/CShapeCircle.h"
#include "platform/CFont.h"
#include "platform/Gdi.h"

namespace {
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kGrey = RGB(128, 128, 128);
const int kOne = 1;

std::unique_ptr<CShapeCircle> Circle(QPointF start, QPointF end)
{
    const CDoublePoint a(start.x(), start.y()), b(end.x(), end.y());
    auto circle = std::make_unique<CShapeCircle>(&a, &b, &kGreen, &kOne);
    circle->m_nRenderMode = 0;
    return circle;
}
} // namespace

class tst_CShapeCircle : public QObject
{
    Q_OBJECT

private slots:
    void growsRightAndDown_data();
    void growsRightAndDown();
    void measures_data();
    void measures();
    void rubberBandHasNoText();
    void writesAboveTheBox();
    void usesItsFontOnlyWhenItHoldsOne();
    void hitsInsideItsDiameter();
};

void tst_CShapeCircle::growsRightAndDown_data()
{
    QTest::addColumn<QPointF>("start");
    QTest::addColumn<QPointF>("end");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<QRect>("box"); // left, top and side as x, y, width
    QTest::newRow("down right") << QPointF(10, 10) << QPointF(40, 30) << 1.0f << QRect(10, 10, 20, 20);
    QTest::newRow("dragged up left") << QPointF(40, 30) << QPointF(10, 10) << 1.0f << QRect(40, 30, 20, 20);
    QTest::newRow("zoomed") << QPointF(10, 10) << QPointF(40, 30) << 2.0f << QRect(20, 20, 40, 40);
}

void tst_CShapeCircle::growsRightAndDown()
{
    QFETCH(QPointF, start);
    QFETCH(QPointF, end);
    QFETCH(float, zoom);
    QFETCH(QRect, box);
    auto circle = Circle(start, end);
    const RECT r = circle->GetCircleBox(zoom);
    QCOMPARE(r, (RECT{box.x(), box.y(), box.x() + box.width(), box.y() + box.height()}));
    // The outline touches the middle of the box's left and top sides.
    ShapeTestSurface s(120, 120);
    circle->Draw(s.canvas, 0, zoom);
    const int half = box.width() / 2;
    QCOMPARE(s.Pixel(box.x(), box.y() + half), kGreen);
    QCOMPARE(s.Pixel(box.x() + half, box.y()), kGreen);
    QCOMPARE(s.Pixel(box.x() + half, box.y() + half), kGrey);
}

void tst_CShapeCircle::measures_data()
{
    QTest::addColumn<bool>("known");
    QTest::addColumn<double>("row");
    QTest::addColumn<double>("column");
    QTest::addColumn<QString>("text");
    // From (10, 10) to (40, 30): the diameter is the smaller side.
    QTest::newRow("0.5 mm") << true << 0.5 << 0.5 << "Area=0.79 cm sq";
    QTest::newRow("pixels") << false << 1.0 << 1.0 << "Area=314.29 pix sq";
    // 30 columns x 0.25 = 7.5 mm against 20 rows x 0.5 = 10 mm.
    QTest::newRow("anisotropic") << true << 0.5 << 0.25 << "Area=0.44 cm sq";
}

void tst_CShapeCircle::measures()
{
    QFETCH(bool, known);
    QFETCH(double, row);
    QFETCH(double, column);
    QFETCH(QString, text);
    auto circle = Circle(QPointF(10, 10), QPointF(40, 30));
    circle->SetPixelSpacing(known, row, column);
    ShapeTestSurface s;
    circle->Draw(s.canvas, 0, 1.0f);
    QCOMPARE(circle->GetText(), text);
    circle->RotateClockwise(90, 200, 200, 1.0f);
    circle->Draw(s.canvas, 0, 3.0f);
    QCOMPARE(circle->GetText(), text);
}

void tst_CShapeCircle::rubberBandHasNoText()
{
    auto circle = Circle(QPointF(10, 10), QPointF(40, 30));
    circle->m_nRenderMode = 1;
    ShapeTestSurface s;
    circle->Draw(s.canvas, 0, 1.0f);
    QVERIFY(circle->GetText().isEmpty());
    QVERIFY(s.canvas->texts.isEmpty());
    QCOMPARE(s.Pixel(10, 20), kGreen);
}

void tst_CShapeCircle::writesAboveTheBox()
{
    auto circle = Circle(QPointF(10, 30), QPointF(40, 60));
    ShapeTestSurface s;
    circle->Draw(s.canvas, 0, 2.0f);
    QCOMPARE(s.canvas->texts.size(), 1);
    QCOMPARE(QPoint(s.canvas->texts[0].x, s.canvas->texts[0].y), QPoint(20, 45));
}

void tst_CShapeCircle::usesItsFontOnlyWhenItHoldsOne()
{
    auto circle = Circle(QPointF(10, 30), QPointF(40, 60));
    ShapeTestSurface s;
    s.canvas->SelectFont(Gdi::Font(QStringLiteral("Verdana"), 12));
    const QString canvasFamily = s.canvas->GetFont().family();

    circle->Draw(s.canvas, 0, 1.0f); // no font
    CFont never;                     // a font object that never got a font
    circle->SetTextFont(&never);
    circle->Draw(s.canvas, 0, 1.0f);
    CFont serif;
    serif.Attach(Gdi::Font(QStringLiteral("Times New Roman"), 12));
    circle->SetTextFont(&serif);
    circle->Draw(s.canvas, 0, 1.0f);

    QCOMPARE(s.canvas->texts.size(), 3);
    QCOMPARE(s.canvas->texts[0].family, canvasFamily);
    QCOMPARE(s.canvas->texts[1].family, canvasFamily);
    QCOMPARE(s.canvas->texts[2].family, serif.GetFont()->family());
    QCOMPARE(s.canvas->GetFont().family(), canvasFamily); // selected back
}

void tst_CShapeCircle::hitsInsideItsDiameter()
{
    auto circle = Circle(QPointF(0, 0), QPointF(40, 0)); // centre (20, 0), radius 20
    const CDoublePoint centre(20, 0), rim(20, 20), outside(20, 21);
    QVERIFY(circle->HitTest(&centre, 1.0f));
    QVERIFY(circle->HitTest(&rim, 1.0f));
    QVERIFY(!circle->HitTest(&outside, 1.0f));
    QVERIFY(circle->HitTest(&outside, 3.0f) == FALSE);
}

QTEST_MAIN(tst_CShapeCircle)
#include "tst_CShapeCircle.moc"
