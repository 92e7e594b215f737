// Pointer input of a viewport in the main window, driven by mouse events with explicit
// buttons: window/level, zoom and pan drags, the shapes of every drawing tool with their image
// points at zoom 2 on a panned, turned view, the angle's and the Cobb angle's phases and the
// end of a half-drawn one (another tool, Reset, Escape, another image, a loop), the eraser, the strokes that make nothing, the probe readout, the pointers and a picture of one
// shape of each tool on a CT study.

// Qt
#include <QtTest>

// std
#include <memory>
#include <typeinfo>

// Orvane
#include "annotation/CShapeArrowLine.h"
#include "annotation/CShapeCircle.h"
#include "annotation/CShapeCobbAngle.h"
#include "annotation/CShapeCurve.h"
#include "annotation/CShapeEllipse.h"
#include "annotation/CShapeLine.h"
#include "annotation/CShapeLineAngle.h"
#include "annotation/CShapeLineLength.h"
#include "annotation/CShapeText.h"
#include "app/COstrevanApp.h"
#include "platform/CxImage.h"
#include "res/resource.h"
#include "study/CImageInfo.h"
#include "study/CSeriesInfo.h"
#include "study/DicomCodecs.h"
#include "tests/annotation/ShapeTestCanvas.h"
#include "tests/viewer/OnScreen.h"
#include "tests/viewer/ShownStudy.h"
#include "toolpanes/CToolView.h"
#include "state/ToolState.h"
#include "toolpanes/ToolStateDisplay.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"

using namespace Fixtures;

namespace {

// Mouse events as the window system delivers them: the button that changed and the buttons held
void Send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}
void Press(QWidget* w, QPoint p)
{
    Send(w, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
}
void Move(QWidget* w, QPoint p, Qt::MouseButtons held = Qt::LeftButton)
{
    Send(w, QEvent::MouseMove, p, Qt::NoButton, held);
}
void Release(QWidget* w, QPoint p)
{
    Send(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
}
// A press, moves through the points, and the release at the last one
void Drag(QWidget* w, const QList<QPoint>& points)
{
    Press(w, points.front());
    for (qsizetype i = 1; i < points.size(); ++i)
        Move(w, points[i]);
    Release(w, points.back());
}

// A click on a tool-bar button, and its posted command
void Click(QWidget* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
}

void SelectTool(int shape)
{
    ClearToolModes();
    m_nDrawShape = shape;
    g_bToolActive = 1;
    SyncToolButtons();
}

void SelectEraser()
{
    ClearToolModes();
    m_nDrawShape = 0;
    g_bEraseMode = 1;
}

bool Near(CDoublePoint a, CDoublePoint b)
{
    return qAbs(a.x - b.x) < 1e-6 && qAbs(a.y - b.y) < 1e-6;
}

QString Text(CDoublePoint p)
{
    return QStringLiteral("(%1, %2)").arg(p.x).arg(p.y);
}

#define COMPARE_POINT(actual, expected) \
    QVERIFY2(Near(actual, expected), qPrintable(Text(actual) + " != " + Text(expected)))

int CountColour(const QImage& image, const QRect& area, QRgb colour)
{
    int n = 0;
    const QRect r = area & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                ++n;
    return n;
}

int Angles(const std::vector<std::unique_ptr<CShapeCollection>>& shapes)
{
    int n = 0;
    for (const auto& shape : shapes)
        if (dynamic_cast<const CShapeLineAngle*>(shape.get()))
            ++n;
    return n;
}

ImageRecipe SmallCt()
{
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    recipe.columns = 64;
    recipe.rows = 48;
    return recipe;
}

} // namespace

class tst_CVantrelViewMouse : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_codecs = std::make_unique<DicomCodecs>();
        QVERIFY(m_dir.isValid());
    }
    void init() { ClearToolState(); }

    void windowLevelDrag_data();
    void windowLevelDrag();
    void movesWithoutTheButtonDragNothing();
    void zoomDragAndItsFloor();
    void panDrag();
    void drawsEveryToolOnAPannedTurnedView_data();
    void drawsEveryToolOnAPannedTurnedView();
    void measuresAlongTheTurnedAxes();
    void measuresWithPixelSpacingFirst_data();
    void measuresWithPixelSpacingFirst();
    void drawsAndErasesInFullImagePixelsWhileReduced();
    void angleTakesADragAndAClick();
    void halfDrawnAngleEndsWithItsTool_data();
    void halfDrawnAngleEndsWithItsTool();
    void halfDrawnAngleNeverShowsOnAnotherImage_data();
    void halfDrawnAngleNeverShowsOnAnotherImage();
    void halfDrawnCobbAngleEndsWithItsTool();
    void halfDrawnAngleNotDrawnOverALoop();
    void cobbAngleTakesTwoDrags();
    void cobbAngleForgottenWhenErased();
    void eraserRemovesTheFirstHitOnly();
    void strokesThatMakeNothing_data();
    void strokesThatMakeNothing();
    void secondReleaseOfADoubleClickMakesNothing();
    void probeReadsWhileHeld();
    void probeReadsTheFullImageWhileReduced();
    void pointerFollowsTheTool();
    void pressSelectsThePaneAndStartsTheTimer();
    void windowDragRepeatsInImageLayout();
    void resetRestoresShapesOfEveryPane();
    void picturesOneShapeOfEachTool();

private:
    // The single view showing a 64 x 48 CT image
    bool ShowSmallCt(ShownStudy& shown)
    {
        CSeriesInfo* series = shown.Study().AddSeries("CT");
        return shown.Study().AddImage(series, SmallCt()) && shown.Show();
    }
    // Two images of one series in an image layout of 1 x 2
    bool ShowTwoImagesSideBySide(ShownStudy& shown)
    {
        CSeriesInfo* series = shown.Study().AddSeries("CR");
        for (int i = 0; i < 2; ++i)
            if (!shown.Study().AddImage(series, SmallCt()))
                return false;
        if (!shown.Show(2))
            return false;
        shown.Grid()->OnCommand(ID_FRAME_LAYOUT1X2);
        return shown.Grid()->GetPane(0, 1) != nullptr;
    }
    // Zoom 2, pan offset (40, 30), turned clockwise: the displayed 48 x 64 image is 96 x 128
    // pixels on screen
    static void TurnAndZoom(CVantrelView* view)
    {
        view->ComposeOrientation(ID_IMAGE_ROTATERIGHT);
        view->RenderWithWindowLevel(400, 40);
        view->m_fZoom = 2.0f;
        view->SetZoomScrollSizes(view->GetZoomedImageSize());
        view->m_ptPanOffset = QPoint(40, 30);
    }

    // Zoom 2 with the image's top left at (200, 200): image pixel (x, y) is client
    // (200 + 2x, 200 + 2y), and the scales at the top and the left lie on black
    static void ZoomTwoAway(CVantrelView* view)
    {
        view->m_fZoom = 2.0f;
        view->SetZoomScrollSizes(view->GetZoomedImageSize());
        view->m_ptPanOffset = QPoint(200, 200);
    }

    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_CVantrelViewMouse::windowLevelDrag_data()
{
    QTest::addColumn<QPoint>("move");
    QTest::addColumn<float>("width");
    QTest::addColumn<QString>("centre"); // a number, "max" or "min"
    QTest::newRow("right 10") << QPoint(10, 0) << 15.0f << "40";
    QTest::newRow("left 10 stops at 1") << QPoint(-10, 0) << 1.0f << "40";
    QTest::newRow("down 10 raises the level") << QPoint(0, 10) << 5.0f << "50";
    QTest::newRow("up 10 lowers it") << QPoint(0, -10) << 5.0f << "30";
    QTest::newRow("far down stops at the maximum") << QPoint(0, 6000) << 5.0f << "max";
    QTest::newRow("far up stops at the minimum") << QPoint(0, -6000) << 5.0f << "min";
}

