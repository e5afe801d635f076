#pragma once
// The monitors of a display: every monitor RandR reports on each of its screens, or each screen
// whole where RandR reports none, and which of them is the primary one.

#include <xcb/xcb.h>

#include <optional>
#include <vector>

#include "platform/x11/show_window.h"

namespace vortexa {

struct Monitor {
    int screen = 0; // the X screen it is on
    MonitorArea area; // in its screen's pixels
    bool primary = false;
    friend bool operator==(const Monitor&, const Monitor&) = default;
};

// The monitors, each screen's in RandR's order and the screens in theirs; exactly one is the
// primary: RandR's primary on the default screen, else that screen's first monitor.
std::vector<Monitor> monitorsOf(xcb_connection_t* connection, int defaultScreen);

// The refresh rate of the monitor at `area` of the screen whose root is `root`, in frames a second,
// from its display mode; nothing when RandR does not say.
std::optional<int> refreshRateOf(xcb_connection_t* connection, xcb_window_t root, const MonitorArea& area);

// Asks the server to report changes of the monitors on a screen (as RandR screen change events).
void followMonitorChanges(xcb_connection_t* connection, xcb_window_t root);

} // namespace vortexa
