// The pane as the view paints it, pixel for pixel, against a reference composed in the test the
// way the pane was composed when every paint went through one client-sized buffer: the buffer
// filled black, the bitmap stretched into it pixel by pixel (nearest pixel), the shapes of the
// image, the scales, the rubber band, the pane frame and the corner texts laid out afresh. Zoom
// in and out, pans past every edge, turns and flips, the overlay on and off, shapes drawn and
// hidden, the rubber band of a drag, the reduced picture of a held button, and repaints after
// each change of a window drag.

// Qt
#include <QPainter>
#include <QtTest>

// std
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

// Orvane
#include "annotation/CQtFontMetrics.h"
#include "annotation/CShapeCanvas.h"
#include "annotation/CShapeCollection.h"
#include "app/COstrevanApp.h"
#include "platform/CxImage.h"
#include "res/resource.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tests/viewer/ShownStudy.h"
#include "tests/viewer/ViewerTestStudy.h"
#include "state/ToolState.h"
#include "tools/fixtures/ImageFixtures.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"
#include "viewer/ViewOverlay.h"

using namespace Fixtures;

namespace {

const IShapeFontMetrics& Metrics()
{
    static const CQtFontMetrics metrics;
    return metrics;
}

// Nearest pixel, one pixel at a time: buffer pixel x shows source column
// (x - left) * width / extent width, likewise for rows
bool ReferenceStretch(const QImage& source, QImage& target, const QRect& destination)
{
    const bool grey = source.format() == QImage::Format_Grayscale8;
    const bool bgr = source.format() == QImage::Format_BGR888;
    if (source.isNull() || (!grey && !bgr && source.format() != QImage::Format_RGB888))
        return false;
    if (destination.width() <= 0 || destination.height() <= 0)
        return false;
    const QRect visible = destination.intersected(target.rect());
    const qint64 sw = source.width(), sh = source.height();
    const qint64 dw = destination.width(), dh = destination.height();
    for (int y = visible.top(); y <= visible.bottom(); ++y) {
        const int sy = int(std::min(sh - 1, (qint64(y) - destination.top()) * sh / dh));
        for (int x = visible.left(); x <= visible.right(); ++x) {
            const int sx = int(std::min(sw - 1, (qint64(x) - destination.left()) * sw / dw));
            const uchar* p = source.constScanLine(sy) + (grey ? sx : 3 * sx);
            const QRgb rgb = grey ? qRgb(p[0], p[0], p[0]) : bgr ? qRgb(p[2], p[1], p[0]) : qRgb(p[0], p[1], p[2]);
            target.setPixel(x, y, rgb);
        }
    }
    return true;
}

// The corner texts, laid out for this paint
void ReferenceOverlay(CVantrelView& view, CShapeCanvas& dc)
{
    if (!view.m_pTextFont)
        return;
    const QFont font = view.m_pTextFont->GetFont() ? *view.m_pTextFont->GetFont() : dc.GetFont();
    dc.SelectFont(font);
    dc.SetBkMode(CShapeCanvas::TRANSPARENT);
    dc.SetTextColor(view.m_crTextColor);
    ViewOverlay::Texts t;
    t.strPatientName = view.m_strPatientName;
    t.strPatientID = view.m_strPatientID;
    t.strBirthDate = view.m_strBirthDate;
    t.strSex = view.m_strSex;
    t.strStudyText = view.m_strStudyText;
    t.strSeriesText = view.m_strSeriesText;
    t.strImageText = view.m_strImageText;
    t.strFrameText = view.m_strFrameText;
    t.strAccessionNo = view.m_strAccessionNo;
    t.strStudyDescription = view.m_strStudyDescription;
    t.strDateTime = view.m_strDateTime;
    t.strInstitutionName = view.m_strInstitutionName;
    t.strWindowWidthText = view.m_strWindowWidthText;
    t.strWindowLevelText = view.m_strWindowLevelText;
    t.strSeriesDescription = view.m_strSeriesDescription;
    t.strModality = view.m_strModality;
    t.strReferringPhysician = view.m_strReferringPhysician;
    t.strNoPictureText = view.NoPictureText();
    const bool multiFrame = view.m_pDicomImage && view.m_pDicomImage->IsMultiFrame();
    for (const ViewOverlay::Line& line : ViewOverlay::Layout(t, multiFrame, view.width(), view.height(), font, Metrics()))
        dc.TextOut(line.x, line.y, line.text);
}

// The whole pane composed in one client-sized buffer
QImage ReferencePane(CVantrelView& view)
{
    const QSize client = view.size();
    QImage buffer(client, QImage::Format_RGB32);
    buffer.fill(Qt::black);
    const COLORREF frameColour = view.m_bSelected ? RGB(0, 255, 0) : RGB(255, 255, 255);
    QPainter memory(&buffer);
    CShapeCanvas canvas(memory, &buffer, Metrics());
    const QPoint origin = view.m_ptPanOffset - view.GetScrollPosition();
    const QSize extent = view.GetTotalDeviceSize();
    if (view.m_pDisplayImage && !ReferenceStretch(view.m_pDisplayImage->GetQImage(), buffer, QRect(origin, extent)))
        view.m_pDisplayImage->Draw2(&memory, origin.x(), origin.y(), extent.width(), extent.height());

    CMyFrameWnd* grid = CVantrelView::GetGridFrame();
    if (grid && !view.m_bCineRunning && !g_bAnnotationsHidden && !g_bMagnifierMode && !view.m_strImageKey.isEmpty()) {
        const float zoom = view.GetShapeZoom();
        const bool sideways = (view.GetOrientation().nAngle / 90) % 2 != 0;
        for (const std::unique_ptr<CShapeCollection>& shape : grid->m_arrShapes) {
            if (!shape || shape->GetImageKey() != view.m_strImageKey)
                continue;
            view.OrientShape(*shape);
            shape->SetViewExtent(extent.width(), extent.height());
            const bool swapSpacing = sideways && shape->GetText().isEmpty();
            if (swapSpacing)
                std::swap(shape->m_dSpacingX, shape->m_dSpacingY);
            const POINT previous = canvas.SetViewportOrg(origin.x(), origin.y());
            shape->Draw(&canvas, 0, zoom);
            canvas.SetViewportOrg(previous.x, previous.y);
            if (swapSpacing)
                std::swap(shape->m_dSpacingX, shape->m_dSpacingY);
        }
    }
    view.DrawReferenceLine(&canvas);
    if (view.m_bSelected)
        view.DrawShapeOnMouseMove(&canvas);
    const RECT box{0, 0, client.width(), view.m_sizePane == QSize(0, 0) ? client.height() - 1 : client.height()};
    canvas.FillSolidRect(RECT{box.left, box.top, box.right, box.top + 1}, frameColour);
    canvas.FillSolidRect(RECT{box.left, box.bottom - 1, box.right, box.bottom}, frameColour);
    canvas.FillSolidRect(RECT{box.left, box.top, box.left + 1, box.bottom}, frameColour);
    canvas.FillSolidRect(RECT{box.right - 1, box.top, box.right, box.bottom}, frameColour);
    if (!g_bHeaderInfoHidden)
        ReferenceOverlay(view, canvas);
    return buffer;
}

// Empty when both are the same picture; else how many pixels differ and the first one. The two
// pictures go to the test output folder then.
QString Difference(const QImage& shown, const QImage& expected, const QString& name)
{
    if (shown.size() != expected.size())
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(shown.width()).arg(shown.height()).arg(expected.width()).arg(expected.height());
    long long differing = 0;
    QString first;
    for (int y = 0; y < shown.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        for (int x = 0; x < shown.width(); ++x) {
            if ((a[x] & 0xFFFFFF) == (b[x] & 0xFFFFFF))
                continue;
            if (differing++ == 0)
                first = QStringLiteral("(%1, %2): %3 instead of %4")
                            .arg(x).arg(y).arg(a[x] & 0xFFFFFF, 6, 16, QLatin1Char('0')).arg(b[x] & 0xFFFFFF, 6, 16, QLatin1Char('0'));
        }
    }
    if (differing == 0)
        return QString();
    const QString folder = qEnvironmentVariable("ORVANE_TEST_OUTPUT");
    if (!folder.isEmpty()) {
        shown.save(QDir(folder).filePath(QStringLiteral("paint-%1-shown.png").arg(name)));
        expected.save(QDir(folder).filePath(QStringLiteral("paint-%1-expected.png").arg(name)));
    }
    return QStringLiteral("%1 pixels differ, first at %2").arg(differing).arg(first);
}

QImage Shown(CVantrelView& view)
{
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

#define COMPARE_PANE(view, name)                                                             \
    do {                                                                                     \
        const QImage shown_ = Shown(view);                                                   \
        const QString difference_ = Difference(shown_, ReferencePane(view), name);           \
        QVERIFY2(difference_.isEmpty(), qPrintable(QString(name) + QStringLiteral(": ") + difference_)); \
    } while (false)

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
void Move(QWidget* w, QPoint p)
{
    Send(w, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
}
void Release(QWidget* w, QPoint p)
{
    Send(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
}

void SelectTool(int shape)
{
    ClearToolModes();
    m_nDrawShape = shape;
    g_bToolActive = 1;
}

ImageRecipe Recipe(const QString& kind)
{
    if (kind == QLatin1String("rgb")) {
        ImageRecipe recipe = Preset(ImagePreset::Rgb);
        recipe.columns = 161;
        recipe.rows = 119;
        return recipe;
    }
    if (kind == QLatin1String("multiframe")) {
        ImageRecipe recipe = Preset(ImagePreset::MultiFrameColour);
        recipe.columns = 90;
        recipe.rows = 70;
        recipe.frames = 3;
        return recipe;
    }
    if (kind == QLatin1String("large")) {
        ImageRecipe recipe = Preset(ImagePreset::Cr);
        recipe.content = Content::Phantom;
        recipe.columns = 1203;
        recipe.rows = 1001;
        return recipe;
    }
    // CT of 16 bits: the scales are drawn
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    recipe.columns = 301;
    recipe.rows = 223;
    return recipe;
}

void Zoom(CVantrelView* view, float zoom)
{
    view->m_fZoom = zoom;
    view->SetZoomScrollSizes(view->GetZoomedImageSize());
    view->CenterImageInView();
}

// Shapes of the image made with the drawing tools, anti-aliased ones among them
void DrawShapes(CVantrelView* view)
{
    const QPoint c(view->width() / 2, view->height() / 2);
    const std::pair<int, std::vector<QPoint>> strokes[] = {
        {ELLIPSE, {c - QPoint(120, 80), c + QPoint(90, 60)}},
        {LINEARROW, {c - QPoint(200, -40), c + QPoint(170, 110)}},
        {LINELENGTH, {c - QPoint(60, 140), c + QPoint(150, -30)}},
        {CIRCLE, {c + QPoint(30, 20), c + QPoint(80, 75)}},
        {LINE, {c - QPoint(300, 200), c + QPoint(310, 190)}},
    };
    for (const auto& stroke : strokes) {
        SelectTool(stroke.first);
        Press(view, stroke.second.front());
        Move(view, (stroke.second.front() + stroke.second.back()) / 2);
        Move(view, stroke.second.back());
        Release(view, stroke.second.back());
    }
    SetDefaultToolState();
}

} // namespace

class tst_ViewPaint : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void paneMatchesTheReference_data();
    void paneMatchesTheReference();
    void everyRepaintOfAWindowDragMatches_data();
    void everyRepaintOfAWindowDragMatches();
    void rubberBandMatchesWhileDrawing();
    void paneWithoutPictureMatches();

private:
    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_ViewPaint::initTestCase()
{
    m_codecs = std::make_unique<DicomCodecs>();
    QVERIFY(m_dir.isValid());
}

void tst_ViewPaint::init()
{
    ClearToolState();
    SetDefaultToolState();
    theApp.m_bEmptyViewText = 0;
    theApp.m_bShowLoadingText = 0;
}

void tst_ViewPaint::cleanup()
{
    ClearToolState();
}

void tst_ViewPaint::paneMatchesTheReference_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("state");
    const QStringList states = {
        "fit", "zoom-1", "zoom-in-2.37", "zoom-in-7.9", "zoom-out-0.43", "zoom-out-0.999",
        "pan-left-up", "pan-right-down", "pan-outside", "zoom-in-pan-corner",
        "turn-right", "turn-left-mirror", "flip", "negative",
        "header-hidden", "not-selected", "pane-size-zero",
        "shapes", "shapes-zoomed-turned", "shapes-hidden", "shapes-magnifier", "shapes-cine", "shapes-header-hidden",
    };
    for (const char* kind : {"ct", "rgb"})
        for (const QString& state : states)
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(kind, state))) << QString::fromLatin1(kind) << state;
    for (const char* state : {"fit", "zoom-in-2.37", "shapes"})
        QTest::newRow(qPrintable(QStringLiteral("multiframe %1").arg(state))) << QStringLiteral("multiframe") << QString::fromLatin1(state);
}

