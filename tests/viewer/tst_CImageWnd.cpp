// The magnifier overlay and its lens over a view that hands its mouse input on, as a viewport
// does in magnifier mode: made on first use in the view's window, the frozen picture, the lens
// following the held pointer inside the shrunk view, round and square lenses, and every way a
// stroke ends.

// Qt
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QtTest>

// std
#include <memory>

// Orvane
#include "app/COstrevanApp.h"
#include "viewer/CImageWnd.h"
#include "viewer/CMagnWnd.h"
#include "viewer/LensGeometry.h"

namespace {

// Nearly every pixel its own colour (repeating every 256 pixels), with a white grid every 25
// pixels that shows the magnification in the screenshot
QImage Numbered(int w, int h)
{
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y, x % 25 == 0 || y % 25 == 0 ? qRgb(255, 255, 255)
                                                               : qRgb(x & 0xFF, y & 0xFF, ((x >> 8) * 80 + (y >> 8) * 40 + 100) & 0xFF));
    return picture;
}

// A view that paints a picture and hands its left-button stroke to the magnifier
class PatternView : public QWidget
{
public:
    explicit PatternView(QWidget* parent)
        : QWidget(parent)
    {
        setFocusPolicy(Qt::ClickFocus);
        // Moves without a button reach the view too
        setMouseTracking(true);
    }
    QImage m_picture;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, m_picture);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            CImageWnd::GetMagnifierWindow(this)->OnLButtonDown(this, event->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (g_wndMagnifier)
            g_wndMagnifier->OnMouseMove(event->buttons() & Qt::LeftButton ? MK_LBUTTON : 0, event->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (g_wndMagnifier && event->button() == Qt::LeftButton)
            g_wndMagnifier->OnLButtonUp(event->position().toPoint());
    }
};

const QPoint kViewOrigin(50, 40);

} // namespace

class tst_CImageWnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void madeOnFirstUseInTheViewsWindow();
    void pressFreezesThePictureAndShowsTheLens();
    void lensFollowsTheHeldPointerInsideTheShrunkView();
    void strokeEnds_data();
    void strokeEnds();
    void roundLensHasUnmagnifiedCorners();
    void squareLensAtTheEdgeIsNotStretched();
    void settingsGoToTheApplication();
    void deletedLensComesBackOnTheNextPress();

private:
    void Move(QPoint point, Qt::MouseButtons buttons);
    QImage Shot() const { return m_window->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    std::unique_ptr<QWidget> m_window;
    PatternView* m_view = nullptr;
    QLineEdit* m_other = nullptr;
    QImage m_picture;
};

