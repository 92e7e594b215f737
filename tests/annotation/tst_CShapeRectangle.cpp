// The rectangles: frames in view pixels whatever the zoom, the rounded one and the one with
// an icon.

// Qt
#include <QtTest>

// Orvane
#include "ShapeTestCanvas.h"
#include "annotation/CShapeBoundRect.h"
#include "annotation/CShapeRectangle.h"
#include "annotation/CShapeRectangleSync.h"

namespace {
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kGrey = RGB(128, 128, 128);
const int kOne = 1;
} // namespace

class tst_CShapeRectangle : public QObject
{
    Q_OBJECT

private slots:
    void framesAtEveryZoom_data();
    void framesAtEveryZoom();
    void boundRectRoundsCorners();
    void syncRectangleDrawsIconAndHits();
};

void tst_CShapeRectangle::framesAtEveryZoom_data()
{
    QTest::addColumn<float>("zoom");
    QTest::newRow("1") << 1.0f;
    QTest::newRow("2") << 2.0f;
    QTest::newRow("0.5") << 0.5f;
}

void tst_CShapeRectangle::framesAtEveryZoom()
{
    QFETCH(float, zoom);
    const CDoublePoint a(50, 40), b(10, 10);
    CShapeRectangle rect(&a, &b, &kWhite, &kOne);
    QCOMPARE(rect.GetBounds(), (RECT{10, 10, 50, 40}));
    ShapeTestSurface s(80, 80);
    rect.Draw(s.canvas, 0, zoom);
    QCOMPARE(s.Pixel(10, 10), kWhite);
    QCOMPARE(s.Pixel(49, 10), kWhite);
    QCOMPARE(s.Pixel(10, 39), kWhite);
    QCOMPARE(s.Pixel(49, 39), kWhite);
    QCOMPARE(s.Pixel(50, 10), kGrey);
    QCOMPARE(s.Pixel(10, 40), kGrey);
    QCOMPARE(s.CountChanged(kGrey), 2 * 40 + 2 * 30 - 4);
}

void tst_CShapeRectangle::boundRectRoundsCorners()
{
    CShapeBoundRect rect;
    const POINT delta{10, 10};
    rect.MoveBy(&delta); // (0, 0, 0, 0) moved: still empty
    ShapeTestSurface s(80, 80);
    rect.Draw(s.canvas, 0, 1.0f);
    QCOMPARE(s.CountChanged(kGrey), 0);
}

void tst_CShapeRectangle::syncRectangleDrawsIconAndHits()
{
    CShapeRectangleSync rect;
    QImage icon(8, 8, QImage::Format_RGB32);
    icon.fill(Qt::red);
    rect.m_hIcon = icon;
    ShapeTestSurface hidden(80, 80);
    rect.Draw(hidden.canvas, 0, 1.0f);
    QCOMPARE(hidden.CountChanged(kGrey), 0);
    rect.m_bShowIcon = 1;
    ShapeTestSurface shown(80, 80);
    rect.Draw(shown.canvas, 0, 1.0f);
    QCOMPARE(shown.Pixel(7, 7), RGB(255, 0, 0)); // 15 x 15 at the box's top left
    QCOMPARE(shown.Pixel(15, 15), kGrey);
    const CDoublePoint p(5, 5);
    QVERIFY(!rect.HitTest(&p, 1.0f)); // its start and end are (0, 0)
}

QTEST_MAIN(tst_CShapeRectangle)
#include "tst_CShapeRectangle.moc"
