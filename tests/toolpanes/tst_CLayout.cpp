// The layout panel in the main window, opened by the tool bar: its place and gradient, study
// mode shown as series mode, the six layout buttons and their grids, the radios and labels
// with the grid rebuilt by series or by image, a mode change without a grid, and the custom
// picker opened while the pointer rests on Custom and closed by a move elsewhere.

// Qt
#include <QFontMetrics>
#include <QtTest>

// std
#include <memory>

// Orvane
#include "app/COstrevanApp.h"
#include "platform/Gdi.h"
#include "res/resource.h"
#include "study/CSeriesInfo.h"
#include "study/DicomCodecs.h"
#include "tests/viewer/ShownStudy.h"
#include "toolpanes/CLayout.h"
#include "toolpanes/CLayoutCellButton.h"
#include "toolpanes/CLayoutPickerDlg.h"
#include "toolpanes/CToolView.h"
#include "state/ToolState.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelView.h"

using namespace Fixtures;

namespace {

void Click(QWidget* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
}

void MoveOver(QWidget* widget, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

ImageRecipe Small()
{
    ImageRecipe recipe = Preset(ImagePreset::Grey8);
    recipe.columns = 16;
    recipe.rows = 12;
    recipe.sopInstanceUid.clear();
    return recipe;
}

} // namespace

class tst_CLayout : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_codecs = std::make_unique<DicomCodecs>();
        QVERIFY(m_dir.isValid());
    }
    void init() { ClearToolState(); }

    void opensAboveItsButton();
    void studyModeShowsAsSeries();
    void layoutButtonsSendTheirGrids_data();
    void layoutButtonsSendTheirGrids();
    void radiosAndLabelsRebuildTheGrid();
    void modeWithoutAGridKeepsTheSingleView();
    void labelsFitTheirWidth();
    void pickerFollowsThePointer();
    void pressInAViewHidesIt();

private:
    // Two series of four images; the panel open
    CLayout* ShowAndOpen(ShownStudy& shown, int mode = 1)
    {
        for (int s = 0; s < 2; ++s) {
            CSeriesInfo* series = shown.Study().AddSeries("CR");
            for (int i = 0; i < 4; ++i)
                if (!shown.Study().AddImage(series, Small()))
                    return nullptr;
        }
        if (!shown.Show(mode))
            return nullptr;
        Click(&shown.ToolBar()->m_btnLayout);
        return qobject_cast<CLayout*>(shown.ToolBar()->m_pLayoutPopup.data());
    }

    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_CLayout::opensAboveItsButton()
{
    ShownStudy shown(m_dir.path());
    CLayout* panel = ShowAndOpen(shown);
    QVERIFY(panel);
    QVERIFY(panel->isVisible());
    QCOMPARE(g_bLayoutPopupShown, 1);
    QCOMPARE(panel->size(), QSize(Gdi::DluX(119), Gdi::DluY(118)));
    CImageButton& button = shown.ToolBar()->m_btnLayout;
    const QPoint b = button.mapTo(panel->parentWidget(), QPoint(0, 0));
    QCOMPARE(panel->geometry().right() + 1, b.x() + 5);
    QCOMPARE(panel->geometry().bottom() + 1, b.y() - 10);
    // The grey gradient: 120 at the top, darker below
    const QImage shot = panel->grab().toImage();
    QCOMPARE(qRed(shot.pixel(1, 0)), 120);
    QVERIFY(qRed(shot.pixel(1, panel->height() - 1)) < 2);
    // Again: closed
    Click(&button);
    QCOMPARE(g_bLayoutPopupShown, 0);
    QTRY_VERIFY(!shown.ToolBar()->m_pLayoutPopup);
}

void tst_CLayout::studyModeShowsAsSeries()
{
    ShownStudy shown(m_dir.path());
    CLayout* panel = ShowAndOpen(shown, 0);
    QVERIFY(panel);
    QCOMPARE(theApp.m_nLayoutMode, 1);
    QVERIFY(panel->m_radSeries.isChecked());
    QVERIFY(!panel->m_radStudy.isVisible());
}

void tst_CLayout::layoutButtonsSendTheirGrids_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::newRow("1 x 2") << IDC_BTN_LAYOUT1X2 << 1 << 2;
    QTest::newRow("2 x 1") << IDC_BTN_LAYOUT2X1 << 2 << 1;
    QTest::newRow("2 x 2") << IDC_BTN_LAYOUT2X2 << 2 << 2;
    QTest::newRow("4 x 2: four rows of two") << IDC_BTN_LAYOUT4X2 << 4 << 2;
    QTest::newRow("4 x 4") << IDC_BTN_LAYOUT4X4 << 4 << 4;
}

void tst_CLayout::layoutButtonsSendTheirGrids()
{
    QFETCH(int, button);
    QFETCH(int, rows);
    QFETCH(int, columns);
    ShownStudy shown(m_dir.path());
    CLayout* panel = ShowAndOpen(shown);
    QVERIFY(panel);
    CImageButton* target = panel->findChild<CImageButton*>();
    for (CImageButton* b : panel->findChildren<CImageButton*>())
        if (b->GetDlgCtrlID() == button)
            target = b;
    QCOMPARE(target->GetDlgCtrlID(), button);
    Click(target);
    QCOMPARE(shown.Grid()->GetPaneRows(), rows);
    QCOMPARE(shown.Grid()->GetPaneColumns(), columns);
    QVERIFY(!panel->isVisible());
    QCOMPARE(g_bLayoutPopupShown, 0);
    // And back to one view
    Click(&shown.ToolBar()->m_btnLayout);
    panel = qobject_cast<CLayout*>(shown.ToolBar()->m_pLayoutPopup.data());
    QVERIFY(panel);
    Click(&panel->m_btnLayout1x1);
    QVERIFY(shown.Grid()->GetSingleView());
}

