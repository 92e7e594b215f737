// Qt
#include <QPainter>
#include <QtTest>

// Orvane
#include "viewer/CZoomView.h"
#include "viewer/ZoomGeometry.h"

namespace {

class CountingView : public CZoomView
{
public:
    int m_nZoomChanges = 0;
    void OnZoomChanged() override { ++m_nZoomChanges; }
    using CZoomView::OnRButtonDown;
};

} // namespace

class tst_CZoomView : public QObject
{
    Q_OBJECT
private slots:
    void mapsWithPanOffset_data();
    void mapsWithPanOffset();
    void preparesPainterAtPanOffset();
    void fitsAspectRatio_data();
    void fitsAspectRatio();
    void plansZoomToRect_data();
    void plansZoomToRect();
    void zoomsAroundClientCentre();
    void ignoresBadFactors();
    void zoomsToRect();
    void setsBaseSize();
    void keepsArrowCursorAndModeOff();
    void drawsRubberBandThatErasesItself();
};

void tst_CZoomView::mapsWithPanOffset_data()
{
    QTest::addColumn<QPoint>("pan");
    QTest::addColumn<QPoint>("logical");
    QTest::addColumn<QPoint>("device");
    QTest::newRow("no pan") << QPoint(0, 0) << QPoint(12, 34) << QPoint(12, 34);
    QTest::newRow("panned") << QPoint(40, -25) << QPoint(12, 34) << QPoint(52, 9);
    QTest::newRow("negative logical") << QPoint(-10, 5) << QPoint(-3, -4) << QPoint(-13, 1);
}

void tst_CZoomView::mapsWithPanOffset()
{
    QFETCH(QPoint, pan);
    QFETCH(QPoint, logical);
    QFETCH(QPoint, device);
    QCOMPARE(ZoomGeometry::LogicalToDevice(logical, pan, QPoint()), device);
    QCOMPARE(ZoomGeometry::DeviceToLogical(device, pan, QPoint()), logical);
    CZoomView view;
    view.m_ptPanOffset = pan;
    QPoint pts[2] = {logical, logical + QPoint(1, 1)};
    view.LogicalToDevice(pts, 2);
    QCOMPARE(pts[0], device);
    QCOMPARE(pts[1], device + QPoint(1, 1));
    view.DeviceToLogical(pts, 2);
    QCOMPARE(pts[0], logical);
    QCOMPARE(view.GetScrollPosition(), QPoint(0, 0));
}

