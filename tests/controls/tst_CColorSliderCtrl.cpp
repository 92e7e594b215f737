// The colour slider: shades, range and selection, and the pixels of its channel and thumb.

// Qt
#include <QtTest>

// Orvane
#include "controls/CColorSliderCtrl.h"
#include "platform/Gdi.h"

namespace {

// The slider drawn over a magenta parent, as an image
QImage Grab(CColorSliderCtrl& slider)
{
    QWidget parent;
    parent.setAutoFillBackground(true);
    QPalette pal;
    pal.setColor(QPalette::Window, Qt::magenta);
    parent.setPalette(pal);
    parent.resize(slider.size());
    slider.setParent(&parent);
    slider.move(0, 0);
    parent.show();
    const QImage image = parent.grab().toImage();
    slider.setParent(nullptr);
    return image;
}

COLORREF At(const QImage& image, int x, int y)
{
    return Gdi::RefFromColor(image.pixelColor(x, y));
}

} // namespace

class tst_CColorSliderCtrl : public QObject
{
    Q_OBJECT
private slots:
    void lightensAndDarkensPerChannel_data();
    void lightensAndDarkensPerChannel();
    void derivesShadesFromFace();
    void keepsSelectionInsideRange_data();
    void keepsSelectionInsideRange();
    void drawsThumbInItsShades();
    void drawsThumbDarkerWhileDragged();
    void drawsNoGripOnNarrowThumb_data();
    void drawsNoGripOnNarrowThumb();
    void drawsSelectionAndLetsParentShowThrough();
    void drawsChannelOfNoLength();
};

void tst_CColorSliderCtrl::lightensAndDarkensPerChannel_data()
{
    QTest::addColumn<bool>("lighten");
    QTest::addColumn<uint>("colour");
    QTest::addColumn<int>("amount");
    QTest::addColumn<uint>("result");
    QTest::newRow("lighten green") << true << uint(RGB(0, 255, 0)) << 51 << uint(RGB(51, 255, 51));
    QTest::newRow("lighten to 255 exactly") << true << uint(RGB(204, 205, 0)) << 51 << uint(RGB(255, 205, 51));
    QTest::newRow("lighten grey") << true << uint(0x635048) << 51 << uint(0x96837B);
    QTest::newRow("darken") << false << uint(RGB(40, 100, 200)) << 51 << uint(RGB(40, 49, 149));
    QTest::newRow("darken to 0 exactly") << false << uint(RGB(51, 50, 255)) << 51 << uint(RGB(0, 50, 204));
}

void tst_CColorSliderCtrl::lightensAndDarkensPerChannel()
{
    QFETCH(bool, lighten);
    QFETCH(uint, colour);
    QFETCH(int, amount);
    QFETCH(uint, result);
    const COLORREF got = lighten ? CColorSliderCtrl::LightenColor(colour, BYTE(amount))
                                 : CColorSliderCtrl::DarkenColor(colour, BYTE(amount));
    QCOMPARE(uint(got), result);
}

void tst_CColorSliderCtrl::derivesShadesFromFace()
{
    CColorSliderCtrl slider;
    slider.SetFaceColor(RGB(0, 255, 0));
    QCOMPARE(uint(slider.m_crLight1), uint(RGB(51, 255, 51)));
    QCOMPARE(uint(slider.m_crLight2), uint(RGB(102, 255, 102)));
    QCOMPARE(uint(slider.m_crDark1), uint(RGB(0, 204, 0)));
    QCOMPARE(uint(slider.m_crDark2), uint(RGB(0, 153, 0)));
    // Half way from the shadow (160) to the dark shadow (105), rounded toward minus infinity
    QCOMPARE(uint(slider.m_crShadow), uint(RGB(132, 132, 132)));
    QCOMPARE(uint(slider.m_crMid), uint(RGB(200, 200, 200)));
}

void tst_CColorSliderCtrl::keepsSelectionInsideRange_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("wantStart");
    QTest::addColumn<int>("wantEnd");
    QTest::newRow("the cine bar's 25..75 on 0..45") << 25 << 75 << 25 << 45;
    QTest::newRow("inside") << 5 << 10 << 5 << 10;
    QTest::newRow("reversed") << 10 << 5 << 5 << 10;
    QTest::newRow("below") << -9 << -1 << 0 << 0;
}

void tst_CColorSliderCtrl::keepsSelectionInsideRange()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, wantStart);
    QFETCH(int, wantEnd);
    CColorSliderCtrl slider;
    slider.SetRange(0, 45);
    slider.SetSelection(start, end);
    int s = -1, e = -1;
    slider.GetSelection(s, e);
    QCOMPARE(s, wantStart);
    QCOMPARE(e, wantEnd);
    // A narrower range brings the selection in again
    slider.SetRange(0, 7);
    slider.GetSelection(s, e);
    QVERIFY(s >= 0 && e <= 7 && s <= e);
}