void tst_CLayout::radiosAndLabelsRebuildTheGrid()
{
    ShownStudy shown(m_dir.path());
    CLayout* panel = ShowAndOpen(shown);
    QVERIFY(panel);
    CMyFrameWnd* grid = shown.Grid();
    grid->OnCommand(ID_FRAME_LAYOUT1X2);
    const auto seriesOfPane = [grid](int c) { return grid->GetPane(0, c)->m_pSeries; };
    // Series layout: one series per pane
    QVERIFY(seriesOfPane(0) != seriesOfPane(1));
    Click(&panel->m_radImage);
    QCOMPARE(theApp.m_nLayoutMode, 2);
    QCOMPARE(grid->m_bSeriesLayout, BYTE(0));
    QCOMPARE(seriesOfPane(0), seriesOfPane(1));
    // Series again, then series once more: the second click changes nothing
    Click(&panel->m_radSeries);
    QCOMPARE(theApp.m_nLayoutMode, 1);
    QVERIFY(seriesOfPane(0) != seriesOfPane(1));
    QPointer<CVantrelView> before = grid->GetPane(0, 0);
    Click(&panel->m_radSeries);
    QCOMPARE(grid->GetPane(0, 0), before.data());
    // The Series label rebuilds again; the Image label rebuilds by image
    QTest::mouseClick(&panel->m_lblSeries, Qt::LeftButton);
    QVERIFY(!before);
    QTest::mouseClick(&panel->m_lblImage, Qt::LeftButton);
    QCOMPARE(theApp.m_nLayoutMode, 2);
    QVERIFY(panel->m_radImage.isChecked());
    QCOMPARE(grid->m_bSeriesLayout, BYTE(0));
    QCOMPARE(seriesOfPane(0), seriesOfPane(1));
}

void tst_CLayout::modeWithoutAGridKeepsTheSingleView()
{
    ShownStudy shown(m_dir.path());
    CLayout* panel = ShowAndOpen(shown);
    QVERIFY(panel);
    CVantrelView* single = shown.Grid()->GetSingleView();
    QVERIFY(single);
    Click(&panel->m_radImage);
    QCOMPARE(theApp.m_nLayoutMode, 2);
    QCOMPARE(shown.Grid()->GetSingleView(), single);
    QCOMPARE(shown.Grid()->GetPaneRows(), 0);
}

void tst_CLayout::labelsFitTheirWidth()
{
    ShownStudy shown(m_dir.path());
    CLayout* panel = ShowAndOpen(shown);
    QVERIFY(panel);
    for (CTransparentStatic* label : {&panel->m_lblSeries, &panel->m_lblImage}) {
        const QFontMetrics metrics(label->font());
        QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
        QCOMPARE(label->font().pixelSize(), 21);
    }
}

void tst_CLayout::pickerFollowsThePointer()
{
    ShownStudy shown(m_dir.path());
    CLayout* panel = ShowAndOpen(shown);
    QVERIFY(panel);
    QVERIFY(!panel->m_pLayoutPicker);
    MoveOver(&panel->m_btnCustom, panel->m_btnCustom.rect().center());
    QPointer<CLayoutPickerDlg> picker = panel->m_pLayoutPicker.data();
    QVERIFY(picker);
    QVERIFY(picker->isVisible());
    // 10 pixels right of Custom, bottoms level
    const QRect custom(panel->m_btnCustom.mapTo(picker->parentWidget(), QPoint(0, 0)), panel->m_btnCustom.size());
    QCOMPARE(picker->x(), custom.right() + 11);
    QCOMPARE(picker->geometry().bottom(), custom.bottom());
    // The gap to its right keeps it; a move elsewhere in the panel closes it
    MoveOver(panel, QPoint(panel->m_rcCustomHover.right(), panel->m_rcCustomHover.center().y()));
    QCOMPARE(panel->m_pLayoutPicker.data(), picker.data());
    MoveOver(panel, QPoint(5, 5));
    QVERIFY(!panel->m_pLayoutPicker);
    QTRY_VERIFY(!picker);
    // A picker cell hides the panel after its command
    MoveOver(&panel->m_btnCustom, QPoint(2, 2));
    QVERIFY(panel->m_pLayoutPicker);
    Click(panel->m_pLayoutPicker->Cell(1, 1));
    QCOMPARE(shown.Grid()->GetPaneRows(), 2);
    QCOMPARE(shown.Grid()->GetPaneColumns(), 2);
    QVERIFY(!panel->isVisible());
    QCOMPARE(g_bLayoutPopupShown, 0);
}

void tst_CLayout::pressInAViewHidesIt()
{
    ShownStudy shown(m_dir.path());
    CLayout* panel = ShowAndOpen(shown);
    QVERIFY(panel);
    MoveOver(&panel->m_btnCustom, QPoint(2, 2));
    QPointer<CLayoutPickerDlg> picker = panel->m_pLayoutPicker.data();
    QVERIFY(picker && picker->isVisible());
    // A move over the view leaves it; a press closes panel and picker
    CVantrelView* view = shown.View();
    MoveOver(view, QPoint(20, 20));
    QVERIFY(panel->isVisible());
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QVERIFY(!panel->isVisible());
    QVERIFY(!picker || !picker->isVisible());
    QCOMPARE(g_bLayoutPopupShown, 0);
}

QTEST_MAIN(tst_CLayout)
#include "tst_CLayout.moc"