void tst_ViewPaint::paneMatchesTheReference()
{
    QFETCH(QString, kind);
    QFETCH(QString, state);
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries(kind == QLatin1String("ct") ? "CT" : "US");
    QVERIFY(shown.Study().AddImage(series, Recipe(kind)));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    QVERIFY(view->m_bSelected);

    if (state.startsWith(QLatin1String("shapes")))
        DrawShapes(view);
    QVERIFY(!state.startsWith(QLatin1String("shapes")) || !shown.Grid()->m_arrShapes.empty());
    // Painted once before the change, so that a paint after it shows the change
    COMPARE_PANE(*view, kind + QLatin1Char('-') + state + QStringLiteral("-before"));

    if (state.startsWith(QLatin1String("zoom-")))
        Zoom(view, state.section('-', -1).toFloat());
    if (state == QLatin1String("zoom-in-pan-corner")) {
        Zoom(view, 3.3f);
        view->m_ptPanOffset -= QPoint(170, 95);
    }
    if (state == QLatin1String("pan-left-up"))
        view->m_ptPanOffset = QPoint(-150, -90);
    if (state == QLatin1String("pan-right-down"))
        view->m_ptPanOffset = QPoint(view->width() - 60, view->height() - 45);
    if (state == QLatin1String("pan-outside"))
        view->m_ptPanOffset = QPoint(view->width() + 10, -5000);
    if (state == QLatin1String("turn-right"))
        view->TakeImageCommand(ID_IMAGE_ROTATERIGHT);
    if (state == QLatin1String("turn-left-mirror")) {
        view->TakeImageCommand(ID_IMAGE_ROTATELEFT);
        view->TakeImageCommand(ID_IMAGE_MIRROR);
    }
    if (state == QLatin1String("flip"))
        view->TakeImageCommand(ID_IMAGE_FLIP);
    if (state == QLatin1String("negative"))
        view->TakeImageCommand(ID_IMAGE_NEGATIVE);
    if (state == QLatin1String("shapes-zoomed-turned")) {
        view->TakeImageCommand(ID_IMAGE_ROTATERIGHT);
        Zoom(view, 1.7f);
        view->m_ptPanOffset += QPoint(33, -21);
    }
    if (state.endsWith(QLatin1String("header-hidden")))
        g_bHeaderInfoHidden = 1;
    if (state == QLatin1String("not-selected"))
        view->m_bSelected = 0;
    if (state == QLatin1String("pane-size-zero"))
        view->m_sizePane = QSize(0, 0);
    if (state == QLatin1String("shapes-hidden"))
        g_bAnnotationsHidden = 1;
    if (state == QLatin1String("shapes-magnifier"))
        g_bMagnifierMode = 1;
    if (state == QLatin1String("shapes-cine"))
        view->m_bCineRunning = 1;

    COMPARE_PANE(*view, kind + QLatin1Char('-') + state);
    // A second paint of the same state too
    COMPARE_PANE(*view, kind + QLatin1Char('-') + state + QStringLiteral("-again"));
    view->m_bCineRunning = 0;
}

