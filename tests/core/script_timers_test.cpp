#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "platform/headless/headless_platform.h"
#include "saver/form1.h"
#include "settings/settings_file.h"
#include "state/program.h"

namespace vortexa {
namespace {

namespace fs = std::filesystem;

// A show of the given script started from a settings file in a folder of its own.
class Show : public testing::Test {
protected:
    void start(int scenario)
    {
        std::random_device device;
        m_folder = fs::temp_directory_path() / ("vortexa-timers-" + std::to_string(device()));
        fs::create_directories(m_folder);
        ASSERT_TRUE(WriteSettingsFile({9, 1, 2, 0, scenario, 0, 1}, m_folder).ok);
        platform = std::make_unique<HeadlessPlatform>(m_folder);
        program = std::make_unique<Program>(*platform);
        program->Start();
        ASSERT_FALSE(program->screens().empty());
    }
    void TearDown() override
    {
        program.reset();
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
    SaverScreen& screen() { return program->screens().front()->screen; }

    std::unique_ptr<HeadlessPlatform> platform;
    std::unique_ptr<Program> program;

private:
    fs::path m_folder;
};

TEST_F(Show, IndependenceAndOppositionYieldOnceAfterEveryStep)
{
    for (const int scenario : {1, 3}) {
        start(scenario);
        platform->advance(1000);
        EXPECT_EQ(platform->yields(), 100) << scenario;
        TearDown();
    }
}

TEST_F(Show, ACaptureTickThatEndsAfterATurnDoesNotYield)
{
    start(2);
    ShapeElement& circle2 = screen().Shape[2];
    const ShapeElement before = circle2;
    circle2.Move(20000, 2000); // far outside circle 0
    platform->advance(10);
    EXPECT_EQ(platform->yields(), 0);
    EXPECT_EQ(screen().Shape[0].Left, 0);

    circle2 = before;
    screen().StepX[2] = 0;
    screen().StepY[2] = 5;
    platform->advance(10);
    EXPECT_EQ(platform->yields(), 1);
    EXPECT_EQ(screen().Shape[0].Left, 15);
}

} // namespace
} // namespace vortexa
