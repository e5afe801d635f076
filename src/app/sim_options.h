#pragma once
// The command line of vortexa-sim.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scene/module_state.h"

namespace vortexa {

struct SimOptions {
    std::optional<std::string> settingsFile;
    int widthPixels = 1920;
    int heightPixels = 1080;
    int hours = 12, minutes = 0, seconds = 0;
    int64_t ms = 0;
    std::optional<int64_t> every;
    std::optional<std::string> png;
    SettingOverrides settings;
    bool helpAsked = false;
};

// What "--help" prints.
std::string simUsage();

// A command line the simulator cannot run, with a message naming the problem.
struct BadOption {
    std::string message;
};

// A text as a message quotes it: on one line, control characters shown as "?", long texts cut.
std::string quotedText(std::string_view text);

// Reads the arguments after the program's name; throws BadOption.
SimOptions readSimOptions(const std::vector<std::string>& arguments);

} // namespace vortexa
