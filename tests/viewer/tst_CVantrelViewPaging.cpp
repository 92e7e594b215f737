// Keys and the wheel on a viewport, sent as real key and wheel events: paging through the
// frames, images and series of a study with wrapping (back lands on the last frame), the
// wheel's steps per notch, paging the grid of an image layout by pages (partial pages blank,
// back to the previous series' last page, the selection kept on an image), the gates, the
// keypad zoom about the centre, the orientation kept once per new image, Escape ending a
// half-drawn Cobb angle, multi-frame series in an image layout paged in whole pages both ways,
// keys and the wheel over a blank pane, and a paused loop that a page ends.

// Qt
#include <QtTest>

// std
#include <memory>

// Orvane
#include "annotation/CShapeCobbAngle.h"
#include "app/COstrevanApp.h"
#include "platform/CxImage.h"
#include "res/resource.h"
#include "study/CSeriesInfo.h"
#include "study/CStudyInfo.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tests/viewer/ShownStudy.h"
#include "state/ToolState.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"
#include "viewer/CineNewControls.h"

using namespace Fixtures;

namespace {

ImageRecipe Single()
{
    ImageRecipe recipe = Preset(ImagePreset::Grey8);
    recipe.columns = 16;
    recipe.rows = 12;
    recipe.sopInstanceUid.clear();
    return recipe;
}

ImageRecipe MultiFrame(int frames)
{
    ImageRecipe recipe = Preset(ImagePreset::MultiFrameGrey);
    recipe.columns = 16;
    recipe.rows = 12;
    recipe.frames = frames;
    recipe.sopInstanceUid.clear();
    return recipe;
}

// Where a view stands: series, image and frame; (-1, -1, 0) for an empty pane
struct Place
{
    int series = -1;
    int image = -1;
    int frame = 0;
    bool operator==(const Place&) const = default;
};

Place PlaceOf(const CVantrelView* view)
{
    if (!view->m_pSeries || !view->m_pImage || !view->m_pStudy)
        return Place{};
    return Place{view->m_pStudy->GetSeriesIndex(view->m_pSeries), view->m_pSeries->GetImageIndex(view->m_pImage),
                 view->m_nCurrentFrame};
}

QString Text(const Place& p)
{
    return QStringLiteral("(%1, %2, %3)").arg(p.series).arg(p.image).arg(p.frame);
}

void Key(QWidget* view, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(view, key, modifiers);
}

void Wheel(QWidget* view, QPoint delta)
{
    const QPointF at(view->width() / 2.0, view->height() / 2.0);
    QWheelEvent event(at, view->mapToGlobal(at), QPoint(), delta, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &event);
}

// Image indexes the panes of a grid show, row by row (-1 for a blank pane), and their series
QString PageOf(CMyFrameWnd* grid)
{
    QStringList cells;
    for (CVantrelView* pane : grid->GetPanes()) {
        const Place p = PlaceOf(pane);
        cells << (p.series < 0 ? QStringLiteral("-") : QStringLiteral("%1:%2").arg(p.series).arg(p.image));
    }
    return cells.join(QLatin1Char(' '));
}

// The file at `path` as a load renders it (its own window)
QImage FileAsLoaded(const QString& path)
{
    CxImageDCM dicom;
    QList<CxImage*> rendered;
    const QByteArray name = QFile::encodeName(path);
    dicom.LoadDCM(name.constData(), &rendered, FALSE);
    const QImage picture = rendered.isEmpty() ? QImage() : rendered.front()->GetQImage();
    qDeleteAll(rendered);
    return picture;
}

// The page of a grid and the frame its selected pane shows
QString PageAndFrame(CMyFrameWnd* grid)
{
    const CVantrelView* selected = grid->GetSelectedView();
    return PageOf(grid) + QStringLiteral(" f%1").arg(selected ? selected->m_nCurrentFrame : -1);
}

} // namespace

