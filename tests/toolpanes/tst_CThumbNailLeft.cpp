// The thumbnail column over a study of generated images: its sizes, the run (numbering,
// labels, placeholder, final selection, flags and wait cursor), a restart in the middle of a
// run, the selection of a viewport's series, the double-click, and presses over the column.

// Qt
#include <QApplication>
#include <QtTest>

// std
#include <chrono>
#include <memory>
#include <thread>

// Orvane
#include "app/CChildFrmView.h"
#include "platform/CxImage.h"
#include "res/resource.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tests/viewer/ShownStudy.h"
#include "tools/fixtures/DicomDirFixtures.h"
#include "toolpanes/CLayout.h"
#include "toolpanes/CLayoutPickerDlg.h"
#include "toolpanes/CThumbNailLeft.h"
#include "toolpanes/ThumbnailGeometry.h"
#include "toolpanes/ThumbnailMaker.h"
#include "state/ToolState.h"

using namespace Fixtures;

namespace {

ImageRecipe SmallCt(const std::string& description = std::string())
{
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    recipe.columns = 64;
    recipe.rows = 48;
    recipe.seriesDescription = description;
    return recipe;
}

QStringList Labels(const CDragListCtrl& list)
{
    QStringList labels;
    for (int row = 0; row < list.count(); ++row)
        labels << list.item(row)->text();
    return labels;
}

int SelectedRow(const CDragListCtrl& list)
{
    const QList<QListWidgetItem*> selected = list.selectedItems();
    return selected.size() == 1 ? list.row(selected.front()) : selected.isEmpty() ? -1 : -2;
}

} // namespace

class tst_CThumbNailLeft : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_codecs = std::make_unique<DicomCodecs>();
        QVERIFY(m_dir.isValid());
    }
    void init() { ClearToolState(); }
    void cleanup() { QVERIFY(!QApplication::overrideCursor()); }

    void sizesByMonitor_data();
    void sizesByMonitor();
    void lastLabelShowsInTheColumn_data();
    void lastLabelShowsInTheColumn();
    void runNumbersLabelsAndSelects();
    void unreadableKeyKeepsLaterItemsOnTheirSeries_data();
    void unreadableKeyKeepsLaterItemsOnTheirSeries();
    void stopDropsQueuedThumbnailsAndJoins();
    void stopBeforeTheWorkersBeginStartsNone_data();
    void stopBeforeTheWorkersBeginStartsNone();
    void closingTheColumnMidRunJoinsAndRestoresTheCursor();
    void restartInTheMiddleStartsAgain();
    void selectsByKeyIndex_data();
    void selectsByKeyIndex();
    void singleThumbnailIsNotSelected();
    void viewportPressMarksItsSeries();
    void doubleClickShowsTheSeries();
    void pressOverTheColumnClosesTextEntries();
    void backgroundIsAGreyGradient();
    void fillsWhenTheViewerStartsOnAFileSet();

private:
    // A study of `n` series of one small CT image each, shown in the single view; series i
    // is described "SERIES <i+1>" except every third
    bool ShowSeries(ShownStudy& shown, int n)
    {
        for (int i = 0; i < n; ++i) {
            CSeriesInfo* series = shown.Study().AddSeries("CT");
            const std::string description = i % 3 == 1 ? std::string() : "SERIES " + std::to_string(i + 1);
            if (!shown.Study().AddImage(series, SmallCt(description)))
                return false;
        }
        return shown.Show();
    }
    static CThumbNailLeft* Pane(ShownStudy& shown) { return shown.Frame().Child()->GetThumbnailPane(); }
    static bool RunToTheEnd(CThumbNailLeft* pane)
    {
        pane->StartThumbnailThread();
        return QTest::qWaitFor([pane] { return !pane->m_bThreadRunning; }, 20000);
    }

    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_CThumbNailLeft::sizesByMonitor_data()
{
    QTest::addColumn<QRect>("monitor");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("listHeight");
    QTest::newRow("800 x 600") << QRect(0, 0, 800, 600) << 50 << 576;
    QTest::newRow("1024 x 768") << QRect(0, 0, 1024, 768) << 60 << 729;
    QTest::newRow("1152 x 864") << QRect(0, 0, 1152, 864) << 65 << 820;
    QTest::newRow("1280 x 1024") << QRect(0, 0, 1280, 1024) << 74 << 1013;
}

