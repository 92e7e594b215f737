// The right-button menu of a viewport of the main window: the presets the shown image offers
// with their ids, the check marks, a preset applied to the view, its series and the other panes,
// the show/hide switches, the items disabled while the pane's cine runs, the menu opened by a
// real right-button release and acted on after it closed, and the two dialogs it opens.

// Qt
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

// std
#include <memory>

// Orvane
#include "app/COstrevanApp.h"
#include "platform/CxImage.h"
#include "res/resource.h"
#include "study/CDicomTagDisplayDlg.h"
#include "study/CSeriesInfo.h"
#include "study/DicomCodecs.h"
#include "tests/viewer/ShownStudy.h"
#include "state/ToolState.h"
#include "viewer/CImageWnd.h"
#include "viewer/CMagnWnd.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CPropMagn.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"
#include "viewer/ContextMenuResource.h"
#include "viewer/WindowPresets.h"

using namespace Fixtures;
using namespace ContextMenuResource;

namespace {

// Id of the preset at `index` of the list (the first preset is base + 1)
int PresetId(int index)
{
    return ID_WINDOW_PRESET_BASE + 1 + index;
}
constexpr int kLungsIndex = 7;

QList<QAction*> PresetItems(QMenu* tools)
{
    QMenu* presets = GetSubMenu(tools, 0);
    return presets ? presets->actions() : QList<QAction*>();
}

QList<QAction*> CheckedItems(QMenu* tools)
{
    QList<QAction*> checked;
    for (QAction* item : PresetItems(tools))
        if (item->isChecked())
            checked << item;
    return checked;
}

template <typename T>
T* TopLevel()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<T*>(w); found && found->isVisible())
            return found;
    return nullptr;
}

// Something changed in the top-left corner, where the patient texts are
bool CornerDiffers(const QImage& a, const QImage& b)
{
    return a.copy(0, 0, 160, 60) != b.copy(0, 0, 160, 60);
}

// Counts the paints of the watched widgets
struct PaintCounter : QObject
{
    QHash<QObject*, int> n;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++n[o];
        return false;
    }
};

} // namespace

class tst_CVantrelViewMenu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void presetItemsOfTheShownImage_data();
    void presetItemsOfTheShownImage();
    void checkMarkFollowsTheChosenPreset();
    void presetGoesToDocumentSeriesAndOtherPanes_data();
    void presetGoesToDocumentSeriesAndOtherPanes();
    void defaultRestoresTheFilesWindow();
    void showHideSwitches();
    void imageItemsDisabledWhileCineRuns();
    void noMenuBeforeImagesAreLoadedOrDuringAStroke();
    void rightReleaseOpensTheMenuAndActsAfterIt();
    void viewTakesNoContextMenuEvent();
    void viewGoneWhileItsMenuIsOpen();
    void dicomInformationListsTheShownFile();
    void dicomInformationOfAFileGoneSinceItWasShown();
    void magnifierSettingsOpen();
    void screenshotMenuInformationAndLens();

private:
    bool ShowImages(ShownStudy& shown, ImageRecipe recipe, int images = 1, int layoutMode = 1);

    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_CVantrelViewMenu::initTestCase()
{
    m_codecs = std::make_unique<DicomCodecs>();
    QVERIFY(m_dir.isValid());
}

void tst_CVantrelViewMenu::init()
{
    ClearToolState();
    theApp.m_nMagnifierZoom = 20;
    theApp.m_nMagnifierSize = 400;
    theApp.m_nMagnifierOption = 1;
}

void tst_CVantrelViewMenu::cleanup()
{
    ClearToolState();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QDialog*>(w))
            w->close();
    QCoreApplication::processEvents();
}

bool tst_CVantrelViewMenu::ShowImages(ShownStudy& shown, ImageRecipe recipe, int images, int layoutMode)
{
    CSeriesInfo* series = shown.Study().AddSeries(QString::fromStdString(recipe.modality));
    for (int i = 0; i < images; ++i) {
        recipe.sopInstanceUid.clear();
        if (!shown.Study().AddImage(series, recipe))
            return false;
    }
    return shown.Show(layoutMode);
}

