// Dragging a thumbnail by hand onto a viewport with real mouse events: the drop in series and
// image layout, drops that do nothing, the right button, auto-scroll, what a drop does to the
// view's cine loop and to the tools, the selected label's colours, tooltips and keys.

// Qt
#include <QApplication>
#include <QScrollBar>
#include <QtTest>

// std
#include <memory>

// Orvane
#include "app/CChildFrmView.h"
#include "res/resource.h"
#include "study/DicomCodecs.h"
#include "tests/viewer/ShownStudy.h"
#include "toolpanes/CDragListCtrl.h"
#include "toolpanes/CThumbNailLeft.h"
#include "state/ToolState.h"
#include "toolpanes/ToolStateDisplay.h"

using namespace Fixtures;

namespace {

ImageRecipe SmallCt(const std::string& description)
{
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    recipe.columns = 64;
    recipe.rows = 48;
    recipe.seriesDescription = description;
    return recipe;
}

int SelectedRow(const CDragListCtrl& list)
{
    const QList<QListWidgetItem*> selected = list.selectedItems();
    return selected.size() == 1 ? list.row(selected.front()) : selected.isEmpty() ? -1 : -2;
}

// The series each view shows, row by row (the single view alone when one is shown)
QList<const CSeriesInfo*> ShownSeries(CMyFrameWnd* grid)
{
    QList<const CSeriesInfo*> shown;
    if (CVantrelView* single = grid->GetSingleView())
        shown << single->m_pSeries;
    for (CVantrelView* pane : grid->GetPanes())
        shown << pane->m_pSeries;
    return shown;
}

} // namespace

class tst_CDragListCtrl : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_codecs = std::make_unique<DicomCodecs>();
        QVERIFY(m_dir.isValid());
    }
    void init() { ClearToolState(); SetDefaultToolState(); }

    void dropInSeriesLayoutLoadsThatPaneOnly();
    void dropInImageLayoutShowsTheSeriesAcrossTheGrid();
    void dropsThatDoNothing_data();
    void dropsThatDoNothing();
    void rightButtonCancels();
    void autoScrollsBelowTheList();
    void autoScrollsAtTheColumnsBottom_data();
    void autoScrollsAtTheColumnsBottom();
    void dropStopsTheViewsCineLoop_data();
    void dropStopsTheViewsCineLoop();
    void dropEndsPanAndKeepsTheButtonsInStep();
    void selectedLabelHasItsColours();
    void tooltipIsTheLabelCutTo79();
    void upAndDownAreSwallowed();

private:
    // `n` series of one small CT image each, their thumbnails made
    bool ShowSeries(ShownStudy& shown, int n, const QRect& = QRect())
    {
        for (int i = 0; i < n; ++i) {
            CSeriesInfo* series = shown.Study().AddSeries("CT");
            if (!shown.Study().AddImage(series, SmallCt("S" + std::to_string(i + 1))))
                return false;
        }
        if (!shown.Show())
            return false;
        CThumbNailLeft* pane = Pane(shown);
        pane->StartThumbnailThread();
        return QTest::qWaitFor([pane] { return !pane->m_bThreadRunning; }, 20000)
               && QTest::qWaitForWindowExposed(&pane->m_wndThumbList);
    }
    static CThumbNailLeft* Pane(ShownStudy& shown) { return shown.Frame().Child()->GetThumbnailPane(); }
    static CSeriesInfo* Series(ShownStudy& shown, int i) { return shown.Study().m_pStudy->m_lstSeries[size_t(i)].get(); }

    // Presses on row `row`, moves past the drag distance, then to `to` (a point of `target`)
    static void DragRowTo(CDragListCtrl& list, int row, QWidget* target, QPoint to)
    {
        QWidget* vp = list.viewport();
        const QPoint from = list.visualItemRect(list.item(row)).center();
        QTest::mousePress(vp, Qt::LeftButton, {}, from);
        QTest::mouseMove(vp, from + QPoint(0, QApplication::startDragDistance() + 2));
        QTest::mouseMove(vp, vp->mapFromGlobal(target->mapToGlobal(to)));
    }
    static void ReleaseAt(CDragListCtrl& list, QWidget* target, QPoint to)
    {
        QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, list.viewport()->mapFromGlobal(target->mapToGlobal(to)));
    }

    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

