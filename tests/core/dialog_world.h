#pragma once
// A running program on the headless platform, in a fresh folder of its own that is removed
// afterwards, for the tests of the dialog and the saver screen's input.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/headless/headless_platform.h"
#include "saver/form1.h"
#include "saver/program.h"
#include "settings/form2.h"

namespace vortexa {

class TemporaryFolder {
public:
    TemporaryFolder()
    {
        std::random_device device;
        path = std::filesystem::temp_directory_path() / ("vortexa-test-" + std::to_string(device()));
        std::filesystem::create_directories(path);
    }
    ~TemporaryFolder()
    {
        std::error_code error;
        std::filesystem::permissions(path, std::filesystem::perms::owner_all, error);
        std::filesystem::remove_all(path, error);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::filesystem::path path;
};

inline std::string fileText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Seven lines as the dialog writes them.
inline std::string settingsText(int circles, int width, int speed, int viewTime, int scenario, int captives, int local)
{
    return "krugN=" + std::to_string(circles) + "\r\nBorderWidth=" + std::to_string(width)
        + "\r\nSpeed=" + std::to_string(speed) + "\r\nviewTime=" + std::to_string(viewTime)
        + "\r\nScenario=" + std::to_string(scenario) + "\r\nPlen=" + std::to_string(captives)
        + "\r\nLocal=" + std::to_string(local) + "\r\n";
}

struct DialogWorld {
    // Starts the program with the command line and, when given, a settings file.
    explicit DialogWorld(const std::string& commandLine = "/s", const std::string& settings = {})
    {
        if (!settings.empty())
            writeFile(settingsPath(), settings);
        platform.setCommandLine(commandLine);
        program.Start();
    }

    std::filesystem::path settingsPath() const { return folder.path / "Vortexa.ini"; }
    Form2& dialog() { return program.dialog(); }
    // The newest saver screen.
    Form1& saver() { return *program.screens().back(); }
    // A user's mouse movement somewhere the program never puts the pointer.
    void moveMouse() { saver().Form_MouseMove(0, 0, 15 * 7, 15 * 3); }

    TemporaryFolder folder;
    HeadlessPlatform platform {folder.path};
    Program program {platform};
};

} // namespace vortexa
