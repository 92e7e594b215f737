// Cine playback in views with real worker threads: frames shown through the view, pause,
// resume and stop, the marks on the source and the refusals, the loop that ends by itself, and
// loops stopped by a rebuild and a study change; the window a series loop draws at, the face of
// a bar whose start was refused, a frame that cannot be read. Also the bar's geometry and
// placement.

// Qt
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

// Orvane
#include "platform/CxImage.h"
#include "platform/MessageNotifier.h"
#include "res/resource.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "study/LoadFailure.h"
#include "tests/viewer/ShownStudy.h"
#include "tools/fixtures/DamagedFixtures.h"
#include "state/ToolState.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CineBarGeometry.h"
#include "viewer/CineNewControls.h"
#include "viewer/RenderWindow.h"

// std
#include <string>

namespace {

Fixtures::ImageRecipe MultiFrame(int frames, int rate = 50)
{
    Fixtures::ImageRecipe r = Fixtures::Preset(Fixtures::ImagePreset::MultiFrameGrey);
    r.frames = frames;
    r.frameTime.reset();
    r.recommendedDisplayFrameRate = rate;
    return r;
}

Fixtures::ImageRecipe Single()
{
    Fixtures::ImageRecipe r = Fixtures::Preset(Fixtures::ImagePreset::Grey8);
    r.columns = 32;
    r.rows = 24;
    return r;
}

// Every message shown, read instead of a blocking box
struct Messages
{
    Messages()
    {
        m_old = SetMessageNotifier([this](const ShownMessage& m) {
            shown.push_back(m);
            return int(IDOK);
        });
    }
    ~Messages() { SetMessageNotifier(m_old); }
    std::vector<ShownMessage> shown;
    Notifier m_old;
};

bool Plays(CVantrelView* view, long long frames)
{
    return QTest::qWaitFor([&] { return view->GetCineFramesShown() >= frames; }, 5000);
}

CineNewControls* BarOf(CVantrelView* view)
{
    auto* bar = new CineNewControls(view);
    bar->m_bShown = 1;
    bar->show();
    return bar;
}

// A click on a button whose command is posted, and the command
void Click(QWidget* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
}

// Mouse events as the window system delivers them: a press, moves and the release
void Send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}
void Drag(QWidget* w, QPoint from, QPoint to)
{
    Send(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    Send(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    Send(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}
void ClickAt(QWidget* w, QPoint at)
{
    Send(w, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    Send(w, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

// The picture of `path` (its frame `frame`) as the toolkit renders it at `window`
QImage Rendered(const QString& path, int frame, RenderWindow window)
{
    CxImageDCM dicom;
    QList<CxImage*> first;
    if (!dicom.LoadDCM(QFile::encodeName(path).constData(), &first, FALSE))
        return QImage();
    qDeleteAll(first);
    dicom.m_nCurrentFrame = frame + 1;
    std::unique_ptr<CxImage> bitmap(dicom.WindowLevelling(window.nWidth, window.nCentre));
    return bitmap ? bitmap->GetQImage().convertToFormat(QImage::Format_Grayscale8) : QImage();
}

// Where the pane draws image pixel (x, y) of a `size` picture: the middle of its stretched span
QPoint OnScreen(const CVantrelView* view, QSize size, int x, int y)
{
    const QPoint origin = view->m_ptPanOffset - view->GetScrollPosition();
    const QSize extent = view->GetTotalDeviceSize();
    return origin + QPoint(int((x + 0.5) * extent.width() / size.width()), int((y + 0.5) * extent.height() / size.height()));
}

// The pane as drawn, without the overlay texts that may lie over the picture
QImage ShotWithoutTexts(CVantrelView* view)
{
    const BYTE hidden = g_bHeaderInfoHidden;
    g_bHeaderInfoHidden = 1;
    const QImage shot = view->grab().toImage();
    g_bHeaderInfoHidden = hidden;
    return shot;
}

// How many of the points over the middle of the picture the pane draws as `expected` does
// (grey values), and how many it draws at all
struct Match
{
    int same = 0;
    int points = 0;
};
Match DrawnAs(CVantrelView* view, const QImage& expected)
{
    Match m;
    const QImage shot = ShotWithoutTexts(view);
    const QSize size = expected.size();
    for (int y = size.height() / 4; y < size.height() * 3 / 4; y += 3)
        for (int x = size.width() / 4; x < size.width() * 3 / 4; x += 3) {
            ++m.points;
            if (qGray(shot.pixel(OnScreen(view, size, x, y))) == qGray(expected.pixel(x, y)))
                ++m.same;
        }
    return m;
}

// Pixels of the pane, over the picture's middle, that are not black
int LitOverPicture(CVantrelView* view, QSize size)
{
    const QImage shot = ShotWithoutTexts(view);
    int lit = 0;
    for (int y = size.height() / 4; y < size.height() * 3 / 4; ++y)
        for (int x = size.width() / 4; x < size.width() * 3 / 4; ++x)
            if ((shot.pixel(OnScreen(view, size, x, y)) & 0xFFFFFF) != 0)
                ++lit;
    return lit;
}

} // namespace

class tst_CVantrelViewCine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_codecs = std::make_unique<DicomCodecs>();
        QVERIFY(m_dir.isValid());
    }

    void playsFramesPausesResumesAndStops();
    void showsFramesInTheViewsOrientation();
    void singleImageAloneStaysStopped();
    void refusesSourcePlayingInAnotherView_data();
    void refusesSourcePlayingInAnotherView();
    void loopEndingByItselfLeavesCineState();
    void rebuildAndStudyChangeStopEveryLoop();
    void nextSeriesWhileRunningSkipsMarkedSource();
    void stepsStopAtTheEnds();
    void sliderRateFromFileAndLeftEnd();
    void hidingBarOfPausedViewStopsIt();
    void cineButtonShowsBarAndStopsOnSecondPress();
    void barGeometry_data();
    void barGeometry();
    void barFollowsItsView();
    void barFollowsItsViewIntoFullScreenAndBack();
    void frameButtonsPageSingleImages();
    void seriesLoopShowsTheViewsWindowAndKeepsIt();
    void barMadeForARefusedStartShowsPlay();
    void damagedFrameEndsTheLoopSayingWhy();

private:
    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_CVantrelViewCine::playsFramesPausesResumesAndStops()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("XA");
    CImageInfo* image = shown.Study().AddImage(series, MultiFrame(10));
    QVERIFY(image);
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    CineNewControls* bar = BarOf(view);

    bar->OnBtnPlaycinenew();
    QCOMPARE(view->m_nCineState, 1);
    QCOMPARE(view->m_bCineRunning, 1);
    QVERIFY(view->IsFrameCine());
    QVERIFY(image->IsCineRunning());
    QCOMPARE(bar->m_bPauseFace, BYTE(1));
    // Wraps past the last frame
    QVERIFY(Plays(view, 14));

    bar->OnBtnPlaycinenew(); // pause
    QCOMPARE(view->m_nCineState, 2);
    QCOMPARE(view->m_bCineRunning, 0);
    QVERIFY(!image->IsCineRunning());
    QCOMPARE(bar->m_bPauseFace, BYTE(0));
    // The view's own object is at the frame shown, and no further frame comes
    const int paused = view->m_nCurrentFrame;
    QCOMPARE(view->m_pDicomImage->m_nCurrentFrame, paused + 1);
    const long long count = view->GetCineFramesShown();
    QTest::qWait(100);
    QCOMPARE(view->GetCineFramesShown(), count);
    QCOMPARE(view->m_nCurrentFrame, paused);

    bar->OnBtnPlaycinenew(); // resume after the frame shown
    QCOMPARE(view->m_nCineState, 1);
    QVERIFY(QTest::qWaitFor([&] { return view->GetCineFramesShown() > count; }, 5000));
    QCOMPARE(view->m_nCurrentFrame, (paused + 1) % 10);

    // A frame of the stopped run still queued is not shown by the next run
    view->SeekCine(5);
    QThread::msleep(80); // the worker renders frame 5 and queues it
    QVERIFY(view->StopCine());
    QCOMPARE(view->m_nCineState, 0);
    QVERIFY(!view->m_pCineLoop->HasThread());
    view->RunDCMCine();
    QCoreApplication::processEvents();
    QVERIFY(view->GetCineFramesShown() == 0 || view->m_nCineShown == 0);
    QVERIFY(view->StopCine());
    QVERIFY(!image->IsCineRunning());
    QCOMPARE(view->m_pDicomImage->m_nCurrentFrame, view->m_nCurrentFrame + 1);
    QCOMPARE(bar->m_bPauseFace, BYTE(0));
}

void tst_CVantrelViewCine::showsFramesInTheViewsOrientation()
{
    ShownStudy shown(m_dir.path());
    Fixtures::ImageRecipe recipe = MultiFrame(4);
    recipe.columns = 40;
    recipe.rows = 20;
    CSeriesInfo* series = shown.Study().AddSeries("XA");
    QVERIFY(shown.Study().AddImage(series, recipe));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    view->ComposeOrientation(ID_IMAGE_ROTATERIGHT);
    view->RenderWithWindowLevel(int(view->GetDocument()->m_fWindowWidth), int(view->GetDocument()->m_fWindowCenter));
    CineNewControls* bar = BarOf(view);
    bar->OnBtnPlaycinenew();
    QVERIFY(Plays(view, 3));
    // Turned: 20 x 40, as the view shows its own renders
    QCOMPARE(int(view->m_pDisplayImage->GetWidth()), 20);
    QCOMPARE(int(view->m_pDisplayImage->GetHeight()), 40);
    view->StopCine();
}

void tst_CVantrelViewCine::singleImageAloneStaysStopped()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("CR");
    QVERIFY(shown.Study().AddImage(series, Single()));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    view->RunDCMCine();
    QCOMPARE(view->m_nCineState, 0);
    QCOMPARE(view->m_bCineRunning, 0);
    QVERIFY(!series->IsCineRunning());
    QVERIFY(!view->m_pCineLoop || !view->m_pCineLoop->HasThread());
}

void tst_CVantrelViewCine::refusesSourcePlayingInAnotherView_data()
{
    QTest::addColumn<bool>("multiFrame");
    QTest::addColumn<QString>("message");
    QTest::newRow("multi-frame image") << true << "Same Image is running in another view port";
    QTest::newRow("series") << false << "Same Series is running in another view port";
}

void tst_CVantrelViewCine::refusesSourcePlayingInAnotherView()
{
    QFETCH(bool, multiFrame);
    QFETCH(QString, message);
    Messages messages;
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries(multiFrame ? "XA" : "CR");
    if (multiFrame) {
        CImageInfo* image = shown.Study().AddImage(series, MultiFrame(6));
        QVERIFY(image);
        QVERIFY(shown.Show());
        // Both panes show the same image
        theApp.m_astrSeriesKeys = QStringList{image->m_strFilePath, image->m_strFilePath};
        shown.Grid()->OnCommand(ID_FRAME_LAYOUT1X2);
    } else {
        for (int i = 0; i < 3; ++i)
            QVERIFY(shown.Study().AddImage(series, Single()));
        QVERIFY(shown.Show(2));
        shown.Grid()->OnCommand(ID_FRAME_LAYOUT1X2);
    }
    CVantrelView* first = shown.Grid()->GetPane(0, 0);
    CVantrelView* second = shown.Grid()->GetPane(0, 1);
    QVERIFY(first && second);
    CineNewControls* barFirst = BarOf(first);
    CineNewControls* barSecond = BarOf(second);

    barFirst->OnBtnPlaycinenew();
    QCOMPARE(first->m_nCineState, 1);
    QVERIFY(second->IsCineRunningOnSource());
    barSecond->OnBtnPlaycinenew();
    QCOMPARE(second->m_nCineState, 0);
    QCOMPARE(int(messages.shown.size()), 1);
    QCOMPARE(messages.shown[0].text, message);
    QCOMPARE(messages.shown[0].caption, QStringLiteral("Perlisk Orvane"));
    QCOMPARE(messages.shown[0].flags, unsigned(MB_ICONINFORMATION));

    // The mark is gone with the loop: the second view plays now
    first->StopCine();
    QVERIFY(!second->IsCineRunningOnSource());
    barSecond->OnBtnPlaycinenew();
    QCOMPARE(second->m_nCineState, 1);
    QCOMPARE(int(messages.shown.size()), 1);
    QVERIFY(Plays(second, 2));
    second->StopCine();
}

void tst_CVantrelViewCine::loopEndingByItselfLeavesCineState()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("CR");
    for (int i = 0; i < 3; ++i)
        QVERIFY(shown.Study().AddImage(series, Single()));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    CineNewControls* bar = BarOf(view);
    // The third file is gone: the loop shows two images, then ends by itself
    QVERIFY(QFile::remove(series->GetImageAt(2)->m_strFilePath));
    bar->OnBtnPlaycinenew();
    QCOMPARE(view->m_nCineState, 1);
    QVERIFY(QTest::qWaitFor([&] { return view->m_nCineState == 0; }, 5000));
    QCOMPARE(view->m_bCineRunning, 0);
    QVERIFY(!series->IsCineRunning());
    QVERIFY(!view->m_pCineLoop->HasThread());
    QCOMPARE(bar->m_bPauseFace, BYTE(0));
}

void tst_CVantrelViewCine::rebuildAndStudyChangeStopEveryLoop()
{
    ShownStudy shown(m_dir.path());
    std::vector<CSeriesInfo*> series;
    for (int s = 0; s < 2; ++s) {
        series.push_back(shown.Study().AddSeries("XA"));
        QVERIFY(shown.Study().AddImage(series.back(), MultiFrame(8)));
    }
    QVERIFY(shown.Show());
    shown.Grid()->OnCommand(ID_FRAME_LAYOUT1X2);
    std::vector<QPointer<CVantrelView>> views{shown.Grid()->GetPane(0, 0), shown.Grid()->GetPane(0, 1)};
    for (CVantrelView* view : views) {
        BarOf(view)->OnBtnPlaycinenew();
        QCOMPARE(view->m_nCineState, 1);
    }
    for (CVantrelView* view : views)
        QVERIFY(Plays(view, 3));

    // A rebuild mid-loop: every loop is joined, every mark cleared, the old views and bars gone
    shown.Grid()->OnCommand(ID_FRAME_LAYOUT2X2);
    for (const QPointer<CVantrelView>& view : views)
        QVERIFY(!view);
    for (CSeriesInfo* s : series) {
        QVERIFY(!s->IsCineRunning());
        QVERIFY(!s->GetImageAt(0)->IsCineRunning());
    }
    QVERIFY(shown.Frame().Frame()->findChildren<CineNewControls*>().isEmpty());

    // Playing again in the new grid, then a new study
    CVantrelView* pane = shown.Grid()->GetPane(0, 1);
    QVERIFY(pane);
    BarOf(pane)->OnBtnPlaycinenew();
    QVERIFY(Plays(pane, 2));
    theApp.m_bNewStudyLoaded = 1;
    shown.Grid()->DisplaySingleFrame(nullptr);
    QVERIFY(!series[1]->GetImageAt(0)->IsCineRunning());
    QCOMPARE(shown.View()->m_nCineState, 0);
    for (CVantrelView* view : shown.Frame().Frame()->findChildren<CVantrelView*>())
        QVERIFY(!view->m_pCineLoop || !view->m_pCineLoop->HasThread());
    // Loading a series into the same view mid-loop stops it first
    CVantrelView* single = shown.View();
    BarOf(single)->OnBtnPlaycinenew();
    QCOMPARE(single->m_nCineState, 1);
    CSeriesInfo* playing = single->m_pSeries;
    QVERIFY(playing->GetImageAt(0)->IsCineRunning());
    CSeriesInfo* other = playing == series[0] ? series[1] : series[0];
    shown.Grid()->LoadSeriesIntoViews(other->GetImageAt(0)->m_strFilePath);
    QCOMPARE(single->m_nCineState, 0);
    QVERIFY(!single->m_pCineLoop->HasThread());
    QVERIFY(!playing->GetImageAt(0)->IsCineRunning());
    QCOMPARE(single->m_pSeries, other);
    // Frames the stopped run queued are dropped: the view keeps the new image
    QTest::qWait(50);
    QCOMPARE(single->m_strImageKey, other->GetImageAt(0)->m_strSOPInstanceUID);
}

void tst_CVantrelViewCine::nextSeriesWhileRunningSkipsMarkedSource()
{
    ShownStudy shown(m_dir.path());
    std::vector<CSeriesInfo*> series;
    for (int s = 0; s < 2; ++s) {
        series.push_back(shown.Study().AddSeries("CR"));
        for (int i = 0; i < 3; ++i)
            QVERIFY(shown.Study().AddImage(series.back(), Single()));
    }
    QVERIFY(shown.Show());
    shown.Grid()->OnCommand(ID_FRAME_LAYOUT1X2);
    CVantrelView* first = shown.Grid()->GetPane(0, 0);
    CVantrelView* second = shown.Grid()->GetPane(0, 1);
    QCOMPARE(second->m_pSeries, series[1]);
    CineNewControls* barFirst = BarOf(first);
    BarOf(second)->OnBtnPlaycinenew();
    barFirst->OnBtnPlaycinenew();
    QVERIFY(series[0]->IsCineRunning() && series[1]->IsCineRunning());

    // The first view steps to the series the second plays: it shows it, stopped
    barFirst->OnCineLast();
    QCOMPARE(first->m_pSeries, series[1]);
    QCOMPARE(first->m_nCineState, 0);
    QVERIFY(!series[0]->IsCineRunning());
    QVERIFY(series[1]->IsCineRunning());
    QCOMPARE(second->m_nCineState, 1);
    second->StopCine();
}

void tst_CVantrelViewCine::stepsStopAtTheEnds()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("XA");
    CImageInfo* image = shown.Study().AddImage(series, MultiFrame(3));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    CineNewControls* bar = BarOf(view);
    // The study's only image: next and previous do nothing, not even stop the loop
    bar->OnBtnPlaycinenew();
    bar->OnCineLast();
    bar->OnCineFirst();
    QCOMPARE(view->m_nCineState, 1);
    QVERIFY(image->IsCineRunning());
    // Frame steps do nothing while it runs
    QVERIFY(Plays(view, 1));
    view->StopCine();
    const int stopped = view->m_nCurrentFrame;
    view->m_nCineState = 1;
    bar->OnNextFrame();
    QCOMPARE(view->m_nCurrentFrame, stopped);
    view->m_nCineState = 0;
    // Stopped: frames step up to the last and down to the first, no further
    for (int i = 0; i < 4; ++i)
        bar->OnNextFrame();
    QCOMPARE(view->m_nCurrentFrame, 2);
    QCOMPARE(view->m_pDicomImage->m_nCurrentFrame, 3);
    for (int i = 0; i < 4; ++i)
        bar->OnPrevFrame();
    QCOMPARE(view->m_nCurrentFrame, 0);
    QCOMPARE(view->m_pDicomImage->m_nCurrentFrame, 1);
}

