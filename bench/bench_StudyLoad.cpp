// A study load as the user starts it: Load pressed in the Study List with the row of a study of
// 500 images selected, to the first image view painted. Each run is a fresh copy of this
// program that starts the viewer as its main() does, loads a one-image study first (so that
// the first paint's one-time costs are paid) and then times the load of the large study, seen
// for the first time. Beside it the bare floor: a stat of each of the 500 files, then the
// toolkit's load and render of the study's first image; and that floor followed by Qt's plain
// paint of the rendered picture into a widget of the view's size, where the view drew it.
//
// Also an untidy MR with megabytes of zeros after its Pixel Data, read and rendered at the
// viewer's log level, beside the toolkit's read and render of it.
//
// Usage: bench_study_load [runs]

// Qt
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/oflog/oflog.h>

// POSIX
#include <sys/stat.h>

// std
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// Orvane
#include "app/CMainFrame.h"
#include "app/COstrevanApp.h"
#include "bench/BenchBare.h"
#include "bench/BenchPlainPane.h"
#include "bench/BenchTiming.h"
#include "controls/CIconButton.h"
#include "study/CStudyList.h"
#include "platform/CxImage.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tools/fixtures/ImageFixtures.h"
#include "tools/fixtures/DicomDirFixtures.h"
#include "viewer/CVantrelView.h"

using namespace Fixtures;
using namespace Bench;

namespace {

constexpr int kSeries = 4;
constexpr int kPerSeries = 125;
constexpr int kWaitMs = 60000;
const char* const kWarmStudy = "Warm";
const char* const kLargeStudy = "Large";

// A 512 x 512 CT slice for the first image of each series; the rest are small images, since
// the load opens only the first one of the study (and the thumbnails the first of each series)
std::shared_ptr<ImageRecipe> CtSlice()
{
    auto recipe = std::make_shared<ImageRecipe>(Preset(ImagePreset::Ct));
    recipe->content = Content::Phantom;
    recipe->columns = recipe->rows = 512;
    return recipe;
}

FileSet TwoStudies()
{
    FsPatient patient;
    patient.patientName = "BENCH^LOAD";
    patient.patientId = "BENCH2";

    FsStudy warm;
    warm.studyDescription = kWarmStudy;
    FsSeries one;
    FsImage image;
    image.fileId = "WARM\\IM1";
    image.recipe = CtSlice();
    one.images.push_back(image);
    warm.series.push_back(one);

    FsStudy large;
    large.studyDescription = kLargeStudy;
    for (int s = 0; s < kSeries; ++s) {
        FsSeries series;
        series.seriesNumber = std::to_string(s + 1);
        for (int i = 0; i < kPerSeries; ++i) {
            FsImage each;
            each.fileId = "CT\\SE" + std::to_string(s + 1) + "\\IM" + std::to_string(i + 1);
            each.instanceNumber = std::to_string(i + 1);
            if (i == 0)
                each.recipe = CtSlice();
            series.images.push_back(each);
        }
        large.series.push_back(series);
    }
    patient.studies = {warm, large};
    FileSet set;
    set.patients = {patient};
    return set;
}

// Drives the Study List once the DICOMDIR is read: the warm study, then the timed load of the
// large one, which ends at the first paint of an image view that shows it.
class Driver : public QObject
{
public:
    double loadMs = -1.0;
    QSize viewSize;    // the view that painted the study
    QSize pictureSize; // the part of it its picture covers

    void Poll()
    {
        CStudyList* list = theApp.m_pStudyListDlg;
        if (!list || !list->isVisible() || list->m_listStudies->topLevelItemCount() != 2)
            return;
        if (m_stage == 0) {
            m_stage = 1;
            Press(list, kWarmStudy);
        } else if (m_stage == 2) {
            m_stage = 3;
            m_clock.start();
            Press(list, kLargeStudy);
            if (std::getenv("BENCH_TRACE"))
                std::fprintf(stderr, "load returned after %.2f ms\n", double(m_clock.nsecsElapsed()) / 1e6);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || !watched->isWidgetType() || !watched->inherits("CVantrelView"))
            return false;
        if (m_stage != 1 && m_stage != 3)
            return false;
        CStudyList* list = theApp.m_pStudyListDlg;
        if (!list || !list->m_pCurrentStudy)
            return false;
        watched->event(event); // the paint itself is part of the time
        if (m_stage == 1) {
            m_stage = 2;
            QTimer::singleShot(0, list, [list] { list->show(); });
        } else {
            loadMs = double(m_clock.nsecsElapsed()) / 1e6;
            const auto* view = static_cast<CVantrelView*>(watched);
            viewSize = view->size();
            pictureSize = view->GetTotalDeviceSize();
            m_stage = 4;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return true;
    }

private:
    static void Press(CStudyList* list, const char* description)
    {
        QTreeWidget* rows = list->m_listStudies;
        for (int r = 0; r < rows->topLevelItemCount(); ++r) {
            QTreeWidgetItem* item = rows->topLevelItem(r);
            const bool wanted = item->text(5) == QLatin1String(description);
            item->setSelected(wanted);
            if (wanted)
                rows->setCurrentItem(item);
        }
        list->m_btnLoad->click();
    }

    int m_stage = 0;
    QElapsedTimer m_clock;
};

int RunOnce(const char* programPath, int argc, char** argv)
{
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const DicomCodecs codecs;
    Driver driver;
    application.installEventFilter(&driver);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &driver, [&driver] { driver.Poll(); });
    poll.start(5);
    QTimer::singleShot(kWaitMs, &application, &QCoreApplication::quit);
    if (theApp.InitInstance(QString::fromLocal8Bit(programPath)))
        QApplication::exec();
    poll.stop();
    application.removeEventFilter(&driver);
    theApp.ExitInstance();
    if (driver.loadMs < 0.0)
        return 3;
    std::printf("%.3f %d %d %d %d\n", driver.loadMs, driver.viewSize.width(), driver.viewSize.height(),
                driver.pictureSize.width(), driver.pictureSize.height());
    return 0;
}

// The floor: what a load must do at least; with a pane, the rendered picture is also painted
double BareLoad(const QStringList& files, PlainPane* pane = nullptr)
{
    return Timed([&] {
        struct stat st;
        for (const QString& path : files)
            (void)::stat(QFile::encodeName(path).constData(), &st);
        Bench::Bare bare(files.front());
        bare.Render(40, 400);
        if (pane) {
            DicomImage* image = bare.image.get();
            pane->picture = PlainPane::Wrap(image->getOutputData(8, 0, 0), int(image->getWidth()), int(image->getHeight()),
                                            !image->isMonochrome());
            pane->repaint();
            pane->picture = QImage();
        }
    });
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--run") == 0) {
        OFLog::configure(OFLogger::FATAL_LOG_LEVEL);
        return RunOnce(argv[2], 1, argv);
    }

