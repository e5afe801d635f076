#pragma once
// The pace of one timer on a monotonic clock of milliseconds. The system's timer may fire late
// when the program was busy (drawing, a slow server, a stopped process); the ticks it held back
// are made up at once, so that the scene keeps 100 steps a second whatever drawing costs. After a
// long stall making them all up would freeze the show, so the rest are dropped and the timer
// keeps its interval from now.

#include <chrono>
#include <cstdint>

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

} // namespace vortexa
