// CxImageDCM opening and rendering: every transfer syntax and photometric interpretation the
// generator writes, the window chosen per bit depth, frames, the colour window, the reduced
// image the view swaps in, and the files it must refuse.

// Qt
#include <QTemporaryDir>
#include <QtTest>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcmetinf.h>
#include <dcmtk/dcmdata/dcpixel.h>
#include <dcmtk/dcmimgle/dcmimage.h>

// Orvane
#include "platform/CxImage.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tools/fixtures/ImageFixtures.h"
#include "viewer/DicomImageAccess.h"

// std
#include <cmath>
#include <memory>

using namespace Fixtures;

Q_DECLARE_METATYPE(Fixtures::ImagePreset)
Q_DECLARE_METATYPE(Fixtures::Syntax)
Q_DECLARE_METATYPE(Fixtures::ImageRecipe)

namespace {

bool IsLossy(Syntax syntax)
{
    return syntax == Syntax::JpegBaseline || syntax == Syntax::JpegExtended;
}

bool IsMonochrome(const ImageRecipe& recipe)
{
    return recipe.photometric == "MONOCHROME1" || recipe.photometric == "MONOCHROME2";
}

bool Writable(const ImageRecipe& recipe, Syntax syntax)
{
    if (syntax == Syntax::JpegBaseline && recipe.bitsStored > 8)
        return false;
    if (syntax == Syntax::JpegExtended && recipe.bitsStored > 12)
        return false;
    if (IsLossy(syntax) && recipe.photometric == "PALETTE COLOR")
        return false;
    if (recipe.photometric == "YBR_FULL_422" && (syntax == Syntax::JpegLossless || syntax == Syntax::Rle))
        return false;
    return true;
}

// A small image of the preset with an odd width where the format allows one.
ImageRecipe SmallRecipe(ImagePreset preset)
{
    ImageRecipe recipe = Preset(preset);
    recipe.columns = recipe.photometric == "YBR_FULL_422" ? 34 : 33;
    recipe.rows = 21;
    if (recipe.frames > 1)
        recipe.frames = 4;
    return recipe;
}

// What the bare toolkit delivers for a frame at a window (none for width 0): grey bytes or
// red, green, blue triples.
std::vector<Uint8> ToolkitOutput(const QString& path, int frame, double centre, double width)
{
    DcmFileFormat file;
    if (file.loadFile(QFile::encodeName(path).constData()).bad())
        return {};
    DcmDataset* data = file.getDataset();
    if (data->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).bad())
        return {};
    Uint16 planar = 0;
    OFString sopClass;
    data->findAndGetOFString(DCM_SOPClassUID, sopClass);
    if (sopClass == "1.2.840.10008.5.1.4.1.1.7")
        data->putAndInsertUint16(DCM_PlanarConfiguration, planar);
    DicomImage image(&file, data->getCurrentXfer(), CIF_AcrNemaCompatibility);
    if (image.getStatus() != EIS_Normal)
        return {};
    if (width != 0.0 && image.isMonochrome())
        image.setWindow(centre, width);
    const auto* out = static_cast<const Uint8*>(image.getOutputData(8, static_cast<unsigned long>(frame), 0));
    if (!out)
        return {};
    return std::vector<Uint8>(out, out + image.getOutputDataSize(8));
}

// The bitmap's bytes in the toolkit's order: rows top first, grey or red, green, blue.
std::vector<Uint8> BitmapBytes(const CxImage& bitmap)
{
    const QImage& picture = bitmap.GetQImage();
    const int samples = bitmap.GetBpp() == 8 ? 1 : 3;
    std::vector<Uint8> bytes;
    bytes.reserve(std::size_t(picture.width()) * picture.height() * samples);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            if (samples == 1) {
                bytes.push_back(Uint8(qGray(pixel)));
            } else {
                bytes.push_back(Uint8(qRed(pixel)));
                bytes.push_back(Uint8(qGreen(pixel)));
                bytes.push_back(Uint8(qBlue(pixel)));
            }
        }
    }
    return bytes;
}

// Blue, green, red of one bitmap pixel.
std::array<int, 3> Bgr(const CxImage& bitmap, int x, int y)
{
    const QRgb pixel = bitmap.GetQImage().pixel(x, y);
    return {qBlue(pixel), qGreen(pixel), qRed(pixel)};
}

// Fails unless the 24-bit bitmap shows the generator's colours of `frame` within `tolerance`.
bool ShowsColours(const CxImage& bitmap, const ImageRecipe& recipe, int frame, int tolerance, QString* why)
{
    if (int(bitmap.GetWidth()) != recipe.columns || int(bitmap.GetHeight()) != recipe.rows || bitmap.GetBpp() != 24) {
        *why = QStringLiteral("bitmap %1x%2x%3").arg(bitmap.GetWidth()).arg(bitmap.GetHeight()).arg(bitmap.GetBpp());
        return false;
    }
    for (int y = 0; y < recipe.rows; ++y)
        for (int x = 0; x < recipe.columns; ++x) {
            const std::array<int, 3> rgb = ShownColour(recipe, frame, x, y);
            const std::array<int, 3> bgr = Bgr(bitmap, x, y);
            for (int c = 0; c < 3; ++c)
                if (std::abs(bgr[std::size_t(2 - c)] - rgb[std::size_t(c)]) > tolerance) {
                    *why = QStringLiteral("frame %1 (%2, %3) channel %4: %5, expected %6")
                               .arg(frame).arg(x).arg(y).arg(c).arg(bgr[std::size_t(2 - c)]).arg(rgb[std::size_t(c)]);
                    return false;
                }
        }
    return true;
}

// Copies the file at `from` to `to` with its meta header naming transfer syntax `uid`; the
// data set stays as it was encoded.
bool StampTransferSyntax(const QString& from, const char* uid, const QString& to)
{
    DcmFileFormat file;
    if (file.loadFile(QFile::encodeName(from).constData()).bad())
        return false;
    const E_TransferSyntax xfer = file.getDataset()->getOriginalXfer();
    file.getMetaInfo()->putAndInsertString(DCM_TransferSyntaxUID, uid);
    return file.saveFile(QFile::encodeName(to).constData(), xfer, EET_ExplicitLength, EGL_recalcGL, EPD_noChange, 0, 0,
                         EWM_dontUpdateMeta)
        .good();
}

// Length of the Pixel Data value the data set holds; -1 without the element.
long PixelDataLength(DcmDataset* data)
{
    DcmElement* element = nullptr;
    if (!data || data->findAndGetElement(DCM_PixelData, element).bad() || !element)
        return -1;
    return long(element->getLength());
}

// The bare toolkit's image of a file, its data set left whole.
struct BareImage {
    DcmFileFormat file;
    std::unique_ptr<DicomImage> image;
    explicit BareImage(const QString& path)
    {
        if (file.loadFile(QFile::encodeName(path).constData()).bad()
            || file.getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).bad())
            return;
        image = std::make_unique<DicomImage>(&file, file.getDataset()->getCurrentXfer(), CIF_AcrNemaCompatibility);
    }
};

