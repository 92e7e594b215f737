// The presentation states the generator writes, read back through DCMTK's presentation-state
// module the way the viewer's import reads them: layers by name, objects for an attached image.

// Qt
#include <QTemporaryDir>
#include <QTest>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmpstat/dvpsgr.h>
#include <dcmtk/dcmpstat/dvpstat.h>
#include <dcmtk/dcmpstat/dvpstx.h>

// std
#include <memory>
#include <vector>

// Orvane
#include "tools/fixtures/DicomDirFixtures.h"
#include "tools/fixtures/PresentationStateFixtures.h"

using namespace Fixtures;

namespace {

struct Image
{
    MinimalImage image;
    PsImageRef ref;
    QString path;
};

// A presentation state read and attached to one image, as the import does it.
class Attached
{
public:
    Attached(const QString& statePath, const QString& imagePath)
    {
        m_readOk = m_stateFile.loadFile(QFile::encodeName(statePath).constData()).good()
                   && m_state.read(*m_stateFile.getDataset()).good();
        m_attachOk = m_readOk && m_imageFile.loadFile(QFile::encodeName(imagePath).constData()).good()
                     && m_state.attachImage(m_imageFile.getDataset(), OFFalse).good();
    }
    ~Attached() { m_state.detachImage(); }

    bool ok() const { return m_readOk && m_attachOk; }
    DVPresentationState& state() { return m_state; }

    /// The index of the first layer named exactly `name`; -1 when none.
    int layer(const char* name)
    {
        for (size_t i = 0; i < m_state.getNumberOfGraphicLayers(); ++i)
            if (qstrcmp(m_state.getGraphicLayerName(i), name) == 0)
                return int(i);
        return -1;
    }

    QStringList layerNames()
    {
        QStringList names;
        for (size_t i = 0; i < m_state.getNumberOfGraphicLayers(); ++i)
            names << QString::fromLatin1(m_state.getGraphicLayerName(i));
        return names;
    }

    /// The points of the graphic objects handed out for the attached image on `layer`.
    std::vector<std::vector<QPointF>> graphics(int layer)
    {
        std::vector<std::vector<QPointF>> objects;
        if (layer < 0)
            return objects;
        for (size_t i = 0; i < m_state.getNumberOfGraphicObjects(size_t(layer)); ++i) {
            DVPSGraphicObject* object = m_state.getGraphicObject(size_t(layer), i);
            std::vector<QPointF> points;
            for (size_t p = 0; object && p < object->getNumberOfPoints(); ++p) {
                Float32 x = 0, y = 0;
                if (object->getPoint(p, x, y).good())
                    points.emplace_back(x, y);
            }
            objects.push_back(points);
        }
        return objects;
    }

private:
    DcmFileFormat m_stateFile;
    DcmFileFormat m_imageFile;
    DVPresentationState m_state;
    bool m_readOk = false;
    bool m_attachOk = false;
};

} // namespace

