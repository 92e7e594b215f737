// Qt
#include <QPainter>
#include <QtTest>

// Orvane
#include "platform/CxImage.h"

namespace {

// A 3 x 2 grey and a 3 x 2 colour bitmap, rows given top first.
const BYTE kGrey[] = {1, 2, 3,
                      4, 5, 6};
const BYTE kColour[] = {10, 11, 12, 20, 21, 22, 30, 31, 32,
                        40, 41, 42, 50, 51, 52, 60, 61, 62};

CxImage Make(int bpp)
{
    CxImage image;
    if (bpp == 8)
        image.CreateFromArray(kGrey, 3, 2, 8, 3, true);
    else
        image.CreateFromArray(kColour, 3, 2, 24, 9, true);
    return image;
}

// Pixels as nested lists of the value (grey) or of the first (red) byte, top row first.
QList<QList<int>> Pixels(const CxImage& image)
{
    QList<QList<int>> rows;
    const QImage& q = image.GetQImage();
    const int step = int(image.GetBpp() / 8);
    for (int y = 0; y < q.height(); ++y) {
        QList<int> row;
        for (int x = 0; x < q.width(); ++x)
            row << q.constScanLine(y)[x * step];
        rows << row;
    }
    return rows;
}

} // namespace

Q_DECLARE_METATYPE(RECT)

class tst_CxImage : public QObject
{
    Q_OBJECT
private slots:
    void createsFromArrayInEitherRowOrder_data();
    void createsFromArrayInEitherRowOrder();
    void keepsColourByteOrder();
    void refusesBadArguments_data();
    void refusesBadArguments();
    void transformsInPlace_data();
    void transformsInPlace();
    void rotatesIntoDestination();
    void increasesDepthKeepingPicture();
    void clearsAndNegates();
    void resamplesToExactSize();
    void cropsClippedToBitmap_data();
    void cropsClippedToBitmap();
    void copiesAreIndependent();
    void drawsStretchedWithoutSmoothing();
    void emptyBitmapDrawsNothing();
    void loadsMissingResourceAsEmpty();
};

void tst_CxImage::createsFromArrayInEitherRowOrder_data()
{
    QTest::addColumn<bool>("flip");
    QTest::addColumn<int>("topLeft");
    QTest::newRow("first row on top") << true << 1;
    QTest::newRow("first row at bottom") << false << 4;
}

void tst_CxImage::createsFromArrayInEitherRowOrder()
{
    QFETCH(bool, flip);
    QFETCH(int, topLeft);
    CxImage image;
    QVERIFY(image.CreateFromArray(kGrey, 3, 2, 8, 3, flip));
    QCOMPARE(image.GetWidth(), 3u);
    QCOMPARE(image.GetHeight(), 2u);
    QCOMPARE(image.GetBpp(), 8u);
    QCOMPARE(Pixels(image)[0][0], topLeft);
}

void tst_CxImage::keepsColourByteOrder()
{
    const CxImage image = Make(24);
    QCOMPARE(image.GetBpp(), 24u);
    const uchar* row = image.GetQImage().constScanLine(1);
    QCOMPARE(int(row[3]), 50); // red, green, blue as given
    QCOMPARE(int(row[4]), 51);
    QCOMPARE(int(row[5]), 52);
    QCOMPARE(image.GetQImage().pixelColor(1, 1), QColor(50, 51, 52));
}

void tst_CxImage::refusesBadArguments_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("bpp");
    QTest::addColumn<int>("stride");
    QTest::newRow("zero width") << 0 << 2 << 8 << 3;
    QTest::newRow("zero height") << 3 << 0 << 8 << 3;
    QTest::newRow("16 bits") << 3 << 2 << 16 << 6;
    QTest::newRow("short stride") << 3 << 2 << 24 << 8;
}

void tst_CxImage::refusesBadArguments()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, bpp);
    QFETCH(int, stride);
    CxImage image = Make(8);
    QVERIFY(!image.CreateFromArray(kColour, DWORD(width), DWORD(height), DWORD(bpp), DWORD(stride), true));
    QVERIFY(!image.IsValid());
    QCOMPARE(image.GetWidth(), 0u);
    QCOMPARE(image.GetBpp(), 0u);
}

void tst_CxImage::transformsInPlace_data()
{
    QTest::addColumn<int>("bpp");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QList<QList<int>>>("expected");
    for (int bpp : {8, 24}) {
        const auto v = [bpp](int grey) { return bpp == 8 ? grey : grey * 10; }; // red bytes 10..60
        const char* depth = bpp == 8 ? "8-bit " : "24-bit ";
        QTest::newRow(QByteArray(depth).append("mirror").constData()) << bpp << "mirror"
            << QList<QList<int>>{{v(3), v(2), v(1)}, {v(6), v(5), v(4)}};
        QTest::newRow(QByteArray(depth).append("flip").constData()) << bpp << "flip"
            << QList<QList<int>>{{v(4), v(5), v(6)}, {v(1), v(2), v(3)}};
        QTest::newRow(QByteArray(depth).append("rotate right").constData()) << bpp << "right"
            << QList<QList<int>>{{v(4), v(1)}, {v(5), v(2)}, {v(6), v(3)}};
        QTest::newRow(QByteArray(depth).append("rotate left").constData()) << bpp << "left"
            << QList<QList<int>>{{v(3), v(6)}, {v(2), v(5)}, {v(1), v(4)}};
    }
}

