#pragma once
// The pace of a window's frames: at most one a refresh of its screen. A change that comes sooner is
// not dropped but owed. The first change that comes once the refresh is due draws it, with every
// change until then: a moving scene changes at each of its steps, so its frames fall on its steps,
// each frame the same number of steps on, and no wake-up is spent on a frame of its own. When no
// change comes, a timer the backend starts draws it a refresh after it fell due. The clock is
// monotonic, in microseconds.

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace vortexa {

// The system's monotonic clock, for the real windows' frames.
inline int64_t monotonicMicroseconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::microseconds>(now).count();
}

// What a window does about a change.
enum class FrameStep {
    DrawNow, // the last frame is a refresh old: draw, then call drawn()
    WaitForTimer, // start a timer for untilOwedFrame(); when it fires, draw
    AlreadyOwed, // a frame is owed, not due yet, and its timer runs
};

class FramePacing {
public:
    static constexpr int MostFramesPerSecond = 100;

    explicit FramePacing(int framesPerSecond = 60) { setFramesPerSecond(framesPerSecond); }

    void setFramesPerSecond(int framesPerSecond)
    {
        m_interval = 1'000'000 / std::clamp(framesPerSecond, 1, MostFramesPerSecond);
    }

    FrameStep changed(int64_t now)
    {
        if (untilDue(now) == 0)
            return FrameStep::DrawNow;
        if (m_owed)
            return FrameStep::AlreadyOwed;
        m_owed = true;
        return FrameStep::WaitForTimer;
    }

    // Microseconds until the next frame may be drawn; 0 when it may be drawn now.
    int64_t untilDue(int64_t now) const
    {
        if (!m_anyDrawn)
            return 0;
        return std::max<int64_t>(0, nextDue() - now);
    }

    // When the next frame may be drawn.
    int64_t nextDue() const { return m_lastFrame + m_interval; }

    // Microseconds until the timer of a frame owed at `now` draws it.
    int64_t untilOwedFrame(int64_t now) const { return untilDue(now) + m_interval; }

    // A frame was drawn at `now` (by a change, by the timer, or because the window was exposed).
    void drawn(int64_t now)
    {
        m_lastFrame = now;
        m_anyDrawn = true;
        m_owed = false;
    }

    bool owed() const { return m_owed; }

private:
    int64_t m_interval = 0;
    int64_t m_lastFrame = 0;
    bool m_anyDrawn = false;
    bool m_owed = false;
};

// What a window does about a change, in one call: drawNow() when the last frame is a refresh old,
// else startTimer(milliseconds) for the frame that becomes owed, else nothing. drawNow() stops the
// timer of a frame owed.
template <typename DrawNow, typename StartTimer>
void paceFrame(FramePacing& pacing, int64_t now, DrawNow&& drawNow, StartTimer&& startTimer)
{
    switch (pacing.changed(now)) {
    case FrameStep::DrawNow:
        drawNow();
        break;
    case FrameStep::WaitForTimer:
        startTimer(static_cast<int>((pacing.untilOwedFrame(now) + 999) / 1000));
        break;
    case FrameStep::AlreadyOwed:
        break;
    }
}

} // namespace vortexa
