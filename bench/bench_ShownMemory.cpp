// Heap held per shown image, as a multiple of its pixel bytes, beside the bare toolkit holding
// the same image rendered with its file's Pixel Data dropped. Ours is a viewport with its
// document, the image loaded and shown as a layout shows it. Each figure is the median of
// repeated loads, measured in use (malloc's in-use bytes, mapped blocks included).
//
// Usage: bench_shown_memory [runs] [kind ...]   (kinds: CT CR MG US XA; default all)

// Qt
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmimgle/dcmimage.h>
#include <dcmtk/oflog/oflog.h>

// Orvane
#include "app/COstrevanApp.h"
#include "bench/BenchTiming.h"
#include "platform/CxImage.h"
#include "study/CImageInfo.h"
#include "study/CSeriesInfo.h"
#include "study/DicomCodecs.h"
#include "tools/fixtures/ImageFixtures.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"

// std
#include <malloc.h>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
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
};

ImageRecipe Phantom(ImagePreset preset, int columns, int rows, int frames)
{
    ImageRecipe recipe = Preset(preset);
    recipe.content = Content::Phantom;
    recipe.columns = columns;
    recipe.rows = rows;
    recipe.frames = frames;
    return recipe;
}

std::vector<Kind> Kinds()
{
    std::vector<Kind> kinds;
    kinds.push_back({"CT", "CT 512x512 16-bit", Phantom(ImagePreset::Ct, 512, 512, 1)});
    kinds.push_back({"CR", "CR 2048x2500 12-bit", Phantom(ImagePreset::Cr, 2048, 2500, 1)});
    ImageRecipe mg = Phantom(ImagePreset::Cr, 3328, 4084, 1);
    mg.modality = "MG";
    mg.sopClassUid = "1.2.840.10008.5.1.4.1.1.1.2";
    mg.photometric = "MONOCHROME2";
    kinds.push_back({"MG", "MG 3328x4084 12-bit", mg});
    kinds.push_back({"US", "US 640x480 RGB", Phantom(ImagePreset::Rgb, 640, 480, 1)});
    kinds.push_back({"US", "US 640x480 RGB x100", Phantom(ImagePreset::MultiFrameColour, 640, 480, 100)});
    kinds.push_back({"XA", "XA 1024x1024 8-bit x60", Phantom(ImagePreset::MultiFrameGrey, 1024, 1024, 60)});
    return kinds;
}

double HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks) + double(info.hblkhd);
}

double PixelBytes(const ImageRecipe& recipe)
{
    const int samples = recipe.photometric == "RGB" || recipe.photometric.rfind("YBR", 0) == 0 ? 3 : 1;
    return double(recipe.columns) * recipe.rows * recipe.frames * samples * (recipe.bitsAllocated > 8 ? 2 : 1);
}

// A viewport showing the file, as a layout pane holds it
double OursHeld(const QString& path, CImageInfo* record)
{
    const double before = HeapInUse();
    double held = 0.0;
    {
        auto* document = new CVantrelDoc;
        CVantrelView view(document);
        document->setParent(&view);
        view.resize(600, 500);
        view.m_pImage = record;
        view.m_pSeries = record->m_pSeries;
        document->OnOpenDocument(path);
        view.LoadImageIntoViewPort(FALSE);
        view.InitialiseImageData(TRUE);
        held = HeapInUse() - before;
    }
    return held;
}

// The bare toolkit: the file decompressed, the image rendered to 8 bits and kept, Pixel Data dropped
double BareHeld(const QString& path)
{
    const double before = HeapInUse();
    double held = 0.0;
    {
        DcmFileFormat file;
        file.loadFile(QFile::encodeName(path).constData());
        DcmDataset* data = file.getDataset();
        data->chooseRepresentation(EXS_LittleEndianExplicit, nullptr);
        data->removeAllButCurrentRepresentations();
        DicomImage image(&file, data->getCurrentXfer(), CIF_AcrNemaCompatibility);
        DcmElement* pixels = nullptr;
        if (data->findAndGetElement(DCM_PixelData, pixels).good() && pixels)
            pixels->clear();
        if (image.isMonochrome())
            image.setWindow(127, 255);
        image.getOutputData(8, 0, 0);
        held = HeapInUse() - before;
    }
    return held;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    OFLog::configure(OFLogger::FATAL_LOG_LEVEL);
    const DicomCodecs codecs;
    int runs = 5;
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
    std::printf("median of %d loads; heap held while shown, over the image's pixel bytes (all frames)\n", runs);
    int n = 0;
    for (const Kind& kind : Kinds()) {
        if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), kind.name) == wanted.end())
            continue;
        const QString path = dir.filePath(QStringLiteral("%1-%2.dcm").arg(kind.name).arg(n++));
        if (!WriteImage(kind.recipe, Syntax::ExplicitLittle, path).isEmpty()) {
            std::printf("%-24s not written\n", kind.label);
            continue;
        }
        CSeriesInfo series;
        series.m_strModality = QString::fromStdString(kind.recipe.modality);
        CImageInfo record;
        record.m_strFilePath = path;
        record.m_pSeries = &series;
        OursHeld(path, &record); // the dictionary and the first allocations
        BareHeld(path);
        std::vector<double> ours;
        std::vector<double> bare;
        for (int i = 0; i < runs; ++i) {
            ours.push_back(OursHeld(path, &record));
            bare.push_back(BareHeld(path));
        }
        const double bytes = PixelBytes(kind.recipe);
        const double o = Median(ours);
        const double b = Median(bare);
        std::printf("%-24s pixels %7.1f MiB | orvane view %7.1f MiB (x%.2f, target <= 1.6 single-frame grey) | dcmtk, Pixel Data dropped %7.1f MiB (x%.2f)\n",
                    kind.label, bytes / 1048576.0, o / 1048576.0, o / bytes, b / 1048576.0, b / bytes);
        std::fflush(stdout);
    }
    return 0;
}
