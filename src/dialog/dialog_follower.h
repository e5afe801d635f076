#pragma once
// Makes the dialog's window follow the dialog. After every event the platform delivers, once the
// dialog is loaded, the window is brought up to date with the records and shows the messages the
// dialog asks for, one at a time.
//
// The rules live here; a backend's window is a face that only writes native controls. For each
// row of the dialog's table the following remembers what it last wrote (text, value, range,
// entries, selection, box, visibility, font, colours, the picture), and asks the face to write a
// control only where the records now differ from that. The user's changes and clicks come back
// through the following, which passes them to the records only when the user made them: the
// changes the records make to native controls are reported by some controls, too.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "dialog/dialog_controls.h"
#include "dialog/form2.h"
#include "platform/event_delivery.h"
#include "state/program.h"

namespace vortexa {

// The dialog's own background: the system's colour of buttons' faces.
constexpr uint32_t DialogBackColour = systemColour(15);

// What a label shows: its caption's lines placed inside its box, in its font and colours. A
// transparent label's background is what lies behind it.
struct LabelLook {
    std::vector<TextLine> lines;
    Font font;
    uint32_t foreColour = 0, backColour = 0;
    bool opaque = false;
    bool handPointer = false;
    friend bool operator==(const LabelLook&, const LabelLook&) = default;
};

// The line's ends and pen, in pixels of the dialog's client area.
struct LineLook {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int width = 1;
    uint32_t colour = 0;
    friend bool operator==(const LineLook&, const LineLook&) = default;
};

// What the picture area draws itself: its background, and its shapes and time label back first.
struct PictureLook {
    uint32_t backColour = 0;
    std::vector<ShapeElement> shapes;
    std::vector<LabelElement> labels;
    friend bool operator==(const PictureLook&, const PictureLook&) = default;
};

// What one native control shows; each kind uses the parts that concern it.
struct ControlLook {
    PixelBox box; // inside the window the control lies in
    bool visible = false;
    std::string text; // a button's or frame's caption, a list's field
    Font font;
    int min = 0, max = 0, value = 0;
    std::vector<std::string> entries;
    int selected = -1;
    LabelLook label;
    LineLook line;
    PictureLook picture;
};

// The backend's window of the dialog: writes what the following asks, one native call each, and
// tells the following what the user did.
class DialogFace {
public:
    virtual ~DialogFace() = default;
    virtual const TextMeasure& measure() const = 0;
    virtual int dotsPerInch() const { return DesignDotsPerInch; }

    // The work area (the monitor less its task bar) that the window with its frame must stay
    // inside when it lies at this place, and how far the frame reaches beyond the client area;
    // nothing where the window system keeps windows on the screen itself.
    virtual std::optional<PixelBox> workAreaAround(const PixelBox&) const { return std::nullopt; }
    virtual FrameReach frameReach() const { return {}; }
    // True while the user drags the window: the following leaves its place alone until then.
    virtual bool userMovesWindow() const { return false; }

    virtual void writeTitle(const std::string& title) = 0;
    // The window's client area on the screen.
    virtual void writePlace(const PixelBox& place) = 0;
    virtual void writeShown(bool shown) = 0;
    virtual void bringToFront() = 0;

    virtual void writeBox(size_t row, const PixelBox& box) = 0;
    virtual void writeVisible(size_t row, bool visible) = 0;
    virtual void writeText(size_t row, const std::string& text) = 0;
    virtual void writeFont(size_t row, const Font& font) = 0;
    virtual void writeRange(size_t row, int min, int max) = 0;
    virtual void writeValue(size_t row, int value) = 0;
    virtual void writeEntries(size_t row, const std::vector<std::string>& entries) = 0;
    // Selecting an entry may rewrite a list's field; the field's text is written after it.
    virtual void writeSelection(size_t row, int index) = 0;
    virtual void writeLabel(size_t row, const LabelLook& label) = 0;
    virtual void writeLine(size_t row, const LineLook& line) = 0;
    virtual void writePicture(size_t row, const PictureLook& picture) = 0;
};

// A text measure that remembers the widths and heights it was told: the layout asks the same
// questions after every event.
class RememberingMeasure : public TextMeasure {
public:
    // The measure asked for what it was not told yet; what another told is forgotten.
    void use(const TextMeasure& measure);
    int textWidth(const Font& font, const std::string& text) const override;
    int lineHeight(const Font& font) const override;
    int listFieldRoom(int dotsPerInch) const override { return m_measure->listFieldRoom(dotsPerInch); }

private:
    const TextMeasure* m_measure = nullptr;
    mutable std::unordered_map<std::string, int> m_widths;
    mutable std::unordered_map<std::string, int> m_heights;
};

// Where a face puts the controls of a frame: inside the frame's own window, or in the dialog over
// the frame. The picture's controls always lie inside the picture.
enum class FrameControls { InsideTheFrame, InTheDialog };

class DialogFollowing {
public:
    DialogFollowing(Form2& form, EventDelivery& events, DialogFace& face, FrameControls frameControls);

