// Qt
#include <QtTest>

// Orvane
#include "FrameUnderTest.h"
#include "app/PaneSizes.h"
#include "toolpanes/CThumbNailLeft.h"
#include "toolpanes/CToolView.h"
#include "viewer/CMyFrameWnd.h"

namespace {

// A child frame one of whose panes can't be built.
class FailingChildFrame : public CChildFrmView
{
public:
    using PaneKind = CChildFrmView::PaneKind;
    enum class How { Null, Throw };
    FailingChildFrame(PaneKind failing, How how, QWidget* parent)
        : CChildFrmView(parent), m_failing(failing), m_how(how) {}

    static constexpr PaneKind kThumbnails = PaneKind::Thumbnails;
    static constexpr PaneKind kViewGrid = PaneKind::ViewGrid;
    static constexpr PaneKind kToolBar = PaneKind::ToolBar;

protected:
    QWidget* CreatePane(PaneKind kind, QWidget* parent) override
    {
        if (kind == m_failing) {
            if (m_how == How::Throw)
                throw std::bad_alloc();
            return nullptr;
        }
        return CChildFrmView::CreatePane(kind, parent);
    }

private:
    PaneKind m_failing;
    How m_how;
};

} // namespace

class tst_CChildFrmView : public QObject
{
    Q_OBJECT
private slots:
    void computesPaneSizes_data();
    void computesPaneSizes();
    void buildsPanesFromMonitor_data();
    void buildsPanesFromMonitor();
    void togglesThumbnailColumn_data();
    void togglesThumbnailColumn();
    void failsCleanlyWhenAPaneCannotBeBuilt_data();
    void failsCleanlyWhenAPaneCannotBeBuilt();
};

void tst_CChildFrmView::computesPaneSizes_data()
{
    QTest::addColumn<int>("W");
    QTest::addColumn<int>("H");
    QTest::addColumn<int>("T");
    QTest::addColumn<int>("V");
    QTest::addColumn<int>("toggleV");
    // Worked examples
    QTest::newRow("1024x768") << 1024 << 768 << 122 << 675 << 675;
    QTest::newRow("1280x1024") << 1280 << 1024 << 128 << 911 << 911;
    QTest::newRow("800x600") << 800 << 600 << 104 << 500 << 500;
    QTest::newRow("1920x1080 column capped") << 1920 << 1080 << 160 << 961 << 961;
    QTest::newRow("1600x1200") << 1600 << 1200 << 160 << 1068 << 1068;
    QTest::newRow("1200x1920 portrait") << 1200 << 1920 << 120 << 1785 << 1785;
    QTest::newRow("2560x1600 tables differ") << 2560 << 1600 << 160 << 1488 << 1424;
    // Column thresholds
    QTest::newRow("W 801") << 801 << 600 << 96 << 500 << 500;
    QTest::newRow("W 1152") << 1152 << 864 << 138 << 777 << 777;
    QTest::newRow("W 1153") << 1153 << 864 << 115 << 777 << 777;
    QTest::newRow("W 1600") << 1600 << 900 << 160 << 810 << 810;
    // Row thresholds
    QTest::newRow("H 600 wide") << 1280 << 600 << 128 << 522 << 522;
    QTest::newRow("H 600") << 1024 << 600 << 122 << 500 << 500;
    QTest::newRow("H 800 wide") << 1280 << 800 << 128 << 696 << 696;
    QTest::newRow("H 800") << 1024 << 800 << 122 << 675 << 675;
    QTest::newRow("H 999") << 1280 << 999 << 128 << 899 << 899;
    QTest::newRow("H 1000") << 1280 << 1000 << 128 << 930 << 930;
    QTest::newRow("H 1200 portrait is not tall") << 900 << 1200 << 108 << 1068 << 1068;
    QTest::newRow("H 2000") << 3000 << 2000 << 160 << 1860 << 1860;
    QTest::newRow("H 2160") << 3840 << 2160 << 160 << 2008 << 1987;
    // A monitor lower than the fixed 675 keeps a tool row of 0, not a negative one
    QTest::newRow("640x480") << 640 << 480 << 83 << 480 << 480;
    QTest::newRow("no monitor") << 0 << 0 << 0 << 0 << 0;
}