void tst_CThumbNailLeft::sizesByMonitor()
{
    QFETCH(QRect, monitor);
    QFETCH(int, side);
    QFETCH(int, listHeight);
    FrameUnderTest frame(monitor);
    CThumbNailLeft* pane = frame.Child()->GetThumbnailPane();
    QVERIFY(pane);
    QCOMPARE(pane->m_nThumbWidth, side);
    QCOMPARE(pane->m_nThumbHeight, side);
    // The monitor's height, unless the column is shorter: the list ends 2 pixels above its bottom
    QVERIFY(pane->height() > 0);
    QCOMPARE(pane->m_wndThumbList.geometry(),
             QRect(2, 2, int(theApp.m_nThumbColumnWidth * 0.99), qMin(listHeight, pane->height() - 4)));
    QCOMPARE(pane->m_wndThumbList.iconSize(), QSize(side, side));
    // So also when the window changes its height
    frame.Frame()->resize(frame.Frame()->width(), frame.Frame()->height() - 100);
    QTRY_COMPARE(pane->m_wndThumbList.geometry().height(), qMin(listHeight, pane->height() - 4));
}

// However long the list, its last label can be scrolled into the column's sight
void tst_CThumbNailLeft::lastLabelShowsInTheColumn_data()
{
    QTest::addColumn<QRect>("monitor");
    QTest::newRow("1280 x 1024") << QRect(0, 0, 1280, 1024);
    QTest::newRow("1024 x 768") << QRect(0, 0, 1024, 768);
}

void tst_CThumbNailLeft::lastLabelShowsInTheColumn()
{
    QFETCH(QRect, monitor);
    ShownStudy shown(m_dir.path(), monitor);
    QVERIFY(ShowSeries(shown, 20));
    CThumbNailLeft* pane = Pane(shown);
    QVERIFY(RunToTheEnd(pane));
    CDragListCtrl& list = pane->m_wndThumbList;
    QCOMPARE(list.count(), 20);
    QVERIFY(pane->rect().contains(list.geometry()));
    list.scrollToBottom();
    QCoreApplication::processEvents();
    const QRect last = list.visualItemRect(list.item(19));
    const QRect inPane(list.viewport()->mapTo(pane, last.topLeft()), last.size());
    QVERIFY2(pane->rect().contains(inPane), qPrintable(QStringLiteral("label at %1..%2, column %3 high")
                                                           .arg(inPane.top())
                                                           .arg(inPane.bottom())
                                                           .arg(pane->height())));
    QVERIFY(list.viewport()->rect().contains(last));
}

void tst_CThumbNailLeft::runNumbersLabelsAndSelects()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 4));
    CThumbNailLeft* pane = Pane(shown);
    QVERIFY(pane);
    CVantrelView* view = shown.View();

    pane->StartThumbnailThread();
    // While it runs: the views see it loading, the cursor waits
    QVERIFY(theApp.m_bThumbThreadRunning);
    QVERIFY(pane->m_bThreadRunning);
    QVERIFY(view->CheckLoading());
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);

    QVERIFY(QTest::qWaitFor([pane] { return !pane->m_bThreadRunning; }, 20000));
    QVERIFY(!theApp.m_bThumbThreadRunning);
    QVERIFY(!view->CheckLoading());
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!pane->HasWorker());

    const CDragListCtrl& list = pane->m_wndThumbList;
    QCOMPARE(Labels(list), QStringList({"1_SERIES 1", "2", "3_SERIES 3", "4_SERIES 4"}));
    for (int row = 0; row < list.count(); ++row) {
        QCOMPARE(CDragListCtrl::KeyIndexOf(list.item(row)), row);
        QCOMPARE(list.item(row)->toolTip(), list.item(row)->text());
    }
    // The end of the run selects the first thumbnail
    QCOMPARE(SelectedRow(list), 0);
    // Each thumbnail is its file's first frame, fitted as the box asks
    CxImageDCM dicom;
    QList<CxImage*> images;
    QVERIFY(dicom.LoadDCM(QFile::encodeName(theApp.m_astrSeriesKeys[2]).constData(), &images, FALSE));
    const QImage expected = ComposeThumbnail(images.front()->GetQImage(), 74, 74);
    qDeleteAll(images);
    const QImage shownIcon = list.item(2)->icon().pixmap(QSize(74, 74)).toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shownIcon, expected);
}

// An unreadable file between two readable ones: a placeholder with its number, and the items
// after it stay on their own series for the selection and the double-click
void tst_CThumbNailLeft::unreadableKeyKeepsLaterItemsOnTheirSeries_data()
{
    QTest::addColumn<bool>("readable"); // the file is read but gives no picture
    QTest::newRow("not a DICOM file") << false;
    QTest::newRow("a compression without decoder") << true;
}

