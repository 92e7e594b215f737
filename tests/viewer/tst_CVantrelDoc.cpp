// Qt
#include <QtTest>

// std
#include <cfloat>
#include <cmath>

// Orvane
#include "platform/CxImage.h"
#include "study/CxImageDCM.h"
#include "viewer/CVantrelDoc.h"

namespace {

// Counts the bitmaps alive, to see the document delete them.
int g_alive = 0;
class CountedImage : public CxImage
{
public:
    CountedImage() { ++g_alive; }
    ~CountedImage() override { --g_alive; }
};

} // namespace

class tst_CVantrelDoc : public QObject
{
    Q_OBJECT
private slots:
    void init() { g_alive = 0; }
    void startsEmpty();
    void handsOutCurrentImage_data();
    void handsOutCurrentImage();
    void clearsImagesSkippingNullEntries();
    void deletesImagesWithTheDocument();
    void opensByRecordingThePath();
    void takesWindowsPastTheFloatRange_data();
    void takesWindowsPastTheFloatRange();
};

void tst_CVantrelDoc::startsEmpty()
{
    CVantrelDoc doc;
    QVERIFY(doc.OnNewDocument());
    QCOMPARE(doc.GetCurrentImage(), nullptr);
    QCOMPARE(doc.m_nLimitHigh, 0);
    QCOMPARE(doc.m_fWindowWidth, 0.0f);
    QCOMPARE(doc.m_fDefaultWindowCenter, 0.0f);
    QCOMPARE(doc.m_nImageIndex, 0);
    QCOMPARE(doc.m_bRefitPending, BYTE(0));
    QVERIFY(doc.m_strFilePath.isEmpty());
}

void tst_CVantrelDoc::handsOutCurrentImage_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("found");
    QTest::newRow("first of one") << 1 << 0 << true;
    QTest::newRow("last of three") << 3 << 2 << true;
    QTest::newRow("past the end") << 2 << 2 << false;
    QTest::newRow("negative") << 2 << -1 << false;
    QTest::newRow("empty") << 0 << 0 << false;
}

void tst_CVantrelDoc::handsOutCurrentImage()
{
    QFETCH(int, count);
    QFETCH(int, index);
    QFETCH(bool, found);
    CVantrelDoc doc;
    for (int i = 0; i < count; ++i)
        doc.m_arrImages.push_back(new CountedImage);
    doc.m_nCurrentIndex = 7;
    doc.m_nImageIndex = index;
    CxImage* image = doc.GetCurrentImage();
    if (found) {
        QCOMPARE(image, doc.m_arrImages[std::size_t(index)]);
        QCOMPARE(doc.m_nCurrentIndex, index);
    } else {
        QCOMPARE(image, nullptr);
        QCOMPARE(doc.m_nCurrentIndex, 7);
    }
}

void tst_CVantrelDoc::clearsImagesSkippingNullEntries()
{
    CVantrelDoc doc;
    doc.m_arrImages = {new CountedImage, nullptr, new CountedImage, nullptr};
    QCOMPARE(g_alive, 2);
    doc.ClearImageArray();
    QCOMPARE(g_alive, 0);
    QVERIFY(doc.m_arrImages.empty());
    QCOMPARE(doc.GetCurrentImage(), nullptr);
    doc.ClearImageArray(); // again: nothing to do
    QVERIFY(doc.m_arrImages.empty());
}

void tst_CVantrelDoc::deletesImagesWithTheDocument()
{
    {
        CVantrelDoc doc;
        doc.m_arrImages = {new CountedImage, new CountedImage};
    }
    QCOMPARE(g_alive, 0);
}

void tst_CVantrelDoc::opensByRecordingThePath()
{
    CVantrelDoc doc;
    QVERIFY(doc.OnOpenDocument("/cd/IMAGES/IM0001"));
    QCOMPARE(doc.m_strFilePath, QString("/cd/IMAGES/IM0001"));
    QVERIFY(doc.m_arrImages.empty()); // nothing read
}

// A file's window far past the float range is held at the largest float, never converted
// past it
void tst_CVantrelDoc::takesWindowsPastTheFloatRange_data()
{
    QTest::addColumn<double>("centre");
    QTest::addColumn<double>("width");
    QTest::addColumn<float>("expectedCentre");
    QTest::addColumn<float>("expectedWidth");
    QTest::newRow("in range") << 40.0 << 400.0 << 40.0f << 400.0f;
    QTest::newRow("past the range") << -1e300 << 1e300 << -FLT_MAX << FLT_MAX;
    QTest::newRow("infinite") << -HUGE_VAL << HUGE_VAL << -FLT_MAX << FLT_MAX;
    QTest::newRow("not a number") << double(NAN) << double(NAN) << 0.0f << 0.0f;
}

void tst_CVantrelDoc::takesWindowsPastTheFloatRange()
{
    QFETCH(double, centre);
    QFETCH(double, width);
    QFETCH(float, expectedCentre);
    QFETCH(float, expectedWidth);
    CxImageDCM dcm;
    dcm.m_dWindowCenter = centre;
    dcm.m_dWindowWidth = width;
    CVantrelDoc doc;
    doc.SetWindowValues(dcm);
    QCOMPARE(doc.m_fWindowCenter, expectedCentre);
    QCOMPARE(doc.m_fWindowWidth, expectedWidth);
    QCOMPARE(doc.m_fDefaultWindowWidth, expectedWidth);
}

QTEST_MAIN(tst_CVantrelDoc)
#include "tst_CVantrelDoc.moc"