// Series layout: thumbnail 3 dropped on the lower right pane of a 2 x 2 grid shows series 3
// there only, makes that pane the selected one and selects thumbnail 3
void tst_CDragListCtrl::dropInSeriesLayoutLoadsThatPaneOnly()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 4));
    theApp.m_nLayoutMode = 1;
    CMyFrameWnd* grid = shown.Grid();
    QVERIFY(grid->OnCommand(ID_FRAME_LAYOUT2X2));
    QVERIFY(grid->m_bSeriesLayout);
    CVantrelView* lowerRight = grid->GetPane(1, 1);
    QVERIFY(QTest::qWaitFor([lowerRight] { return lowerRight->isVisible(); }));
    CDragListCtrl& list = Pane(shown)->m_wndThumbList;

    DragRowTo(list, 2, lowerRight, lowerRight->rect().center());
    QVERIFY(list.IsDragging());
    // The picture follows the pointer over the main window and takes no input
    QWidget* picture = list.DragImage();
    QVERIFY(picture && picture->isVisible());
    QCOMPARE(picture->parentWidget(), list.window());
    QVERIFY(picture->testAttribute(Qt::WA_TransparentForMouseEvents));
    QVERIFY(picture->geometry().contains(picture->parentWidget()->mapFromGlobal(lowerRight->mapToGlobal(lowerRight->rect().center()))));
    ReleaseAt(list, lowerRight, lowerRight->rect().center());

    QVERIFY(!list.IsDragging());
    QCOMPARE(ShownSeries(grid), QList<const CSeriesInfo*>({Series(shown, 0), Series(shown, 1), Series(shown, 2), Series(shown, 2)}));
    QCOMPARE(lowerRight->m_pImage, Series(shown, 2)->GetImageAt(0));
    QVERIFY(lowerRight->HasPicture());
    QCOMPARE(grid->GetSelectedView(), lowerRight);
    QCOMPARE(grid->GetActiveView(), lowerRight);
    for (CVantrelView* pane : grid->GetPanes())
        QCOMPARE(bool(pane->m_bSelected), pane == lowerRight);
    QCOMPARE(SelectedRow(list), 2);
}

// Image layout: the series goes across the grid, whichever pane took the drop
void tst_CDragListCtrl::dropInImageLayoutShowsTheSeriesAcrossTheGrid()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 3));
    CSeriesInfo* third = Series(shown, 2);
    for (int i = 0; i < 3; ++i)
        QVERIFY(shown.Study().AddImage(third, SmallCt("S3")));
    theApp.m_nLayoutMode = 2;
    CMyFrameWnd* grid = shown.Grid();
    QVERIFY(grid->OnCommand(ID_FRAME_LAYOUT2X2));
    QVERIFY(!grid->m_bSeriesLayout);
    CVantrelView* upperRight = grid->GetPane(0, 1);
    QVERIFY(QTest::qWaitFor([upperRight] { return upperRight->isVisible(); }));
    CDragListCtrl& list = Pane(shown)->m_wndThumbList;

    DragRowTo(list, 2, upperRight, QPoint(10, 10));
    ReleaseAt(list, upperRight, QPoint(10, 10));
    QCOMPARE(ShownSeries(grid), QList<const CSeriesInfo*>({third, third, third, third}));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(grid->GetPanes()[size_t(i)]->m_pImage, third->GetImageAt(i));
}

void tst_CDragListCtrl::dropsThatDoNothing_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("on the list") << "list";
    QTest::newRow("on the tool bar") << "toolbar";
    QTest::newRow("outside the main window") << "outside";
}

void tst_CDragListCtrl::dropsThatDoNothing()
{
    QFETCH(QString, where);
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 3));
    CMyFrameWnd* grid = shown.Grid();
    const QList<const CSeriesInfo*> before = ShownSeries(grid);
    QCOMPARE(before, QList<const CSeriesInfo*>({Series(shown, 0)}));
    CDragListCtrl& list = Pane(shown)->m_wndThumbList;
    QWidget* target = where == "toolbar" ? static_cast<QWidget*>(shown.ToolBar()) : list.viewport();
    const QPoint to = where == "toolbar" ? shown.ToolBar()->rect().center()
                      : where == "list"  ? list.visualItemRect(list.item(0)).center()
                                         : QPoint(-400, 100);
    DragRowTo(list, 2, target, to);
    QVERIFY(list.IsDragging());
    ReleaseAt(list, target, to);
    QVERIFY(!list.IsDragging());
    QCOMPARE(ShownSeries(grid), before);
}

void tst_CDragListCtrl::rightButtonCancels()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 3));
    CVantrelView* view = shown.View();
    CDragListCtrl& list = Pane(shown)->m_wndThumbList;
    const QPoint over = view->rect().center();
    DragRowTo(list, 1, view, over);
    QVERIFY(list.IsDragging());
    QPointer<QWidget> picture = list.DragImage();
    QTest::mousePress(list.viewport(), Qt::RightButton, {}, list.viewport()->mapFromGlobal(view->mapToGlobal(over)));
    QVERIFY(!list.IsDragging());
    QVERIFY(!picture);
    ReleaseAt(list, view, over);
    QCOMPARE(view->m_pSeries, Series(shown, 0));
}

