// The settings file as any bytes: the saver's set-up takes it, the show runs, and the dialog's
// preview and script buttons take what its load step made of it.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "dialog/form2.h"
#include "platform/headless/headless_platform.h"
#include "state/program.h"

namespace {

namespace fs = std::filesystem;

// One folder for the whole run, removed when the fuzzer ends normally.
class ProgramFolder {
public:
    ProgramFolder()
    {
        std::random_device device;
        m_path = fs::temp_directory_path() / ("vortexa-fuzz-" + std::to_string(device()));
        fs::create_directories(m_path);
    }
    ~ProgramFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// The first second of a show reaches the script's step a hundred times and the first clock tick;
// a preview runs a few steps.
constexpr int64_t ShowMs = 1000;
constexpr int64_t PreviewMs = 100;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ProgramFolder folder;
    std::ofstream(folder.path() / vortexa::SettingsFileName, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    vortexa::HeadlessPlatform platform(folder.path(), 800, 600);
    vortexa::Program program(platform);
    program.Start();
    platform.advance(ShowMs);

    vortexa::Form2& dialog = program.dialog();
    dialog.CmdPRO_Click();
    platform.advance(PreviewMs);
    for (int script = 0; script < 3; ++script) {
        dialog.cmdS_Click(script);
        dialog.CmdPRO_Click();
        platform.advance(PreviewMs);
    }
    return 0;
}
