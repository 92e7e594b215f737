// The image commands on a small asymmetric image and their repetition in the other panes: the
// pixels of each command, a composed orientation kept through a window change, repetition in
// an image layout and never in a series layout, empty and playing panes that take the turn and
// the inversion for the images they show later (and Reset for all of them), a turn that keeps
// the zoom and pan the user chose, zoom of the other panes about their centres, Erase All, and
// a shape that covers the same image pixels through turns, rebuilds, paging and a second view.

// Qt
#include <QtTest>

// std
#include <memory>

// Orvane
#include "annotation/CShapeLine.h"
#include "annotation/CShapeLineLength.h"
#include "app/COstrevanApp.h"
#include "platform/CxImage.h"
#include "res/resource.h"
#include "study/CSeriesInfo.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tests/viewer/ShownStudy.h"
#include "state/ToolState.h"
#include "toolpanes/COrientationTools.h"
#include "toolpanes/CToolView.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"
#include "viewer/ViewGeometry.h"
#include "viewer/ViewOrientation.h"

using namespace Fixtures;

namespace {

// 7 x 4 pixels of a ramp over x and y: no two of its turns and flips look alike
ImageRecipe Asymmetric()
{
    ImageRecipe recipe = Preset(ImagePreset::Grey8);
    recipe.columns = 7;
    recipe.rows = 4;
    // Every image its own key
    recipe.sopInstanceUid.clear();
    return recipe;
}

// The expected picture of a command applied to `shown`
QImage Expected(const QImage& shown, int command)
{
    switch (command) {
    case ID_IMAGE_MIRROR:
        return shown.mirrored(true, false);
    case ID_IMAGE_FLIP:
        return shown.mirrored(false, true);
    case ID_IMAGE_ROTATERIGHT:
        return shown.transformed(QTransform().rotate(90));
    case ID_IMAGE_ROTATELEFT:
        return shown.transformed(QTransform().rotate(-90));
    case ID_IMAGE_NEGATIVE: {
        QImage inverted = shown;
        inverted.invertPixels();
        return inverted;
    }
    default:
        return shown;
    }
}

QImage Shown(const CVantrelView* view)
{
    return view->m_pDisplayImage ? view->m_pDisplayImage->GetQImage() : QImage();
}

// The picture of `view`'s image as loaded, unturned (its document's bitmap)
QImage AsLoaded(const CVantrelView* view)
{
    const CxImage* bitmap = view->GetDocument() ? view->GetDocument()->GetCurrentImage() : nullptr;
    return bitmap ? bitmap->GetQImage() : QImage();
}

// The file at `path` as a load renders it (its own window), unturned
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

// The file at `path` rendered by itself at (width, centre)
QImage FileAt(const QString& path, int width, int centre)
{
    CxImageDCM dicom;
    QList<CxImage*> rendered;
    const QByteArray name = QFile::encodeName(path);
    dicom.LoadDCM(name.constData(), &rendered, FALSE);
    qDeleteAll(rendered);
    std::unique_ptr<CxImage> windowed(dicom.WindowLevelling(width, centre));
    return windowed ? windowed->GetQImage() : QImage();
}

// Mouse input as the view receives it
void Send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void Drag(QWidget* w, QPoint from, QPoint to)
{
    Send(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    Send(w, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    Send(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    Send(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

// A click on a button of the tool bar or a panel, and what it posted
void Click(QWidget* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
}

// The orientation panel's clockwise turn, clicked as the user does
void TurnClockwise(ShownStudy& shown)
{
    CToolView* bar = shown.ToolBar();
    if (!bar->m_pOrientationPopup)
        Click(&bar->m_btnOrientation);
    auto* panel = qobject_cast<COrientationTools*>(bar->m_pOrientationPopup.data());
    QVERIFY(panel);
    Click(panel->m_apButtons[1]);
}

// Red pixels of a grab, taken back to pixels of the unturned image of `source` size: their mean
QPointF RedSourceCentre(CVantrelView* view, QSize source)
{
    const QImage shot = view->grab().toImage();
    const ViewOrientation o = view->GetOrientation();
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            // Red, also where the anti-aliased line only half covers a pixel of the grey image
            const QRgb c = shot.pixel(x, y);
            if (qRed(c) - std::max(qGreen(c), qBlue(c)) < 100)
                continue;
            const QPoint displayed(int((x - view->m_ptPanOffset.x()) / view->m_fZoom),
                                   int((y - view->m_ptPanOffset.y()) / view->m_fZoom));
            const QPoint p = Orientation::SourcePixel(o, displayed, source);
            sx += p.x();
            sy += p.y();
            ++n;
        }
    return n ? QPointF(sx / n, sy / n) : QPointF(-1, -1);
}

} // namespace

class tst_CVantrelViewImageOps : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_codecs = std::make_unique<DicomCodecs>();
        QVERIFY(m_dir.isValid());
    }
    void init() { ClearToolState(); }

    void commandChangesThePixels_data();
    void commandChangesThePixels();
    void composedPictureSurvivesAWindowChange();
    void repeatsOnlyInAnImageLayout_data();
    void repeatsOnlyInAnImageLayout();
    void everyPaneTakesTheTurnAndTheInversion();
    void playingPaneTakesTheTurnAndTheReset();
    void turnKeepsTheUsersZoomAndPan_data();
    void turnKeepsTheUsersZoomAndPan();
    void resetBringsEveryPaneToItsFilesWindow();
    void otherPanesZoomAboutTheirCentres();
    void eraseAllRemovesTheShapesOfTheImage();
    void shapeKeepsItsImagePixels();
    void measuresAlongTheAxesTheViewShows_data();
    void measuresAlongTheAxesTheViewShows();

private:
    // `count` images of one series; in layout mode `mode`, then the grid command `grid`
    bool ShowSeries(ShownStudy& shown, int count, int mode, int grid, ImageRecipe recipe = Asymmetric())
    {
        CSeriesInfo* series = shown.Study().AddSeries("OT");
        for (int i = 0; i < count; ++i)
            if (!shown.Study().AddImage(series, recipe))
                return false;
        if (!shown.Show(mode))
            return false;
        if (grid)
            shown.Grid()->OnCommand(grid);
        QCoreApplication::processEvents();
        return true;
    }

    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_CVantrelViewImageOps::commandChangesThePixels_data()
{
    QTest::addColumn<int>("command");
    QTest::newRow("mirror") << ID_IMAGE_MIRROR;
    QTest::newRow("flip") << ID_IMAGE_FLIP;
    QTest::newRow("rotate right") << ID_IMAGE_ROTATERIGHT;
    QTest::newRow("rotate left") << ID_IMAGE_ROTATELEFT;
    QTest::newRow("negative") << ID_IMAGE_NEGATIVE;
}

void tst_CVantrelViewImageOps::commandChangesThePixels()
{
    QFETCH(int, command);
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 1, 1, 0));
    CVantrelView* view = shown.View();
    const QImage before = Shown(view);
    QCOMPARE(before.size(), QSize(7, 4));
    view->TakeImageCommand(command);
    QCOMPARE(Shown(view), Expected(before, command));
    // The view's state says the same: the next render comes out alike
    const QImage after = Shown(view);
    view->SetSelectImage();
    QCOMPARE(Shown(view), after);
}

void tst_CVantrelViewImageOps::composedPictureSurvivesAWindowChange()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 1, 1, 0));
    CVantrelView* view = shown.View();
    view->TakeImageCommand(ID_IMAGE_ROTATERIGHT);
    view->TakeImageCommand(ID_IMAGE_MIRROR);
    view->RenderWithWindowLevel(100, 60);
    std::unique_ptr<CxImage> plain(view->m_pDicomImage->WindowLevelling(100, 60));
    QVERIFY(plain);
    const QImage expected = plain->GetQImage().transformed(QTransform().rotate(90)).mirrored(true, false);
    QCOMPARE(Shown(view), expected);
}

