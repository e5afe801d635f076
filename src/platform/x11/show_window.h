#pragma once
// A window of the show on one monitor, made with plain xcb: the monitor's place and size, black,
// without a frame, above other windows and asking the window manager for the full-screen state. It
// receives the events the show follows: keys, mouse moves and clicks, exposure and changes of its
// structure and focus.

#include <xcb/xcb.h>

#include <string_view>

#include "backend_kit/monitor_covers.h"

namespace vortexa {

// The atom of a name, interned if the server has none yet; XCB_ATOM_NONE if the server fails.
xcb_atom_t atomNamed(xcb_connection_t* connection, std::string_view name);

class ShowWindow {
public:
    ShowWindow(xcb_connection_t* connection, const xcb_screen_t& screen, MonitorArea area, std::string_view title);
    ~ShowWindow();
    ShowWindow(const ShowWindow&) = delete;
    ShowWindow& operator=(const ShowWindow&) = delete;

    xcb_window_t id() const { return m_window; }
    // Made hidden; shown on its monitor, hidden, or raised above the others.
    void show();
    void hide();
    void raise();
    // The pointer over the window (a cursor the caller keeps).
    void setCursor(xcb_cursor_t cursor);

private:
    void waitForTheServer();

    xcb_connection_t* m_connection;
    xcb_window_t m_window = 0;
    MonitorArea m_area;
};

} // namespace vortexa
