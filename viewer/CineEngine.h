#pragma once
// The timing and the state machine of a cine loop, and the worker thread that runs one, without
// Qt: the view gives it the count of frames (or images), the rate and a render callback, and
// drives it with start, pause, resume, seek, rate and stop.

// std
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

/// The schedule of one loop: state (stopped, running, paused), the index shown next and when it
/// is due. Frames are due by deadline: slot k of a run at anchor + k x period, so the time a
/// frame takes to render does not add up over the loop; a slot that has passed is dropped, not
/// shown late. Not thread safe (CineLoop locks around it); times come from the caller, so tests
/// drive it with a fake clock.
class CineSchedule
{
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;
    enum State { kStopped = 0, kRunning = 1, kPaused = 2 };

    /// The rate the slider shows for a file's frame interval (ms): 1000 / interval, at least 1;
    /// 0 when the interval is not positive (no rate can be derived).
    static int RateFromInterval(int intervalMs);
    /// The rate handed in, at least 1 frame per second.
    static int ClampRate(int rate) { return rate < 1 ? 1 : rate; }
    /// The period of one frame at `rate` frames per second (at least 1).
    static std::chrono::nanoseconds Period(int rate);

    /// Stopped: begins a run at index 0 with frame 0 due at `now`; FALSE (and stays stopped)
    /// when there is at most one frame or image to play. Paused: resumes at the index kept, its
    /// frame due at `now`. Running: nothing. TRUE while it runs afterwards.
    bool Start(int count, int rate, TimePoint now);
    /// Running: paused, keeping the index shown next. Otherwise nothing.
    void Pause();
    /// Back to stopped; the next start begins at index 0.
    void Stop();
    /// The index shown next becomes `index` modulo the count (negative ones too), due at `now`.
    void Seek(int index, TimePoint now);
    /// A new rate (at least 1): the next frame is due one new period after the last one shown
    /// (or at `now` when that has passed or none was shown).
    void SetRate(int rate, TimePoint now);

    /// What the loop does at `now`.
    struct Turn
    {
        bool bShow = false; ///< a frame is due: show `nIndex`
        int nIndex = 0;
        int nDropped = 0;   ///< slots that passed without a frame before this one
    };
    /// Running and the next frame due by `now`: that slot's index is taken (the latest slot that
    /// has begun, the ones before it dropped) and the schedule moves on to the slot after it.
    Turn Take(TimePoint now);

    State GetState() const { return m_state; }
    int GetIndex() const { return m_nIndex; }
    int GetRate() const { return m_nRate; }
    int GetCount() const { return m_nCount; }
    /// When the next frame is due.
    TimePoint GetDue() const;

private:
    void Anchor(TimePoint at);

    State m_state = kStopped;
    int m_nCount = 0;
    int m_nRate = 1;
    int m_nIndex = 0;          // index shown next
    TimePoint m_anchor{};      // slot 0 of the current anchoring
    long long m_nSlot = 0;     // slot of m_nIndex since the anchor
    TimePoint m_lastShown{};
    bool m_bShownOnce = false;
};

/// One cine loop on a worker thread of its own. The UI thread calls Start, Pause, Seek, SetRate
/// and Stop; the worker calls the render callback once per frame due and never waits on the UI
/// thread. Commands take effect at frame boundaries: they are set under a lock and wake the
/// worker from its wait for the next deadline. Nothing is suspended or killed: Stop wakes the
/// worker and joins it. At most one frame is in flight: until the UI thread calls FrameTaken,
/// the slots that come due are dropped instead of rendered.
class CineLoop
{
public:
    /// Runs on the worker: renders `index` and hands it on (without blocking); FALSE when it
    /// could not be read, which ends the loop.
    using Render = std::function<bool(int index)>;
    /// Runs on the worker as its last act, whichever way the loop ended (stopped: bFailed
    /// FALSE; a render that failed or threw: TRUE). It must not block on the UI thread.
    using Ended = std::function<void(bool bFailed)>;

    CineLoop() = default;
    /// Stops and joins the worker.
    ~CineLoop();
    CineLoop(const CineLoop&) = delete;
    CineLoop& operator=(const CineLoop&) = delete;

    /// UI thread. Stopped: a new worker plays indexes 0 .. count-1 over and over at `rate`;
    /// FALSE without a thread when count is at most 1. Paused: resumes at the index kept (the
    /// callbacks stay those of the run). Running: nothing. A loop that ended by itself is joined
    /// first.
    bool Start(int count, int rate, Render render, Ended ended);
    /// UI thread. The worker shows no further frame after the one it may be rendering now.
    void Pause();
    /// UI thread. Wakes and joins the worker; afterwards nothing runs and the state is stopped.
    void Stop();
    /// Thread safe. The index shown next (modulo the count).
    void Seek(int index);
    /// Thread safe. Frames per second, at least 1.
    void SetRate(int rate);
    /// Thread safe. The UI thread took the frame in flight (or dropped it).
    void FrameTaken() { m_bInFlight = false; }

    /// Thread safe.
    CineSchedule::State GetState() const;
    int GetIndex() const;
    int GetRate() const;
    /// Frames rendered and slots dropped since the run began. Thread safe.
    long long GetShown() const { return m_nShown; }
    long long GetDropped() const { return m_nDropped; }
    /// A worker exists (running, paused, or ended by itself and not yet joined). UI thread.
    bool HasThread() const { return m_thread.joinable(); }

private:
    void Run(); // the worker body

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    CineSchedule m_schedule;     // under m_mutex
    bool m_bStop = false;        // under m_mutex
    Render m_render;
    Ended m_ended;
    std::thread m_thread;
    std::atomic<bool> m_bInFlight{false};
    std::atomic<long long> m_nShown{0};
    std::atomic<long long> m_nDropped{0};
};
