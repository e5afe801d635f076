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

bool ReadSettingsFile(ModuleState& module, const std::filesystem::path& file)
{
    const auto lines = readOwnTextLines(file, IniSlots);
    if (!lines)
        return false;
    module.IniLine = 0;
    for (const std::string& line : *lines) {
        module.IniValue[static_cast<size_t>(module.IniLine)] = valueOfLine(line);
        ++module.IniLine;
    }
    return true;
}

int16_t StoredScript(const std::string& text)
{
    const auto script = toInt16(textToNumber(text));
    return script && isScript(*script) ? *script : DefaultScript;
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
