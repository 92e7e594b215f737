// Qt
#include <QtTest>

// std
#include <algorithm>
#include <utility>

// Orvane
#include "viewer/StretchBlit.h"

class tst_StretchBlit : public QObject
{
    Q_OBJECT
private slots:
    void stretchesGreyByNearestPixel();
    void keepsColourOrder();
    void clipsToTheBuffer();
    void refusesOtherFormats();
    void matchesTheNearestPixelEverywhere_data();
    void matchesTheNearestPixelEverywhere();
    void answersWhetherItDraws();
};

namespace {

// A source whose every sample differs from its neighbours'
QImage Pattern(QImage::Format format, int width, int height)
{
    QImage image(width, height, format);
    const int bytes = format == QImage::Format_Grayscale8 ? 1 : 3;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * bytes; ++x)
            image.scanLine(y)[x] = uchar((x * 37 + y * 101 + 11) % 256);
    return image;
}

// The nearest source pixel of buffer pixel (x, y), one pixel at a time
QRgb Expected(const QImage& source, const QRect& destination, int x, int y)
{
    const qint64 sx = std::min<qint64>(source.width() - 1, (qint64(x) - destination.left()) * source.width() / destination.width());
    const qint64 sy = std::min<qint64>(source.height() - 1, (qint64(y) - destination.top()) * source.height() / destination.height());
    const uchar* line = source.constScanLine(int(sy));
    if (source.format() == QImage::Format_Grayscale8)
        return qRgb(line[sx], line[sx], line[sx]);
    const uchar* p = line + 3 * sx;
    return source.format() == QImage::Format_BGR888 ? qRgb(p[2], p[1], p[0]) : qRgb(p[0], p[1], p[2]);
}

} // namespace

void tst_StretchBlit::stretchesGreyByNearestPixel()
{
    QImage grey(3, 2, QImage::Format_Grayscale8);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            grey.scanLine(y)[x] = uchar(10 * (1 + x + 3 * y));
    QImage buffer(20, 10, QImage::Format_RGB32);
    buffer.fill(Qt::black);
    QVERIFY(StretchBlit(grey, buffer, QRect(2, 1, 6, 4)));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const int v = 10 * (1 + x / 2 + 3 * (y / 2));
            QCOMPARE(buffer.pixel(2 + x, 1 + y), qRgb(v, v, v));
        }
    QCOMPARE(buffer.pixel(8, 1), qRgb(0, 0, 0));
    QCOMPARE(buffer.pixel(2, 5), qRgb(0, 0, 0));
    // Shrinking takes every other pixel
    QImage wide(8, 1, QImage::Format_Grayscale8);
    for (int x = 0; x < 8; ++x)
        wide.scanLine(0)[x] = uchar(x * 20);
    QVERIFY(StretchBlit(wide, buffer, QRect(0, 9, 4, 1)));
    QCOMPARE(buffer.pixel(3, 9), qRgb(120, 120, 120));
}

void tst_StretchBlit::keepsColourOrder()
{
    QImage colour(1, 1, QImage::Format_BGR888);
    colour.scanLine(0)[0] = 30;  // blue
    colour.scanLine(0)[1] = 20;  // green
    colour.scanLine(0)[2] = 10;  // red
    QImage buffer(4, 4, QImage::Format_RGB32);
    QVERIFY(StretchBlit(colour, buffer, QRect(0, 0, 4, 4)));
    QCOMPARE(buffer.pixel(3, 3), qRgb(10, 20, 30));
    // The renderer's own order
    QImage rgb(1, 1, QImage::Format_RGB888);
    rgb.scanLine(0)[0] = 10;
    rgb.scanLine(0)[1] = 20;
    rgb.scanLine(0)[2] = 30;
    QVERIFY(StretchBlit(rgb, buffer, QRect(0, 0, 4, 4)));
    QCOMPARE(buffer.pixel(3, 3), qRgb(10, 20, 30));
}

void tst_StretchBlit::clipsToTheBuffer()
{
    QImage grey(100, 100, QImage::Format_Grayscale8);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            grey.scanLine(y)[x] = uchar(x + y);
    QImage buffer(10, 10, QImage::Format_RGB32);
    buffer.fill(Qt::black);
    // An extent far larger than the buffer, starting left of and above it
    QVERIFY(StretchBlit(grey, buffer, QRect(-500, -300, 1000, 1000)));
    QCOMPARE(qRed(buffer.pixel(0, 0)), 50 + 30);
    QCOMPARE(qRed(buffer.pixel(9, 9)), (509 / 10) + (309 / 10));
    QVERIFY(StretchBlit(grey, buffer, QRect(50, 50, 10, 10))); // outside: nothing drawn
}

