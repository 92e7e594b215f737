// CineSchedule and CineLoop: the timing, the states and the worker of a cine loop.

#include "viewer/CineEngine.h"

// std
#include <utility>

int CineSchedule::RateFromInterval(int intervalMs)
{
    if (intervalMs <= 0)
        return 0;
    return ClampRate(1000 / intervalMs);
}

std::chrono::nanoseconds CineSchedule::Period(int rate)
{
    return std::chrono::nanoseconds(1000000000LL / ClampRate(rate));
}

void CineSchedule::Anchor(TimePoint at)
{
    m_anchor = at;
    m_nSlot = 0;
}

bool CineSchedule::Start(int count, int rate, TimePoint now)
{
    if (m_state == kRunning)
        return true;
    if (m_state == kPaused) {
        m_state = kRunning;
        Anchor(now);
        return true;
    }
    if (count <= 1)
        return false;
    m_nCount = count;
    m_nRate = ClampRate(rate);
    m_nIndex = 0;
    m_bShownOnce = false;
    m_state = kRunning;
    Anchor(now);
    return true;
}

void CineSchedule::Pause()
{
    if (m_state == kRunning)
        m_state = kPaused;
}

void CineSchedule::Stop()
{
    m_state = kStopped;
    m_nIndex = 0;
    m_bShownOnce = false;
}

void CineSchedule::Seek(int index, TimePoint now)
{
    if (m_nCount <= 0)
        return;
    index %= m_nCount;
    if (index < 0)
        index += m_nCount;
    m_nIndex = index;
    Anchor(now);
}

void CineSchedule::SetRate(int rate, TimePoint now)
{
    m_nRate = ClampRate(rate);
    TimePoint next = now;
    if (m_bShownOnce && m_lastShown + Period(m_nRate) > now)
        next = m_lastShown + Period(m_nRate);
    Anchor(next);
}

CineSchedule::TimePoint CineSchedule::GetDue() const
{
    return m_anchor + Period(m_nRate) * m_nSlot;
}

CineSchedule::Turn CineSchedule::Take(TimePoint now)
{
    Turn turn;
    if (m_state != kRunning || m_nCount <= 0 || now < GetDue())
        return turn;
    // The latest slot that has begun; the ones between were missed
    const long long latest = (now - m_anchor) / Period(m_nRate);
    const long long missed = latest > m_nSlot ? latest - m_nSlot : 0;
    m_nIndex = int((m_nIndex + missed) % m_nCount);
    turn.bShow = true;
    turn.nIndex = m_nIndex;
    turn.nDropped = int(missed);
    m_nSlot += missed + 1;
    m_nIndex = (m_nIndex + 1) % m_nCount;
    m_lastShown = now;
    m_bShownOnce = true;
    return turn;
}

CineLoop::~CineLoop()
{
    Stop();
}

bool CineLoop::Start(int count, int rate, Render render, Ended ended)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_schedule.GetState() == CineSchedule::kRunning)
            return true;
        if (m_schedule.GetState() == CineSchedule::kPaused) {
            m_schedule.Start(count, rate, CineSchedule::Clock::now());
            m_wake.notify_all();
            return true;
        }
    }
    // Stopped: a worker that ended by itself is gone before a new one begins
    if (m_thread.joinable())
        m_thread.join();
    if (count <= 1)
        return false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStop = false;
        m_schedule.Start(count, rate, CineSchedule::Clock::now());
    }
    m_render = std::move(render);
    m_ended = std::move(ended);
    m_bInFlight = false;
    m_nShown = 0;
    m_nDropped = 0;
    m_thread = std::thread(&CineLoop::Run, this);
    return true;
}

void CineLoop::Pause()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_schedule.Pause();
    m_wake.notify_all();
}

void CineLoop::Stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStop = true;
        m_wake.notify_all();
    }
    if (m_thread.joinable())
        m_thread.join();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_schedule.Stop();
    m_bStop = false;
}

void CineLoop::Seek(int index)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_schedule.Seek(index, CineSchedule::Clock::now());
    m_wake.notify_all();
}

void CineLoop::SetRate(int rate)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_schedule.SetRate(rate, CineSchedule::Clock::now());
    m_wake.notify_all();
}

CineSchedule::State CineLoop::GetState() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_schedule.GetState();
}

int CineLoop::GetIndex() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_schedule.GetIndex();
}

int CineLoop::GetRate() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_schedule.GetRate();
}

// Runs on the worker thread.
void CineLoop::Run()
{
    bool failed = false;
    try {
        for (;;) {
            int index = 0;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                for (;;) {
                    if (m_bStop)
                        break;
                    if (m_schedule.GetState() != CineSchedule::kRunning) {
                        m_wake.wait(lock);
                        continue;
                    }
                    const CineSchedule::TimePoint now = CineSchedule::Clock::now();
                    const CineSchedule::TimePoint due = m_schedule.GetDue();
                    if (now < due) {
                        // A sleep that any command cuts short
                        m_wake.wait_until(lock, due);
                        continue;
                    }
                    const CineSchedule::Turn turn = m_schedule.Take(now);
                    m_nDropped += turn.nDropped;
                    if (m_bInFlight) {
                        // The UI thread has not taken the last frame yet: this one is dropped
                        ++m_nDropped;
                        continue;
                    }
                    index = turn.nIndex;
                    break;
                }
                if (m_bStop)
                    break;
            }
            m_bInFlight = true;
            if (!m_render(index)) {
                failed = true;
                break;
            }
            ++m_nShown;
        }
    } catch (...) {
        failed = true;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_schedule.Stop();
    }
    try {
        if (m_ended)
            m_ended(failed);
    } catch (...) {
    }
}
