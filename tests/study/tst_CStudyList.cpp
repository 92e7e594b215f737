// The Study List's reader on its loading thread, its rows, and the study builder over
// generated file sets.

// Qt
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>

// std
#include <functional>
#include <memory>

// Orvane
#include "app/COstrevanApp.h"
#include "controls/CIconButton.h"
#include "platform/MessageNotifier.h"
#include "study/CStudyList.h"
#include "tools/fixtures/DicomDirFixtures.h"

using namespace Fixtures;

enum class Kind
{
    WellFormed,
    DepthFirst,
    BreadthFirst,
};
Q_DECLARE_METATYPE(Kind)

using Shape = std::function<void(FileSet&, HandDicomDir&)>;
Q_DECLARE_METATYPE(Shape)

namespace {

DirRecord& Nth(HandDicomDir& dir, const char* type, int nth)
{
    return dir.records[size_t(IndexOf(dir, type, nth))];
}

QStringList FileNames(const CSeriesInfo* series, const QString& folder)
{
    QStringList names;
    for (const auto& image : series->m_lstImages)
        names << image->m_strFilePath.mid(folder.size() + 1);
    return names;
}

QStringList Numbers(const CStudyInfo* study)
{
    QStringList numbers;
    for (const auto& series : study->m_lstSeries)
        numbers << series->m_strSeriesNumber;
    return numbers;
}

} // namespace

class tst_CStudyList : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    QString m_folder;
    QList<ShownMessage> m_messages;

    // Writes `set` with a DICOMDIR of `kind` (shaped by `shape` when hand-shaped) into a new
    // file-set folder and reads it through the loading thread.
    std::unique_ptr<CStudyList> load(FileSet set, Kind kind = Kind::DepthFirst, const Shape& shape = {},
                                     const FileSetOptions& options = {})
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        m_folder = m_tmp->filePath(QStringLiteral("set"));
        QString error;
        if (kind == Kind::WellFormed) {
            error = WriteDicomDir(set, m_folder, options);
        } else {
            HandDicomDir dir = RecordsOf(set, kind == Kind::DepthFirst ? RecordOrder::DepthFirst : RecordOrder::BreadthFirst);
            if (shape)
                shape(set, dir);
            error = WriteHandFileSet(set, dir, m_folder, options);
        }
        if (!error.isEmpty()) {
            qWarning("%s", qPrintable(error));
            return nullptr;
        }
        theApp.m_strMediaFolder = m_folder;
        auto list = std::make_unique<CStudyList>();
        QSignalSpy loaded(list.get(), &CStudyList::dicomDirLoaded);
        if (!list->StartLoaderThread(m_folder + QStringLiteral("/DICOMDIR")) || !loaded.wait(20000))
            return nullptr;
        return list;
    }

    QString path(const char* relative) const { return m_folder + QLatin1Char('/') + QLatin1String(relative); }

