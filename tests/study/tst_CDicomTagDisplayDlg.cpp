// The DICOM Information dialog: one row per top-level element in data-set order with its six
// texts, binary values and pixel data never read, long values cut, the list in the dialog over
// its gradient.

// Qt
#include <QDir>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dcpixel.h>
#include <dcmtk/dcmdata/dcpixseq.h>
#include <dcmtk/dcmdata/dcpxitem.h>
#include <dcmtk/dcmdata/dcsequen.h>
#include <dcmtk/dcmdata/dcvrlt.h>

// std
#include <memory>
#include <string>

// Orvane
#include "controls/CIconButton.h"
#include "platform/CxImage.h"
#include "study/CDicomTagDisplayDlg.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tools/fixtures/ImageFixtures.h"

using namespace Fixtures;
using Row = CDicomTagDisplayDlg::ElementRow;

Q_DECLARE_METATYPE(Fixtures::Syntax)

namespace {

// The tag of a row's first column, as (group << 16) | element
quint32 TagOf(const Row& row)
{
    bool ok = false;
    const quint32 group = row.tag.mid(1, 4).toUInt(&ok, 16);
    const quint32 element = row.tag.mid(6, 4).toUInt(&ok, 16);
    return (group << 16) | element;
}

const Row* FindRow(const std::vector<Row>& rows, const DcmTagKey& key)
{
    for (const Row& row : rows)
        if (TagOf(row) == ((quint32(key.getGroup()) << 16) | key.getElement()))
            return &row;
    return nullptr;
}

bool ValueLoaded(DcmItem* item, const DcmTagKey& key)
{
    DcmElement* element = nullptr;
    return item->findAndGetElement(key, element).good() && element && element->valueLoaded();
}

// Bytes of the items of a file's compressed pixel data, item headers included
long FragmentBytes(const QString& path)
{
    DcmFileFormat file;
    if (file.loadFile(QFile::encodeName(path).constData()).bad())
        return -1;
    DcmDataset* data = file.getDataset();
    DcmElement* element = nullptr;
    DcmPixelSequence* sequence = nullptr;
    if (data->findAndGetElement(DCM_PixelData, element).bad()
        || static_cast<DcmPixelData*>(element)->getEncapsulatedRepresentation(data->getOriginalXfer(), nullptr, sequence).bad())
        return -1;
    long bytes = 0;
    for (unsigned long i = 0; i < sequence->card(); ++i) {
        DcmPixelItem* item = nullptr;
        sequence->getItem(item, i);
        bytes += 8 + long(item->getLength());
    }
    return bytes;
}

const DcmTagKey kPrivateCreator(0x0009, 0x0010);
const DcmTagKey kPrivateText(0x0009, 0x1001);
const DcmTagKey kPrivateBytes(0x0009, 0x1002);
const DcmTagKey kUnknownBytes(0x0011, 0x1010);

} // namespace

class tst_CDicomTagDisplayDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void listsEveryTopLevelElementInOrder();
    void rowTexts_data();
    void rowTexts();
    void binaryValuesStayInTheFile();
    void multiFramePixelDataIsNotLoaded_data();
    void multiFramePixelDataIsNotLoaded();
    void singleFrameShownKeepsItsPixelDataRow();
    void longTextInTheFileIsReadInPart();
    void unreadableFileOrNullItemLeavesTheListEmpty();
    void dialogShowsTheRowsOverTheGradient();
    void columnsHoldTheirTitles();
    void textsInTheFilesCharacterSet();

private:
    // Writes the data set of `fill` to a file and returns its path
    QString WriteDataSet(const QString& name, const std::function<void(DcmDataset&)>& fill);
    QString ElementsFile();
    QString CtFile();

    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
    QString m_elementsFile;
    QString m_ctFile;
};

void tst_CDicomTagDisplayDlg::initTestCase()
{
    m_codecs = std::make_unique<DicomCodecs>();
    QVERIFY(m_dir.isValid());
}

