// CxImageDCM attribute queries: formats, precedence, spacing variants and the rule that a
// query writes the caller's value only when the attribute has one.

// Qt
#include <QTemporaryDir>
#include <QtTest>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcspchrs.h>

// Orvane
#include "platform/CxImage.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tools/fixtures/ImageFixtures.h"

// std
#include <limits>
#include <memory>
#include <optional>

using namespace Fixtures;

Q_DECLARE_METATYPE(Fixtures::Syntax)

namespace {

using TextQuery = void (CxImageDCM::*)(QString*);

// A small image with no descriptive attribute at all but its UIDs.
ImageRecipe BareRecipe()
{
    ImageRecipe recipe = Preset(ImagePreset::Mr);
    recipe.columns = 9;
    recipe.rows = 7;
    for (std::string* text : {&recipe.patientName, &recipe.patientId, &recipe.patientBirthDate, &recipe.patientSex, &recipe.studyId,
                              &recipe.seriesNumber, &recipe.instanceNumber, &recipe.accessionNumber, &recipe.institutionName,
                              &recipe.referringPhysicianName, &recipe.studyDate, &recipe.studyTime, &recipe.contentDate,
                              &recipe.contentTime, &recipe.studyDescription, &recipe.seriesDescription, &recipe.modality,
                              &recipe.pixelSpacing, &recipe.imagerPixelSpacing, &recipe.windowCenter, &recipe.windowWidth})
        text->clear();
    return recipe;
}

// The query of each name, so that test rows can name them.
TextQuery QueryNamed(const QString& name)
{
    static const QHash<QString, TextQuery> queries = {
        {"GetImageModality", &CxImageDCM::GetImageModality},
        {"GetPatientID", &CxImageDCM::GetPatientID},
        {"GetPatienrSex", &CxImageDCM::GetPatienrSex},
        {"GetStudyDescr", &CxImageDCM::GetStudyDescr},
        {"GetSeriesDescription", &CxImageDCM::GetSeriesDescription},
        {"GetAccessionNo", &CxImageDCM::GetAccessionNo},
        {"GetStudyInstitutionName", &CxImageDCM::GetStudyInstitutionName},
        {"GetStudyDate", &CxImageDCM::GetStudyDate},
        {"GetPatientBirthDate", &CxImageDCM::GetPatientBirthDate},
        {"GetContentDate", &CxImageDCM::GetContentDate},
        {"GetStudyTime", &CxImageDCM::GetStudyTime},
        {"GetContentTime", &CxImageDCM::GetContentTime},
        {"GetReferringPhysiciansName", &CxImageDCM::GetReferringPhysiciansName},
    };
    return queries.value(name);
}

} // namespace

class tst_CxImageDCMQueries : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void textQueries_data();
    void textQueries();
    void textQueriesKeepTheCallersTextWithoutValue_data();
    void textQueriesKeepTheCallersTextWithoutValue();
    void patientNameComponents_data();
    void patientNameComponents();
    void textsInTheirCharacterSet_data();
    void textsInTheirCharacterSet();
    void referringPhysicianComposesOntoTheCallersText_data();
    void referringPhysicianComposesOntoTheCallersText();
    void imageNumbers();
    void pixelValueLimits_data();
    void pixelValueLimits();
    void windowFromDataset_data();
    void windowFromDataset();
    void numberOfFrames_data();
    void numberOfFrames();
    void frameIntervalPrecedence_data();
    void frameIntervalPrecedence();
    void frameIntervalIsCached();
    void pixelSpacingForMeasurements_data();
    void pixelSpacingForMeasurements();
    void imagerPixelSpacingForScale_data();
    void imagerPixelSpacingForScale();
    void queriesWithoutFileChangeNothing();

private:
    CxImageDCM* Open(const ImageRecipe& recipe, Syntax syntax = Syntax::ExplicitLittle);

    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
    std::unique_ptr<CxImageDCM> m_dicom;
    QList<CxImage*> m_images;
    int m_files = 0;
};

void tst_CxImageDCMQueries::initTestCase()
{
    m_codecs = std::make_unique<DicomCodecs>();
    QVERIFY(m_dir.isValid());
}

