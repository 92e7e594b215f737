// Sustained cine playback in a real view beside the bare per-frame decode and render of the
// same file, opened once: frames painted per second at the nominal rate (counted at the view's
// paints), frames dropped (slots the loop skipped and frames handed over but never painted),
// drift between the first and the second half of the run, and the UI thread's longest gap (a
// 5 ms timer). Each rate is played on a quiet process and again with 6 threads spinning (6 of 8
// cores busy); the load average is printed with each run, since other work may share the
// machine.
//
// Usage: bench_cine [seconds per run (5)]

// Qt
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdatset.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmimgle/dcmimage.h>
#include <dcmtk/oflog/oflog.h>

// Orvane
#include "app/COstrevanApp.h"
#include "bench/BenchTiming.h"
#include "platform/CxImage.h"
#include "study/CImageInfo.h"
#include "study/CSeriesInfo.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tools/fixtures/ImageFixtures.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"

// std
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

using namespace Fixtures;
using namespace Bench;

namespace {

struct Loop
{
    const char* label;
    ImageRecipe recipe;
    Syntax syntax;
};

double LoadAverage()
{
    double load = 0.0;
    if (FILE* f = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(f, "%lf", &load) != 1)
            load = 0.0;
        std::fclose(f);
    }
    return load;
}

// Bare toolkit: the file read once; each frame decoded from it and rendered to 8 bits
double BareFrameMs(const QByteArray& path, int frames)
{
    DcmFileFormat file;
    if (file.loadFile(path.constData()).bad())
        return 0.0;
    const E_TransferSyntax xfer = file.getDataset()->getOriginalXfer();
    std::vector<double> times;
    for (int f = 0; f < frames; ++f) {
        times.push_back(Timed([&] {
            DicomImage image(&file, xfer, CIF_UsePartialAccessToPixelData, unsigned(f), 1);
            if (image.isMonochrome())
                image.setMinMaxWindow();
            image.getOutputData(8, 0, 0);
        }));
    }
    return Median(times);
}

// The worker's own path: one object, each frame rendered at a window
double OursFrameMs(const QByteArray& path, int frames, bool ownWindow, int* pWidth, int* pCentre)
{
    CxImageDCM dicom;
    QList<CxImage*> first;
    dicom.LoadDCM(path.constData(), &first, FALSE);
    qDeleteAll(first);
    const int width = ownWindow ? std::max(1, int(dicom.m_dWindowWidth)) : 256;
    const int centre = ownWindow ? int(dicom.m_dWindowCenter) : 128;
    *pWidth = width;
    *pCentre = centre;
    std::vector<double> times;
    for (int f = 0; f < frames; ++f) {
        times.push_back(Timed([&] {
            dicom.m_nCurrentFrame = f + 1;
            delete dicom.WindowLevelling(width, centre);
        }));
    }
    return Median(times);
}

// Counts the paints of the view that show a frame not painted before, and the frames the view
// took but never painted (a newer one came first)
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(CVantrelView* view) : m_view(view) { view->installEventFilter(this); }
    long long painted = 0;
    long long unpainted = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            const long long shown = m_view->GetCineFramesShown();
            if (shown > m_last) {
                ++painted;
                if (m_last >= 0)
                    unpainted += shown - m_last - 1;
                m_last = shown;
            }
        }
        return false;
    }

private:
    CVantrelView* m_view;
    long long m_last = -1;
};

// `count` threads spinning until the object goes
class BusyCores
{
public:
    explicit BusyCores(int count)
    {
        for (int i = 0; i < count; ++i)
            m_threads.emplace_back([this] {
                volatile unsigned long long spin = 0;
                while (!m_stop.load(std::memory_order_relaxed))
                    spin = spin + 1;
            });
    }
    ~BusyCores()
    {
        m_stop = true;
        for (std::thread& t : m_threads)
            t.join();
    }
    BusyCores(const BusyCores&) = delete;
    BusyCores& operator=(const BusyCores&) = delete;

private:
    std::atomic<bool> m_stop{false};
    std::vector<std::thread> m_threads;
};

struct Run
{
    double fps = 0.0;
    double firstHalf = 0.0;
    double secondHalf = 0.0;
    long long dropped = 0;
    double longestGap = 0.0;
};