void tst_CVantrelViewMenu::presetItemsOfTheShownImage_data()
{
    QTest::addColumn<int>("preset");
    QTest::addColumn<QString>("modality");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("presets");
    QTest::addColumn<QString>("defaultText");
    // The file's window truncated; 8-bit images show at 255/127 whatever the file says
    QTest::newRow("CT 16") << int(ImagePreset::Ct) << "CT" << 16 << 11 << "Default(199,100)";
    QTest::newRow("MR 16") << int(ImagePreset::Mr) << "MR" << 16 << 1 << "Default(199,100)";
    QTest::newRow("MR 8") << int(ImagePreset::Grey8) << "MR" << 8 << 0 << "Default(255,127)";
    QTest::newRow("US 8") << int(ImagePreset::Grey8) << "US" << 8 << 3 << "Default(255,127)";
    QTest::newRow("US 16") << int(ImagePreset::Ct) << "US" << 16 << 0 << "Default(199,100)";
    QTest::newRow("CR 16") << int(ImagePreset::Cr) << "CR" << 16 << 0 << "Default(199,100)";
}

void tst_CVantrelViewMenu::presetItemsOfTheShownImage()
{
    QFETCH(int, preset);
    QFETCH(QString, modality);
    QFETCH(int, bits);
    QFETCH(int, presets);
    QFETCH(QString, defaultText);
    ShownStudy shown(m_dir.path());
    ImageRecipe recipe = Preset(ImagePreset(preset));
    recipe.modality = modality.toStdString();
    recipe.windowCenter = "100.7";
    recipe.windowWidth = "199.9";
    QCOMPARE(recipe.bitsAllocated, bits);
    QVERIFY(ShowImages(shown, recipe));
    CVantrelView* view = shown.View();
    QMenu* tools = view->BuildContextMenu();
    QVERIFY(tools);
    const QList<QAction*> items = PresetItems(tools);
    QCOMPARE(items.size(), 1 + presets);
    QCOMPARE(items[0]->text(), defaultText);
    QCOMPARE(CommandId(items[0]), ID_WINDOW_PRESET_DEFAULT);
    const QStringList texts = WindowPresets::PresetTexts(modality, bits);
    for (int i = 0; i < presets; ++i) {
        QCOMPARE(items[i + 1]->text(), texts[i]);
        QCOMPARE(CommandId(items[i + 1]), PresetId(i));
        QVERIFY(items[i + 1]->isEnabled());
    }
    QCOMPARE(view->m_nNextPresetId, ID_WINDOW_PRESET_BASE + presets);
    // Before any choice no preset carries the check mark
    QVERIFY(CheckedItems(tools).isEmpty());
}

void tst_CVantrelViewMenu::checkMarkFollowsTheChosenPreset()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowImages(shown, Preset(ImagePreset::Ct)));
    CVantrelView* view = shown.View();
    QVERIFY(view->BuildContextMenu());
    QVERIFY(view->OnContextCommand(PresetId(kLungsIndex)));
    // The menu the preset came from is gone
    QCOMPARE(view->m_nCheckedPresetId, PresetId(kLungsIndex));
    QCOMPARE(view->m_nNextPresetId, 0);
    QVERIFY(!view->m_menuContext);

    QMenu* tools = view->BuildContextMenu();
    QCOMPARE(CheckedItems(tools), QList<QAction*>{FindCommand(tools, PresetId(kLungsIndex))});
    QCOMPARE(CheckedItems(tools).front()->text(), QStringLiteral("Lungs(1500,-600)"));
    QVERIFY(view->OnContextCommand(ID_WINDOW_PRESET_DEFAULT));
    tools = view->BuildContextMenu();
    QCOMPARE(CheckedItems(tools), QList<QAction*>{FindCommand(tools, ID_WINDOW_PRESET_DEFAULT)});

    // An id past the open menu's presets is no preset
    QVERIFY(!view->OnContextCommand(PresetId(11)));
    QCOMPARE(view->m_nCheckedPresetId, ID_WINDOW_PRESET_DEFAULT);
}