void tst_CVantrelViewImageOps::repeatsOnlyInAnImageLayout_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("repeated");
    for (int command : {ID_IMAGE_ROTATERIGHT, ID_IMAGE_ROTATELEFT, ID_IMAGE_MIRROR, ID_IMAGE_FLIP, ID_IMAGE_NEGATIVE}) {
        const QByteArray name = QByteArray::number(command);
        QTest::newRow("image layout " + name) << 2 << command << true;
        QTest::newRow("series layout " + name) << 1 << command << false;
    }
}

void tst_CVantrelViewImageOps::repeatsOnlyInAnImageLayout()
{
    QFETCH(int, mode);
    QFETCH(int, command);
    QFETCH(bool, repeated);
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("OT");
    // Series layout needs four series to fill the grid; image layout four images of one
    for (int i = 0; i < 4; ++i)
        QVERIFY(shown.Study().AddImage(mode == 1 && i ? shown.Study().AddSeries("OT") : series, Asymmetric()));
    QVERIFY(shown.Show(mode));
    shown.Grid()->OnCommand(ID_FRAME_LAYOUT2X2);
    QCoreApplication::processEvents();
    const std::vector<CVantrelView*> panes = shown.Grid()->GetPanes();
    QCOMPARE(panes.size(), std::size_t(4));
    std::vector<QImage> before;
    for (CVantrelView* pane : panes)
        before.push_back(Shown(pane));

    CVantrelView* selected = panes[0];
    selected->TakeImageCommand(command);
    switch (command) {
    case ID_IMAGE_MIRROR:
        selected->FlipImagesInOtherViewPort();
        break;
    case ID_IMAGE_FLIP:
        selected->FlipVImagesInOtherViewPort();
        break;
    case ID_IMAGE_NEGATIVE:
        selected->InvertImagesInOtherViewPort();
        break;
    default:
        selected->RotateRightImagesInOtherViewPort();
        break;
    }
    QCOMPARE(Shown(selected), Expected(before[0], command));
    for (std::size_t i = 1; i < panes.size(); ++i)
        QCOMPARE(Shown(panes[i]), repeated ? Expected(before[i], command) : before[i]);
}

