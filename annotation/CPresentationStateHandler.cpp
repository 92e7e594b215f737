#include "annotation/CPresentationStateHandler.h"

// Qt
#include <QFile>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcspchrs.h>
#include <dcmtk/dcmpstat/dcmpstat.h>
#include <dcmtk/dcmpstat/dvpsda.h>
#include <dcmtk/dcmpstat/dvpsga.h>
#include <dcmtk/dcmpstat/dvpsgr.h>
#include <dcmtk/dcmpstat/dvpstx.h>

// std
#include <algorithm>
#include <cmath>
#include <set>
#include <functional>
#include <string>
#include <unordered_set>

// Orvane
#include "annotation/CShapeArrowLine.h"
#include "annotation/CShapeEllipse.h"
#include "annotation/CShapeLineAngle.h"
#include "annotation/CShapeLineLength.h"
#include "annotation/CShapeText.h"
#include "annotation/ShapeGeometry.h"
#include "platform/LastError.h"
#include "platform/NumberParse.h"
#include "platform/ReportSystemError.h"

using ShapeGeometry::Trunc;

namespace {

const COLORREF kShapeColour = 0x0000FF00; // green
const int kPenWidth = 1;
// Shapes carry no frame: the annotations of an image's first frame are imported
const unsigned long kFrame = 1;
const char* const kShapeFailure = "CPresentationStateHandler::OnLButtonUp, case LINELENGTH";

// The toolkit's reader of presentation states, with its displayed areas open to questions per
// SOP instance and frame, which it otherwise answers only for an attached image.
class AreaReader : public DcmPresentationState
{
public:
    DVPSDisplayedArea_PList& DisplayedAreas() { return displayedAreaSelectionList; }
};

std::string Latin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

// A top-level text attribute as the views read it; empty when absent.
QString ReadText(DcmItem& item, const DcmTagKey& tag)
{
    DcmElement* element = nullptr;
    OFString value;
    if (item.findAndGetElement(tag, element).bad() || !element || element->getOFString(value, 0, OFTrue).bad())
        return QString();
    return QString::fromLatin1(value.c_str());
}

// The two values of a spacing attribute; false when it has fewer or a negative one.
bool ReadSpacing(DcmItem& item, const DcmTagKey& tag, double values[2])
{
    DcmElement* element = nullptr;
    if (!item.tagExistsWithValue(tag) || item.findAndGetElement(tag, element).bad() || !element)
        return false;
    for (unsigned long i = 0; i < 2; ++i) {
        OFString text;
        if (element->getOFString(text, i, OFTrue).bad())
            return false;
        values[i] = AtoF(text.c_str());
        if (!(values[i] >= 0.0))
            return false;
        if (values[i] == 0.0)
            values[i] = 1.0;
    }
    return true;
}

} // namespace

// One read presentation state: its annotations, the images it references, their displayed
// areas and its character set.
class CPresentationStateHandler::State
{
public:
    /// The part of the selected image that DISPLAY units span, in image pixels: left and top
    /// edge, width and height.
    struct Area
    {
        double dLeft = 0.0;
        double dTop = 0.0;
        double dWidth = 0.0;
        double dHeight = 0.0;
    };

    bool Read(DcmDataset& dataset)
    {
        // The toolkit refuses a whole state for some bad annotation items and keeps others that
        // it later fails on: it reads the state without the items refused here
        const bool refused = ReadAnnotations(dataset);
        std::unique_ptr<DcmDataset> withoutRefused;
        if (refused) {
            withoutRefused = std::make_unique<DcmDataset>(dataset);
            RemoveRefusedAnnotations(*withoutRefused);
        }
        if (m_reader.read(withoutRefused ? *withoutRefused : dataset).bad())
            return false;
        for (size_t i = 0; i < m_reader.numberOfImageReferences(); ++i) {
            OFString study, series, sopClass, instance, frames, aeTitle, filesetId, filesetUid;
            if (m_reader.getImageReference(i, study, series, sopClass, instance, frames, aeTitle, filesetId, filesetUid).good())
                m_referenced.insert(instance.c_str());
        }
        for (size_t i = 0; i < m_reader.getNumberOfGraphicLayers(); ++i)
            if (const char* layer = m_reader.getGraphicLayerName(i))
                m_layers.insert(layer);
        m_bConvert = m_charset.selectCharacterSet(dataset).good();
        return true;
    }