void tst_CChildFrmView::computesPaneSizes()
{
    QFETCH(int, W);
    QFETCH(int, H);
    QFETCH(int, T);
    QFETCH(int, V);
    QFETCH(int, toggleV);
    const PaneSizes built = ComputePaneSizes(W, H, PaneSizeTable::CreateClient);
    QCOMPARE(built.nThumbColumnWidth, T);
    QCOMPARE(built.nViewAreaHeight, V);
    QCOMPARE(built.nViewAreaWidth, W - T);
    QCOMPARE(built.nToolRowHeight, H - V);
    const PaneSizes toggled = ComputePaneSizes(W, H, PaneSizeTable::ToggleThumbnails);
    QCOMPARE(toggled.nThumbColumnWidth, T);
    QCOMPARE(toggled.nViewAreaHeight, toggleV);
    QCOMPARE(toggled.nToolRowHeight, H - toggleV);
}

void tst_CChildFrmView::buildsPanesFromMonitor_data()
{
    QTest::addColumn<QRect>("monitor");
    QTest::addColumn<int>("T");
    QTest::addColumn<int>("V");
    QTest::newRow("1280x1024") << QRect(0, 0, 1280, 1024) << 128 << 911;
    QTest::newRow("1024x768") << QRect(0, 0, 1024, 768) << 122 << 675;
    QTest::newRow("1920x1080 right of another") << QRect(1280, 0, 1920, 1080) << 160 << 961;
}

void tst_CChildFrmView::buildsPanesFromMonitor()
{
    QFETCH(QRect, monitor);
    QFETCH(int, T);
    QFETCH(int, V);
    FrameUnderTest app(monitor);
    QVERIFY(app.Loaded());
    CChildFrmView* child = app.Child();
    QVERIFY(child);
    QCOMPARE(theApp.m_nThumbColumnWidth, T);
    QCOMPARE(theApp.m_nViewAreaHeight, V);
    QCOMPARE(theApp.m_nViewAreaWidth, monitor.width() - T);
    QCOMPARE(theApp.m_nToolRowHeight, monitor.height() - V);

    QVERIFY(child->GetThumbnailPane());
    QVERIFY(child->GetViewGridFrame());
    QVERIFY(child->GetToolView());
    QCOMPARE(child->m_wndOuterSplitter.GetPane(0, 1), &child->m_wndInnerSplitter);
    QCOMPARE(child->m_wndInnerSplitter.GetPane(0, 0), child->GetViewGridFrame());
    QCOMPARE(child->m_wndInnerSplitter.GetPane(1, 0), child->GetToolView());

    // Thumbnails, a 2-pixel gap, the grid column; the grid row, a gap, the tool row taking the rest
    const QRect thumbs = child->GetThumbnailPane()->geometry();
    QCOMPARE(thumbs, QRect(0, 0, T, child->height()));
    QCOMPARE(child->m_wndInnerSplitter.geometry(), QRect(T + 2, 0, child->width() - T - 2, child->height()));
    QCOMPARE(child->GetViewGridFrame()->geometry(), QRect(0, 0, child->width() - T - 2, V));
    QCOMPARE(child->GetToolView()->geometry(), QRect(0, V + 2, child->width() - T - 2, child->height() - V - 2));
    // The child frame fills the client area between the caption bar and the bottom bar
    QCOMPARE(child->mapTo(app.Frame(), QPoint(0, 0)), QPoint(0, 22));
    QCOMPARE(child->height(), monitor.height() - 22 - 12);
}