// Ten images in a 2 x 2 image layout paged to [8, 9, blank, blank]: the tool bar's Invert and
// the panel's clockwise turn reach the blank panes too, so the page back shows all four
// turned and inverted; Reset from there resets every pane alike
void tst_CVantrelViewImageOps::everyPaneTakesTheTurnAndTheInversion()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 10, 2, ID_FRAME_LAYOUT2X2));
    CMyFrameWnd* grid = shown.Grid();
    CVantrelView* first = grid->GetPane(0, 0);
    QTest::keyClick(first, Qt::Key_Down);
    QTest::keyClick(first, Qt::Key_Down);
    std::vector<CVantrelView*> panes = grid->GetPanes();
    QCOMPARE(panes[1]->m_pSeries->GetImageIndex(panes[1]->m_pImage), 9);
    QVERIFY(!panes[2]->m_pImage && !panes[3]->m_pImage);
    QCOMPARE(grid->GetSelectedView(), first);

    Click(&shown.ToolBar()->m_btnInvert);
    TurnClockwise(shown);
    QTest::keyClick(first, Qt::Key_Up);
    for (std::size_t i = 0; i < panes.size(); ++i) {
        CVantrelView* pane = panes[i];
        QCOMPARE(pane->m_pSeries->GetImageIndex(pane->m_pImage), 4 + int(i));
        const QImage expected = Expected(Expected(AsLoaded(pane), ID_IMAGE_ROTATERIGHT), ID_IMAGE_NEGATIVE);
        QVERIFY(!expected.isNull());
        QCOMPARE(Shown(pane), expected);
        // Drawn upright: taller than wide
        QVERIFY(pane->GetTotalDeviceSize().height() > pane->GetTotalDeviceSize().width());
    }

    // Reset over [8, 9, blank, blank] reaches the blank panes as well
    QTest::keyClick(first, Qt::Key_Down);
    QVERIFY(!panes[2]->m_pImage);
    Click(&shown.ToolBar()->m_btnReset);
    QTest::keyClick(first, Qt::Key_Up);
    for (CVantrelView* pane : panes) {
        QVERIFY(pane->m_pImage);
        QCOMPARE(Shown(pane), AsLoaded(pane));
        QVERIFY(pane->GetTotalDeviceSize().width() > pane->GetTotalDeviceSize().height());
    }
}