void tst_CVantrelViewCine::sliderRateFromFileAndLeftEnd()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("XA");
    QVERIFY(shown.Study().AddImage(series, MultiFrame(5, 50)));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    CineNewControls* bar = BarOf(view);
    // A 20 ms interval: 50, and the slider's maximum raised to it
    view->SetCineFrameRate();
    QCOMPARE(bar->m_sliderSpeed.GetPos(), 50);
    QCOMPARE(bar->m_sliderSpeed.GetRangeMax(), 50);
    QCOMPARE(bar->m_lblSpeed.m_strText, QStringLiteral("50"));
    QCOMPARE(view->GetCineRate(), 50);

    bar->m_sliderSpeed.SetRange(0, 45);
    bar->m_sliderSpeed.triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(bar->m_sliderSpeed.GetPos(), 1);
    QCOMPARE(view->GetCineRate(), 1);
    QCOMPARE(bar->m_lblSpeed.m_strText, QStringLiteral("1"));
    bar->m_sliderSpeed.SetPos(0);
    QCOMPARE(view->GetCineRate(), 1);
    bar->m_sliderSpeed.SetPos(12);
    QCOMPARE(view->GetCineRate(), 12);
}

void tst_CVantrelViewCine::hidingBarOfPausedViewStopsIt()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("XA");
    CImageInfo* image = shown.Study().AddImage(series, MultiFrame(6));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    CineNewControls* bar = BarOf(view);
    bar->OnBtnPlaycinenew();
    QVERIFY(Plays(view, 2));
    bar->OnBtnPlaycinenew();
    QCOMPARE(view->m_nCineState, 2);
    bar->hide();
    QCOMPARE(view->m_nCineState, 0);
    QVERIFY(!view->m_pCineLoop->HasThread());
    QVERIFY(!image->IsCineRunning());
}

