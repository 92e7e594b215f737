// Damaged pixel data is refused before decoding: each damaged image loads as an image that
// says why it shows no picture, sound images of every kind pass, and the RLE header and JPEG
// marker walks decide on the bytes that matter.

// Qt
#include <QTemporaryDir>
#include <QtTest>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcfilefo.h>

// Orvane
#include "platform/CxImage.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "study/LoadFailure.h"
#include "study/PixelDataCheck.h"
#include "tools/fixtures/DamagedFixtures.h"
#include "tools/fixtures/ImageFixtures.h"

// std
#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

using namespace Fixtures;

Q_DECLARE_METATYPE(Fixtures::Damage)
Q_DECLARE_METATYPE(Fixtures::ImagePreset)
Q_DECLARE_METATYPE(Fixtures::Syntax)

namespace {

QByteArray Le32(const std::vector<quint32>& values)
{
    QByteArray bytes;
    for (quint32 v : values)
        for (int i = 0; i < 4; ++i)
            bytes += char((v >> (8 * i)) & 0xFF);
    return bytes;
}

QByteArray RleHeader(const std::vector<quint32>& countAndOffsets)
{
    QByteArray header = Le32(countAndOffsets);
    header.resize(64, '\0');
    return header;
}

// What a load of a damaged image left
struct Refused
{
    int nLoaded = -1;
    QString strFailure;
    bool bNoBitmap = false;
    bool bNoWindowed = false;
    QString strPatientId;
};

// Set once a load never ended: its thread still decodes
bool g_bLoadStuck = false;

// A load of `path` into `dicom` on a thread of its own, waited for a bounded time: a load that
// never ends (a decoder's marker scan that does not stop) fails the test instead of hanging
// it. The stuck thread is left behind; the process ends with the failed test.
std::optional<Refused> LoadWithin(const std::shared_ptr<CxImageDCM>& dicom, const QString& path)
{
    auto task = std::make_shared<std::packaged_task<Refused()>>([dicom, path] {
        Refused r;
        QList<CxImage*> images;
        r.nLoaded = dicom->LoadDCM(QFile::encodeName(path).constData(), &images, FALSE);
        r.strFailure = dicom->GetLoadFailure();
        r.bNoBitmap = images.isEmpty();
        qDeleteAll(images);
        std::unique_ptr<CxImage> windowed(dicom->WindowLevelling(400, 40));
        r.bNoWindowed = !windowed;
        dicom->GetPatientID(&r.strPatientId);
        return r;
    });
    std::future<Refused> done = task->get_future();
    std::thread([task] { (*task)(); }).detach();
    if (done.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        g_bLoadStuck = true;
        return std::nullopt;
    }
    return done.get();
}

} // namespace

class tst_PixelDataCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void soundImagesPass_data();
    void soundImagesPass();
    void rleHeader_data();
    void rleHeader();
    void jpegScan_data();
    void jpegScan();
    // Last: a load that never ends holds the toolkit's decoders, and every later registration
    // of an encoder (the compressed fixtures) would wait for it
    void damagedImagesAreRefused_data();
    void damagedImagesAreRefused();

private:
    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_PixelDataCheck::initTestCase()
{
    m_codecs = std::make_unique<DicomCodecs>();
    QVERIFY(m_dir.isValid());
}

void tst_PixelDataCheck::cleanupTestCase()
{
    // The decoders' clean-up would wait for a load that never ends: they stay registered
    if (g_bLoadStuck)
        (void)m_codecs.release();
}

void tst_PixelDataCheck::damagedImagesAreRefused_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<QString>("failure");
    for (Damage damage : AllDamages()) {
        const bool notPixels = damage == Damage::PixelDataSequence || damage == Damage::PixelDataOL
                               || damage == Damage::PixelDataOV || damage == Damage::PixelDataDA;
        QTest::newRow(DamageName(damage))
            << damage << QString::fromLatin1(notPixels ? LoadFailure::kNoPixelData : LoadFailure::kPixelDataUnreadable);
    }
}

void tst_PixelDataCheck::damagedImagesAreRefused()
{
    QFETCH(Damage, damage);
    QFETCH(QString, failure);
    if (g_bLoadStuck)
        QSKIP("a load before this one never ended and holds the decoders");
    const QString path = m_dir.filePath(QString::fromLatin1(DamageName(damage)) + QStringLiteral(".dcm"));
    QCOMPARE(WriteDamaged(damage, path), QString());

    auto dicom = std::make_shared<CxImageDCM>();
    const std::optional<Refused> refused = LoadWithin(dicom, path);
    QVERIFY2(refused, "the load did not end");
    QCOMPARE(refused->nLoaded, 0);
    QCOMPARE(refused->strFailure, failure);
    QVERIFY(refused->bNoBitmap);
    QVERIFY(refused->bNoWindowed);
    // The pane still names the patient of the refused image
    QCOMPARE(refused->strPatientId, QStringLiteral("ORV-0001"));

    // The next image loads on the same object
    ImageRecipe sound = Preset(ImagePreset::Ct);
    const QString good = m_dir.filePath(QStringLiteral("sound-after-") + QString::fromLatin1(DamageName(damage)) + QStringLiteral(".dcm"));
    QCOMPARE(WriteImage(sound, Syntax::ExplicitLittle, good), QString());
    QList<CxImage*> images;
    QCOMPARE(dicom->LoadDCM(QFile::encodeName(good).constData(), &images, FALSE), 1);
    QCOMPARE(dicom->GetLoadFailure(), QString());
    qDeleteAll(images);
}

