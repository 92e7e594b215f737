// Qt
#include <QtTest>

// Orvane
#include "FrameUnderTest.h"
#include "controls/CMonitors.h"
#include "platform/Gdi.h"
#include "toolpanes/CThumbNailLeft.h"
#include "toolpanes/CToolView.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CZoomView.h"

namespace {

QString OutputFolder()
{
    const QByteArray env = qgetenv("ORVANE_TEST_OUTPUT");
    return env.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(env);
}

} // namespace

class tst_CMainFrame : public QObject
{
    Q_OBJECT
private slots:
    void recordsFirstMonitor();
    void placesOwnButtons_data();
    void placesOwnButtons();
    void clickOnCloseCloses();
    void releaseElsewhereDoesNotClose();
    void clickInAViewportCornerDoesNotClose();
    void minimizes();
    void escapesFullScreenAndBack();
    void closeRemovesImageDocuments();
    void closeEndsTheEventLoop();
    void activationRepaintsActiveViewOrToolBar();
    void looksLikeTheFrame();
};

void tst_CMainFrame::recordsFirstMonitor()
{
    // The first monitor counts, wherever the frame lies
    const auto old = SetMonitorRectProvider([] { return QRect(1920, 0, 1280, 1024); });
    CMonitors monitors;
    QVERIFY(monitors.GetCount() >= 1);
    RECT rc;
    monitors.GetMonitor(0).GetMonitorRect(&rc);
    QCOMPARE(rc, (RECT{1920, 0, 3200, 1024}));
    QVERIFY(monitors.GetMonitor(monitors.GetCount()).IsNull());
    monitors.GetMonitor(-1).GetMonitorRect(&rc);
    QCOMPARE(rc, RECT{});
    SetMonitorRectProvider(old);

    FrameUnderTest app(QRect(0, 0, 1024, 768));
    QCOMPARE(theApp.m_rcMonitor, (RECT{0, 0, 1024, 768}));
    QCOMPARE(app.Frame()->windowTitle(), QString("Orvane"));
    QCOMPARE(app.Frame()->m_wndTopBar.m_strText, QString("Perlisk Orvane - 1.3.1.2"));
}

void tst_CMainFrame::placesOwnButtons_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("800") << 800;
    QTest::newRow("1024") << 1024;
    QTest::newRow("1280") << 1280;
    QTest::newRow("1920") << 1920;
}

void tst_CMainFrame::placesOwnButtons()
{
    QFETCH(int, width);
    FrameUnderTest app(QRect(0, 0, width, 768));
    CMainFrame* frame = app.Frame();
    QCOMPARE(frame->m_rcClose, (RECT{width - 25, 2, width - 5, 22}));
    QCOMPARE(frame->m_rcMinimize, (RECT{width - 45, 2, width - 25, 22}));
    QCOMPARE(frame->m_btnClose.geometry(), QRect(width - 25, 2, 20, 20));
    QCOMPARE(frame->m_btnMinimize.geometry(), QRect(width - 45, 2, 20, 20));
    QVERIFY(frame->m_btnClose.isVisible());
    QVERIFY(frame->m_btnMinimize.isVisible());
    // Above the caption bar, and the bars span the frame
    QCOMPARE(frame->childAt(width - 15, 12), &frame->m_btnClose);
    QCOMPARE(frame->childAt(width - 35, 12), &frame->m_btnMinimize);
    QCOMPARE(frame->m_wndTopBar.geometry(), QRect(0, 0, width, 22));
    QCOMPARE(frame->m_wndBottomBar.geometry(), QRect(0, 768 - 12, width, 12));
}

void tst_CMainFrame::clickOnCloseCloses()
{
    FrameUnderTest app(QRect(0, 0, 1280, 1024));
    CMainFrame* frame = app.Frame();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    QTest::mousePress(&frame->m_btnClose, Qt::LeftButton);
    QCOMPARE(frame->m_bButtonPressed, BYTE(1));
    QTest::mouseRelease(&frame->m_btnClose, Qt::LeftButton);
    QCOMPARE(frame->m_bButtonPressed, BYTE(0));
    QVERIFY(!frame->isVisible());
    QVERIFY(theApp.m_pDocTemplate->GetDocuments().empty());
}

