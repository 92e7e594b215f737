// Speed and memory of CxImageDCM beside the bare toolkit calls on the same files: time from
// file to first bitmap, a re-render at a new window (the window-drag hot path), a frame
// step, and peak memory. Each time is the median of repeated runs.
//
// Usage: bench_CxImageDCM [runs] [kind ...]   (kinds: CT MR CR MG US XA; default all)

// Qt
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmimgle/dcmimage.h>
#include <dcmtk/oflog/oflog.h>

// Orvane
#include "bench/BenchBare.h"
#include "bench/BenchTiming.h"
#include "platform/CxImage.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tools/fixtures/ImageFixtures.h"
#include "viewer/RenderWindow.h"

// std
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace Fixtures;

using namespace Bench;

namespace {

struct Kind {
    const char* name;
    const char* label;
    ImageRecipe recipe;
    std::vector<Syntax> syntaxes;
    double reRenderTarget; // ratio to the bare call, 0 = none
};

std::vector<Kind> Kinds()
{
    std::vector<Kind> kinds;
    auto phantom = [](ImagePreset preset, int columns, int rows, int frames) {
        ImageRecipe recipe = Preset(preset);
        recipe.content = Content::Phantom;
        recipe.columns = columns;
        recipe.rows = rows;
        recipe.frames = frames;
        return recipe;
    };
    kinds.push_back({"CT", "CT 512x512 16-bit", phantom(ImagePreset::Ct, 512, 512, 1),
                     {Syntax::ExplicitLittle, Syntax::JpegLossless, Syntax::Rle}, 0.0});
    kinds.push_back({"MR", "MR 256x256 16-bit", phantom(ImagePreset::Mr, 256, 256, 1),
                     {Syntax::ExplicitLittle, Syntax::JpegLossless}, 0.0});
    kinds.push_back({"CR", "CR 2048x2500 12-bit", phantom(ImagePreset::Cr, 2048, 2500, 1),
                     {Syntax::ExplicitLittle, Syntax::JpegExtended, Syntax::JpegLossless}, 1.3});
    ImageRecipe mg = phantom(ImagePreset::Cr, 3328, 4084, 1);
    mg.modality = "MG";
    mg.sopClassUid = "1.2.840.10008.5.1.4.1.1.1.2";
    mg.photometric = "MONOCHROME2";
    mg.imagerPixelSpacing = "0.07\\0.07";
    kinds.push_back({"MG", "MG 3328x4084 12-bit", mg, {Syntax::ExplicitLittle, Syntax::JpegLossless}, 1.3});
    kinds.push_back({"US", "US 640x480 RGB x100", phantom(ImagePreset::MultiFrameColour, 640, 480, 100),
                     {Syntax::ExplicitLittle, Syntax::JpegBaseline, Syntax::Rle}, 0.0});
    kinds.push_back({"XA", "XA 1024x1024 8-bit x60", phantom(ImagePreset::MultiFrameGrey, 1024, 1024, 60),
                     {Syntax::ExplicitLittle, Syntax::JpegBaseline, Syntax::JpegLossless}, 0.0});
    return kinds;
}




long StatusKb(const char* field)
{
    FILE* file = std::fopen("/proc/self/status", "r");
    if (!file)
        return 0;
    char line[256];
    long value = 0;
    const std::size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, file))
        if (std::strncmp(line, field, length) == 0)
            value = std::atol(line + length);
    std::fclose(file);
    return value;
}


// The bare toolkit decoding one frame alone.
const void* BareOneFrame(const char* path, unsigned long frame)
{
    DcmFileFormat file;
    file.loadFile(path);
    DicomImage image(&file, file.getDataset()->getCurrentXfer(), CIF_AcrNemaCompatibility | CIF_UsePartialAccessToPixelData,
                     frame, 1);
    if (image.isMonochrome())
        image.setWindow(127, 255);
    return image.getOutputData(8, 0, 0);
}

