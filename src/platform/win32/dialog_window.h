#pragma once
// The window of the settings dialog: one control for each row of the dialog's table of controls,
// made at run time. After every event the controls follow the records and the layout; the user's
// changes go back into the records (track bars, lists, the window's place) and each click runs the
// row's handler. The dialog grows with the resolution of the screen it is on.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialog/dialog_controls.h"
#include "dialog/dialog_follower.h"

namespace vortexa {

class Win32Platform;

// Text measured with the fonts the labels draw with, at a screen resolution.
class GdiTextMeasure : public TextMeasure {
public:
    explicit GdiTextMeasure(int dotsPerInch)
        : m_dotsPerInch(dotsPerInch)
    {
    }
    int textWidth(const Font& font, const std::string& text) const override;
    int lineHeight(const Font& font) const override;
    int listFieldRoom(int dotsPerInch) const override;

private:
    int m_dotsPerInch;
};

// The window that owns the dialog when the system's display settings open it with "/c:HWND":
// that window, when the number names one.
std::optional<HWND> dialogOwnerFrom(const std::string& commandLine);

class DialogView {
public:
    DialogView(Form2& form, Win32Platform& platform);
    DialogView(Form2& form, Win32Platform& platform, std::optional<HWND> owner);
    ~DialogView();
    DialogView(const DialogView&) = delete;
    DialogView& operator=(const DialogView&) = delete;

    // Shapes, shows and fills every control as the records say; carries out a request to come to
    // the front.
    void follow();
    // Shows a message over the dialog until the user closes it.
    void showMessage(const MessageRecord& message);
    HWND window() const { return m_window; }
    // The control of an element by its name in the dialog ("cmdOK", "Slider(0)", "lblLOC(1)", ...).
    HWND control(const std::string& name) const;
    int dotsPerInch() const { return m_dotsPerInch; }
    const Form2& form() const { return m_form; }
    // Enter presses the default button and Esc the cancel button, wherever the focus is in the
    // dialog; true when the message was such a key.
    bool takeKey(const MSG& message);

    // What a label window shows: its caption's lines as the layout placed them.
    struct ShownLabel {
        const LabelElement* record = nullptr;
        std::function<void(Form2&)> click;
        std::vector<TextLine> lines;
        uint32_t colour = 0;
        int dotsPerInch = DesignDotsPerInch;
    };

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HWND makeControl(const DialogControl& control);
    HWND containerOf(Container container) const;
    void stackControls();
    void deliver(std::function<void(Form2&)> handler);
    void commandFrom(HWND control, int notification);
    void trackBarMoved(HWND control);
    void followLabel(size_t row, const ControlLayout& layout);
    void followPicture(HWND picture, const ControlLayout& layout);
    void followPlace();
    void followOwner();
    void followVisibility();
    void paintLine();

    Form2& m_form;
    Win32Platform& m_platform;
    HWND m_window = nullptr;
    int m_dotsPerInch = DesignDotsPerInch;
    bool m_following = false;
    bool m_userMoving = false; // the user drags the window
    PixelBox m_placed; // the client area where the window was last put
    std::vector<DialogControl> m_controls;
    HWND m_givenOwner = nullptr;
    std::vector<HWND> m_windows; // row for row of the table
    std::vector<std::unique_ptr<ShownLabel>> m_labels; // row for row; null for other kinds
    std::vector<ShapeElement> m_pictureShown; // what the picture area last drew
    std::vector<LabelElement> m_pictureLabelsShown;
};

using DialogWindow = DialogFollower<DialogView, Win32Platform>;

} // namespace vortexa
