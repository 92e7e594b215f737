// The file sets the generator writes, read back with DCMTK: well-formed DICOMDIRs through
// DcmDicomDir, hand-shaped ones record by record with their offsets, and the images.

// Qt
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcdicdir.h>
#include <dcmtk/dcmdata/dcdirrec.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcsequen.h>
#include <dcmtk/dcmdata/dcstack.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmimgle/dcmimage.h>

// std
#include <map>
#include <set>

// Orvane
#include "tools/fixtures/DicomDirFixtures.h"

using namespace Fixtures;

Q_DECLARE_METATYPE(Fixtures::RecordOrder)

namespace {

QString Text(DcmItem* item, const DcmTagKey& key)
{
    OFString value;
    if (item->findAndGetOFStringArray(key, value, OFFalse).bad())
        return {};
    return QString::fromLatin1(value.c_str());
}

// One directory record as read by DcmFileFormat, in sequence order.
struct ReadRecord
{
    QString type;
    Uint32 offset = 0;
    Uint32 next = 0;
    Uint32 lower = 0;
    DcmDirectoryRecord* item = nullptr;
};

struct ReadDir
{
    DcmFileFormat file;
    std::vector<ReadRecord> records;
    Uint32 firstRoot = 0;
    Uint32 lastRoot = 0;
    bool ok = false;
};

void Read(const QString& path, ReadDir& dir)
{
    if (dir.file.loadFile(QFile::encodeName(path).constData(), EXS_Unknown, EGL_noChange, 4096, ERM_autoDetect).bad())
        return;
    DcmDataset* ds = dir.file.getDataset();
    ds->findAndGetUint32(DCM_OffsetOfTheFirstDirectoryRecordOfTheRootDirectoryEntity, dir.firstRoot);
    ds->findAndGetUint32(DCM_OffsetOfTheLastDirectoryRecordOfTheRootDirectoryEntity, dir.lastRoot);
    DcmStack stack;
    if (ds->search(DCM_DirectoryRecordSequence, stack, ESM_fromHere, OFFalse).bad() || stack.top()->ident() != EVR_SQ)
        return;
    auto* sequence = static_cast<DcmSequenceOfItems*>(stack.top());
    for (DcmObject* o = sequence->nextInContainer(nullptr); o; o = sequence->nextInContainer(o)) {
        if (o->ident() != EVR_dirRecord)
            return;
        auto* record = static_cast<DcmDirectoryRecord*>(o);
        ReadRecord r;
        r.item = record;
        r.type = Text(record, DCM_DirectoryRecordType);
        r.offset = record->getFileOffset();
        record->findAndGetUint32(DCM_OffsetOfTheNextDirectoryRecord, r.next);
        record->findAndGetUint32(DCM_OffsetOfReferencedLowerLevelDirectoryEntity, r.lower);
        dir.records.push_back(r);
    }
    dir.ok = true;
}

QString FileOf(const QString& folder, const QString& fileId)
{
    return folder + QLatin1Char('/') + QString(fileId).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

} // namespace

class tst_DicomDirFixtures : public QObject
{
    Q_OBJECT

private slots:
    // The well-formed DICOMDIR holds the tree with its keys, Number of Frames on multi-frame
    // IMAGE records and a PRESENTATION record; every referenced file loads and matches.
    void wellFormedSetReadsBack()
    {
        QTemporaryDir dir;
        const FileSet set = SampleFileSet();
        QCOMPARE(WriteDicomDir(set, dir.path()), QString());

        DcmDicomDir dicomDir(QFile::encodeName(dir.filePath("DICOMDIR")).constData());
        QVERIFY(dicomDir.error().good());
        DcmDirectoryRecord& root = dicomDir.getRootRecord();
        QCOMPARE(root.cardSub(), 2ul);

        std::map<QString, QString> fileOfUid;
        int images = 0, presentations = 0, multiFrame = 0;
        for (unsigned long p = 0; p < root.cardSub(); ++p) {
            DcmDirectoryRecord* patient = root.getSub(p);
            QCOMPARE(patient->getRecordType(), ERT_Patient);
            QCOMPARE(Text(patient, DCM_PatientID), QString::fromStdString(set.patients[p].patientId));
            QCOMPARE(patient->cardSub(), set.patients[p].studies.size());
            for (unsigned long s = 0; s < patient->cardSub(); ++s) {
                DcmDirectoryRecord* study = patient->getSub(s);
                QCOMPARE(Text(study, DCM_StudyInstanceUID), QString::fromStdString(set.patients[p].studies[s].studyInstanceUid));
                for (unsigned long se = 0; se < study->cardSub(); ++se) {
                    DcmDirectoryRecord* series = study->getSub(se);
                    for (unsigned long i = 0; i < series->cardSub(); ++i) {
                        DcmDirectoryRecord* leaf = series->getSub(i);
                        const QString uid = Text(leaf, DCM_ReferencedSOPInstanceUIDInFile);
                        fileOfUid[uid] = Text(leaf, DCM_ReferencedFileID);
                        if (leaf->getRecordType() == ERT_Image) {
                            ++images;
                            Sint32 frames = 1;
                            if (leaf->findAndGetSint32(DCM_NumberOfFrames, frames).good() && frames == 12)
                                ++multiFrame;
                        } else if (leaf->getRecordType() == ERT_Presentation) {
                            ++presentations;
                            QCOMPARE(Text(series, DCM_Modality), QStringLiteral("PR"));
                        }
                    }
                }
            }
        }
        QCOMPARE(images, 7);
        QCOMPARE(presentations, 1);
        QCOMPARE(multiFrame, 1);

        for (const auto& [uid, fileId] : fileOfUid) {
            DcmFileFormat file;
            QVERIFY2(file.loadFile(QFile::encodeName(FileOf(dir.path(), fileId)).constData()).good(), qPrintable(fileId));
            QCOMPARE(Text(file.getDataset(), DCM_SOPInstanceUID), uid);
        }
    }