// Open, render three windows and every frame, as CxImageDCM or as the bare toolkit.
void MemoryWork(bool ours, const char* path, int frames)
{
    if (ours) {
        CxImageDCM dicom;
        QList<CxImage*> images;
        dicom.LoadDCM(path, &images, FALSE);
        qDeleteAll(images);
        const RenderWindow window = ToRenderWindow(dicom.m_dWindowWidth, dicom.m_dWindowCenter);
        for (int i = 0; i < 3; ++i)
            delete dicom.WindowLevelling(window.nWidth + i, window.nCentre);
        CxImage bitmap;
        for (int i = 1; i < frames; ++i)
            dicom.GetMultiFrameNextImage(&bitmap);
        return;
    }
    Bare bare(path);
    for (int i = 0; i < 3; ++i) {
        if (bare.image->isMonochrome())
            bare.image->setWindow(127 + i, 255);
        bare.image->getOutputData(8, 0, 0);
    }
    for (int i = 1; i < frames; ++i)
        bare.image->getOutputData(8, static_cast<unsigned long>(i), 0);
}

// Peak resident memory in MB that the work adds, in a freshly started copy of this program
// (a forked one would inherit this process's heap and high-water mark).
double PeakMb(const char* program, bool ours, const QString& path, int frames)
{
    const QByteArray command = QByteArray("'") + program + "' --peak " + (ours ? "orvane" : "dcmtk") + " '"
                               + QFile::encodeName(path) + "' " + QByteArray::number(frames);
    FILE* pipe = popen(command.constData(), "r");
    if (!pipe)
        return -1.0;
    double mb = -1.0;
    if (std::fscanf(pipe, "%lf", &mb) != 1)
        mb = -1.0;
    pclose(pipe);
    return mb;
}

void Line(const Kind& kind, Syntax syntax, const char* figure, const std::string& text)
{
    std::printf("%-24s %-14s %-18s %s\n", kind.label, SyntaxName(syntax), figure, text.c_str());
    std::fflush(stdout);
}