    /// The image the next questions are about, as the views key it.
    void SelectImage(const QString& key) { m_uid = Latin1(key); }

    /// Whether the state's Referenced Series Sequence lists the selected image.
    bool ReferencesImage() const { return !m_uid.empty() && m_referenced.count(m_uid) != 0; }

    /// Whether a graphic layer of exactly that name exists. Objects are asked for by layer
    /// name, so a name the layer list holds twice is read once.
    bool HasLayer(const char* name) const { return m_layers.count(name) != 0; }

    /// The graphic objects of every annotation on the layer for the selected image's first frame.
    std::vector<DVPSGraphicObject*> Graphics(const char* layer)
    {
        std::vector<DVPSGraphicObject*> objects;
        for (Annotation& annotation : m_annotations)
            if (annotation.layer == layer && annotation.item->isApplicable(m_uid.c_str(), kFrame))
                for (size_t i = 0; i < annotation.item->getNumberOfGraphicObjects(); ++i)
                    if (DVPSGraphicObject* object = annotation.item->getGraphicObject(i))
                        objects.push_back(object);
        return objects;
    }

    std::vector<DVPSTextObject*> Texts(const char* layer)
    {
        std::vector<DVPSTextObject*> objects;
        for (Annotation& annotation : m_annotations)
            if (annotation.layer == layer && annotation.item->isApplicable(m_uid.c_str(), kFrame))
                for (size_t i = 0; i < annotation.item->getNumberOfTextObjects(); ++i)
                    if (DVPSTextObject* object = annotation.item->getTextObject(i))
                        objects.push_back(object);
        return objects;
    }

    /// The displayed area the state gives the selected image's first frame; the whole image
    /// when it gives none. Its corners name the first and the last pixel shown, counted from 1.
    Area DisplayedArea(const CPresentationStateHandler::ImageDescription& image)
    {
        Area area{0.0, 0.0, double(image.nColumns), double(image.nRows)};
        if (DVPSDisplayedArea* shown = m_reader.DisplayedAreas().findDisplayedArea(m_uid.c_str(), kFrame)) {
            Sint32 left = 0, top = 0, right = 0, bottom = 0;
            shown->getDisplayedArea(left, top, right, bottom);
            area = {double(left) - 1.0, double(top) - 1.0, double(right) - double(left) + 1.0,
                    double(bottom) - double(top) + 1.0};
        }
        return area;
    }

    /// A text of the state in UTF-8 after its Specific Character Set. Without a usable set,
    /// valid UTF-8 stays and anything else is taken as Latin-1, as older files mean it.
    QString Decode(const char* text)
    {
        if (!text)
            return QString();
        OFString converted;
        if (m_bConvert && m_charset.convertString(text, converted).good())
            return QString::fromUtf8(converted.c_str(), int(converted.length()));
        const QByteArray bytes(text);
        const QString utf8 = QString::fromUtf8(bytes);
        return utf8.toUtf8() == bytes ? utf8 : QString::fromLatin1(bytes);
    }

private:
    struct Annotation
    {
        std::string layer;
        std::unique_ptr<DVPSGraphicAnnotation> item;
    };

    // An annotation item read on its own; null when it names no layer or can't be read.
    static std::unique_ptr<DVPSGraphicAnnotation> ReadAnnotation(DcmObject* object, std::string& layer)
    {
        auto* item = dynamic_cast<DcmItem*>(object);
        OFString name;
        if (!item || item->findAndGetOFString(DCM_GraphicLayer, name).bad() || name.empty())
            return nullptr;
        auto annotation = std::make_unique<DVPSGraphicAnnotation>();
        if (annotation->read(*item).bad())
            return nullptr;
        layer = name.c_str();
        return annotation;
    }