class tst_CVantrelViewPaging : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_codecs = std::make_unique<DicomCodecs>();
        QVERIFY(m_dir.isValid());
    }
    void init()
    {
        ClearToolState();
        theApp.m_bThumbThreadRunning = 0;
    }

    void pagesFramesImagesAndSeries();
    void wheelStepsPerNotch_data();
    void wheelStepsPerNotch();
    void pagesTheGridOfAnImageLayout();
    void gatesStopPaging_data();
    void gatesStopPaging();
    void keypadZoomsAboutTheCentre();
    void newImagesTakeTheOrientationOnce();
    void escapeEndsAHalfDrawnCobbAngle();
    void pagingStopsALoopOfAnotherPane();
    void pagingClosesATextBeingTyped_data();
    void pagingClosesATextBeingTyped();
    void pagesMultiFrameSeriesInWholePages();
    void blankPanePagesTheGrid_data();
    void blankPanePagesTheGrid();
    void pageEndsAPausedLoop_data();
    void pageEndsAPausedLoop();

private:
    // Series 0: ten single-frame images; series 1: a ten-frame file and a single image;
    // series 2: four images
    bool ShowMixedStudy(ShownStudy& shown)
    {
        CSeriesInfo* first = shown.Study().AddSeries("OT");
        for (int i = 0; i < 10; ++i)
            if (!shown.Study().AddImage(first, Single()))
                return false;
        CSeriesInfo* second = shown.Study().AddSeries("OT");
        if (!shown.Study().AddImage(second, MultiFrame(10)) || !shown.Study().AddImage(second, Single()))
            return false;
        CSeriesInfo* third = shown.Study().AddSeries("OT");
        for (int i = 0; i < 4; ++i)
            if (!shown.Study().AddImage(third, Single()))
                return false;
        return shown.Show(1);
    }

    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_CVantrelViewPaging::pagesFramesImagesAndSeries()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowMixedStudy(shown));
    CVantrelView* view = shown.View();

    // Every place in order from the first to the last
    QList<Place> order;
    for (int i = 0; i < 10; ++i)
        order << Place{0, i, 0};
    for (int f = 0; f < 10; ++f)
        order << Place{1, 0, f};
    order << Place{1, 1, 0};
    for (int i = 0; i < 4; ++i)
        order << Place{2, i, 0};

    QCOMPARE(PlaceOf(view), order.front());
    for (qsizetype i = 1; i < order.size(); ++i) {
        Key(view, Qt::Key_Down);
        QVERIFY2(PlaceOf(view) == order[i], qPrintable(Text(PlaceOf(view)) + " after Down " + QString::number(i)));
    }
    // Down at the last image of the last series changes nothing
    Key(view, Qt::Key_Down);
    QCOMPARE(Text(PlaceOf(view)), Text(order.back()));
    const QString key = view->m_strImageKey;
    QCOMPARE(key, view->m_pImage->m_strSOPInstanceUID);
    // And back: the multi-frame image is entered at its last frame
    for (qsizetype i = order.size() - 2; i >= 0; --i) {
        Key(view, Qt::Key_Up);
        QVERIFY2(PlaceOf(view) == order[i], qPrintable(Text(PlaceOf(view)) + " after Up to " + QString::number(i)));
    }
    Key(view, Qt::Key_Up);
    QCOMPARE(Text(PlaceOf(view)), Text(order.front()));
    // The frame shown is the frame the file holds at that place
    QVERIFY(view->m_pDisplayImage && view->m_pDisplayImage->GetWidth() == 16);
}

void tst_CVantrelViewPaging::wheelStepsPerNotch_data()
{
    QTest::addColumn<QList<QPoint>>("deltas");
    QTest::addColumn<int>("steps"); // images forward from image 5
    QTest::newRow("one notch towards the user") << QList<QPoint>{{0, -120}} << 1;
    QTest::newRow("one notch away") << QList<QPoint>{{0, 120}} << -1;
    QTest::newRow("two notches in one event") << QList<QPoint>{{0, -240}} << 2;
    QTest::newRow("trackpad deltas add up") << QList<QPoint>{{0, -40}, {0, -40}, {0, -40}} << 1;
    QTest::newRow("less than a notch") << QList<QPoint>{{0, -40}, {0, -70}} << 0;
    QTest::newRow("a turn back starts afresh") << QList<QPoint>{{0, -100}, {0, 40}, {0, -100}} << 0;
    QTest::newRow("zero delta ends a gesture") << QList<QPoint>{{0, 0}} << 0;
    QTest::newRow("horizontal only") << QList<QPoint>{{-120, 0}, {240, 0}} << 0;
}

