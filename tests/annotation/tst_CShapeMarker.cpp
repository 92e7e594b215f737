// The picture markers: 64 x 64 whatever the zoom, their hit box and handles; and the
// composite of child shapes.

// Qt
#include <QtTest>

// Orvane
#include "ShapeTestCanvas.h"
#include "annotation/CShapeMarkerR.h"
#include "annotation/CShapeMarkerX.h"
#include "annotation/CShapeRectangle.h"
#include "annotation/CShapeThoracicRatio.h"

namespace {
const COLORREF kGrey = RGB(128, 128, 128);
} // namespace

class tst_CShapeMarker : public QObject
{
    Q_OBJECT

private slots:
    void hitBox_data();
    void hitBox();
    void drawsPictureAt64();
    void handlesAreVertexOrNone();
    void compositeDrawsChildrenAndIsAlwaysHit();
};

void tst_CShapeMarker::hitBox_data()
{
    QTest::addColumn<float>("zoom");
    QTest::addColumn<int>("leftOfCentre"); // view pixels
    QTest::addColumn<bool>("hit");
    QTest::newRow("31 left") << 1.0f << 31 << true;
    QTest::newRow("32 left") << 1.0f << 32 << true;
    QTest::newRow("33 left") << 1.0f << 33 << false;
    QTest::newRow("zoom 2, 31 left") << 2.0f << 31 << true;
    QTest::newRow("zoom 2, 34 left") << 2.0f << 34 << false;
}

void tst_CShapeMarker::hitBox()
{
    QFETCH(float, zoom);
    QFETCH(int, leftOfCentre);
    QFETCH(bool, hit);
    CShapeMarkerX marker;
    marker.SetStartPoint(CDoublePoint(100, 100));
    const CDoublePoint p((100.0 * zoom - leftOfCentre) / zoom, 100.0);
    QCOMPARE(bool(marker.HitTest(&p, zoom)), hit);
}

void tst_CShapeMarker::drawsPictureAt64()
{
    CShapeMarkerR marker;
    marker.SetStartPoint(CDoublePoint(25, 25));
    ShapeTestSurface empty(120, 120);
    marker.Draw(empty.canvas, 0, 2.0f);
    QCOMPARE(empty.CountChanged(kGrey), 0); // nothing loads its picture

    const QByteArray white(4 * 4, char(255));
    QVERIFY(marker.m_imgMarker.CreateFromArray(reinterpret_cast<const BYTE*>(white.constData()), 4, 4, 8, 4, true));
    ShapeTestSurface s(120, 120);
    marker.Draw(s.canvas, 0, 2.0f); // centre (50, 50)
    QCOMPARE(s.CountChanged(kGrey), 64 * 64);
    QCOMPARE(s.Pixel(18, 18), RGB(255, 255, 255));
    QCOMPARE(s.Pixel(81, 81), RGB(255, 255, 255));
    QCOMPARE(s.Pixel(82, 50), kGrey);
}

void tst_CShapeMarker::handlesAreVertexOrNone()
{
    CShapeMarkerX marker;
    marker.SetStartPoint(CDoublePoint(10, 10));
    marker.SetVertexPoint(CDoublePoint(100, 100));
    marker.HitTestHandle(CDoublePoint(10, 10), 1.0f);
    QCOMPARE(marker.GetSelectedHandle(), 5);
    marker.HitTestHandle(CDoublePoint(100, 100), 1.0f);
    QCOMPARE(marker.GetSelectedHandle(), 4);
}

void tst_CShapeMarker::compositeDrawsChildrenAndIsAlwaysHit()
{
    CShapeThoracicRatio ratio;
    const CDoublePoint far(1000, 1000);
    QVERIFY(ratio.HitTest(&far, 1.0f));
    ShapeTestSurface empty(60, 60);
    ratio.Draw(empty.canvas, 0, 1.0f);
    QCOMPARE(empty.CountChanged(kGrey), 0);

    const CDoublePoint a(10, 10), b(20, 20);
    const COLORREF white = RGB(255, 255, 255);
    const int one = 1;
    ratio.m_pChildShapes[2] = std::make_unique<CShapeRectangle>(&a, &b, &white, &one);
    ShapeTestSurface s(60, 60);
    ratio.Draw(s.canvas, 0, 1.0f);
    QCOMPARE(s.Pixel(10, 10), white);
}

QTEST_MAIN(tst_CShapeMarker)
#include "tst_CShapeMarker.moc"