private slots:
    void init()
    {
        theApp.m_strModality.clear();
        m_messages.clear();
        // A DICOMDIR that can't be read is said so in a message box
        SetMessageNotifier([this](const ShownMessage& message) {
            m_messages << message;
            return int(IDOK);
        });
    }

    void cleanup()
    {
        SetMessageNotifier({});
    }

    // --- The loading thread and the rows --------------------------------------------------

    void readsOnTheLoadingThreadAndFillsTheRows()
    {
        auto list = load(SampleFileSet());
        QVERIFY(list);
        QVERIFY(!list->m_hLoaderThread.joinable());
        QVERIFY(list->m_bDicomdirRead);
        QVERIFY(list->m_pDicomdirFile);
        QVERIFY(list->m_pRecordSequence);
        QCOMPARE(list->m_patientList.m_lstPatients.size(), size_t(2));
        QCOMPARE(list->m_lstStudyOffsets.size(), size_t(3));
        QCOMPARE(list->m_lstImageOffsets.size(), size_t(7));

        QTreeWidget* control = list->m_listStudies;
        QStringList headers;
        QList<int> widths;
        for (int i = 0; i < control->columnCount(); ++i) {
            headers << control->headerItem()->text(i);
            widths << control->header()->sectionSize(i);
        }
        QCOMPARE(headers, QStringList({"No", "Patient ID", "Patient Name", "Modality", "Accession No", "Study Description.",
                                       "Study Date Time", "Study Instance UID", "Patient Name - ID"}));
        QCOMPARE(widths, QList<int>({30, 80, 230, 60, 80, 160, 120, 0, 0}));
        QCOMPARE(control->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(control->selectionBehavior(), QAbstractItemView::SelectRows);

        QCOMPARE(control->topLevelItemCount(), 3);
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < StudyRow::kColumns; ++column)
                QCOMPARE(control->topLevelItem(row)->text(column), list->m_aRows[size_t(row)].astrText[size_t(column)]);
        QCOMPARE(control->topLevelItem(2)->text(2), QStringLiteral("ROE, RICHARD M"));
    }

    // The dialog's texts are measured in the dialog font: each visible column holds its
    // header and its full-length value inside the list's margins
    void columnsHoldTheirTextsInTheDialogFont_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("values"); // values that must show whole
        QTest::newRow("No") << 0 << QStringList{"9999"};
        QTest::newRow("Patient ID") << 1 << QStringList{};
        QTest::newRow("Patient Name") << 2 << QStringList{};
        QTest::newRow("Modality") << 3 << QStringList{"--", "MG", "MR", "CT", "CR", "DX", "US", "XA", "NM", "PT", "OT"};
        QTest::newRow("Accession No") << 4 << QStringList{};
        QTest::newRow("Study Description.") << 5 << QStringList{};
        QTest::newRow("Study Date Time") << 6 << QStringList{"03/09/1995 17:30:32", "28/08/2088 08:08:08", "--"};
    }
    void columnsHoldTheirTextsInTheDialogFont()
    {
        QFETCH(int, column);
        QFETCH(QStringList, values);
        CStudyList list;
        QTreeWidget* control = list.m_listStudies;
        // One font, set on the dialog and inherited by the list, its header and the buttons
        const QFont font = list.font();
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(QFontInfo(font).pixelSize(), 11); // 8 points at 96 dpi
        QCOMPARE(control->font(), font);
        QCOMPARE(control->header()->font(), font);
        QCOMPARE(list.m_btnLoad->font(), font);

        const int width = control->header()->sectionSize(column);
        const QFontMetrics metrics(control->header()->font());
        const int headerMargins = 2 * control->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, control->header());
        const QString header = control->headerItem()->text(column);
        QVERIFY2(metrics.horizontalAdvance(header) + headerMargins <= width, qPrintable(header));
        const QFontMetrics itemMetrics(control->font());
        const int itemMargins = 2 * (control->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, control) + 1);
        for (const QString& value : values)
            QVERIFY2(itemMetrics.horizontalAdvance(value) + itemMargins <= width, qPrintable(value));
    }

    // A failed read still ends with the notice, with nothing read; it replaces an earlier read.
    void failedReadStillNotifies_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("not DICOM") << QByteArray("not a DICOMDIR\n");
    }
    void failedReadStillNotifies()
    {
        QFETCH(QByteArray, bytes);
        auto list = load(SampleFileSet());
        QVERIFY(list);
        const QString junk = m_tmp->filePath("junk");
        QFile file(junk);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        QSignalSpy loaded(list.get(), &CStudyList::dicomDirLoaded);
        QVERIFY(list->StartLoaderThread(junk));
        QVERIFY(loaded.wait(10000));
        QCOMPARE(loaded.first().first().toBool(), false);
        QCOMPARE(list->m_listStudies->topLevelItemCount(), 0);
        QVERIFY(list->m_aRows.empty());
        QVERIFY(list->m_patientList.m_lstPatients.empty());
        QVERIFY(list->m_lstImageOffsets.empty());
        QVERIFY(!list->m_pDicomdirFile);
    }

    // A DICOMDIR that can't be read at start-up is said once, and the list stays hidden.
    void unreadableDicomDirIsSaidAndTheListStaysHidden_data()
    {
        QTest::addColumn<int>("keep"); // bytes of the real DICOMDIR kept; -1 for the text below
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty file") << 0 << QByteArray();
        QTest::newRow("not DICOM") << -1 << QByteArray("not a DICOMDIR\n");
        QTest::newRow("preamble only") << 132 << QByteArray();
        QTest::newRow("cut in its records") << 700 << QByteArray();
    }
    void unreadableDicomDirIsSaidAndTheListStaysHidden()
    {
        QFETCH(int, keep);
        QFETCH(QByteArray, bytes);
        m_tmp = std::make_unique<QTemporaryDir>();
        m_folder = m_tmp->filePath(QStringLiteral("set"));
        QCOMPARE(WriteDicomDir(SampleFileSet(), m_folder), QString());
        if (keep >= 0) {
            QFile whole(path("DICOMDIR"));
            QVERIFY(whole.open(QIODevice::ReadOnly));
            bytes = whole.read(keep);
        }
        QFile file(path("DICOMDIR"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();

        theApp.m_strDicomDirPath = path("DICOMDIR");
        CStudyList list;
        QSignalSpy loaded(&list, &CStudyList::dicomDirLoaded);
        QVERIFY(list.Create(321, nullptr));
        QVERIFY(loaded.wait(10000));
        theApp.m_strDicomDirPath.clear();
        QCOMPARE(loaded.first().first().toBool(), false);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].text, QStringLiteral("The DICOMDIR could not be read."));
        QCOMPARE(m_messages[0].caption, QStringLiteral("Perlisk Orvane"));
        QVERIFY(!list.isVisible());
        QCOMPARE(list.m_listStudies->topLevelItemCount(), 0);
    }

    // Without the file no thread starts, and the dialog still hears that nothing was read.
    void missingFileStartsNoThread()
    {
        auto list = load(SampleFileSet());
        QVERIFY(list);
        QSignalSpy loaded(list.get(), &CStudyList::dicomDirLoaded);
        QVERIFY(!list->StartLoaderThread(QStringLiteral("/nonexistent/DICOMDIR")));
        QVERIFY(!list->m_hLoaderThread.joinable());
        QVERIFY(loaded.wait(1000));
        QCOMPARE(loaded.first().first().toBool(), false);
        QVERIFY(list->m_aRows.empty());
        QVERIFY(!list->StartLoaderThread(QString()));
        QVERIFY(loaded.wait(1000));
    }

    // Create starts the thread on the application's DICOMDIR.
    void createReadsTheApplicationsDicomDir()
    {
        auto first = load(SampleFileSet());
        QVERIFY(first);
        theApp.m_strDicomDirPath = path("DICOMDIR");
        CStudyList list;
        QSignalSpy loaded(&list, &CStudyList::dicomDirLoaded);
        QVERIFY(list.Create(321, nullptr));
        QVERIFY(loaded.wait(10000));
        QCOMPARE(list.m_aRows.size(), size_t(3));
        theApp.m_strDicomDirPath.clear();
    }

    // The dialog going while its thread reads: the thread is stopped and joined, nothing
    // arrives afterwards, nothing leaks.
    void stopsAndJoinsWhileReading()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        const QString dicomDir = m_tmp->filePath("DICOMDIR");
        QCOMPARE(WriteHandDicomDir(RecordsOf(LargeFileSet(20000)), dicomDir), QString());
        {
            auto list = std::make_unique<CStudyList>();
            QVERIFY(list->StartLoaderThread(dicomDir));
            list.reset();
        }
        CStudyList list;
        QSignalSpy loaded(&list, &CStudyList::dicomDirLoaded);
        QVERIFY(list.StartLoaderThread(dicomDir));
        list.StopLoaderThread();
        QVERIFY(!list.m_hLoaderThread.joinable());
        QVERIFY(!loaded.wait(200));
        QVERIFY(list.m_aRows.empty());
    }

    // Called on the UI thread it still hands over through the event loop.
    void opnDicomDirFileReportsTheRead()
    {
        auto list = load(SampleFileSet());
        QVERIFY(list);
        QSignalSpy loaded(list.get(), &CStudyList::dicomDirLoaded);
        QCOMPARE(list->OpnDICOMDIRFile(QFile::encodeName(path("DICOMDIR")).constData()), TRUE);
        QCOMPARE(list->OpnDICOMDIRFile(QFile::encodeName(path("absent")).constData()), FALSE);
        QTRY_COMPARE(loaded.count(), 2);
        QVERIFY(list->m_aRows.empty());
    }

    // --- The builder ----------------------------------------------------------------------

    // Series sorted by number, images by instance number, with their paths, UIDs and frame
    // counts; the PR series gives a presentation-state path, not a series.
    void buildsSeriesAndImagesInOrder_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("firstModality");
        QTest::newRow("well-formed") << Kind::WellFormed << "MR"; // the interface sorts its chains
        QTest::newRow("depth-first") << Kind::DepthFirst << "CT";
        QTest::newRow("breadth-first") << Kind::BreadthFirst << "CT";
    }
    void buildsSeriesAndImagesInOrder()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, firstModality);
        const FileSet set = SampleFileSet();
        auto list = load(set, kind);
        QVERIFY(list);

        CStudyInfo* study = list->BuildStudyOfRow(0);
        QVERIFY(study);
        QCOMPARE(study->m_strStudyInstanceUID, QString::fromStdString(set.patients[0].studies[0].studyInstanceUid));
        QCOMPARE(study->m_strStudyDate, QStringLiteral("05/03/2024"));
        QCOMPARE(study->m_strStudyID, QStringLiteral("11"));
        QCOMPARE(study->m_strStudyDescription, QStringLiteral("CT chest"));
        QCOMPARE(Numbers(study), QStringList({"1", "2"}));

        const CSeriesInfo* mr = study->GetSeriesAt(0);
        const CSeriesInfo* ct = study->GetSeriesAt(1);
        QCOMPARE(mr->m_strModality, QStringLiteral("MR"));
        QCOMPARE(ct->m_strModality, QStringLiteral("CT"));
        QCOMPARE(ct->m_strSeriesInstanceUID, QString::fromStdString(set.patients[0].studies[0].series[0].seriesInstanceUid));
        if (kind != Kind::WellFormed) { // the interface writes no description, date or time for series
            QCOMPARE(mr->m_strSeriesDescription, QStringLiteral("Cine"));
            QCOMPARE(ct->m_strSeriesDate, QStringLiteral("20240305"));
            QCOMPARE(ct->m_strSeriesTime, QStringLiteral("143500"));
        }
        QCOMPARE(ct->m_pStudy, study);
        QCOMPARE(FileNames(ct, m_folder), QStringList({"P001/ST1/SE1/IM1", "P001/ST1/SE1/IM2", "P001/ST1/SE1/IM3"}));
        const auto& ctImages = set.patients[0].studies[0].series[0].images;
        QCOMPARE(ct->GetImageAt(0)->GetSOPInstanceUID(), QString::fromStdString(ctImages[1].sopInstanceUid));
        QCOMPARE(ct->GetImageAt(2)->GetSOPInstanceUID(), QString::fromStdString(ctImages[0].sopInstanceUid));
        QCOMPARE(ct->GetImageAt(0)->m_strInstanceNumber, QStringLiteral("1"));
        QCOMPARE(ct->GetImageAt(0)->m_nFrames, 1);
        QCOMPARE(ct->GetImageAt(0)->m_pSeries, ct);
        QCOMPARE(ct->GetImageAt(0)->m_pStudy, study);
        QCOMPARE(mr->GetImageAt(0)->m_nFrames, 12);
        QCOMPARE(study->GetImageCount(), 4);

        QCOMPARE(list->m_astrPSPaths, QStringList({path("P001/ST1/SE3/PS1")}));
        QCOMPARE(list->m_strSeriesModality, QStringLiteral("PR"));
        QCOMPARE(theApp.m_strModality, firstModality);

        // The patient's other study was built with it
        CPatientInfo* patient = list->m_patientList.FindPatientByRecord(list->m_aRows[0].nPatientRecord);
        QVERIFY(patient);
        QCOMPARE(patient->m_lstStudies.size(), size_t(2));
        QCOMPARE(patient->GetStudyIndex(study), 0);
    }

    // A built study is built once: the second call returns it as it is, collects no paths;
    // the patient's second study was built with the first and only gets its series now.
    void buildsOnce()
    {
        auto list = load(SampleFileSet());
        QVERIFY(list);
        CStudyInfo* study = list->BuildStudyOfRow(0);
        QVERIFY(study);
        const CImageInfo* image = study->GetFirstImage();
        QCOMPARE(list->BuildStudyOfRow(0), study);
        QCOMPARE(study->GetFirstImage(), image);
        QCOMPARE(study->GetImageCount(), 4);
        QVERIFY(list->m_astrPSPaths.isEmpty());

        CPatientInfo* patient = list->m_patientList.m_lstPatients[0].get();
        CStudyInfo* second = patient->m_lstStudies[1].get();
        QVERIFY(second->m_lstSeries.empty());
        QCOMPARE(list->BuildStudyOfRow(1), second);
        QCOMPARE(patient->m_lstStudies.size(), size_t(2));
        QCOMPARE(second->GetImageCount(), 1);
        QCOMPARE(second->m_strStudyDate, QStringLiteral("11/11/2023"));
    }

    void buildsTheBreadthFirstRowsStudies()
    {
        const FileSet set = SampleFileSet();
        auto list = load(set, Kind::BreadthFirst);
        QVERIFY(list);
        for (int row = 2; row >= 0; --row) {
            CStudyInfo* study = list->BuildStudyOfRow(row);
            QVERIFY(study);
            QCOMPARE(study->m_strStudyInstanceUID, list->m_aRows[size_t(row)].astrText[7]);
        }
        CStudyInfo* abdomen = list->BuildStudyOfRow(2);
        QCOMPARE(abdomen->GetImageCount(), 2);
        CPatientInfo* patient = nullptr;
        CStudyInfo* study = nullptr;
        CSeriesInfo* series = nullptr;
        CImageInfo* image = nullptr;
        list->m_patientList.FindImage(path("P002/ST1/SE1/IM2"), patient, study, series, image);
        QVERIFY(image);
        QCOMPARE(patient->m_strPatientID, QStringLiteral("P002"));
        QCOMPARE(study, abdomen);
    }

    // Presentation states of every PR series of the study, in chain order; missing ones skipped.
    void collectsPresentationStatesInChainOrder()
    {
        FileSet set = SampleFileSet();
        FsStudy& chest = set.patients[0].studies[0];
        FsSeries prB = chest.series[2];
        prB.seriesInstanceUid = NewUid();
        prB.seriesNumber = "101";
        prB.presentations[0].fileId = "P001\\ST1\\SE4\\PSB";
        FsSeries& prA = chest.series[2];
        FsPresentation second = prA.presentations[0];
        second.fileId = "P001\\ST1\\SE3\\PS2";
        second.onDisk = false;
        FsPresentation third = prA.presentations[0];
        third.fileId = "P001\\ST1\\SE3\\PS3";
        prA.presentations.push_back(second);
        prA.presentations.push_back(third);
        // CT, MR, PR-A, CT-2, PR-B
        FsSeries ct2 = chest.series[0];
        ct2.seriesInstanceUid = NewUid();
        ct2.seriesNumber = "3";
        for (FsImage& image : ct2.images)
            image.fileId.replace(image.fileId.find("SE1"), 3, "SE5");
        chest.series.push_back(ct2);
        chest.series.push_back(prB);

        auto list = load(set);
        QVERIFY(list);
        CStudyInfo* study = list->BuildStudyOfRow(0);
        QVERIFY(study);
        QCOMPARE(list->m_astrPSPaths, QStringList({path("P001/ST1/SE3/PS1"), path("P001/ST1/SE3/PS3"), path("P001/ST1/SE4/PSB")}));
        QCOMPARE(Numbers(study), QStringList({"1", "2", "3"}));
    }

    // Images whose files are missing are skipped; a series left without images is dropped;
    // a study without any file has no series.
    void skipsMissingFilesAndDropsEmptySeries()
    {
        FileSet set = SampleFileSet();
        set.patients[0].studies[0].series[0].images[2].onDisk = false; // CT instance 2
        set.patients[0].studies[0].series[1].images[0].onDisk = false; // the MR series' only image
        set.patients[0].studies[1].series[0].images[0].onDisk = false; // the CR study's only image
        auto list = load(set, Kind::WellFormed);
        QVERIFY(list);
        CStudyInfo* study = list->BuildStudyOfRow(0);
        QVERIFY(study);
        QCOMPARE(Numbers(study), QStringList({"2"}));
        QCOMPARE(FileNames(study->GetFirstSeries(), m_folder), QStringList({"P001/ST1/SE1/IM1", "P001/ST1/SE1/IM3"}));
        CStudyInfo* hand = list->BuildStudyOfRow(1);
        QVERIFY(hand);
        QVERIFY(hand->m_lstSeries.empty());
        QVERIFY(!hand->GetFirstImage());
    }

    // Lower-case names on disk are found; the path is the one on disk.
    void findsLowerCaseNames()
    {
        FileSetOptions options;
        options.lowerCaseOnDisk = true;
        auto list = load(SampleFileSet(), Kind::DepthFirst, {}, options);
        QVERIFY(list);
        CStudyInfo* study = list->BuildStudyOfRow(0);
        QVERIFY(study);
        QCOMPARE(FileNames(study->GetSeriesAt(1), m_folder), QStringList({"p001/st1/se1/im1", "p001/st1/se1/im2", "p001/st1/se1/im3"}));
        QCOMPARE(list->m_astrPSPaths, QStringList({path("p001/st1/se3/ps1")}));
    }

    // A file ID that would leave the file set, or has an empty or "." component, is refused
    // even where a file exists at that path.
    void refusesComponentsLeavingTheFileSet_data()
    {
        QTest::addColumn<QString>("fileId");
        QTest::newRow("..") << "..\\OUTSIDE";
        QTest::newRow("down and up") << "P001\\..\\..\\OUTSIDE";
        QTest::newRow(".") << ".\\P001\\ST1\\SE1\\IM1";
        QTest::newRow("empty component") << "P001\\\\ST1\\SE1\\IM1";
        QTest::newRow("leading separator") << "\\P001\\ST1\\SE1\\IM1";
        QTest::newRow("slash inside") << "P001/ST1\\SE1\\IM1";
    }
    void refusesComponentsLeavingTheFileSet()
    {
        QFETCH(QString, fileId);
        const Shape shape = [&](FileSet&, HandDicomDir& dir) {
            Nth(dir, "IMAGE", 0).Set(DCM_ReferencedFileID, fileId.toStdString());
        };
        auto list = load(SampleFileSet(), Kind::DepthFirst, shape);
        QVERIFY(list);
        QCOMPARE(WriteMinimalImage(MinimalImage(), m_tmp->filePath("OUTSIDE")), QString());
        CStudyInfo* study = list->BuildStudyOfRow(0);
        QVERIFY(study);
        // IM3 (the first record) is refused; IM1 and IM2 stay
        QCOMPARE(FileNames(study->GetSeriesAt(1), m_folder), QStringList({"P001/ST1/SE1/IM1", "P001/ST1/SE1/IM2"}));
    }

    // Chains that cycle, point nowhere or pass through other records end cleanly, each record
    // built once.
    void walksOddChains_data()
    {
        QTest::addColumn<Shape>("shape");
        QTest::addColumn<QStringList>("images");     // of the CT series
        QTest::addColumn<QStringList>("series");     // numbers
        const QStringList all = {"P001/ST1/SE1/IM1", "P001/ST1/SE1/IM2", "P001/ST1/SE1/IM3"};
        QTest::newRow("images cycle behind the first") << Shape([](FileSet&, HandDicomDir& dir) {
            Nth(dir, "IMAGE", 2).next = IndexOf(dir, "IMAGE", 1);
        }) << all << QStringList{"1", "2"};
        QTest::newRow("images cycle to the first") << Shape([](FileSet&, HandDicomDir& dir) {
            Nth(dir, "IMAGE", 2).next = IndexOf(dir, "IMAGE", 0);
        }) << all << QStringList{"1", "2"};
        QTest::newRow("an image links to itself") << Shape([](FileSet&, HandDicomDir& dir) {
            Nth(dir, "IMAGE", 0).next = IndexOf(dir, "IMAGE", 0);
        }) << QStringList{"P001/ST1/SE1/IM3"} << QStringList{"1", "2"};
        QTest::newRow("dangling next offset") << Shape([](FileSet&, HandDicomDir& dir) {
            Nth(dir, "IMAGE", 1).nextOffset = 0x7FFFFFF0u;
        }) << QStringList{"P001/ST1/SE1/IM1", "P001/ST1/SE1/IM3"} << QStringList{"1", "2"};
        QTest::newRow("next offset inside a record") << Shape([](FileSet&, HandDicomDir& dir) {
            Nth(dir, "IMAGE", 0).nextOffset = RecordOffsets(dir)[size_t(IndexOf(dir, "IMAGE", 1))] + 2;
        }) << QStringList{"P001/ST1/SE1/IM3"} << QStringList{"1", "2"};
        QTest::newRow("series cycle") << Shape([](FileSet&, HandDicomDir& dir) {
            Nth(dir, "SERIES", 2).next = IndexOf(dir, "SERIES", 0);
        }) << all << QStringList{"1", "2"};
        QTest::newRow("other records in the chain") << Shape([](FileSet&, HandDicomDir& dir) {
            DirRecord other;
            other.type = "PRIVATE";
            DirRecord series = Nth(dir, "SERIES", 3); // a series of another study
            series.lower = -1;
            DirRecord& first = Nth(dir, "IMAGE", 0);
            other.next = first.next;
            series.next = int(dir.records.size());
            dir.records.push_back(other);
            dir.records.push_back(series);
            first.next = int(dir.records.size()) - 1;
        }) << all << QStringList{"1", "2"};
        QTest::newRow("lower offset to another record type") << Shape([](FileSet&, HandDicomDir& dir) {
            DirRecord other;
            other.type = "SR DOCUMENT";
            other.next = Nth(dir, "SERIES", 0).lower;
            dir.records.push_back(other);
            Nth(dir, "SERIES", 0).lower = int(dir.records.size()) - 1;
        }) << all << QStringList{"1", "2"};
    }
    void walksOddChains()
    {
        QFETCH(Shape, shape);
        QFETCH(QStringList, images);
        QFETCH(QStringList, series);
        auto list = load(SampleFileSet(), Kind::DepthFirst, shape);
        QVERIFY(list);
        CStudyInfo* study = list->BuildStudyOfRow(0);
        QVERIFY(study);
        QCOMPARE(Numbers(study), series);
        QCOMPARE(FileNames(study->GetSeriesAt(1), m_folder), images);
    }

    void studyChainCycleBuildsEachStudyOnce()
    {
        const Shape shape = [](FileSet&, HandDicomDir& dir) { Nth(dir, "STUDY", 1).next = IndexOf(dir, "STUDY", 0); };
        auto list = load(SampleFileSet(), Kind::DepthFirst, shape);
        QVERIFY(list);
        QVERIFY(list->BuildStudyOfRow(1));
        QCOMPARE(list->m_patientList.m_lstPatients[0]->m_lstStudies.size(), size_t(2));
    }

    // Two patients with one name and ID and two studies with one UID stay four records.
    void duplicateKeysStayDistinct()
    {
        FileSet set = SampleFileSet();
        set.patients[1].patientName = set.patients[0].patientName;
        set.patients[1].patientId = set.patients[0].patientId;
        set.patients[1].studies[0].studyInstanceUid = set.patients[0].studies[0].studyInstanceUid;
        auto list = load(set);
        QVERIFY(list);
        CStudyInfo* chest = list->BuildStudyOfRow(0);
        CStudyInfo* abdomen = list->BuildStudyOfRow(2);
        QVERIFY(chest && abdomen && chest != abdomen);
        QCOMPARE(chest->m_strStudyInstanceUID, abdomen->m_strStudyInstanceUID);
        QCOMPARE(chest->GetImageCount(), 4);
        QCOMPARE(abdomen->GetImageCount(), 2);
        QCOMPARE(abdomen->GetFirstSeries()->m_strModality, QStringLiteral("US"));
        QCOMPARE(list->m_patientList.m_lstPatients[1]->m_lstStudies.size(), size_t(1));

        // The text key reaches the first of the two patients only
        QCOMPARE(list->m_patientList.FindPatient(list->m_aRows[2].astrText[8]), list->m_patientList.m_lstPatients[0].get());
    }

    // A series without Modality has none, and the first series' modality is the study's.
    void seriesWithoutModality_data()
    {
        QTest::addColumn<int>("withoutModality"); // series record index in the chest study
        QTest::addColumn<QString>("studyModality");
        QTest::addColumn<QStringList>("modalities"); // of the built series, sorted
        QTest::newRow("second series") << 1 << "CT" << QStringList{"", "CT"};
        QTest::newRow("first series") << 0 << "" << QStringList{"MR", ""};
    }
    void seriesWithoutModality()
    {
        QFETCH(int, withoutModality);
        QFETCH(QString, studyModality);
        QFETCH(QStringList, modalities);
        const Shape shape = [&](FileSet&, HandDicomDir& dir) { Nth(dir, "SERIES", withoutModality).Remove(DCM_Modality); };
        auto list = load(SampleFileSet(), Kind::DepthFirst, shape);
        QVERIFY(list);
        CStudyInfo* study = list->BuildStudyOfRow(0);
        QVERIFY(study);
        QStringList built;
        for (const auto& series : study->m_lstSeries)
            built << series->m_strModality;
        QCOMPARE(built, modalities);
        QCOMPARE(theApp.m_strModality, studyModality);
    }

    // Number of Frames of the record; 1 when absent, and for counts below 1.
    void framesOfTheRecord_data()
    {
        QTest::addColumn<QString>("value"); // "absent" for none
        QTest::addColumn<int>("frames");
        QTest::newRow("7") << "7" << 7;
        QTest::newRow("absent") << "absent" << 1;
        QTest::newRow("0") << "0" << 1;
        QTest::newRow("-3") << "-3" << 1;
    }
    void framesOfTheRecord()
    {
        QFETCH(QString, value);
        QFETCH(int, frames);
        const Shape shape = [&](FileSet&, HandDicomDir& dir) {
            DirRecord& mr = Nth(dir, "IMAGE", 3);
            if (value == QLatin1String("absent"))
                mr.Remove(DCM_NumberOfFrames);
            else
                mr.Set(DCM_NumberOfFrames, value.toStdString());
        };
        auto list = load(SampleFileSet(), Kind::DepthFirst, shape);
        QVERIFY(list);
        CStudyInfo* study = list->BuildStudyOfRow(0);
        QVERIFY(study);
        QCOMPARE(study->GetSeriesAt(0)->GetImageAt(0)->m_nFrames, frames);
    }

    // Rows whose study cannot be built give no study; a study no patient record leads to is
    // built with a patient of its own, with empty texts, once.
    void rowsWithoutRecordsBuildNothing()
    {
        const Shape shape = [](FileSet&, HandDicomDir& dir) {
            Nth(dir, "PATIENT", 1).lower = -1;
            Nth(dir, "STUDY", 1).lower = -1;
        };
        const FileSet set = SampleFileSet();
        auto list = load(set, Kind::DepthFirst, shape);
        QVERIFY(list);
        QCOMPARE(list->m_aRows[2].astrText[1], QStringLiteral("--"));
        CStudyInfo* orphan = list->BuildStudyOfRow(2); // its patient has no lower level
        QVERIFY(orphan);
        QCOMPARE(orphan->m_strStudyInstanceUID, QString::fromStdString(set.patients[1].studies[0].studyInstanceUid));
        QCOMPARE(orphan->GetImageCount(), 2);
        CPatientInfo* patient = nullptr;
        CStudyInfo* study = nullptr;
        CSeriesInfo* series = nullptr;
        CImageInfo* image = nullptr;
        list->m_patientList.FindImage(orphan->GetFirstSeries()->GetImageAt(0)->m_strFilePath, patient, study, series, image);
        QVERIFY(patient);
        QCOMPARE(study, orphan);
        QVERIFY(patient->m_strPatientID.isEmpty() && patient->m_strPatientName.isEmpty());
        const size_t patients = list->m_patientList.m_lstPatients.size();
        QCOMPARE(list->BuildStudyOfRow(2), orphan);
        QCOMPARE(list->m_patientList.m_lstPatients.size(), patients);
        QVERIFY(!list->BuildStudyOfRow(1)); // no series record
        QVERIFY(!list->BuildStudyOfRow(3));
        QVERIFY(!list->BuildStudyOfRow(-1));
        QVERIFY(list->BuildStudyOfRow(0));
    }

    // The builder methods called directly, as a load of a study by its keys calls them.
    void builderMethodsByKey()
    {
        auto list = load(SampleFileSet());
        QVERIFY(list);
        list->AddStudiesToPatient(QStringLiteral("ROE, RICHARD M-P002"));
        CPatientInfo* richard = list->m_patientList.FindPatient(QStringLiteral("ROE, RICHARD M-P002"));
        QVERIFY(richard);
        QCOMPARE(richard->m_lstStudies.size(), size_t(1));
        list->AddStudiesToPatient(QStringLiteral("ROE, RICHARD M-P002"));
        QCOMPARE(richard->m_lstStudies.size(), size_t(1));
        list->AddStudiesToPatient(QStringLiteral("nobody"));
        list->AddStudiesToPatient(static_cast<CPatientInfo*>(nullptr));

        CStudyInfo* study = richard->FindStudy(list->m_aRows[2].astrText[7]);
        QVERIFY(study);
        const COffsetListValue* studyRecord = nullptr;
        for (const auto& value : list->m_lstStudyOffsets)
            if (value->GetKey() == study->m_strStudyInstanceUID)
                studyRecord = value.get();
        QVERIFY(studyRecord);
        const COffsetListValue* firstSeries = nullptr;
        for (const auto& value : list->m_lstSeriesOffsets)
            if (value->m_nOffset == studyRecord->m_nLowerOffset)
                firstSeries = value.get();
        QVERIFY(firstSeries);
        list->FillSeriesData(study, firstSeries);
        QCOMPARE(study->GetImageCount(), 2);
        list->FillSeriesData(nullptr, firstSeries);
        list->FillImageData(nullptr, nullptr);
        list->FillImageData(nullptr);
    }
};

QTEST_MAIN(tst_CStudyList)
#include "tst_CStudyList.moc"
