#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "dialog/form2.h"
#include "platform/file_system.h"
#include "platform/headless/headless_platform.h"
#include "running_program.h"
#include "settings/settings_location.h"
#include "sim_output.h"
#include "state/program.h"
#include "temporary_folder.h"

namespace vortexa {
namespace {

namespace fs = std::filesystem;

// Root may write into every folder, so the rules about a read-only program folder run in a child
// process that has become an ordinary user; its failures are reported there and counted here.
template <class Body> void asOrdinaryUser(Body body)
{
    if (geteuid() != 0) {
        body();
        return;
    }
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
        if (dropped)
            body();
        _exit(!dropped ? 3 : ::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child's failures are listed above";
}

// Leaves the new file of a save that is killed before its rename, as a power cut or a kill -9
// would: the writer dies holding the file.
void leaveAKilledSave(const fs::path& settingsFile)
{
    const pid_t writer = fork();
    if (writer == 0) {
        std::FILE* file = createNewFile(settingsFile.string() + ".tmp-killed");
        std::fputs("krugN=", file);
        std::fflush(file);
        raise(SIGKILL);
    }
    waitpid(writer, nullptr, 0);
}

unsigned modeOf(const fs::path& path)
{
    struct stat status { };
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

// Gives a folder made read-only back to its owner, so that the test's folder can be removed.
struct RemovableAfterwards {
    fs::path folder;
    ~RemovableAfterwards()
    {
        std::error_code ignored;
        fs::permissions(folder, fs::perms::owner_all, ignored);
    }
};

TEST(SettingsLocation, ReadAndSavedWhereTheUserCanKeepThem)
{
    // Folders are named relative to a fresh root: "program" holds the program; "" for XDG or HOME
    // means unset. The file beside the program asks for 7 circles, the user's for 11; without a file
    // the dialog shows the 9 of a missing file.
    const struct {
        const char* name;
        bool programWritable;
        bool fileBesideProgram;
        std::optional<unsigned> userFileMode; // the user's file and its permission bits; none: no file
        std::string configHome;
        std::string home;
        int circlesRead;
        std::string savedTo; // the folder that holds the file after OK; empty: the save fails
        unsigned savedMode;
        bool killedSave; // a save was killed before its rename in the folder saved to
    } rows[] = {
        {"unpacked copy", true, true, 0600, "config", "home", 7, "program", 0640, true},
        {"installed, first start", false, true, std::nullopt, "config", "home", 7, "config/vortexa", 0644, false},
        {"installed, saved before", false, true, 0600, "config", "home", 11, "config/vortexa", 0600, true},
        {"no XDG_CONFIG_HOME", false, true, 0640, "", "home", 11, "home/.config/vortexa", 0640, false},
        {"relative XDG_CONFIG_HOME", false, false, std::nullopt, "relative", "home", 9, "home/.config/vortexa", 0644,
            false},
        {"no folder of the user's", false, true, std::nullopt, "", "", 7, "", 0, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        asOrdinaryUser([&] {
            ::umask(022);
            TemporaryFolder root;
            const fs::path program = root.path() / "program";
            fs::create_directory(program);
            const RemovableAfterwards removable {program};
            const std::string configHome = row.configHome.empty() ? ""
                : row.configHome == "relative"                    ? "relative/config"
                                                                  : (root.path() / row.configHome).string();
            const std::string home = row.home.empty() ? "" : (root.path() / row.home).string();
            const fs::path user = xdgSettingsFolder(configHome, home);
            if (row.fileBesideProgram) {
                writeFile(program / "Vortexa.ini", settingsText(7, 1, 2, 0, 1, 0));
                fs::permissions(program / "Vortexa.ini", fs::perms(0640));
            }
            if (row.userFileMode) {
                fs::create_directories(user);
                writeFile(user / "Vortexa.ini", settingsText(11, 1, 2, 0, 1, 0));
                fs::permissions(user / "Vortexa.ini", fs::perms(*row.userFileMode));
            }
            const fs::path savedTo = root.path() / row.savedTo;
            if (row.killedSave)
                leaveAKilledSave(savedTo / "Vortexa.ini");
            if (!row.programWritable)
                fs::permissions(program, fs::perms(0555));

            HeadlessPlatform platform(program);
            platform.setUserSettingsFolder(user);
            platform.setCommandLine("/c");
            Program running(platform);
            running.Start();
            Form2& dialog = running.dialog();
            EXPECT_EQ(dialog.Slider[0].Value(), row.circlesRead);
            std::error_code missing;
            for (fs::directory_iterator entry(savedTo, missing), end; !missing && entry != end; ++entry)
                EXPECT_EQ(entry->path().filename().string().find(".tmp-"), std::string::npos) << entry->path();

            dialog.Slider[0].setValue(10);
            dialog.cmdOK_Click();
            if (row.savedTo.empty()) {
                ASSERT_EQ(dialog.Messages.size(), 1u);
                EXPECT_NE(dialog.Messages[0].Text.find((program / "Vortexa.ini").string()), std::string::npos);
                EXPECT_FALSE(platform.ended());
                return;
            }
            EXPECT_TRUE(platform.ended());
            EXPECT_EQ(fileText(savedTo / "Vortexa.ini").substr(0, 9), "krugN=10\r");
            EXPECT_EQ(modeOf(savedTo / "Vortexa.ini"), row.savedMode);
            if (savedTo != program && !row.userFileMode) {
                EXPECT_EQ(modeOf(savedTo), 0700u) << "a folder made for the save is the user's alone";
            }
            if (row.fileBesideProgram && savedTo != program) {
                EXPECT_EQ(fileText(program / "Vortexa.ini"), settingsText(7, 1, 2, 0, 1, 0));
            }
        });
    }
}

// Settings are read from and saved to only a folder and a file that no other user can change: one
// that a stranger owns or may write counts as no file (the defaults) and refuses a save with a
// message. Rows of other owners need root to make them.
TEST(SettingsLocation, OnlyFoldersAndFilesNoOtherUserCanChangeAreUsed)
{
    enum Owner { Self, Root, Stranger, NoFile };
    const struct {
        const char* name;
        Owner folderOwner;
        unsigned folderMode;
        Owner fileOwner;
        unsigned fileMode;
        int circlesRead; // 11 from the file, 9 without one
        bool saved;
        unsigned savedMode; // of the new file, or of the file left as it was
        bool toldAtShow; // the dialog says why the file is not used before OK is pressed
    } rows[] = {
        {"the user's own folder and file", Self, 0700, Self, 0600, 11, true, 0600, false},
        {"a folder the user's own group may write", Self, 0770, Self, 0640, 11, true, 0640, false},
        {"a folder everyone may write", Self, 0777, Self, 0600, 9, false, 0600, false},
        {"a file everyone may write", Self, 0700, Self, 0666, 9, false, 0666, true},
        {"a file the user's group may write", Self, 0700, Self, 0620, 11, true, 0620, false},
        {"a read-only file", Self, 0700, Self, 0444, 11, false, 0444, false},
        {"a shared folder where only owners remove names", Root, 01777, Self, 0600, 11, true, 0600, false},
        {"a stranger's folder everyone may write", Stranger, 0777, Stranger, 0666, 9, false, 0666, true},
        {"a stranger's file in the user's folder", Self, 0755, Stranger, 0644, 9, false, 0644, true},
    };
    const bool root = geteuid() == 0;
    const uid_t self = root ? 65534 : getuid();
    const gid_t selfGroup = root ? 65534 : getgid();
    constexpr uid_t StrangerId = 12345;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (!root && (row.folderOwner != Self || row.fileOwner == Stranger)) {
            std::printf("skipped \"%s\": only root can make files of another user\n", row.name);
            continue;
        }
        TemporaryFolder top;
        fs::permissions(top.path(), fs::perms(0755));
        const fs::path program = top.path() / "program";
        const fs::path user = top.path() / "config" / "vortexa";
        fs::create_directories(program);
        fs::create_directories(user);
        const auto idOf = [&](Owner owner) { return owner == Root ? 0u : owner == Stranger ? StrangerId : self; };
        const auto give = [&](const fs::path& path, Owner owner, unsigned mode) {
            if (root) {
                ASSERT_EQ(chown(path.c_str(), idOf(owner), owner == Self ? selfGroup : idOf(owner)), 0);
            }
            fs::permissions(path, fs::perms(mode));
        };
        if (row.fileOwner != NoFile) {
            writeFile(user / "Vortexa.ini", settingsText(11, 1, 2, 0, 1, 0));
            give(user / "Vortexa.ini", row.fileOwner, row.fileMode);
        }
        give(user, row.folderOwner, row.folderMode);
        const fs::path& folder = user;
        fs::permissions(program, fs::perms(0555));
        const RemovableAfterwards removable {program};
        asOrdinaryUser([&] {
            ::umask(022);
            HeadlessPlatform platform(program);
            platform.setUserSettingsFolder(folder);
            platform.setCommandLine("/c");
            Program running(platform);
            running.Start();
            Form2& dialog = running.dialog();
            EXPECT_EQ(dialog.Slider[0].Value(), row.circlesRead);
            EXPECT_EQ(running.module.CircleCount, row.circlesRead) << "the show runs what the dialog shows";
            EXPECT_EQ(simValue(simFirstLine(folder / "Vortexa.ini"), "circle_count"), std::to_string(row.circlesRead));
            ASSERT_EQ(dialog.Messages.size(), row.toldAtShow ? 1u : 0u);
            if (row.toldAtShow) {
                EXPECT_NE(dialog.Messages[0].Text.find("not used"), std::string::npos) << dialog.Messages[0].Text;
            }
            dialog.Messages.clear();
            dialog.Slider[0].setValue(10);
            dialog.cmdOK_Click();
            EXPECT_EQ(platform.ended(), row.saved);
            EXPECT_EQ(modeOf(folder / "Vortexa.ini"), row.savedMode);
            if (!row.saved) {
                ASSERT_EQ(dialog.Messages.size(), 1u);
                EXPECT_NE(dialog.Messages[0].Text.find(folder.string()), std::string::npos) << dialog.Messages[0].Text;
                EXPECT_EQ(fileText(folder / "Vortexa.ini").substr(0, 9), "krugN=11\r") << "the user's values stay";
                return;
            }
            EXPECT_EQ(fileText(folder / "Vortexa.ini").substr(0, 9), "krugN=10\r");
        });
    }
}

// Settings kept elsewhere and linked in: OK replaces the file the link leads to, in that file's
// folder, and the link stays. A link to a file that is read-only, another user's, or none is left
// as it is, with a message.
TEST(SettingsLocation, ALinkedFileIsSavedWhereTheLinkLeads)
{
    enum Target { Own, ReadOnly, Strangers, Missing };
    const struct {
        const char* name;
        Target target;
        int circlesRead;
        bool saved;
    } rows[] = {
        {"the user's own file", Own, 11, true},
        {"a read-only file", ReadOnly, 11, false},
        {"a stranger's file", Strangers, 9, false},
        {"no file", Missing, 9, false},
    };
    const bool root = geteuid() == 0;
    const uid_t self = root ? 65534 : getuid();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (!root && row.target == Strangers) {
            std::printf("skipped \"%s\": only root can make files of another user\n", row.name);
            continue;
        }
        TemporaryFolder top;
        fs::permissions(top.path(), fs::perms(0755));
        const fs::path program = top.path() / "program";
        const fs::path user = top.path() / "config" / "vortexa";
        const fs::path dotfiles = top.path() / "dotfiles";
        for (const fs::path& folder : {program, user, dotfiles})
            fs::create_directories(folder);
        const fs::path target = dotfiles / "vortexa.ini";
        if (row.target != Missing)
            writeFile(target, settingsText(11, 1, 2, 0, 1, 0));
        fs::create_symlink("../../dotfiles/vortexa.ini", user / "Vortexa.ini");
        if (root) {
            for (const fs::path& path : {user, dotfiles, top.path() / "config"})
                ASSERT_EQ(chown(path.c_str(), self, self), 0);
            if (row.target != Missing) {
                ASSERT_EQ(chown(target.c_str(), row.target == Strangers ? 12345 : self, self), 0);
            }
        }
        if (row.target != Missing)
            fs::permissions(target, fs::perms(row.target == ReadOnly ? 0444 : 0644));
        fs::permissions(program, fs::perms(0555));
        const RemovableAfterwards removable {program};
        asOrdinaryUser([&] {
            HeadlessPlatform platform(program);
            platform.setUserSettingsFolder(user);
            platform.setCommandLine("/c");
            Program running(platform);
            running.Start();
            Form2& dialog = running.dialog();
            EXPECT_EQ(dialog.Slider[0].Value(), row.circlesRead);
            dialog.Messages.clear();
            dialog.Slider[0].setValue(10);
            dialog.cmdOK_Click();
            EXPECT_EQ(platform.ended(), row.saved);
            EXPECT_TRUE(fs::is_symlink(user / "Vortexa.ini"));
            EXPECT_EQ(std::distance(fs::directory_iterator(user), {}), 1) << "nothing beside the link";
            if (row.saved) {
                EXPECT_EQ(fileText(target).substr(0, 9), "krugN=10\r");
                EXPECT_EQ(std::distance(fs::directory_iterator(dotfiles), {}), 1) << "no new file left behind";
                return;
            }
            ASSERT_EQ(dialog.Messages.size(), 1u);
            if (row.target != Missing) {
                EXPECT_EQ(fileText(target).substr(0, 9), "krugN=11\r");
            }
        });
    }
}

TEST(SettingsLocation, ASaveStillRunningKeepsItsNewFile)
{
    TemporaryFolder folder;
    const fs::path inProgress = folder.path() / "Vortexa.ini.tmp-running";
    std::FILE* file = createNewFile(inProgress);
    ASSERT_NE(file, nullptr);
    removeAbandonedSaves(folder.path() / "Vortexa.ini");
    EXPECT_TRUE(fs::exists(inProgress));
    std::fclose(file);
    removeAbandonedSaves(folder.path() / "Vortexa.ini");
    EXPECT_FALSE(fs::exists(inProgress));
}

} // namespace
} // namespace vortexa