void tst_ViewPaint::everyRepaintOfAWindowDragMatches_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("withShapes");
    // A large image is shown reduced while the button is held
    QTest::newRow("large") << QStringLiteral("large") << false;
    QTest::newRow("large with shapes") << QStringLiteral("large") << true;
    QTest::newRow("ct") << QStringLiteral("ct") << false;
    QTest::newRow("rgb with shapes") << QStringLiteral("rgb") << true;
}

void tst_ViewPaint::everyRepaintOfAWindowDragMatches()
{
    QFETCH(QString, kind);
    QFETCH(bool, withShapes);
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries(kind == QLatin1String("rgb") ? "US" : "CR");
    QVERIFY(shown.Study().AddImage(series, Recipe(kind)));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    if (withShapes)
        DrawShapes(view);
    COMPARE_PANE(*view, kind + QStringLiteral("-before"));

    const QPoint start(view->width() / 2, view->height() / 2);
    Press(view, start);
    if (kind == QLatin1String("large"))
        QVERIFY(view->IsReducedImageShown());
    COMPARE_PANE(*view, kind + QStringLiteral("-pressed"));
    const QString widthBefore = view->m_strWindowWidthText;
    for (int step = 1; step <= 4; ++step) {
        Move(view, start + QPoint(17 * step, -11 * step));
        COMPARE_PANE(*view, kind + QStringLiteral("-step%1").arg(step));
    }
    // The window texts changed on the way
    QVERIFY(view->m_strWindowWidthText != widthBefore);
    Release(view, start + QPoint(68, -44));
    COMPARE_PANE(*view, kind + QStringLiteral("-released"));
    // Zoomed after the drag: the picture is laid out anew
    Zoom(view, 1.61f);
    COMPARE_PANE(*view, kind + QStringLiteral("-zoomed"));
}