// A pane that plays its series takes a turn of another pane at once and for every frame after;
// Reset brings it back unturned
void tst_CVantrelViewImageOps::playingPaneTakesTheTurnAndTheReset()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 3, 2, ID_FRAME_LAYOUT2X2));
    const std::vector<CVantrelView*> panes = shown.Grid()->GetPanes();
    CVantrelView* playing = panes[1];
    playing->SetCineRate(25);
    playing->RunDCMCine();
    QVERIFY(playing->m_bCineRunning);
    QVERIFY(QTest::qWaitFor([&] { return playing->GetCineFramesShown() >= 2; }, 5000));

    TurnClockwise(shown);
    QCOMPARE(playing->GetOrientation().nAngle, 90);
    QCOMPARE(panes[3]->GetOrientation().nAngle, 90);
    const auto turned = [&] {
        return Shown(playing) == Expected(FileAsLoaded(playing->m_pImage->m_strFilePath), ID_IMAGE_ROTATERIGHT);
    };
    QVERIFY(turned());
    // Frames that come later are turned too
    const long long shownSoFar = playing->GetCineFramesShown();
    QVERIFY(QTest::qWaitFor([&] { return playing->GetCineFramesShown() >= shownSoFar + 2; }, 5000));
    QVERIFY(turned());
    QVERIFY(playing->GetTotalDeviceSize().height() > playing->GetTotalDeviceSize().width());

    Click(&shown.ToolBar()->m_btnReset);
    QCOMPARE(playing->GetOrientation(), ViewOrientation());
    QCOMPARE(Shown(playing), FileAsLoaded(playing->m_pImage->m_strFilePath));
    QVERIFY(playing->GetTotalDeviceSize().width() > playing->GetTotalDeviceSize().height());
    playing->StopCine();
}

void tst_CVantrelViewImageOps::turnKeepsTheUsersZoomAndPan_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("zoomed with the keypad") << "zoom";
    QTest::newRow("panned with the pan tool") << "pan";
    QTest::newRow("neither: the turn refits") << "none";
}

// A view the user zoomed or panned keeps zoom and pan through a turn: the turned picture
// has the same zoom at the same offset; only a view left as fitted is fitted again
void tst_CVantrelViewImageOps::turnKeepsTheUsersZoomAndPan()
{
    QFETCH(QString, change);
    ShownStudy shown(m_dir.path());
    ImageRecipe recipe = Asymmetric();
    recipe.columns = 120;
    recipe.rows = 80;
    QVERIFY(ShowSeries(shown, 1, 1, 0, recipe));
    CVantrelView* view = shown.View();
    const float fitted = view->m_fZoom;
    if (change == QLatin1String("zoom")) {
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(view, Qt::Key_Plus, Qt::KeypadModifier);
        QVERIFY(view->m_fZoom > fitted);
    } else if (change == QLatin1String("pan")) {
        Click(&shown.ToolBar()->m_btnPan);
        const QPoint before = view->m_ptPanOffset;
        Drag(view, view->rect().center(), view->rect().center() + QPoint(-60, 45));
        QVERIFY(view->m_ptPanOffset != before);
    }
    const float zoom = view->m_fZoom;
    const QPoint offset = view->m_ptPanOffset;

    TurnClockwise(shown);
    const QSize turnedSize(80, 120);
    QCOMPARE(Shown(view).size(), turnedSize);
    if (change == QLatin1String("none")) {
        // Fitted and centred again, upright
        QVERIFY(view->m_fZoom != zoom);
        QCOMPARE(view->m_ptPanOffset, ViewGeometry::CenterOffset(view->size(), view->GetTotalDeviceSize()));
        return;
    }
    QCOMPARE(view->m_fZoom, zoom);
    QCOMPARE(view->m_ptPanOffset, offset);
    QCOMPARE(view->GetTotalDeviceSize(), ViewGeometry::ZoomedSize(turnedSize, double(zoom)));
    // The pane draws the turned picture at that zoom and offset
    const QImage shot = view->grab().toImage();
    const QImage turned = Shown(view);
    const QPoint centre = view->rect().center();
    const QPoint source(int((centre.x() - offset.x()) / zoom), int((centre.y() - offset.y()) / zoom));
    QVERIFY(turned.rect().contains(source));
    QCOMPARE(qRed(shot.pixel(centre)), qGray(turned.pixel(source)));
}

