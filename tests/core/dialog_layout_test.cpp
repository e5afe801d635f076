#include <gtest/gtest.h>

#include <set>
#include <string>
#include <variant>

#include "dialog/captions.h"
#include "dialog/dialog_controls.h"
#include "dialog_world.h"

namespace vortexa {
namespace {

// Every character is 6 pixels wide and a line 13 high, whatever the font: a measure whose results
// a reader can work out by hand.
class FixedMeasure : public TextMeasure {
public:
    int textWidth(const Font&, const std::string& text) const override
    {
        int characters = 0;
        for (const char c : text)
            characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
        return 6 * characters;
    }
    int lineHeight(const Font&) const override { return 13; }
};

std::string captionOf(const ControlRecord& record, const ControlLayout& layout)
{
    if (const auto* const* label = std::get_if<LabelElement*>(&record)) {
        std::string shown;
        for (const TextLine& line : layout.lines)
            shown += (shown.empty() ? "" : "\n") + line.text;
        return (*label)->Caption.empty() ? "" : shown;
    }
    if (const auto* const* button = std::get_if<ButtonElement*>(&record))
        return (*button)->Caption;
    if (const auto* const* frame = std::get_if<FrameElement*>(&record))
        return (*frame)->Caption;
    return {};
}

TEST(DialogLayout, EveryControlHasItsDesignedBoxAndTheCaptionOfEitherLanguage)
{
    DialogWorld world("/c");
    Form2& dialog = world.dialog();
    const std::vector<DialogControl> controls = dialogControls(dialog);
    const struct {
        const char* name;
        PixelBox box; // inside its container
        PixelBox inDialog;
        const char* english;
        const char* russian;
    } rows[] = {
        {"Pic", {8, 12, 377, 217}, {8, 12, 377, 217}, "", ""},
        {"Frame1", {8, 248, 129, 129}, {8, 248, 129, 129}, "Script", "Сценарий"},
        {"cmdS(0)", {8, 24, 113, 25}, {16, 272, 113, 25}, "Independence", "Независимость"},
        {"cmdS(2)", {8, 88, 113, 25}, {16, 336, 113, 25}, "Opposition", nullptr},
        {"Frame2", {152, 248, 233, 129}, {152, 248, 233, 129}, "Options", "Настройки"},
        {"Label(0)", {8, 24, 121, 17}, {160, 272, 121, 17}, "Amount of circles", nullptr},
        {"Slider(1)", {120, 48, 97, 20}, {272, 296, 97, 20}, "", ""},
        {"ComboT", {8, 100, 209, 21}, {160, 348, 209, 21}, "", ""},
        {"Line1", {339, 232, 1, 17}, {339, 232, 1, 17}, "", ""},
        {"lblLOC(1)", {349, 232, 42, 17}, {349, 232, 42, 17}, "English", "English"}, // grown to its word
        {"cmdHELP", {8, 384, 89, 25}, {8, 384, 89, 25}, "Information", nullptr},
        {"cmdESC", {200, 384, 89, 25}, {200, 384, 89, 25}, "Cancel", "Отмена"},
        {"cmdOK", {296, 384, 89, 25}, {296, 384, 89, 25}, "OK", "OK"},
    };
    for (const int language : {English, Russian}) {
        dialog.lblLOC_Click(language);
        const std::vector<ControlLayout> layout = layOutDialog(dialog, controls, FixedMeasure());
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(row.name) + (language == English ? " in English" : " in Russian"));
            const auto found = std::find_if(
                controls.begin(), controls.end(), [&](const DialogControl& c) { return c.name == row.name; });
            ASSERT_NE(found, controls.end());
            const ControlLayout& placed = layout[static_cast<size_t>(found - controls.begin())];
            EXPECT_EQ(placed.box, row.box);
            EXPECT_EQ(placed.inDialog, row.inDialog);
            const char* caption = language == English ? row.english : row.russian;
            if (caption) {
                EXPECT_EQ(captionOf(found->record, placed), caption);
            }
        }
    }
    EXPECT_EQ(dialogPlace(dialog), (PixelBox {toPixels(dialog.Left), toPixels(dialog.Top), 396, 421}));
}

