// The annotation panel in the main window, opened by the tool bar and clicked: its size by the
// monitor, Line then Text (the Line button released, the bar's buttons released), Text again
// (no tool, window/level back, the panel hidden), the panel shown again without a new one,
// and nothing while annotations are hidden but the button's state.

// Qt
#include <QtTest>

// std
#include <memory>

// Orvane
#include "app/COstrevanApp.h"
#include "study/DicomCodecs.h"
#include "tests/viewer/ShownStudy.h"
#include "toolpanes/CAnotTools.h"
#include "toolpanes/CToolView.h"
#include "state/ToolState.h"
#include "viewer/CVantrelView.h"

using namespace Fixtures;

namespace {

void Click(QWidget* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
}

} // namespace

class tst_CAnotTools : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_codecs = std::make_unique<DicomCodecs>();
        QVERIFY(m_dir.isValid());
    }
    void init() { ClearToolState(); }

    void sizedByTheMonitor_data();
    void sizedByTheMonitor();
    void lineThenTextThenTextAgain();
    void annotationsHiddenOnlyToggleTheButton();

private:
    CAnotTools* ShowAndOpen(ShownStudy& shown)
    {
        ImageRecipe recipe = Preset(ImagePreset::Grey8);
        recipe.sopInstanceUid.clear();
        if (!shown.Study().AddImage(shown.Study().AddSeries("OT"), recipe) || !shown.Show())
            return nullptr;
        Click(&shown.ToolBar()->m_btnAnnotation);
        return qobject_cast<CAnotTools*>(shown.ToolBar()->m_pAnnotPopup.data());
    }

    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_CAnotTools::sizedByTheMonitor_data()
{
    QTest::addColumn<QRect>("monitor");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("side");
    QTest::newRow("1280 x 1024") << QRect(0, 0, 1280, 1024) << QSize(85, 42) << 40;
    QTest::newRow("800 x 600") << QRect(0, 0, 800, 600) << QSize(64, 31) << 29;
}

void tst_CAnotTools::sizedByTheMonitor()
{
    QFETCH(QRect, monitor);
    QFETCH(QSize, size);
    QFETCH(int, side);
    ShownStudy shown(m_dir.path(), monitor);
    CAnotTools* panel = ShowAndOpen(shown);
    QVERIFY(panel);
    QCOMPARE(panel->size(), size);
    QCOMPARE(panel->m_btnLine.geometry(), QRect(side + 2, 1, side, side));
    QCOMPARE(panel->m_btnText.geometry(), QRect(1, 1, side, side));
    QCOMPARE(g_bAnnotPopupShown, 1);
    // Black with a white frame
    const QImage shot = panel->grab().toImage();
    QCOMPARE(shot.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    QCOMPARE(shot.pixel(side + 1, side / 2) & 0xFFFFFF, 0u);
}

void tst_CAnotTools::lineThenTextThenTextAgain()
{
    ShownStudy shown(m_dir.path());
    CAnotTools* panel = ShowAndOpen(shown);
    QVERIFY(panel);
    Click(&panel->m_btnLine);
    QCOMPARE(m_nDrawShape, int(LINEARROW));
    QCOMPARE(panel->m_btnLine.m_bChecked, TRUE);
    QCOMPARE(g_bWindowLevelMode, 0);
    Click(&panel->m_btnText);
    QCOMPARE(m_nDrawShape, int(TEXTOUT));
    QCOMPARE(panel->m_btnLine.m_bChecked, FALSE);
    QCOMPARE(panel->m_btnText.m_bChecked, TRUE);
    for (CImageButton* button : shown.ToolBar()->m_apToolButtons)
        QCOMPARE(button->m_bChecked, FALSE);
    QVERIFY(panel->isVisible());
    Click(&panel->m_btnText);
    QCOMPARE(m_nDrawShape, 0);
    QCOMPARE(g_bWindowLevelMode, 1);
    QCOMPARE(shown.ToolBar()->m_btnWindowLevel.m_bChecked, TRUE);
    QVERIFY(!panel->isVisible());
    QCOMPARE(g_bAnnotPopupShown, 0);
    // The bar's button shows the same panel again, its buttons released
    Click(&shown.ToolBar()->m_btnAnnotation);
    QCOMPARE(shown.ToolBar()->m_pAnnotPopup.data(), panel);
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->m_btnText.m_bChecked, FALSE);
}

void tst_CAnotTools::annotationsHiddenOnlyToggleTheButton()
{
    ShownStudy shown(m_dir.path());
    CAnotTools* panel = ShowAndOpen(shown);
    QVERIFY(panel);
    g_bAnnotationsHidden = 1;
    Click(&panel->m_btnLine);
    QCOMPARE(m_nDrawShape, 0);
    QCOMPARE(panel->m_btnLine.m_bChecked, TRUE);
}

QTEST_MAIN(tst_CAnotTools)
#include "tst_CAnotTools.moc"
