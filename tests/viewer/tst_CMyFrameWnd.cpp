// Qt
#include <QtTest>

// std
#include <memory>

// Orvane
#include "annotation/CShapeLine.h"
#include "annotation/CShapeLineLength.h"
#include "app/COstrevanApp.h"
#include "platform/CMultiDocTemplate.h"
#include "platform/CxImage.h"
#include "res/resource.h"
#include "study/CPresentationStateImport.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tests/app/FrameUnderTest.h"
#include "tests/viewer/ViewerTestStudy.h"
#include "state/ToolState.h"
#include "viewer/CFrameSplitterWnd.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CineNewControls.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"
#include "viewer/GridGeometry.h"
#include "viewer/ViewGeometry.h"
#include "viewer/ViewOverlay.h"
#include "tools/fixtures/PresentationStateFixtures.h"

using namespace Fixtures;

namespace {

constexpr int kSeries = 5;
constexpr int kFirstSeriesImages = 6;

// Counts the shapes alive
int g_nShapes = 0;
class CountedLine : public CShapeLine
{
public:
    CountedLine(const CDoublePoint* a, const CDoublePoint* b, const COLORREF* c, const int* w)
        : CShapeLine(a, b, c, w)
    {
        ++g_nShapes;
    }
    ~CountedLine() override { --g_nShapes; }
};

// Five CT series of small images; the first has six images, the others two
void FillStudy(ViewerTestStudy& study)
{
    for (int s = 0; s < kSeries; ++s) {
        CSeriesInfo* series = study.AddSeries("CT");
        for (int i = 0; i < (s == 0 ? kFirstSeriesImages : 2); ++i) {
            ImageRecipe recipe = Preset(ImagePreset::Ct);
            recipe.columns = 40;
            recipe.rows = 30;
            recipe.seriesDescription = "Series " + std::to_string(s);
            QVERIFY(study.AddImage(series, recipe));
        }
    }
}

// A grid frame of 800 x 600 inside a host widget, as the child frame holds it
struct GridUnderTest
{
    GridUnderTest()
    {
        host.resize(800, 600);
        frame = new CMyFrameWnd(&host);
        frame->setGeometry(0, 0, 800, 600);
        frame->OnCreateClient(nullptr);
        host.show();
        theApp.m_nViewAreaWidth = 800;
        theApp.m_nViewAreaHeight = 600;
    }
    QWidget host;
    CMyFrameWnd* frame = nullptr;
};

// Shows a new study in one view, as the study loader does
void ShowNewStudy(CMyFrameWnd* frame, const QStringList& keys, int layoutMode)
{
    theApp.m_astrSeriesKeys = keys;
    theApp.m_nLayoutMode = layoutMode;
    theApp.m_bNewStudyLoaded = 1;
    frame->DisplaySingleFrame(nullptr);
    QCoreApplication::processEvents();
}

bool HasRed(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == qRgb(255, 0, 0))
                return true;
    return false;
}

// The file at `path` rendered by itself at (width, centre)
QImage RenderedAt(const QString& path, int width, int centre)
{
    CxImageDCM dicom;
    QList<CxImage*> first;
    const QByteArray name = QFile::encodeName(path);
    const int loaded = dicom.LoadDCM(name.constData(), &first, FALSE);
    qDeleteAll(first);
    if (!loaded)
        return QImage();
    std::unique_ptr<CxImage> rendered(dicom.WindowLevelling(width, centre));
    return rendered ? rendered->GetQImage() : QImage();
}

// The middle half of the picture as the pane paints it, one sample per image pixel, against
// `expected` (grey); empty when they agree, else the first pixel that differs
QString DrawnDiffers(CVantrelView* view, const QImage& expected)
{
    if (expected.isNull() || !view->m_pDisplayImage)
        return QStringLiteral("nothing to compare");
    const QImage shot = view->grab().toImage();
    const QSize extent = view->GetTotalDeviceSize();
    const QPoint origin = view->m_ptPanOffset;
    for (int y = expected.height() / 4; y < expected.height() * 3 / 4; ++y)
        for (int x = expected.width() / 4; x < expected.width() * 3 / 4; ++x) {
            const QPoint at(origin.x() + int((x + 0.5) * extent.width() / expected.width()),
                            origin.y() + int((y + 0.5) * extent.height() / expected.height()));
            if (!shot.rect().contains(at))
                continue;
            const int drawn = qRed(shot.pixel(at));
            const int want = qGray(expected.pixel(x, y));
            if (drawn != want)
                return QStringLiteral("pixel (%1, %2): drawn %3, expected %4").arg(x).arg(y).arg(drawn).arg(want);
        }
    return QString();
}

} // namespace

