#include <gtest/gtest.h>

#include "platform/show_target.h"
#include "running_program.h"

namespace vortexa {
namespace {

TEST(ShowTarget, ArgumentsAndTheDaemonsVariableNameTheWindow)
{
    using Words = std::vector<std::string>;
    const struct {
        Words arguments;
        const char* daemonWindow;
        ShowTarget::Kind kind;
        uint32_t windowId;
        bool error;
    } rows[] = {
        {{"/s"}, nullptr, ShowTarget::OwnWindow, 0, false},
        {{}, "", ShowTarget::OwnWindow, 0, false},
        {{}, "0x1c00007", ShowTarget::GivenWindow, 0x1c00007, false},
        {{}, "29360135", ShowTarget::GivenWindow, 29360135, false},
        {{"-root"}, nullptr, ShowTarget::RootWindow, 0, false},
        {{"--root"}, nullptr, ShowTarget::RootWindow, 0, false},
        {{"-root"}, "0x2a", ShowTarget::GivenWindow, 0x2a, false}, // the daemon's window wins over the root
        {{"-window-id", "0X2A"}, "0x99", ShowTarget::GivenWindow, 0x2a, false}, // and an explicit id over both
        {{"--window-id", "42"}, nullptr, ShowTarget::GivenWindow, 42, false},
        {{"--window-id=0x42"}, nullptr, ShowTarget::GivenWindow, 0x42, false},
        {{"-window-id"}, nullptr, ShowTarget::OwnWindow, 0, true},
        {{"-window-id", "garbage"}, nullptr, ShowTarget::OwnWindow, 0, true},
        {{"-window-id", "0"}, nullptr, ShowTarget::OwnWindow, 0, true},
        {{"-window-id", "0x100000000"}, nullptr, ShowTarget::OwnWindow, 0, true},
        {{"-window-id", "12abc"}, nullptr, ShowTarget::OwnWindow, 0, true},
        {{}, "-5", ShowTarget::OwnWindow, 0, true},
    };
    for (const auto& row : rows) {
        const ShowTarget target = showTargetOf(row.arguments, row.daemonWindow);
        const std::string context
            = ::testing::PrintToString(row.arguments) + " " + (row.daemonWindow ? row.daemonWindow : "unset");
        EXPECT_EQ(target.kind, row.kind) << context;
        EXPECT_EQ(target.windowId, row.windowId) << context;
        EXPECT_EQ(!target.error.empty(), row.error) << context << ": " << target.error;
    }
}

TEST(GivenWindow, TheDaemonOwnsTheScreenTheKeysAndTheMouse)
{
    StartOptions options;
    options.givenWindow = true;
    RunningProgram running(options);
    running.platform.setAnotherInstanceRunning(true);
    running.program.ScreenResized(); // a second start while another show runs
    ASSERT_FALSE(running.platform.ended()) << "a daemon runs one show in each of its windows";
    EXPECT_FALSE(running.screen().lblF1.Visible) << "no hint for a key that cannot reach the show";
    EXPECT_EQ(running.platform.cursorX(), 0) << "the pointer is not moved";
    EXPECT_EQ(running.platform.cursorY(), 0);

    Form1& form = *running.program.screens().front();
    form.Form_KeyPress('a');
    for (int move = 1; move <= 7; ++move)
        form.Form_MouseMove(150.0f * static_cast<float>(move), 300);
    EXPECT_FALSE(running.platform.ended());
}

// Only the settings dialog and a show of the program's own window are alone on a display.
TEST(GivenWindow, TheOneShowRuleHoldsForTheProgramsOwnWindows)
{
    const struct {
        const char* commandLine;
        bool givenWindow;
        bool yields; // to the instance already running
    } rows[] = {
        {"/s", false, true},
        {"/s -root", true, false},
        {"/c", false, true},
        {"/c -root", true, true},
    };
    for (const auto& row : rows) {
        StartOptions options;
        options.commandLine = row.commandLine;
        options.givenWindow = row.givenWindow;
        RunningProgram running(options);
        running.platform.setAnotherInstanceRunning(true);
        running.program.ScreenResized(); // a start while another instance runs
        EXPECT_EQ(running.platform.ended(), row.yields) << row.commandLine;
    }
}

TEST(GivenWindow, AResizedWindowGetsTheSceneAFreshStartWouldBuild)
{
    StartOptions options;
    options.settingsFile = settingsText(20, 1, 3, 3, 3, 1);
    options.givenWindow = true;
    RunningProgram running(options);
    running.platform.setScreenPixels(640, 480);
    running.program.ScreenResized();

    options.widthPixels = 640;
    options.heightPixels = 480;
    options.givenWindow = false;
    RunningProgram fresh(options);
    ASSERT_EQ(running.program.screens().size(), 1u);
    const SaverScreen& rebuilt = running.screen();
    EXPECT_EQ(rebuilt.ScreenWidth, 640 * TwipsPerPixel);
    EXPECT_EQ(rebuilt.ScreenHeight, 480 * TwipsPerPixel);
    EXPECT_EQ(rebuilt.Shape.Count(), fresh.screen().Shape.Count());
    EXPECT_EQ(rebuilt.Shape[1].Width, fresh.screen().Shape[1].Width);
    EXPECT_EQ(running.platform.runningTimers(), fresh.platform.runningTimers()) << "the old screen's timers stopped";
}

} // namespace
} // namespace vortexa