void tst_CVantrelViewCine::cineButtonShowsBarAndStopsOnSecondPress()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("XA");
    CImageInfo* image = shown.Study().AddImage(series, MultiFrame(6));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    view->m_bSelected = 1;
    shown.ToolBar()->OnCine();
    QPointer<CineNewControls> bar = view->GetCineBar();
    QVERIFY(bar);
    QVERIFY(bar->isVisible());
    QCOMPARE(view->m_nCineState, 1);
    QVERIFY(image->IsCineRunning());
    QVERIFY(Plays(view, 2));
    shown.ToolBar()->OnCine();
    QCOMPARE(view->m_nCineState, 0);
    QVERIFY(!image->IsCineRunning());
    // A third press before the closed bar is deleted shows a bar that stays
    shown.ToolBar()->OnCine();
    QTRY_VERIFY(!bar);
    QVERIFY(view->GetCineBar());
    QVERIFY(view->GetCineBar()->isVisible());
    QCOMPARE(view->m_nCineState, 1);
    view->StopCine();
}

void tst_CVantrelViewCine::barGeometry_data()
{
    QTest::addColumn<int>("monitor");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<QRect>("expanded");
    const QRect view(100, 50, 400, 300);
    // Centred, bottom 2 pixels above the view's: 300 x 42 from the template's dialog units
    QTest::newRow("1280, 2 x 2") << 1280 << 2 << 2 << QRect(150, 306, 300, 42);
    QTest::newRow("1920, 3 x 3") << 1920 << 3 << 3 << QRect(150, 306, 300, 42);
    QTest::newRow("800, 3 x 3") << 800 << 3 << 3 << QRect(102, 306, 168, 42);
    QTest::newRow("1024, 3 x 4") << 1024 << 3 << 4 << QRect(102, 306, 220, 42);
    QTest::newRow("1152, 4 x 3") << 1152 << 4 << 3 << QRect(102, 306, 220, 42);
    QTest::newRow("1280, 3 x 3") << 1280 << 3 << 3 << QRect(102, 306, 280, 42);
    QTest::newRow("1100, 3 x 3 keeps its width") << 1100 << 3 << 3 << QRect(102, 306, 300, 42);
}