void tst_CImageWnd::init()
{
    theApp.m_nMagnifierSize = 200;
    theApp.m_nMagnifierZoom = 20;
    theApp.m_nMagnifierOption = 0;
    m_window = std::make_unique<QWidget>();
    m_window->resize(700, 500);
    m_view = new PatternView(m_window.get());
    m_view->setGeometry(QRect(kViewOrigin, QSize(600, 400)));
    m_picture = Numbered(600, 400);
    m_view->m_picture = m_picture;
    m_other = new QLineEdit(m_window.get());
    m_other->setGeometry(0, 460, 100, 20);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void tst_CImageWnd::cleanup()
{
    m_window.reset();
    QVERIFY(g_wndMagnifier.isNull());
}

void tst_CImageWnd::Move(QPoint point, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(point), m_view->mapToGlobal(QPointF(point)), Qt::NoButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(m_view, &move);
}

void tst_CImageWnd::madeOnFirstUseInTheViewsWindow()
{
    QVERIFY(g_wndMagnifier.isNull());
    CImageWnd* overlay = CImageWnd::GetMagnifierWindow(m_view);
    QVERIFY(overlay);
    QCOMPARE(overlay, g_wndMagnifier.data());
    QCOMPARE(overlay->parentWidget(), m_window.get());
    QVERIFY(!overlay->isWindow());
    QVERIFY(overlay->isHidden());
    QCOMPARE(CImageWnd::GetMagnifierWindow(m_view), overlay);
    // The shape starts square
    int shape = -1;
    overlay->GetMagnifierSettings(&shape, nullptr, nullptr);
    QCOMPARE(shape, 0);
    // It goes with its window (cleanup checks)
}

void tst_CImageWnd::pressFreezesThePictureAndShowsTheLens()
{
    const QPoint press(300, 200);
    QTest::mousePress(m_view, Qt::LeftButton, {}, press);
    CImageWnd* overlay = g_wndMagnifier;
    QVERIFY(overlay);
    QVERIFY(overlay->m_bActive);
    QVERIFY(overlay->isVisible());
    QCOMPARE(overlay->geometry(), QRect(kViewOrigin, QSize(600, 400)));
    QVERIFY(overlay->m_pLens->isVisible());
    QCOMPARE(overlay->m_pLens->geometry(), QRect(200, 100, 200, 200));

    // The view changes under the overlay: the frozen picture is shown
    m_view->m_picture.fill(Qt::red);
    m_view->update();
    const QImage shot = Shot();
    QCOMPARE(shot.pixel(kViewOrigin + QPoint(10, 10)), m_picture.pixel(10, 10));
    QCOMPARE(shot.pixel(kViewOrigin + QPoint(590, 390)), m_picture.pixel(590, 390));
    // The lens centre shows the captured pixel under the pointer, magnified twice
    QCOMPARE(shot.pixel(kViewOrigin + press), m_picture.pixel(press));
    QCOMPARE(shot.pixel(kViewOrigin + press + QPoint(40, 0)), m_picture.pixel(press + QPoint(20, 0)));
    QTest::mouseRelease(m_view, Qt::LeftButton, {}, press);
}

void tst_CImageWnd::lensFollowsTheHeldPointerInsideTheShrunkView()
{
    QTest::mousePress(m_view, Qt::LeftButton, {}, QPoint(300, 200));
    CImageWnd* overlay = g_wndMagnifier;
    Move(QPoint(320, 150), Qt::LeftButton);
    QCOMPARE(overlay->m_pLens->geometry(), QRect(220, 50, 200, 200));
    QCOMPARE(m_view->cursor().shape(), Qt::BlankCursor);
    QCOMPARE(Shot().pixel(kViewOrigin + QPoint(320, 150)), m_picture.pixel(320, 150));

    // The centre stays 200 / 15 = 13 and 200 / 11 = 18 pixels inside the view
    Move(QPoint(-30, -30), Qt::LeftButton);
    QCOMPARE(overlay->m_pLens->geometry().center() + QPoint(1, 1), QPoint(13, 18));
    Move(QPoint(650, 450), Qt::LeftButton);
    QCOMPARE(overlay->m_pLens->geometry().topLeft(), QPoint(586 - 100, 381 - 100));
    QCOMPARE(Shot().pixel(kViewOrigin + QPoint(586, 381)), m_picture.pixel(586, 381));

    QTest::mouseRelease(m_view, Qt::LeftButton, {}, QPoint(586, 381));
    QVERIFY(!overlay->isVisible());
    QVERIFY(!m_view->testAttribute(Qt::WA_SetCursor));
    // Moving with the button released does not move the lens
    const QRect lens = overlay->m_pLens->geometry();
    Move(QPoint(100, 100), Qt::NoButton);
    QCOMPARE(overlay->m_pLens->geometry(), lens);
    QVERIFY(!overlay->isVisible());
}

void tst_CImageWnd::strokeEnds_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("release") << "release";
    QTest::newRow("move without the button") << "move";
    QTest::newRow("focus lost") << "focus";
    QTest::newRow("window deactivated") << "deactivate";
    QTest::newRow("view hidden") << "hide view";
    QTest::newRow("window hidden") << "hide window";
    QTest::newRow("overlay hidden") << "hide overlay";
    QTest::newRow("lens deleted") << "delete lens";
    QTest::newRow("view destroyed") << "destroy view";
}

void tst_CImageWnd::strokeEnds()
{
    QFETCH(QString, how);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::mousePress(m_view, Qt::LeftButton, {}, QPoint(300, 200));
    QTRY_VERIFY(m_view->hasFocus());
    QPointer<CImageWnd> overlay = g_wndMagnifier;
    Move(QPoint(310, 210), Qt::LeftButton);
    QVERIFY(overlay->m_bActive);
    QCOMPARE(m_view->cursor().shape(), Qt::BlankCursor);

    if (how == "release") {
        QTest::mouseRelease(m_view, Qt::LeftButton, {}, QPoint(310, 210));
    } else if (how == "move") {
        Move(QPoint(320, 220), Qt::NoButton);
    } else if (how == "focus") {
        m_other->setFocus();
    } else if (how == "deactivate") {
        QEvent deactivate(QEvent::WindowDeactivate);
        QCoreApplication::sendEvent(m_window.get(), &deactivate);
    } else if (how == "hide view") {
        m_view->hide();
    } else if (how == "hide window") {
        m_window->hide();
    } else if (how == "hide overlay") {
        overlay->hide();
    } else if (how == "delete lens") {
        overlay->DeleteMagnifier();
        QCOMPARE(overlay->m_pLens, nullptr);
    } else if (how == "destroy view") {
        delete m_view;
        m_view = nullptr;
    }
    QVERIFY(overlay);
    QVERIFY(!overlay->m_bActive);
    QVERIFY(overlay->isHidden());
    QVERIFY(!overlay->m_pLens || overlay->m_pLens->isHidden());
    QVERIFY(overlay->m_bmpCapture.isNull());
    if (m_view)
        QVERIFY(!m_view->testAttribute(Qt::WA_SetCursor));
    // Only a real release hands the focus back to the view
    if (how == "release")
        QVERIFY(m_view->hasFocus());
    if (how == "focus")
        QVERIFY(m_other->hasFocus());
}

