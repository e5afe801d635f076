#pragma once
// The platform of the Linux show: one connection to the X server, the system clock and locale, the
// primary monitor, the process, and one poll loop for the connection, the timers and the
// termination signals. Every event it delivers to the program goes through deliver(), so that the
// windows follow the records afterwards. The settings dialog's toolkit is loaded only when a dialog
// must open; from then on the toolkit's loop serves this loop's sources.

#include <xcb/xcb.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "backend_kit/tick_pacing.h"
#include "platform/dialog_module.h"
#include "platform/event_delivery.h"
#include "platform/platform.h"
#include "platform/posix/instance_lock.h"
#include "platform/x11/event_loop.h"
#include "platform/x11/monitors.h"

namespace vortexa {

// The time format of the C library's locale (nl_langinfo's T_FMT and T_FMT_AMPM) as the long time
// format a user reads: the 12-hour clock without a leading zero.
std::string longTimeFormatOf(const std::string& timeFormat, const std::string& amPmFormat);

class X11Platform : public Platform, public EventDelivery, public LoopSources {
public:
    // The platform on an open connection, `screen` the display's default screen.
    X11Platform(xcb_connection_t* connection, int screen);
    ~X11Platform() override;

    xcb_connection_t* connection() const { return m_connection; }
    const xcb_screen_t& defaultScreen() const { return *m_screen; }
    xcb_screen_t* screenNumbered(int number) const;
    EventLoop& loop() { return m_loop; }
    // Device pixels to each of the screen's logical pixels (15 twips each).
    double scale() const { return m_scale; }
    // The primary monitor's refresh rate, the most frames a second worth drawing.
    int framesPerSecond() const { return m_framesPerSecond; }

    // The monitors as last read, and reading them again; true when they changed.
    const std::vector<Monitor>& monitors() const { return m_monitors; }
    const Monitor& primaryMonitor() const;
    bool readMonitorsAgain();

    // Every X event goes to this handler, which returns false once the connection is lost.
    void setEventHandler(std::function<void(const xcb_generic_event_t&)> handler) { m_onEvent = std::move(handler); }
    // The event loop of the whole program, until it ends.
    void run();

    double timeOfDay() override;
    std::string longTimeText(double date) override;
    TimerId startTimer(int intervalMs, std::function<void()> tick) override;
    void stopTimer(TimerId timer) override;
    void yieldToEvents() override;
    double screenWidthTwips() override;
    double screenHeightTwips() override;
    void setCursorPosition(int x, int y) override;
    std::string commandLine() override { return m_commandLine; }
    void setCommandLine(std::string commandLine) { m_commandLine = std::move(commandLine); }
    bool anotherInstanceRunning() override { return m_lock.heldElsewhere(); }
    [[noreturn]] void endProgram() override;
    [[noreturn]] void endBySignal(int signal);
    StartResult startDetached(const std::string& program, const std::vector<std::string>& arguments) override;
    std::filesystem::path programFolder() override;
    std::filesystem::path userSettingsFolder() override;
    bool showsInGivenWindow() override { return m_givenWindow.has_value(); }
    ShowCost showCost() override;
    bool canShowDialog() override;
    // A window drew a frame of the show.
    void framePainted() { ++m_framesPainted; }
    // The show runs in a window another program gave it, of this size in device pixels.
    void showInGivenWindow(int widthPixels, int heightPixels);

    // The dialog's module, loaded by `load` the first time a dialog must open: `load` gives the
    // module, or sets the line that says why there is none.
    using ModuleLoader = std::function<DialogModule*(DialogHost& host, std::string& problem)>;
    void setDialogModuleLoader(ModuleLoader loader, DialogHost host);
    // Why the dialog cannot open, once a load failed.
    const std::string& dialogProblem() const { return m_dialogProblem; }

    std::vector<int> filesToWatch() override { return m_loop.watchedFiles(); }
    void readable(int file) override;
    int millisecondsToNextTimer() override { return m_loop.millisecondsToNextTimer(); }
    void runDueTimers() override { m_loop.runDueTimers(); }
    void handleWaiting() override { takeEvents(Connection::AlreadyRead); }

private:
    // Where events wait: only what xcb already read from the connection, or that too and whatever
    // the connection has to read.
    enum class Connection { AlreadyRead, Readable };
    // Takes every event waiting; ends the program when the connection is lost.
    void takeEvents(Connection connection);
    void writeStatistics() const;
    int refreshRate() const;

    xcb_connection_t* m_connection;
    xcb_screen_t* m_screen;
    int m_screenNumber;
    double m_scale = 1;
    std::vector<Monitor> m_monitors;
    int m_framesPerSecond = 60;
    EventLoop m_loop;
    std::function<void(const xcb_generic_event_t&)> m_onEvent;
    struct RunningTimer {
        int loopTimer = 0;
        int intervalMs = 0;
    };
    std::map<TimerId, RunningTimer> m_timers;
    TimerId m_nextTimer = 0;
    StepStatistics m_statistics;
    std::string m_commandLine;
    InstanceLock m_lock;
    struct PixelSize {
        int width = 0, height = 0;
    };
    std::optional<PixelSize> m_givenWindow;
    int64_t m_framesPainted = 0;
    ModuleLoader m_loadModule;
    std::optional<DialogHost> m_host;
    DialogModule* m_module = nullptr;
    bool m_moduleTried = false;
    std::string m_dialogProblem;
};

} // namespace vortexa