void tst_CThumbNailLeft::unreadableKeyKeepsLaterItemsOnTheirSeries()
{
    QFETCH(bool, readable);
    ShownStudy shown(m_dir.path());
    CSeriesInfo* first = shown.Study().AddSeries("CT");
    QVERIFY(shown.Study().AddImage(first, SmallCt("FIRST")));
    CSeriesInfo* broken = shown.Study().AddSeries("CT");
    if (readable) {
        QVERIFY(shown.Study().AddImage(broken, SmallCt("REFUSED"), Syntax::Jpeg2000));
    } else {
        const QString brokenPath = QDir(m_dir.path()).filePath(QStringLiteral("broken.dcm"));
        QFile file(brokenPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(300, 'x'));
        file.close();
        shown.Study().AddRecord(broken, brokenPath, QStringLiteral("1.2.3.4"));
    }
    CSeriesInfo* third = shown.Study().AddSeries("CT");
    QVERIFY(shown.Study().AddImage(third, SmallCt("THIRD")));
    QVERIFY(shown.Show());
    CThumbNailLeft* pane = Pane(shown);
    QVERIFY(RunToTheEnd(pane));

    const CDragListCtrl& list = pane->m_wndThumbList;
    QCOMPARE(Labels(list), QStringList({"1_FIRST", "2", "3_THIRD"}));
    const QImage placeholder = ComposeThumbnail(ThumbnailMaker::PlaceholderPicture(), 74, 74);
    QCOMPARE(list.item(1)->icon().pixmap(QSize(74, 74)).toImage().convertToFormat(QImage::Format_RGB32), placeholder);
    // The view showing the third series marks the third thumbnail
    pane->OnSelectThumbnail(2);
    QCOMPARE(SelectedRow(list), 2);
    QCOMPARE(CDragListCtrl::KeyIndexOf(list.item(2)), 2);
}

// Results the worker queued before a stop never show; the worker is joined by the stop
void tst_CThumbNailLeft::stopDropsQueuedThumbnailsAndJoins()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 12));
    CThumbNailLeft* pane = Pane(shown);
    pane->StartThumbnailThread();
    // The workers begin from the event queue; then the UI thread is busy while they queue
    // their first thumbnails
    QCoreApplication::sendPostedEvents(pane);
    QVERIFY(pane->HasWorker());
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    pane->StopThumbnailThread();
    QVERIFY(!pane->HasWorker());
    QVERIFY(!pane->m_bThreadRunning);
    QVERIFY(!theApp.m_bThumbThreadRunning);
    QVERIFY(!QApplication::overrideCursor());
    QTest::qWait(50);
    QCOMPARE(pane->m_wndThumbList.count(), 0);
}

// The workers of a run begin only once the events queued before them are handled; a stop or
// a new start before then leaves the stopped run without a worker or a thumbnail
void tst_CThumbNailLeft::stopBeforeTheWorkersBeginStartsNone_data()
{
    QTest::addColumn<bool>("restart");
    QTest::addColumn<QStringList>("labels"); // once the events are handled
    QTest::newRow("stop") << false << QStringList();
    QTest::newRow("new start") << true << QStringList({"1_SERIES 3"});
}

void tst_CThumbNailLeft::stopBeforeTheWorkersBeginStartsNone()
{
    QFETCH(bool, restart);
    QFETCH(QStringList, labels);
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 3));
    CThumbNailLeft* pane = Pane(shown);
    pane->StartThumbnailThread();
    QVERIFY(pane->HasWorker());
    QVERIFY(pane->m_bThreadRunning);
    if (restart) {
        theApp.m_astrSeriesKeys = theApp.m_astrSeriesKeys.mid(2, 1);
        pane->StartThumbnailThread();
        QVERIFY(QTest::qWaitFor([pane] { return !pane->m_bThreadRunning; }, 20000));
    } else {
        pane->StopThumbnailThread();
        QVERIFY(!pane->HasWorker());
        QVERIFY(!pane->m_bThreadRunning);
        QVERIFY(!theApp.m_bThumbThreadRunning);
    }
    QTest::qWait(50);
    QVERIFY(!pane->HasWorker());
    QCOMPARE(Labels(pane->m_wndThumbList), labels);
    QVERIFY(!QApplication::overrideCursor());
}

