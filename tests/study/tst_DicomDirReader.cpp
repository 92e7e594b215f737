// Reading DICOMDIRs into rows, patients, offset lists and the record chain.

// Qt
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcspchrs.h>

// std
#include <functional>

// Orvane
#include "study/DicomDirReader.h"
#include "tools/fixtures/DicomDirFixtures.h"

using namespace Fixtures;

using MakeDir = std::function<HandDicomDir()>;
Q_DECLARE_METATYPE(MakeDir)

namespace {

// The row texts without the Study Instance UID, which the fixtures make new each time.
QList<QStringList> Texts(const DicomDirContents& contents)
{
    QList<QStringList> rows;
    for (const StudyRow& row : contents.rows) {
        QStringList texts;
        for (int i = 0; i < StudyRow::kColumns; ++i)
            if (i != 7)
                texts << row.astrText[size_t(i)];
        rows << texts;
    }
    return rows;
}

const QStringList kJaneChest = {"1", "P001", "DOE, JANE", "CT", "ACC1", "CT chest", "05/03/2024 14:30:00", "DOE, JANE-P001"};
const QStringList kJaneHand = {"2", "P001", "DOE, JANE", "CR", "--", "Hand", "11/11/2023 10:15:00", "DOE, JANE-P001"};
const QStringList kRichard = {"3", "P002", "ROE, RICHARD M", "US", "--", "Abdomen", "01/01/2022 08:00:00", "ROE, RICHARD M-P002"};

HandDicomDir Sample(RecordOrder order = RecordOrder::DepthFirst)
{
    return RecordsOf(SampleFileSet(), order);
}

DirRecord& Nth(HandDicomDir& dir, const char* type, int nth)
{
    return dir.records[size_t(IndexOf(dir, type, nth))];
}

} // namespace

class tst_DicomDirReader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_count = 0;

    DicomDirContents read(const HandDicomDir& dir)
    {
        const QString path = m_dir.filePath(QStringLiteral("DICOMDIR%1").arg(++m_count));
        const QString error = WriteHandDicomDir(dir, path);
        if (!error.isEmpty())
            qFatal("%s", qPrintable(error));
        return ReadDicomDir(QFile::encodeName(path).constData());
    }

