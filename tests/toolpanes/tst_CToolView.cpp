// The tool bar in the main window: its first update, the buttons' places on each monitor, the
// tool state after sequences of clicks with the buttons it checks, the guards, the press
// filter, the hooks, Reset, Study List and Exit, and what the panes show after a tool change.

// Qt
#include <QtTest>

// std
#include <memory>

// Orvane
#include "annotation/CShapeLine.h"
#include "app/COstrevanApp.h"
#include "app/PaneSizes.h"
#include "platform/CxImage.h"
#include "res/resource.h"
#include "study/CSeriesInfo.h"
#include "study/DicomCodecs.h"
#include "tests/app/FrameUnderTest.h"
#include "tests/viewer/OnScreen.h"
#include "tests/viewer/ShownStudy.h"
#include "toolpanes/CToolView.h"
#include "toolpanes/ToolBarGeometry.h"
#include "state/ToolState.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CShapeTextEdit.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"

using namespace Fixtures;

Q_DECLARE_METATYPE(Fixtures::ImagePreset)

namespace {

const QStringList kTooltips = {"Reset", "Magnify", "Zoom", "Pan", "Invert", "Orientation Tools", "Probe",
                               "Window Width/Level", "Linear Measurement", "Line Angle", "Line/Text", "Ellipse",
                               "EraseTools", "Study List", "Layout", "Cine"};

const QMap<QString, int> kIndex = {{"reset", TB_RESET},       {"magnify", TB_MAGNIFY},
                                   {"zoom", TB_ZOOM},         {"pan", TB_PAN},
                                   {"invert", TB_INVERT},     {"orientation", TB_ORIENTATION},
                                   {"probe", TB_PROBE},       {"wl", TB_WINDOWLEVEL},
                                   {"linear", TB_LINEAR},     {"angle", TB_LINEANGLE},
                                   {"annotation", TB_ANNOTATION}, {"ellipse", TB_ELLIPSE},
                                   {"erase", TB_ERASETOOLS},  {"studylist", TB_STUDYLIST},
                                   {"layout", TB_LAYOUT},     {"cine", TB_CINE}};

QString State()
{
    return QStringLiteral("wl=%1 zoom=%2 mag=%3 pan=%4 erase=%5 probe=%6 shape=%7 active=%8")
        .arg(g_bWindowLevelMode)
        .arg(g_bZoomMode)
        .arg(g_bMagnifierMode)
        .arg(g_bPanMode)
        .arg(g_bEraseMode)
        .arg(g_bProbeMode)
        .arg(m_nDrawShape)
        .arg(g_bToolActive);
}
const QString kDefault = QStringLiteral("wl=1 zoom=0 mag=0 pan=0 erase=0 probe=0 shape=0 active=1");

// A click as the user makes it: press and release over the button, then the posted command
void Click(QWidget* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
}

// The buttons that show checked, each both flagged and painted pressed
QList<int> Checked(const CToolView& bar)
{
    QList<int> checked;
    for (int i = 0; i < TB_TOOL_BUTTONS; ++i) {
        const CImageButton* button = bar.GetToolButton(i);
        if (button->m_bChecked != (button->m_nState == 1))
            return {-1}; // flag and picture disagree
        if (button->m_bChecked)
            checked << i;
    }
    return checked;
}

// A standalone bar that records its hooks
class RecordingToolView : public CToolView
{
public:
    using CToolView::CToolView;
    QStringList calls;
    void OnCine() override { calls << "cine"; }
    void OnInvert() override { calls << "invert"; }
    void OnAnottools() override { calls << "annotation"; }
    void OnErasetools() override { calls << "erase"; }
    void OnOrientation() override { calls << "orientation"; }
    void OnChangeayout() override { calls << "layout"; }
};

} // namespace