template <typename... Values>
std::string Format(const char* format, Values... values)
{
    char text[320];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

void Measure(const char* program, const Kind& kind, Syntax syntax, const QString& path, int runs)
{
    const QByteArray file = QFile::encodeName(path);
    const char* name = file.constData();
    const bool multiFrame = kind.recipe.frames > 1;
    const bool large = std::int64_t(kind.recipe.columns) * kind.recipe.rows * kind.recipe.frames > 8'000'000;
    const int loadRuns = large ? std::max(3, runs / 2) : runs;

    // File to first bitmap
    std::vector<std::function<void()>> loads = {
        [&] {
            CxImageDCM dicom;
            QList<CxImage*> images;
            dicom.LoadDCM(name, &images, FALSE);
            qDeleteAll(images);
        },
        [&] {
            Bare bare(name);
            if (bare.image->isMonochrome())
                bare.image->setWindow(127, 255);
            bare.image->getOutputData(8, 0, 0);
        }};
    if (multiFrame)
        loads.push_back([&] { BareOneFrame(name, 0); });
    const std::vector<double> load = TimeWhole(loadRuns, loads);
    if (multiFrame)
        Line(kind, syntax, "first bitmap",
             Format("orvane %8.2f ms | dcmtk that frame alone %8.2f ms (x%.2f, target <= 2) | dcmtk all frames first %8.2f ms",
                    load[0], load[2], Ratio(load[0], load[2]), load[1]));
    else
        Line(kind, syntax, "first bitmap", Format("orvane %8.2f ms | dcmtk %8.2f ms (x%.2f)", load[0], load[1], Ratio(load[0], load[1])));

    // Re-render at a new window; two windows alternate so each render is a real one
    {
        CxImageDCM dicom;
        QList<CxImage*> images;
        dicom.LoadDCM(name, &images, FALSE);
        qDeleteAll(images);
        Bare bare(name);
        const RenderWindow start = ToRenderWindow(dicom.m_dWindowWidth, dicom.m_dWindowCenter);
        const int width = start.nWidth;
        const int centre = start.nCentre;
        int oursTurn = 0;
        int bareTurn = 0;
        const std::vector<double> window = TimeWhole(runs * 3, {
            [&] {
                const int shift = (oursTurn++ % 2) * 7;
                delete dicom.WindowLevelling(width + shift, centre + shift);
            },
            [&] {
                const int shift = (bareTurn++ % 2) * 7;
                if (bare.image->isMonochrome())
                    bare.image->setWindow(centre + shift, width + shift);
                bare.image->getOutputData(8, 0, 0);
            }});
        std::string text = Format("orvane %8.2f ms | dcmtk setWindow+getOutputData %8.2f ms (x%.2f", window[0], window[1],
                                  Ratio(window[0], window[1]));
        text += kind.reRenderTarget > 0 ? Format(", target <= %.1f)", kind.reRenderTarget) : std::string(")");
        Line(kind, syntax, "window re-render", text);

        // The view's path: into the picture it shows, which it owns alone after the first
        CxImage shown;
        int intoTurn = 0;
        bareTurn = 0;
        const std::vector<double> into = TimeWhole(runs * 3, {
            [&] {
                const int shift = (intoTurn++ % 2) * 7;
                dicom.WindowLevellingInto(&shown, width + shift, centre + shift);
            },
            [&] {
                const int shift = (bareTurn++ % 2) * 7;
                if (bare.image->isMonochrome())
                    bare.image->setWindow(centre + shift, width + shift);
                bare.image->getOutputData(8, 0, 0);
            }});
        const bool grey = kind.recipe.photometric.rfind("MONOCHROME", 0) == 0;
        Line(kind, syntax, "re-render in view",
             Format("orvane %8.2f ms | dcmtk setWindow+getOutputData %8.2f ms (x%.2f, target <= %.1f)", into[0], into[1],
                    Ratio(into[0], into[1]), grey ? 1.1 : 1.2));
    }

    // Frame step: ours decodes the frame it steps to; the bare toolkit either had every frame
    // decoded up front or decodes that one frame
    if (multiFrame) {
        const int steps = std::min(kind.recipe.frames - 1, 30);
        CxImageDCM dicom;
        QList<CxImage*> images;
        dicom.LoadDCM(name, &images, FALSE);
        qDeleteAll(images);
        CxImage bitmap;
        Bare bare(name);
        DcmFileFormat kept;
        kept.loadFile(name);
        std::vector<double> step = TimeWhole(runs, {
            [&] {
                dicom.GetCxImageByPos(&bitmap, 0);
                for (int i = 0; i < steps; ++i)
                    dicom.GetMultiFrameNextImage(&bitmap);
            },
            [&] {
                for (int i = 0; i <= steps; ++i)
                    bare.image->getOutputData(8, static_cast<unsigned long>(i), 0);
            },
            [&] {
                for (int i = 0; i <= steps; ++i) {
                    DicomImage image(&kept, kept.getDataset()->getCurrentXfer(),
                                     CIF_AcrNemaCompatibility | CIF_UsePartialAccessToPixelData, static_cast<unsigned long>(i), 1);
                    image.getOutputData(8, 0, 0);
                }
            }});
        for (double& each : step)
            each /= steps + 1;
        Line(kind, syntax, "frame step",
             Format("orvane %8.2f ms | dcmtk getOutputData of a decoded frame %8.2f ms | dcmtk decoding that frame %8.2f ms",
                    step[0], step[1], step[2]));
    }

    Line(kind, syntax, "peak memory",
         Format("orvane %8.1f MB | dcmtk decoding all frames %8.1f MB", PeakMb(program, true, path, kind.recipe.frames),
                PeakMb(program, false, path, kind.recipe.frames)));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    OFLog::configure(OFLogger::FATAL_LOG_LEVEL);
    const DicomCodecs codecs;
    if (argc == 5 && std::strcmp(argv[1], "--peak") == 0) {
        // One memory figure, in this fresh process
        const long before = StatusKb("VmRSS:");
        MemoryWork(std::strcmp(argv[2], "orvane") == 0, argv[3], std::atoi(argv[4]));
        std::printf("%.1f\n", double(StatusKb("VmHWM:") - before) / 1024.0);
        return 0;
    }
    int runs = 7;
    std::vector<std::string> wanted;
    for (int i = 1; i < argc; ++i) {
        if (std::isdigit(static_cast<unsigned char>(argv[i][0])))
            runs = std::max(1, std::atoi(argv[i]));
        else
            wanted.push_back(argv[i]);
    }
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    std::printf("median of %d runs (fewer for the largest files); times per call\n", runs);
    for (const Kind& kind : Kinds()) {
        if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), kind.name) == wanted.end())
            continue;
        for (Syntax syntax : kind.syntaxes) {
            const QString path = dir.filePath(QStringLiteral("%1-%2.dcm").arg(kind.name, SyntaxName(syntax)));
            const QString problem = WriteImage(kind.recipe, syntax, path);
            if (!problem.isEmpty()) {
                std::printf("%-24s %-14s not written: %s\n", kind.label, SyntaxName(syntax), qPrintable(problem));
                continue;
            }
            Measure(argv[0], kind, syntax, path, runs);
        }
    }
    return 0;
}