void tst_CVantrelViewMenu::presetGoesToDocumentSeriesAndOtherPanes_data()
{
    QTest::addColumn<int>("layoutMode");
    QTest::newRow("image layout") << 2;
    QTest::newRow("series layout") << 1;
}

void tst_CVantrelViewMenu::presetGoesToDocumentSeriesAndOtherPanes()
{
    QFETCH(int, layoutMode);
    ShownStudy shown(m_dir.path());
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    recipe.content = Content::Phantom;
    recipe.columns = recipe.rows = 128;
    // Four images of one series, or four series of one image
    if (layoutMode == 2) {
        QVERIFY(ShowImages(shown, recipe, 4, 2));
    } else {
        for (int s = 0; s < 4; ++s) {
            CSeriesInfo* series = shown.Study().AddSeries("CT");
            recipe.sopInstanceUid.clear();
            QVERIFY(shown.Study().AddImage(series, recipe));
        }
        QVERIFY(shown.Show(1));
    }
    CMyFrameWnd* grid = shown.Grid();
    QVERIFY(grid->OnCommand(ID_FRAME_LAYOUT2X2));
    const std::vector<CVantrelView*> panes = grid->GetPanes();
    QCOMPARE(panes.size(), std::size_t(4));
    QTRY_VERIFY(std::all_of(panes.begin(), panes.end(), [](CVantrelView* v) { return v->isVisible(); }));
    std::vector<QImage> before;
    for (CVantrelView* pane : panes)
        before.push_back(pane->m_pDisplayImage->GetQImage().copy());

    CVantrelView* view = panes[0];
    QVERIFY(view->BuildContextMenu());
    QVERIFY(view->OnContextCommand(PresetId(kLungsIndex)));
    QCOMPARE(view->GetDocument()->m_fWindowWidth, 1500.0f);
    QCOMPARE(view->GetDocument()->m_fWindowCenter, -600.0f);
    QCOMPARE(view->m_strWindowWidthText, QStringLiteral("WW = 1500"));
    QCOMPARE(view->m_strWindowLevelText, QStringLiteral("WL = -600"));
    QVERIFY(view->m_pDisplayImage->GetQImage() != before[0]);
    QVERIFY(view->m_pSeries->IsWindowChanged());
    float width = 0, centre = 0;
    view->m_pSeries->GetWindow(&width, &centre);
    QCOMPARE(width, 1500.0f);
    QCOMPARE(centre, -600.0f);

    // Repeated in the other panes of an image layout only
    for (std::size_t i = 1; i < panes.size(); ++i) {
        const bool repeated = layoutMode == 2;
        QCOMPARE(panes[i]->GetDocument()->m_fWindowWidth, repeated ? 1500.0f : 400.0f);
        QCOMPARE(panes[i]->GetDocument()->m_fWindowCenter, repeated ? -600.0f : 40.0f);
        QCOMPARE(panes[i]->m_pDisplayImage->GetQImage() != before[i], repeated);
        if (repeated)
            QCOMPARE(panes[i]->m_pDisplayImage->GetQImage(), view->m_pDisplayImage->GetQImage());
    }
}

