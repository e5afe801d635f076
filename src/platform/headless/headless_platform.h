#pragma once
// The platform without a display: a virtual clock and virtual timers, real files in a chosen folder.
// Tests and vortexa-sim drive it by advancing time.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "backend_kit/tick_pacing.h"
#include "platform/platform.h"

namespace vortexa {

struct StartedProgram {
    std::string program;
    std::vector<std::string> arguments;
};

class HeadlessPlatform : public Platform {
public:
    explicit HeadlessPlatform(std::filesystem::path programFolder, int widthPixels = 1920, int heightPixels = 1080);

    // Set-up of the virtual world, before the program starts.
    void setStartTime(int hours, int minutes, int seconds);
    void setCommandLine(std::string commandLine) { m_commandLine = std::move(commandLine); }
    // The user's own folder; none unless a test gives one.
    void setUserSettingsFolder(std::filesystem::path folder) { m_userSettingsFolder = std::move(folder); }
    void setAnotherInstanceRunning(bool running) { m_anotherInstance = running; }
    void setShowsInGivenWindow(bool given) { m_givenWindow = given; }
    void setCanShowDialog(bool can) { m_canShowDialog = can; }
    void setScreenPixels(int widthPixels, int heightPixels);
    // Reads the settings from this file, where it lies, instead of from the program's folder; an
    // empty path reads none.
    void setSettingsFile(std::filesystem::path file) { m_settingsFile = std::move(file); }
    // What starting a program does beyond recording it: by default it starts. A test may look at
    // the world at that moment or answer with a failure.
    void setStartHandler(std::function<StartResult(const StartedProgram&)> handler) { m_onStart = std::move(handler); }

    // Runs the virtual clock forward, firing every timer that falls due on the way: timers due at
    // the same millisecond fire in the order they were started.
    void advance(int64_t milliseconds);
    // The program is busy for this long: the clock runs on and no timer fires. The next advance
    // fires each timer with the ticks the stall held back, as a real system's timers do.
    void stall(int64_t milliseconds) { m_now += milliseconds; }
    int64_t now() const { return m_now; }
    bool ended() const { return m_ended; }
    int runningTimers() const;
    const std::vector<StartedProgram>& startedPrograms() const { return m_started; }
    int cursorX() const { return m_cursorX; }
    int cursorY() const { return m_cursorY; }
    // How many times the program let pending window events run.
    int64_t yields() const { return m_yields; }

    double timeOfDay() override;
    std::string longTimeText(double date) override;
    TimerId startTimer(int intervalMs, std::function<void()> tick) override;
    void stopTimer(TimerId timer) override;
    void yieldToEvents() override { ++m_yields; }
    double screenWidthTwips() override { return m_widthTwips; }
    double screenHeightTwips() override { return m_heightTwips; }
    void setCursorPosition(int x, int y) override;
    std::string commandLine() override { return m_commandLine; }
    bool anotherInstanceRunning() override { return m_anotherInstance; }
    void endProgram() override { m_ended = true; }
    StartResult startDetached(const std::string& program, const std::vector<std::string>& arguments) override;
    bool showsInGivenWindow() override { return m_givenWindow; }
    bool canShowDialog() override { return m_canShowDialog; }
    std::filesystem::path programFolder() override { return m_programFolder; }
    std::filesystem::path userSettingsFolder() override { return m_userSettingsFolder; }
    std::optional<std::filesystem::path> settingsFileGiven() override { return m_settingsFile; }
    // A frame for each moment at which timers fired, on the virtual clock; the program costs no
    // processor time there.
    ShowCost showCost() override { return {m_framesPainted, 0, static_cast<double>(m_now) / 1000}; }

private:
    struct VirtualTimer {
        TickPacing pacing;
        bool running = true;
        std::function<void()> tick;
    };

    void fireTimersDue();

    std::filesystem::path m_programFolder;
    std::filesystem::path m_userSettingsFolder;
    std::optional<std::filesystem::path> m_settingsFile;
    double m_widthTwips;
    double m_heightTwips;
    int64_t m_startSecondOfDay = 12 * 3600;
    int64_t m_now = 0;
    bool m_ended = false;
    bool m_anotherInstance = false;
    bool m_givenWindow = false;
    bool m_canShowDialog = true;
    std::string m_commandLine;
    std::deque<VirtualTimer> m_timers;
    std::vector<StartedProgram> m_started;
    std::function<StartResult(const StartedProgram&)> m_onStart;
    int m_cursorX = 0;
    int m_cursorY = 0;
    int64_t m_yields = 0;
    int64_t m_framesPainted = 0;
};

} // namespace vortexa