    // Each item of the Graphic Annotation Sequence on its own (the toolkit's list of them
    // compares layer names unchecked and fails on an item without one): an item that can't be
    // read or names no layer is refused, the others stay. True when one was refused.
    bool ReadAnnotations(DcmItem& dataset)
    {
        DcmSequenceOfItems* sequence = nullptr;
        if (dataset.findAndGetSequence(DCM_GraphicAnnotationSequence, sequence).bad() || !sequence)
            return false;
        bool refused = false;
        for (DcmObject* object = sequence->nextInContainer(nullptr); object; object = sequence->nextInContainer(object)) {
            std::string layer;
            std::unique_ptr<DVPSGraphicAnnotation> annotation = ReadAnnotation(object, layer);
            if (annotation)
                m_annotations.push_back({layer, std::move(annotation)});
            else
                refused = true;
        }
        return refused;
    }

    static void RemoveRefusedAnnotations(DcmItem& dataset)
    {
        DcmSequenceOfItems* sequence = nullptr;
        if (dataset.findAndGetSequence(DCM_GraphicAnnotationSequence, sequence).bad() || !sequence)
            return;
        std::vector<DcmObject*> refused;
        for (DcmObject* object = sequence->nextInContainer(nullptr); object; object = sequence->nextInContainer(object)) {
            std::string layer;
            if (!ReadAnnotation(object, layer))
                refused.push_back(object);
        }
        for (DcmObject* object : refused)
            if (auto* item = dynamic_cast<DcmItem*>(object))
                delete sequence->remove(item);
        if (sequence->card() == 0)
            dataset.findAndDeleteElement(DCM_GraphicAnnotationSequence);
    }

    AreaReader m_reader;
    std::vector<Annotation> m_annotations;
    std::unordered_set<std::string> m_referenced;
    std::set<std::string, std::less<>> m_layers;
    std::string m_uid;
    DcmSpecificCharacterSet m_charset;
    bool m_bConvert = false;
};

