#pragma once
// One loop for the show's own X client: the X connection's events, the timers and the termination
// signals, waited for together with poll(). A signal only writes its number into a pipe the loop
// reads; timers are paced as every backend paces them, making up the ticks a stall held back.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "backend_kit/tick_pacing.h"

namespace vortexa {

class EventLoop {
public:
    // `connectionFd` is the X connection's file descriptor (or any other to watch for reading).
    explicit EventLoop(int connectionFd);
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    // A timer every intervalMs; onTick gets how many ticks are due at once. The id stops it.
    int startTimer(int intervalMs, std::function<void(int ticks)> onTick);
    void stopTimer(int id);
    // Until `time` (monotonic milliseconds), no timer wakes the loop: a tick that falls due before
    // then runs with the first one due from then on, made up as a stall's ticks are.
    void holdTimersUntil(int64_t time) { m_timersHeldUntil = time; }
    // SIGTERM, SIGINT and SIGHUP reach onSignal from the loop, not from the handler; one loop at a
    // time catches them.
    void catchTerminationSignals(std::function<void(int signal)> onSignal);

    // Runs until quit(). onConnection runs at the start of every pass, told whether the connection
    // has something to read (so on the first pass too): it takes every event waiting (those
    // already read from the connection too, which poll() does not see) and sends what it queued;
    // it quits when the connection fails.
    void run(const std::function<void(bool readable)>& onConnection);
    void quit() { m_running = false; }

    // The loop's parts, for another loop that serves them in its stead: the files it watches,
    // the signals that came through the pipe, and the timers.
    std::vector<int> watchedFiles() const;
    bool isSignalPipe(int file) const { return file == m_signalPipe[0]; }
    void takeSignals();
    int millisecondsToNextTimer() const;
    void runDueTimers();

private:
    struct Timer {
        TickPacing pacing;
        std::function<void(int)> onTick;
    };

    int m_connectionFd;
    int m_signalPipe[2] = {-1, -1};
    std::function<void(int)> m_onSignal;
    std::map<int, std::unique_ptr<Timer>> m_timers;
    int m_nextId = 1;
    bool m_running = false;
    int64_t m_timersHeldUntil = 0;
};

} // namespace vortexa
