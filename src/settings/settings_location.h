#pragma once
// Where the settings file and the shortcut file live. A copy unpacked into a folder of the user's
// keeps them beside the program; an installed copy, whose folder the user cannot write, keeps them
// in the user's own folder, and reads the file beside the program until the user saves one.

#include <filesystem>
#include <string_view>

#include "platform/platform.h"
#include "records/text_file.h"

namespace vortexa {

struct SettingsFolders {
    std::filesystem::path reading;
    std::filesystem::path writing;
};

// The rule itself. An empty user folder means the user has none: everything stays beside the
// program, and a save there reports why it failed.
SettingsFolders settingsFolders(const std::filesystem::path& programFolder, const std::filesystem::path& userFolder);
SettingsFolders settingsFolders(Platform& platform);

// The settings file a start reads: the one a tool names, else the one the rule finds.
std::filesystem::path settingsFileToRead(Platform& platform);

// Creates the folder a save goes to when it is missing; the folders made are the user's alone. A
// folder that another user owns or may write is refused: what is saved there could be swapped.
FileResult makeFolderForSaving(const std::filesystem::path& folder);

// The user's folder on a desktop that follows the XDG base directories: $XDG_CONFIG_HOME/vortexa,
// else $HOME/.config/vortexa. Each must be an absolute path to count; with neither the result is
// empty.
std::filesystem::path xdgSettingsFolder(std::string_view configHome, std::string_view home);

} // namespace vortexa
