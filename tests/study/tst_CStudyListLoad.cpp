// The Study List dialog over generated file sets: it opens the only study by itself or waits
// for the user's row, and each load resets the tool bar, restarts the thumbnail run, fills the
// series keys, applies presentation states once and hands the study to the grid under a
// progress window; the shown study takes the keys, and the empty viewer says it is loading
// only while a study loads. Pane calls are recorded by pane classes of the test's own child
// frame.

// Qt
#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QScopeGuard>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/oflog/oflog.h>

// std
#include <functional>
#include <memory>

// Orvane
#include "study/IPresentationStateImport.h"
#include "app/CChildFrmView.h"
#include "controls/CIconButton.h"
#include "app/CMainFrame.h"
#include "app/COstrevanApp.h"
#include "controls/CProgressWnd.h"
#include "platform/CMultiDocTemplate.h"
#include "platform/MessageNotifier.h"
#include "platform/MonitorProvider.h"
#include "res/resource.h"
#include "study/CStudyList.h"
#include "study/DicomCodecs.h"
#include "toolpanes/CThumbNailLeft.h"
#include "toolpanes/CToolView.h"
#include "tools/fixtures/DicomDirFixtures.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"
#include "platform/Gdi.h"

using namespace Fixtures;

using SetShape = std::function<void(FileSet&, HandDicomDir&)>;

namespace {

// What the load asked of the panes.
struct PaneCalls
{
    int resets = 0;
    QList<BOOL> probe;
    int stops = 0;
    int starts = 0;
    QStringList keysAtStop;          // the series keys when the run was last stopped
    QStringList keysAtStart;         // and when it was last started
    QString progressTextAtStart;     // the progress window's text during the hand-over
    bool frameEnabledAtStart = true;
    std::function<void()> onStart;   // runs inside the hand-over
};
PaneCalls g_calls;

class RecordingToolView : public CToolView
{
public:
    using CToolView::CToolView;
    void OnResetImage() override { ++g_calls.resets; }
    void EnableProbeButton(BOOL bEnable) override { g_calls.probe << bEnable; }
};

class RecordingThumbnails : public CThumbNailLeft
{
public:
    using CThumbNailLeft::CThumbNailLeft;
    void StartThumbnailThread() override
    {
        ++g_calls.starts;
        g_calls.keysAtStart = theApp.m_astrSeriesKeys;
        CProgressWnd* progress = theApp.m_pStudyListDlg ? theApp.m_pStudyListDlg->m_pProgressWnd : nullptr;
        g_calls.progressTextAtStart = progress ? progress->GetText() : QString();
        g_calls.frameEnabledAtStart = theApp.m_pMainWnd && theApp.m_pMainWnd->isEnabled();
        if (g_calls.onStart)
            g_calls.onStart();
    }
    BOOL StopThumbnailThread() override
    {
        ++g_calls.stops;
        g_calls.keysAtStop = theApp.m_astrSeriesKeys;
        return TRUE;
    }
};

class RecordingChildFrame : public CChildFrmView
{
public:
    using CChildFrmView::CChildFrmView;

protected:
    QWidget* CreatePane(PaneKind kind, QWidget* parent) override
    {
        if (kind == PaneKind::Thumbnails)
            return new RecordingThumbnails(parent);
        if (kind == PaneKind::ToolBar)
            return new RecordingToolView(parent);
        return CChildFrmView::CreatePane(kind, parent);
    }
};

// One call of the presentation-state import.
struct ImportCall
{
    QString path;
    CImageInfo* firstImage = nullptr;
    QString tag;
};
QList<ImportCall> g_imports;
int g_liveImports = 0;
std::function<void()> g_onImport; // runs inside the load, before the hand-over

class RecordingImport : public IPresentationStateImport
{
public:
    RecordingImport() { ++g_liveImports; }
    ~RecordingImport() override { --g_liveImports; }
    void LoadPresentationState(const char* path, CImageInfo* firstImage, const QString& tag) override
    {
        g_imports << ImportCall{QString::fromLocal8Bit(path), firstImage, tag};
        if (g_onImport)
            g_onImport();
    }
};

// A paint device that keeps the texts painted on it with their fonts, and draws nothing.
class TextRecorder : public QPaintDevice
{
public:
    explicit TextRecorder(QSize size)
        : m_size(size)
    {
    }
    QPaintEngine* paintEngine() const override { return &m_engine; }
    QList<QPair<QString, QFont>> Texts() const { return m_engine.texts; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmWidthMM:
            return m_size.width() * 254 / 960;
        case PdmHeightMM:
            return m_size.height() * 254 / 960;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return 0x7FFFFFFF;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return 96; // the resolutions
        }
    }

private:
    class Engine : public QPaintEngine
    {
    public:
        Engine()
            : QPaintEngine(QPaintEngine::AllFeatures)
        {
        }
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF&, const QTextItem& item) override { texts << qMakePair(item.text(), item.font()); }
        Type type() const override { return QPaintEngine::User; }
        QList<QPair<QString, QFont>> texts;
    };
    mutable Engine m_engine;
    QSize m_size;
};

