// Which thumbnail shows an image: its own key (XA lists every image) or its series' first.

// Qt
#include <QtTest>

// std
#include <memory>

// Orvane
#include "study/CImageInfo.h"
#include "study/CSeriesInfo.h"
#include "viewer/ThumbnailIndex.h"

class tst_ThumbnailIndex : public QObject
{
    Q_OBJECT
private slots:
    void findsTheThumbnailOfAnImage_data()
    {
        QTest::addColumn<bool>("everyImage"); // the keys of an XA study
        QTest::addColumn<int>("series");
        QTest::addColumn<int>("image");
        QTest::addColumn<int>("index");
        QTest::newRow("first image of the first series") << false << 0 << 0 << 0;
        QTest::newRow("a later image of its series") << false << 1 << 2 << 1;
        QTest::newRow("third series") << false << 2 << 1 << 2;
        QTest::newRow("XA: each image its own") << true << 1 << 2 << 5;
        QTest::newRow("XA: first image") << true << 0 << 0 << 0;
        QTest::newRow("XA: last image") << true << 2 << 2 << 8;
    }

    void findsTheThumbnailOfAnImage()
    {
        QFETCH(bool, everyImage);
        QFETCH(int, series);
        QFETCH(int, image);
        QFETCH(int, index);
        // Three series of three images
        std::vector<std::unique_ptr<CSeriesInfo>> study;
        QStringList keys;
        for (int s = 0; s < 3; ++s) {
            auto info = std::make_unique<CSeriesInfo>();
            for (int i = 0; i < 3; ++i) {
                auto record = std::make_unique<CImageInfo>();
                record->m_strFilePath = QStringLiteral("/cd/S%1/I%2").arg(s).arg(i);
                record->m_pSeries = info.get();
                if (everyImage || i == 0)
                    keys << record->m_strFilePath;
                info->m_lstImages.push_back(std::move(record));
            }
            study.push_back(std::move(info));
        }
        CSeriesInfo* s = study[size_t(series)].get();
        const CImageInfo* i = s->GetImageAt(image);
        QCOMPARE(ThumbnailIndexOf(keys, s, i), index);
        // The image alone finds its series
        QCOMPARE(ThumbnailIndexOf(keys, nullptr, i), index);
    }

    void unknownImageHasNoThumbnail()
    {
        CSeriesInfo series;
        auto record = std::make_unique<CImageInfo>();
        record->m_strFilePath = QStringLiteral("/cd/elsewhere");
        const CImageInfo* image = record.get();
        series.m_lstImages.push_back(std::move(record));
        QCOMPARE(ThumbnailIndexOf({QStringLiteral("/cd/S0/I0")}, &series, image), -1);
        QCOMPARE(ThumbnailIndexOf({QStringLiteral("/cd/S0/I0")}, nullptr, nullptr), -1);
        CSeriesInfo empty;
        QCOMPARE(ThumbnailIndexOf({QStringLiteral("/cd/S0/I0")}, &empty, nullptr), -1);
    }
};

QTEST_GUILESS_MAIN(tst_ThumbnailIndex)
#include "tst_ThumbnailIndex.moc"
