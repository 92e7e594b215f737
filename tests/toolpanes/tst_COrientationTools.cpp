// The orientation panel in the main window, opened by the tool bar and clicked: its size and
// place, four clockwise turns back at angle 0, the pixels of each button on the selected view,
// the button shown pressed only while it runs, a turn repeated over a 2 x 2 image layout, the
// mirror turning the magnifier off and the flip leaving it on.

// Qt
#include <QtTest>

// std
#include <memory>

// Orvane
#include "app/COstrevanApp.h"
#include "platform/CxImage.h"
#include "res/resource.h"
#include "study/CSeriesInfo.h"
#include "study/DicomCodecs.h"
#include "tests/viewer/ShownStudy.h"
#include "toolpanes/COrientationTools.h"
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

ImageRecipe Asymmetric()
{
    ImageRecipe recipe = Preset(ImagePreset::Grey8);
    recipe.columns = 7;
    recipe.rows = 4;
    recipe.sopInstanceUid.clear();
    return recipe;
}

QImage Shown(const CVantrelView* view)
{
    return view->m_pDisplayImage ? view->m_pDisplayImage->GetQImage() : QImage();
}

} // namespace

class tst_COrientationTools : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_codecs = std::make_unique<DicomCodecs>();
        QVERIFY(m_dir.isValid());
    }
    void init() { ClearToolState(); }

    void opensBesideItsButton_data();
    void opensBesideItsButton();
    void buttonsTurnAndFlipTheSelectedView_data();
    void buttonsTurnAndFlipTheSelectedView();
    void fourTurnsGiveAngleZero();
    void turnsEveryPaneOfAnImageLayout();
    void mirrorEndsTheMagnifier_data();
    void mirrorEndsTheMagnifier();
    void moveOverAViewHidesIt();

private:
    COrientationTools* Open(ShownStudy& shown)
    {
        Click(&shown.ToolBar()->m_btnOrientation);
        return qobject_cast<COrientationTools*>(shown.ToolBar()->m_pOrientationPopup.data());
    }

    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_COrientationTools::opensBesideItsButton_data()
{
    QTest::addColumn<QRect>("monitor");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("above");
    QTest::newRow("1280 x 1024") << QRect(0, 0, 1280, 1024) << 84 << 92;
    QTest::newRow("800 x 600") << QRect(0, 0, 800, 600) << 63 << 66;
}

void tst_COrientationTools::opensBesideItsButton()
{
    QFETCH(QRect, monitor);
    QFETCH(int, side);
    QFETCH(int, above);
    ShownStudy shown(m_dir.path(), monitor);
    QVERIFY(shown.Study().AddImage(shown.Study().AddSeries("OT"), Asymmetric()));
    QVERIFY(shown.Show());
    COrientationTools* panel = Open(shown);
    QVERIFY(panel);
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->size(), QSize(side, side));
    QCOMPARE(shown.ToolBar()->m_bOrientationPopupShown, 1);
    // One button width left of the button, `above` pixels higher, in the main window
    CImageButton& button = shown.ToolBar()->m_btnOrientation;
    const QPoint b = button.mapTo(panel->parentWidget(), QPoint(0, 0));
    QCOMPARE(panel->pos(), QPoint(b.x() - button.width(), b.y() - above));
    QCOMPARE(panel->parentWidget(), shown.ToolBar()->window());
    // The button again closes it
    Click(&shown.ToolBar()->m_btnOrientation);
    QTRY_VERIFY(!shown.ToolBar()->m_pOrientationPopup);
    QCOMPARE(shown.ToolBar()->m_bOrientationPopupShown, 0);
}

void tst_COrientationTools::buttonsTurnAndFlipTheSelectedView_data()
{
    QTest::addColumn<int>("index"); // button index: 0 anticlockwise, 1 clockwise, 2 mirror, 3 flip
    QTest::addColumn<int>("angle");
    QTest::newRow("anticlockwise") << 0 << 270;
    QTest::newRow("clockwise") << 1 << 90;
    QTest::newRow("flip horizontal") << 2 << 0;
    QTest::newRow("flip vertical") << 3 << 0;
}