void tst_ViewPaint::rubberBandMatchesWhileDrawing()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("CT");
    QVERIFY(shown.Study().AddImage(series, Recipe("ct")));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    DrawShapes(view);
    for (int tool : {ELLIPSE, LINE, LINEARROW, CIRCLE}) {
        SelectTool(tool);
        const QPoint from(200, 150);
        Press(view, from);
        Move(view, from + QPoint(60, 40));
        Move(view, from + QPoint(240, 170));
        // The band of the tool is drawn over the picture and the shapes while the button is held
        COMPARE_PANE(*view, QStringLiteral("band-%1").arg(tool));
        Release(view, from + QPoint(240, 170));
        COMPARE_PANE(*view, QStringLiteral("band-%1-released").arg(tool));
    }
}

void tst_ViewPaint::paneWithoutPictureMatches()
{
    ViewerTestStudy study(m_dir.path());
    CSeriesInfo* series = study.AddSeries("CT");
    CImageInfo* image = study.AddImage(series, Recipe("ct"), Syntax::JpegLs);
    QVERIFY(image);
    auto* document = new CVantrelDoc;
    auto view = std::make_unique<CVantrelView>(document);
    document->setParent(view.get());
    view->resize(420, 380);
    view->show();
    view->m_pPatient = study.m_pPatient;
    view->m_pStudy = study.m_pStudy;
    view->m_pSeries = series;
    view->m_pImage = image;
    document->OnOpenDocument(image->m_strFilePath);
    view->LoadImageIntoViewPort(FALSE);
    view->InitialiseImageData(TRUE);
    view->DrawImageInfoOverlay();
    QVERIFY(!view->HasPicture());
    QVERIFY(!view->NoPictureText().isEmpty());
    COMPARE_PANE(*view, QStringLiteral("no-picture"));
}

QTEST_MAIN(tst_ViewPaint)
#include "tst_ViewPaint.moc"