// Names are the handle of tests and of the backends' lookups: each appears once.
TEST(DialogLayout, EveryControlHasANameOfItsOwnAndTheKeyButtonsAreOkAndCancel)
{
    DialogWorld world("/c");
    const std::vector<DialogControl> controls = dialogControls(world.dialog());
    std::set<std::string> names;
    for (const DialogControl& control : controls)
        EXPECT_TRUE(names.insert(control.name).second) << control.name;
    EXPECT_EQ(controls.size(), 23u);
    ASSERT_NE(keyButton(controls, false), nullptr);
    EXPECT_EQ(keyButton(controls, false)->name, "cmdOK");
    EXPECT_EQ(keyButton(controls, true)->name, "cmdESC");
    world.dialog().cmdESC.Visible = false;
    EXPECT_EQ(keyButton(controls, true), nullptr);
}

TEST(DialogLayout, AWordWiderThanItsLabelGrowsTheLabelAboutItsAlignment)
{
    const struct {
        const char* caption;
        int alignment;
        PixelBox grown;
    } rows[] = {
        {"Wide", AlignLeft, {100, 10, 40, 17}}, // 24 pixels fit
        {"Widerword", AlignLeft, {100, 10, 54, 17}},
        {"Widerword", AlignRight, {86, 10, 54, 17}},
        {"Widerword", AlignCentre, {93, 10, 54, 17}},
        {"Two words", AlignCentre, {100, 10, 40, 17}}, // wraps instead
        {"", AlignCentre, {100, 10, 40, 17}},
    };
    for (const auto& row : rows) {
        LabelElement label;
        label.Caption = row.caption;
        label.Alignment = row.alignment;
        EXPECT_EQ(labelBox(label, {100, 10, 40, 17}, FixedMeasure()), row.grown) << row.caption << row.alignment;
    }
}

TEST(DialogLayout, ACaptionBreaksAtItsLineEndsAndBetweenWordsAndEachLineIsAligned)
{
    LabelElement label;
    label.Alignment = AlignCentre;
    label.Caption = "one two three\r\n\r\nfour extraordinarily five\nsix";
    const std::vector<TextLine> lines = wrapCaption(label, {0, 0, 60, 40}, FixedMeasure());
    const std::vector<TextLine> expected = {
        {"one two", {9, 0, 42, 13}},
        {"three", {15, 13, 30, 13}},
        {"", {30, 26, 0, 13}},
        {"four", {18, 39, 24, 13}},
        {"extraordinarily", {-15, 52, 90, 13}}, // a word wider than the box keeps a line of its own
        {"five", {18, 65, 24, 13}},
        {"six", {21, 78, 18, 13}},
    };
    EXPECT_EQ(lines, expected);
    label.Alignment = AlignRight;
    EXPECT_EQ(wrapCaption(label, {0, 0, 60, 40}, FixedMeasure())[1].box.left, 30);
}

TEST(DialogLayout, TheInformationTextWrapsInsideItsAreaInBothLanguages)
{
    DialogWorld world("/c");
    Form2& dialog = world.dialog();
    const std::vector<DialogControl> controls = dialogControls(dialog);
    for (const int language : {English, Russian}) {
        dialog.lblLOC_Click(language);
        const std::vector<ControlLayout> layout = layOutDialog(dialog, controls, FixedMeasure());
        const ControlLayout& info = layout[1];
        ASSERT_EQ(controls[1].name, "LblINFO");
        EXPECT_GT(info.lines.size(), 6u);
        for (const TextLine& line : info.lines) {
            const bool oneWord = line.text.find(' ') == std::string::npos;
            EXPECT_TRUE(oneWord || line.box.width <= info.box.width) << line.text;
            EXPECT_NEAR(line.box.left + line.box.width / 2.0, info.box.width / 2.0, 1) << line.text;
        }
    }
}