void tst_CxImageDCMQueries::cleanupTestCase()
{
    qDeleteAll(m_images);
    m_images.clear();
    m_dicom.reset();
}

CxImageDCM* tst_CxImageDCMQueries::Open(const ImageRecipe& recipe, Syntax syntax)
{
    qDeleteAll(m_images);
    m_images.clear();
    const QString path = m_dir.filePath(QStringLiteral("query-%1.dcm").arg(++m_files));
    const QString problem = WriteImage(recipe, syntax, path);
    if (!problem.isEmpty())
        qWarning("%s", qPrintable(problem));
    m_dicom = std::make_unique<CxImageDCM>();
    if (m_dicom->LoadDCM(QFile::encodeName(path).constData(), &m_images, FALSE) != 1)
        qWarning("%s did not load", qPrintable(path));
    return m_dicom.get();
}

void tst_CxImageDCMQueries::textQueries_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("element"); // (group << 16) | element
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("modality") << "GetImageModality" << 0x00080060 << "CT" << "CT";
    QTest::newRow("patient id") << "GetPatientID" << 0x00100020 << "ORV-17 " << "ORV-17";
    QTest::newRow("sex") << "GetPatienrSex" << 0x00100040 << "O" << "O";
    QTest::newRow("study description") << "GetStudyDescr" << 0x00081030 << "Chest CT" << "Chest CT";
    QTest::newRow("series description") << "GetSeriesDescription" << 0x0008103E << "Axial 5mm" << "Axial 5mm";
    QTest::newRow("accession") << "GetAccessionNo" << 0x00080050 << "A77" << "A77";
    QTest::newRow("institution") << "GetStudyInstitutionName" << 0x00080080 << "North Clinic" << "North Clinic";
    QTest::newRow("study date") << "GetStudyDate" << 0x00080020 << "20110803" << "03-08-2011";
    QTest::newRow("study date, dotted") << "GetStudyDate" << 0x00080020 << "1999.05.24" << "24-05-1999";
    QTest::newRow("study date, year only") << "GetStudyDate" << 0x00080020 << "2011" << "";
    QTest::newRow("study date, no date") << "GetStudyDate" << 0x00080020 << "5.-.0-19" << "";
    QTest::newRow("birth date") << "GetPatientBirthDate" << 0x00100030 << "19650314" << "14-03-1965";
    QTest::newRow("birth date, dotted") << "GetPatientBirthDate" << 0x00100030 << "1965.03.14" << "14-03-1965";
    QTest::newRow("content date") << "GetContentDate" << 0x00080023 << "19991231" << "31-12-1999";
    QTest::newRow("content date, dotted") << "GetContentDate" << 0x00080023 << "1999.12.31" << "31-12-1999";
    QTest::newRow("study time") << "GetStudyTime" << 0x00080030 << "123045" << "12:30:45";
    QTest::newRow("study time, fraction") << "GetStudyTime" << 0x00080030 << "123045.5" << "12:30:45";
    QTest::newRow("study time, hours and minutes") << "GetStudyTime" << 0x00080030 << "1230" << "12:30:00";
    QTest::newRow("study time, hours") << "GetStudyTime" << 0x00080030 << "07" << "07:00:00";
    QTest::newRow("study time, colons") << "GetStudyTime" << 0x00080030 << "11:42:21" << "11:42:21";
    QTest::newRow("study time, no time") << "GetStudyTime" << 0x00080030 << "11::4:2:" << "";
    QTest::newRow("content time") << "GetContentTime" << 0x00080033 << "235959.999" << "23:59:59";
    QTest::newRow("content time, colons") << "GetContentTime" << 0x00080033 << "23:59:59.5" << "23:59:59";
}

void tst_CxImageDCMQueries::textQueries()
{
    QFETCH(QString, query);
    QFETCH(int, element);
    QFETCH(QString, value);
    QFETCH(QString, expected);
    ImageRecipe recipe = BareRecipe();
    recipe.extra.push_back({std::uint16_t(element >> 16), std::uint16_t(element & 0xFFFF), value.toStdString()});
    CxImageDCM* dicom = Open(recipe);
    QString text = QStringLiteral("prior");
    (dicom->*QueryNamed(query))(&text);
    QCOMPARE(text, expected);
}