class tst_PresentationStateFixtures : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::vector<Image> m_images;

    QString write(const PresentationStateData& ps, const char* name)
    {
        const QString path = m_dir.filePath(QString::fromLatin1(name));
        const QString error = WritePresentationState(ps, path);
        if (!error.isEmpty())
            qWarning("%s", qPrintable(error));
        return error.isEmpty() ? path : QString();
    }

    PresentationStateData stateFor(std::vector<PsAnnotation> annotations)
    {
        PresentationStateData ps;
        ps.studyInstanceUid = m_images[0].image.studyInstanceUid;
        ps.images = {m_images[0].ref, m_images[1].ref};
        ps.annotations = std::move(annotations);
        return ps;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const std::string study = NewUid();
        const std::string series = NewUid();
        for (int i = 0; i < 2; ++i) {
            Image image;
            image.image.studyInstanceUid = study;
            image.image.seriesInstanceUid = series;
            image.image.instanceNumber = std::to_string(i + 1);
            image.image.rows = 64;
            image.image.columns = 64;
            image.path = m_dir.filePath(QStringLiteral("image%1.dcm").arg(i));
            QCOMPARE(WriteMinimalImage(image.image, image.path), QString());
            image.ref.sopClassUid = SopClassFor(image.image.modality, image.image.frames);
            image.ref.sopInstanceUid = image.image.sopInstanceUid;
            image.ref.seriesInstanceUid = series;
            image.ref.rows = image.ref.columns = 64;
            m_images.push_back(image);
        }
    }

    void everyLayerReadsBack()
    {
        PresentationStateData ps = EveryLayer({m_images[0].ref, m_images[1].ref});
        ps.studyInstanceUid = m_images[0].image.studyInstanceUid;
        const QString path = write(ps, "every.dcm");
        QVERIFY(!path.isEmpty());

        Attached a(path, m_images[0].path);
        QVERIFY(a.ok());
        QCOMPARE(a.layerNames(), QStringList({"LINEAR", "ANGLE", "LINE", "TEXT", "ELLIPSE", "WINDOWCENTER"}));

        using Points = std::vector<QPointF>;
        QCOMPARE(a.graphics(a.layer("LINEAR")), std::vector<Points>({{{10, 10}, {50, 10}}}));
        QCOMPARE(a.graphics(a.layer("ANGLE")), std::vector<Points>({{{0, 0}, {10, 0}, {10, 10}}}));
        QCOMPARE(a.graphics(a.layer("LINE")), std::vector<Points>({{{5, 5}, {20, 30}}}));
        const auto ellipse = a.graphics(a.layer("ELLIPSE"));
        QCOMPARE(ellipse.size(), size_t(1));
        // The two axes of the ellipse inscribed in (8,8)-(24,16)
        QCOMPARE(ellipse[0], Points({{8, 12}, {24, 12}, {16, 8}, {16, 16}}));
        QCOMPARE(a.graphics(a.layer("WINDOWCENTER")), std::vector<Points>({{{400, 40}}}));

        const int text = a.layer("TEXT");
        QCOMPARE(a.state().getNumberOfTextObjects(size_t(text)), size_t(1));
        DVPSTextObject* object = a.state().getTextObject(size_t(text), 0);
        QVERIFY(object && object->haveBoundingBox());
        QCOMPARE(QString::fromLatin1(object->getText()), QStringLiteral("Note"));
        QCOMPARE(object->getBoundingBoxTLHC_x(), 2.0);
        QCOMPARE(object->getBoundingBoxTLHC_y(), 2.0);
        QCOMPARE(object->getBoundingBoxBRHC_x(), 40.0);
        QCOMPARE(object->getBoundingBoxBRHC_y(), 12.0);
    }

    // Objects referring to image 0 only are not handed out for image 1; objects without
    // image references apply to every referenced image.
    void appliesToReferencedImagesOnly_data()
    {
        QTest::addColumn<QVector<int>>("images");
        QTest::addColumn<int>("countOnImage0");
        QTest::addColumn<int>("countOnImage1");
        QTest::newRow("image 0") << QVector<int>{0} << 1 << 0;
        QTest::newRow("image 1") << QVector<int>{1} << 0 << 1;
        QTest::newRow("every image") << QVector<int>{} << 1 << 1;
    }
    void appliesToReferencedImagesOnly()
    {
        QFETCH(QVector<int>, images);
        QFETCH(int, countOnImage0);
        QFETCH(int, countOnImage1);
        const PresentationStateData ps = stateFor({{"LINEAR", {images.begin(), images.end()}, {PsLinear({1, 2}, {3, 4})}, {}}});
        const QString path = write(ps, "refs.dcm");
        QVERIFY(!path.isEmpty());
        {
            Attached a(path, m_images[0].path);
            QVERIFY(a.ok());
            QCOMPARE(int(a.graphics(a.layer("LINEAR")).size()), countOnImage0);
        }
        {
            Attached a(path, m_images[1].path);
            QVERIFY(a.ok());
            QCOMPARE(int(a.graphics(a.layer("LINEAR")).size()), countOnImage1);
        }
    }

    // Layer names go down exactly as given: case, further characters, duplicates.
    void keepsLayerNamesAsWritten()
    {
        PresentationStateData ps = stateFor({
            {"linear", {0}, {PsLinear({1, 1}, {2, 2})}, {}},
            {"LINEARX", {0}, {PsLinear({3, 3}, {4, 4})}, {}},
            {"TEXT", {0}, {}, {PsText("first", {1, 1}, {9, 9})}},
            {"TEXT", {0}, {}, {PsText("second", {1, 1}, {9, 9})}},
        });
        ps.layers = {{"linear", 1, ""}, {"LINEARX", 2, ""}, {"TEXT", 3, ""}};
        const QString path = write(ps, "names.dcm");
        QVERIFY(!path.isEmpty());
        Attached a(path, m_images[0].path);
        QVERIFY(a.ok());
        QCOMPARE(a.layerNames(), QStringList({"linear", "LINEARX", "TEXT"}));
        QCOMPARE(a.layer("LINEAR"), -1);
        QCOMPARE(a.state().getNumberOfTextObjects(size_t(a.layer("TEXT"))), size_t(2));
    }

    void keepsFractionalAndNegativeCoordinates()
    {
        const PresentationStateData ps = stateFor({{"LINEAR", {0}, {PsLinear({10.7f, -0.5f}, {3.25f, 4})}, {}}});
        const QString path = write(ps, "fractions.dcm");
        QVERIFY(!path.isEmpty());
        Attached a(path, m_images[0].path);
        QVERIFY(a.ok());
        const auto objects = a.graphics(a.layer("LINEAR"));
        QCOMPARE(objects.size(), size_t(1));
        QCOMPARE(objects[0][0].x(), double(10.7f));
        QCOMPARE(objects[0][0].y(), -0.5);
        QCOMPARE(objects[0][1].x(), 3.25);
    }

    void textWithoutBoundingBox()
    {
        PsTextObject text;
        text.text = "anchored";
        text.hasBoundingBox = false;
        text.hasAnchor = true;
        text.anchor = {5, 6};
        const QString path = write(stateFor({{"TEXT", {0}, {}, {text}}}), "anchor.dcm");
        QVERIFY(!path.isEmpty());
        Attached a(path, m_images[0].path);
        QVERIFY(a.ok());
        DVPSTextObject* object = a.state().getTextObject(size_t(a.layer("TEXT")), 0);
        QVERIFY(object);
        QVERIFY(!object->haveBoundingBox());
        QVERIFY(object->haveAnchorPoint());
    }
};

QTEST_GUILESS_MAIN(tst_PresentationStateFixtures)
#include "tst_PresentationStateFixtures.moc"