Run Play(const QString& path, int rate, double seconds)
{
    CSeriesInfo series;
    auto image = std::make_unique<CImageInfo>();
    image->m_strFilePath = path;
    image->m_pSeries = &series;
    series.m_lstImages.push_back(std::move(image));

    QWidget host;
    host.resize(1100, 890);
    auto* document = new CVantrelDoc;
    auto* view = new CVantrelView(document, &host);
    document->setParent(view);
    view->setGeometry(host.rect());
    view->m_sizePane = host.size();
    host.show();
    view->m_pSeries = &series;
    view->m_pImage = series.GetImageAt(0);
    view->LoadImageIntoViewPort(FALSE);
    view->InitialiseImageData(TRUE);
    view->show();
    PaintCounter paints(view);

    Run run;
    view->SetCineRate(rate);
    view->RunDCMCine();
    QElapsedTimer clock;
    clock.start();
    double last = 0.0, half = 0.0;
    long long atHalf = 0, atStart = -1;
    double start = 0.0;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const double now = clock.nsecsElapsed() / 1e6;
        run.longestGap = std::max(run.longestGap, now - last);
        last = now;
        const long long shown = paints.painted;
        if (atStart < 0 && shown > 0) {
            atStart = shown;
            start = now;
        }
        if (atStart >= 0 && half == 0.0 && now - start >= seconds * 500.0) {
            half = now;
            atHalf = shown;
        }
        if (atStart >= 0 && now - start >= seconds * 1000.0) {
            run.firstHalf = (atHalf - atStart) * 1000.0 / (half - start);
            run.secondHalf = (shown - atHalf) * 1000.0 / (now - half);
            run.fps = (shown - atStart) * 1000.0 / (now - start);
            run.dropped = view->GetCineFramesDropped() + paints.unpainted;
            QCoreApplication::quit();
        }
    });
    tick.start();
    QCoreApplication::exec();
    view->StopCine();
    delete view;
    return run;
}

ImageRecipe Phantom(ImagePreset preset, int columns, int rows, int frames)
{
    ImageRecipe recipe = Preset(preset);
    recipe.content = Content::Phantom;
    recipe.columns = columns;
    recipe.rows = rows;
    recipe.frames = frames;
    return recipe;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 5.0;
    OFLog::configure(OFLogger::WARN_LOG_LEVEL);
    DicomCodecs codecs;
    QTemporaryDir dir;
    const std::vector<Loop> loops = {
        {"US 640x480 RGB x100 JPEG lossless", Phantom(ImagePreset::MultiFrameColour, 640, 480, 100), Syntax::JpegLossless},
    };
    for (const Loop& loop : loops) {
        const QString path = dir.filePath(QStringLiteral("loop.dcm"));
        if (!WriteImage(loop.recipe, loop.syntax, path).isEmpty()) {
            std::printf("%s: not written\n", loop.label);
            continue;
        }
        const QByteArray file = QFile::encodeName(path);
        const double bare = BareFrameMs(file, loop.recipe.frames);
        int width = 0, centre = 0, ownWidth = 0, ownCentre = 0;
        const double ours = OursFrameMs(file, loop.recipe.frames, false, &width, &centre);
        const double oursOwn = OursFrameMs(file, loop.recipe.frames, true, &ownWidth, &ownCentre);
        std::printf("%s: per frame bare DCMTK decode+render (file opened once) %.2f ms, worker render at %d/%d %.2f ms "
                    "(x%.2f), at the file's window %d/%d %.2f ms (x%.2f)\n",
                    loop.label, bare, width, centre, ours, Ratio(ours, bare), ownWidth, ownCentre, oursOwn,
                    Ratio(oursOwn, bare));
        for (int busy : {0, 6}) {
            std::unique_ptr<BusyCores> spinning = busy ? std::make_unique<BusyCores>(busy) : nullptr;
            for (int rate : {30, 45}) {
                const double load = LoadAverage();
                const Run run = Play(path, rate, seconds);
                const double period = 1000.0 / rate;
                const bool held = bare * 2.0 <= period;
                std::printf("  rate %d, %d threads spinning, load %.1f: %.2f frames painted/s (%+.2f%%) over %.0f s, "
                            "first half %.2f, second half %.2f, dropped %lld, UI longest gap %.1f ms%s\n",
                            rate, busy, load, run.fps, (run.fps - rate) * 100.0 / rate, seconds, run.firstHalf,
                            run.secondHalf, run.dropped, run.longestGap,
                            held ? "" : " (bare decode slower than half the period: no target)");
                std::fflush(stdout);
            }
        }
        QFile::remove(path);
    }
    return 0;
}