void tst_CxImageDCMQueries::textQueriesKeepTheCallersTextWithoutValue_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("element");
    const QStringList names = {"GetImageModality", "GetPatientID",     "GetPatienrSex",        "GetStudyDescr",
                               "GetSeriesDescription", "GetAccessionNo", "GetStudyInstitutionName", "GetStudyDate",
                               "GetPatientBirthDate", "GetContentDate", "GetStudyTime",         "GetContentTime",
                               "GetReferringPhysiciansName"};
    const int elements[] = {0x00080060, 0x00100020, 0x00100040, 0x00081030, 0x0008103E, 0x00080050, 0x00080080,
                            0x00080020, 0x00100030, 0x00080023, 0x00080030, 0x00080033, 0x00080090};
    for (int i = 0; i < names.size(); ++i)
        QTest::newRow(qPrintable(names[i])) << names[i] << elements[i];
}

void tst_CxImageDCMQueries::textQueriesKeepTheCallersTextWithoutValue()
{
    QFETCH(QString, query);
    QFETCH(int, element);
    // Absent, then present but empty: the caller's text stays
    for (bool present : {false, true}) {
        ImageRecipe recipe = BareRecipe();
        if (present)
            recipe.extra.push_back({std::uint16_t(element >> 16), std::uint16_t(element & 0xFFFF), ""});
        CxImageDCM* dicom = Open(recipe);
        QString text = QStringLiteral("prior");
        (dicom->*QueryNamed(query))(&text);
        QCOMPARE(text, QStringLiteral("prior"));
    }
}

void tst_CxImageDCMQueries::patientNameComponents_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("parts"); // first, last, middle, prefix, suffix
    QTest::newRow("all five") << "Phantom^Anna^Maria^Dr^PhD" << QStringList{"Anna", "Phantom", "Maria", "Dr", "PhD"};
    QTest::newRow("last and first") << "Phantom^Anna" << QStringList{"Anna", "Phantom", "", "", ""};
    QTest::newRow("first only") << "^Anna" << QStringList{"Anna", "", "", "", ""};
    QTest::newRow("first group of several") << "Yamada^Tarou=Ya^Ta" << QStringList{"Tarou", "Yamada", "", "", ""};
    QTest::newRow("absent") << "" << QStringList{"p1", "p2", "p3", "p4", "p5"};
}

void tst_CxImageDCMQueries::patientNameComponents()
{
    QFETCH(QString, name);
    QFETCH(QStringList, parts);
    ImageRecipe recipe = BareRecipe();
    recipe.patientName = name.toStdString();
    CxImageDCM* dicom = Open(recipe);
    QString first = "p1", last = "p2", middle = "p3", prefix = "p4", suffix = "p5";
    dicom->GetPatientName(&first, &last, &middle, &prefix, &suffix);
    QCOMPARE((QStringList{first, last, middle, prefix, suffix}), parts);
}

// Texts are read in the character set the file names; without one, UTF-8 stays UTF-8 and
// other bytes are Latin-1
void tst_CxImageDCMQueries::textsInTheirCharacterSet_data()
{
    QTest::addColumn<QByteArray>("characterSet");
    QTest::addColumn<QByteArray>("description");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("expectedDescription");
    QTest::addColumn<QString>("expectedLast");
    QTest::newRow("UTF-8") << QByteArray("ISO_IR 192") << QByteArray("Th\xC3\xB6rax") << QByteArray("M\xC3\xBCller^J\xC3\xBCrgen")
                           << QString("Thörax") << QString("Müller");
    QTest::newRow("Latin-1") << QByteArray("ISO_IR 100") << QByteArray("Th\xF6rax") << QByteArray("M\xFCller^J\xFCrgen")
                             << QString("Thörax") << QString("Müller");
    QTest::newRow("no set, UTF-8 bytes") << QByteArray() << QByteArray("Th\xC3\xB6rax") << QByteArray("M\xC3\xBCller^J")
                                         << QString("Thörax") << QString("Müller");
    QTest::newRow("no set, Latin-1 bytes") << QByteArray() << QByteArray("Th\xF6rax") << QByteArray("M\xFCller^J")
                                           << QString("Thörax") << QString("Müller");
    QTest::newRow("Cyrillic, converted") << QByteArray("ISO_IR 144") << QByteArray("\xBC\xD0\xE0\xD8\xEF") << QByteArray("\xBC\xD0\xE0\xD8\xEF^A")
                                         << QString("Мария") << QString("Мария");
}

