// A small program in the place of the show: it loads the settings dialog's module through the
// program's own loader, opens the dialog, and has a message box shown over it while its own loop's
// sources (a timer, and a pipe the timer writes to) must keep running inside the toolkit's loop.
// It ends with status 0 once both ran twenty times while the box was open, and fails otherwise.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "dialog/form2.h"
#include "platform/event_delivery.h"
#include "platform/headless/headless_platform.h"
#include "platform/x11/dialog_module_loader.h"
#include "state/program.h"

namespace {

using namespace vortexa;
using Clock = std::chrono::steady_clock;

constexpr int TickMs = 10;
constexpr int RunsWanted = 20;
constexpr int TicksAllowed = 1000;

[[noreturn]] void endWith(int status, const std::string& line)
{
    std::fprintf(status == 0 ? stdout : stderr, "%s\n", line.c_str());
    std::fflush(nullptr);
    // The toolkit's loop is still running further up; the program ends as the show ends, at once.
    _exit(status);
}

bool toolkitLoaded()
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.find("libQt6") != std::string::npos)
            return true;
    return false;
}

// One periodic timer on the real clock, and a pipe it writes a byte to at each tick.
class HostLoop : public LoopSources {
public:
    HostLoop()
    {
        if (pipe2(m_pipe, O_NONBLOCK | O_CLOEXEC) != 0)
            endWith(1, "no pipe");
    }

    std::vector<int> filesToWatch() override { return {m_pipe[0]}; }
    void readable(int file) override
    {
        char bytes[64];
        for (ssize_t count; (count = read(file, bytes, sizeof bytes)) > 0;)
            reads += static_cast<int>(count);
    }
    int millisecondsToNextTimer() override
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_next - Clock::now()).count();
        return left > 0 ? static_cast<int>(left) : 0;
    }
    void runDueTimers() override
    {
        if (Clock::now() < m_next)
            return;
        m_next = Clock::now() + std::chrono::milliseconds(TickMs);
        if (write(m_pipe[1], "x", 1) != 1)
            endWith(1, "the pipe is full: nothing reads it");
        ++ticks;
        onTick();
    }

    std::function<void()> onTick;
    int ticks = 0;
    int reads = 0;

private:
    int m_pipe[2] = {-1, -1};
    Clock::time_point m_next = Clock::now();
};

} // namespace

int main(int argc, char** argv)
{
    if (toolkitLoaded())
        endWith(1, "the toolkit was loaded before the module");
    const LoadedDialogModule& loaded = loadDialogModule();
    if (!loaded.entry)
        endWith(1, loaded.problem);
    if (!toolkitLoaded())
        endWith(1, "the module did not bring the toolkit");

    char folderName[] = "/tmp/vortexa-module-host.XXXXXX";
    if (!mkdtemp(folderName))
        endWith(1, "no temporary folder");
    const std::filesystem::path folder = folderName;
    HeadlessPlatform platform {folder};
    platform.setCommandLine("/c");
    Program program {platform};
    EventDelivery delivery;
    HostLoop loop;
    DialogHost host {program, platform, delivery, loop, argc, argv, [] { return uint32_t {0}; }};

    // As in the show: the first event after which a dialog is loaded makes the module.
    DialogModule* module = nullptr;
    delivery.addAfterEvent([&](bool) {
        if (!module && program.loadedDialog())
            module = loaded.entry(host);
    });
    delivery.deliver([&program] { program.Start(); });
    if (!module)
        endWith(1, "\"/c\" loaded no dialog");

    // A few ticks in, an event asks for a message; the box waits for the user in a loop of its
    // own, inside this event, which must serve the host's sources too.
    int ticksBeforeMessage = -1, readsBeforeMessage = 0;
    loop.onTick = [&] {
        if (loop.ticks > TicksAllowed)
            endWith(1,
                "the loop did not run the timer and the pipe while the message was open: "
                    + std::to_string(loop.ticks - ticksBeforeMessage) + " ticks, "
                    + std::to_string(loop.reads - readsBeforeMessage) + " bytes read");
        if (ticksBeforeMessage >= 0) {
            if (loop.ticks - ticksBeforeMessage >= RunsWanted && loop.reads - readsBeforeMessage >= RunsWanted) {
                std::filesystem::remove_all(folder);
                endWith(0,
                    "ok: " + std::to_string(loop.ticks - ticksBeforeMessage) + " ticks and "
                        + std::to_string(loop.reads - readsBeforeMessage) + " bytes read while the message was open");
            }
            return;
        }
        if (loop.ticks < 5)
            return;
        ticksBeforeMessage = loop.ticks;
        readsBeforeMessage = loop.reads;
        delivery.deliver([&program] { program.loadedDialog()->Messages.push_back({"Vortexa", "A message"}); });
        endWith(1, "the message box did not wait for the user");
    };
    module->run();
    endWith(1, "the toolkit's loop ended");
}
