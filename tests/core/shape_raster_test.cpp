#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "backend_kit/shape_raster.h"

namespace vortexa {
namespace {

constexpr uint32_t Clear = 0;

ShapeElement shapeOf(int kind, float width, float height, int borderWidth, int borderStyle = BorderSolid)
{
    ShapeElement shape;
    shape.Shape = kind;
    shape.Width = width;
    shape.Height = height;
    shape.BorderWidth = borderWidth;
    shape.BorderStyle = borderStyle;
    shape.BorderColor = rgb(0x10, 0x20, 0x30);
    return shape;
}

int coveredPixels(const RasterPicture& picture)
{
    int covered = 0;
    for (const uint32_t pixel : picture.pixels)
        covered += pixel != Clear ? 1 : 0;
    return covered;
}

// Every shape of every border width reaches the edges of its box and no further: the picture is the
// box, and its outermost rows and columns are lit where the outline touches them.
TEST(ShapeRaster, BordersLieInsideTheirBoxAndReachItsEdges)
{
    for (const int kind : {ShapeRectangle, ShapeOval, ShapeCircle, ShapeRoundedRectangle})
        for (const int width : {1, 2, 3, 10}) {
            const ShapeElement shape = shapeOf(kind, 1500, 900, width);
            const RasterPicture picture = rasteriseShape(shape);
            ASSERT_EQ(picture.width, 100) << kind << ' ' << width;
            ASSERT_EQ(picture.height, 60) << kind << ' ' << width;
            const int left = kind == ShapeCircle ? 20 : 0, right = kind == ShapeCircle ? 79 : 99;
            EXPECT_TRUE(picture.covered(50, 0)) << kind << ' ' << width;
            EXPECT_TRUE(picture.covered(50, 59)) << kind << ' ' << width;
            EXPECT_TRUE(picture.covered(left, 30)) << kind << ' ' << width;
            EXPECT_TRUE(picture.covered(right, 30)) << kind << ' ' << width;
            EXPECT_FALSE(picture.covered(left + width, 30)) << kind << ' ' << width;
            if (kind == ShapeCircle) {
                EXPECT_FALSE(picture.covered(left - 1, 30)) << width;
            }
        }
}

// A square takes the shorter side, as a circle does; a border wider than its shape fills the shape
// rather than turning it inside out; a box of no size or a shape the records do not know draws
// nothing or a rectangle, and never fails.
TEST(ShapeRaster, OddShapesAndSizesStaySound)
{
    const RasterPicture square = rasteriseShape(shapeOf(ShapeSquare, 1500, 900, 1));
    EXPECT_FALSE(square.covered(10, 30));
    EXPECT_TRUE(square.covered(20, 30));
    const RasterPicture stuffed = rasteriseShape(shapeOf(ShapeCircle, 120, 120, 40));
    EXPECT_EQ(coveredPixels(stuffed), 8 * 8 - 12);
    EXPECT_TRUE(stuffed.covered(4, 4));
    for (const auto& [width, height] : {std::pair {0.f, 300.f}, std::pair {300.f, -30.f}, std::pair {3.f, 3.f}})
        EXPECT_EQ(rasteriseShape(shapeOf(ShapeCircle, width, height, 1)).pixels.size(), 0u) << width << ' ' << height;
    const RasterPicture unknown = rasteriseShape(shapeOf(42, 300, 300, -5, 99));
    EXPECT_EQ(coveredPixels(unknown), 0);
    const RasterPicture unknownKind = rasteriseShape(shapeOf(42, 300, 300, 1));
    EXPECT_EQ(coveredPixels(unknownKind), 4 * 20 - 4);
}

// Dashes and dots leave gaps in the share their pattern gives: dash 4, gap 2; dot 1, gap 2; and so
// on, in pen widths.
TEST(ShapeRaster, DashesAndDotsLeaveTheirShareOfGaps)
{
    const struct {
        int style;
        double share;
    } rows[] = {
        {BorderSolid, 1},
        {BorderInsideSolid, 1},
        {BorderTransparent, 0},
        {BorderDashed, 4.0 / 6},
        {BorderDotted, 1.0 / 3},
        {BorderDashDot, 5.0 / 9},
        {BorderDashDotDot, 6.0 / 12},
    };
    for (const int width : {1, 3})
        for (const auto& row : rows) {
            const double solid = coveredPixels(rasteriseShape(shapeOf(ShapeCircle, 3000, 3000, width)));
            const double styled = coveredPixels(rasteriseShape(shapeOf(ShapeCircle, 3000, 3000, width, row.style)));
            EXPECT_NEAR(styled / solid, row.share, 0.06) << row.style << ' ' << width;
        }
}

// Inside the border: a solid fill, or a hatch over the background when that is opaque, or nothing.
TEST(ShapeRaster, FillAndBackgroundFollowTheirStyles)
{
    constexpr uint32_t Fill = 0xFF445566, Back = 0xFF112233;
    const struct {
        int backStyle, fillStyle;
        std::set<uint32_t> inside;
    } rows[] = {
        {BackTransparent, FillTransparent, {Clear}},
        {BackOpaque, FillTransparent, {Back}},
        {BackOpaque, FillSolid, {Fill}},
        {BackTransparent, FillSolid, {Fill}},
        {BackTransparent, FillHorizontalLines, {Fill, Clear}},
        {BackOpaque, FillDiagonalCross, {Fill, Back}},
        {BackOpaque, 42, {Back}},
    };
    for (const auto& row : rows) {
        ShapeElement shape = shapeOf(ShapeRoundedRectangle, 1500, 1500, 1);
        shape.BackStyle = row.backStyle;
        shape.BackColor = rgb(0x11, 0x22, 0x33);
        shape.FillStyle = row.fillStyle;
        shape.FillColor = rgb(0x44, 0x55, 0x66);
        const RasterPicture picture = rasteriseShape(shape);
        std::set<uint32_t> inside;
        for (int y = 20; y < 80; ++y)
            for (int x = 20; x < 80; ++x)
                inside.insert(picture.at(x, y));
        EXPECT_EQ(inside, row.inside) << row.backStyle << ' ' << row.fillStyle;
    }
}

// Hatches run the way their style says: along rows, along columns, or along a diagonal.
TEST(ShapeRaster, HatchesRunTheirWay)
{
    const struct {
        int style, dx, dy;
    } rows[] = {
        {FillHorizontalLines, 1, 0},
        {FillVerticalLines, 0, 1},
        {FillUpwardDiagonal, 1, -1},
        {FillDownwardDiagonal, 1, 1},
    };
    for (const auto& row : rows) {
        ShapeElement shape = shapeOf(ShapeRectangle, 1500, 1500, 0);
        shape.FillStyle = row.style;
        shape.FillColor = rgb(255, 255, 255);
        const RasterPicture picture = rasteriseShape(shape);
        int lines = 0;
        for (int y = 20; y < 80; ++y)
            for (int x = 20; x < 80; ++x) {
                ASSERT_EQ(picture.covered(x, y), picture.covered(x + row.dx, y + row.dy)) << row.style;
                lines += picture.covered(x, y) ? 1 : 0;
            }
        EXPECT_NEAR(lines, 60 * 60 / 8, 60) << row.style;
    }
}

// A line lights its width across its path and its round ends half its width past its ends; a
// one-pixel line lights one pixel a column and leaves no gap; a line of no width lights nothing.
TEST(ShapeRaster, LinesRunBetweenTheirEndsInTheirWidth)
{
    const LineElement flat {150, 300, 1350, 300, rgb(255, 255, 0), 3, true};
    const PixelBox area = lineBounds(flat);
    const RasterPicture picture = rasteriseLine(flat, area);
    const auto coveredAt = [&](int x, int y) { return picture.covered(x - area.left, y - area.top); };
    EXPECT_TRUE(coveredAt(50, 19) && coveredAt(50, 20) && coveredAt(50, 21));
    EXPECT_FALSE(coveredAt(50, 18) || coveredAt(50, 22));
    EXPECT_TRUE(coveredAt(9, 20) && coveredAt(90, 20));
    EXPECT_FALSE(coveredAt(8, 20) || coveredAt(91, 20));

    for (int degrees = 0; degrees < 360; degrees += 23) {
        const double angle = degrees * 3.14159265 / 180;
        const LineElement thin {600, 600, static_cast<float>(600 + 500 * std::cos(angle)),
            static_cast<float>(600 + 500 * std::sin(angle)), rgb(255, 255, 255), 1, true};
        const RasterPicture hand = rasteriseLine(thin, lineBounds(thin));
        const bool steep = std::abs(std::sin(angle)) > std::abs(std::cos(angle));
        const int across = steep ? hand.height : hand.width;
        for (int k = 0; k < across; ++k) {
            int lit = 0;
            for (int j = 0; j < (steep ? hand.width : hand.height); ++j)
                lit += (steep ? hand.covered(j, k) : hand.covered(k, j)) ? 1 : 0;
            EXPECT_LE(lit, 1) << degrees << ' ' << k;
        }
        EXPECT_GE(coveredPixels(hand),
            static_cast<int>(500 / TwipsPerPixel * std::max(std::abs(std::cos(angle)), std::abs(std::sin(angle)))))
            << degrees;
    }
    LineElement none = flat;
    none.BorderWidth = 0;
    EXPECT_EQ(coveredPixels(rasteriseLine(none, area)), 0);
}

} // namespace
} // namespace vortexa