void tst_CVantrelViewCine::barGeometry()
{
    QFETCH(int, monitor);
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(QRect, expanded);
    const QRect view(100, 50, 400, 300);
    QCOMPARE(CineBarGeometry::ExpandedRect(view, monitor, rows, cols), expanded);
    QCOMPARE(CineBarGeometry::CollapsedRect(view), QRect(210, 306, 180, 42));
    // The row of a collapsed bar: every control inside it, play in the middle
    const CineBarGeometry::Controls c = CineBarGeometry::Layout(QRect(0, 0, 180, 42));
    QCOMPARE(c.next.topLeft(), QPoint(141, 13));
    QCOMPARE(c.nextFrame.topLeft(), QPoint(119, 13));
    QCOMPARE(c.play.topLeft(), QPoint(90, 0));
    QCOMPARE(c.prevFrame.topLeft(), QPoint(69, 13));
    QCOMPARE(c.previous.topLeft(), QPoint(48, 13));
    QCOMPARE(c.more.topLeft(), QPoint(29, 13));
}

void tst_CVantrelViewCine::barFollowsItsView()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("XA");
    QVERIFY(shown.Study().AddImage(series, MultiFrame(4)));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    CineNewControls* bar = BarOf(view);
    QCOMPARE(bar->parentWidget(), view->window());
    QVERIFY(bar->m_bExpanded);
    const auto viewRect = [&] { return QRect(view->mapTo(view->window(), QPoint(0, 0)), view->size()); };
    const auto expect = [&] {
        return CineBarGeometry::ExpandedRect(viewRect(), theApp.m_rcMonitor.right - theApp.m_rcMonitor.left, 0, 0);
    };
    QCOMPARE(bar->geometry(), expect());
    // The grid frame (the view's parent) moves and shrinks: the bar follows
    shown.Grid()->setGeometry(shown.Grid()->geometry().adjusted(30, 0, -60, -80));
    QTRY_COMPARE(bar->geometry(), expect());
    // More collapses it over the same view
    bar->ResizeControlsOnToggle();
    QCOMPARE(bar->geometry(), CineBarGeometry::CollapsedRect(viewRect()));
    QVERIFY(bar->m_sliderSpeed.isHidden());
    // Hidden with its view, shown again with it, gone with it
    shown.Grid()->hide();
    QVERIFY(!bar->isVisible());
    shown.Grid()->show();
    QTRY_VERIFY(bar->isVisible());
    QPointer<CineNewControls> guard(bar);
    shown.Grid()->OnCommand(ID_FRAME_LAYOUT1X2);
    QVERIFY(!guard);
}