void tst_PixelDataCheck::soundImagesPass_data()
{
    QTest::addColumn<ImagePreset>("preset");
    QTest::addColumn<Syntax>("syntax");
    QTest::addColumn<int>("bitsAllocated");
    const Syntax syntaxes[] = {Syntax::ExplicitLittle, Syntax::ExplicitBig, Syntax::JpegBaseline, Syntax::JpegExtended,
                               Syntax::JpegLossless, Syntax::Rle};
    for (ImagePreset preset : AllPresets())
        for (Syntax syntax : syntaxes)
            QTest::addRow("%s/%s", PresetName(preset), SyntaxName(syntax)) << preset << syntax << 0;
    QTest::newRow("1-bit") << ImagePreset::Grey8 << Syntax::ExplicitLittle << 1;
}

void tst_PixelDataCheck::soundImagesPass()
{
    QFETCH(ImagePreset, preset);
    QFETCH(Syntax, syntax);
    QFETCH(int, bitsAllocated);
    ImageRecipe recipe = Preset(preset);
    // Fragments larger than what is read at once stay in the file: the check reads them there
    recipe.columns = recipe.photometric == "YBR_FULL_422" ? 128 : 127;
    recipe.rows = 96;
    if (bitsAllocated == 1) {
        recipe.bitsAllocated = recipe.bitsStored = 1;
        recipe.minStored = 0;
        recipe.maxStored = 1;
    }
    const QString path = m_dir.filePath(QStringLiteral("sound-%1-%2-%3.dcm").arg(PresetName(preset), SyntaxName(syntax)).arg(bitsAllocated));
    const QString problem = WriteImage(recipe, syntax, path);
    if (!problem.isEmpty())
        QSKIP(qPrintable(problem)); // a syntax this pixel format cannot take
    DcmFileFormat file;
    QVERIFY(file.loadFile(QFile::encodeName(path).constData(), EXS_Unknown, EGL_noChange, 4096, ERM_autoDetect).good());
    QCOMPARE(PixelDataCheck::Refusal(file.getDataset()), QString());
}

void tst_PixelDataCheck::rleHeader_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<uint>("length");
    QTest::addColumn<uint>("segments");
    QTest::addColumn<bool>("sound");
    QTest::newRow("one segment") << RleHeader({1, 64}) << 100u << 1u << true;
    QTest::newRow("three segments") << RleHeader({3, 64, 80, 96}) << 176u << 3u << true;
    QTest::newRow("offset past the fragment") << RleHeader({3, 64, 0x530000A2, 96}) << 176u << 3u << false;
    QTest::newRow("last offset at the end") << RleHeader({2, 64, 176}) << 176u << 2u << false;
    QTest::newRow("no segment") << RleHeader({0}) << 176u << 0u << false;
    QTest::newRow("sixteen segments") << RleHeader({16, 64}) << 176u << 16u << false;
    QTest::newRow("count not the samples") << RleHeader({2, 64, 80}) << 176u << 3u << false;
    QTest::newRow("first not at 64") << RleHeader({1, 60}) << 176u << 1u << false;
    QTest::newRow("offsets decreasing") << RleHeader({2, 64, 32}) << 176u << 2u << false;
    QTest::newRow("offsets equal") << RleHeader({2, 64, 64}) << 176u << 2u << false;
    QTest::newRow("fragment shorter than a header") << RleHeader({1, 64}).left(40) << 40u << 1u << false;
}

void tst_PixelDataCheck::rleHeader()
{
    QFETCH(QByteArray, header);
    QFETCH(uint, length);
    QFETCH(uint, segments);
    QFETCH(bool, sound);
    QCOMPARE(PixelDataCheck::RleHeaderSound(reinterpret_cast<const std::uint8_t*>(header.constData()), std::uint32_t(header.size()),
                                            length, segments),
             sound);
}

void tst_PixelDataCheck::jpegScan_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<bool>("ends");
    const QByteArray sof = QByteArray::fromHex("FFC0000B08001000100101110000");
    QTest::newRow("baseline") << QByteArray::fromHex("FFD8FFE000104A46494600010100000100010000") + sof << true;
    QTest::newRow("TEM first") << QByteArray::fromHex("FF0111EE") + sof << false;
    QTest::newRow("TEM after SOI") << QByteArray::fromHex("FFD8FF01") + sof << false;
    QTest::newRow("TEM after a segment") << QByteArray::fromHex("FFD8FFFE0004AAAAFF01") + sof << false;
    QTest::newRow("TEM inside a skipped segment") << QByteArray::fromHex("FFD8FFFE0006FF01AAAA") + sof << true;
    QTest::newRow("TEM past the fragment end") << QByteArray::fromHex("FFD8FFFE00100000") << true;
    QTest::newRow("reserved markers stepped over") << QByteArray::fromHex("FFD8FF30FF31") + sof << true;
    QTest::newRow("not a marker") << QByteArray::fromHex("0011FF01FF01") << true;
    QTest::newRow("fill bytes, then TEM") << QByteArray::fromHex("FFD8FFE00004AAAAFFFFFFFFFF01") + sof << false;
    QTest::newRow("fill bytes, then frame header") << QByteArray::fromHex("FFD8FFFFFF") + sof << true;
    QTest::newRow("short") << QByteArray::fromHex("FF01") << true;
}

void tst_PixelDataCheck::jpegScan()
{
    QFETCH(QByteArray, stream);
    QFETCH(bool, ends);
    const PixelDataCheck::ByteReader read = [&stream](std::uint32_t offset, std::uint8_t* two) {
        if (qsizetype(offset) + 2 > stream.size())
            return false;
        two[0] = std::uint8_t(stream[offset]);
        two[1] = std::uint8_t(stream[offset + 1]);
        return true;
    };
    QCOMPARE(PixelDataCheck::JpegScanEnds(read, std::uint32_t(stream.size())), ends);
}

QTEST_GUILESS_MAIN(tst_PixelDataCheck)
#include "tst_PixelDataCheck.moc"
