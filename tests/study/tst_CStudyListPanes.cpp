// The study load against panes of the test's own: a main window, a child frame, a grid, a tool
// bar and a thumbnail run that record what the load asks of them. No main frame is built.

// Qt
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/oflog/oflog.h>

// std
#include <memory>
#include <vector>

// Orvane
#include "annotation/CShapeCollection.h"
#include "controls/CProgressWnd.h"
#include "platform/MessageNotifier.h"
#include "res/resource.h"
#include "state/CAppState.h"
#include "study/CStudyList.h"
#include "study/DicomCodecs.h"
#include "study/IPresentationStateImport.h"
#include "study/IStudyChildFrame.h"
#include "study/IStudyGrid.h"
#include "study/IStudyMainWindow.h"
#include "study/IStudyToolBar.h"
#include "study/IThumbnailRun.h"
#include "tools/fixtures/DicomDirFixtures.h"

using namespace Fixtures;

namespace {

// Every call the panes got, in order, with the state the load had made by then.
QStringList g_log;

QString Keys()
{
    return QString::number(theApp.m_astrSeriesKeys.size());
}

class FakeGrid : public IStudyGrid
{
public:
    std::vector<std::unique_ptr<CShapeCollection>> shapes;

    void ForgetLayout() override { g_log << QStringLiteral("grid: forget layout"); }
    void SetSeriesLayout(BYTE bSeriesLayout) override
    {
        g_log << QStringLiteral("grid: series layout %1").arg(bSeriesLayout);
    }
    void DisplaySingleFrame() override
    {
        g_log << QStringLiteral("grid: single frame, mode %1, keys %2").arg(theApp.m_nLayoutMode).arg(Keys());
    }
    void AddShape(std::unique_ptr<CShapeCollection> shape) override { shapes.push_back(std::move(shape)); }
};

class FakeToolBar : public IStudyToolBar
{
public:
    void OnResetImage() override { g_log << QStringLiteral("tool bar: reset"); }
    void EnableProbeButton(BOOL bEnable) override { g_log << QStringLiteral("tool bar: probe %1").arg(bEnable); }
};

class FakeThumbnails : public IThumbnailRun
{
public:
    QWidget* window = nullptr;
    QString progressText;     // the progress window's text while the run starts
    bool windowEnabled = true; // the main window's input while the run starts

    void StartThumbnailThread() override
    {
        g_log << QStringLiteral("thumbnails: start, keys %1, loading text %2").arg(Keys()).arg(theApp.m_bShowLoadingText);
        CProgressWnd* progress = theApp.m_pStudyListDlg ? theApp.m_pStudyListDlg->m_pProgressWnd : nullptr;
        progressText = progress ? progress->GetText() : QString();
        windowEnabled = window && window->isEnabled();
    }
    BOOL StopThumbnailThread() override
    {
        g_log << QStringLiteral("thumbnails: stop, keys %1").arg(Keys());
        return TRUE;
    }
};

class FakeChildFrame : public IStudyChildFrame
{
public:
    IStudyToolBar* toolBar = nullptr;
    IThumbnailRun* thumbnails = nullptr;
    IStudyGrid* grid = nullptr;

    IStudyToolBar* GetToolView() override { return toolBar; }
    IThumbnailRun* GetThumbnailRun() override { return thumbnails; }
    IStudyGrid* GetViewGridFrame() override { return grid; }
};

class FakeMainWindow : public IStudyMainWindow
{
public:
    QWidget* window = nullptr;
    IStudyChildFrame* child = nullptr;

    QWidget* GetWindow() override { return window; }
    IStudyChildFrame* MDIGetActive() override { return child; }
};

// A study of one patient with the given series, each of `count` images.
FileSet OneStudy(const std::vector<std::string>& modalities, int count)
{
    FsStudy study;
    for (size_t s = 0; s < modalities.size(); ++s) {
        FsSeries series;
        series.modality = modalities[s];
        series.seriesNumber = std::to_string(s + 1);
        for (int i = 0; i < count; ++i) {
            FsImage image;
            image.fileId = "P1\\ST1\\SE" + std::to_string(s + 1) + "\\IM" + std::to_string(i + 1);
            image.instanceNumber = std::to_string(i + 1);
            series.images.push_back(image);
        }
        study.series.push_back(series);
    }
    FsPatient patient;
    patient.patientName = "ONE^ONLY";
    patient.patientId = "P1";
    patient.studies = {study};
    FileSet set;
    set.patients = {patient};
    return set;
}

} // namespace

class tst_CStudyListPanes : public QObject
{
    Q_OBJECT

private:
    DicomCodecs m_codecs;
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<QWidget> m_window;
    FakeGrid m_grid;
    FakeToolBar m_toolBar;
    FakeThumbnails m_thumbnails;
    FakeChildFrame m_child;
    FakeMainWindow m_main;
    IStudyMainWindow* m_pOldMain = nullptr;
    CStudyList* m_list = nullptr;
    QList<ShownMessage> m_messages;

