#pragma once
// The windows of the saver screens: one black, top-most popup over the whole screen for each loaded
// saver screen, following its record (shown, full screen, pointer) after every event, painting its
// elements through a buffer and passing its typed characters and mouse moves to the screen's
// handlers.

#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

namespace vortexa {

class Form1;
class Program;
class Win32Platform;

// The saver screen's own pointer: two interlocking rings, red at the lower left and blue at the
// upper right, on a transparent 32 x 32 picture, made at run time.
HCURSOR ringsPointer();

class SaverWindow {
public:
    SaverWindow(Form1& form, Win32Platform& platform);
    ~SaverWindow();
    SaverWindow(const SaverWindow&) = delete;
    SaverWindow& operator=(const SaverWindow&) = delete;

    // Shows, hides and shapes the window as the screen's record says, and repaints it.
    void follow();
    // The screen was unloaded: the window no longer reaches it, hides, and goes once the system is
    // done with its messages.
    void retire();
    bool gone() const { return m_window == nullptr; }
    HWND window() const { return m_window; }

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void mouseMoved(WPARAM wParam, LPARAM lParam);
    HCURSOR pointer() const;

    Form1* m_form;
    Win32Platform& m_platform;
    HWND m_window = nullptr;
    bool m_fullScreen = false;
    POINT m_lastPointerPosition {};
};

class SaverWindows {
public:
    // Makes the windows follow the program's saver screens after every event that the platform
    // delivers.
    SaverWindows(Program& program, Win32Platform& platform);
    ~SaverWindows();
    SaverWindows(const SaverWindows&) = delete;
    SaverWindows& operator=(const SaverWindows&) = delete;

    void follow();
    SaverWindow* windowOf(const Form1& form) const;

private:
    void retireWindowsOfUnloadedScreens();

    Program& m_program;
    Win32Platform& m_platform;
    int m_afterEvent = 0;
    std::vector<std::pair<const Form1*, std::unique_ptr<SaverWindow>>> m_windows;
    std::vector<std::unique_ptr<SaverWindow>> m_retired;
};

} // namespace vortexa
