#pragma once
// Where the show runs: its own full-screen window, or a window another program gives it. A
// screen-saver daemon names its window in the environment (XSCREENSAVER_WINDOW) or on the command
// line (-window-id ID, -root).

#include <cstdint>
#include <string>
#include <vector>

namespace vortexa {

struct ShowTarget {
    enum Kind { OwnWindow, GivenWindow, RootWindow };
    Kind kind = OwnWindow;
    uint32_t windowId = 0; // for GivenWindow
    std::string error; // set when the window named cannot be used: a line for the user
};

// The arguments after the program name and the value of XSCREENSAVER_WINDOW (null when unset). An
// explicit -window-id comes first, then the daemon's variable, then -root.
ShowTarget showTargetOf(const std::vector<std::string>& arguments, const char* daemonWindow);

} // namespace vortexa
