#pragma once
// The screen-saver daemon's settings file in the user's home (~/.xscreensaver) and its list of
// savers, the resource "programs:". Its value runs over many lines of the file: each line but the
// last ends with a backslash, and the savers in it are separated by "\n". A saver is
// [-] [VISUAL:] ["NAME"] COMMAND, where "-" leaves it out of the random choice. Without the
// resource, the daemon takes the list of its app-defaults file ("*programs:").

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vortexa {

// Where the daemon's app-defaults file lies on the systems the package is made for, in the order
// they are tried.
inline constexpr std::array<std::string_view, 3> XScreenSaverDefaultsFiles {
    "/etc/X11/app-defaults/XScreenSaver",
    "/usr/share/X11/app-defaults/XScreenSaver",
    "/usr/lib/X11/app-defaults/XScreenSaver",
};

// The most the daemon's files are read: its own list makes them some ten thousand bytes.
inline constexpr size_t MostXScreenSaverFileBytes = 1024 * 1024;

// The switches the daemon runs the saver with: the same as the fixed ones of the saver's entry for
// the daemon's settings window, so that the window finds every control at its default.
inline constexpr std::string_view DaemonSaverSwitches = "--root --no-settings-file";

// True when the program's path can stand as the first word of the daemon's command line as it is:
// nothing in it that the shell or the file's format would read otherwise.
bool fitsDaemonCommand(std::string_view programPath);

struct SaverListChange {
    enum Outcome {
        Added, // the saver was added; text is the new file
        AlreadyListed, // the list names the program already; nothing to write
        NoList, // neither the file nor the daemon's defaults hold a list
    };
    Outcome outcome = NoList;
    std::string text;
    int place = 0; // the saver's place in the list, counted from 1, as the daemon's -select takes it
    int count = 0; // the savers in the list afterwards
    bool listFromDefaults = false; // the list came from the daemon's defaults
};

// Adds the program to the list of savers of the user's file, after the savers already there, so
// that the place of each stays what "selected:" names. Every other byte of the file is kept. A
// file without a list (or no file: an empty text) gets the daemon's own list from the text of its
// app-defaults file, then the program.
SaverListChange addToSaverList(std::string_view userFile, std::string_view defaultsFile, std::string_view programPath);

} // namespace vortexa
