// A small program in the place of the show: it loads the settings dialog's module through the
// program's own loader, opens the dialog, and has a message box shown over it while its own loop's
// sources (a timer, and a pipe the timer writes to) must keep running inside the toolkit's loop.
// It ends with status 0 once both ran twenty times while the box was open, and fails otherwise. On
// an X display the host also has a window of its own as the show's scene, which the dialog must be
// transient for.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <xcb/xcb.h>

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

// A window of another client than the toolkit, as the show's scene is.
class SceneWindow {
public:
    SceneWindow()
    {
        const char* platform = std::getenv("QT_QPA_PLATFORM");
        if (!std::getenv("DISPLAY") || !platform || std::string(platform) != "xcb")
            return;
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection))
            endWith(1, "no X display");
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        m_window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 640, 480, 0,
            XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        xcb_map_window(m_connection, m_window);
        xcb_flush(m_connection);
    }
    ~SceneWindow()
    {
        if (m_connection)
            xcb_disconnect(m_connection);
    }

    uint32_t id() const { return m_window; }

    // True when a window on the screen is transient for the scene, as the dialog must be.
    bool hasTransient() const
    {
        if (!m_connection)
            return true;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, root), nullptr);
        bool found = false;
        for (int i = 0; tree && i < xcb_query_tree_children_length(tree) && !found; ++i)
            found = transientFor(xcb_query_tree_children(tree)[i]) == m_window;
        std::free(tree);
        return found;
    }

private:
    xcb_window_t transientFor(xcb_window_t window) const
    {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(m_connection,
            xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1), nullptr);
        xcb_window_t parent = XCB_NONE;
        if (reply && xcb_get_property_value_length(reply) == 4)
            parent = *static_cast<xcb_window_t*>(xcb_get_property_value(reply));
        std::free(reply);
        return parent;
    }

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_window = 0;
};

} // namespace

int main(int argc, char** argv)
{
    if (toolkitLoaded())
        endWith(1, "the toolkit was loaded before the module");

    char folderName[] = "/tmp/vortexa-module-host.XXXXXX";
    if (!mkdtemp(folderName))
        endWith(1, "no temporary folder");
    const std::filesystem::path folder = folderName;
    HeadlessPlatform platform {folder};
    platform.setCommandLine("/c");
    Program program {platform};
    EventDelivery delivery;
    HostLoop loop;
    SceneWindow scene;
    DialogHost host {program, platform, delivery, loop, argc, argv, [&scene] { return scene.id(); }};

    // As in the show: the first event after which a dialog is loaded makes the module.
    DialogModule* module = nullptr;
    delivery.addAfterEvent([&](bool) {
        std::string problem;
        if (!module && program.loadedDialog() && !(module = openDialogModule(host, problem)))
            endWith(1, problem);
    });
    delivery.deliver([&program] { program.Start(); });
    if (!module)
        endWith(1, "\"/c\" loaded no dialog");
    if (!toolkitLoaded())
        endWith(1, "the module did not bring the toolkit");

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
                if (!scene.hasTransient())
                    endWith(1, "the dialog is not transient for the scene's window");
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
