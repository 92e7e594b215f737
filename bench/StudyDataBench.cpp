// Reading a DICOMDIR into study rows and building every study, beside DCMTK's own loadFile of
// the same file. Generates depth-first file sets of 5,000 and 20,000 image records (image
// files as empty placeholders: the builder only checks that they exist) unless folders that
// hold a DICOMDIR are given on the command line.
//
// Usage: bench_studydata [runs] [file-set folder...]

// Qt
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcfilefo.h>

// std
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

// Orvane
#include "bench/BenchTiming.h"
#include "app/COstrevanApp.h"
#include "study/CStudyList.h"
#include "study/DicomDirReader.h"
#include "tools/fixtures/DicomDirFixtures.h"

using namespace Bench;

namespace {


// Milliseconds of `work`, median of `runs`; `prepare` runs untimed before each.
double Time(int runs, const std::function<void()>& prepare, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return Median(times);
}

void Measure(const QString& folder, const QString& label, int runs)
{
    const QByteArray path = QFile::encodeName(folder + QStringLiteral("/DICOMDIR"));
    theApp.m_strMediaFolder = folder;

    // Objects are freed outside the timed parts, in every measure alike
    std::unique_ptr<DcmFileFormat> file;
    const double load = Time(runs, [&] { file = std::make_unique<DcmFileFormat>(); }, [&] {
        file->loadFile(path.constData(), EXS_Unknown, EGL_noChange, 4096, ERM_autoDetect);
    });
    file.reset();

    std::unique_ptr<DicomDirContents> contents;
    const double walk = Time(runs, [&] { contents.reset(); }, [&] {
        contents = std::make_unique<DicomDirContents>(ReadDicomDir(path.constData()));
    });
    const size_t rows = contents->rows.size();
    const size_t images = contents->imageOffsets.size();
    contents.reset();

    std::unique_ptr<CStudyList> list;
    const double read = Time(runs, [&] { list.reset(); list = std::make_unique<CStudyList>(); }, [&] {
        list->SetDicomDirContents(ReadDicomDir(path.constData()));
    });

    int built = 0;
    const double build = Time(
        runs,
        [&] {
            list.reset();
            list = std::make_unique<CStudyList>();
            list->SetDicomDirContents(ReadDicomDir(path.constData()));
        },
        [&] {
            built = 0;
            for (int row = 0; row < int(list->m_aRows.size()); ++row)
                if (CStudyInfo* study = list->BuildStudyOfRow(row))
                    built += study->GetImageCount();
        });
    list.reset();

    const QByteArray name = label.toLocal8Bit();
    std::printf("%s: %zu image records, %zu study rows, %d images built\n", name.constData(), images, rows, built);
    std::printf("  DCMTK loadFile                       %8.1f ms\n", load);
    std::printf("  ReadDicomDir (load + walk + rows)    %8.1f ms\n", walk);
    std::printf("  read and fill the rows               %8.1f ms\n", read);
    std::printf("  build every study                    %8.1f ms\n", build);
    std::printf("  read + build                         %8.1f ms  = %.2f x loadFile (target <= 2.00)\n", read + build,
                load > 0 ? (read + build) / load : 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const int runs = args.isEmpty() ? 7 : std::max(1, args.first().toInt());
    std::printf("median of %d runs\n", runs);

    if (args.size() > 1) {
        for (const QString& folder : args.mid(1))
            Measure(folder, folder, runs);
        return 0;
    }

    for (int count : {5000, 20000}) {
        QTemporaryDir dir;
        const Fixtures::FileSet set = Fixtures::LargeFileSet(count);
        Fixtures::FileSetOptions options;
        options.placeholderFiles = true;
        const QString error = Fixtures::WriteHandFileSet(set, Fixtures::RecordsOf(set), dir.path(), options);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "cannot write the file set: %s\n", qPrintable(error));
            return 1;
        }
        Measure(dir.path(), QStringLiteral("%1 images").arg(count), runs);
    }
    return 0;
}