void tst_CVantrelViewMouse::windowLevelDrag()
{
    QFETCH(QPoint, move);
    QFETCH(float, width);
    QFETCH(QString, centre);
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    CVantrelDoc* doc = view->GetDocument();
    QCOMPARE(view->m_fWindowLevelFactor, 1.0f); // 64 + 48 pixels
    doc->m_fWindowWidth = 5;
    doc->m_fWindowCenter = 40;
    const QPoint start = view->rect().center();
    Press(view, start);
    Move(view, start + move);
    const float expectedCentre = centre == "max" ? float(doc->m_nMaxValue)
                                 : centre == "min" ? float(doc->m_nMinValue)
                                                   : centre.toFloat();
    QCOMPARE(doc->m_fWindowWidth, width);
    QCOMPARE(doc->m_fWindowCenter, expectedCentre);
    QCOMPARE(view->m_strWindowWidthText, QStringLiteral("WW = %1").arg(int(width)));
    QVERIFY(view->m_pSeries->IsWindowChanged());
    float w = 0, c = 0;
    view->m_pSeries->GetWindow(&w, &c);
    QCOMPARE(w, width);
    QCOMPARE(c, expectedCentre);
    QCOMPARE(view->cursor().shape(), Qt::SizeAllCursor);
    Release(view, start + move);
    QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
}

void tst_CVantrelViewMouse::movesWithoutTheButtonDragNothing()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    QVERIFY(view->hasMouseTracking());
    CVantrelDoc* doc = view->GetDocument();
    const float width = doc->m_fWindowWidth;
    const QPoint start = view->rect().center();
    // A release missed elsewhere leaves the press flag: a move without the button is no drag
    Press(view, start);
    Move(view, start + QPoint(30, 30), Qt::NoButton);
    QCOMPARE(doc->m_fWindowWidth, width);
    Release(view, start);
    Click(&shown.ToolBar()->m_btnPan);
    QCOMPARE(g_bPanMode, BYTE(1));
    const QPoint offset = view->m_ptPanOffset;
    Press(view, start);
    Move(view, start + QPoint(30, 30), Qt::NoButton);
    QCOMPARE(view->m_ptPanOffset, offset);
    Release(view, start);
}

void tst_CVantrelViewMouse::zoomDragAndItsFloor()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    Click(&shown.ToolBar()->m_btnZoom);
    QCOMPARE(g_bZoomMode, BYTE(1));
    const float zoom = view->m_fZoom;
    const double step = view->m_dZoomStep;
    const QSize extent = view->GetTotalDeviceSize();
    const QPoint offset = view->m_ptPanOffset;
    const QPoint start = view->rect().center();

    // 3 pixels up zoom by the 10 pixels' minimum
    Press(view, start);
    QCOMPARE(view->cursor().shape(), Qt::UpArrowCursor);
    Move(view, start - QPoint(0, 3));
    Release(view, start - QPoint(0, 3));
    QVERIFY(qAbs(view->m_fZoom - float(zoom + 10 * 0.5 * step)) < 1e-5f);
    const QSize grown = view->GetTotalDeviceSize();
    QCOMPARE(grown, QSize(int(64 * view->m_fZoom), int(48 * view->m_fZoom)));
    // Grown about its centre
    QCOMPARE(view->m_ptPanOffset, offset - QPoint((grown.width() - extent.width()) / 2, (grown.height() - extent.height()) / 2));

    // Down and down: never narrower than 150 pixels
    QList<QPoint> down{start};
    for (int i = 1; i <= 200; ++i)
        down << start + QPoint(0, 2 * i);
    Drag(view, down);
    QCOMPARE(view->m_bMinZoomReached, 1);
    QCOMPARE(view->GetTotalDeviceSize().width(), 150);
    const float floor = view->m_fZoom;
    Drag(view, {start, start + QPoint(0, 40)});
    QCOMPARE(view->m_fZoom, floor);
    // A zoom-in clears the floor
    Drag(view, {start, start - QPoint(0, 20)});
    QVERIFY(view->m_fZoom > floor);
    QCOMPARE(view->m_bMinZoomReached, 0);
    QCOMPARE(view->m_bZoomPanChanged, 1); // set by the Zoom button
}

void tst_CVantrelViewMouse::panDrag()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    Click(&shown.ToolBar()->m_btnPan);
    const QPoint offset = view->m_ptPanOffset;
    const QPoint start = view->rect().center();
    Press(view, start);
    QCOMPARE(view->cursor().shape(), Qt::ClosedHandCursor);
    Move(view, start + QPoint(10, 5));
    Move(view, start + QPoint(30, -20));
    QCOMPARE(view->m_ptPanOffset, offset + QPoint(30, -20));
    Release(view, start + QPoint(30, -20));
    QCOMPARE(view->m_bViewAdjusted, BYTE(1));
    QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
    // The next drag goes on from there
    Drag(view, {start, start + QPoint(-5, 0)});
    QCOMPARE(view->m_ptPanOffset, offset + QPoint(25, -20));
}

void tst_CVantrelViewMouse::drawsEveryToolOnAPannedTurnedView_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<QByteArray>("shapeClass");
    QTest::newRow("line") << int(LINE) << QByteArray(typeid(CShapeLine).name());
    QTest::newRow("arrow") << int(LINEARROW) << QByteArray(typeid(CShapeArrowLine).name());
    QTest::newRow("length") << int(LINELENGTH) << QByteArray(typeid(CShapeLineLength).name());
    QTest::newRow("ellipse") << int(ELLIPSE) << QByteArray(typeid(CShapeEllipse).name());
    QTest::newRow("circle") << int(CIRCLE) << QByteArray(typeid(CShapeCircle).name());
    QTest::newRow("freehand") << int(FREEHANDDRAW) << QByteArray(typeid(CShapeCurve).name());
}

