// Sustained cine playback in a view beside the bare per-frame decode and render of the same
// file: frames per second held at the nominal rate, frames dropped, drift between the first
// and the second half of the run, and the UI thread's longest gap (a 5 ms timer).
//
// Usage: bench_cine [seconds per run (10)]

// Qt
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

// DCMTK
#include <dcmtk/config/osconfig.h>
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
#include <cstdio>
#include <cstdlib>
#include <memory>
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

// Bare toolkit: frame `frame` read from the file, decoded and rendered to 8 bits
double BareFrameMs(const QByteArray& path, int frames)
{
    std::vector<double> times;
    for (int f = 0; f < frames; ++f) {
        times.push_back(Timed([&] {
            DicomImage image(path.constData(), CIF_UsePartialAccessToPixelData, unsigned(f), 1);
            if (image.isMonochrome())
                image.setMinMaxWindow();
            image.getOutputData(8, 0, 0);
        }));
    }
    return Median(times);
}

// The worker's own path: one object, each frame rendered at a window
double OursFrameMs(const QByteArray& path, int frames)
{
    CxImageDCM dicom;
    QList<CxImage*> first;
    dicom.LoadDCM(path.constData(), &first, FALSE);
    qDeleteAll(first);
    std::vector<double> times;
    for (int f = 0; f < frames; ++f) {
        times.push_back(Timed([&] {
            dicom.m_nCurrentFrame = f + 1;
            delete dicom.WindowLevelling(256, 128);
        }));
    }
    return Median(times);
}

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
        const long long shown = view->GetCineFramesShown();
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
            run.dropped = view->GetCineFramesDropped();
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
    const double seconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 10.0;
    OFLog::configure(OFLogger::WARN_LOG_LEVEL);
    DicomCodecs codecs;
    QTemporaryDir dir;
    const std::vector<Loop> loops = {
        {"XA 1024x1024 x60 JPEG baseline", Phantom(ImagePreset::MultiFrameGrey, 1024, 1024, 60), Syntax::JpegBaseline},
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
        const double ours = OursFrameMs(file, loop.recipe.frames);
        std::printf("%s: per frame bare DCMTK decode+render %.2f ms, worker render %.2f ms\n", loop.label, bare, ours);
        for (int rate : {30, 45}) {
            const Run run = Play(path, rate, seconds);
            const double period = 1000.0 / rate;
            const bool held = bare * 2.0 <= period;
            std::printf("  rate %d: %.2f fps (%+.2f%%), first half %.2f, second half %.2f, dropped %lld, "
                        "UI longest gap %.1f ms%s\n",
                        rate, run.fps, (run.fps - rate) * 100.0 / rate, run.firstHalf, run.secondHalf, run.dropped,
                        run.longestGap, held ? "" : " (bare decode slower than half the period: no target)");
        }
        QFile::remove(path);
    }
    return 0;
}