struct Opened {
    std::unique_ptr<CxImageDCM> dicom = std::make_unique<CxImageDCM>();
    QList<CxImage*> images;
    int result = 0;
    ~Opened() { qDeleteAll(images); }
};

std::unique_ptr<Opened> Open(const QString& path, bool atLastFrame = false)
{
    auto opened = std::make_unique<Opened>();
    opened->result = opened->dicom->LoadDCM(QFile::encodeName(path).constData(), &opened->images, atLastFrame);
    return opened;
}

} // namespace

class tst_CxImageDCM : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void rendersEveryKind_data();
    void rendersEveryKind();
    void choosesWindowByBitDepth_data();
    void choosesWindowByBitDepth();
    void windowLevellingRendersMonochromeAtTheWindow();
    void colourWindowTable_data();
    void colourWindowTable();
    void colourWindowCoversWholePaletteImage();
    void colourWindowStaysOffTheStoredOutput();
    void otherColourModelsComeInBitmapOrder_data();
    void otherColourModelsComeInBitmapOrder();
    void stepsFrames_data();
    void stepsFrames();
    void clampsFrameCountToPixelData_data();
    void clampsFrameCountToPixelData();
    void keepsMultiFramePixelsUndecodedUntilShown();
    void frameOfAVanishedFileIsNotShown();
    void singleFrameKeepsOneRepresentation();
    void secondaryCaptureIsShownByPixel();
    void reducedImageFollowsFrameSteps();
    void refusedFilesReturnZero_data();
    void refusedFilesReturnZero();
    void destroyedObjectAnswersAsEmpty();
    void singleFrameReadsTheImageAfterItsPixelDataIsDropped_data();
    void singleFrameReadsTheImageAfterItsPixelDataIsDropped();
    void embeddedOverlayKeepsPixelData();
    void renderReusesTheTargetItOwnsAlone();
    void windowedColourShowsTheCurrentFrame();
    void colourWindowThatChangesNothingGivesTheToolkitOutput_data();
    void colourWindowThatChangesNothingGivesTheToolkitOutput();

private:
    QString Write(const ImageRecipe& recipe, Syntax syntax, const QString& name);

    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_CxImageDCM::initTestCase()
{
    m_codecs = std::make_unique<DicomCodecs>();
    QVERIFY(m_dir.isValid());
}

QString tst_CxImageDCM::Write(const ImageRecipe& recipe, Syntax syntax, const QString& name)
{
    const QString path = m_dir.filePath(name + QStringLiteral(".dcm"));
    const QString problem = WriteImage(recipe, syntax, path);
    if (!problem.isEmpty())
        qWarning("%s: %s", qPrintable(name), qPrintable(problem));
    return path;
}

void tst_CxImageDCM::rendersEveryKind_data()
{
    QTest::addColumn<ImagePreset>("preset");
    QTest::addColumn<Syntax>("syntax");
    const Syntax syntaxes[] = {Syntax::ExplicitLittle, Syntax::ImplicitLittle, Syntax::ExplicitBig, Syntax::JpegBaseline,
                               Syntax::JpegExtended,   Syntax::JpegLossless,   Syntax::Rle};
    for (ImagePreset preset : AllPresets())
        for (Syntax syntax : syntaxes)
            if (Writable(SmallRecipe(preset), syntax))
                QTest::addRow("%s/%s", PresetName(preset), SyntaxName(syntax)) << preset << syntax;
}

void tst_CxImageDCM::rendersEveryKind()
{
    QFETCH(ImagePreset, preset);
    QFETCH(Syntax, syntax);
    const ImageRecipe recipe = SmallRecipe(preset);
    const QString path = Write(recipe, syntax, QStringLiteral("kind-%1-%2").arg(PresetName(preset), SyntaxName(syntax)));

    auto opened = Open(path);
    QCOMPARE(opened->result, 1);
    QCOMPARE(opened->images.size(), 1);
    CxImageDCM& dicom = *opened->dicom;
    QCOMPARE(dicom.GetFrameCount(), recipe.frames);
    QCOMPARE(bool(dicom.IsMultiFrame()), recipe.frames > 1);

    const int tolerance = IsLossy(syntax) ? 16 : (recipe.photometric.rfind("YBR", 0) == 0 ? 3 : 0);
    CxImage stepped;
    for (int frame = 0; frame < recipe.frames; ++frame) {
        const CxImage* bitmap = opened->images.first();
        if (frame > 0) {
            dicom.GetMultiFrameNextImage(&stepped);
            bitmap = &stepped;
        }
        QCOMPARE(int(bitmap->GetWidth()), recipe.columns);
        QCOMPARE(int(bitmap->GetHeight()), recipe.rows);
        if (IsMonochrome(recipe)) {
            // 8 bits, one byte per sample: what the toolkit shows at the chosen window
            QCOMPARE(int(bitmap->GetBpp()), 8);
            const std::vector<Uint8> expected = ToolkitOutput(path, frame, dicom.m_dWindowCenter, dicom.m_dWindowWidth);
            QVERIFY(!expected.empty());
            QVERIFY2(BitmapBytes(*bitmap) == expected, qPrintable(QStringLiteral("frame %1").arg(frame)));
        } else {
            QString why;
            QVERIFY2(ShowsColours(*bitmap, recipe, frame, tolerance, &why), qPrintable(why));
        }
    }
}