void tst_CVantrelViewMenu::defaultRestoresTheFilesWindow()
{
    ShownStudy shown(m_dir.path());
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    recipe.content = Content::Phantom;
    recipe.windowCenter = "-20";
    recipe.windowWidth = "350";
    QVERIFY(ShowImages(shown, recipe));
    CVantrelView* view = shown.View();
    const QImage loaded = view->m_pDisplayImage->GetQImage().copy();
    QVERIFY(view->BuildContextMenu());
    view->OnContextCommand(PresetId(kLungsIndex));
    QVERIFY(view->m_pDisplayImage->GetQImage() != loaded);
    QVERIFY(view->BuildContextMenu());
    QCOMPARE(GetMenuString(view->m_menuContext.get(), ID_WINDOW_PRESET_DEFAULT), QStringLiteral("Default(350,-20)"));
    view->OnContextCommand(ID_WINDOW_PRESET_DEFAULT);
    QCOMPARE(view->GetDocument()->m_fWindowWidth, 350.0f);
    QCOMPARE(view->GetDocument()->m_fWindowCenter, -20.0f);
    QCOMPARE(view->m_strWindowWidthText, QStringLiteral("WW = 350"));
    QCOMPARE(view->m_pDisplayImage->GetQImage(), loaded);
}

void tst_CVantrelViewMenu::showHideSwitches()
{
    ShownStudy shown(m_dir.path());
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    QVERIFY(ShowImages(shown, recipe, 4, 2));
    CMyFrameWnd* grid = shown.Grid();
    QVERIFY(grid->OnCommand(ID_FRAME_LAYOUT2X2));
    const std::vector<CVantrelView*> panes = grid->GetPanes();
    QTRY_VERIFY(std::all_of(panes.begin(), panes.end(), [](CVantrelView* v) { return v->isVisible(); }));
    CVantrelView* view = panes[0];

    QMenu* tools = view->BuildContextMenu();
    QAction* header = FindCommand(tools, ID_SHOWHIDE_HEADERINFO);
    QAction* annotations = FindCommand(tools, ID_SHOWHIDE_ANNOTATIONS);
    QVERIFY(header->isChecked());
    QVERIFY(annotations->isChecked());

    std::vector<QImage> before;
    for (CVantrelView* pane : panes)
        before.push_back(pane->grab().toImage());
    PaintCounter painted;
    for (CVantrelView* pane : panes)
        pane->installEventFilter(&painted);
    // Paints still pending from the layout first
    QTest::qWait(50);
    painted.n.clear();
    QVERIFY(view->OnContextCommand(ID_SHOWHIDE_HEADERINFO));
    QCOMPARE(g_bHeaderInfoHidden, BYTE(1));
    // Every pane is repainted, without its texts
    QCoreApplication::processEvents();
    for (CVantrelView* pane : panes)
        QVERIFY(painted.n.value(pane) > 0);
    for (std::size_t i = 0; i < panes.size(); ++i)
        QVERIFY(CornerDiffers(before[i], panes[i]->grab().toImage()));
    tools = view->BuildContextMenu();
    QVERIFY(!FindCommand(tools, ID_SHOWHIDE_HEADERINFO)->isChecked());
    QVERIFY(FindCommand(tools, ID_SHOWHIDE_ANNOTATIONS)->isChecked());
    // Choosing it again shows the texts in every pane
    panes[3]->BuildContextMenu();
    QVERIFY(panes[3]->OnContextCommand(ID_SHOWHIDE_HEADERINFO));
    QCOMPARE(g_bHeaderInfoHidden, BYTE(0));
    for (std::size_t i = 0; i < panes.size(); ++i)
        QVERIFY(!CornerDiffers(before[i], panes[i]->grab().toImage()));

    QVERIFY(view->OnContextCommand(ID_SHOWHIDE_ANNOTATIONS));
    QCOMPARE(g_bAnnotationsHidden, BYTE(1));
    tools = view->BuildContextMenu();
    QVERIFY(FindCommand(tools, ID_SHOWHIDE_HEADERINFO)->isChecked());
    QVERIFY(!FindCommand(tools, ID_SHOWHIDE_ANNOTATIONS)->isChecked());
}

