#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "running_program.h"

namespace vortexa {
namespace {

namespace fs = std::filesystem;

enum class Kind { Text, Sparse, Folder, LinkLoop, LinkToDevice, Fifo, Unreadable };

struct DamagedFile {
    const char* name;
    Kind kind;
    std::string content;
    int script; // what the show runs
    int circles;
    int simStatus; // vortexa-sim refuses what it cannot read
};

std::string withLineEnds(std::string text, const std::string& end)
{
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + end.size()))
        text.replace(at, 2, end);
    return text;
}

std::string utf16(const std::string& ascii)
{
    std::string text = "\xFF\xFE";
    for (char c : ascii)
        text += std::string {c, '\0'};
    return text;
}

void make(const DamagedFile& row, const fs::path& path)
{
    switch (row.kind) {
    case Kind::Text:
        writeFile(path, row.content);
        break;
    case Kind::Sparse:
        writeFile(path, "");
        fs::resize_file(path, std::uintmax_t {1} << 30);
        break;
    case Kind::Folder:
        fs::create_directory(path);
        break;
    case Kind::LinkLoop:
        fs::create_symlink(path.filename(), path);
        break;
    case Kind::LinkToDevice:
        fs::create_symlink("/dev/zero", path);
        break;
    case Kind::Fifo:
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        break;
    case Kind::Unreadable:
        writeFile(path, row.content);
        fs::permissions(path, fs::perms::none);
        break;
    }
}

struct SimRun {
    int status = -1;
    long peakKilobytes = 0;
};

SimRun runSimOn(const fs::path& settings)
{
    const pid_t child = fork();
    if (child == 0) {
        const int nowhere = open("/dev/null", O_WRONLY);
        dup2(nowhere, STDOUT_FILENO);
        dup2(nowhere, STDERR_FILENO);
        execl(VORTEXA_SIM_PATH, VORTEXA_SIM_PATH, "--settings", settings.c_str(), "--ms", "300", nullptr);
        _exit(127);
    }
    int status = 0;
    rusage usage {};
    wait4(child, &status, 0, &usage);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss};
}

bool anyShapeMoves(HeadlessPlatform& platform, const SaverScreen& screen)
{
    std::vector<std::pair<float, float>> before;
    for (int i = 0; i < screen.Shape.Count(); ++i)
        before.emplace_back(screen.Shape[i].Left, screen.Shape[i].Top);
    platform.advance(500);
    for (int i = 0; i < screen.Shape.Count(); ++i)
        if (before[static_cast<size_t>(i)] != std::pair(screen.Shape[i].Left, screen.Shape[i].Top))
            return true;
    return false;
}

// Whatever lies where the settings file belongs, the show starts, moves and stays within bounds.
TEST(DamagedSettingsFile, GivesAMovingSceneOrAClearRefusal)
{
    const std::string readable = settingsText(8, 1, 2, 0, 2, 0);
    const DamagedFile rows[] = {
        {"empty", Kind::Text, "", 1, 1, 0},
        {"binary", Kind::Text, std::string("\x00\xff\x10=\x80\x81\n\xfe=\xfd\r\n\x07", 13), 1, 1, 0},
        {"a line of 1 MB", Kind::Text, "krugN=" + std::string(1 << 20, '7') + "\r\nScenario=3\r\n", 1, 12, 0},
        {"50 MB of line ends", Kind::Text, std::string(50 << 20, '\n'), 1, 1, 0},
        {"1 GiB of zero bytes", Kind::Sparse, "", 1, 1, 0},
        {"thirteen lines", Kind::Text, readable + "extra=5\r\nextra=5\r\nextra=5\r\nextra=5\r\nextra=5\r\nextra=5\r\n",
            2, 8, 0},
        {"no equals signs", Kind::Text, "8\r\n2\r\n3\r\n0\r\n3\r\n1\r\n1\r\n", 3, 8, 0},
        {"negative numbers", Kind::Text, settingsText(-9, -1, -3, -1, -2, -1, -1), 1, 1, 0},
        {"enormous numbers", Kind::Text,
            "krugN=1e999\r\nBorderWidth=99999999999999\r\nSpeed=1e400\r\nviewTime=1e30\r\nScenario=3\r\nPlen=99\r\n"
            "Local=1e9\r\n",
            3, 20, 0},
        {"decimals", Kind::Text,
            "krugN=7.5\r\nBorderWidth=2.5\r\nSpeed=2.5\r\nviewTime=1.5\r\nScenario=2.5\r\nPlen=0.5\r\nLocal=0.5\r\n", 2,
            7, 0},
        {"hexadecimal", Kind::Text, "krugN=&H10\r\nBorderWidth=&H2\r\nSpeed=&H3\r\nviewTime=&H0\r\nScenario=&H3\r\n", 3,
            16, 0},
        {"a byte order mark", Kind::Text, "\xEF\xBB\xBF" + settingsText(8, 1, 2, 0, 3, 1), 3, 8, 0},
        {"CR only", Kind::Text, withLineEnds(settingsText(11, 1, 2, 0, 1, 0), "\r"), 1, 11, 0},
        {"LF only", Kind::Text, withLineEnds(settingsText(11, 1, 2, 0, 1, 0), "\n"), 1, 11, 0},
        {"UTF-16", Kind::Text, utf16(settingsText(8, 1, 2, 0, 3, 0)), 1, 1, 0},
        {"script 3.7", Kind::Text, "krugN=9\r\nBorderWidth=1\r\nSpeed=2\r\nviewTime=0\r\nScenario=3.7\r\n", 1, 9, 0},
        {"21 circles of Independence", Kind::Text, settingsText(21, 1, 2, 0, 1, 0), 1, 12, 0},
        {"a folder", Kind::Folder, "", 1, 9, 2},
        {"a loop of links", Kind::LinkLoop, "", 1, 9, 2},
        {"a link to /dev/zero", Kind::LinkToDevice, "", 1, 9, 2},
        {"a FIFO", Kind::Fifo, "", 1, 9, 2},
        {"no read permission", Kind::Unreadable, readable, 1, 9, 2},
    };
    for (DamagedFile row : rows) {
        SCOPED_TRACE(row.name);
        if (row.kind == Kind::Unreadable && geteuid() == 0)
            row = {row.name, row.kind, readable, 2, 8, 0}; // root reads it all the same
        TemporaryFolder folder;
        const fs::path settings = folder.path() / "Vortexa.ini";
        make(row, settings);

        HeadlessPlatform platform(folder.path());
        Program program(platform);
        program.Start();
        ASSERT_EQ(program.screens().size(), 1u);
        const SaverScreen& screen = program.screens().front()->screen;
        EXPECT_EQ(program.module.Scenario, row.script);
        EXPECT_EQ(screen.Shape.Count(), row.circles);
        EXPECT_TRUE(anyShapeMoves(platform, screen));

        const SimRun sim = runSimOn(settings);
        EXPECT_EQ(sim.status, row.simStatus);
        EXPECT_LT(sim.peakKilobytes, 256 * 1024);
    }
}

} // namespace
} // namespace vortexa
