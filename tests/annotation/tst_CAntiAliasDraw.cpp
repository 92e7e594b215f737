// Anti-aliased lines and ellipse outlines: blended pixel values, end pixels, degenerate boxes,
// and drawing past the top or left edge of the back buffer.

// Qt
#include <QtTest>

// std
#include <cmath>

// Orvane
#include "ShapeTestCanvas.h"
#include "annotation/CAntiAliasDraw.h"

namespace {

constexpr COLORREF kBack = RGB(100, 100, 100);
constexpr COLORREF kLine = RGB(200, 0, 50);

COLORREF Mix(COLORREF bg, COLORREF c, double w)
{
    return RGB(int(GetRValue(bg) * (1 - w)) + int(GetRValue(c) * w), int(GetGValue(bg) * (1 - w)) + int(GetGValue(c) * w),
               int(GetBValue(bg) * (1 - w)) + int(GetBValue(c) * w));
}

struct ExpectedPixel
{
    int x, y;
    double weight; // share of the line colour; 2 = set to the line colour
};

} // namespace

Q_DECLARE_METATYPE(QList<ExpectedPixel>)

class tst_CAntiAliasDraw : public QObject
{
    Q_OBJECT

private slots:
    void blendsAndClamps_data();
    void blendsAndClamps();
    void linePixels_data();
    void linePixels();
    void lineIsTheSameInBothDirections();
    void lineAcrossTopLeftEdgeMatchesUnpannedLine_data();
    void lineAcrossTopLeftEdgeMatchesUnpannedLine();
    void farOffScreenLineDrawsItsVisiblePart();
    void ellipseOutline();
    void degenerateEllipseBoxes_data();
    void degenerateEllipseBoxes();
    void ellipseAcrossTopLeftEdgeMatchesUnpannedEllipse();
    void nothingWithoutBackBuffer();
};

void tst_CAntiAliasDraw::blendsAndClamps_data()
{
    QTest::addColumn<double>("weight");
    QTest::addColumn<uint>("expected");
    QTest::newRow("none") << 0.0 << uint(kBack);
    QTest::newRow("full") << 1.0 << uint(kLine);
    QTest::newRow("quarter") << 0.25 << uint(RGB(75 + 50, 75, 75 + 12));
    QTest::newRow("above one is full") << 1.75 << uint(kLine);
    QTest::newRow("below zero is none") << -0.75 << uint(kBack);
    QTest::newRow("nan is none") << std::nan("") << uint(kBack);
}

void tst_CAntiAliasDraw::blendsAndClamps()
{
    QFETCH(double, weight);
    QFETCH(uint, expected);
    QCOMPARE(uint(CAntiAliasDraw::Blend(kBack, kLine, weight)), expected);
}

