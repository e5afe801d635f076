#pragma once
// A running program on the headless platform, in a fresh folder of its own that is removed
// afterwards, for the tests of the dialog and the saver screen's input.

#include <filesystem>
#include <string>

#include "dialog/form2.h"
#include "platform/headless/headless_platform.h"
#include "running_program.h"
#include "saver/form1.h"
#include "state/program.h"
#include "temporary_folder.h"

namespace vortexa {

struct DialogWorld {
    // Starts the program with the command line and, when given, a settings file.
    explicit DialogWorld(const std::string& commandLine = "/s", const std::string& settings = {})
    {
        if (!settings.empty())
            writeFile(settingsPath(), settings);
        platform.setCommandLine(commandLine);
        program.Start();
    }

    std::filesystem::path settingsPath() const { return folder.path() / "Vortexa.ini"; }
    Form2& dialog() { return program.dialog(); }
    // The newest saver screen.
    Form1& saver() { return *program.screens().back(); }
    // A user's mouse movement somewhere the program never puts the pointer.
    void moveMouse() { saver().Form_MouseMove(15 * 7, 15 * 3); }

    TemporaryFolder folder;
    HeadlessPlatform platform {folder.path()};
    Program program {platform};
};

} // namespace vortexa
