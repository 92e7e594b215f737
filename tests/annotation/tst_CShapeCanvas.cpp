// The shapes' drawing surface: GDI geometry (end points left out, edge-exclusive boxes),
// the viewport origin, styled and wide pens, background modes, and per-pixel access.

// Qt
#include <QtTest>

// Orvane
#include "ShapeTestCanvas.h"
#include "annotation/CShapeCanvas.h"

namespace {
const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
} // namespace

class tst_CShapeCanvas : public QObject
{
    Q_OBJECT

private slots:
    void startsAsAFreshDeviceContext();
    void lineToLeavesOutEndPoint();
    void originShiftsEveryDrawing();
    void dashDotDotPattern_data();
    void dashDotDotPattern();
    void widePenIsWider();
    void farLineDrawsItsVisiblePart();
    void boxesExcludeRightAndBottom();
    void opaqueTextFillsItsBox();
    void pixelsInsideTheBufferOnly();
    void noPixelsForOtherFormats();
};

void tst_CShapeCanvas::startsAsAFreshDeviceContext()
{
    ShapeTestSurface s;
    QCOMPARE(s.canvas->GetBkMode(), int(CShapeCanvas::OPAQUE));
    QCOMPARE(s.canvas->GetBkColor(), RGB(255, 255, 255));
    QCOMPARE(s.canvas->GetTextColor(), RGB(0, 0, 0));
    QCOMPARE(s.canvas->GetViewportOrg(), (POINT{0, 0}));
    const CShapeCanvas::Pen old = s.canvas->SelectPen({CShapeCanvas::PS_SOLID, 2, kRed});
    QCOMPARE(old.nWidth, 1);
    QCOMPARE(old.crColor, RGB(0, 0, 0));
    QCOMPARE(s.canvas->GetPen().crColor, kRed);
    QCOMPARE(s.canvas->SetViewportOrg(3, 4), (POINT{0, 0}));
    QCOMPARE(s.canvas->SetViewportOrg(0, 0), (POINT{3, 4}));
    {
        const CShapeCanvas::ScopedPen scoped(*s.canvas, {CShapeCanvas::PS_SOLID, 1, kBlue});
        QCOMPARE(s.canvas->GetPen().crColor, kBlue);
    }
    QCOMPARE(s.canvas->GetPen().crColor, kRed);
}

void tst_CShapeCanvas::lineToLeavesOutEndPoint()
{
    ShapeTestSurface s(40, 40);
    s.canvas->SelectPen({CShapeCanvas::PS_SOLID, 1, kRed});
    s.canvas->MoveTo(5, 5);
    s.canvas->LineTo(15, 5);
    QCOMPARE(s.canvas->GetCurrentPosition(), (POINT{15, 5}));
    s.canvas->LineTo(15, 15);
    s.canvas->LineTo(15, 15); // no length: nothing
    QCOMPARE(s.Pixel(5, 5), kRed);
    QCOMPARE(s.Pixel(14, 5), kRed);
    QCOMPARE(s.Pixel(15, 5), kRed); // start of the second line
    QCOMPARE(s.Pixel(15, 14), kRed);
    QCOMPARE(s.Pixel(15, 15), kGrey);
    QCOMPARE(s.CountChanged(kGrey), 20);
}

void tst_CShapeCanvas::originShiftsEveryDrawing()
{
    ShapeTestSurface s(60, 60);
    s.canvas->SetViewportOrg(20, 30);
    s.canvas->SelectPen({CShapeCanvas::PS_SOLID, 1, kRed});
    s.canvas->MoveTo(-20, -30);
    s.canvas->LineTo(-10, -30);
    s.canvas->FillSolidRect(RECT{0, 0, 2, 2}, kBlue);
    s.canvas->SetPixel(5, 5, kBlue);
    COLORREF c = 0;
    QVERIFY(s.canvas->GetPixel(-20, -30, &c));
    QCOMPARE(c, kRed);
    QCOMPARE(s.canvas->GetPixelBounds(), (RECT{-20, -30, 40, 30}));
    QCOMPARE(s.Pixel(0, 0), kRed);
    QCOMPARE(s.Pixel(9, 0), kRed);
    QCOMPARE(s.Pixel(21, 31), kBlue);
    QCOMPARE(s.Pixel(25, 35), kBlue);
}

void tst_CShapeCanvas::dashDotDotPattern_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<uint>("gap");
    QTest::newRow("transparent") << int(CShapeCanvas::TRANSPARENT) << uint(kGrey);
    QTest::newRow("opaque") << int(CShapeCanvas::OPAQUE) << uint(kBlue);
}