namespace {

using Area = CPresentationStateHandler::State::Area;

// A coordinate pair of an object in image pixels, exact: PIXEL units as they are, DISPLAY units
// as fractions of the displayed area. False when not finite, or when DISPLAY units have no
// area to span.
bool ToImage(double x, double y, DVPSannotationUnit units, const Area& area, double& imageX, double& imageY)
{
    if (units == DVPSA_display) {
        if (!(area.dWidth > 0.0) || !(area.dHeight > 0.0))
            return false;
        x = area.dLeft + x * area.dWidth;
        y = area.dTop + y * area.dHeight;
    }
    if (!std::isfinite(x) || !std::isfinite(y))
        return false;
    imageX = x;
    imageY = y;
    return true;
}

// An exact image position as a shape's point: PIXEL coordinates truncated toward zero, DISPLAY
// ones (products of fractions) rounded to the nearest pixel.
CDoublePoint ToShapePoint(double x, double y, DVPSannotationUnit units)
{
    if (units == DVPSA_display)
        return CDoublePoint(Trunc(std::round(x)), Trunc(std::round(y)));
    return CDoublePoint(Trunc(x), Trunc(y));
}

bool ToImagePoint(double x, double y, DVPSannotationUnit units, const Area& area, CDoublePoint& point)
{
    double imageX = 0.0, imageY = 0.0;
    if (!ToImage(x, y, units, area, imageX, imageY))
        return false;
    point = ToShapePoint(imageX, imageY, units);
    return true;
}

struct Exact
{
    double x = 0.0;
    double y = 0.0;
};

// The first `count` points of a graphic object in exact image pixels; false when it has fewer
// readable ones.
bool ReadExactPoints(DVPSGraphicObject& object, size_t count, const Area& area, std::vector<Exact>& points)
{
    if (object.getNumberOfPoints() < count)
        return false;
    const DVPSannotationUnit units = object.getAnnotationUnits();
    points.clear();
    for (size_t i = 0; i < count; ++i) {
        Float32 x = 0, y = 0;
        Exact point;
        if (object.getPoint(i, x, y).bad() || !ToImage(x, y, units, area, point.x, point.y))
            return false;
        points.push_back(point);
    }
    return true;
}

// The first `count` points of a graphic object as shape points; false when it has fewer
// readable ones.
bool ReadPoints(DVPSGraphicObject& object, size_t count, const Area& area, std::vector<CDoublePoint>& points)
{
    std::vector<Exact> exact;
    if (!ReadExactPoints(object, count, area, exact))
        return false;
    const DVPSannotationUnit units = object.getAnnotationUnits();
    points.clear();
    for (const Exact& p : exact)
        points.push_back(ToShapePoint(p.x, p.y, units));
    return true;
}

// The box an ellipse shape takes for a graphic object, as two opposite corners: an ELLIPSE
// (the ends of its major axis, then of its minor axis) and a CIRCLE (its centre, then a point
// on it) by the box around the curve, so a turned ellipse by its bounding box; any other type
// by its points 0 and 1. False when the object has fewer readable points than its type needs.
bool EllipseBox(DVPSGraphicObject& object, const Area& area, std::vector<CDoublePoint>& corners)
{
    const DVPSGraphicType type = object.getGraphicType();
    if (type != DVPST_ellipse && type != DVPST_circle)
        return ReadPoints(object, 2, area, corners);
    std::vector<Exact> p;
    if (!ReadExactPoints(object, type == DVPST_ellipse ? 4 : 2, area, p))
        return false;
    double cx = 0.0, cy = 0.0, halfWidth = 0.0, halfHeight = 0.0;
    if (type == DVPST_circle) {
        cx = p[0].x;
        cy = p[0].y;
        halfWidth = halfHeight = std::hypot(p[1].x - p[0].x, p[1].y - p[0].y);
    } else {
        cx = (p[0].x + p[1].x) / 2.0;
        cy = (p[0].y + p[1].y) / 2.0;
        // Semi-axes as vectors: the major one as drawn, the minor one across it at its length
        const double ax = (p[1].x - p[0].x) / 2.0, ay = (p[1].y - p[0].y) / 2.0;
        const double a = std::hypot(ax, ay);
        const double b = std::hypot(p[3].x - p[2].x, p[3].y - p[2].y) / 2.0;
        double bx = (p[3].x - p[2].x) / 2.0, by = (p[3].y - p[2].y) / 2.0;
        if (a > 0.0) {
            bx = -ay / a * b;
            by = ax / a * b;
        }
        halfWidth = std::hypot(ax, bx);
        halfHeight = std::hypot(ay, by);
    }
    if (!std::isfinite(halfWidth) || !std::isfinite(halfHeight))
        return false;
    const DVPSannotationUnit units = object.getAnnotationUnits();
    corners = {ToShapePoint(cx - halfWidth, cy - halfHeight, units), ToShapePoint(cx + halfWidth, cy + halfHeight, units)};
    return true;
}

void SetSpacing(CShapeCollection& shape, const CPresentationStateHandler::ImageDescription& image)
{
    shape.SetPixelSpacing(image.bSpacingKnown, image.dRowSpacing, image.dColumnSpacing);
}

// Keys, tags and hands over one made shape; a failure is reported and the object skipped.
void AddShape(const std::function<std::unique_ptr<CShapeCollection>()>& make,
              const CPresentationStateHandler::ImageDescription& image, const QString& tag,
              CPresentationStateHandler::Result& result)
{
    try {
        std::unique_ptr<CShapeCollection> shape = make();
        if (!shape)
            return;
        shape->SetImageKey(image.strKey);
        shape->SetTag(tag);
        result.shapes.push_back(std::move(shape));
    } catch (...) {
        ReportSystemError(GetLastError(), kShapeFailure);
    }
}

using PointReader = std::function<bool(DVPSGraphicObject&, const Area&, std::vector<CDoublePoint>&)>;
using ShapeMaker = std::function<std::unique_ptr<CShapeCollection>(const std::vector<CDoublePoint>&)>;

// The shapes of a layer whose objects are point lists: one per object whose points `read` takes.
void ImportPointLayer(CPresentationStateHandler::State& state, const char* layer,
                      const CPresentationStateHandler::ImageDescription& image, const QString& tag,
                      CPresentationStateHandler::Result& result, const PointReader& read, const ShapeMaker& make)
{
    if (!state.HasLayer(layer))
        return;
    const Area area = state.DisplayedArea(image);
    std::vector<CDoublePoint> points;
    for (DVPSGraphicObject* object : state.Graphics(layer)) {
        if (!read(*object, area, points))
            continue;
        AddShape([&] { return make(points); }, image, tag, result);
    }
}

// The shapes of a layer from the first `count` points of each object.
void ImportPointLayer(CPresentationStateHandler::State& state, const char* layer, size_t count,
                      const CPresentationStateHandler::ImageDescription& image, const QString& tag,
                      CPresentationStateHandler::Result& result, const ShapeMaker& make)
{
    ImportPointLayer(
        state, layer, image, tag, result,
        [count](DVPSGraphicObject& object, const Area& area, std::vector<CDoublePoint>& points) {
            return ReadPoints(object, count, area, points);
        },
        make);
}

} // namespace