void tst_CVantrelViewMouse::drawsEveryToolOnAPannedTurnedView()
{
    QFETCH(int, tool);
    QFETCH(QByteArray, shapeClass);
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    TurnAndZoom(view);
    SelectTool(tool);
    // Client (60, 50) is image (10, 10); (80, 90) is (20, 30); (100, 130) is (30, 50)
    Drag(view, {QPoint(60, 50), QPoint(80, 90), QPoint(100, 130)});
    auto& shapes = shown.Grid()->m_arrShapes;
    QCOMPARE(shapes.size(), std::size_t(1));
    CShapeCollection* shape = shapes.front().get();
    QCOMPARE(QByteArray(typeid(*shape).name()), shapeClass);
    QCOMPARE(shape->GetImageKey(), view->m_strImageKey);
    QCOMPARE(shape->GetColor(), COLORREF(0x00FF00));
    COMPARE_POINT(shape->GetStartPoint(), CDoublePoint(10.0, 10.0));
    // Saved in the unturned 64 x 48 image: (x, y) shown turned clockwise is (y, 48 - x)
    COMPARE_POINT(shape->GetOrigStartPoint(), CDoublePoint(10.0, 38.0));
    if (tool == FREEHANDDRAW) {
        // The polyline through every point of the stroke, in its order
        QList<CDoublePoint> polyline;
        for (const CDoublePoint& p : shape->GetPoints())
            if (polyline.isEmpty() || polyline.back() != p)
                polyline << p;
        QCOMPARE(polyline.size(), 3);
        if (polyline.front() != CDoublePoint(10.0, 10.0))
            std::reverse(polyline.begin(), polyline.end());
        COMPARE_POINT(polyline[0], CDoublePoint(10.0, 10.0));
        COMPARE_POINT(polyline[1], CDoublePoint(20.0, 30.0));
        COMPARE_POINT(polyline[2], CDoublePoint(30.0, 50.0));
        QCOMPARE(shape->GetOrigPoints().size(), shape->GetPoints().size());
        QVERIFY(!view->m_pDrawingShape);
    } else {
        COMPARE_POINT(shape->GetEndPoint(), CDoublePoint(30.0, 50.0));
        COMPARE_POINT(shape->GetOrigEndPoint(), CDoublePoint(50.0, 18.0));
    }
    if (tool == LINELENGTH || tool == ELLIPSE || tool == CIRCLE) {
        QCOMPARE(shape->m_bSpacingKnown, BYTE(1));
        QCOMPARE(shape->m_dSpacingX, 0.7);
        QCOMPARE(shape->GetTextFont(), view->m_pTextFont);
    }
    if (tool == ELLIPSE || tool == CIRCLE)
        QCOMPARE(shape->m_nRenderMode, 0);
    // The shape turns back with the image on a reset
    Click(&shown.ToolBar()->m_btnReset);
    if (tool == FREEHANDDRAW)
        QVERIFY(shape->GetPoints().contains(CDoublePoint(10.0, 38.0)));
    else
        QCOMPARE(QSet<QString>({Text(shape->GetStartPoint()), Text(shape->GetEndPoint())}).size(), 2);
    const CDoublePoint a = shape->GetStartPoint(), b = shape->GetEndPoint();
    if (tool != FREEHANDDRAW) {
        // The box of the restored points (the box shapes keep it normalised)
        COMPARE_POINT(CDoublePoint(std::min(a.x, b.x), std::min(a.y, b.y)), CDoublePoint(10.0, 18.0));
        COMPARE_POINT(CDoublePoint(std::max(a.x, b.x), std::max(a.y, b.y)), CDoublePoint(50.0, 38.0));
    }
}

// A length on an image whose rows lie further apart than its columns, drawn turned
void tst_CVantrelViewMouse::measuresAlongTheTurnedAxes()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("CT");
    ImageRecipe recipe = SmallCt();
    recipe.pixelSpacing = "2.0\\0.5"; // rows 2 mm apart, columns 0.5 mm
    QVERIFY(shown.Study().AddImage(series, recipe));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    TurnAndZoom(view);
    SelectTool(LINELENGTH);
    // Along the shown x: the image's rows
    Drag(view, {QPoint(60, 50), QPoint(100, 50)});
    QCOMPARE(shown.Grid()->m_arrShapes.size(), std::size_t(1));
    const CShapeCollection* shape = shown.Grid()->m_arrShapes.front().get();
    // Kept along the image's own axes, measured as the turned view shows them
    QCOMPARE(shape->m_dSpacingX, 0.5);
    QCOMPARE(shape->m_dSpacingY, 2.0);
    view->grab();
    QCOMPARE(shape->GetText(), QStringLiteral("4.00 cm")); // 20 rows
}

// Lengths, areas and the scales take Pixel Spacing; Imager Pixel Spacing only for an image that
// has none. The texts the pane shows and the scales' ticks against values from that spacing.
void tst_CVantrelViewMouse::measuresWithPixelSpacingFirst_data()
{
    QTest::addColumn<QString>("pixelSpacing");
    QTest::addColumn<QString>("imagerSpacing");
    QTest::addColumn<double>("rowSpacing");    // the spacing expected to be used, mm
    QTest::addColumn<double>("columnSpacing");
    QTest::newRow("both: Pixel Spacing") << "0.5\\0.4" << "1.0\\1.0" << 0.5 << 0.4;
    QTest::newRow("only Pixel Spacing") << "0.5\\0.4" << "" << 0.5 << 0.4;
    QTest::newRow("only Imager Pixel Spacing") << "" << "0.8\\0.25" << 0.8 << 0.25;
}

