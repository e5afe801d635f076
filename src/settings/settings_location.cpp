#include "settings/settings_location.h"

#include <system_error>
#include <vector>

#include "platform/file_system.h"
#include "settings/settings_file.h"

namespace vortexa {

namespace fs = std::filesystem;

SettingsFolders settingsFolders(const fs::path& programFolder, const fs::path& userFolder)
{
    if (userFolder.empty() || canCreateFilesIn(programFolder))
        return {programFolder, programFolder};
    std::error_code error;
    if (fs::is_regular_file(settingsFilePath(userFolder), error))
        return {userFolder, userFolder};
    return {programFolder, userFolder};
}

SettingsFolders settingsFolders(Platform& platform)
{
    return settingsFolders(platform.programFolder(), platform.userSettingsFolder());
}

std::filesystem::path settingsFileToRead(Platform& platform)
{
    if (const auto given = platform.settingsFileGiven())
        return *given;
    return settingsFilePath(settingsFolders(platform).reading);
}

FileResult makeFolderForSaving(const fs::path& folder)
{
    std::vector<fs::path> missing;
    std::error_code error;
    for (fs::path step = folder; !step.empty() && !fs::exists(step, error); step = step.parent_path()) {
        missing.push_back(step);
        if (step == step.parent_path())
            break;
    }
    for (auto step = missing.rbegin(); step != missing.rend(); ++step) {
        if (!fs::create_directory(*step, error) && error)
            return {false, "\"" + step->string() + "\": " + error.message()};
        fs::permissions(*step, fs::perms::owner_all, error);
    }
    if (!ownedAndUnshared(folder))
        return {false, "\"" + folder.string() + "\": the folder is another user's, or others may write in it"};
    return {};
}

fs::path xdgSettingsFolder(std::string_view configHome, std::string_view home)
{
    const fs::path configured(configHome);
    if (configured.is_absolute())
        return configured / "vortexa";
    const fs::path homeFolder(home);
    if (homeFolder.is_absolute())
        return homeFolder / ".config" / "vortexa";
    return {};
}

} // namespace vortexa
