#include <gtest/gtest.h>

#include <numbers>

#include "scene/script_steps.h"

namespace vortexa {
namespace {

// "Opposition" on a screen of 30000 x 15000 twips: the block of 3000 at (10000, 5000) moving
// (15, 15), circle 1 of 600 across.
struct OppositionScene {
    SaverScreen screen;
    ModuleState module;

    explicit OppositionScene(int n = 2, int32_t screenWidth = 30000)
    {
        screen.ScreenWidth = screenWidth;
        screen.ScreenHeight = 15000;
        module.CircleCount = static_cast<float>(n);
        for (int k = 1; k < n; ++k) {
            screen.LoadShape(k);
            screen.Shape[k].Width = 600;
            screen.Shape[k].Height = 600;
            module.Diameter[k] = 600;
            screen.StepX[k] = 10;
            screen.StepY[k] = 20;
            screen.Shape[k].Move(2000, 2000);
        }
        screen.Shape[0].Width = 3000;
        screen.Shape[0].Height = 3000;
        screen.Shape[0].Move(10000, 5000);
        module.Diameter[0] = 3000;
        module.Radius[0] = 1500;
        screen.StepX[0] = 15;
        screen.StepY[0] = 15;
    }
};

TEST(OppositionStep, CircleRulesAgainstTheEdgesAndTheBlockFaces)
{
    // The block's faces: top 5000, left 10000, right 13000, bottom 8000; d = 600.
    const struct {
        const char* what;
        float left, top;
        int32_t stepX, stepY;
        float newLeft, newTop;
        int32_t newStepX, newStepY;
    } rows[] = {
        {"on the bottom limit: no turn, then lifted once", 2000, 14400, 10, 20, 2010, 14405, 10, 20},
        {"one twip lower: turned", 2000, 14401, 10, 20, 2010, 14381, 10, -20},
        {"on the left edge: no turn", 0, 2000, -10, 20, -10, 2020, -10, 20},
        {"past the left edge: turned", -1, 2000, -10, 20, 9, 2020, 10, 20},
        {"level with the block's top at its left face: no turn", 9500, 5000, 10, 20, 9510, 5020, 10, 20},
        {"just below the block's top at its left face: turned and moved back", 9500, 5001, 10, 20, 9480, 5021, -10, 20},
        {"level with the block's top at its right face: turned", 12500, 5000, 10, 20, 12480, 5020, -10, 20},
        {"inside the block, rising past its top: turned and moved back", 11000, 4999, 10, -20, 11010, 5039, 10, 20},
        {"above the top face, beyond its widened span: no turn", 9700, 4700, 10, 20, 9710, 4720, 10, 20},
        {"above the top face, within its widened span: turned", 9701, 4700, 10, 20, 9711, 4660, 10, -20},
        {"rising across the bottom face: turned", 12000, 7500, 10, -20, 12010, 7540, 10, 20},
        {"past the bottom and right edges: lifted, not pushed left", 29500, 14401, -10, -20, 29510, 14406, 10, 20},
        {"past the right edge only: pushed left", 29500, 2000, -10, 20, 29495, 2020, 10, 20},
    };
    for (const auto& row : rows) {
        OppositionScene scene;
        scene.screen.Shape[1].Move(row.left, row.top);
        scene.screen.StepX[1] = row.stepX;
        scene.screen.StepY[1] = row.stepY;
        OppositionStep(scene.screen, scene.module);
        SCOPED_TRACE(row.what);
        EXPECT_EQ(scene.screen.Shape[1].Left, row.newLeft);
        EXPECT_EQ(scene.screen.Shape[1].Top, row.newTop);
        EXPECT_EQ(scene.screen.StepX[1], row.newStepX);
        EXPECT_EQ(scene.screen.StepY[1], row.newStepY);
    }
}

TEST(OppositionStep, AnOddDiameterWidensTheSpanByATrueHalf)
{
    OppositionScene scene;
    scene.module.Diameter[1] = 601; // the span of the top face starts at 10000 - 300.5
    scene.screen.Shape[1].Move(9700, 4700);
    OppositionStep(scene.screen, scene.module);
    EXPECT_EQ(scene.screen.StepY[1], -20);
}

TEST(OppositionStep, TheLoopHandlesCircles1ToCircleCountLess1)
{
    OppositionScene scene(10);
    OppositionStep(scene.screen, scene.module);
    for (int i = 1; i < 10; ++i)
        EXPECT_EQ(scene.screen.Shape[i].Left, 2010) << i;
    EXPECT_EQ(scene.module.LoopIndex, 10);
}

TEST(OppositionStep, TheBlockKeepsItsMarginJudgedOnTheSnapshot)
{
    // The margin is Diameter(1) = 600; the far limits are 30000 - 3000 - 600 and 15000 - 3000 - 600.
    const struct {
        float left, top;
        int32_t stepX, stepY;
        float newLeft, newTop;
    } rows[] = {
        {600, 600, -15, -15, 585, 585}, // on the margin line: moves past it by one step
        {599, 599, -15, -15, 614, 614}, // past it: turned and moved by the turned step
        {26400, 11400, 15, 15, 26415, 11415}, {26401, 11401, 15, 15, 26386, 11386},
        {1000.4f, 1000.6f, 15, 15, 1015, 1016}, // the snapshot is in whole twips
    };
    for (const auto& row : rows) {
        OppositionScene scene;
        scene.screen.Shape[0].Move(row.left, row.top);
        scene.screen.StepX[0] = row.stepX;
        scene.screen.StepY[0] = row.stepY;
        OppositionStep(scene.screen, scene.module);
        EXPECT_EQ(scene.screen.Shape[0].Left, row.newLeft) << row.left;
        EXPECT_EQ(scene.screen.Shape[0].Top, row.newTop) << row.top;
    }
}

TEST(OppositionStep, TheBlockDriftsOnAScreenWiderThanSixteenBitsOfTwips)
{
    OppositionScene scene(2, 3840 * 15);
    scene.screen.Shape[0].Move(40000, 5000);
    scene.screen.Shape[1].Move(38000, 5500); // against the block's left face
    scene.screen.StepX[1] = 10;
    OppositionStep(scene.screen, scene.module);
    EXPECT_EQ(scene.screen.Shape[0].Left, 40015);
    EXPECT_EQ(scene.screen.StepX[0], 15);
    scene.screen.Shape[1].Move(39500, 5500);
    OppositionStep(scene.screen, scene.module);
    EXPECT_EQ(scene.screen.StepX[1], -10);
}

TEST(OppositionStep, TheDialTrailsTheBlockByOneStep)
{
    OppositionScene scene;
    scene.module.GraphicClock = true;
    for (int k = 1; k <= 4; ++k) {
        scene.screen.LoadShapeS(k);
        scene.screen.ShapeS[k].Width = k == 1 ? 150 : 400;
    }
    scene.module.Radius[0] = 1750;
    OppositionStep(scene.screen, scene.module);
    EXPECT_EQ(scene.screen.Shape[0].Left, 10015);
    EXPECT_EQ(scene.screen.LineS[0].X1, 10000 + 1750);
    EXPECT_EQ(scene.screen.ShapeS[1].Left, 10000 + 1750 - 75);
    EXPECT_EQ(scene.screen.ShapeS[1].Top, 5000 + 1750 - 75);
}

TEST(DialPlacement, HandsDiscsLabelsAndHubFollowTheAngles)
{
    OppositionScene scene;
    scene.module.GraphicClock = true;
    for (int k = 1; k <= 4; ++k) {
        scene.screen.LoadShapeS(k);
        scene.screen.ShapeS[k].Width = k == 1 ? 150 : 400;
    }
    scene.module.HandAngle = {static_cast<float>(-std::numbers::pi / 2), 0, static_cast<float>(std::numbers::pi)};
    PlaceDial(scene.screen, scene.module, {5000, 10000}); // centre (11500, 6500)
    const SaverScreen& screen = scene.screen;
    EXPECT_FLOAT_EQ(screen.LineS[0].X2, 11500);
    EXPECT_FLOAT_EQ(screen.LineS[0].Y2, 6500 - 1200);
    EXPECT_FLOAT_EQ(screen.ShapeS[2].Top, 6500 - 1400 - 200);
    EXPECT_FLOAT_EQ(screen.lblS[0].Top, 6500 - 1400 - 200 + 115);
    EXPECT_FLOAT_EQ(screen.LineS[1].X2, 11500 + 800);
    EXPECT_FLOAT_EQ(screen.ShapeS[3].Left, 11500 + 1000 - 200);
    EXPECT_FLOAT_EQ(screen.LineS[2].X2, 11500 - 400);
    EXPECT_FLOAT_EQ(screen.ShapeS[4].Left, 11500 - 600 - 200);
    EXPECT_EQ(screen.ShapeS[1].Left, 11500 - 75);
}

TEST(DialPlacement, WithoutTheDialsPartsTheTimeLabelIsCentredOnTheBlock)
{
    for (const bool graphicClock : {true, false}) {
        OppositionScene scene;
        scene.module.GraphicClock = graphicClock;
        scene.screen.TimeHalfWidth = 825;
        scene.screen.TimeHalfHeight = 270;
        PlaceDial(scene.screen, scene.module, {5000, 10000});
        EXPECT_EQ(scene.screen.lblT.Left, 11500 - 825);
        EXPECT_EQ(scene.screen.lblT.Top, 6500 - 270);
        EXPECT_EQ(scene.screen.LineS[0].X1, 0);
    }
}

} // namespace
} // namespace vortexa