void tst_CThumbNailLeft::closingTheColumnMidRunJoinsAndRestoresTheCursor()
{
    {
        ShownStudy shown(m_dir.path());
        QVERIFY(ShowSeries(shown, 12));
        Pane(shown)->StartThumbnailThread();
        QCoreApplication::sendPostedEvents(Pane(shown));
        QVERIFY(QApplication::overrideCursor());
    }
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!theApp.m_bThumbThreadRunning);
    QTest::qWait(20);
}

// A new study while the first run still builds: the list is emptied, numbering restarts and
// only the new study's thumbnails show
void tst_CThumbNailLeft::restartInTheMiddleStartsAgain()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 12));
    CThumbNailLeft* pane = Pane(shown);
    pane->StartThumbnailThread();
    QVERIFY(QTest::qWaitFor([pane] { return pane->m_wndThumbList.count() >= 1; }, 20000));
    const int firstRun = pane->GetRunNumber();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));

    // The loader rewrites the keys only after the stop; the restart stops by itself too
    theApp.m_astrSeriesKeys = theApp.m_astrSeriesKeys.mid(10, 2);
    pane->StartThumbnailThread();
    QVERIFY(pane->GetRunNumber() > firstRun);
    QCOMPARE(pane->m_wndThumbList.count(), 0);
    QVERIFY(QTest::qWaitFor([pane] { return !pane->m_bThreadRunning; }, 20000));
    QTest::qWait(20);
    QCOMPARE(Labels(pane->m_wndThumbList), QStringList({"1", "2_SERIES 12"}));
    QVERIFY(!QApplication::overrideCursor());
}

void tst_CThumbNailLeft::selectsByKeyIndex_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("selected"); // row selected afterwards; the run left row 0
    QTest::newRow("-1 changes nothing") << -1 << 0;
    QTest::newRow("count changes nothing") << 3 << 0;
    QTest::newRow("count - 1") << 2 << 2;
    QTest::newRow("1") << 1 << 1;
}

void tst_CThumbNailLeft::selectsByKeyIndex()
{
    QFETCH(int, index);
    QFETCH(int, selected);
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 3));
    CThumbNailLeft* pane = Pane(shown);
    QVERIFY(RunToTheEnd(pane));
    QCOMPARE(SelectedRow(pane->m_wndThumbList), 0);
    // As a view asks it
    shown.View()->SelectThumbnail(index);
    QCOMPARE(SelectedRow(pane->m_wndThumbList), selected);
}

void tst_CThumbNailLeft::singleThumbnailIsNotSelected()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 1));
    CThumbNailLeft* pane = Pane(shown);
    QVERIFY(RunToTheEnd(pane));
    QCOMPARE(pane->m_wndThumbList.count(), 1);
    QCOMPARE(SelectedRow(pane->m_wndThumbList), -1);
    pane->OnSelectThumbnail(0);
    QCOMPARE(SelectedRow(pane->m_wndThumbList), -1);
}

// A click in a pane of a series grid marks that pane's series
void tst_CThumbNailLeft::viewportPressMarksItsSeries()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 3));
    CThumbNailLeft* pane = Pane(shown);
    QVERIFY(RunToTheEnd(pane));
    QVERIFY(shown.Grid()->OnCommand(ID_FRAME_LAYOUT1X3));
    CVantrelView* third = shown.Grid()->GetPane(0, 2);
    QVERIFY(third);
    QVERIFY(QTest::qWaitFor([third] { return third->isVisible(); }));
    QTest::mouseClick(third, Qt::LeftButton, {}, third->rect().center());
    QCOMPARE(SelectedRow(pane->m_wndThumbList), 2);
}

void tst_CThumbNailLeft::doubleClickShowsTheSeries()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 3));
    CThumbNailLeft* pane = Pane(shown);
    QVERIFY(RunToTheEnd(pane));
    CDragListCtrl& list = pane->m_wndThumbList;
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    const QPoint at = list.visualItemRect(list.item(2)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    CSeriesInfo* third = shown.Study().m_pStudy->m_lstSeries[2].get();
    QCOMPARE(shown.View()->m_pSeries, third);
    QCOMPARE(shown.View()->m_pImage, third->GetImageAt(0));
    QVERIFY(shown.View()->HasPicture());
}

