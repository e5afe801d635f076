#include "settings/settings_file.h"

#include <algorithm>

#include "records/numeric.h"

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

namespace {

// The values a missing file stands for, as the file's texts.
void FillDefaultSlots(ModuleState& module)
{
    const SavedSettings defaults {9, 1, 2, 0, DefaultScript, 0, 1};
    const std::vector<std::string> lines = settingsFileLines(defaults);
    for (size_t k = 0; k < lines.size(); ++k)
        module.IniValue[k] = valueOfLine(lines[k]);
    module.IniLine = static_cast<int32_t>(lines.size());
}

void Overlay(ModuleState& module, size_t slot, const std::optional<int>& value)
{
    if (value)
        module.IniValue[slot] = decimalText(*value);
}

} // namespace

bool ReadRunSettings(ModuleState& module, const std::filesystem::path& file)
{
    const SettingOverrides& overrides = module.Overrides;
    const bool fileRead = !overrides.IgnoreFile && ReadSettingsFile(module, file);
    if (!overrides.any())
        return fileRead;
    if (!fileRead)
        FillDefaultSlots(module);
    Overlay(module, 4, overrides.Scenario);
    if (overrides.CircleCount) {
        const CircleRange range = circleRangeOf(StoredScript(module.IniValue[4]));
        Overlay(module, 0, std::clamp(*overrides.CircleCount, range.fewest, range.most));
    }
    Overlay(module, 1, overrides.BorderWidth);
    Overlay(module, 2, overrides.Speed);
    Overlay(module, 3, overrides.ViewTime);
    Overlay(module, 5, overrides.Captives);
    Overlay(module, 6, overrides.Language);
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
