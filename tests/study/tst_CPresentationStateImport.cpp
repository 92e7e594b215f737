// The default presentation-state import of a study load: over a generated file set started as
// the program starts, a study's state puts its shapes into the grid, keyed as the views key
// their images, draws them on the image shown and sets its series windows, once. Without a
// grid only the windows are set.

// Qt
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/oflog/oflog.h>

// std
#include <memory>

// Orvane
#include "annotation/CShapeCollection.h"
#include "app/CMainFrame.h"
#include "app/COstrevanApp.h"
#include "platform/MessageNotifier.h"
#include "study/CPresentationStateImport.h"
#include "study/CStudyInfo.h"
#include "study/CStudyList.h"
#include "study/DicomCodecs.h"
#include "tools/fixtures/DicomDirFixtures.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelView.h"

using namespace Fixtures;

namespace {

std::shared_ptr<const ImageRecipe> CtPixels()
{
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    recipe.columns = 128;
    recipe.rows = 96;
    return std::make_shared<const ImageRecipe>(recipe);
}

FsImage Image(const std::string& fileId, const std::string& instance)
{
    FsImage image;
    image.fileId = fileId;
    image.instanceNumber = instance;
    image.recipe = CtPixels();
    return image;
}

// Pure green as the imported shapes draw it; a grey CT image never has it.
int GreenPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += qGreen(p) > 200 && qRed(p) < 60 && qBlue(p) < 60;
        }
    return count;
}

} // namespace

class tst_CPresentationStateImport : public QObject
{
    Q_OBJECT

private:
    DicomCodecs m_codecs; // the grid decodes what it shows
    QTemporaryDir m_tmp;
    QList<ShownMessage> m_messages;

private slots:
    void initTestCase()
    {
        OFLog::configure(OFLogger::FATAL_LOG_LEVEL);
        QVERIFY(m_tmp.isValid());
        SetMessageNotifier([this](const ShownMessage& message) {
            m_messages << message;
            return int(IDOK);
        });
    }

    void cleanupTestCase() { SetMessageNotifier({}); }

    // Without a grid frame the windows still go to the series; no shape is kept.
    void setsWindowsWithoutAGrid()
    {
        QVERIFY(!theApp.m_pMainWnd);
        CStudyInfo study;
        for (int s = 0; s < 2; ++s) {
            auto series = std::make_unique<CSeriesInfo>();
            series->m_pStudy = &study;
            auto image = std::make_unique<CImageInfo>();
            ImageRecipe recipe = *CtPixels();
            recipe.sopInstanceUid = NewUid();
            image->m_strFilePath = m_tmp.filePath(QStringLiteral("alone%1.dcm").arg(s));
            QCOMPARE(WriteImage(recipe, Syntax::ExplicitLittle, image->m_strFilePath), QString());
            image->SetSOPInstanceUID(QString::fromStdString(recipe.sopInstanceUid));
            image->m_pSeries = series.get();
            image->m_pStudy = &study;
            series->m_lstImages.push_back(std::move(image));
            study.m_lstSeries.push_back(std::move(series));
        }
        PsImageRef second{CtPixels()->sopClassUid, study.m_lstSeries[1]->GetImageAt(0)->GetSOPInstanceUID().toStdString(), NewUid(), 96, 128};
        PresentationStateData ps = EveryLayer({second});
        const QString path = m_tmp.filePath(QStringLiteral("alone-ps.dcm"));
        QCOMPARE(WritePresentationState(ps, path), QString());

        CPresentationStateImport import;
        import.LoadPresentationState(QFile::encodeName(path).constData(), study.GetFirstImage(), QStringLiteral("1"));
        QCOMPARE(study.m_lstSeries[0]->IsWindowChanged(), BYTE(0));
        QCOMPARE(study.m_lstSeries[1]->IsWindowChanged(), BYTE(1));
        float width = 0, centre = 0;
        study.m_lstSeries[1]->GetWindow(&width, &centre);
        QCOMPARE(width, 400.0f);
        QCOMPARE(centre, 40.0f);
    }