// A press over the column ends the viewports' text entries and closes the layout panel; other
// input over it leaves them
void tst_CThumbNailLeft::pressOverTheColumnClosesTextEntries()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 2));
    CThumbNailLeft* pane = Pane(shown);
    QVERIFY(RunToTheEnd(pane));
    CVantrelView* view = shown.View();
    view->OpenTextEdit(QRect(10, 10, 80, 30));
    // The layout panel with its picker open
    shown.ToolBar()->OnChangeayout();
    auto* layoutPanel = qobject_cast<CLayout*>(shown.ToolBar()->m_pLayoutPopup.data());
    QVERIFY(layoutPanel && layoutPanel->isVisible());
    QCOMPARE(g_bLayoutPopupShown, 1);
    layoutPanel->ShowCustomLayout(TRUE);
    QPointer<CLayoutPickerDlg> picker = layoutPanel->m_pLayoutPicker;
    QVERIFY(picker && picker->isVisible());

    CDragListCtrl& list = pane->m_wndThumbList;
    const QPoint below(list.width() / 2, list.height() - 3);
    QTest::mouseMove(list.viewport(), below);
    QTest::keyClick(&list, Qt::Key_A);
    QVERIFY(view->IsTextEditOpen());
    QVERIFY(layoutPanel->isVisible());

    QTest::mousePress(list.viewport(), Qt::LeftButton, {}, below);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, below);
    QVERIFY(!view->IsTextEditOpen());
    QVERIFY(!layoutPanel->isVisible());
    QVERIFY(!picker || !picker->isVisible());
    QCOMPARE(g_bLayoutPopupShown, 0);

    // Over the column outside the list too
    view->OpenTextEdit(QRect(10, 10, 80, 30));
    QVERIFY(view->IsTextEditOpen());
    QTest::mouseClick(pane, Qt::RightButton, {}, QPoint(1, pane->height() - 2));
    QVERIFY(!view->IsTextEditOpen());
}

void tst_CThumbNailLeft::backgroundIsAGreyGradient()
{
    CThumbNailLeft pane;
    pane.m_wndThumbList.hide();
    pane.resize(40, 240);
    const QImage picture = pane.grab().toImage();
    QCOMPARE(picture.pixelColor(5, 0), QColor(120, 120, 120));
    QCOMPARE(picture.pixelColor(5, 120), QColor(60, 60, 60));
    QCOMPARE(picture.pixelColor(5, 239), QColor(0, 0, 0));
    // Shaded again for a new size
    pane.resize(80, 120);
    const QImage resized = pane.grab().toImage();
    QCOMPARE(resized.pixelColor(70, 0), QColor(120, 120, 120));
    QCOMPARE(resized.pixelColor(70, 60), QColor(60, 60, 60));
    QCOMPARE(resized.pixelColor(5, 119), QColor(1, 1, 1));
}

// The viewer started as main() starts it, on a file set whose only study opens by itself: the
// column fills while the first image is shown
void tst_CThumbNailLeft::fillsWhenTheViewerStartsOnAFileSet()
{
    QTemporaryDir root;
    FsStudy study;
    for (int s = 0; s < 3; ++s) {
        FsSeries series;
        series.seriesNumber = std::to_string(s + 1);
        series.seriesDescription = s == 1 ? std::string() : "PART " + std::to_string(s + 1);
        for (int i = 0; i < 2; ++i) {
            FsImage image;
            image.fileId = "IMG\\S" + std::to_string(s + 1) + "\\I" + std::to_string(i + 1);
            image.instanceNumber = std::to_string(i + 1);
            image.recipe = std::make_shared<ImageRecipe>(SmallCt());
            series.images.push_back(image);
        }
        study.series.push_back(series);
    }
    FsPatient patient;
    patient.studies = {study};
    FileSet set;
    set.patients = {patient};
    const QString folder = root.filePath(QStringLiteral("cd"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/PROG")));
    QCOMPARE(WriteDicomDir(set, folder), QString());

    QVERIFY(theApp.InitInstance(folder + QStringLiteral("/PROG/orvane")));
    const auto pane = [] {
        CChildFrmView* child = theApp.m_pMainWnd ? theApp.m_pMainWnd->MDIGetActive() : nullptr;
        return child ? child->GetThumbnailPane() : nullptr;
    };
    QVERIFY(QTest::qWaitFor([&pane] { return theApp.m_bImagesLoaded && pane() && pane()->m_wndThumbList.count() == 3
                                             && !pane()->m_bThreadRunning; }, 20000));
    QCOMPARE(Labels(pane()->m_wndThumbList), QStringList({"1_PART 1", "2", "3_PART 3"}));
    QVERIFY(!QApplication::overrideCursor());
    theApp.ExitInstance();
}

QTEST_MAIN(tst_CThumbNailLeft)
#include "tst_CThumbNailLeft.moc"
