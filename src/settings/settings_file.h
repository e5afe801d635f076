#pragma once
// The settings file "Vortexa.ini" beside the program: seven key=value lines whose meaning comes from
// their line number alone.

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

// ReadSettingsFile, then the settings given on the command line over the values read: a run
// with such settings reads as if the file held them, also when there is no file (then the other
// values are those of a missing file, as they are when the file is to be ignored). The circle count given is held to
// the range of the script in effect. Returns whether there are values to take.
bool ReadRunSettings(ModuleState& module, const std::filesystem::path& file);

// The script a stored text names, as a whole number; a text naming none of the three scripts gives
// the script of a missing file.
int16_t StoredScript(const std::string& text);

// The values one save writes, in the order of the file's lines.
struct SavedSettings {
    int CircleCount = 0; // krugN
    int BorderWidth = 0; // BorderWidth
    int Speed = 0; // Speed
    int ViewTime = 0; // viewTime
    int Scenario = 0; // Scenario
    int Captives = 0; // Plen
    float Language = 0; // Local
};

std::vector<std::string> settingsFileLines(const SavedSettings& settings);

// Replaces the settings file whole; on failure the earlier file is left as it was and the result
// names the file and the reason.
FileResult WriteSettingsFile(const SavedSettings& settings, const std::filesystem::path& programFolder);

} // namespace vortexa
