// Qt
#include <QtTest>

// Orvane
#include "controls/CImageButton.h"
#include "platform/CxImage.h"

namespace {

// The Reset button's skins of the tool bar
constexpr UINT kNormal = 312, kPressed = 313, kHover = 311;

QRgb Centre(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32).pixel(image.width() / 2, image.height() / 2);
}

QRgb Shown(CImageButton& button)
{
    return Centre(button.grab().toImage());
}

QRgb Picture(const CxImage* image)
{
    return Centre(image->GetQImage());
}

} // namespace

class tst_CImageButton : public QObject
{
    Q_OBJECT
private slots:
    void resamplesPicturesToItsSize_data();
    void resamplesPicturesToItsSize();
    void picturesOfTheStatesDiffer();
    void showsStatePictures();
    void checkedButtonStaysPressed();
    void missingResourcePaintsNothing();
    void postsOneCommandPerClick();
    void postsTwoCommandsPerDoubleClick();
    void releaseAwayFromTheButtonStillPosts();
    void commandArrivesAfterTheRelease();
};

void tst_CImageButton::resamplesPicturesToItsSize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("the pictures' own size") << QSize(40, 40);
    QTest::newRow("right width, wrong height") << QSize(40, 29);
    QTest::newRow("wrong width, right height") << QSize(37, 40);
    QTest::newRow("larger") << QSize(60, 60);
}

void tst_CImageButton::resamplesPicturesToItsSize()
{
    QFETCH(QSize, size);
    CImageButton button(1142);
    button.resize(size);
    button.SetImages(kNormal, kPressed, kHover);
    for (const CxImage* image : {button.m_pImgNormal, button.m_pImgPressed, button.m_pImgHover}) {
        QVERIFY(image);
        QVERIFY(image->IsValid());
        QCOMPARE(QSize(int(image->GetWidth()), int(image->GetHeight())), size);
    }
}

void tst_CImageButton::picturesOfTheStatesDiffer()
{
    CImageButton button(1142);
    button.resize(40, 40);
    button.SetImages(kNormal, kPressed, kHover);
    const QImage normal = button.m_pImgNormal->GetQImage();
    QVERIFY(normal != button.m_pImgPressed->GetQImage());
    QVERIFY(normal != button.m_pImgHover->GetQImage());
    QVERIFY(button.m_pImgPressed->GetQImage() != button.m_pImgHover->GetQImage());
}

void tst_CImageButton::showsStatePictures()
{
    QWidget top;
    top.resize(200, 100);
    CImageButton button(1142, &top);
    button.setGeometry(50, 30, 40, 40);
    button.SetImages(kNormal, kPressed, kHover);
    top.show();
    QVERIFY(QTest::qWaitForWindowExposed(&top));
    QCOMPARE(Shown(button), Picture(button.m_pImgNormal));

    QTest::mouseMove(&button, QPoint(20, 20));
    QTRY_COMPARE(button.m_nState, 2);
    QVERIFY(button.m_bTracking);
    QCOMPARE(Shown(button), Picture(button.m_pImgHover));

    QTest::mouseMove(&top, QPoint(5, 5));
    QTRY_COMPARE(button.m_nState, 0);
    QVERIFY(!button.m_bTracking);
    QCOMPARE(Shown(button), Picture(button.m_pImgNormal));

    // The owner checks it
    button.m_bChecked = TRUE;
    button.m_nState = 1;
    button.update();
    QCOMPARE(Shown(button), Picture(button.m_pImgPressed));
}

void tst_CImageButton::checkedButtonStaysPressed()
{
    QWidget top;
    top.resize(200, 100);
    CImageButton button(1143, &top);
    button.setGeometry(50, 30, 40, 40);
    button.SetImages(303, 304, 302);
    button.m_bToggle = TRUE;
    button.m_bChecked = TRUE;
    button.m_nState = 1;
    top.show();
    QVERIFY(QTest::qWaitForWindowExposed(&top));
    QTest::mouseMove(&button, QPoint(20, 20));
    QTRY_VERIFY(button.m_bTracking);
    QCOMPARE(button.m_nState, 1);
    QCOMPARE(Shown(button), Picture(button.m_pImgPressed));
    QTest::mouseMove(&top, QPoint(5, 5));
    QTRY_VERIFY(!button.m_bTracking);
    QCOMPARE(button.m_nState, 1);
    QCOMPARE(Shown(button), Picture(button.m_pImgPressed));
}

void tst_CImageButton::missingResourcePaintsNothing()
{
    // The parent's red shows through a state without a picture
    QWidget top;
    top.setAutoFillBackground(true);
    QPalette pal = top.palette();
    pal.setColor(QPalette::Window, Qt::red);
    top.setPalette(pal);
    top.resize(100, 100);
    CImageButton button(1, &top);
    button.setGeometry(10, 10, 40, 40);
    button.SetImages(9999, kPressed, 9998);
    QVERIFY(button.m_pImgNormal && !button.m_pImgNormal->IsValid());
    top.show();
    QVERIFY(QTest::qWaitForWindowExposed(&top));
    const QImage shot = top.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(QColor(shot.pixel(30, 30)), QColor(Qt::red));
}

void tst_CImageButton::postsOneCommandPerClick()
{
    CImageButton button(1135);
    button.resize(40, 40);
    QSignalSpy spy(&button, &CImageButton::Command);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(spy.count(), 0); // posted, not yet delivered
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 1135);
    QTest::mouseClick(&button, Qt::RightButton);
    QTest::qWait(20);
    QCOMPARE(spy.count(), 1); // the right button posts nothing
}

void tst_CImageButton::postsTwoCommandsPerDoubleClick()
{
    CImageButton button(1135);
    button.resize(40, 40);
    QSignalSpy spy(&button, &CImageButton::Command);
    // What a double-click delivers: press, release, double-click, release
    QTest::mousePress(&button, Qt::LeftButton);
    QTest::mouseRelease(&button, Qt::LeftButton);
    QTest::mouseDClick(&button, Qt::LeftButton);
    QTest::mouseRelease(&button, Qt::LeftButton);
    QTRY_COMPARE(spy.count(), 2);
    QTest::qWait(20);
    QCOMPARE(spy.count(), 2);
}

void tst_CImageButton::releaseAwayFromTheButtonStillPosts()
{
    CImageButton button(1138);
    button.resize(40, 40);
    QSignalSpy spy(&button, &CImageButton::Command);
    QTest::mousePress(&button, Qt::LeftButton);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 90));
    QTRY_COMPARE(spy.count(), 1);
}

void tst_CImageButton::commandArrivesAfterTheRelease()
{
    auto* button = new CImageButton(1141);
    button->resize(40, 40);
    bool releaseDone = false;
    bool arrivedAfter = false;
    connect(button, &CImageButton::Command, this, [&] { arrivedAfter = releaseDone; });
    QTest::mousePress(button, Qt::LeftButton);
    QTest::mouseRelease(button, Qt::LeftButton);
    releaseDone = true;
    QTRY_VERIFY(arrivedAfter);

    // A button gone before the queue runs delivers nothing
    QSignalSpy spy(button, &CImageButton::Command);
    QTest::mouseClick(button, Qt::LeftButton);
    delete button;
    QTest::qWait(20);
    QCOMPARE(spy.count(), 0);
}

QTEST_MAIN(tst_CImageButton)
#include "tst_CImageButton.moc"
