// The magnifier lens's arithmetic and pixels: the source square per size and zoom, where the
// lens centre may go, black beyond the picture, and the round lens.

// Qt
#include <QtTest>

// Orvane
#include "viewer/LensGeometry.h"

using namespace LensGeometry;

namespace {

// A picture in which every pixel has its own colour: red = x, green = y, blue = x + y
QImage Numbered(int w, int h)
{
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x + y) & 0xFF));
    return picture;
}

} // namespace

class tst_LensGeometry : public QObject
{
    Q_OBJECT

private slots:
    void sourceSquarePerZoom_data();
    void sourceSquarePerZoom();
    void centreStaysInShrunkView_data();
    void centreStaysInShrunkView();
    void cropIsBlackBeyondThePicture();
    void roundMask();
    void roundLensCentreIsThePixelUnderThePointer_data();
    void roundLensCentreIsThePixelUnderThePointer();
    void roundLensCornersAreUnmagnified();
    void roundLensAtTheEdgeShowsBlackBeyond();
    void squareLensMethodPerOption_data();
    void squareLensMethodPerOption();
};

void tst_LensGeometry::sourceSquarePerZoom_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("offset");
    // The zooms the settings give, at the default size and at the smallest and largest
    QTest::newRow("400 at 18") << 400 << 18 << 220 << 90;
    QTest::newRow("400 at 20") << 400 << 20 << 200 << 100;
    QTest::newRow("400 at 25") << 400 << 25 << 160 << 120;
    QTest::newRow("400 at 30") << 400 << 30 << 130 << 135;
    QTest::newRow("100 at 18") << 100 << 18 << 50 << 25;
    QTest::newRow("100 at 30") << 100 << 30 << 30 << 35;
    QTest::newRow("300 at 25") << 300 << 25 << 120 << 90;
    QTest::newRow("600 at 18") << 600 << 18 << 330 << 135;
    QTest::newRow("600 at 30") << 600 << 30 << 200 << 200;
    // Divided before the multiplication: 500 / 30 = 16
    QTest::newRow("500 at 30") << 500 << 30 << 160 << 170;
    // No zoom is no division: the picture unmagnified
    QTest::newRow("zoom 0") << 400 << 0 << 400 << 0;
    QTest::newRow("zoom -5") << 400 << -5 << 400 << 0;
}

void tst_LensGeometry::sourceSquarePerZoom()
{
    QFETCH(int, size);
    QFETCH(int, zoom);
    QFETCH(int, side);
    QFETCH(int, offset);
    QCOMPARE(SourceSide(size, zoom), side);
    QCOMPARE(SourceOffset(size, zoom), offset);
    // The source square is centred on the lens centre
    const QPoint topLeft = LensTopLeft(QPoint(500, 300), size);
    QCOMPARE(topLeft, QPoint(500 - size / 2, 300 - size / 2));
    QCOMPARE(SourceRect(topLeft, size, zoom), QRect(topLeft + QPoint(offset, offset), QSize(side, side)));
}

void tst_LensGeometry::centreStaysInShrunkView_data()
{
    QTest::addColumn<QRect>("client");
    QTest::addColumn<int>("size");
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QPoint>("centre");
    const QRect view(0, 0, 800, 600);
    // 400 / 15 = 26 at the sides, 400 / 11 = 36 at the top and bottom
    QTest::newRow("inside") << view << 400 << QPoint(300, 200) << QPoint(300, 200);
    QTest::newRow("top-left corner") << view << 400 << QPoint(0, 0) << QPoint(26, 36);
    QTest::newRow("on the edge of the bounds") << view << 400 << QPoint(26, 36) << QPoint(26, 36);
    QTest::newRow("bottom-right corner") << view << 400 << QPoint(799, 599) << QPoint(773, 563);
    QTest::newRow("beyond the view") << view << 400 << QPoint(-50, 900) << QPoint(26, 563);
    QTest::newRow("small lens") << view << 100 << QPoint(0, 599) << QPoint(6, 590);
    QTest::newRow("offset view") << QRect(100, 50, 200, 100) << 200 << QPoint(0, 0) << QPoint(113, 68);
    // A view narrower than the shrinking: the middle of that side
    QTest::newRow("narrow view") << QRect(0, 0, 40, 600) << 600 << QPoint(0, 300) << QPoint(20, 300);
}

void tst_LensGeometry::centreStaysInShrunkView()
{
    QFETCH(QRect, client);
    QFETCH(int, size);
    QFETCH(QPoint, pointer);
    QFETCH(QPoint, centre);
    const RECT bounds = CentreBounds(RECT{client.left(), client.top(), client.left() + client.width(), client.top() + client.height()}, size);
    QCOMPARE(ClampCentre(pointer, bounds), centre);
}

void tst_LensGeometry::cropIsBlackBeyondThePicture()
{
    const QImage picture = Numbered(50, 40);
    const QImage part = CropWithBlack(picture, QRect(-10, 30, 30, 20));
    QCOMPARE(part.size(), QSize(30, 20));
    QCOMPARE(part.pixel(0, 0), qRgb(0, 0, 0));       // left of the picture
    QCOMPARE(part.pixel(10, 0), picture.pixel(0, 30));
    QCOMPARE(part.pixel(29, 9), picture.pixel(19, 39));
    QCOMPARE(part.pixel(29, 10), qRgb(0, 0, 0));     // below it
    QCOMPARE(CropWithBlack(picture, QRect(100, 100, 5, 5)).pixel(2, 2), qRgb(0, 0, 0));
}