void tst_CxImageDCMQueries::textsInTheirCharacterSet()
{
    QFETCH(QByteArray, characterSet);
    QFETCH(QByteArray, description);
    QFETCH(QByteArray, name);
    QFETCH(QString, expectedDescription);
    QFETCH(QString, expectedLast);
    if (characterSet == "ISO_IR 144" && !DcmSpecificCharacterSet::isConversionAvailable())
        QSKIP("this toolkit converts no character sets");
    ImageRecipe recipe = BareRecipe();
    if (!characterSet.isEmpty())
        recipe.extra.push_back({0x0008, 0x0005, characterSet.toStdString()});
    recipe.extra.push_back({0x0008, 0x1030, description.toStdString()});
    recipe.patientName = name.toStdString();
    CxImageDCM* dicom = Open(recipe);
    QString text;
    dicom->GetStudyDescr(&text);
    QCOMPARE(text, expectedDescription);
    QString first, last, middle, prefix, suffix;
    dicom->GetPatientName(&first, &last, &middle, &prefix, &suffix);
    QCOMPARE(last, expectedLast);
}

void tst_CxImageDCMQueries::referringPhysicianComposesOntoTheCallersText_data()
{
    QTest::addColumn<QString>("prior");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("last, first, middle") << "" << "Referrer^Rolf^R^Dr^MD" << "Referrer, Rolf R";
    QTest::newRow("first only") << "" << "^Rolf" << "Rolf";
    QTest::newRow("last only") << "" << "Referrer" << "Referrer";
    QTest::newRow("first onto prior") << "Dr X" << "^Rolf" << "Dr X, Rolf";
    QTest::newRow("last replaces prior") << "Dr X" << "Referrer^^M" << "Referrer M";
    QTest::newRow("absent") << "Dr X" << "" << "Dr X";
}

void tst_CxImageDCMQueries::referringPhysicianComposesOntoTheCallersText()
{
    QFETCH(QString, prior);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    ImageRecipe recipe = BareRecipe();
    recipe.referringPhysicianName = name.toStdString();
    CxImageDCM* dicom = Open(recipe);
    QString text = prior;
    dicom->GetReferringPhysiciansName(&text);
    QCOMPARE(text, expected);
}

void tst_CxImageDCMQueries::imageNumbers()
{
    ImageRecipe recipe = BareRecipe();
    recipe.columns = 31;
    recipe.rows = 17;
    recipe.bitsStored = 12;
    recipe.isSigned = true;
    recipe.minStored = -100;
    CxImageDCM* dicom = Open(recipe);
    unsigned short rows = 0;
    unsigned short columns = 0;
    dicom->GetImageRow(&rows);
    dicom->GetImageColummn(&columns);
    QCOMPARE(int(rows), 17);
    QCOMPARE(int(columns), 31);
    QCOMPARE(dicom->GetBitsAllocated(), 16);
    QCOMPARE(dicom->GetBitsStored(), 12);
    QCOMPARE(dicom->GetHighBit(), 11);
    QCOMPARE(dicom->GetPixelRepresentation(), 1);
    QString uid;
    dicom->GetSOPInstanceUID(&uid);
    QCOMPARE(uid, QString::fromStdString(recipe.sopInstanceUid));
}

void tst_CxImageDCMQueries::pixelValueLimits_data()
{
    QTest::addColumn<bool>("isSigned");
    QTest::addColumn<Syntax>("syntax");
    QTest::addColumn<int>("smallest");
    QTest::addColumn<int>("largest");
    QTest::newRow("signed") << true << Syntax::ExplicitLittle << -1024 << 3071;
    QTest::newRow("signed, implicit VR") << true << Syntax::ImplicitLittle << -1024 << 3071;
    QTest::newRow("unsigned") << false << Syntax::ExplicitLittle << 12 << 4000;
    QTest::newRow("unsigned, big endian") << false << Syntax::ExplicitBig << 12 << 60000;
}