// The texts a view paints now, with their fonts.
QList<QPair<QString, QFont>> PaintedTexts(QWidget* view)
{
    TextRecorder recorder(view->size());
    view->render(&recorder);
    return recorder.Texts();
}

// A study of one CT series of `images` images.
FsStudy CtStudy(const std::string& description, int images)
{
    FsStudy study;
    study.studyDescription = description;
    FsSeries series;
    series.modality = "CT";
    series.seriesNumber = "1";
    for (int i = 0; i < images; ++i) {
        FsImage image;
        image.fileId = "P1\\" + description + "\\IM" + std::to_string(i + 1);
        image.instanceNumber = std::to_string(i + 1);
        series.images.push_back(image);
    }
    study.series = {series};
    return study;
}

// Counts the times a widget was shown.
class ShowCounter : public QObject
{
public:
    int shown = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            ++shown;
        return false;
    }
};

// A series of `modality` with images of the given instance numbers, in that chain order.
FsSeries Series(const std::string& modality, const std::string& number, int index, const std::vector<std::string>& instances)
{
    FsSeries series;
    series.modality = modality;
    series.seriesNumber = number;
    for (size_t i = 0; i < instances.size(); ++i) {
        FsImage image;
        image.fileId = "P1\\ST1\\SE" + std::to_string(index) + "\\IM" + std::to_string(i + 1);
        image.instanceNumber = instances[i];
        series.images.push_back(image);
    }
    return series;
}

FileSet OneStudy(const std::vector<FsSeries>& series)
{
    FsStudy study;
    study.studyDescription = "One";
    study.series = series;
    FsPatient patient;
    patient.patientName = "ONE^ONLY";
    patient.patientId = "P1";
    patient.studies = {study};
    FileSet set;
    set.patients = {patient};
    return set;
}

QStringList FirstImagePaths(const CStudyInfo* study)
{
    QStringList paths;
    for (const auto& series : study->m_lstSeries)
        paths << series->GetImageAt(0)->m_strFilePath;
    return paths;
}

} // namespace

class tst_CStudyListLoad : public QObject
{
    Q_OBJECT

private:
    DicomCodecs m_codecs; // the real grid decodes what it shows
    std::unique_ptr<QTemporaryDir> m_tmp;
    QString m_folder;
    CMainFrame* m_frame = nullptr;
    CStudyList* m_list = nullptr;
    ShowCounter m_shows;
    MonitorRectProvider m_oldMonitor;
    QList<ShownMessage> m_messages;

    CChildFrmView* Child() const { return m_frame->MDIGetActive(); }
    CMyFrameWnd* Grid() const { return Child()->GetViewGridFrame(); }
    QString path(const std::string& fileId) const
    {
        return m_folder + QLatin1Char('/') + QString::fromStdString(fileId).replace(QLatin1Char('\\'), QLatin1Char('/'));
    }

    // Writes `set` (hand-shaped by `shape` when given) and starts the dialog on it as the
    // start-up does; returns when the end notice has been handled.
    bool start(FileSet set, const SetShape& shape = {})
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        m_folder = m_tmp->filePath(QStringLiteral("set"));
        QDir().mkpath(m_folder);
        QString error;
        if (shape) {
            HandDicomDir dir = RecordsOf(set);
            shape(set, dir);
            error = WriteHandFileSet(set, dir, m_folder);
        } else {
            error = WriteDicomDir(set, m_folder);
        }
        if (!error.isEmpty()) {
            qWarning("%s", qPrintable(error));
            return false;
        }
        theApp.m_strMediaFolder = m_folder;
        theApp.m_strDicomDirPath = m_folder + QStringLiteral("/DICOMDIR");
        m_list = new CStudyList;
        theApp.m_pStudyListDlg = m_list;
        m_list->installEventFilter(&m_shows);
        QSignalSpy loaded(m_list, &CStudyList::dicomDirLoaded);
        if (!m_list->Create(IDD_STUDY_LIST, nullptr))
            return false;
        return loaded.wait(20000);
    }

    QPoint rowCentre(int row) const
    {
        return m_list->m_listStudies->visualItemRect(m_list->m_listStudies->topLevelItem(row)).center();
    }

    // Press and release, then the second press as a double-click, as the window system sends them
    void doubleClick(const QPoint& at)
    {
        QWidget* viewport = m_list->m_listStudies->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
    }

    void selectRow(int row)
    {
        QTest::mouseClick(m_list->m_listStudies->viewport(), Qt::LeftButton, {}, rowCentre(row));
    }

    CStudyInfo* studyOfRow(int row) const
    {
        CPatientInfo* patient = m_list->m_patientList.FindPatientByRecord(m_list->m_aRows[size_t(row)].nPatientRecord);
        return patient ? patient->FindStudyByRecord(m_list->m_aRows[size_t(row)].nStudyRecord) : nullptr;
    }

    // The hand-over closed its progress window and gave the input back.
    void verifyProgressGone()
    {
        QVERIFY(!m_list->m_pProgressWnd);
        QVERIFY(m_frame->isEnabled());
    }