void tst_CVantrelViewMouse::measuresWithPixelSpacingFirst()
{
    QFETCH(QString, pixelSpacing);
    QFETCH(QString, imagerSpacing);
    QFETCH(double, rowSpacing);
    QFETCH(double, columnSpacing);
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("CR");
    ImageRecipe recipe = SmallCt();
    recipe.modality = "CR";
    recipe.pixelSpacing = pixelSpacing.toStdString();
    recipe.imagerPixelSpacing = imagerSpacing.toStdString();
    QVERIFY(shown.Study().AddImage(series, recipe));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    ZoomTwoAway(view);
    auto& shapes = shown.Grid()->m_arrShapes;
    // Image (10, 10) to (50, 40): 40 columns and 30 rows
    const QPoint a(220, 220), b(300, 280);
    SelectTool(LINELENGTH);
    Drag(view, {a, (a + b) / 2, b});
    SelectTool(ELLIPSE);
    Drag(view, {a, (a + b) / 2, b});
    QCOMPARE(shapes.size(), std::size_t(2));
    const QImage shot = view->grab().toImage();
    const double dx = 40 * columnSpacing, dy = 30 * rowSpacing; // mm
    QCOMPARE(shapes[0]->GetText(), QString::asprintf("%.2f cm", std::sqrt(dx * dx + dy * dy) / 10.0));
    QCOMPARE(shapes[1]->GetText(), QString::asprintf("Area=%0.2f cm sq.", (dx / 20.0) * (dy / 20.0) * 22.0 / 7.0));

    // The scales: a tick every centimetre, at zoom 2
    QCOMPARE(view->m_dPixelsPerCm, 10.0 / columnSpacing);
    QCOMPARE(view->m_dPixelsPerCmY, 10.0 / rowSpacing);
    // Each scale's ticks every centimetre from a quarter of the pane on, in the text colour,
    // nothing halfway between
    const auto green = [&](int x, int y) { return (shot.pixel(x, y) & 0xFFFFFF) == 0x00FF00u; };
    const auto checkTicks = [&](bool horizontal, int step) {
        const int length = horizontal ? shot.width() : shot.height();
        int count = 0;
        for (int at = length / 4; at <= length - length / 4; at += step, ++count) {
            const QPoint tick = horizontal ? QPoint(at, 33) : QPoint(33, at);
            const QPoint half = horizontal ? QPoint(at + step / 2, 33) : QPoint(33, at + step / 2);
            if (!green(tick.x(), tick.y()) || (at + step <= length - length / 4 && green(half.x(), half.y())))
                return false;
        }
        return count >= 2;
    };
    QVERIFY(checkTicks(true, qRound(2 * 10.0 / columnSpacing)));
    QVERIFY(checkTicks(false, qRound(2 * 10.0 / rowSpacing)));
}

// While the button is held over a large image the reduced picture is shown at its own zoom:
// shapes and the eraser still work in pixels of the full image
void tst_CVantrelViewMouse::drawsAndErasesInFullImagePixelsWhileReduced()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("CT");
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    recipe.columns = recipe.rows = 1024;
    QVERIFY(shown.Study().AddImage(series, recipe));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    const float fullZoom = view->m_fZoom;
    const QPoint offset = view->m_ptPanOffset;
    SelectTool(LINE);
    const QPoint a = offset + QPoint(100, 120), b = offset + QPoint(300, 200);
    Press(view, a);
    QVERIFY(view->IsReducedImageShown());
    QVERIFY(view->m_fZoom > fullZoom * 1.5f);
    Move(view, b);
    Release(view, b);
    QVERIFY(!view->IsReducedImageShown());
    QCOMPARE(shown.Grid()->m_arrShapes.size(), std::size_t(1));
    const CShapeCollection* line = shown.Grid()->m_arrShapes.front().get();
    const auto full = [&](QPoint p) { return CDoublePoint((p.x() - offset.x()) / double(fullZoom), (p.y() - offset.y()) / double(fullZoom)); };
    QVERIFY(qAbs(line->GetStartPoint().x - full(a).x) < 0.01 && qAbs(line->GetStartPoint().y - full(a).y) < 0.01);
    QVERIFY(qAbs(line->GetEndPoint().x - full(b).x) < 0.01 && qAbs(line->GetEndPoint().y - full(b).y) < 0.01);
    // The eraser's press is reduced too, and still finds the line
    SelectEraser();
    Press(view, (a + b) / 2);
    Release(view, (a + b) / 2);
    QVERIFY(shown.Grid()->m_arrShapes.empty());
}

void tst_CVantrelViewMouse::angleTakesADragAndAClick()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    TurnAndZoom(view);
    Click(&shown.ToolBar()->m_btnLineAngle);
    QCOMPARE(m_nDrawShape, int(LINEANGLE));
    auto& shapes = shown.Grid()->m_arrShapes;
    // A click alone starts nothing
    Press(view, QPoint(60, 50));
    Release(view, QPoint(60, 50));
    QCOMPARE(view->m_nAngleClicks, 0);
    // The first arm, then the second follows the pointer without a button
    Drag(view, {QPoint(60, 50), QPoint(100, 50)});
    QCOMPARE(view->m_nAngleClicks, 1);
    QVERIFY(shapes.empty());
    Move(view, QPoint(100, 70), Qt::NoButton);
    Move(view, QPoint(100, 90), Qt::NoButton);
    COMPARE_POINT(view->m_ptThird, CDoublePoint(100, 90));
    // The press of the click does nothing; its release makes the angle
    Press(view, QPoint(100, 90));
    QCOMPARE(view->m_bLButtonDown, BYTE(0));
    QVERIFY(shapes.empty());
    Release(view, QPoint(100, 90));
    QCOMPARE(view->m_nAngleClicks, 0);
    QCOMPARE(shapes.size(), std::size_t(1));
    CShapeCollection* angle = shapes.front().get();
    QVERIFY(dynamic_cast<CShapeLineAngle*>(angle));
    COMPARE_POINT(angle->GetStartPoint(), CDoublePoint(10.0, 10.0));
    COMPARE_POINT(angle->GetVertexPoint(), CDoublePoint(30.0, 10.0));
    COMPARE_POINT(angle->GetEndPoint(), CDoublePoint(30.0, 30.0));
    COMPARE_POINT(angle->GetOrigVertexPoint(), CDoublePoint(10.0, 18.0));
    QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
}

// The first arm of an angle, then another tool, Reset or Escape: the angle is gone and the
// pane takes the next press with the tool now chosen
void tst_CVantrelViewMouse::halfDrawnAngleEndsWithItsTool_data()
{
    QTest::addColumn<QString>("then");
    for (const char* then : {"zoom", "pan", "window/level", "ellipse", "probe", "erase panel", "reset", "escape"})
        QTest::newRow(then) << QString::fromLatin1(then);
}

