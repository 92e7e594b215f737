// Reading a DICOMDIR into study rows and building every study, beside DCMTK's own loadFile of
// the same file, the works taking turns. Generates depth-first file sets of 1,000, 5,000,
// 20,000 and 50,000 image records (image files as empty placeholders: the builder only checks
// that they exist), or of the sizes given, or reads the folders given that hold a DICOMDIR.
//
// Usage: bench_studydata [runs] [size | file-set folder...]

// Qt
#include <QApplication>
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

// The four works of one file set, each returning the milliseconds of its timed part; objects
// are made and freed outside the timed parts, in every work alike
void Measure(const QString& folder, const QString& label, int runs)
{
    const QByteArray path = QFile::encodeName(folder + QStringLiteral("/DICOMDIR"));
    theApp.m_strMediaFolder = folder;

    std::unique_ptr<DcmFileFormat> file;
    const auto load = [&] {
        file = std::make_unique<DcmFileFormat>();
        const double ms = Timed([&] { file->loadFile(path.constData(), EXS_Unknown, EGL_noChange, 4096, ERM_autoDetect); });
        file.reset();
        return ms;
    };

    std::unique_ptr<DicomDirContents> contents;
    size_t rows = 0;
    size_t images = 0;
    const auto walk = [&] {
        const double ms = Timed([&] { contents = std::make_unique<DicomDirContents>(ReadDicomDir(path.constData())); });
        rows = contents->rows.size();
        images = contents->imageOffsets.size();
        contents.reset();
        return ms;
    };

    std::unique_ptr<CStudyList> list;
    const auto read = [&] {
        list = std::make_unique<CStudyList>();
        const double ms = Timed([&] { list->SetDicomDirContents(ReadDicomDir(path.constData())); });
        list.reset();
        return ms;
    };

    int built = 0;
    const auto build = [&] {
        list = std::make_unique<CStudyList>();
        list->SetDicomDirContents(ReadDicomDir(path.constData()));
        const double ms = Timed([&] {
            built = 0;
            for (int row = 0; row < int(list->m_aRows.size()); ++row)
                if (CStudyInfo* study = list->BuildStudyOfRow(row))
                    built += study->GetImageCount();
        });
        list.reset();
        return ms;
    };

    const std::vector<double> t = TimeInterleaved(runs, {load, walk, read, build});
    const QByteArray name = label.toLocal8Bit();
    std::printf("%s: %zu image records, %zu study rows, %d images built\n", name.constData(), images, rows, built);
    std::printf("  DCMTK loadFile                       %8.1f ms\n", t[0]);
    std::printf("  ReadDicomDir (load + walk + rows)    %8.1f ms\n", t[1]);
    std::printf("  read and fill the rows               %8.1f ms\n", t[2]);
    std::printf("  build every study                    %8.1f ms\n", t[3]);
    std::printf("  read + build                         %8.1f ms  = %.2f x loadFile (target <= 1.50)\n", t[2] + t[3],
                Ratio(t[2] + t[3], t[0]));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const int runs = args.isEmpty() ? 7 : std::max(1, args.first().toInt());
    std::printf("median of %d runs, interleaved\n", runs);

    // Folders that hold a DICOMDIR, or sizes of generated sets
    QList<int> sizes;
    for (const QString& arg : args.mid(1)) {
        bool number = false;
        const int count = arg.toInt(&number);
        if (number)
            sizes << count;
        else
            Measure(arg, arg, runs);
    }
    if (args.size() > 1 && sizes.isEmpty())
        return 0;
    if (sizes.isEmpty())
        sizes = {1000, 5000, 20000, 50000};

    for (int count : sizes) {
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
