// The dialog's following against a face that records what it is asked to write: the contract
// every backend's window keeps.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "dialog/captions.h"
#include "dialog/dialog_follower.h"
#include "dialog_world.h"
#include "saver/form1.h"

namespace vortexa {
namespace {

// A fixed measure: every character 6 pixels wide, lines 13 apart.
class EvenMeasure : public TextMeasure {
public:
    int textWidth(const Font&, const std::string& text) const override { return 6 * static_cast<int>(text.size()); }
    int lineHeight(const Font&) const override { return 13; }
};

// Notes each write as "what row", e.g. "value Slider(0)"; a test may act inside a write.
class RecordingFace : public DialogFace {
public:
    const TextMeasure& measure() const override { return m_measure; }
    int dotsPerInch() const override { return resolution; }
    void writeTitle(const std::string&) override { note("title", {}); }
    void writePlace(const PixelBox& box) override { place = box, note("place", {}); }
    void writeShown(bool shown) override { note(shown ? "shown" : "hidden", {}); }
    void bringToFront() override { note("front", {}); }
    void writeBox(size_t row, const PixelBox&) override { note("box", row); }
    void writeVisible(size_t row, bool) override { note("visible", row); }
    void writeText(size_t row, const std::string&) override { note("text", row); }
    void writeFont(size_t row, const Font&) override { note("font", row); }
    void writeRange(size_t row, int, int) override { note("range", row); }
    void writeValue(size_t row, int) override { note("value", row); }
    void writeEntries(size_t row, const std::vector<std::string>&) override { note("entries", row); }
    void writeSelection(size_t row, int) override { note("selection", row); }
    void writeLabel(size_t row, const LabelLook&) override { note("label", row); }
    void writeLine(size_t row, const LineLook& line) override { drawnLine = line, note("line", row); }
    void writePicture(size_t row, const PictureLook&) override { note("picture", row); }

    std::vector<std::string> writes;
    std::function<void()> duringWrite;
    const DialogFollowing* following = nullptr;
    int resolution = DesignDotsPerInch;
    PixelBox place;
    LineLook drawnLine;

private:
    void note(const std::string& what, std::optional<size_t> row)
    {
        writes.push_back(row ? what + " " + following->controls()[*row].name : what);
        if (duringWrite)
            std::exchange(duringWrite, {})();
    }
    EvenMeasure m_measure;
};

size_t rowNamed(const DialogFollowing& following, const std::string& name)
{
    for (size_t row = 0; row < following.controls().size(); ++row)
        if (following.controls()[row].name == name)
            return row;
    throw std::out_of_range(name);
}

// The program in configuration mode with its dialog shown, followed by the recording face after
// every event, as a backend follows it.
struct FollowedDialog : DialogWorld {
    explicit FollowedDialog(const std::string& commandLine = "/c")
        : DialogWorld(commandLine)
    {
        face.following = &following;
        events.addAfterEvent([this](bool) { following.follow(); });
        following.follow();
    }
    // The writes one event caused.
    std::vector<std::string> writesOf(const std::function<void(Form2&)>& handler)
    {
        face.writes.clear();
        events.deliver([&] { handler(dialog()); });
        return face.writes;
    }
    size_t row(const std::string& name) const { return rowNamed(following, name); }