// A list's field shows its widest entry whole, as far as its frame's border allows. In Russian
// "Брать в плен" (12 characters, 72 pixels, and 30 for the field's button and edges) is wider than
// the captives list's 93 pixels at 96 dots to the inch: it grows by the 8 pixels left before the
// border of the frame (231), and pushes the clock list beside it as far. At 192 both fit.
TEST(DialogLayout, AListGrowsToShowItsWidestEntryAndPushesTheListBesideIt)
{
    DialogWorld world("/c");
    Form2& dialog = world.dialog();
    dialog.cmdS_Click(2);
    dialog.lblLOC_Click(Russian);
    const std::vector<DialogControl> controls = dialogControls(dialog);
    const auto boxOf = [&](const std::vector<ControlLayout>& layout, const std::string& name) {
        for (size_t k = 0; k < controls.size(); ++k)
            if (controls[k].name == name)
                return layout[k].box;
        return PixelBox {};
    };
    const struct {
        int dotsPerInch;
        int captivesWidth, clockLeft, clockWidth;
    } rows[] = {{96, 101, 103 + 8, 120}, {192, 187, 207, 240}};
    for (const auto& row : rows) {
        const std::vector<ControlLayout> layout = layOutDialog(dialog, controls, FixedMeasure(), row.dotsPerInch);
        EXPECT_EQ(boxOf(layout, "ComboP").width, row.captivesWidth) << row.dotsPerInch;
        EXPECT_EQ(boxOf(layout, "ComboT").left, row.clockLeft) << row.dotsPerInch;
        EXPECT_EQ(boxOf(layout, "ComboT").width, row.clockWidth) << row.dotsPerInch;
    }
}

TEST(DialogLayout, ADenserScreenGrowsTheDialogAboutItsMiddle)
{
    DialogWorld world("/c");
    Form2& dialog = world.dialog();
    const std::vector<DialogControl> controls = dialogControls(dialog);
    const std::vector<ControlLayout> layout = layOutDialog(dialog, controls, FixedMeasure(), 144);
    EXPECT_EQ(layout[0].box, (PixelBox {12, 18, 566, 326})); // the picture: twips / 10
    const PixelBox design = dialogPlace(dialog), grown = dialogPlace(dialog, 144);
    EXPECT_EQ(grown.width, 594);
    EXPECT_NEAR(grown.left + grown.width / 2.0, design.left + design.width / 2.0, 1);
    EXPECT_NEAR(grown.top + grown.height / 2.0, design.top + design.height / 2.0, 1);
}

// The window lies wholly inside its monitor's work area at every resolution, wherever the record
// puts it; where the user moves it, the record follows, so that it stays there.
TEST(DialogLayout, TheWindowLiesInsideTheWorkAreaOfItsMonitor)
{
    const FrameReach frame {3, 26, 3, 3};
    const PixelBox fullHd {0, 0, 1920, 1040}, small {0, 0, 1024, 768};
    const struct {
        const char* row;
        int left, top; // the record's corner at 96 dots to the inch, in pixels
        int dotsPerInch;
        PixelBox workArea;
        PixelBox place;
    } rows[] = {
        {"centred at 96", 762, 329, 96, fullHd, {762, 329, 396, 421}},
        {"centred at 144", 762, 329, 144, fullHd, {663, 224, 594, 632}},
        {"centred at 168", 762, 329, 168, fullHd, {614, 171, 693, 737}},
        {"centred at 192", 762, 329, 192, fullHd, {564, 119, 792, 842}},
        {"near the lower right corner", 1500, 900, 192, fullHd, {1125, 195, 792, 842}},
        {"above the top edge", 700, -40, 120, fullHd, {651, 26, 495, 526}},
        {"taller than the work area", 314, 173, 192, small, {116, 26, 792, 842}},
        {"wider than the work area", 314, 173, 192, {0, 0, 640, 1040}, {3, 26, 792, 842}},
        {"on a monitor at the right", 2000, 100, 120, {1920, 0, 1280, 984}, {1951, 48, 495, 526}},
        {"across a monitor at the left", -100, 300, 96, {-1280, 0, 1280, 1024}, {-399, 300, 396, 421}},
    };
    DialogWorld world("/c");
    Form2& dialog = world.dialog();
    for (const auto& row : rows) {
        dialog.Left = toTwips(row.left);
        dialog.Top = toTwips(row.top);
        const PixelBox place = dialogPlace(dialog, row.dotsPerInch, row.workArea, frame);
        EXPECT_EQ(place, row.place) << row.row;
        MoveDialog(dialog, place.left, place.top, row.dotsPerInch);
        EXPECT_EQ(dialogPlace(dialog, row.dotsPerInch, row.workArea, frame), place) << row.row << ", moved there";
    }
}

} // namespace
} // namespace vortexa