class tst_CMyFrameWnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void showsFirstSeriesOfNewStudy();
    void keepsShownImageWithoutNewStudy();
    void showsBlankPaneWithoutKeyOrRecords_data();
    void showsBlankPaneWithoutKeyOrRecords();
    void buildsPanesPerCommand_data();
    void buildsPanesPerCommand();
    void repeatedCommandDoesNothing_data();
    void repeatedCommandDoesNothing();
    void studyLayoutOnlyRecordsTheGrid();
    void singleLayoutCommand();
    void fitsPanesToTheirSize();
    void shapesSurviveRebuildsOnTheirOwnImage();
    void deletesShapesWithTheFrame();
    void documentsBelongToTheirPanes();
    void keepsTheTemplatesFirstDocument();
    void loadsSeriesIntoViews();
    void selectsOneViewOfTheGrid();
    void showsCtStudyInTwoByTwoSeriesLayout();
    void goesOnPastAnImageWithoutPicture();
    void fillsSixteenPanesPastAnUnreadableFile_data();
    void fillsSixteenPanesPastAnUnreadableFile();
    void showsThePresentationStatesWindow_data();
    void showsThePresentationStatesWindow();

private:
    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_CMyFrameWnd::initTestCase()
{
    m_codecs = std::make_unique<DicomCodecs>();
    QVERIFY(m_dir.isValid());
}

void tst_CMyFrameWnd::init()
{
    ClearToolState();
    theApp.m_bEmptyViewText = 0;
    theApp.m_bShowLoadingText = 0;
    theApp.m_bNewStudyLoaded = 0;
    theApp.m_nLayoutMode = 0;
    theApp.m_astrSeriesKeys.clear();
    theApp.m_pDocTemplate = std::make_unique<CMultiDocTemplate>(
        IDR_TOLVANETYPE, QStringLiteral("\nTolvanel"), [] { return new CVantrelDoc; }, nullptr);
}

void tst_CMyFrameWnd::cleanup()
{
    theApp.m_pDocTemplate.reset();
    theApp.m_astrSeriesKeys.clear();
}

void tst_CMyFrameWnd::showsFirstSeriesOfNewStudy()
{
    ViewerTestStudy study(m_dir.path());
    FillStudy(study);
    GridUnderTest grid;
    CVantrelView* first = grid.frame->GetSingleView();
    QVERIFY(first);
    QCOMPARE(grid.frame->m_nRows, -1);
    ShowNewStudy(grid.frame, study.SeriesKeys(), 1);
    CVantrelView* view = grid.frame->GetSingleView();
    QVERIFY(view);
    QCOMPARE(theApp.m_bNewStudyLoaded, BYTE(0));
    QCOMPARE(grid.frame->m_nRows, 0);
    QCOMPARE(grid.frame->m_nCols, 0);
    QCOMPARE(grid.frame->m_nPrevRows, -1);
    QCOMPARE(view->m_pImage, study.m_pStudy->GetFirstImage());
    QCOMPARE(view->m_pPatient, study.m_pPatient);
    QCOMPARE(view->m_bSelected, BYTE(1));
    QCOMPARE(grid.frame->GetSelectedView(), view);
    QCOMPARE(grid.frame->GetActiveView(), view);
    QCOMPARE(view->GetDocument()->m_strFilePath, study.SeriesKeys().front());
    QTRY_VERIFY(view->isVisible());
    QCOMPARE(view->geometry(), QRect(0, 0, 800, 600));
    QCOMPARE(view->m_fZoom, 20.0f); // 40 x 30 in 800 x 600
}

void tst_CMyFrameWnd::keepsShownImageWithoutNewStudy()
{
    ViewerTestStudy study(m_dir.path());
    FillStudy(study);
    GridUnderTest grid;
    ShowNewStudy(grid.frame, study.SeriesKeys(), 1);
    const QString third = study.SeriesKeys()[2];
    grid.frame->LoadSeriesIntoViews(third);
    CVantrelView* view = grid.frame->GetSingleView();
    QCOMPARE(view->m_pImage->m_strFilePath, third);
    grid.frame->DisplaySingleFrame(nullptr);
    view = grid.frame->GetSingleView();
    QCOMPARE(view->m_pImage->m_strFilePath, third);
    QCOMPARE(view->m_pSeries, study.m_pStudy->GetSeriesAt(2));
    QCOMPARE(view->GetDocument()->m_strFilePath, third);
    QCOMPARE(view->GetDocument()->m_arrImages.size(), std::size_t(1));
}

void tst_CMyFrameWnd::showsBlankPaneWithoutKeyOrRecords_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("withRecords");
    QTest::newRow("no key") << QString() << true;
    QTest::newRow("key of no image") << QStringLiteral("/nowhere/image.dcm") << true;
    QTest::newRow("no records") << QStringLiteral("/nowhere/image.dcm") << false;
}

void tst_CMyFrameWnd::showsBlankPaneWithoutKeyOrRecords()
{
    QFETCH(QString, key);
    QFETCH(bool, withRecords);
    auto study = std::make_unique<ViewerTestStudy>(m_dir.path());
    FillStudy(*study);
    if (!withRecords)
        study.reset();
    GridUnderTest grid;
    ShowNewStudy(grid.frame, key.isEmpty() ? QStringList() : QStringList{key}, 1);
    CVantrelView* view = grid.frame->GetSingleView();
    QVERIFY(view);
    QVERIFY(!view->m_pImage);
    QVERIFY(!view->m_pDisplayImage);
    QVERIFY(view->isVisible());
    const QImage shot = view->grab().toImage();
    QCOMPARE(shot.pixel(0, 300), qRgb(255, 255, 255));
    QCOMPARE(shot.pixel(400, 300) & 0xFFFFFF, 0u);
}

