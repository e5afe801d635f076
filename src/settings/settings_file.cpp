#include "settings/settings_file.h"

#include "platform/numeric.h"

namespace vortexa {

std::filesystem::path settingsFilePath(const std::filesystem::path& programFolder)
{
    return programFolder / SettingsFileName;
}

namespace {

// Everything after the first "=", or the whole line when it has none.
std::string valueOfLine(const std::string& line)
{
    const size_t equals = line.find('=');
    return equals == std::string::npos ? line : line.substr(equals + 1);
}

} // namespace

bool ReadSettingsFile(ModuleState& module, const std::filesystem::path& programFolder)
{
    const auto path = settingsFilePath(programFolder);
    if (!fileExists(path))
        return false;
    const auto lines = readTextLines(path);
    if (!lines)
        return false;
    module.IniLine = 0;
    for (const std::string& line : *lines) {
        if (module.IniLine >= IniSlots)
            break;
        module.IniValue[static_cast<size_t>(module.IniLine)] = valueOfLine(line);
        ++module.IniLine;
    }
    return true;
}

std::vector<std::string> settingsFileLines(const SavedSettings& settings)
{
    return {
        "krugN=" + decimalText(settings.CircleCount),
        "BorderWidth=" + decimalText(settings.BorderWidth),
        "Speed=" + decimalText(settings.Speed),
        "viewTime=" + decimalText(settings.ViewTime),
        "Scenario=" + decimalText(settings.Scenario),
        "Plen=" + decimalText(settings.Captives),
        "Local=" + decimalText(wholeNumber(settings.Language)),
    };
}

FileResult WriteSettingsFile(const SavedSettings& settings, const std::filesystem::path& programFolder)
{
    return writeTextLines(settingsFilePath(programFolder), settingsFileLines(settings));
}

} // namespace vortexa
