// Speed of the viewports beside the bare toolkit calls on the same files: filling and painting
// a 4 x 4 image layout of CT images, and one step of a window drag (render at a new window and
// paint the pane) on large CR and MG images, with the full image and with the reduced one a
// held button shows. Each time is the median of repeated runs.
//
// Usage: bench_viewports [runs] [cr]   (cr: the CR layout only)

// Qt
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmimgle/dcmimage.h>

// Orvane
#include "bench/BenchStudy.h"
#include "bench/BenchBare.h"
#include "bench/BenchTiming.h"
#include "app/COstrevanApp.h"
#include "platform/CxImage.h"
#include "platform/ParallelFor.h"
#include "res/resource.h"
#include "study/CImageInfo.h"
#include "study/CPatientInfo.h"
#include "study/CSeriesInfo.h"
#include "study/CStudyInfo.h"
#include "study/CStudyList.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tools/fixtures/FixtureCommon.h"
#include "tools/fixtures/ImageFixtures.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"
#include "viewer/RenderWindow.h"

// std
#include <malloc.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

using namespace Fixtures;

using namespace Bench;

namespace {





// Resident bytes of this process
double ResidentBytes()
{
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE));
}

// The parts of the resident memory: anonymous and file-backed pages, the heap in use and
// the free heap the allocator keeps
void PrintMemoryParts(const char* label, const char* when)
{
    double anonymous = 0.0;
    double file = 0.0;
    if (FILE* rollup = std::fopen("/proc/self/smaps_rollup", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, rollup)) {
            long kib = 0;
            if (std::sscanf(line, "Anonymous: %ld kB", &kib) == 1)
                anonymous = double(kib) * 1024.0;
            else if (std::sscanf(line, "Rss: %ld kB", &kib) == 1)
                file += double(kib) * 1024.0;
        }
        std::fclose(rollup);
    }
    file -= anonymous;
    const struct mallinfo2 info = mallinfo2();
    std::printf("4x4 image layout, %-22s %s: resident %7.1f MiB = anonymous %7.1f + file-backed %6.1f MiB; heap in use %7.1f MiB, "
                "free heap kept %6.1f MiB\n",
                label, when, ResidentBytes() / 1048576.0, anonymous / 1048576.0, file / 1048576.0,
                (double(info.uordblks) + double(info.hblkhd)) / 1048576.0, double(info.fordblks) / 1048576.0);
}

ImageRecipe Phantom(ImagePreset preset, int columns, int rows)
{
    ImageRecipe recipe = Preset(preset);
    recipe.content = Content::Phantom;
    recipe.columns = columns;
    recipe.rows = rows;
    return recipe;
}

// Bytes of the stored pixels of 16 images made from `recipe`
double GridPixelBytes(const ImageRecipe& recipe)
{
    return 16.0 * recipe.columns * recipe.rows * (recipe.bitsAllocated > 8 ? 2 : 1);
}

// The files of one grid: the CR grid's are also read by the bare floor's own process
QString GridFile(const QString& folder, const QString& stem, int i)
{
    return folder + QStringLiteral("/%1-grid%2.dcm").arg(stem).arg(i);
}

