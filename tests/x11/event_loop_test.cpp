#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <vector>

#include "platform/x11/event_loop.h"

namespace vortexa {
namespace {

// A pipe standing in for the X connection.
struct Pipe {
    int ends[2] = {-1, -1};
    Pipe() { EXPECT_EQ(pipe(ends), 0); }
    ~Pipe()
    {
        close(ends[0]);
        close(ends[1]);
    }
};

// Timers tick at their pace until stopped, a readable connection is taken in within the same pass
// and a pass is told so (and only then, after the first), and a termination signal reaches the
// loop, not the handler's context, and can end it.
TEST(EventLoop, RunsTimersConnectionAndSignalsInOneLoop)
{
    Pipe connection;
    EventLoop loop(connection.ends[0]);
    int ticks = 0, passesWithData = 0, passesCalledReadable = 0, signalled = 0;
    bool wrote = false;
    const int timer = loop.startTimer(5, [&](int due) {
        ticks += due;
        if (ticks >= 4 && !wrote) {
            wrote = true;
            ASSERT_EQ(write(connection.ends[1], "x", 1), 1);
        }
    });
    loop.startTimer(20000, [&](int) { ADD_FAILURE() << "a timer ticked before its time"; });
    loop.catchTerminationSignals([&](int signal) {
        signalled = signal;
        loop.quit();
    });
    loop.run([&](bool readable) {
        passesCalledReadable += readable;
        char byte = 0;
        if (readable && wrote && read(connection.ends[0], &byte, 1) == 1) {
            ++passesWithData;
            loop.stopTimer(timer);
            std::raise(SIGTERM);
        }
    });
    EXPECT_GE(ticks, 4);
    EXPECT_EQ(passesWithData, 1);
    EXPECT_EQ(passesCalledReadable, 2) << "the first pass and the one with data";
    EXPECT_EQ(signalled, SIGTERM);
}

// Ticks held back run together at the first one due after the hold, and the timer keeps its pace.
TEST(EventLoop, TicksHeldBackRunTogetherWhenTheHoldEnds)
{
    Pipe connection;
    EventLoop loop(connection.ends[0]);
    std::vector<int> runs;
    loop.startTimer(5, [&](int due) {
        runs.push_back(due);
        if (runs.size() == 1)
            loop.holdTimersUntil(monotonicMilliseconds() + 16);
        if (runs.size() == 3)
            loop.quit();
    });
    loop.run([](bool) {});
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_GE(runs[1], 3) << "the ticks due in the hold ran one by one";
}

// A loop with nothing to wait for but its connection ends when a pass asks it to.
TEST(EventLoop, EndsWhenAPassQuits)
{
    Pipe connection;
    EventLoop loop(connection.ends[0]);
    int passes = 0;
    loop.run([&](bool) {
        if (++passes == 3)
            loop.quit();
        else
            ASSERT_EQ(write(connection.ends[1], "x", 1), 1);
    });
    EXPECT_EQ(passes, 3);
}

} // namespace
} // namespace vortexa