void tst_CVantrelViewMenu::imageItemsDisabledWhileCineRuns()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowImages(shown, Preset(ImagePreset::Ct)));
    CVantrelView* view = shown.View();
    view->m_bCineRunning = 1;
    QMenu* tools = view->BuildContextMenu();
    QVERIFY(!GetSubMenu(tools, 0)->menuAction()->isEnabled());
    for (QAction* item : PresetItems(tools))
        QVERIFY(!item->isEnabled());
    QVERIFY(!FindCommand(tools, ID_DICOM_INFORMATION)->isEnabled());
    // The switches and the magnifier settings do not touch the image
    QVERIFY(FindCommand(tools, ID_SHOWHIDE_HEADERINFO)->isEnabled());
    QVERIFY(FindCommand(tools, ID_MAGNIFIER_SETTINGS)->isEnabled());
    // A preset command that still arrives changes nothing
    view->OnContextCommand(PresetId(kLungsIndex));
    QCOMPARE(view->GetDocument()->m_fWindowWidth, 400.0f);
    QCOMPARE(view->m_nCheckedPresetId, 0);
    view->OnContextCommand(ID_DICOM_INFORMATION);
    QVERIFY(!TopLevel<CDicomTagDisplayDlg>());

    view->m_bCineRunning = 0;
    tools = view->BuildContextMenu();
    QVERIFY(GetSubMenu(tools, 0)->menuAction()->isEnabled());
    QVERIFY(FindCommand(tools, ID_DICOM_INFORMATION)->isEnabled());
}

void tst_CVantrelViewMenu::noMenuBeforeImagesAreLoadedOrDuringAStroke()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowImages(shown, Preset(ImagePreset::Ct)));
    CVantrelView* view = shown.View();
    // Nor while the left button holds a window drag: the menu would take its release
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(60, 60));
    QVERIFY(view->m_bMouseDown);
    QCOMPARE(view->BuildContextMenu(), nullptr);
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(70, 60));
    QVERIFY(view->BuildContextMenu());
    theApp.m_bImagesLoaded = 0;
    QCOMPARE(view->BuildContextMenu(), nullptr);
}

void tst_CVantrelViewMenu::rightReleaseOpensTheMenuAndActsAfterIt()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowImages(shown, Preset(ImagePreset::Ct)));
    CVantrelView* view = shown.View();
    const QPoint at(120, 90);
    // The press opens nothing
    QTest::mousePress(view, Qt::RightButton, {}, at);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);

    QString shownTitle;
    QPoint shownAt;
    bool presetsLive = false;
    QTimer::singleShot(0, this, [&] {
        auto* tools = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!tools)
            return;
        shownTitle = tools->title();
        shownAt = tools->pos();
        // Into the presets, down to Lungs, chosen with the keyboard
        tools->setActiveAction(tools->actions().front());
        QTest::keyClick(tools, Qt::Key_Right);
        auto* presets = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!presets || presets == tools)
            return;
        presetsLive = view->m_nNextPresetId == PresetId(10);
        presets->setActiveAction(presets->actions().at(1 + kLungsIndex));
        QTest::keyClick(presets, Qt::Key_Return);
    });
    // Safety net: a menu still open after the choice is closed
    QTimer::singleShot(2000, this, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    QTest::mouseRelease(view, Qt::RightButton, {}, at);
    QCOMPARE(shownTitle, QStringLiteral("Tools"));
    QCOMPARE(shownAt, view->mapToGlobal(at));
    QVERIFY(presetsLive);
    // Acted on after the menu closed: the menu is gone and the window applied
    QCOMPARE(view->GetDocument()->m_fWindowWidth, 1500.0f);
    QCOMPARE(view->m_nCheckedPresetId, PresetId(kLungsIndex));
    QVERIFY(!view->m_menuContext);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
}

