// The thumbnail of one file: the reduced rendering gives the picture the full-size frame,
// rendered and then fitted into the box, gives, for each kind of image the column shows.

// Qt
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// std
#include <algorithm>
#include <cstdlib>

// Orvane
#include "platform/CxImage.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tools/fixtures/ImageFixtures.h"
#include "toolpanes/ThumbnailGeometry.h"
#include "toolpanes/ThumbnailMaker.h"

using namespace Fixtures;

Q_DECLARE_METATYPE(Fixtures::ImageRecipe)

namespace {

// The thumbnail as the full-size frame gives it: rendered as the view renders it, then fitted
QImage FullSizeThumbnail(const QString& path, QSize box)
{
    CxImageDCM dicom;
    QList<CxImage*> images;
    QImage picture;
    const QByteArray name = QFile::encodeName(path);
    if (dicom.LoadDCM(name.constData(), &images, FALSE) && !images.isEmpty() && images.front())
        picture = images.front()->GetQImage();
    qDeleteAll(images);
    return ComposeThumbnail(picture, box.width(), box.height());
}

ImageRecipe Recipe(ImagePreset preset, int columns, int rows, Content content = Content::Gradient, int frames = 0)
{
    ImageRecipe recipe = Preset(preset);
    recipe.columns = columns;
    recipe.rows = rows;
    recipe.content = content;
    if (frames > 0)
        recipe.frames = frames;
    return recipe;
}

struct Difference
{
    int largest = 0; // largest difference of one sample
    int pixels = 0;  // pixels differing by more than one grey level
};

Difference Compare(const QImage& a, const QImage& b)
{
    Difference d;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int step = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                       std::abs(qBlue(p) - qBlue(q))});
            d.largest = std::max(d.largest, step);
            d.pixels += step > 1 ? 1 : 0;
        }
    }
    return d;
}

} // namespace

class tst_ThumbnailMaker : public QObject
{
    Q_OBJECT
    DicomCodecs m_codecs;
    QTemporaryDir m_dir;

private slots:
    void sameAsTheFullSizeFrame_data()
    {
        QTest::addColumn<ImageRecipe>("recipe");
        QTest::addColumn<QSize>("box");
        QTest::newRow("ct phantom 512") << Recipe(ImagePreset::Ct, 512, 512, Content::Phantom) << QSize(74, 74);
        QTest::newRow("ct phantom 512 in 50") << Recipe(ImagePreset::Ct, 512, 512, Content::Phantom) << QSize(50, 50);
        QTest::newRow("mr 400 x 200") << Recipe(ImagePreset::Mr, 400, 200) << QSize(74, 74);
        QTest::newRow("cr monochrome1 200 x 400") << Recipe(ImagePreset::Cr, 200, 400) << QSize(74, 74);
        QTest::newRow("grey8 300 x 251") << Recipe(ImagePreset::Grey8, 300, 251) << QSize(65, 65);
        QTest::newRow("rgb 640 x 480") << Recipe(ImagePreset::Rgb, 640, 480) << QSize(74, 74);
        QTest::newRow("rgb planar 333 x 222") << Recipe(ImagePreset::RgbPlanar, 333, 222) << QSize(60, 60);
        QTest::newRow("palette8") << Recipe(ImagePreset::Palette8, 256, 200) << QSize(74, 74);
        QTest::newRow("palette16") << Recipe(ImagePreset::Palette16, 256, 200) << QSize(74, 74);
        QTest::newRow("ybr full 422") << Recipe(ImagePreset::YbrFull422, 320, 240) << QSize(74, 74);
        QTest::newRow("xa multi-frame grey") << Recipe(ImagePreset::MultiFrameGrey, 256, 256, Content::Gradient, 8) << QSize(74, 74);
        QTest::newRow("us multi-frame colour") << Recipe(ImagePreset::MultiFrameColour, 320, 240, Content::Gradient, 6) << QSize(74, 74);
        QTest::newRow("small ct, enlarged") << Recipe(ImagePreset::Ct, 64, 48, Content::Phantom) << QSize(74, 74);
        QTest::newRow("secondary capture") << Recipe(ImagePreset::SecondaryCapture, 200, 150) << QSize(74, 74);
    }
    void sameAsTheFullSizeFrame()
    {
        QFETCH(ImageRecipe, recipe);
        QFETCH(QSize, box);
        const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_') + ".dcm");
        QCOMPARE(WriteImage(recipe, Syntax::ExplicitLittle, path), QString());
        const QImage expected = FullSizeThumbnail(path, box);
        const ThumbnailResult made = ThumbnailMaker::Make(path, 4, box);
        QVERIFY(!made.bPlaceholder);
        QCOMPARE(made.image.size(), box);
        const Difference d = Compare(made.image.convertToFormat(QImage::Format_RGB32), expected);
        QVERIFY2(d.pixels == 0, qPrintable(QStringLiteral("%1 pixels differ by more than one grey level (up to %2)")
                                               .arg(d.pixels)
                                               .arg(d.largest)));
    }
};

QTEST_MAIN(tst_ThumbnailMaker)
#include "tst_ThumbnailMaker.moc"
