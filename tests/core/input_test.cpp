#include <gtest/gtest.h>

#include <limits>

#include "dialog_world.h"

namespace vortexa {
namespace {

TEST(KeyPress, EveryCharacterButOneEndsTheShow)
{
    const struct {
        int16_t character;
        bool ends;
    } rows[] = {
        {'1', false},
        {'a', true},
        {' ', true},
        {13, true}, // Enter
        {27, true}, // Escape
        {8, true}, // Backspace
        {'0', true},
        {'2', true},
        {'!', true},
    };
    for (const auto& row : rows) {
        DialogWorld world;
        world.saver().Form_KeyPress(row.character);
        EXPECT_EQ(world.platform.ended(), row.ends) << row.character;
    }
}

TEST(KeyPress, OneOpensTheDialogOverTheRunningShow)
{
    DialogWorld world;
    Form1& saver = world.saver();
    saver.Form_KeyPress('1');
    EXPECT_TRUE(world.dialog().Visible);
    EXPECT_TRUE(world.dialog().BringToFront);
    EXPECT_EQ(saver.screen.MousePointer, PointerCrossHair);
    EXPECT_TRUE(saver.screen.Visible);
    EXPECT_EQ(world.program.form1, &saver);
    EXPECT_EQ(world.platform.runningTimers(), 3);
}

TEST(KeyPress, OneDoesNothingWithoutADialogToOpen)
{
    DialogWorld world;
    world.platform.setCanShowDialog(false);
    Form1& saver = world.saver();
    saver.Form_KeyPress('1');
    EXPECT_FALSE(world.platform.ended());
    const Form2* dialog = world.program.loadedDialog();
    EXPECT_FALSE(dialog && dialog->Visible);
    EXPECT_TRUE(saver.screen.Visible);
    EXPECT_NE(saver.screen.MousePointer, PointerCrossHair);
}

TEST(KeyPress, OneShowsTheChoicesInForce)
{
    const struct {
        const char* name;
        std::string settings;
        const char* captives;
        const char* clock;
    } rows[] = {
        {"no file", "", "Get captives", "System (Digital)"},
        {"a file", settingsText(8, 1, 2, 2, 3, 1, 1), "Not get", "From start (Digital)"},
        {"a file with choices beyond the lists", settingsText(8, 1, 2, 5, 3, 2, 1), "Not get", "Without time"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DialogWorld world("/s", row.settings);
        world.dialog().ComboT.setListIndex(WithoutClock);
        world.saver().Form_KeyPress('1');
        EXPECT_EQ(world.dialog().ComboP.Text(), row.captives);
        EXPECT_EQ(world.dialog().ComboT.Text(), row.clock);
    }
}

TEST(KeyPress, AfterAPreviewOneShowsTheDialogWithEveryChoiceAsItWas)
{
    DialogWorld world;
    Form2& dialog = world.dialog();
    dialog.cmdS_Click(2);
    dialog.Slider[0].setValue(16);
    dialog.ComboP.setListIndex(NotGet);
    dialog.ComboT.setListIndex(StartDial);
    dialog.CmdPRO_Click();
    ASSERT_FALSE(dialog.Visible);
    world.saver().Form_KeyPress('1');
    EXPECT_TRUE(dialog.Visible);
    EXPECT_EQ(dialog.ComboP.ListIndex(), NotGet);
    EXPECT_EQ(dialog.ComboT.ListIndex(), StartDial);
    EXPECT_EQ(dialog.Slider[0].Value(), 16);
    EXPECT_TRUE(dialog.cmdS[2].FontBold);
}

TEST(MouseMove, TheSixthMoveEndsAPlainShow)
{
    for (int moves = 1; moves <= 7; ++moves) {
        DialogWorld world;
        for (int k = 0; k < moves && !world.platform.ended(); ++k)
            world.moveMouse();
        EXPECT_EQ(world.platform.ended(), moves >= 6) << moves;
    }
}

TEST(MouseMove, WithTheDialogOpenMovesBringItToTheFrontAndNeverEnd)
{
    for (const char* commandLine : {"/s", "/c"}) {
        SCOPED_TRACE(commandLine);
        DialogWorld world(commandLine);
        if (std::string(commandLine) == "/s")
            world.saver().Form_KeyPress('1');
        for (int k = 0; k < 200; ++k) {
            world.dialog().BringToFront = false;
            world.moveMouse();
            EXPECT_EQ(world.dialog().BringToFront, k >= 5) << k;
        }
        EXPECT_FALSE(world.platform.ended());
        EXPECT_EQ(world.program.form1, nullptr);
    }
}

TEST(MouseMove, TheCountStopsAtItsLargestValue)
{
    DialogWorld world;
    world.saver().Form_KeyPress('1');
    world.saver().screen.MoveCount = std::numeric_limits<int16_t>::max() - 1;
    for (int k = 0; k < 3; ++k) {
        world.dialog().BringToFront = false;
        world.moveMouse();
        EXPECT_EQ(world.saver().screen.MoveCount, std::numeric_limits<int16_t>::max());
        EXPECT_TRUE(world.dialog().BringToFront);
    }
}

TEST(MouseMove, ThePointerMoveOfTheDialogsLoadIsNotTheUsers)
{
    DialogWorld world;
    Form1& saver = world.saver();
    const auto own = [&] {
        saver.Form_MouseMove(
            static_cast<float>(world.platform.cursorX() * 15), static_cast<float>(world.platform.cursorY() * 15));
    };
    own();
    EXPECT_EQ(saver.screen.MoveCount, 0);
    for (int k = 0; k < 5; ++k)
        own(); // the user's hand passing over the same point later counts
    EXPECT_EQ(saver.screen.MoveCount, 5);
    EXPECT_FALSE(world.platform.ended());
    world.moveMouse();
    EXPECT_TRUE(world.platform.ended());
}

TEST(MouseMove, AUsersMoveBeforeTheReportOfTheOwnMoveCounts)
{
    DialogWorld world;
    world.moveMouse();
    EXPECT_EQ(world.saver().screen.MoveCount, 1);
}

TEST(MouseMove, APreviewStartsTheCountAgain)
{
    DialogWorld world;
    world.saver().Form_KeyPress('1');
    for (int k = 0; k < 5; ++k)
        world.moveMouse();
    world.dialog().ComboT.setListIndex(SystemDigital);
    world.dialog().CmdPRO_Click();
    for (int k = 0; k < 5; ++k)
        world.moveMouse();
    EXPECT_FALSE(world.platform.ended());
    world.moveMouse();
    EXPECT_TRUE(world.platform.ended());
}

} // namespace
} // namespace vortexa
