#include <gtest/gtest.h>

#include "dialog/form2.h"
#include "running_program.h"

namespace vortexa {
namespace {

TEST(StartUp, RunSwitchIsTheFirstTwoCharactersOfTheTrimmedLowerCaseCommandLine)
{
    const struct {
        const char* commandLine;
        const char* runSwitch;
    } rows[] = {
        {"/S", "/s"},
        {"  /s  ", "/s"},
        {"/s more words", "/s"},
        {"", ""},
        {"   ", ""},
        {"/c:2048", "/c"},
        {"/P", "/p"},
        {"/a", "/a"},
        {"x", "x"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(RunSwitch(row.commandLine), row.runSwitch) << '"' << row.commandLine << '"';
}

TEST(StartUp, ShowSwitchesRunTheShow)
{
    for (const char* commandLine : {"/S", " /s ", "/s more", "", "/a"}) {
        RunningProgram running({std::nullopt, commandLine});
        EXPECT_FALSE(running.platform.ended()) << commandLine;
        EXPECT_TRUE(running.screen().Visible) << commandLine;
        EXPECT_TRUE(running.screen().Maximised) << commandLine;
        EXPECT_EQ(running.screen().MousePointer, PointerCustom) << commandLine;
        EXPECT_EQ(running.program.form1, running.program.screens().front().get()) << commandLine;
        ASSERT_NE(running.program.loadedDialog(), nullptr) << "the captions load the dialog";
        EXPECT_FALSE(running.program.loadedDialog()->Visible) << commandLine;
    }
}

TEST(StartUp, PreviewSwitchEndsAtOnceAndWritesNothing)
{
    RunningProgram running({std::nullopt, "/P"});
    EXPECT_TRUE(running.platform.ended());
    EXPECT_FALSE(running.screen().Visible);
    EXPECT_EQ(running.platform.runningTimers(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(running.folder.path()));
}

TEST(StartUp, ConfigurationSwitchShowsTheDialogOverTheRunningShow)
{
    RunningProgram running({std::nullopt, "/c:2048"});
    EXPECT_FALSE(running.platform.ended());
    ASSERT_NE(running.program.loadedDialog(), nullptr);
    EXPECT_TRUE(running.program.loadedDialog()->Visible);
    EXPECT_EQ(running.program.form1, nullptr);
    EXPECT_TRUE(running.screen().Visible);
    EXPECT_EQ(running.screen().MousePointer, PointerCrossHair);
    EXPECT_EQ(running.platform.runningTimers(), 3);
}

TEST(StartUp, SecondInstanceEndsWithoutAWindow)
{
    TemporaryFolder folder;
    HeadlessPlatform platform(folder.path());
    platform.setAnotherInstanceRunning(true);
    Program program(platform);
    program.Start();
    EXPECT_TRUE(platform.ended());
    EXPECT_FALSE(program.screens().front()->screen.Visible);
    EXPECT_EQ(platform.runningTimers(), 0);
    EXPECT_EQ(program.loadedDialog(), nullptr);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST(StartUp, UnloadedScreenStopsItsTimersAndLeavesTheScreen)
{
    RunningProgram running;
    Form1* screen = running.program.form1;
    running.program.Unload(screen);
    EXPECT_EQ(running.platform.runningTimers(), 0);
    EXPECT_EQ(running.program.form1, nullptr);
    EXPECT_TRUE(running.program.screens().empty());
    running.platform.advance(5000);
    running.program.DiscardUnloaded();
}

TEST(StartUp, EndedProgramGetsNoFurtherTicks)
{
    RunningProgram running;
    int ticks = 0;
    running.platform.startTimer(10, [&] {
        if (++ticks == 3)
            running.platform.endProgram();
    });
    running.platform.advance(1000);
    EXPECT_EQ(ticks, 3);
}

TEST(StartUp, TimersDueTogetherFireInTheOrderTheyWereStarted)
{
    TemporaryFolder folder;
    HeadlessPlatform platform(folder.path());
    std::string order;
    platform.startTimer(20, [&] { order += 'a'; });
    platform.startTimer(10, [&] { order += 'b'; });
    platform.advance(40);
    EXPECT_EQ(order, "babbab");
}

} // namespace
} // namespace vortexa
