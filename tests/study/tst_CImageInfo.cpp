// Attribute queries of an image record over the item it may carry.

// Qt
#include <QTest>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcitem.h>

// Orvane
#include "study/CImageInfo.h"

class tst_CImageInfo : public QObject
{
    Q_OBJECT

private slots:
    void withoutItem()
    {
        CImageInfo image;
        QCOMPARE(image.GetRows(), 0);
        QCOMPARE(image.HasPixelSpacing(), BYTE(FALSE));
        double spacing[2] = {7, 8};
        image.GetPixelSpacing(spacing);
        QCOMPARE(spacing[0], 7.0);
        QCOMPARE(spacing[1], 8.0);
        QCOMPARE(image.m_bPixelSpacingKnown, BYTE(0));
        QCOMPARE(image.m_nFrames, 1);
    }

    void rows_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<int>("value");
        QTest::newRow("512") << true << 512;
        QTest::newRow("absent") << false << 0;
    }
    void rows()
    {
        QFETCH(bool, present);
        QFETCH(int, value);
        CImageInfo image;
        image.m_pDirRecord = std::make_unique<DcmItem>();
        if (present)
            image.m_pDirRecord->putAndInsertUint16(DCM_Rows, Uint16(value));
        QCOMPARE(image.GetRows(), value);
    }

    // Imager Pixel Spacing before Pixel Spacing; values that read as 0 become 1.0; the flag
    // only when one of them is there.
    void pixelSpacing_data()
    {
        QTest::addColumn<QString>("imager");
        QTest::addColumn<QString>("pixel");
        QTest::addColumn<bool>("known");
        QTest::addColumn<double>("first");
        QTest::addColumn<double>("second");
        QTest::newRow("pixel spacing") << "" << "0.5\\0.25" << true << 0.5 << 0.25;
        QTest::newRow("imager first") << "0.2\\0.3" << "0.5\\0.25" << true << 0.2 << 0.3;
        QTest::newRow("one value") << "" << "0.7" << true << 0.7 << 1.0;
        QTest::newRow("zero and junk") << "" << "0\\abc" << true << 1.0 << 1.0;
        QTest::newRow("none") << "" << "" << false << -1.0 << -1.0;
    }
    void pixelSpacing()
    {
        QFETCH(QString, imager);
        QFETCH(QString, pixel);
        QFETCH(bool, known);
        QFETCH(double, first);
        QFETCH(double, second);
        CImageInfo image;
        image.m_pDirRecord = std::make_unique<DcmItem>();
        if (!imager.isEmpty())
            image.m_pDirRecord->putAndInsertString(DCM_ImagerPixelSpacing, imager.toLatin1().constData());
        if (!pixel.isEmpty())
            image.m_pDirRecord->putAndInsertString(DCM_PixelSpacing, pixel.toLatin1().constData());
        double spacing[2] = {-1, -1};
        image.GetPixelSpacing(spacing);
        QCOMPARE(bool(image.m_bPixelSpacingKnown), known);
        QCOMPARE(spacing[0], first);
        QCOMPARE(spacing[1], second);
        QCOMPARE(bool(image.HasPixelSpacing()), known);
    }

    void ownsItsObjects()
    {
        CImageInfo image;
        image.m_pFileObject = std::make_unique<DcmFileFormat>();
        image.m_pDirRecord = std::make_unique<DcmItem>();
        image.m_pFileObject.reset(); // as the presentation-state import does
        QVERIFY(!image.m_pFileObject);
    }
};

QTEST_GUILESS_MAIN(tst_CImageInfo)
#include "tst_CImageInfo.moc"