void tst_CMyFrameWnd::buildsPanesPerCommand_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("mode");
    for (int mode : {1, 2})
        for (int command : GridGeometry::GridCommands()) {
            const GridGeometry::Grid g = *GridGeometry::GridOfCommand(command);
            QTest::addRow("%dx%d %s", g.nRows, g.nCols, mode == 1 ? "series" : "image") << command << mode;
        }
}

void tst_CMyFrameWnd::buildsPanesPerCommand()
{
    QFETCH(int, command);
    QFETCH(int, mode);
    ViewerTestStudy study(m_dir.path());
    FillStudy(study);
    GridUnderTest grid;
    // The view area differs from the frame's client: each layout takes its own
    theApp.m_nViewAreaWidth = 760;
    theApp.m_nViewAreaHeight = 560;
    ShowNewStudy(grid.frame, study.SeriesKeys(), mode);
    QVERIFY(grid.frame->OnCommand(command));
    QCoreApplication::processEvents();

    const GridGeometry::Grid g = *GridGeometry::GridOfCommand(command);
    QCOMPARE(grid.frame->m_nRows, g.nRows);
    QCOMPARE(grid.frame->m_nCols, g.nCols);
    QCOMPARE(grid.frame->m_nPrevRows, 0);
    QCOMPARE(grid.frame->GetPaneRows(), g.nRows);
    QCOMPARE(grid.frame->GetPaneColumns(), g.nCols);
    QCOMPARE(grid.frame->GetSingleView(), nullptr);
    QCOMPARE(grid.frame->m_bSeriesLayout, BYTE(mode == 1 ? 1 : 0));
    const std::vector<CVantrelView*> panes = grid.frame->GetPanes();
    QCOMPARE(int(panes.size()), g.nRows * g.nCols);
    QCOMPARE(theApp.m_pDocTemplate->GetDocuments().size(), panes.size());
    QCOMPARE(grid.frame->GetActiveView(), panes[0]);
    QCOMPARE(grid.frame->GetSelectedView(), panes[0]);

    CSeriesInfo* firstSeries = study.m_pStudy->GetFirstSeries();
    const QSize area = mode == 1 ? grid.frame->size() : QSize(theApp.m_nViewAreaWidth, theApp.m_nViewAreaHeight);
    for (std::size_t i = 0; i < panes.size(); ++i) {
        CVantrelView* pane = panes[i];
        QCOMPARE(pane->m_bSelected, BYTE(i == 0 ? 1 : 0));
        QCOMPARE(pane->m_sizePane, GridGeometry::PaneSize(area, g));
        CImageInfo* expected = nullptr;
        if (mode == 1 && i < std::size_t(kSeries))
            expected = study.m_pStudy->GetSeriesAt(int(i))->GetImageAt(0);
        if (mode == 2 && i < std::size_t(kFirstSeriesImages))
            expected = firstSeries->GetImageAt(int(i));
        QCOMPARE(pane->m_pImage, expected);
        if (expected) {
            QCOMPARE(pane->GetDocument()->m_strFilePath, expected->m_strFilePath);
            QCOMPARE(pane->m_strImageKey, expected->m_strSOPInstanceUID);
            QVERIFY(pane->m_pDisplayImage && pane->m_pDisplayImage->IsValid());
            QCOMPARE(pane->m_strSeriesDescription,
                     QStringLiteral("Series %1").arg(mode == 1 ? int(i) : 0));
        } else {
            // Surplus panes are blank: black inside a white frame
            QVERIFY(!pane->m_pStudy && !pane->m_pSeries && !pane->m_pDisplayImage);
            QVERIFY(pane->isVisible());
            const QImage shot = pane->grab().toImage();
            QCOMPARE(shot.pixel(0, shot.height() / 2), qRgb(255, 255, 255));
            QCOMPARE(shot.pixel(shot.width() / 2, shot.height() / 2) & 0xFFFFFF, 0u);
        }
    }
}

void tst_CMyFrameWnd::repeatedCommandDoesNothing_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("series") << 1;
    QTest::newRow("image") << 2;
    QTest::newRow("study") << 0;
}

void tst_CMyFrameWnd::repeatedCommandDoesNothing()
{
    QFETCH(int, mode);
    ViewerTestStudy study(m_dir.path());
    FillStudy(study);
    GridUnderTest grid;
    ShowNewStudy(grid.frame, study.SeriesKeys(), mode);
    grid.frame->OnCommand(ID_FRAME_LAYOUT2X3);
    grid.frame->OnCommand(ID_FRAME_LAYOUT2X2);
    QCOMPARE(grid.frame->m_nPrevRows, 2);
    QCOMPARE(grid.frame->m_nPrevCols, 3);
    const std::vector<CVantrelView*> panes = grid.frame->GetPanes();
    CVantrelView* single = grid.frame->GetSingleView();
    grid.frame->OnCommand(ID_FRAME_LAYOUT2X2);
    QCOMPARE(grid.frame->GetPanes(), panes);
    QCOMPARE(grid.frame->GetSingleView(), single);
    QCOMPARE(grid.frame->m_nPrevRows, 2);
    QCOMPARE(grid.frame->m_nPrevCols, 3);
}