void tst_CMainFrame::releaseElsewhereDoesNotClose()
{
    FrameUnderTest app(QRect(0, 0, 1280, 1024));
    CMainFrame* frame = app.Frame();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    // The button holds the mouse; the release comes to it, away from it
    QTest::mousePress(&frame->m_btnClose, Qt::LeftButton);
    QTest::mouseRelease(&frame->m_btnClose, Qt::LeftButton, {}, QPoint(-400, 300));
    QVERIFY(frame->isVisible());
    QCOMPARE(frame->m_bButtonPressed, BYTE(0));
    QTest::mousePress(&frame->m_btnMinimize, Qt::LeftButton);
    QTest::mouseRelease(&frame->m_btnMinimize, Qt::LeftButton, {}, QPoint(10, 400));
    QVERIFY(!(frame->windowState() & Qt::WindowMinimized));
    QCOMPARE(theApp.m_pDocTemplate->GetDocuments().size(), std::size_t(1));
}

void tst_CMainFrame::clickInAViewportCornerDoesNotClose()
{
    FrameUnderTest app(QRect(0, 0, 1280, 1024));
    CMainFrame* frame = app.Frame();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    // Full screen: the grid spans the monitor, so a click in its top-right corner has its own
    // coordinates where Close lies in the frame
    app.Child()->ToggleThumbnailPane(FALSE);
    QWidget* grid = app.Child()->GetViewGridFrame();
    const QPoint corner(1265, 12);
    QVERIFY(Gdi::ToQRect(frame->m_rcClose).contains(corner));
    QVERIFY(grid->rect().contains(corner));
    QTest::mousePress(grid, Qt::LeftButton, {}, corner);
    QTest::mouseRelease(grid, Qt::LeftButton, {}, corner);
    QTest::mouseClick(app.Child(), Qt::LeftButton, {}, QPoint(1240, 12)); // where Minimize lies
    QVERIFY(frame->isVisible());
    QVERIFY(!(frame->windowState() & Qt::WindowMinimized));
    QCOMPARE(theApp.m_pDocTemplate->GetDocuments().size(), std::size_t(1));
}

void tst_CMainFrame::minimizes()
{
    FrameUnderTest app(QRect(0, 0, 1280, 1024));
    CMainFrame* frame = app.Frame();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    QTest::mouseClick(&frame->m_btnMinimize, Qt::LeftButton);
    QTRY_VERIFY(frame->windowState() & Qt::WindowMinimized);
    QVERIFY(!frame->isHidden());
}

void tst_CMainFrame::escapesFullScreenAndBack()
{
    FrameUnderTest app(QRect(0, 0, 1280, 1024));
    CMainFrame* frame = app.Frame();
    frame->EscapeFullScreen(0, 0);
    QCOMPARE(frame->m_pFullScreenChild, app.Child());
    QCOMPARE(frame->geometry(), QRect(-1, 0, 1282, 1024));
    frame->EscapeFullScreen(0, 0);
    QCOMPARE(frame->m_pFullScreenChild, nullptr);
    QCOMPARE(frame->geometry(), QRect(0, 0, 1280, 1024));
}

void tst_CMainFrame::closeRemovesImageDocuments()
{
    FrameUnderTest app(QRect(0, 0, 1280, 1024));
    CMainFrame* frame = app.Frame();
    QPointer<CDocument> document = app.Document();
    QVERIFY(document);
    // A document of another kind stays listed
    CDocument other;
    theApp.m_pDocTemplate->AddDocument(&other);
    QVERIFY(frame->close());
    QVERIFY(document); // removed from the template, not deleted
    QCOMPARE(document->GetDocTemplate(), nullptr);
    QCOMPARE(theApp.m_pDocTemplate->GetDocuments(), std::vector<CDocument*>{&other});
    theApp.m_pDocTemplate->RemoveDocument(&other);
}

void tst_CMainFrame::closeEndsTheEventLoop()
{
    FrameUnderTest app(QRect(0, 0, 1280, 1024));
    CMainFrame* frame = app.Frame();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    // A hidden dialog beside it, as the Study List is
    QWidget dialog(nullptr, Qt::Dialog);
    dialog.show();
    dialog.hide();
    QTimer::singleShot(0, frame, [frame] { QTest::mouseClick(&frame->m_btnClose, Qt::LeftButton); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); }); // a loop that does not end
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!frame->isVisible());
    QVERIFY(theApp.m_pDocTemplate->GetDocuments().empty());
}

