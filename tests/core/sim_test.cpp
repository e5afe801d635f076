#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "temporary_folder.h"

namespace vortexa {
namespace {

struct SimRun {
    int status = -1;
    std::string out;
    std::string err;
};

#ifdef _WIN32
FILE* openPipe(const std::string& command) { return _popen(command.c_str(), "rb"); }
int closePipe(FILE* pipe) { return _pclose(pipe); }
#else
FILE* openPipe(const std::string& command) { return popen(command.c_str(), "r"); }
int closePipe(FILE* pipe)
{
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

SimRun runSim(const std::string& arguments, const std::string& prefix = {})
{
    TemporaryFolder scratch;
    const auto errors = scratch.path() / "stderr";
    const std::string command = prefix + " " + VORTEXA_SIM_PATH + " " + arguments + " 2>" + errors.string();
    SimRun run;
    FILE* pipe = openPipe(command);
    char buffer[65536];
    size_t read = 0;
    while ((read = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, read);
    run.status = closePipe(pipe);
    run.err = scratch.read("stderr");
    return run;
}

int lineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

TEST(Simulator, DumpsAtTheStartAndAtTheEndOrEveryStep)
{
    EXPECT_EQ(lineCount(runSim("").out), 1);
    EXPECT_EQ(lineCount(runSim("--ms 50").out), 2);
    EXPECT_EQ(lineCount(runSim("--ms 1000 --every 250").out), 5);
    EXPECT_EQ(lineCount(runSim("--ms 1100 --every 250").out), 5);
    const SimRun run = runSim("--ms 20 --every 10 --screen 1024x768");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(
        run.out.find("{\"ms\":0,\"screen\":{\"width\":15360,\"height\":11520},\"scenario\":1,\"circle_count\":9,"),
        std::string::npos)
        << run.out.substr(0, 200);
    EXPECT_NE(run.out.find("{\"ms\":20,"), std::string::npos);
    EXPECT_NE(run.out.find("\"caption\":\"Время\""), std::string::npos);
}

TEST(Simulator, ReadsTheGivenSettingsFile)
{
    TemporaryFolder folder;
    folder.write(
        "mine.ini", "krugN=12\r\nBorderWidth=2\r\nSpeed=1\r\nviewTime=3\r\nScenario=3\r\nPlen=1\r\nLocal=0\r\n");
    const SimRun run = runSim("--settings " + (folder.path() / "mine.ini").string());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"scenario\":3,\"circle_count\":12,"), std::string::npos);
    EXPECT_NE(run.out.find("\"kind\":4"), std::string::npos);
    EXPECT_NE(run.out.find("\"shapes_s\":[{\"index\":0,"), std::string::npos);
}

TEST(Simulator, BadOptionsSayWhatIsWrongAndPrintNothing)
{
    for (const char* arguments : {"--nonsense 1", "--ms", "--ms ten", "--ms -5", "--every 0", "--screen 1920",
             "--screen 0x100", "--start 25:00:00", "--start 12:00", "--settings /no/such/file", "--circles 21",
             "--script=fast", "--language"}) {
        const SimRun run = runSim(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_TRUE(run.out.empty()) << arguments;
        EXPECT_EQ(lineCount(run.err), 1) << arguments << ": " << run.err;
    }
}

TEST(Simulator, HelpListsTheOptionsAndEndsWell)
{
    const SimRun run = runSim("--help");
    EXPECT_EQ(run.status, 0) << run.err;
    for (const char* option : {"--settings", "--png", "--script", "--no-settings-file"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
}

#ifdef _WIN32
TEST(Simulator, SaysThatThisBuildRendersNoPng)
{
    const SimRun run = runSim("--png frame.png");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find("--png is not available in this build"), std::string::npos) << run.err;
}
#else
TEST(Simulator, RendersTheLastFrameToPng)
{
    TemporaryFolder folder;
    const auto png = folder.path() / "frame.png";
    const SimRun run = runSim("--screen 320x200 --png " + png.string());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string content = folder.read("frame.png");
    ASSERT_GT(content.size(), 8u);
    EXPECT_EQ(content.substr(1, 3), "PNG");
}
#endif

#ifndef _WIN32
// These run the simulator through a POSIX shell, with its environment, limits and pipes.
const std::string Opposition
    = "krugN=12\r\nBorderWidth=2\r\nSpeed=1\r\nviewTime=3\r\nScenario=3\r\nPlen=1\r\nLocal=0\r\n";

TEST(Simulator, ReadsTheFileWhereItLiesWhateverTheTemporaryFolder)
{
    TemporaryFolder folder;
    folder.write("mine.ini", Opposition);
    folder.write("plain-file", "");
    const std::string settings = "--settings " + (folder.path() / "mine.ini").string();
    const std::string temporaries[] = {"/no/such/folder", (folder.path() / "plain-file").string(), "/proc"};
    for (const std::string& temporary : temporaries) {
        const SimRun run = runSim(settings, "TMPDIR=" + temporary);
        EXPECT_EQ(run.status, 0) << temporary << ": " << run.err;
        EXPECT_NE(run.out.find("\"scenario\":3,\"circle_count\":12,"), std::string::npos) << temporary;
    }
}

// A reader that stops early or a kill ends the run; its temporary folder stays as it was.
TEST(Simulator, EndsCleanlyWhenCutShortOrKilled)
{
    TemporaryFolder folder;
    TemporaryFolder temporary;
    folder.write("mine.ini", Opposition);
    const std::string run = "TMPDIR=" + temporary.path().string() + " " + VORTEXA_SIM_PATH + " --settings "
        + (folder.path() / "mine.ini").string() + " --ms 100000000 --every 10";
    const std::string status = (folder.path() / "status").string();
    const std::string errors = (folder.path() / "errors").string();

    ASSERT_EQ(
        std::system(("{ " + run + " 2>" + errors + "; echo $? >" + status + "; } | head -c 100 >/dev/null").c_str()),
        0);
    EXPECT_EQ(folder.read("status"), "2\n");
    EXPECT_EQ(lineCount(folder.read("errors")), 1) << folder.read("errors");

    EXPECT_NE(std::system(("timeout -s KILL 0.5 env " + run + " >/dev/null").c_str()), 0);
    EXPECT_TRUE(std::filesystem::is_empty(temporary.path()));
}

TEST(Simulator, WritesThePngUnderTheExactNameOrFailsOnOneLine)
{
    TemporaryFolder folder;
    const auto png = folder.path() / "frame-\xff\xfe.png"; // not UTF-8
    const SimRun written = runSim("--screen 64x48 --png '" + png.string() + "'");
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_TRUE(std::filesystem::is_regular_file(png));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

    for (const std::string& name : {(folder.path() / "missing" / "frame.png").string(), folder.path().string()}) {
        const SimRun failed = runSim("--screen 64x48 --png " + name);
        EXPECT_EQ(failed.status, 2) << name;
        EXPECT_EQ(lineCount(failed.err), 1) << failed.err;
    }
}

#if !defined(__SANITIZE_ADDRESS__)
// The address sanitizer needs far more address space than any limit that tests this.
TEST(Simulator, RunningOutOfMemoryIsOneLineAndStatusTwo)
{
    TemporaryFolder folder;
    const SimRun run
        = runSim("--screen 32768x32768 --png " + (folder.path() / "huge.png").string(), "ulimit -v 1500000;");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(lineCount(run.err), 1) << run.err;
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}
#endif
#endif

} // namespace
} // namespace vortexa
