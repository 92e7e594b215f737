// One step of a window drag with the button held, in a real view of 1100 x 890 on the
// offscreen platform: the pointer move (its handler renders the reduced picture at the new
// window) and the paint of the pane (repaint, no grab), beside the bare toolkit render of a
// reduced copy of the same size at the same windows (of the image itself where it is not
// reduced, as for the colour picture of an ultrasound loop). Also the two halves of the step alone: the
// render of the picture at a new window, and the paint of the pane that follows it.
//
// Usage: bench_dragstep [runs (60)]

// Qt
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmimgle/dcmimage.h>

// Orvane
#include "bench/BenchBare.h"
#include "bench/BenchPlainPane.h"
#include "bench/BenchStudy.h"
#include "bench/BenchTiming.h"
#include "app/COstrevanApp.h"
#include "platform/CxImage.h"
#include "study/CImageInfo.h"
#include "study/CSeriesInfo.h"
#include "study/DicomCodecs.h"
#include "state/ToolState.h"
#include "tools/fixtures/ImageFixtures.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"
#include "viewer/RenderWindow.h"

// std
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace Fixtures;
using namespace Bench;

namespace {

// The least a paint of the pane costs: a widget of its size that only fills itself
class FilledPane : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), Qt::black);
    }
};

void Send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

double LoadAverage()
{
    double load = 0.0;
    if (FILE* f = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(f, "%lf", &load) != 1)
            load = 0.0;
        std::fclose(f);
    }
    return load;
}