QString tst_CDicomTagDisplayDlg::WriteDataSet(const QString& name, const std::function<void(DcmDataset&)>& fill)
{
    DcmFileFormat file;
    DcmDataset& data = *file.getDataset();
    data.putAndInsertString(DCM_SOPClassUID, "1.2.840.10008.5.1.4.1.1.7");
    data.putAndInsertString(DCM_SOPInstanceUID, "1.2.3.4.5");
    fill(data);
    const QString path = m_dir.filePath(name + QStringLiteral(".dcm"));
    const OFCondition status = file.saveFile(QFile::encodeName(path).constData(), EXS_LittleEndianExplicit);
    if (status.bad())
        qWarning("%s: %s", qPrintable(name), status.text());
    return path;
}

// One element of every kind the rows distinguish
QString tst_CDicomTagDisplayDlg::ElementsFile()
{
    if (!m_elementsFile.isEmpty())
        return m_elementsFile;
    m_elementsFile = WriteDataSet(QStringLiteral("elements"), [](DcmDataset& data) {
        data.putAndInsertString(DCM_SpecificCharacterSet, "ISO_IR 100");
        data.putAndInsertString(DCM_ImageType, "ORIGINAL\\PRIMARY\\AXIAL");
        data.putAndInsertString(DCM_PatientName, "DOE^JOHN");
        data.putAndInsertString(DCM_PatientID, "");
        data.putAndInsertUint16(DCM_Rows, 512);
        data.putAndInsertString(DCM_PixelSpacing, "0.5\\0.25");
        data.putAndInsertTagKey(DCM_FrameIncrementPointer, DCM_FrameTime);
        data.putAndInsertString(DCM_ImageComments, std::string(600, 'c').c_str());
        // Around the cut: 255 and 256 characters shown whole, 257 cut
        data.putAndInsertString(DCM_PatientComments, std::string(255, 'p').c_str());
        data.putAndInsertString(DCM_AdditionalPatientHistory, std::string(256, 'h').c_str());
        data.putAndInsertString(DCM_FrameComments, std::string(257, 's').c_str());
        for (int i = 0; i < 2; ++i) {
            DcmItem* item = nullptr;
            data.findOrCreateSequenceItem(DCM_ReferencedImageSequence, item, -2);
            item->putAndInsertString(DCM_ReferencedSOPInstanceUID, "1.2.3.9");
        }
        data.putAndInsertString(DcmTag(kPrivateCreator, EVR_LO), "ORVANE TEST");
        data.putAndInsertString(DcmTag(kPrivateText, EVR_LO), "PRIVATE");
        const std::string bytes(6000, '\x5a');
        data.putAndInsertUint8Array(DcmTag(kPrivateBytes, EVR_OB), reinterpret_cast<const Uint8*>(bytes.data()), 6000);
    });
    return m_elementsFile;
}

// A generated CT image with a Specific Character Set, its lowest tag
QString tst_CDicomTagDisplayDlg::CtFile()
{
    if (!m_ctFile.isEmpty())
        return m_ctFile;
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    recipe.extra.push_back({0x0008, 0x0005, "ISO_IR 100"});
    m_ctFile = m_dir.filePath(QStringLiteral("ct.dcm"));
    const QString problem = WriteImage(recipe, Syntax::ExplicitLittle, m_ctFile);
    if (!problem.isEmpty())
        qWarning("ct: %s", qPrintable(problem));
    return m_ctFile;
}

void tst_CDicomTagDisplayDlg::listsEveryTopLevelElementInOrder()
{
    const QString path = CtFile();
    CDicomTagDisplayDlg dlg;
    QVERIFY(dlg.SetImageFile(path));
    const std::vector<Row> rows = CDicomTagDisplayDlg::RowsOf(dlg.m_pImageItem);

    DcmFileFormat file;
    QVERIFY(file.loadFile(QFile::encodeName(path).constData()).good());
    DcmDataset* data = file.getDataset();
    QCOMPARE(rows.size(), size_t(data->card()));
    QVERIFY(rows.size() > 20);
    for (unsigned long i = 0; i < data->card(); ++i) {
        const DcmTagKey key = data->getElement(i)->getTag();
        QCOMPARE(TagOf(rows[i]), (quint32(key.getGroup()) << 16) | key.getElement());
        if (i > 0)
            QVERIFY(TagOf(rows[i - 1]) < TagOf(rows[i]));
    }
    QCOMPARE(rows.front().tag, QStringLiteral("[0008-0005]"));
    QCOMPARE(rows.front().name, QStringLiteral("SpecificCharacterSet"));
    QCOMPARE(rows.front().value, QStringLiteral("ISO_IR 100"));
    // Pixel Data keeps its row
    QCOMPARE(rows.back().tag, QStringLiteral("[7fe0-0010]"));
}

