// The image fixture generator, read back with the toolkit: every kind it writes loads with
// the pixels its content functions promise, and every kind the viewer must refuse fails.

// Qt
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcmetinf.h>
#include <dcmtk/dcmimage/diregist.h>
#include <dcmtk/dcmimgle/dcmimage.h>
#include <dcmtk/dcmjpls/djdecode.h>

// Orvane
#include "study/DicomCodecs.h"
#include "tools/fixtures/ImageFixtures.h"

// std
#include <cstdlib>
#include <memory>

using namespace Fixtures;

Q_DECLARE_METATYPE(Fixtures::ImagePreset)
Q_DECLARE_METATYPE(Fixtures::Syntax)

namespace {

bool IsLossy(Syntax syntax)
{
    return syntax == Syntax::JpegBaseline || syntax == Syntax::JpegExtended;
}

bool IsMonochrome(const ImageRecipe& recipe)
{
    return recipe.photometric == "MONOCHROME1" || recipe.photometric == "MONOCHROME2";
}

// A small image of the preset, with a width that is odd where the format allows it.
ImageRecipe SmallRecipe(ImagePreset preset)
{
    ImageRecipe recipe = Preset(preset);
    recipe.columns = recipe.photometric == "YBR_FULL_422" ? 34 : 33;
    recipe.rows = 21;
    if (recipe.frames > 1)
        recipe.frames = 3;
    return recipe;
}

struct Loaded {
    std::unique_ptr<DcmFileFormat> file;
    OFCondition loaded = EC_Normal;
    OFCondition decompressed = EC_Normal;
    std::unique_ptr<DicomImage> image;
};

Loaded Load(const QString& path)
{
    Loaded result;
    result.file = std::make_unique<DcmFileFormat>();
    result.loaded = result.file->loadFile(QFile::encodeName(path).constData());
    if (result.loaded.bad())
        return result;
    DcmDataset* data = result.file->getDataset();
    result.decompressed = data->chooseRepresentation(EXS_LittleEndianExplicit, nullptr);
    if (result.decompressed.good())
        result.image = std::make_unique<DicomImage>(result.file.get(), data->getCurrentXfer(), CIF_AcrNemaCompatibility);
    return result;
}

// The stored sample of the decompressed data set, as the generator's content function sees it.
int RawSample(DcmDataset* data, const ImageRecipe& recipe, int frame, int x, int y)
{
    const std::size_t index = (std::size_t(frame) * recipe.rows + y) * recipe.columns + x;
    if (recipe.bitsAllocated == 16) {
        const Uint16* words = nullptr;
        data->findAndGetUint16Array(DCM_PixelData, words);
        const Uint16 word = words[index];
        return recipe.isSigned ? int(Sint16(word)) : int(word);
    }
    const Uint8* bytes = nullptr;
    data->findAndGetUint8Array(DCM_PixelData, bytes);
    return bytes[index];
}

QString Text(DcmDataset* data, const DcmTagKey& tag)
{
    OFString value;
    data->findAndGetOFStringArray(tag, value);
    return QString::fromLatin1(value.c_str());
}

QString Text(const std::string& value)
{
    return QString::fromStdString(value);
}

} // namespace

class tst_ImageFixtures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void writesEveryKindReadably_data();
    void writesEveryKindReadably();
    void writesAttributesOfTheRecipe();
    void refusesSyntaxesThePixelsCannotTake_data();
    void refusesSyntaxesThePixelsCannotTake();
    void refusedKindsFailToLoad_data();
    void refusedKindsFailToLoad();
    void jpegLsStreamIsGenuine();
    void secondaryCaptureClaimsPlanesItDoesNotHave();
    void contentIsDeterministicAndAsymmetric();
    void phantomLooksLikeAnatomy();

private:
    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_ImageFixtures::initTestCase()
{
    m_codecs = std::make_unique<DicomCodecs>();
    QVERIFY(m_dir.isValid());
}