void tst_CImageWnd::roundLensHasUnmagnifiedCorners()
{
    // The shape chosen before the first lens is kept
    CImageWnd::GetMagnifierWindow(m_view)->SetMagnifierSettings(1, 200, 25, 1);
    const QPoint press(300, 200);
    QTest::mousePress(m_view, Qt::LeftButton, {}, press);
    CImageWnd* overlay = g_wndMagnifier;
    QCOMPARE(overlay->m_nShape, 1);
    const QImage shot = Shot();
    const QPoint lens = kViewOrigin + overlay->m_pLens->pos();
    // Corners: the picture at their own place; centre: the pixel under the pointer
    for (const QPoint corner : {QPoint(2, 2), QPoint(197, 2), QPoint(2, 197), QPoint(197, 197)})
        QCOMPARE(shot.pixel(lens + corner), m_picture.pixel(overlay->m_pLens->pos() + corner));
    QCOMPARE(shot.pixel(kViewOrigin + press), m_picture.pixel(press));
    // Magnified 2.5 times along the horizontal through the centre
    QCOMPARE(shot.pixel(kViewOrigin + press + QPoint(50, 0)), m_picture.pixel(press + QPoint(20, 0)));
    // The circle is black at the top of the lens
    QCOMPARE(shot.pixel(lens + QPoint(100, 1)), qRgb(0, 0, 0));
    QTest::mouseRelease(m_view, Qt::LeftButton, {}, press);
}

void tst_CImageWnd::squareLensAtTheEdgeIsNotStretched()
{
    // Nearest-pixel resampling, so that pixels compare exactly
    QTest::mousePress(m_view, Qt::LeftButton, {}, QPoint(0, 200));
    CImageWnd* overlay = g_wndMagnifier;
    QCOMPARE(overlay->m_nShape, 0);
    const QImage shot = Shot();
    // The centre went to x = 13; what the lens shows there is the picture under it
    QCOMPARE(overlay->m_pLens->geometry().center() + QPoint(1, 1), QPoint(13, 200));
    QCOMPARE(shot.pixel(kViewOrigin + QPoint(13, 200)), m_picture.pixel(13, 200));
    QCOMPARE(shot.pixel(kViewOrigin + QPoint(53, 200)), m_picture.pixel(33, 200));
    // The two frames: black at the lens's bottom edge and two pixels in, not between
    const QPoint lens = kViewOrigin + overlay->m_pLens->pos();
    QCOMPARE(shot.pixel(lens + QPoint(150, 199)), qRgb(0, 0, 0));
    QCOMPARE(shot.pixel(lens + QPoint(150, 197)), qRgb(0, 0, 0));
    QVERIFY(shot.pixel(lens + QPoint(150, 198)) != qRgb(0, 0, 0));
    QCOMPARE(shot.pixel(lens + QPoint(199, 150)), qRgb(0, 0, 0));
    QTest::mouseRelease(m_view, Qt::LeftButton, {}, QPoint(0, 200));
}

void tst_CImageWnd::settingsGoToTheApplication()
{
    CImageWnd* overlay = CImageWnd::GetMagnifierWindow(m_view);
    overlay->SetMagnifierSettings(1, 300, 30, 2);
    QCOMPARE(theApp.m_nMagnifierSize, 300);
    QCOMPARE(theApp.m_nMagnifierZoom, 30);
    QCOMPARE(theApp.m_nMagnifierOption, 2);
    // A new placement takes size, zoom and option from the application, and keeps the shape
    theApp.m_nMagnifierSize = 100;
    theApp.m_nMagnifierZoom = 18;
    theApp.m_nMagnifierOption = 0;
    overlay->InitMembers(m_view);
    int shape = 0;
    int size = 0;
    int zoom = 0;
    overlay->GetMagnifierSettings(&shape, &size, &zoom);
    QCOMPARE(shape, 1);
    QCOMPARE(size, 100);
    QCOMPARE(zoom, 18);
    QCOMPARE(overlay->m_nOption, 0);
    QTest::mousePress(m_view, Qt::LeftButton, {}, QPoint(300, 200));
    QCOMPARE(overlay->m_pLens->size(), QSize(100, 100));
    QTest::mouseRelease(m_view, Qt::LeftButton, {}, QPoint(300, 200));
}

void tst_CImageWnd::deletedLensComesBackOnTheNextPress()
{
    CImageWnd* overlay = CImageWnd::GetMagnifierWindow(m_view);
    overlay->DeleteMagnifier();
    QCOMPARE(overlay->m_pLens, nullptr);
    // A view of size 0 lenses shows nothing and breaks nothing
    theApp.m_nMagnifierSize = 0;
    QTest::mousePress(m_view, Qt::LeftButton, {}, QPoint(300, 200));
    QVERIFY(!overlay->m_bActive);
    QVERIFY(overlay->isHidden());
    QTest::mouseRelease(m_view, Qt::LeftButton, {}, QPoint(300, 200));
    theApp.m_nMagnifierSize = 200;
    QTest::mousePress(m_view, Qt::LeftButton, {}, QPoint(300, 200));
    QVERIFY(overlay->m_pLens);
    QVERIFY(overlay->m_pLens->isVisible());
    QCOMPARE(Shot().pixel(kViewOrigin + QPoint(300, 200)), m_picture.pixel(300, 200));
    QTest::mouseRelease(m_view, Qt::LeftButton, {}, QPoint(300, 200));
}

QTEST_MAIN(tst_CImageWnd)
#include "tst_CImageWnd.moc"