void tst_CxImageDCM::choosesWindowByBitDepth_data()
{
    QTest::addColumn<ImageRecipe>("recipe");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("centre");
    QTest::addColumn<double>("minValue");
    QTest::addColumn<double>("maxValue");
    QTest::addColumn<double>("limitLow");
    QTest::addColumn<double>("limitHigh");

    {
        // 8 bits stored: fixed window, whatever the file says
        ImageRecipe recipe = SmallRecipe(ImagePreset::Grey8);
        recipe.windowCenter = "50";
        recipe.windowWidth = "100";
        QTest::newRow("8-bit ignores its window") << recipe << 255.0 << 127.0 << -128.0 << 256.0 << 1.0 << 460.0;
        ImageRecipe colour = SmallRecipe(ImagePreset::Rgb);
        QTest::newRow("8-bit colour") << colour << 255.0 << 127.0 << -128.0 << 256.0 << 1.0 << 460.0;
    }
    {
        // 12 of 16 bits: the first of several window values; the range of the pixels
        ImageRecipe recipe = SmallRecipe(ImagePreset::Mr);
        recipe.bitsStored = 12;
        recipe.minStored = 100;
        recipe.maxStored = 3100;
        recipe.windowCenter = "40\\400";
        recipe.windowWidth = "400\\1500";
        QTest::newRow("12-bit, two windows") << recipe << 400.0 << 40.0 << 100.0 << 3100.0 << 0.0 << 0.0;
        recipe.windowCenter.clear();
        recipe.windowWidth.clear();
        QTest::newRow("12-bit, no window") << recipe << 3000.0 << 1600.0 << 100.0 << 3100.0 << 0.0 << 0.0;
        recipe.windowCenter = "40";
        QTest::newRow("12-bit, centre only") << recipe << 3000.0 << 1600.0 << 100.0 << 3100.0 << 0.0 << 0.0;
        // A stored width below 1 is no window: the value range, as without one
        recipe.windowWidth = "0";
        QTest::newRow("12-bit, width 0") << recipe << 3000.0 << 1600.0 << 100.0 << 3100.0 << 0.0 << 0.0;
        recipe.windowWidth = "0.5";
        QTest::newRow("12-bit, width 0.5") << recipe << 3000.0 << 1600.0 << 100.0 << 3100.0 << 0.0 << 0.0;
        recipe.windowWidth = "-400";
        QTest::newRow("12-bit, negative width") << recipe << 3000.0 << 1600.0 << 100.0 << 3100.0 << 0.0 << 0.0;
        recipe.windowWidth = "1";
        QTest::newRow("12-bit, width 1") << recipe << 1.0 << 40.0 << 100.0 << 3100.0 << 0.0 << 0.0;
    }
    {
        // Signed with rescale: the range after the modality transform
        const ImageRecipe recipe = SmallRecipe(ImagePreset::Ct);
        QTest::newRow("CT rescaled") << recipe << 400.0 << 40.0 << -3024.0 << 1976.0 << 0.0 << 0.0;
    }
    {
        // A flat image: Smallest and Largest Image Pixel Value, else what the bits can hold
        ImageRecipe recipe = SmallRecipe(ImagePreset::Mr);
        recipe.bitsStored = 12;
        recipe.minStored = recipe.maxStored = 0;
        recipe.windowCenter = "500";
        recipe.windowWidth = "1000";
        recipe.smallestPixelValue = 5;
        recipe.largestPixelValue = 900;
        QTest::newRow("flat, pixel limits") << recipe << 1000.0 << 500.0 << 5.0 << 900.0 << 0.0 << 0.0;
        recipe.smallestPixelValue.reset();
        recipe.largestPixelValue.reset();
        QTest::newRow("flat unsigned") << recipe << 1000.0 << 500.0 << 0.0 << 4095.0 << 0.0 << 0.0;
        recipe.isSigned = true;
        QTest::newRow("flat signed") << recipe << 1000.0 << 500.0 << -2048.0 << 2047.0 << 0.0 << 0.0;
        // Without a window a flat image's range is one value: the narrowest window there is
        recipe.isSigned = false;
        recipe.windowCenter.clear();
        recipe.windowWidth = "0";
        QTest::newRow("flat, width 0") << recipe << 1.0 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
    }
    {
        // Any other depth: the file's window, else the value range (never a 0/0 window)
        ImageRecipe recipe = SmallRecipe(ImagePreset::Grey8);
        recipe.bitsStored = 7;
        recipe.maxStored = 120;
        QTest::newRow("7-bit, no window") << recipe << 120.0 << 60.0 << 0.0 << 120.0 << 0.0 << 0.0;
        recipe.windowCenter = "30";
        recipe.windowWidth = "50";
        QTest::newRow("7-bit with window") << recipe << 50.0 << 30.0 << 0.0 << 120.0 << 0.0 << 0.0;
        recipe.windowWidth = "0";
        QTest::newRow("7-bit, width 0") << recipe << 120.0 << 60.0 << 0.0 << 120.0 << 0.0 << 0.0;
    }
    {
        // A multi-frame image without a window: the range of all its frames
        ImageRecipe recipe = SmallRecipe(ImagePreset::Mr);
        recipe.frames = 5;
        recipe.minStored = 0;
        recipe.maxStored = 1000;
        recipe.windowCenter.clear();
        recipe.windowWidth.clear();
        QTest::newRow("multi-frame, no window") << recipe << 1000.0 << 500.0 << 0.0 << 1000.0 << 0.0 << 0.0;
    }
}

void tst_CxImageDCM::choosesWindowByBitDepth()
{
    QFETCH(ImageRecipe, recipe);
    QFETCH(double, width);
    QFETCH(double, centre);
    QFETCH(double, minValue);
    QFETCH(double, maxValue);
    QFETCH(double, limitLow);
    QFETCH(double, limitHigh);
    auto opened = Open(Write(recipe, Syntax::ExplicitLittle, QStringLiteral("window")));
    QCOMPARE(opened->result, 1);
    const CxImageDCM& dicom = *opened->dicom;
    QCOMPARE(dicom.m_dWindowWidth, width);
    QCOMPARE(dicom.m_dWindowCenter, centre);
    QCOMPARE(dicom.m_dMinValue, minValue);
    QCOMPARE(dicom.m_dMaxValue, maxValue);
    QCOMPARE(dicom.m_dLimitLow, limitLow);
    QCOMPARE(dicom.m_dLimitHigh, limitHigh);
}

void tst_CxImageDCM::windowLevellingRendersMonochromeAtTheWindow()
{
    // A 16-bit image gets the window from the toolkit, the DICOM linear function of the
    // modality values; the bytes come out as the toolkit renders them
    const ImageRecipe recipe = SmallRecipe(ImagePreset::Ct);
    const QString path = Write(recipe, Syntax::ExplicitLittle, QStringLiteral("ct-window"));
    auto opened = Open(path);
    QCOMPARE(opened->result, 1);
    std::unique_ptr<CxImage> bitmap(opened->dicom->WindowLevelling(1000, -200));
    QVERIFY(bitmap);
    QCOMPARE(int(bitmap->GetBpp()), 8);
    QVERIFY(BitmapBytes(*bitmap) == ToolkitOutput(path, 0, -200, 1000));
    for (int x : {0, 7, 20, 32}) {
        const double value = StoredValue(recipe, 0, x, 10) + *recipe.rescaleIntercept;
        const double linear = ((value - (-200 - 0.5)) / (1000 - 1) + 0.5) * 255.0;
        const int expected = int(std::clamp(linear, 0.0, 255.0));
        QVERIFY2(std::abs(int(bitmap->GetQImage().constScanLine(10)[x]) - expected) <= 1, qPrintable(QString::number(x)));
    }
    // A second window replaces the first
    std::unique_ptr<CxImage> again(opened->dicom->WindowLevelling(400, 40));
    QVERIFY(BitmapBytes(*again) == ToolkitOutput(path, 0, 40, 400));
}

