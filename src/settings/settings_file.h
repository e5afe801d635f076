#pragma once
// The settings file "Vortexa.ini" beside the program: seven key=value lines whose meaning comes from
// their line number alone.

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "records/text_file.h"
#include "scene/module_state.h"

namespace vortexa {

std::filesystem::path settingsFilePath(const std::filesystem::path& programFolder);

// Fills IniValue from the file, slot k from line k + 1, and sets
// IniLine to the number of lines stored. Slots the read does not reach keep their values; lines past
// the eleventh are ignored. Returns false, changing nothing, when the file is absent, is not a
// regular file or cannot be read, or when it or its folder is another user's or others may write
// it: such a file counts as none.
bool ReadSettingsFile(ModuleState& module, const std::filesystem::path& file);

// Whether a settings file that is there is used, and if not, why. A save leaves such a file as it
// is: its values stay the user's to take back by making the file their own alone.
enum class SettingsFileUse { Used, OthersMayWrite, AnotherUsersFile };
SettingsFileUse settingsFileUse(const std::filesystem::path& file);

// The values one save writes, in the order of the file's lines.
struct SavedSettings {
    int CircleCount = 0; // krugN
    int BorderWidth = 0; // BorderWidth
    int Speed = 0; // Speed
    int ViewTime = 0; // viewTime
    int Scenario = 0; // Scenario
    int Captives = 0; // Plen
    float Language = 0; // Local

    bool operator==(const SavedSettings&) const = default;
};

// Each line of the file: its key, the value a missing file stands for, and the values the dialog
// offers. The circle count is held further to its script's range (circleRangeOf).
struct SettingLine {
    const char* key;
    int byDefault;
    int fewest;
    int most;
};
constexpr int SettingsLines = 7;
inline constexpr std::array<SettingLine, SettingsLines> SettingLines {{
    {"krugN=", 9, 6, 20},
    {"BorderWidth=", 1, 1, 3},
    {"Speed=", 2, 1, 5},
    {"viewTime=", 0, 0, 4},
    {"Scenario=", DefaultScript, 1, 3},
    {"Plen=", 0, 0, 1},
    {"Local=", 1, 0, 1},
}};
enum SettingLineIndex { CirclesLine, WidthLine, SpeedLine, ClockLine, ScriptLine, CaptivesLine, LanguageLine };

// The settings of a missing file.
SavedSettings defaultSettings();

// The settings a read leaves in force: a line the last read did not reach, or whose value does not
// start with a number, takes its default; a number is taken to the nearest whole number and held to
// the values the dialog offers, the circle count to its script's range.
SavedSettings settingsInForce(const ModuleState& module);

// The settings held to the values the dialog offers, as settingsInForce holds what it reads.
SavedSettings heldToRange(SavedSettings settings);

// The settings of this run: those of the file (ReadSettingsFile), or of a missing file when it is
// absent, not to be used, or to be ignored, with the settings given on the command line over them,
// all held to the values the dialog offers. The show, the dialog and the simulator all start here.
SavedSettings ReadRunSettings(ModuleState& module, const std::filesystem::path& file);

std::vector<std::string> settingsFileLines(const SavedSettings& settings);

// Replaces the settings file whole; on failure the earlier file is left as it was and the result
// names the file and the reason. A link is followed, so that the file it leads to is replaced in its
// own folder and the link stays. A file that is read-only, another user's, or that others may write
// is left as it is.
FileResult WriteSettingsFile(const SavedSettings& settings, const std::filesystem::path& programFolder);

} // namespace vortexa
