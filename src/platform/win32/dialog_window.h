#pragma once
// The window of the settings dialog: one control for each row of the dialog's table of controls,
// made at run time. The dialog's following says what to write to the controls and when; the
// user's changes and clicks go back through it. The dialog grows with the resolution of the
// screen it is on.

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialog/dialog_follower.h"
#include "platform/win32/dialog_parts.h"
#include "platform/win32/system_look.h"
#include "platform/win32/text_encoding.h"

namespace vortexa {

class Win32Platform;

// The window that owns the dialog when the system's display settings open it with "/c:HWND":
// that window, when the number names one.
std::optional<HWND> dialogOwnerFrom(const std::string& commandLine);

class DialogView : public DialogFace {
public:
    DialogView(Form2& form, Win32Platform& platform);
    DialogView(Form2& form, Win32Platform& platform, std::optional<HWND> owner);
    ~DialogView() override;
    DialogView(const DialogView&) = delete;
    DialogView& operator=(const DialogView&) = delete;

    // Writes to the controls what changed in the records; carries out a request to come to the
    // front.
    void follow()
    {
        followOwner();
        m_following.follow();
    }
    // Shows a message over the dialog until the user closes it.
    void showMessage(const MessageRecord& message);
    HWND window() const { return m_window; }
    // The control of an element by its name in the dialog ("cmdOK", "Slider(0)", "lblLOC(1)", ...).
    HWND control(const std::string& name) const;
    const Form2& form() const { return m_following.form(); }
    // Enter presses the default button and Esc the cancel button, wherever the focus is in the
    // dialog; true when the message was such a key.
    bool takeKey(const MSG& message);

    const TextMeasure& measure() const override { return m_measure; }
    int dotsPerInch() const override { return m_dotsPerInch; }
    void writeTitle(const std::string& title) override { SetWindowTextW(m_window, wideText(title).c_str()); }
    void writePlace(const PixelBox& place) override;
    void writeShown(bool shown) override { ShowWindow(m_window, shown ? SW_SHOW : SW_HIDE); }
    void bringToFront() override;
    void writeBox(size_t row, const PixelBox& box) override;
    void writeVisible(size_t row, bool visible) override;
    void writeText(size_t row, const std::string& text) override;
    void writeFont(size_t row, const Font& font) override;
    std::optional<PixelBox> workAreaAround(const PixelBox& place) const override;
    FrameReach frameReach() const override;
    bool userMovesWindow() const override { return m_userMoving; }
    void writeRange(size_t row, int min, int max) override;
    void writeValue(size_t row, int value) override { SendMessageW(m_windows[row], TBM_SETPOS, TRUE, value); }
    void writeEntries(size_t row, const std::vector<std::string>& entries) override;
    void writeSelection(size_t row, int index) override;
    void writeLabel(size_t row, const LabelLook& label) override;
    void writeLine(size_t row, const LineLook& line) override;
    void writePicture(size_t row, const PictureLook& picture) override;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HWND makeControl(const DialogControl& control);
    HWND containerOf(Container container) const;
    void stackControls();
    size_t rowOf(HWND control) const;
    void commandFrom(HWND control, int notification);
    void paintLine();
    void followOwner();

    Win32Platform& m_platform;
    HWND m_window = nullptr;
    HWND m_givenOwner = nullptr; // the window named by "/c:HWND"
    bool m_userMoving = false; // the user drags the window
    int m_dotsPerInch = DesignDotsPerInch;
    GdiTextMeasure m_measure {DesignDotsPerInch};
    DialogFollowing m_following;
    std::vector<HWND> m_windows; // row for row of the table; none for the line, which the dialog draws
    std::vector<std::unique_ptr<ShownLabel>> m_labels; // row for row; null for other kinds
    ShownPicture m_picture;
    LineLook m_line;
    bool m_lineVisible = false;
};

using DialogWindow = DialogFollower<DialogView, Win32Platform>;

} // namespace vortexa