// The grid rebuilt while the menu is open (its view and the menu go): the release returns
// without touching either
void tst_CVantrelViewMenu::viewGoneWhileItsMenuIsOpen()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowImages(shown, Preset(ImagePreset::Ct), 4, 2));
    QPointer<CVantrelView> view = shown.View();
    bool opened = false;
    QTimer::singleShot(0, this, [&] {
        opened = qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr;
        shown.Grid()->OnCommand(ID_FRAME_LAYOUT2X2);
    });
    QTimer::singleShot(2000, this, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    QTest::mouseRelease(view, Qt::RightButton, {}, QPoint(40, 40));
    QVERIFY(opened);
    QVERIFY(!view);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
    QCOMPARE(shown.Grid()->GetPanes().size(), std::size_t(4));
}

void tst_CVantrelViewMenu::viewTakesNoContextMenuEvent()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowImages(shown, Preset(ImagePreset::Ct)));
    CVantrelView* view = shown.View();
    theApp.m_bImagesLoaded = 0; // no menu of the view's own, so the release returns at once
    struct Counter : QObject
    {
        int n = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            n += e->type() == QEvent::ContextMenu;
            return false;
        }
    } counter;
    // The view swallows it: nothing goes on to the frames around it
    shown.Grid()->installEventFilter(&counter);
    shown.Frame().Frame()->installEventFilter(&counter);
    // Through the window, as the window system delivers a click
    QWidget* window = view->window();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QPoint at = view->mapTo(window, QPoint(50, 50));
    QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, at);
    QCoreApplication::processEvents();
    QCOMPARE(counter.n, 0);
}

void tst_CVantrelViewMenu::dicomInformationListsTheShownFile()
{
    ShownStudy shown(m_dir.path());
    ImageRecipe recipe = Preset(ImagePreset::MultiFrameGrey);
    QVERIFY(ShowImages(shown, recipe));
    CVantrelView* view = shown.View();
    QMenu* tools = view->BuildContextMenu();
    QVERIFY(FindCommand(tools, ID_DICOM_INFORMATION)->isEnabled());
    view->OnContextCommand(ID_DICOM_INFORMATION);
    auto* dialog = TopLevel<CDicomTagDisplayDlg>();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("DICOM Information"));
    QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
    QCOMPARE(dialog->parentWidget(), nullptr);
    // The rows of the shown file, in order, with the multi-frame pixel data left unread
    const std::vector<CDicomTagDisplayDlg::ElementRow> rows = CDicomTagDisplayDlg::RowsOf(dialog->m_pImageItem);
    QCOMPARE(dialog->m_listElements->topLevelItemCount(), int(rows.size()));
    QVERIFY(rows.size() > 10);
    QCOMPARE(rows.back().tag, QStringLiteral("[7fe0-0010]"));
    QCOMPARE(rows.back().value, QString());
    // Paging away from the image leaves the dialog with its own data set
    view->ReleaseDicomImage();
    QCOMPARE(dialog->m_listElements->topLevelItemCount(), int(rows.size()));
    QCOMPARE(CDicomTagDisplayDlg::RowsOf(dialog->m_pImageItem).size(), rows.size());
    QPointer<CDicomTagDisplayDlg> closing(dialog);
    dialog->close();
    QTRY_VERIFY(!closing);
}

// The file went since it was shown (a removed disc): the data set in memory is listed, while
// the dialog runs
void tst_CVantrelViewMenu::dicomInformationOfAFileGoneSinceItWasShown()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowImages(shown, Preset(ImagePreset::Ct)));
    CVantrelView* view = shown.View();
    QVERIFY(QFile::remove(view->GetDocument()->m_strFilePath));
    int rows = -1;
    QString firstTag;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<CDicomTagDisplayDlg*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        rows = dialog->m_listElements->topLevelItemCount();
        firstTag = dialog->m_listElements->topLevelItem(0)->text(0);
        dialog->accept();
    });
    view->OnContextCommand(ID_DICOM_INFORMATION);
    QVERIFY(rows > 10);
    QCOMPARE(firstTag, QStringLiteral("[0008-0016]"));
}

