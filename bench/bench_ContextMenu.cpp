// Speed of a window preset chosen from the right-button menu beside the bare toolkit calls on
// the same files: the preset applied in one pane of a 2 x 2 image layout of CT images, which
// renders and paints every pane at the new window, beside four bare renders at that window.
// Each time is the median of repeated runs.
//
// Usage: bench_context_menu [runs]

// Qt
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmimgle/dcmimage.h>

// Orvane
#include "app/COstrevanApp.h"
#include "bench/BenchStudy.h"
#include "bench/BenchBare.h"
#include "bench/BenchTiming.h"
#include "res/resource.h"
#include "study/CImageInfo.h"
#include "study/CPatientInfo.h"
#include "study/CSeriesInfo.h"
#include "study/CStudyInfo.h"
#include "study/CStudyList.h"
#include "study/DicomCodecs.h"
#include "tools/fixtures/FixtureCommon.h"
#include "tools/fixtures/ImageFixtures.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelView.h"

// std
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace Bench;
using namespace Fixtures;

namespace {

// Ids of two presets of a CT image: "Bone(2500,480)" and "Lungs(1500,-600)"
constexpr int kBone = ID_WINDOW_PRESET_BASE + 2;
constexpr int kLungs = ID_WINDOW_PRESET_BASE + 8;


} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    DicomCodecs codecs;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;

    QStringList paths;
    for (int i = 0; i < 4; ++i) {
        ImageRecipe recipe = Preset(ImagePreset::Ct);
        recipe.content = Content::Phantom;
        recipe.columns = recipe.rows = 512;
        const QString path = dir.filePath(QStringLiteral("ct%1.dcm").arg(i));
        if (!WriteImage(recipe, Syntax::ExplicitLittle, path).isEmpty()) {
            std::printf("CT files not written\n");
            return 1;
        }
        paths << path;
    }
    Records records(paths);

    // The viewport area of a 1280 x 1024 monitor, as an image layout of 2 x 2
    QWidget host;
    CMyFrameWnd* frame = ShowImageLayoutGrid(host, paths.front());
    frame->OnCommand(ID_FRAME_LAYOUT2X2);
    QCoreApplication::processEvents();
    const std::vector<CVantrelView*> panes = frame->GetPanes();
    if (panes.size() != 4) {
        std::printf("2x2 layout not built\n");
        return 1;
    }

    std::vector<std::unique_ptr<Bare>> bare;
    for (const QString& path : paths)
        bare.push_back(std::make_unique<Bare>(path));

    bool lungs = false;
    const std::vector<double> t = TimeInterleaved(runs, {
        [&] {
            // Alternating, so that every choice is a new window
            lungs = !lungs;
            return Timed([&] {
                panes[0]->BuildContextMenu();
                panes[0]->OnContextCommand(lungs ? kLungs : kBone);
            });
        },
        [&] {
            return Timed([&] {
                for (CVantrelView* pane : panes)
                    pane->repaint();
            });
        },
        [&] {
            return Timed([&] {
                for (auto& each : bare)
                    each->Render(lungs ? -600 : 480, lungs ? 1500 : 2500);
            });
        }});
    std::printf("median of %d runs\n", runs);
    std::printf("%-30s preset rendered in the 4 panes %7.2f ms, their paint %7.2f ms | dcmtk render of the 4 images "
                "%7.2f ms (render x%.2f)\n",
                "2x2 image layout, CT 512x512", t[0], t[1], t[2], t[2] > 0 ? t[0] / t[2] : 0.0);
    theApp.m_bImagesLoaded = 0;
    return 0;
}