void tst_CVantrelViewMouse::halfDrawnAngleEndsWithItsTool()
{
    QFETCH(QString, then);
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    CToolView* bar = shown.ToolBar();
    CVantrelDoc* doc = view->GetDocument();
    auto& shapes = shown.Grid()->m_arrShapes;
    const QPoint c = view->rect().center();
    Click(&bar->m_btnLineAngle);
    Drag(view, {c - QPoint(150, 0), c});
    QCOMPARE(view->m_nAngleClicks, 1);
    // The second arm follows the pointer on the screen
    Move(view, c + QPoint(0, 150), Qt::NoButton);
    QTRY_VERIFY_WITH_TIMEOUT(GreenPixels(OnScreen(view), Middle(view)) > 100, 5000);

    if (then == "zoom")
        Click(&bar->m_btnZoom);
    else if (then == "pan")
        Click(&bar->m_btnPan);
    else if (then == "window/level")
        Click(&bar->m_btnWindowLevel);
    else if (then == "ellipse")
        Click(&bar->m_btnEllipse);
    else if (then == "probe")
        Click(&bar->m_btnProbe);
    else if (then == "erase panel")
        Click(&bar->m_btnEraseTools);
    else if (then == "reset")
        Click(&bar->m_btnReset);
    else
        QTest::keyClick(view, Qt::Key_Escape);
    QCOMPARE(view->m_nAngleClicks, 0);
    // No arm follows the pointer any more
    Move(view, c + QPoint(40, 150), Qt::NoButton);
    QTRY_COMPARE_WITH_TIMEOUT(GreenPixels(OnScreen(view), Middle(view)), 0, 5000);

    // The next press is the chosen tool's
    const float zoom = view->m_fZoom;
    const QPoint offset = view->m_ptPanOffset;
    const float width = doc->m_fWindowWidth;
    Press(view, c);
    QCOMPARE(view->m_bLButtonDown, BYTE(1));
    if (then == "probe") {
        QCOMPARE(view->cursor().shape(), Qt::BlankCursor);
        Release(view, c);
    } else if (then == "erase panel") {
        Release(view, c);
    } else if (then == "escape") {
        // Line Angle is still the tool: a new angle from the new press
        Move(view, c + QPoint(100, 0));
        Release(view, c + QPoint(100, 0));
        QCOMPARE(view->m_nAngleClicks, 1);
        Move(view, c + QPoint(100, 100), Qt::NoButton);
        Press(view, c + QPoint(100, 100));
        Release(view, c + QPoint(100, 100));
        QCOMPARE(view->m_nAngleClicks, 0);
        QCOMPARE(shapes.size(), std::size_t(1));
        COMPARE_POINT(shapes.front()->GetStartPoint(), view->ClientToShapePoint(CDoublePoint(c.x(), c.y())));
        COMPARE_POINT(shapes.front()->GetVertexPoint(), view->ClientToShapePoint(CDoublePoint(c.x() + 100, c.y())));
        return;
    } else {
        Move(view, c + QPoint(30, -40));
        Release(view, c + QPoint(30, -40));
    }
    if (then == "zoom")
        QVERIFY(view->m_fZoom > zoom);
    else if (then == "pan")
        QCOMPARE(view->m_ptPanOffset, offset + QPoint(30, -40));
    else if (then == "window/level" || then == "reset")
        QCOMPARE(doc->m_fWindowWidth, width + 30 * view->m_fWindowLevelFactor);
    if (then == "ellipse") {
        QCOMPARE(shapes.size(), std::size_t(1));
        QVERIFY(dynamic_cast<CShapeEllipse*>(shapes.front().get()));
    } else {
        QVERIFY(shapes.empty());
    }
}

// An angle begun on one image is dropped when the view shows another: nothing of it is drawn
// there, and a click there makes nothing
void tst_CVantrelViewMouse::halfDrawnAngleNeverShowsOnAnotherImage_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("next image") << "next image";
    QTest::newRow("another series") << "another series";
}

void tst_CVantrelViewMouse::halfDrawnAngleNeverShowsOnAnotherImage()
{
    QFETCH(QString, how);
    ShownStudy shown(m_dir.path());
    CSeriesInfo* ct = shown.Study().AddSeries("CT");
    QVERIFY(shown.Study().AddImage(ct, SmallCt()));
    QVERIFY(shown.Study().AddImage(ct, SmallCt()));
    ImageRecipe mr = Preset(ImagePreset::Mr);
    mr.columns = 64;
    mr.rows = 48;
    QVERIFY(shown.Study().AddImage(shown.Study().AddSeries("MR"), mr));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    auto& shapes = shown.Grid()->m_arrShapes;
    const QString firstKey = view->m_strImageKey;
    const QPoint c = view->rect().center();
    Click(&shown.ToolBar()->m_btnLineAngle);
    Drag(view, {c - QPoint(150, 0), c});
    QCOMPARE(view->m_nAngleClicks, 1);
    Move(view, c + QPoint(0, 150), Qt::NoButton);
    QTRY_VERIFY_WITH_TIMEOUT(GreenPixels(OnScreen(view), Middle(view)) > 100, 5000);

    if (how == "next image")
        QTest::keyClick(view, Qt::Key_Down);
    else
        shown.Grid()->LoadSeriesIntoViews(theApp.GetSeriesKey(1));
    view = shown.View();
    QVERIFY(view && !view->m_strImageKey.isEmpty() && view->m_strImageKey != firstKey);
    QCOMPARE(m_nDrawShape, int(LINEANGLE));
    // No second arm here, wherever the pointer goes
    Move(view, c + QPoint(20, 150), Qt::NoButton);
    view->repaint();
    QCOMPARE(GreenPixels(OnScreen(view), Middle(view)), 0);
    Press(view, c + QPoint(0, 150));
    Release(view, c + QPoint(0, 150));
    QCOMPARE(Angles(shapes), 0);
    QCOMPARE(view->m_nAngleClicks, 0);
    // An angle drawn here is made of this image's points only
    Drag(view, {c + QPoint(0, -100), c + QPoint(100, -100)});
    Move(view, c + QPoint(100, 0), Qt::NoButton);
    Press(view, c + QPoint(100, 0));
    Release(view, c + QPoint(100, 0));
    QCOMPARE(shapes.size(), std::size_t(1));
    QCOMPARE(shapes.front()->GetImageKey(), view->m_strImageKey);
    COMPARE_POINT(shapes.front()->GetStartPoint(), view->ClientToShapePoint(CDoublePoint(c.x(), c.y() - 100)));
}

// A loop through the series shows other images without loading them: the arm begun on the
// first is not drawn over them, and nothing of it is made afterwards
void tst_CVantrelViewMouse::halfDrawnAngleNotDrawnOverALoop()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* ct = shown.Study().AddSeries("CT");
    CImageInfo* first = shown.Study().AddImage(ct, SmallCt());
    QVERIFY(first && shown.Study().AddImage(ct, SmallCt()) && shown.Study().AddImage(ct, SmallCt()));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    const QPoint c = view->rect().center();
    Click(&shown.ToolBar()->m_btnLineAngle);
    Drag(view, {c - QPoint(150, 0), c});
    Move(view, c + QPoint(0, 150), Qt::NoButton);
    QTRY_VERIFY_WITH_TIMEOUT(GreenPixels(OnScreen(view), Middle(view)) > 100, 5000);

    view->RunDCMCine();
    QCOMPARE(view->m_bCineRunning, 1);
    QTRY_VERIFY_WITH_TIMEOUT(view->m_pImage != first, 5000);
    Move(view, c + QPoint(20, 150), Qt::NoButton);
    view->repaint();
    QCOMPARE(GreenPixels(OnScreen(view), Middle(view)), 0);
    QVERIFY(view->StopCine());
    Move(view, c + QPoint(40, 150), Qt::NoButton);
    Press(view, c + QPoint(40, 150));
    Release(view, c + QPoint(40, 150));
    QCOMPARE(Angles(shown.Grid()->m_arrShapes), 0);
}