    EventDelivery events;
    RecordingFace face;
    DialogFollowing following {dialog(), events, face, FrameControls::InsideTheFrame};
};

using Writes = std::vector<std::string>;

TEST(DialogFollowing, WritesEveryControlOnceAndAfterwardsOnlyWhatChanged)
{
    FollowedDialog world;
    const auto count
        = [&](const std::string& what) { return std::count(world.face.writes.begin(), world.face.writes.end(), what); };
    world.face.writes.clear();
    world.following.follow();
    EXPECT_TRUE(world.face.writes.empty());

    const struct {
        const char* name;
        std::function<void(Form2&)> change;
        Writes expected;
    } rows[] = {
        {"nothing", [](Form2&) {}, {}},
        {"a track bar's value", [](Form2& dialog) { dialog.Slider[1].setValue(3); }, {"value Slider(1)"}},
        {"a hidden button", [](Form2& dialog) { dialog.cmdHELP.Visible = false; }, {"visible cmdHELP"}},
        {"a moved frame", [](Form2& dialog) { dialog.Frame1.Left += 15; }, {"box Frame1"}},
        {"the window's place", [](Form2& dialog) { dialog.Left += 150; }, {"place"}},
        {"a caption", [](Form2& dialog) { dialog.cmdOK.Caption = "Yes"; }, {"text cmdOK"}},
        {"a list's text", [](Form2& dialog) { dialog.ComboT.setText("typed"); }, {"selection ComboT", "text ComboT"}},
        {"the line's colour", [](Form2& dialog) { dialog.Line1.BorderColor = 0x123456; }, {"line Line1"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(world.writesOf(row.change), row.expected);
    }

    // The other script changes the range of the first track bar and the bold button.
    const Writes script = world.writesOf([](Form2& dialog) { dialog.cmdS_Click(2); });
    EXPECT_EQ(std::count(script.begin(), script.end(), "range Slider(0)"), 1);
    EXPECT_EQ(std::count(script.begin(), script.end(), "font cmdS(2)"), 1);
    EXPECT_EQ(std::count(script.begin(), script.end(), "font cmdS(1)"), 0);
    // The other language rewrites the captions and the lists' entries, each once.
    const Writes language = world.writesOf([](Form2& dialog) { dialog.lblLOC_Click(0); });
    EXPECT_EQ(std::count(language.begin(), language.end(), "text cmdESC"), 1);
    EXPECT_EQ(std::count(language.begin(), language.end(), "entries ComboT"), 1);
    EXPECT_EQ(std::count(language.begin(), language.end(), "label LblINFO"), 1);
    EXPECT_EQ(count("title"), 0);
}

TEST(DialogFollowing, TheShowsTicksBehindTheDialogWriteNothingButAChangedPicture)
{
    FollowedDialog world("/s");
    world.writesOf([](Form2&) {}); // hidden: nothing is written, not even the first time
    EXPECT_TRUE(world.face.writes.empty());
    Form1& saver = world.saver();
    world.writesOf([&](Form2&) { saver.Form_KeyPress('1'); });
    EXPECT_EQ(std::count(world.face.writes.begin(), world.face.writes.end(), "front"), 1);
    EXPECT_FALSE(world.dialog().BringToFront);

    for (int tick = 0; tick < 100; ++tick)
        EXPECT_EQ(world.writesOf([&](Form2&) { world.platform.advance(10); }), Writes {}) << tick;

    // The picture is drawn again when what it shows changed, and only then.
    const Writes shown = world.writesOf([](Form2& dialog) { dialog.Shape[0].Visible = !dialog.Shape[0].Visible; });
    EXPECT_EQ(shown, Writes {"picture Pic"});
    // The transparent labels over the picture show its new background.
    EXPECT_EQ(world.writesOf([](Form2& dialog) { dialog.Pic.BackColor = 0x112233; }),
        (Writes {"picture Pic", "label LblINFO", "label lblLINK"}));
    EXPECT_EQ(world.writesOf([](Form2&) {}), Writes {});
}

TEST(DialogFollowing, TheUsersChangesReachTheRecordsAndAreNotWrittenBack)
{
    FollowedDialog world;
    world.face.writes.clear();
    world.following.trackBarMoved(world.row("Slider(0)"), 9);
    EXPECT_EQ(world.dialog().Slider[0].Value(), 9);
    world.following.textTyped(world.row("ComboT"), "Without time");
    EXPECT_EQ(world.dialog().ComboT.ListIndex(), WithoutClock);
    world.following.entryPicked(world.row("ComboT"), 1);
    EXPECT_EQ(world.dialog().ComboT.ListIndex(), 1);
    // The track bar shows the user's value already; the list's field is written once it selects.
    EXPECT_EQ(world.face.writes, (Writes {"selection ComboT", "text ComboT", "text ComboT"}));

    world.following.clicked(world.row("cmdS(1)"));
    EXPECT_EQ(world.program.module.Scenario, 2);
    world.following.clicked(world.row("Frame1")); // no handler
}

TEST(DialogFollowing, ChangesReportedWhileFollowingStayOutOfTheRecordsEvenWhenFollowingIsReentered)
{
    FollowedDialog world;
    int reentries = 0;
    // A native call that reports back in the middle of a write, as a change of resolution does: it
    // asks for a follow of its own, then the control reports the value the follow wrote.
    world.face.duringWrite = [&] {
        ++reentries;
        world.face.resolution = 144;
        world.following.follow();
        EXPECT_TRUE(world.following.following());
        world.following.trackBarMoved(world.row("Slider(0)"), 11);
        world.following.windowMoved(500, 500);
        world.following.pressKeyButton(true);
    };
    world.writesOf([](Form2& dialog) { dialog.Slider[0].setValue(8); });
    EXPECT_EQ(reentries, 1);
    EXPECT_FALSE(world.following.following());
    EXPECT_EQ(world.dialog().Slider[0].Value(), 8);
    EXPECT_NE(world.dialog().Left, toTwips(500));
    EXPECT_FALSE(world.platform.ended());
    // The follow asked for inside ran afterwards: at the new resolution everything is written.
    EXPECT_EQ(world.face.place, dialogPlace(world.dialog(), 144));
    EXPECT_EQ(world.face.drawnLine.x1, toPixelsAt(world.dialog().Line1.X1, 144));
    // The user's changes reach the records again.
    world.following.trackBarMoved(world.row("Slider(0)"), 11);
    EXPECT_EQ(world.dialog().Slider[0].Value(), 11);
}

TEST(DialogFollowing, OnlyAMoveTheUserMadeMovesTheRecord)
{
    FollowedDialog world;
    const PixelBox place = dialogPlace(world.dialog());
    const float left = world.dialog().Left;
    world.following.windowMoved(place.left, place.top); // where the following put it
    EXPECT_EQ(world.dialog().Left, left);
    world.face.writes.clear();
    world.following.windowMoved(100, 50);
    EXPECT_EQ(world.dialog().Left, 1500);
    EXPECT_EQ(world.dialog().Top, 750);
    EXPECT_EQ(world.face.place.left, 100);
    EXPECT_EQ(world.face.writes, Writes {"place"});
    // A hidden window's moves are the system's.
    world.events.deliver([] {});
    world.events.deliver([&] { world.dialog().Hide(); });
    world.following.windowMoved(300, 300);
    EXPECT_EQ(world.dialog().Left, 1500);
}

TEST(DialogFollowing, EscAndTheCloseButtonCancelAndEnterSaves)
{
    for (const bool cancel : {true, false}) {
        FollowedDialog world;
        world.following.pressKeyButton(cancel);
        EXPECT_TRUE(world.platform.ended());
        EXPECT_EQ(std::filesystem::exists(world.settingsPath()), !cancel);
    }
    // Without a shown cancel button the keys do nothing.
    FollowedDialog world;
    world.dialog().cmdESC.Visible = false;
    world.following.pressKeyButton(true);
    EXPECT_FALSE(world.platform.ended());
}

} // namespace
} // namespace vortexa