void tst_CMyFrameWnd::studyLayoutOnlyRecordsTheGrid()
{
    ViewerTestStudy study(m_dir.path());
    FillStudy(study);
    GridUnderTest grid;
    ShowNewStudy(grid.frame, study.SeriesKeys(), 1);
    grid.frame->OnCommand(ID_FRAME_LAYOUT2X2);
    const std::vector<CVantrelView*> panes = grid.frame->GetPanes();
    panes[3]->SelectCurrentView();

    // A grid recorded in study layout that the panes do not follow
    theApp.m_nLayoutMode = 0;
    grid.frame->OnCommand(ID_FRAME_LAYOUT4X4);
    QCOMPARE(grid.frame->m_nRows, 4);
    QCOMPARE(grid.frame->m_nCols, 4);
    QCOMPARE(grid.frame->GetPanes(), panes);
    QCOMPARE(grid.frame->GetSelectedView(), panes[3]);
    int row = -1, col = -1;
    QVERIFY(grid.frame->FindPane(panes[3], &row, &col));
    QCOMPARE(QPoint(col, row), QPoint(1, 1));
    QVERIFY(!grid.frame->FindPane(&grid.host, &row, &col));
    grid.frame->InvalidateViewsOfImage(QString());
    grid.frame->CloseTextEditsInAllViews();
    grid.frame->DestroyViewsPointers();
    QVERIFY(!panes[3]->m_pDisplayImage);
}

void tst_CMyFrameWnd::singleLayoutCommand()
{
    ViewerTestStudy study(m_dir.path());
    FillStudy(study);
    GridUnderTest grid;
    ShowNewStudy(grid.frame, study.SeriesKeys(), 2);
    CVantrelView* single = grid.frame->GetSingleView();
    QVERIFY(grid.frame->OnCommand(ID_FRAME_SINGLELAYOUT));
    QCOMPARE(grid.frame->GetSingleView(), single); // one view shown already
    grid.frame->OnCommand(ID_FRAME_LAYOUT3X3);
    grid.frame->GetPanes()[4]->SelectCurrentView();
    CImageInfo* shown = grid.frame->GetPanes()[0]->m_pImage;
    grid.frame->OnCommand(ID_FRAME_SINGLELAYOUT);
    QVERIFY(grid.frame->GetSingleView());
    QCOMPARE(grid.frame->GetPaneRows(), 0);
    QCOMPARE(grid.frame->m_nRows, 0);
    QCOMPARE(grid.frame->m_nPrevRows, 3);
    // The active view's image: pane (0, 0), active since the rebuild
    QCOMPARE(grid.frame->GetSingleView()->m_pImage, shown);
    QVERIFY(!grid.frame->OnCommand(ID_FRAME_LAYOUT4X4 + 1));
}

void tst_CMyFrameWnd::fitsPanesToTheirSize()
{
    ViewerTestStudy study(m_dir.path());
    FillStudy(study);
    GridUnderTest grid;
    ShowNewStudy(grid.frame, study.SeriesKeys(), 1);
    grid.frame->OnCommand(ID_FRAME_LAYOUT2X2);
    QTRY_VERIFY(grid.frame->GetPanes()[3]->isVisible());
    for (CVantrelView* pane : grid.frame->GetPanes()) {
        QCOMPARE(pane->m_sizePane, QSize(400, 300));
        QCOMPARE(pane->m_fZoom, 10.0f);
        QCOMPARE(pane->GetTotalDeviceSize(), QSize(400, 300));
    }
    CVantrelView* last = grid.frame->GetPanes()[3];
    QCOMPARE(last->geometry(), QRect(402, 302, 398, 298));
}

void tst_CMyFrameWnd::shapesSurviveRebuildsOnTheirOwnImage()
{
    ViewerTestStudy study(m_dir.path());
    FillStudy(study);
    GridUnderTest grid;
    ShowNewStudy(grid.frame, study.SeriesKeys(), 2);
    grid.frame->OnCommand(ID_FRAME_LAYOUT2X2);
    QTRY_VERIFY(grid.frame->GetPanes()[3]->isVisible());
    CImageInfo* second = study.m_pStudy->GetFirstSeries()->GetImageAt(1);
    const CDoublePoint a(5, 10), b(35, 10);
    const COLORREF colour = RGB(0, 0, 255);
    const int width = 1;
    grid.frame->m_arrShapes.push_back(std::make_unique<CShapeLine>(&a, &b, &colour, &width));
    grid.frame->m_arrShapes.back()->SetImageKey(second->m_strSOPInstanceUID);
    for (CVantrelView* pane : grid.frame->GetPanes())
        QCOMPARE(HasRed(pane->grab().toImage()), pane->m_pImage == second);

    grid.frame->OnCommand(ID_FRAME_LAYOUT1X2);
    QTRY_VERIFY(grid.frame->GetPanes()[1]->isVisible());
    QCOMPARE(grid.frame->m_arrShapes.size(), std::size_t(1));
    QCOMPARE(grid.frame->GetPanes()[1]->m_pImage, second);
    QVERIFY(HasRed(grid.frame->GetPanes()[1]->grab().toImage()));
    QVERIFY(!HasRed(grid.frame->GetPanes()[0]->grab().toImage()));

    // In series layout the image is not shown: nothing is drawn
    theApp.m_nLayoutMode = 1;
    grid.frame->OnCommand(ID_FRAME_LAYOUT2X2);
    QCOMPARE(grid.frame->m_arrShapes.size(), std::size_t(1));
    for (CVantrelView* pane : grid.frame->GetPanes())
        QVERIFY(!HasRed(pane->grab().toImage()));
    // Hidden annotations draw nothing
    theApp.m_nLayoutMode = 2;
    grid.frame->OnCommand(ID_FRAME_LAYOUT1X2);
    g_bAnnotationsHidden = 1;
    QVERIFY(!HasRed(grid.frame->GetPanes()[1]->grab().toImage()));
}

