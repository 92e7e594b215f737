// The ellipse: area texts, its two looks, whole-pixel points after drawing, hit tests and
// handles at the caller's zoom, and its box across a reduced rendering.

// Qt
#include <QtTest>

// Orvane
#include "ShapeTestCanvas.h"
#include "annotation/CShapeEllipse.h"

namespace QTest {
template <>
char* toString(const CDoublePoint& p)
{
    return qstrdup(QByteArray::number(p.x, 'g', 17) + ", " + QByteArray::number(p.y, 'g', 17));
}
} // namespace QTest

namespace {
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kGrey = RGB(128, 128, 128);
const int kOne = 1;

std::unique_ptr<CShapeEllipse> Ellipse(QPointF start, QPointF end, int renderMode = 0)
{
    const CDoublePoint a(start.x(), start.y()), b(end.x(), end.y());
    auto ellipse = std::make_unique<CShapeEllipse>(&a, &b, &kGreen, &kOne);
    ellipse->m_nRenderMode = renderMode;
    return ellipse;
}
} // namespace

class tst_CShapeEllipse : public QObject
{
    Q_OBJECT

private slots:
    void measures_data();
    void measures();
    void rubberBandHasNoText();
    void writesAboveTheBox();
    void drawsWhiteBoxInBoxMode();
    void endsDrawWithWholePixels();
    void hitTest_data();
    void hitTest();
    void hitTestUsesTheCallersZoom();
    void selectsCornerHandles();
    void dragsCorner();
    void keepsItsBoxAcrossReducedRendering();
};

void tst_CShapeEllipse::measures_data()
{
    QTest::addColumn<bool>("known");
    QTest::addColumn<double>("row");
    QTest::addColumn<double>("column");
    QTest::addColumn<QString>("text");
    // From (0, 0) to (40, 20).
    QTest::newRow("0.5 mm") << true << 0.5 << 0.5 << "Area=1.57 cm sq.";
    QTest::newRow("pixels") << false << 1.0 << 1.0 << "Area=628.57 pix sq.";
    // 40 columns x 0.25 mm and 20 rows x 0.5 mm: 1.0 cm by 1.0 cm.
    QTest::newRow("anisotropic") << true << 0.5 << 0.25 << "Area=0.79 cm sq.";
}

void tst_CShapeEllipse::measures()
{
    QFETCH(bool, known);
    QFETCH(double, row);
    QFETCH(double, column);
    QFETCH(QString, text);
    auto ellipse = Ellipse(QPointF(0, 0), QPointF(40, 20));
    ellipse->SetPixelSpacing(known, row, column);
    ShapeTestSurface s;
    ellipse->Draw(s.canvas, 0, 1.0f);
    QCOMPARE(ellipse->GetText(), text);
    ellipse->FlipVertical(90, 100, 100, 1.0f);
    ellipse->Draw(s.canvas, 0, 0.5f);
    ellipse->RestoreOriginalPoints();
    ellipse->Draw(s.canvas, 0, 2.0f);
    QCOMPARE(ellipse->GetText(), text);
}

void tst_CShapeEllipse::rubberBandHasNoText()
{
    auto ellipse = Ellipse(QPointF(10, 10), QPointF(50, 30), 1);
    ShapeTestSurface s;
    ellipse->Draw(s.canvas, 0, 1.0f);
    QVERIFY(ellipse->GetText().isEmpty());
    QVERIFY(s.canvas->texts.isEmpty());
    QCOMPARE(s.Pixel(30, 10), kGreen);
}

void tst_CShapeEllipse::writesAboveTheBox()
{
    auto ellipse = Ellipse(QPointF(10, 40), QPointF(50, 60));
    ShapeTestSurface s;
    ellipse->Draw(s.canvas, 0, 2.0f);
    QCOMPARE(s.canvas->texts.size(), 1);
    QCOMPARE(QPoint(s.canvas->texts[0].x, s.canvas->texts[0].y), QPoint(20, 55));
    QCOMPARE(s.canvas->texts[0].color, kGreen);
    QCOMPARE(s.Pixel(60, 80), kGreen); // top of the outline: centre (60, 100), radius 20
}

void tst_CShapeEllipse::drawsWhiteBoxInBoxMode()
{
    auto ellipse = Ellipse(QPointF(10, 10), QPointF(50, 30));
    ShapeTestSurface plain, boxed;
    ellipse->Draw(plain.canvas, 0, 1.0f);
    QCOMPARE(plain.Pixel(10, 10), kGrey);
    ellipse->SetBoxMode(1);
    ellipse->Draw(boxed.canvas, 0, 1.0f);
    QCOMPARE(boxed.Pixel(10, 10), RGB(255, 255, 255));
    QCOMPARE(boxed.Pixel(49, 29), RGB(255, 255, 255));
}

void tst_CShapeEllipse::endsDrawWithWholePixels()
{
    auto ellipse = Ellipse(QPointF(40.6, 20.2), QPointF(0.3, 0.9));
    ShapeTestSurface s;
    ellipse->Draw(s.canvas, 0, 1.0f);
    QCOMPARE(ellipse->GetStartPoint(), CDoublePoint(0, 0));
    QCOMPARE(ellipse->GetEndPoint(), CDoublePoint(40, 20));
    QCOMPARE(ellipse->GetOrigStartPoint(), CDoublePoint(40.6, 20.2)); // saved copies stay
}

