// Fuzz target: the bytes are a presentation-state file over a small study written once; it is
// imported, and every shape it gives is drawn and hit-tested at two zooms, as the views do.

// Qt
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

// Orvane
#include "annotation/CFixedFontMetrics.h"
#include "annotation/CPresentationStateHandler.h"
#include "annotation/CShapeCanvas.h"
#include "annotation/CShapeCollection.h"
#include "platform/CFont.h"
#include "tests/fuzz/FuzzCommon.h"
#include "tools/fixtures/ImageFixtures.h"
#include "tools/fixtures/PresentationStateFixtures.h"

// std
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

QByteArray g_path;
std::vector<CPresentationStateHandler::ImageDescription> g_study;
CFont* g_font = nullptr;

void DrawAndHit(CShapeCollection& shape)
{
    QImage image(160, 120, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    const CFixedFontMetrics metrics;
    CShapeCanvas canvas(painter, &image, metrics);
    if (g_font && g_font->GetFont())
        canvas.SelectFont(*g_font->GetFont());
    shape.SetViewExtent(image.width(), image.height());
    for (float zoom : {1.0f, 2.5f}) {
        shape.Draw(&canvas, 0, zoom);
        const CDoublePoint start = shape.GetStartPoint();
        const CDoublePoint end = shape.GetEndPoint();
        for (const CDoublePoint& p : {start, end, CDoublePoint((start.x + end.x) / 2, (start.y + end.y) / 2), CDoublePoint(5, 5)}) {
            CDoublePoint at(p.x * zoom, p.y * zoom);
            shape.HitTest(&at, zoom);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzCommon::Quiet();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Texts are drawn with a real font, as on screen
    static QGuiApplication application(*argc, *argv);
    static CFont font;
    font.Attach(QFont(QStringLiteral("Liberation Sans"), 9));
    g_font = &font;
    const QString folder = FuzzCommon::ScratchFolder();
    g_path = QFile::encodeName(folder + QStringLiteral("/state.dcm"));
    int series = -1;
    std::string lastSeries;
    for (const Fixtures::PsStudyImage& image : Fixtures::SmallAnnotatedStudy()) {
        const QString path = folder + QStringLiteral("/image%1.dcm").arg(g_study.size());
        if (!Fixtures::WriteImage(image.recipe, Fixtures::Syntax::ExplicitLittle, path).isEmpty())
            std::abort(); // the study must exist, or the inputs test nothing
        if (image.recipe.seriesInstanceUid != lastSeries)
            ++series;
        lastSeries = image.recipe.seriesInstanceUid;
        g_study.push_back(CPresentationStateHandler::DescribeImage(path, QStringLiteral("record"), series));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!FuzzCommon::WriteInput(g_path, data, size))
        return 0;
    CPresentationStateHandler handler;
    CPresentationStateHandler::Result result = handler.LoadPresentationState(g_path.constData(), g_study, QStringLiteral("1"), g_font);
    for (const std::unique_ptr<CShapeCollection>& shape : result.shapes)
        DrawAndHit(*shape);
    return 0;
}
