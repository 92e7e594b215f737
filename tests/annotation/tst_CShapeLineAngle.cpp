// The angle shape: its text, when it is written, where its box goes, its two looks, and
// defined angles for arms without length or along one line.

// Qt
#include <QtTest>

// std
#include <cmath>

// Orvane
#include "ShapeTestCanvas.h"
#include "annotation/CShapeLineAngle.h"

namespace {
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kGrey = RGB(128, 128, 128);
const int kOne = 1;

std::unique_ptr<CShapeLineAngle> Angle(QPointF start, QPointF vertex, QPointF end)
{
    const CDoublePoint s(start.x(), start.y()), v(vertex.x(), vertex.y());
    auto angle = std::make_unique<CShapeLineAngle>(&s, &v, &kGreen, &kOne);
    angle->SetEndPoint(CDoublePoint(end.x(), end.y()));
    return angle;
}
} // namespace

class tst_CShapeLineAngle : public QObject
{
    Q_OBJECT

private slots:
    void measures_data();
    void measures();
    void noTextWhileEndIsVertex();
    void placesTextOnBlackBox();
    void importedLookHasPenArmsAndNoBox();
    void keepsTextAfterTurnsAndZoom();
    void angleBetweenIsDefined_data();
    void angleBetweenIsDefined();
    void hitsEitherArm();
    void moveLeavesVertex();
};

void tst_CShapeLineAngle::measures_data()
{
    QTest::addColumn<QPointF>("start");
    QTest::addColumn<QPointF>("vertex");
    QTest::addColumn<QPointF>("end");
    QTest::addColumn<QString>("text");
    QTest::newRow("45 degrees") << QPointF(0, 10) << QPointF(0, 0) << QPointF(10, 10) << "45.00 Degree";
    QTest::newRow("right angle, second arm horizontal") << QPointF(0, 10) << QPointF(0, 0) << QPointF(10, 0)
                                                        << "90.00 Degree";
    QTest::newRow("second arm vertical") << QPointF(10, 0) << QPointF(0, 0) << QPointF(0, 20) << "90.00 Degree";
    QTest::newRow("obtuse") << QPointF(-10, 0) << QPointF(0, 0) << QPointF(10, 10) << "135.00 Degree";
    QTest::newRow("arms along one line, same way") << QPointF(10, 0) << QPointF(0, 0) << QPointF(20, 0) << "0.00 Degree";
    QTest::newRow("arms along one line, opposite") << QPointF(-10, 0) << QPointF(0, 0) << QPointF(10, 0)
                                                   << "180.00 Degree";
    QTest::newRow("first arm without length") << QPointF(5, 5) << QPointF(5, 5) << QPointF(20, 9) << "0.00 Degree";
    QTest::newRow("parallel awkward lengths") << QPointF(3.3, 7.7) << QPointF(0, 0) << QPointF(6.6, 15.4)
                                              << "0.00 Degree";
}

void tst_CShapeLineAngle::measures()
{
    QFETCH(QPointF, start);
    QFETCH(QPointF, vertex);
    QFETCH(QPointF, end);
    QFETCH(QString, text);
    auto angle = Angle(start, vertex, end);
    ShapeTestSurface s;
    angle->Draw(s.canvas, 0, 1.0f);
    QCOMPARE(angle->GetText(), text);
}

void tst_CShapeLineAngle::noTextWhileEndIsVertex()
{
    const CDoublePoint s(0, 10), v(0, 0);
    CShapeLineAngle angle(&s, &v, &kGreen, &kOne);
    QCOMPARE(angle.GetEndPoint(), v);
    QCOMPARE(angle.GetOrigVertexPoint(), v);
    ShapeTestSurface surface(50, 50);
    surface.canvas->SetViewportOrg(20, 20);
    angle.Draw(surface.canvas, 0, 1.0f);
    QVERIFY(angle.GetText().isEmpty());
    QVERIFY(surface.canvas->texts.isEmpty());
    QCOMPARE(surface.Pixel(20, 25), kGreen); // the first arm is there
}

