#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <stdlib.h>

#include "platform/x11/dialog_module_loader.h"

namespace vortexa {
namespace {

namespace fs = std::filesystem;

class TemporaryFolder {
public:
    TemporaryFolder()
    {
        char name[] = "/tmp/vortexa-loader-test.XXXXXX";
        if (!mkdtemp(name))
            throw std::runtime_error("no temporary folder");
        m_path = name;
    }
    ~TemporaryFolder() { fs::remove_all(m_path); }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// The build tree keeps the module beside the program; an installed program finds it in the
// libraries' folder of its prefix, wherever that prefix is.
TEST(DialogModuleLoader, LooksBesideTheProgramThenInItsPrefix)
{
    const std::string installed = VORTEXA_DIALOG_MODULE_DIR "/vortexa-dialog.so";
    const struct {
        fs::path program;
        std::vector<fs::path> places;
    } rows[] = {
        {"/work/build/src/vortexa", {"/work/build/src/vortexa-dialog.so", "/work/" + installed}},
        {"/usr/libexec/xscreensaver/vortexa", {"/usr/libexec/xscreensaver/vortexa-dialog.so", "/usr/" + installed}},
        {"/home/someone/opt/libexec/xscreensaver/vortexa",
            {"/home/someone/opt/libexec/xscreensaver/vortexa-dialog.so", "/home/someone/opt/" + installed}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.program);
        std::vector<fs::path> expected;
        for (const fs::path& place : row.places)
            expected.push_back(place.lexically_normal());
        EXPECT_EQ(dialogModulePlaces(row.program), expected);
    }
}

// A module that is missing or broken gives one line for the user that says which, and no entry.
TEST(DialogModuleLoader, AMissingOrBrokenModuleGivesOneLine)
{
    TemporaryFolder folder;
    const fs::path garbage = folder.path() / "garbage" / DialogModuleFileName;
    fs::create_directories(garbage.parent_path());
    std::ofstream(garbage) << "not a library\n";
    const fs::path nowhere = folder.path() / "nowhere" / DialogModuleFileName;

    const struct {
        std::vector<fs::path> places;
        std::string says;
    } rows[] = {
        {{nowhere, folder.path() / DialogModuleFileName},
            "its module vortexa-dialog.so is in none of " + nowhere.parent_path().string() + ", "
                + folder.path().string()},
        {{garbage}, garbage.string()},
        {{nowhere, VORTEXA_MODULE_WITHOUT_ENTRY},
            std::string(VORTEXA_MODULE_WITHOUT_ENTRY) + " has no entry vortexa_dialog_module"},
        {{VORTEXA_MODULE_WITH_MISSING_SYMBOL}, "vortexa_symbol_no_program_defines"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.says);
        const LoadedDialogModule loaded = loadDialogModuleFrom(row.places);
        EXPECT_EQ(loaded.entry, nullptr);
        EXPECT_EQ(loaded.problem.rfind("vortexa: the settings dialog cannot open: ", 0), 0u) << loaded.problem;
        EXPECT_NE(loaded.problem.find(row.says), std::string::npos) << loaded.problem;
        EXPECT_EQ(loaded.problem.find('\n'), std::string::npos) << loaded.problem;
    }
}

} // namespace
} // namespace vortexa