void tst_CVantrelViewMenu::magnifierSettingsOpen()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowImages(shown, Preset(ImagePreset::Ct)));
    CVantrelView* view = shown.View();
    view->BuildContextMenu();
    view->OnContextCommand(ID_MAGNIFIER_SETTINGS);
    auto* sheet = TopLevel<CPropMagn>();
    QVERIFY(sheet);
    QCOMPARE(sheet->windowTitle(), QStringLiteral("Magnifying Glass Properties"));
    // Opened before the first lens, it shows the settings in use: size 400, zoom 20
    QVERIFY(sheet->m_pageSize.m_radios[3]->isChecked());
    QVERIFY(sheet->m_pageZoom.m_radios[1]->isChecked());
    // Size radio 3 and zoom radio 2: a 400-pixel lens at zoom 25
    sheet->m_pageSize.m_radios[3]->click();
    sheet->m_pageZoom.m_radios[2]->click();
    sheet->accept();
    QCOMPARE(g_wndMagnifier->m_nSize, 400);
    QCOMPARE(g_wndMagnifier->m_nZoom, 25);
    QCOMPARE(theApp.m_nMagnifierSize, 400);
    QCOMPARE(theApp.m_nMagnifierZoom, 25);
}

void tst_CVantrelViewMenu::screenshotMenuInformationAndLens()
{
    ShownStudy shown(m_dir.path());
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    recipe.content = Content::Phantom;
    recipe.columns = recipe.rows = 512;
    QVERIFY(ShowImages(shown, recipe));
    CVantrelView* view = shown.View();
    QWidget* frame = shown.Frame().Frame();

    // The menu open over the CT image, its presets shown
    const QPoint at(view->width() / 3, view->height() / 3);
    QImage menuShot;
    QTimer::singleShot(0, this, [&] {
        auto* tools = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!tools)
            return;
        tools->setActiveAction(tools->actions().front());
        QTest::keyClick(tools, Qt::Key_Right);
        auto* presets = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (presets && presets != tools) {
            presets->setActiveAction(presets->actions().at(1 + kLungsIndex));
            menuShot = frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
            QPainter p(&menuShot);
            p.drawPixmap(tools->pos() - frame->pos(), tools->grab());
            p.drawPixmap(presets->pos() - frame->pos(), presets->grab());
        }
        QTest::keyClick(presets ? presets : tools, Qt::Key_Escape);
        QTest::keyClick(tools, Qt::Key_Escape);
    });
    QTest::mouseRelease(view, Qt::RightButton, {}, at);
    QVERIFY(!menuShot.isNull());

    // The Information dialog of the image
    view->BuildContextMenu();
    view->OnContextCommand(ID_DICOM_INFORMATION);
    auto* dialog = TopLevel<CDicomTagDisplayDlg>();
    QVERIFY(dialog);
    const QImage dialogShot = dialog->grab().toImage();
    dialog->close();

    // A round lens over the image
    g_bMagnifierMode = 1;
    CImageWnd::GetMagnifierWindow(view)->SetMagnifierSettings(1, 300, 25, 1);
    view->OnMagnifierPress(MK_LBUTTON, QPoint(view->width() / 2, view->height() / 2));
    QVERIFY(g_wndMagnifier && g_wndMagnifier->isVisible());
    const QImage lensShot = frame->grab().toImage();
    view->OnMagnifierRelease(MK_LBUTTON, QPoint(view->width() / 2, view->height() / 2));

    const QString folder = qEnvironmentVariable("ORVANE_TEST_OUTPUT", QDir::tempPath());
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(menuShot.save(QDir(folder).filePath(QStringLiteral("view-menu-over-ct.png"))));
    QVERIFY(dialogShot.save(QDir(folder).filePath(QStringLiteral("view-dicom-information.png"))));
    QVERIFY(lensShot.save(QDir(folder).filePath(QStringLiteral("view-round-lens.png"))));
}

QTEST_MAIN(tst_CVantrelViewMenu)
#include "tst_CVantrelViewMenu.moc"
