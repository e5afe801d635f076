#pragma once
// The platform of the shipped program: Qt timers, the system clock and locale, the primary
// screen, the process, and a lock file for the one-instance rule. Every event it delivers to the
// program (a timer tick here, keys and mouse moves from the windows) goes through deliver(), so
// that the windows follow the records afterwards.

#include <QLocale>
#include <QString>

#include <QObject>

#include <functional>
#include <map>
#include <optional>

#include "backend_kit/tick_pacing.h"
#include "platform/event_delivery.h"
#include "platform/platform.h"
#include "platform/posix/instance_lock.h"

class QTimer;

namespace vortexa {

// The long time format without its time-zone part ("t", "tt", ...).
QString withoutTimeZone(const QString& timeFormat);

// A date value's time of day in the locale's long time format, without its time-zone part.
std::string longTimeTextIn(const QLocale& locale, double date);

class QtPlatform : public Platform, public EventDelivery {
public:
    QtPlatform();
    ~QtPlatform() override;

    double timeOfDay() override;
    std::string longTimeText(double date) override;
    TimerId startTimer(int intervalMs, std::function<void()> tick) override;
    void stopTimer(TimerId timer) override;
    void yieldToEvents() override;
    double screenWidthTwips() override;
    double screenHeightTwips() override;
    void setCursorPosition(int x, int y) override;
    std::string commandLine() override;
    // The command line the program reads its run switch from, in place of its own arguments.
    void setCommandLine(std::string commandLine) { m_commandLine = std::move(commandLine); }
    bool anotherInstanceRunning() override;
    [[noreturn]] void endProgram() override;
    // Ends the program as endProgram does, then by the signal that asked it to stop.
    [[noreturn]] void endBySignal(int signal);
    StartResult startDetached(const std::string& program, const std::vector<std::string>& arguments) override;
    std::filesystem::path programFolder() override;
    std::filesystem::path userSettingsFolder() override;
    bool showsInGivenWindow() override { return m_givenWindow.has_value(); }
    ShowCost showCost() override;
    // A window drew a frame of the show.
    void framePainted() { ++m_framesPainted; }

    // The show runs in a window another program gave it, of this size in logical pixels.
    void showInGivenWindow(double widthPixels, double heightPixels);

private:
    QObject m_timerOwner; // parent of every timer, so that stopped ones go with the platform
    struct RunningTimer {
        QTimer* timer = nullptr;
        TickPacing pacing;
    };
    void runTick(TimerId id, const std::function<void()>& tick);
    void writeStatistics() const;

    std::map<TimerId, RunningTimer> m_timers;
    std::optional<std::string> m_commandLine;
    TimerId m_nextTimer = 0;
    InstanceLock m_lock;
    struct PixelSize {
        double width = 0, height = 0;
    };
    std::optional<PixelSize> m_givenWindow;
    StepStatistics m_statistics;
    // The frames of the show the windows drew, for the frame rate.
    int64_t m_framesPainted = 0;
};

} // namespace vortexa
