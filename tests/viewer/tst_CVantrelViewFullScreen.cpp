// Full screen of a viewport in the main window: F11 in a pane of a grid shows that pane alone
// over the whole viewport area with the thumbnail column shrunk to nothing, and a second F11
// brings back the column and the equal panes with their pictures; in a single view only the
// column and the fit change. Panes without a picture are walked past.

// Qt
#include <QTemporaryDir>
#include <QtTest>

// std
#include <memory>

// Orvane
#include "app/CChildFrmView.h"
#include "app/CMainFrame.h"
#include "app/COstrevanApp.h"
#include "platform/CxImage.h"
#include "res/resource.h"
#include "study/CSeriesInfo.h"
#include "study/DicomCodecs.h"
#include "tests/viewer/ShownStudy.h"
#include "toolpanes/CThumbNailLeft.h"
#include "state/ToolState.h"
#include "viewer/CFrameSplitterWnd.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"
#include "viewer/ViewGeometry.h"

using namespace Fixtures;

namespace {

const QRect kMonitor(0, 0, 1280, 1024);

struct PaneState
{
    QRect geometry;
    QSize sizePane;
    float zoom = 0;
    QPoint pan;
    QImage picture;
};

std::vector<PaneState> StateOf(const std::vector<CVantrelView*>& panes)
{
    std::vector<PaneState> states;
    for (CVantrelView* pane : panes)
    {
        // The picture inside the pane's frame, which marks the selected pane
        const QImage shot = pane->grab().toImage();
        states.push_back({pane->geometry(), pane->m_sizePane, pane->m_fZoom, pane->m_ptPanOffset,
                          shot.copy(shot.rect().adjusted(3, 3, -3, -3))});
    }
    return states;
}

bool AllVisible(const std::vector<CVantrelView*>& panes)
{
    return std::all_of(panes.begin(), panes.end(), [](CVantrelView* v) { return v->isVisible(); });
}

} // namespace

class tst_CVantrelViewFullScreen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void f11OnAGridAndBack_data();
    void f11OnAGridAndBack();
    void singleViewHidesTheColumnAndRefits_data();
    void singleViewHidesTheColumnAndRefits();
    void panesWithoutPictureAreWalkedPast();
    void noToggleWhileTheCineRuns();

private:
    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_CVantrelViewFullScreen::initTestCase()
{
    m_codecs = std::make_unique<DicomCodecs>();
    QVERIFY(m_dir.isValid());
}

void tst_CVantrelViewFullScreen::init()
{
    ClearToolState();
    SetDefaultToolState();
}

void tst_CVantrelViewFullScreen::cleanup()
{
    ClearToolState();
}

void tst_CVantrelViewFullScreen::f11OnAGridAndBack_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::newRow("top left") << 0 << 0;
    QTest::newRow("bottom right") << 1 << 1;
    QTest::newRow("top right") << 0 << 1;
}