// The first line of a Cobb angle goes when another tool is chosen, and the pane draws anew
void tst_CVantrelViewMouse::halfDrawnCobbAngleEndsWithItsTool()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    SelectTool(COBBANGLE);
    auto& shapes = shown.Grid()->m_arrShapes;
    const QPoint c = view->rect().center();
    Drag(view, {c - QPoint(150, 0), c});
    QCOMPARE(view->m_nCobbStage, 1);
    QCOMPARE(shapes.size(), std::size_t(1));
    QTRY_VERIFY_WITH_TIMEOUT(GreenPixels(OnScreen(view), Middle(view)) > 100, 5000);
    Click(&shown.ToolBar()->m_btnZoom);
    QCOMPARE(view->m_nCobbStage, 0);
    QVERIFY(shapes.empty());
    QVERIFY(!view->m_pDrawingShape);
    QTRY_COMPARE_WITH_TIMEOUT(GreenPixels(OnScreen(view), Middle(view)), 0, 5000);
}

void tst_CVantrelViewMouse::cobbAngleTakesTwoDrags()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    TurnAndZoom(view);
    SelectTool(COBBANGLE);
    auto& shapes = shown.Grid()->m_arrShapes;
    Drag(view, {QPoint(60, 50), QPoint(100, 50)});
    QCOMPARE(view->m_nCobbStage, 1);
    // The first line is in the array already, without its second line
    QCOMPARE(shapes.size(), std::size_t(1));
    auto* cobb = dynamic_cast<CShapeCobbAngle*>(shapes.front().get());
    QVERIFY(cobb);
    QVERIFY(!cobb->HasSecondLine());
    QCOMPARE(cobb->GetImageKey(), view->m_strImageKey);
    COMPARE_POINT(cobb->GetEndPoint(), CDoublePoint(30.0, 10.0));
    // The second drag sets the second line
    Drag(view, {QPoint(60, 90), QPoint(80, 100), QPoint(100, 110)});
    QCOMPARE(view->m_nCobbStage, 0);
    QCOMPARE(shapes.size(), std::size_t(1));
    QVERIFY(cobb->HasSecondLine());
    QCOMPARE(cobb->GetStage(), 1);
    COMPARE_POINT(cobb->GetThirdPoint(), CDoublePoint(10.0, 30.0));
    COMPARE_POINT(cobb->GetFourthPoint(), CDoublePoint(30.0, 40.0));
    COMPARE_POINT(cobb->GetOrigFourthPoint(), CDoublePoint(40.0, 18.0));
    QVERIFY(!view->m_pDrawingShape);
}

// A Cobb angle removed during its first stage leaves nothing behind that the second drag uses
void tst_CVantrelViewMouse::cobbAngleForgottenWhenErased()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    TurnAndZoom(view);
    auto& shapes = shown.Grid()->m_arrShapes;

    // Through the eraser
    SelectTool(COBBANGLE);
    Drag(view, {QPoint(60, 50), QPoint(100, 50)});
    QCOMPARE(view->m_nCobbStage, 1);
    SelectEraser();
    Press(view, QPoint(80, 50));
    Release(view, QPoint(80, 50));
    QVERIFY(shapes.empty());
    QVERIFY(!view->m_pDrawingShape);
    QCOMPARE(view->m_nCobbStage, 0);
    SelectTool(COBBANGLE);
    Drag(view, {QPoint(60, 90), QPoint(100, 110)});
    QCOMPARE(view->m_nCobbStage, 1); // a new first line, nothing completed
    QCOMPARE(shapes.size(), std::size_t(1));

    // Removed by someone who did not tell the views: the second drag finds it gone
    shapes.clear();
    Drag(view, {QPoint(60, 50), QPoint(100, 60)});
    QCOMPARE(view->m_nCobbStage, 0);
    QVERIFY(shapes.empty());
    QVERIFY(!view->m_pDrawingShape);
}

void tst_CVantrelViewMouse::eraserRemovesTheFirstHitOnly()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    TurnAndZoom(view);
    auto& shapes = shown.Grid()->m_arrShapes;
    const COLORREF green = 0x00FF00;
    const int one = 1;
    const auto addLine = [&](CDoublePoint a, CDoublePoint b, const QString& key) {
        auto line = std::make_unique<CShapeLine>(&a, &b, &green, &one);
        line->SetImageKey(key);
        // Points as the turned view shows them: saved in the unturned image
        line->StoreOriginalPoints(90, FALSE, FALSE, 96, 128, 2.0f);
        CShapeCollection* raw = line.get();
        shapes.push_back(std::move(line));
        return raw;
    };
    // Image (10..30, 10): client y 50, x 60..100
    CShapeCollection* other = addLine(CDoublePoint(10.0, 10.0), CDoublePoint(30.0, 10.0), QStringLiteral("another image"));
    CShapeCollection* first = addLine(CDoublePoint(10.0, 10.0), CDoublePoint(30.0, 10.0), view->m_strImageKey);
    CShapeCollection* second = addLine(CDoublePoint(10.0, 10.0), CDoublePoint(30.0, 10.0), view->m_strImageKey);
    CShapeCollection* apart = addLine(CDoublePoint(10.0, 40.0), CDoublePoint(30.0, 40.0), view->m_strImageKey);
    Q_UNUSED(first);
    g_bWindowLevelMode = 0;
    g_bEraseMode = 1;
    // A click on nothing removes nothing
    Press(view, QPoint(80, 70));
    Release(view, QPoint(80, 70));
    QCOMPARE(shapes.size(), std::size_t(4));
    Press(view, QPoint(80, 50));
    Release(view, QPoint(80, 50));
    QCOMPARE(shapes.size(), std::size_t(3));
    QCOMPARE(shapes[0].get(), other);
    QCOMPARE(shapes[1].get(), second);
    QCOMPARE(shapes[2].get(), apart);
}

void tst_CVantrelViewMouse::strokesThatMakeNothing_data()
{
    QTest::addColumn<QList<QPoint>>("stroke");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<bool>("hidden");
    QTest::newRow("click without a move") << QList<QPoint>{{70, 60}, {70, 60}} << QPoint(40, 30) << false;
    QTest::newRow("start left of the image") << QList<QPoint>{{20, 60}, {70, 80}} << QPoint(40, 30) << false;
    QTest::newRow("start above the image") << QList<QPoint>{{70, 10}, {70, 80}} << QPoint(40, 30) << false;
    QTest::newRow("release left of the image") << QList<QPoint>{{70, 60}, {30, 80}} << QPoint(40, 30) << false;
    QTest::newRow("release above the image") << QList<QPoint>{{70, 60}, {70, 20}} << QPoint(40, 30) << false;
    // The image covers x 40..135 and y 30..157: its right and bottom edges lie outside
    QTest::newRow("start right of the image") << QList<QPoint>{{136, 60}, {100, 80}} << QPoint(40, 30) << false;
    QTest::newRow("start below the image") << QList<QPoint>{{70, 158}, {90, 100}} << QPoint(40, 30) << false;
    QTest::newRow("start on client x 0") << QList<QPoint>{{0, 60}, {40, 80}} << QPoint(0, 30) << false;
    QTest::newRow("annotations hidden") << QList<QPoint>{{70, 60}, {90, 80}} << QPoint(40, 30) << true;
}

