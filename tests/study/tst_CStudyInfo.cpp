// Series lists of a study: sorting by Series Number, index accessors and look-ups.

// Qt
#include <QTest>

// Orvane
#include "study/CStudyInfo.h"

namespace {

// Series numbered by `numbers`, each with `images` images numbered downwards.
void Fill(CStudyInfo& study, const QStringList& numbers, int images = 2)
{
    for (int s = 0; s < numbers.size(); ++s) {
        auto series = std::make_unique<CSeriesInfo>();
        series->m_strSeriesNumber = numbers[s];
        series->m_strSeriesDescription = QStringLiteral("S%1").arg(s);
        series->m_pStudy = &study;
        for (int i = 0; i < images; ++i) {
            auto image = std::make_unique<CImageInfo>();
            image->m_strFilePath = QStringLiteral("/set/S%1/I%2").arg(s).arg(i);
            image->SetInstanceNumber(QString::number(images - i));
            image->m_pSeries = series.get();
            image->m_pStudy = &study;
            series->m_lstImages.push_back(std::move(image));
        }
        study.m_lstSeries.push_back(std::move(series));
    }
}

QStringList Descriptions(const CStudyInfo& study)
{
    QStringList names;
    for (const auto& series : study.m_lstSeries)
        names << series->m_strSeriesDescription;
    return names;
}

} // namespace

class tst_CStudyInfo : public QObject
{
    Q_OBJECT

private slots:
    void sortsSeriesThenImages_data()
    {
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("10, 2, 1") << QStringList{"10", "2", "1"} << QStringList{"S2", "S1", "S0"};
        QTest::newRow("equal numbers reversed") << QStringList{"3", "1", "3"} << QStringList{"S1", "S2", "S0"};
        QTest::newRow("no number first") << QStringList{"1", ""} << QStringList{"S1", "S0"};
        QTest::newRow("one series") << QStringList{"5"} << QStringList{"S0"};
        QTest::newRow("no series") << QStringList{} << QStringList{};
    }
    void sortsSeriesThenImages()
    {
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, order);
        CStudyInfo study;
        Fill(study, numbers);
        study.SortSeries();
        QCOMPARE(Descriptions(study), order);
        for (const auto& series : study.m_lstSeries) {
            QCOMPARE(series->GetImageAt(0)->m_strInstanceNumber, QStringLiteral("1"));
            QCOMPARE(series->GetImageAt(1)->m_strInstanceNumber, QStringLiteral("2"));
        }
    }

    void accessorsOnEmptyStudy()
    {
        const CStudyInfo study;
        QVERIFY(!study.GetFirstSeries());
        QVERIFY(!study.GetLastSeries());
        QVERIFY(!study.GetFirstImage());
        QVERIFY(!study.GetLastImage());
        QVERIFY(!study.GetSeriesAt(-1));
        QVERIFY(!study.GetSeriesAt(0));
        QCOMPARE(study.GetImageCount(), 0);
        CSeriesInfo* series = nullptr;
        CImageInfo* image = nullptr;
        QVERIFY(!study.FindImage(QStringLiteral("/set/S0/I0"), series, image));
        QVERIFY(!series && !image);
    }

    void accessorsAndLookUps()
    {
        CStudyInfo study;
        Fill(study, {"1", "2", "3"}, 2);
        QCOMPARE(study.GetImageCount(), 6);
        QCOMPARE(study.GetFirstSeries(), study.GetSeriesAt(0));
        QCOMPARE(study.GetLastSeries(), study.GetSeriesAt(2));
        QVERIFY(!study.GetSeriesAt(3));
        QCOMPARE(study.GetSeriesIndex(study.GetSeriesAt(1)), 1);
        CSeriesInfo other;
        QCOMPARE(study.GetSeriesIndex(&other), -1);
        QCOMPARE(study.GetFirstImage()->m_strFilePath, QStringLiteral("/set/S0/I0"));
        QCOMPARE(study.GetLastImage()->m_strFilePath, QStringLiteral("/set/S2/I1"));

        CSeriesInfo* series = nullptr;
        CImageInfo* image = nullptr;
        QVERIFY(study.FindImage(QStringLiteral("/set/S1/I1"), series, image));
        QCOMPARE(series, study.GetSeriesAt(1));
        QCOMPARE(image, series->GetImageAt(1));

        // A study with an empty series in front has no first image
        CStudyInfo gaps;
        Fill(gaps, {"1"}, 0);
        QVERIFY(!gaps.GetFirstImage());
        QVERIFY(!gaps.GetLastImage());
    }
};

QTEST_GUILESS_MAIN(tst_CStudyInfo)
#include "tst_CStudyInfo.moc"
