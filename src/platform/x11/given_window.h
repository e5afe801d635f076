#pragma once
// The show inside a window another program gave it (a screen-saver daemon's window, or the root
// window): drawn into that window, following its size, and ended when it goes. It creates no
// window of its own and takes no keys or mouse.

#include <xcb/xcb.h>

#include <optional>
#include <string>

#include "platform/x11/frame_painter.h"

namespace vortexa {

class Program;
class X11Platform;

// The size of a window in device pixels, or nothing when there is no such window.
struct WindowSize {
    int width = 0, height = 0;
};
std::optional<WindowSize> sizeOfWindow(xcb_connection_t* connection, xcb_window_t window);

// A window taken for the show, or a line for the user saying why it cannot be one.
struct TakenWindow {
    WindowSize size;
    std::string problem;
};

// Takes a window for the show: it must be a window that shows pixels, in colours the show can
// draw, and the show must be able to hear of its size and its end. Only then is it taken.
TakenWindow takeWindow(xcb_connection_t* connection, xcb_window_t window);

// The line for a screen whose colours the show cannot draw, or nothing when it can.
std::string unusableColours(xcb_connection_t* connection, xcb_window_t window);

class GivenWindowShow {
public:
    // The window must have been taken (see takeWindow); the platform then reports its size as the
    // screen's.
    GivenWindowShow(Program& program, X11Platform& platform, xcb_window_t window, WindowSize size);
    ~GivenWindowShow();
    GivenWindowShow(const GivenWindowShow&) = delete;
    GivenWindowShow& operator=(const GivenWindowShow&) = delete;

    // An event of the connection: the window's size, its end, its lost pixels, or an error.
    void handle(const xcb_generic_event_t& event);

private:
    void takeSize(WindowSize size);
    void afterEvent(bool outermost);

    Program& m_program;
    X11Platform& m_platform;
    xcb_window_t m_window;
    WindowSize m_size;
    int m_afterEvent = 0;
    FramePainter m_painter;
};

} // namespace vortexa
