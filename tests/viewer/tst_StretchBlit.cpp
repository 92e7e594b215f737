// Qt
#include <QtTest>

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
};

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

QTEST_GUILESS_MAIN(tst_StretchBlit)
#include "tst_StretchBlit.moc"