void tst_CVantrelViewMouse::strokesThatMakeNothing()
{
    QFETCH(QList<QPoint>, stroke);
    QFETCH(QPoint, offset);
    QFETCH(bool, hidden);
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    TurnAndZoom(view);
    view->m_ptPanOffset = offset;
    for (int tool : {int(LINELENGTH), int(ELLIPSE), int(LINEARROW), int(COBBANGLE), int(LINEANGLE)}) {
        SelectTool(tool);
        g_bAnnotationsHidden = hidden ? 1 : 0;
        Drag(view, stroke);
        QVERIFY2(shown.Grid()->m_arrShapes.empty(), qPrintable(QString::number(tool)));
        QCOMPARE(view->m_nAngleClicks, 0);
        QCOMPARE(view->m_nCobbStage, 0);
    }
}

// The second release of a double click comes without its press: it makes no shape from the
// first click's start
void tst_CVantrelViewMouse::secondReleaseOfADoubleClickMakesNothing()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    TurnAndZoom(view);
    SelectTool(LINELENGTH);
    Press(view, QPoint(70, 60));
    Release(view, QPoint(70, 60));
    Send(view, QEvent::MouseButtonDblClick, QPoint(72, 61), Qt::LeftButton, Qt::LeftButton);
    Release(view, QPoint(75, 63));
    QVERIFY(shown.Grid()->m_arrShapes.empty());
}

void tst_CVantrelViewMouse::probeReadsWhileHeld()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    Click(&shown.ToolBar()->m_btnProbe);
    QCOMPARE(m_nDrawShape, int(PROBE));
    const QPoint at = view->rect().center();
    const auto crossPixels = [&] {
        const QImage shot = view->grab().toImage();
        // The cross: 6 pixels to each side of the pointer, in the shape colour
        return CountColour(shot, QRect(at.x() - 6, at.y(), 12, 1), qRgb(0, 255, 0));
    };
    Press(view, at);
    QCOMPARE(view->cursor().shape(), Qt::BlankCursor);
    QVERIFY(crossPixels() >= 10);
    const QPoint moved = at + QPoint(5, 3);
    Move(view, moved);
    COMPARE_POINT(view->m_ptMove, CDoublePoint(moved.x(), moved.y()));
    Release(view, moved);
    QVERIFY(shown.Grid()->m_arrShapes.empty());
    QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(crossPixels(), 0);
}

// The probe over an image above 800 x 800 pixels, which the press shows reduced: the readout is
// the value of the full image's pixel under the pointer. A 900 x 810 ramp: every step right or
// down changes the value.
void tst_CVantrelViewMouse::probeReadsTheFullImageWhileReduced()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("CT");
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    recipe.columns = 900;
    recipe.rows = 810;
    QVERIFY(shown.Study().AddImage(series, recipe));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    Click(&shown.ToolBar()->m_btnProbe);
    QCOMPARE(m_nDrawShape, int(PROBE));
    // Half size: each pane pixel shows two by two image pixels, from the first of them on
    view->m_fZoom = 0.5f;
    view->SetZoomScrollSizes(view->GetZoomedImageSize());
    view->m_ptPanOffset = QPoint(20, 20);
    const QPoint offset = view->m_ptPanOffset;
    const QSize extent = view->GetTotalDeviceSize();
    QCOMPARE(extent, QSize(450, 405));
    const auto under = [&](QPoint p) { return (p - offset) * 2; };
    const auto readout = [&] {
        ShapeTestSurface surface(view->width(), view->height());
        view->DrawShapeOnMouseMove(surface.canvas);
        return surface.canvas->texts.isEmpty() ? QString() : surface.canvas->texts.back().text;
    };
    const double intercept = recipe.rescaleIntercept.value_or(0.0);
    Press(view, offset + QPoint(10, 10));
    QVERIFY(view->IsReducedImageShown());
    for (const QPoint at : {QPoint(37, 23), QPoint(extent.width() / 2 + 3, extent.height() / 3 + 1),
                            QPoint(extent.width() - 6, extent.height() - 5), QPoint(extent.width() * 3 / 4 + 1, 17)}) {
        Move(view, offset + at);
        const QPoint pixel = under(offset + at);
        QCOMPARE(readout(), QString::asprintf("%0.0f", StoredValue(recipe, 0, pixel.x(), pixel.y()) + intercept));
    }
    Release(view, offset + QPoint(10, 10));
}

void tst_CVantrelViewMouse::pointerFollowsTheTool()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    const QPoint at = view->rect().center();
    SelectTool(ELLIPSE);
    Press(view, at);
    QCOMPARE(view->cursor().shape(), Qt::CrossCursor);
    Release(view, at);
    QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
    // A cursor left by a stroke goes with the next change of tool
    SelectTool(PROBE);
    g_bProbeMode = 1;
    Press(view, at);
    QCOMPARE(view->cursor().shape(), Qt::BlankCursor);
    Release(view, at);
    QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
    view->setCursor(Qt::BlankCursor);
    Click(&shown.ToolBar()->m_btnZoom);
    QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
}

void tst_CVantrelViewMouse::pressSelectsThePaneAndStartsTheTimer()
{
    ShownStudy shown(m_dir.path());
    for (int s = 0; s < 2; ++s) {
        CSeriesInfo* series = shown.Study().AddSeries("CT");
        QVERIFY(shown.Study().AddImage(series, SmallCt()));
    }
    QVERIFY(shown.Show(1));
    shown.Grid()->OnCommand(ID_FRAME_LAYOUT1X2);
    CVantrelView* left = shown.Grid()->GetPane(0, 0);
    CVantrelView* right = shown.Grid()->GetPane(0, 1);
    QVERIFY(left && right && left->m_bSelected && !right->m_bSelected);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(right->rect().center()), right->mapToGlobal(QPointF(right->rect().center())),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(right, &press);
    QVERIFY(press.isAccepted());
    QVERIFY(right->m_bSelected && !left->m_bSelected);
    QCOMPARE(shown.Grid()->GetActiveView(), right);
    QCOMPARE(right->GetThumbnailIndex(), 1);
    Release(right, right->rect().center());
    // The click timer repaints the pane once the double-click time has passed
    int paints = 0;
    struct Counter : QObject
    {
        int* n;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                ++*n;
            return false;
        }
    } counter;
    counter.n = &paints;
    QCoreApplication::processEvents();
    right->installEventFilter(&counter);
    paints = 0;
    QTRY_VERIFY_WITH_TIMEOUT(paints > 0, QApplication::doubleClickInterval() + 2000);
}