    // Files marked absent are gone after the DICOMDIR was built; lower-case names on disk.
    void wellFormedWithAbsentAndLowerCaseFiles()
    {
        QTemporaryDir dir;
        FileSet set = SampleFileSet();
        FsImage& absent = set.patients[0].studies[0].series[0].images[0];
        absent.onDisk = false;
        FileSetOptions options;
        options.lowerCaseOnDisk = true;
        QCOMPARE(WriteDicomDir(set, dir.path(), options), QString());

        ReadDir read;
        Read(dir.filePath("DICOMDIR"), read);
        QVERIFY(read.ok);
        int imageRecords = 0;
        for (const ReadRecord& r : read.records)
            imageRecords += r.type == QLatin1String("IMAGE");
        QCOMPARE(imageRecords, 7);

        const QString absentPath = FileOf(dir.path(), QString::fromStdString(absent.fileId));
        QVERIFY(!QFile::exists(absentPath));
        QVERIFY(!QFile::exists(absentPath.toLower()));
        const QString present = FileOf(dir.path(), QString::fromStdString(set.patients[0].studies[0].series[0].images[1].fileId));
        QVERIFY(!QFile::exists(present));
        QVERIFY(QFile::exists(dir.path() + present.mid(dir.path().size()).toLower()));
        QVERIFY(!QDir(dir.filePath("P001")).exists());
    }

    // Hand-shaped DICOMDIRs: DCMTK finds each record at the offset the writer computed, and
    // the links point at the records they name, in either order.
    void handShapedOffsetsMatch_data()
    {
        QTest::addColumn<RecordOrder>("order");
        QTest::addColumn<QStringList>("types");
        const QStringList depth = {"PATIENT", "STUDY", "SERIES", "IMAGE", "IMAGE", "IMAGE", "SERIES", "IMAGE",
                                   "SERIES", "PRESENTATION", "STUDY", "SERIES", "IMAGE",
                                   "PATIENT", "STUDY", "SERIES", "IMAGE", "IMAGE"};
        const QStringList breadth = {"PATIENT", "PATIENT", "STUDY", "STUDY", "STUDY", "SERIES", "SERIES", "SERIES",
                                     "SERIES", "SERIES", "IMAGE", "IMAGE", "IMAGE", "IMAGE", "PRESENTATION",
                                     "IMAGE", "IMAGE", "IMAGE"};
        QTest::newRow("depth-first") << RecordOrder::DepthFirst << depth;
        QTest::newRow("breadth-first") << RecordOrder::BreadthFirst << breadth;
    }
    void handShapedOffsetsMatch()
    {
        QFETCH(RecordOrder, order);
        QFETCH(QStringList, types);
        QTemporaryDir dir;
        const FileSet set = SampleFileSet();
        const HandDicomDir hand = RecordsOf(set, order);
        QCOMPARE(WriteHandFileSet(set, hand, dir.path()), QString());

        ReadDir read;
        Read(dir.filePath("DICOMDIR"), read);
        QVERIFY(read.ok);
        QStringList readTypes;
        for (const ReadRecord& r : read.records)
            readTypes << r.type;
        QCOMPARE(readTypes, types);

        const std::vector<std::uint32_t> offsets = RecordOffsets(hand);
        QCOMPARE(read.records.size(), offsets.size());
        auto offsetOf = [&](int index) { return index < 0 ? 0u : offsets[size_t(index)]; };
        for (size_t i = 0; i < offsets.size(); ++i) {
            QCOMPARE(read.records[i].offset, offsets[i]);
            QCOMPARE(read.records[i].next, offsetOf(hand.records[i].next));
            QCOMPARE(read.records[i].lower, offsetOf(hand.records[i].lower));
        }
        QCOMPARE(read.firstRoot, offsetOf(hand.firstRoot));
        QCOMPARE(read.lastRoot, offsetOf(IndexOf(hand, "PATIENT", 1)));

        // The chains are the tree's: the first study's series below it, in order
        const int study = IndexOf(hand, "STUDY", 0);
        int series = hand.records[size_t(study)].lower;
        QStringList modalities;
        while (series >= 0) {
            modalities << QString::fromStdString(hand.records[size_t(series)].Get(DCM_Modality));
            series = hand.records[size_t(series)].next;
        }
        QCOMPARE(modalities, QStringList({"CT", "MR", "PR"}));
        QCOMPARE(Text(read.records[size_t(IndexOf(hand, "IMAGE", 0))].item, DCM_ReferencedFileID),
                 QStringLiteral("P001\\ST1\\SE1\\IM3"));
    }