void tst_CShapeEllipse::hitTest_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<bool>("hit");
    // Box (100, 100)-(200, 160) at zoom 1.
    QTest::newRow("near top-left corner outside") << QPointF(85, 85) << true;
    QTest::newRow("20 from a corner") << QPointF(220, 180) << true;
    QTest::newRow("21 from a corner") << QPointF(79, 100) << false;
    QTest::newRow("left edge") << QPointF(100, 130) << true;
    QTest::newRow("top edge") << QPointF(150, 100) << true;
    QTest::newRow("centre") << QPointF(150, 130) << false;
    QTest::newRow("right edge") << QPointF(200, 130) << false;
    QTest::newRow("bottom edge") << QPointF(150, 160) << false;
    QTest::newRow("just inside the right edge") << QPointF(199, 130) << false;
}

void tst_CShapeEllipse::hitTest()
{
    QFETCH(QPointF, point);
    QFETCH(bool, hit);
    auto ellipse = Ellipse(QPointF(100, 100), QPointF(200, 160));
    const CDoublePoint p(point.x(), point.y());
    QCOMPARE(bool(ellipse->HitTest(&p, 1.0f)), hit);
    // The same after a Draw, which puts the points in order.
    ShapeTestSurface s;
    ellipse->Draw(s.canvas, 0, 1.0f);
    QCOMPARE(bool(ellipse->HitTest(&p, 1.0f)), hit);
}

void tst_CShapeEllipse::hitTestUsesTheCallersZoom()
{
    // Drawn last in a pane at zoom 1, tested in a pane at zoom 2: the corners are those of zoom 2.
    auto ellipse = Ellipse(QPointF(100, 100), QPointF(200, 160));
    ShapeTestSurface s;
    ellipse->Draw(s.canvas, 0, 1.0f);
    const CDoublePoint corner(100, 100), beside(85, 85);
    QVERIFY(ellipse->HitTest(&corner, 2.0f));
    QVERIFY(!ellipse->HitTest(&beside, 2.0f)); // 30 view pixels from the corner at zoom 2
    const std::array<POINT, 4> h = ellipse->GetHandles(2.0f);
    QCOMPARE(h[0], (POINT{200, 200}));
    QCOMPARE(h[1], (POINT{200, 320}));
    QCOMPARE(h[2], (POINT{400, 200}));
    QCOMPARE(h[3], (POINT{400, 320}));
}

void tst_CShapeEllipse::selectsCornerHandles()
{
    auto ellipse = Ellipse(QPointF(100, 100), QPointF(200, 160));
    ellipse->HitTestHandle(CDoublePoint(201, 161), 1.0f);
    QCOMPARE(ellipse->GetSelectedHandle(), 14);
    ellipse->HitTestHandle(CDoublePoint(100, 159), 1.0f);
    QCOMPARE(ellipse->GetSelectedHandle(), 12);
    ellipse->HitTestHandle(CDoublePoint(150, 100), 1.0f);
    QCOMPARE(ellipse->GetSelectedHandle(), 10);
    ellipse->HitTestHandle(CDoublePoint(150, 130), 1.0f); // neither: unchanged
    QCOMPARE(ellipse->GetSelectedHandle(), 10);
}

void tst_CShapeEllipse::dragsCorner()
{
    auto ellipse = Ellipse(QPointF(100, 100), QPointF(200, 160));
    ShapeTestSurface s;
    ellipse->Draw(s.canvas, 0, 1.0f);
    QVERIFY(!ellipse->GetText().isEmpty());
    ellipse->HitTestHandle(CDoublePoint(100, 160), 1.0f);
    QCOMPARE(ellipse->GetSelectedHandle(), 12);
    ellipse->DragHandle(CDoublePoint(90, 170), CDoublePoint(-10, 10), RECT{0, 0, 500, 500});
    QCOMPARE(ellipse->GetStartPoint(), CDoublePoint(90, 100));
    QCOMPARE(ellipse->GetEndPoint(), CDoublePoint(200, 170));
    QVERIFY(ellipse->GetText().isEmpty());
    QCOMPARE(ellipse->GetOrigStartPoint(), CDoublePoint(100, 100));
    // A whole move that would leave the bounds does nothing.
    ellipse->HitTestHandle(CDoublePoint(150, 100), 1.0f);
    QCOMPARE(ellipse->GetSelectedHandle(), 10);
    ellipse->DragHandle(CDoublePoint(), CDoublePoint(400, 0), RECT{0, 0, 500, 500});
    QCOMPARE(ellipse->GetStartPoint(), CDoublePoint(90, 100));
}

void tst_CShapeEllipse::keepsItsBoxAcrossReducedRendering()
{
    // A window drag on a 1024 x 1024 image shows it reduced; the ellipse drawn meanwhile puts
    // its reduced points in whole pixels. Back at full size its box must be what it was.
    auto ellipse = Ellipse(QPointF(100, 100), QPointF(200, 150));
    ShapeTestSurface s(400, 400);
    ellipse->Draw(s.canvas, 0, 1.0f);
    const double factor = 1024 * 0.0016666666666666668;
    for (int press = 0; press < 3; ++press) {
        ellipse->ReducePoints(factor);
        ellipse->Draw(s.canvas, 0, float(factor));
        ellipse->RestoreReducedPoints();
    }
    ellipse->Draw(s.canvas, 0, 1.0f);
    QCOMPARE(ellipse->GetStartPoint(), CDoublePoint(100, 100));
    QCOMPARE(ellipse->GetEndPoint(), CDoublePoint(200, 150));
}

QTEST_MAIN(tst_CShapeEllipse)
#include "tst_CShapeEllipse.moc"
