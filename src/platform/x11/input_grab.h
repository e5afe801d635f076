#pragma once
// The show's hold on the keyboard and the pointer.

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>

namespace vortexa {

// Holds the keyboard and the pointer in one window of the show, as a screen-saver window does, so
// that a window manager's keys (Alt+Tab) cannot move typed keys to a window behind the show. The
// X server refuses a grab while another client holds one, so a refused grab is tried again a few
// times.
class InputGrab {
public:
    static constexpr int Tries = 20;
    static constexpr int64_t BetweenTriesMs = 100;

    explicit InputGrab(xcb_connection_t* connection)
        : m_connection(connection)
    {
    }
    // Grabs in the window (0: none), letting go of the window held before.
    void holdIn(xcb_window_t window);
    bool held() const { return m_held; }
    int triesLeft() const { return m_triesLeft; }

private:
    bool tryToGrab();
    void release();

    xcb_connection_t* m_connection;
    xcb_window_t m_window = 0;
    bool m_held = false;
    int m_triesLeft = 0;
    std::optional<int64_t> m_lastTry;
};

} // namespace vortexa
