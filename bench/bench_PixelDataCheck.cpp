// The pixel-data check before decoding, beside the plain toolkit calls it sits between: reading
// the header of a multi-frame file (pixels left in the file) and decoding its first frame.
// Files: a 512 x 512 XA run of 120 JPEG baseline frames, and the same run in RLE.

// Qt
#include <QFile>
#include <QTemporaryDir>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmimage/diregist.h>
#include <dcmtk/dcmimgle/dcmimage.h>

// Orvane
#include "bench/BenchTiming.h"
#include "study/DicomCodecs.h"
#include "study/PixelDataCheck.h"
#include "tools/fixtures/ImageFixtures.h"

// std
#include <cstdio>
#include <memory>

using namespace Fixtures;

int main()
{
    DicomCodecs codecs;
    QTemporaryDir dir;
    const Syntax syntaxes[] = {Syntax::JpegBaseline, Syntax::Rle};
    for (Syntax syntax : syntaxes) {
        ImageRecipe recipe = Preset(ImagePreset::MultiFrameGrey);
        recipe.columns = recipe.rows = 512;
        recipe.frames = 120;
        recipe.content = Content::Phantom;
        const QString path = dir.filePath(QStringLiteral("run-%1.dcm").arg(SyntaxName(syntax)));
        const QString problem = WriteImage(recipe, syntax, path);
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(problem));
            return 1;
        }
        const QByteArray file = QFile::encodeName(path);
        auto load = [&file](DcmFileFormat& format) {
            format.loadFile(file.constData(), EXS_Unknown, EGL_noChange, 4096, ERM_autoDetect);
        };
        QString refusal;
        const std::vector<double> ms = Bench::TimeWhole(
            15, {[&] {
                     DcmFileFormat format;
                     load(format);
                 },
                 [&] {
                     DcmFileFormat format;
                     load(format);
                     refusal = PixelDataCheck::Refusal(format.getDataset());
                 },
                 [&] {
                     DcmFileFormat format;
                     load(format);
                     DicomImage image(&format, format.getDataset()->getOriginalXfer(),
                                      CIF_AcrNemaCompatibility | CIF_UsePartialAccessToPixelData, 0, 1);
                     std::vector<Uint8> out(image.getOutputDataSize(8));
                     image.getOutputData(out.data(), out.size(), 8, 0);
                 }});
        std::printf("%s, %d frames %dx%d: loadFile (header) %.2f ms | loadFile + check %.2f ms (check %.2f ms) | "
                    "loadFile + first frame decoded (plain DCMTK) %.2f ms%s\n",
                    SyntaxName(syntax), recipe.frames, recipe.columns, recipe.rows, ms[0], ms[1], ms[1] - ms[0], ms[2],
                    refusal.isEmpty() ? "" : " [refused!]");
    }
    return 0;
}
