#pragma once
// The window of the settings dialog, built at run time from the dialog's records: one control for
// each record. After every event the controls follow the records; the user's changes go back into
// the records (track bars, lists, the window's place) and each click runs the handler named after
// its element.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vortexa {

class Form2;
class Program;
class Win32Platform;
struct LabelElement;

class DialogView {
public:
    DialogView(Form2& form, Win32Platform& platform);
    ~DialogView();
    DialogView(const DialogView&) = delete;
    DialogView& operator=(const DialogView&) = delete;

    // Shapes, shows and fills every control as the records say; carries out a request to come to
    // the front.
    void follow();
    HWND window() const { return m_window; }
    // The control of an element by its name in the dialog ("cmdOK", "Slider(0)", "lblLOC(1)", ...).
    HWND control(const std::string& name) const;
    // Enter presses the default button and Esc the cancel button, wherever the focus is in the
    // dialog; true when the message was such a key.
    bool takeKey(const MSG& message);

    struct Label {
        const LabelElement* record;
        std::function<void(Form2&)> click;
        float containerLeft = 0, containerTop = 0; // twips, of the frame that holds it
        HWND window = nullptr;
        std::string shownCaption;
        uint32_t shownColour = 0;
    };

private:
    struct Control {
        std::string name;
        HWND window;
        std::function<void(Form2&)> click;
    };

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void deliver(std::function<void(Form2&)> handler);
    HWND addControl(const std::string& name, const wchar_t* windowClass, DWORD style, HWND parent = nullptr,
        std::function<void(Form2&)> click = {});
    void addLabel(const std::string& name, const LabelElement& record, HWND parent, float containerLeft,
        float containerTop, std::function<void(Form2&)> click = {});
    void stackControls();
    void commandFrom(HWND control, int notification);
    void trackBarMoved(HWND control);
    void followPlace();
    void followVisibility();
    void pressButton(bool cancel);
    void paintLine();

    Form2& m_form;
    Win32Platform& m_platform;
    HWND m_window = nullptr;
    HWND m_picture = nullptr;
    HFONT m_font;
    HFONT m_boldFont;
    bool m_following = false;
    std::vector<Control> m_controls;
    std::vector<std::unique_ptr<Label>> m_labels;
};

// Makes the dialog's window follow the dialog after every event the platform delivers, once the
// dialog is loaded, and shows the messages the dialog asks for.
class DialogWindow {
public:
    DialogWindow(Program& program, Win32Platform& platform);
    ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    void follow();
    DialogView* view() const { return m_view.get(); }

private:
    void showMessages(Form2& form);

    Program& m_program;
    Win32Platform& m_platform;
    int m_afterEvent = 0;
    bool m_showingMessage = false;
    std::unique_ptr<DialogView> m_view;
};

} // namespace vortexa
