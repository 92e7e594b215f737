// The import of generated presentation states over a small study: image A and B of one series,
// J (JPEG lossless, no decoder registered) of another and W (200 x 160) of a third; the states
// reference A and J only, unless a test says otherwise.
// Shapes are compared as one line of text each: kind, image, points.

// Qt
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/oflog/oflog.h>

// std
#include <memory>
#include <vector>

// Orvane
#include "annotation/CPresentationStateHandler.h"
#include "annotation/CShapeArrowLine.h"
#include "annotation/CShapeEllipse.h"
#include "annotation/CShapeLineAngle.h"
#include "annotation/CShapeLineLength.h"
#include "annotation/CShapeText.h"
#include "platform/CFont.h"
#include "tests/annotation/ShapeTestCanvas.h"
#include "tools/fixtures/ImageFixtures.h"
#include "tools/fixtures/PresentationStateFixtures.h"

using namespace Fixtures;
using Handler = CPresentationStateHandler;

Q_DECLARE_METATYPE(Fixtures::PsGraphicObject)

namespace {

struct StudyImage
{
    QString name; // "A", "B", "J"
    QString path;
    ImageRecipe recipe;
    PsImageRef ref;
};

QString Point(CDoublePoint p)
{
    return QStringLiteral("%1,%2").arg(p.x).arg(p.y);
}

} // namespace

class tst_CPresentationStateHandler : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::vector<StudyImage> m_images; // A, B, J
    std::vector<Handler::ImageDescription> m_study;
    CFont m_font;
    int m_written = 0;

    const StudyImage& image(const char* name) const
    {
        for (const StudyImage& each : m_images)
            if (each.name == QLatin1String(name))
                return each;
        qFatal("no image %s", name);
    }

    QString nameOfKey(const QString& key) const
    {
        for (const StudyImage& each : m_images)
            if (QString::fromStdString(each.recipe.sopInstanceUid) == key)
                return each.name;
        return QStringLiteral("?") + key;
    }

    // One line per shape: kind, image, points.
    QString line(const CShapeCollection& shape) const
    {
        const QString key = nameOfKey(shape.GetImageKey());
        if (dynamic_cast<const CShapeLineLength*>(&shape))
            return QStringLiteral("length %1 %2 %3").arg(key, Point(shape.GetStartPoint()), Point(shape.GetEndPoint()));
        if (dynamic_cast<const CShapeLineAngle*>(&shape))
            return QStringLiteral("angle %1 %2 %3 %4")
                .arg(key, Point(shape.GetStartPoint()), Point(shape.GetVertexPoint()), Point(shape.GetEndPoint()));
        if (dynamic_cast<const CShapeArrowLine*>(&shape))
            return QStringLiteral("arrow %1 %2 %3").arg(key, Point(shape.GetStartPoint()), Point(shape.GetEndPoint()));
        if (dynamic_cast<const CShapeText*>(&shape))
            return QStringLiteral("text %1 %2 %3 %4")
                .arg(key, Point(shape.GetStartPoint()), Point(shape.GetEndPoint()), shape.GetText());
        if (dynamic_cast<const CShapeEllipse*>(&shape))
            return QStringLiteral("ellipse %1 %2 %3").arg(key, Point(shape.GetStartPoint()), Point(shape.GetEndPoint()));
        return QStringLiteral("other %1").arg(key);
    }

    QStringList lines(const Handler::Result& result) const
    {
        QStringList out;
        for (const auto& shape : result.shapes)
            out << line(*shape);
        return out;
    }

    PresentationStateData state(std::vector<PsAnnotation> annotations) const
    {
        PresentationStateData ps;
        ps.studyInstanceUid = m_images[0].recipe.studyInstanceUid;
        ps.images = {image("A").ref, image("J").ref};
        ps.annotations = std::move(annotations);
        return ps;
    }

    // Every layer of the generator's state, for every image the state references.
    PresentationStateData everyLayer() const
    {
        PresentationStateData ps = EveryLayer({image("A").ref, image("J").ref});
        ps.studyInstanceUid = m_images[0].recipe.studyInstanceUid;
        for (PsAnnotation& annotation : ps.annotations)
            annotation.images.clear();
        return ps;
    }

    QString write(const PresentationStateData& ps)
    {
        const QString path = m_dir.filePath(QStringLiteral("ps%1.dcm").arg(++m_written));
        const QString error = WritePresentationState(ps, path);
        if (!error.isEmpty())
            qWarning("%s", qPrintable(error));
        return path;
    }

    Handler::Result load(const QString& path)
    {
        Handler handler;
        return handler.LoadPresentationState(QFile::encodeName(path).constData(), m_study, QStringLiteral("1"), &m_font);
    }

    Handler::Result import(const PresentationStateData& ps) { return load(write(ps)); }