void tst_CDicomTagDisplayDlg::rowTexts_data()
{
    QTest::addColumn<quint32>("tag");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("vr");
    QTest::addColumn<QString>("vm");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("length");

    QTest::newRow("multi-valued text") << 0x00080008u << "ImageType" << "CS" << "3" << "ORIGINAL\\PRIMARY\\AXIAL" << "22";
    QTest::newRow("person name") << 0x00100010u << "PatientName" << "PN" << "1" << "DOE^JOHN" << "8";
    QTest::newRow("empty value") << 0x00100020u << "PatientID" << "LO" << "0" << "" << "0";
    QTest::newRow("number") << 0x00280010u << "Rows" << "US" << "1" << "512" << "2";
    QTest::newRow("decimal strings") << 0x00280030u << "PixelSpacing" << "DS" << "2" << "0.5\\0.25" << "8";
    QTest::newRow("tag value") << 0x00280009u << "FrameIncrementPointer" << "AT" << "1" << "(0018,1063)" << "4";
    QTest::newRow("255 characters whole") << 0x00104000u << "PatientComments" << "LT" << "1"
                                          << QString(255, QLatin1Char('p')) << "256";
    QTest::newRow("256 characters whole") << 0x001021b0u << "AdditionalPatientHistory" << "LT" << "1"
                                          << QString(256, QLatin1Char('h')) << "256";
    QTest::newRow("257 characters cut") << 0x00209158u << "FrameComments" << "LT" << "1"
                                        << QString(256, QLatin1Char('s')) + QStringLiteral("...") << "258";
    QTest::newRow("long text cut") << 0x00204000u << "ImageComments" << "LT" << "1"
                                   << QString(256, QLatin1Char('c')) + QStringLiteral("...") << "600";
    // Two items, each an item tag, one UID element (8 + 8 bytes) and an item delimiter
    QTest::newRow("sequence as one row") << 0x00081140u << "ReferencedImageSequence" << "SQ" << "1" << "" << "64";
    QTest::newRow("private creator") << 0x00090010u << "PrivateCreator" << "LO" << "1" << "ORVANE TEST" << "12";
    QTest::newRow("private element") << 0x00091001u << "Unknown Tag & Data" << "LO" << "1" << "PRIVATE" << "8";
    QTest::newRow("bytes") << 0x00091002u << "Unknown Tag & Data" << "OB" << "1" << "" << "6000";
}

void tst_CDicomTagDisplayDlg::rowTexts()
{
    QFETCH(quint32, tag);
    CDicomTagDisplayDlg dlg;
    QVERIFY(dlg.SetImageFile(ElementsFile()));
    const std::vector<Row> rows = CDicomTagDisplayDlg::RowsOf(dlg.m_pImageItem);
    const Row* row = FindRow(rows, DcmTagKey(Uint16(tag >> 16), Uint16(tag & 0xFFFF)));
    QVERIFY(row);
    QCOMPARE(row->tag, QString::asprintf("[%04x-%04x]", tag >> 16, tag & 0xFFFF));
    QTEST(row->name, "name");
    QTEST(row->vr, "vr");
    QTEST(row->vm, "vm");
    QTEST(row->value, "value");
    QTEST(row->length, "length");
    // The items of the sequence are not listed
    QCOMPARE(FindRow(rows, DCM_ReferencedSOPInstanceUID), nullptr);
}