void tst_ImageFixtures::writesEveryKindReadably_data()
{
    QTest::addColumn<ImagePreset>("preset");
    QTest::addColumn<Syntax>("syntax");
    const Syntax readable[] = {Syntax::ExplicitLittle, Syntax::ImplicitLittle, Syntax::ExplicitBig, Syntax::JpegBaseline,
                               Syntax::JpegExtended,   Syntax::JpegLossless,   Syntax::Rle};
    for (ImagePreset preset : AllPresets()) {
        for (Syntax syntax : readable) {
            const ImageRecipe recipe = SmallRecipe(preset);
            // Lossy JPEG takes 8 or 12 bits, no palette; YBR_FULL_422 comes from lossy JPEG or raw
            const bool bitsFit = syntax == Syntax::JpegBaseline ? recipe.bitsStored <= 8
                                 : syntax == Syntax::JpegExtended ? recipe.bitsStored <= 12 : true;
            if (!bitsFit || (IsLossy(syntax) && recipe.photometric == "PALETTE COLOR"))
                continue;
            if (recipe.photometric == "YBR_FULL_422" && (syntax == Syntax::JpegLossless || syntax == Syntax::Rle))
                continue;
            QTest::addRow("%s/%s", PresetName(preset), SyntaxName(syntax)) << preset << syntax;
        }
    }
}

void tst_ImageFixtures::writesEveryKindReadably()
{
    QFETCH(ImagePreset, preset);
    QFETCH(Syntax, syntax);
    ImageRecipe recipe = SmallRecipe(preset);
    recipe.extra.clear(); // the Secondary Capture header claim has its own test
    const QString path = m_dir.filePath(QStringLiteral("%1-%2.dcm").arg(PresetName(preset), SyntaxName(syntax)));
    QCOMPARE(WriteImage(recipe, syntax, path), QString());

    Loaded loaded = Load(path);
    QVERIFY2(loaded.loaded.good(), loaded.loaded.text());
    QVERIFY2(loaded.decompressed.good(), loaded.decompressed.text());
    OFString xfer;
    loaded.file->getMetaInfo()->findAndGetOFString(DCM_TransferSyntaxUID, xfer);
    QCOMPARE(QString::fromLatin1(xfer.c_str()), QString::fromLatin1(SyntaxUid(syntax)));

    DicomImage& image = *loaded.image;
    QCOMPARE(image.getStatus(), EIS_Normal);
    QCOMPARE(int(image.getWidth()), recipe.columns);
    QCOMPARE(int(image.getHeight()), recipe.rows);
    QCOMPARE(int(image.getFrameCount()), recipe.frames);

    DcmDataset* data = loaded.file->getDataset();
    const bool lossy = IsLossy(syntax);
    for (int frame = 0; frame < recipe.frames; ++frame) {
        if (IsMonochrome(recipe) || recipe.photometric == "PALETTE COLOR") {
            // The stored values themselves: exact unless lossy
            const int tolerance = lossy ? (recipe.bitsStored > 8 ? 24 : 3) : 0;
            for (int y = 0; y < recipe.rows; ++y)
                for (int x = 0; x < recipe.columns; ++x) {
                    const int expected = StoredValue(recipe, frame, x, y);
                    const int actual = RawSample(data, recipe, frame, x, y);
                    if (std::abs(actual - expected) > tolerance)
                        QFAIL(qPrintable(QStringLiteral("frame %1 (%2, %3): %4, expected %5").arg(frame).arg(x).arg(y).arg(actual).arg(expected)));
                }
        }
        if (!IsMonochrome(recipe)) {
            // What a viewer shows: exact for RGB and palette, up to the colour conversion for YBR
            const int tolerance = lossy ? 16 : (recipe.photometric.rfind("YBR", 0) == 0 ? 3 : 0);
            const auto* rgb = static_cast<const Uint8*>(image.getOutputData(8, static_cast<unsigned long>(frame), 0));
            QVERIFY(rgb);
            for (int y = 0; y < recipe.rows; ++y)
                for (int x = 0; x < recipe.columns; ++x) {
                    const std::array<int, 3> expected = ShownColour(recipe, frame, x, y);
                    for (int c = 0; c < 3; ++c) {
                        const int actual = rgb[(std::size_t(y) * recipe.columns + x) * 3 + c];
                        if (std::abs(actual - expected[c]) > tolerance)
                            QFAIL(qPrintable(QStringLiteral("frame %1 (%2, %3) channel %4: %5, expected %6")
                                                 .arg(frame).arg(x).arg(y).arg(c).arg(actual).arg(expected[c])));
                    }
                }
        }
    }
}

