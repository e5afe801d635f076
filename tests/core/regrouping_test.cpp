#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "saver/form1.h"
#include "scene/script_steps.h"
#include "state/program.h"

namespace vortexa {
namespace {

struct Regrouping {
    SaverScreen screen;
    ModuleState module;

    Regrouping(int16_t scenario, int n)
    {
        module.Scenario = scenario;
        FillColorTable(module);
        screen.ScreenWidth = 28800;
        screen.ScreenHeight = 16200;
        for (int k = 1; k < n; ++k)
            screen.LoadShape(k);
        for (int k = 0; k < n; ++k) {
            screen.Shape[k].Width = 600;
            screen.Shape[k].Move(100.0f * k, 50);
        }
        screen.Shape[0].Width = 3000;
    }
    // Runs the minute ticks that lead up to a regrouping.
    void regroupOnTheThirdMinute()
    {
        for (int minute = 0; minute < 3; ++minute)
            Regroup(screen, module);
    }
};

TEST(Regrouping, OppositionRestoresEveryCircleInTheMiddleAndTheBlockAtHome)
{
    Regrouping scene(3, 4);
    scene.screen.Shape[0].BorderWidth = 2;
    scene.screen.Shape[1].Visible = false;
    scene.screen.Shape[2].BorderStyle = BorderDashed;
    scene.screen.Shape[2].BorderWidth = 1;
    scene.screen.Shape[3].BorderStyle = BorderDotted;
    scene.regroupOnTheThirdMinute();
    for (int i = 1; i < 4; ++i) {
        const ShapeElement& circle = scene.screen.Shape[i];
        EXPECT_TRUE(circle.Visible) << i;
        EXPECT_EQ(circle.BorderStyle, BorderSolid) << i;
        EXPECT_EQ(circle.BorderWidth, 2) << i;
        EXPECT_EQ(circle.Left, 14400 - 300) << i;
        EXPECT_EQ(circle.Top, 8100 - 300) << i;
    }
    EXPECT_EQ(scene.screen.Shape[0].Left, 600);
    EXPECT_EQ(scene.screen.Shape[0].Top, 600);
    EXPECT_EQ(scene.screen.MinuteCount, 0);
}

TEST(Regrouping, CaptureCentresEveryCircleAndKeepsCircle1Hidden)
{
    Regrouping scene(2, 3);
    scene.screen.Shape[1].Visible = false;
    scene.screen.Shape[2].Width = 1001; // the halves are true halves
    scene.regroupOnTheThirdMinute();
    EXPECT_EQ(scene.screen.Shape[0].Left, 14400 - 1500);
    EXPECT_FALSE(scene.screen.Shape[1].Visible);
    EXPECT_EQ(scene.screen.Shape[2].Left, 14400 - 500.5f);
}

TEST(Regrouping, IndependenceOnlyChangesColours)
{
    Regrouping scene(1, 9);
    scene.screen.Shape[3].Visible = false;
    scene.regroupOnTheThirdMinute();
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(scene.screen.Shape[i].Left, 100.0f * i);
    EXPECT_FALSE(scene.screen.Shape[3].Visible);
}

// The show itself, driven by its timers on the virtual clock.
std::vector<uint32_t> colours(const SaverScreen& screen)
{
    std::vector<uint32_t> result;
    for (int i = 0; i < screen.Shape.Count(); ++i)
        result.push_back(screen.Shape[i].BorderColor);
    return result;
}

TEST(Regrouping, TheFirstRecolouringComesOnTheThirdMinute)
{
    HeadlessPlatform platform(std::filesystem::temp_directory_path() / "vortexa-no-settings-here");
    Program program(platform);
    program.Start();
    ASSERT_FALSE(program.screens().empty());
    const SaverScreen& screen = program.screens().front()->screen;
    const std::vector<uint32_t> first = colours(screen);
    platform.advance(180000 - 1);
    EXPECT_EQ(colours(screen), first);
    EXPECT_EQ(screen.MinuteCount, 2);
    platform.advance(1);
    EXPECT_NE(colours(screen), first);
    EXPECT_EQ(screen.MinuteCount, 0);
}

} // namespace
} // namespace vortexa
