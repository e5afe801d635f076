#pragma once
// The windows of the show: for each loaded saver screen a black, top-most popup over the primary
// monitor that paints the screen's elements, and a black one over every other monitor. Each
// follows its screen's record (shown, full screen, pointer) after every event and passes its typed
// characters and mouse moves to the screen's handlers.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "backend_kit/frame_pacing.h"
#include "backend_kit/pointer_moves.h"
#include "backend_kit/saver_windows.h"
#include "platform/win32/gdi_painter.h"
#include "state/program.h"

namespace vortexa {

class Form1;
class Win32Platform;

// The saver screen's own pointer, made at run time from the rings' one description.
HCURSOR ringsPointer();

class SaverView {
public:
    // The scene's window on `monitor` when drawsScene, else a black cover for another monitor;
    // monitorsChanged runs when the system reports that the monitors changed.
    SaverView(
        Form1& form, Win32Platform& platform, HMONITOR monitor, bool drawsScene, std::function<void()> monitorsChanged);
    ~SaverView();
    SaverView(const SaverView&) = delete;
    SaverView& operator=(const SaverView&) = delete;

    // Shows and hides the window as the screen's record says, and draws what changed.
    void follow();
    // The screen was unloaded: the window no longer reaches it, hides, and goes once the system is
    // done with its messages.
    void retire();
    bool gone() const { return m_window == nullptr; }
    HWND window() const { return m_window; }

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void exposed();
    void paintWhenDue();
    void paintNow();
    void mouseMoved();
    HCURSOR pointer() const;
    RECT monitorArea() const;

    Form1* m_form;
    Win32Platform& m_platform;
    HMONITOR m_monitor;
    bool m_drawsScene;
    std::function<void()> m_monitorsChanged;
    HWND m_window = nullptr;
    PointerMoves m_pointerMoves;
    GdiScenePainter m_painter;
    FramePacing m_pacing;
};

class SaverWindows {
public:
    // Makes the windows follow the program's saver screens after every event that the platform
    // delivers, and the monitors as they come and go.
    SaverWindows(Program& program, Win32Platform& platform);

    // The scene's window of a screen.
    SaverView* viewOf(const Form1& form) const { return m_windows.sceneViewOf(form); }

private:
    SaverWindowsKit<Program, HMONITOR, SaverView> m_windows;
};

} // namespace vortexa