void tst_CxImage::transformsInPlace()
{
    QFETCH(int, bpp);
    QFETCH(QString, operation);
    QFETCH(QList<QList<int>>, expected);
    CxImage image = Make(bpp);
    if (operation == "mirror")
        QVERIFY(image.Mirror());
    else if (operation == "flip")
        QVERIFY(image.Flip());
    else if (operation == "right")
        QVERIFY(image.RotateRight());
    else
        QVERIFY(image.RotateLeft());
    QCOMPARE(image.GetBpp(), DWORD(bpp));
    QCOMPARE(Pixels(image), expected);
}

void tst_CxImage::rotatesIntoDestination()
{
    CxImage image = Make(8);
    CxImage turned;
    QVERIFY(image.RotateRight(&turned));
    QCOMPARE(image.GetWidth(), 3u);
    QCOMPARE(turned.GetWidth(), 2u);
    QCOMPARE(turned.GetHeight(), 3u);
}

void tst_CxImage::increasesDepthKeepingPicture()
{
    CxImage image = Make(8);
    QVERIFY(image.IncreaseBpp(24));
    QCOMPARE(image.GetBpp(), 24u);
    QCOMPARE(image.GetQImage().pixelColor(2, 1), QColor(6, 6, 6));
    QVERIFY(!image.IncreaseBpp(32));
}

void tst_CxImage::clearsAndNegates()
{
    CxImage grey = Make(8);
    QVERIFY(grey.Negative());
    QCOMPARE(Pixels(grey)[1][2], 255 - 6);
    CxImage colour = Make(24);
    QVERIFY(colour.Negative());
    QCOMPARE(colour.GetQImage().pixelColor(0, 0), QColor(255 - 10, 255 - 11, 255 - 12));
    colour.Clear(0);
    QCOMPARE(colour.GetWidth(), 3u);
    QCOMPARE(colour.GetBpp(), 24u);
    QCOMPARE(colour.GetQImage().pixelColor(2, 1), QColor(0, 0, 0));
}

void tst_CxImage::resamplesToExactSize()
{
    CxImage image = Make(24);
    QVERIFY(image.Resample(7, 5));
    QCOMPARE(image.GetWidth(), 7u);
    QCOMPARE(image.GetHeight(), 5u);
    CxImage smooth = Make(8);
    QVERIFY(smooth.Resample2(11, 1, CxImage::IM_BICUBIC, CxImage::OM_TRANSPARENT));
    QCOMPARE(smooth.GetWidth(), 11u);
    QCOMPARE(smooth.GetHeight(), 1u);
    QVERIFY(!smooth.Resample(0, 3));
}

void tst_CxImage::cropsClippedToBitmap_data()
{
    QTest::addColumn<RECT>("rect");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("topLeft");
    QTest::newRow("inside") << RECT{1, 0, 3, 1} << 2 << 1 << 2;
    QTest::newRow("past the corner") << RECT{2, 1, 10, 10} << 1 << 1 << 6;
    QTest::newRow("before the origin") << RECT{-4, -4, 1, 1} << 1 << 1 << 1;
    QTest::newRow("outside") << RECT{5, 5, 9, 9} << 0 << 0 << -1;
}

void tst_CxImage::cropsClippedToBitmap()
{
    QFETCH(RECT, rect);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, topLeft);
    CxImage image = Make(8);
    CxImage part;
    part.CreateFromArray(kGrey, 3, 2, 8, 3, true);
    image.Crop(rect, &part);
    QCOMPARE(int(part.GetWidth()), width);
    QCOMPARE(int(part.GetHeight()), height);
    if (topLeft >= 0)
        QCOMPARE(Pixels(part)[0][0], topLeft);
    QCOMPARE(image.GetWidth(), 3u); // the source stays whole
}

void tst_CxImage::copiesAreIndependent()
{
    CxImage source = Make(8);
    CxImage copy(source, true, false, false);
    CxImage full;
    QVERIFY(full.Copy(source));
    source.Negative();
    QCOMPARE(Pixels(copy)[0][0], 1);
    QCOMPARE(Pixels(full)[0][0], 1);
    CxImage blank(source, false, false, false);
    QCOMPARE(blank.GetWidth(), 3u);
    QVERIFY(full.Destroy());
    QVERIFY(!full.IsValid());
}

void tst_CxImage::drawsStretchedWithoutSmoothing()
{
    QImage target(9, 4, QImage::Format_RGB32);
    target.fill(Qt::black);
    {
        QPainter p(&target);
        QVERIFY(Make(8).Draw2(&p, 0, 0, 9, 4));
    }
    // Each source pixel covers a 3 x 2 block, unblended
    QCOMPARE(target.pixelColor(0, 0), QColor(1, 1, 1));
    QCOMPARE(target.pixelColor(2, 1), QColor(1, 1, 1));
    QCOMPARE(target.pixelColor(3, 0), QColor(2, 2, 2));
    QCOMPARE(target.pixelColor(8, 3), QColor(6, 6, 6));
}

void tst_CxImage::emptyBitmapDrawsNothing()
{
    QImage target(4, 4, QImage::Format_RGB32);
    target.fill(Qt::red);
    CxImage empty;
    {
        QPainter p(&target);
        QVERIFY(!empty.Draw2(&p, 0, 0, 4, 4));
        QVERIFY(!empty.Draw(&p, 0, 0, 4, 4, nullptr, false));
    }
    QCOMPARE(target.pixelColor(1, 1), QColor(Qt::red));
    QVERIFY(!empty.Negative());
    QVERIFY(!empty.RotateLeft());
    empty.Clear(0);
    QCOMPARE(empty.GetBpp(), 0u);
}

void tst_CxImage::loadsMissingResourceAsEmpty()
{
    CxImage image = Make(8);
    QVERIFY(!image.LoadResource(999999));
    QVERIFY(!image.IsValid());
}

QTEST_MAIN(tst_CxImage)
#include "tst_CxImage.moc"
