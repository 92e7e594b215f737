// Speed of paging and of the image commands beside the bare toolkit calls on the same files:
// one Down or Up step of a turned and mirrored single view through a series of CT images
// (load, render, bring into the view's orientation, paint), one page of a 2 x 2 image layout,
// and one clockwise turn of a 2 x 2 image layout. Each time is the median of repeated runs.
//
// Usage: bench_paging [runs]

// Qt
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmimgle/dcmimage.h>

// std
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

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
#include "tools/fixtures/ImageFixtures.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelView.h"

using namespace Bench;
using namespace Fixtures;

namespace {

constexpr UINT kKeyUp = 38;
constexpr UINT kKeyDown = 40;

// The bare toolkit: a file read, decompressed and rendered at a window to 8 bits, turned
// clockwise by the toolkit when asked
double BareReadAndRender(const QString& path, bool turn)
{
    return Timed([&] {
        Bare bare(path);
        bare.image->setWindow(40, 400);
        if (turn)
            bare.image->rotateImage(90);
        bare.image->getOutputData(8, 0, 0);
    });
}

// The bare toolkit's page of a 2 x 2 layout: each file read and rendered at a window to 8 bits,
// and the four pictures drawn, fitted without smoothing, into one image of the panes' size
double BarePage(const QStringList& files, const QSize& area)
{
    return Timed([&] {
        QImage page(area, QImage::Format_RGB32);
        page.fill(Qt::black);
        QPainter painter(&page);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        const QSize pane(area.width() / 2, area.height() / 2);
        for (int i = 0; i < files.size() && i < 4; ++i) {
            Bare bare(files[i]);
            bare.image->setWindow(40, 400);
            const int w = int(bare.image->getWidth());
            const int h = int(bare.image->getHeight());
            const void* pixels = bare.image->getOutputData(8, 0, 0);
            if (!pixels)
                continue;
            const QImage picture(static_cast<const uchar*>(pixels), w, h, w, QImage::Format_Grayscale8);
            const QRect cell(QPoint((i % 2) * pane.width(), (i / 2) * pane.height()), pane);
            const QSize fitted = QSize(w, h).scaled(cell.size(), Qt::KeepAspectRatio);
            const QRect target(cell.x() + (cell.width() - fitted.width()) / 2, cell.y() + (cell.height() - fitted.height()) / 2,
                               fitted.width(), fitted.height());
            painter.drawImage(target, picture);
        }
    });
}

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
    for (int i = 0; i < 12; ++i) {
        ImageRecipe recipe = Preset(ImagePreset::Ct);
        recipe.content = Content::Phantom;
        recipe.columns = recipe.rows = 512;
        recipe.sopInstanceUid.clear();
        const QString path = dir.filePath(QStringLiteral("ct%1.dcm").arg(i));
        if (!WriteImage(recipe, Syntax::ExplicitLittle, path).isEmpty()) {
            std::printf("CT files not written\n");
            return 1;
        }
        paths << path;
    }
    Records records(paths);

    // The viewport area of a 1280 x 1024 monitor
    QWidget host;
    CMyFrameWnd* frame = ShowImageLayoutGrid(host, paths.front());
    std::printf("median of %d runs\n", runs);

    // Down and Up in turn between the first two images: every step loads a file
    CVantrelView* view = frame->GetSingleView();
    view->TakeImageCommand(ID_IMAGE_ROTATERIGHT);
    view->TakeImageCommand(ID_IMAGE_MIRROR);
    int step = 0;
    int bareStep = 0;
    const std::vector<double> single = TimeInterleaved(runs, {
        [&] {
            return Timed([&] {
                view->OnKeyDown(step++ % 2 ? kKeyUp : kKeyDown, 1, 0);
                view->repaint();
            });
        },
        [&] { return BareReadAndRender(paths[bareStep++ % 2], true); }});
    std::printf("%-36s key step %8.2f ms | dcmtk read, render and turn %8.2f ms (x%.2f)\n",
                "turned view, CT 512x512", single[0], single[1], Ratio(single[0], single[1]));

    // A page of a 2 x 2 image layout: four files, each pane painted
    frame->OnCommand(ID_FRAME_LAYOUT2X2);
    QCoreApplication::processEvents();
    int page = 0;
    const std::vector<double> grid = TimeInterleaved(runs, {
        [&] {
            CVantrelView* selected = frame->GetSelectedView();
            return Timed([&] {
                selected->OnKeyDown(page++ % 2 ? kKeyUp : kKeyDown, 1, 0);
                for (CVantrelView* pane : frame->GetPanes())
                    pane->repaint();
            });
        },
        [&] {
            double ms = 0;
            for (int i = 0; i < 4; ++i)
                ms += BareReadAndRender(paths[size_t(4 + i)], false);
            return ms;
        },
        [&] { return BarePage(paths.mid(4, 4), host.size()); }});
    std::printf("%-36s page     %8.2f ms | dcmtk read and render of 4 files %8.2f ms (x%.2f)\n",
                "2x2 image layout, CT 512x512", grid[0], grid[1], Ratio(grid[0], grid[1]));
    std::printf("%-36s page     %8.2f ms | dcmtk read, render and draw of the 4 pictures into one %dx%d image %8.2f ms (x%.2f, target <= 1.3)\n",
                "2x2 image layout, CT 512x512", grid[0], host.width(), host.height(), grid[2], Ratio(grid[0], grid[2]));

    // A clockwise turn of the four panes, against the toolkit turning four rendered images
    std::vector<std::unique_ptr<DicomImage>> bare;
    std::vector<std::unique_ptr<DcmFileFormat>> files;
    for (int i = 0; i < 4; ++i) {
        auto file = std::make_unique<DcmFileFormat>();
        file->loadFile(QFile::encodeName(paths[size_t(i)]).constData());
        DcmDataset* data = file->getDataset();
        bare.push_back(std::make_unique<DicomImage>(file.get(), data->getCurrentXfer(), CIF_AcrNemaCompatibility));
        bare.back()->setWindow(40, 400);
        bare.back()->getOutputData(8, 0, 0);
        files.push_back(std::move(file));
    }
    const std::vector<double> turn = TimeInterleaved(runs, {
        [&] {
            CVantrelView* selected = frame->GetSelectedView();
            return Timed([&] {
                selected->TakeImageCommand(ID_IMAGE_ROTATERIGHT);
                selected->RotateRightImagesInOtherViewPort();
                for (CVantrelView* pane : frame->GetPanes())
                    pane->repaint();
            });
        },
        [&] {
            return Timed([&] {
                for (auto& image : bare) {
                    image->rotateImage(90);
                    image->getOutputData(8, 0, 0);
                }
            });
        }});
    std::printf("%-36s turn     %8.2f ms | dcmtk turn and output of 4 images %8.2f ms (x%.2f)\n",
                "2x2 image layout, CT 512x512", turn[0], turn[1], Ratio(turn[0], turn[1]));
    std::fflush(stdout);
    theApp.m_bImagesLoaded = 0;
    theApp.m_astrSeriesKeys.clear();
    return 0;
}