void tst_CShapeCanvas::dashDotDotPattern()
{
    QFETCH(int, mode);
    QFETCH(uint, gap);
    ShapeTestSurface s(60, 10);
    s.canvas->SetBkMode(mode);
    s.canvas->SetBkColor(kBlue);
    s.canvas->SelectPen({CShapeCanvas::PS_DASHDOTDOT, 1, kRed});
    s.canvas->MoveTo(0, 5);
    s.canvas->LineTo(49, 5);
    // 9 on, 3 off, 3 on, 3 off, 3 on, 3 off, repeated.
    const QString pattern = QStringLiteral("#########...###...###...");
    for (int x = 0; x < 49; ++x) {
        const bool on = pattern[x % pattern.size()] == QLatin1Char('#');
        QVERIFY2(s.Pixel(x, 5) == (on ? kRed : COLORREF(gap)), qPrintable(QString::number(x)));
    }
    QCOMPARE(s.Pixel(49, 5), kGrey);
}

void tst_CShapeCanvas::widePenIsWider()
{
    ShapeTestSurface s(40, 40);
    s.canvas->SelectPen({CShapeCanvas::PS_SOLID, 3, kRed});
    s.canvas->MoveTo(5, 20);
    s.canvas->LineTo(35, 20);
    QCOMPARE(s.Pixel(20, 19), kRed);
    QCOMPARE(s.Pixel(20, 20), kRed);
    QCOMPARE(s.Pixel(20, 21), kRed);
    QCOMPARE(s.Pixel(20, 23), kGrey);
}

void tst_CShapeCanvas::farLineDrawsItsVisiblePart()
{
    ShapeTestSurface s(30, 30);
    s.canvas->SelectPen({CShapeCanvas::PS_SOLID, 1, kRed});
    s.canvas->MoveTo(-200000000, 7);
    s.canvas->LineTo(200000000, 7);
    for (int x = 0; x < 30; ++x)
        QCOMPARE(s.Pixel(x, 7), kRed);
    QCOMPARE(s.CountChanged(kGrey), 30);
}

void tst_CShapeCanvas::boxesExcludeRightAndBottom()
{
    ShapeTestSurface s(40, 40);
    s.canvas->FillSolidRect(RECT{2, 2, 6, 5}, kBlue);
    s.canvas->FillSolidRect(RECT{10, 10, 10, 20}, kBlue); // empty
    s.canvas->SelectPen({CShapeCanvas::PS_SOLID, 1, kRed});
    s.canvas->Rectangle(RECT{20, 20, 21, 21});            // one pixel
    s.canvas->Rectangle(RECT{30, 30, 30, 35});            // empty
    s.canvas->Ellipse(RECT{39, 39, 20, 20});              // given the other way round
    QCOMPARE(s.Pixel(2, 2), kBlue);
    QCOMPARE(s.Pixel(5, 4), kBlue);
    QCOMPARE(s.Pixel(6, 4), kGrey);
    QCOMPARE(s.Pixel(5, 5), kGrey);
    QCOMPARE(s.Pixel(20, 20), kRed);
    QCOMPARE(s.Pixel(29, 20), kRed); // top of the ellipse in 20..38
    QCOMPARE(s.Pixel(29, 39), kGrey);
}

void tst_CShapeCanvas::opaqueTextFillsItsBox()
{
    // A blank has no glyph pixels: what changes is the background box alone (fixed metrics:
    // 7 wide, 13 high).
    ShapeTestSurface s(40, 40);
    s.canvas->SetBkColor(kBlue);
    s.canvas->TextOut(10, 10, QStringLiteral(" "));
    s.canvas->SetBkMode(CShapeCanvas::TRANSPARENT);
    s.canvas->TextOut(25, 10, QStringLiteral(" "));
    QCOMPARE(s.Pixel(10, 10), kBlue);
    QCOMPARE(s.Pixel(16, 22), kBlue);
    QCOMPARE(s.CountChanged(kGrey), 7 * 13);
}

void tst_CShapeCanvas::pixelsInsideTheBufferOnly()
{
    ShapeTestSurface s(10, 10);
    COLORREF c = 1;
    QVERIFY(!s.canvas->GetPixel(-1, 0, &c));
    QVERIFY(!s.canvas->GetPixel(10, 0, &c));
    QVERIFY(!s.canvas->GetPixel(0, 10, &c));
    QCOMPARE(c, COLORREF(1));
    s.canvas->SetPixel(-1, 5, kRed);
    s.canvas->SetPixel(5, 10, kRed);
    s.canvas->SetPixel(2147483647, -2147483647, kRed);
    s.canvas->SetViewportOrg(2147483647, 0);
    s.canvas->SetPixel(1, 0, kRed);
    QCOMPARE(s.CountChanged(kGrey), 0);
}

void tst_CShapeCanvas::noPixelsForOtherFormats()
{
    QImage grey(10, 10, QImage::Format_Grayscale8);
    grey.fill(0);
    QPainter painter(&grey);
    CFixedFontMetrics metrics;
    CShapeCanvas canvas(painter, &grey, metrics);
    QVERIFY(canvas.GetPixelBounds().IsRectEmpty());
    canvas.SetPixel(1, 1, kRed);
    COLORREF c = 0;
    QVERIFY(!canvas.GetPixel(1, 1, &c));
    painter.end();
    QCOMPARE(int(grey.constScanLine(1)[1]), 0);
}

QTEST_MAIN(tst_CShapeCanvas)
#include "tst_CShapeCanvas.moc"