void tst_LensGeometry::roundMask()
{
    const int d = 100;
    QVERIFY(InsideRoundLens(50, 50, d));
    QVERIFY(InsideRoundLens(0, 49, d));
    QVERIFY(InsideRoundLens(99, 50, d));
    QVERIFY(!InsideRoundLens(0, 0, d));
    QVERIFY(!InsideRoundLens(99, 99, d));
    QVERIFY(!InsideRoundLens(14, 14, d));
    QVERIFY(InsideRoundLens(15, 15, d));
    QVERIFY(!InsideRoundLens(-1, 50, d));
    // Symmetric, and about pi / 4 of the square
    int inside = 0;
    for (int y = 0; y < d; ++y)
        for (int x = 0; x < d; ++x) {
            inside += InsideRoundLens(x, y, d) ? 1 : 0;
            QCOMPARE(InsideRoundLens(x, y, d), InsideRoundLens(d - 1 - x, y, d));
            QCOMPARE(InsideRoundLens(x, y, d), InsideRoundLens(y, x, d));
        }
    QVERIFY(qAbs(inside - 7854) < 60);
}

void tst_LensGeometry::roundLensCentreIsThePixelUnderThePointer_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("zoom");
    for (int size : {100, 200, 300, 400, 500, 600})
        for (int zoom : {18, 20, 25, 30})
            QTest::addRow("%d at %d", size, zoom) << size << zoom;
}

void tst_LensGeometry::roundLensCentreIsThePixelUnderThePointer()
{
    QFETCH(int, size);
    QFETCH(int, zoom);
    const QImage capture = Numbered(256, 256);
    const QPoint pointer(123, 77);
    const QImage lens = RoundLens(capture, LensTopLeft(pointer, size), size, zoom);
    QCOMPARE(lens.size(), QSize(size, size));
    QCOMPARE(lens.pixel(size / 2, size / 2), capture.pixel(pointer));
    // Magnified: one source pixel covers about zoom / 10 lens pixels
    const int side = SourceSide(size, zoom);
    const QPoint step(size / 4, size / 4);
    QCOMPARE(lens.pixel(size / 2 + step.x(), size / 2), capture.pixel(pointer + QPoint(step.x() * side / size, 0)));
}

void tst_LensGeometry::roundLensCornersAreUnmagnified()
{
    const QImage capture = Numbered(256, 256);
    const int d = 200;
    const QPoint topLeft = LensTopLeft(QPoint(128, 128), d);
    const QImage lens = RoundLens(capture, topLeft, d, 20);
    // Each corner shows the capture at the lens's own place
    for (const QPoint corner : {QPoint(1, 1), QPoint(d - 2, 3), QPoint(4, d - 1), QPoint(d - 1, d - 1), QPoint(20, 10)}) {
        QVERIFY(!InsideRoundLens(corner.x(), corner.y(), d));
        QCOMPARE(lens.pixel(corner), capture.pixel(topLeft + corner));
    }
    // The circles are drawn black along the rim, inside the mask
    QCOMPARE(lens.pixel(d / 2, 1), qRgb(0, 0, 0));
    QCOMPARE(lens.pixel(d / 2, 2), qRgb(0, 0, 0));
    QCOMPARE(lens.pixel(1, d / 2), qRgb(0, 0, 0));
    QVERIFY(lens.pixel(d / 2, 4) != qRgb(0, 0, 0));
}

void tst_LensGeometry::roundLensAtTheEdgeShowsBlackBeyond()
{
    // A bright picture: whatever is black in the lens lies beyond it (or is a circle)
    QImage capture(300, 200, QImage::Format_RGB32);
    capture.fill(qRgb(200, 180, 160));
    const int d = 200;
    const QPoint pointer(13, 100); // 200 / 15 = 13: the centre as far left as it goes
    const QImage lens = RoundLens(capture, LensTopLeft(pointer, d), d, 20);
    // Source square x from 13 - 50 = -37: the first 37 source columns, 74 lens columns, black
    QCOMPARE(lens.pixel(50, d / 2), qRgb(0, 0, 0));
    QCOMPARE(lens.pixel(73, d / 2), qRgb(0, 0, 0));
    QCOMPARE(lens.pixel(74, d / 2), qRgb(200, 180, 160));
    QCOMPARE(lens.pixel(d / 2, d / 2), qRgb(200, 180, 160));
}

void tst_LensGeometry::squareLensMethodPerOption_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("method");
    QTest::newRow("0 nearest") << 0 << 1;
    QTest::newRow("1 bilinear") << 1 << 2;
    QTest::newRow("2 bicubic") << 2 << 5;
    QTest::newRow("other bilinear") << 7 << 2;
}

void tst_LensGeometry::squareLensMethodPerOption()
{
    QFETCH(int, option);
    QTEST(SquareLensMethod(option), "method");
}

QTEST_MAIN(tst_LensGeometry)
#include "tst_LensGeometry.moc"
