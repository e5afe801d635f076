#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdio>
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

SimRun runSim(const std::string& arguments)
{
    TemporaryFolder scratch;
    const auto errors = scratch.path() / "stderr";
    const std::string command = std::string(VORTEXA_SIM_PATH) + " " + arguments + " 2>" + errors.string();
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
             "--screen 0x100", "--start 25:00:00", "--start 12:00", "--settings /no/such/file"}) {
        const SimRun run = runSim(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_TRUE(run.out.empty()) << arguments;
        EXPECT_EQ(lineCount(run.err), 1) << arguments << ": " << run.err;
    }
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

} // namespace
} // namespace vortexa
