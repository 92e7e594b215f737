// A file with megabytes of zeros after its Pixel Data, as some writers leave them: the toolkit
// reads each zero group as an element and warns about it. With the log level the viewer sets
// at start-up nothing of that reaches standard error, and the image and its header still read.

// Qt
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// POSIX
#include <unistd.h>

// std
#include <cstdio>
#include <functional>

// Orvane
#include "annotation/CPresentationStateHandler.h"
#include "platform/CxImage.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tools/fixtures/ImageFixtures.h"

using namespace Fixtures;

namespace {

constexpr qint64 kTrailingZeros = 2500 * 1024;

// Everything `work` writes to file descriptor 2
QByteArray CapturedStandardError(const std::function<void()>& work, const QString& into)
{
    std::fflush(stderr);
    const int saved = ::dup(2);
    FILE* capture = std::fopen(QFile::encodeName(into).constData(), "w");
    if (saved < 0 || !capture)
        return "capture failed";
    ::dup2(::fileno(capture), 2);
    work();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    std::fclose(capture);
    QFile file(into);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("capture unreadable");
}

} // namespace

class tst_UntidyFile : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void readsQuietly_data();
    void readsQuietly();

private:
    QTemporaryDir m_dir;
    QString m_path;
    DicomCodecs m_codecs;
};

void tst_UntidyFile::initTestCase()
{
    QVERIFY(m_dir.isValid());
    ReportToolkitErrorsOnly();
    ImageRecipe mr = Preset(ImagePreset::Mr);
    mr.columns = mr.rows = 256;
    m_path = m_dir.filePath("untidy-mr.dcm");
    QCOMPARE(WriteImage(mr, Syntax::ExplicitLittle, m_path), QString());
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::Append));
    QCOMPARE(file.write(QByteArray(kTrailingZeros, '\0')), kTrailingZeros);
}

void tst_UntidyFile::readsQuietly_data()
{
    QTest::addColumn<QString>("read");
    QTest::newRow("image shown") << "image";
    QTest::newRow("header read of the presentation-state import") << "header";
}

void tst_UntidyFile::readsQuietly()
{
    QFETCH(QString, read);
    bool ok = false;
    const QByteArray written = CapturedStandardError(
        [&] {
            if (read == "image") {
                CxImageDCM dicom;
                QList<CxImage*> images;
                ok = dicom.LoadDCM(QFile::encodeName(m_path).constData(), &images, FALSE) == 1 && images.size() == 1
                     && images.front()->GetWidth() == 256;
                qDeleteAll(images);
            } else {
                const CPresentationStateHandler::ImageDescription image =
                    CPresentationStateHandler::DescribeImage(m_path, QStringLiteral("record-uid"), 0);
                ok = image.nColumns == 256 && image.nRows == 256 && image.strKey != QLatin1String("record-uid");
            }
        },
        m_dir.filePath("stderr-" + read + ".txt"));
    QVERIFY(ok);
    QCOMPARE(QString::fromLatin1(written.left(300)), QString());
}

QTEST_MAIN(tst_UntidyFile)
#include "tst_UntidyFile.moc"