void tst_CColorSliderCtrl::drawsThumbInItsShades()
{
    CColorSliderCtrl slider;
    slider.resize(120, 26);
    slider.SetRange(0, 45);
    slider.SetPos(20);
    slider.SetFaceColor(RGB(0, 255, 0));
    const QImage image = Grab(slider);
    const RECT t = slider.ThumbRect();
    const int il = t.left + 1, it = t.top + 1, ir = t.right - 1, ib = t.bottom - 1;
    const int mid = (t.top + t.bottom) / 2;
    QCOMPARE(uint(At(image, il + 2, it + 2)), uint(slider.m_crFace));      // face above the grip
    QCOMPARE(uint(At(image, il, mid)), uint(slider.m_crLight1));           // left bevel
    QCOMPARE(uint(At(image, ir - 1, mid)), uint(slider.m_crDark1));        // right bevel
    QCOMPARE(uint(At(image, il, it)), uint(slider.m_crLight2));            // top-left corner
    QCOMPARE(uint(At(image, ir - 1, ib - 1)), uint(slider.m_crDark2));     // bottom-right corner
    QCOMPARE(uint(At(image, il + 1, mid)), uint(slider.m_crLight1));       // grip
    QCOMPARE(uint(At(image, il + 2, mid)), uint(slider.m_crDark2));
    QCOMPARE(uint(At(image, il + 7, mid)), uint(slider.m_crLight1));       // a wide thumb's fourth light line
    QCOMPARE(uint(At(image, t.left, mid)), uint(RGB(100, 100, 100)));      // outline
}

void tst_CColorSliderCtrl::drawsThumbDarkerWhileDragged()
{
    CColorSliderCtrl slider;
    slider.resize(120, 26);
    slider.SetRange(0, 45);
    slider.SetPos(20);
    slider.SetFaceColor(RGB(0, 255, 0));
    slider.setSliderDown(true);
    const QImage image = Grab(slider);
    const RECT t = slider.ThumbRect();
    QCOMPARE(uint(At(image, t.left + 3, t.top + 3)), uint(RGB(0, 204, 0)));
    // The colours are back once drawn
    QCOMPARE(uint(slider.m_crFace), uint(RGB(0, 255, 0)));
}

void tst_CColorSliderCtrl::drawsNoGripOnNarrowThumb_data()
{
    QTest::addColumn<int>("thumbWidth");
    QTest::addColumn<bool>("grip");
    QTest::newRow("5 pixels") << 5 << false;
    QTest::newRow("4 pixels") << 4 << false;
    QTest::newRow("6 pixels") << 6 << true;
}

void tst_CColorSliderCtrl::drawsNoGripOnNarrowThumb()
{
    QFETCH(int, thumbWidth);
    QFETCH(bool, grip);
    CColorSliderCtrl slider;
    slider.m_nThumbWidth = thumbWidth;
    slider.resize(120, 26);
    slider.SetRange(0, 45);
    slider.SetPos(20);
    slider.SetFaceColor(RGB(0, 255, 0));
    const QImage image = Grab(slider);
    const RECT t = slider.ThumbRect();
    const int mid = (t.top + t.bottom) / 2;
    bool other = false;
    for (int x = t.left + 1; x < t.right - 1; ++x)
        other = other || At(image, x, mid) != slider.m_crFace;
    QCOMPARE(other, grip);
}

void tst_CColorSliderCtrl::drawsSelectionAndLetsParentShowThrough()
{
    CColorSliderCtrl slider;
    slider.resize(120, 26);
    slider.SetRange(0, 45);
    slider.SetSelection(0, 45);
    slider.SetChannelColor(0x635048);
    slider.SetSelectionColor(RGB(0, 0, 255));
    slider.SetPos(45);
    const QImage image = Grab(slider);
    const RECT c = slider.ChannelRect();
    const int mid = (c.top + c.bottom) / 2;
    QCOMPARE(uint(At(image, c.left + 10, mid)), uint(RGB(0, 0, 255)));
    QCOMPARE(image.pixelColor(2, 2), QColor(Qt::magenta));
    // Without a selection the channel colour shows
    slider.SetSelection(10, 10);
    const QImage plain = Grab(slider);
    QCOMPARE(uint(At(plain, c.left + 10, mid)), uint(0x635048));
}

void tst_CColorSliderCtrl::drawsChannelOfNoLength()
{
    CColorSliderCtrl slider;
    slider.resize(12, 26);
    slider.SetRange(0, 0);
    slider.SetSelection(0, 5);
    const QImage image = Grab(slider);
    QVERIFY(!image.isNull());
    QCOMPARE(slider.ThumbRect().left, slider.ChannelRect().left - slider.m_nThumbWidth / 2);
}

QTEST_MAIN(tst_CColorSliderCtrl)
#include "tst_CColorSliderCtrl.moc"
