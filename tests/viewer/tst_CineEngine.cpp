// The cine loop's schedule with a fake clock, and its worker with real threads (this test also
// runs under ThreadSanitizer, see .ci/run).

// Qt
#include <QtTest>

// std
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

// Orvane
#include "viewer/CineEngine.h"

using namespace std::chrono_literals;
using TimePoint = CineSchedule::TimePoint;

namespace {

// The indexes shown at one frame per period from t0, `turns` times
std::vector<int> Play(CineSchedule& s, TimePoint t0, int turns)
{
    std::vector<int> shown;
    const auto period = CineSchedule::Period(s.GetRate());
    for (int k = 0; k < turns; ++k) {
        const CineSchedule::Turn turn = s.Take(t0 + period * k);
        if (turn.bShow)
            shown.push_back(turn.nIndex);
    }
    return shown;
}

std::vector<int> Sequence(std::initializer_list<int> values)
{
    return std::vector<int>(values);
}

// Waits (at most 5 s) until `done` holds
template <typename F>
bool WaitFor(F done)
{
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// What a worker rendered, as the UI thread would see it
struct Recorder
{
    std::mutex mutex;
    std::vector<int> indexes;
    std::atomic<int> ended{0};
    std::atomic<bool> failed{false};
    CineLoop* loop = nullptr;
    int failAt = -1; // the render call (from 0) that fails
    int calls = 0;    // worker only
    bool takeFrames = true; // the UI thread takes every frame at once
    std::chrono::milliseconds endDelay{0}; // the ended callback takes this long

    CineLoop::Render Render()
    {
        return [this](int index) {
            if (calls++ == failAt)
                return false;
            std::lock_guard<std::mutex> lock(mutex);
            indexes.push_back(index);
            if (takeFrames)
                loop->FrameTaken();
            return true;
        };
    }
    CineLoop::Ended Ended()
    {
        return [this](bool bFailed) {
            std::this_thread::sleep_for(endDelay);
            failed = bFailed;
            ++ended;
        };
    }
    size_t Count()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return indexes.size();
    }
    std::vector<int> Copy()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return indexes;
    }
};

// A loop and the recorders its workers call, on the heap, freed when the test ends only if
// every worker it began has ended. A Stop that leaves its worker behind (detached instead of
// joined) then fails the test on the missing end instead of hanging it in the loop's
// destructor, where a worker still waiting on the loop would wait for ever.
struct Rig
{
    CineLoop* loop = new CineLoop;
    std::vector<Recorder*> recorders;
    int began = 0;

    Rig() = default;
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;
    ~Rig()
    {
        loop->Stop();
        int ended = 0;
        for (Recorder* r : recorders)
            ended += r->ended;
        if (ended != began)
            return; // left allocated for the worker that outlived its stop
        delete loop;
        for (Recorder* r : recorders)
            delete r;
    }
    Recorder& NewRecorder()
    {
        recorders.push_back(new Recorder);
        recorders.back()->loop = loop;
        return *recorders.back();
    }
    /// A start from stopped: a new worker calling `r`.
    bool Begin(Recorder& r, int count, int rate)
    {
        const bool started = loop->Start(count, rate, r.Render(), r.Ended());
        if (started)
            ++began;
        return started;
    }
};

} // namespace

class tst_CineEngine : public QObject
{
    Q_OBJECT
private slots:
    void wrapsIndexes_data();
    void wrapsIndexes();
    void singleFrameStaysStopped();
    void seekTakesIndexModuloCount_data();
    void seekTakesIndexModuloCount();
    void rateIsAtLeastOne();
    void rateChangeMovesNextDeadline();
    void pauseAndResumeKeepIndex();
    void stopAndStartBeginAtZero();
    void keepsDeadlineWithoutDrift();
    void dropsSlotsThatPassed();
    void rateFromInterval_data();
    void rateFromInterval();

    void workerPlaysPausesAndStops();
    void workerEndsByItselfOnReadError();
    void workerDropsFramesInFlight();
    void stopWakesLongSleep();
    void takesCommandsWhileRunning();
};