void tst_CMyFrameWnd::deletesShapesWithTheFrame()
{
    g_nShapes = 0;
    {
        GridUnderTest grid;
        const CDoublePoint a(1, 1), b(2, 2);
        for (int i = 0; i < 3; ++i)
            grid.frame->m_arrShapes.push_back(std::make_unique<CountedLine>(&a, &b, nullptr, nullptr));
        QCOMPARE(g_nShapes, 3);
        QCOMPARE(theApp.m_pViewGridFrame, grid.frame);
    }
    QCOMPARE(g_nShapes, 0);
    QCOMPARE(theApp.m_pViewGridFrame, nullptr);
}

void tst_CMyFrameWnd::documentsBelongToTheirPanes()
{
    ViewerTestStudy study(m_dir.path());
    FillStudy(study);
    GridUnderTest grid;
    ShowNewStudy(grid.frame, study.SeriesKeys(), 1);
    grid.frame->OnCommand(ID_FRAME_LAYOUT2X2);
    std::vector<QPointer<CVantrelDoc>> old;
    for (CVantrelView* pane : grid.frame->GetPanes()) {
        QCOMPARE(pane->GetDocument()->parent(), pane);
        old.emplace_back(pane->GetDocument());
    }
    grid.frame->OnCommand(ID_FRAME_LAYOUT1X2);
    for (const QPointer<CVantrelDoc>& document : old)
        QVERIFY(!document);
    QCOMPARE(theApp.m_pDocTemplate->GetDocuments().size(), std::size_t(2));
    // Back to one view: the active view's document serves again when it shows the first key
    QPointer<CVantrelDoc> active = grid.frame->GetActiveView()->GetDocument();
    grid.frame->OnCommand(ID_FRAME_SINGLELAYOUT);
    QCOMPARE(grid.frame->GetSingleView()->GetDocument(), active.data());
    QCOMPARE(active->parent(), grid.frame->GetSingleView());
    QCOMPARE(theApp.m_pDocTemplate->GetDocuments().size(), std::size_t(1));
}

void tst_CMyFrameWnd::keepsTheTemplatesFirstDocument()
{
    ViewerTestStudy study(m_dir.path());
    FillStudy(study);
    QWidget childFrame;
    childFrame.resize(800, 600);
    QPointer<CVantrelDoc> first = qobject_cast<CVantrelDoc*>(theApp.m_pDocTemplate->CreateNewDocument());
    first->setParent(&childFrame);
    auto* frame = new CMyFrameWnd(&childFrame);
    frame->setGeometry(0, 0, 800, 600);
    frame->OnCreateClient(first);
    childFrame.show();
    QCOMPARE(frame->GetSingleView()->GetDocument(), first.data());
    ShowNewStudy(frame, study.SeriesKeys(), 1);
    frame->OnCommand(ID_FRAME_LAYOUT2X2);
    // It belongs to the child frame: emptied and forgotten by the template, not deleted
    QVERIFY(first);
    QVERIFY(first->m_arrImages.empty());
    const std::vector<CDocument*>& listed = theApp.m_pDocTemplate->GetDocuments();
    QVERIFY(std::find(listed.begin(), listed.end(), first.data()) == listed.end());
    delete frame;
    QVERIFY(first);
}

void tst_CMyFrameWnd::loadsSeriesIntoViews()
{
    ViewerTestStudy study(m_dir.path());
    FillStudy(study);
    GridUnderTest grid;
    ShowNewStudy(grid.frame, study.SeriesKeys(), 2);
    const QStringList keys = study.SeriesKeys();

    // One view: the series' first image, once
    grid.frame->LoadSeriesIntoViews(keys[3]);
    CVantrelView* single = grid.frame->GetSingleView();
    QCOMPARE(single->m_pImage->m_strFilePath, keys[3]);
    QCOMPARE(single->m_strImageKey, single->m_pImage->m_strSOPInstanceUID);
    CxImageDCM* opened = single->m_pDicomImage.get();
    grid.frame->LoadSeriesIntoViews(keys[3]);
    QCOMPARE(single->m_pDicomImage.get(), opened);
    // A mirrored view shows the new series mirrored
    single->ComposeOrientation(ID_IMAGE_MIRROR);
    grid.frame->LoadSeriesIntoViews(keys[4]);
    CxImage plain;
    plain.Copy(*single->GetDocument()->GetCurrentImage());
    plain.Mirror();
    QCOMPARE(single->m_pDisplayImage->GetQImage(), plain.GetQImage());

    // A grid: the images from the first, surplus panes blank
    grid.frame->OnCommand(ID_FRAME_LAYOUT2X2);
    grid.frame->LoadSeriesIntoViews(keys[1]);
    const std::vector<CVantrelView*> panes = grid.frame->GetPanes();
    CSeriesInfo* series = study.m_pStudy->GetSeriesAt(1);
    QCOMPARE(panes[0]->m_pImage, series->GetImageAt(0));
    QCOMPARE(panes[1]->m_pImage, series->GetImageAt(1));
    QCOMPARE(panes[1]->GetDocument()->m_strFilePath, series->GetImageAt(1)->m_strFilePath);
    QCOMPARE(panes[2]->m_pImage, nullptr);
    QCOMPARE(panes[3]->m_pImage, nullptr);
    QVERIFY(!panes[3]->m_pDisplayImage);
    // A key of no image changes nothing
    grid.frame->LoadSeriesIntoViews(QStringLiteral("/nowhere.dcm"));
    QCOMPARE(panes[0]->m_pImage, series->GetImageAt(0));
}