void tst_CxImageDCMQueries::pixelValueLimits()
{
    QFETCH(bool, isSigned);
    QFETCH(Syntax, syntax);
    QFETCH(int, smallest);
    QFETCH(int, largest);
    ImageRecipe recipe = BareRecipe();
    recipe.isSigned = isSigned;
    recipe.smallestPixelValue = smallest;
    recipe.largestPixelValue = largest;
    CxImageDCM* dicom = Open(recipe, syntax);
    QCOMPARE(dicom->GetSmallestPixelValue(), double(smallest));
    QCOMPARE(dicom->GetLargestPixelValue(), double(largest));

    // Absent: 0
    CxImageDCM* bare = Open(BareRecipe());
    QCOMPARE(bare->GetSmallestPixelValue(), 0.0);
    QCOMPARE(bare->GetLargestPixelValue(), 0.0);
}

void tst_CxImageDCMQueries::windowFromDataset_data()
{
    QTest::addColumn<QString>("centre");
    QTest::addColumn<QString>("width");
    QTest::addColumn<bool>("result");
    QTest::addColumn<double>("expectedWidth");
    QTest::addColumn<double>("expectedCentre");
    QTest::newRow("both") << "40" << "400" << true << 400.0 << 40.0;
    QTest::newRow("several values") << "40\\300" << "400\\1500" << true << 400.0 << 40.0;
    QTest::newRow("width only") << "" << "400" << false << 400.0 << -1.0;
    QTest::newRow("centre only") << "40" << "" << false << -1.0 << -1.0;
    QTest::newRow("neither") << "" << "" << false << -1.0 << -1.0;
}

void tst_CxImageDCMQueries::windowFromDataset()
{
    QFETCH(QString, centre);
    QFETCH(QString, width);
    QFETCH(bool, result);
    QFETCH(double, expectedWidth);
    QFETCH(double, expectedCentre);
    ImageRecipe recipe = BareRecipe();
    recipe.windowCenter = centre.toStdString();
    recipe.windowWidth = width.toStdString();
    CxImageDCM* dicom = Open(recipe);
    double gotWidth = -1.0;
    double gotCentre = -1.0;
    QCOMPARE(bool(dicom->GetWindowFromDataset(&gotWidth, &gotCentre)), result);
    QCOMPARE(gotWidth, expectedWidth);
    QCOMPARE(gotCentre, expectedCentre);
}

void tst_CxImageDCMQueries::numberOfFrames_data()
{
    QTest::addColumn<int>("frames");
    QTest::addColumn<QString>("written");
    QTest::addColumn<int>("expected");
    QTest::newRow("absent") << 1 << "" << 1;
    QTest::newRow("25") << 25 << "" << 25;
    QTest::newRow("written 1") << 1 << "1" << 1;
    QTest::newRow("written 0") << 1 << "0" << 1;
    QTest::newRow("negative") << 1 << "-3" << 1;
}

void tst_CxImageDCMQueries::numberOfFrames()
{
    QFETCH(int, frames);
    QFETCH(QString, written);
    QFETCH(int, expected);
    ImageRecipe recipe = BareRecipe();
    recipe.frames = frames;
    recipe.bitsAllocated = 8;
    recipe.bitsStored = 8;
    recipe.maxStored = 255;
    if (!written.isEmpty())
        recipe.extra.push_back({0x0028, 0x0008, written.toStdString()});
    CxImageDCM* dicom = Open(recipe);
    QCOMPARE(dicom->GetNumberOfFrames(), expected);
}