void tst_CDicomTagDisplayDlg::binaryValuesStayInTheFile()
{
    CDicomTagDisplayDlg dlg;
    QVERIFY(dlg.SetImageFile(ElementsFile()));
    QVERIFY(!ValueLoaded(dlg.m_pImageItem, kPrivateBytes));
    CDicomTagDisplayDlg::RowsOf(dlg.m_pImageItem);
    QVERIFY(!ValueLoaded(dlg.m_pImageItem, kPrivateBytes));

    // Bytes of a tag the dictionary does not know, in an implicit file: the toolkit reads them
    // as unknown bytes ("??")
    const QString path = WriteDataSet(QStringLiteral("unknown"), [](DcmDataset& data) {
        const std::string bytes(5000, '\x01');
        data.putAndInsertUint8Array(DcmTag(kUnknownBytes, EVR_OB), reinterpret_cast<const Uint8*>(bytes.data()), 5000);
    });
    DcmFileFormat implicit;
    QVERIFY(implicit.loadFile(QFile::encodeName(path).constData()).good());
    implicit.loadAllDataIntoMemory();
    const QString implicitPath = m_dir.filePath(QStringLiteral("unknown-implicit.dcm"));
    QVERIFY(implicit.saveFile(QFile::encodeName(implicitPath).constData(), EXS_LittleEndianImplicit).good());
    QVERIFY(dlg.SetImageFile(implicitPath));
    const std::vector<Row> rows = CDicomTagDisplayDlg::RowsOf(dlg.m_pImageItem);
    const Row* row = FindRow(rows, kUnknownBytes);
    QVERIFY(row);
    QCOMPARE(row->vr, QStringLiteral("??"));
    QCOMPARE(row->value, QString());
    QCOMPARE(row->length, QStringLiteral("5000"));
    QVERIFY(!ValueLoaded(dlg.m_pImageItem, kUnknownBytes));
}

void tst_CDicomTagDisplayDlg::multiFramePixelDataIsNotLoaded_data()
{
    QTest::addColumn<Syntax>("syntax");
    QTest::newRow("explicit") << Syntax::ExplicitLittle;
    QTest::newRow("implicit") << Syntax::ImplicitLittle;
    QTest::newRow("jpeg") << Syntax::JpegBaseline;
    QTest::newRow("rle") << Syntax::Rle;
}

void tst_CDicomTagDisplayDlg::multiFramePixelDataIsNotLoaded()
{
    QFETCH(Syntax, syntax);
    ImageRecipe recipe = Preset(ImagePreset::MultiFrameGrey);
    recipe.columns = 128;
    recipe.rows = 96;
    recipe.frames = 12;
    const QString path = m_dir.filePath(QStringLiteral("xa-%1.dcm").arg(SyntaxName(syntax)));
    QCOMPARE(WriteImage(recipe, syntax, path), QString());
    const bool encapsulated = syntax == Syntax::JpegBaseline || syntax == Syntax::Rle;

    // Read from the file for the dialog
    CDicomTagDisplayDlg dlg;
    QVERIFY(dlg.SetImageFile(path));
    std::vector<Row> rows = CDicomTagDisplayDlg::RowsOf(dlg.m_pImageItem);
    const Row* row = FindRow(rows, DCM_PixelData);
    QVERIFY(row);
    QCOMPARE(row->name, QStringLiteral("PixelData"));
    QCOMPARE(row->vm, QStringLiteral("1"));
    QCOMPARE(row->value, QString());
    QCOMPARE(row->length, QString::number(encapsulated ? FragmentBytes(path) : 128 * 96 * 12));
    QVERIFY(!ValueLoaded(dlg.m_pImageItem, DCM_PixelData));

    // The data set the viewer holds for a multi-frame image: its frames stay in the file
    CxImageDCM image;
    QList<CxImage*> bitmaps;
    QCOMPARE(image.LoadDCM(QFile::encodeName(path).constData(), &bitmaps, FALSE), 1);
    qDeleteAll(bitmaps);
    const bool loadedBefore = ValueLoaded(image.m_pDataset, DCM_PixelData);
    const unsigned long count = image.m_pDataset->card();
    rows = CDicomTagDisplayDlg::RowsOf(image.m_pDataset);
    QCOMPARE(rows.size(), size_t(count));
    QVERIFY(FindRow(rows, DCM_PixelData));
    QCOMPARE(ValueLoaded(image.m_pDataset, DCM_PixelData), loadedBefore);
    QVERIFY(!loadedBefore);
}

