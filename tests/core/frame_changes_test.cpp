// What a frame repaints: from the elements drawn last and those to draw now, the boxes that changed
// and, for each, the elements to draw again in drawing order.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backend_kit/frame_changes.h"

namespace vortexa {
namespace {

// An element as a painter drew it: a name standing for its record, and its reach.
struct Drawn {
    char name;
    PixelBox reach;
    friend bool operator==(const Drawn& a, const Drawn& b) { return a.name == b.name && a.reach == b.reach; }
};

// "x,y wxh: a b" for each repaint, in order.
std::string describe(const std::vector<Repaint>& repaints, const std::vector<Drawn>& now)
{
    std::string text;
    for (const Repaint& repaint : repaints) {
        const PixelBox& box = repaint.box;
        text += std::to_string(box.left) + "," + std::to_string(box.top) + " " + std::to_string(box.width) + "x"
            + std::to_string(box.height) + ":";
        for (const size_t element : repaint.elements)
            text += std::string(" ") + now[element].name;
        text += "; ";
    }
    return text;
}

TEST(FrameChanges, RepaintsTheOldAndNewPlacesOfWhatChangedWithEverythingThatMeetsThem)
{
    const Drawn a {'a', {0, 0, 10, 10}}, aMoved {'a', {5, 0, 10, 10}}, aFar {'a', {50, 50, 10, 10}};
    const Drawn b {'b', {20, 0, 10, 10}}, under {'u', {0, 0, 100, 100}}, empty {'e', {30, 30, 0, 5}};
    const struct {
        const char* what;
        std::vector<Drawn> before, now;
        std::vector<PixelBox> extra;
        const char* repaints;
    } rows[] = {
        {"nothing changed", {a, b}, {a, b}, {}, ""},
        {"an element moved a little: one box around both places", {a, b}, {aMoved, b}, {}, "0,0 15x10: a; "},
        {"an element moved far: its old and new places", {a, b}, {aFar, b}, {}, "0,0 10x10:; 50,50 10x10: a; "},
        {"an element came", {a}, {a, b}, {}, "20,0 10x10: b; "},
        {"an element went", {a, b}, {a}, {}, "20,0 10x10:; "},
        {"what lies under a change is drawn first, in drawing order", {under, a, b}, {under, aMoved, b}, {},
            "0,0 15x10: u a; "},
        {"boxes that meet become one, and that one takes in what it meets", {a, b}, {aMoved, {'b', {12, 0, 10, 10}}},
            {}, "0,0 30x10: a b; "},
        {"an element with no pixels repaints nothing", {a}, {a, empty}, {}, ""},
        {"a box the system asked for", {a, b}, {a, b}, {{8, 2, 4, 4}}, "8,2 4x4: a; "},
    };
    for (const auto& row : rows)
        EXPECT_EQ(describe(changesBetween(row.before, row.now, row.extra), row.now), row.repaints) << row.what;
}

TEST(FrameChanges, TheFirstFrameAndTheFirstAfterTheWindowWasLostRepaintEverything)
{
    const std::vector<Drawn> scene {{'a', {0, 0, 10, 10}}, {'b', {20, 0, 10, 10}}};
    const PixelBox whole {0, 0, 640, 480};
    FrameChanges<Drawn> changes;
    EXPECT_EQ(describe(changes.next(scene, whole).boxes, scene), "0,0 640x480: a b; ");
    EXPECT_EQ(describe(changes.next(scene, whole).boxes, scene), "");
    changes.repaintBox({25, 5, 2, 2});
    EXPECT_EQ(describe(changes.next(scene, whole).boxes, scene), "25,5 2x2: b; ");
    EXPECT_EQ(describe(changes.next(scene, whole).boxes, scene), "");
    changes.repaintBox({25, 5, 2, 2});
    changes.forgetWindow();
    EXPECT_EQ(describe(changes.next(scene, whole).boxes, scene), "0,0 640x480: a b; ");
    EXPECT_EQ(changes.shown(), scene);
    // A painter that erases by shape erases what went or changed, and clears only a whole window.
    const std::vector<Drawn> moved {{'a', {5, 0, 10, 10}}, scene[1]};
    const FrameRepaint<Drawn> frame = changes.next(moved, whole);
    EXPECT_FALSE(frame.wholeWindow);
    EXPECT_EQ(frame.gone, std::vector<Drawn> {scene[0]});
    EXPECT_EQ(describe(frame.boxes, moved), "0,0 15x10: a; ");
    changes.forgetWindow();
    EXPECT_TRUE(changes.next(moved, whole).wholeWindow);
}

// An element of a painter that moves what moved alone: its lit pixels lie in `lit`, inside its reach.
struct Lit {
    char name;
    PixelBox reach, lit;
    friend bool operator==(const Lit&, const Lit&) = default;
    friend bool movedOnly(const Lit& before, const Lit& now)
    {
        return before.name == now.name && before.reach.width == now.reach.width
            && before.reach.height == now.reach.height;
    }
    friend bool pixelsMeet(const Lit& one, const Lit& other) { return boxesMeet(one.lit, other.lit); }
};

// A ring-like element: its box, lit only in a band along its left edge.
Lit ring(char name, int left, int top, int size = 10) { return {name, {left, top, size, size}, {left, top, 2, size}}; }

TEST(FrameChanges, AnElementThatMovedAwayFromEveryOtherPixelIsMovedAloneAndLeftOutOfBoxes)
{
    const struct {
        const char* what;
        std::vector<Lit> before, now;
        const char* moves; // the names of the moves
        const char* repaints;
    } rows[] = {
        {"far from everything", {ring('a', 0, 0), ring('b', 50, 0)}, {ring('a', 5, 0), ring('b', 50, 0)}, "a", ""},
        {"its box meets another's, their pixels do not", {ring('a', 0, 0), ring('b', 12, 0)},
            {ring('a', 4, 0), ring('b', 12, 0)}, "a", ""},
        {"onto another's pixels", {ring('a', 0, 0), ring('b', 12, 0)}, {ring('a', 11, 0), ring('b', 12, 0)}, "",
            "0,0 10x10:; 11,0 10x10: a b; "},
        {"away from another's pixels", {ring('a', 12, 0), ring('b', 12, 0)}, {ring('a', 30, 0), ring('b', 12, 0)}, "",
            "12,0 10x10: b; 30,0 10x10: a; "},
        {"a changed picture is no move", {ring('a', 0, 0)}, {ring('a', 5, 0, 12)}, "", "0,0 17x12: a; "},
        {"a box of another change leaves it out", {ring('a', 0, 0), ring('b', 20, 0)},
            {ring('a', 4, 0), ring('b', 8, 5, 12)}, "a", "20,0 10x10:; 8,5 12x12: b; "},
    };
    for (const auto& row : rows) {
        FrameChanges<Lit> changes;
        changes.next(row.before, {0, 0, 640, 480});
        const FrameRepaint<Lit> frame = changes.next(row.now, {0, 0, 640, 480});
        std::string moves;
        for (const Move<Lit>& move : frame.moves)
            moves += row.now[move.element].name;
        EXPECT_EQ(moves, row.moves) << row.what;
        for (const Move<Lit>& move : frame.moves)
            EXPECT_FALSE(holds(frame.gone, move.before)) << row.what;
        std::string repaints;
        for (const Repaint& repaint : frame.boxes) {
            repaints += std::to_string(repaint.box.left) + "," + std::to_string(repaint.box.top) + " "
                + std::to_string(repaint.box.width) + "x" + std::to_string(repaint.box.height) + ":";
            for (const size_t element : repaint.elements)
                repaints += std::string(" ") + row.now[element].name;
            repaints += "; ";
        }
        EXPECT_EQ(repaints, row.repaints) << row.what;
    }
}

} // namespace
} // namespace vortexa