void tst_CxImageDCM::colourWindowTable_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("centre");
    QTest::addColumn<QList<int>>("inputs");
    QTest::addColumn<QList<int>>("outputs");
    QTest::newRow("256/128") << 256 << 128 << QList<int>{0, 1, 2, 128, 254, 255} << QList<int>{0, 1, 2, 128, 254, 255};
    QTest::newRow("100/50") << 100 << 50 << QList<int>{0, 1, 50, 98, 99, 255} << QList<int>{0, 2, 128, 252, 255, 255};
    QTest::newRow("threshold 1/100") << 1 << 100 << QList<int>{0, 99, 100, 101, 255} << QList<int>{0, 0, 255, 255, 255};
    QTest::newRow("threshold 0/100") << 0 << 100 << QList<int>{99, 100} << QList<int>{0, 255};
    QTest::newRow("negative width") << -5 << 100 << QList<int>{0, 100, 102, 103, 255} << QList<int>{0, 0, 0, 255, 255};
}

void tst_CxImageDCM::colourWindowTable()
{
    QFETCH(int, width);
    QFETCH(int, centre);
    QFETCH(QList<int>, inputs);
    QFETCH(QList<int>, outputs);
    // Red is the column: every byte value 0..255 occurs in row 0
    ImageRecipe recipe = Preset(ImagePreset::Rgb);
    recipe.columns = 256;
    recipe.rows = 3;
    auto opened = Open(Write(recipe, Syntax::ExplicitLittle, QStringLiteral("rgb-256")));
    QCOMPARE(opened->result, 1);
    std::unique_ptr<CxImage> bitmap(opened->dicom->WindowLevelling(width, centre));
    QVERIFY(bitmap);
    QCOMPARE(int(bitmap->GetBpp()), 24);
    for (int i = 0; i < inputs.size(); ++i) {
        const int x = inputs[i];
        QCOMPARE(ShownColour(recipe, 0, x, 0)[0], x);
        QVERIFY2(Bgr(*bitmap, x, 0)[2] == outputs[i],
                 qPrintable(QStringLiteral("red %1 gave %2, expected %3").arg(x).arg(Bgr(*bitmap, x, 0)[2]).arg(outputs[i])));
    }
}

void tst_CxImageDCM::colourWindowCoversWholePaletteImage()
{
    // Palettes with 8-bit entries: every row, not the first half only, gets the window
    for (ImagePreset preset : {ImagePreset::Palette8, ImagePreset::Palette16}) {
        const ImageRecipe recipe = SmallRecipe(preset);
        auto opened = Open(Write(recipe, Syntax::ExplicitLittle, QStringLiteral("palette-window")));
        QCOMPARE(opened->result, 1);
        std::unique_ptr<CxImage> bitmap(opened->dicom->WindowLevelling(1, 128));
        QVERIFY(bitmap);
        for (int y = 0; y < recipe.rows; ++y)
            for (int x = 0; x < recipe.columns; ++x) {
                const std::array<int, 3> rgb = ShownColour(recipe, 0, x, y);
                const std::array<int, 3> bgr = Bgr(*bitmap, x, y);
                for (int c = 0; c < 3; ++c)
                    QCOMPARE(bgr[std::size_t(2 - c)], rgb[std::size_t(c)] <= 127 ? 0 : 255);
            }
    }
}

void tst_CxImageDCM::colourWindowStaysOffTheStoredOutput()
{
    // Rendering twice at one window gives the same picture, and stepping shows the colours
    // as stored: neither the exchange nor the window is applied twice
    const ImageRecipe recipe = SmallRecipe(ImagePreset::MultiFrameColour);
    auto opened = Open(Write(recipe, Syntax::ExplicitLittle, QStringLiteral("colour-twice")));
    CxImageDCM& dicom = *opened->dicom;
    std::unique_ptr<CxImage> first(dicom.WindowLevelling(100, 80));
    std::unique_ptr<CxImage> second(dicom.WindowLevelling(100, 80));
    QVERIFY(first && second);
    QVERIFY(BitmapBytes(*first) == BitmapBytes(*second));
    QVERIFY(BitmapBytes(*first) != BitmapBytes(*opened->images.first()));
    CxImage frame;
    dicom.GetCxImageByPos(&frame, 0);
    QString why;
    QVERIFY2(ShowsColours(frame, recipe, 0, 0, &why), qPrintable(why));
}

void tst_CxImageDCM::otherColourModelsComeInBitmapOrder_data()
{
    QTest::addColumn<ImagePreset>("preset");
    QTest::addColumn<QString>("photometric");
    QTest::newRow("HSV") << ImagePreset::Rgb << "HSV";
    QTest::newRow("YBR_PARTIAL_422") << ImagePreset::YbrFull422 << "YBR_PARTIAL_422";
}

void tst_CxImageDCM::otherColourModelsComeInBitmapOrder()
{
    QFETCH(ImagePreset, preset);
    QFETCH(QString, photometric);
    // The same samples read under another colour model: the toolkit delivers RGB, and the
    // bitmap holds it in that order like every other colour image
    ImageRecipe recipe = SmallRecipe(preset);
    recipe.extra.push_back({0x0028, 0x0004, photometric.toStdString()});
    const QString path = Write(recipe, Syntax::ExplicitLittle, QStringLiteral("model-") + photometric);
    auto opened = Open(path);
    QCOMPARE(opened->result, 1);
    const std::vector<Uint8> expected = ToolkitOutput(path, 0, 0, 0);
    QVERIFY(!expected.empty());
    QVERIFY(BitmapBytes(*opened->images.first()) == expected);
}

void tst_CxImageDCM::stepsFrames_data()
{
    QTest::addColumn<ImagePreset>("preset");
    QTest::addColumn<Syntax>("syntax");
    QTest::addColumn<int>("bitsStored"); // 0: the preset's
    for (ImagePreset preset : {ImagePreset::MultiFrameGrey, ImagePreset::MultiFrameColour})
        for (Syntax syntax : {Syntax::ExplicitLittle, Syntax::ExplicitBig, Syntax::JpegBaseline, Syntax::JpegLossless, Syntax::Rle})
            QTest::addRow("%s/%s", PresetName(preset), SyntaxName(syntax)) << preset << syntax << 0;
    // 16-bit frames read one at a time from files of either byte order
    for (Syntax syntax : {Syntax::ExplicitLittle, Syntax::ImplicitLittle, Syntax::ExplicitBig, Syntax::JpegLossless})
        QTest::addRow("mr16/%s", SyntaxName(syntax)) << ImagePreset::Mr << syntax << 0;
    // Frames of an odd number of bytes, 7 of 8 bits stored: the toolkit's frame-by-frame read
    // of such frames leaves their last pixels unset
    for (Syntax syntax : {Syntax::ExplicitLittle, Syntax::ImplicitLittle, Syntax::ExplicitBig})
        QTest::addRow("grey8-of-7/%s", SyntaxName(syntax)) << ImagePreset::MultiFrameGrey << syntax << 7;
}

