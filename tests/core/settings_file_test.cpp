#include <gtest/gtest.h>

#include "settings/settings_file.h"
#include "temporary_folder.h"

namespace vortexa {
namespace {

TEST(SettingsFile, SavedSettingsReadBackSlotBySlot)
{
    TemporaryFolder folder;
    const SavedSettings saved {8, 2, 3, 0, 1, 1, 1};
    ASSERT_TRUE(WriteSettingsFile(saved, folder.path()).ok);
    EXPECT_EQ(folder.read("Vortexa.ini"),
        "krugN=8\r\nBorderWidth=2\r\nSpeed=3\r\nviewTime=0\r\nScenario=1\r\nPlen=1\r\nLocal=1\r\n");

    ModuleState module;
    ASSERT_TRUE(ReadSettingsFile(module, settingsFilePath(folder.path())));
    EXPECT_EQ(module.IniLine, 7);
    const std::array<std::string, IniSlots> expected {"8", "2", "3", "0", "1", "1", "1", "", "", "", ""};
    EXPECT_EQ(module.IniValue, expected);
}

// A name outside the system's code page must survive the whole save: the temporary file, the
// rename and the read.
TEST(SettingsFile, SavesIntoAFolderWhoseNameIsCyrillic)
{
    TemporaryFolder folder;
    const std::filesystem::path program = folder.path() / std::filesystem::path(u8"Заставка");
    std::filesystem::create_directory(program);
    ASSERT_TRUE(WriteSettingsFile({12, 3, 5, 4, 3, 0, 0}, program).ok);
    ASSERT_TRUE(WriteSettingsFile({10, 3, 5, 4, 3, 0, 0}, program).ok);
    ModuleState module;
    ASSERT_TRUE(ReadSettingsFile(module, settingsFilePath(program)));
    EXPECT_EQ(module.IniValue[0], "10");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(program), {}), 1);
}

TEST(SettingsFile, LanguageIsWrittenAsAWholeNumber)
{
    EXPECT_EQ(settingsFileLines({6, 1, 1, 0, 1, 0, 0.0f}).back(), "Local=0");
    EXPECT_EQ(settingsFileLines({6, 1, 1, 0, 1, 0, 1.0f}).back(), "Local=1");
}

TEST(SettingsFile, AbsentFileChangesNothing)
{
    TemporaryFolder folder;
    ModuleState module;
    module.IniValue[0] = "earlier";
    module.IniLine = 4;
    EXPECT_FALSE(ReadSettingsFile(module, settingsFilePath(folder.path())));
    EXPECT_EQ(module.IniValue[0], "earlier");
    EXPECT_EQ(module.IniLine, 4);
}

TEST(SettingsFile, DamagedFilesGiveDefinedValues)
{
    const struct Row {
        const char* name;
        std::string content;
        int lines;
        std::vector<std::string> firstSlots;
    } rows[] = {
        {"empty", "", 0, {"was 0", "was 1"}},
        {"no equals sign", "krugN\r\n12\r\n", 2, {"krugN", "12"}},
        {"only the first = splits", "krugN=8=9\r\n", 1, {"8=9", "was 1"}},
        {"equals sign last", "krugN=\r\n", 1, {"", "was 1"}},
        {"line feeds only", "krugN=7\nBorderWidth=3\n", 2, {"7", "3"}},
        {"no line end at the end", "krugN=7\r\nSpeed=4", 2, {"7", "4"}},
        {"keys play no part", "Speed=4\r\nkrugN=9\r\n", 2, {"4", "9"}},
        {"binary garbage", std::string("\x00\xff=\x01\x02\r\n\xfe", 8), 2, {std::string("\x01\x02"), "\xfe"}},
        {"huge and negative numbers", "krugN=99999999999999999999\r\nBorderWidth=-3\r\n", 2,
            {"99999999999999999999", "-3"}},
    };
    for (const Row& row : rows) {
        TemporaryFolder folder;
        folder.write("Vortexa.ini", row.content);
        ModuleState module;
        module.IniValue[0] = "was 0";
        module.IniValue[1] = "was 1";
        ASSERT_TRUE(ReadSettingsFile(module, settingsFilePath(folder.path()))) << row.name;
        EXPECT_EQ(module.IniLine, row.lines) << row.name;
        for (size_t k = 0; k < row.firstSlots.size(); ++k)
            EXPECT_EQ(module.IniValue[k], row.firstSlots[k]) << row.name << " slot " << k;
    }
}

