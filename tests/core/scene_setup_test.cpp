#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "dialog/form2.h"
#include "records/numeric.h"
#include "running_program.h"

namespace vortexa {
namespace {

std::vector<float> widths(const SaverScreen& screen)
{
    std::vector<float> result;
    for (int k = 0; k < screen.Shape.Count(); ++k)
        result.push_back(screen.Shape[k].Width);
    return result;
}

std::vector<int32_t> firstSteps(const std::array<int32_t, 21>& steps, int count)
{
    return {steps.begin(), steps.begin() + count};
}

TEST(SceneSetup, WithoutAFileIndependenceShowsNineCirclesAtTheDefaultSpeed)
{
    RunningProgram started;
    SaverScreen& screen = started.screen();
    ModuleState& module = started.module();
    EXPECT_EQ(module.Scenario, 1);
    EXPECT_EQ(module.Language, 1);
    EXPECT_EQ(module.ViewTime, "0");
    ASSERT_EQ(screen.Shape.Count(), 9);
    EXPECT_EQ(firstSteps(screen.StepX, 9), (std::vector<int32_t> {15, 25, 35, 45, 55, 65, 75, 85, 95}));
    EXPECT_EQ(firstSteps(screen.StepY, 9), (std::vector<int32_t> {9, 19, 29, 39, 49, 59, 69, 79, 89}));
    EXPECT_EQ(widths(screen), (std::vector<float> {3800, 3500, 3200, 2900, 2600, 2300, 2000, 1700, 1400}));
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(screen.Shape[k].Left, 0);
        EXPECT_EQ(screen.Shape[k].Top, 0);
        EXPECT_EQ(screen.Shape[k].BorderWidth, 1);
        EXPECT_TRUE(screen.Shape[k].Visible);
    }
    EXPECT_TRUE(screen.Timer1.Enabled);
    EXPECT_FALSE(screen.Timer2.Enabled);
    EXPECT_FALSE(screen.Timer3.Enabled);
    EXPECT_EQ(screen.Timer4.Interval, 1000);
    EXPECT_EQ(screen.Timer5.Interval, 60000);
    EXPECT_EQ(started.platform.runningTimers(), 3);
    EXPECT_EQ(module.CaptivesPrompt, "Captives?");
}

TEST(SceneSetup, IndependenceSizesDependOnTheCircleCount)
{
    EXPECT_EQ(widths(RunningProgram({settingsText(6, 1, 2, 0, 1, 0)}).screen()),
        (std::vector<float> {3300, 3000, 2700, 2400, 2100, 1800}));
    const auto twelve = widths(RunningProgram({settingsText(12, 1, 2, 0, 1, 0)}).screen());
    EXPECT_EQ(twelve.front(), 4800);
    EXPECT_EQ(twelve.back(), 1500);
    EXPECT_EQ(widths(RunningProgram({settingsText(7, 1, 2, 0, 1, 0)}).screen()).front(), 3800);
}

TEST(SceneSetup, LineWidthReachesEveryCircleThroughTheCopyRule)
{
    RunningProgram started({settingsText(8, 3, 2, 0, 1, 0)});
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(started.screen().Shape[k].BorderWidth, 3) << k;
}

TEST(SceneSetup, CaptureMakesCircleZeroTheCaptorAndHidesCircleOne)
{
    RunningProgram started({settingsText(6, 1, 1, 0, 2, 0)});
    SaverScreen& screen = started.screen();
    EXPECT_EQ(screen.StepY[0], 4);
    EXPECT_EQ(screen.StepX[0], 15);
    EXPECT_EQ(screen.Shape[0].Width, 7700);
    EXPECT_EQ(screen.Shape[0].Left, 0);
    EXPECT_FALSE(screen.Shape[1].Visible);
    EXPECT_EQ(screen.Shape[5].Width, 1450);
    EXPECT_EQ(screen.Shape[5].Left, 1700);
    EXPECT_EQ(screen.Shape[5].Top, 1700);
    EXPECT_EQ(screen.StepX[5], 0);
    EXPECT_EQ(started.module().Radius[5], 725);
    EXPECT_EQ(started.module().Radius[0], 3850); // measured again on the captor
    EXPECT_TRUE(screen.Timer2.Enabled);
}

TEST(SceneSetup, OppositionLinesTheCirclesUpNearTheBottomBesideTheBlock)
{
    RunningProgram started({settingsText(10, 1, 2, 0, 3, 0), "/s", 1024, 768});
    SaverScreen& screen = started.screen();
    EXPECT_EQ(screen.Shape[3].Left, 3544); // 46080 \ 13
    EXPECT_EQ(screen.Shape[3].Top, 768 * 15 - 1200);
    EXPECT_EQ(screen.StepX[3], 27);
    EXPECT_EQ(screen.StepY[3], 29);
    EXPECT_EQ(screen.Shape[3].FillColor, screen.Shape[3].BorderColor);
    const ShapeElement& block = screen.Shape[0];
    EXPECT_EQ(block.Shape, ShapeRoundedRectangle);
    EXPECT_EQ(block.Left, 600);
    EXPECT_EQ(block.Width, 3000);
    EXPECT_EQ(screen.StepX[0], 15);
    EXPECT_EQ(screen.StepY[0], 15);
    EXPECT_EQ(started.module().Diameter[0], 3000);
    EXPECT_EQ(started.module().Diameter[9], 600);
    EXPECT_TRUE(screen.Timer3.Enabled);
}

TEST(SceneSetup, DialClockIsBuiltWhateverTheScript)
{
    for (int scenario : {1, 2, 3}) {
        RunningProgram started({settingsText(10, 1, 2, 3, scenario, 1)});
        SaverScreen& screen = started.screen();
        EXPECT_TRUE(started.module().GraphicClock);
        EXPECT_EQ(screen.Shape[0].Width, 3500) << scenario;
        EXPECT_EQ(started.module().Radius[0], 1750) << scenario;
        EXPECT_FALSE(screen.lblT.Visible);
        ASSERT_EQ(screen.ShapeS.UBound(), 4);
        EXPECT_FALSE(screen.ShapeS[0].Visible);
        const ShapeElement& hub = screen.ShapeS[1];
        EXPECT_EQ(hub.Width, 150);
        EXPECT_EQ(hub.BorderWidth, 2);
        EXPECT_EQ(hub.BorderColor, screen.Shape[0].BorderColor);
        EXPECT_EQ(hub.BackColor, 0x008080FFu);
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(screen.ShapeS[j + 2].Width, 400);
            EXPECT_EQ(screen.ShapeS[j + 2].BorderColor, screen.LineS[j].BorderColor);
            EXPECT_TRUE(screen.LineS[j].Visible);
            EXPECT_TRUE(screen.lblS[j].Visible);
            EXPECT_EQ(screen.lblS[j].ForeColor, screen.LineS[j].BorderColor);
        }
    }
}

