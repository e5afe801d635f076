// The covered pixels of a picture as runs across its rows, and whether two placed pictures share a
// pixel.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backend_kit/pixel_runs.h"

namespace vortexa {
namespace {

// A picture from rows of '#' (covered) and '.' (clear).
RasterPicture pictureOf(const std::vector<std::string>& rows)
{
    RasterPicture picture(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.at(x, y) = rows[static_cast<size_t>(y)][static_cast<size_t>(x)] == '#' ? 0xFFFFFFFFu : 0u;
    return picture;
}

TEST(PixelRuns, EachRowHoldsItsCoveredStretchesInOrder)
{
    const PixelRuns runs(pictureOf({"#..##", ".....", "#####"}));
    ASSERT_EQ(runs.height(), 3);
    EXPECT_EQ(std::vector<PixelRun>(runs.row(0).begin(), runs.row(0).end()), (std::vector<PixelRun> {{0, 1}, {3, 5}}));
    EXPECT_TRUE(runs.row(1).empty());
    EXPECT_EQ(std::vector<PixelRun>(runs.row(2).begin(), runs.row(2).end()), (std::vector<PixelRun> {{0, 5}}));
    EXPECT_TRUE(runs.row(-1).empty());
    EXPECT_TRUE(runs.row(3).empty());
}

TEST(PixelRuns, TwoPlacedPicturesMeetOnlyWhereAPixelIsCoveredByBoth)
{
    // A ring-like frame, and a dot.
    const PixelRuns frame(pictureOf({"####", "#..#", "#..#", "####"}));
    const PixelRuns dot(pictureOf({"#"}));
    const struct {
        const char* what;
        PixelPlace frameAt, dotAt;
        bool meet;
    } rows[] = {
        {"the dot inside the frame's hole", {0, 0}, {1, 1}, false},
        {"the dot on the frame's edge", {0, 0}, {3, 2}, true},
        {"the dot just right of the frame", {0, 0}, {4, 2}, false},
        {"both moved: the dot on the frame's corner", {10, 20}, {13, 23}, true},
        {"above the frame", {10, 20}, {10, 19}, false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(runsMeet(frame, row.frameAt, dot, row.dotAt), row.meet) << row.what;
        EXPECT_EQ(runsMeet(dot, row.dotAt, frame, row.frameAt), row.meet) << row.what << ", the other way";
    }
    EXPECT_TRUE(runsMeet(frame, {0, 0}, frame, {2, 2})) << "two frames crossing";
    EXPECT_FALSE(runsMeet(frame, {0, 0}, frame, {4, 0})) << "two frames side by side";
}

} // namespace
} // namespace vortexa