void tst_CMyFrameWnd::selectsOneViewOfTheGrid()
{
    ViewerTestStudy study(m_dir.path());
    FillStudy(study);
    GridUnderTest grid;
    ShowNewStudy(grid.frame, study.SeriesKeys(), 1);
    grid.frame->GetSingleView()->SelectCurrentView();
    QCOMPARE(grid.frame->GetSingleView()->m_bSelected, BYTE(1));
    grid.frame->OnCommand(ID_FRAME_LAYOUT2X2);
    const std::vector<CVantrelView*> panes = grid.frame->GetPanes();
    panes[2]->SelectCurrentView();
    for (std::size_t i = 0; i < panes.size(); ++i)
        QCOMPARE(panes[i]->m_bSelected, BYTE(i == 2 ? 1 : 0));
    QCOMPARE(grid.frame->GetSelectedView(), panes[2]);
    panes[2]->m_bSelected = 0;
    QCOMPARE(grid.frame->GetSelectedView(), nullptr);
}

void tst_CMyFrameWnd::showsCtStudyInTwoByTwoSeriesLayout()
{
    // The main window as the start-up builds it, with a CT study of four series
    FrameUnderTest app(QRect(0, 0, 1280, 1024));
    QVERIFY(app.Loaded());
    ViewerTestStudy study(m_dir.path());
    const struct
    {
        const char* description;
        const char* centre;
        const char* width;
    } kinds[] = {{"Chest soft tissue", "40", "400"}, {"Lung window", "-600", "1500"},
                 {"Bone window", "480", "2500"}, {"Mediastinum", "50", "350"}};
    for (const auto& kind : kinds) {
        CSeriesInfo* series = study.AddSeries("CT");
        ImageRecipe recipe = Preset(ImagePreset::Ct);
        recipe.columns = recipe.rows = 512;
        recipe.content = Content::Phantom;
        recipe.seriesDescription = kind.description;
        recipe.windowCenter = kind.centre;
        recipe.windowWidth = kind.width;
        QVERIFY(study.AddImage(series, recipe));
    }
    CMyFrameWnd* grid = app.Child()->GetViewGridFrame();
    QVERIFY(grid);
    QVERIFY(grid->GetSingleView());
    QCOMPARE(grid->GetSingleView()->GetDocument(), app.Document());

    theApp.m_bShowLoadingText = 0;
    ShowNewStudy(grid, study.SeriesKeys(), 1);
    QVERIFY(grid->OnCommand(ID_FRAME_LAYOUT2X2));
    // A measurement on the lung image
    CImageInfo* lung = study.m_pStudy->GetSeriesAt(1)->GetImageAt(0);
    const CDoublePoint a(150, 330), b(360, 330);
    const COLORREF green = RGB(0, 255, 0);
    const int width = 1;
    auto length = std::make_unique<CShapeLineLength>(&a, &b, &green, &width);
    length->SetImageKey(lung->m_strSOPInstanceUID);
    length->SetPixelSpacing(TRUE, 0.7, 0.7);
    grid->m_arrShapes.push_back(std::move(length));

    const std::vector<CVantrelView*> panes = grid->GetPanes();
    QCOMPARE(panes.size(), std::size_t(4));
    QTRY_VERIFY(std::all_of(panes.begin(), panes.end(), [](CVantrelView* v) { return v->isVisible(); }));
    for (std::size_t i = 0; i < panes.size(); ++i) {
        QCOMPARE(panes[i]->m_pImage, study.m_pStudy->GetSeriesAt(int(i))->GetImageAt(0));
        const QImage shot = panes[i]->grab().toImage();
        QVERIFY(qGray(shot.pixel(shot.width() / 2, shot.height() / 2)) > 0); // the body, not the background
    }
    const QImage window = app.Frame()->grab().toImage();
    const QString folder = qEnvironmentVariable("ORVANE_TEST_OUTPUT", QDir::tempPath());
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(window.save(QDir(folder).filePath(QStringLiteral("CMyFrameWnd-ct-2x2-series.png"))));
}