TEST(SceneSetup, DialLabelsAreDrawnOverTheirDiscsAndTheHandsBehindThem)
{
    RunningProgram running({settingsText(10, 1, 2, 1, 3, 1)});
    const auto& order = running.screen().drawingOrder.backToFront();
    const auto place = [&](int kind, int index) {
        return std::find(order.begin(), order.end(), ElementRef {kind, index}) - order.begin();
    };
    for (int j = 0; j < 3; ++j) {
        EXPECT_LT(place(KindShapeS, j + 2), place(KindLblS, j)) << j;
        EXPECT_LT(place(KindLineS, j), place(KindShapeS, j + 2)) << j;
        EXPECT_LT(place(KindLineS, j), place(KindShape, 0)) << j;
    }
    EXPECT_LT(place(KindShape, 9), place(KindLblS, 0));
}

TEST(SceneSetup, DigitalClockBuildsNoDial)
{
    RunningProgram started({settingsText(10, 1, 2, 2, 3, 1)});
    EXPECT_FALSE(started.module().GraphicClock);
    EXPECT_EQ(started.screen().ShapeS.Count(), 1);
    EXPECT_TRUE(started.screen().lblT.Visible);
}

TEST(SceneSetup, NoClockHidesTheTimeLabelAfterItWasMeasured)
{
    RunningProgram started({settingsText(9, 1, 2, 4, 1, 0)});
    EXPECT_FALSE(started.screen().lblT.Visible);
    EXPECT_EQ(started.screen().TimeHalfWidth, 825);
    EXPECT_EQ(started.screen().TimeHalfHeight, 270);
    EXPECT_EQ(started.screen().drawingOrder.backToFront().front(), (ElementRef {KindLblT, 0}));
}

TEST(SceneSetup, HintSitsOnTheBottomEdgeInGrey)
{
    RunningProgram started;
    const LabelElement& hint = started.screen().lblF1;
    EXPECT_EQ(hint.Left, 10);
    EXPECT_EQ(hint.Top + hint.Height, 1080 * 15);
    EXPECT_EQ(hint.ForeColor, rgb(90, 90, 90));
    EXPECT_EQ(hint.Caption, "Click <1> for setup");
}

