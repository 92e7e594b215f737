// The demo file set as the demo starts the viewer on it: the start-up finds it from the
// program's path one folder below, lists its five studies, and each study loads with its
// modality's layout; every image renders. A picture of the main window with the CT study goes
// to the test output for a person to look at.

// Qt
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/oflog/oflog.h>

// std
#include <memory>

// Orvane
#include "study/IPresentationStateImport.h"
#include "app/CMainFrame.h"
#include "app/COstrevanApp.h"
#include "platform/CxImage.h"
#include "platform/MessageNotifier.h"
#include "study/CStudyList.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tools/fixtures/DemoFixtures.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelView.h"

using namespace Fixtures;

namespace {

QStringList g_imported; // presentation-state paths handed to the import

class RecordingImport : public IPresentationStateImport
{
public:
    void LoadPresentationState(const char* path, CImageInfo*, const QString&) override
    {
        g_imported << QString::fromLocal8Bit(path);
    }
};

} // namespace

class tst_DemoFixtures : public QObject
{
    Q_OBJECT

private:
    DicomCodecs m_codecs;
    QTemporaryDir m_tmp;
    QString m_folder;
    QList<ShownMessage> m_messages;

private slots:
    void initTestCase()
    {
        OFLog::configure(OFLogger::WARN_LOG_LEVEL);
        QVERIFY(m_tmp.isValid());
        m_folder = m_tmp.filePath(QStringLiteral("demo"));
        QCOMPARE(WriteDemoFileSet(m_folder), QString());
        SetMessageNotifier([this](const ShownMessage& message) {
            m_messages << message;
            return int(IDOK);
        });
        SetPresentationStateImportFactory([] { return std::make_unique<RecordingImport>(); });
    }

    void cleanupTestCase()
    {
        SetPresentationStateImportFactory({});
        SetMessageNotifier({});
    }

    // Every study of the demo set loads in its layout, with its keys; the CT study's two
    // presentation states are applied.
    void startsOnTheDemoSetAndLoadsEveryStudy()
    {
        QVERIFY(theApp.InitInstance(m_folder + QStringLiteral("/ORVANE/orvane")));
        CStudyList* list = theApp.m_pStudyListDlg;
        QVERIFY(list);
        QSignalSpy loaded(list, &CStudyList::dicomDirLoaded);
        QVERIFY(loaded.wait(20000));
        QVERIFY(m_messages.isEmpty());
        QVERIFY(list->isVisible());

        struct Expected
        {
            const char* patient;
            const char* modality;
            const char* description;
            int layout;
            int keys;
            int images;
        };
        const Expected expected[] = {
            {"PHANTOM, CHEST A", "CT", "CT chest", 1, 2, 24},
            {"PHANTOM, CHEST A", "CR", "CR chest", 2, 1, 1},
            {"PHANTOM, THORAX B", "MR", "MR thorax", 1, 1, 12},
            {"PHANTOM, HEART C", "US", "Echo", 2, 1, 1},
            {"PHANTOM, HEART C", "XA", "Coronary angiography", 1, 1, 1},
        };
        QCOMPARE(list->m_listStudies->topLevelItemCount(), 5);
        for (int row = 4; row >= 0; --row) {
            const Expected& e = expected[row];
            const StudyRow& texts = list->m_aRows[size_t(row)];
            QCOMPARE(texts.astrText[2], QString::fromLatin1(e.patient));
            QCOMPARE(texts.astrText[3], QString::fromLatin1(e.modality));
            QCOMPARE(texts.astrText[5], QString::fromLatin1(e.description));

            list->OnLoad(row);
            QVERIFY(list->m_pCurrentStudy);
            QCOMPARE(theApp.m_strModality, QString::fromLatin1(e.modality));
            QCOMPARE(theApp.m_nLayoutMode, e.layout);
            QCOMPARE(theApp.m_astrSeriesKeys.size(), e.keys);
            QCOMPARE(list->m_pCurrentStudy->GetImageCount(), e.images);
            QCOMPARE(theApp.m_bImagesLoaded, BYTE(1));
        }
        QCOMPARE(g_imported, QStringList({m_folder + QStringLiteral("/DEMO001/ST1/SE3/IM01"),
                                          m_folder + QStringLiteral("/DEMO001/ST1/SE3/IM02")}));

        // The main window with the CT study once its view has been refitted and shown
        QTRY_VERIFY(theApp.m_pViewGridFrame->GetSingleView() && theApp.m_pViewGridFrame->GetSingleView()->isVisible());
        CVantrelView* view = theApp.m_pViewGridFrame->GetSingleView();
        const QImage shot = theApp.m_pMainWnd->grab().toImage();
        const QPoint centre = view->mapTo(theApp.m_pMainWnd, view->rect().center());
        QVERIFY(qGray(shot.pixel(centre)) > 0); // the phantom's body, not a black pane
        if (const QByteArray out = qgetenv("ORVANE_TEST_OUTPUT"); !out.isEmpty())
            shot.save(QString::fromLocal8Bit(out) + QStringLiteral("/demo-ct-study.png"));
    }

    // Every image of the set renders its first frame.
    void everyImageRenders()
    {
        CStudyList* list = theApp.m_pStudyListDlg;
        QVERIFY(list);
        int rendered = 0;
        for (const auto& patient : list->m_patientList.m_lstPatients)
            for (const auto& study : patient->m_lstStudies)
                for (const auto& series : study->m_lstSeries)
                    for (const auto& image : series->m_lstImages) {
                        CxImageDCM dcm;
                        QList<CxImage*> bitmaps;
                        QCOMPARE(dcm.LoadDCM(QFile::encodeName(image->m_strFilePath).constData(), &bitmaps, FALSE), 1);
                        QCOMPARE(bitmaps.size(), 1);
                        QVERIFY(bitmaps[0]->GetWidth() >= 256);
                        qDeleteAll(bitmaps);
                        ++rendered;
                    }
        QCOMPARE(rendered, 24 + 1 + 12 + 1 + 1);
        theApp.ExitInstance();
        QVERIFY(!theApp.m_pStudyListDlg);
    }
};

QTEST_MAIN(tst_DemoFixtures)
#include "tst_DemoFixtures.moc"
