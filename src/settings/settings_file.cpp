#include "settings/settings_file.h"

#include <algorithm>

#include "platform/file_system.h"
#include "records/numeric.h"

namespace vortexa {

namespace fs = std::filesystem;

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

SettingsFileUse settingsFileUse(const fs::path& file)
{
    std::error_code error;
    if (!fs::is_regular_file(file, error) || ownedAndUnshared(file))
        return SettingsFileUse::Used;
    return ownedByUser(file) ? SettingsFileUse::OthersMayWrite : SettingsFileUse::AnotherUsersFile;
}

bool ReadSettingsFile(ModuleState& module, const fs::path& file)
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

std::array<int, SettingsLines> valuesOf(const SavedSettings& settings)
{
    return {settings.CircleCount, settings.BorderWidth, settings.Speed, settings.ViewTime, settings.Scenario,
        settings.Captives, wholeNumber(settings.Language)};
}

SavedSettings settingsOf(const std::array<int, SettingsLines>& values)
{
    return {values[CirclesLine], values[WidthLine], values[SpeedLine], values[ClockLine], values[ScriptLine],
        values[CaptivesLine], static_cast<float>(values[LanguageLine])};
}

void Overlay(int& value, const std::optional<int>& given)
{
    if (given)
        value = *given;
}

} // namespace

SavedSettings defaultSettings()
{
    std::array<int, SettingsLines> values {};
    for (size_t k = 0; k < values.size(); ++k)
        values[k] = SettingLines[k].byDefault;
    return settingsOf(values);
}

SavedSettings heldToRange(SavedSettings settings)
{
    std::array<int, SettingsLines> values = valuesOf(settings);
    for (size_t k = 0; k < values.size(); ++k)
        values[k] = std::clamp(values[k], SettingLines[k].fewest, SettingLines[k].most);
    const CircleRange circles = circleRangeOf(values[ScriptLine]);
    values[CirclesLine] = std::clamp(values[CirclesLine], circles.fewest, circles.most);
    return settingsOf(values);
}

SavedSettings settingsInForce(const ModuleState& module)
{
    std::array<int, SettingsLines> values = valuesOf(defaultSettings());
    const size_t linesRead = static_cast<size_t>(std::clamp(module.IniLine, 0, SettingsLines));
    for (size_t k = 0; k < linesRead; ++k)
        if (const auto number = numberAtStart(module.IniValue[k]))
            values[k] = wholeNumber(*number);
    return heldToRange(settingsOf(values));
}

SavedSettings ReadRunSettings(ModuleState& module, const fs::path& file)
{
    const SettingOverrides& overrides = module.Overrides;
    const bool fileRead = !overrides.IgnoreFile && ReadSettingsFile(module, file);
    SavedSettings settings = fileRead ? settingsInForce(module) : defaultSettings();
    Overlay(settings.Scenario, overrides.Scenario);
    Overlay(settings.CircleCount, overrides.CircleCount);
    Overlay(settings.BorderWidth, overrides.BorderWidth);
    Overlay(settings.Speed, overrides.Speed);
    Overlay(settings.ViewTime, overrides.ViewTime);
    Overlay(settings.Captives, overrides.Captives);
    if (overrides.Language)
        settings.Language = static_cast<float>(*overrides.Language);
    return heldToRange(settings);
}

std::vector<std::string> settingsFileLines(const SavedSettings& settings)
{
    const std::array<int, SettingsLines> values = valuesOf(settings);
    std::vector<std::string> lines;
    for (size_t k = 0; k < values.size(); ++k)
        lines.push_back(SettingLines[k].key + decimalText(values[k]));
    return lines;
}

namespace {

FileResult refused(const fs::path& file, const std::string& reason)
{
    const std::u8string name = file.u8string();
    return {false, "\"" + std::string(name.begin(), name.end()) + "\": " + reason};
}

// The file a save replaces: the settings file itself, or the file its link leads to; or why it
// leaves the file as it is.
FileResult fileToReplace(const fs::path& file, fs::path& target)
{
    std::error_code error;
    target = file;
    if (fs::is_symlink(file, error)) {
        target = fs::canonical(file, error);
        if (error)
            return refused(file, "the link leads to no file; it is left as it is");
        if (!ownedAndUnshared(target.parent_path()))
            return refused(target, "the folder the link leads to is another user's, or others may write in it");
    }
    if (!fs::exists(target, error))
        return {};
    if (!ownedByUser(target))
        return refused(target, "the file is another user's; it is left as it is");
    if (!ownedAndUnshared(target))
        return refused(target, "other users may change the file, so it is not used and is left as it is");
    if (isReadOnlyFile(target))
        return refused(target, "the file is read-only; it is left as it is");
    return {};
}

} // namespace

FileResult WriteSettingsFile(const SavedSettings& settings, const fs::path& programFolder)
{
    fs::path target;
    if (FileResult replaceable = fileToReplace(settingsFilePath(programFolder), target); !replaceable.ok)
        return replaceable;
    return writeTextLines(target, settingsFileLines(settings));
}

} // namespace vortexa
