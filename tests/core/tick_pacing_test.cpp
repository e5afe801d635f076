#include <gtest/gtest.h>

#include "backend_kit/tick_pacing.h"
#include "platform/headless/headless_platform.h"

namespace vortexa {
namespace {

// A 10 ms timer that runs on time for a second, is kept back by a busy moment, and then runs
// another second: the ticks the moment held back are made up when it ends, up to a bound, and
// afterwards the timer keeps its pace.
TEST(TickPacing, MakesUpWhatAStallHeldBackUpToABoundAndKeepsItsPace)
{
    const struct {
        int stallMs;
        int ticksWhenTheStallEnds;
    } rows[] = {
        {0, 0},
        {5, 0},
        {30, 3},
        {100, 10},
        {250, 25},
        {260, 26}, // the tick due and the 25 held back
        {270, 26}, // one more held back than are made up: it is dropped
        {2000, 26},
    };
    for (const auto& row : rows) {
        HeadlessPlatform platform(".");
        int ticks = 0;
        platform.startTimer(10, [&] { ++ticks; });
        platform.advance(1000);
        ASSERT_EQ(ticks, 100);
        platform.stall(row.stallMs);
        platform.advance(0);
        EXPECT_EQ(ticks - 100, row.ticksWhenTheStallEnds) << "stall of " << row.stallMs << " ms";
        const int before = ticks;
        platform.advance(1000);
        EXPECT_EQ(ticks - before, 100) << "the second after a stall of " << row.stallMs << " ms";
    }
}

TEST(TickPacing, TheFirstTickDueFromATimeFallsOnTheTimersPace)
{
    const TickPacing pacing(10, 20); // due at 30, 40, 50...
    const struct {
        int64_t from, firstDue;
    } rows[] = {{0, 30}, {29, 30}, {30, 30}, {31, 40}, {40, 40}, {95, 100}};
    for (const auto& row : rows)
        EXPECT_EQ(pacing.firstDueFrom(row.from), row.firstDue) << "from " << row.from;
}

TEST(TickPacing, TicksOfAStoppedTimerAreNotMadeUp)
{
    HeadlessPlatform platform(".");
    int ticks = 0;
    TimerId timer = -1;
    timer = platform.startTimer(10, [&] {
        if (++ticks == 3)
            platform.stopTimer(timer);
    });
    platform.stall(200);
    platform.advance(100);
    EXPECT_EQ(ticks, 3);
}

} // namespace
} // namespace vortexa
