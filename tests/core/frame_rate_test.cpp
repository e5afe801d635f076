#include <gtest/gtest.h>

#include "running_program.h"
#include "saver/frame_rate.h"

namespace vortexa {
namespace {

TEST(FrameRate, TheTextCountsFramesAndProcessorTimeBetweenTwoReadings)
{
    const struct {
        ShowCost from, to;
        const char* text;
    } rows[] = {
        {{0, 0, 10}, {60, 0.05, 11}, "FPS: 60.0  Load: 5.0%"},
        {{1000, 2, 100}, {1149, 2.5, 102.5}, "FPS: 59.6  Load: 20.0%"},
        {{0, 0, 0}, {0, 0, 1}, "FPS: 0.0  Load: 0.0%"},
        // A program busy on more than one processor takes more than all of one.
        {{0, 0, 0}, {30, 1.5, 1}, "FPS: 30.0  Load: 150.0%"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FrameRateText(row.from, row.to), row.text);
}

SettingOverrides frameRate()
{
    SettingOverrides settings;
    settings.ShowFrameRate = true;
    return settings;
}

// On the virtual clock a frame is painted at each step of the script, a hundred a second.
TEST(FrameRate, ShownOnceASecondAtTheBottomLeftAboveTheHintWhileItShows)
{
    RunningProgram running({std::nullopt, "/s", 1280, 720}, frameRate());
    const SaverScreen& screen = running.screen();
    EXPECT_FALSE(screen.lblFrameRate.Visible);
    running.platform.advance(999);
    EXPECT_FALSE(screen.lblFrameRate.Visible);
    running.platform.advance(1);
    const LabelElement& label = screen.lblFrameRate;
    EXPECT_TRUE(label.Visible);
    EXPECT_EQ(label.Caption, "FPS: 100.0  Load: 0.0%");
    EXPECT_LT(label.Left, 150);
    EXPECT_LE(label.Top + label.Height, screen.lblF1.Top);
    EXPECT_GT(label.Top + label.Height, screen.lblF1.Top - 150);

    running.platform.advance(10'000);
    EXPECT_FALSE(screen.lblF1.Visible);
    EXPECT_LE(label.Top + label.Height, 720 * TwipsPerPixel);
    EXPECT_GT(label.Top + label.Height, 720 * TwipsPerPixel - 150);
    // Over the scene: the last element drawn.
    EXPECT_EQ(screen.drawingOrder.backToFront().back(), (ElementRef {KindLblFrameRate, 0}));
}

TEST(FrameRate, NotAskedForItNeverShows)
{
    RunningProgram running({std::nullopt, "/s", 1280, 720});
    running.platform.advance(3000);
    EXPECT_FALSE(running.screen().lblFrameRate.Visible);
}

} // namespace
} // namespace vortexa
