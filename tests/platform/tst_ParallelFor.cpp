// Tasks run side by side on a bounded number of threads, each index once, and a throwing task
// stops no other.

// Qt
#include <QtTest>

// Orvane
#include "platform/ParallelFor.h"

// std
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <vector>

class tst_ParallelFor : public QObject
{
    Q_OBJECT
private slots:
    void runsEveryIndexOnce_data();
    void runsEveryIndexOnce();
    void runsTasksSideBySide();
    void neverExceedsTheBound();
    void throwingTaskStopsNoOther();
};

void tst_ParallelFor::runsEveryIndexOnce_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("threads");
    QTest::newRow("none") << 0 << 4;
    QTest::newRow("one") << 1 << 4;
    QTest::newRow("more tasks than threads") << 37 << 3;
    QTest::newRow("more threads than tasks") << 2 << 16;
    QTest::newRow("cores") << 16 << 0;
}

void tst_ParallelFor::runsEveryIndexOnce()
{
    QFETCH(int, count);
    QFETCH(int, threads);
    std::vector<std::atomic<int>> calls(std::size_t(count) + 1);
    ParallelFor(std::size_t(count), std::size_t(threads), [&](std::size_t i) { ++calls[i]; });
    for (int i = 0; i < count; ++i)
        QCOMPARE(calls[std::size_t(i)].load(), 1);
    QCOMPARE(calls[std::size_t(count)].load(), 0);
}

void tst_ParallelFor::runsTasksSideBySide()
{
    // Four tasks that each wait for all four to have started: only side by side do they all
    // see the others (the wait gives up after a while, so a serial run fails, not hangs)
    std::mutex lock;
    std::condition_variable arrived;
    int started = 0;
    std::atomic<int> sawAll{0};
    ParallelFor(4, 4, [&](std::size_t) {
        std::unique_lock<std::mutex> guard(lock);
        ++started;
        arrived.notify_all();
        if (arrived.wait_for(guard, std::chrono::seconds(5), [&] { return started == 4; }))
            ++sawAll;
    });
    QCOMPARE(sawAll.load(), 4);
}

void tst_ParallelFor::neverExceedsTheBound()
{
    std::atomic<int> running{0};
    std::atomic<int> most{0};
    ParallelFor(24, 3, [&](std::size_t) {
        const int now = ++running;
        int seen = most.load();
        while (now > seen && !most.compare_exchange_weak(seen, now)) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        --running;
    });
    QVERIFY(most.load() >= 1);
    QVERIFY(most.load() <= 3);
}

void tst_ParallelFor::throwingTaskStopsNoOther()
{
    std::vector<std::atomic<int>> calls(10);
    ParallelFor(10, 2, [&](std::size_t i) {
        ++calls[i];
        if (i == 3)
            throw std::runtime_error("task failed");
    });
    for (auto& c : calls)
        QCOMPARE(c.load(), 1);
}

QTEST_GUILESS_MAIN(tst_ParallelFor)
#include "tst_ParallelFor.moc"
