#include <gtest/gtest.h>

#include "scene/script_steps.h"

namespace vortexa {
namespace {

// A scene of n circles on a screen of 1000 x 800 twips, all at (0, 0) and 100 across.
struct Scene {
    SaverScreen screen;
    ModuleState module;

    explicit Scene(int n, float size = 100)
    {
        screen.ScreenWidth = 1000;
        screen.ScreenHeight = 800;
        for (int k = 1; k < n; ++k)
            screen.LoadShape(k);
        for (int k = 0; k < n; ++k) {
            screen.Shape[k].Width = size;
            screen.Shape[k].Height = size;
        }
    }
};

TEST(IndependenceStep, EdgesAreStrictAndReflectionOnlyNegates)
{
    const struct {
        float left, top;
        int32_t stepX, stepY;
        float newLeft, newTop;
        int32_t newStepX, newStepY;
    } rows[] = {
        {500, 700, 10, 20, 510, 720, 10, 20}, // on the bottom limit: no turn
        {500, 701, 10, 20, 510, 681, 10, -20},
        {500, 701, 10, -20, 510, 721, 10, 20}, // a wrong-way step is negated all the same
        {0, 300, -10, 5, -10, 305, -10, 5}, // on the left edge: no turn
        {-1, 300, -10, 5, 9, 305, 10, 5}, {900, 300, 10, 5, 910, 305, 10, 5}, // on the right limit: no turn
        {900.5f, 300, 10, 5, 890.5f, 305, -10, 5}, {500, 0, 10, -20, 510, -20, 10, -20}, // on the top edge: no turn
        {500, -0.5f, 10, -20, 510, 19.5f, 10, 20},
        {1200, 900, 10, 20, 1190, 880, -10, -20}, // beyond two edges: it jitters, nothing clamps it
    };
    for (const auto& row : rows) {
        Scene scene(1);
        scene.screen.Shape[0].Move(row.left, row.top);
        scene.screen.StepX[0] = row.stepX;
        scene.screen.StepY[0] = row.stepY;
        IndependenceStep(scene.screen, scene.module);
        SCOPED_TRACE(testing::Message() << "at (" << row.left << ", " << row.top << ")");
        EXPECT_EQ(scene.screen.Shape[0].Left, row.newLeft);
        EXPECT_EQ(scene.screen.Shape[0].Top, row.newTop);
        EXPECT_EQ(scene.screen.StepX[0], row.newStepX);
        EXPECT_EQ(scene.screen.StepY[0], row.newStepY);
    }
}

TEST(IndependenceStep, TwoTurnsOnOneAxisCancel)
{
    Scene scene(1, 900); // taller than the screen: above the top and past the bottom limit at once
    scene.screen.Shape[0].Move(50, -10);
    scene.screen.StepY[0] = -7;
    IndependenceStep(scene.screen, scene.module);
    EXPECT_EQ(scene.screen.StepY[0], -7);
    EXPECT_EQ(scene.screen.Shape[0].Top, -17);
}

TEST(IndependenceStep, EveryCircleMovesAndTheLabelRidesOnCircle0AfterItsMove)
{
    Scene scene(3);
    for (int i = 0; i < 3; ++i) {
        scene.screen.Shape[i].Move(100, 200);
        scene.screen.StepX[i] = 10 * (i + 1);
        scene.screen.StepY[i] = i + 1;
    }
    scene.screen.Shape[0].Move(-40, 200); // partly off the screen, moving left
    scene.screen.StepX[0] = -10;
    scene.module.Radius[0] = 50;
    scene.screen.TimeHalfWidth = 825;
    scene.screen.TimeHalfHeight = 270;
    IndependenceStep(scene.screen, scene.module);
    EXPECT_EQ(scene.screen.Shape[1].Left, 120);
    EXPECT_EQ(scene.screen.Shape[2].Left, 130);
    EXPECT_EQ(scene.screen.Shape[2].Top, 203);
    EXPECT_EQ(scene.screen.Shape[0].Left, -30); // turned at the left edge
    EXPECT_EQ(scene.screen.lblT.Left, -30 + 50 - 825);
    EXPECT_EQ(scene.screen.lblT.Top, 201 + 50 - 270);
}

// "Capture": circle 0 of 7700 at (0, 0), radius 3850, centre (3850, 3850) on a wide screen;
// captured circles of 1000, radius 500.
struct CaptureScene : Scene {
    explicit CaptureScene(int n)
        : Scene(n, 1000)
    {
        screen.ScreenWidth = 28800;
        screen.ScreenHeight = 16200;
        screen.Shape[0].Width = 7700;
        screen.Shape[0].Height = 7700;
        module.Radius[0] = 3850;
        module.Diameter[0] = 7700;
        screen.StepX[0] = 15;
        screen.StepY[0] = 6;
        for (int i = 1; i < n; ++i) {
            module.Radius[i] = 500;
            placeCentre(i, 3850, 3850);
            screen.StepY[i] = 20;
        }
    }
    void placeCentre(int i, float x, float y) { screen.Shape[i].Move(x - 500, y - 500); }
};

TEST(CaptureStep, ACircleOutsideTurnsAQuarterTurnInwardsAndJumps)
{
    // The boundary lies 3350 from the centre; circle 2 turns with speed 35.
    const struct {
        int32_t stepX, stepY;
        float x, y; // centre of circle 2 before the tick
        int32_t newStepX, newStepY;
        float newLeft, newTop;
    } rows[] = {
        {0, 20, 3850, 3850 + 3351, 35, 0, 3350 + 135, 6701}, // moving down: now right
        {20, 0, 3850 + 3351, 3850, 0, -35, 6701, 3350 - 135}, // moving right: now up
        {0, -20, 3850, 3850 - 3351, -35, 0, 3350 - 135, -1}, // moving up: now left
        {-20, 0, 3850 - 3351, 3850, 0, 35, -1, 3350 + 135}, // moving left: now down
    };
    for (const auto& row : rows) {
        CaptureScene scene(3);
        scene.placeCentre(2, row.x, row.y);
        scene.screen.StepX[2] = row.stepX;
        scene.screen.StepY[2] = row.stepY;
        SCOPED_TRACE(testing::Message() << "steps " << row.stepX << ", " << row.stepY);
        EXPECT_FALSE(CaptureStep(scene.screen, scene.module));
        EXPECT_EQ(scene.screen.StepX[2], row.newStepX);
        EXPECT_EQ(scene.screen.StepY[2], row.newStepY);
        EXPECT_EQ(scene.screen.Shape[2].Left, row.newLeft);
        EXPECT_EQ(scene.screen.Shape[2].Top, row.newTop);
        EXPECT_EQ(scene.module.Distance[2], 3351);
    }
}

TEST(CaptureStep, ACircleOnTheBoundaryIsStillInside)
{
    CaptureScene scene(3);
    scene.placeCentre(2, 3850, 3850 + 3350);
    EXPECT_TRUE(CaptureStep(scene.screen, scene.module));
    EXPECT_EQ(scene.screen.StepY[2], 20);
    EXPECT_EQ(scene.screen.Shape[2].Top, 3350 + 3350 + 20);
}

TEST(CaptureStep, OnlyTheFirstCircleOutsideTurnsAndTheTickEnds)
{
    CaptureScene scene(5);
    scene.placeCentre(3, 3850, 3850 + 3400);
    scene.placeCentre(4, 3850, 3850 + 3400);
    scene.screen.lblT.Move(1, 2);
    EXPECT_FALSE(CaptureStep(scene.screen, scene.module));
    EXPECT_EQ(scene.screen.Shape[2].Top, 3350 + 20); // before the turn: moved
    EXPECT_EQ(scene.screen.StepX[3], 45); // turned with its own speed
    EXPECT_EQ(scene.screen.Shape[3].Top, 3350 + 3400); // turned, without the ordinary move
    EXPECT_EQ(scene.screen.StepY[4], 20); // after it: untouched
    EXPECT_EQ(scene.screen.Shape[4].Top, 3350 + 3400);
    EXPECT_EQ(scene.screen.Shape[0].Left, 0); // circle 0 and the label stay
    EXPECT_EQ(scene.screen.lblT.Left, 1);
    EXPECT_EQ(scene.module.LoopIndex, 3);
}

TEST(CaptureStep, ACircleStuckOutsideIsPutBackInTheMiddleAfterAFullRound)
{
    // Far outside, each of the four jumps (135 twips) leaves circle 2 outside: without help it would
    // turn on the spot and the scene would stand still.
    CaptureScene scene(3);
    scene.placeCentre(2, 3850, 3850 + 5000);
    for (int turn = 1; turn <= 3; ++turn) {
        EXPECT_FALSE(CaptureStep(scene.screen, scene.module)) << turn;
        EXPECT_GT(scene.module.Distance[2], 3350) << turn;
    }
    EXPECT_FALSE(CaptureStep(scene.screen, scene.module));
    EXPECT_EQ(scene.screen.Shape[2].Left, 3350); // in the middle of circle 0, moving down again
    EXPECT_EQ(scene.screen.Shape[2].Top, 3350);
    EXPECT_EQ(scene.screen.StepY[2], 35);
    EXPECT_TRUE(CaptureStep(scene.screen, scene.module));
    EXPECT_EQ(scene.screen.Shape[0].Left, 15); // the scene moves on
}

TEST(CaptureStep, TurnsCountOnlyInARowWithoutAMove)
{
    // Three turns, a tick inside, and three more: never a full round, so no help.
    CaptureScene scene(3);
    scene.screen.TurnsInARow[2] = 3;
    EXPECT_TRUE(CaptureStep(scene.screen, scene.module));
    EXPECT_EQ(scene.screen.TurnsInARow[2], 0);
    scene.placeCentre(2, 3850, 3850 + 3400);
    EXPECT_FALSE(CaptureStep(scene.screen, scene.module));
    EXPECT_EQ(scene.screen.Shape[2].Left, 3350 + 35 + 100); // an ordinary turn, not a return to the middle
}

TEST(CaptureStep, ACircleWithNoSingleDirectionRunsOnOutside)
{
    CaptureScene scene(3);
    scene.placeCentre(2, 3850 + 4000, 3850);
    scene.screen.StepX[2] = 10;
    scene.screen.StepY[2] = 20;
    EXPECT_TRUE(CaptureStep(scene.screen, scene.module));
    EXPECT_EQ(scene.screen.Shape[2].Left, 3350 + 4000 + 10);
    EXPECT_EQ(scene.screen.Shape[0].Left, 15);
}

TEST(CaptureStep, Circle0TurnsStrictlyPastTheRecordedDiameter)
{
    const struct {
        float left, top;
        int32_t newStepX, newStepY;
    } rows[] = {
        {21100, 8500, 15, 6}, // exactly on both limits of 28800 - 7700 and 16200 - 7700
        {21101, 8501, -15, -6},
        {0, 0, 15, 6},
        {-1, -1, -15, -6},
    };
    for (const auto& row : rows) {
        CaptureScene scene(1);
        scene.screen.Shape[0].Width = 100; // the live size plays no part
        scene.screen.Shape[0].Move(row.left, row.top);
        EXPECT_TRUE(CaptureStep(scene.screen, scene.module));
        EXPECT_EQ(scene.screen.StepX[0], row.newStepX) << row.left;
        EXPECT_EQ(scene.screen.StepY[0], row.newStepY) << row.top;
        EXPECT_EQ(scene.screen.Shape[0].Left, row.left + row.newStepX);
    }
}

} // namespace
} // namespace vortexa
