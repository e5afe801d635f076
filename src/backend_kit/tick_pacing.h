#pragma once
// The pace of one timer on a monotonic clock of milliseconds. The system's timer may fire late
// when the program was busy (drawing, a slow server, a stopped process); the ticks it held back
// are made up at once, so that the scene keeps 100 steps a second whatever drawing costs. After a
// long stall making them all up would freeze the show, so the rest are dropped and the timer
// keeps its interval from now.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace vortexa {

// The system's monotonic clock, for the real platforms' timers.
inline int64_t monotonicMilliseconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

class TickPacing {
public:
    static constexpr int MostTicksMadeUp = 25;

    TickPacing(int intervalMs, int64_t startedAt)
        : m_interval(intervalMs > 0 ? intervalMs : 1)
        , m_nextDue(startedAt + m_interval)
    {
    }

    int64_t nextDue() const { return m_nextDue; }
    // The first tick due at or after `time`.
    int64_t firstDueFrom(int64_t time) const
    {
        return m_nextDue >= time ? m_nextDue
                                 : m_nextDue + (time - m_nextDue + m_interval - 1) / m_interval * m_interval;
    }

    // How many ticks to run now that the timer fired at `now`: the one due, and one for every
    // whole interval it came late, up to MostTicksMadeUp.
    int ticksDue(int64_t now)
    {
        const int64_t late = now > m_nextDue ? now - m_nextDue : 0;
        const int64_t heldBack = late / m_interval;
        if (heldBack > MostTicksMadeUp) {
            m_nextDue = now + m_interval;
            return 1 + MostTicksMadeUp;
        }
        m_nextDue += (1 + heldBack) * m_interval;
        return 1 + static_cast<int>(heldBack);
    }

private:
    int64_t m_interval;
    int64_t m_nextDue;
};

// The script steps a run took, for the measurements of the whole program: the ticks of the timers
// faster than a second, and the time from the first of them.
class StepStatistics {
public:
    void tickRun(int intervalMs, int64_t nowMs)
    {
        if (intervalMs < 1000 && m_steps++ == 0)
            m_firstStep = nowMs;
    }

    // The line the measurements read.
    std::string line(int64_t nowMs) const
    {
        const double seconds = m_steps > 0 ? static_cast<double>(nowMs - m_firstStep) / 1000 : 0.0;
        char text[64];
        std::snprintf(text, sizeof text, "ticks=%lld seconds=%.3f\n", m_steps, seconds);
        return text;
    }

private:
    long long m_steps = 0;
    int64_t m_firstStep = 0;
};

// Runs the ticks of a timer that fired at `nowMs`: the one due and those a busy moment held back,
// each through deliver(), for as long as stillRunning() says that no tick stopped the timer.
template <typename Deliver, typename StillRunning>
void runTicksDue(TickPacing& pacing, int intervalMs, StepStatistics& statistics, int64_t nowMs, Deliver&& deliver,
    StillRunning&& stillRunning)
{
    for (int due = pacing.ticksDue(nowMs); due > 0 && stillRunning(); --due) {
        statistics.tickRun(intervalMs, monotonicMilliseconds());
        deliver();
    }
}

} // namespace vortexa
