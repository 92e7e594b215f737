// Qt
#include <QFontMetrics>
#include <QPainter>
#include <QtTest>

// Orvane
#include "platform/Gdi.h"

namespace {

QImage Blank(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

int CountWhite(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == QColor(Qt::white);
    return n;
}

} // namespace

class tst_Gdi : public QObject
{
    Q_OBJECT
private slots:
    void convertsColourReferences();
    void lineToLeavesOutEndPoint_data();
    void lineToLeavesOutEndPoint();
    void rectanglesExcludeRightAndBottom();
    void textOutPlacesTopAtY();
    void mapsWindowsFaces_data();
    void mapsWindowsFaces();
    void fontHeightsArePixels();
    void dialogUnits();
};

void tst_Gdi::convertsColourReferences()
{
    QCOMPARE(RGB(1, 2, 3), COLORREF(0x00030201));
    QCOMPARE(Gdi::ColorFromRef(RGB(255, 128, 0)), QColor(255, 128, 0));
    QCOMPARE(Gdi::RefFromColor(QColor(10, 20, 30)), RGB(10, 20, 30));
}

void tst_Gdi::lineToLeavesOutEndPoint_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<int>("pixels");
    QTest::newRow("horizontal") << QPoint(1, 2) << QPoint(6, 2) << 5;
    QTest::newRow("reversed") << QPoint(6, 2) << QPoint(1, 2) << 5;
    QTest::newRow("vertical") << QPoint(3, 0) << QPoint(3, 7) << 7;
    QTest::newRow("diagonal") << QPoint(0, 0) << QPoint(4, 4) << 4;
    QTest::newRow("zero length") << QPoint(2, 2) << QPoint(2, 2) << 0;
}

void tst_Gdi::lineToLeavesOutEndPoint()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(int, pixels);
    QImage image = Blank(10, 10);
    {
        QPainter p(&image);
        p.setPen(Gdi::Pen(RGB(255, 255, 255)));
        Gdi::LineTo(p, from, to);
    }
    QCOMPARE(CountWhite(image), pixels);
    if (pixels > 0) {
        QCOMPARE(image.pixelColor(from), QColor(Qt::white));
        QCOMPARE(image.pixelColor(to), QColor(Qt::black));
    }
}

void tst_Gdi::rectanglesExcludeRightAndBottom()
{
    const RECT r{2, 3, 5, 7};
    QCOMPARE(Gdi::ToQRect(r), QRect(2, 3, 3, 4));
    QCOMPARE(Gdi::FromQRect(QRect(2, 3, 3, 4)), r);
    QImage image = Blank(8, 8);
    {
        QPainter p(&image);
        Gdi::FillSolidRect(p, r, RGB(255, 255, 255));
    }
    QCOMPARE(CountWhite(image), 12);
    QCOMPARE(image.pixelColor(4, 6), QColor(Qt::white));
    QCOMPARE(image.pixelColor(5, 6), QColor(Qt::black));
    image = Blank(8, 8);
    {
        QPainter p(&image);
        Gdi::FrameRect(p, r, RGB(255, 255, 255));
    }
    QCOMPARE(CountWhite(image), 3 * 4 - 1 * 2);
}

void tst_Gdi::textOutPlacesTopAtY()
{
    QImage image = Blank(200, 60);
    QPainter p(&image);
    p.setFont(Gdi::Font("Arial", -20));
    p.setPen(Qt::white);
    Gdi::TextOut(p, 5, 10, "Hg");
    p.end();
    // Nothing above the cell top, something below it, nothing below the cell bottom
    const QFontMetrics fm(Gdi::Font("Arial", -20));
    int top = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::black)) {
                if (top < 0)
                    top = y;
                bottom = y;
            }
    QVERIFY(top >= 10);
    QVERIFY(bottom < 10 + fm.height());
}

void tst_Gdi::mapsWindowsFaces_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("family");
    QTest::newRow("Arial") << "Arial" << "Liberation Sans";
    QTest::newRow("MS Sans Serif") << "MS Sans Serif" << "Liberation Sans";
    QTest::newRow("Times New Roman") << "Times New Roman" << "Liberation Serif";
    QTest::newRow("Verdana") << "verdana" << "DejaVu Sans";
    QTest::newRow("other") << "Liberation Mono" << "Liberation Mono";
}

void tst_Gdi::mapsWindowsFaces()
{
    QFETCH(QString, face);
    QFETCH(QString, family);
    QCOMPARE(Gdi::MapFontFace(face), family);
}

void tst_Gdi::fontHeightsArePixels()
{
    QCOMPARE(Gdi::Font("Arial", -14).pixelSize(), 14);
    QCOMPARE(Gdi::Font("Arial", 14).pixelSize(), 14);
    QCOMPARE(Gdi::Font("Arial", -14, 700).weight(), QFont::Bold);
    QCOMPARE(Gdi::PointFont("MS Sans Serif", 80).pixelSize(), 11); // 8 pt at 96 dpi
    QCOMPARE(Gdi::PointFont("Arial", 120).pixelSize(), 16);
}

void tst_Gdi::dialogUnits()
{
    QCOMPARE(Gdi::DluX(100), 150);
    QCOMPARE(Gdi::DluY(8), 13);
    QCOMPARE(Gdi::DluY(100), 162);
}

QTEST_MAIN(tst_Gdi)
#include "tst_Gdi.moc"
