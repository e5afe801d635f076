// The pace of a window's frames on the headless clock: a change arrives with the scene's ticks, the
// window draws at once or owes a frame to a timer, as a real window does.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backend_kit/frame_pacing.h"
#include "platform/headless/headless_platform.h"

namespace vortexa {
namespace {

// A window at 60 frames a second: every change asks for a frame; a frame owed waits for a timer.
class PacedWindow {
public:
    explicit PacedWindow(HeadlessPlatform& platform)
        : m_platform(platform)
    {
    }

    void change()
    {
        m_changes.push_back(now());
        paceFrame(
            m_pacing, now(), [this] { draw(); },
            [this](int ms) { m_timer = m_platform.startTimer(ms, [this] { draw(); }); });
    }

    const std::vector<int64_t>& frames() const { return m_frames; }

    // The first frame at or after each change, in microseconds after it (-1: never drawn).
    std::vector<int64_t> delays() const
    {
        std::vector<int64_t> result;
        for (const int64_t change : m_changes) {
            int64_t delay = -1;
            for (const int64_t frame : m_frames)
                if (frame >= change) {
                    delay = frame - change;
                    break;
                }
            result.push_back(delay);
        }
        return result;
    }

private:
    int64_t now() const { return m_platform.now() * 1000; }
    void draw()
    {
        m_platform.stopTimer(m_timer);
        m_frames.push_back(now());
        m_pacing.drawn(now());
    }

    HeadlessPlatform& m_platform;
    FramePacing m_pacing {60};
    TimerId m_timer = -1;
    std::vector<int64_t> m_changes, m_frames;
};

TEST(FramePacing, AFrameAtMostOnceARefreshAndEveryChangeDrawnWithinTwo)
{
    constexpr int64_t Refresh = 1'000'000 / 60;
    const struct {
        const char* what;
        std::vector<int> changesAtMs;
        int frames;
    } rows[] = {
        {"one change alone is drawn at once", {100}, 1},
        {"a change well after a frame is drawn at once", {0, 50}, 2},
        {"a change just after a frame waits for its timer", {0, 5}, 2},
        {"a burst ends with its last change drawn", {0, 1, 2, 3, 4, 5, 6, 7}, 2},
        // Every other step is drawn, each frame two steps on, and the last step by its timer.
        {"the scene's 100 steps a second at 60 frames",
            {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 170, 180, 190}, 11},
    };
    for (const auto& row : rows) {
        HeadlessPlatform platform(".");
        PacedWindow window(platform);
        int64_t at = 0;
        for (const int change : row.changesAtMs) {
            platform.advance(change - at);
            at = change;
            window.change();
        }
        platform.advance(100);
        EXPECT_EQ(static_cast<int>(window.frames().size()), row.frames) << row.what;
        for (size_t k = 1; k < window.frames().size(); ++k)
            EXPECT_GE(window.frames()[k] - window.frames()[k - 1], Refresh) << row.what << ", frame " << k;
        for (const int64_t delay : window.delays()) {
            EXPECT_GE(delay, 0) << row.what << ": a change was never drawn";
            EXPECT_LE(delay, 2 * Refresh + 1000) << row.what;
        }
    }
}

TEST(FramePacing, TheRateIsTheScreensWithinOneAndAHundredFramesASecond)
{
    const struct {
        int framesPerSecond;
        int64_t interval;
    } rows[] = {{60, 16'666}, {144, 10'000}, {0, 1'000'000}, {-5, 1'000'000}, {30, 33'333}};
    for (const auto& row : rows) {
        FramePacing pacing(row.framesPerSecond);
        pacing.drawn(0);
        EXPECT_EQ(pacing.untilDue(0), row.interval) << row.framesPerSecond;
        EXPECT_EQ(pacing.untilDue(row.interval), 0) << row.framesPerSecond;
    }
}

} // namespace
} // namespace vortexa