void tst_CVantrelViewMouse::windowDragRepeatsInImageLayout()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowTwoImagesSideBySide(shown));
    QCOMPARE(shown.Grid()->m_bSeriesLayout, BYTE(0));
    CVantrelView* left = shown.Grid()->GetPane(0, 0);
    CVantrelView* right = shown.Grid()->GetPane(0, 1);
    left->GetDocument()->m_fWindowWidth = 100;
    const QPoint at = left->rect().center();
    Drag(left, {at, at + QPoint(20, 0)});
    QCOMPARE(left->GetDocument()->m_fWindowWidth, 120.0f);
    QCOMPARE(right->GetDocument()->m_fWindowWidth, 120.0f);
    QCOMPARE(right->m_strWindowWidthText, QStringLiteral("WW = 120"));
    // And the pan
    Click(&shown.ToolBar()->m_btnPan);
    Drag(left, {at, at + QPoint(7, 9)});
    QCOMPARE(right->m_ptPanOffset, left->m_ptPanOffset);
}

// Reset in image layout: the other pane's zoom, pan, orientation and shape points come back
void tst_CVantrelViewMouse::resetRestoresShapesOfEveryPane()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowTwoImagesSideBySide(shown));
    CVantrelView* left = shown.Grid()->GetPane(0, 0);
    CVantrelView* right = shown.Grid()->GetPane(0, 1);
    QTRY_VERIFY(right->isVisible());
    QCoreApplication::processEvents();
    const float fitted = right->m_fZoom;
    TurnAndZoom(right);
    SelectTool(LINE);
    right->m_bSelected = 1;
    Drag(right, {QPoint(60, 50), QPoint(100, 130)});
    QCOMPARE(shown.Grid()->m_arrShapes.size(), std::size_t(1));
    CShapeCollection* shape = shown.Grid()->m_arrShapes.front().get();
    // Reset from the other pane
    Press(left, left->rect().center());
    Release(left, left->rect().center());
    QCOMPARE(shown.Grid()->GetActiveView(), left);
    Click(&shown.ToolBar()->m_btnReset);
    QCOMPARE(right->GetOrientation(), ViewOrientation());
    QCOMPARE(right->m_fZoom, fitted);
    COMPARE_POINT(shape->GetStartPoint(), CDoublePoint(10.0, 38.0));
    COMPARE_POINT(shape->GetEndPoint(), CDoublePoint(50.0, 18.0));
}

// The main window with a CT study and one shape of each tool drawn by the mouse
void tst_CVantrelViewMouse::picturesOneShapeOfEachTool()
{
    ShownStudy shown(m_dir.path(), QRect(0, 0, 1280, 1024));
    CSeriesInfo* series = shown.Study().AddSeries("CT");
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    recipe.columns = recipe.rows = 512;
    recipe.content = Content::Phantom;
    QVERIFY(shown.Study().AddImage(series, recipe));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    CToolView* bar = shown.ToolBar();
    const QRect image(view->m_ptPanOffset, view->GetTotalDeviceSize());
    const auto at = [&](double fx, double fy) {
        return QPoint(image.left() + int(fx * image.width()), image.top() + int(fy * image.height()));
    };
    auto& shapes = shown.Grid()->m_arrShapes;

    Click(&bar->m_btnLinear);
    Drag(view, {at(0.15, 0.15), at(0.35, 0.20)});
    Click(&bar->m_btnEllipse);
    Drag(view, {at(0.55, 0.12), at(0.85, 0.30)});
    Click(&bar->m_btnLineAngle);
    Drag(view, {at(0.15, 0.45), at(0.30, 0.40)});
    Move(view, at(0.35, 0.55), Qt::NoButton);
    Press(view, at(0.35, 0.55));
    Release(view, at(0.35, 0.55));
    SelectTool(LINEARROW);
    Drag(view, {at(0.50, 0.45), at(0.65, 0.40)});
    SelectTool(LINE);
    Drag(view, {at(0.72, 0.42), at(0.88, 0.50)});
    SelectTool(CIRCLE);
    Drag(view, {at(0.12, 0.65), at(0.28, 0.80)});
    SelectTool(FREEHANDDRAW);
    Drag(view, {at(0.40, 0.70), at(0.45, 0.78), at(0.52, 0.72), at(0.58, 0.82)});
    SelectTool(COBBANGLE);
    Drag(view, {at(0.68, 0.66), at(0.86, 0.62)});
    Drag(view, {at(0.68, 0.80), at(0.86, 0.88)});
    SelectTool(TEXTOUT);
    Drag(view, {at(0.40, 0.88), at(0.55, 0.95)});
    QCOMPARE(shapes.size(), std::size_t(8));
    QVERIFY(dynamic_cast<CShapeText*>(view->m_pDrawingShape)); // waits for its text
    QVERIFY(view->m_pTextEdit);
    QTest::keyClicks(view->m_pTextEdit, QStringLiteral("Note"));
    // The probe's readout while the button is held
    Click(&bar->m_btnProbe);
    Press(view, at(0.5, 0.5));
    Move(view, at(0.5, 0.55));

    const QImage shot = shown.Frame().Frame()->grab().toImage();
    if (const QByteArray out = qgetenv("ORVANE_TEST_OUTPUT"); !out.isEmpty())
        QVERIFY(shot.save(QString::fromLocal8Bit(out) + QStringLiteral("/tools-shapes-1280x1024.png")));
    Release(view, at(0.5, 0.55));
    // Every shape shows in the shape colour where it was drawn
    const QImage pane = view->grab().toImage();
    for (const auto& shape : shapes) {
        const CDoublePoint a = shape->GetStartPoint(), b = shape->GetEndPoint();
        const float z = view->m_fZoom;
        const QRect box = QRect(QPoint(int(std::min(a.x, b.x) * z), int(std::min(a.y, b.y) * z)),
                                QPoint(int(std::max(a.x, b.x) * z), int(std::max(a.y, b.y) * z)))
                              .translated(view->m_ptPanOffset)
                              .adjusted(-3, -3, 3, 3);
        // Anti-aliased lines blend with the image: pixels mostly green (or the red line)
        int marked = 0;
        const QRect r = box & pane.rect();
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QRgb c = pane.pixel(x, y);
                if ((qGreen(c) > 150 && qRed(c) < 90 && qBlue(c) < 90) || (qRed(c) > 150 && qGreen(c) < 90 && qBlue(c) < 90))
                    ++marked;
            }
        QVERIFY2(marked > 10, typeid(*shape).name());
    }
}

QTEST_MAIN(tst_CVantrelViewMouse)
#include "tst_CVantrelViewMouse.moc"
