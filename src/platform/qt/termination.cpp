#include "platform/qt/termination.h"

#include <QSocketNotifier>

#include <csignal>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/qt/qt_platform.h"

namespace vortexa {

namespace {

int signalSocket[2] = {-1, -1};

// Only a write is safe in a signal handler; the event loop does the rest.
void onTerminationSignal(int signal)
{
    const char signalled = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = write(signalSocket[1], &signalled, 1);
}

} // namespace

void endOnTerminationSignals(QtPlatform& platform)
{
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSocket) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalSocket[0], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [&platform] {
        char signal = 0;
        if (read(signalSocket[0], &signal, 1) != 1)
            platform.endProgram();
        platform.endBySignal(signal);
    });
    struct sigaction action { };
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

} // namespace vortexa