void tst_CVantrelViewPaging::wheelStepsPerNotch()
{
    QFETCH(QList<QPoint>, deltas);
    QFETCH(int, steps);
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowMixedStudy(shown));
    CVantrelView* view = shown.View();
    for (int i = 0; i < 5; ++i)
        Key(view, Qt::Key_Down);
    QCOMPARE(Text(PlaceOf(view)), Text(Place{0, 5, 0}));
    for (const QPoint& delta : deltas)
        Wheel(view, delta);
    QCOMPARE(Text(PlaceOf(view)), Text(Place{0, 5 + steps, 0}));
}

void tst_CVantrelViewPaging::pagesTheGridOfAnImageLayout()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* first = shown.Study().AddSeries("CR");
    for (int i = 0; i < 10; ++i)
        QVERIFY(shown.Study().AddImage(first, Single()));
    CSeriesInfo* second = shown.Study().AddSeries("CR");
    for (int i = 0; i < 4; ++i)
        QVERIFY(shown.Study().AddImage(second, Single()));
    QVERIFY(shown.Show(2));
    CMyFrameWnd* grid = shown.Grid();
    grid->OnCommand(ID_FRAME_LAYOUT2X2);
    QCoreApplication::processEvents();
    QCOMPARE(PageOf(grid), QStringLiteral("0:0 0:1 0:2 0:3"));

    // The bottom right pane is selected; a key goes to the pane with the focus
    CVantrelView* last = grid->GetPane(1, 1);
    last->SelectCurrentView();
    grid->SetActiveView(last);
    Key(last, Qt::Key_Down);
    QCOMPARE(PageOf(grid), QStringLiteral("0:4 0:5 0:6 0:7"));
    Key(last, Qt::Key_Down);
    QCOMPARE(PageOf(grid), QStringLiteral("0:8 0:9 - -"));
    // The blanked selected pane handed the selection to a pane with an image
    CVantrelView* selected = grid->GetSelectedView();
    QVERIFY(selected && selected->m_pImage);
    QCOMPARE(selected, grid->GetPane(0, 0));
    QCOMPARE(selected->m_bSelected, BYTE(1));
    QCOMPARE(grid->GetPane(1, 1)->m_bSelected, BYTE(0));
    // The wheel over any pane pages the grid
    Wheel(grid->GetPane(0, 1), QPoint(0, -120));
    QCOMPARE(PageOf(grid), QStringLiteral("1:0 1:1 1:2 1:3"));
    // Nothing after the last series
    Key(grid->GetPane(0, 0), Qt::Key_Down);
    QCOMPARE(PageOf(grid), QStringLiteral("1:0 1:1 1:2 1:3"));
    // Back to the previous series' last page, then page by page to its start
    Key(grid->GetPane(0, 0), Qt::Key_Up);
    QCOMPARE(PageOf(grid), QStringLiteral("0:8 0:9 - -"));
    Wheel(grid->GetPane(0, 1), QPoint(0, 120));
    QCOMPARE(PageOf(grid), QStringLiteral("0:4 0:5 0:6 0:7"));
    Key(grid->GetPane(0, 0), Qt::Key_Up);
    QCOMPARE(PageOf(grid), QStringLiteral("0:0 0:1 0:2 0:3"));
    Key(grid->GetPane(0, 0), Qt::Key_Up);
    QCOMPARE(PageOf(grid), QStringLiteral("0:0 0:1 0:2 0:3"));
}

void tst_CVantrelViewPaging::gatesStopPaging_data()
{
    QTest::addColumn<QString>("gate");
    QTest::newRow("cine running") << "cine";
    QTest::newRow("button held") << "held";
    QTest::newRow("thumbnail run") << "thumbnails";
}