// F11 moves and grows the view (the thumbnail column goes): the bar keeps its place over it,
// in the main window's coordinates, there and back
void tst_CVantrelViewCine::barFollowsItsViewIntoFullScreenAndBack()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("XA");
    QVERIFY(shown.Study().AddImage(series, MultiFrame(4)));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    CineNewControls* bar = BarOf(view);
    QCOMPARE(view->GetCineBar(), bar);
    const auto expect = [&] {
        const QRect viewRect(view->mapTo(view->window(), QPoint(0, 0)), view->size());
        return CineBarGeometry::ExpandedRect(viewRect, theApp.m_rcMonitor.right - theApp.m_rcMonitor.left, 0, 0);
    };
    QCOMPARE(bar->geometry(), expect());
    const QRect before = bar->geometry();
    view->OnFullScreenKey();
    QVERIFY(shown.Frame().Frame()->m_pFullScreenChild);
    QTRY_COMPARE(bar->geometry(), expect());
    QVERIFY(bar->geometry() != before);
    view->OnFullScreenKey();
    QVERIFY(!shown.Frame().Frame()->m_pFullScreenChild);
    QTRY_COMPARE(bar->geometry(), expect());
}

// The frame buttons over single images page the series as the arrow keys do: the next image,
// and nothing before the first image of the study's first series
void tst_CVantrelViewCine::frameButtonsPageSingleImages()
{
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("CT");
    for (int i = 0; i < 3; ++i)
        QVERIFY(shown.Study().AddImage(series, Single()));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    CineNewControls* bar = BarOf(view);
    QCOMPARE(view->m_pImage, series->GetImageAt(0));
    bar->OnNextFrame();
    QCOMPARE(view->m_pImage, series->GetImageAt(1));
    QVERIFY(view->HasPicture());
    bar->OnPrevFrame();
    bar->OnPrevFrame();
    QCOMPARE(view->m_pImage, series->GetImageAt(0));
    QVERIFY(view->HasPicture());
}