    // Image A's record names another UID than its file; B is not referenced; J is JPEG
    // lossless in a second series. The state's layers land on A and J under their files' UIDs,
    // are drawn on A, and both series take its window, which showing them keeps. Loading the
    // study again adds nothing.
    void importsTheStatesOfALoadedStudy()
    {
        FsSeries first;
        first.seriesNumber = "1";
        first.images = {Image("P1\\ST1\\SE1\\IMA", "1"), Image("P1\\ST1\\SE1\\IMB", "2")};
        FsSeries second;
        second.seriesNumber = "2";
        second.images = {Image("P1\\ST1\\SE2\\IMJ", "1")};
        FsSeries pr;
        pr.modality = "PR";
        pr.seriesNumber = "3";
        FsPresentation state;
        state.fileId = "P1\\ST1\\SE3\\PS1";
        state.state = EveryLayer({RefTo(first, first.images[0]), RefTo(second, second.images[0])});
        for (PsAnnotation& annotation : state.state.annotations)
            annotation.images.clear(); // every image the state references
        pr.presentations = {state};
        FsStudy annotated;
        annotated.studyDescription = "Annotated";
        annotated.series = {first, second, pr};
        FsStudy other;
        other.studyDescription = "Other";
        FsSeries plain;
        plain.images = {Image("P1\\ST2\\SE1\\IM1", "1")};
        other.series = {plain};
        FsPatient patient;
        patient.studies = {annotated, other};
        FileSet set;
        set.patients = {patient};

        const QString folder = m_tmp.filePath(QStringLiteral("set"));
        HandDicomDir dir = RecordsOf(set);
        const std::string recordUid = NewUid();
        dir.records[size_t(IndexOf(dir, "IMAGE", 0))].Set(DCM_ReferencedSOPInstanceUIDInFile, recordUid);
        QCOMPARE(WriteHandFileSet(set, dir, folder), QString());
        const FsImage& j = second.images[0];
        QCOMPARE(WriteImage(WithIdentity(*j.recipe, ImageOf(patient, annotated, second, j)), Syntax::JpegLossless,
                            folder + QStringLiteral("/P1/ST1/SE2/IMJ")),
                 QString());

        QVERIFY(theApp.InitInstance(folder + QStringLiteral("/ORVANE/orvane")));
        CStudyList* list = theApp.m_pStudyListDlg;
        QVERIFY(list);
        QSignalSpy loaded(list, &CStudyList::dicomDirLoaded);
        QVERIFY(loaded.wait(20000));
        QCOMPARE(list->m_aRows.size(), size_t(2));
        list->OnLoad(0);
        QVERIFY(m_messages.isEmpty());
        CStudyInfo* study = list->m_pCurrentStudy;
        QVERIFY(study);
        QCOMPARE(study->GetFirstImage()->GetSOPInstanceUID(), QString::fromStdString(recordUid));

        CMyFrameWnd* grid = theApp.m_pViewGridFrame;
        QVERIFY(grid);
        const QString a = QString::fromStdString(first.images[0].sopInstanceUid);
        const QString jKey = QString::fromStdString(j.sopInstanceUid);
        QStringList keys;
        for (const auto& shape : grid->m_arrShapes)
            keys << shape->GetImageKey();
        QCOMPARE(keys, QStringList({a, a, a, a, a, jKey, jKey, jKey, jKey, jKey}));
        for (int s = 0; s < 2; ++s) {
            const CSeriesInfo* series = study->GetSeriesAt(s);
            // Both keep the state's window, also the series the grid shows
            QCOMPARE(series->IsWindowChanged(), BYTE(1));
            float width = 0, centre = 0;
            series->GetWindow(&width, &centre);
            QCOMPARE(width, 400.0f);
            QCOMPARE(centre, 40.0f);
        }

        // The view of A keys it by its file, so it draws the shapes
        QTRY_VERIFY(grid->GetSingleView() && grid->GetSingleView()->isVisible());
        CVantrelView* view = grid->GetSingleView();
        QTRY_COMPARE(view->GetImageKey(), a);
        QTRY_VERIFY(GreenPixels(view->grab().toImage()) > 20);

        list->OnLoad(1);
        list->OnLoad(0);
        QCOMPARE(grid->m_arrShapes.size(), size_t(10));
        theApp.ExitInstance();
    }
};

QTEST_MAIN(tst_CPresentationStateImport)
#include "tst_CPresentationStateImport.moc"