void tst_CShapeLineAngle::placesTextOnBlackBox()
{
    // Start (0, 10), vertex (0, 0): the first arm's middle is (0, 5). "45.00 Degree" is 12
    // characters: a box 14 x 7 = 98 wide and 13 high, text at x = -49, the box 4 further left.
    auto angle = Angle(QPointF(0, 10), QPointF(0, 0), QPointF(10, 10));
    ShapeTestSurface s(200, 100);
    s.canvas->SetViewportOrg(100, 20);
    angle->Draw(s.canvas, 0, 1.0f);
    QCOMPARE(s.canvas->texts.size(), 1);
    QCOMPARE(s.canvas->texts[0].x, -49);
    QCOMPARE(s.canvas->texts[0].y, 5);
    QCOMPARE(s.canvas->texts[0].color, kGreen);
    QCOMPARE(s.Pixel(100 - 53, 25), RGB(0, 0, 0));
    QCOMPARE(s.Pixel(100 - 54, 25), kGrey);
    QCOMPARE(s.Pixel(100 + 44, 25 + 12), RGB(0, 0, 0));
    QCOMPARE(s.Pixel(100 + 45, 25), kGrey);
    QCOMPARE(s.Pixel(100 - 53, 25 + 13), kGrey);
}

void tst_CShapeLineAngle::importedLookHasPenArmsAndNoBox()
{
    auto angle = Angle(QPointF(0, 30), QPointF(0, 0), QPointF(30, 30));
    angle->m_nRenderMode = 0;
    ShapeTestSurface s(200, 100);
    s.canvas->SetViewportOrg(100, 20);
    angle->Draw(s.canvas, 0, 1.0f);
    QCOMPARE(s.canvas->texts.size(), 1);
    QCOMPARE(s.Pixel(100, 20 + 10), kGreen);      // first arm, drawn with the pen
    QCOMPARE(s.Pixel(100 + 10, 20 + 10), kGreen); // second arm
    QCOMPARE(s.Pixel(100 - 53, 20 + 15), kGrey); // no black box
}

void tst_CShapeLineAngle::keepsTextAfterTurnsAndZoom()
{
    auto angle = Angle(QPointF(0, 10), QPointF(0, 0), QPointF(10, 10));
    ShapeTestSurface s;
    angle->Draw(s.canvas, 0, 1.0f);
    angle->FlipHorizontal(90, 100, 100, 1.0f);
    angle->RotateClockwise(90, 100, 100, 1.0f);
    angle->SetEndPoint(CDoublePoint(50, 50)); // a different angle now, but the text stays
    angle->Draw(s.canvas, 0, 4.0f);
    QCOMPARE(angle->GetText(), QStringLiteral("45.00 Degree"));
}

void tst_CShapeLineAngle::angleBetweenIsDefined_data()
{
    QTest::addColumn<QPointF>("a");
    QTest::addColumn<QPointF>("b");
    QTest::addColumn<double>("degrees");
    QTest::newRow("perpendicular") << QPointF(1, 0) << QPointF(0, 3) << 90.0;
    QTest::newRow("zero vector") << QPointF(0, 0) << QPointF(0, 3) << 0.0;
    QTest::newRow("parallel") << QPointF(0.1, 0.7) << QPointF(0.3, 2.1) << 0.0;
    QTest::newRow("antiparallel") << QPointF(0.1, 0.7) << QPointF(-0.3, -2.1) << 180.0;
}

void tst_CShapeLineAngle::angleBetweenIsDefined()
{
    QFETCH(QPointF, a);
    QFETCH(QPointF, b);
    QFETCH(double, degrees);
    CShapeLineAngle::Vector3 u{float(a.x()), float(a.y()), 0.0f}, w{float(b.x()), float(b.y()), 0.0f};
    const float angle = CShapeLineAngle::AngleBetween(u, w);
    QVERIFY(std::isfinite(angle));
    QVERIFY2(std::fabs(angle - degrees) < 0.01, qPrintable(QString::number(angle)));
}

void tst_CShapeLineAngle::hitsEitherArm()
{
    auto angle = Angle(QPointF(10, 100), QPointF(10, 10), QPointF(100, 10));
    const CDoublePoint first(12, 50), second(50, 12), inside(50, 50);
    QVERIFY(angle->HitTest(&first, 1.0f));
    QVERIFY(angle->HitTest(&second, 1.0f));
    QVERIFY(!angle->HitTest(&inside, 1.0f));
}

void tst_CShapeLineAngle::moveLeavesVertex()
{
    auto angle = Angle(QPointF(10, 100), QPointF(10, 10), QPointF(100, 10));
    const POINT delta{3, 4};
    angle->MoveBy(&delta);
    QCOMPARE(angle->GetStartPoint(), CDoublePoint(13, 104));
    QCOMPARE(angle->GetEndPoint(), CDoublePoint(103, 14));
    QCOMPARE(angle->GetVertexPoint(), CDoublePoint(10, 10));
}

QTEST_MAIN(tst_CShapeLineAngle)
#include "tst_CShapeLineAngle.moc"