void tst_CVantrelViewFullScreen::f11OnAGridAndBack()
{
    QFETCH(int, row);
    QFETCH(int, col);
    ShownStudy shown(m_dir.path(), kMonitor);
    CSeriesInfo* series = shown.Study().AddSeries("CT");
    for (int i = 0; i < 4; ++i) {
        ImageRecipe recipe = Preset(ImagePreset::Ct);
        recipe.content = Content::Phantom;
        recipe.columns = 256;
        recipe.rows = 200;
        recipe.slicePosition = -0.6 + 0.4 * i;
        QVERIFY(shown.Study().AddImage(series, recipe));
    }
    QVERIFY(shown.Show(2));
    CMyFrameWnd* grid = shown.Grid();
    QVERIFY(grid->OnCommand(ID_FRAME_LAYOUT2X2));
    const std::vector<CVantrelView*> panes = grid->GetPanes();
    QCOMPARE(panes.size(), std::size_t(4));
    QTRY_VERIFY(AllVisible(panes));
    QTest::qWait(20);
    CMainFrame* main = shown.Frame().Frame();
    CChildFrmView* child = shown.Frame().Child();
    QWidget* thumbnails = child->GetThumbnailPane();
    const int thumbnailWidth = thumbnails->width();
    QVERIFY(thumbnailWidth > 0);
    const int areaWidth = theApp.m_nViewAreaWidth;
    const std::vector<PaneState> before = StateOf(panes);

    CVantrelView* pane = grid->GetPane(row, col);
    QTest::keyClick(pane, Qt::Key_F11);
    QCOMPARE(main->m_pFullScreenChild, child);
    QCOMPARE(main->geometry(), kMonitor.adjusted(-1, 0, 1, 0));
    QCOMPARE(thumbnails->width(), 0);
    QCOMPARE(theApp.m_nViewAreaWidth, kMonitor.width());
    QVERIFY(pane->m_bFullScreen);
    // The pane shown is the selected and active one, which paging and the tools act on
    QCOMPARE(grid->GetSelectedView(), pane);
    QCOMPARE(grid->GetActiveView(), pane);
    for (CVantrelView* other : panes)
        QCOMPARE(other->m_bSelected, BYTE(other == pane));
    QVERIFY(pane->hasFocus());
    // This pane alone over the whole grid, wider than before
    QCOMPARE(pane->geometry(), QRect(QPoint(0, 0), grid->m_pSplitter->size()));
    QCOMPARE(grid->m_pSplitter->geometry(), grid->rect());
    QVERIFY(grid->width() > before[0].geometry.width() * 2);
    for (CVantrelView* other : panes)
        if (other != pane)
            QVERIFY(other->size().isEmpty());
    // Fitted to the whole area and centred
    const QSize bitmap(256, 200);
    QCOMPARE(pane->m_fZoom, ViewGeometry::FitZoom(bitmap, pane->size()));
    QCOMPARE(pane->m_sizePane, pane->size());
    QCOMPARE(pane->m_ptPanOffset, ViewGeometry::CenterOffset(pane->size(), pane->GetTotalDeviceSize()));
    const QImage full = pane->grab().toImage();
    QCOMPARE(qGray(full.pixel(full.width() / 2, full.height() / 2)) > 0, true);

    QTest::keyClick(pane, Qt::Key_F11);
    QCOMPARE(main->m_pFullScreenChild, nullptr);
    QCOMPARE(main->geometry(), kMonitor);
    QCOMPARE(thumbnails->width(), thumbnailWidth);
    // Back in the grid the pane pages with the grid again
    QCOMPARE(pane->m_bFullScreen, BYTE(0));
    QCOMPARE(theApp.m_nViewAreaWidth, areaWidth);
    QVERIFY(pane->hasFocus());
    // Four equal panes again, with the pictures they had
    const std::vector<PaneState> after = StateOf(panes);
    for (std::size_t i = 0; i < panes.size(); ++i) {
        QCOMPARE(after[i].geometry, before[i].geometry);
        QCOMPARE(after[i].sizePane, before[i].sizePane);
        QCOMPARE(after[i].zoom, before[i].zoom);
        QCOMPARE(after[i].pan, before[i].pan);
        QCOMPARE(after[i].picture, before[i].picture);
    }
}

void tst_CVantrelViewFullScreen::singleViewHidesTheColumnAndRefits_data()
{
    QTest::addColumn<int>("layoutMode");
    QTest::newRow("series layout") << 1;
    // Study layout records a grid and still shows one view
    QTest::newRow("study layout with a recorded grid") << 0;
}