void DragStep(const QTemporaryDir& dir, const char* label, const ImageRecipe& recipe, int runs)
{
    const QString path = dir.filePath(QStringLiteral("%1.dcm").arg(QString::fromLatin1(label).section(' ', 0, 0)));
    if (!WriteImage(recipe, Syntax::ExplicitLittle, path).isEmpty()) {
        std::printf("%s not written\n", label);
        return;
    }
    Records records(QStringList{path}, QString::fromStdString(recipe.modality));

    QWidget host;
    host.resize(1100, 890);
    auto* document = new CVantrelDoc;
    auto* view = new CVantrelView(document, &host);
    document->setParent(view);
    view->setGeometry(host.rect());
    host.show();
    view->m_pPatient = records.list.m_patientList.m_lstPatients.front().get();
    view->m_pStudy = records.series->m_pStudy;
    view->m_pSeries = records.series;
    view->m_pImage = records.series->GetImageAt(0);
    document->OnOpenDocument(path);
    view->LoadImageIntoViewPort(FALSE);
    view->InitialiseImageData(TRUE);
    view->SetZoomScrollSizes(view->GetZoomedImageSize());
    view->CenterImageInView();
    view->DrawImageInfoOverlay();
    QCoreApplication::processEvents();

    // The button goes down in the middle of the picture: the reduced picture is shown
    theApp.m_bImagesLoaded = 1;
    SetDefaultToolState();
    const QPoint start(view->width() / 2, view->height() / 2);
    Send(view, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    view->repaint();
    if (!view->m_pDisplayImage) {
        std::printf("%s: no picture\n", label);
        return;
    }
    // Images up to 800 pixels a side are shown as they are
    const bool reducedShown = view->IsReducedImageShown();
    const QSize reducedSize(int(view->m_pDisplayImage->GetWidth()), int(view->m_pDisplayImage->GetHeight()));
    const QSize extent = view->GetTotalDeviceSize();

    Bare bare(path);
    std::unique_ptr<DicomImage> copy(reducedShown ? bare.image->createScaledImage(static_cast<unsigned long>(reducedSize.width()),
                                                                                  static_cast<unsigned long>(reducedSize.height()), 4, 0)
                                                  : nullptr);
    DicomImage* reduced = copy ? copy.get() : bare.image.get();

    // The pointer goes back and forth by 7 pixels: every step renders at a new window
    int turn = 0;
    const auto step = [&] {
        const QPoint to = start + QPoint((turn++ % 2) ? 0 : 7, 0);
        return Timed([&] {
            Send(view, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
            view->repaint();
        });
    };
    // The windows the view renders at, alternating between two, each work counting its own turns
    const auto nextWindow = [&](int& turn) {
        return ToRenderWindow(document->m_fWindowWidth + ((turn++ % 2) ? 7.0f : 0.0f), document->m_fWindowCenter);
    };
    int bareTurn = 0;
    const auto bareStep = [&] {
        const RenderWindow window = nextWindow(bareTurn);
        return Timed([&] { Bare::Render(reduced, window.nCentre, window.nWidth); });
    };
    int renderTurn = 0;
    const auto renderOnly = [&] {
        const RenderWindow window = nextWindow(renderTurn);
        return Timed([&] { view->RenderWithWindowLevel(window.nWidth, window.nCentre); });
    };
    const auto paintOnly = [&] { return Timed([&] { view->repaint(); }); };

    QWidget floorHost;
    floorHost.resize(host.size());
    auto* filled = new FilledPane(&floorHost);
    filled->setAttribute(Qt::WA_OpaquePaintEvent);
    filled->setGeometry(view->geometry());
    floorHost.show();
    QCoreApplication::processEvents();
    const auto fillOnly = [&] { return Timed([&] { filled->repaint(); }); };

    // The bare toolkit render followed by Qt's plain paint of its output
    QWidget plainHost;
    plainHost.resize(host.size());
    auto* plain = new PlainPane(&plainHost);
    plain->setAttribute(Qt::WA_OpaquePaintEvent);
    plain->setGeometry(view->geometry());
    plain->target = QRect(QPoint((view->width() - extent.width()) / 2, (view->height() - extent.height()) / 2), extent);
    plainHost.show();
    QCoreApplication::processEvents();
    const bool colour = !reduced->isMonochrome();
    const int bareWidth = int(reduced->getWidth());
    const int bareHeight = int(reduced->getHeight());
    int plainTurn = 0;
    const auto plainStep = [&] {
        const RenderWindow window = nextWindow(plainTurn);
        return Timed([&] {
            reduced->setWindow(window.nCentre, window.nWidth);
            plain->picture = PlainPane::Wrap(reduced->getOutputData(8, 0, 0), bareWidth, bareHeight, colour);
            plain->repaint();
        });
    };

    const double load = LoadAverage();
    const std::vector<double> t = TimeInterleaved(runs, {step, bareStep, renderOnly, paintOnly, fillOnly, plainStep});
    std::printf("%-22s held drag step (move, render, paint) %6.2f ms | dcmtk render of the %dx%d %s %6.2f ms "
                "(x%.2f, target <= 1.5) load %.1f\n",
                label, t[0], reducedSize.width(), reducedSize.height(), reducedShown ? "copy" : "image", t[1],
                Ratio(t[0], t[1]), load);
    std::printf("%-22s   of which render %6.2f ms (x%.2f of dcmtk), paint of the %dx%d pane %6.2f ms (x%.2f of dcmtk), "
                "picture %dx%d\n",
                label, t[2], Ratio(t[2], t[1]), view->width(), view->height(), t[3], Ratio(t[3], t[1]), extent.width(),
                extent.height());
    std::printf("%-22s   floor of a paint: a widget of the pane's size that only fills itself %6.2f ms (x%.2f of dcmtk)\n",
                label, t[4], Ratio(t[4], t[1]));
    std::printf("%-22s   dcmtk render + Qt's plain scaled drawImage of it into the pane %6.2f ms: the step is x%.2f of it "
                "(target <= 1.5)\n",
                label, t[5], Ratio(t[0], t[5]));
    // Every step rendered at a new window
    const float before = document->m_fWindowWidth;
    step();
    if (document->m_fWindowWidth == before)
        std::printf("%-22s   (the moves changed no window)\n", label);
    Send(view, QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
    theApp.m_bImagesLoaded = 0;
    std::fflush(stdout);
}

ImageRecipe Phantom(ImagePreset preset, int columns, int rows)
{
    ImageRecipe recipe = Preset(preset);
    recipe.content = Content::Phantom;
    recipe.columns = columns;
    recipe.rows = rows;
    return recipe;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    DicomCodecs codecs;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    std::printf("median of %d runs, one thread each\n", runs);
    DragStep(dir, "CR 2048x2500 12-bit", Phantom(ImagePreset::Cr, 2048, 2500), runs);
    ImageRecipe mg = Phantom(ImagePreset::Cr, 3328, 4084);
    mg.modality = "MG";
    mg.sopClassUid = "1.2.840.10008.5.1.4.1.1.1.2";
    mg.photometric = "MONOCHROME2";
    mg.imagerPixelSpacing = "0.07\\0.07";
    DragStep(dir, "MG 3328x4084 12-bit", mg, runs);
    // A colour picture as a cine frame shows it, whole, stretched over most of the pane
    ImageRecipe us = Phantom(ImagePreset::Rgb, 640, 480);
    DragStep(dir, "US 640x480 RGB", us, runs);
    return 0;
}