void tst_CVantrelViewPaging::gatesStopPaging()
{
    QFETCH(QString, gate);
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowMixedStudy(shown));
    CVantrelView* view = shown.View();
    if (gate == QLatin1String("cine"))
        view->m_bCineRunning = 1;
    else if (gate == QLatin1String("held"))
        view->m_bMouseDown = TRUE;
    else
        theApp.m_bThumbThreadRunning = 1;
    Key(view, Qt::Key_Down);
    // The wheel has no button gate
    if (gate != QLatin1String("held"))
        Wheel(view, QPoint(0, -120));
    QCOMPARE(Text(PlaceOf(view)), Text(Place{0, 0, 0}));
    view->m_bCineRunning = 0;
    view->m_bMouseDown = FALSE;
    theApp.m_bThumbThreadRunning = 0;
    Key(view, Qt::Key_Down);
    QCOMPARE(Text(PlaceOf(view)), Text(Place{0, 1, 0}));
}

void tst_CVantrelViewPaging::keypadZoomsAboutTheCentre()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("OT");
    ImageRecipe recipe = Single();
    recipe.columns = recipe.rows = 200;
    QVERIFY(shown.Study().AddImage(series, recipe));
    QVERIFY(shown.Show(1));
    CVantrelView* view = shown.View();
    const auto centre = [view] {
        const QSize extent = view->GetTotalDeviceSize();
        return QPointF(view->m_ptPanOffset.x() + extent.width() / 2.0, view->m_ptPanOffset.y() + extent.height() / 2.0);
    };
    const QPointF before = centre();
    const float zoom = view->m_fZoom;
    // The main keyboard's plus does not zoom
    Key(view, Qt::Key_Plus);
    QCOMPARE(view->m_fZoom, zoom);
    Key(view, Qt::Key_Plus, Qt::KeypadModifier);
    QVERIFY(view->m_fZoom > zoom);
    QCOMPARE(view->m_fZoom, float(zoom + 2 * view->m_dZoomStep));
    QVERIFY(qAbs(centre().x() - before.x()) <= 1.0 && qAbs(centre().y() - before.y()) <= 1.0);
    QCOMPARE(g_bZoomMode, BYTE(1));
    QCOMPARE(g_bWindowLevelMode, 0);
    // Out down to 150 pixels of width, then nothing until a zoom in
    for (int i = 0; i < 400 && !view->m_bMinZoomReached; ++i)
        Key(view, Qt::Key_Minus, Qt::KeypadModifier);
    QCOMPARE(view->m_bMinZoomReached, 1);
    QCOMPARE(view->GetTotalDeviceSize().width(), 150);
    QVERIFY(qAbs(centre().x() - before.x()) <= 2.0 && qAbs(centre().y() - before.y()) <= 2.0);
    const float floor = view->m_fZoom;
    Key(view, Qt::Key_Minus, Qt::KeypadModifier);
    QCOMPARE(view->m_fZoom, floor);
    Key(view, Qt::Key_Plus, Qt::KeypadModifier);
    QVERIFY(view->m_fZoom > floor);
    QCOMPARE(view->m_bMinZoomReached, 0);
}

void tst_CVantrelViewPaging::newImagesTakeTheOrientationOnce()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowMixedStudy(shown));
    CVantrelView* view = shown.View();
    view->TakeImageCommand(ID_IMAGE_ROTATERIGHT);
    view->TakeImageCommand(ID_IMAGE_MIRROR);
    view->TakeImageCommand(ID_IMAGE_NEGATIVE);
    for (int i = 0; i < 10; ++i)
        Key(view, Qt::Key_Down);
    QCOMPARE(Text(PlaceOf(view)), Text(Place{1, 0, 0}));
    Key(view, Qt::Key_Down);
    QCOMPARE(view->m_nCurrentFrame, 1);
    // A frame of the multi-frame image, and the next single image, as the state says
    for (int step = 0; step < 2; ++step) {
        std::unique_ptr<CxImage> plain(view->m_pDicomImage->WindowLevelling(int(view->GetDocument()->m_fWindowWidth),
                                                                            int(view->GetDocument()->m_fWindowCenter)));
        QVERIFY(plain);
        QImage expected = plain->GetQImage().transformed(QTransform().rotate(90)).mirrored(true, false);
        expected.invertPixels();
        QCOMPARE(view->m_pDisplayImage->GetQImage(), expected);
        if (step == 0) {
            for (int i = 0; i < 9; ++i)
                Key(view, Qt::Key_Down);
            QCOMPARE(Text(PlaceOf(view)), Text(Place{1, 1, 0}));
        }
    }
}

