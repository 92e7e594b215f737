// Qt
#include <QtTest>

// Orvane
#include "viewer/RenderWindow.h"

// std
#include <climits>
#include <limits>

class tst_RenderWindow : public QObject
{
    Q_OBJECT
private slots:
    void convertsWindow_data();
    void convertsWindow();
};

void tst_RenderWindow::convertsWindow_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("centre");
    QTest::addColumn<int>("nWidth");
    QTest::addColumn<int>("nCentre");
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("whole") << 400.0 << 40.0 << 400 << 40;
    QTest::newRow("one-bit keeps both levels") << 1.0 << 0.5 << 1 << 1;
    QTest::newRow("half width is one") << 0.5 << 1.0 << 1 << 1;
    QTest::newRow("rounds, not truncates") << 99.6 << -20.6 << 100 << -21;
    QTest::newRow("zero width") << 0.0 << 10.0 << 1 << 10;
    QTest::newRow("negative width") << -30.0 << 10.0 << 1 << 10;
    QTest::newRow("past the int range") << 1e12 << -1e12 << INT_MAX << INT_MIN;
    QTest::newRow("not finite") << inf << nan << 1 << 0;
}

void tst_RenderWindow::convertsWindow()
{
    QFETCH(double, width);
    QFETCH(double, centre);
    const RenderWindow window = ToRenderWindow(width, centre);
    QFETCH(int, nWidth);
    QFETCH(int, nCentre);
    QCOMPARE(window.nWidth, nWidth);
    QCOMPARE(window.nCentre, nCentre);
}

QTEST_APPLESS_MAIN(tst_RenderWindow)
#include "tst_RenderWindow.moc"