// Held below the list, the drag scrolls it a line per step and moves the highlight one item
// down with each step
void tst_CDragListCtrl::autoScrollsBelowTheList()
{
    ShownStudy shown(m_dir.path(), QRect(0, 0, 800, 600));
    QVERIFY(ShowSeries(shown, 20));
    CDragListCtrl& list = Pane(shown)->m_wndThumbList;
    QScrollBar* bar = list.verticalScrollBar();
    QVERIFY(bar->maximum() > 4);
    QCOMPARE(bar->value(), 0);
    QWidget* vp = list.viewport();
    const QPoint from = list.visualItemRect(list.item(0)).center();
    QTest::mousePress(vp, Qt::LeftButton, {}, from);
    QTest::mouseMove(vp, from + QPoint(0, QApplication::startDragDistance() + 2));
    QCOMPARE(list.m_nDropIndex, 0);
    QTest::mouseMove(vp, QPoint(from.x(), vp->height() + 5));
    QCOMPARE(list.m_nScrollDirection, 2);
    QVERIFY(QTest::qWaitFor([&list] { return list.m_nDropIndex >= 3; }, 5000));
    // Each step one line (an item's height) and one item
    const QRect first = list.visualItemRect(list.item(0)), second = list.visualItemRect(list.item(1));
    QCOMPARE(bar->singleStep(), second.top() - first.top());
    QCOMPARE(bar->value(), list.m_nDropIndex * bar->singleStep());
    QCOMPARE(SelectedRow(list), list.m_nDropIndex);
    // Back over the list the scrolling stops
    QTest::mouseMove(vp, QPoint(from.x(), vp->height() / 2));
    QCOMPARE(list.m_nScrollDirection, 0);
    const int stopped = bar->value();
    QTest::qWait(3 * CDragListCtrl::kScrollPeriodMs);
    QCOMPARE(bar->value(), stopped);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(from.x(), vp->height() / 2));
    // The drag carried the item it started on
    QCOMPARE(list.m_anDragIndexes, QList<int>({0}));
}

// The column's lowest pixel row lies below the list: a drag held there scrolls it down
void tst_CDragListCtrl::autoScrollsAtTheColumnsBottom_data()
{
    QTest::addColumn<QRect>("monitor");
    QTest::newRow("1280 x 1024") << QRect(0, 0, 1280, 1024);
    QTest::newRow("1024 x 768") << QRect(0, 0, 1024, 768);
}

void tst_CDragListCtrl::autoScrollsAtTheColumnsBottom()
{
    QFETCH(QRect, monitor);
    ShownStudy shown(m_dir.path(), monitor);
    QVERIFY(ShowSeries(shown, 20));
    CThumbNailLeft* pane = Pane(shown);
    CDragListCtrl& list = pane->m_wndThumbList;
    QScrollBar* bar = list.verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), 0);
    QWidget* vp = list.viewport();
    const QPoint from = list.visualItemRect(list.item(0)).center();
    QTest::mousePress(vp, Qt::LeftButton, {}, from);
    QTest::mouseMove(vp, from + QPoint(0, QApplication::startDragDistance() + 2));
    // The pointer at the bottom of the column, inside the window
    const QPoint bottom(pane->width() / 2, pane->height() - 1);
    QVERIFY(shown.Frame().Frame()->rect().contains(pane->mapTo(shown.Frame().Frame(), bottom)));
    QTest::mouseMove(vp, vp->mapFrom(pane, bottom));
    QCOMPARE(list.m_nScrollDirection, 2);
    QTRY_VERIFY_WITH_TIMEOUT(bar->value() > 0, 5000);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, vp->mapFrom(pane, bottom));
    QCOMPARE(list.m_nScrollDirection, 0);
}

// A loop playing in the dropped-on view ends (its thread joined, its marks cleared) before
// the view takes the new series
void tst_CDragListCtrl::dropStopsTheViewsCineLoop_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("drop") << false;
    QTest::newRow("double-click into the selected view") << true;
}

