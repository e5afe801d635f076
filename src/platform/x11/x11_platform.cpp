#include "platform/x11/x11_platform.h"

#include <fcntl.h>
#include <langinfo.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/x11/screen_scale.h"
#include "records/elements.h"
#include "records/numeric.h"
#include "settings/settings_location.h"

namespace vortexa {

namespace {

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

std::string longTimeFormatOf(const std::string& timeFormat, const std::string& amPmFormat)
{
    std::string format = timeFormat.empty() ? std::string("%H:%M:%S") : timeFormat;
    format = replaced(format, "%r", amPmFormat.empty() ? std::string("%I:%M:%S %p") : amPmFormat);
    format = replaced(format, "%T", "%H:%M:%S");
    // A 12-hour clock reads "7:05:09 PM", not "07:05:09 PM".
    return replaced(format, "%I", "%-I");
}

X11Platform::X11Platform(xcb_connection_t* connection, int screen)
    : m_connection(connection)
    , m_screen(nullptr)
    , m_screenNumber(screen)
    , m_loop(xcb_get_file_descriptor(connection))
{
    m_screen = screenNumbered(screen);
    m_scale = screenScale(connection, m_screen->root);
    m_monitors = monitorsOf(connection, screen);
    m_framesPerSecond = refreshRate();
    for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection)); screens.rem; xcb_screen_next(&screens))
        followMonitorChanges(connection, screens.data->root);
    m_loop.catchTerminationSignals([this](int signal) { endBySignal(signal); });
}

X11Platform::~X11Platform() = default;

xcb_screen_t* X11Platform::screenNumbered(int number) const
{
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int k = 0; k < number && screens.rem > 1; ++k)
        xcb_screen_next(&screens);
    return screens.data;
}

const Monitor& X11Platform::primaryMonitor() const
{
    for (const Monitor& monitor : m_monitors)
        if (monitor.primary)
            return monitor;
    return m_monitors.front();
}

int X11Platform::refreshRate() const
{
    const Monitor& primary = primaryMonitor();
    return refreshRateOf(m_connection, screenNumbered(primary.screen)->root, primary.area).value_or(60);
}

bool X11Platform::readMonitorsAgain()
{
    std::vector<Monitor> monitors = monitorsOf(m_connection, m_screenNumber);
    if (monitors == m_monitors)
        return false;
    m_monitors = std::move(monitors);
    m_framesPerSecond = refreshRate();
    return true;
}

void X11Platform::run()
{
    for (;;) {
        if (m_module) {
            m_module->run();
            endProgram();
        }
        m_loop.run([this](bool readable) { takeEvents(readable ? Connection::Readable : Connection::AlreadyRead); });
        if (!m_module)
            endProgram();
    }
}

void X11Platform::takeEvents(Connection connection)
{
    // Reading a connection with nothing to read would cost a failed system call at every pass.
    const auto next = connection == Connection::Readable ? xcb_poll_for_event : xcb_poll_for_queued_event;
    while (xcb_generic_event_t* event = next(m_connection)) {
        if (m_onEvent)
            m_onEvent(*event);
        std::free(event);
    }
    // A lost server is the end of the show, as it is for every client of the display.
    if (xcb_connection_has_error(m_connection))
        endProgram();
    xcb_flush(m_connection);
}

void X11Platform::readable(int file)
{
    if (m_loop.isSignalPipe(file))
        m_loop.takeSignals();
    else
        takeEvents(Connection::Readable);
}

double X11Platform::timeOfDay()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return static_cast<double>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / SecondsPerDay;
}

std::string X11Platform::longTimeText(double date)
{
    const int second = secondOfDay(date);
    std::tm time {};
    time.tm_hour = second / 3600;
    time.tm_min = second / 60 % 60;
    time.tm_sec = second % 60;
    const std::string format = longTimeFormatOf(nl_langinfo(T_FMT), nl_langinfo(T_FMT_AMPM));
    char text[128];
    const size_t length = std::strftime(text, sizeof text, format.c_str(), &time);
    return std::string(text, length);
}

TimerId X11Platform::startTimer(int intervalMs, std::function<void()> tick)
{
    const TimerId id = m_nextTimer++;
    const int loopTimer = m_loop.startTimer(intervalMs, [this, id, intervalMs, tick = std::move(tick)](int due) {
        // A tick may stop its own timer: the ticks held back then go with it.
        for (; due > 0 && m_timers.contains(id); --due) {
            m_statistics.tickRun(intervalMs, monotonicMilliseconds());
            deliver(tick);
        }
    });
    m_timers[id] = {loopTimer, intervalMs};
    return id;
}

