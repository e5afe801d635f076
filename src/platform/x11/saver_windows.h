#pragma once
// The windows of the standalone show, on plain xcb: for each loaded saver screen a black,
// frameless, full-screen window on the primary monitor that the scene is drawn into, and a black
// window over every other monitor. Each follows the screen's record (shown, pointer) after every
// event and passes its keys and mouse moves to the screen's handlers.

#include <xcb/xcb.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "backend_kit/pointer_moves.h"
#include "backend_kit/saver_windows.h"
#include "platform/x11/frame_painter.h"
#include "platform/x11/input_grab.h"
#include "platform/x11/keyboard.h"
#include "platform/x11/monitors.h"
#include "platform/x11/pointer_shapes.h"
#include "platform/x11/show_window.h"
#include "state/program.h"

namespace vortexa {

class Form1;
class X11Platform;

class ShowView {
public:
    // The scene's window on `monitor` when drawsScene, else a black cover of another monitor.
    // Every view is in `views` while it lives, so that its window's events find it.
    ShowView(Form1& form, X11Platform& platform, PointerShapes& pointers, std::vector<ShowView*>& views,
        const Monitor& monitor, bool drawsScene);
    ~ShowView();
    ShowView(const ShowView&) = delete;
    ShowView& operator=(const ShowView&) = delete;

    // Shows and hides the window and sets its pointer as the screen's record says.
    void follow();
    // The window is no longer needed: it no longer reaches its screen and hides; it is gone once
    // no event of its own is being handled.
    void retire();
    bool gone() const { return m_retired && m_handling == 0; }
    bool drawsScene() const { return m_drawsScene; }
    xcb_window_t window() const { return m_window.id(); }
    // Shown and drawn on.
    bool exposed() const { return m_mapped; }
    void raise() { m_window.raise(); }

    // An event of this window; the keyboard reads what a pressed key types.
    void handle(const xcb_generic_event_t& event, const std::function<const Keyboard&()>& keyboard);

private:
    void show();
    void keyPressed(const xcb_key_press_event_t& press, const Keyboard& keyboard);
    void pointerMoved(const xcb_motion_notify_event_t& motion);

    Form1* m_form;
    X11Platform& m_platform;
    PointerShapes& m_pointers;
    std::vector<ShowView*>& m_views;
    Monitor m_monitor;
    bool m_drawsScene;
    ShowWindow m_window;
    bool m_shown = false;
    bool m_mapped = false;
    int m_pointerStyle = -1;
    PointerMoves m_pointerMoves;
    FramePainter m_painter;
    bool m_retired = false;
    int m_handling = 0;
};

class ShowWindows {
public:
    // Makes the windows follow the program's saver screens after every event that the platform
    // delivers, and the monitors as they come and go.
    ShowWindows(Program& program, X11Platform& platform);
    ShowWindows(const ShowWindows&) = delete;
    ShowWindows& operator=(const ShowWindows&) = delete;

    // An event of the connection: a window's, the keyboard's or the monitors'.
    void handle(const xcb_generic_event_t& event);
    // The scene's window of the newest shown screen, which the dialog stays above; 0 for none.
    xcb_window_t sceneWindow() const;

private:
    ShowView* windowToHoldInput() const;
    ShowView* viewWithWindow(xcb_window_t window) const;
    const Keyboard& keyboard();

    Program& m_program;
    X11Platform& m_platform;
    // Read from the server at the first key, as it stands then: the show draws its first frame
    // sooner without it.
    std::unique_ptr<Keyboard> m_keyboard;
    PointerShapes m_pointers;
    InputGrab m_grab;
    uint8_t m_monitorEvents = 0;
    std::vector<ShowView*> m_views; // every view made and not yet gone, to find a window's
    SaverWindowsKit<Program, Monitor, ShowView> m_windows;
};

} // namespace vortexa