void tst_CxImageDCM::stepsFrames()
{
    QFETCH(ImagePreset, preset);
    QFETCH(Syntax, syntax);
    QFETCH(int, bitsStored);
    ImageRecipe recipe = SmallRecipe(preset);
    recipe.frames = 5;
    if (bitsStored)
        recipe.bitsStored = bitsStored;
    const QString path = Write(recipe, syntax,
                               QStringLiteral("steps-%1-%2-%3").arg(PresetName(preset), SyntaxName(syntax)).arg(bitsStored));
    // Grey frames come out at the window last set; `slack` allows for the colour window at
    // 255/127, which moves some bytes by one
    double windowCentre = 0.0;
    double windowWidth = 0.0;
    auto shows = [&](const CxImage& bitmap, int frame, int slack = 0) {
        if (!IsMonochrome(recipe)) {
            QString why;
            return ShowsColours(bitmap, recipe, frame, (IsLossy(syntax) ? 16 : 0) + slack, &why);
        }
        return BitmapBytes(bitmap) == ToolkitOutput(path, frame, windowCentre, windowWidth);
    };
    short current = -1;
    short count = -1;

    // First frame
    auto first = Open(path);
    QCOMPARE(first->result, 1);
    windowCentre = first->dicom->m_dWindowCenter;
    windowWidth = first->dicom->m_dWindowWidth;
    first->dicom->GetFramePosition(&current, &count);
    QCOMPARE(int(current), 1);
    QCOMPARE(int(count), 5);
    QVERIFY(shows(*first->images.first(), 0));

    // Last frame, then back one, then forward past the end
    auto last = Open(path, true);
    CxImageDCM& dicom = *last->dicom;
    QCOMPARE(last->result, 1);
    dicom.GetFramePosition(&current, &count);
    QCOMPARE(int(current), 5);
    QCOMPARE(int(count), 5);
    QVERIFY(shows(*last->images.first(), 4));
    CxImage bitmap;
    dicom.GetMultiframePrevImage(&bitmap);
    QCOMPARE(dicom.m_nCurrentFrame, 4);
    QVERIFY(shows(bitmap, 3));
    dicom.GetMultiFrameNextImage(&bitmap);
    dicom.GetMultiFrameNextImage(&bitmap);
    QCOMPARE(dicom.m_nCurrentFrame, 5);
    QVERIFY(shows(bitmap, 4));

    // By position: in range, and past the end (the first frame)
    dicom.GetCxImageByPos(&bitmap, 2);
    QCOMPARE(dicom.m_nCurrentFrame, 3);
    QVERIFY(shows(bitmap, 2));
    std::unique_ptr<CxImage> windowed(dicom.WindowLevelling(255, 127));
    windowCentre = 127;
    windowWidth = 255;
    QVERIFY(shows(*windowed, 2, 1)); // the window renders the current frame
    dicom.GetCxImageByPos(&bitmap, 9);
    QCOMPARE(dicom.m_nCurrentFrame, 1);
    QVERIFY(shows(bitmap, 0));
    dicom.GetMultiframePrevImage(&bitmap);
    QCOMPARE(dicom.m_nCurrentFrame, 1);
}

void tst_CxImageDCM::clampsFrameCountToPixelData_data()
{
    QTest::addColumn<Syntax>("syntax");
    QTest::newRow("uncompressed") << Syntax::ExplicitLittle;
    QTest::newRow("rle") << Syntax::Rle;
    QTest::newRow("jpeg") << Syntax::JpegBaseline;
}

void tst_CxImageDCM::clampsFrameCountToPixelData()
{
    QFETCH(Syntax, syntax);
    // The header claims 7 frames; the pixel data holds 3
    ImageRecipe recipe = SmallRecipe(ImagePreset::MultiFrameColour);
    recipe.frames = 3;
    recipe.extra.push_back({0x0028, 0x0008, "7"});
    auto opened = Open(Write(recipe, syntax, QStringLiteral("claims-seven")), true);
    QCOMPARE(opened->result, 1);
    QCOMPARE(opened->dicom->GetFrameCount(), 3);
    QCOMPARE(opened->dicom->m_nCurrentFrame, 3);
    QString why;
    QVERIFY2(ShowsColours(*opened->images.first(), recipe, 2, IsLossy(syntax) ? 16 : 0, &why), qPrintable(why));
}

void tst_CxImageDCM::keepsMultiFramePixelsUndecodedUntilShown()
{
    // A multi-frame JPEG shows its first frame without decoding the others: the data set
    // keeps its compressed pixels, and each frame is decoded when it is shown
    ImageRecipe recipe = SmallRecipe(ImagePreset::MultiFrameColour);
    recipe.frames = 6;
    auto opened = Open(Write(recipe, Syntax::JpegBaseline, QStringLiteral("undecoded")));
    QCOMPARE(opened->result, 1);
    CxImageDCM& dicom = *opened->dicom;
    QCOMPARE(dicom.m_pDataset->getCurrentXfer(), EXS_JPEGProcess1);
    QCOMPARE(int(dicom.m_pDicomImage->getFrameCount()), 1);
    CxImage bitmap;
    dicom.GetCxImageByPos(&bitmap, 4);
    QString why;
    QVERIFY2(ShowsColours(bitmap, recipe, 4, 16, &why), qPrintable(why));
    QCOMPARE(int(dicom.m_pDicomImage->getFirstFrame()), 4);
}

void tst_CxImageDCM::frameOfAVanishedFileIsNotShown()
{
    // Frames of a multi-frame file are read when shown: once the file is gone, a step renders
    // nothing and leaves the caller's bitmap as it was
    ImageRecipe recipe = SmallRecipe(ImagePreset::MultiFrameGrey);
    recipe.columns = 101; // larger than what the toolkit reads at once
    recipe.rows = 80;
    const QString path = Write(recipe, Syntax::ExplicitLittle, QStringLiteral("vanishing"));
    auto opened = Open(path);
    QCOMPARE(opened->result, 1);
    QVERIFY(QFile::remove(path));
    CxImage bitmap;
    opened->dicom->GetCxImageByPos(&bitmap, 2);
    QCOMPARE(int(bitmap.GetWidth()), 0);
    // The step made frame 3 current; it cannot be read, so a re-render gives nothing either
    QCOMPARE(opened->dicom->m_nCurrentFrame, 3);
    std::unique_ptr<CxImage> again(opened->dicom->WindowLevelling(255, 127));
    QVERIFY(!again);
}

void tst_CxImageDCM::singleFrameKeepsOneRepresentation()
{
    for (Syntax syntax : {Syntax::Rle, Syntax::JpegLossless}) {
        auto opened = Open(Write(SmallRecipe(ImagePreset::Ct), syntax, QStringLiteral("one-copy")));
        QCOMPARE(opened->result, 1);
        DcmDataset* data = opened->dicom->m_pDataset;
        QCOMPARE(data->getCurrentXfer(), EXS_LittleEndianExplicit);
        DcmElement* element = nullptr;
        QVERIFY(data->findAndGetElement(DCM_PixelData, element).good());
        auto* pixels = static_cast<DcmPixelData*>(element);
        QVERIFY(!pixels->hasRepresentation(syntax == Syntax::Rle ? EXS_RLELossless : EXS_JPEGProcess14SV1, nullptr));
    }
}

