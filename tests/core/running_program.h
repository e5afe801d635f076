#pragma once
// A program started on the headless platform, with its own program folder.

#include <optional>
#include <string>

#include "platform/headless/headless_platform.h"
#include "saver/form1.h"
#include "state/program.h"
#include "temporary_folder.h"

namespace vortexa {

struct StartOptions {
    std::optional<std::string> settingsFile; // the content of Vortexa.ini; none for no file
    std::string commandLine = "/s";
    int widthPixels = 1920;
    int heightPixels = 1080;
    bool givenWindow = false; // the show runs in a window a daemon gave it
};

class RunningProgram {
public:
    // The overrides are the settings given on the command line.
    explicit RunningProgram(const StartOptions& options = {}, const SettingOverrides& overrides = {})
        : platform(folder.path(), options.widthPixels, options.heightPixels)
        , program(platform)
    {
        if (options.settingsFile)
            folder.write("Vortexa.ini", *options.settingsFile);
        platform.setCommandLine(options.commandLine);
        platform.setShowsInGivenWindow(options.givenWindow);
        program.module.Overrides = overrides;
        program.Start();
    }

    SaverScreen& screen() { return program.screens().front()->screen; }
    ModuleState& module() { return program.module; }

    TemporaryFolder folder;
    HeadlessPlatform platform;
    Program program;
};

// A settings file as the dialog writes it.
inline std::string settingsText(
    int circles, int width, int speed, int viewTime, int scenario, int captives, int language = 1)
{
    return "krugN=" + std::to_string(circles) + "\r\nBorderWidth=" + std::to_string(width)
        + "\r\nSpeed=" + std::to_string(speed) + "\r\nviewTime=" + std::to_string(viewTime)
        + "\r\nScenario=" + std::to_string(scenario) + "\r\nPlen=" + std::to_string(captives)
        + "\r\nLocal=" + std::to_string(language) + "\r\n";
}

} // namespace vortexa
