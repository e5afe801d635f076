#pragma once
// The first scene vortexa-sim prints for a settings file, and the values in it.

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>

namespace vortexa {

inline std::string simFirstLine(const std::filesystem::path& settings)
{
    const std::string command = std::string(VORTEXA_SIM_PATH) + " --settings '" + settings.string() + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    std::string line;
    for (int c = std::fgetc(pipe); c != EOF && c != '\n'; c = std::fgetc(pipe))
        line += static_cast<char>(c);
    pclose(pipe);
    return line;
}

// The text of a value the simulator prints as "key":value.
inline std::string simValue(const std::string& line, const std::string& key)
{
    std::smatch match;
    const std::regex pattern("\"" + key + "\":(\"[^\"]*\"|[-0-9.e]+)");
    return std::regex_search(line, match, pattern) ? match[1].str() : "(none)";
}

} // namespace vortexa