void tst_ImageFixtures::writesAttributesOfTheRecipe()
{
    ImageRecipe recipe = Preset(ImagePreset::MultiFrameColour);
    recipe.frames = 2;
    recipe.frameTime = 40.0;
    recipe.pixelSpacing = "0.5\\0.6";
    recipe.smallestPixelValue = 12;
    recipe.largestPixelValue = 240;
    recipe.extra.push_back({0x0008, 0x1090, "Model One"});
    const QString path = m_dir.filePath(QStringLiteral("attributes.dcm"));
    QCOMPARE(WriteImage(recipe, Syntax::ExplicitLittle, path), QString());

    Loaded loaded = Load(path);
    QVERIFY(loaded.loaded.good());
    DcmDataset* data = loaded.file->getDataset();
    QCOMPARE(Text(data, DCM_SOPClassUID), Text(recipe.sopClassUid));
    QCOMPARE(Text(data, DCM_SOPInstanceUID), Text(recipe.sopInstanceUid));
    QCOMPARE(Text(data, DCM_StudyInstanceUID), Text(recipe.studyInstanceUid));
    QCOMPARE(Text(data, DCM_SeriesInstanceUID), Text(recipe.seriesInstanceUid));
    QCOMPARE(Text(data, DCM_PatientName), Text(recipe.patientName));
    QCOMPARE(Text(data, DCM_PatientID), Text(recipe.patientId));
    QCOMPARE(Text(data, DCM_PatientBirthDate), Text(recipe.patientBirthDate));
    QCOMPARE(Text(data, DCM_PatientSex), Text(recipe.patientSex));
    QCOMPARE(Text(data, DCM_StudyDate), Text(recipe.studyDate));
    QCOMPARE(Text(data, DCM_StudyTime), Text(recipe.studyTime));
    QCOMPARE(Text(data, DCM_Modality), Text(recipe.modality));
    QCOMPARE(Text(data, DCM_SeriesDescription), Text(recipe.seriesDescription));
    QCOMPARE(Text(data, DCM_PixelSpacing), QStringLiteral("0.5\\0.6"));
    QCOMPARE(Text(data, DCM_NumberOfFrames), QStringLiteral("2"));
    QCOMPARE(Text(data, DCM_FrameTime), QStringLiteral("40"));
    QCOMPARE(Text(data, DCM_RecommendedDisplayFrameRate), QStringLiteral("25"));
    QCOMPARE(Text(data, DCM_CineRate), QStringLiteral("25"));
    QCOMPARE(Text(data, DCM_SmallestImagePixelValue), QStringLiteral("12"));
    QCOMPARE(Text(data, DCM_LargestImagePixelValue), QStringLiteral("240"));
    QCOMPARE(Text(data, DCM_ManufacturerModelName), QStringLiteral("Model One"));

    // Empty texts and unset numbers are not written at all
    ImageRecipe bare = Preset(ImagePreset::Grey8);
    bare.modality.clear();
    bare.studyDate.clear();
    const QString barePath = m_dir.filePath(QStringLiteral("bare.dcm"));
    QCOMPARE(WriteImage(bare, Syntax::ExplicitLittle, barePath), QString());
    Loaded bareLoaded = Load(barePath);
    DcmDataset* bareData = bareLoaded.file->getDataset();
    QVERIFY(!bareData->tagExists(DCM_Modality));
    QVERIFY(!bareData->tagExists(DCM_StudyDate));
    QVERIFY(!bareData->tagExists(DCM_NumberOfFrames));
    QVERIFY(!bareData->tagExists(DCM_FrameTime));
    QVERIFY(!bareData->tagExists(DCM_WindowCenter));

    // A signed image stores its limits signed
    ImageRecipe ct = Preset(ImagePreset::Ct);
    ct.smallestPixelValue = -1024;
    const QString ctPath = m_dir.filePath(QStringLiteral("ct-limits.dcm"));
    QCOMPARE(WriteImage(ct, Syntax::ExplicitLittle, ctPath), QString());
    Loaded ctLoaded = Load(ctPath);
    Sint16 smallest = 0;
    QVERIFY(ctLoaded.file->getDataset()->findAndGetSint16(DCM_SmallestImagePixelValue, smallest).good());
    QCOMPARE(int(smallest), -1024);
}