void tst_CVantrelViewFullScreen::singleViewHidesTheColumnAndRefits()
{
    QFETCH(int, layoutMode);
    ShownStudy shown(m_dir.path(), kMonitor);
    CSeriesInfo* series = shown.Study().AddSeries("CT");
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    recipe.columns = 300;
    recipe.rows = 200;
    QVERIFY(shown.Study().AddImage(series, recipe));
    QVERIFY(shown.Show(layoutMode));
    CMyFrameWnd* grid = shown.Grid();
    if (layoutMode == 0) {
        QVERIFY(grid->OnCommand(ID_FRAME_LAYOUT2X2));
        QCOMPARE(grid->m_nRows, 2);
    }
    CVantrelView* view = shown.View();
    QVERIFY(view);
    QTest::qWait(20);
    QWidget* thumbnails = shown.Frame().Child()->GetThumbnailPane();
    const int thumbnailWidth = thumbnails->width();
    const QSize size = view->size();
    const float zoom = view->m_fZoom;
    QCOMPARE(zoom, ViewGeometry::FitZoom(QSize(300, 200), size));

    QTest::keyClick(view, Qt::Key_F11);
    QCOMPARE(thumbnails->width(), 0);
    QCOMPARE(shown.View(), view);
    QVERIFY(view->width() > size.width());
    QCOMPARE(view->m_fZoom, ViewGeometry::FitZoom(QSize(300, 200), view->size()));
    QCOMPARE(view->m_ptPanOffset, ViewGeometry::CenterOffset(view->size(), view->GetTotalDeviceSize()));

    QTest::keyClick(view, Qt::Key_F11);
    QCOMPARE(thumbnails->width(), thumbnailWidth);
    QCOMPARE(view->size(), size);
    // The refit is posted
    QTRY_COMPARE(view->m_fZoom, zoom);
    QCOMPARE(view->m_ptPanOffset, ViewGeometry::CenterOffset(size, view->GetTotalDeviceSize()));
}

void tst_CVantrelViewFullScreen::panesWithoutPictureAreWalkedPast()
{
    ShownStudy shown(m_dir.path(), kMonitor);
    CSeriesInfo* series = shown.Study().AddSeries("CT");
    // Three images, the second refused: one pane without picture, one without image
    for (int i = 0; i < 3; ++i) {
        ImageRecipe recipe = Preset(ImagePreset::Ct);
        recipe.columns = 64;
        recipe.rows = 48;
        QVERIFY(shown.Study().AddImage(series, recipe, i == 1 ? Syntax::Jpeg2000 : Syntax::ExplicitLittle));
    }
    QVERIFY(shown.Show(2));
    CMyFrameWnd* grid = shown.Grid();
    QVERIFY(grid->OnCommand(ID_FRAME_LAYOUT2X2));
    const std::vector<CVantrelView*> panes = grid->GetPanes();
    QTRY_VERIFY(AllVisible(panes));
    QVERIFY(!panes[1]->HasPicture());
    QVERIFY(!panes[3]->m_pImage);
    const std::vector<PaneState> before = StateOf(panes);

    QTest::keyClick(panes[2], Qt::Key_F11);
    QCOMPARE(panes[2]->geometry(), QRect(QPoint(0, 0), grid->size()));
    QTest::keyClick(panes[2], Qt::Key_F11);
    const std::vector<PaneState> after = StateOf(panes);
    for (std::size_t i = 0; i < panes.size(); ++i) {
        QCOMPARE(after[i].geometry, before[i].geometry);
        QCOMPARE(after[i].sizePane, before[i].sizePane);
        QCOMPARE(after[i].zoom, before[i].zoom);
    }
    for (std::size_t i = 0; i < panes.size(); ++i) {
        QCOMPARE(after[i].pan, before[i].pan);
        QCOMPARE(after[i].picture, before[i].picture);
    }
    // The one without a picture still says why
    QCOMPARE(panes[1]->NoPictureText(), QStringLiteral("JPEG 2000 images are not shown"));
}

void tst_CVantrelViewFullScreen::noToggleWhileTheCineRuns()
{
    ShownStudy shown(m_dir.path(), kMonitor);
    CSeriesInfo* series = shown.Study().AddSeries("CT");
    QVERIFY(shown.Study().AddImage(series, Preset(ImagePreset::Ct)));
    QVERIFY(shown.Show(1));
    CVantrelView* view = shown.View();
    view->m_bCineRunning = 1;
    QTest::keyClick(view, Qt::Key_F11);
    QCOMPARE(shown.Frame().Frame()->m_pFullScreenChild, nullptr);
    QVERIFY(!view->m_bFullScreen);
    view->m_bCineRunning = 0;
}

QTEST_MAIN(tst_CVantrelViewFullScreen)
#include "tst_CVantrelViewFullScreen.moc"
