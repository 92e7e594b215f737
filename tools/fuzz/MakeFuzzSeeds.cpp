// Writes the seed corpus of the fuzz targets: <folder>/image holds every transfer syntax and
// photometric interpretation the generator writes, single and multi-frame, and the files the
// viewer refuses; <folder>/dicomdir holds each DICOMDIR variant; <folder>/pstate holds
// presentation states over the fuzz target's small study. With --damaged <folder> it writes the
// damaged images, DICOMDIRs and presentation states instead, one file per kind (the regression
// cases).

// Qt
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmimage/diregist.h> // colour images for the encoders
#include <dcmtk/oflog/oflog.h>

// Orvane
#include "tools/fixtures/DamagedFixtures.h"
#include "tools/fixtures/DicomDirFixtures.h"
#include "tools/fixtures/ImageFixtures.h"
#include "tools/fixtures/PresentationStateFixtures.h"

// std
#include <algorithm>
#include <cstdio>

using namespace Fixtures;

namespace {

int g_failures = 0;

void Check(const QString& problem, const QString& what)
{
    if (problem.isEmpty())
        return;
    std::fprintf(stderr, "%s: %s\n", qPrintable(what), qPrintable(problem));
    ++g_failures;
}

void WriteImages(const QString& folder)
{
    const Syntax syntaxes[] = {Syntax::ExplicitLittle, Syntax::ImplicitLittle, Syntax::ExplicitBig, Syntax::JpegBaseline,
                               Syntax::JpegExtended,   Syntax::JpegLossless,   Syntax::Rle,         Syntax::JpegLs,
                               Syntax::Jpeg2000,       Syntax::JpegExtended35};
    for (ImagePreset preset : AllPresets()) {
        ImageRecipe recipe = Preset(preset);
        recipe.columns = 16;
        recipe.rows = 12;
        recipe.frames = std::min(recipe.frames, 3);
        for (Syntax syntax : syntaxes) {
            const QString path = folder + QStringLiteral("/%1-%2.dcm").arg(PresetName(preset), SyntaxName(syntax));
            const QString problem = WriteImage(recipe, syntax, path);
            if (!problem.isEmpty())
                QFile::remove(path); // a syntax this pixel format cannot take
        }
    }
    ImageRecipe bits = Preset(ImagePreset::Grey8);
    bits.columns = 16;
    bits.rows = 12;
    bits.bitsAllocated = bits.bitsStored = 1;
    bits.minStored = 0;
    bits.maxStored = 1;
    Check(WriteImage(bits, Syntax::ExplicitLittle, folder + QStringLiteral("/one-bit.dcm")), QStringLiteral("one-bit"));
    ImageRecipe ct = Preset(ImagePreset::Ct);
    ct.columns = 16;
    ct.rows = 12;
    Check(WriteWithoutPixelData(ct, folder + QStringLiteral("/no-pixel-data.dcm")), QStringLiteral("no pixel data"));
    Check(WriteTruncated(ct, folder + QStringLiteral("/truncated.dcm")), QStringLiteral("truncated"));
    Check(WriteNotDicom(folder + QStringLiteral("/not-dicom.txt")), QStringLiteral("not dicom"));
}

void WriteDamagedImages(const QString& folder)
{
    for (Damage damage : AllDamages())
        Check(WriteDamaged(damage, folder + QLatin1Char('/') + QString::fromLatin1(DamageName(damage)) + QStringLiteral(".dcm")),
              QString::fromLatin1(DamageName(damage)));
}

void WriteDamagedDicomDirs(const QString& folder)
{
    // Unreadable: cut in the middle of its records
    QTemporaryDir scratch;
    const QString whole = scratch.filePath(QStringLiteral("DICOMDIR"));
    Check(WriteHandDicomDir(RecordsOf(SampleFileSet()), whole), QStringLiteral("whole"));
    QFile in(whole);
    QFile out(folder + QStringLiteral("/cut-in-its-records"));
    if (in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(in.read(700));
    // Its second patient record leads nowhere: that patient's study stands alone
    HandDicomDir orphan = RecordsOf(SampleFileSet());
    orphan.records[size_t(IndexOf(orphan, "PATIENT", 1))].lower = -1;
    Check(WriteHandDicomDir(orphan, folder + QStringLiteral("/study-without-patient")), QStringLiteral("orphan"));
}

void WritePresentationStates(const QString& folder)
{
    int n = 0;
    for (const PresentationStateData& state : SeedStates(SmallAnnotatedStudy())) {
        const QString path = folder + QStringLiteral("/state%1.dcm").arg(++n);
        Check(WritePresentationState(state, path), path);
    }
}

void WriteDamagedPresentationStates(const QString& folder)
{
    // An annotation item with an empty Graphic Layer between two good ones
    const std::vector<PsStudyImage> study = SmallAnnotatedStudy();
    PresentationStateData state = SeedStates(study).front();
    state.annotations = {{"LINEAR", {}, {PsLinear({10, 10}, {50, 10})}, {}},
                         {"", {}, {PsLinear({1, 1}, {2, 2})}, {PsText("none", {1, 1}, {9, 9})}},
                         {"TEXT", {}, {}, {PsText("Note", {2, 2}, {40, 12})}}};
    state.layers = {{"LINEAR", 1, ""}, {"TEXT", 2, ""}};
    Check(WritePresentationState(state, folder + QStringLiteral("/empty-graphic-layer.dcm")), QStringLiteral("empty layer"));
}

void WriteHand(const HandDicomDir& dir, const QString& path)
{
    Check(WriteHandDicomDir(dir, path), path);
}

void WriteDicomDirs(const QString& folder)
{
    const FileSet set = SampleFileSet();
    {
        QTemporaryDir scratch;
        Check(WriteDicomDir(set, scratch.path()), QStringLiteral("well-formed"));
        QFile::copy(scratch.filePath(QStringLiteral("DICOMDIR")), folder + QStringLiteral("/well-formed"));
    }
    WriteHand(RecordsOf(set, RecordOrder::DepthFirst), folder + QStringLiteral("/depth-first"));
    WriteHand(RecordsOf(set, RecordOrder::BreadthFirst), folder + QStringLiteral("/breadth-first"));
    WriteHand(RecordsOf(FileSet()), folder + QStringLiteral("/no-records"));

    HandDicomDir cycle = RecordsOf(set);
    cycle.records[size_t(IndexOf(cycle, "IMAGE", 1))].next = IndexOf(cycle, "IMAGE", 0);
    cycle.records[size_t(IndexOf(cycle, "PATIENT", 1))].next = IndexOf(cycle, "PATIENT", 0);
    WriteHand(cycle, folder + QStringLiteral("/cycles"));

    HandDicomDir dangling = RecordsOf(set);
    dangling.records[size_t(IndexOf(dangling, "SERIES", 0))].nextOffset = 0x7FFFFFF0u;
    dangling.records[size_t(IndexOf(dangling, "STUDY", 1))].lowerOffset = 12345u;
    WriteHand(dangling, folder + QStringLiteral("/dangling-offsets"));

    HandDicomDir orphan = RecordsOf(set);
    orphan.records[size_t(IndexOf(orphan, "PATIENT", 1))].lower = -1;
    orphan.records[size_t(IndexOf(orphan, "SERIES", 0))].Remove(DCM_Modality);
    WriteHand(orphan, folder + QStringLiteral("/study-without-patient"));

    HandDicomDir unsafe = RecordsOf(set);
    unsafe.records[size_t(IndexOf(unsafe, "IMAGE", 0))].Set(DCM_ReferencedFileID, "..\\..\\etc\\passwd");
    unsafe.records[size_t(IndexOf(unsafe, "IMAGE", 2))].Set(DCM_ReferencedFileID, "");
    WriteHand(unsafe, folder + QStringLiteral("/unsafe-file-ids"));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    OFLog::configure(OFLogger::WARN_LOG_LEVEL);
    const QStringList args = application.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("--damaged")) {
        QDir().mkpath(args[1] + QStringLiteral("/image"));
        QDir().mkpath(args[1] + QStringLiteral("/dicomdir"));
        QDir().mkpath(args[1] + QStringLiteral("/pstate"));
        WriteDamagedImages(args[1] + QStringLiteral("/image"));
        WriteDamagedDicomDirs(args[1] + QStringLiteral("/dicomdir"));
        WriteDamagedPresentationStates(args[1] + QStringLiteral("/pstate"));
        return g_failures == 0 ? 0 : 1;
    }
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: orvane_fuzz_seeds <folder> | --damaged <folder>\n");
        return 2;
    }
    const QString image = args[0] + QStringLiteral("/image");
    const QString dicomdir = args[0] + QStringLiteral("/dicomdir");
    const QString pstate = args[0] + QStringLiteral("/pstate");
    for (const QString& folder : {image, dicomdir, pstate}) {
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
    }
    WriteImages(image);
    WriteDicomDirs(dicomdir);
    WritePresentationStates(pstate);
    std::printf("%lld image seeds, %lld DICOMDIR seeds, %lld presentation-state seeds in %s\n",
                static_cast<long long>(QDir(image).entryList(QDir::Files).size()),
                static_cast<long long>(QDir(dicomdir).entryList(QDir::Files).size()),
                static_cast<long long>(QDir(pstate).entryList(QDir::Files).size()), qPrintable(args[0]));
    return g_failures == 0 ? 0 : 1;
}