void tst_CxImageDCMQueries::frameIntervalPrecedence_data()
{
    QTest::addColumn<int>("rate");      // Recommended Display Frame Rate, 0 = absent
    QTest::addColumn<double>("frameTime"); // 0 = absent
    QTest::addColumn<int>("cineRate");  // 0 = absent
    QTest::addColumn<QString>("rawFrameTime"); // written as is when not empty
    QTest::addColumn<int>("expected");
    QTest::newRow("recommended rate 30") << 30 << 0.0 << 0 << "" << 33;
    QTest::newRow("rate before frame time") << 25 << 100.0 << 10 << "" << 40;
    QTest::newRow("frame time 40") << 0 << 40.0 << 0 << "" << 40;
    QTest::newRow("frame time 33.3") << 0 << 33.3 << 0 << "" << 33;
    QTest::newRow("frame time before cine rate") << 0 << 50.0 << 10 << "" << 50;
    QTest::newRow("cine rate 25") << 0 << 0.0 << 25 << "" << 40;
    QTest::newRow("none") << 0 << 0.0 << 0 << "" << 33;
    QTest::newRow("negative rate ignored") << -5 << 20.0 << 0 << "" << 20;
    QTest::newRow("negative frame time ignored") << 0 << -40.0 << 25 << "" << 40;
    QTest::newRow("huge rate clamped") << 5000 << 0.0 << 0 << "" << 1;
    QTest::newRow("sub-millisecond frame time clamped") << 0 << 0.4 << 0 << "" << 1;
    QTest::newRow("huge frame time clamped") << 0 << 0.0 << 0 << "1e300" << 10000;
    QTest::newRow("infinite frame time ignored") << 0 << 0.0 << 20 << "inf" << 50;
}

void tst_CxImageDCMQueries::frameIntervalPrecedence()
{
    QFETCH(int, rate);
    QFETCH(double, frameTime);
    QFETCH(int, cineRate);
    QFETCH(QString, rawFrameTime);
    QFETCH(int, expected);
    ImageRecipe recipe = BareRecipe();
    if (rate != 0)
        recipe.recommendedDisplayFrameRate = rate;
    if (frameTime != 0.0)
        recipe.frameTime = frameTime;
    if (cineRate != 0)
        recipe.cineRate = cineRate;
    if (!rawFrameTime.isEmpty())
        recipe.extra.push_back({0x0018, 0x1063, rawFrameTime.toStdString()});
    CxImageDCM* dicom = Open(recipe);
    QCOMPARE(dicom->GetFrameInterval(), expected);
    QCOMPARE(dicom->m_nFrameInterval, expected);
}

void tst_CxImageDCMQueries::frameIntervalIsCached()
{
    ImageRecipe recipe = BareRecipe();
    recipe.frameTime = 33.3;
    CxImageDCM* dicom = Open(recipe);
    QCOMPARE(dicom->GetFrameInterval(), 33);
    dicom->m_nFrameInterval = 70; // whatever is cached is answered
    QCOMPARE(dicom->GetFrameInterval(), 70);
    CxImageDCM empty;
    QCOMPARE(empty.GetFrameInterval(), 0);
    QCOMPARE(empty.m_nFrameInterval, 0);
}

void tst_CxImageDCMQueries::pixelSpacingForMeasurements_data()
{
    QTest::addColumn<QString>("modality");
    QTest::addColumn<QString>("pixelSpacing");
    QTest::addColumn<QString>("imagerSpacing");
    QTest::addColumn<double>("prior0");
    QTest::addColumn<double>("prior1");
    QTest::addColumn<double>("expected0");
    QTest::addColumn<double>("expected1");
    QTest::newRow("both values") << "CT" << "0.5\\0.6" << "" << 7.0 << 8.0 << 0.5 << 0.6;
    QTest::newRow("imager spacing not read") << "CR" << "" << "0.1\\0.1" << 7.0 << 8.0 << 7.0 << 8.0;
    QTest::newRow("no modality") << "" << "0.5\\0.6" << "" << 7.0 << 8.0 << 7.0 << 8.0;
    QTest::newRow("prior values checked") << "CT" << "" << "" << 0.0 << -2.0 << 1.0 << 1.0;
    QTest::newRow("zero value") << "CT" << "0\\0.6" << "" << 7.0 << 8.0 << 1.0 << 0.6;
    QTest::newRow("negative value") << "CT" << "-0.5\\0.6" << "" << 7.0 << 8.0 << 1.0 << 0.6;
    QTest::newRow("one value") << "CT" << "0.5" << "" << 7.0 << 8.0 << 0.5 << 8.0;
}