CPresentationStateHandler::CPresentationStateHandler() = default;

CPresentationStateHandler::~CPresentationStateHandler() = default;

CPresentationStateHandler::ImageDescription CPresentationStateHandler::DescribeImage(const QString& path,
                                                                                     const QString& recordUid, int nSeries)
{
    ImageDescription image;
    image.strKey = recordUid;
    image.strFilePath = path;
    image.nSeries = nSeries;
    DcmFileFormat file;
    if (file.loadFileUntilTag(QFile::encodeName(path).constData(), EXS_Unknown, EGL_noChange, DCM_MaxReadLength,
                              ERM_autoDetect, DCM_PixelData)
            .bad())
        return image;
    DcmDataset* dataset = file.getDataset();
    if (!dataset)
        return image;
    const QString uid = ReadText(*dataset, DCM_SOPInstanceUID);
    if (!uid.isEmpty())
        image.strKey = uid;
    Uint16 value = 0;
    if (dataset->findAndGetUint16(DCM_Columns, value).good())
        image.nColumns = value;
    if (dataset->findAndGetUint16(DCM_Rows, value).good())
        image.nRows = value;
    double spacing[2] = {1.0, 1.0};
    // Measurements take the spacing in the patient; a projection image without one, its detector's
    if (ReadSpacing(*dataset, DCM_PixelSpacing, spacing) || ReadSpacing(*dataset, DCM_ImagerPixelSpacing, spacing)) {
        image.bSpacingKnown = TRUE;
        image.dRowSpacing = spacing[0];
        image.dColumnSpacing = spacing[1];
    }
    return image;
}

CPresentationStateHandler::Result CPresentationStateHandler::LoadPresentationState(const char* path,
                                                                                  const std::vector<ImageDescription>& images,
                                                                                  const QString& tag, CFont* pTextFont)
{
    if (!path || !*path)
        return {};
    DcmFileFormat file;
    if (file.loadFile(path, EXS_Unknown, EGL_noChange, DCM_MaxReadLength, ERM_autoDetect).bad())
        return {};
    DcmDataset* dataset = file.getDataset();
    if (!dataset)
        return {};
    return ApplyPresentationState(dataset, images, tag, pTextFont);
}

CPresentationStateHandler::Result CPresentationStateHandler::ApplyPresentationState(DcmDataset* dataset,
                                                                                   const std::vector<ImageDescription>& images,
                                                                                   const QString& tag, CFont* pTextFont)
{
    Result result;
    State state;
    if (!dataset || !state.Read(*dataset))
        return result;
    for (const ImageDescription& image : images) {
        // Annotations without image references apply to the state's images, not to any image
        state.SelectImage(image.strKey);
        if (!state.ReferencesImage())
            continue;
        ImportLinearLayer(state, image, tag, pTextFont, result);
        ImportAngleLayer(state, image, tag, result);
        ImportLineLayer(state, image, tag, result);
        ImportTextLayer(state, image, tag, pTextFont, result);
        ImportEllipseLayer(state, image, tag, pTextFont, result);
        ImportWindowCenterLayer(state, image, result);
    }
    return result;
}

void CPresentationStateHandler::ImportLinearLayer(State& state, const ImageDescription& image, const QString& tag,
                                                  CFont* pTextFont, Result& result)
{
    ImportPointLayer(state, "LINEAR", 2, image, tag, result, [&](const std::vector<CDoublePoint>& p) {
        auto shape = std::make_unique<CShapeLineLength>(&p[0], &p[1], &kShapeColour, &kPenWidth);
        shape->SetTextFont(pTextFont);
        SetSpacing(*shape, image);
        return shape;
    });
}