class tst_CToolView : public QObject
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
        theApp.m_bImagesLoaded = 0;
    }

    void firstUpdateMakesWindowLevelTheTool()
    {
        QCOMPARE(g_bWindowLevelMode, 0);
        FrameUnderTest app(QRect(0, 0, 1280, 1024));
        CToolView* bar = app.Child()->GetToolView();
        QVERIFY(bar);
        QCOMPARE(State(), kDefault);
        QCOMPARE(Checked(*bar), QList<int>{TB_WINDOWLEVEL});
        for (int i = 0; i < TB_TOOL_BUTTONS; ++i) {
            CImageButton* button = bar->GetToolButton(i);
            QCOMPARE(button->toolTip(), kTooltips[i]);
            QCOMPARE(bool(button->m_bToggle), i != TB_RESET);
            QVERIFY(button->m_pImgNormal && button->m_pImgNormal->IsValid());
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        }
        QCOMPARE(bar->m_btnExit.toolTip(), QStringLiteral("Exit"));
        QCOMPARE(bar->m_btnExit.focusPolicy(), Qt::NoFocus);
        QCOMPARE(bar->GetToolButton(TB_PROBE), &bar->m_btnProbe);
        QCOMPARE(bar->GetToolButton(TB_CINE), &bar->m_btnCine);
    }

    void laysButtonsOutForMonitor_data()
    {
        QTest::addColumn<QRect>("monitor");
        QTest::addColumn<int>("side");
        QTest::addColumn<QPoint>("reset");
        QTest::addColumn<int>("lastX");
        QTest::addColumn<int>("exitX");
        QTest::newRow("800 x 600") << QRect(0, 0, 800, 600) << 29 << QPoint(92, 15) << 572 << 649;
        QTest::newRow("1024 x 768") << QRect(0, 0, 1024, 768) << 37 << QPoint(129, 7) << 729 << 847;
        QTest::newRow("1280 x 1024") << QRect(0, 0, 1280, 1024) << 40 << QPoint(236, 16) << 881 << 1094;
        QTest::newRow("1600 x 1200") << QRect(0, 0, 1600, 1200) << 40 << QPoint(380, 26) << 1025 << 1382;
        QTest::newRow("1920 x 1080") << QRect(0, 0, 1920, 1080) << 40 << QPoint(540, 19) << 1185 << 1702;
    }

    void laysButtonsOutForMonitor()
    {
        QFETCH(QRect, monitor);
        QFETCH(int, side);
        QFETCH(QPoint, reset);
        QFETCH(int, lastX);
        QFETCH(int, exitX);
        FrameUnderTest app(monitor);
        CToolView* bar = app.Child()->GetToolView();
        QCOMPARE(bar->m_btnReset.geometry(), QRect(reset, QSize(side, side)));
        QCOMPARE(bar->m_btnCine.geometry(), QRect(QPoint(lastX, reset.y()), QSize(side, side)));
        QCOMPARE(bar->m_btnExit.geometry(), QRect(QPoint(exitX, reset.y()), QSize(side, side)));
        // Every button is visible inside the bar
        for (int i = 0; i < TB_TOOL_BUTTONS; ++i)
            QVERIFY(bar->rect().contains(bar->GetToolButton(i)->geometry()));
        QVERIFY(bar->rect().contains(bar->m_btnExit.geometry()));
        // Without the thumbnail column the row is centred in the wider pane
        app.Child()->ToggleThumbnailPane(FALSE);
        const ToolBarGeometry::Layout wide =
            ToolBarGeometry::ToolBarLayout(monitor.width(), monitor.height(), monitor.width(), theApp.m_nToolRowHeight);
        QCOMPARE(bar->m_btnReset.geometry(), wide.tools[0]);
        QVERIFY(wide.tools[0].left() > reset.x());
        app.Child()->ToggleThumbnailPane(TRUE);
        QCOMPARE(bar->m_btnReset.geometry(), QRect(reset, QSize(side, side)));
    }

    void clickSequences_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QList<int>>("checked");
        const QString zoom = "wl=0 zoom=1 mag=0 pan=0 erase=0 probe=0 shape=0 active=1";
        const QString pan = "wl=0 zoom=0 mag=0 pan=1 erase=0 probe=0 shape=0 active=1";
        QTest::newRow("zoom") << QStringList{"zoom"} << zoom << QList<int>{TB_ZOOM};
        QTest::newRow("zoom twice") << QStringList{"zoom", "zoom"} << kDefault << QList<int>{TB_WINDOWLEVEL};
        QTest::newRow("zoom, pan") << QStringList{"zoom", "pan"} << pan << QList<int>{TB_PAN};
        QTest::newRow("zoom, pan, pan") << QStringList{"zoom", "pan", "pan"} << kDefault << QList<int>{TB_WINDOWLEVEL};
        QTest::newRow("zoom, linear") << QStringList{"zoom", "linear"}
                                      << "wl=0 zoom=0 mag=0 pan=0 erase=0 probe=0 shape=10010 active=1"
                                      << QList<int>{TB_LINEAR};
        QTest::newRow("linear twice") << QStringList{"linear", "linear"} << kDefault << QList<int>{TB_WINDOWLEVEL};
        QTest::newRow("ellipse, angle") << QStringList{"ellipse", "angle"}
                                        << "wl=0 zoom=0 mag=0 pan=0 erase=0 probe=0 shape=10013 active=1"
                                        << QList<int>{TB_LINEANGLE};
        QTest::newRow("angle, ellipse") << QStringList{"angle", "ellipse"}
                                        << "wl=0 zoom=0 mag=0 pan=0 erase=0 probe=0 shape=10003 active=1"
                                        << QList<int>{TB_ELLIPSE};
        QTest::newRow("probe") << QStringList{"probe"} << "wl=0 zoom=0 mag=0 pan=0 erase=0 probe=1 shape=10015 active=1"
                               << QList<int>{TB_PROBE};
        QTest::newRow("probe twice") << QStringList{"probe", "probe"} << kDefault << QList<int>{TB_WINDOWLEVEL};
        QTest::newRow("magnify") << QStringList{"magnify"} << "wl=0 zoom=0 mag=1 pan=0 erase=0 probe=0 shape=0 active=1"
                                 << QList<int>{TB_MAGNIFY};
        QTest::newRow("magnify, zoom") << QStringList{"magnify", "zoom"} << zoom << QList<int>{TB_ZOOM};
        QTest::newRow("window/level stays on") << QStringList{"wl"} << kDefault << QList<int>{TB_WINDOWLEVEL};
        QTest::newRow("zoom, window/level") << QStringList{"zoom", "wl"} << kDefault << QList<int>{TB_WINDOWLEVEL};
        QTest::newRow("zoom, reset") << QStringList{"zoom", "reset"} << kDefault << QList<int>{TB_WINDOWLEVEL};
        // Opening the erase panel ends the drawing tool, and its button shows it
        const QString none = "wl=0 zoom=0 mag=0 pan=0 erase=0 probe=0 shape=0 active=1";
        QTest::newRow("linear, erase panel") << QStringList{"linear", "erase"} << none << QList<int>{};
        QTest::newRow("angle, erase panel") << QStringList{"angle", "erase"} << none << QList<int>{};
        QTest::newRow("ellipse, erase panel") << QStringList{"ellipse", "erase"} << none << QList<int>{};
        // The buttons of the later parts change no tool
        QTest::newRow("pan, then the other buttons")
            << QStringList{"pan", "invert", "orientation", "annotation", "erase", "layout", "cine", "studylist"} << pan
            << QList<int>{TB_PAN};
    }

    void clickSequences()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QString, state);
        QFETCH(QList<int>, checked);
        ShownStudy shown(m_dir.path());
        CSeriesInfo* series = shown.Study().AddSeries("CT");
        QVERIFY(shown.Study().AddImage(series, Preset(ImagePreset::Ct)));
        QVERIFY(shown.Show());
        CToolView* bar = shown.ToolBar();
        QCOMPARE(State(), kDefault);
        for (const QString& click : clicks)
            Click(bar->GetToolButton(kIndex.value(click)));
        QCOMPARE(State(), state);
        QCOMPARE(Checked(*bar), checked);
        shown.Study().m_list.hide();
    }

    // The view keeps the keyboard after a click on the bar
    void viewKeepsTheFocus()
    {
        ShownStudy shown(m_dir.path());
        CSeriesInfo* series = shown.Study().AddSeries("CT");
        QVERIFY(shown.Study().AddImage(series, Preset(ImagePreset::Ct)));
        QVERIFY(shown.Show());
        shown.Frame().Frame()->activateWindow();
        shown.View()->setFocus();
        QTRY_VERIFY(shown.View()->hasFocus());
        Click(&shown.ToolBar()->m_btnInvert);
        Click(&shown.ToolBar()->m_btnLayout);
        QVERIFY(shown.View()->hasFocus());
    }

    void doesNothingBeforeAStudy()
    {
        FrameUnderTest app(QRect(0, 0, 1280, 1024));
        CToolView* bar = app.Child()->GetToolView();
        for (const char* name : {"zoom", "pan", "magnify", "probe", "linear", "angle", "ellipse", "wl", "reset"})
            Click(bar->GetToolButton(kIndex.value(name)));
        QCOMPARE(State(), kDefault);
        QCOMPARE(Checked(*bar), QList<int>{TB_WINDOWLEVEL});
    }

    void drawingButtonsDoNothingWhileAnnotationsHidden()
    {
        ShownStudy shown(m_dir.path());
        CSeriesInfo* series = shown.Study().AddSeries("CT");
        QVERIFY(shown.Study().AddImage(series, Preset(ImagePreset::Ct)));
        QVERIFY(shown.Show());
        Click(&shown.ToolBar()->m_btnZoom);
        g_bAnnotationsHidden = 1;
        for (CImageButton* button : {&shown.ToolBar()->m_btnLinear, &shown.ToolBar()->m_btnLineAngle,
                                     &shown.ToolBar()->m_btnEllipse})
            Click(button);
        QCOMPARE(State(), QStringLiteral("wl=0 zoom=1 mag=0 pan=0 erase=0 probe=0 shape=0 active=1"));
        QCOMPARE(Checked(*shown.ToolBar()), QList<int>{TB_ZOOM});
    }

    // A press on a button and a release away from it is no click
    void releaseAwayFromTheButtonIsNoClick()
    {
        ShownStudy shown(m_dir.path());
        CSeriesInfo* series = shown.Study().AddSeries("CT");
        QVERIFY(shown.Study().AddImage(series, Preset(ImagePreset::Ct)));
        QVERIFY(shown.Show());
        CImageButton& zoom = shown.ToolBar()->m_btnZoom;
        QTest::mousePress(&zoom, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(&zoom, Qt::LeftButton, {}, QPoint(zoom.width() + 20, 5));
        QCoreApplication::processEvents();
        QCOMPARE(State(), kDefault);
        // Exit pressed and dragged away does not end the program
        CImageButton& exit = shown.ToolBar()->m_btnExit;
        QTest::mousePress(&exit, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(&exit, Qt::LeftButton, {}, QPoint(-30, 5));
        QCoreApplication::processEvents();
        QVERIFY(shown.Frame().Frame()->isVisible());
    }

    // With the erase panel open a drag draws nothing of the drawing tool chosen before
    void erasePanelLeavesNothingToDraw()
    {
        ShownStudy shown(m_dir.path());
        CSeriesInfo* series = shown.Study().AddSeries("CT");
        QVERIFY(shown.Study().AddImage(series, Preset(ImagePreset::Ct)));
        QVERIFY(shown.Show());
        CToolView* bar = shown.ToolBar();
        CVantrelView* view = shown.View();
        Click(&bar->m_btnLinear);
        Click(&bar->m_btnEraseTools);
        QVERIFY(!bar->m_btnLinear.m_bChecked);
        QCOMPARE(bar->m_btnLinear.m_nState, 0);
        const QPoint c = view->rect().center();
        QTest::mousePress(view, Qt::LeftButton, {}, c - QPoint(100, 0));
        QTest::mouseMove(view, c + QPoint(100, 0), 20);
        // No stroke while the button is held, no shape after
        view->repaint();
        QCOMPARE(GreenPixels(OnScreen(view), Middle(view)), 0);
        QTest::mouseRelease(view, Qt::LeftButton, {}, c + QPoint(100, 0), 20);
        QVERIFY(shown.Grid()->m_arrShapes.empty());
    }

    // Shapes are hidden under the magnifier; the tool chosen after it shows them at once
    void shapesShowAgainWhenTheMagnifierEnds_data()
    {
        QTest::addColumn<QString>("then");
        QTest::newRow("window/level") << "wl";
        QTest::newRow("magnify again") << "magnify";
    }

    void shapesShowAgainWhenTheMagnifierEnds()
    {
        QFETCH(QString, then);
        ShownStudy shown(m_dir.path());
        CSeriesInfo* series = shown.Study().AddSeries("CT");
        QVERIFY(shown.Study().AddImage(series, Preset(ImagePreset::Ct)));
        QVERIFY(shown.Show());
        CToolView* bar = shown.ToolBar();
        CVantrelView* view = shown.View();
        const QRect image(view->m_ptPanOffset, view->GetTotalDeviceSize());
        const QRect upper(image.left() + image.width() / 4, image.top() + image.height() / 8, image.width() / 2,
                          image.height() / 4);
        // A length across the upper part of the image
        Click(&bar->m_btnLinear);
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(upper.left() + 10, upper.center().y()));
        QTest::mouseMove(view, upper.center(), 20);
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(upper.right() - 10, upper.center().y()), 20);
        QCOMPARE(shown.Grid()->m_arrShapes.size(), std::size_t(1));
        QTRY_VERIFY_WITH_TIMEOUT(GreenPixels(OnScreen(view), upper) > 50, 5000);
        // The magnifier used low in the image
        Click(&bar->m_btnMagnify);
        const QPoint low(image.center().x(), image.bottom() - image.height() / 8);
        QTest::mouseClick(view, Qt::LeftButton, {}, low);
        QTRY_COMPARE_WITH_TIMEOUT(GreenPixels(OnScreen(view), upper), 0, 5000);
        // The press's own late repaint (its click timer) is over
        QTest::qWait(QApplication::doubleClickInterval() + 200);
        Click(bar->GetToolButton(kIndex.value(then)));
        QCOMPARE(State(), kDefault);
        QTRY_VERIFY_WITH_TIMEOUT(GreenPixels(OnScreen(view), upper) > 50, 5000);
    }

    void probeFollowsTheModalityOnReset_data()
    {
        QTest::addColumn<ImagePreset>("preset");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("CT") << ImagePreset::Ct << true;
        QTest::newRow("MR") << ImagePreset::Mr << true;
        QTest::newRow("CR") << ImagePreset::Cr << false;
        QTest::newRow("US") << ImagePreset::Rgb << false;
    }

    void probeFollowsTheModalityOnReset()
    {
        QFETCH(ImagePreset, preset);
        QFETCH(bool, enabled);
        ShownStudy shown(m_dir.path());
        CSeriesInfo* series = shown.Study().AddSeries(QString::fromStdString(Preset(preset).modality));
        QVERIFY(shown.Study().AddImage(series, Preset(preset)));
        QVERIFY(shown.Show());
        shown.ToolBar()->EnableProbeButton(!enabled);
        Click(&shown.ToolBar()->m_btnReset);
        QCOMPARE(shown.ToolBar()->m_btnProbe.isEnabled(), enabled);
        // A disabled Probe button takes no click
        Click(&shown.ToolBar()->m_btnProbe);
        QCOMPARE(g_bProbeMode != 0, enabled);
    }

    // The press filter: text entries end and the panels of other buttons hide
    void pressHidesOtherPanelsAndEndsTextEntries()
    {
        ShownStudy shown(m_dir.path());
        CSeriesInfo* series = shown.Study().AddSeries("CT");
        QVERIFY(shown.Study().AddImage(series, Preset(ImagePreset::Ct)));
        QVERIFY(shown.Show());
        CToolView* bar = shown.ToolBar();
        QWidget* window = shown.Frame().Frame();
        auto* annot = new QWidget(window);
        auto* erase = new QWidget(window);
        auto* orientation = new QWidget(window);
        auto* layout = new QWidget(window);
        bar->m_pAnnotPopup = annot;
        bar->m_pErasePopup = erase;
        bar->m_pOrientationPopup = orientation;
        bar->m_pLayoutPopup = layout;
        const auto openAll = [&] {
            for (QWidget* panel : {annot, erase, orientation, layout})
                panel->show();
            g_bAnnotPopupShown = g_bErasePopupShown = g_bLayoutPopupShown = bar->m_bOrientationPopupShown = 1;
        };
        openAll();
        auto* edit = new CShapeTextEdit(QRect(10, 10, 60, 30), QString(), shown.View());
        shown.View()->m_pTextEdit = edit;
        QTest::mousePress(&bar->m_btnZoom, Qt::LeftButton);
        QVERIFY(!edit->IsOpen());
        for (QWidget* panel : {annot, erase, orientation, layout})
            QVERIFY(panel->isHidden());
        QCOMPARE(g_bAnnotPopupShown + g_bErasePopupShown + g_bLayoutPopupShown + bar->m_bOrientationPopupShown, 0);
        QTest::mouseRelease(&bar->m_btnZoom, Qt::LeftButton);

        // A press on a panel's own button leaves that panel to its handler; a right press counts too
        openAll();
        QTest::mousePress(&bar->m_btnAnnotation, Qt::RightButton);
        QVERIFY(annot->isVisible());
        QCOMPARE(g_bAnnotPopupShown, 1);
        QVERIFY(erase->isHidden() && orientation->isHidden() && layout->isHidden());
        QTest::mouseRelease(&bar->m_btnAnnotation, Qt::RightButton);
        openAll();
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(annot->isHidden() && erase->isHidden() && orientation->isHidden() && layout->isHidden());
        // The panels go with the bar
        QPointer<QWidget> gone = annot;
        delete bar;
        QVERIFY(!gone);
    }

    void buttonsOfLaterPartsCallTheirHooks()
    {
        QWidget host;
        auto* bar = new RecordingToolView(&host);
        theApp.m_rcMonitor = RECT{0, 0, 1280, 1024};
        theApp.m_nViewAreaWidth = 1152;
        theApp.m_nToolRowHeight = 113;
        bar->OnInitialUpdate();
        host.resize(1152, 113);
        bar->resize(1152, 113);
        host.show();
        for (CImageButton* button : {&bar->m_btnCine, &bar->m_btnInvert, &bar->m_btnAnnotation, &bar->m_btnEraseTools,
                                     &bar->m_btnOrientation, &bar->m_btnLayout})
            Click(button);
        QCOMPARE(bar->calls, QStringList({"cine", "invert", "annotation", "erase", "orientation", "layout"}));
        // A panel's command reaches the bar as a button's does
        bar->OnCommand(IDC_BTN_ERASETOOLS);
        QCOMPARE(bar->calls.last(), QStringLiteral("erase"));
    }

    void studyListShowsTheDialogAgain()
    {
        ShownStudy shown(m_dir.path());
        CSeriesInfo* series = shown.Study().AddSeries("CT");
        QVERIFY(shown.Study().AddImage(series, Preset(ImagePreset::Ct)));
        theApp.m_bImagesLoaded = 0; // no guard: also before a study
        QVERIFY(shown.Study().m_list.isHidden());
        Click(&shown.ToolBar()->m_btnStudyList);
        QVERIFY(shown.Study().m_list.isVisible());
        QCOMPARE(Checked(*shown.ToolBar()), QList<int>{TB_WINDOWLEVEL});
        shown.Study().m_list.hide();
    }

    void exitClosesTheMainWindow()
    {
        FrameUnderTest app(QRect(0, 0, 1024, 768));
        QVERIFY(app.Frame()->isVisible());
        Click(&app.Child()->GetToolView()->m_btnExit);
        QVERIFY(!app.Frame()->isVisible());
    }

    // Reset: tools, zoom, pan, orientation, window and the shapes' points back as loaded
    void resetBringsTheImageBack()
    {
        ShownStudy shown(m_dir.path());
        CSeriesInfo* series = shown.Study().AddSeries("CT");
        QVERIFY(shown.Study().AddImage(series, Preset(ImagePreset::Ct)));
        QVERIFY(shown.Show());
        CVantrelView* view = shown.View();
        const float fitted = view->m_fZoom;
        const QPoint centred = view->m_ptPanOffset;
        CVantrelDoc* document = view->GetDocument();
        const int width = view->m_pDisplayImage->GetWidth();

        // A shape on the image turned with it
        const CDoublePoint a(10, 5), b(30, 20);
        const COLORREF green = 0x00FF00;
        const int one = 1;
        auto line = std::make_unique<CShapeLine>(&a, &b, &green, &one);
        line->SetImageKey(view->m_strImageKey);
        line->StoreOriginalPoints(0, FALSE, FALSE, view->GetZoomedImageSize().width(),
                                  view->GetZoomedImageSize().height(), view->m_fZoom);
        CShapeCollection* shape = line.get();
        shown.Grid()->m_arrShapes.push_back(std::move(line));
        view->ComposeOrientation(ID_IMAGE_ROTATERIGHT);
        view->RenderWithWindowLevel(100, 200);
        shape->RotateClockwise(90, view->GetZoomedImageSize().width(), view->GetZoomedImageSize().height(), view->m_fZoom);
        QVERIFY(shape->GetStartPoint() != a);
        view->m_fZoom = 3.0f;
        view->m_ptPanOffset = QPoint(-40, 17);
        view->m_bNegative = 1;
        document->m_fWindowWidth = 100;
        document->m_fWindowCenter = 200;
        view->m_nCheckedPresetId = 33870;
        g_nRotationAngle = 90;
        Click(&shown.ToolBar()->m_btnZoom);

        Click(&shown.ToolBar()->m_btnReset);
        QCOMPARE(State(), kDefault);
        QCOMPARE(Checked(*shown.ToolBar()), QList<int>{TB_WINDOWLEVEL});
        QCOMPARE(view->m_fZoom, fitted);
        QCOMPARE(view->m_ptPanOffset, centred);
        QCOMPARE(view->GetOrientation(), ViewOrientation());
        QCOMPARE(view->m_bNegative, BYTE(0));
        QCOMPARE(int(view->m_pDisplayImage->GetWidth()), width);
        QCOMPARE(g_nRotationAngle, 0);
        QCOMPARE(view->m_nCheckedPresetId, ID_WINDOW_PRESET_DEFAULT);
        QCOMPARE(document->m_fWindowWidth, document->m_fDefaultWindowWidth);
        QCOMPARE(document->m_fWindowCenter, document->m_fDefaultWindowCenter);
        QCOMPARE(view->m_strWindowWidthText, QStringLiteral("WW = 400"));
        QCOMPARE(shape->GetStartPoint(), a);
        QCOMPARE(shape->GetEndPoint(), b);
    }

    void resetBeforeTheFirstStudyChangesNothing()
    {
        FrameUnderTest app(QRect(0, 0, 1280, 1024));
        CToolView* bar = app.Child()->GetToolView();
        Click(&bar->m_btnZoom); // ignored: nothing is loaded
        g_nRotationAngle = 90;
        bar->OnResetImage();
        QCOMPARE(g_nRotationAngle, 90);
        QCOMPARE(State(), kDefault);
    }

private:
    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_CToolView)
#include "tst_CToolView.moc"