void tst_CAntiAliasDraw::linePixels_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QList<ExpectedPixel>>("pixels");
    QTest::addColumn<int>("changed");

    QList<ExpectedPixel> horizontal{{0, 5, 2}, {10, 5, 2}};
    for (int x = 1; x <= 9; ++x)
        horizontal << ExpectedPixel{x, 5, 1} << ExpectedPixel{x, 6, 0};
    QTest::newRow("horizontal") << QPoint(0, 5) << QPoint(10, 5) << horizontal << 11;
    QTest::newRow("horizontal reversed") << QPoint(10, 5) << QPoint(0, 5) << horizontal << 11;

    QList<ExpectedPixel> diagonal{{0, 0, 2}, {10, 10, 2}};
    for (int y = 1; y <= 9; ++y)
        diagonal << ExpectedPixel{y, y, 1} << ExpectedPixel{y + 1, y, 0};
    QTest::newRow("45 degrees") << QPoint(0, 0) << QPoint(10, 10) << diagonal << 11;

    // Gradient 0.25: the running y passes 0.25, 0.5, 0.75, 1.0, ...
    QTest::newRow("shallow slope") << QPoint(0, 0) << QPoint(8, 2)
                                   << QList<ExpectedPixel>{{1, 0, 0.75}, {1, 1, 0.25}, {2, 0, 0.5}, {2, 1, 0.5},
                                                           {3, 0, 0.25}, {3, 1, 0.75}, {4, 1, 1}, {4, 2, 0},
                                                           {7, 1, 0.25}, {7, 2, 0.75}, {8, 2, 2}}
                                   << 15;
    QTest::newRow("steep slope") << QPoint(0, 0) << QPoint(2, 8)
                                 << QList<ExpectedPixel>{{0, 1, 0.75}, {1, 1, 0.25}, {1, 4, 1}, {2, 4, 0},
                                                         {1, 7, 0.25}, {2, 7, 0.75}, {2, 8, 2}}
                                 << 15;
    QTest::newRow("one pixel") << QPoint(5, 5) << QPoint(5, 5) << QList<ExpectedPixel>{{5, 5, 2}} << 1;
    QTest::newRow("one step along x") << QPoint(5, 5) << QPoint(6, 5)
                                      << QList<ExpectedPixel>{{5, 5, 2}, {6, 5, 2}} << 2;
    QTest::newRow("one step along y") << QPoint(5, 5) << QPoint(5, 6)
                                      << QList<ExpectedPixel>{{5, 5, 2}, {5, 6, 2}} << 2;
    // Above the top edge the split uses floor: at x = 5 the running y is -0.75, so row 0 gets
    // a quarter of the colour and row 1 nothing (truncation would give row 0 weight 1.75).
    QTest::newRow("past the top edge") << QPoint(-4, -3) << QPoint(12, 1)
                                       << QList<ExpectedPixel>{{4, 0, 0}, {5, 0, 0.25}, {5, 1, 0}, {6, 0, 0.5},
                                                               {7, 0, 0.75}, {8, 0, 1}, {8, 1, 0}, {12, 1, 2}}
                                       << 11;
}

void tst_CAntiAliasDraw::linePixels()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QList<ExpectedPixel>, pixels);
    QFETCH(int, changed);
    ShapeTestSurface s(30, 30, kBack);
    CAntiAliasDraw().DrawLine(s.canvas, from.x(), from.y(), to.x(), to.y(), kLine);
    for (const ExpectedPixel& p : pixels) {
        const COLORREF expected = p.weight > 1.5 ? kLine : Mix(kBack, kLine, p.weight);
        QVERIFY2(s.Pixel(p.x, p.y) == expected, qPrintable(QStringLiteral("pixel %1,%2").arg(p.x).arg(p.y)));
    }
    QCOMPARE(s.CountChanged(kBack), changed);
}

void tst_CAntiAliasDraw::lineIsTheSameInBothDirections()
{
    ShapeTestSurface a(40, 40, kBack), b(40, 40, kBack);
    CAntiAliasDraw().DrawLine(a.canvas, 3, 7, 31, 18, kLine);
    CAntiAliasDraw().DrawLine(b.canvas, 31, 18, 3, 7, kLine);
    QCOMPARE(a.Finish(), b.Finish());
}

void tst_CAntiAliasDraw::lineAcrossTopLeftEdgeMatchesUnpannedLine_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::newRow("shallow") << QPoint(10, 10) << QPoint(30, 20);
    QTest::newRow("steep") << QPoint(10, 10) << QPoint(18, 34);
    QTest::newRow("rising") << QPoint(10, 22) << QPoint(34, 10);
}

void tst_CAntiAliasDraw::lineAcrossTopLeftEdgeMatchesUnpannedLine()
{
    // The same line once fully inside, once panned so that it starts above and left of the
    // buffer: the visible pixels must agree, with no wrapped channels.
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    ShapeTestSurface full(40, 40, kBack), panned(40, 40, kBack);
    CAntiAliasDraw().DrawLine(full.canvas, from.x(), from.y(), to.x(), to.y(), kLine);
    panned.canvas->SetViewportOrg(-15, -15);
    CAntiAliasDraw().DrawLine(panned.canvas, from.x(), from.y(), to.x(), to.y(), kLine);
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 25; ++x)
            QVERIFY2(panned.Pixel(x, y) == full.Pixel(x + 15, y + 15), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
}

void tst_CAntiAliasDraw::farOffScreenLineDrawsItsVisiblePart()
{
    ShapeTestSurface s(30, 30, kBack);
    CAntiAliasDraw().DrawLine(s.canvas, -200000000, 5, 200000000, 5, kLine);
    for (int x = 0; x < 30; ++x) {
        QCOMPARE(s.Pixel(x, 5), kLine);
        QCOMPARE(s.Pixel(x, 6), kBack);
    }
    QCOMPARE(s.CountChanged(kBack), 30);
}

