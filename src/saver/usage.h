#pragma once
// The two questions the program answers on the terminal instead of starting: its usage and its
// version. Every other argument leaves the run switch to choose the mode.

#include <optional>
#include <string>
#include <vector>

namespace vortexa {

inline constexpr const char* ProgramVersion = VORTEXA_VERSION;

// The text to print for "--help", "-h" or "--version" as the first argument; nothing otherwise.
std::optional<std::string> informationAsked(const std::vector<std::string>& arguments);

} // namespace vortexa