void tst_CineEngine::wrapsIndexes_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("turns");
    QTest::addColumn<std::vector<int>>("shown");
    QTest::newRow("frames 0..9 wrap") << 10 << 12 << Sequence({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1});
    QTest::newRow("images 0..3 wrap") << 4 << 9 << Sequence({0, 1, 2, 3, 0, 1, 2, 3, 0});
    QTest::newRow("two images") << 2 << 5 << Sequence({0, 1, 0, 1, 0});
}

void tst_CineEngine::wrapsIndexes()
{
    QFETCH(int, count);
    QFETCH(int, turns);
    QFETCH(std::vector<int>, shown);
    CineSchedule s;
    const TimePoint t0{1s};
    QVERIFY(s.Start(count, 30, t0));
    QCOMPARE(Play(s, t0, turns), shown);
}

void tst_CineEngine::singleFrameStaysStopped()
{
    CineSchedule s;
    QVERIFY(!s.Start(1, 30, TimePoint{1s}));
    QCOMPARE(s.GetState(), CineSchedule::kStopped);
    QVERIFY(!s.Take(TimePoint{2s}).bShow);

    CineLoop loop;
    QVERIFY(!loop.Start(1, 30, [](int) { return true; }, [](bool) {}));
    QVERIFY(!loop.HasThread());
    QCOMPARE(loop.GetState(), CineSchedule::kStopped);
}

void tst_CineEngine::seekTakesIndexModuloCount_data()
{
    QTest::addColumn<int>("seek");
    QTest::addColumn<int>("shown");
    QTest::newRow("inside") << 3 << 3;
    QTest::newRow("past the end") << 13 << 3;
    QTest::newRow("count itself") << 10 << 0;
    QTest::newRow("negative") << -1 << 9;
}

void tst_CineEngine::seekTakesIndexModuloCount()
{
    QFETCH(int, seek);
    QFETCH(int, shown);
    CineSchedule s;
    const TimePoint t0{1s};
    s.Start(10, 10, t0);
    s.Take(t0);
    // A seek is shown at once, then the loop goes on from there
    s.Seek(seek, t0 + 10ms);
    QCOMPARE(s.Take(t0 + 10ms).nIndex, shown);
    QCOMPARE(s.Take(t0 + 110ms).nIndex, (shown + 1) % 10);
}

void tst_CineEngine::rateIsAtLeastOne()
{
    CineSchedule s;
    const TimePoint t0{1s};
    s.Start(10, 0, t0);
    QCOMPARE(s.GetRate(), 1);
    s.SetRate(-5, t0);
    QCOMPARE(s.GetRate(), 1);
    QCOMPARE(CineSchedule::Period(0), std::chrono::nanoseconds(1s));
    s.SetRate(12, t0);
    QCOMPARE(s.GetRate(), 12);
}

void tst_CineEngine::rateChangeMovesNextDeadline()
{
    CineSchedule s;
    const TimePoint t0{1s};
    s.Start(10, 1, t0);
    QCOMPARE(s.Take(t0).nIndex, 0);
    // From one a second to 50: the next frame comes 20 ms after the last, not a second later
    s.SetRate(50, t0 + 5ms);
    QCOMPARE(s.GetDue(), t0 + 20ms);
    QVERIFY(!s.Take(t0 + 19ms).bShow);
    QCOMPARE(s.Take(t0 + 20ms).nIndex, 1);
    QCOMPARE(s.Take(t0 + 40ms).nIndex, 2);
    // Slower again: one new period after the last frame
    s.SetRate(10, t0 + 41ms);
    QCOMPARE(s.GetDue(), t0 + 140ms);
}