void FillGrid(const QTemporaryDir& dir, const char* label, const ImageRecipe& recipe, const char* target, int runs)
{
    QStringList paths;
    const QString stem = QString::fromLatin1(label).section(' ', 0, 0);
    for (int i = 0; i < 16; ++i) {
        const QString path = GridFile(dir.path(), stem, i);
        if (!WriteImage(recipe, Syntax::ExplicitLittle, path).isEmpty()) {
            std::printf("%s files not written\n", label);
            return;
        }
        paths << path;
    }
    Records records(paths, QString::fromStdString(recipe.modality));

    // The viewport area of a 1280 x 1024 monitor
    QWidget host;
    CMyFrameWnd* frame = ShowImageLayoutGrid(host, paths.front());

    const std::vector<double> t = TimeInterleaved(runs, {
        [&] {
            const double ms = Timed([&] {
                frame->OnCommand(ID_FRAME_LAYOUT4X4);
                QCoreApplication::processEvents(); // the panes' refits
                for (CVantrelView* pane : frame->GetPanes())
                    pane->repaint();
            });
            frame->OnCommand(ID_FRAME_SINGLELAYOUT);
            QCoreApplication::processEvents();
            return ms;
        },
        [&] {
            return Timed([&] {
                for (const QString& path : paths) {
                    Bare bare(path);
                    bare.Render(bare.image.get(), 40, 400);
                }
            });
        },
        [&] { return Timed([&] { CVantrelView::DecodeImages(paths, FALSE); }); },
        [&] {
            return Timed([&] {
                for (const QString& path : paths)
                    CVantrelView::DecodeImage(path, FALSE);
            });
        },
        [&] {
            // The bare floor on as many threads as the side-by-side decode
            return Timed([&] {
                ParallelFor(std::size_t(paths.size()), 0, [&](std::size_t i) {
                    Bare bare(paths[qsizetype(i)]);
                    bare.Render(bare.image.get(), 40, 400);
                });
            });
        }});
    std::printf("4x4 image layout, %-22s fill and paint %8.1f ms | dcmtk serial read and render of the 16 files %8.1f ms (x%.2f, %s)\n",
                label, t[0], t[1], Ratio(t[0], t[1]), target);
    std::printf("4x4 image layout, %-22s of which the side-by-side decode %8.1f ms on %d cores (x%.2f of the serial loop)\n",
                label, t[2], int(CoreCount()), Ratio(t[2], t[1]));
    std::printf("4x4 image layout, %-22s the same decode one file after another %8.1f ms (x%.2f of the serial loop)\n",
                label, t[3], Ratio(t[3], t[1]));
    std::printf("4x4 image layout, %-22s fill and paint %8.1f ms | dcmtk read and render of the 16 files on %d threads %8.1f ms (x%.2f; the decode alone x%.2f)\n",
                label, t[0], int(CoreCount()), t[4], Ratio(t[0], t[4]), Ratio(t[2], t[4]));

    // Heap the shown layout holds, over the pixel bytes of its 16 images
    const auto inUse = [] {
        const struct mallinfo2 info = mallinfo2();
        return double(info.uordblks) + double(info.hblkhd);
    };
    const double before = inUse();
    frame->OnCommand(ID_FRAME_LAYOUT4X4);
    QCoreApplication::processEvents();
    const double held = inUse() - before;
    frame->OnCommand(ID_FRAME_SINGLELAYOUT);
    QCoreApplication::processEvents();
    const double pixels = GridPixelBytes(recipe);
    std::printf("4x4 image layout, %-22s heap held by the layout %8.1f MiB over pixels %8.1f MiB (x%.2f)\n", label,
                held / 1048576.0, pixels / 1048576.0, held / pixels);
    // The process as the system counts it, the layout shown
    frame->OnCommand(ID_FRAME_LAYOUT4X4);
    QCoreApplication::processEvents();
    const double resident = ResidentBytes();
    PrintMemoryParts(label, "shown");
    std::printf("4x4 image layout, %-22s process resident memory while shown %8.1f MiB over pixels %8.1f MiB (x%.2f, target <= 1.6)\n",
                label, resident / 1048576.0, pixels / 1048576.0, resident / pixels);
    frame->OnCommand(ID_FRAME_SINGLELAYOUT);
    QCoreApplication::processEvents();
    std::fflush(stdout);
}

// The bare toolkit's floor, in a process of its own that started the same way: the 16 files
// loaded, each rendered at a window, every image and its 8-bit output kept
void BareHeld(const QString& folder, const ImageRecipe& recipe)
{
    std::vector<std::unique_ptr<Bare>> held;
    for (int i = 0; i < 16; ++i) {
        const QString path = GridFile(folder, QStringLiteral("CR"), i);
        if (!QFile::exists(path))
            return;
        held.push_back(std::make_unique<Bare>(path));
    }
    ParallelFor(held.size(), 0, [&](std::size_t i) { held[i]->Render(held[i]->image.get(), 40, 400); });
    const double resident = ResidentBytes();
    std::printf("%.1f %.2f\n", resident / 1048576.0, resident / GridPixelBytes(recipe));
}