TEST(SceneSetup, EveryRunDrawsTheSameColours)
{
    RunningProgram first({settingsText(20, 1, 2, 0, 3, 0)});
    RunningProgram second({settingsText(20, 1, 2, 0, 3, 0)});
    std::set<uint32_t> distinct;
    for (int k = 0; k < 20; ++k) {
        EXPECT_EQ(first.screen().Shape[k].BorderColor, second.screen().Shape[k].BorderColor);
        distinct.insert(first.screen().Shape[k].BorderColor);
    }
    EXPECT_GT(distinct.size(), 3u);
    EXPECT_EQ(distinct.count(colourFromText("&HDDDDAA")), 0u);
}

TEST(SceneSetup, HandEditedValuesAreHeldWithinWhatTheSceneCanHold)
{
    const struct Row {
        const char* name;
        std::string file;
        int circles;
        int lineWidth;
        int firstStepX;
        bool scriptTimer;
    } rows[] = {
        {"too many circles", settingsText(500, 1, 2, 0, 1, 0), 12, 1, 15, true},
        {"too many captured circles", settingsText(500, 1, 2, 0, 2, 0), 10, 1, 15, true},
        {"too many circles against the block", settingsText(500, 1, 2, 0, 3, 0), 20, 1, 15, true},
        {"thirteen circles of Independence", settingsText(13, 1, 2, 0, 1, 0), 12, 1, 15, true},
        {"one circle", settingsText(1, 1, 2, 0, 1, 0), 6, 1, 15, true},
        {"negative circles", settingsText(-8, 1, 2, 0, 3, 0), 10, 1, 15, true},
        {"one captured circle is held to six", settingsText(1, 1, 2, 0, 2, 0), 6, 1, 15, true},
        {"thick lines", settingsText(9, 9, 2, 0, 1, 0), 9, 3, 15, true},
        {"no lines", settingsText(9, 0, 2, 0, 1, 0), 9, 1, 15, true},
        {"fastest and beyond", settingsText(9, 1, 99, 0, 1, 0), 9, 1, 30, true},
        {"slowest and below", settingsText(9, 1, -4, 0, 1, 0), 9, 1, 10, true},
        {"a script beyond the last takes the last", settingsText(9, 1, 2, 0, 7, 0), 10, 1, 15, true},
        {"script beyond 16 bits", "krugN=9\r\nBorderWidth=1\r\nSpeed=2\r\nviewTime=0\r\nScenario=99999999\r\n", 10, 1,
            15, true},
        {"words instead of numbers", "krugN=many\r\nBorderWidth=thin\r\nSpeed=fast\r\nviewTime=x\r\nScenario=1\r\n", 9,
            1, 15, true},
        {"only two lines", "krugN=7\r\nBorderWidth=2\r\n", 7, 2, 15, true},
    };
    for (const Row& row : rows) {
        RunningProgram started({row.file});
        const SaverScreen& screen = started.screen();
        EXPECT_EQ(screen.Shape.Count(), row.circles) << row.name;
        EXPECT_EQ(screen.Shape[0].BorderWidth, row.lineWidth) << row.name;
        if (row.scriptTimer) {
            EXPECT_EQ(screen.StepX[0], row.firstStepX) << row.name;
        }
        EXPECT_EQ(screen.Timer1.Enabled || screen.Timer2.Enabled || screen.Timer3.Enabled, row.scriptTimer) << row.name;
        EXPECT_FALSE(started.platform.ended()) << row.name;
    }
}

TEST(SceneSetup, PreviewTakesTheDialogsControls)
{
    RunningProgram started;
    Form2& dialog = started.program.dialog();
    dialog.Slider[0].setValue(11);
    dialog.Slider[1].setValue(2);
    dialog.Slider[2].setValue(5);
    dialog.ComboT.setListIndex(2);
    dialog.ComboP.setListIndex(1);
    started.module().PreviewMode = true;
    started.program.Unload(started.program.form1);
    Form1* preview = started.program.CreateSaverScreen();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->screen.Shape.Count(), 11);
    EXPECT_EQ(preview->screen.Shape[5].BorderWidth, 2);
    EXPECT_EQ(preview->screen.StepX[0], 30);
    EXPECT_EQ(started.module().ViewTime, "2");
    EXPECT_EQ(started.module().Captives, "1");
    EXPECT_EQ(started.platform.runningTimers(), 3);
}

TEST(SceneSetup, ADialClockOnceBuiltStaysOnForLaterStartUps)
{
    RunningProgram started({settingsText(12, 1, 2, 1, 3, 1)});
    started.module().PreviewMode = true;
    started.program.dialog().ComboT.setListIndex(0);
    started.program.Unload(started.program.form1);
    Form1* preview = started.program.CreateSaverScreen();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(started.module().GraphicClock);
    EXPECT_EQ(preview->screen.ShapeS.Count(), 1);
}

} // namespace
} // namespace vortexa