// A series whose window was chosen (as a presentation state chooses it) is shown at it in
// every pane; Reset brings every pane back to its file's window, not the selected one alone
void tst_CVantrelViewImageOps::resetBringsEveryPaneToItsFilesWindow()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("CT");
    for (int i = 0; i < 4; ++i) {
        ImageRecipe recipe = Preset(ImagePreset::Ct);
        recipe.columns = 40;
        recipe.rows = 30;
        recipe.windowCenter = "300";
        recipe.windowWidth = "2000";
        recipe.sopInstanceUid.clear();
        QVERIFY(shown.Study().AddImage(series, recipe));
    }
    series->SetWindowChanged(TRUE);
    series->SetWindow(400, 40);
    QVERIFY(shown.Show(2));
    shown.Grid()->OnCommand(ID_FRAME_LAYOUT2X2);
    QCoreApplication::processEvents();
    const std::vector<CVantrelView*> panes = shown.Grid()->GetPanes();
    for (CVantrelView* pane : panes) {
        QCOMPARE(Shown(pane), FileAt(pane->m_pImage->m_strFilePath, 400, 40));
        QCOMPARE(pane->m_strWindowWidthText, QStringLiteral("WW = 400"));
    }
    Click(&shown.ToolBar()->m_btnReset);
    for (CVantrelView* pane : panes) {
        QCOMPARE(Shown(pane), FileAt(pane->m_pImage->m_strFilePath, 2000, 300));
        QCOMPARE(pane->m_strWindowWidthText, QStringLiteral("WW = 2000"));
        QCOMPARE(pane->m_strWindowLevelText, QStringLiteral("WL = 300"));
    }
}

void tst_CVantrelViewImageOps::otherPanesZoomAboutTheirCentres()
{
    ShownStudy shown(m_dir.path());
    ImageRecipe square = Asymmetric();
    square.columns = square.rows = 100;
    QVERIFY(ShowSeries(shown, 2, 2, ID_FRAME_LAYOUT1X2, square));
    CVantrelView* left = shown.Grid()->GetPane(0, 0);
    CVantrelView* right = shown.Grid()->GetPane(0, 1);
    right->m_fZoom = 4.0f;
    right->SetZoomScrollSizes(right->GetZoomedImageSize());
    right->m_ptPanOffset = QPoint(10, 20);
    QCOMPARE(right->GetTotalDeviceSize(), QSize(400, 400));
    left->m_fZoom = 6.0f;
    left->ZoomImagesInOtherViewPort();
    QCOMPARE(right->GetTotalDeviceSize(), QSize(600, 600));
    QCOMPARE(right->m_ptPanOffset, QPoint(-90, -80));
}

void tst_CVantrelViewImageOps::eraseAllRemovesTheShapesOfTheImage()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSeries(shown, 1, 1, 0));
    CVantrelView* view = shown.View();
    auto& shapes = shown.Grid()->m_arrShapes;
    const CDoublePoint a(1, 1), b(5, 3);
    const COLORREF green = 0x00FF00;
    const int one = 1;
    for (const QString& key : {view->m_strImageKey, QStringLiteral("another"), view->m_strImageKey, view->m_strImageKey}) {
        shapes.push_back(std::make_unique<CShapeLine>(&a, &b, &green, &one));
        shapes.back()->SetImageKey(key);
    }
    QCOMPARE(view->DeleteAllShapeControls(), TRUE);
    QCOMPARE(shapes.size(), std::size_t(1));
    QCOMPARE(shapes.front()->GetImageKey(), QStringLiteral("another"));
    QCOMPARE(view->DeleteAllShapeControls(), FALSE);
}

