// The thumbnail side and list height by monitor, the fit of a picture into the box, labels,
// and the composed thumbnail's fill, picture and frame.

// Qt
#include <QtTest>

// Orvane
#include "toolpanes/ThumbnailGeometry.h"
#include "toolpanes/ThumbnailMaker.h"

class tst_ThumbnailGeometry : public QObject
{
    Q_OBJECT
private slots:
    void sizesByMonitorHeight_data()
    {
        QTest::addColumn<int>("H");
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("listHeight");
        QTest::newRow("600") << 600 << 50 << 576;
        QTest::newRow("601") << 601 << 60 << 570;
        QTest::newRow("768") << 768 << 60 << 729;
        QTest::newRow("769") << 769 << 65 << 730;
        QTest::newRow("864") << 864 << 65 << 820;
        QTest::newRow("865") << 865 << 74 << 856;
        QTest::newRow("1024") << 1024 << 74 << 1013;
        QTest::newRow("1200") << 1200 << 74 << 1188;
    }
    void sizesByMonitorHeight()
    {
        QFETCH(int, H);
        QFETCH(int, side);
        QFETCH(int, listHeight);
        const ThumbnailPaneSize s = ThumbnailSizeForMonitor(H);
        QCOMPARE(s.nSide, side);
        QCOMPARE(s.nListHeight, listHeight);
    }

    void fitsIntoBox_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<int>("box");
        QTest::addColumn<QRect>("drawn");
        QTest::newRow("512 x 512") << QSize(512, 512) << 74 << QRect(0, 0, 74, 74);
        QTest::newRow("400 x 200") << QSize(400, 200) << 74 << QRect(0, 18, 74, 37);
        QTest::newRow("200 x 400") << QSize(200, 400) << 74 << QRect(18, 0, 37, 74);
        QTest::newRow("640 x 480 in 50") << QSize(640, 480) << 50 << QRect(0, 6, 50, 37);
        QTest::newRow("1 x 1000 in 60") << QSize(1, 1000) << 60 << QRect(30, 0, 0, 60);
        QTest::newRow("empty picture") << QSize(0, 10) << 74 << QRect();
    }
    void fitsIntoBox()
    {
        QFETCH(QSize, picture);
        QFETCH(int, box);
        QFETCH(QRect, drawn);
        QCOMPARE(FitThumbnail(picture.width(), picture.height(), box, box), drawn);
    }

    void labelsByNumber_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("label");
        QTest::newRow("no description") << 3 << QString() << QStringLiteral("3");
        QTest::newRow("description") << 3 << QStringLiteral("CHEST AXIAL") << QStringLiteral("3_CHEST AXIAL");
        QTest::newRow("twelfth") << 12 << QStringLiteral("x") << QStringLiteral("12_x");
    }
    void labelsByNumber()
    {
        QFETCH(int, number);
        QFETCH(QString, description);
        QFETCH(QString, label);
        QCOMPARE(ThumbnailLabel(number, description), label);
    }

    // A white 400 x 200 picture in a 74 box: green frame, black bands above and below, white
    // between them
    void composesFillPictureAndFrame_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("colour");
        const QColor green(0, 255, 0), black(0, 0, 0), white(255, 255, 255);
        QTest::newRow("top left corner") << QPoint(0, 0) << green;
        QTest::newRow("bottom right corner") << QPoint(73, 73) << green;
        QTest::newRow("left edge") << QPoint(0, 37) << green;
        QTest::newRow("right edge") << QPoint(73, 37) << green;
        QTest::newRow("top margin") << QPoint(37, 10) << black;
        QTest::newRow("bottom margin") << QPoint(37, 60) << black;
        QTest::newRow("last margin row") << QPoint(37, 17) << black;
        QTest::newRow("first picture row") << QPoint(37, 18) << white;
        QTest::newRow("last picture row") << QPoint(37, 54) << white;
        QTest::newRow("below the picture") << QPoint(37, 55) << black;
        QTest::newRow("picture beside the frame") << QPoint(1, 37) << white;
    }
    void composesFillPictureAndFrame()
    {
        QFETCH(QPoint, at);
        QFETCH(QColor, colour);
        QImage source(400, 200, QImage::Format_Grayscale8);
        source.fill(255);
        const QImage thumb = ComposeThumbnail(source, 74, 74);
        QCOMPARE(thumb.size(), QSize(74, 74));
        QCOMPARE(thumb.pixelColor(at), colour);
    }

    // No smoothing: a two-level picture keeps its two levels
    void stretchesWithoutSmoothing()
    {
        QImage source(8, 8, QImage::Format_Grayscale8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                source.setPixel(x, y, ((x + y) & 1) ? 0xFFFFFFFF : 0xFF000000);
        const QImage thumb = ComposeThumbnail(source, 74, 74);
        for (int y = 1; y < 73; ++y)
            for (int x = 1; x < 73; ++x) {
                const QRgb c = thumb.pixel(x, y);
                QVERIFY2(c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255), qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
            }
    }

    // A key that cannot be read gets the placeholder in the same box, labelled with its number
    void unreadableKeyGetsPlaceholder()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("broken.dcm"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a DICOM file");
        file.close();
        for (const QString& key : {path, dir.filePath(QStringLiteral("missing.dcm"))}) {
            const ThumbnailResult r = ThumbnailMaker::Make(key, 4, QSize(60, 60));
            QVERIFY(r.bPlaceholder);
            QCOMPARE(r.nIndex, 4);
            QCOMPARE(r.strLabel, QStringLiteral("5"));
            QCOMPARE(r.image, ComposeThumbnail(ThumbnailMaker::PlaceholderPicture(), 60, 60));
        }
        // The placeholder is the skin's own picture, not the grey stand-in
        QVERIFY(!QImage(QStringLiteral(":/bmp/147.png")).isNull());
    }
};

QTEST_GUILESS_MAIN(tst_ThumbnailGeometry)
#include "tst_ThumbnailGeometry.moc"