void CPresentationStateHandler::ImportAngleLayer(State& state, const ImageDescription& image, const QString& tag, Result& result)
{
    ImportPointLayer(state, "ANGLE", 3, image, tag, result, [&](const std::vector<CDoublePoint>& p) {
        auto shape = std::make_unique<CShapeLineAngle>(&p[0], &p[1], &kShapeColour, &kPenWidth);
        shape->SetEndPoint(p[2]);
        SetSpacing(*shape, image);
        shape->m_nRenderMode = 0;
        return shape;
    });
}

void CPresentationStateHandler::ImportLineLayer(State& state, const ImageDescription& image, const QString& tag, Result& result)
{
    ImportPointLayer(state, "LINE", 2, image, tag, result, [&](const std::vector<CDoublePoint>& p) {
        return std::make_unique<CShapeArrowLine>(&p[0], &p[1], &kShapeColour, &kPenWidth);
    });
}

void CPresentationStateHandler::ImportTextLayer(State& state, const ImageDescription& image, const QString& tag,
                                                CFont* pTextFont, Result& result)
{
    const char* const layer = "TEXT";
    if (!state.HasLayer(layer))
        return;
    const Area area = state.DisplayedArea(image);
    for (DVPSTextObject* object : state.Texts(layer)) {
        CDoublePoint start, end;
        if (object->haveBoundingBox()) {
            const DVPSannotationUnit units = object->getBoundingBoxAnnotationUnits();
            if (!ToImagePoint(object->getBoundingBoxTLHC_x(), object->getBoundingBoxTLHC_y(), units, area, start) ||
                !ToImagePoint(object->getBoundingBoxBRHC_x(), object->getBoundingBoxBRHC_y(), units, area, end))
                continue;
        } else if (object->haveAnchorPoint()) {
            // The text starts at its anchor and may take the image to its right and below
            if (!ToImagePoint(object->getAnchorPoint_x(), object->getAnchorPoint_y(), object->getAnchorPointAnnotationUnits(),
                              area, start))
                continue;
            end = CDoublePoint(std::max(double(image.nColumns), start.x + 1.0), std::max(double(image.nRows), start.y + 1.0));
        } else {
            continue;
        }
        const QString text = state.Decode(object->getText());
        AddShape(
            [&]() -> std::unique_ptr<CShapeCollection> {
                auto shape = std::make_unique<CShapeText>(&start, &end, pTextFont, QString(), kShapeColour);
                shape->SetText(text);
                shape->SetTextFont(pTextFont);
                SetSpacing(*shape, image);
                shape->m_nRenderMode = 0;
                return shape;
            },
            image, tag, result);
    }
}

void CPresentationStateHandler::ImportEllipseLayer(State& state, const ImageDescription& image, const QString& tag,
                                                   CFont* pTextFont, Result& result)
{
    ImportPointLayer(state, "ELLIPSE", image, tag, result, EllipseBox, [&](const std::vector<CDoublePoint>& p) {
        auto shape = std::make_unique<CShapeEllipse>(&p[0], &p[1], &kShapeColour, &kPenWidth);
        shape->SetTextFont(pTextFont);
        SetSpacing(*shape, image);
        shape->m_nRenderMode = 0;
        return shape;
    });
}

void CPresentationStateHandler::ImportWindowCenterLayer(State& state, const ImageDescription& image, Result& result)
{
    const char* const layer = "WINDOWCENTER";
    if (!state.HasLayer(layer))
        return;
    for (DVPSGraphicObject* object : state.Graphics(layer)) {
        // The point is a window, width first: neither a position nor scaled
        Float32 width = 0, centre = 0;
        if (object->getNumberOfPoints() < 1 || object->getPoint(0, width, centre).bad())
            continue;
        if (!std::isfinite(width) || !std::isfinite(centre))
            continue;
        SeriesWindow* window = nullptr;
        for (SeriesWindow& each : result.windows)
            if (each.nSeries == image.nSeries)
                window = &each;
        if (!window) {
            result.windows.push_back({image.nSeries, 0.0f, 0.0f});
            window = &result.windows.back();
        }
        window->fWidth = width;
        window->fCentre = centre;
    }
}