// One rule for shapes: drawn on a turned view, rebuilt, paged away and back, and shown by a
// second view turned another way, the line covers the same pixels of its image
void tst_CVantrelViewImageOps::shapeKeepsItsImagePixels()
{
    ShownStudy shown(m_dir.path());
    ImageRecipe recipe = Asymmetric();
    recipe.columns = 120;
    recipe.rows = 80;
    QVERIFY(ShowSeries(shown, 2, 2, 0, recipe));
    const QSize source(120, 80);
    CVantrelView* view = shown.View();
    view->TakeImageCommand(ID_IMAGE_ROTATERIGHT);
    QCoreApplication::processEvents();

    // A red line drawn with the mouse from displayed pixel (20, 30) to (20, 60)
    m_nDrawShape = LINE;
    g_bToolActive = 1;
    g_bWindowLevelMode = 0;
    view->m_crShapeColor = RGB(255, 0, 0);
    const auto client = [&](QPointF p) {
        return QPoint(int(view->m_ptPanOffset.x() + p.x() * view->m_fZoom + 0.5),
                      int(view->m_ptPanOffset.y() + p.y() * view->m_fZoom + 0.5));
    };
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, client(QPointF(20, 30)));
    QMouseEvent move(QEvent::MouseMove, QPointF(client(QPointF(20, 60))), view->mapToGlobal(QPointF(client(QPointF(20, 60)))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, client(QPointF(20, 60)));
    QCOMPARE(shown.Grid()->m_arrShapes.size(), std::size_t(1));
    m_nDrawShape = 0;
    const QPointF drawn = RedSourceCentre(view, source);
    QVERIFY2(drawn.x() >= 0, "the line is drawn");

    const auto same = [&](CVantrelView* v, const char* step) {
        const QPointF c = RedSourceCentre(v, source);
        QVERIFY2(qAbs(c.x() - drawn.x()) <= 1.5 && qAbs(c.y() - drawn.y()) <= 1.5,
                 qPrintable(QStringLiteral("%1: (%2, %3) != (%4, %5)")
                                .arg(step).arg(c.x()).arg(c.y()).arg(drawn.x()).arg(drawn.y())));
    };
    // Turned again, and mirrored
    view->TakeImageCommand(ID_IMAGE_ROTATERIGHT);
    view->TakeImageCommand(ID_IMAGE_MIRROR);
    same(view, "turned and mirrored");
    // Paged away and back
    const QString key = view->m_strImageKey;
    view->Series_MultiView_Up_Down(view, TRUE);
    QCOMPARE(view->m_pSeries->GetImageIndex(view->m_pImage), 1);
    QVERIFY(view->m_strImageKey != key);
    QCOMPARE(RedSourceCentre(view, source), QPointF(-1, -1));
    view->Series_MultiView_Up_Down(view, FALSE);
    same(view, "paged back");
    // A rebuild makes unturned panes; the second pane shows the other image, then the first
    // one turned left
    shown.Grid()->OnCommand(ID_FRAME_LAYOUT1X2);
    QCoreApplication::processEvents();
    CVantrelView* first = shown.Grid()->GetPane(0, 0);
    CVantrelView* second = shown.Grid()->GetPane(0, 1);
    QVERIFY(first && second);
    QCOMPARE(first->GetOrientation(), ViewOrientation());
    same(first, "rebuilt");
    second->Series_MultiView_Up_Down(second, FALSE);
    second->TakeImageCommand(ID_IMAGE_ROTATELEFT);
    QCoreApplication::processEvents();
    same(second, "second view turned left");
    same(first, "first view again");
}

void tst_CVantrelViewImageOps::measuresAlongTheAxesTheViewShows_data()
{
    QTest::addColumn<int>("command");
    QTest::newRow("unturned") << 0;
    QTest::newRow("turned clockwise") << ID_IMAGE_ROTATERIGHT;
    QTest::newRow("mirrored") << ID_IMAGE_MIRROR;
}

// A length from a presentation state (points and spacing of the unturned image) first shown in
// a turned view measures what it measures on the image
void tst_CVantrelViewImageOps::measuresAlongTheAxesTheViewShows()
{
    QFETCH(int, command);
    ShownStudy shown(m_dir.path());
    ImageRecipe recipe = Asymmetric();
    recipe.columns = 60;
    recipe.rows = 40;
    QVERIFY(ShowSeries(shown, 1, 1, 0, recipe));
    CVantrelView* view = shown.View();
    if (command)
        view->TakeImageCommand(command);
    // 20 columns of 0.5 mm along the image's rows, rows 2 mm apart
    const CDoublePoint a(10, 10), b(30, 10);
    const COLORREF green = 0x00FF00;
    const int one = 1;
    auto line = std::make_unique<CShapeLineLength>(&a, &b, &green, &one);
    line->SetImageKey(view->m_strImageKey);
    line->SetPixelSpacing(TRUE, 2.0, 0.5);
    CShapeCollection* shape = line.get();
    shown.Grid()->m_arrShapes.push_back(std::move(line));
    view->grab();
    QCOMPARE(shape->GetText(), QStringLiteral("1.00 cm"));
    QCOMPARE(shape->m_dSpacingX, 0.5);
}

QTEST_MAIN(tst_CVantrelViewImageOps)
#include "tst_CVantrelViewImageOps.moc"