    // Whatever a test shapes goes down as given: links of a cycle, dangling offsets, a patient
    // without lower level, a record type the viewer does not know, empty and odd values.
    void handShapedKeepsOddRecords()
    {
        QTemporaryDir dir;
        HandDicomDir hand = RecordsOf(SampleFileSet());
        const int patient = IndexOf(hand, "PATIENT", 1);
        const int firstImage = IndexOf(hand, "IMAGE", 0);
        const int thirdImage = IndexOf(hand, "IMAGE", 2);
        const int series = IndexOf(hand, "SERIES", 1);
        hand.records[size_t(patient)].lower = -1;
        hand.records[size_t(thirdImage)].next = firstImage;
        hand.records[size_t(series)].Remove(DCM_Modality);
        hand.records[size_t(series)].nextOffset = 0x7FFFFFF0u;
        hand.records[size_t(firstImage)].Set(DCM_ReferencedFileID, "..\\OUTSIDE");
        DirRecord privateRecord;
        privateRecord.type = "PRIVATE";
        privateRecord.Set(DCM_PatientName, "");
        hand.records.push_back(privateRecord);
        QCOMPARE(WriteHandDicomDir(hand, dir.filePath("DICOMDIR")), QString());

        ReadDir read;
        Read(dir.filePath("DICOMDIR"), read);
        QVERIFY(read.ok);
        QCOMPARE(read.records.size(), hand.records.size());
        QCOMPARE(read.records[size_t(patient)].lower, 0u);
        QCOMPARE(read.records[size_t(thirdImage)].next, read.records[size_t(firstImage)].offset);
        QCOMPARE(read.records[size_t(series)].next, 0x7FFFFFF0u);
        QVERIFY(!read.records[size_t(series)].item->tagExists(DCM_Modality));
        QCOMPARE(Text(read.records[size_t(firstImage)].item, DCM_ReferencedFileID), QStringLiteral("..\\OUTSIDE"));
        QCOMPARE(read.records.back().item->getRecordType(), ERT_Private);
        QVERIFY(read.records.back().item->tagExists(DCM_PatientName));
        QVERIFY(!read.records.back().item->tagExistsWithValue(DCM_PatientName));
    }

    // The images load and render as small MONOCHROME2 images with their frame count.
    void minimalImagesRender_data()
    {
        QTest::addColumn<QString>("modality");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QString>("sopClass");
        QTest::newRow("CT") << "CT" << 1 << UID_CTImageStorage;
        QTest::newRow("MR") << "MR" << 1 << UID_MRImageStorage;
        QTest::newRow("CR") << "CR" << 1 << UID_ComputedRadiographyImageStorage;
        QTest::newRow("XA multi-frame") << "XA" << 5 << UID_XRayAngiographicImageStorage;
        QTest::newRow("MR multi-frame") << "MR" << 12 << UID_MultiframeGrayscaleWordSecondaryCaptureImageStorage;
        QTest::newRow("OT") << "OT" << 1 << UID_SecondaryCaptureImageStorage;
    }
    void minimalImagesRender()
    {
        QFETCH(QString, modality);
        QFETCH(int, frames);
        QFETCH(QString, sopClass);
        QTemporaryDir dir;
        MinimalImage image;
        image.modality = modality.toStdString();
        image.frames = frames;
        image.rows = 6;
        image.columns = 5;
        const QString path = dir.filePath("IMG");
        QCOMPARE(WriteMinimalImage(image, path), QString());

        DcmFileFormat file;
        QVERIFY(file.loadFile(QFile::encodeName(path).constData()).good());
        QCOMPARE(Text(file.getDataset(), DCM_SOPClassUID), sopClass);
        QCOMPARE(Text(file.getDataset(), DCM_SOPInstanceUID), QString::fromStdString(image.sopInstanceUid));
        DicomImage rendered(file.getDataset(), file.getDataset()->getOriginalXfer());
        QCOMPARE(rendered.getStatus(), EIS_Normal);
        QVERIFY(rendered.isMonochrome());
        QCOMPARE(int(rendered.getWidth()), 5);
        QCOMPARE(int(rendered.getHeight()), 6);
        QCOMPARE(int(rendered.getFrameCount()), frames);

        // The pixels are those of its recipe
        const Uint16* pixels = nullptr;
        QVERIFY(file.getDataset()->findAndGetUint16Array(DCM_PixelData, pixels).good());
        const ImageRecipe recipe = RecipeOf(image);
        const int last = frames - 1;
        QCOMPARE(int(pixels[0]), StoredValue(recipe, 0, 0, 0));
        QCOMPARE(int(pixels[30 * last + 6 * 5 - 1]), StoredValue(recipe, last, 4, 5));
        QVERIFY(pixels[30 * last + 6 * 5 - 1] != pixels[0]);
    }