void X11Platform::stopTimer(TimerId timer)
{
    const auto found = m_timers.find(timer);
    if (found == m_timers.end())
        return;
    m_loop.stopTimer(found->second.loopTimer);
    m_timers.erase(found);
}

void X11Platform::yieldToEvents()
{
    // The steps run right after the loop looked at the connection, and what arrived since is
    // taken at its next pass, moments later.
    takeEvents(Connection::AlreadyRead);
    if (m_module)
        m_module->yieldToEvents();
}

void X11Platform::showInGivenWindow(int widthPixels, int heightPixels)
{
    m_givenWindow = PixelSize {widthPixels, heightPixels};
}

double X11Platform::screenWidthTwips()
{
    const int pixels = m_givenWindow ? m_givenWindow->width : primaryMonitor().area.width;
    return pixels / m_scale * TwipsPerPixel;
}

double X11Platform::screenHeightTwips()
{
    const int pixels = m_givenWindow ? m_givenWindow->height : primaryMonitor().area.height;
    return pixels / m_scale * TwipsPerPixel;
}

void X11Platform::setCursorPosition(int x, int y)
{
    const Monitor& primary = primaryMonitor();
    xcb_warp_pointer(m_connection, XCB_NONE, screenNumbered(primary.screen)->root, 0, 0, 0, 0,
        static_cast<int16_t>(std::lround(x * m_scale)), static_cast<int16_t>(std::lround(y * m_scale)));
    xcb_flush(m_connection);
}

void X11Platform::endProgram()
{
    writeStatistics();
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(0);
}

void X11Platform::endBySignal(int signal)
{
    writeStatistics();
    std::fflush(stdout);
    std::fflush(stderr);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    _exit(128 + signal);
}

ShowCost X11Platform::showCost()
{
    const std::chrono::duration<double> sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return {m_framesPainted, static_cast<double>(std::clock()) / CLOCKS_PER_SEC, sinceStart.count()};
}

// The measurements of the whole program read how many steps the scene took in how long.
void X11Platform::writeStatistics() const
{
    const char* path = std::getenv("VORTEXA_STATS");
    if (!path || path[0] == '\0')
        return;
    std::FILE* file = std::fopen(path, "a");
    if (!file)
        return;
    std::fputs(m_statistics.line(monotonicMilliseconds()).c_str(), file);
    std::fclose(file);
}

// The program is started by a child that ends at once, so that it is nobody's child to wait for;
// a start that fails sends its error number back through a pipe closed by a successful start.
StartResult X11Platform::startDetached(const std::string& program, const std::vector<std::string>& arguments)
{
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return {false, std::strerror(errno)};
    std::vector<char*> words {const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
        words.push_back(const_cast<char*>(argument.c_str()));
    words.push_back(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(report[0]);
        close(report[1]);
        return {false, std::strerror(error)};
    }
    if (child == 0) {
        setsid();
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGPIPE})
                std::signal(signal, SIG_DFL);
            execvp(words[0], words.data());
        }
        if (grandchild <= 0) {
            const int error = errno;
            [[maybe_unused]] const ssize_t written = write(report[1], &error, sizeof error);
        }
        _exit(0);
    }
    close(report[1]);
    int error = 0;
    ssize_t got;
    while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) { }
    close(report[0]);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) { }
    if (got == static_cast<ssize_t>(sizeof error))
        return {false, program + ": " + std::strerror(error)};
    return {true, {}};
}

std::filesystem::path X11Platform::programFolder()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path(error) : program.parent_path();
}

std::filesystem::path X11Platform::userSettingsFolder()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    return xdgSettingsFolder(configHome ? configHome : "", home ? home : "");
}

void X11Platform::setDialogModuleLoader(ModuleLoader loader, DialogHost host)
{
    m_loadModule = std::move(loader);
    m_host.emplace(host);
}

bool X11Platform::canShowDialog()
{
    if (m_module)
        return true;
    if (m_moduleTried)
        return false;
    m_moduleTried = true;
    if (!m_loadModule) {
        m_dialogProblem = "vortexa: the settings dialog is not part of this program";
        return false;
    }
    m_module = m_loadModule(*m_host, m_dialogProblem);
    // The toolkit's loop takes over once the event that loaded it is handled.
    if (m_module)
        m_loop.quit();
    return m_module != nullptr;
}

} // namespace vortexa