// A refused image in the middle of a series: its pane says why, the others show their pictures
void tst_CMyFrameWnd::goesOnPastAnImageWithoutPicture()
{
    ViewerTestStudy study(m_dir.path());
    CSeriesInfo* series = study.AddSeries("US");
    for (int i = 0; i < 3; ++i) {
        ImageRecipe recipe = Preset(ImagePreset::Ct);
        recipe.columns = 40;
        recipe.rows = 30;
        QVERIFY(study.AddImage(series, recipe, i == 1 ? Syntax::Jpeg2000 : Syntax::ExplicitLittle));
    }
    GridUnderTest grid;
    ShowNewStudy(grid.frame, study.SeriesKeys(), 2);
    QVERIFY(grid.frame->GetSingleView()->HasPicture());
    QVERIFY(grid.frame->OnCommand(ID_FRAME_LAYOUT1X3));
    QCoreApplication::processEvents();
    const std::vector<CVantrelView*> panes = grid.frame->GetPanes();
    QCOMPARE(panes.size(), std::size_t(3));
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(panes[std::size_t(i)]->m_pImage, series->GetImageAt(i));
        QCOMPARE(panes[std::size_t(i)]->HasPicture(), i != 1);
        QCOMPARE(panes[std::size_t(i)]->NoPictureText(), i == 1 ? QStringLiteral("JPEG 2000 images are not shown") : QString());
        QCOMPARE(panes[std::size_t(i)]->m_strImageText, QStringLiteral("Image  %1/3").arg(i + 1));
    }
    QVERIFY(panes[2]->m_pDisplayImage && panes[2]->m_pDisplayImage->IsValid());
    QVERIFY(panes[1]->m_strWindowWidthText.isEmpty());
    QCOMPARE(panes[2]->m_strWindowWidthText, QStringLiteral("WW = 400"));
}

void tst_CMyFrameWnd::fillsSixteenPanesPastAnUnreadableFile_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("image layout") << 2;
    QTest::newRow("series layout") << 1;
}

// The panes' images are decoded side by side: each still lands in its own pane, in order, and
// the one that can't be read says so in its pane only
void tst_CMyFrameWnd::fillsSixteenPanesPastAnUnreadableFile()
{
    QFETCH(int, mode);
    constexpr int kBroken = 6;
    ViewerTestStudy study(m_dir.path());
    std::vector<CImageInfo*> images;
    CSeriesInfo* series = study.AddSeries("CT");
    for (int i = 0; i < 16; ++i) {
        CSeriesInfo* into = mode == 2 || i == 0 ? series : study.AddSeries("CT");
        if (i == kBroken) {
            const QString broken = m_dir.filePath(QStringLiteral("broken-%1.dcm").arg(mode));
            QCOMPARE(WriteNotDicom(broken), QString());
            images.push_back(study.AddRecord(into, broken, QStringLiteral("1.2.826.0.1.%1").arg(mode)));
            continue;
        }
        ImageRecipe recipe = Preset(ImagePreset::Ct);
        recipe.columns = 20 + i; // each pane's picture has its own size
        recipe.rows = 30;
        images.push_back(study.AddImage(into, recipe));
        QVERIFY(images.back());
    }
    GridUnderTest grid;
    QStringList keys;
    if (mode == 2) {
        keys = study.SeriesKeys();
    } else {
        for (CImageInfo* image : images)
            keys << image->m_strFilePath;
    }
    ShowNewStudy(grid.frame, keys, mode);
    QVERIFY(grid.frame->OnCommand(ID_FRAME_LAYOUT4X4));
    QCoreApplication::processEvents();
    const std::vector<CVantrelView*> panes = grid.frame->GetPanes();
    QCOMPARE(panes.size(), std::size_t(16));
    int shown = 0;
    int told = 0;
    for (int i = 0; i < 16; ++i) {
        CVantrelView* pane = panes[std::size_t(i)];
        QCOMPARE(pane->m_pImage, images[std::size_t(i)]);
        QCOMPARE(pane->m_strImageKey, images[std::size_t(i)]->m_strSOPInstanceUID);
        shown += pane->HasPicture() ? 1 : 0;
        told += pane->NoPictureText().isEmpty() ? 0 : 1;
        if (i == kBroken) {
            QVERIFY(!pane->HasPicture());
            QCOMPARE(pane->NoPictureText(), QStringLiteral("The file could not be read"));
        } else {
            QVERIFY(pane->m_pDisplayImage);
            QCOMPARE(int(pane->m_pDisplayImage->GetWidth()), 20 + i);
            QCOMPARE(pane->m_strWindowWidthText, QStringLiteral("WW = 400"));
        }
    }
    QCOMPARE(shown, 15);
    QCOMPARE(told, 1);
}

void tst_CMyFrameWnd::showsThePresentationStatesWindow_data()
{
    QTest::addColumn<QString>("step");
    QTest::newRow("study shown") << "shown";
    QTest::newRow("paged with a key") << "paged";
    QTest::newRow("image layout") << "image";
    QTest::newRow("series layout") << "series";
    QTest::newRow("image layout, then single layout") << "single";
    QTest::newRow("another series, then this one again") << "thumbnail";
    QTest::newRow("cine bar's next series, then its previous") << "cinebar";
    QTest::newRow("the same while a loop runs, then stopped") << "cineloop";
}

