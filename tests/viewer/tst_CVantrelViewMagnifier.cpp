// The magnifier over a viewport of the main window: the view's hooks hand press, moves and
// release to the overlay, which lies over the view as a child of the main frame, shows the
// view's own picture magnified, and goes with the release, the other tools and the frame.

// Qt
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

// std
#include <memory>

// Orvane
#include "app/COstrevanApp.h"
#include "study/CSeriesInfo.h"
#include "study/DicomCodecs.h"
#include "tests/viewer/ShownStudy.h"
#include "state/ToolState.h"
#include "viewer/CImageWnd.h"
#include "viewer/CMagnWnd.h"
#include "viewer/CVantrelView.h"

using namespace Fixtures;

class tst_CVantrelViewMagnifier : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void roundLensOverACtImage();
    void squareLensFollowsTheHeldPointer();
    void otherToolsHideTheLens();
    void existingOverlayIsLaidOverANewView();

private:
    bool ShowCt(ShownStudy& shown);

    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_CVantrelViewMagnifier::initTestCase()
{
    m_codecs = std::make_unique<DicomCodecs>();
    QVERIFY(m_dir.isValid());
}

void tst_CVantrelViewMagnifier::init()
{
    theApp.m_nMagnifierZoom = 20;
    theApp.m_nMagnifierSize = 400;
    theApp.m_nMagnifierOption = 1;
    ClearToolState();
    g_bMagnifierMode = 1;
}

void tst_CVantrelViewMagnifier::cleanup()
{
    ClearToolState();
    // The overlay went with the main frame
    QVERIFY(g_wndMagnifier.isNull());
}

bool tst_CVantrelViewMagnifier::ShowCt(ShownStudy& shown)
{
    CSeriesInfo* series = shown.Study().AddSeries("CT");
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    recipe.content = Content::Phantom;
    recipe.columns = 512;
    recipe.rows = 512;
    return shown.Study().AddImage(series, recipe) && shown.Show();
}

void tst_CVantrelViewMagnifier::roundLensOverACtImage()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowCt(shown));
    CVantrelView* view = shown.View();
    QWidget* frame = shown.Frame().Frame();
    const QImage picture = view->grab().toImage().convertToFormat(QImage::Format_RGB32);

    // The round shape chosen before the first lens holds for it
    CImageWnd::GetMagnifierWindow(view)->SetMagnifierSettings(1, 400, 25, 1);
    const QPoint press(view->width() / 2 - 60, view->height() / 2 - 20);
    view->OnMagnifierPress(MK_LBUTTON, press);
    CImageWnd* overlay = g_wndMagnifier;
    QVERIFY(overlay);
    QCOMPARE(overlay->parentWidget(), frame);
    QVERIFY(overlay->isVisible());
    const QPoint origin = view->mapTo(frame, QPoint(0, 0));
    QCOMPARE(overlay->geometry(), QRect(origin, view->size()));

    const QImage shot = frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The centre shows the view's pixel under the pointer; the corners show the view unmagnified
    QCOMPARE(shot.pixel(origin + press), picture.pixel(press));
    const QPoint lens = overlay->m_pLens->pos();
    for (const QPoint corner : {QPoint(3, 3), QPoint(396, 3), QPoint(3, 396), QPoint(396, 396)})
        QCOMPARE(shot.pixel(origin + lens + corner), picture.pixel(lens + corner));
    // 2.5 times: 100 lens pixels right of the centre is 40 view pixels right of the pointer
    QCOMPARE(shot.pixel(origin + press + QPoint(100, 0)), picture.pixel(press + QPoint(40, 0)));
    const QString folder = qEnvironmentVariable("ORVANE_TEST_OUTPUT", QDir::tempPath());
    QVERIFY(shot.save(QDir(folder).filePath(QStringLiteral("magnifier-round-lens.png"))));

    // The release hides the lens and gives the view the focus
    view->OnMagnifierRelease(MK_LBUTTON, press);
    QVERIFY(overlay->isHidden());
    QVERIFY(!overlay->m_bActive);
    QVERIFY(view->hasFocus());
}

void tst_CVantrelViewMagnifier::squareLensFollowsTheHeldPointer()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowCt(shown));
    CVantrelView* view = shown.View();
    view->OnMagnifierPress(MK_LBUTTON, QPoint(300, 300));
    CImageWnd* overlay = g_wndMagnifier;
    QCOMPARE(overlay->m_nShape, 0);
    QCOMPARE(overlay->m_pLens->geometry(), QRect(100, 100, 400, 400));
    view->OnMagnifierMove(MK_LBUTTON, QPoint(350, 320));
    QCOMPARE(overlay->m_pLens->geometry(), QRect(150, 120, 400, 400));
    // Into the corner: the centre stays 400 / 15 and 400 / 11 pixels inside
    view->OnMagnifierMove(MK_LBUTTON, QPoint(0, 0));
    QCOMPARE(overlay->m_pLens->geometry().topLeft(), QPoint(26 - 200, 36 - 200));
    // A move without the button: the release was lost
    view->OnMagnifierMove(0, QPoint(10, 10));
    QVERIFY(overlay->isHidden());
    QCOMPARE(overlay->m_pLens->geometry().topLeft(), QPoint(26 - 200, 36 - 200));
}

void tst_CVantrelViewMagnifier::otherToolsHideTheLens()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowCt(shown));
    CVantrelView* view = shown.View();
    view->OnMagnifierPress(MK_LBUTTON, QPoint(300, 300));
    QVERIFY(g_wndMagnifier->m_bActive);
    view->HideMagnifierWindow();
    QVERIFY(g_wndMagnifier->isHidden());
    QVERIFY(!g_wndMagnifier->m_bActive);
    QVERIFY(g_wndMagnifier->m_bmpCapture.isNull());
}

void tst_CVantrelViewMagnifier::existingOverlayIsLaidOverANewView()
{
    ShownStudy shown(m_dir.path());
    // Made before the study is shown: the first update of the view lays it over the view
    CImageWnd* overlay = CImageWnd::GetMagnifierWindow(shown.Frame().Frame());
    QVERIFY(overlay);
    QVERIFY(ShowCt(shown));
    QCOMPARE(overlay->m_hwndView.data(), static_cast<QWidget*>(shown.View()));
    QVERIFY(overlay->isHidden());
    QCOMPARE(overlay->m_nSize, 400);
}

QTEST_MAIN(tst_CVantrelViewMagnifier)
#include "tst_CVantrelViewMagnifier.moc"
