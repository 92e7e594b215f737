// Time from start to the first image painted for a file set with one CT study: each run is a
// fresh copy of this program that starts the viewer as its main() does (on a file set where
// the program would lie one folder below the DICOMDIR) and notes when the main window first
// paints and when the first image view paints after the study was chosen. Beside it the bare
// toolkit: loadFile, DicomImage and an 8-bit render of the study's first image.
// Target: the first image under 0.3 s after the window appears.
//
// Usage: bench_first_image [runs]

// Qt
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmimgle/dcmimage.h>
#include <dcmtk/oflog/oflog.h>

// std
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// Orvane
#include "bench/BenchTiming.h"
#include "app/CMainFrame.h"
#include "app/COstrevanApp.h"
#include "study/CStudyList.h"
#include "study/DicomCodecs.h"
#include "tools/fixtures/DicomDirFixtures.h"

using namespace Fixtures;

using namespace Bench;

namespace {

constexpr int kSlices = 40;
constexpr int kWaitMs = 10000;


// One patient, one study, one axial CT series of 512 x 512 phantom slices.
FileSet CtStudy()
{
    FsSeries series;
    series.modality = "CT";
    series.seriesNumber = "1";
    series.seriesDescription = "Axial";
    for (int i = 0; i < kSlices; ++i) {
        auto recipe = std::make_shared<ImageRecipe>(Preset(ImagePreset::Ct));
        recipe->content = Content::Phantom;
        recipe->columns = recipe->rows = 512;
        recipe->slicePosition = -0.8 + 1.6 * i / (kSlices - 1);
        FsImage image;
        image.fileId = "CT\\SE1\\IM" + std::to_string(i + 1);
        image.instanceNumber = std::to_string(i + 1);
        image.recipe = recipe;
        series.images.push_back(image);
    }
    FsStudy study;
    study.studyDescription = "CT chest";
    study.series = {series};
    FsPatient patient;
    patient.patientName = "BENCH^CT";
    patient.patientId = "BENCH1";
    patient.studies = {study};
    FileSet set;
    set.patients = {patient};
    return set;
}

// Notes the first paint of the main window and the first paint of an image view once a study
// was chosen; each paint is delivered here so that the time includes it.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(const QElapsedTimer& clock) : m_clock(clock) {}
    double window = -1.0;
    double image = -1.0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        QWidget* widget = static_cast<QWidget*>(watched);
        const bool first = window < 0.0 && widget == theApp.m_pMainWnd;
        const bool chosen = theApp.m_pStudyListDlg && theApp.m_pStudyListDlg->m_pCurrentStudy;
        const bool view = image < 0.0 && chosen && widget->inherits("CVantrelView");
        if (!first && !view)
            return false;
        watched->event(event); // public as QObject::event
        const double at = double(m_clock.nsecsElapsed()) / 1e6;
        if (first)
            window = at;
        if (view) {
            image = at;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return true;
    }

private:
    const QElapsedTimer& m_clock;
};

// One start of the viewer in this process; prints "<window ms> <image ms>" or fails.
int RunOnce(const char* programPath, const QElapsedTimer& clock, int argc, char** argv)
{
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const DicomCodecs codecs;
    PaintWatch watch(clock);
    application.installEventFilter(&watch);
    QTimer::singleShot(kWaitMs, &application, &QCoreApplication::quit);
    if (theApp.InitInstance(QString::fromLocal8Bit(programPath)))
        QApplication::exec();
    application.removeEventFilter(&watch);
    theApp.ExitInstance();
    if (watch.image < 0.0)
        return 3;
    std::printf("%.2f %.2f\n", watch.window, watch.image);
    return 0;
}

// The bare toolkit's render of one image, in milliseconds.
double BareRender(const QString& path)
{
    QElapsedTimer clock;
    clock.start();
    DcmFileFormat file;
    file.loadFile(QFile::encodeName(path).constData());
    DicomImage image(&file, file.getDataset()->getCurrentXfer());
    if (image.isMonochrome())
        image.setWindow(40, 400);
    image.getOutputData(8);
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--run") == 0) {
        QElapsedTimer clock;
        clock.start();
        OFLog::configure(OFLogger::FATAL_LOG_LEVEL);
        return RunOnce(argv[2], clock, 1, argv);
    }

    QCoreApplication app(argc, argv);
    OFLog::configure(OFLogger::FATAL_LOG_LEVEL);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString set = dir.filePath(QStringLiteral("cd"));
    QDir().mkpath(set);
    const QString problem = WriteDicomDir(CtStudy(), set);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "file set not written: %s\n", qPrintable(problem));
        return 1;
    }
    // The viewer finds its file set one folder above its own
    const QString programPath = set + QStringLiteral("/ORVANE/orvane");

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")) && !environment.contains(QStringLiteral("DISPLAY"))
        && !environment.contains(QStringLiteral("WAYLAND_DISPLAY")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    std::printf("one CT study of %d slices 512x512, median of %d fresh starts\n", kSlices, runs);
    std::vector<double> window, image, afterWindow, bare;
    for (int i = 0; i < runs + 1; ++i) {
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--run"), programPath});
        if (!child.waitForFinished(kWaitMs + 20000) || child.exitCode() != 0) {
            std::printf("first image painted: not measured (no image view painted within %d ms; exit code %d)\n",
                        kWaitMs, child.exitCode());
            return 0;
        }
        double w = 0.0, im = 0.0;
        if (std::sscanf(child.readAllStandardOutput().constData(), "%lf %lf", &w, &im) != 2)
            return 1;
        const double b = BareRender(set + QStringLiteral("/CT/SE1/IM1"));
        if (i == 0)
            continue; // warms the file cache
        window.push_back(w);
        image.push_back(im);
        afterWindow.push_back(im - w);
        bare.push_back(b);
    }
    std::printf("window first painted          %8.1f ms after start\n", Median(window));
    std::printf("first image painted           %8.1f ms after start\n", Median(image));
    std::printf("first image after the window  %8.1f ms (target < 300 ms)\n", Median(afterWindow));
    std::printf("dcmtk loadFile+render of it   %8.1f ms\n", Median(bare));
    return 0;
}
