#include <gtest/gtest.h>

#include <filesystem>

#include "clock/clock_tick.h"
#include "platform/headless/headless_platform.h"
#include "records/numeric.h"

namespace vortexa {
namespace {

constexpr int64_t Hour = 3600 * 1000;

struct Clock {
    HeadlessPlatform platform {std::filesystem::temp_directory_path()};
    SaverScreen screen;
    ModuleState module;

    Clock(const char* viewTime, int hours, int minutes, int seconds)
    {
        module.ViewTime = viewTime;
        platform.setStartTime(hours, minutes, seconds);
        screen.StartTime = platform.timeOfDay();
    }
    void tick() { ClockTick(screen, module, platform); }
    void withDial()
    {
        module.GraphicClock = true;
        for (int k = 1; k <= 4; ++k)
            screen.LoadShapeS(k);
    }
};

TEST(Clock, TimeSinceStartIsADurationCountedModuloOneDay)
{
    const struct {
        int hours, minutes, seconds;
        int64_t lookAfterMs;
        const char* shown;
    } rows[] = {
        {12, 0, 0, 0, "0:00:00"},
        {12, 0, 0, Hour + 123 * 1000, "1:02:03"},
        {23, 0, 0, 2 * Hour, "2:00:00"}, // across midnight
        {23, 59, 59, 1000, "0:00:01"},
        {0, 0, 1, 24 * Hour - 2000, "23:59:58"},
    };
    for (const auto& row : rows) {
        Clock clock("2", row.hours, row.minutes, row.seconds);
        clock.platform.advance(row.lookAfterMs);
        clock.tick();
        EXPECT_EQ(clock.screen.lblT.Caption, row.shown);
    }
}

TEST(Clock, TheTimeOfDayUsesTheLongTimeFormat)
{
    Clock clock("0", 9, 5, 7);
    clock.tick();
    EXPECT_EQ(clock.screen.lblT.Caption, clock.platform.longTimeText(clock.platform.timeOfDay()));
}

TEST(Clock, NoClockHidesTheLabelOnEveryTick)
{
    Clock clock("4", 12, 0, 0);
    clock.tick();
    clock.screen.lblT.Visible = true;
    clock.tick();
    EXPECT_FALSE(clock.screen.lblT.Visible);
    EXPECT_EQ(clock.screen.lblT.Caption, "Время");
}

TEST(Clock, TheDialShowsTheTimeOfDayWithoutLeadingZeros)
{
    Clock clock("1", 7, 24, 9);
    clock.withDial();
    clock.screen.Shape[0].BorderColor = 0x123456;
    clock.tick();
    EXPECT_EQ(clock.screen.lblS[0].Caption, "9");
    EXPECT_EQ(clock.screen.lblS[1].Caption, "24");
    EXPECT_EQ(clock.screen.lblS[2].Caption, "7");
    EXPECT_EQ(clock.module.HandAngle[0], single((9 - 15) * 0.10472));
    EXPECT_EQ(clock.module.HandAngle[1], single((24 - 15) * 0.10472));
    EXPECT_EQ(clock.module.HandAngle[2], single(((7 - 3) * 5 + 2.0) * 0.10472));
    EXPECT_EQ(clock.screen.ShapeS[1].BorderColor, 0x123456u);
}

TEST(Clock, TheFromStartDialLabelsShowTheElapsedTimeWhileTheHandsShowTheTimeOfDay)
{
    Clock clock("3", 21, 30, 10);
    clock.withDial();
    clock.platform.advance(3 * Hour + 31 * 60 * 1000 + 53 * 1000); // 01:02:03
    clock.tick();
    EXPECT_EQ(clock.screen.lblT.Caption, "3:31:53");
    EXPECT_EQ(clock.screen.lblS[0].Caption, "53");
    EXPECT_EQ(clock.screen.lblS[1].Caption, "31");
    EXPECT_EQ(clock.screen.lblS[2].Caption, "3");
    EXPECT_EQ(clock.module.HandAngle[0], single((3 - 15) * 0.10472));
    EXPECT_EQ(clock.module.HandAngle[2], single(((1 - 3) * 5 + 2 / 12.0) * 0.10472));
}

TEST(Clock, TheHintFadesFromGrey90AndIsGoneOnTheNinthTick)
{
    Clock clock("0", 12, 0, 0);
    const struct {
        int tick;
        bool visible;
        uint32_t colour;
    } rows[] = {{1, true, rgb(80, 80, 80)}, {8, true, rgb(10, 10, 10)}, {9, false, rgb(10, 10, 10)}};
    int ticks = 0;
    for (const auto& row : rows) {
        while (ticks < row.tick) {
            clock.tick();
            ++ticks;
        }
        EXPECT_EQ(clock.screen.lblF1.Visible, row.visible) << row.tick;
        EXPECT_EQ(clock.screen.lblF1.ForeColor, row.colour) << row.tick;
    }
}

TEST(Clock, TheHintCountStopsAtTheEndOfItsRange)
{
    Clock clock("0", 12, 0, 0);
    clock.screen.HintTicks = 32766;
    clock.tick();
    clock.tick();
    EXPECT_EQ(clock.screen.HintTicks, 32767);
    EXPECT_FALSE(clock.screen.lblF1.Visible);
}

TEST(Clock, CirclesStrictlyInsideTheBlockAreTakenCaptiveOrRemoved)
{
    // The block of 3000 at (1000, 1000); circles of 600, so inside means 1000 < corner < 3400.
    const struct {
        float left, top;
        const char* captives;
        int style;
        bool visible;
        int newStyle, newWidth;
    } rows[] = {
        {1500, 1500, "0", BorderSolid, true, BorderDashed, 1},
        {3399, 3399, "0", BorderSolid, true, BorderDashed, 1},
        {1000, 1500, "0", BorderSolid, true, BorderSolid, 3}, // touching the left face
        {1500, 1000, "0", BorderSolid, true, BorderSolid, 3}, // touching the top face
        {3400, 1500, "0", BorderSolid, true, BorderSolid, 3},
        {1500, 3400, "0", BorderSolid, true, BorderSolid, 3},
        {5000, 5000, "0", BorderDashed, true, BorderDotted, 3}, // a captive that got out
        {5000, 5000, "0", BorderDotted, true, BorderDotted, 3},
        {1500, 1500, "0", BorderDotted, true, BorderDashed, 1}, // caught again
        {1500, 1500, "1", BorderSolid, false, BorderSolid, 3}, // "Not get": removed
        {5000, 5000, "1", BorderDashed, true, BorderDotted, 3},
    };
    for (const auto& row : rows) {
        Clock clock("0", 12, 0, 0);
        clock.module.Scenario = 3;
        clock.module.CircleCount = 2;
        clock.module.Captives = row.captives;
        clock.module.Diameter[0] = 3000;
        clock.module.Diameter[1] = 600;
        clock.screen.Shape[0].Move(1000, 1000);
        clock.screen.LoadShape(1);
        ShapeElement& circle = clock.screen.Shape[1];
        circle.Visible = true;
        circle.Move(row.left, row.top);
        circle.BorderStyle = row.style;
        circle.BorderWidth = 3;
        clock.tick();
        SCOPED_TRACE(testing::Message() << "(" << row.left << ", " << row.top << ") captives " << row.captives);
        EXPECT_EQ(circle.Visible, row.visible);
        EXPECT_EQ(circle.BorderStyle, row.newStyle);
        EXPECT_EQ(circle.BorderWidth, row.newWidth);
    }
}

TEST(Clock, OnlyOppositionTakesCaptives)
{
    Clock clock("0", 12, 0, 0);
    clock.module.Scenario = 2;
    clock.module.CircleCount = 2;
    clock.module.Diameter[0] = 3000;
    clock.module.Diameter[1] = 600;
    clock.screen.Shape[0].Move(1000, 1000);
    clock.screen.LoadShape(1);
    clock.screen.Shape[1].Move(1500, 1500);
    clock.tick();
    EXPECT_EQ(clock.screen.Shape[1].BorderStyle, BorderSolid);
}

} // namespace
} // namespace vortexa