    // Writes `set` and starts the dialog on it as the start-up does; returns when the end
    // notice has been handled (the only study of a set is loaded by then).
    bool start(const FileSet& set)
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        const QString folder = m_tmp->filePath(QStringLiteral("set"));
        QDir().mkpath(folder);
        if (const QString error = WriteDicomDir(set, folder); !error.isEmpty()) {
            qWarning("%s", qPrintable(error));
            return false;
        }
        theApp.m_strMediaFolder = folder;
        theApp.m_strDicomDirPath = folder + QStringLiteral("/DICOMDIR");
        m_list = new CStudyList;
        theApp.m_pStudyListDlg = m_list;
        QSignalSpy loaded(m_list, &CStudyList::dicomDirLoaded);
        if (!m_list->Create(IDD_STUDY_LIST, nullptr))
            return false;
        return loaded.wait(20000);
    }

private slots:
    void initTestCase()
    {
        OFLog::configure(OFLogger::ERROR_LOG_LEVEL);
    }

    void init()
    {
        g_log.clear();
        m_messages.clear();
        SetMessageNotifier([this](const ShownMessage& message) {
            m_messages << message;
            return int(IDOK);
        });
        // Every state file would be read otherwise; the import's own test reads them
        SetPresentationStateImportFactory([] { return std::make_unique<IPresentationStateImport>(); });
        m_window = std::make_unique<QWidget>();
        m_window->resize(200, 100);
        m_window->show();
        m_grid.shapes.clear();
        m_thumbnails = FakeThumbnails();
        m_thumbnails.window = m_window.get();
        m_child.toolBar = &m_toolBar;
        m_child.thumbnails = &m_thumbnails;
        m_child.grid = &m_grid;
        m_main.window = m_window.get();
        m_main.child = &m_child;
        m_pOldMain = SetStudyMainWindow(&m_main);
        theApp.m_bImagesLoaded = 0;
        theApp.m_nLayoutMode = 0;
        theApp.m_bEmptyViewText = 1;
        theApp.m_bShowLoadingText = 1;
        theApp.m_bThumbThreadRunning = 0;
        theApp.m_astrSeriesKeys.clear();
        theApp.m_strModality.clear();
    }

    void cleanup()
    {
        SetStudyMainWindow(m_pOldMain);
        theApp.m_pStudyListDlg = nullptr;
        delete m_list;
        m_list = nullptr;
        m_window.reset();
        SetPresentationStateImportFactory({});
        SetMessageNotifier({});
        theApp.m_strDicomDirPath.clear();
    }

    // The only study goes to the panes in the load's order: the tool bar reset and its probe
    // set by the modality, the run stopped while the old keys stand and started over the new
    // ones, then the grid laid out anew and showing one view; the layout mode follows the
    // first series.
    void handsTheStudyToThePanesInOrder_data()
    {
        QTest::addColumn<QString>("modality");
        QTest::addColumn<int>("keys");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("CT") << "CT" << 2
                            << QStringList{"tool bar: reset", "tool bar: probe 1", "thumbnails: stop, keys 5",
                                           "thumbnails: start, keys 2, loading text 0", "grid: forget layout",
                                           "grid: single frame, mode 1, keys 2"};
        QTest::newRow("US") << "US" << 2
                            << QStringList{"tool bar: reset", "tool bar: probe 0", "thumbnails: stop, keys 5",
                                           "thumbnails: start, keys 2, loading text 0", "grid: forget layout",
                                           "grid: series layout 0", "grid: single frame, mode 2, keys 2"};
        QTest::newRow("XA") << "XA" << 6
                            << QStringList{"tool bar: reset", "tool bar: probe 0", "thumbnails: stop, keys 5",
                                           "thumbnails: start, keys 6, loading text 0", "grid: forget layout",
                                           "grid: single frame, mode 1, keys 6"};
    }
    void handsTheStudyToThePanesInOrder()
    {
        QFETCH(QString, modality);
        QFETCH(int, keys);
        QFETCH(QStringList, log);
        const std::string m = modality.toStdString();
        // The keys of the study shown before
        theApp.m_astrSeriesKeys = QStringList{"a", "b", "c", "d", "e"};
        QVERIFY(start(OneStudy({m, m}, 3)));
        QCOMPARE(g_log, log);
        QCOMPARE(theApp.m_astrSeriesKeys.size(), keys);
        QCOMPARE(theApp.m_strModality, modality);
        QCOMPARE(theApp.m_bImagesLoaded, BYTE(1));
        QCOMPARE(theApp.m_bEmptyViewText, BYTE(modality == "US" ? 0 : 1));
    }

    // The progress window is up over the main window the load was given while the study is
    // handed over, with the main window's input off, and both are back afterwards.
    void showsItsProgressOverTheMainWindow()
    {
        QVERIFY(start(OneStudy({"CT"}, 2)));
        QCOMPARE(m_thumbnails.progressText, QStringLiteral("Loading Images. Please Wait..........."));
        QVERIFY(!m_thumbnails.windowEnabled);
        QVERIFY(!m_list->m_pProgressWnd);
        QVERIFY(m_window->isEnabled());
    }

    // Without a main window, or one without a child frame, a load hands nothing over and
    // leaves the keys of the study shown before.
    void handsNothingWithoutAChildFrame_data()
    {
        QTest::addColumn<bool>("window");
        QTest::newRow("no main window") << false;
        QTest::newRow("no child frame") << true;
    }
    void handsNothingWithoutAChildFrame()
    {
        QFETCH(bool, window);
        m_main.child = nullptr;
        if (!window)
            SetStudyMainWindow(nullptr);
        theApp.m_astrSeriesKeys = QStringList{"a"};
        QVERIFY(start(OneStudy({"CT"}, 2)));
        QVERIFY(g_log.isEmpty());
        QCOMPARE(theApp.m_astrSeriesKeys, QStringList{"a"});
        QCOMPARE(theApp.m_bImagesLoaded, BYTE(0));
        QVERIFY(!m_list->m_pProgressWnd);
        QVERIFY(m_messages.isEmpty());
    }

    // A pane the child frame lacks is left out; without a grid nothing counts as shown.
    void leavesOutAMissingPane_data()
    {
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("tool bar") << "tool bar"
                                  << QStringList{"thumbnails: stop, keys 0", "thumbnails: start, keys 1, loading text 0",
                                                 "grid: forget layout", "grid: single frame, mode 1, keys 1"}
                                  << true;
        QTest::newRow("thumbnail run") << "thumbnails"
                                       << QStringList{"tool bar: reset", "tool bar: probe 1", "grid: forget layout",
                                                      "grid: single frame, mode 1, keys 1"}
                                       << true;
        QTest::newRow("grid") << "grid"
                              << QStringList{"tool bar: reset", "tool bar: probe 1", "thumbnails: stop, keys 0",
                                             "thumbnails: start, keys 1, loading text 0"}
                              << false;
    }
    void leavesOutAMissingPane()
    {
        QFETCH(QString, missing);
        QFETCH(QStringList, log);
        QFETCH(bool, loaded);
        if (missing == "tool bar")
            m_child.toolBar = nullptr;
        else if (missing == "thumbnails")
            m_child.thumbnails = nullptr;
        else
            m_child.grid = nullptr;
        QVERIFY(start(OneStudy({"CT"}, 2)));
        QCOMPARE(g_log, log);
        QCOMPARE(theApp.m_bImagesLoaded, BYTE(loaded ? 1 : 0));
        QVERIFY(!m_list->m_pProgressWnd);
        QVERIFY(m_window->isEnabled());
    }

    // A study none of whose images is on the medium: one blank view, nothing loaded, and the
    // message is owned by the main window the load was given (the dialog is hidden).
    void reportsAStudyWithoutImagesOverTheMainWindow()
    {
        FileSet set = OneStudy({"CT"}, 2);
        for (FsImage& image : set.patients[0].studies[0].series[0].images)
            image.onDisk = false;
        QVERIFY(start(set));
        QCOMPARE(g_log, QStringList({"tool bar: reset", "tool bar: probe 1", "thumbnails: stop, keys 0",
                                     "thumbnails: start, keys 0, loading text 0", "grid: forget layout",
                                     "grid: single frame, mode 0, keys 0"}));
        QCOMPARE(theApp.m_bImagesLoaded, BYTE(0));
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].text, QStringLiteral("None of the images of this study was found."));
        QCOMPARE(m_messages[0].owner, m_window.get());
    }

    // The default import puts the shapes of a study's presentation state into the grid it is
    // given.
    void importsTheShapesIntoTheGrid()
    {
        SetPresentationStateImportFactory({});
        QVERIFY(start(SampleFileSet()));
        QVERIFY(g_log.isEmpty()); // three studies: the dialog waits for a choice
        m_list->OnLoad(0);
        QVERIFY(!m_grid.shapes.empty());
        QStringList uids;
        for (const auto& series : m_list->m_pCurrentStudy->m_lstSeries)
            for (const auto& image : series->m_lstImages)
                uids << image->GetSOPInstanceUID();
        for (const auto& shape : m_grid.shapes)
            QVERIFY2(uids.contains(shape->GetImageKey()), qPrintable(shape->GetImageKey()));
    }
};

QTEST_MAIN(tst_CStudyListPanes)
#include "tst_CStudyListPanes.moc"