void tst_CxImageDCM::secondaryCaptureIsShownByPixel()
{
    // The header claims colour planes, the samples are by pixel: shown by pixel, and the data
    // set in memory says so
    const ImageRecipe capture = SmallRecipe(ImagePreset::SecondaryCapture);
    auto opened = Open(Write(capture, Syntax::ExplicitLittle, QStringLiteral("capture")));
    QCOMPARE(opened->result, 1);
    Uint16 planar = 9;
    QVERIFY(opened->dicom->m_pDataset->findAndGetUint16(DCM_PlanarConfiguration, planar).good());
    QCOMPARE(int(planar), 0);
    QString why;
    QVERIFY2(ShowsColours(*opened->images.first(), capture, 0, 0, &why), qPrintable(why));

    // Another class keeps its planes
    const ImageRecipe planes = SmallRecipe(ImagePreset::RgbPlanar);
    auto other = Open(Write(planes, Syntax::ExplicitLittle, QStringLiteral("planes")));
    QVERIFY(other->dicom->m_pDataset->findAndGetUint16(DCM_PlanarConfiguration, planar).good());
    QCOMPARE(int(planar), 1);
    QVERIFY2(ShowsColours(*other->images.first(), planes, 0, 0, &why), qPrintable(why));
}

void tst_CxImageDCM::reducedImageFollowsFrameSteps()
{
    // The view keeps the full image, swaps in a reduced copy while a button is held, and
    // swaps back; stepping frames meanwhile shows the new frame at the reduced size
    for (ImagePreset preset : {ImagePreset::MultiFrameGrey, ImagePreset::Ct}) {
        ImageRecipe recipe = SmallRecipe(preset);
        auto opened = Open(Write(recipe, Syntax::Rle, QStringLiteral("reduced")));
        QCOMPARE(opened->result, 1);
        CxImageDCM& dicom = *opened->dicom;
        dicom.m_pFullDicomImage = dicom.m_pDicomImage;
        dicom.m_pReducedDicomImage = dicom.m_pDicomImage->createScaledImage(16UL, 10UL, 4, 0);
        dicom.m_pDicomImage = dicom.m_pReducedDicomImage;
        std::unique_ptr<CxImage> small(dicom.WindowLevelling(255, 127));
        QVERIFY(small);
        QCOMPARE(int(small->GetWidth()), 16);
        QCOMPARE(int(small->GetHeight()), 10);
        if (recipe.frames > 1) {
            CxImage stepped;
            dicom.GetMultiFrameNextImage(&stepped);
            QCOMPARE(int(stepped.GetWidth()), 16);
            QVERIFY(dicom.m_pFullDicomImage != dicom.m_pDicomImage);
            QCOMPARE(dicom.m_pDicomImage, dicom.m_pReducedDicomImage);
        }
        // Back to full size, at the frame now current
        dicom.m_pDicomImage = dicom.m_pFullDicomImage;
        std::unique_ptr<CxImage> full(dicom.WindowLevelling(255, 127));
        QCOMPARE(int(full->GetWidth()), recipe.columns);
        if (recipe.frames > 1) {
            const QString path = m_dir.filePath(QStringLiteral("reduced.dcm"));
            QVERIFY(BitmapBytes(*full) == ToolkitOutput(path, 1, 127, 255));
        }
        // The destructor deletes each of the three images once (the sanitizer run checks)
    }
}

void tst_CxImageDCM::singleFrameReadsTheImageAfterItsPixelDataIsDropped_data()
{
    QTest::addColumn<ImagePreset>("preset");
    QTest::addColumn<int>("columns");
    QTest::addColumn<Syntax>("syntax");
    const ImagePreset presets[] = {ImagePreset::Ct, ImagePreset::Cr, ImagePreset::Mr, ImagePreset::Grey8,
                                   ImagePreset::Rgb, ImagePreset::Palette8, ImagePreset::Palette16, ImagePreset::YbrFull};
    for (ImagePreset preset : presets)
        for (int columns : {33, 36}) // scan lines padded and not
            QTest::addRow("%s/%d", PresetName(preset), columns) << preset << columns << Syntax::ExplicitLittle;
    QTest::addRow("ct/33/rle") << ImagePreset::Ct << 33 << Syntax::Rle;
    QTest::addRow("cr/36/jpeg-lossless") << ImagePreset::Cr << 36 << Syntax::JpegLossless;
}

void tst_CxImageDCM::singleFrameReadsTheImageAfterItsPixelDataIsDropped()
{
    QFETCH(ImagePreset, preset);
    QFETCH(int, columns);
    QFETCH(Syntax, syntax);
    ImageRecipe recipe = Preset(preset);
    recipe.columns = columns;
    recipe.rows = 23;
    recipe.windowCenter.clear(); // the window comes from the value range
    recipe.windowWidth.clear();
    const QString path = Write(recipe, syntax, QStringLiteral("dropped-%1-%2-%3").arg(PresetName(preset)).arg(columns).arg(SyntaxName(syntax)));
    BareImage bare(path);
    QVERIFY(bare.image && bare.image->getStatus() == EIS_Normal);

    auto opened = Open(path);
    QCOMPARE(opened->result, 1);
    CxImageDCM& dicom = *opened->dicom;
    // The data set no longer holds the pixels
    QCOMPARE(PixelDataLength(dicom.m_pDataset), 0L);

    const bool monochrome = bare.image->isMonochrome();
    if (monochrome) {
        // The min-max window, from the image's own pixels
        double low = 0.0;
        double high = 0.0;
        QVERIFY(bare.image->getMinMaxValues(low, high, 0));
        if (recipe.bitsAllocated > 8) { // 8 bits take a fixed window
            QCOMPARE(dicom.m_dMinValue, low);
            QCOMPARE(dicom.m_dMaxValue, high);
            QCOMPARE(dicom.m_dWindowWidth, std::max(1.0, high - low));
            QCOMPARE(dicom.m_dWindowCenter, (high + low) * 0.5);
        }
        QVERIFY(BitmapBytes(*opened->images.first()) == ToolkitOutput(path, 0, dicom.m_dWindowCenter, dicom.m_dWindowWidth));
        // Every later window, presets among them, and the one the reduced image is made for
        const int windows[][2] = {{400, 40}, {3000, 1000}, {1, 200}, {100000, -5000}};
        for (const auto& window : windows) {
            std::unique_ptr<CxImage> bitmap(dicom.WindowLevelling(window[0], window[1]));
            QVERIFY(bitmap);
            QVERIFY2(BitmapBytes(*bitmap) == ToolkitOutput(path, 0, window[1], window[0]),
                     qPrintable(QStringLiteral("window %1/%2").arg(window[0]).arg(window[1])));
        }
    } else {
        QVERIFY(BitmapBytes(*opened->images.first()) == ToolkitOutput(path, 0, 0, 0));
        std::unique_ptr<CxImage> identity(dicom.WindowLevelling(256, 128)); // the colour window that changes nothing
        QVERIFY(identity);
        QVERIFY(BitmapBytes(*identity) == ToolkitOutput(path, 0, 0, 0));
    }
    // The probe
    for (const QPoint point : {QPoint(0, 0), QPoint(columns - 1, 22), QPoint(columns / 2, 11)}) {
        const std::optional<double> expected = DicomImageAccess::PixelValue(bare.image.get(), 0, point.x(), point.y());
        QVERIFY(expected);
        QCOMPARE(DicomImageAccess::PixelValue(dicom.m_pDicomImage, 0, point.x(), point.y()), expected);
    }
    // The reduced copy the view renders while a button is held
    std::unique_ptr<DicomImage> reducedBare(bare.image->createScaledImage(16UL, 10UL, 4, 0));
    const int reducedWidth = monochrome ? 400 : 256; // colour: the window that changes nothing
    const int reducedCentre = monochrome ? 40 : 128;
    if (monochrome)
        reducedBare->setWindow(reducedCentre, reducedWidth);
    dicom.m_pFullDicomImage = dicom.m_pDicomImage;
    dicom.m_pReducedDicomImage = DicomImageAccess::CreateReducedImage(dicom.m_pDicomImage, 16, 10);
    QVERIFY(dicom.m_pReducedDicomImage);
    dicom.m_pDicomImage = dicom.m_pReducedDicomImage;
    std::unique_ptr<CxImage> small(dicom.WindowLevelling(reducedWidth, reducedCentre));
    QVERIFY(small);
    const auto* out = static_cast<const Uint8*>(reducedBare->getOutputData(8, 0, 0));
    QVERIFY(out);
    QVERIFY(BitmapBytes(*small) == std::vector<Uint8>(out, out + reducedBare->getOutputDataSize(8)));
}