// A presentation state gives series 0 the window 400/40 (its files say 2000/300): every image
// of that series is drawn at it and the overlay names it, wherever it is shown; series 1 keeps
// its files' window
void tst_CMyFrameWnd::showsThePresentationStatesWindow()
{
    QFETCH(QString, step);
    ViewerTestStudy study(m_dir.path());
    std::vector<PsImageRef> refs;
    for (int s = 0; s < 2; ++s) {
        CSeriesInfo* series = study.AddSeries("CT");
        for (int i = 0; i < (s == 0 ? 3 : 2); ++i) {
            ImageRecipe recipe = Preset(ImagePreset::Ct);
            recipe.columns = 40;
            recipe.rows = 30;
            recipe.windowCenter = "300";
            recipe.windowWidth = "2000";
            recipe.sopInstanceUid.clear();
            CImageInfo* image = study.AddImage(series, recipe);
            QVERIFY(image);
            if (s == 0)
                refs.push_back(PsImageRef{recipe.sopClassUid, image->m_strSOPInstanceUID.toStdString(), NewUid(), 30, 40});
        }
    }
    PresentationStateData state;
    state.images = refs;
    state.annotations = {PsAnnotation{"WINDOWCENTER", {}, {PsWindowCenter(400, 40)}, {}}};
    const QString statePath = m_dir.filePath(QStringLiteral("window-ps.dcm"));
    QCOMPARE(WritePresentationState(state, statePath), QString());

    GridUnderTest grid;
    CPresentationStateImport import;
    import.LoadPresentationState(QFile::encodeName(statePath).constData(), study.m_pStudy->GetFirstImage(),
                                 QStringLiteral("1"));
    CSeriesInfo* chosen = study.m_pStudy->GetSeriesAt(0);
    QCOMPARE(chosen->IsWindowChanged(), BYTE(1));

    const int mode = step == QLatin1String("series") ? 1 : 2;
    ShowNewStudy(grid.frame, study.SeriesKeys(), mode);
    QTRY_VERIFY_WITH_TIMEOUT(grid.frame->GetSingleView() && grid.frame->GetSingleView()->isVisible(), 5000);
    if (step == QLatin1String("paged")) {
        QTest::keyClick(grid.frame->GetSingleView(), Qt::Key_Down);
        QCOMPARE(grid.frame->GetSingleView()->m_pImage, chosen->GetImageAt(1));
    } else if (step == QLatin1String("image") || step == QLatin1String("single")) {
        grid.frame->OnCommand(ID_FRAME_LAYOUT2X2);
        if (step == QLatin1String("single")) {
            grid.frame->OnCommand(ID_FRAME_SINGLELAYOUT);
            QCOMPARE(grid.frame->GetSingleView()->m_pSeries, chosen);
        }
    } else if (step == QLatin1String("series")) {
        grid.frame->OnCommand(ID_FRAME_LAYOUT1X2);
    } else if (step == QLatin1String("thumbnail")) {
        grid.frame->LoadSeriesIntoViews(study.SeriesKeys()[1]);
        QCOMPARE(grid.frame->GetSingleView()->m_pSeries, study.m_pStudy->GetSeriesAt(1));
        grid.frame->LoadSeriesIntoViews(study.SeriesKeys()[0]);
    } else if (step == QLatin1String("cinebar") || step == QLatin1String("cineloop")) {
        CVantrelView* view = grid.frame->GetSingleView();
        auto* bar = new CineNewControls(view);
        const bool loop = step == QLatin1String("cineloop");
        if (loop) {
            bar->OnBtnPlaycinenew();
            QCOMPARE(view->m_nCineState, 1);
        }
        bar->OnCineLast();
        QCOMPARE(view->m_pSeries, study.m_pStudy->GetSeriesAt(1));
        bar->OnCineFirst();
        QCOMPARE(view->m_pSeries, chosen);
        if (loop) {
            // The loop goes on in the chosen series; stopped, it shows its frame at the loop's window
            QCOMPARE(view->m_nCineState, 1);
            const CImageInfo* first = view->m_pImage;
            QTRY_VERIFY_WITH_TIMEOUT(view->m_pImage != first, 5000);
            bar->OnBtnStaycinenew();
            QCOMPARE(view->m_nCineState, 0);
        }
    }
    QCoreApplication::processEvents();

    std::vector<CVantrelView*> views = grid.frame->GetPanes();
    if (views.empty())
        views.push_back(grid.frame->GetSingleView());
    int shown = 0;
    for (CVantrelView* view : views) {
        if (!view->m_pImage)
            continue;
        QTRY_VERIFY_WITH_TIMEOUT(view->isVisible(), 5000);
        const bool ofState = view->m_pSeries == chosen;
        const int width = ofState ? 400 : 2000;
        const int centre = ofState ? 40 : 300;
        const QString differs = DrawnDiffers(view, RenderedAt(view->m_pImage->m_strFilePath, width, centre));
        QVERIFY2(differs.isEmpty(), qPrintable(view->m_pImage->m_strFilePath + ": " + differs));
        QCOMPARE(view->m_strWindowWidthText, ViewOverlay::WindowWidthText(width));
        QCOMPARE(view->m_strWindowLevelText, ViewOverlay::WindowLevelText(centre));
        shown += ofState;
    }
    QCOMPARE(shown, step == QLatin1String("image") ? 3 : 1);
}

QTEST_MAIN(tst_CMyFrameWnd)
#include "tst_CMyFrameWnd.moc"
