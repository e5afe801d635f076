#pragma once
// The options that set up one run: each setting of Vortexa.ini can be given on the command line,
// where it wins over the file for this run. Words that are no such option are left for the run
// switch and the window options.

#include <string>
#include <string_view>
#include <vector>

#include "scene/module_state.h"

namespace vortexa {

struct RunOptions {
    SettingOverrides settings;
    std::vector<std::string> otherWords; // the arguments that are no setting option, in their order
    bool addToXScreenSaver = false; // adds the program to the screen-saver daemon's list instead of running
    std::string error; // set when an option cannot be used: a line naming it and its accepted values
};

inline constexpr std::string_view AddToXScreenSaver = "--add-to-xscreensaver";

// Reads the setting options among the arguments after the program name, as "--name value" or
// "--name=value".
RunOptions readRunOptions(const std::vector<std::string>& arguments);

// Reads the setting option at arguments[k], if it is one. Returns how many words it took (0 when
// arguments[k] is no setting option); on an unusable value, sets error and returns 0.
size_t readSettingOption(
    const std::vector<std::string>& arguments, size_t k, SettingOverrides& settings, std::string& error);

// The lines of the usage text that list the setting options.
extern const char* const SettingOptionsUsage;

} // namespace vortexa
