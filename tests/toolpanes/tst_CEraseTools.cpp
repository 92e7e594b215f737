// The erase panel in the main window: the eraser toggled by its button, Erase All removing the
// three shapes of the shown image (and none of another image) and closing the panel, which is
// deleted safely after its own handler; on an image without shapes it still closes the panel.

// Qt
#include <QtTest>

// std
#include <memory>

// Orvane
#include "annotation/CShapeLine.h"
#include "app/COstrevanApp.h"
#include "res/resource.h"
#include "study/DicomCodecs.h"
#include "tests/viewer/ShownStudy.h"
#include "toolpanes/CEraseTools.h"
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

} // namespace

class tst_CEraseTools : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_codecs = std::make_unique<DicomCodecs>();
        QVERIFY(m_dir.isValid());
    }
    void init() { ClearToolState(); }

    void eraseTogglesTheEraser();
    void eraseAllRemovesTheImagesShapesAndCloses_data();
    void eraseAllRemovesTheImagesShapesAndCloses();

private:
    CEraseTools* ShowAndOpen(ShownStudy& shown)
    {
        ImageRecipe recipe = Preset(ImagePreset::Grey8);
        recipe.sopInstanceUid.clear();
        if (!shown.Study().AddImage(shown.Study().AddSeries("OT"), recipe) || !shown.Show())
            return nullptr;
        Click(&shown.ToolBar()->m_btnEraseTools);
        return qobject_cast<CEraseTools*>(shown.ToolBar()->m_pErasePopup.data());
    }

    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_CEraseTools::eraseTogglesTheEraser()
{
    ShownStudy shown(m_dir.path());
    CEraseTools* panel = ShowAndOpen(shown);
    QVERIFY(panel);
    QCOMPARE(panel->size(), QSize(85, 42));
    Click(&panel->m_btnErase);
    QCOMPARE(g_bEraseMode, BYTE(1));
    QCOMPARE(g_bWindowLevelMode, 0);
    QCOMPARE(panel->m_btnErase.m_bChecked, TRUE);
    Click(&panel->m_btnErase);
    QCOMPARE(g_bEraseMode, BYTE(0));
    QCOMPARE(g_bWindowLevelMode, 1);
    QVERIFY(!panel->isVisible());
    QCOMPARE(g_bErasePopupShown, 0);
}

void tst_CEraseTools::eraseAllRemovesTheImagesShapesAndCloses_data()
{
    QTest::addColumn<int>("shapes");
    QTest::newRow("three shapes") << 3;
    QTest::newRow("no shapes") << 0;
}

void tst_CEraseTools::eraseAllRemovesTheImagesShapesAndCloses()
{
    QFETCH(int, shapes);
    ShownStudy shown(m_dir.path());
    CEraseTools* panel = ShowAndOpen(shown);
    QVERIFY(panel);
    auto& array = shown.Grid()->m_arrShapes;
    const CDoublePoint a(2, 2), b(20, 10);
    const COLORREF green = 0x00FF00;
    const int one = 1;
    for (int i = 0; i <= shapes; ++i) {
        array.push_back(std::make_unique<CShapeLine>(&a, &b, &green, &one));
        array.back()->SetImageKey(i == 0 ? QStringLiteral("another image") : shown.View()->m_strImageKey);
    }
    QPointer<CEraseTools> watch(panel);
    // The panel's own handler closes it: it lives on until the handler has returned
    panel->OnCommand(IDC_BTN_ERASEALL);
    QVERIFY(watch);
    QVERIFY(!watch->isVisible());
    QCOMPARE(array.size(), std::size_t(1));
    QCOMPARE(array.front()->GetImageKey(), QStringLiteral("another image"));
    QCOMPARE(g_bErasePopupShown, 0);
    QVERIFY(!shown.ToolBar()->m_pErasePopup);
    QCOMPARE(g_bWindowLevelMode, 1);
    // Gone once its handler has returned
    QTRY_VERIFY(!watch);
}

QTEST_MAIN(tst_CEraseTools)
#include "tst_CEraseTools.moc"