    // The table the face makes its controls from, row for row.
    const std::vector<DialogControl>& controls() const { return m_controls; }
    const Form2& form() const { return m_form; }

    // Writes what changed since the last time, and carries out a request to come to the front. A
    // follow asked for while one runs (a native call that reports back) runs once that one ends.
    void follow();
    // True while the face writes what the following asks.
    bool following() const { return m_followingDepth > 0; }

    // What the user did; each reaches the records as an event of its own, unless it was one of the
    // following's own writes that a control reported.
    void deliver(std::function<void(Form2&)> handler);
    void clicked(size_t row);
    void trackBarMoved(size_t row, int value);
    void entryPicked(size_t row, int index);
    void textTyped(size_t row, const std::string& text);
    // Enter (cancel false), and Esc or the window's close button (cancel true): the dialog ends
    // only through its buttons.
    void pressKeyButton(bool cancel);
    // The window's corner is now at this point of the screen: where the user moved it, unless the
    // following put it there.
    void windowMoved(int left, int top);

private:
    struct Shown {
        bool written = false;
        std::string title;
        PixelBox place;
        std::optional<bool> shown; // none until the window was first shown or hidden
        int dotsPerInch = 0;
        std::vector<ControlLook> rows;
    };

    void followOnce();
    ControlLook lookOf(size_t row, const ControlLayout& layout) const;
    void writeRow(size_t row, const ControlLook& wanted);
    void followPlace(int dotsPerInch);
    void followVisibility();

    Form2& m_form;
    EventDelivery& m_events;
    DialogFace& m_face;
    FrameControls m_frameControls;
    std::vector<DialogControl> m_controls;
    Shown m_shown;
    RememberingMeasure m_measure;
    int m_followingDepth = 0;
    bool m_followAgain = false;
};

// Makes the backend's window once the dialog is loaded, follows it after every event and shows
// the messages the dialog asks for, one at a time. The window is made from the dialog and the
// backend; it follows the records and shows a message over itself until the user closes it.
template <typename View, typename Backend> class DialogFollower {
public:
    DialogFollower(Program& program, Backend& backend)
        : m_program(program)
        , m_backend(backend)
    {
        m_afterEvent = static_cast<EventDelivery&>(backend).addAfterEvent([this](bool) { follow(); });
    }
    ~DialogFollower() { static_cast<EventDelivery&>(m_backend).removeAfterEvent(m_afterEvent); }
    DialogFollower(const DialogFollower&) = delete;
    DialogFollower& operator=(const DialogFollower&) = delete;

    void follow()
    {
        Form2* form = m_program.loadedDialog();
        // While a message is open its own event loop runs; the window follows once it is closed.
        if (!form || m_showingMessage)
            return;
        if (!m_view)
            m_view = std::make_unique<View>(*form, m_backend);
        showMessages(*form);
        m_view->follow();
    }

    // The window, once the dialog is loaded.
    View* view() const { return m_view.get(); }

private:
    void showMessages(Form2& form)
    {
        m_showingMessage = true;
        while (!form.Messages.empty()) {
            // A copy, since the list may grow while the message runs its event loop.
            const MessageRecord message = form.Messages.front();
            m_view->showMessage(message);
            form.Messages.erase(form.Messages.begin());
        }
        m_showingMessage = false;
    }

    Program& m_program;
    Backend& m_backend;
    EventDelivery::AfterEventId m_afterEvent = 0;
    bool m_showingMessage = false;
    std::unique_ptr<View> m_view;
};

} // namespace vortexa
