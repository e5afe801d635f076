#include <gtest/gtest.h>

#include "dialog/captions.h"
#include "dialog_world.h"
#include "scene/module_state.h"

namespace vortexa {
namespace {

TEST(DialogLoad, TakesTheSettingsFileIntoItsControls)
{
    const struct {
        const char* name;
        std::string settings;
        int circlesMin, circlesMax, circles, width, speed;
        int clockIndex, captivesIndex;
        int boldButton; // -1 for none
    } rows[] = {
        {"no file", "", 6, 12, 9, 1, 2, 0, 0, 0},
        {"script 3 widens the range first", settingsText(15, 3, 5, 3, 3, 1, 1), 10, 20, 15, 3, 5, 3, 1, 2},
        {"script 2 keeps the first range", settingsText(15, 2, 1, 2, 2, 0, 1), 6, 12, 10, 2, 1, 2, 0, 1},
        {"choices outside the lists", settingsText(8, 1, 3, 9, 1, 7, 1), 6, 12, 8, 1, 3, 4, 1, 0},
        {"script beyond 3 takes the last", settingsText(8, 1, 3, 0, 7, 0, 1), 10, 20, 10, 1, 3, 0, 0, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DialogWorld world("/s", row.settings);
        const Form2& dialog = world.dialog();
        EXPECT_EQ(dialog.Slider[0].Min(), row.circlesMin);
        EXPECT_EQ(dialog.Slider[0].Max(), row.circlesMax);
        EXPECT_EQ(dialog.Slider[0].Value(), row.circles);
        EXPECT_EQ(dialog.Slider[1].Value(), row.width);
        EXPECT_EQ(dialog.Slider[2].Value(), row.speed);
        EXPECT_EQ(dialog.ComboT.ListIndex(), row.clockIndex);
        EXPECT_EQ(dialog.ComboP.ListIndex(), row.captivesIndex);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(dialog.cmdS[static_cast<size_t>(k)].FontBold, k == row.boldButton) << k;
    }
}

// The captives list belongs to "Opposition" alone, so a stored "Opposition" shows it as its button
// would, while the demonstration area keeps its information view.
TEST(DialogLoad, StoredOppositionArrangesTheListsAsItsButtonDoes)
{
    DialogWorld stored("/s", settingsText(15, 1, 2, 0, 3, 1));
    DialogWorld pressed("/s", settingsText(8, 1, 2, 0, 1, 1));
    pressed.dialog().cmdS_Click(2);
    const Form2& dialog = stored.dialog();
    EXPECT_TRUE(dialog.ComboP.Visible);
    EXPECT_EQ(dialog.ComboT.Left, pressed.dialog().ComboT.Left);
    EXPECT_EQ(dialog.ComboT.Width, pressed.dialog().ComboT.Width);
    EXPECT_TRUE(dialog.LblINFO.Visible);
    EXPECT_FALSE(dialog.Shape[0].Visible);
}

TEST(DialogLoad, ChoicesBeyondTheListsShowTheLastEntries)
{
    DialogWorld world("/s", settingsText(8, 1, 3, 9, 1, 7, 1));
    EXPECT_EQ(world.dialog().ComboT.Text(), "Without time");
    EXPECT_EQ(world.dialog().ComboP.Text(), "Not get");
}

// What the dialog shows without a file is what the show runs, and OK saves just that.
TEST(DialogLoad, WithoutAFileTheDialogShowsAndSavesTheSettingsInForce)
{
    for (const char* commandLine : {"/s", "/c"}) {
        SCOPED_TRACE(commandLine);
        DialogWorld world(commandLine);
        Form2& dialog = world.dialog();
        EXPECT_EQ(world.program.module.CircleCount, 9);
        EXPECT_EQ(dialog.Slider[0].Value(), 9);
        EXPECT_EQ(dialog.Slider[1].Value(), 1);
        EXPECT_EQ(dialog.Slider[2].Value(), 2);
        EXPECT_TRUE(dialog.cmdS[0].FontBold);
        EXPECT_EQ(world.program.module.Scenario, 1);
        EXPECT_TRUE(dialog.Messages.empty());
        dialog.cmdOK_Click();
        EXPECT_EQ(fileText(world.settingsPath()),
            "krugN=9\r\nBorderWidth=1\r\nSpeed=2\r\nviewTime=0\r\nScenario=1\r\nPlen=0\r\nLocal=1\r\n");
    }
}

TEST(DialogLoad, MovesThePointerIntoTheDialogInWholePixels)
{
    // 1000 x 700 pixels: the dialog is centred, its corner at (4530, 2092.5 -> 2092) twips.
    TemporaryFolder folder;
    HeadlessPlatform platform(folder.path(), 1000, 700);
    Program program(platform);
    program.Start();
    EXPECT_EQ(program.dialog().Left, 4530);
    EXPECT_EQ(program.dialog().Top, 2092);
    EXPECT_EQ(platform.cursorX(), 4530 / 15 + 300);
    EXPECT_EQ(platform.cursorY(), 2092 / 15 + 200);
}

TEST(DialogLoad, CreatesElevenHiddenCopiesOfTheDesignedShape)
{
    DialogWorld world;
    const auto& shapes = world.dialog().Shape;
    ASSERT_EQ(shapes.Count(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_FALSE(shapes[i].Visible) << i;
        EXPECT_EQ(shapes[i].Width, 1095) << i;
        EXPECT_EQ(shapes[i].Height, 975) << i;
        EXPECT_EQ(shapes[i].Left, 2280) << i;
    }
}

TEST(DialogOk, WritesExactlyTheSevenLinesAndEnds)
{
    DialogWorld world("/c", settingsText(15, 1, 1, 0, 3, 0, 1));
    Form2& dialog = world.dialog();
    dialog.Slider[0].setValue(17);
    dialog.Slider[1].setValue(2);
    dialog.Slider[2].setValue(4);
    dialog.ComboT.setListIndex(WithoutClock);
    dialog.ComboP.setText("Not get");
    dialog.lblLOC_Click(Russian);
    dialog.cmdOK_Click();
    EXPECT_TRUE(world.platform.ended());
    EXPECT_EQ(fileText(world.settingsPath()),
        "krugN=17\r\nBorderWidth=2\r\nSpeed=4\r\nviewTime=4\r\nScenario=3\r\nPlen=1\r\nLocal=0\r\n");
}

TEST(DialogOk, ListsShowingTheirPromptsAreSavedAsTheFirstEntry)
{
    DialogWorld world("/c");
    Form2& dialog = world.dialog();
    dialog.ComboT.setText("Time?");
    dialog.ComboP.setText("anything typed");
    dialog.cmdOK_Click();
    EXPECT_EQ(fileText(world.settingsPath()),
        "krugN=9\r\nBorderWidth=1\r\nSpeed=2\r\nviewTime=0\r\nScenario=1\r\nPlen=0\r\nLocal=1\r\n");
}

TEST(DialogOk, AFileThatCannotBeWrittenIsReportedAndTheDialogStaysWithTheChoices)
{
    DialogWorld world("/c");
    // A folder in the settings file's place cannot be replaced by a file.
    std::filesystem::create_directories(world.settingsPath() / "kept");
    Form2& dialog = world.dialog();
    dialog.Slider[0].setValue(11);
    dialog.ComboT.setText("Time?");
    dialog.cmdOK_Click();

    EXPECT_FALSE(world.platform.ended());
    ASSERT_EQ(dialog.Messages.size(), 1u);
    EXPECT_NE(dialog.Messages[0].Text.find(world.settingsPath().string()), std::string::npos);
    EXPECT_EQ(dialog.Slider[0].Value(), 11);
    EXPECT_EQ(dialog.ComboT.Text(), "Time?");
    EXPECT_TRUE(std::filesystem::is_directory(world.settingsPath() / "kept"));
}

TEST(DialogOk, AReadOnlyFolderLeavesTheEarlierFileIntact)
{
    const std::string earlier = settingsText(9, 1, 2, 0, 1, 0, 1);
    DialogWorld world("/c", earlier);
    namespace fs = std::filesystem;
    fs::permissions(world.folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    if (std::ofstream(world.folder.path() / "probe"))
        GTEST_SKIP() << "this user may write into a read-only folder";
    world.dialog().Slider[0].setValue(12);
    world.dialog().cmdOK_Click();
    EXPECT_FALSE(world.platform.ended());
    EXPECT_EQ(world.dialog().Messages.size(), 1u);
    EXPECT_EQ(fileText(world.settingsPath()), earlier);
}

TEST(DialogCancel, EndsWithoutWriting)
{
    const std::string earlier = settingsText(9, 1, 2, 0, 1, 0, 1);
    for (const std::string& settings : {std::string(), earlier}) {
        DialogWorld world("/c", settings);
        world.dialog().Slider[0].setValue(12);
        world.dialog().cmdESC_Click();
        EXPECT_TRUE(world.platform.ended());
        EXPECT_EQ(fileText(world.settingsPath()), settings);
        EXPECT_EQ(
            std::distance(std::filesystem::directory_iterator(world.folder.path()), {}), settings.empty() ? 0 : 1);
    }
}

TEST(DialogPreview, TheDialClockNeedsOppositionWithoutCaptives)
{
    const char* const prompt = "Captives?";
    const struct {
        const char* clock;
        const char* captives;
        int script; // the script button pressed
        bool warned;
    } rows[] = {
        {"System (Zentar)", "Not get", 3, false},
        {"From start (Zentar)", "Not get", 3, false},
        {"System (Zentar)", "Get captives", 3, true},
        {"From start (Zentar)", "Get captives", 3, true},
        {"System (Zentar)", "Not get", 1, true},
        {"From start (Zentar)", "Not get", 2, true},
        {"From start (Zentar)", prompt, 3, false}, // the prompt is not "Get captives"
        {"System (Digital)", "Get captives", 1, false},
        {"From start (Digital)", "Get captives", 2, false},
        {"Without time", "Get captives", 2, false},
        {"System (Zentar) ", "Get captives", 1, false}, // a typed text that names no dial
        {"Time?", "Get captives", 2, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.clock) + " / " + row.captives + " / script " + std::to_string(row.script));
        DialogWorld world("/s");
        Form2& dialog = world.dialog();
        dialog.cmdS_Click(row.script - 1);
        dialog.ComboT.setText(row.clock);
        dialog.ComboP.setText(row.captives);
        dialog.Show();
        const size_t screensBefore = world.program.screens().size();
        dialog.CmdPRO_Click();

        EXPECT_EQ(dialog.Messages.size(), row.warned ? 1u : 0u);
        EXPECT_EQ(world.program.module.PreviewMode, !row.warned);
        EXPECT_EQ(dialog.Visible, row.warned);
        if (row.warned) {
            EXPECT_EQ(dialog.Messages[0], (MessageRecord {"Attention!", world.program.module.ClockWarning}));
            EXPECT_EQ(world.program.screens().size(), screensBefore);
            EXPECT_FALSE(dialog.ComboT.Text() == "System (Zentar)" || dialog.ComboT.Text() == "From start (Zentar)");
            EXPECT_GE(dialog.ComboT.ListIndex(), 0);
        }
    }
}

TEST(DialogPreview, AfterTheWarningTheClockShowsTheDigitalFormOfTheSameTime)
{
    DialogWorld world;
    Form2& dialog = world.dialog();
    dialog.cmdS_Click(0);
    dialog.ComboT.setListIndex(SystemDial);
    dialog.CmdPRO_Click();
    EXPECT_EQ(dialog.ComboT.ListIndex(), SystemDigital);
    dialog.ComboT.setListIndex(StartDial);
    dialog.CmdPRO_Click();
    EXPECT_EQ(dialog.ComboT.ListIndex(), StartDigital);
}

TEST(DialogPreview, HandsTheChoicesToAFreshSaverScreen)
{
    DialogWorld world;
    Form2& dialog = world.dialog();
    dialog.cmdS_Click(2);
    dialog.Slider[0].setValue(14);
    dialog.Slider[1].setValue(3);
    dialog.Slider[2].setValue(4);
    dialog.ComboT.setText("From start (Zentar)");
    dialog.ComboP.setText("Captives?"); // no selection: the preview takes entry 0 ...
    dialog.ComboP.setText("Not get"); // ... unless one is chosen
    dialog.CmdPRO_Click();

    const ModuleState& module = world.program.module;
    EXPECT_EQ(module.ViewTime, "3");
    EXPECT_EQ(module.Captives, "1");
    EXPECT_EQ(module.CircleCount, 14);
    EXPECT_EQ(module.BaseStep, 25);
    const Form1& saver = world.saver();
    EXPECT_EQ(world.program.form1, &saver);
    EXPECT_EQ(saver.screen.Shape.Count(), 14);
    EXPECT_EQ(saver.screen.Shape[13].BorderWidth, 3);
    EXPECT_EQ(saver.screen.MoveCount, 0);
}

TEST(DialogPreview, AListWithoutSelectionPreviewsItsFirstEntry)
{
    DialogWorld world;
    Form2& dialog = world.dialog();
    dialog.cmdS_Click(2);
    dialog.ComboT.setText("From start (Zentar)");
    dialog.ComboP.setText("Captives?");
    dialog.CmdPRO_Click();
    EXPECT_TRUE(dialog.Messages.empty());
    EXPECT_EQ(world.program.module.Captives, "0");
    EXPECT_EQ(dialog.ComboP.Text(), "Get captives");
}

// Three timers run for one saver screen: the clock, the regrouping and the script's step.
constexpr int TimersOfOneScreen = 3;

TEST(DialogPreview, ReplacesTheShowingScreenEvenAfterItsReferenceWasDropped)
{
    const char* const commandLines[] = {"/s", "/c"};
    for (const char* commandLine : commandLines) {
        SCOPED_TRACE(commandLine);
        DialogWorld world(commandLine);
        world.saver().Form_KeyPress('1');
        for (int k = 0; k < 6; ++k)
            world.moveMouse();
        ASSERT_EQ(world.program.form1, nullptr);
        world.dialog().ComboT.setListIndex(SystemDigital);
        world.dialog().CmdPRO_Click();
        world.dialog().CmdPRO_Click();
        EXPECT_EQ(world.program.screens().size(), 1u);
        EXPECT_EQ(world.platform.runningTimers(), TimersOfOneScreen);
        world.program.DiscardUnloaded();
        world.platform.advance(2000);
        EXPECT_FALSE(world.platform.ended());
    }
}

TEST(DialogPreview, InConfigurationModeTheNewScreenShowsTheDialogAgain)
{
    DialogWorld world("/c");
    world.dialog().ComboT.setListIndex(SystemDigital);
    world.dialog().CmdPRO_Click();
    EXPECT_TRUE(world.dialog().Visible);
    EXPECT_EQ(world.program.form1, nullptr);
}

TEST(DialogInformation, HidesThePictureAndShowsTheTextAndLink)
{
    DialogWorld world;
    Form2& dialog = world.dialog();
    dialog.cmdS_Click(2);
    dialog.cmdHELP_Click();
    for (int i = 0; i < 12; ++i)
        EXPECT_FALSE(dialog.Shape[i].Visible) << i;
    EXPECT_FALSE(dialog.lblTIME.Visible);
    EXPECT_TRUE(dialog.LblINFO.Visible);
    EXPECT_TRUE(dialog.lblLINK.Visible);
    dialog.cmdS_Click(0);
    EXPECT_TRUE(dialog.Shape[0].Visible);
    EXPECT_TRUE(dialog.lblTIME.Visible);
    EXPECT_FALSE(dialog.LblINFO.Visible);
}

} // namespace
} // namespace vortexa