private slots:
    void rowTexts_data()
    {
        QTest::addColumn<MakeDir>("make");
        QTest::addColumn<QList<QStringList>>("rows");

        QTest::newRow("two patients, three studies")
            << MakeDir([] { return Sample(); }) << QList<QStringList>{kJaneChest, kJaneHand, kRichard};
        // All patients first, then all studies: rows still show their own patients
        QTest::newRow("breadth-first") << MakeDir([] { return Sample(RecordOrder::BreadthFirst); })
                                       << QList<QStringList>{kJaneChest, kJaneHand, kRichard};
        QTest::newRow("patient without name") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "PATIENT", 1).Remove(DCM_PatientName);
            return dir;
        }) << QList<QStringList>{kJaneChest, kJaneHand, {"3", "P002", "--", "US", "--", "Abdomen", "01/01/2022 08:00:00", "-P002"}};
        // A name is not carried over to the next patient
        QTest::newRow("name reset per patient") << MakeDir([] {
            HandDicomDir dir = Sample(RecordOrder::BreadthFirst);
            Nth(dir, "PATIENT", 1).Set(DCM_PatientName, "");
            return dir;
        }) << QList<QStringList>{kJaneChest, kJaneHand, {"3", "P002", "--", "US", "--", "Abdomen", "01/01/2022 08:00:00", "-P002"}};
        QTest::newRow("neither name nor ID") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "PATIENT", 1).Remove(DCM_PatientName);
            Nth(dir, "PATIENT", 1).Remove(DCM_PatientID);
            return dir;
        }) << QList<QStringList>{kJaneChest, kJaneHand, {"3", "--", "--", "US", "--", "Abdomen", "01/01/2022 08:00:00", "-"}};
        QTest::newRow("only a middle name") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "PATIENT", 1).Set(DCM_PatientName, "^^M");
            return dir;
        }) << QList<QStringList>{kJaneChest, kJaneHand, {"3", "P002", " M", "US", "--", "Abdomen", "01/01/2022 08:00:00", " M-P002"}};
        QTest::newRow("only a first name, groups after '='") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "PATIENT", 1).Set(DCM_PatientName, "^Rick=IDEO^X");
            return dir;
        }) << QList<QStringList>{kJaneChest, kJaneHand, {"3", "P002", "Rick", "US", "--", "Abdomen", "01/01/2022 08:00:00", "Rick-P002"}};
        QTest::newRow("date without time, no date, older forms") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "STUDY", 0).Remove(DCM_StudyTime);
            Nth(dir, "STUDY", 1).Remove(DCM_StudyDate);
            Nth(dir, "STUDY", 2).Set(DCM_StudyDate, "2022.01.15");
            Nth(dir, "STUDY", 2).Set(DCM_StudyTime, "08:15");
            return dir;
        }) << QList<QStringList>{{"1", "P001", "DOE, JANE", "CT", "ACC1", "CT chest", "05/03/2024 ", "DOE, JANE-P001"},
                                 {"2", "P001", "DOE, JANE", "CR", "--", "Hand", "--", "DOE, JANE-P001"},
                                 {"3", "P002", "ROE, RICHARD M", "US", "--", "Abdomen", "15/01/2022 08:15:00", "ROE, RICHARD M-P002"}};
        // A value that is no date counts as none; a time that is no time shows nothing
        QTest::newRow("no date, no time") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "STUDY", 0).Set(DCM_StudyTime, "14::3:0:");
            Nth(dir, "STUDY", 1).Set(DCM_StudyDate, "2023");
            return dir;
        }) << QList<QStringList>{{"1", "P001", "DOE, JANE", "CT", "ACC1", "CT chest", "05/03/2024 ", "DOE, JANE-P001"},
                                 {"2", "P001", "DOE, JANE", "CR", "--", "Hand", "--", "DOE, JANE-P001"},
                                 kRichard};
        QTest::newRow("empty accession and description") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "STUDY", 0).Set(DCM_AccessionNumber, "");
            Nth(dir, "STUDY", 0).Remove(DCM_StudyDescription);
            return dir;
        }) << QList<QStringList>{{"1", "P001", "DOE, JANE", "CT", "--", "--", "05/03/2024 14:30:00", "DOE, JANE-P001"}, kJaneHand, kRichard};
        // A value longer than the parser keeps in memory is read from the file when asked for
        QTest::newRow("description longer than 4096 bytes") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "STUDY", 1).Set(DCM_StudyDescription, std::string(5000, 'D') + "END");
            return dir;
        }) << QList<QStringList>{kJaneChest,
                                 {"2", "P001", "DOE, JANE", "CR", "--", QString(5000, QLatin1Char('D')) + "END",
                                  "11/11/2023 10:15:00", "DOE, JANE-P001"},
                                 kRichard};
        // The first series that has a modality gives the row its modality
        QTest::newRow("first series without modality") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "SERIES", 0).Remove(DCM_Modality);
            Nth(dir, "SERIES", 3).Set(DCM_Modality, "");
            return dir;
        }) << QList<QStringList>{{"1", "P001", "DOE, JANE", "MR", "ACC1", "CT chest", "05/03/2024 14:30:00", "DOE, JANE-P001"},
                                 {"2", "P001", "DOE, JANE", "--", "--", "Hand", "11/11/2023 10:15:00", "DOE, JANE-P001"},
                                 kRichard};
        QTest::newRow("study without series") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "STUDY", 2).lower = -1;
            return dir;
        }) << QList<QStringList>{kJaneChest, kJaneHand, {"3", "P002", "ROE, RICHARD M", "", "--", "Abdomen", "01/01/2022 08:00:00", "ROE, RICHARD M-P002"}};
        // A patient without lower level is left out; its studies belong to no patient, not
        // to the patient read before
        QTest::newRow("patient with lower offset 0") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "PATIENT", 1).lower = -1;
            return dir;
        }) << QList<QStringList>{kJaneChest, kJaneHand, {"3", "--", "--", "US", "--", "Abdomen", "01/01/2022 08:00:00", ""}};
        // Two patients' chains reach one study: it is the first patient's; the study only
        // the second chain skipped belongs to nobody
        QTest::newRow("two patients reach one study") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "PATIENT", 1).lower = IndexOf(dir, "STUDY", 1);
            return dir;
        }) << QList<QStringList>{kJaneChest, kJaneHand, {"3", "--", "--", "US", "--", "Abdomen", "01/01/2022 08:00:00", ""}};
        // Texts read in the character set their record names; without one, UTF-8 stays UTF-8
        QTest::newRow("UTF-8 texts") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "PATIENT", 1).Set(DCM_SpecificCharacterSet, "ISO_IR 192");
            Nth(dir, "PATIENT", 1).Set(DCM_PatientName, "M\xC3\x9CLLER^J\xC3\x9CRGEN");
            Nth(dir, "STUDY", 2).Set(DCM_SpecificCharacterSet, "ISO_IR 192");
            Nth(dir, "STUDY", 2).Set(DCM_StudyDescription, "Th\xC3\xB6rax");
            return dir;
        }) << QList<QStringList>{kJaneChest, kJaneHand, {"3", "P002", "MÜLLER, JÜRGEN", "US", "--", "Thörax", "01/01/2022 08:00:00", "MÜLLER, JÜRGEN-P002"}};
        QTest::newRow("Latin-1 texts") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "PATIENT", 1).Set(DCM_SpecificCharacterSet, "ISO_IR 100");
            Nth(dir, "PATIENT", 1).Set(DCM_PatientName, "M\xDCLLER^J\xDCRGEN");
            Nth(dir, "STUDY", 2).Set(DCM_StudyDescription, "Th\xF6rax");
            return dir;
        }) << QList<QStringList>{kJaneChest, kJaneHand, {"3", "P002", "MÜLLER, JÜRGEN", "US", "--", "Thörax", "01/01/2022 08:00:00", "MÜLLER, JÜRGEN-P002"}};
        // Two records in two sets the toolkit converts: each decoded with its own converter
        QTest::newRow("two converted character sets") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "PATIENT", 1).Set(DCM_SpecificCharacterSet, "ISO_IR 144");
            Nth(dir, "PATIENT", 1).Set(DCM_PatientName, "\xB8\xB2\xB0\xBD\xBE\xB2^\xBF\xB5\xC2\xC0");
            Nth(dir, "STUDY", 2).Set(DCM_SpecificCharacterSet, "ISO_IR 126");
            Nth(dir, "STUDY", 2).Set(DCM_StudyDescription, "\xC8\xD9\xD1\xC1\xCA\xC1\xD3");
            return dir;
        }) << QList<QStringList>{kJaneChest, kJaneHand, {"3", "P002", "ИВАНОВ, ПЕТР", "US", "--", "ΘΩΡΑΚΑΣ", "01/01/2022 08:00:00", "ИВАНОВ, ПЕТР-P002"}};
        QTest::newRow("UTF-8 texts without a character set") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "PATIENT", 1).Set(DCM_PatientName, "M\xC3\x9CLLER^J\xC3\x9CRGEN");
            return dir;
        }) << QList<QStringList>{kJaneChest, kJaneHand, {"3", "P002", "MÜLLER, JÜRGEN", "US", "--", "Abdomen", "01/01/2022 08:00:00", "MÜLLER, JÜRGEN-P002"}};
        QTest::newRow("two patients reach one study, breadth-first") << MakeDir([] {
            HandDicomDir dir = Sample(RecordOrder::BreadthFirst);
            Nth(dir, "PATIENT", 1).lower = IndexOf(dir, "STUDY", 1);
            return dir;
        }) << QList<QStringList>{kJaneChest, kJaneHand, {"3", "--", "--", "US", "--", "Abdomen", "01/01/2022 08:00:00", ""}};
    }
    void rowTexts()
    {
        QFETCH(MakeDir, make);
        QFETCH(QList<QStringList>, rows);
        if (QByteArray(QTest::currentDataTag()) == "two converted character sets" && !DcmSpecificCharacterSet::isConversionAvailable())
            QSKIP("the toolkit converts no character set here");
        HandDicomDir dir = make();
        const DicomDirContents contents = read(dir);
        QVERIFY(contents.bRead);
        QCOMPARE(Texts(contents), rows);
        for (size_t i = 0; i < contents.rows.size(); ++i)
            QCOMPARE(contents.rows[i].astrText[7], QString::fromStdString(Nth(dir, "STUDY", int(i)).Get(DCM_StudyInstanceUID)));
    }

    // Rows carry their STUDY record and the PATIENT record of the chain that holds them.
    void rowsKnowTheirRecords_data()
    {
        QTest::addColumn<RecordOrder>("order");
        QTest::newRow("depth-first") << RecordOrder::DepthFirst;
        QTest::newRow("breadth-first") << RecordOrder::BreadthFirst;
    }
    void rowsKnowTheirRecords()
    {
        QFETCH(RecordOrder, order);
        const HandDicomDir dir = Sample(order);
        const DicomDirContents contents = read(dir);
        QCOMPARE(contents.rows.size(), size_t(3));
        const int expectedPatient[] = {0, 0, 1};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(contents.rows[size_t(i)].nStudyRecord, IndexOf(dir, "STUDY", i));
            QCOMPARE(contents.rows[size_t(i)].nPatientRecord, IndexOf(dir, "PATIENT", expectedPatient[i]));
        }
    }

    // One offset record per kept record, in DICOMDIR order, with the file's offsets, links,
    // indexes and keys; the patients with their names and IDs.
    void offsetListsAndPatients()
    {
        HandDicomDir dir = Sample(RecordOrder::BreadthFirst);
        DirRecord privateRecord;
        privateRecord.type = "PRIVATE";
        dir.records.push_back(privateRecord);
        const std::vector<std::uint32_t> offsets = RecordOffsets(dir);
        const DicomDirContents contents = read(dir);

        QCOMPARE(contents.patientOffsets.size(), size_t(2));
        QCOMPARE(contents.studyOffsets.size(), size_t(3));
        QCOMPARE(contents.seriesOffsets.size(), size_t(5));
        QCOMPARE(contents.imageOffsets.size(), size_t(7));
        QCOMPARE(contents.presentationOffsets.size(), size_t(1));
        QCOMPARE(contents.chain.size(), dir.records.size());

        const std::pair<const COffsetList*, const char*> lists[] = {
            {&contents.patientOffsets, "PATIENT"}, {&contents.studyOffsets, "STUDY"}, {&contents.seriesOffsets, "SERIES"},
            {&contents.imageOffsets, "IMAGE"}, {&contents.presentationOffsets, "PRESENTATION"}};
        auto offsetOf = [&](int index) { return index < 0 ? 0u : offsets[size_t(index)]; };
        for (const auto& [list, type] : lists)
            for (size_t n = 0; n < list->size(); ++n) {
                const int index = IndexOf(dir, type, int(n));
                const COffsetListValue& value = *(*list)[n];
                QCOMPARE(value.m_nIndex, std::uint32_t(index));
                QCOMPARE(value.m_nOffset, offsets[size_t(index)]);
                QCOMPARE(value.m_nNextOffset, offsetOf(dir.records[size_t(index)].next));
                QCOMPARE(value.m_nLowerOffset, offsetOf(dir.records[size_t(index)].lower));
            }
        QCOMPARE(contents.patientOffsets[0]->GetKey(), QStringLiteral("DOE, JANE-P001"));
        QCOMPARE(contents.patientOffsets[1]->GetKey(), QStringLiteral("ROE, RICHARD M-P002"));
        QCOMPARE(contents.studyOffsets[2]->GetKey(), QString::fromStdString(Nth(dir, "STUDY", 2).Get(DCM_StudyInstanceUID)));
        QCOMPARE(contents.seriesOffsets[0]->GetKey(), QString());

        QCOMPARE(contents.patients.size(), size_t(2));
        QCOMPARE(contents.patients[1]->m_strPatientName, QStringLiteral("ROE, RICHARD M"));
        QCOMPARE(contents.patients[1]->m_strPatientID, QStringLiteral("P002"));
        QCOMPARE(contents.patients[1]->m_nRecordIndex, IndexOf(dir, "PATIENT", 1));
        QVERIFY(contents.patients[0]->m_lstStudies.empty());
    }

    // Two patients with one name and ID, two studies with one UID: four rows, each its own.
    void duplicateKeysStayApart()
    {
        FileSet set = SampleFileSet();
        set.patients[1].patientName = set.patients[0].patientName;
        set.patients[1].patientId = set.patients[0].patientId;
        set.patients[1].studies[0].studyInstanceUid = set.patients[0].studies[0].studyInstanceUid;
        const HandDicomDir dir = RecordsOf(set);
        const DicomDirContents contents = read(dir);
        QCOMPARE(contents.rows.size(), size_t(3));
        QCOMPARE(contents.rows[0].astrText[8], contents.rows[2].astrText[8]);
        QCOMPARE(contents.rows[0].astrText[7], contents.rows[2].astrText[7]);
        QVERIFY(contents.rows[0].nPatientRecord != contents.rows[2].nPatientRecord);
        QVERIFY(contents.rows[0].nStudyRecord != contents.rows[2].nStudyRecord);
    }

    // Chains that cycle or point nowhere still end, and rows come out.
    void oddChainsEnd_data()
    {
        QTest::addColumn<MakeDir>("make");
        QTest::addColumn<int>("rows");
        QTest::newRow("study chain cycles to its first") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "STUDY", 1).next = IndexOf(dir, "STUDY", 0);
            return dir;
        }) << 3;
        QTest::newRow("series chain cycles behind its first") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "SERIES", 2).next = IndexOf(dir, "SERIES", 1);
            Nth(dir, "SERIES", 0).Remove(DCM_Modality);
            Nth(dir, "SERIES", 1).Remove(DCM_Modality);
            Nth(dir, "SERIES", 2).Remove(DCM_Modality);
            return dir;
        }) << 3;
        QTest::newRow("dangling offsets") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "PATIENT", 0).lowerOffset = 0x7FFFFFF0u;
            Nth(dir, "STUDY", 2).lowerOffset = 13u;
            dir.firstRoot = -1;
            return dir;
        }) << 3;
        QTest::newRow("a record links to itself") << MakeDir([] {
            HandDicomDir dir = Sample();
            Nth(dir, "PATIENT", 0).next = IndexOf(dir, "PATIENT", 0);
            Nth(dir, "PATIENT", 0).lower = IndexOf(dir, "PATIENT", 0);
            return dir;
        }) << 3;
        QTest::newRow("no records") << MakeDir([] { return HandDicomDir(); }) << 0;
    }
    void oddChainsEnd()
    {
        QFETCH(MakeDir, make);
        QFETCH(int, rows);
        const DicomDirContents contents = read(make());
        QVERIFY(contents.bRead);
        QCOMPARE(int(contents.rows.size()), rows);
    }

    void cycleGivesPatientAndModality()
    {
        HandDicomDir dir = Sample();
        Nth(dir, "STUDY", 1).next = IndexOf(dir, "STUDY", 0);
        Nth(dir, "SERIES", 2).next = IndexOf(dir, "SERIES", 1);
        Nth(dir, "SERIES", 0).Remove(DCM_Modality);
        Nth(dir, "SERIES", 1).Remove(DCM_Modality);
        Nth(dir, "SERIES", 2).Remove(DCM_Modality);
        const DicomDirContents contents = read(dir);
        QCOMPARE(contents.rows[0].astrText[2], QStringLiteral("DOE, JANE"));
        QCOMPARE(contents.rows[1].astrText[2], QStringLiteral("DOE, JANE"));
        QCOMPARE(contents.rows[0].astrText[3], QStringLiteral("--"));
    }

    // Files that are no DICOMDIR: nothing read, nothing kept, no crash.
    void unreadableFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("read");
        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("text") << QByteArray("this is not DICOM at all\n") << false;
    }
    void unreadableFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, read);
        const QString path = m_dir.filePath(QStringLiteral("junk%1").arg(++m_count));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const DicomDirContents contents = ReadDicomDir(QFile::encodeName(path).constData());
        QCOMPARE(contents.bRead, read);
        QVERIFY(contents.rows.empty());
        QVERIFY(contents.patients.empty());
    }

    void missingFileIsNotRead()
    {
        const DicomDirContents contents = ReadDicomDir(QFile::encodeName(m_dir.filePath("absent")).constData());
        QVERIFY(!contents.bRead);
        QVERIFY(!contents.pFile);
        const DicomDirContents none = ReadDicomDir(nullptr);
        QVERIFY(!none.bRead);
    }

    // A DICOM file without a Directory Record Sequence is read, with no rows.
    void fileWithoutRecordSequence()
    {
        const QString path = m_dir.filePath("image.dcm");
        QCOMPARE(WriteMinimalImage(MinimalImage(), path), QString());
        const DicomDirContents contents = ReadDicomDir(QFile::encodeName(path).constData());
        QVERIFY(contents.bRead);
        QVERIFY(!contents.pRecordSequence);
        QVERIFY(contents.rows.empty());
    }

    // A DICOMDIR cut off in its records keeps what DCMTK could read, without a crash.
    void truncatedDicomDir()
    {
        const QString path = m_dir.filePath("truncated");
        QCOMPARE(WriteHandDicomDir(Sample(), path), QString());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.resize(file.size() * 2 / 3));
        file.close();
        const DicomDirContents contents = ReadDicomDir(QFile::encodeName(path).constData());
        QVERIFY(contents.rows.size() <= 3);
    }

    void stopEndsTheWalk()
    {
        const QString path = m_dir.filePath("stop");
        QCOMPARE(WriteHandDicomDir(Sample(), path), QString());
        const std::atomic<bool> stop{true};
        const DicomDirContents contents = ReadDicomDir(QFile::encodeName(path).constData(), &stop);
        QVERIFY(contents.rows.empty());
        QVERIFY(contents.patients.empty());
    }

    void displayName_data()
    {
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("middle");
        QTest::addColumn<QString>("name");
        QTest::newRow("all") << "Doe" << "Jane" << "Q" << "Doe, Jane Q";
        QTest::newRow("last only") << "Doe" << "" << "" << "Doe";
        QTest::newRow("first only") << "" << "Jane" << "" << "Jane";
        QTest::newRow("middle only") << "" << "" << "Q" << " Q";
        QTest::newRow("last and middle") << "Doe" << "" << "Q" << "Doe Q";
        QTest::newRow("none") << "" << "" << "" << "";
    }
    void displayName()
    {
        QFETCH(QString, last);
        QFETCH(QString, first);
        QFETCH(QString, middle);
        QFETCH(QString, name);
        QCOMPARE(DisplayName(last, first, middle), name);
    }

    void dateAndTime_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("dateText");
        QTest::addColumn<QString>("timeText");
        QTest::newRow("full") << "20240305" << "143000.123" << "05/03/2024" << "14:30:00";
        QTest::newRow("older forms") << "2024.03.05" << "14:30" << "05/03/2024" << "14:30:00";
        QTest::newRow("no date, hours only") << "2024" << "14" << "" << "14:00:00";
        QTest::newRow("empty") << "" << "" << "" << "";
    }
    void dateAndTime()
    {
        QFETCH(QString, date);
        QFETCH(QString, time);
        QFETCH(QString, dateText);
        QFETCH(QString, timeText);
        QCOMPARE(FormatStudyDate(date), dateText);
        QCOMPARE(FormatStudyTime(time), timeText);
    }
};

QTEST_GUILESS_MAIN(tst_DicomDirReader)
#include "tst_DicomDirReader.moc"