    // The plain pane of the floor paints on the platform the viewer runs on
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    OFLog::configure(OFLogger::FATAL_LOG_LEVEL);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString set = dir.filePath(QStringLiteral("cd"));
    QDir().mkpath(set);
    const QString problem = WriteDicomDir(TwoStudies(), set);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "file set not written: %s\n", qPrintable(problem));
        return 1;
    }
    QStringList files;
    for (int s = 0; s < kSeries; ++s)
        for (int i = 0; i < kPerSeries; ++i)
            files << set + QStringLiteral("/CT/SE%1/IM%2").arg(s + 1).arg(i + 1);
    // The viewer finds its file set one folder above its own
    const QString programPath = set + QStringLiteral("/ORVANE/orvane");

    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();

    std::vector<double> load, bare, painted;
    QWidget plainHost;
    PlainPane* plain = nullptr;
    for (int i = 0; i < runs + 1; ++i) {
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--run"), programPath});
        if (!child.waitForFinished(kWaitMs + 20000) || child.exitCode() != 0) {
            std::printf("study load: not measured (no image painted within %d ms; exit code %d)\n", kWaitMs,
                        child.exitCode());
            return 0;
        }
        double ms = 0.0;
        int viewWidth = 0, viewHeight = 0, pictureWidth = 0, pictureHeight = 0;
        if (std::sscanf(child.readAllStandardOutput().constData(), "%lf %d %d %d %d", &ms, &viewWidth, &viewHeight,
                        &pictureWidth, &pictureHeight) != 5)
            return 1;
        if (!plain) {
            // A pane of the view's size, the picture where the view drew it
            plainHost.resize(viewWidth, viewHeight);
            plain = new PlainPane(&plainHost);
            plain->setAttribute(Qt::WA_OpaquePaintEvent);
            plain->setGeometry(0, 0, viewWidth, viewHeight);
            plain->target = QRect(QPoint((viewWidth - pictureWidth) / 2, (viewHeight - pictureHeight) / 2),
                                  QSize(pictureWidth, pictureHeight));
            plainHost.show();
            QCoreApplication::processEvents();
        }
        const double b = BareLoad(files);
        const double p = BareLoad(files, plain);
        if (i == 0)
            continue; // warms the file cache
        load.push_back(ms);
        bare.push_back(b);
        painted.push_back(p);
    }
    // An untidy MR (2.5 MB of zeros after its Pixel Data) read and rendered as the viewer does,
    // at the log level it sets at start-up, beside the toolkit's own read and render of it
    ReportToolkitErrorsOnly();
    ImageRecipe mr = Preset(ImagePreset::Mr);
    mr.columns = mr.rows = 256;
    const QString untidy = dir.filePath(QStringLiteral("untidy-mr.dcm"));
    double untidyOurs = 0.0;
    double untidyBare = 0.0;
    if (WriteImage(mr, Syntax::ExplicitLittle, untidy).isEmpty()) {
        QFile file(untidy);
        if (file.open(QIODevice::Append))
            file.write(QByteArray(2500 * 1024, '\0'));
        file.close();
        const std::vector<double> t = TimeInterleaved(runs, {
            [&] {
                return Timed([&] {
                    CxImageDCM dicom;
                    QList<CxImage*> images;
                    dicom.LoadDCM(QFile::encodeName(untidy).constData(), &images, FALSE);
                    qDeleteAll(images);
                });
            },
            [&] {
                return Timed([&] {
                    Bench::Bare bare(untidy);
                    bare.Render(600, 1200);
                });
            }});
        untidyOurs = t[0];
        untidyBare = t[1];
    }

    const double ours = Median(load);
    const double floor = Median(bare);
    const double paintedFloor = Median(painted);
    std::printf("study of %d images (%d series), platform %s, median of %d fresh starts\n", kSeries * kPerSeries, kSeries,
                qPrintable(environment.value(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("default"))), runs);
    std::printf("Load pressed -> first image painted %8.2f ms | bare: stat of each file + load and render of the first %8.2f ms (x%.2f, target <= 2)\n",
                ours, floor, Ratio(ours, floor));
    if (plain)
        std::printf("  the same floor + Qt's plain paint of its picture into a %dx%d pane (%dx%d) %8.2f ms (x%.2f)\n",
                    plain->width(), plain->height(), plain->target.width(), plain->target.height(), paintedFloor,
                    Ratio(ours, paintedFloor));
    std::printf("untidy MR 256x256 + 2.5 MB of zeros: load and render %8.2f ms | dcmtk load and render %8.2f ms (x%.2f)\n",
                untidyOurs, untidyBare, Ratio(untidyOurs, untidyBare));
    return 0;
}