void tst_CAntiAliasDraw::ellipseOutline()
{
    // Box 20 x 10 at (5, 5): centre (15, 10), radii 10 and 5; the second pass runs over the
    // rows -2..2.
    ShapeTestSurface s(40, 30, kBack);
    CAntiAliasDraw().DrawEllipse(s.canvas, 5, 5, 25, 15, kLine);
    QCOMPARE(s.Pixel(25, 10), kLine); // right end, both passes at weight 1
    QCOMPARE(s.Pixel(5, 10), kLine);  // left end
    QCOMPARE(s.Pixel(4, 10), kBack);  // rewritten at weight 0
    QCOMPARE(s.Pixel(15, 5), kLine);  // top
    QCOMPARE(s.Pixel(15, 15), kLine); // bottom
    QCOMPARE(s.Pixel(15, 10), kBack); // centre
    // (24, 12) is reached by column 9 of the first pass and row 2 of the second.
    const double yf = 5 * std::sqrt(1 - 81.0 / 100.0), xf = 10 * std::sqrt(1 - 4.0 / 25.0);
    const COLORREF twice = Mix(Mix(kBack, kLine, 1 - (yf - 2)), kLine, 1 - (xf - 9));
    QCOMPARE(s.Pixel(24, 12), twice);
    // Left-right and up-down symmetric.
    QCOMPARE(s.Pixel(6, 8), s.Pixel(24, 12));
}

void tst_CAntiAliasDraw::degenerateEllipseBoxes_data()
{
    QTest::addColumn<QRect>("box"); // left, top, right, bottom as x, y, width, height of the two corners
    QTest::addColumn<QPoint>("runStep");
    QTest::addColumn<int>("changed");
    QTest::newRow("zero height") << QRect(QPoint(2, 10), QPoint(22, 10)) << QPoint(1, 0) << 21;
    QTest::newRow("zero width") << QRect(QPoint(10, 2), QPoint(10, 22)) << QPoint(0, 1) << 21;
    QTest::newRow("zero both") << QRect(QPoint(10, 10), QPoint(10, 10)) << QPoint(0, 0) << 0;
}

void tst_CAntiAliasDraw::degenerateEllipseBoxes()
{
    QFETCH(QRect, box);
    QFETCH(QPoint, runStep);
    QFETCH(int, changed);
    ShapeTestSurface s(30, 30, kBack);
    CAntiAliasDraw().DrawEllipse(s.canvas, box.left(), box.top(), box.left() + box.width() - 1,
                                 box.top() + box.height() - 1, kLine);
    QCOMPARE(s.CountChanged(kBack), changed);
    for (int i = 0; i < changed; ++i)
        QCOMPARE(s.Pixel(box.left() + i * runStep.x(), box.top() + i * runStep.y()), kLine);
}

void tst_CAntiAliasDraw::ellipseAcrossTopLeftEdgeMatchesUnpannedEllipse()
{
    ShapeTestSurface full(60, 60, kBack), panned(60, 60, kBack);
    CAntiAliasDraw().DrawEllipse(full.canvas, 10, 12, 41, 37, kLine);
    panned.canvas->SetViewportOrg(-25, -25);
    CAntiAliasDraw().DrawEllipse(panned.canvas, 10, 12, 41, 37, kLine);
    for (int y = 0; y < 35; ++y)
        for (int x = 0; x < 35; ++x)
            QVERIFY2(panned.Pixel(x, y) == full.Pixel(x + 25, y + 25), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
}

void tst_CAntiAliasDraw::nothingWithoutBackBuffer()
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    CFixedFontMetrics metrics;
    CShapeCanvas canvas(painter, nullptr, metrics);
    CAntiAliasDraw().DrawLine(&canvas, 0, 0, 19, 19, kLine);
    CAntiAliasDraw().DrawEllipse(&canvas, 0, 0, 19, 19, kLine);
    CAntiAliasDraw().DrawLine(nullptr, 0, 0, 19, 19, kLine);
    painter.end();
    QCOMPARE(image.pixel(5, 5), qRgb(0, 0, 0));
}

QTEST_MAIN(tst_CAntiAliasDraw)
#include "tst_CAntiAliasDraw.moc"
