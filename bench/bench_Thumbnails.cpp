// The thumbnail run over 100 series (99 CT images of 512 x 512 and one ultrasound loop of 100
// frames) beside a serial bare toolkit loop over the same files (read, render the first frame
// to 8 bits, scale to the thumbnail box), and the UI thread's longest gap during the run, read
// from a 5 ms timer; and ThumbnailMaker alone in a serial loop on this thread. Each figure is
// the median of repeated rounds, the loops taking turns.
// Targets: the run within 1.5x of the bare loop on one core; the longest gap under 30 ms.
//
// Usage: bench_thumbnails [runs]

// Qt
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmimgle/dcmimage.h>
#include <dcmtk/dcmimage/diregist.h>
#include <dcmtk/oflog/oflog.h>

// std
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

// Orvane
#include "app/COstrevanApp.h"
#include "bench/BenchTiming.h"
#include "platform/ParallelFor.h"
#include "study/DicomCodecs.h"
#include "tools/fixtures/FixtureCommon.h"
#include "tools/fixtures/ImageFixtures.h"
#include "toolpanes/CThumbNailLeft.h"
#include "toolpanes/ThumbnailMaker.h"

using namespace Fixtures;
using namespace Bench;

namespace {

constexpr int kCtSeries = 99;
constexpr int kBox = 74;

// One file per series: CT phantom slices and one ultrasound loop
QStringList WriteSeries(const QString& folder)
{
    QStringList paths;
    for (int i = 0; i < kCtSeries; ++i) {
        ImageRecipe recipe = Preset(ImagePreset::Ct);
        recipe.content = Content::Phantom;
        recipe.columns = recipe.rows = 512;
        recipe.slicePosition = -0.9 + 1.8 * i / (kCtSeries - 1);
        recipe.seriesDescription = "Axial " + std::to_string(i + 1);
        const QString path = folder + QStringLiteral("/ct%1.dcm").arg(i);
        if (!WriteImage(recipe, Syntax::ExplicitLittle, path).isEmpty())
            return {};
        paths << path;
    }
    ImageRecipe loop = Preset(ImagePreset::MultiFrameColour);
    loop.columns = 640;
    loop.rows = 480;
    loop.frames = 100;
    loop.seriesDescription = "Cardiac loop";
    const QString path = folder + QStringLiteral("/us.dcm");
    if (!WriteImage(loop, Syntax::ExplicitLittle, path).isEmpty())
        return {};
    paths << path;
    return paths;
}

// The bare toolkit for one file: read, first frame, window, scale, 8-bit output
void BareThumbnail(const QString& path)
{
    {
        DicomImage image(QFile::encodeName(path).constData(), CIF_UsePartialAccessToPixelData, 0, 1);
        if (image.getStatus() != EIS_Normal)
            return;
        if (image.isMonochrome()) {
            if (image.getWindowCount() > 0)
                image.setWindow(0);
            else
                image.setMinMaxWindow();
        }
        // The box keeps the picture's aspect
        const double w = double(image.getWidth()), h = double(image.getHeight());
        const unsigned long cx = h > w ? std::max(1UL, (unsigned long)(kBox * w / h)) : (unsigned long)kBox;
        const unsigned long cy = h > w ? (unsigned long)kBox : std::max(1UL, (unsigned long)(kBox * h / w));
        std::unique_ptr<DicomImage> scaled(image.createScaledImage(cx, cy, 0, 0));
        if (scaled)
            (void)scaled->getOutputData(8);
    }
}

// One file after the other
double BareLoop(const QStringList& paths)
{
    const double start = Now();
    for (const QString& path : paths)
        BareThumbnail(path);
    return Now() - start;
}

// The same on as many threads as the run's workers, taking the files in turn
double BareParallel(const QStringList& paths, int threads)
{
    const double start = Now();
    ParallelFor(std::size_t(paths.size()), std::size_t(threads), [&](std::size_t i) { BareThumbnail(paths[qsizetype(i)]); });
    return Now() - start;
}

// ThumbnailMaker alone, one file after the other on this thread: no workers, no list
double MakerLoop(const QStringList& paths)
{
    const double start = Now();
    for (int i = 0; i < paths.size(); ++i)
        (void)ThumbnailMaker::Make(paths[i], i, QSize(kBox, kBox));
    return Now() - start;
}

struct RunFigures
{
    double ms = 0.0;
    double longestGap = 0.0;
    int thumbnails = 0;
};

// The column's run from its start to its end notice, with a 5 ms timer on the UI thread
RunFigures ThumbnailRun(CThumbNailLeft& pane)
{
    RunFigures f;
    double last = Now();
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const double now = Now();
        f.longestGap = std::max(f.longestGap, now - last);
        last = now;
    });
    ticker.start(5);
    const double start = Now();
    last = start;
    pane.StartThumbnailThread();
    while (pane.m_bThreadRunning)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    f.ms = Now() - start;
    f.longestGap = std::max(f.longestGap, Now() - last);
    ticker.stop();
    f.thumbnails = pane.m_wndThumbList.count();
    return f;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    OFLog::configure(OFLogger::ERROR_LOG_LEVEL);
    const DicomCodecs codecs;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    QTemporaryDir dir;
    const QStringList paths = WriteSeries(dir.path());
    if (paths.isEmpty()) {
        std::fprintf(stderr, "bench_thumbnails: could not write the files\n");
        return 1;
    }
    theApp.m_astrSeriesKeys = paths;
    CThumbNailLeft pane;
    pane.m_nThumbWidth = pane.m_nThumbHeight = kBox;
    pane.resize(100, 800);
    pane.show();

    std::vector<double> gaps, serialGaps;
    int made = 0;
    const std::vector<double> medians = TimeInterleaved(runs, {
        [&] {
            pane.m_nMaxWorkers = CThumbNailLeft::kMaxWorkers;
            const RunFigures f = ThumbnailRun(pane);
            gaps.push_back(f.longestGap);
            made = f.thumbnails;
            return f.ms;
        },
        [&] {
            pane.m_nMaxWorkers = 1;
            const RunFigures f = ThumbnailRun(pane);
            serialGaps.push_back(f.longestGap);
            return f.thumbnails == int(paths.size()) ? f.ms : -1.0;
        },
        [&] { return BareLoop(paths); },
        [&] { return MakerLoop(paths); },
        [&] { return BareParallel(paths, CThumbNailLeft::kMaxWorkers); },
    });
    std::printf("thumbnails of %d series (%d CT 512 x 512, one US of 100 frames 640 x 480), %d cores\n",
                int(paths.size()), kCtSeries, QThread::idealThreadCount());
    const auto ratio = [&](double ours) { return medians[2] > 0 ? ours / medians[2] : 0.0; };
    const auto worst = [](const std::vector<double>& v) { return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end()); };
    std::printf("thumbnail run, up to %d workers: %8.1f ms  (%d thumbnails)  run / bare %.2f\n",
                CThumbNailLeft::kMaxWorkers, medians[0], made, ratio(medians[0]));
    std::printf("thumbnail run, one worker:      %8.1f ms                   run / bare %.2f (target <= 1.5)\n",
                medians[1], ratio(medians[1]));
    std::printf("thumbnail run, up to %d workers: %8.1f ms | bare DCMTK on %d threads %8.1f ms  run / bare %.2f\n",
                CThumbNailLeft::kMaxWorkers, medians[0], CThumbNailLeft::kMaxWorkers, medians[4],
                medians[4] > 0 ? medians[0] / medians[4] : 0.0);
    std::printf("bare DCMTK serial loop:         %8.1f ms  (read, first frame, window, scale to %d, 8-bit output)\n",
                medians[2], kBox);
    std::printf("ThumbnailMaker serial loop:     %8.1f ms                   maker / bare %.2f (no workers, no list)\n",
                medians[3], ratio(medians[3]));
    std::printf("UI longest gap, workers:        %8.1f ms  (median of the rounds' longest; worst %.1f; target < 30)\n",
                Median(gaps), worst(gaps));
    std::printf("UI longest gap, one worker:     %8.1f ms  (worst %.1f)\n", Median(serialGaps), worst(serialGaps));
    pane.StopThumbnailThread();
    theApp.m_astrSeriesKeys.clear();
    return made == int(paths.size()) ? 0 : 2;
}