void tst_CDicomTagDisplayDlg::singleFrameShownKeepsItsPixelDataRow()
{
    // The viewer empties a shown single frame's Pixel Data; the dialog reads the file
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    recipe.columns = 64;
    recipe.rows = 40;
    const QString path = m_dir.filePath(QStringLiteral("ct-shown.dcm"));
    QCOMPARE(WriteImage(recipe, Syntax::ExplicitLittle, path), QString());
    CxImageDCM image;
    QList<CxImage*> bitmaps;
    QCOMPARE(image.LoadDCM(QFile::encodeName(path).constData(), &bitmaps, FALSE), 1);
    qDeleteAll(bitmaps);
    const Row* shown = nullptr;
    const std::vector<Row> held = CDicomTagDisplayDlg::RowsOf(image.m_pDataset);
    shown = FindRow(held, DCM_PixelData);
    QVERIFY(shown);
    QCOMPARE(shown->length, QStringLiteral("0"));

    CDicomTagDisplayDlg dlg;
    QVERIFY(dlg.SetImageFile(image.GetFilePath()));
    const std::vector<Row> rows = CDicomTagDisplayDlg::RowsOf(dlg.m_pImageItem);
    const Row* row = FindRow(rows, DCM_PixelData);
    QVERIFY(row);
    QCOMPARE(row->length, QString::number(64 * 40 * 2));
}

void tst_CDicomTagDisplayDlg::longTextInTheFileIsReadInPart()
{
    const int textLength = 2 * 1024 * 1024;
    const int values = 150000;
    const QString path = WriteDataSet(QStringLiteral("long-text"), [&](DcmDataset& data) {
        data.putAndInsertString(DCM_TextValue, std::string(size_t(textLength), 't').c_str());
        std::string many;
        for (int i = 0; i < values; ++i)
            many += i == 0 ? "value00" : "\\value00";
        data.putAndInsertString(DCM_LongCodeValue, many.c_str());
    });
    CDicomTagDisplayDlg dlg;
    QVERIFY(dlg.SetImageFile(path));
    const std::vector<Row> rows = CDicomTagDisplayDlg::RowsOf(dlg.m_pImageItem);

    const Row* text = FindRow(rows, DCM_TextValue);
    QVERIFY(text);
    QCOMPARE(text->vr, QStringLiteral("UT"));
    QCOMPARE(text->vm, QStringLiteral("1"));
    QCOMPARE(text->value, QString(256, QLatin1Char('t')) + QStringLiteral("..."));
    QCOMPARE(text->length, QString::number(textLength));
    QVERIFY(!ValueLoaded(dlg.m_pImageItem, DCM_TextValue));

    const Row* many = FindRow(rows, DCM_LongCodeValue);
    QVERIFY(many);
    QCOMPARE(many->vr, QStringLiteral("UC"));
    QCOMPARE(many->vm, QString::number(values));
    QVERIFY(many->value.startsWith(QStringLiteral("value00\\value00\\")));
    QVERIFY(many->value.endsWith(QStringLiteral("...")));
    QCOMPARE(many->value.size(), 256 + 3);
    QVERIFY(!ValueLoaded(dlg.m_pImageItem, DCM_LongCodeValue));
}

void tst_CDicomTagDisplayDlg::unreadableFileOrNullItemLeavesTheListEmpty()
{
    const QString notDicom = m_dir.filePath(QStringLiteral("not-dicom.dcm"));
    QCOMPARE(WriteNotDicom(notDicom), QString());
    CDicomTagDisplayDlg dlg;
    QVERIFY(!dlg.SetImageFile(notDicom));
    QVERIFY(!dlg.SetImageFile(m_dir.filePath(QStringLiteral("missing.dcm"))));
    QCOMPARE(dlg.m_pImageItem, nullptr);
    QVERIFY(CDicomTagDisplayDlg::RowsOf(nullptr).empty());
    dlg.show();
    QCOMPARE(dlg.m_listElements->topLevelItemCount(), 0);
    QCOMPARE(dlg.m_listElements->columnCount(), 6);
}