void tst_CZoomView::preparesPainterAtPanOffset()
{
    CZoomView view;
    view.m_ptPanOffset = QPoint(7, 3);
    QImage target(20, 20, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter p(&target);
    view.OnPrepareDC(&p);
    p.fillRect(QRect(0, 0, 1, 1), Qt::black);
    p.end();
    QCOMPARE(QColor(target.pixel(7, 3)), QColor(Qt::black));
    QCOMPARE(QColor(target.pixel(0, 0)), QColor(Qt::white));
}

void tst_CZoomView::fitsAspectRatio_data()
{
    QTest::addColumn<QSize>("orig");
    QTest::addColumn<QSize>("dest");
    QTest::addColumn<QSize>("fitted");
    QTest::addColumn<QPoint>("remainder");
    QTest::newRow("same ratio fills the page from the origin") << QSize(400, 300) << QSize(4000, 3000) << QSize(4000, 3000) << QPoint(0, 0);
    QTest::newRow("wider document") << QSize(200, 100) << QSize(1000, 1000) << QSize(1000, 500) << QPoint(0, 500);
    QTest::newRow("taller document") << QSize(100, 300) << QSize(900, 600) << QSize(200, 600) << QPoint(700, 0);
    QTest::newRow("truncated") << QSize(3, 2) << QSize(100, 100) << QSize(100, 66) << QPoint(0, 34);
    QTest::newRow("empty document") << QSize(0, 0) << QSize(100, 100) << QSize(100, 100) << QPoint(0, 0);
}

void tst_CZoomView::fitsAspectRatio()
{
    QFETCH(QSize, orig);
    QFETCH(QSize, dest);
    QFETCH(QSize, fitted);
    QFETCH(QPoint, remainder);
    QPoint rest(9, 9);
    CZoomView::FitAspectRatio(&orig, &dest, &rest);
    QCOMPARE(dest, fitted);
    QCOMPARE(rest, remainder);
}

void tst_CZoomView::plansZoomToRect_data()
{
    QTest::addColumn<RECT>("rect");
    QTest::addColumn<bool>("zoomIn");
    QTest::addColumn<QPoint>("centre");
    QTest::addColumn<double>("scale");
    QTest::newRow("small both ways") << RECT{10, 10, 19, 19} << true << QPoint(14, 14) << 0.0;
    QTest::newRow("small, reversed") << RECT{19, 19, 10, 10} << true << QPoint(14, 14) << 0.0;
    QTest::newRow("ten wide is not small") << RECT{10, 10, 20, 12} << false << QPoint(15, 11) << 40.0;
    QTest::newRow("fills the width") << RECT{0, 0, 200, 50} << false << QPoint(100, 25) << 2.0;
    QTest::newRow("fills the height") << RECT{0, 0, 50, 100} << false << QPoint(25, 50) << 3.0;
    QTest::newRow("reversed fills the same") << RECT{200, 50, 0, 0} << false << QPoint(100, 25) << 2.0;
    QTest::newRow("a line") << RECT{0, 10, 100, 10} << false << QPoint(50, 10) << 4.0;
}

void tst_CZoomView::plansZoomToRect()
{
    QFETCH(RECT, rect);
    QFETCH(bool, zoomIn);
    QFETCH(QPoint, centre);
    QFETCH(double, scale);
    // Client 400 x 300: right and bottom as the client rectangle gives them
    const ZoomGeometry::ZoomRectPlan plan = ZoomGeometry::PlanZoomToRect(rect, QPoint(), QPoint(), RECT{0, 0, 399, 299});
    QCOMPARE(plan.bZoomInInstead, zoomIn);
    QCOMPARE(plan.ptCenter, centre);
    if (!zoomIn)
        QCOMPARE(plan.fScale, scale);
}

void tst_CZoomView::zoomsAroundClientCentre()
{
    CountingView view;
    view.resize(400, 300);
    view.m_ptPanOffset = QPoint(10, 20);
    view.SetZoomBaseSize(QSize(512, 256), QSize(), QSize());
    QCOMPARE(view.GetClientCenter(), QPoint(190, 130));
    QVERIFY(view.ZoomIn(nullptr, 2.0f));
    QCOMPARE(view.m_fZoomScale, 2.0f);
    QCOMPARE(view.GetTotalDeviceSize(), QSize(1024, 512));
    QCOMPARE(view.m_nZoomChanges, 1);
    const QPoint centre(5, 5);
    QVERIFY(view.ZoomOut(&centre, 4.0f));
    QCOMPARE(view.m_fZoomScale, 0.5f);
    QCOMPARE(view.GetTotalDeviceSize(), QSize(256, 128));
    QCOMPARE(view.m_nZoomChanges, 2);
    QCOMPARE(view.GetScrollPosition(), QPoint(0, 0)); // no scroll bars
}

void tst_CZoomView::ignoresBadFactors()
{
    CountingView view;
    view.SetZoomBaseSize(QSize(100, 100), QSize(), QSize());
    QVERIFY(view.ZoomOut(nullptr, 0.0f));
    QVERIFY(view.ZoomIn(nullptr, -1.0f));
    QVERIFY(view.ZoomOut(nullptr, std::numeric_limits<float>::infinity()));
    QCOMPARE(view.m_fZoomScale, 1.0f);
    QCOMPARE(view.m_nZoomChanges, 0);
    QCOMPARE(ZoomGeometry::ScaleSize(QSize(100, 100), std::nan("")), QSize(0, 0));
    QCOMPARE(ZoomGeometry::ScaleSize(QSize(1 << 30, 10), 8.0), QSize(INT_MAX, 80));
}

void tst_CZoomView::zoomsToRect()
{
    CountingView view;
    view.resize(400, 300);
    view.SetZoomBaseSize(QSize(100, 100), QSize(), QSize());
    // Too small: zoom in by 1.25 instead
    const RECT small{30, 30, 35, 36};
    view.ZoomToRect(&small);
    QCOMPARE(view.m_fZoomScale, 1.25f);
    const RECT wide{0, 0, 200, 50};
    view.ZoomToRect(&wide);
    QCOMPARE(view.m_fZoomScale, float(401.0 / 200));
    const RECT reversed{200, 50, 0, 0};
    view.m_fZoomScale = 1.0f;
    view.ZoomToRect(&reversed);
    QCOMPARE(view.m_fZoomScale, float(401.0 / 200));
    QCOMPARE(view.m_nZoomChanges, 3);
}

void tst_CZoomView::setsBaseSize()
{
    CZoomView view;
    view.SetZoomBaseSize(QSize(640, 480), QSize(1, 1), QSize(1, 1));
    QCOMPARE(view.m_sizeBaseDev, QSize(640, 480));
    QCOMPARE(view.GetTotalSize(), QSize(640, 480));
    RECT r{5, 9, 1, 2};
    CZoomView::NormalizeZoomRect(&r);
    QCOMPARE(r, (RECT{1, 2, 5, 9}));
    QSize page, line;
    ZoomGeometry::PageAndLineSizes(QSize(640, 480), QSize(0, -100), QSize(0, 0), page, line);
    QCOMPARE(page, QSize(64, 100));
    QCOMPARE(line, QSize(6, 10));
}

void tst_CZoomView::keepsArrowCursorAndModeOff()
{
    CountingView view;
    view.resize(100, 100);
    QCOMPARE(view.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(view.m_nZoomMode, 0);
    QTest::mousePress(&view, Qt::RightButton, {}, QPoint(50, 50));
    QTest::mouseRelease(&view, Qt::RightButton, {}, QPoint(50, 50));
    QCOMPARE(view.m_nZoomMode, 0);
    QCOMPARE(view.cursor().shape(), Qt::ArrowCursor);
    // A left release in mode 0 zooms nothing
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(50, 50));
    QCOMPARE(view.m_fZoomScale, 1.0f);
    QCOMPARE(view.m_nZoomChanges, 0);
    // Whatever mode a right press finds without a drag, it switches the modes off
    view.m_nZoomMode = 2;
    view.OnRButtonDown(QPoint(1, 1));
    QCOMPARE(view.m_nZoomMode, 0);
}

void tst_CZoomView::drawsRubberBandThatErasesItself()
{
    CZoomView view;
    QImage buffer(40, 30, QImage::Format_RGB32);
    buffer.fill(QColor(200, 100, 50));
    const QImage before = buffer.copy();
    const RECT band{5, 5, 30, 20};
    QPainter p(&buffer);
    view.DrawRubberBand(&p, &band, TRUE);
    p.end();
    QVERIFY(buffer != before);
    QCOMPARE(buffer.pixel(20, 12), before.pixel(20, 12)); // only the outline
    p.begin(&buffer);
    view.DrawRubberBand(&p, &band, TRUE);
    p.end();
    QCOMPARE(buffer, before);

    QImage solid(40, 30, QImage::Format_RGB32);
    solid.fill(Qt::white);
    p.begin(&solid);
    view.DrawRubberBand(&p, &band, FALSE);
    p.end();
    QCOMPARE(QColor(solid.pixel(5, 5)), QColor(Qt::black));
    QCOMPARE(QColor(solid.pixel(30, 12)), QColor(Qt::black));
    QCOMPARE(QColor(solid.pixel(6, 6)), QColor(Qt::white));
}

QTEST_MAIN(tst_CZoomView)
#include "tst_CZoomView.moc"