void tst_ImageFixtures::refusesSyntaxesThePixelsCannotTake_data()
{
    QTest::addColumn<ImagePreset>("preset");
    QTest::addColumn<Syntax>("syntax");
    QTest::addColumn<int>("columns");
    QTest::newRow("16-bit in baseline") << ImagePreset::Ct << Syntax::JpegBaseline << 33;
    QTest::newRow("16-bit in extended") << ImagePreset::Mr << Syntax::JpegExtended << 33;
    QTest::newRow("palette in lossy") << ImagePreset::Palette8 << Syntax::JpegBaseline << 33;
    QTest::newRow("422 in RLE") << ImagePreset::YbrFull422 << Syntax::Rle << 34;
    QTest::newRow("422 of odd width") << ImagePreset::YbrFull422 << Syntax::ExplicitLittle << 33;
}

void tst_ImageFixtures::refusesSyntaxesThePixelsCannotTake()
{
    QFETCH(ImagePreset, preset);
    QFETCH(Syntax, syntax);
    QFETCH(int, columns);
    ImageRecipe recipe = SmallRecipe(preset);
    recipe.columns = columns;
    const QString path = m_dir.filePath(QStringLiteral("refused.dcm"));
    QVERIFY(!WriteImage(recipe, syntax, path).isEmpty());
    QVERIFY(!QFile::exists(path));
}

void tst_ImageFixtures::refusedKindsFailToLoad_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<ImagePreset>("preset");
    QTest::addColumn<bool>("fileLoads");
    QTest::addColumn<bool>("pixelsDecode");
    QTest::newRow("jpeg-ls grey") << "jpeg-ls" << ImagePreset::Mr << true << false;
    QTest::newRow("jpeg-ls colour") << "jpeg-ls" << ImagePreset::MultiFrameColour << true << false;
    QTest::newRow("jpeg-2000 grey") << "jpeg-2000" << ImagePreset::Ct << true << false;
    QTest::newRow("jpeg-2000 colour") << "jpeg-2000" << ImagePreset::Rgb << true << false;
    QTest::newRow("jpeg-extended-3-5") << "jpeg-extended-3-5" << ImagePreset::Cr << true << false;
    QTest::newRow("no pixel data") << "no-pixels" << ImagePreset::Ct << true << true;
    QTest::newRow("truncated") << "truncated" << ImagePreset::Cr << false << false;
    QTest::newRow("not dicom") << "not-dicom" << ImagePreset::Ct << false << false;
}