void tst_CxImageDCM::embeddedOverlayKeepsPixelData()
{
    // An overlay plane in the unused high bits of the pixel data reads its bits from there
    ImageRecipe recipe = Preset(ImagePreset::Mr);
    recipe.columns = 32;
    recipe.rows = 20;
    recipe.bitsStored = 12;
    recipe.maxStored = 4095;
    recipe.extra = {{0x6000, 0x0010, "20"}, {0x6000, 0x0011, "32"}, {0x6000, 0x0040, "G"}, {0x6000, 0x0050, "1\\1"},
                    {0x6000, 0x0100, "16"}, {0x6000, 0x0102, "15"}};
    const QString path = Write(recipe, Syntax::ExplicitLittle, QStringLiteral("overlay-embedded"));
    auto opened = Open(path);
    QCOMPARE(opened->result, 1);
    QVERIFY(opened->dicom->m_pDicomImage->getOverlayCount() > 0);
    QCOMPARE(PixelDataLength(opened->dicom->m_pDataset), long(32 * 20 * 2));
    std::unique_ptr<CxImage> bitmap(opened->dicom->WindowLevelling(400, 40));
    QVERIFY(bitmap);
    QVERIFY(BitmapBytes(*bitmap) == ToolkitOutput(path, 0, 40, 400));
}

void tst_CxImageDCM::renderReusesTheTargetItOwnsAlone()
{
    ImageRecipe recipe = SmallRecipe(ImagePreset::Ct);
    const QString path = Write(recipe, Syntax::ExplicitLittle, QStringLiteral("reuse"));
    auto opened = Open(path);
    QCOMPARE(opened->result, 1);
    CxImageDCM& dicom = *opened->dicom;
    CxImage target;
    QVERIFY(dicom.WindowLevellingInto(&target, 400, 40));
    // The picture's serial number (the upper half of its cache key) names the allocation
    const qint64 picture = target.GetQImage().cacheKey() >> 32;
    QVERIFY(dicom.WindowLevellingInto(&target, 1000, 200));
    QCOMPARE(target.GetQImage().cacheKey() >> 32, picture); // rendered in place
    QVERIFY(BitmapBytes(target) == ToolkitOutput(path, 0, 200, 1000));
    // A picture shared with another bitmap is left to it
    CxImage shared;
    shared.Copy(target);
    const std::vector<Uint8> before = BitmapBytes(shared);
    QVERIFY(dicom.WindowLevellingInto(&target, 400, 40));
    QVERIFY(target.GetQImage().cacheKey() >> 32 != picture);
    QVERIFY(BitmapBytes(shared) == before);
    QVERIFY(BitmapBytes(target) == ToolkitOutput(path, 0, 40, 400));
}

void tst_CxImageDCM::windowedColourShowsTheCurrentFrame()
{
    const ImageRecipe recipe = SmallRecipe(ImagePreset::MultiFrameColour);
    const QString path = Write(recipe, Syntax::ExplicitLittle, QStringLiteral("colour-frames"));
    auto opened = Open(path);
    QCOMPARE(opened->result, 1);
    CxImage stepped;
    opened->dicom->GetCxImageByPos(&stepped, 2);
    CxImage windowed;
    QVERIFY(opened->dicom->WindowLevellingInto(&windowed, 256, 128)); // a colour window that changes nothing
    QVERIFY(BitmapBytes(windowed) == ToolkitOutput(path, 2, 0, 0));
    QVERIFY(BitmapBytes(windowed) != ToolkitOutput(path, 0, 0, 0));
}

void tst_CxImageDCM::colourWindowThatChangesNothingGivesTheToolkitOutput_data()
{
    QTest::addColumn<ImagePreset>("preset");
    QTest::addColumn<Syntax>("syntax");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("centre");
    QTest::addColumn<bool>("identity");
    const std::pair<ImagePreset, Syntax> images[] = {
        {ImagePreset::Rgb, Syntax::ExplicitLittle},
        {ImagePreset::RgbPlanar, Syntax::ExplicitLittle},
        {ImagePreset::MultiFrameColour, Syntax::JpegLossless},
        {ImagePreset::YbrFull, Syntax::ExplicitLittle},
        {ImagePreset::Palette8, Syntax::ExplicitLittle},
    };
    for (const auto& [preset, syntax] : images) {
        const QString name = QStringLiteral("%1 %2").arg(PresetName(preset), SyntaxName(syntax));
        QTest::newRow(qPrintable(name + " 256/128")) << preset << syntax << 256 << 128 << true;
        // The window an 8-bit image opens with moves some samples up by one
        QTest::newRow(qPrintable(name + " 255/127")) << preset << syntax << 255 << 127 << false;
        QTest::newRow(qPrintable(name + " 100/80")) << preset << syntax << 100 << 80 << false;
    }
}