void tst_CVantrelViewPaging::escapeEndsAHalfDrawnCobbAngle()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("OT");
    ImageRecipe recipe = Single();
    recipe.columns = recipe.rows = 200;
    QVERIFY(shown.Study().AddImage(series, recipe));
    QVERIFY(shown.Show(1));
    CVantrelView* view = shown.View();
    ClearToolModes();
    m_nDrawShape = COBBANGLE;
    g_bToolActive = 1;
    const QPoint a = view->m_ptPanOffset + QPoint(20, 20), b = view->m_ptPanOffset + QPoint(80, 40);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, a);
    QMouseEvent move(QEvent::MouseMove, QPointF(b), view->mapToGlobal(QPointF(b)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, b);
    QCOMPARE(view->m_nCobbStage, 1);
    QCOMPARE(shown.Grid()->m_arrShapes.size(), std::size_t(1));
    Key(view, Qt::Key_Escape);
    QCOMPARE(view->m_nCobbStage, 0);
    QVERIFY(shown.Grid()->m_arrShapes.empty());
    QVERIFY(!view->m_pDrawingShape);
}

// A page moves every pane of the grid: a pane playing its series stops first
void tst_CVantrelViewPaging::pagingStopsALoopOfAnotherPane()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("CR");
    for (int i = 0; i < 10; ++i)
        QVERIFY(shown.Study().AddImage(series, Single()));
    QVERIFY(shown.Show(2));
    CMyFrameWnd* grid = shown.Grid();
    grid->OnCommand(ID_FRAME_LAYOUT2X2);
    QCoreApplication::processEvents();
    CVantrelView* playing = grid->GetPane(0, 1);
    playing->RunDCMCine();
    QVERIFY(playing->m_bCineRunning);
    Key(grid->GetPane(0, 0), Qt::Key_Down);
    QCOMPARE(playing->m_bCineRunning, 0);
    QCOMPARE(series->IsCineRunning(), BYTE(0));
    QCOMPARE(PageOf(grid), QStringLiteral("0:4 0:5 0:6 0:7"));
}

void tst_CVantrelViewPaging::pagingClosesATextBeingTyped_data()
{
    QTest::addColumn<int>("grid");
    QTest::newRow("single view") << 0;
    QTest::newRow("image layout 1 x 2") << int(ID_FRAME_LAYOUT1X2);
}

// The text would land on the next image of its pane
void tst_CVantrelViewPaging::pagingClosesATextBeingTyped()
{
    QFETCH(int, grid);
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("CR");
    for (int i = 0; i < 4; ++i)
        QVERIFY(shown.Study().AddImage(series, Single()));
    QVERIFY(shown.Show(2));
    if (grid)
        shown.Grid()->OnCommand(grid);
    QCoreApplication::processEvents();
    CVantrelView* view = grid ? shown.Grid()->GetPane(0, 1) : shown.View();
    view->OpenTextEdit(QRect(10, 10, 80, 30));
    QVERIFY(view->IsTextEditOpen());
    CVantrelView* selected = shown.Grid()->GetSelectedView();
    QVERIFY(selected);
    Key(selected, Qt::Key_Down);
    QVERIFY(!view->IsTextEditOpen());
}

