// The Cobb angle: its angle text once the stage is set, the second line, the joining line
// with its arrowheads, and defined angles for lines without length.

// Qt
#include <QtTest>

// Orvane
#include "ShapeTestCanvas.h"
#include "annotation/CShapeCobbAngle.h"

namespace {
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kGrey = RGB(128, 128, 128);
const int kOne = 1;

std::unique_ptr<CShapeCobbAngle> Cobb(QLineF first, QLineF second)
{
    const CDoublePoint p0(first.x1(), first.y1()), p1(first.x2(), first.y2());
    const CDoublePoint p2(second.x1(), second.y1()), p3(second.x2(), second.y2());
    return std::make_unique<CShapeCobbAngle>(&p0, &p1, &p2, &p3, &kGreen, &kOne);
}
} // namespace

class tst_CShapeCobbAngle : public QObject
{
    Q_OBJECT

private slots:
    void measures_data();
    void measures();
    void stageZeroShowsLinesOnly();
    void unsetSecondLineIsLeftOut();
    void placesText();
    void joiningLineKeepsHeadsInBoxMode();
    void secondLineSetsSavedCopies();
    void hitsEitherLine();
};

void tst_CShapeCobbAngle::measures_data()
{
    QTest::addColumn<QLineF>("first");
    QTest::addColumn<QLineF>("second");
    QTest::addColumn<QString>("text");
    QTest::newRow("45") << QLineF(0, 0, 10, 0) << QLineF(0, 10, 10, 20) << "45.00";
    QTest::newRow("second reversed") << QLineF(0, 0, 10, 0) << QLineF(10, 20, 0, 10) << "135.00";
    QTest::newRow("parallel") << QLineF(0, 0, 30, 10) << QLineF(0, 40, 30, 50) << "0.00";
    QTest::newRow("antiparallel") << QLineF(0, 0, 30, 10) << QLineF(30, 50, 0, 40) << "180.00";
    QTest::newRow("first line without length") << QLineF(5, 5, 5, 5) << QLineF(0, 10, 10, 20) << "0.00";
}

void tst_CShapeCobbAngle::measures()
{
    QFETCH(QLineF, first);
    QFETCH(QLineF, second);
    QFETCH(QString, text);
    auto cobb = Cobb(first, second);
    cobb->SetStage(1);
    ShapeTestSurface s;
    s.canvas->SetViewportOrg(50, 50);
    cobb->Draw(s.canvas, 0, 1.0f);
    QCOMPARE(cobb->GetText(), text);
    QCOMPARE(s.canvas->texts.size(), 1);
    QCOMPARE(s.canvas->texts[0].text, text);
}

void tst_CShapeCobbAngle::stageZeroShowsLinesOnly()
{
    auto cobb = Cobb(QLineF(0, 0, 40, 0), QLineF(0, 30, 40, 60));
    ShapeTestSurface s;
    s.canvas->SetViewportOrg(50, 50);
    cobb->Draw(s.canvas, 0, 1.0f);
    QVERIFY(cobb->GetText().isEmpty());
    QVERIFY(s.canvas->texts.isEmpty());
    QCOMPARE(s.Pixel(70, 50), kGreen);  // first line
    QCOMPARE(s.Pixel(70, 95), kGreen);  // second line
    QCOMPARE(s.Pixel(70, 72), kGrey);   // no joining line between the midpoints (20, 0) and (20, 45)
}

void tst_CShapeCobbAngle::unsetSecondLineIsLeftOut()
{
    // The second line starts as a single point until the second drag sets it.
    auto cobb = Cobb(QLineF(0, 0, 40, 0), QLineF(0, 0, 0, 0));
    cobb->SetStage(1);
    QVERIFY(!cobb->HasSecondLine());
    ShapeTestSurface s;
    s.canvas->SetViewportOrg(50, 50);
    cobb->Draw(s.canvas, 0, 1.0f);
    QVERIFY(s.canvas->texts.isEmpty());
    QVERIFY(cobb->GetText().isEmpty());
}

void tst_CShapeCobbAngle::placesText()
{
    // Midpoints (5, 0) and (5, 15): the text at the middle of the joining line, one average
    // character width to the right.
    auto cobb = Cobb(QLineF(0, 0, 10, 0), QLineF(0, 10, 10, 20));
    cobb->SetStage(1);
    ShapeTestSurface s;
    s.canvas->SetViewportOrg(50, 50);
    cobb->Draw(s.canvas, 0, 1.0f);
    QCOMPARE(s.canvas->texts.size(), 1);
    QCOMPARE(s.canvas->texts[0].x, 12);
    QCOMPARE(s.canvas->texts[0].y, 7);
    // Zoom 2: midpoints (10, 0) and (10, 30).
    s.canvas->texts.clear();
    cobb->Draw(s.canvas, 0, 2.0f);
    QCOMPARE(s.canvas->texts[0].x, 17);
    QCOMPARE(s.canvas->texts[0].y, 15);
}

void tst_CShapeCobbAngle::joiningLineKeepsHeadsInBoxMode()
{
    // First line (0, 0)-(40, 0), second (0, 60)-(40, 60): the joining line runs down x = 20
    // from y = 0 to y = 60, with heads at both ends; the lines' own heads go in box mode.
    auto cobb = Cobb(QLineF(0, 0, 40, 0), QLineF(0, 60, 40, 60));
    cobb->SetStage(1);
    cobb->SetBoxMode(1);
    ShapeTestSurface s;
    s.canvas->SetViewportOrg(50, 50);
    cobb->Draw(s.canvas, 0, 1.0f);
    QCOMPARE(s.Pixel(50 + 20 + 5, 50 + 60 - 5), kGreen); // head at the second midpoint
    QCOMPARE(s.Pixel(50 + 20 - 5, 50 + 5), kGreen);      // head at the first midpoint
    QCOMPARE(s.Pixel(50 + 40 - 5, 50 - 5), kGrey);       // no head at the first line's end
}

void tst_CShapeCobbAngle::secondLineSetsSavedCopies()
{
    auto cobb = Cobb(QLineF(0, 0, 40, 0), QLineF(0, 0, 0, 0));
    const CDoublePoint t(5, 50), f(45, 70);
    cobb->SetSecondLine(&t, &f);
    QCOMPARE(cobb->GetThirdPoint(), t);
    QCOMPARE(cobb->GetOrigFourthPoint(), f);
    QCOMPARE(cobb->GetLineWidth(), 1);
}

void tst_CShapeCobbAngle::hitsEitherLine()
{
    auto cobb = Cobb(QLineF(10, 10, 100, 10), QLineF(10, 50, 100, 50));
    const CDoublePoint first(50, 12), second(50, 52), between(50, 30);
    QVERIFY(cobb->HitTest(&first, 1.0f));
    QVERIFY(cobb->HitTest(&second, 1.0f));
    QVERIFY(!cobb->HitTest(&between, 1.0f));
}

QTEST_MAIN(tst_CShapeCobbAngle)
#include "tst_CShapeCobbAngle.moc"
