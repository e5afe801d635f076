#include "platform/x11/event_loop.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <limits>
#include <vector>

namespace vortexa {

namespace {

constexpr int TerminationSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The write end of the pipe of the loop that catches the signals.
int signalWriteEnd = -1;

// Only a write is safe in a signal handler; the loop does the rest.
void onTerminationSignal(int signal)
{
    const auto signalled = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = write(signalWriteEnd, &signalled, 1);
}

} // namespace

EventLoop::EventLoop(int connectionFd)
    : m_connectionFd(connectionFd)
{
}

EventLoop::~EventLoop()
{
    if (m_signalPipe[0] < 0)
        return;
    for (const int signal : TerminationSignals)
        std::signal(signal, SIG_DFL);
    signalWriteEnd = -1;
    close(m_signalPipe[0]);
    close(m_signalPipe[1]);
}

int EventLoop::startTimer(int intervalMs, std::function<void(int ticks)> onTick)
{
    const int id = m_nextId++;
    m_timers[id] = std::make_unique<Timer>(Timer {TickPacing(intervalMs, monotonicMilliseconds()), std::move(onTick)});
    return id;
}

void EventLoop::stopTimer(int id) { m_timers.erase(id); }

void EventLoop::catchTerminationSignals(std::function<void(int signal)> onSignal)
{
    m_onSignal = std::move(onSignal);
    if (m_signalPipe[0] >= 0 || pipe2(m_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    signalWriteEnd = m_signalPipe[1];
    struct sigaction action { };
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : TerminationSignals)
        sigaction(signal, &action, nullptr);
}

int EventLoop::millisecondsToNextTimer() const
{
    if (m_timers.empty())
        return -1;
    int64_t next = std::numeric_limits<int64_t>::max();
    for (const auto& [id, timer] : m_timers)
        next = std::min(next, timer->pacing.firstDueFrom(m_timersHeldUntil));
    return static_cast<int>(std::clamp<int64_t>(next - monotonicMilliseconds(), 0, std::numeric_limits<int>::max()));
}

void EventLoop::runDueTimers()
{
    const int64_t now = monotonicMilliseconds();
    std::vector<int> due;
    for (const auto& [id, timer] : m_timers)
        if (timer->pacing.nextDue() <= now)
            due.push_back(id);
    // A tick may stop or start timers: each due one is looked up again before it runs.
    for (const int id : due)
        if (const auto found = m_timers.find(id); found != m_timers.end()) {
            Timer& timer = *found->second;
            const int ticks = timer.pacing.ticksDue(now);
            const auto onTick = timer.onTick;
            onTick(ticks);
        }
}

std::vector<int> EventLoop::watchedFiles() const
{
    std::vector<int> files {m_connectionFd};
    if (m_signalPipe[0] >= 0)
        files.push_back(m_signalPipe[0]);
    return files;
}

void EventLoop::takeSignals()
{
    unsigned char signal = 0;
    while (m_signalPipe[0] >= 0 && read(m_signalPipe[0], &signal, 1) == 1)
        if (m_onSignal)
            m_onSignal(signal);
}

void EventLoop::run(const std::function<void(bool readable)>& onConnection)
{
    m_running = true;
    bool readable = true;
    while (m_running) {
        onConnection(readable);
        if (!m_running)
            break;
        pollfd watched[2] = {{m_connectionFd, POLLIN, 0}, {m_signalPipe[0], POLLIN, 0}};
        const int ready = poll(watched, m_signalPipe[0] >= 0 ? 2 : 1, millisecondsToNextTimer());
        // A connection that failed or was closed is readable too: reading it tells why.
        readable = ready > 0 && watched[0].revents != 0;
        if (ready > 0 && (watched[1].revents & POLLIN))
            takeSignals();
        runDueTimers();
    }
}

} // namespace vortexa