void tst_CxImageDCM::colourWindowThatChangesNothingGivesTheToolkitOutput()
{
    QFETCH(ImagePreset, preset);
    QFETCH(Syntax, syntax);
    QFETCH(int, width);
    QFETCH(int, centre);
    QFETCH(bool, identity);
    ImageRecipe recipe = SmallRecipe(preset);
    // Every sample value occurs
    recipe.columns = 256;
    recipe.rows = 6;
    const QString path = Write(recipe, syntax, QStringLiteral("colour-window-%1-%2").arg(width).arg(int(preset)));
    auto opened = Open(path);
    QCOMPARE(opened->result, 1);
    const int frame = recipe.frames > 1 ? 2 : 0;
    opened->dicom->m_nCurrentFrame = frame + 1;
    CxImage windowed;
    QVERIFY(opened->dicom->WindowLevellingInto(&windowed, width, centre));
    const std::vector<Uint8> toolkit = ToolkitOutput(path, frame, 0, 0);
    // The linear window of 0..255 on each sample of the toolkit's output
    std::vector<Uint8> expected = toolkit;
    const int half = (width - 1) / 2;
    for (Uint8& sample : expected) {
        const double x = sample;
        if (x <= (centre - 0.5) - half)
            sample = 0;
        else if (x > (centre - 0.5) + half)
            sample = 255;
        else
            sample = Uint8(std::trunc(((x - (centre - 0.5)) / (width - 1) + 0.5) * 255.0 + 1e-9));
    }
    QVERIFY(BitmapBytes(windowed) == expected);
    QCOMPARE(expected == toolkit, identity);
}

void tst_CxImageDCM::refusedFilesReturnZero_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("failure"); // the line the pane shows
    const QString jpegLs = QStringLiteral("JPEG-LS images are not shown");
    const QString jpeg2000 = QStringLiteral("JPEG 2000 images are not shown");
    const QString unreadable = QStringLiteral("The file could not be read");
    QTest::newRow("jpeg-ls") << "jpeg-ls" << jpegLs;
    QTest::newRow("jpeg-ls multi-frame") << "jpeg-ls-multi" << jpegLs;
    QTest::newRow("jpeg-2000") << "jpeg-2000" << jpeg2000;
    QTest::newRow("jpeg-2000 multi-frame") << "jpeg-2000-multi" << jpeg2000;
    QTest::newRow("jpeg processes 3 and 5") << "jpeg-3-5" << "JPEG Extended (processes 3 and 5) images are not shown";
    QTest::newRow("another compression") << "mpeg2" << "MPEG2 Main Profile @ Main Level images are not shown";
    QTest::newRow("no pixel data") << "no-pixels" << "The file holds no pixel data";
    QTest::newRow("truncated") << "truncated" << "The pixel data could not be read";
    QTest::newRow("not dicom") << "not-dicom" << unreadable;
    QTest::newRow("missing file") << "missing" << unreadable;
    QTest::newRow("empty path") << "" << unreadable;
}

void tst_CxImageDCM::refusedFilesReturnZero()
{
    QFETCH(QString, kind);
    QFETCH(QString, failure);
    const QString path = kind.isEmpty() ? QString() : m_dir.filePath(QStringLiteral("refused-") + kind + QStringLiteral(".dcm"));
    const ImageRecipe single = SmallRecipe(ImagePreset::Ct);
    const ImageRecipe multi = SmallRecipe(ImagePreset::MultiFrameColour);
    if (kind == "jpeg-ls")
        QCOMPARE(WriteImage(single, Syntax::JpegLs, path), QString());
    else if (kind == "jpeg-ls-multi")
        QCOMPARE(WriteImage(multi, Syntax::JpegLs, path), QString());
    else if (kind == "jpeg-2000")
        QCOMPARE(WriteImage(single, Syntax::Jpeg2000, path), QString());
    else if (kind == "jpeg-2000-multi")
        QCOMPARE(WriteImage(multi, Syntax::Jpeg2000, path), QString());
    else if (kind == "jpeg-3-5")
        QCOMPARE(WriteImage(single, Syntax::JpegExtended35, path), QString());
    else if (kind == "no-pixels")
        QCOMPARE(WriteWithoutPixelData(single, path), QString());
    else if (kind == "truncated")
        QCOMPARE(WriteTruncated(single, path), QString());
    else if (kind == "not-dicom")
        QCOMPARE(WriteNotDicom(path), QString());
    else if (kind == "mpeg2")
        QVERIFY(StampTransferSyntax(Write(single, Syntax::JpegLossless, QStringLiteral("to-stamp")), "1.2.840.10008.1.2.4.100", path));

    CxImageDCM dicom;
    QList<CxImage*> images;
    QCOMPARE(dicom.LoadDCM(kind.isEmpty() ? nullptr : QFile::encodeName(path).constData(), &images, FALSE), 0);
    QCOMPARE(dicom.GetLoadFailure(), failure);
    QVERIFY(images.isEmpty());
    QVERIFY(dicom.GetFrameCount() <= 0);
    QVERIFY(!dicom.WindowLevelling(400, 40));
    CxImage untouched;
    dicom.GetCxImageByPos(&untouched, 0);
    dicom.GetMultiFrameNextImage(&untouched);
    QCOMPARE(int(untouched.GetWidth()), 0);
    short current = -1;
    short count = -1;
    dicom.GetFramePosition(&current, &count);
    QCOMPARE(int(count), 0);
    // A second load on the same object still works
    const QString good = Write(single, Syntax::ExplicitLittle, QStringLiteral("after-refusal"));
    QCOMPARE(dicom.LoadDCM(QFile::encodeName(good).constData(), &images, FALSE), 1);
    QCOMPARE(images.size(), 1);
    QCOMPARE(dicom.GetLoadFailure(), QString());
    qDeleteAll(images);
}

void tst_CxImageDCM::destroyedObjectAnswersAsEmpty()
{
    auto opened = Open(Write(SmallRecipe(ImagePreset::MultiFrameGrey), Syntax::ExplicitLittle, QStringLiteral("destroyed")));
    CxImageDCM& dicom = *opened->dicom;
    QVERIFY(dicom.GetFrameInterval() > 0);
    dicom.DestroyImageObject();
    QVERIFY(!dicom.m_pDataset && !dicom.m_pFileFormat && !dicom.m_pDicomImage);
    QCOMPARE(dicom.GetFrameCount(), -1);
    QVERIFY(!dicom.WindowLevelling(255, 127));
    QCOMPARE(dicom.GetFrameInterval(), 0);
    QString text = QStringLiteral("kept");
    dicom.GetSOPInstanceUID(&text);
    QCOMPARE(text, QStringLiteral("kept"));
    dicom.DestroyImageObject(); // twice is harmless
}

QTEST_GUILESS_MAIN(tst_CxImageDCM)
#include "tst_CxImageDCM.moc"
