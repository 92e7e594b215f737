// Qt
#include <QtTest>

// Orvane
#include "controls/CIconButton.h"

class tst_CIconButton : public QObject
{
    Q_OBJECT
private slots:
    void loadsItsIconsOnce();
    void drawsNothingWithoutIcon();
    void drawsIconCaptionAndFrame();
    void clicksAsAButton();
};

void tst_CIconButton::loadsItsIconsOnce()
{
    CIconButton button;
    button.SetIcons(373, 373, 374, 374, 373);
    button.LoadIconImage(373);
    QVERIFY(!button.m_hIcon.isNull());
    const qint64 normal = button.m_hIcon.cacheKey();
    button.Select();
    QVERIFY(button.m_bSelected);
    const qint64 selected = button.m_hIcon.cacheKey();
    QVERIFY(selected != normal);
    // Switching back and forth reuses the two icons loaded by SetIcons
    for (int i = 0; i < 3; ++i) {
        button.Deselect();
        QCOMPARE(button.m_hIcon.cacheKey(), normal);
        button.Select();
        QCOMPARE(button.m_hIcon.cacheKey(), selected);
    }
    button.LoadIconImage(373);
    QCOMPARE(button.m_hIcon.cacheKey(), normal);
}

void tst_CIconButton::drawsNothingWithoutIcon()
{
    QWidget top;
    top.setAutoFillBackground(true);
    QPalette pal = top.palette();
    pal.setColor(QPalette::Window, Qt::red);
    top.setPalette(pal);
    top.resize(120, 60);
    CIconButton button(&top);
    button.setText("Load");
    button.setGeometry(10, 10, 100, 40);
    button.SetIcons(0, 0, 0, 0, 0);
    button.Select(); // no selected icon: nothing loaded
    QVERIFY(button.m_hIcon.isNull());
    const QImage shot = top.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 10; y < 50; ++y)
        for (int x = 10; x < 110; ++x)
            QCOMPARE(QColor(shot.pixel(x, y)), QColor(Qt::red));
}

void tst_CIconButton::drawsIconCaptionAndFrame()
{
    CIconButton button;
    button.resize(100, 40);
    button.SetIcons(373, 373, 374, 374, 373);
    button.SetFontName("MS Sans Serif");
    button.LoadIconImage(373);
    const QImage shot = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QColor light = button.palette().color(QPalette::Light);
    const QColor dark = button.palette().color(QPalette::Dark);
    QCOMPARE(shot.pixel(0, 0), light.rgb());
    QCOMPARE(shot.pixel(98, 0), light.rgb());
    QCOMPARE(shot.pixel(0, 38), light.rgb());
    QCOMPARE(shot.pixel(99, 0), dark.rgb());
    QCOMPARE(shot.pixel(0, 39), dark.rgb());
    QCOMPARE(shot.pixel(99, 39), dark.rgb());
    // Inside: the icon, stretched (a vertical gradient)
    QVERIFY(qGray(shot.pixel(3, 5)) > qGray(shot.pixel(3, 34)));
    QCOMPARE(button.m_fontCaption.GetFont()->pixelSize(), 12);
}

void tst_CIconButton::clicksAsAButton()
{
    CIconButton button;
    button.resize(80, 30);
    QSignalSpy spy(&button, &QPushButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QTest::mousePress(&button, Qt::LeftButton);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 200));
    QCOMPARE(spy.count(), 1);
}

QTEST_MAIN(tst_CIconButton)
#include "tst_CIconButton.moc"
