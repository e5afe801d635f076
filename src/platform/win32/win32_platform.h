#pragma once
// The platform of Vortexa.scr: thread timers at a 1 ms system clock resolution, the local time and
// the user's time format, the primary screen, the process, and a named mutex for the one-instance
// rule. Every event it delivers to the program (a timer tick here, keys, mouse moves and clicks
// from the windows) goes through deliver(), so that the windows follow the records afterwards.

#include <windows.h>

#include <functional>
#include <map>

#include "backend_kit/tick_pacing.h"
#include "platform/event_delivery.h"
#include "platform/platform.h"

namespace vortexa {

// The text after the program's name on a command line as the system passes it.
std::wstring argumentsOf(const std::wstring& commandLine);

class Win32Platform : public Platform, public EventDelivery {
public:
    Win32Platform();
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    double timeOfDay() override;
    std::string longTimeText(double date) override;
    TimerId startTimer(int intervalMs, std::function<void()> tick) override;
    void stopTimer(TimerId timer) override;
    void yieldToEvents() override;
    double screenWidthTwips() override;
    double screenHeightTwips() override;
    void setCursorPosition(int x, int y) override;
    std::string commandLine() override;
    bool anotherInstanceRunning() override;
    [[noreturn]] void endProgram() override;
    StartResult startDetached(const std::string& program, const std::vector<std::string>& arguments) override;
    std::string urlOpener() override { return "explorer.exe"; }
    std::filesystem::path programFolder() override;
    std::filesystem::path userSettingsFolder() override;

    // A window may take a message before it is dispatched (the dialog's keys); true when it did.
    void setMessageFilter(std::function<bool(MSG&)> filter) { m_filter = std::move(filter); }
    // Dispatches window messages until the program ends.
    int runMessageLoop();

private:
    static void CALLBACK timerTick(HWND, UINT, UINT_PTR timer, DWORD);
    void dispatch(MSG& message);

    void writeStatistics() const;

    struct RunningTimer {
        TickPacing pacing;
        int intervalMs = 0;
        std::function<void()> tick;
    };
    std::map<UINT_PTR, RunningTimer> m_timers;
    std::function<bool(MSG&)> m_filter;
    HANDLE m_instanceMutex = nullptr;
    StepStatistics m_statistics;
};

} // namespace vortexa
