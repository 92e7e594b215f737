// Qt
#include <QtTest>

// Orvane
#include "viewer/ViewGeometry.h"

using namespace ViewGeometry;

class tst_ViewGeometry : public QObject
{
    Q_OBJECT
private slots:
    void fitsToTarget_data();
    void fitsToTarget();
    void dragFactorBySize_data();
    void dragFactorBySize();
    void reducesOnlyLargeImages_data();
    void reducesOnlyLargeImages();
    void zoomStepFollowsSize();
    void zoomedSizeTruncates_data();
    void zoomedSizeTruncates();
    void centresExtent();
};

void tst_ViewGeometry::fitsToTarget_data()
{
    QTest::addColumn<QSize>("image");
    QTest::addColumn<QSize>("target");
    QTest::addColumn<float>("zoom");
    QTest::newRow("wide pane") << QSize(512, 512) << QSize(800, 400) << 400.0f / 512;
    QTest::newRow("tall pane") << QSize(200, 100) << QSize(300, 600) << 1.5f;
    QTest::newRow("larger image") << QSize(2000, 1000) << QSize(500, 500) << 0.25f;
    QTest::newRow("empty bitmap") << QSize(0, 0) << QSize(500, 500) << 0.0f;
    QTest::newRow("no width") << QSize(0, 100) << QSize(500, 500) << 0.0f;
}

void tst_ViewGeometry::fitsToTarget()
{
    QFETCH(QSize, image);
    QFETCH(QSize, target);
    QFETCH(float, zoom);
    QCOMPARE(FitZoom(image, target), zoom);
}

void tst_ViewGeometry::dragFactorBySize_data()
{
    QTest::addColumn<unsigned>("rows");
    QTest::addColumn<unsigned>("columns");
    QTest::addColumn<float>("factor");
    QTest::newRow("299") << 150u << 149u << 1.0f;
    QTest::newRow("300") << 150u << 150u << 3.0f;
    QTest::newRow("1199") << 600u << 599u << 3.0f;
    QTest::newRow("1200") << 600u << 600u << 10.0f;
}

void tst_ViewGeometry::dragFactorBySize()
{
    QFETCH(unsigned, rows);
    QFETCH(unsigned, columns);
    QFETCH(float, factor);
    QCOMPARE(WindowLevelFactor(rows, columns), factor);
}

void tst_ViewGeometry::reducesOnlyLargeImages_data()
{
    QTest::addColumn<unsigned>("columns");
    QTest::addColumn<unsigned>("rows");
    QTest::addColumn<bool>("reduce");
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("1024 square") << 1024u << 1024u << true << 1024 / 600.0 << 600 << 600;
    QTest::newRow("2000 x 1000") << 2000u << 1000u << true << 1000 / 600.0 << 1200 << 600;
    QTest::newRow("900 x 810") << 900u << 810u << true << 1.35 << 668 << 600;
    QTest::newRow("800 x 2000") << 800u << 2000u << false << 1.0 << 0 << 0;
    QTest::newRow("801 x 801") << 801u << 801u << true << 801 / 600.0 << 600 << 600;
}

void tst_ViewGeometry::reducesOnlyLargeImages()
{
    QFETCH(unsigned, columns);
    QFETCH(unsigned, rows);
    QFETCH(bool, reduce);
    QFETCH(double, scale);
    QFETCH(int, width);
    QFETCH(int, height);
    const ReducedPlan plan = PlanReducedImage(columns, rows);
    QCOMPARE(plan.bReduce, reduce);
    QVERIFY(qAbs(plan.dScale - scale) < 1e-9);
    QCOMPARE(plan.nWidth, width);
    QCOMPARE(plan.nHeight, height);
}

void tst_ViewGeometry::zoomStepFollowsSize()
{
    QVERIFY(qAbs(ZoomStep(QSize(512, 512)) - 0.0293) < 1e-4);
    QCOMPARE(ZoomStep(QSize(0, 0)), 0.03); // no division by zero
}

void tst_ViewGeometry::zoomedSizeTruncates_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QSize>("size");
    QTest::newRow("fraction") << 0.999 << QSize(99, 49);
    QTest::newRow("zero") << 0.0 << QSize(0, 0);
    QTest::newRow("nan") << std::nan("") << QSize(0, 0);
    QTest::newRow("infinite") << HUGE_VAL << QSize(0, 0);
}

void tst_ViewGeometry::zoomedSizeTruncates()
{
    QFETCH(double, zoom);
    QFETCH(QSize, size);
    QCOMPARE(ZoomedSize(QSize(100, 50), zoom), size);
}

void tst_ViewGeometry::centresExtent()
{
    QCOMPARE(CenterOffset(QSize(800, 600), QSize(401, 300)), QPoint(199, 150));
    // A larger extent gives the same distance, as the pane's centring has always done
    QCOMPARE(CenterOffset(QSize(400, 300), QSize(600, 300)), QPoint(100, 0));
}

QTEST_GUILESS_MAIN(tst_ViewGeometry)
#include "tst_ViewGeometry.moc"