void tst_StretchBlit::refusesOtherFormats()
{
    QImage buffer(4, 4, QImage::Format_RGB32);
    QVERIFY(!StretchBlit(QImage(2, 2, QImage::Format_RGB32), buffer, QRect(0, 0, 4, 4)));
    QVERIFY(!StretchBlit(QImage(), buffer, QRect(0, 0, 4, 4)));
    QImage grey(2, 2, QImage::Format_Grayscale8);
    QVERIFY(!StretchBlit(grey, buffer, QRect(0, 0, 0, 4)));
    QImage rgb888(4, 4, QImage::Format_RGB888);
    QVERIFY(!StretchBlit(grey, rgb888, QRect(0, 0, 4, 4)));
    QVERIFY(!StretchBlit(QImage(2, 2, QImage::Format_RGBX8888), buffer, QRect(0, 0, 4, 4)));
}

void tst_StretchBlit::matchesTheNearestPixelEverywhere_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QSize>("sourceSize");
    QTest::addColumn<QRect>("destination");
    const std::pair<const char*, QImage::Format> formats[] = {
        {"grey", QImage::Format_Grayscale8}, {"bgr", QImage::Format_BGR888}, {"rgb", QImage::Format_RGB888}};
    for (const auto& [name, format] : formats) {
        const auto row = [&](const char* what, QSize size, QRect destination) {
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(name, what))) << int(format) << size << destination;
        };
        row("one to one", QSize(37, 23), QRect(3, 4, 37, 23));
        row("in 2.37", QSize(37, 23), QRect(1, 2, 87, 54));
        row("in 7.9 past every edge", QSize(37, 23), QRect(-61, -45, 292, 181));
        row("out 0.43", QSize(131, 97), QRect(5, 6, 56, 41));
        row("out 0.999", QSize(101, 61), QRect(0, 0, 100, 60));
        row("in 1.216 like the held drag", QSize(60, 73), QRect(9, 0, 73, 89));
        row("wide and flat", QSize(200, 3), QRect(-20, 10, 150, 40));
        row("one pixel", QSize(1, 1), QRect(7, 8, 13, 9));
        row("from the left and above", QSize(40, 30), QRect(-33, -27, 100, 75));
    }
}

void tst_StretchBlit::matchesTheNearestPixelEverywhere()
{
    QFETCH(int, format);
    QFETCH(QSize, sourceSize);
    QFETCH(QRect, destination);
    const QImage source = Pattern(QImage::Format(format), sourceSize.width(), sourceSize.height());
    QImage buffer(90, 70, QImage::Format_RGB32);
    const QRgb untouched = qRgb(1, 2, 3);
    buffer.fill(untouched);
    QVERIFY(StretchBlit(source, buffer, destination));
    for (int y = 0; y < buffer.height(); ++y)
        for (int x = 0; x < buffer.width(); ++x) {
            const QRgb expected = destination.contains(x, y) ? Expected(source, destination, x, y) : untouched;
            if (buffer.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("(%1, %2): %3 instead of %4").arg(x).arg(y).arg(buffer.pixel(x, y), 0, 16).arg(expected, 0, 16)));
        }
}

void tst_StretchBlit::answersWhetherItDraws()
{
    QImage buffer(4, 4, QImage::Format_RGB32);
    const QImage grey(2, 2, QImage::Format_Grayscale8);
    const std::pair<QImage, QRect> cases[] = {
        {grey, QRect(0, 0, 4, 4)},
        {grey, QRect(50, 50, 4, 4)}, // outside: drawn, nothing to see
        {grey, QRect(0, 0, 0, 4)},
        {grey, QRect(0, 0, 4, -1)},
        {QImage(2, 2, QImage::Format_BGR888), QRect(0, 0, 4, 4)},
        {QImage(2, 2, QImage::Format_RGB888), QRect(0, 0, 4, 4)},
        {QImage(2, 2, QImage::Format_RGB32), QRect(0, 0, 4, 4)},
        {QImage(2, 2, QImage::Format_Indexed8), QRect(0, 0, 4, 4)},
        {QImage(), QRect(0, 0, 4, 4)},
    };
    for (const auto& [source, destination] : cases)
        QCOMPARE(CanStretchBlit(source, destination), StretchBlit(source, buffer, destination));
}

QTEST_GUILESS_MAIN(tst_StretchBlit)
#include "tst_StretchBlit.moc"