private slots:
    void initTestCase()
    {
        // The file-set writer's toolkit reports every file it adds otherwise
        OFLog::configure(OFLogger::WARN_LOG_LEVEL);
    }

    void init()
    {
        g_calls = PaneCalls();
        g_imports.clear();
        m_messages.clear();
        m_shows.shown = 0;
        SetMessageNotifier([this](const ShownMessage& message) {
            m_messages << message;
            return int(IDOK);
        });
        SetPresentationStateImportFactory([] { return std::make_unique<RecordingImport>(); });
        m_oldMonitor = SetMonitorRectProvider([] { return QRect(0, 0, 1280, 1024); });
        theApp.m_bImagesLoaded = 0;
        theApp.m_nLayoutMode = 0;
        theApp.m_bEmptyViewText = 1;
        theApp.m_bShowLoadingText = 1;
        theApp.m_bStudyListDblClk = 0;
        theApp.m_bThumbThreadRunning = 0;
        theApp.m_astrSeriesKeys.clear();
        theApp.m_strModality.clear();
        theApp.m_pDocTemplate = std::make_unique<CMultiDocTemplate>(
            IDR_TOLVANETYPE, QStringLiteral("\nTolvanel\nTolvane\n\n\nTolvane.Document\nTolvane Document"),
            [] { return new CVantrelDoc; },
            [](CDocument* document, QWidget* parent) -> QWidget* {
                auto* frame = new RecordingChildFrame(parent);
                if (!frame->Create(document)) {
                    delete frame;
                    return nullptr;
                }
                return frame;
            });
        m_frame = new CMainFrame;
        theApp.m_pMainWnd = m_frame;
        QVERIFY(m_frame->LoadFrame(IDR_MAINFRAME));
        QVERIFY(theApp.m_pDocTemplate->OpenDocumentFile(QString(), m_frame->GetClientArea()));
        m_frame->setGeometry(0, 0, 1280, 1024);
        m_frame->show();
        QVERIFY(Child() && Grid());
    }

    void cleanup()
    {
        // As at exit: the views before the records they show
        theApp.m_pMainWnd = nullptr;
        delete m_frame;
        m_frame = nullptr;
        theApp.m_pStudyListDlg = nullptr;
        delete m_list;
        m_list = nullptr;
        theApp.m_pDocTemplate.reset();
        SetMonitorRectProvider(std::move(m_oldMonitor));
        SetPresentationStateImportFactory({});
        SetMessageNotifier({});
        theApp.m_strDicomDirPath.clear();
    }

    // --- Opening by itself or by the user's choice ---------------------------------------

    // The only study opens at start-up without the dialog: the tool bar is reset, the run is
    // stopped before the keys change and started after, the progress window is up during the
    // hand-over, and the grid shows one viewport. Load then only hides the dialog.
    void opensTheOnlyStudyByItself()
    {
        QVERIFY(start(OneStudy({Series("CT", "2", 1, {"2", "1"}), Series("CT", "1", 2, {"1"})})));
        QCOMPARE(m_shows.shown, 0);
        QVERIFY(!m_list->isVisible());

        CStudyInfo* study = studyOfRow(0);
        QVERIFY(study);
        QCOMPARE(m_list->m_pCurrentStudy, study);
        const QStringList keys = {path("P1\\ST1\\SE2\\IM1"), path("P1\\ST1\\SE1\\IM2")};
        QCOMPARE(theApp.m_astrSeriesKeys, keys);
        QCOMPARE(g_calls.resets, 1);
        QCOMPARE(g_calls.probe, QList<BOOL>({TRUE}));
        QCOMPARE(g_calls.stops, 1);
        QVERIFY(g_calls.keysAtStop.isEmpty());
        QCOMPARE(g_calls.starts, 1);
        QCOMPARE(g_calls.keysAtStart, keys);
        QCOMPARE(g_calls.progressTextAtStart, QStringLiteral("Loading Images. Please Wait..........."));
        QVERIFY(!g_calls.frameEnabledAtStart);
        verifyProgressGone();

        QCOMPARE(theApp.m_strModality, QStringLiteral("CT"));
        QCOMPARE(m_list->m_strSeriesModality, QStringLiteral("CT"));
        QCOMPARE(theApp.m_nLayoutMode, 1);
        QCOMPARE(theApp.m_bImagesLoaded, BYTE(1));
        QCOMPARE(theApp.m_bShowLoadingText, BYTE(0));
        QCOMPARE(theApp.m_bThumbThreadRunning, BOOL(0));
        QCOMPARE(Grid()->m_nRows, 0); // DisplaySingleFrame after the grid was set to -1 by -1
        QCOMPARE(Grid()->m_nPrevRows, -1);
        QCOMPARE(Grid()->m_nPrevCols, -1);

        // The Study List button shows the one row again; Load hides it
        m_list->show();
        QTest::mouseClick(m_list->m_btnLoad, Qt::LeftButton);
        QVERIFY(!m_list->isVisible());
        QCOMPARE(g_calls.resets, 1);
        QCOMPARE(g_calls.starts, 1);
    }

    // With several studies, or none, the dialog shows itself and nothing is loaded.
    void showsTheListForOtherCounts_data()
    {
        QTest::addColumn<bool>("empty");
        QTest::newRow("three studies") << false;
        QTest::newRow("no study") << true;
    }
    void showsTheListForOtherCounts()
    {
        QFETCH(bool, empty);
        QVERIFY(start(empty ? FileSet() : SampleFileSet()));
        QVERIFY(m_list->isVisible());
        QCOMPARE(m_list->m_listStudies->topLevelItemCount(), empty ? 0 : 3);
        QCOMPARE(g_calls.resets, 0);
        QCOMPARE(theApp.m_bImagesLoaded, BYTE(0));
        QVERIFY(theApp.m_astrSeriesKeys.isEmpty());

        // Load without a selection, and a double-click below the rows, do nothing
        QTest::mouseClick(m_list->m_btnLoad, Qt::LeftButton);
        doubleClick(QPoint(20, m_list->m_listStudies->viewport()->height() - 5));
        QVERIFY(m_list->isVisible());
        QCOMPARE(g_calls.resets, 0);
        QCOMPARE(theApp.m_bStudyListDblClk, BYTE(0));
        QVERIFY(!m_list->m_pCurrentStudy);

        // Cancel hides the dialog
        QTest::mouseClick(m_list->m_btnCancel, Qt::LeftButton);
        QVERIFY(!m_list->isVisible());
    }

    // Load with a selected row, Enter, and a double-click open that row's study.
    void opensTheChosenRow_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("row");
        QTest::newRow("Load, row 2") << "load" << 1;
        QTest::newRow("Load, row 3") << "load" << 2;
        QTest::newRow("Enter, row 3") << "enter" << 2;
        QTest::newRow("double-click, row 1") << "double-click" << 0;
        QTest::newRow("double-click, row 3") << "double-click" << 2;
    }
    void opensTheChosenRow()
    {
        QFETCH(QString, how);
        QFETCH(int, row);
        QVERIFY(start(SampleFileSet()));
        if (how == QLatin1String("double-click")) {
            doubleClick(rowCentre(row));
            QCOMPARE(theApp.m_bStudyListDblClk, BYTE(1));
        } else {
            selectRow(row);
            if (how == QLatin1String("enter"))
                QTest::keyClick(m_list->m_listStudies, Qt::Key_Return);
            else
                QTest::mouseClick(m_list->m_btnLoad, Qt::LeftButton);
        }
        QVERIFY(!m_list->isVisible());
        CStudyInfo* study = studyOfRow(row);
        QVERIFY(study);
        QCOMPARE(m_list->m_pCurrentStudy, study);
        QCOMPARE(study->m_strStudyInstanceUID, m_list->m_aRows[size_t(row)].astrText[7]);
        QCOMPARE(theApp.m_astrSeriesKeys, FirstImagePaths(study));
        QCOMPARE(g_calls.resets, 1);
        QCOMPARE(g_calls.starts, 1);
        QCOMPARE(theApp.m_bImagesLoaded, BYTE(1));
        verifyProgressGone();
    }

    // A second study: the run of the first is stopped while its keys are still in place.
    void stopsTheRunBeforeTheKeysChange()
    {
        QVERIFY(start(SampleFileSet()));
        m_list->OnLoad(0);
        const QStringList first = theApp.m_astrSeriesKeys;
        m_list->OnLoad(2);
        QCOMPARE(g_calls.stops, 2);
        QCOMPARE(g_calls.keysAtStop, first);
        QCOMPARE(g_calls.keysAtStart, FirstImagePaths(studyOfRow(2)));
        QCOMPARE(theApp.m_astrSeriesKeys, g_calls.keysAtStart);
    }

    // A load asked for while the study is handed over is ignored.
    void ignoresALoadDuringTheHandOver()
    {
        QVERIFY(start(SampleFileSet()));
        g_calls.onStart = [this] { m_list->OnLoad(2); };
        m_list->OnLoad(0);
        QCOMPARE(g_calls.resets, 1);
        QCOMPARE(m_list->m_pCurrentStudy, studyOfRow(0));
        verifyProgressGone();
    }

    // --- What a load sets by modality -------------------------------------------------------

    // The Probe button follows the row's modality text exactly.
    void enablesProbeByTheRowsModality_data()
    {
        QTest::addColumn<QString>("modality"); // of the series record; "absent" for none
        QTest::addColumn<QString>("shown");    // column 3 of the row
        QTest::addColumn<bool>("enabled");
        QTest::newRow("CT") << "CT" << "CT" << true;
        QTest::newRow("MR") << "MR" << "MR" << true;
        QTest::newRow("CR") << "CR" << "CR" << false;
        QTest::newRow("MRI") << "MRI" << "MRI" << false;
        QTest::newRow("ct") << "ct" << "ct" << false;
        QTest::newRow("no modality") << "absent" << "--" << false;
    }
    void enablesProbeByTheRowsModality()
    {
        QFETCH(QString, modality);
        QFETCH(QString, shown);
        QFETCH(bool, enabled);
        const SetShape shape = [&](FileSet&, HandDicomDir& dir) {
            DirRecord& series = dir.records[size_t(IndexOf(dir, "SERIES"))];
            if (modality == QLatin1String("absent"))
                series.Remove(DCM_Modality);
            else
                series.Set(DCM_Modality, modality.toStdString());
        };
        QVERIFY(start(OneStudy({Series("CT", "1", 1, {"1"})}), shape));
        QCOMPARE(m_list->m_aRows[0].astrText[3], shown);
        QCOMPARE(g_calls.probe, QList<BOOL>({enabled ? TRUE : FALSE}));
    }

    // XA studies key every image of every series in sorted order, others the first image of
    // each; the modality comes from the first sorted image series on every load, also when a
    // PR series comes first in the DICOMDIR.
    void keysTheSeriesByModality_data()
    {
        QTest::addColumn<QString>("modality");
        QTest::addColumn<bool>("prFirst");
        QTest::addColumn<QStringList>("keys");
        const QStringList all = {"P1\\ST1\\SE2\\IM2", "P1\\ST1\\SE2\\IM1", "P1\\ST1\\SE1\\IM2", "P1\\ST1\\SE1\\IM3",
                                 "P1\\ST1\\SE1\\IM1"};
        const QStringList first = {"P1\\ST1\\SE2\\IM2", "P1\\ST1\\SE1\\IM2"};
        QTest::newRow("XA") << "XA" << false << all;
        QTest::newRow("XA after a PR series") << "XA" << true << all;
        QTest::newRow("CT") << "CT" << false << first;
        QTest::newRow("US after a PR series") << "US" << true << first;
    }
    void keysTheSeriesByModality()
    {
        QFETCH(QString, modality);
        QFETCH(bool, prFirst);
        QFETCH(QStringList, keys);
        const std::string m = modality.toStdString();
        std::vector<FsSeries> series = {Series(m, "2", 1, {"3", "1", "2"}), Series(m, "1", 2, {"2", "1"})};
        if (prFirst) {
            FsSeries pr;
            pr.modality = "PR";
            pr.seriesNumber = "100";
            FsPresentation state;
            state.fileId = "P1\\ST1\\SE3\\PS1";
            state.state = EveryLayer({RefTo(series[0], series[0].images[0])});
            pr.presentations = {state};
            series.insert(series.begin(), pr);
        }
        QVERIFY(start(OneStudy(series), [](FileSet&, HandDicomDir&) {}));
        QStringList expected;
        for (const QString& key : keys)
            expected << path(key.toStdString());
        QCOMPARE(theApp.m_astrSeriesKeys, expected);
        QCOMPARE(theApp.m_strModality, modality);

        // A later load of the built study keys it the same way
        theApp.m_astrSeriesKeys.clear();
        m_list->OnLoad(0);
        QCOMPARE(theApp.m_astrSeriesKeys, expected);
        QCOMPARE(theApp.m_strModality, modality);
    }

    // "US", "MG" and "CR" open in image layout, everything else in series layout; the first
    // sorted series decides.
    void choosesTheLayoutByModality_data()
    {
        QTest::addColumn<QString>("modality");
        QTest::addColumn<int>("mode");
        QTest::newRow("US") << "US" << 2;
        QTest::newRow("MG") << "MG" << 2;
        QTest::newRow("CR") << "CR" << 2;
        QTest::newRow("CT") << "CT" << 1;
        QTest::newRow("MR") << "MR" << 1;
        QTest::newRow("XA") << "XA" << 1;
        QTest::newRow("OT") << "OT" << 1;
        QTest::newRow("DX") << "DX" << 1;
    }
    void choosesTheLayoutByModality()
    {
        QFETCH(QString, modality);
        QFETCH(int, mode);
        // The OT series comes first in the chain but sorts second
        QVERIFY(start(OneStudy({Series("OT", "2", 1, {"1"}), Series(modality.toStdString(), "1", 2, {"1"})})));
        QCOMPARE(m_list->m_strSeriesModality, modality);
        QCOMPARE(theApp.m_nLayoutMode, mode);
        QCOMPARE(Grid()->m_bSeriesLayout, BYTE(mode == 2 ? 0 : 1));
        QCOMPARE(theApp.m_bEmptyViewText, BYTE(mode == 2 ? 0 : 1));
        QCOMPARE(theApp.m_bImagesLoaded, BYTE(1));
    }

    // --- Presentation states and failures --------------------------------------------------

    // The study's presentation states are applied at its first load only, with the first
    // image of its first series and the tag "1", through one import that goes afterwards.
    void appliesPresentationStatesOnce()
    {
        QVERIFY(start(SampleFileSet()));
        m_list->OnLoad(0);
        CStudyInfo* chest = studyOfRow(0);
        QVERIFY(chest);
        QCOMPARE(g_imports.size(), 1);
        QCOMPARE(g_imports[0].path, path("P001\\ST1\\SE3\\PS1"));
        QCOMPARE(g_imports[0].firstImage, chest->GetFirstSeries()->GetImageAt(0));
        QCOMPARE(g_imports[0].tag, QStringLiteral("1"));
        QCOMPARE(g_liveImports, 0);

        m_list->OnLoad(1);
        m_list->OnLoad(0);
        QCOMPARE(g_imports.size(), 1);
        QCOMPARE(m_list->m_pCurrentStudy, chest);
        QCOMPARE(chest->GetImageCount(), 4);
    }

    // A study whose images are all missing is reported; the grid shows a blank viewport, not
    // the study shown before, and no image counts as loaded.
    void reportsAStudyWithoutImages()
    {
        FileSet set = SampleFileSet();
        set.patients[0].studies[1].series[0].images[0].onDisk = false; // the hand study's only image
        QVERIFY(start(set));
        m_list->OnLoad(0);
        QCOMPARE(theApp.m_bImagesLoaded, BYTE(1));
        QVERIFY(m_messages.isEmpty());
        Grid()->m_nRows = Grid()->m_nCols = 2;

        m_list->OnLoad(1);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].caption, QStringLiteral("Perlisk Orvane"));
        QVERIFY(!m_messages[0].text.isEmpty());
        QVERIFY(theApp.m_astrSeriesKeys.isEmpty());
        QVERIFY(g_calls.keysAtStart.isEmpty()); // the thumbnail column is emptied
        QCOMPARE(Grid()->m_nRows, 0);            // one blank viewport
        QCOMPARE(theApp.m_bImagesLoaded, BYTE(0));
        verifyProgressGone();
    }

    // With one row, Load loads the study again after a failed automatic load: here once its
    // files are back on the medium.
    void loadsAgainAfterAFailedAutomaticLoad()
    {
        FileSet set = OneStudy({Series("CT", "1", 1, {"1", "2"})});
        for (FsImage& image : set.patients[0].studies[0].series[0].images)
            image.onDisk = false;
        QVERIFY(start(set));
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(theApp.m_bImagesLoaded, BYTE(0));

        // Still missing: reported again rather than silently hidden
        m_list->show();
        QTest::mouseClick(m_list->m_btnLoad, Qt::LeftButton);
        QCOMPARE(m_messages.size(), 2);
        QCOMPARE(g_calls.resets, 2);

        for (FsImage& image : set.patients[0].studies[0].series[0].images)
            image.onDisk = true;
        QCOMPARE(WriteFileSetFiles(set, m_folder), QString());
        m_list->show();
        QTest::mouseClick(m_list->m_btnLoad, Qt::LeftButton);
        QCOMPARE(m_messages.size(), 2);
        QCOMPARE(g_calls.resets, 3);
        QCOMPARE(theApp.m_bImagesLoaded, BYTE(1));
        QCOMPARE(theApp.m_astrSeriesKeys, QStringList({path("P1\\ST1\\SE1\\IM1")}));
        QVERIFY(!m_list->isVisible());

        // Shown now: Load only hides the dialog
        m_list->show();
        QTest::mouseClick(m_list->m_btnLoad, Qt::LeftButton);
        QCOMPARE(g_calls.resets, 3);
        QVERIFY(!m_list->isVisible());
    }

    // A study no PATIENT record leads to is listed with "--" and loads, with empty patient texts.
    void loadsAStudyWithoutAPatientRecord()
    {
        const SetShape shape = [](FileSet&, HandDicomDir& dir) { dir.records[size_t(IndexOf(dir, "PATIENT", 1))].lower = -1; };
        QVERIFY(start(SampleFileSet(), shape));
        QCOMPARE(m_list->m_listStudies->topLevelItem(2)->text(2), QStringLiteral("--"));
        m_list->OnLoad(2);
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(theApp.m_bImagesLoaded, BYTE(1));
        QCOMPARE(theApp.m_astrSeriesKeys, QStringList({path("P002\\ST1\\SE1\\IM1")}));
        QVERIFY(m_list->m_pCurrentStudy);
        verifyProgressGone();
    }

    // A row whose study has no series record ends the load before the hand-over: the tool
    // bar was reset, nothing else changed, no progress window is left.
    void endsTheLoadOfARowWithoutSeries()
    {
        const SetShape shape = [](FileSet&, HandDicomDir& dir) { dir.records[size_t(IndexOf(dir, "STUDY", 1))].lower = -1; };
        QVERIFY(start(SampleFileSet(), shape));
        m_list->OnLoad(0);
        const QStringList keys = theApp.m_astrSeriesKeys;
        m_list->OnLoad(1);
        QCOMPARE(g_calls.resets, 2);
        QCOMPARE(g_calls.starts, 1);
        QCOMPARE(theApp.m_astrSeriesKeys, keys);
        QVERIFY(m_messages.isEmpty());
        verifyProgressGone();
    }

    // At exit with the loading thread still reading a large DICOMDIR, the thread is joined
    // before anything it uses is freed.
    // Right after a study is loaded from the list the keys page it: the selected view has the
    // keyboard of the active main window
    void shownStudyTakesTheKeys_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("double-click") << "double-click";
        QTest::newRow("Load") << "load";
    }
    void shownStudyTakesTheKeys()
    {
        QFETCH(QString, how);
        FileSet set;
        FsPatient patient;
        patient.studies = {CtStudy("ST1", 4), CtStudy("ST2", 4)};
        set.patients = {patient};
        QVERIFY(start(set));
        QVERIFY(m_list->isVisible());
        m_list->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(m_list));
        if (how == QLatin1String("double-click")) {
            doubleClick(rowCentre(0));
        } else {
            selectRow(0);
            QTest::mouseClick(m_list->m_btnLoad, Qt::LeftButton);
        }
        QVERIFY(!m_list->isVisible());
        CVantrelView* view = Grid()->GetSelectedView();
        QVERIFY(view);
        QTRY_VERIFY(view->isVisible() && view->m_pDisplayImage);
        QCoreApplication::processEvents();
        QCOMPARE(view->m_strImageText, QStringLiteral("Image  1/4"));
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(m_frame));
        // Keys as the window system hands them to the active window
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(m_frame->windowHandle(), Qt::Key_Down);
        QCOMPARE(view->m_strImageText, QStringLiteral("Image  4/4"));
        QVERIFY(view->hasFocus());
    }

    // The empty viewer says it is loading only while a study loads, in the overlay's font
    void loadingTextOnlyWhileAStudyLoads()
    {
        QVERIFY(start(SampleFileSet()));
        QVERIFY(m_list->isVisible());
        CVantrelView* view = Grid()->GetSingleView();
        QVERIFY(view && !view->m_pImage);
        // The list waits for a choice: nothing is loading
        QVERIFY(PaintedTexts(view).isEmpty());
        QTest::mouseClick(m_list->m_btnCancel, Qt::LeftButton);
        QVERIFY(!m_list->isVisible());
        QVERIFY(PaintedTexts(view).isEmpty());
        QCOMPARE(theApp.m_bShowLoadingText, BYTE(0));

        // While the chosen study loads, before the hand-over
        // The load replaces the view: its overlay font is read before
        const QFontInfo overlay(*view->m_pTextFont->GetFont());
        QList<QPair<QString, QFont>> during;
        g_onImport = [&] { during = PaintedTexts(view); };
        const auto noHook = qScopeGuard([] { g_onImport = nullptr; });
        m_list->show();
        doubleClick(rowCentre(0));
        QCOMPARE(g_imports.size(), 1);
        QCOMPARE(during.size(), 1);
        QCOMPARE(during[0].first, QStringLiteral(" LOADING IMAGES ....  PLEASE WAIT...."));
        const QFontInfo used(during[0].second);
        QCOMPARE(used.family(), overlay.family());
        QCOMPARE(used.pixelSize(), overlay.pixelSize());
        QCOMPARE(used.family(), QFontInfo(Gdi::Font(QStringLiteral("MS Sans Serif"), -11)).family());
        QCOMPARE(theApp.m_bShowLoadingText, BYTE(0));
    }

    void exitsWhileTheThreadReads()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        const QString dicomDir = m_tmp->filePath(QStringLiteral("DICOMDIR"));
        QCOMPARE(WriteHandDicomDir(RecordsOf(LargeFileSet(20000)), dicomDir), QString());
        theApp.m_strDicomDirPath = dicomDir;
        m_list = new CStudyList;
        theApp.m_pStudyListDlg = m_list;
        QVERIFY(m_list->Create(IDD_STUDY_LIST, nullptr));
        QVERIFY(m_list->m_hLoaderThread.joinable());
        theApp.ExitInstance();
        m_list = nullptr;
        m_frame = nullptr;
        QVERIFY(!theApp.m_pStudyListDlg);
        QVERIFY(!theApp.m_pMainWnd);
    }

    // --- The dialog's face -------------------------------------------------------------------

    // Template 321 in dialog units, the gradient of 236 bands from grey 127 to 10 behind the
    // controls, and the skinned buttons.
    void drawsTheTemplateOverTheGradient()
    {
        QVERIFY(start(FileSet()));
        QCOMPARE(m_list->size(), QSize(775, 445));
        QCOMPARE(m_list->windowTitle(), QStringLiteral("Study List"));
        QCOMPARE(m_list->m_listStudies->geometry(), QRect(3, 16, 766, 336));
        QCOMPARE(m_list->m_btnLoad->geometry(), QRect(609, 367, 75, 22));
        QCOMPARE(m_list->m_btnCancel->geometry(), QRect(696, 367, 75, 22));
        QCOMPARE(m_list->m_btnLoad->text(), QStringLiteral("Load"));
        QCOMPARE(m_list->m_btnCancel->text(), QStringLiteral("Cancel"));
        QVERIFY(m_list->m_btnLoad->isDefault());

        const QImage image = m_list->grab().toImage();
        if (const QByteArray out = qgetenv("ORVANE_TEST_OUTPUT"); !out.isEmpty())
            image.save(QString::fromLocal8Bit(out) + QStringLiteral("/study-list-dialog.png"));
        // Band i ends at MulDiv(i + 1, 445, 236): rows 0-1 are band 0, the last row band 235
        const auto grey = [&](int y) { return qGray(image.pixel(1, y)); };
        QCOMPARE(grey(0), 127);
        QCOMPARE(grey(1), 127);
        QCOMPARE(grey(2), 127); // band 1: 127 - 1 / 2
        QCOMPARE(grey(4), 126); // band 2
        QCOMPARE(grey(222), 69); // band 117 ends at MulDiv(118, 445, 236) = 223 (222.5 rounded up)
        QCOMPARE(grey(223), 68);
        QCOMPARE(grey(444), 10);
        QCOMPARE(qGray(image.pixel(771, 300)), grey(300)); // right of the list
        // The button's icon is drawn over the gradient
        const QPoint inButton = m_list->m_btnLoad->geometry().topLeft() + QPoint(4, 4);
        QVERIFY(image.pixel(inButton) != image.pixel(inButton.x() - 6, inButton.y()));
    }
};

QTEST_MAIN(tst_CStudyListLoad)
#include "tst_CStudyListLoad.moc"