    // An image of the tree with a recipe has the recipe's pixels and the tree's identity, and
    // the well-formed DICOMDIR lists it.
    void recipeImagesTakeTheTreesIdentity()
    {
        QTemporaryDir dir;
        auto recipe = std::make_shared<ImageRecipe>(Preset(ImagePreset::Ct));
        recipe->content = Content::Phantom;
        recipe->columns = 64;
        recipe->rows = 48;
        FsImage image;
        image.fileId = "P1\\S1\\IM1";
        image.instanceNumber = "7";
        image.recipe = recipe;
        FsSeries series;
        series.modality = "CT";
        series.seriesNumber = "3";
        series.images = {image};
        FsStudy study;
        study.series = {series};
        FsPatient patient;
        patient.patientId = "TREE1";
        patient.patientName = "TREE^PATIENT";
        patient.studies = {study};
        FileSet set;
        set.patients = {patient};
        QCOMPARE(WriteDicomDir(set, dir.path()), QString());

        DcmFileFormat file;
        QVERIFY(file.loadFile(QFile::encodeName(dir.filePath("P1/S1/IM1")).constData()).good());
        DcmDataset* data = file.getDataset();
        QCOMPARE(Text(data, DCM_SOPInstanceUID), QString::fromStdString(image.sopInstanceUid));
        QCOMPARE(Text(data, DCM_SOPClassUID), QString::fromLatin1(UID_CTImageStorage));
        QCOMPARE(Text(data, DCM_PatientID), QStringLiteral("TREE1"));
        QCOMPARE(Text(data, DCM_StudyInstanceUID), QString::fromStdString(study.studyInstanceUid));
        QCOMPARE(Text(data, DCM_SeriesNumber), QStringLiteral("3"));
        QCOMPARE(Text(data, DCM_InstanceNumber), QStringLiteral("7"));
        QCOMPARE(Text(data, DCM_PixelSpacing), QStringLiteral("0.7\\0.7"));
        Uint16 rows = 0;
        QVERIFY(data->findAndGetUint16(DCM_Rows, rows).good());
        QCOMPARE(int(rows), 48);
        const Uint16* pixels = nullptr; // OW, stored signed
        QVERIFY(data->findAndGetUint16Array(DCM_PixelData, pixels).good());
        QCOMPARE(int(Sint16(pixels[24 * 64 + 32])), StoredValue(*recipe, 0, 32, 24));

        DcmDicomDir dicomDir(QFile::encodeName(dir.filePath("DICOMDIR")).constData());
        DcmDirectoryRecord& root = dicomDir.getRootRecord();
        QCOMPARE(int(root.cardSub()), 1);
        DcmDirectoryRecord* imageRecord = root.getSub(0)->getSub(0)->getSub(0)->getSub(0);
        QVERIFY(imageRecord);
        QCOMPARE(Text(imageRecord, DCM_ReferencedSOPInstanceUIDInFile), QString::fromStdString(image.sopInstanceUid));
    }

    void largeSetHasTheAskedImageCount_data()
    {
        QTest::addColumn<int>("images");
        QTest::newRow("5000") << 5000;
        QTest::newRow("20000") << 20000;
        QTest::newRow("odd") << 333;
    }
    void largeSetHasTheAskedImageCount()
    {
        QFETCH(int, images);
        const FileSet set = LargeFileSet(images);
        int count = 0;
        std::set<std::string> fileIds;
        for (const FsPatient& p : set.patients)
            for (const FsStudy& s : p.studies)
                for (const FsSeries& se : s.series) {
                    QVERIFY(se.images.size() <= 20);
                    for (const FsImage& i : se.images) {
                        ++count;
                        fileIds.insert(i.fileId);
                    }
                }
        QCOMPARE(count, images);
        QCOMPARE(int(fileIds.size()), images);
    }
};

QTEST_GUILESS_MAIN(tst_DicomDirFixtures)
#include "tst_DicomDirFixtures.moc"
