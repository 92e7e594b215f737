// Qt
#include <QtTest>

// Orvane
#include "controls/CGradientBar.h"
#include "platform/Gdi.h"

namespace {

QImage Painted(CGradientBar& bar)
{
    return bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class tst_CGradientBar : public QObject
{
    Q_OBJECT
private slots:
    void mixesColumns_data();
    void mixesColumns();
    void paintsGradientColumns_data();
    void paintsGradientColumns();
    void paintsSolidWithoutGradient();
    void textStaysInsideTheBar();
};

void tst_CGradientBar::mixesColumns_data()
{
    QTest::addColumn<uint>("left");
    QTest::addColumn<uint>("right");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("w");
    QTest::addColumn<uint>("colour");
    QTest::newRow("left edge") << 0u << 0x808080u << 0 << 100 << 0u;
    QTest::newRow("right edge nearly grey") << 0u << 0x808080u << 99 << 100 << 0x7E7E7Eu;
    QTest::newRow("middle") << 0u << 0x808080u << 50 << 100 << 0x404040u;
    // Each product divided on its own: 255*2/3 + 0*1/3 = 170
    QTest::newRow("two colours") << 0x0000FFu << 0xFF0000u << 1 << 3 << 0x5500AAu;
    // 1 * 1 / 2 + 1 * 1 / 2 is 0, not (1 + 1) / 2
    QTest::newRow("quotients truncated separately") << 0x010101u << 0x010101u << 1 << 2 << 0u;
    QTest::newRow("grey to black") << 0x808080u << 0u << 0 << 7 << 0x808080u;
    QTest::newRow("no width") << 0xFFFFFFu << 0xFFFFFFu << 0 << 0 << 0u;
}

void tst_CGradientBar::mixesColumns()
{
    QFETCH(uint, left);
    QFETCH(uint, right);
    QFETCH(int, x);
    QFETCH(int, w);
    QFETCH(uint, colour);
    QCOMPARE(uint(GradientColumnColor(left, right, x, w)), colour);
}

void tst_CGradientBar::paintsGradientColumns_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<uint>("back");
    QTest::addColumn<uint>("gradient");
    QTest::newRow("100, black to grey") << 100 << 0u << 0x808080u;
    QTest::newRow("1280, the caption bar") << 1280 << 0u << 0x808080u;
    QTest::newRow("333, colours") << 333 << 0x2040F0u << 0x10C020u;
}

void tst_CGradientBar::paintsGradientColumns()
{
    QFETCH(int, width);
    QFETCH(uint, back);
    QFETCH(uint, gradient);
    CGradientBar bar;
    bar.resize(width, 22);
    bar.SetBarRect(RECT{0, 0, 0, 20});
    bar.SetGradient(TRUE);
    bar.SetBackColor(back);
    bar.SetGradientColor(gradient);
    bar.resize(width, 22);
    const QImage image = Painted(bar);
    QCOMPARE(image.size(), QSize(width, 22));
    for (int x = 0; x < width; ++x) {
        const COLORREF expected = GradientColumnColor(back, gradient, x, width);
        for (int y : {0, 11, 21})
            QCOMPARE(Gdi::RefFromColor(QColor(image.pixel(x, y))), expected);
    }
    if (width == 100) {
        QCOMPARE(QColor(image.pixel(0, 5)), QColor(0, 0, 0));
        QCOMPARE(QColor(image.pixel(99, 5)), QColor(126, 126, 126));
    }
}

void tst_CGradientBar::paintsSolidWithoutGradient()
{
    CGradientBar bar;
    bar.SetBarRect(RECT{0, 0, 0, 10});
    bar.resize(50, 12);
    QCOMPARE(bar.height(), 12);
    const QImage grey = Painted(bar);
    QCOMPARE(QColor(grey.pixel(0, 0)), QColor(128, 128, 128));
    QCOMPARE(QColor(grey.pixel(49, 11)), QColor(128, 128, 128));
    bar.SetBackColor(RGB(10, 20, 30));
    QCOMPARE(QColor(Painted(bar).pixel(25, 6)), QColor(10, 20, 30));
}

void tst_CGradientBar::textStaysInsideTheBar()
{
    // Text pixels are the font's business; where they may lie is the bar's
    CGradientBar bar;
    bar.SetBarRect(RECT{0, 0, 0, 20});
    bar.SetGradient(TRUE);
    bar.SetBackColor(0);
    bar.SetGradientColor(0x808080);
    bar.SetFontSize(100);
    bar.resize(400, 22);
    const QImage empty = Painted(bar);
    bar.SetText("Perlisk Orvane - 1.3.1.2");
    const QImage left = Painted(bar);
    const QFontMetrics fm(Gdi::PointFont("Verdana", 100));
    const int textRight = 2 + fm.horizontalAdvance("Perlisk Orvane - 1.3.1.2") + 2;
    int changed = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 400; ++x)
            if (left.pixel(x, y) != empty.pixel(x, y)) {
                ++changed;
                QVERIFY2(x >= 1 && x < textRight, qPrintable(QString("x %1").arg(x)));
            }
    QVERIFY(changed > 0);

    // Centred with a shadow: the changes straddle the middle
    bar.SetTextShadow(TRUE);
    bar.update();
    const QImage centred = Painted(bar);
    int minX = 400, maxX = -1;
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 400; ++x)
            if (centred.pixel(x, y) != empty.pixel(x, y)) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    QVERIFY(minX > 2);
    QVERIFY(std::abs((minX + maxX) / 2 - 199) < 8);
}

QTEST_MAIN(tst_CGradientBar)
#include "tst_CGradientBar.moc"