// Three series of three-frame images (5, 2 and 5 of them) in a 2 x 2 image layout: the keys
// step the selected pane's frames, then the whole grid a page at a time, every pane on one
// series; the previous series is entered at its last page, and every series is reached both ways
void tst_CVantrelViewPaging::pagesMultiFrameSeriesInWholePages()
{
    ShownStudy shown(m_dir.path());
    for (int count : {5, 2, 5}) {
        CSeriesInfo* series = shown.Study().AddSeries("XA");
        for (int i = 0; i < count; ++i)
            QVERIFY(shown.Study().AddImage(series, MultiFrame(3)));
    }
    QVERIFY(shown.Show(2));
    CMyFrameWnd* grid = shown.Grid();
    grid->OnCommand(ID_FRAME_LAYOUT2X2);
    QCoreApplication::processEvents();
    CVantrelView* first = grid->GetPane(0, 0);
    QCOMPARE(grid->GetSelectedView(), first);
    QCOMPARE(PageAndFrame(grid), QStringLiteral("0:0 0:1 0:2 0:3 f0"));

    const QStringList down = {
        "0:0 0:1 0:2 0:3 f1", "0:0 0:1 0:2 0:3 f2", "0:4 - - - f0", "0:4 - - - f1", "0:4 - - - f2",
        "1:0 1:1 - - f0",     "1:0 1:1 - - f1",     "1:0 1:1 - - f2", "2:0 2:1 2:2 2:3 f0",
        "2:0 2:1 2:2 2:3 f1", "2:0 2:1 2:2 2:3 f2", "2:4 - - - f0",   "2:4 - - - f1",
        "2:4 - - - f2",       "2:4 - - - f2"}; // nothing after the last frame of the last page
    for (qsizetype i = 0; i < down.size(); ++i) {
        QTest::keyClick(first, Qt::Key_Down);
        QVERIFY2(PageAndFrame(grid) == down[i], qPrintable(QStringLiteral("Down %1: %2").arg(i + 1).arg(PageAndFrame(grid))));
    }
    const QStringList up = {"2:4 - - - f1", "2:4 - - - f0",  "2:0 2:1 2:2 2:3 f0",  "1:0 1:1 - - f0",
                            "0:4 - - - f0", "0:0 0:1 0:2 0:3 f0", "0:0 0:1 0:2 0:3 f0"};
    for (qsizetype i = 0; i < up.size(); ++i) {
        QTest::keyClick(first, Qt::Key_Up);
        QVERIFY2(PageAndFrame(grid) == up[i], qPrintable(QStringLiteral("Up %1: %2").arg(i + 1).arg(PageAndFrame(grid))));
    }
    // Each pane draws the image it names
    for (CVantrelView* pane : grid->GetPanes()) {
        QVERIFY(pane->m_pImage && pane->m_pDisplayImage);
        QCOMPARE(pane->m_pDisplayImage->GetQImage(), FileAsLoaded(pane->m_pImage->m_strFilePath));
    }
}

void tst_CVantrelViewPaging::blankPanePagesTheGrid_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("input");
    QTest::newRow("image layout, wheel") << 2 << "wheel";
    QTest::newRow("image layout, keys") << 2 << "keys";
    QTest::newRow("series layout, wheel") << 1 << "wheel";
}

// The wheel (and the keys, once a click gave the blank pane the focus) over a blank pane page
// the grid as over any other pane
void tst_CVantrelViewPaging::blankPanePagesTheGrid()
{
    QFETCH(int, mode);
    QFETCH(QString, input);
    ShownStudy shown(m_dir.path());
    for (int count : {6, 4, 2}) {
        CSeriesInfo* series = shown.Study().AddSeries("CR");
        for (int i = 0; i < count; ++i)
            QVERIFY(shown.Study().AddImage(series, Single()));
    }
    QVERIFY(shown.Show(mode));
    CMyFrameWnd* grid = shown.Grid();
    grid->OnCommand(ID_FRAME_LAYOUT2X2);
    QCoreApplication::processEvents();
    const auto step = [&](CVantrelView* over, bool down) {
        if (input == QLatin1String("wheel")) {
            Wheel(over, QPoint(0, down ? -120 : 120));
        } else {
            QTest::mouseClick(over, Qt::LeftButton, Qt::NoModifier, over->rect().center());
            Key(over, down ? Qt::Key_Down : Qt::Key_Up);
        }
    };
    if (mode == 1) {
        // Three series in four panes: the last pane is blank and pages the selected one
        QCOMPARE(PageOf(grid), QStringLiteral("0:0 1:0 2:0 -"));
        step(grid->GetPane(1, 1), true);
        QCOMPARE(PageOf(grid), QStringLiteral("0:1 1:0 2:0 -"));
        step(grid->GetPane(1, 1), false);
        QCOMPARE(PageOf(grid), QStringLiteral("0:0 1:0 2:0 -"));
        return;
    }
    Key(grid->GetPane(0, 0), Qt::Key_Down);
    QCOMPARE(PageOf(grid), QStringLiteral("0:4 0:5 - -"));
    step(grid->GetPane(1, 0), true);
    QCOMPARE(PageOf(grid), QStringLiteral("1:0 1:1 1:2 1:3"));
    step(grid->GetPane(0, 1), true);
    QCOMPARE(PageOf(grid), QStringLiteral("2:0 2:1 - -"));
    step(grid->GetPane(1, 1), false);
    QCOMPARE(PageOf(grid), QStringLiteral("1:0 1:1 1:2 1:3"));
}