void tst_ImageFixtures::refusedKindsFailToLoad()
{
    QFETCH(QString, kind);
    QFETCH(ImagePreset, preset);
    QFETCH(bool, fileLoads);
    QFETCH(bool, pixelsDecode);
    const ImageRecipe recipe = SmallRecipe(preset);
    const QString path = m_dir.filePath(kind + QStringLiteral(".dcm"));
    QString written;
    if (kind == "jpeg-ls")
        written = WriteImage(recipe, Syntax::JpegLs, path);
    else if (kind == "jpeg-2000")
        written = WriteImage(recipe, Syntax::Jpeg2000, path);
    else if (kind == "jpeg-extended-3-5")
        written = WriteImage(recipe, Syntax::JpegExtended35, path);
    else if (kind == "no-pixels")
        written = WriteWithoutPixelData(recipe, path);
    else if (kind == "truncated")
        written = WriteTruncated(recipe, path);
    else
        written = WriteNotDicom(path);
    QCOMPARE(written, QString());

    Loaded loaded = Load(path);
    QCOMPARE(loaded.loaded.good(), fileLoads);
    if (!fileLoads)
        return;
    QCOMPARE(loaded.decompressed.good(), pixelsDecode);
    if (loaded.image) // decodes, yet holds no image
        QCOMPARE(loaded.image->getStatus(), EIS_MissingAttribute);
}

void tst_ImageFixtures::jpegLsStreamIsGenuine()
{
    // The refused JPEG-LS file holds a real code stream: with the JPEG-LS decoder it decodes
    // to the exact pixels, so the viewer's refusal is about the syntax, not a broken file.
    const ImageRecipe recipe = SmallRecipe(ImagePreset::Mr);
    const QString path = m_dir.filePath(QStringLiteral("genuine-jpeg-ls.dcm"));
    QCOMPARE(WriteImage(recipe, Syntax::JpegLs, path), QString());
    DJLSDecoderRegistration::registerCodecs();
    Loaded loaded = Load(path);
    DJLSDecoderRegistration::cleanup();
    QVERIFY2(loaded.decompressed.good(), loaded.decompressed.text());
    DcmDataset* data = loaded.file->getDataset();
    for (int y = 0; y < recipe.rows; ++y)
        for (int x = 0; x < recipe.columns; ++x)
            QCOMPARE(RawSample(data, recipe, 0, x, y), StoredValue(recipe, 0, x, y));
}

void tst_ImageFixtures::secondaryCaptureClaimsPlanesItDoesNotHave()
{
    const ImageRecipe recipe = SmallRecipe(ImagePreset::SecondaryCapture);
    const QString path = m_dir.filePath(QStringLiteral("secondary-capture.dcm"));
    QCOMPARE(WriteImage(recipe, Syntax::ExplicitLittle, path), QString());
    Loaded loaded = Load(path);
    DcmDataset* data = loaded.file->getDataset();
    Uint16 planar = 0;
    QVERIFY(data->findAndGetUint16(DCM_PlanarConfiguration, planar).good());
    QCOMPARE(int(planar), 1);
    QCOMPARE(Text(data, DCM_SOPClassUID), QStringLiteral("1.2.840.10008.5.1.4.1.1.7"));

    // Read as the header says, the colours are wrong; read by pixel, they are right
    auto matches = [&](DicomImage& image) {
        const auto* rgb = static_cast<const Uint8*>(image.getOutputData(8, 0, 0));
        for (int y = 0; y < recipe.rows; ++y)
            for (int x = 0; x < recipe.columns; ++x)
                for (int c = 0; c < 3; ++c)
                    if (rgb[(std::size_t(y) * recipe.columns + x) * 3 + c] != ShownColour(recipe, 0, x, y)[c])
                        return false;
        return true;
    };
    QVERIFY(!matches(*loaded.image));
    data->putAndInsertUint16(DCM_PlanarConfiguration, 0);
    DicomImage byPixel(loaded.file.get(), data->getCurrentXfer(), CIF_AcrNemaCompatibility);
    QVERIFY(matches(byPixel));
}

