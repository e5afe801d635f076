// The cost of one tick of each step, with the largest scene each script accepts, on a 3840 x 2160
// screen. The scene regroups every 18,000 ticks, as the show does every three minutes, so each step
// is measured over the states the show really passes through.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "clock/clock_tick.h"
#include "platform/headless/headless_platform.h"
#include "saver/form1.h"
#include "scene/script_steps.h"
#include "settings/settings_file.h"
#include "state/program.h"

namespace vortexa {
namespace {

namespace fs = std::filesystem;

constexpr int64_t TicksInThreeMinutes = 18000;

// A running show started from a settings file, as the saver starts it.
class Show {
public:
    Show(int scenario, int circles, int viewTime, int captives)
        : m_folder(fs::temp_directory_path()
            / ("vortexa-bench-" + std::to_string(scenario) + "-" + std::to_string(viewTime) + "-"
                + std::to_string(captives)))
    {
        fs::create_directories(m_folder);
        WriteSettingsFile({circles, 1, 5, viewTime, scenario, captives, 1}, m_folder);
        m_platform = std::make_unique<HeadlessPlatform>(m_folder, 3840, 2160);
        m_program = std::make_unique<Program>(*m_platform);
        m_program->Start();
    }
    ~Show()
    {
        m_program.reset();
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
    Show(const Show&) = delete;
    Show& operator=(const Show&) = delete;

    SaverScreen& screen() { return m_program->screens().front()->screen; }
    ModuleState& module() { return m_program->module; }

    // Counts one tick and regroups after three minutes' worth of them.
    void regroupEveryThreeMinutes()
    {
        if (++m_ticks % TicksInThreeMinutes != 0)
            return;
        screen().MinuteCount = 2;
        Regroup(screen(), module());
    }
    Platform& platform() { return *m_platform; }

private:
    fs::path m_folder;
    std::unique_ptr<HeadlessPlatform> m_platform;
    std::unique_ptr<Program> m_program;
    int64_t m_ticks = 0;
};

void IndependenceTick(benchmark::State& state)
{
    Show show(1, 21, 0, 0);
    for (auto _ : state) {
        IndependenceStep(show.screen(), show.module());
        show.regroupEveryThreeMinutes();
    }
    benchmark::DoNotOptimize(show.screen().Shape[0].Left);
}
BENCHMARK(IndependenceTick);

void CaptureTick(benchmark::State& state)
{
    Show show(2, 14, 0, 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(CaptureStep(show.screen(), show.module()));
        show.regroupEveryThreeMinutes();
    }
}
BENCHMARK(CaptureTick);

void OppositionTickWithDial(benchmark::State& state)
{
    Show show(3, 21, 3, 0);
    for (auto _ : state) {
        OppositionStep(show.screen(), show.module());
        show.regroupEveryThreeMinutes();
    }
    benchmark::DoNotOptimize(show.screen().Shape[0].Left);
}
BENCHMARK(OppositionTickWithDial);

void OppositionTickWithTimeLabel(benchmark::State& state)
{
    Show show(3, 21, 0, 0);
    for (auto _ : state) {
        OppositionStep(show.screen(), show.module());
        show.regroupEveryThreeMinutes();
    }
    benchmark::DoNotOptimize(show.screen().Shape[0].Left);
}
BENCHMARK(OppositionTickWithTimeLabel);

void ClockTickOppositionWithDial(benchmark::State& state)
{
    Show show(3, 21, 3, 0);
    for (auto _ : state)
        ClockTick(show.screen(), show.module(), show.platform());
    benchmark::DoNotOptimize(show.screen().lblT.Caption);
}
BENCHMARK(ClockTickOppositionWithDial);

void RegroupOpposition(benchmark::State& state)
{
    Show show(3, 21, 0, 0);
    for (auto _ : state) {
        show.screen().MinuteCount = 2;
        Regroup(show.screen(), show.module());
    }
    benchmark::DoNotOptimize(show.screen().Shape[0].BorderColor);
}
BENCHMARK(RegroupOpposition);

} // namespace
} // namespace vortexa