// A window set by a drag: every image of the series loop is drawn at it, not at its own file's,
// and it stays when the loop pauses and stops
void tst_CVantrelViewCine::seriesLoopShowsTheViewsWindowAndKeepsIt()
{
    ClearToolState();
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("CT");
    for (int i = 0; i < 3; ++i) {
        Fixtures::ImageRecipe r = Fixtures::Preset(Fixtures::ImagePreset::Ct);
        r.columns = 64;
        r.rows = 48;
        r.maxStored = 1500 + 1000 * i;                   // each image its own picture
        r.windowCenter = std::to_string(40 + 300 * i);   // and its own window
        r.windowWidth = std::to_string(400 + 600 * i);
        QVERIFY(shown.Study().AddImage(series, r));
    }
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    CVantrelDoc* doc = view->GetDocument();
    QCOMPARE(view->m_fWindowLevelFactor, 1.0f);
    const QPoint at = view->rect().center();
    Drag(view, at, at + QPoint(600, 30));
    QCOMPARE(doc->m_fWindowWidth, 1000.0f);
    QCOMPARE(doc->m_fWindowCenter, 70.0f);
    const RenderWindow window = ToRenderWindow(1000.0, 70.0);
    const auto drawnAtTheWindow = [&] {
        const QImage expected = Rendered(view->m_pImage->m_strFilePath, 0, window);
        const Match m = DrawnAs(view, expected);
        return m.points > 50 && m.same == m.points;
    };
    const auto showsTheWindow = [&] {
        return doc->m_fWindowWidth == 1000.0f && doc->m_fWindowCenter == 70.0f
               && view->m_strWindowWidthText == QStringLiteral("WW = 1000") && view->m_strWindowLevelText == QStringLiteral("WL = 70");
    };
    QVERIFY(drawnAtTheWindow());

    CineNewControls* bar = BarOf(view);
    Click(&bar->m_btnPlay);
    QCOMPARE(view->m_nCineState, 1);
    bar->m_sliderSpeed.SetPos(2);
    // The second and the third image come from the loop's own loads
    for (CImageInfo* image : {series->GetImageAt(1), series->GetImageAt(2)}) {
        QTRY_VERIFY_WITH_TIMEOUT(view->m_pImage == image, 5000);
        QVERIFY2(drawnAtTheWindow(), qPrintable(image->m_strFilePath));
        QVERIFY(showsTheWindow());
    }

    Click(&bar->m_btnPlay); // pause
    QCOMPARE(view->m_nCineState, 2);
    QVERIFY(showsTheWindow());
    QVERIFY(drawnAtTheWindow());
    Click(&bar->m_btnPlay); // resume
    QCOMPARE(view->m_nCineState, 1);
    const long long shownBefore = view->GetCineFramesShown();
    QTRY_VERIFY_WITH_TIMEOUT(view->GetCineFramesShown() > shownBefore && view->m_pImage != series->GetImageAt(0), 5000);
    Click(&shown.ToolBar()->m_btnCine); // the tool bar's Cine button stops it
    QCOMPARE(view->m_nCineState, 0);
    QVERIFY(showsTheWindow());
    QVERIFY(drawnAtTheWindow());
}