void tst_COrientationTools::buttonsTurnAndFlipTheSelectedView()
{
    QFETCH(int, index);
    QFETCH(int, angle);
    ShownStudy shown(m_dir.path());
    QVERIFY(shown.Study().AddImage(shown.Study().AddSeries("OT"), Asymmetric()));
    QVERIFY(shown.Show());
    COrientationTools* panel = Open(shown);
    QVERIFY(panel);
    const QImage before = Shown(shown.View());
    CImageButton* button = panel->m_apButtons[size_t(index)];
    Click(button);
    QImage expected;
    switch (index) {
    case 0:
        expected = before.transformed(QTransform().rotate(-90));
        break;
    case 1:
        expected = before.transformed(QTransform().rotate(90));
        break;
    case 2:
        expected = before.mirrored(true, false);
        break;
    default:
        expected = before.mirrored(false, true);
        break;
    }
    QCOMPARE(Shown(shown.View()), expected);
    QCOMPARE(g_nRotationAngle, angle);
    // Shown pressed only while the operation ran
    QCOMPARE(button->m_bChecked, FALSE);
    QVERIFY(panel->isVisible());
}

void tst_COrientationTools::fourTurnsGiveAngleZero()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(shown.Study().AddImage(shown.Study().AddSeries("OT"), Asymmetric()));
    QVERIFY(shown.Show());
    COrientationTools* panel = Open(shown);
    QVERIFY(panel);
    const QImage before = Shown(shown.View());
    for (int i = 0; i < 4; ++i)
        Click(&panel->m_btnRotateClockwise);
    QCOMPARE(g_nRotationAngle, 0);
    QCOMPARE(shown.View()->GetOrientation(), ViewOrientation());
    QCOMPARE(Shown(shown.View()), before);
    Click(&panel->m_btnRotateAntiClockwise);
    QCOMPARE(g_nRotationAngle, 270);
}

void tst_COrientationTools::turnsEveryPaneOfAnImageLayout()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("CR");
    for (int i = 0; i < 4; ++i)
        QVERIFY(shown.Study().AddImage(series, Asymmetric()));
    QVERIFY(shown.Show(2));
    shown.Grid()->OnCommand(ID_FRAME_LAYOUT2X2);
    QCoreApplication::processEvents();
    const std::vector<CVantrelView*> panes = shown.Grid()->GetPanes();
    QCOMPARE(panes.size(), std::size_t(4));
    std::vector<QImage> before;
    for (CVantrelView* pane : panes)
        before.push_back(Shown(pane));
    COrientationTools* panel = Open(shown);
    QVERIFY(panel);
    Click(&panel->m_btnRotateClockwise);
    for (std::size_t i = 0; i < panes.size(); ++i)
        QCOMPARE(Shown(panes[i]), before[i].transformed(QTransform().rotate(90)));
}

void tst_COrientationTools::mirrorEndsTheMagnifier_data()
{
    QTest::addColumn<bool>("mirror");
    QTest::addColumn<BYTE>("magnifier");
    QTest::newRow("flip horizontal") << true << BYTE(0);
    QTest::newRow("flip vertical") << false << BYTE(1);
}

void tst_COrientationTools::mirrorEndsTheMagnifier()
{
    QFETCH(bool, mirror);
    QFETCH(BYTE, magnifier);
    ShownStudy shown(m_dir.path());
    QVERIFY(shown.Study().AddImage(shown.Study().AddSeries("OT"), Asymmetric()));
    QVERIFY(shown.Show());
    COrientationTools* panel = Open(shown);
    QVERIFY(panel);
    Click(&shown.ToolBar()->m_btnMagnify);
    QCOMPARE(g_bMagnifierMode, BYTE(1));
    // The tool bar hid the panel on that press; its button shows it again
    Click(&shown.ToolBar()->m_btnOrientation);
    QVERIFY(panel->isVisible());
    Click(mirror ? &panel->m_btnFlipHorizontal : &panel->m_btnFlipVertical);
    QCOMPARE(g_bMagnifierMode, magnifier);
    // The tool state is shown on the bar: window/level back when the magnifier went
    QCOMPARE(shown.ToolBar()->m_btnMagnify.m_bChecked, magnifier ? TRUE : FALSE);
    QCOMPARE(g_bWindowLevelMode, magnifier ? 0 : 1);
}

void tst_COrientationTools::moveOverAViewHidesIt()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(shown.Study().AddImage(shown.Study().AddSeries("OT"), Asymmetric()));
    QVERIFY(shown.Show());
    COrientationTools* panel = Open(shown);
    QVERIFY(panel && panel->isVisible());
    CVantrelView* view = shown.View();
    const QPointF at(10, 10);
    QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QVERIFY(!panel->isVisible());
    QCOMPARE(shown.ToolBar()->m_bOrientationPopupShown, 0);
    // Hidden, not deleted: its button shows the same panel
    Click(&shown.ToolBar()->m_btnOrientation);
    QCOMPARE(shown.ToolBar()->m_pOrientationPopup.data(), panel);
    QVERIFY(panel->isVisible());
}

QTEST_MAIN(tst_COrientationTools)
#include "tst_COrientationTools.moc"