private slots:
    void initTestCase()
    {
        OFLog::configure(OFLogger::FATAL_LOG_LEVEL);
        QVERIFY(m_dir.isValid());
        const std::string study = NewUid();
        const std::string first = NewUid();
        const std::string second = NewUid();
        const struct
        {
            const char* name;
            std::string series;
            Syntax syntax;
            const char* spacing;
        } images[] = {
            {"A", first, Syntax::ExplicitLittle, "0.5\\0.6"},
            {"B", first, Syntax::ExplicitLittle, "0.5\\0.6"},
            {"J", second, Syntax::JpegLossless, "0.7\\0.7"},
            {"W", NewUid(), Syntax::ExplicitLittle, "0.5\\0.5"},
        };
        int series = 0;
        for (const auto& each : images) {
            StudyImage image;
            image.name = QString::fromLatin1(each.name);
            image.path = m_dir.filePath(image.name + QStringLiteral(".dcm"));
            image.recipe = Preset(ImagePreset::Ct);
            const bool wide = image.name == QLatin1String("W");
            image.recipe.columns = wide ? 200 : 64;
            image.recipe.rows = wide ? 160 : 48;
            image.recipe.studyInstanceUid = study;
            image.recipe.seriesInstanceUid = each.series;
            image.recipe.sopInstanceUid = NewUid();
            image.recipe.pixelSpacing = each.spacing;
            QCOMPARE(WriteImage(image.recipe, each.syntax, image.path), QString());
            image.ref = {image.recipe.sopClassUid, image.recipe.sopInstanceUid, each.series, image.recipe.rows,
                         image.recipe.columns};
            if (!m_images.empty() && m_images.back().recipe.seriesInstanceUid != each.series)
                ++series;
            m_study.push_back(Handler::DescribeImage(image.path, QStringLiteral("record-") + image.name, series));
            m_images.push_back(image);
        }
    }

    // --- Layers and the shapes they become ------------------------------------------------

    // Every layer on the referenced images A and J, none on B; each shape green, pen width 1,
    // tagged, in its drawing mode, with its font and its image's spacing.
    void importsEveryLayerOnTheReferencedImages()
    {
        const Handler::Result result = import(everyLayer());
        QStringList expected;
        for (const char* key : {"A", "J"}) {
            expected << QStringLiteral("length %1 10,10 50,10").arg(key) << QStringLiteral("angle %1 0,0 10,0 10,10").arg(key)
                     << QStringLiteral("arrow %1 5,5 20,30").arg(key) << QStringLiteral("text %1 2,2 40,12 Note").arg(key)
                     // The generator's ellipse holds its box's diagonals: read as axes, a circle
                     << QStringLiteral("ellipse %1 8,8 24,16").arg(key);
        }
        QCOMPARE(lines(result), expected);

        for (const auto& shape : result.shapes) {
            const QString kind = line(*shape).section(' ', 0, 0);
            const bool onA = nameOfKey(shape->GetImageKey()) == QLatin1String("A");
            QCOMPARE(shape->GetColor(), COLORREF(0x0000FF00));
            QCOMPARE(shape->GetTag(), QStringLiteral("1"));
            if (kind != QLatin1String("text"))
                QCOMPARE(shape->GetPenWidth(), 1);
            const bool drawnAsImported = kind == QLatin1String("angle") || kind == QLatin1String("text") || kind == QLatin1String("ellipse");
            QCOMPARE(shape->m_nRenderMode, drawnAsImported ? 0 : 1);
            const bool hasFont = kind == QLatin1String("length") || kind == QLatin1String("text") || kind == QLatin1String("ellipse");
            QCOMPARE(shape->GetTextFont(), hasFont ? &m_font : nullptr);
            if (kind != QLatin1String("arrow")) {
                QCOMPARE(shape->m_bSpacingKnown, BYTE(1));
                QCOMPARE(shape->m_dSpacingX, onA ? 0.6 : 0.7);
                QCOMPARE(shape->m_dSpacingY, onA ? 0.5 : 0.7);
            }
        }
        // Calibrated images measure in their units: 40 pixels of 0.6 and of 0.7 mm
        QCOMPARE(static_cast<CShapeLineLength*>(result.shapes[0].get())->MeasureText(), QStringLiteral("2.40 cm"));
        QCOMPARE(static_cast<CShapeLineLength*>(result.shapes[5].get())->MeasureText(), QStringLiteral("2.80 cm"));

        QCOMPARE(result.windows.size(), size_t(2));
        QCOMPARE(result.windows[0].nSeries, 0);
        QCOMPARE(result.windows[1].nSeries, 1);
        for (const Handler::SeriesWindow& window : result.windows) {
            QCOMPARE(window.fWidth, 400.0f);
            QCOMPARE(window.fCentre, 40.0f);
        }
    }

    // An annotation with image references applies to those; one without applies to every
    // image the state references, never to another image of the study.
    void appliesAnnotationsToTheirImages_data()
    {
        QTest::addColumn<QVector<int>>("references"); // into the state's images: 0 = A, 1 = J
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("A") << QVector<int>{0} << QStringList{"length A 1,2 3,4"};
        QTest::newRow("J") << QVector<int>{1} << QStringList{"length J 1,2 3,4"};
        QTest::newRow("A and J") << QVector<int>{0, 1} << QStringList{"length A 1,2 3,4", "length J 1,2 3,4"};
        QTest::newRow("no references") << QVector<int>{} << QStringList{"length A 1,2 3,4", "length J 1,2 3,4"};
    }
    void appliesAnnotationsToTheirImages()
    {
        QFETCH(QVector<int>, references);
        QFETCH(QStringList, expected);
        const Handler::Result result =
            import(state({{"LINEAR", {references.begin(), references.end()}, {PsLinear({1, 2}, {3, 4})}, {}}}));
        QCOMPARE(lines(result), expected);
    }

    // Coordinates are truncated toward zero; DISPLAY units are fractions of the columns and rows
    // (the displayed area of the whole image), rounded to the nearest pixel.
    void takesPointsInImagePixels_data()
    {
        QTest::addColumn<QString>("units");
        QTest::addColumn<QPointF>("start");
        QTest::addColumn<QPointF>("end");
        QTest::addColumn<QString>("expected");
        QTest::newRow("pixel, fractions") << "PIXEL" << QPointF(10.7, -0.5) << QPointF(3.25, 4) << "length A 10,0 3,4";
        QTest::newRow("display") << "DISPLAY" << QPointF(0.25, 0.5) << QPointF(1, 1) << "length A 16,24 64,48";
        QTest::newRow("display, fractions") << "DISPLAY" << QPointF(0.1, 0.1) << QPointF(0.5, 0.99) << "length A 6,5 32,48";
    }
    void takesPointsInImagePixels()
    {
        QFETCH(QString, units);
        QFETCH(QPointF, start);
        QFETCH(QPointF, end);
        QFETCH(QString, expected);
        PsGraphicObject object = PsLinear({float(start.x()), float(start.y())}, {float(end.x()), float(end.y())});
        object.units = units.toStdString();
        QCOMPARE(lines(import(state({{"LINEAR", {0}, {object}, {}}}))), QStringList{expected});
    }

    // An ELLIPSE (ends of the major axis, then of the minor axis) and a CIRCLE (centre, then a
    // point on it) become the ellipse shape over their box, a turned ellipse over its bounding
    // box; the area the shape shows is the ellipse's. Other graphic types take points 0 and 1.
    void convertsEllipsesAndCirclesToTheirBox_data()
    {
        QTest::addColumn<PsGraphicObject>("object");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("area"); // as shown, from A's spacing: 0.6 mm across, 0.5 mm down
        QTest::newRow("ellipse along x") << PsEllipseAxes({10, 20}, {50, 20}, {30, 10}, {30, 30}) << "ellipse A 10,10 50,30"
                                         << QString::asprintf("Area=%0.2f cm sq.", 1.2 * 0.5 * 22.0 / 7.0);
        QTest::newRow("ellipse along y") << PsEllipseAxes({30, 5}, {30, 45}, {40, 25}, {20, 25}) << "ellipse A 20,5 40,45"
                                         << QString::asprintf("Area=%0.2f cm sq.", 0.6 * 1.0 * 22.0 / 7.0);
        // Semi-axes 10 and 5 times the square root of 2, turned by 45 degrees: half extents of
        // the square root of 125 about (32, 24)
        QTest::newRow("turned ellipse") << PsEllipseAxes({22, 14}, {42, 34}, {37, 19}, {27, 29}) << "ellipse A 20,12 43,35"
                                        << QString::asprintf("Area=%0.2f cm sq.", 1.38 * 1.15 * 0.25 * 22.0 / 7.0);
        QTest::newRow("circle") << PsCircle({30, 20}, {40, 20}) << "ellipse A 20,10 40,30"
                                << QString::asprintf("Area=%0.2f cm sq.", 1.2 * 1.0 * 0.25 * 22.0 / 7.0);
        QTest::newRow("circle, point off the axes") << PsCircle({30, 20}, {36, 28}) << "ellipse A 20,10 40,30"
                                                    << QString::asprintf("Area=%0.2f cm sq.", 1.2 * 1.0 * 0.25 * 22.0 / 7.0);
        QTest::newRow("polyline: two corners") << PsGraphicObject{"POLYLINE", {{8, 8}, {24, 16}}} << "ellipse A 8,8 24,16"
                                               << QString::asprintf("Area=%0.2f cm sq.", 0.96 * 0.4 * 0.25 * 22.0 / 7.0);
        QTest::newRow("ellipse without its minor axis") << PsGraphicObject{"ELLIPSE", {{10, 20}, {50, 20}}} << "" << "";
        QTest::newRow("circle without its point") << PsGraphicObject{"CIRCLE", {{10, 20}}} << "" << "";
    }
    void convertsEllipsesAndCirclesToTheirBox()
    {
        QFETCH(PsGraphicObject, object);
        QFETCH(QString, expected);
        QFETCH(QString, area);
        const Handler::Result result = import(state({{"ELLIPSE", {0}, {object}, {}}}));
        QCOMPARE(lines(result), expected.isEmpty() ? QStringList() : QStringList{expected});
        if (expected.isEmpty())
            return;
        ShapeTestSurface surface;
        result.shapes[0]->Draw(surface.canvas, 0, 1.0f);
        QCOMPARE(surface.canvas->texts.size(), 1);
        QCOMPARE(surface.canvas->texts[0].text, area);
    }

    // DISPLAY units are fractions of the displayed area the state gives the image (the whole
    // image when it gives none), rounded to the nearest pixel. On W, 200 x 160 pixels of 0.5 mm.
    void mapsDisplayUnitsThroughTheDisplayedArea_data()
    {
        QTest::addColumn<bool>("areaForW"); // false: the state's only displayed area is A's
        QTest::addColumn<QPointF>("start");
        QTest::addColumn<QPointF>("end");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("length");
        QTest::newRow("no area for the image: the whole image")
            << false << QPointF(0, 0) << QPointF(1, 1) << "length W 0,0 200,160" << "12.81 cm";
        QTest::newRow("area (51,41)-(150,120)") << true << QPointF(0, 0) << QPointF(1, 1) << "length W 50,40 150,120" << "6.40 cm";
        QTest::newRow("0.9 of the whole image's 200") << false << QPointF(0.1, 0.5) << QPointF(0.9, 0.5) << "length W 20,80 180,80"
                                                       << "8.00 cm";
        QTest::newRow("0.9 of the area's 100") << true << QPointF(0.1, 0.5) << QPointF(0.9, 0.5) << "length W 60,80 140,80"
                                               << "4.00 cm";
    }
    void mapsDisplayUnitsThroughTheDisplayedArea()
    {
        QFETCH(bool, areaForW);
        QFETCH(QPointF, start);
        QFETCH(QPointF, end);
        QFETCH(QString, expected);
        QFETCH(QString, length);
        PsGraphicObject line = PsLinear({float(start.x()), float(start.y())}, {float(end.x()), float(end.y())});
        line.units = "DISPLAY";
        PresentationStateData ps = state({{"LINEAR", {}, {line}, {}}});
        ps.images = {image("A").ref, image("W").ref};
        if (areaForW)
            ps.displayedAreas = {{{0}, 1, 1, 64, 48}, {{1}, 51, 41, 150, 120}};
        else
            ps.displayedAreas = {{{0}, 11, 9, 50, 40}};
        const Handler::Result result = import(ps);
        QCOMPARE(lines(result).filter(QStringLiteral(" W ")), QStringList{expected});
        const auto* shape = static_cast<CShapeLineLength*>(result.shapes.back().get());
        ShapeTestSurface surface(400, 400);
        result.shapes.back()->Draw(surface.canvas, 0, 1.0f);
        QCOMPARE(shape->GetText(), length);
    }

    // A text box and an anchor in DISPLAY units go through the displayed area too.
    void placesDisplayTextsInTheDisplayedArea()
    {
        PsTextObject boxed = PsText("B", {0.5f, 0.25f}, {0.75f, 0.5f});
        boxed.boxUnits = "DISPLAY";
        PsTextObject anchored;
        anchored.text = "A";
        anchored.hasBoundingBox = false;
        anchored.hasAnchor = true;
        anchored.anchor = {0.5f, 0.5f};
        anchored.anchorUnits = "DISPLAY";
        PresentationStateData ps = state({{"TEXT", {}, {}, {boxed, anchored}}});
        ps.images = {image("W").ref};
        ps.displayedAreas = {{{0}, 51, 41, 150, 120}};
        QCOMPARE(lines(import(ps)), QStringList({"text W 100,60 125,80 B", "text W 100,80 200,160 A"}));
    }

    // An annotation item whose Graphic Layer is empty is refused alone, wherever it stands:
    // the others come.
    void refusesAnAnnotationWithoutALayer_data()
    {
        QTest::addColumn<int>("at"); // where the item goes among the three good ones
        QTest::newRow("first") << 0;
        QTest::newRow("between the others") << 1;
        QTest::newRow("last") << 3;
    }
    void refusesAnAnnotationWithoutALayer()
    {
        QFETCH(int, at);
        std::vector<PsAnnotation> annotations = {{"LINEAR", {0}, {PsLinear({1, 2}, {3, 4})}, {}},
                                                 {"TEXT", {0}, {}, {PsText("Note", {2, 2}, {40, 12})}},
                                                 {"LINE", {}, {PsLine({5, 5}, {20, 30})}, {}}};
        annotations.insert(annotations.begin() + at, {"", {0}, {PsLinear({5, 5}, {9, 9})}, {PsText("none", {1, 1}, {9, 9})}});
        PresentationStateData ps = state(annotations);
        ps.layers = {{"LINEAR", 1, ""}, {"TEXT", 2, ""}, {"LINE", 3, ""}};
        QCOMPARE(lines(import(ps)), QStringList({"length A 1,2 3,4", "arrow A 5,5 20,30", "text A 2,2 40,12 Note",
                                                 "arrow J 5,5 20,30"}));
    }

    // A text takes its bounding box; one with only an anchor starts at the anchor and may take
    // the image to its right and below.
    void placesTexts_data()
    {
        QTest::addColumn<bool>("box");
        QTest::addColumn<QString>("boxUnits");
        QTest::addColumn<bool>("anchor");
        QTest::addColumn<QString>("anchorUnits");
        QTest::addColumn<QString>("expected");
        QTest::newRow("box") << true << "PIXEL" << false << "" << "text A 2,2 40,12 T";
        QTest::newRow("box in display units") << true << "DISPLAY" << false << "" << "text A 32,12 48,24 T";
        QTest::newRow("box and anchor") << true << "PIXEL" << true << "PIXEL" << "text A 2,2 40,12 T";
        QTest::newRow("anchor only") << false << "" << true << "PIXEL" << "text A 5,6 64,48 T";
        QTest::newRow("anchor only, display units") << false << "" << true << "DISPLAY" << "text A 32,24 64,48 T";
    }
    void placesTexts()
    {
        QFETCH(bool, box);
        QFETCH(QString, boxUnits);
        QFETCH(bool, anchor);
        QFETCH(QString, anchorUnits);
        QFETCH(QString, expected);
        PsTextObject text;
        text.text = "T";
        text.hasBoundingBox = box;
        text.boxUnits = boxUnits.toStdString();
        text.topLeft = boxUnits == QLatin1String("DISPLAY") ? PsPoint{0.5f, 0.25f} : PsPoint{2, 2};
        text.bottomRight = boxUnits == QLatin1String("DISPLAY") ? PsPoint{0.75f, 0.5f} : PsPoint{40, 12};
        text.hasAnchor = anchor;
        text.anchorUnits = anchorUnits.toStdString();
        text.anchor = anchorUnits == QLatin1String("DISPLAY") ? PsPoint{0.5f, 0.5f} : PsPoint{5, 6};
        QCOMPARE(lines(import(state({{"TEXT", {0}, {}, {text}}}))), QStringList{expected});
    }

    // Texts come in UTF-8 after the state's Specific Character Set; without one, bytes that
    // are no UTF-8 are read as Latin-1.
    void decodesTextsByTheCharacterSet_data()
    {
        QTest::addColumn<QByteArray>("characterSet");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none, ASCII") << QByteArray() << QByteArray("Cafe") << QStringLiteral("Cafe");
        QTest::newRow("none, Latin-1 bytes") << QByteArray() << QByteArray("Caf\xe9") << QStringLiteral(u"Café");
        QTest::newRow("Latin-1") << QByteArray("ISO_IR 100") << QByteArray("Caf\xe9") << QStringLiteral(u"Café");
        QTest::newRow("Cyrillic") << QByteArray("ISO_IR 144") << QByteArray("\xbf\xe0\xd8\xd2\xd5\xe2") << QStringLiteral(u"Привет");
        QTest::newRow("UTF-8") << QByteArray("ISO_IR 192") << QByteArray("Caf\xc3\xa9") << QStringLiteral(u"Café");
    }
    void decodesTextsByTheCharacterSet()
    {
        QFETCH(QByteArray, characterSet);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        PresentationStateData ps = state({{"TEXT", {0}, {}, {PsText(bytes.toStdString(), {1, 1}, {30, 10})}}});
        ps.specificCharacterSet = characterSet.toStdString();
        const Handler::Result result = import(ps);
        QCOMPARE(result.shapes.size(), size_t(1));
        QCOMPARE(result.shapes[0]->GetText(), expected);
    }

    // Layers are known by their exact names; a name the layer list holds twice is read once.
    void readsEachLayerNameOnce()
    {
        PresentationStateData ps = state({
            {"linear", {0}, {PsLinear({1, 1}, {2, 2})}, {}},
            {"LINEARX", {0}, {PsLinear({3, 3}, {4, 4})}, {}},
            {"TEXT", {0}, {}, {PsText("first", {1, 1}, {9, 9})}},
            {"TEXT", {0}, {}, {PsText("second", {1, 1}, {9, 9})}},
        });
        ps.layers = {{"linear", 1, ""}, {"LINEARX", 2, ""}, {"TEXT", 3, ""}, {"TEXT", 4, ""}};
        QCOMPARE(lines(import(ps)), QStringList({"text A 1,1 9,9 first", "text A 1,1 9,9 second"}));
    }

    // An object with fewer points than its layer needs is skipped; the others still come.
    void skipsObjectsWithoutTheirPoints()
    {
        const PsGraphicObject onePoint{"POLYLINE", {{1, 1}}};
        const PsGraphicObject twoPoints{"POLYLINE", {{1, 1}, {5, 5}}};
        const Handler::Result result = import(state({
            {"LINEAR", {0}, {onePoint, PsLinear({2, 2}, {6, 6})}, {}},
            {"ANGLE", {0}, {twoPoints, PsAngle({0, 0}, {10, 0}, {10, 10})}, {}},
            {"LINE", {0}, {onePoint}, {}},
            {"ELLIPSE", {0}, {onePoint}, {}},
        }));
        QCOMPARE(lines(result), QStringList({"length A 2,2 6,6", "angle A 0,0 10,0 10,10"}));
    }

    // The window of a series is the last applicable object of its last image that has one.
    void givesEachSeriesItsLastWindow()
    {
        const Handler::Result result = import(state({
            {"WINDOWCENTER", {0}, {PsWindowCenter(400, 40), PsWindowCenter(1500.5f, -600.25f)}, {}},
            {"WINDOWCENTER", {1}, {PsWindowCenter(80, 35)}, {}},
        }));
        QVERIFY(result.shapes.empty());
        QCOMPARE(result.windows.size(), size_t(2));
        QCOMPARE(result.windows[0].nSeries, 0);
        QCOMPARE(result.windows[0].fWidth, 1500.5f);
        QCOMPARE(result.windows[0].fCentre, -600.25f);
        QCOMPARE(result.windows[1].nSeries, 1);
        QCOMPARE(result.windows[1].fWidth, 80.0f);
        QCOMPARE(result.windows[1].fCentre, 35.0f);
    }

    // --- Files that give nothing ----------------------------------------------------------

    void refusesWhatIsNoGrayscaleState_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("shapes");
        QTest::newRow("grayscale state") << "grayscale" << 10;
        QTest::newRow("colour state") << "colour" << 0;
        QTest::newRow("image passed as a state") << "image" << 0;
        QTest::newRow("missing path") << "missing" << 0;
        QTest::newRow("empty path") << "empty" << 0;
        QTest::newRow("no DICOM file") << "text" << 0;
    }
    void refusesWhatIsNoGrayscaleState()
    {
        QFETCH(QString, kind);
        QFETCH(int, shapes);
        QString path;
        if (kind == QLatin1String("grayscale")) {
            path = write(everyLayer());
        } else if (kind == QLatin1String("colour")) {
            PresentationStateData ps = everyLayer();
            ps.sopClassUid = UID_ColorSoftcopyPresentationStateStorage;
            path = write(ps);
        } else if (kind == QLatin1String("image")) {
            path = image("A").path;
        } else if (kind == QLatin1String("missing")) {
            path = m_dir.filePath(QStringLiteral("absent.dcm"));
        } else if (kind == QLatin1String("text")) {
            path = m_dir.filePath(QStringLiteral("notes.txt"));
            QCOMPARE(WriteNotDicom(path), QString());
        }
        const Handler::Result result = load(path);
        QCOMPARE(int(result.shapes.size()), shapes);
        QCOMPARE(result.windows.empty(), shapes == 0);
    }

    // --- The image header -----------------------------------------------------------------

    void describesTheImageFromItsHeader_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("uid");               // the file's SOP Instance UID; empty: none
        QTest::addColumn<QString>("pixelSpacing");
        QTest::addColumn<QString>("imagerPixelSpacing");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("columns");
        QTest::addColumn<bool>("known");
        QTest::addColumn<double>("rowSpacing");
        QTest::addColumn<double>("columnSpacing");
        QTest::newRow("file's UID first") << "plain" << "1.2.3.4" << "0.5\\0.6" << "" << "1.2.3.4" << 64 << true << 0.5 << 0.6;
        QTest::newRow("record's UID without one") << "plain" << "" << "" << "" << "record" << 64 << false << 1.0 << 1.0;
        QTest::newRow("pixel spacing first") << "plain" << "1.2.3.5" << "0.5\\0.6" << "0.2\\0.3" << "1.2.3.5" << 64 << true << 0.5 << 0.6;
        QTest::newRow("imager spacing without pixel spacing") << "plain" << "1.2.3.12" << "" << "0.2\\0.3" << "1.2.3.12" << 64 << true << 0.2 << 0.3;
        QTest::newRow("negative pixel spacing") << "plain" << "1.2.3.13" << "-1\\0.6" << "0.2\\0.3" << "1.2.3.13" << 64 << true << 0.2 << 0.3;
        QTest::newRow("negative imager spacing") << "plain" << "1.2.3.6" << "0.5\\0.6" << "-1\\0.3" << "1.2.3.6" << 64 << true << 0.5 << 0.6;
        QTest::newRow("zero spacing") << "plain" << "1.2.3.7" << "0\\0.6" << "" << "1.2.3.7" << 64 << true << 1.0 << 0.6;
        QTest::newRow("one spacing value") << "plain" << "1.2.3.8" << "0.5" << "" << "1.2.3.8" << 64 << false << 1.0 << 1.0;
        QTest::newRow("JPEG lossless") << "jpeg" << "1.2.3.9" << "0.5\\0.6" << "" << "1.2.3.9" << 64 << true << 0.5 << 0.6;
        QTest::newRow("pixel data cut off") << "truncated" << "1.2.3.10" << "0.5\\0.6" << "" << "1.2.3.10" << 64 << true << 0.5 << 0.6;
        QTest::newRow("missing file") << "missing" << "1.2.3.11" << "" << "" << "record" << 0 << false << 1.0 << 1.0;
    }
    void describesTheImageFromItsHeader()
    {
        QFETCH(QString, kind);
        QFETCH(QString, uid);
        QFETCH(QString, pixelSpacing);
        QFETCH(QString, imagerPixelSpacing);
        QFETCH(QString, key);
        QFETCH(int, columns);
        QFETCH(bool, known);
        QFETCH(double, rowSpacing);
        QFETCH(double, columnSpacing);
        ImageRecipe recipe = Preset(ImagePreset::Ct);
        recipe.columns = 64;
        recipe.rows = 48;
        recipe.pixelSpacing = pixelSpacing.toStdString();
        recipe.imagerPixelSpacing = imagerPixelSpacing.toStdString();
        recipe.sopInstanceUid = uid.toStdString();
        if (uid.isEmpty())
            recipe.extra.push_back({0x0008, 0x0018, ""});
        const QString path = m_dir.filePath(QStringLiteral("header-%1.dcm").arg(QTest::currentDataTag()));
        if (kind == QLatin1String("plain"))
            QCOMPARE(WriteImage(recipe, Syntax::ExplicitLittle, path), QString());
        else if (kind == QLatin1String("jpeg"))
            QCOMPARE(WriteImage(recipe, Syntax::JpegLossless, path), QString());
        else if (kind == QLatin1String("truncated"))
            QCOMPARE(WriteTruncated(recipe, path), QString());

        const Handler::ImageDescription image = Handler::DescribeImage(path, QStringLiteral("record"), 3);
        QCOMPARE(image.strKey, key);
        QCOMPARE(image.strFilePath, path);
        QCOMPARE(image.nSeries, 3);
        QCOMPARE(image.nColumns, columns);
        QCOMPARE(image.nRows, columns ? 48 : 0);
        QCOMPARE(image.bSpacingKnown, BOOL(known));
        QCOMPARE(image.dRowSpacing, rowSpacing);
        QCOMPARE(image.dColumnSpacing, columnSpacing);
    }
};

QTEST_MAIN(tst_CPresentationStateHandler)
#include "tst_CPresentationStateHandler.moc"