void tst_CineEngine::pauseAndResumeKeepIndex()
{
    CineSchedule s;
    const TimePoint t0{1s};
    s.Start(10, 10, t0);
    Play(s, t0, 4); // 0..3
    s.Pause();
    QCOMPARE(s.GetState(), CineSchedule::kPaused);
    // A paused loop shows nothing, however long it waits
    QVERIFY(!s.Take(t0 + 10s).bShow);
    s.Pause();
    QCOMPARE(s.GetState(), CineSchedule::kPaused);
    QVERIFY(s.Start(10, 10, t0 + 20s));
    QCOMPARE(s.Take(t0 + 20s).nIndex, 4);
    QCOMPARE(s.Take(t0 + 20s + 100ms).nIndex, 5);
}

void tst_CineEngine::stopAndStartBeginAtZero()
{
    CineSchedule s;
    const TimePoint t0{1s};
    s.Start(10, 10, t0);
    Play(s, t0, 6);
    // A second start while running changes nothing
    QVERIFY(s.Start(10, 10, t0 + 1s));
    QCOMPARE(s.GetIndex(), 6);
    s.Stop();
    QCOMPARE(s.GetState(), CineSchedule::kStopped);
    QVERIFY(s.Start(10, 10, t0 + 2s));
    QCOMPARE(s.Take(t0 + 2s).nIndex, 0);
}

void tst_CineEngine::keepsDeadlineWithoutDrift()
{
    // Each frame takes 11 ms to render at 30 fps: frames stay due at t0 + k x period
    CineSchedule s;
    const TimePoint t0{1s};
    s.Start(60, 30, t0);
    const auto period = CineSchedule::Period(30);
    TimePoint now = t0;
    int shown = 0;
    for (int k = 0; k < 300; ++k) {
        const CineSchedule::Turn turn = s.Take(now);
        QVERIFY(turn.bShow);
        QCOMPARE(turn.nDropped, 0);
        ++shown;
        now += 11ms;              // render
        QVERIFY(s.GetDue() > now);
        now = s.GetDue();         // sleep until the deadline
    }
    QCOMPARE(shown, 300);
    QCOMPARE(now, t0 + period * 300);
}

void tst_CineEngine::dropsSlotsThatPassed()
{
    CineSchedule s;
    const TimePoint t0{1s};
    s.Start(10, 10, t0);
    QCOMPARE(s.Take(t0).nIndex, 0);
    // Late by two and a half periods: slots 1 and 2 are dropped, slot 3 shown at once
    const CineSchedule::Turn turn = s.Take(t0 + 350ms);
    QVERIFY(turn.bShow);
    QCOMPARE(turn.nDropped, 2);
    QCOMPARE(turn.nIndex, 3);
    QCOMPARE(s.GetDue(), t0 + 400ms);
}

void tst_CineEngine::rateFromInterval_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("rate");
    QTest::newRow("20 ms") << 20 << 50;
    QTest::newRow("33 ms") << 33 << 30;
    QTest::newRow("40 ms") << 40 << 25;
    QTest::newRow("longer than a second") << 1500 << 1;
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("negative") << -3 << 0;
}

void tst_CineEngine::rateFromInterval()
{
    QFETCH(int, interval);
    QFETCH(int, rate);
    QCOMPARE(CineSchedule::RateFromInterval(interval), rate);
}

void tst_CineEngine::workerPlaysPausesAndStops()
{
    Rig rig;
    CineLoop& loop = *rig.loop;
    Recorder& r = rig.NewRecorder();
    // A worker's last act takes a while: a stop that returns before it ran left the worker
    r.endDelay = 50ms;
    QVERIFY(rig.Begin(r, 5, 200));
    QVERIFY(loop.HasThread());
    QVERIFY(WaitFor([&] { return r.Count() >= 7; }));
    loop.Pause();
    QCOMPARE(loop.GetState(), CineSchedule::kPaused);
    // At most the frame being rendered at the pause comes after it
    std::this_thread::sleep_for(10ms);
    const size_t atPause = r.Count();
    std::this_thread::sleep_for(50ms);
    QCOMPARE(r.Count(), atPause);
    const int next = loop.GetIndex();

    // Resumed slowly enough that a late wake on a busy machine drops no slot
    loop.SetRate(5);
    QVERIFY(loop.Start(5, 200, r.Render(), r.Ended()));
    QVERIFY(WaitFor([&] { return r.Count() > atPause; }));
    QCOMPARE(r.Copy()[atPause], next);

    loop.Stop();
    QVERIFY(!loop.HasThread());
    QCOMPARE(loop.GetState(), CineSchedule::kStopped);
    QCOMPARE(r.ended.load(), 1);
    QVERIFY(!r.failed);

    for (int index : r.Copy())
        QVERIFY(index >= 0 && index < 5);

    // A new start begins at 0 on a new worker (at a rate slow enough that a late start of the
    // thread on a busy machine drops no slot)
    Recorder& again = rig.NewRecorder();
    again.endDelay = 50ms;
    QVERIFY(rig.Begin(again, 5, 5));
    QVERIFY(WaitFor([&] { return again.Count() >= 1; }));
    QCOMPARE(again.Copy().front(), 0);
    loop.Stop();
    QCOMPARE(again.ended.load(), 1);
    QCOMPARE(r.ended.load(), 1);
}

