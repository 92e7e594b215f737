// Following record chains by offset: stepping over other types, ending at cycles and
// dangling offsets.

// Qt
#include <QTest>

// Orvane
#include "study/RecordChain.h"

namespace {

struct Rec
{
    std::uint32_t offset;
    RecordType type;
    std::uint32_t next;
};

RecordChain Chain(const std::vector<Rec>& recs)
{
    RecordChain chain;
    std::uint32_t index = 0;
    for (const Rec& s : recs) {
        DirectoryLink link;
        link.nOffset = s.offset;
        link.nType = s.type;
        link.nNextOffset = s.next;
        link.nIndex = index++;
        chain.Add(link);
    }
    return chain;
}

QList<int> Walked(const RecordChain& chain, std::uint32_t start, RecordType type)
{
    QList<int> offsets;
    chain.Walk(start, type, [&](const DirectoryLink& link) {
        offsets << int(link.nOffset);
        return true;
    });
    return offsets;
}

constexpr RecordType I = RecordType::Image;
constexpr RecordType O = RecordType::Other;

} // namespace

Q_DECLARE_METATYPE(std::vector<Rec>)

class tst_RecordChain : public QObject
{
    Q_OBJECT

private slots:
    void walks_data()
    {
        QTest::addColumn<std::vector<Rec>>("records");
        QTest::addColumn<QList<int>>("walked");
        QTest::newRow("plain") << std::vector<Rec>{{10, I, 20}, {20, I, 30}, {30, I, 0}} << QList<int>{10, 20, 30};
        QTest::newRow("cycle to the first") << std::vector<Rec>{{10, I, 20}, {20, I, 10}} << QList<int>{10, 20};
        QTest::newRow("cycle behind the first") << std::vector<Rec>{{10, I, 20}, {20, I, 30}, {30, I, 20}} << QList<int>{10, 20, 30};
        QTest::newRow("self") << std::vector<Rec>{{10, I, 10}} << QList<int>{10};
        QTest::newRow("dangling") << std::vector<Rec>{{10, I, 99}, {20, I, 0}} << QList<int>{10};
        QTest::newRow("other types stepped over") << std::vector<Rec>{{10, I, 20}, {20, O, 30}, {30, I, 0}} << QList<int>{10, 30};
        QTest::newRow("starts on another type") << std::vector<Rec>{{10, O, 20}, {20, I, 0}} << QList<int>{20};
        QTest::newRow("cycle of other types") << std::vector<Rec>{{10, I, 20}, {20, O, 30}, {30, O, 20}} << QList<int>{10};
        // Long chains: more records than a walk keeps in place, and than the first table holds
        for (const int length : {100, 3000}) {
            std::vector<Rec> records;
            QList<int> walked;
            for (int i = 1; i <= length; ++i) {
                records.push_back({std::uint32_t(i * 10), I, std::uint32_t(i == length ? 100 : (i + 1) * 10)});
                walked << i * 10;
            }
            QTest::newRow(qPrintable(QStringLiteral("long cycle of %1").arg(length))) << records << walked;
        }
    }
    void walks()
    {
        QFETCH(std::vector<Rec>, records);
        QFETCH(QList<int>, walked);
        const RecordChain chain = Chain(records);
        QCOMPARE(Walked(chain, 10, I), walked);
    }

    void startAtZeroOrNowhere()
    {
        const RecordChain chain = Chain({{10, I, 0}});
        QVERIFY(Walked(chain, 0, I).isEmpty());
        QVERIFY(Walked(chain, 11, I).isEmpty());
        QVERIFY(!chain.First(0, I));
    }

    void stopsWhenTheVisitorSays()
    {
        const RecordChain chain = Chain({{10, I, 20}, {20, I, 30}, {30, I, 0}});
        int visits = 0;
        chain.Walk(10, I, [&](const DirectoryLink&) { return ++visits < 2; });
        QCOMPARE(visits, 2);
        QCOMPARE(chain.First(10, I)->nOffset, 10u);
    }

    void findsByOffsetAndIndex()
    {
        RecordChain chain = Chain({{10, I, 20}, {20, O, 0}});
        QCOMPARE(chain.size(), size_t(2));
        QCOMPARE(chain.Find(20)->nIndex, 1u);
        QVERIFY(!chain.Find(15));
        QCOMPARE(chain.AtIndex(1)->nOffset, 20u);
        QVERIFY(!chain.AtIndex(2));
        // A second record at a taken offset is not added, and its index finds nothing
        RecordChain taken = Chain({{10, I, 0}, {10, O, 0}});
        QCOMPARE(int(taken.Find(10)->nType), int(I));
        QCOMPARE(taken.AtIndex(0)->nIndex, 0u);
        QVERIFY(!taken.AtIndex(1));
        chain.Clear();
        QVERIFY(!chain.Find(10));
        QVERIFY(!chain.AtIndex(0));
    }
};

QTEST_GUILESS_MAIN(tst_RecordChain)
#include "tst_RecordChain.moc"
