#include <gtest/gtest.h>

#include <cmath>

#include "dialog_world.h"
#include "records/numeric.h"
#include "scene/module_state.h"

namespace vortexa {
namespace {

TEST(ScriptButtons, SetTheCircleRangeAndKeepTheTrackBarInside)
{
    const struct {
        int firstButton;
        int value;
        int secondButton;
        int min, max, after;
    } rows[] = {
        {2, 15, 1, 6, 10, 10}, // "Opposition" 15, then "Capture"
        {2, 20, 0, 6, 12, 12},
        {0, 6, 2, 10, 20, 10}, // "Independence" 6, then "Opposition"
        {1, 10, 0, 6, 12, 10},
        {2, 10, 2, 10, 20, 10}, // the same button again keeps the position
        {0, 12, 1, 6, 10, 10},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.firstButton) + " at " + std::to_string(row.value) + " then "
            + std::to_string(row.secondButton));
        DialogWorld world;
        Form2& dialog = world.dialog();
        dialog.cmdS_Click(row.firstButton);
        dialog.Slider[0].setValue(row.value);
        ASSERT_EQ(dialog.Slider[0].Value(), row.value);
        dialog.cmdS_Click(row.secondButton);
        EXPECT_EQ(dialog.Slider[0].Min(), row.min);
        EXPECT_EQ(dialog.Slider[0].Max(), row.max);
        EXPECT_EQ(dialog.Slider[0].Value(), row.after);
        EXPECT_EQ(world.program.module.Scenario, row.secondButton + 1);
    }
}

TEST(ScriptButtons, OnlyThePressedButtonIsBold)
{
    DialogWorld world("/s", settingsText(8, 1, 2, 0, 3, 0, 1));
    Form2& dialog = world.dialog();
    ASSERT_TRUE(dialog.cmdS[2].FontBold);
    for (int pressed : {1, 0, 0, 2}) {
        dialog.cmdS_Click(pressed);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(dialog.cmdS[static_cast<size_t>(k)].FontBold, k == pressed) << pressed << " " << k;
    }
}

TEST(ScriptButtons, OnlyOppositionShowsTheCaptivesListBesideTheClockList)
{
    DialogWorld world;
    Form2& dialog = world.dialog();
    dialog.cmdS_Click(2);
    EXPECT_TRUE(dialog.ComboP.Visible);
    EXPECT_EQ(dialog.ComboT.Left, 1550);
    EXPECT_EQ(dialog.ComboT.Width, 1800);
    dialog.cmdS_Click(1);
    EXPECT_FALSE(dialog.ComboP.Visible);
    EXPECT_EQ(dialog.ComboT.Left, 120);
    EXPECT_EQ(dialog.ComboT.Width, 3135);
}

struct Box {
    float leftLow, leftHigh, topLow, topHigh;
};

bool inside(const ShapeElement& shape, const Box& box)
{
    return shape.Left >= box.leftLow && shape.Left <= box.leftHigh && shape.Top >= box.topLow
        && shape.Top <= box.topHigh && shape.Left == std::floor(shape.Left) && shape.Top == std::floor(shape.Top);
}

// Where each small circle of a picture may lie, by script button.
Box placeOf(int button, int i)
{
    if (button == 0)
        return {0, single(5655 - (100 * i + 500) - 1), 0, single(3255 - (100 * i + 500) - 1)};
    if (button == 1)
        return {700, 1949, 100, 1349};
    if (i == 1)
        return {3600, 4799, 200, 599};
    if (i == 2)
        return {1600, 2099, 1600, 2199};
    if (i == 3)
        return {500, 999, 1800, 2499};
    return {0, 2799, 0, 1299};
}

TEST(ScriptPictures, HaveTheirFixedCountsAndStayInTheirRanges)
{
    const struct {
        int button;
        int firstSmall, lastSmall;
        float width0;
        int shape0;
    } rows[] = {
        {0, 1, 8, 1800, ShapeCircle},
        {1, 3, 8, 2500, ShapeCircle},
        {2, 1, 11, 1800, ShapeRoundedRectangle},
    };
    DialogWorld world;
    Form2& dialog = world.dialog();
    const uint32_t neverDrawn = colourFromText(world.program.module.ColorTable[17]);
    for (int press = 0; press < 40; ++press) {
        for (const auto& row : rows) {
            SCOPED_TRACE("button " + std::to_string(row.button) + ", press " + std::to_string(press));
            dialog.cmdS_Click(row.button);
            EXPECT_EQ(dialog.Shape[0].Shape, row.shape0);
            EXPECT_EQ(dialog.Shape[0].Width, row.width0);
            EXPECT_EQ(dialog.Shape[0].Height, row.width0);
            int shown = 0;
            for (int i = 1; i < 12; ++i) {
                const ShapeElement& circle = dialog.Shape[i];
                const bool used = i >= row.firstSmall && i <= row.lastSmall;
                EXPECT_EQ(circle.Visible, used) << i;
                if (!used)
                    continue;
                ++shown;
                EXPECT_EQ(circle.Shape, ShapeCircle) << i;
                EXPECT_NE(circle.BorderColor, neverDrawn) << i;
                EXPECT_TRUE(inside(circle, placeOf(row.button, i))) << i << " at " << circle.Left << ", " << circle.Top;
            }
            EXPECT_EQ(shown, row.lastSmall - row.firstSmall + 1);
        }
    }
}

TEST(ScriptPictures, CaptureKeepsTheHeightsOfTheLastPicture)
{
    DialogWorld world;
    Form2& dialog = world.dialog();
    dialog.cmdS_Click(1);
    EXPECT_EQ(dialog.Shape[3].Width, 400);
    EXPECT_EQ(dialog.Shape[3].Height, 975); // as the dialog was loaded
    dialog.cmdS_Click(0);
    dialog.cmdS_Click(1);
    EXPECT_EQ(dialog.Shape[8].Width, 900);
    EXPECT_EQ(dialog.Shape[8].Height, 1300); // as "Independence" left it
}

TEST(ScriptPictures, TheSameButtonTwiceDrawsANewPicture)
{
    DialogWorld world;
    Form2& dialog = world.dialog();
    dialog.cmdS_Click(0);
    const ShapeElement first = dialog.Shape[5];
    dialog.cmdS_Click(0);
    EXPECT_TRUE(first.Left != dialog.Shape[5].Left || first.Top != dialog.Shape[5].Top);
    EXPECT_EQ(world.program.module.Scenario, 1);
}

TEST(ScriptPictures, TheTimeIsThatOfThePressCentredOnTheLargeShapeAndBehindIt)
{
    DialogWorld world;
    world.platform.setStartTime(9, 30, 5);
    Form2& dialog = world.dialog();
    world.platform.advance(3000);
    dialog.cmdS_Click(2);
    EXPECT_EQ(dialog.lblTIME.Caption, "9:30:08");
    world.platform.advance(5000);
    EXPECT_EQ(dialog.lblTIME.Caption, "9:30:08");
    const ShapeElement& block = dialog.Shape[0];
    EXPECT_EQ(dialog.lblTIME.Left + dialog.lblTIME.Width / 2, block.Left + block.Width / 2);
    EXPECT_EQ(dialog.lblTIME.Top + dialog.lblTIME.Height / 2, block.Top + block.Height / 2);
    EXPECT_EQ(dialog.PicDrawingOrder.backToFront().front(), (ElementRef {KindLblTIME, 0}));
}

} // namespace
} // namespace vortexa
