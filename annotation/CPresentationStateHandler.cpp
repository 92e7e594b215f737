#include "annotation/CPresentationStateHandler.h"

// Qt
#include <QFile>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcspchrs.h>
#include <dcmtk/dcmpstat/dcmpstat.h>
#include <dcmtk/dcmpstat/dvpsgal.h>
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

// The toolkit's reader of presentation states, with its graphic annotation list open to
// questions per SOP instance and frame, which it otherwise answers only for an attached image.
class AnnotationReader : public DcmPresentationState
{
public:
    DVPSGraphicAnnotation_PList& Annotations() { return graphicAnnotationList; }
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

// One read presentation state: its annotations, the images it references and its character set.
class CPresentationStateHandler::State
{
public:
    bool Read(DcmDataset& dataset)
    {
        if (m_reader.read(dataset).bad())
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
        DVPSGraphicAnnotation_PList& list = m_reader.Annotations();
        return Collect(list.getNumberOfGraphicObjects(layer, m_uid.c_str(), kFrame),
                       [&](size_t i) { return list.getGraphicObject(layer, m_uid.c_str(), kFrame, i); });
    }

    std::vector<DVPSTextObject*> Texts(const char* layer)
    {
        DVPSGraphicAnnotation_PList& list = m_reader.Annotations();
        return Collect(list.getNumberOfTextObjects(layer, m_uid.c_str(), kFrame),
                       [&](size_t i) { return list.getTextObject(layer, m_uid.c_str(), kFrame, i); });
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
    // The objects the toolkit hands out for indexes below `count`; null ones left out.
    template <typename Get>
    static auto Collect(size_t count, Get get) -> std::vector<decltype(get(0))>
    {
        std::vector<decltype(get(0))> objects;
        for (size_t i = 0; i < count; ++i)
            if (auto* object = get(i))
                objects.push_back(object);
        return objects;
    }

    AnnotationReader m_reader;
    std::unordered_set<std::string> m_referenced;
    std::set<std::string, std::less<>> m_layers;
    std::string m_uid;
    DcmSpecificCharacterSet m_charset;
    bool m_bConvert = false;
};

namespace {

// A point of an object in image pixels, each coordinate truncated toward zero. DISPLAY units
// are fractions of the image's columns and rows; false when those are unknown.
bool ToImagePoint(double x, double y, DVPSannotationUnit units, const CPresentationStateHandler::ImageDescription& image,
                  CDoublePoint& point)
{
    if (units == DVPSA_display) {
        if (image.nColumns <= 0 || image.nRows <= 0)
            return false;
        x *= image.nColumns;
        y *= image.nRows;
    }
    if (!std::isfinite(x) || !std::isfinite(y))
        return false;
    point = CDoublePoint(Trunc(x), Trunc(y));
    return true;
}

// The first `count` points of a graphic object; false when it has fewer readable ones.
bool ReadPoints(DVPSGraphicObject& object, size_t count, const CPresentationStateHandler::ImageDescription& image,
                std::vector<CDoublePoint>& points)
{
    if (object.getNumberOfPoints() < count)
        return false;
    const DVPSannotationUnit units = object.getAnnotationUnits();
    points.clear();
    for (size_t i = 0; i < count; ++i) {
        Float32 x = 0, y = 0;
        CDoublePoint point;
        if (object.getPoint(i, x, y).bad() || !ToImagePoint(x, y, units, image, point))
            return false;
        points.push_back(point);
    }
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

// The shapes of a layer whose objects are point lists: one per object with `count` points.
void ImportPointLayer(CPresentationStateHandler::State& state, const char* layer, size_t count,
                      const CPresentationStateHandler::ImageDescription& image, const QString& tag,
                      CPresentationStateHandler::Result& result,
                      const std::function<std::unique_ptr<CShapeCollection>(const std::vector<CDoublePoint>&)>& make)
{
    if (!state.HasLayer(layer))
        return;
    std::vector<CDoublePoint> points;
    for (DVPSGraphicObject* object : state.Graphics(layer)) {
        if (!ReadPoints(*object, count, image, points))
            continue;
        AddShape([&] { return make(points); }, image, tag, result);
    }
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
    if (ReadSpacing(*dataset, DCM_ImagerPixelSpacing, spacing) || ReadSpacing(*dataset, DCM_PixelSpacing, spacing)) {
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
    for (DVPSTextObject* object : state.Texts(layer)) {
        CDoublePoint start, end;
        if (object->haveBoundingBox()) {
            const DVPSannotationUnit units = object->getBoundingBoxAnnotationUnits();
            if (!ToImagePoint(object->getBoundingBoxTLHC_x(), object->getBoundingBoxTLHC_y(), units, image, start) ||
                !ToImagePoint(object->getBoundingBoxBRHC_x(), object->getBoundingBoxBRHC_y(), units, image, end))
                continue;
        } else if (object->haveAnchorPoint()) {
            // The text starts at its anchor and may take the image to its right and below
            if (!ToImagePoint(object->getAnchorPoint_x(), object->getAnchorPoint_y(), object->getAnchorPointAnnotationUnits(),
                              image, start))
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
    ImportPointLayer(state, "ELLIPSE", 2, image, tag, result, [&](const std::vector<CDoublePoint>& p) {
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
