// The presentation-state import of a study load: 10 states over a study of 500 CT images
// (512 x 512, 10 series of 50; each state references one series, with every layer on five of
// its images and a window for all), beside the bare toolkit reads of the same run: the 10
// states read plus the 500 image headers read up to the pixel data. Once, as a reference, the
// way of attaching every image of the study to every state (10 x 500 loads and image set-ups).
//
// Usage: bench_presentation_states [runs]

// Qt
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmpstat/dvpstat.h>
#include <dcmtk/oflog/oflog.h>

// std
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

// Orvane
#include "annotation/CPresentationStateHandler.h"
#include "annotation/CShapeCollection.h"
#include "bench/BenchTiming.h"
#include "study/CPresentationStateImport.h"
#include "study/CStudyInfo.h"
#include "tools/fixtures/ImageFixtures.h"
#include "tools/fixtures/PresentationStateFixtures.h"

using namespace Bench;
using namespace Fixtures;

namespace {

const int kSeries = 10;
const int kImagesPerSeries = 50;

struct Study
{
    CStudyInfo records;
    std::vector<QByteArray> imagePaths;
    std::vector<QByteArray> statePaths;
};

bool Write(const QString& folder, Study& study)
{
    const std::string studyUid = NewUid();
    for (int s = 0; s < kSeries; ++s) {
        auto series = std::make_unique<CSeriesInfo>();
        series->m_pStudy = &study.records;
        series->m_strSeriesNumber = QString::number(s + 1);
        PresentationStateData ps;
        ps.studyInstanceUid = studyUid;
        const std::string seriesUid = NewUid();
        for (int i = 0; i < kImagesPerSeries; ++i) {
            ImageRecipe recipe = Preset(ImagePreset::Ct);
            recipe.columns = recipe.rows = 512;
            recipe.studyInstanceUid = studyUid;
            recipe.seriesInstanceUid = seriesUid;
            recipe.sopInstanceUid = NewUid();
            recipe.instanceNumber = std::to_string(i + 1);
            const QString path = folder + QStringLiteral("/S%1/I%2.dcm").arg(s).arg(i);
            const QString error = WriteImage(recipe, Syntax::ExplicitLittle, path);
            if (!error.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(error));
                return false;
            }
            auto image = std::make_unique<CImageInfo>();
            image->m_strFilePath = path;
            image->SetSOPInstanceUID(QString::fromStdString(recipe.sopInstanceUid));
            image->SetInstanceNumber(QString::number(i + 1));
            image->m_pSeries = series.get();
            image->m_pStudy = &study.records;
            series->m_lstImages.push_back(std::move(image));
            study.imagePaths.push_back(QFile::encodeName(path));
            ps.images.push_back({recipe.sopClassUid, recipe.sopInstanceUid, seriesUid, 512, 512});
        }
        for (int i = 0; i < 5; ++i) {
            const float d = float(i * 10);
            ps.annotations.push_back({"LINEAR", {i}, {PsLinear({10 + d, 10}, {200 + d, 10})}, {}});
            ps.annotations.push_back({"ANGLE", {i}, {PsAngle({0, 0}, {100, d}, {100, 100})}, {}});
            ps.annotations.push_back({"LINE", {i}, {PsLine({5, 5 + d}, {120, 130})}, {}});
            ps.annotations.push_back({"TEXT", {i}, {}, {PsText("Note", {20, 20 + d}, {200, 40 + d})}});
            ps.annotations.push_back({"ELLIPSE", {i}, {PsEllipse({80, 80}, {240 + d, 160})}, {}});
        }
        ps.annotations.push_back({"WINDOWCENTER", {}, {PsWindowCenter(400, 40)}, {}});
        const QString statePath = folder + QStringLiteral("/PR/PS%1.dcm").arg(s);
        const QString error = WritePresentationState(ps, statePath);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return false;
        }
        study.statePaths.push_back(QFile::encodeName(statePath));
        study.records.m_lstSeries.push_back(std::move(series));
    }
    return true;
}

// The import as the study load runs it: one import object, one call per state.
void Import(Study& study)
{
    CPresentationStateImport import;
    for (const QByteArray& path : study.statePaths)
        import.LoadPresentationState(path.constData(), study.records.GetFirstImage(), QStringLiteral("1"));
}

// The bare toolkit reads of the same files.
void BareReads(const Study& study)
{
    for (const QByteArray& path : study.statePaths) {
        DcmFileFormat file;
        DcmPresentationState state;
        if (file.loadFile(path.constData()).good())
            state.read(*file.getDataset());
    }
    for (const QByteArray& path : study.imagePaths) {
        DcmFileFormat file;
        file.loadFileUntilTag(path.constData(), EXS_Unknown, EGL_noChange, DCM_MaxReadLength, ERM_autoDetect, DCM_PixelData);
    }
}

// Every image of the study attached to every state; returns the objects handed out.
size_t AttachEveryImage(const Study& study)
{
    size_t objects = 0;
    for (const QByteArray& path : study.statePaths) {
        DcmFileFormat stateFile;
        DVPresentationState state;
        if (stateFile.loadFile(path.constData(), EXS_Unknown, EGL_noChange, 4096, ERM_autoDetect).bad() ||
            state.read(*stateFile.getDataset()).bad())
            continue;
        for (const QByteArray& imagePath : study.imagePaths) {
            DcmFileFormat imageFile;
            imageFile.loadFile(imagePath.constData(), EXS_Unknown, EGL_noChange, 4096, ERM_autoDetect);
            if (state.attachImage(imageFile.getDataset(), OFFalse).good()) {
                for (size_t layer = 0; layer < state.getNumberOfGraphicLayers(); ++layer)
                    objects += state.getNumberOfGraphicObjects(layer) + state.getNumberOfTextObjects(layer);
            }
            state.detachImage();
        }
    }
    return objects;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    OFLog::configure(OFLogger::ERROR_LOG_LEVEL);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QTemporaryDir dir;
    Study study;
    if (!dir.isValid() || !Write(dir.path(), study))
        return 1;

    // What the import makes of it, for the record
    std::vector<CPresentationStateHandler::ImageDescription> images;
    for (const auto& series : study.records.m_lstSeries)
        for (const auto& image : series->m_lstImages)
            images.push_back(CPresentationStateHandler::DescribeImage(image->m_strFilePath, image->GetSOPInstanceUID(), 0));
    size_t shapes = 0;
    CPresentationStateHandler handler;
    for (const QByteArray& path : study.statePaths)
        shapes += handler.LoadPresentationState(path.constData(), images, QStringLiteral("1"), nullptr).shapes.size();
    std::printf("study: %d images in %d series, %zu states, %zu shapes imported\n", kSeries * kImagesPerSeries, kSeries,
                study.statePaths.size(), shapes);

    const std::vector<double> medians = TimeInterleaved(runs, {
        [&] { return Timed([&] { Import(study); }); },
        [&] { return Timed([&] { BareReads(study); }); },
    });
    std::printf("import of 10 states (headers read once)   %8.1f ms\n", medians[0]);
    std::printf("bare: 10 state reads + 500 header reads   %8.1f ms\n", medians[1]);
    std::printf("import / bare                              %8.2fx (target 1.5x)\n", medians[0] / medians[1]);

    size_t objects = 0;
    const double attach = Timed([&] { objects = AttachEveryImage(study); });
    std::printf("reference, every image attached to every state (once): %.1f ms, %zu objects handed out (%.0fx the import)\n",
                attach, objects, attach / medians[0]);
    return 0;
}
