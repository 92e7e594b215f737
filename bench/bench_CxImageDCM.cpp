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
#include "platform/CxImage.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tools/fixtures/ImageFixtures.h"

// POSIX
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// std
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace Fixtures;

namespace {

struct Kind {
    const char* name;
    const char* label;
    ImageSpec spec;
    std::vector<Syntax> syntaxes;
    double reRenderTarget; // ratio to the bare call, 0 = none
};

std::vector<Kind> Kinds()
{
    std::vector<Kind> kinds;
    auto phantom = [](ImagePreset preset, int columns, int rows, int frames) {
        ImageSpec spec = Preset(preset);
        spec.content = Content::Phantom;
        spec.columns = columns;
        spec.rows = rows;
        spec.frames = frames;
        return spec;
    };
    kinds.push_back({"CT", "CT 512x512 16-bit", phantom(ImagePreset::Ct, 512, 512, 1),
                     {Syntax::ExplicitLittle, Syntax::JpegLossless, Syntax::Rle}, 0.0});
    kinds.push_back({"MR", "MR 256x256 16-bit", phantom(ImagePreset::Mr, 256, 256, 1),
                     {Syntax::ExplicitLittle, Syntax::JpegLossless}, 0.0});
    kinds.push_back({"CR", "CR 2048x2500 12-bit", phantom(ImagePreset::Cr, 2048, 2500, 1),
                     {Syntax::ExplicitLittle, Syntax::JpegExtended, Syntax::JpegLossless}, 1.3});
    ImageSpec mg = phantom(ImagePreset::Cr, 3328, 4084, 1);
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

double Now()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// Median milliseconds of `runs` calls of `work`, after one call to warm the caches.
double Time(int runs, const std::function<void()>& work)
{
    work();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        work();
        times.push_back(Now() - start);
    }
    return Median(times);
}

long ResidentKb()
{
    FILE* file = std::fopen("/proc/self/statm", "r");
    long pages = 0;
    long resident = 0;
    if (file) {
        if (std::fscanf(file, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(file);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Peak resident memory in MB that `work` adds, measured in a child process of its own.
double PeakMb(const std::function<void()>& work)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return -1.0;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        const long before = ResidentKb();
        work();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const double mb = double(usage.ru_maxrss - before) / 1024.0;
        if (write(pipeEnds[1], &mb, sizeof mb) != sizeof mb)
            _exit(1);
        _exit(0);
    }
    close(pipeEnds[1]);
    double mb = -1.0;
    if (child < 0 || read(pipeEnds[0], &mb, sizeof mb) != sizeof mb)
        mb = -1.0;
    close(pipeEnds[0]);
    if (child > 0)
        waitpid(child, nullptr, 0);
    return mb;
}

// The bare toolkit: the whole file decompressed, one image of every frame.
struct Bare {
    DcmFileFormat file;
    std::unique_ptr<DicomImage> image;
    explicit Bare(const char* path)
    {
        file.loadFile(path);
        DcmDataset* data = file.getDataset();
        data->chooseRepresentation(EXS_LittleEndianExplicit, nullptr);
        image = std::make_unique<DicomImage>(&file, data->getCurrentXfer(), CIF_AcrNemaCompatibility);
    }
};

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

double Ratio(double ours, double bare)
{
    return bare > 0.0 ? ours / bare : 0.0;
}

void Measure(const Kind& kind, Syntax syntax, const QString& path, int runs)
{
    const QByteArray file = QFile::encodeName(path);
    const char* name = file.constData();
    const bool multiFrame = kind.spec.frames > 1;
    const int bigRuns = kind.spec.columns * kind.spec.rows * kind.spec.frames > 8'000'000 ? std::max(3, runs / 2) : runs;

    // File to first bitmap
    const double ours = Time(bigRuns, [&] {
        CxImageDCM dicom;
        QList<CxImage*> images;
        dicom.LoadDCM(name, &images, FALSE);
        qDeleteAll(images);
    });
    const double bareAll = Time(bigRuns, [&] {
        Bare bare(name);
        if (bare.image->isMonochrome())
            bare.image->setWindow(127, 255);
        bare.image->getOutputData(8, 0, 0);
    });
    if (multiFrame) {
        const double bareOne = Time(runs, [&] { BareOneFrame(name, 0); });
        Line(kind, syntax, "first bitmap",
             Format("orvane %8.2f ms | dcmtk that frame alone %8.2f ms (x%.2f, target <= 2) | dcmtk all frames first %8.2f ms",
                    ours, bareOne, Ratio(ours, bareOne), bareAll));
    } else {
        Line(kind, syntax, "first bitmap", Format("orvane %8.2f ms | dcmtk %8.2f ms (x%.2f)", ours, bareAll, Ratio(ours, bareAll)));
    }

    // Re-render at a new window; two windows alternate so each render is a real one
    {
        CxImageDCM dicom;
        QList<CxImage*> images;
        dicom.LoadDCM(name, &images, FALSE);
        qDeleteAll(images);
        const int width = int(dicom.m_dWindowWidth);
        const int centre = int(dicom.m_dWindowCenter);
        int turn = 0;
        const double oursWindow = Time(runs * 2, [&] {
            const int shift = (turn++ % 2) * 7;
            delete dicom.WindowLevelling(width + shift, centre + shift);
        });
        Bare bare(name);
        turn = 0;
        const double bareWindow = Time(runs * 2, [&] {
            const int shift = (turn++ % 2) * 7;
            if (bare.image->isMonochrome())
                bare.image->setWindow(centre + shift, width + shift);
            bare.image->getOutputData(8, 0, 0);
        });
        std::string text = Format("orvane %8.2f ms | dcmtk setWindow+getOutputData %8.2f ms (x%.2f", oursWindow, bareWindow,
                                  Ratio(oursWindow, bareWindow));
        text += kind.reRenderTarget > 0 ? Format(", target <= %.1f)", kind.reRenderTarget) : std::string(")");
        Line(kind, syntax, "window re-render", text);
    }

    // Frame step
    if (multiFrame) {
        const int steps = std::min(kind.spec.frames - 1, 30);
        CxImageDCM dicom;
        QList<CxImage*> images;
        dicom.LoadDCM(name, &images, FALSE);
        qDeleteAll(images);
        CxImage bitmap;
        const double oursStep = Time(runs, [&] {
            dicom.GetCxImageByPos(&bitmap, 0);
            for (int i = 0; i < steps; ++i)
                dicom.GetMultiFrameNextImage(&bitmap);
        }) / (steps + 1);
        Bare bare(name);
        const double bareStep = Time(runs, [&] {
            for (int i = 0; i <= steps; ++i)
                bare.image->getOutputData(8, static_cast<unsigned long>(i), 0);
        }) / (steps + 1);
        DcmFileFormat kept;
        kept.loadFile(name);
        const double bareDecodeStep = Time(runs, [&] {
            for (int i = 0; i <= steps; ++i) {
                DicomImage image(&kept, kept.getDataset()->getCurrentXfer(),
                                 CIF_AcrNemaCompatibility | CIF_UsePartialAccessToPixelData, static_cast<unsigned long>(i), 1);
                image.getOutputData(8, 0, 0);
            }
        }) / (steps + 1);
        Line(kind, syntax, "frame step",
             Format("orvane %8.2f ms | dcmtk getOutputData of a decoded frame %8.2f ms | dcmtk decoding that frame %8.2f ms",
                    oursStep, bareStep, bareDecodeStep));
    }

    // Peak memory: open, three windows, every frame
    const double oursMb = PeakMb([&] {
        CxImageDCM dicom;
        QList<CxImage*> images;
        dicom.LoadDCM(name, &images, FALSE);
        qDeleteAll(images);
        for (int i = 0; i < 3; ++i)
            delete dicom.WindowLevelling(int(dicom.m_dWindowWidth) + i, int(dicom.m_dWindowCenter));
        CxImage bitmap;
        for (int i = 1; i < kind.spec.frames; ++i)
            dicom.GetMultiFrameNextImage(&bitmap);
    });
    const double bareMb = PeakMb([&] {
        Bare bare(name);
        for (int i = 0; i < 3; ++i) {
            if (bare.image->isMonochrome())
                bare.image->setWindow(127 + i, 255);
            bare.image->getOutputData(8, 0, 0);
        }
        for (int i = 1; i < kind.spec.frames; ++i)
            bare.image->getOutputData(8, static_cast<unsigned long>(i), 0);
    });
    Line(kind, syntax, "peak memory", Format("orvane %8.1f MB | dcmtk %8.1f MB", oursMb, bareMb));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    OFLog::configure(OFLogger::FATAL_LOG_LEVEL);
    const DicomCodecs codecs;
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
            const QString problem = WriteImage(kind.spec, syntax, path);
            if (!problem.isEmpty()) {
                std::printf("%-24s %-14s not written: %s\n", kind.label, SyntaxName(syntax), qPrintable(problem));
                continue;
            }
            Measure(kind, syntax, path, runs);
        }
    }
    return 0;
}
