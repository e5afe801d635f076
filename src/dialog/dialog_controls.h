#pragma once
// The settings dialog's controls as one table, and their layout in pixels. A backend makes one
// native control for each row, in the table's order (which is also the Tab order), places it at the
// row's box, shows its record and passes the user's changes and clicks back through the row. The
// rules both faces need (where each control lies, how a label grows to a word wider than itself,
// how a caption wraps in its label, what the picture area draws) are computed here.

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "backend_kit/render_geometry.h"
#include "dialog/form2.h"

namespace vortexa {

// The window a control lies in; its place is given inside it.
enum class Container { Dialog, Picture, Frame1, Frame2 };

using ControlRecord
    = std::variant<PictureElement*, LabelElement*, FrameElement*, ButtonElement*, TrackBar*, ComboList*, LineElement*>;

struct DialogControl {
    std::string name; // the element's name in the dialog: "cmdOK", "Slider(0)", "lblLOC(1)"
    ControlRecord record;
    Container container = Container::Dialog;
    std::function<void(Form2&)> click; // the handler a click on a button or label runs
    std::optional<Container> holds; // the container this control is, for the picture and frames
};

// Every control of the dialog, in creation order.
std::vector<DialogControl> dialogControls(Form2& form);

// The button that Enter (cancel false) or Esc (cancel true) presses: the shown button whose record
// says so; nothing when there is none.
const DialogControl* keyButton(const std::vector<DialogControl>& controls, bool cancel);

// How wide a text is in a font, and how far apart its lines are, in pixels: the backend's own
// measure, so that the layout matches what it draws.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual int textWidth(const Font& font, const std::string& text) const = 0;
    virtual int lineHeight(const Font& font) const = 0;
    // The room a drop-down list's field takes beside its text (its button, borders and the margins
    // of its text) on a screen of the given resolution, in pixels.
    virtual int listFieldRoom(int dotsPerInch) const;
};

// One shown line of a caption, placed inside its label's box.
struct TextLine {
    std::string text;
    PixelBox box;
    friend bool operator==(const TextLine&, const TextLine&) = default;
};

struct ControlLayout {
    PixelBox box; // inside its container
    PixelBox inDialog; // inside the dialog's client area
    std::vector<TextLine> lines; // a label's caption as shown
};

// The layout of every control of the table, row for row, on a screen of the given resolution.
std::vector<ControlLayout> layOutDialog(const Form2& form, const std::vector<DialogControl>& controls,
    const TextMeasure& measure, int dotsPerInch = DesignDotsPerInch);

// A label's caption broken into lines: at its line ends, and between words where a line would
// grow wider than the box. A word wider than the box keeps a line of its own. Each line is placed
// by the label's alignment.
std::vector<TextLine> wrapCaption(const LabelElement& label, const PixelBox& box, const TextMeasure& measure);

// A caption of one word cannot wrap; when it is wider than its label, the label grows about its
// alignment so that the word shows whole.
PixelBox labelBox(const LabelElement& label, const PixelBox& box, const TextMeasure& measure);

// The dialog window's client area on the screen, in pixels. The record gives its box as it is at 96
// dots to the inch, where the screen counts 15 twips to the pixel; on a denser screen the box grows
// about its middle, so that a dialog centred on the screen stays centred.
PixelBox dialogPlace(const Form2& form, int dotsPerInch = DesignDotsPerInch);

// How far a window's frame (borders and title bar) reaches beyond its client area, in pixels.
struct FrameReach {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The client area as above, moved the least that puts the whole window, frame included, inside the
// work area of its monitor (the monitor less its task bar), in pixels. A window larger than the
// work area keeps its title bar's corner inside it, where the user can take it.
PixelBox dialogPlace(const Form2& form, int dotsPerInch, const PixelBox& workArea, const FrameReach& frame);

// The user moved the dialog's window so that its client area's corner lies at this point of a
// screen of the given resolution, in pixels.
void MoveDialog(Form2& form, int left, int top, int dotsPerInch = DesignDotsPerInch);

// The elements the picture area draws itself, back first: its shapes and the time label. The
// information text and the link are controls of their own above it, since the user clicks the link.
void forEachPictureElement(const Form2& form, const std::function<void(const ShapeElement&)>& shape,
    const std::function<void(const LabelElement&)>& label);

} // namespace vortexa