void tst_CDragListCtrl::dropStopsTheViewsCineLoop()
{
    QFETCH(bool, doubleClick);
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 3));
    theApp.m_nLayoutMode = 1;
    CMyFrameWnd* grid = shown.Grid();
    QVERIFY(grid->OnCommand(ID_FRAME_LAYOUT1X2));
    CVantrelView* right = grid->GetPane(0, 1);
    QVERIFY(QTest::qWaitFor([right] { return right->isVisible(); }));
    // The pane's series plays as a loop
    CSeriesInfo* playedSeries = right->m_pSeries;
    QVERIFY(shown.Study().AddImage(playedSeries, SmallCt("S2")));
    right->RunDCMCine();
    QCOMPARE(right->m_nCineState, 1);
    QVERIFY(right->m_pCineLoop && right->m_pCineLoop->HasThread());
    QVERIFY(right->IsCineRunningOnSource());
    QVERIFY(QTest::qWaitFor([right] { return right->GetCineFramesShown() >= 2; }, 5000));

    CDragListCtrl& list = Pane(shown)->m_wndThumbList;
    if (doubleClick) {
        right->SelectCurrentView();
        const QPoint at = list.visualItemRect(list.item(2)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    } else {
        DragRowTo(list, 2, right, right->rect().center());
        ReleaseAt(list, right, right->rect().center());
    }
    QCOMPARE(right->m_nCineState, 0);
    QCOMPARE(right->m_bCineRunning, 0);
    QVERIFY(!right->m_pCineLoop->HasThread());
    QCOMPARE(playedSeries->IsCineRunning(), BYTE(0));
    QCOMPARE(right->m_pSeries, Series(shown, 2));
}

// The drop ends pan; with pan the only tool, window/level comes back and the buttons show it
void tst_CDragListCtrl::dropEndsPanAndKeepsTheButtonsInStep()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 3));
    theApp.m_nLayoutMode = 1;
    CMyFrameWnd* grid = shown.Grid();
    QVERIFY(grid->OnCommand(ID_FRAME_LAYOUT1X2));
    CVantrelView* right = grid->GetPane(0, 1);
    QVERIFY(QTest::qWaitFor([right] { return right->isVisible(); }));
    ToggleToolMode(ToolMode::Pan);
    SyncToolButtons();
    CToolView* toolBar = shown.ToolBar();
    QVERIFY(toolBar->m_btnPan.m_bChecked);
    QVERIFY(!toolBar->m_btnWindowLevel.m_bChecked);

    CDragListCtrl& list = Pane(shown)->m_wndThumbList;
    DragRowTo(list, 2, right, right->rect().center());
    ReleaseAt(list, right, right->rect().center());
    QCOMPARE(right->m_pSeries, Series(shown, 2));
    QCOMPARE(g_bPanMode, BYTE(0));
    QVERIFY(g_bWindowLevelMode);
    QVERIFY(!toolBar->m_btnPan.m_bChecked);
    QVERIFY(toolBar->m_btnWindowLevel.m_bChecked);
}

void tst_CDragListCtrl::selectedLabelHasItsColours()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 3));
    CDragListCtrl& list = Pane(shown)->m_wndThumbList;
    list.setCurrentRow(1);
    const QImage picture = list.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto count = [&picture](const QRect& area, QRgb colour) {
        int n = 0;
        const QRect r = area & picture.rect();
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += (picture.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
        return n;
    };
    const QRgb back = qRgb(115, 123, 165), text = qRgb(0, 255, 255);
    const QRect selected = list.visualItemRect(list.item(1));
    const QRect other = list.visualItemRect(list.item(0));
    const int side = Pane(shown)->m_nThumbHeight;
    const QRect selectedLabel = selected.adjusted(0, side, 0, 0);
    QVERIFY(count(selectedLabel, back) > 20);
    QVERIFY(count(selectedLabel, text) > 5);
    // The picture of the selected item is not highlighted, nor is an unselected item
    QCOMPARE(count(selected.adjusted(0, 0, 0, -(selected.height() - side)), back), 0);
    QCOMPARE(count(other, back), 0);
    QCOMPARE(count(other, text), 0);
}

void tst_CDragListCtrl::tooltipIsTheLabelCutTo79()
{
    CDragListCtrl list;
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::black);
    const QString shortLabel = QStringLiteral("3_CHEST");
    const QString longLabel = QStringLiteral("12_") + QString(90, QLatin1Char('D'));
    QCOMPARE(list.AddThumbnail(2, picture, shortLabel)->toolTip(), shortLabel);
    QCOMPARE(list.AddThumbnail(11, picture, longLabel)->toolTip(), longLabel.left(79));
    QCOMPARE(list.item(1)->text(), longLabel);
    QCOMPARE(CDragListCtrl::KeyIndexOf(list.ItemOfKey(11)), 11);
}

void tst_CDragListCtrl::upAndDownAreSwallowed()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 3));
    CDragListCtrl& list = Pane(shown)->m_wndThumbList;
    list.setCurrentRow(1);
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(list.currentRow(), 1);
    QTest::keyClick(&list, Qt::Key_Up);
    QCOMPARE(list.currentRow(), 1);
    QTest::keyClick(&list, Qt::Key_End);
    QCOMPARE(list.currentRow(), 2);
}

QTEST_MAIN(tst_CDragListCtrl)
#include "tst_CDragListCtrl.moc"