void DragStep(const QTemporaryDir& dir, const char* label, const ImageRecipe& recipe, int runs)
{
    const QString path = dir.filePath(QStringLiteral("%1.dcm").arg(QString::fromLatin1(label).section(' ', 0, 0)));
    if (!WriteImage(recipe, Syntax::ExplicitLittle, path).isEmpty()) {
        std::printf("%s not written\n", label);
        return;
    }
    Records records(QStringList{path}, QString::fromStdString(recipe.modality));

    auto* document = new CVantrelDoc;
    CVantrelView view(document);
    document->setParent(&view);
    view.resize(1100, 890);
    view.show();
    view.m_pPatient = records.list.m_patientList.m_lstPatients.front().get();
    view.m_pStudy = records.series->m_pStudy;
    view.m_pSeries = records.series;
    view.m_pImage = records.series->GetImageAt(0);
    document->OnOpenDocument(path);
    view.LoadImageIntoViewPort(FALSE);
    view.InitialiseImageData(TRUE);
    view.SetZoomScrollSizes(view.GetZoomedImageSize());
    view.CenterImageInView();
    QCoreApplication::processEvents();

    Bare bare(path);
    const RenderWindow start = ToRenderWindow(document->m_fWindowWidth, document->m_fWindowCenter);
    const int width = start.nWidth;
    const int centre = start.nCentre;
    // Two windows alternate, so that every step renders anew
    int turn = 0;
    const auto step = [&] {
        const int shift = (turn++ % 2) * 7;
        return Timed([&] {
            document->m_fWindowWidth = float(width + shift);
            document->m_fWindowCenter = float(centre + shift);
            view.DrawWindowLevelText();
            view.RenderWithWindowLevel(width + shift, centre + shift);
            view.repaint();
        });
    };
    int bareTurn = 0;
    const auto bareStep = [&](DicomImage* which) {
        const int shift = (bareTurn++ % 2) * 7;
        return Timed([&] { bare.Render(which, centre + shift, width + shift); });
    };

    const std::vector<double> full = TimeInterleaved(runs, {step, [&] { return bareStep(bare.image.get()); }});
    std::printf("%-34s drag step, full image   %8.2f ms | dcmtk render %8.2f ms (x%.2f; a drag holds the button)\n", label,
                full[0], full[1], Ratio(full[0], full[1]));

    // While the button is held a large image is shown reduced
    view.UseReducedImage();
    const QSize reducedSize(int(view.m_pDisplayImage->GetWidth()), int(view.m_pDisplayImage->GetHeight()));
    std::unique_ptr<DicomImage> reduced(bare.image->createScaledImage(static_cast<unsigned long>(reducedSize.width()),
                                                                      static_cast<unsigned long>(reducedSize.height()), 4, 0));
    const std::vector<double> held = TimeInterleaved(runs, {step, [&] { return bareStep(reduced.get()); }});
    std::printf("%-34s drag step, button held  %8.2f ms | dcmtk render of the %dx%d copy %8.2f ms (x%.2f)\n",
                label, held[0], reducedSize.width(), reducedSize.height(), held[1], Ratio(held[0], held[1]));
    std::printf("%-34s drag step, button held  %8.2f ms | dcmtk render of the image %8.2f ms (x%.2f, target <= 1.5)\n", label,
                held[0], full[1], Ratio(held[0], full[1]));
    view.RestoreFullImage();
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    DicomCodecs codecs;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    std::printf("median of %d runs\n", runs);
    // "cr" alone: only the CR layout, in a process that did nothing else before
    const bool crOnly = argc > 2 && std::strcmp(argv[2], "cr") == 0;
    if (argc > 3 && std::strcmp(argv[2], "cr-bare") == 0) {
        BareHeld(QString::fromLocal8Bit(argv[3]), Phantom(ImagePreset::Cr, 2048, 2500));
        return 0;
    }
    if (crOnly) {
        PrintMemoryParts("CR 2048x2500", "at start");
        FillGrid(dir, "CR 2048x2500", Phantom(ImagePreset::Cr, 2048, 2500), "target <= 0.35 on 8 cores", runs);
        QProcess bare;
        bare.start(QCoreApplication::applicationFilePath(), {QStringLiteral("1"), QStringLiteral("cr-bare"), dir.path()});
        if (bare.waitForFinished(120000)) {
            const QStringList lines = QString::fromLatin1(bare.readAllStandardOutput()).trimmed().split('\n');
            const QStringList figures = lines.last().split(' ');
            if (figures.size() == 2) {
                std::printf("4x4 image layout, CR 2048x2500           bare toolkit in a process of its own, the 16 images "
                            "and their 8-bit outputs kept: resident %s MiB (x%s of the pixels)\n",
                            qPrintable(figures[0]), qPrintable(figures[1].trimmed()));
                return 0;
            }
        }
        std::printf("4x4 image layout, CR 2048x2500           bare toolkit's own process gave no figure\n");
        return 0;
    }
    FillGrid(dir, "CT 512x512", Phantom(ImagePreset::Ct, 512, 512), "target: no slower than before", runs);
    FillGrid(dir, "CR 2048x2500", Phantom(ImagePreset::Cr, 2048, 2500), "target <= 0.35 on 8 cores", std::max(3, runs / 2));

    ImageRecipe cr = Phantom(ImagePreset::Cr, 2048, 2500);
    DragStep(dir, "CR 2048x2500 12-bit", cr, runs * 3);
    ImageRecipe mg = Phantom(ImagePreset::Cr, 3328, 4084);
    mg.modality = "MG";
    mg.sopClassUid = "1.2.840.10008.5.1.4.1.1.1.2";
    mg.photometric = "MONOCHROME2";
    mg.imagerPixelSpacing = "0.07\\0.07";
    DragStep(dir, "MG 3328x4084 12-bit", mg, runs * 3);
    return 0;
}