TEST(SettingsFile, LinesPastTheEleventhAreIgnored)
{
    TemporaryFolder folder;
    std::string content;
    for (int line = 1; line <= 40; ++line)
        content += "key=" + std::to_string(line) + "\r\n";
    folder.write("Vortexa.ini", content);
    ModuleState module;
    ASSERT_TRUE(ReadSettingsFile(module, settingsFilePath(folder.path())));
    EXPECT_EQ(module.IniLine, 11);
    EXPECT_EQ(module.IniValue[10], "11");
}

TEST(SettingsFile, UnreadableFileCountsAsAbsent)
{
    TemporaryFolder folder;
    folder.write("Vortexa.ini", "krugN=8\r\n");
    std::filesystem::permissions(folder.path() / "Vortexa.ini", std::filesystem::perms::none);
    if (std::ifstream(folder.path() / "Vortexa.ini"))
        GTEST_SKIP() << "this user reads every file";
    ModuleState module;
    EXPECT_FALSE(ReadSettingsFile(module, settingsFilePath(folder.path())));
}

TEST(SettingsFile, AFolderInPlaceOfTheFileCountsAsAbsent)
{
    TemporaryFolder folder;
    std::filesystem::create_directory(folder.path() / "Vortexa.ini");
    ModuleState module;
    EXPECT_FALSE(ReadSettingsFile(module, settingsFilePath(folder.path())));
}

TEST(SettingsFile, FailedSaveReportsTheFileAndLeavesTheEarlierOneIntact)
{
    TemporaryFolder folder;
    folder.write("Vortexa.ini", "krugN=12\r\n");
    // A folder that cannot take a new file fails for root as well: here the target's folder is
    // missing, and separately the target is a folder.
    const FileResult missingFolder = WriteSettingsFile({8, 1, 1, 0, 1, 0, 1}, folder.path() / "gone");
    EXPECT_FALSE(missingFolder.ok);
    EXPECT_NE(missingFolder.error.find("Vortexa.ini"), std::string::npos) << missingFolder.error;

    std::filesystem::create_directory(folder.path() / "sub");
    std::filesystem::create_directory(folder.path() / "sub" / "Vortexa.ini");
    EXPECT_FALSE(WriteSettingsFile({8, 1, 1, 0, 1, 0, 1}, folder.path() / "sub").ok);

    EXPECT_EQ(folder.read("Vortexa.ini"), "krugN=12\r\n");
    for (const auto& entry : std::filesystem::directory_iterator(folder.path() / "sub"))
        EXPECT_EQ(entry.path().filename(), "Vortexa.ini") << "a temporary file was left behind";
}

// Settings kept elsewhere and linked in stay where they are kept: the save replaces the file the
// link leads to, in that file's folder, and the link stays.
TEST(SettingsFile, SaveWritesTheFileALinkLeadsTo)
{
    TemporaryFolder folder;
    std::filesystem::create_directory(folder.path() / "kept");
    folder.write("kept/settings.ini", "krugN=12\r\n");
    if (!makeSymbolicLink(folder.path() / "kept" / "settings.ini", folder.path() / "Vortexa.ini"))
        GTEST_SKIP() << "no symbolic links here";
    ASSERT_TRUE(WriteSettingsFile({8, 1, 1, 0, 1, 0, 1}, folder.path()).ok);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path() / "Vortexa.ini"));
    EXPECT_EQ(folder.read("kept/settings.ini").substr(0, 8), "krugN=8\r");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path() / "kept"), {}), 1);
}

// A user marks a file read-only to keep it: a save leaves it as it is and says why.
TEST(SettingsFile, SaveLeavesAReadOnlyFileAsItIs)
{
    namespace fs = std::filesystem;
    TemporaryFolder folder;
    folder.write("Vortexa.ini", "krugN=12\r\n");
    const fs::path file = folder.path() / "Vortexa.ini";
    fs::permissions(
        file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write, fs::perm_options::remove);
    const FileResult result = WriteSettingsFile({8, 1, 1, 0, 1, 0, 1}, folder.path());
    const bool stillReadOnly = (fs::status(file).permissions() & fs::perms::owner_write) == fs::perms::none;
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("read-only"), std::string::npos) << result.error;
    EXPECT_EQ(folder.read("Vortexa.ini"), "krugN=12\r\n");
    EXPECT_TRUE(stillReadOnly);
}

} // namespace
} // namespace vortexa