namespace {

// Counts the paints a widget receives.
class PaintCounter : public QObject
{
public:
    int m_nPaints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_nPaints;
        return false;
    }
};

} // namespace

void tst_CMainFrame::activationRepaintsActiveViewOrToolBar()
{
    FrameUnderTest app(QRect(0, 0, 1280, 1024));
    CMainFrame* frame = app.Frame();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    QWidget* toolBar = app.Child()->GetToolView();
    PaintCounter toolPaints;
    toolBar->installEventFilter(&toolPaints);
    QCoreApplication::processEvents();
    toolPaints.m_nPaints = 0;
    QCOMPARE(frame->GetActiveView(), nullptr);
    frame->OnActivateApp(TRUE);
    QTRY_VERIFY(toolPaints.m_nPaints > 0);

    // With a view that has the input, the view is repainted instead
    auto* view = new CZoomView(app.Child()->GetViewGridFrame());
    view->setGeometry(0, 0, 200, 200);
    view->setFocusPolicy(Qt::StrongFocus);
    view->show();
    frame->activateWindow();
    view->setFocus();
    QTRY_COMPARE(frame->GetActiveView(), view);
    PaintCounter viewPaints;
    view->installEventFilter(&viewPaints);
    QCoreApplication::processEvents();
    toolPaints.m_nPaints = viewPaints.m_nPaints = 0;
    frame->OnActivateApp(TRUE);
    QTRY_VERIFY(viewPaints.m_nPaints > 0);
    QCOMPARE(toolPaints.m_nPaints, 0);
}

void tst_CMainFrame::looksLikeTheFrame()
{
    FrameUnderTest app(QRect(0, 0, 1280, 1024));
    CMainFrame* frame = app.Frame();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    const QImage shot = frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(shot.save(OutputFolder() + "/CMainFrame-1280x1024.png"));
    QCOMPARE(shot.size(), QSize(1280, 1024));

    // Caption bar: black at the left edge to nearly grey 128 at the right, 22 rows
    QCOMPARE(QColor(shot.pixel(0, 21)), QColor(0, 0, 0));
    QCOMPARE(QColor(shot.pixel(1100, 21)), QColor(110, 110, 110)); // 128 * 1100 / 1280
    // Bottom bar, 12 rows
    QCOMPARE(QColor(shot.pixel(100, 1023)), QColor(10, 10, 10)); // 128 * 100 / 1280
    QCOMPARE(QColor(shot.pixel(1270, 1012)), QColor(127, 127, 127));
    QCOMPARE(QColor(shot.pixel(1270, 1011)), QColor(255, 255, 255)); // the tool bar's white frame above it
    QCOMPARE(QColor(shot.pixel(1270, 1000)), QColor(0, 0, 0));       // and its black inside
    // The three panes with the thin bars between them
    const CChildFrmView* child = app.Child();
    const QPoint origin = child->mapTo(frame, QPoint(0, 0));
    const int T = theApp.m_nThumbColumnWidth, V = theApp.m_nViewAreaHeight;
    QCOMPARE(QColor(shot.pixel(origin.x() + T / 2, origin.y() + 300)), QColor(0, 0, 0));
    QCOMPARE(QColor(shot.pixel(origin.x() + T, origin.y() + 300)), QColor(0x50, 0x50, 0x50));
    QCOMPARE(QColor(shot.pixel(origin.x() + 600, origin.y() + V)), QColor(0x50, 0x50, 0x50));
    QCOMPARE(QColor(shot.pixel(origin.x() + T + 100, origin.y() + V + 30)), QColor(0, 0, 0)); // left of the buttons
    // The Close and Minimize symbols show on the caption bar
    int light = 0;
    for (int y = 2; y < 22; ++y)
        for (int x = 1280 - 45; x < 1280 - 5; ++x)
            light += qGray(shot.pixel(x, y)) > 200;
    QVERIFY(light > 10);
}

QTEST_MAIN(tst_CMainFrame)
#include "tst_CMainFrame.moc"