void tst_CineEngine::workerEndsByItselfOnReadError()
{
    Rig rig;
    CineLoop& loop = *rig.loop;
    Recorder& r = rig.NewRecorder();
    r.failAt = 2;
    QVERIFY(rig.Begin(r, 4, 100));
    QVERIFY(WaitFor([&] { return r.ended.load() == 1; }));
    QVERIFY(r.failed);
    QCOMPARE(loop.GetState(), CineSchedule::kStopped);
    QCOMPARE(r.Count(), size_t(2));
    // The ended worker is joined by the next start (or the stop)
    r.failAt = -1;
    r.endDelay = 50ms;
    QVERIFY(rig.Begin(r, 4, 100));
    QVERIFY(WaitFor([&] { return r.Count() >= 3; }));
    loop.Stop();
    QCOMPARE(r.ended.load(), 2);
}

void tst_CineEngine::workerDropsFramesInFlight()
{
    // Nobody takes the frames: after the first, every slot is dropped, none rendered
    Rig rig;
    CineLoop& loop = *rig.loop;
    Recorder& r = rig.NewRecorder();
    r.takeFrames = false;
    QVERIFY(rig.Begin(r, 10, 1000));
    QVERIFY(WaitFor([&] { return loop.GetDropped() >= 20; }));
    QCOMPARE(r.Count(), size_t(1));
    loop.FrameTaken();
    QVERIFY(WaitFor([&] { return r.Count() == 2; }));
    loop.Stop();
    QCOMPARE(r.ended.load(), 1);
}

void tst_CineEngine::stopWakesLongSleep()
{
    // At one frame a second the worker sleeps for a second: a stop does not wait for it
    Rig rig;
    CineLoop& loop = *rig.loop;
    Recorder& r = rig.NewRecorder();
    QVERIFY(rig.Begin(r, 3, 1));
    QVERIFY(WaitFor([&] { return r.Count() == 1; }));
    const auto before = std::chrono::steady_clock::now();
    loop.Stop();
    QVERIFY(std::chrono::steady_clock::now() - before < 500ms);
    QCOMPARE(r.ended.load(), 1);
}

void tst_CineEngine::takesCommandsWhileRunning()
{
    // Seeks and rate changes from the UI thread meet the worker at frame boundaries
    Rig rig;
    CineLoop& loop = *rig.loop;
    Recorder& r = rig.NewRecorder();
    r.endDelay = 20ms;
    QVERIFY(rig.Begin(r, 8, 300));
    for (int i = 0; i < 40; ++i) {
        loop.Seek(i);
        loop.SetRate(i % 2 ? 400 : 1);
        QVERIFY(loop.GetIndex() >= 0);
        std::this_thread::sleep_for(1ms);
    }
    QCOMPARE(loop.GetRate(), 400);
    QVERIFY(r.Count() > 0);
    loop.Stop();
    QCOMPARE(r.ended.load(), 1);
}

QTEST_GUILESS_MAIN(tst_CineEngine)
#include "tst_CineEngine.moc"
