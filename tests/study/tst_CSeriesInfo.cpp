// Image lists of a series: sorting by Instance Number, look-ups, window and cine flags.

// Qt
#include <QTest>

// Orvane
#include "study/CSeriesInfo.h"

namespace {

// Images named by their file path, numbered by `numbers` ("" for none), in that list order.
void Fill(CSeriesInfo& series, const QStringList& numbers)
{
    for (int i = 0; i < numbers.size(); ++i) {
        auto image = std::make_unique<CImageInfo>();
        image->m_strFilePath = QStringLiteral("/set/IMG%1").arg(i);
        image->SetInstanceNumber(numbers[i]);
        image->m_pSeries = &series;
        series.m_lstImages.push_back(std::move(image));
    }
}

QStringList Paths(const CSeriesInfo& series)
{
    QStringList paths;
    for (const auto& image : series.m_lstImages)
        paths << image->m_strFilePath.mid(5);
    return paths;
}

} // namespace

class tst_CSeriesInfo : public QObject
{
    Q_OBJECT

private slots:
    // Ascending by the leading integer; equal numbers end in reverse list order.
    void sortsImagesByInstanceNumber_data()
    {
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("numeric, not textual") << QStringList{"10", "2", "1"} << QStringList{"IMG2", "IMG1", "IMG0"};
        QTest::newRow("equal numbers reversed") << QStringList{"5", "5"} << QStringList{"IMG1", "IMG0"};
        QTest::newRow("three equal among others") << QStringList{"2", "1", "2", "2", "0"}
                                                  << QStringList{"IMG4", "IMG1", "IMG3", "IMG2", "IMG0"};
        QTest::newRow("no number before 1") << QStringList{"1", "", "x7"} << QStringList{"IMG2", "IMG1", "IMG0"};
        QTest::newRow("negative before 0") << QStringList{"0", "-1"} << QStringList{"IMG1", "IMG0"};
        QTest::newRow("leading number only") << QStringList{" 12abc", "3"} << QStringList{"IMG1", "IMG0"};
        QTest::newRow("one") << QStringList{"4"} << QStringList{"IMG0"};
        QTest::newRow("none") << QStringList{} << QStringList{};
    }
    void sortsImagesByInstanceNumber()
    {
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, order);
        CSeriesInfo series;
        Fill(series, numbers);
        const CImageInfo* first = series.GetImageAt(0);
        series.SortImages();
        QCOMPARE(Paths(series), order);
        // Records stay where they are: only the list order changes
        QVERIFY(!first || series.GetImageIndex(first) >= 0);
    }

    void looksUpImages()
    {
        CSeriesInfo series;
        Fill(series, {"1", "2", "3"});
        CImageInfo* image = nullptr;
        QVERIFY(series.FindImage(QStringLiteral("/set/IMG1"), image));
        QCOMPARE(image, series.GetImageAt(1));
        QCOMPARE(series.GetImageIndex(image), 1);
        // The whole path, case-sensitively
        QVERIFY(!series.FindImage(QStringLiteral("/set/img1"), image));
        QVERIFY(!image);
        QVERIFY(!series.FindImage(QStringLiteral("/set/IMG"), image));
        QVERIFY(!series.GetImageAt(3));
        QVERIFY(!series.GetImageAt(-1));
        CImageInfo other;
        QCOMPARE(series.GetImageIndex(&other), -1);
        QCOMPARE(series.GetImageCount(), 3);
        series.RemoveAllImages();
        QCOMPARE(series.GetImageCount(), 0);
    }

    void keepsWindowWidthFirst()
    {
        CSeriesInfo series;
        QCOMPARE(series.IsWindowChanged(), BYTE(0));
        series.SetWindowChanged(7);
        QCOMPARE(series.IsWindowChanged(), BYTE(1));
        series.SetWindow(400, 40);
        float width = 0, centre = 0;
        series.GetWindow(&width, &centre);
        QCOMPARE(width, 400.0f);
        QCOMPARE(centre, 40.0f);
        series.GetWindow(nullptr, &centre);
        series.SetWindowChanged(FALSE);
        QCOMPARE(series.IsWindowChanged(), BYTE(0));

        series.SetCineRunning(1);
        QCOMPARE(series.IsCineRunning(), BYTE(1));
        series.m_strModality = QStringLiteral("MR");
        QString modality;
        series.GetModality(modality);
        QCOMPARE(modality, QStringLiteral("MR"));
    }
};

QTEST_GUILESS_MAIN(tst_CSeriesInfo)
#include "tst_CSeriesInfo.moc"