void tst_CxImageDCMQueries::pixelSpacingForMeasurements()
{
    QFETCH(QString, modality);
    QFETCH(QString, pixelSpacing);
    QFETCH(QString, imagerSpacing);
    QFETCH(double, prior0);
    QFETCH(double, prior1);
    QFETCH(double, expected0);
    QFETCH(double, expected1);
    ImageRecipe recipe = BareRecipe();
    recipe.modality = modality.toStdString();
    recipe.pixelSpacing = pixelSpacing.toStdString();
    recipe.imagerPixelSpacing = imagerSpacing.toStdString();
    CxImageDCM* dicom = Open(recipe);
    double spacing[2] = {prior0, prior1};
    dicom->GetPixelSpacing(spacing);
    QCOMPARE(spacing[0], expected0);
    QCOMPARE(spacing[1], expected1);
    QCOMPARE(bool(dicom->IsImagePixelSpacingExists()), !pixelSpacing.isEmpty() || !imagerSpacing.isEmpty());
}

void tst_CxImageDCMQueries::imagerPixelSpacingForScale_data()
{
    QTest::addColumn<QString>("pixelSpacing");
    QTest::addColumn<QString>("imagerSpacing");
    QTest::addColumn<double>("expected0");
    QTest::addColumn<double>("expected1");
    QTest::newRow("imager before pixel spacing") << "0.5\\0.6" << "0.15\\0.16" << 0.15 << 0.16;
    QTest::newRow("pixel spacing alone") << "0.5\\0.6" << "" << 0.5 << 0.6;
    QTest::newRow("zero becomes 1") << "" << "0\\0.2" << 1.0 << 0.2;
    QTest::newRow("negative imager spacing is unknown") << "0.5\\0.6" << "-0.1\\0.1" << 0.5 << 0.6;
    QTest::newRow("negative and nothing else") << "" << "-0.1\\0.1" << 3.0 << 4.0;
    QTest::newRow("neither") << "" << "" << 3.0 << 4.0;
}

void tst_CxImageDCMQueries::imagerPixelSpacingForScale()
{
    QFETCH(QString, pixelSpacing);
    QFETCH(QString, imagerSpacing);
    QFETCH(double, expected0);
    QFETCH(double, expected1);
    ImageRecipe recipe = BareRecipe();
    recipe.pixelSpacing = pixelSpacing.toStdString();
    recipe.imagerPixelSpacing = imagerSpacing.toStdString();
    CxImageDCM* dicom = Open(recipe);
    double spacing[2] = {3.0, 4.0};
    dicom->GetImagerPixelSpacing(spacing);
    QCOMPARE(spacing[0], expected0);
    QCOMPARE(spacing[1], expected1);
}

void tst_CxImageDCMQueries::queriesWithoutFileChangeNothing()
{
    CxImageDCM dicom;
    unsigned short rows = 77;
    dicom.GetImageRow(&rows);
    QCOMPARE(int(rows), 77);
    QString text = QStringLiteral("prior");
    for (const char* name : {"GetImageModality", "GetStudyDate", "GetStudyTime", "GetReferringPhysiciansName"})
        (dicom.*QueryNamed(QLatin1String(name)))(&text);
    QCOMPARE(text, QStringLiteral("prior"));
    double spacing[2] = {0.0, -1.0};
    dicom.GetPixelSpacing(spacing);
    dicom.GetImagerPixelSpacing(spacing);
    QCOMPARE(spacing[0], 0.0);
    QCOMPARE(spacing[1], -1.0);
    double width = 5.0;
    double centre = 6.0;
    QVERIFY(!dicom.GetWindowFromDataset(&width, &centre));
    QCOMPARE(dicom.GetNumberOfFrames(), 1);
    QCOMPARE(dicom.GetBitsAllocated(), 0);
    QCOMPARE(dicom.GetFrameCount(), -1);
    QVERIFY(!dicom.IsImagePixelSpacingExists());
}

QTEST_GUILESS_MAIN(tst_CxImageDCMQueries)
#include "tst_CxImageDCMQueries.moc"