void tst_ImageFixtures::contentIsDeterministicAndAsymmetric()
{
    for (ImagePreset preset : AllPresets()) {
        const ImageRecipe recipe = SmallRecipe(preset);
        const int last = recipe.frames - 1;
        const int right = recipe.columns - 1;
        const int bottom = recipe.rows - 1;
        if (IsMonochrome(recipe) || recipe.photometric == "PALETTE COLOR") {
            QCOMPARE(StoredValue(recipe, 0, 0, 0), recipe.minStored);
            QCOMPARE(StoredValue(recipe, last, right, bottom), recipe.maxStored);
            // No mirror image or transposition of a frame equals the frame
            QVERIFY(StoredValue(recipe, 0, right, 0) != StoredValue(recipe, 0, 0, bottom));
            QVERIFY(StoredValue(recipe, 0, 5, 2) != StoredValue(recipe, 0, 2, 5));
        } else {
            const std::array<int, 3> corner = ShownColour(recipe, 0, right, 0);
            QVERIFY(corner[0] != corner[2]); // red and blue differ, so an exchange shows
            QVERIFY(ShownColour(recipe, 0, right, 0) != ShownColour(recipe, 0, 0, bottom));
        }
        if (recipe.frames > 1)
            QVERIFY(ShownColour(recipe, 0, 3, 3) != ShownColour(recipe, last, 3, 3));
        QCOMPARE(StoredValue(recipe, last, 7, 9), StoredValue(SmallRecipe(preset), last, 7, 9));
    }
}

void tst_ImageFixtures::phantomLooksLikeAnatomy()
{
    ImageRecipe ct = Preset(ImagePreset::Ct);
    ct.content = Content::Phantom;
    ct.columns = 256;
    ct.rows = 256;
    auto hu = [&](double u, double v) {
        const int x = int((u + 1.0) / 2.0 * ct.columns);
        const int y = int((v + 1.0) / 2.0 * ct.rows);
        return StoredValue(ct, 0, x, y) + *ct.rescaleIntercept;
    };
    QVERIFY(hu(-0.98, -0.98) <= -900);             // air outside the body
    QVERIFY(hu(0.42, 0.0) < -600);                 // lung
    QVERIFY(std::abs(hu(0.0, 0.25) - 45) < 30);    // soft tissue
    QVERIFY(hu(0.0, 0.40) > 700);                  // vertebral body's cortex
    QVERIFY(hu(0.10, -0.02) > 100);                // blood in the heart

    // The beating heart changes between frames of a multi-frame image
    ImageRecipe loop = Preset(ImagePreset::MultiFrameGrey);
    loop.content = Content::Phantom;
    loop.columns = 128;
    loop.rows = 128;
    int changed = 0;
    for (int y = 0; y < loop.rows; ++y)
        for (int x = 0; x < loop.columns; ++x)
            changed += StoredValue(loop, 0, x, y) != StoredValue(loop, 2, x, y);
    QVERIFY(changed > 50);

    // Pictures for a person to look at
    const QByteArray output = qgetenv("ORVANE_TEST_OUTPUT");
    if (output.isEmpty())
        return;
    for (ImagePreset preset : AllPresets()) {
        ImageRecipe recipe = Preset(preset);
        recipe.content = Content::Phantom;
        recipe.columns = recipe.rows = 200;
        recipe.extra.clear();
        const QString path = m_dir.filePath(QStringLiteral("phantom.dcm"));
        QCOMPARE(WriteImage(recipe, Syntax::ExplicitLittle, path), QString());
        Loaded loaded = Load(path);
        DicomImage& image = *loaded.image;
        if (image.isMonochrome())
            image.setMinMaxWindow();
        const auto* pixels = static_cast<const uchar*>(image.getOutputData(8, 0, 0));
        QVERIFY(pixels);
        const bool grey = image.isMonochrome();
        QImage picture(pixels, recipe.columns, recipe.rows, recipe.columns * (grey ? 1 : 3),
                       grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
        QDir().mkpath(QString::fromLocal8Bit(output));
        picture.save(QDir(QString::fromLocal8Bit(output)).filePath(QStringLiteral("phantom-%1.png").arg(PresetName(preset))));
    }
}

QTEST_GUILESS_MAIN(tst_ImageFixtures)
#include "tst_ImageFixtures.moc"