// The tool bar's Cine button in a pane whose image another pane plays: the start is refused,
// and the new bar shows the play face, not the pause face
void tst_CVantrelViewCine::barMadeForARefusedStartShowsPlay()
{
    ClearToolState();
    Messages messages;
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("XA");
    CImageInfo* image = shown.Study().AddImage(series, MultiFrame(6));
    QVERIFY(image);
    QVERIFY(shown.Show());
    theApp.m_astrSeriesKeys = QStringList{image->m_strFilePath, image->m_strFilePath};
    shown.Grid()->OnCommand(ID_FRAME_LAYOUT1X2);
    CVantrelView* first = shown.Grid()->GetPane(0, 0);
    CVantrelView* second = shown.Grid()->GetPane(0, 1);
    QVERIFY(first && second);

    ClickAt(first, first->rect().center());
    QCOMPARE(shown.Grid()->GetSelectedView(), first);
    Click(&shown.ToolBar()->m_btnCine);
    QVERIFY(first->GetCineBar());
    QCOMPARE(first->m_nCineState, 1);

    ClickAt(second, second->rect().center());
    QCOMPARE(shown.Grid()->GetSelectedView(), second);
    Click(&shown.ToolBar()->m_btnCine);
    CineNewControls* bar = second->GetCineBar();
    QVERIFY(bar);
    QCOMPARE(int(messages.shown.size()), 1);
    QCOMPARE(messages.shown[0].text, QStringLiteral("Same Image is running in another view port"));
    QCOMPARE(second->m_nCineState, 0);
    QCOMPARE(bar->m_bPauseFace, BYTE(0));
    QCOMPARE(bar->m_bPlaying, 0);

    // What the bar draws at its play button: the play face over the bar's background (the
    // middle of the button: the faces beside it overlap its edges)
    const QRect button = bar->m_btnPlay.geometry();
    const QRect middle(button.width() / 4, button.height() / 4, button.width() / 2, button.height() / 2);
    const auto face = [&](const CxImage& image) {
        QImage drawn(bar->size(), QImage::Format_RGB32);
        drawn.fill(Qt::black);
        QPainter painter(&drawn);
        (bar->m_bExpanded ? bar->m_imgExpanded : bar->m_imgCollapsed).Draw2(&painter, 0, 0, drawn.width(), drawn.height());
        image.Draw2(&painter, button.x(), button.y(), button.width(), button.height());
        painter.end();
        return drawn.copy(button).copy(middle);
    };
    const QImage shot = bar->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(button).copy(middle);
    QVERIFY(face(bar->m_imgPlay) != face(bar->m_imgPause));
    QCOMPARE(shot, face(bar->m_imgPlay));
    first->StopCine();
}

