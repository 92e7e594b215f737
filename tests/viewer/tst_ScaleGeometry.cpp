// Qt
#include <QtTest>

// std
#include <cmath>

// Orvane
#include "viewer/ScaleGeometry.h"

using namespace ScaleGeometry;

class tst_ScaleGeometry : public QObject
{
    Q_OBJECT
private slots:
    void showsScalesByModalityAndDepth_data();
    void showsScalesByModalityAndDepth();
    void pixelsPerCentimetre_data();
    void pixelsPerCentimetre();
    void labelsByStep_data();
    void labelsByStep();
    void placesVerticalTicks();
    void placesHorizontalTicks();
    void drawsNoScaleForUnusableSteps_data();
    void drawsNoScaleForUnusableSteps();
};

void tst_ScaleGeometry::showsScalesByModalityAndDepth_data()
{
    QTest::addColumn<QString>("modality");
    QTest::addColumn<int>("allocated");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("highBit");
    QTest::addColumn<bool>("shown");
    QTest::newRow("CT 16 bits") << "CT" << 16 << 16 << 15 << true;
    QTest::newRow("CR 12 of 16") << "CR" << 16 << 12 << 11 << true;
    QTest::newRow("XA 16 bits") << "XA" << 16 << 12 << 11 << false;
    QTest::newRow("no modality") << "" << 16 << 12 << 11 << false;
    QTest::newRow("8 bits") << "OT" << 8 << 8 << 7 << false;
    QTest::newRow("high bit 9") << "US" << 8 << 8 << 9 << true;
    QTest::newRow("32 allocated") << "MR" << 32 << 8 << 7 << true;
}

void tst_ScaleGeometry::showsScalesByModalityAndDepth()
{
    QFETCH(QString, modality);
    QFETCH(int, allocated);
    QFETCH(int, stored);
    QFETCH(int, highBit);
    QFETCH(bool, shown);
    QCOMPARE(ImageHasScales(modality, allocated, stored, highBit), shown);
}

void tst_ScaleGeometry::pixelsPerCentimetre_data()
{
    QTest::addColumn<double>("spacing");
    QTest::addColumn<double>("reduced");
    QTest::addColumn<double>("perCm");
    QTest::newRow("1 mm") << 1.0 << 1.0 << 10.0;
    QTest::newRow("0.25 mm") << 0.25 << 1.0 << 40.0;
    QTest::newRow("reduced by 2") << 0.5 << 2.0 << 10.0;
    QTest::newRow("zero spacing") << 0.0 << 1.0 << 0.0;
    QTest::newRow("negative spacing") << -0.5 << 1.0 << 0.0;
    QTest::newRow("nan spacing") << std::nan("") << 1.0 << 0.0;
    QTest::newRow("infinite spacing") << HUGE_VAL << 1.0 << 0.0;
    QTest::newRow("zero scale") << 1.0 << 0.0 << 0.0;
    QTest::newRow("tiny spacing") << 1e-320 << 1.0 << 0.0;
}

void tst_ScaleGeometry::pixelsPerCentimetre()
{
    QFETCH(double, spacing);
    QFETCH(double, reduced);
    QFETCH(double, perCm);
    QVERIFY(qAbs(PixelsPerCm(spacing, reduced) - perCm) < 1e-9);
}

void tst_ScaleGeometry::labelsByStep_data()
{
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("period");
    QTest::newRow("2.9") << 2.9 << 20;
    QTest::newRow("3") << 3.0 << 10;
    QTest::newRow("7.9") << 7.9 << 10;
    QTest::newRow("8") << 8.0 << 5;
}

void tst_ScaleGeometry::labelsByStep()
{
    QFETCH(double, step);
    QFETCH(int, period);
    QCOMPARE(LabelPeriod(step), period);
}

void tst_ScaleGeometry::placesVerticalTicks()
{
    // 400 pixels high: from 100 to 300, a tick every 20 pixels, every fifth labelled
    const Scale s = VerticalScale(400, 20.0);
    QCOMPARE(s.lines.size(), std::size_t(11 + 1));
    QCOMPARE(s.lines[0].from, QPoint(26, 100));
    QCOMPARE(s.lines[0].to, QPoint(41, 100));
    QCOMPARE(s.lines[1].from, QPoint(26, 120));
    QCOMPARE(s.lines[1].to, QPoint(34, 120));
    QCOMPARE(s.lines[10].to, QPoint(41, 300));
    QCOMPARE(s.lines.back().from, QPoint(25, 100));
    QCOMPARE(s.lines.back().to, QPoint(25, 300));
    QCOMPARE(s.labels.size(), std::size_t(3));
    QCOMPARE(s.labels[1].pos, QPoint(46, 192));
    QCOMPARE(s.labels[1].text, QStringLiteral("5"));
    QCOMPARE(s.labels[2].text, QStringLiteral("10"));
}

void tst_ScaleGeometry::placesHorizontalTicks()
{
    // Fractional steps are truncated where they are drawn
    const Scale s = HorizontalScale(103, 7.5);
    QCOMPARE(s.lines.front().from, QPoint(25, 26));
    QCOMPARE(s.lines[1].from, QPoint(32, 26));
    QCOMPARE(s.lines[1].to, QPoint(32, 34));
    QCOMPARE(s.lines[2].from, QPoint(40, 26));
    QCOMPARE(s.lines.back().from, QPoint(25, 25));
    QCOMPARE(s.lines.back().to, QPoint(78, 25));
    // 25, 32.5, ..., 77.5: eight ticks, labelled every tenth
    QCOMPARE(s.lines.size(), std::size_t(8 + 1));
    QCOMPARE(s.labels.size(), std::size_t(1));
    QCOMPARE(s.labels[0].pos, QPoint(21, 41));
    QCOMPARE(s.labels[0].text, QStringLiteral("0"));
}

void tst_ScaleGeometry::drawsNoScaleForUnusableSteps_data()
{
    QTest::addColumn<double>("step");
    QTest::newRow("zero") << 0.0;
    QTest::newRow("below a pixel") << 0.99;
    QTest::newRow("negative") << -3.0;
    QTest::newRow("nan") << std::nan("");
    QTest::newRow("infinite") << HUGE_VAL;
}

void tst_ScaleGeometry::drawsNoScaleForUnusableSteps()
{
    QFETCH(double, step);
    QVERIFY(VerticalScale(600, step).lines.empty());
    QVERIFY(HorizontalScale(600, step).lines.empty());
}

QTEST_GUILESS_MAIN(tst_ScaleGeometry)
#include "tst_ScaleGeometry.moc"