void tst_CVantrelViewPaging::pageEndsAPausedLoop_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("frames"); // the first series is one multi-frame image, else three images
    QTest::newRow("key, loop of frames") << "key" << true;
    QTest::newRow("wheel, loop of frames") << "wheel" << true;
    QTest::newRow("key, loop of images") << "key" << false;
    QTest::newRow("cine bar's next frame, loop of images") << "bar" << false;
}

// A loop paused in the single view, then pages into another series: Play plays what is shown
// now, each picture the one the labels name
void tst_CVantrelViewPaging::pageEndsAPausedLoop()
{
    QFETCH(QString, input);
    QFETCH(bool, frames);
    ShownStudy shown(m_dir.path());
    CSeriesInfo* first = shown.Study().AddSeries("MR");
    for (int i = 0; i < (frames ? 1 : 3); ++i)
        QVERIFY(shown.Study().AddImage(first, frames ? MultiFrame(10) : Single()));
    CSeriesInfo* second = shown.Study().AddSeries("US");
    for (int i = 0; i < 2; ++i) {
        ImageRecipe echo = Preset(ImagePreset::Grey8);
        echo.columns = 20;
        echo.rows = 20;
        echo.modality = "US";
        echo.seriesDescription = "ECHO";
        echo.sopInstanceUid.clear();
        QVERIFY(shown.Study().AddImage(second, echo));
    }
    QVERIFY(shown.Show(1));
    CVantrelView* view = shown.View();
    auto* bar = new CineNewControls(view);
    bar->m_bShown = 1;
    bar->show();
    bar->m_sliderSpeed.SetPos(40);

    bar->OnBtnPlaycinenew();
    QCOMPARE(view->m_nCineState, 1);
    QVERIFY(QTest::qWaitFor([&] { return view->GetCineFramesShown() >= 3; }, 5000));
    bar->OnBtnPlaycinenew();
    QCOMPARE(view->m_nCineState, 2);

    for (int i = 0; i < 20 && view->m_pSeries != second; ++i) {
        if (input == QLatin1String("key"))
            Key(view, Qt::Key_Down);
        else if (input == QLatin1String("wheel"))
            Wheel(view, QPoint(0, -120));
        else
            bar->OnNextFrame();
    }
    QCOMPARE(view->m_pSeries, second);
    QCOMPARE(view->m_nCineState, 0);
    QCOMPARE(first->IsCineRunning(), BYTE(0));

    bar->OnBtnPlaycinenew();
    QCOMPARE(view->m_nCineState, 1);
    QVERIFY(QTest::qWaitFor([&] { return view->GetCineFramesShown() >= 3; }, 5000));
    for (int turn = 0; turn < 3; ++turn) {
        const long long count = view->GetCineFramesShown();
        QVERIFY(QTest::qWaitFor([&] { return view->GetCineFramesShown() > count; }, 5000));
        QCOMPARE(view->m_pSeries, second);
        QCOMPARE(view->m_strModality, QStringLiteral("US"));
        QCOMPARE(view->m_strSeriesDescription, QStringLiteral("ECHO"));
        QCOMPARE(view->m_pDisplayImage->GetQImage(), FileAsLoaded(view->m_pImage->m_strFilePath));
        QVERIFY(view->grab().toImage().size() == view->size());
    }
    QCOMPARE(second->IsCineRunning(), BYTE(1));
    view->StopCine();
}

QTEST_MAIN(tst_CVantrelViewPaging)
#include "tst_CVantrelViewPaging.moc"