void tst_CChildFrmView::togglesThumbnailColumn_data()
{
    QTest::addColumn<QRect>("monitor");
    QTest::addColumn<int>("T");
    QTest::addColumn<int>("toggleV");
    QTest::newRow("1280x1024") << QRect(0, 0, 1280, 1024) << 128 << 911;
    QTest::newRow("2560x1600 keeps the toggle's height") << QRect(0, 0, 2560, 1600) << 160 << 1424;
}

void tst_CChildFrmView::togglesThumbnailColumn()
{
    QFETCH(QRect, monitor);
    QFETCH(int, T);
    QFETCH(int, toggleV);
    FrameUnderTest app(monitor);
    CChildFrmView* child = app.Child();
    QVERIFY(child);
    const int W = monitor.width();

    child->ToggleThumbnailPane(FALSE);
    QCOMPARE(child->GetThumbnailPane()->width(), 0);
    QVERIFY(!child->GetThumbnailPane()->isHidden()); // shrunk, not hidden
    QCOMPARE(theApp.m_nViewAreaWidth, W);
    QCOMPARE(child->m_wndInnerSplitter.x(), 2);
    QCOMPARE(child->GetViewGridFrame()->width(), W - 2);
    QCOMPARE(child->GetToolView()->width(), W - 2);
    QCOMPARE(child->GetViewGridFrame()->height(), toggleV);

    child->ToggleThumbnailPane(TRUE);
    QCOMPARE(child->GetThumbnailPane()->width(), T);
    QCOMPARE(theApp.m_nViewAreaWidth, W - T);
    QCOMPARE(child->GetViewGridFrame()->width(), W - T - 2);
    QCOMPARE(child->GetViewGridFrame()->height(), toggleV);
    // Only the width follows the toggle
    QCOMPARE(theApp.m_nViewAreaHeight, ComputePaneSizes(W, monitor.height(), PaneSizeTable::CreateClient).nViewAreaHeight);
}

void tst_CChildFrmView::failsCleanlyWhenAPaneCannotBeBuilt_data()
{
    QTest::addColumn<int>("pane");
    QTest::addColumn<bool>("throws");
    QTest::newRow("no thumbnail column") << 0 << false;
    QTest::newRow("no grid frame") << 1 << false;
    QTest::newRow("no tool bar") << 2 << false;
    QTest::newRow("tool bar throws") << 2 << true;
    QTest::newRow("thumbnail column throws") << 0 << true;
}

void tst_CChildFrmView::failsCleanlyWhenAPaneCannotBeBuilt()
{
    QFETCH(int, pane);
    QFETCH(bool, throws);
    FrameUnderTest app(QRect(0, 0, 1280, 1024), false);
    const FailingChildFrame::PaneKind kinds[] = {FailingChildFrame::kThumbnails, FailingChildFrame::kViewGrid,
                                                 FailingChildFrame::kToolBar};
    const auto how = throws ? FailingChildFrame::How::Throw : FailingChildFrame::How::Null;
    QPointer<QWidget> made;
    CMultiDocTemplate failing(IDR_TOLVANETYPE, QString(), [] { return new CVantrelDoc; },
                              [&](CDocument* document, QWidget* parent) -> QWidget* {
                                  auto* frame = new FailingChildFrame(kinds[pane], how, parent);
                                  made = frame;
                                  if (!frame->Create(document)) {
                                      delete frame;
                                      return nullptr;
                                  }
                                  return frame;
                              });
    // Reported, not silent
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("CChildFrmView::OnCreateClient"));
    QCOMPARE(failing.OpenDocumentFile(QString(), app.Frame()->GetClientArea()), nullptr);
    QVERIFY(made.isNull());                     // no frame left with missing panes
    QVERIFY(failing.GetDocuments().empty());    // nor its document
    QVERIFY(!app.Frame()->MDIGetActive());
}

QTEST_MAIN(tst_CChildFrmView)
#include "tst_CChildFrmView.moc"