// A later frame whose JPEG header claims another size: the loop stops there and the pane says
// why, as for a refused image; the frames before it page as before, and paging onto it again
// says why again instead of showing the frame before
void tst_CVantrelViewCine::damagedFrameEndsTheLoopSayingWhy()
{
    ClearToolState();
    ShownStudy shown(m_dir.path());
    CSeriesInfo* series = shown.Study().AddSeries("XA");
    const QString path = m_dir.filePath(QStringLiteral("frame-size-mismatch.dcm"));
    QCOMPARE(Fixtures::WriteFrameSizeMismatch(path, 6, 3), QString());
    QVERIFY(shown.Study().AddRecord(series, path, QStringLiteral("1.2.826.0.1.3680043.9.7.22")));
    QVERIFY(shown.Show());
    CVantrelView* view = shown.View();
    QVERIFY(view->HasPicture());
    const QSize size(32, 20);
    const RenderWindow window = ToRenderWindow(view->GetDocument()->m_fWindowWidth, view->GetDocument()->m_fWindowCenter);
    const QString why = QString::fromLatin1(LoadFailure::kFrameUnreadable);
    const auto saysWhyAtFrame = [&](int frame) {
        return view->m_nCurrentFrame == frame && !view->HasPicture() && view->NoPictureText() == why
               && view->m_strWindowWidthText.isEmpty() && LitOverPicture(view, size) == 0;
    };
    const auto showsFrame = [&](int frame) {
        const Match m = DrawnAs(view, Rendered(path, frame, window));
        return view->m_nCurrentFrame == frame && view->HasPicture() && view->NoPictureText().isEmpty() && m.points > 10
               && m.same == m.points;
    };

    CineNewControls* bar = BarOf(view);
    Click(&bar->m_btnPlay);
    QCOMPARE(view->m_nCineState, 1);
    QTRY_COMPARE_WITH_TIMEOUT(view->m_nCineState, 0, 5000);
    QVERIFY(saysWhyAtFrame(3));
    QCOMPARE(view->m_strFrameText, QStringLiteral("Frame: 4/6"));
    QCOMPARE(bar->m_bPauseFace, BYTE(0));

    // The keys page back through the frames shown, and onto the damaged one again
    QTest::keyClick(view, Qt::Key_Up);
    QVERIFY(showsFrame(2));
    QTest::keyClick(view, Qt::Key_Up);
    QVERIFY(showsFrame(1));
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Down);
    QVERIFY(saysWhyAtFrame(3));
    QTest::keyClick(view, Qt::Key_Up);
    QVERIFY(showsFrame(2));
    // The bar's frame buttons as well
    Click(&bar->m_btnNextFrame);
    QVERIFY(saysWhyAtFrame(3));
    Click(&bar->m_btnPrevFrame);
    QVERIFY(showsFrame(2));
}

QTEST_MAIN(tst_CVantrelViewCine)
#include "tst_CVantrelViewCine.moc"