void tst_CDicomTagDisplayDlg::dialogShowsTheRowsOverTheGradient()
{
    const QString path = CtFile();
    CDicomTagDisplayDlg dlg;
    QVERIFY(dlg.SetImageFile(path));
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("DICOM Information"));
    QCOMPARE(dlg.size(), QSize(780, 529));

    const std::vector<Row> rows = CDicomTagDisplayDlg::RowsOf(dlg.m_pImageItem);
    QTreeWidget* list = dlg.m_listElements;
    QCOMPARE(list->topLevelItemCount(), int(rows.size()));
    for (int column = 0; column < 6; ++column) {
        QCOMPARE(list->headerItem()->text(column), QLatin1String(CDicomTagDisplayDlg::kColumnTitles[column]));
        QCOMPARE(list->header()->sectionSize(column), CDicomTagDisplayDlg::kColumnWidths[column]);
    }
    const QTreeWidgetItem* first = list->topLevelItem(0);
    QCOMPARE(first->text(0), QStringLiteral("[0008-0005]"));
    QCOMPARE(first->text(1), QStringLiteral("SpecificCharacterSet"));
    QCOMPARE(first->text(2), QStringLiteral("CS"));
    QCOMPARE(first->text(3), QStringLiteral("1"));
    QCOMPARE(first->text(4), QStringLiteral("ISO_IR 100"));
    QCOMPARE(first->text(5), QStringLiteral("10"));

    // Only OK shows; the data buttons stay hidden
    QVERIFY(dlg.m_btnOK->isVisible());
    for (CIconButton* button : {dlg.m_btnPatient, dlg.m_btnStudy, dlg.m_btnSeries, dlg.m_btnImage})
        QVERIFY(!button->isVisible());
    QVERIFY(dlg.m_btnPatient->m_bSelected);

    // The gradient around the list: grey 127 at the top, 10 in the last band
    const QImage shot = dlg.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(qRed(shot.pixel(778, 0)), 127);
    QCOMPARE(qRed(shot.pixel(5, 528)), 10);
    QCOMPARE(shot.pixel(5, 528), qRgb(10, 10, 10));
    const QString folder = qEnvironmentVariable("ORVANE_TEST_OUTPUT", QDir::tempPath());
    QVERIFY(shot.save(QDir(folder).filePath(QStringLiteral("dicom-information-dialog.png"))));

    // OK closes the dialog; the file's data set is unchanged
    const unsigned long count = dlg.m_pImageItem->card();
    QTest::mouseClick(dlg.m_btnOK, Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.m_pImageItem->card(), count);
}

void tst_CDicomTagDisplayDlg::columnsHoldTheirTitles()
{
    CDicomTagDisplayDlg dlg;
    dlg.show();
    const QFontMetrics metrics(dlg.m_listElements->header()->font());
    QCOMPARE(dlg.font().family(), QStringLiteral("Liberation Sans"));
    const int margin = dlg.m_listElements->header()->style()->pixelMetric(QStyle::PM_HeaderMargin);
    for (int column = 0; column < 6; ++column) {
        const QString title = QLatin1String(CDicomTagDisplayDlg::kColumnTitles[column]);
        QVERIFY2(metrics.horizontalAdvance(title) + 2 * margin <= dlg.m_listElements->header()->sectionSize(column),
                 qPrintable(title));
    }
}

// A UTF-8 file's texts read as UTF-8, not as Latin-1 bytes
void tst_CDicomTagDisplayDlg::textsInTheFilesCharacterSet()
{
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    recipe.extra.push_back({0x0008, 0x0005, "ISO_IR 192"});
    recipe.patientName = "M\xC3\xBCller^J\xC3\xBCrgen";
    const QString path = m_dir.filePath(QStringLiteral("utf8.dcm"));
    QCOMPARE(WriteImage(recipe, Syntax::ExplicitLittle, path), QString());
    CDicomTagDisplayDlg dlg;
    QVERIFY(dlg.SetImageFile(path));
    const std::vector<Row> rows = CDicomTagDisplayDlg::RowsOf(dlg.m_pImageItem);
    const Row* row = FindRow(rows, DCM_PatientName);
    QVERIFY(row);
    QCOMPARE(row->value, QString("Müller^Jürgen"));
}

QTEST_MAIN(tst_CDicomTagDisplayDlg)
#include "tst_CDicomTagDisplayDlg.moc"
