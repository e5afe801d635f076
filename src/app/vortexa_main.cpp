// vortexa: the screen saver.

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <xcb/xcb.h>

#include <signal.h>
#include <unistd.h>

#include "app/add_to_xscreensaver.h"
#include "platform/show_target.h"
#include "platform/x11/dialog_module_loader.h"
#include "platform/x11/given_window.h"
#include "platform/x11/saver_windows.h"
#include "platform/x11/x11_platform.h"
#include "saver/form1.h"
#include "saver/run_options.h"
#include "saver/usage.h"
#include "state/program.h"

namespace {

constexpr int StatusUnusable = 2;

std::string joined(const std::vector<std::string>& words)
{
    std::string line;
    for (const std::string& word : words)
        line += (line.empty() ? "" : " ") + word;
    return line;
}

int failWith(const std::string& line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
    return StatusUnusable;
}

std::string noDisplay(const std::string& why) { return "vortexa: no display to show on (" + why + ")"; }

std::string displayNamed()
{
    const char* display = std::getenv("DISPLAY");
    return display ? display : "";
}

// The connection to the display and its default screen, or the line saying why there is none.
struct HeldDisplay {
    xcb_connection_t* connection = nullptr;
    int screen = 0;
    std::string problem;
};

HeldDisplay openDisplay()
{
    const std::string display = displayNamed();
    if (display.empty())
        return {nullptr, 0, noDisplay("DISPLAY is not set")};
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen);
    std::string problem;
    if (xcb_connection_has_error(connection))
        problem = noDisplay("cannot reach DISPLAY=" + display);
    else if (screen >= xcb_setup_roots_length(xcb_get_setup(connection)))
        problem = noDisplay("DISPLAY=" + display + " names screen " + std::to_string(screen) + ", which it has not");
    if (problem.empty())
        return {connection, screen, {}};
    xcb_disconnect(connection);
    return {nullptr, 0, problem};
}

// A reader that goes away (a closed pipe on the standard output, a statistics file that is a
// pipe) makes writes fail instead of ending the program. A handler, unlike ignoring the signal, is
// not handed on to the programs the saver starts.
void onClosedOutput(int) { }

void keepRunningOnClosedOutput()
{
    struct sigaction action { };
    action.sa_handler = onClosedOutput;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGPIPE, &action, nullptr);
}

// A runtime folder named relative to the working folder is no folder of the user's: the dialog's
// toolkit would make it wherever the program was started.
void forgetRelativeRuntimeFolder()
{
    const char* folder = std::getenv("XDG_RUNTIME_DIR");
    if (folder && folder[0] != '/')
        unsetenv("XDG_RUNTIME_DIR");
}

} // namespace

int main(int argc, char** argv)
{
    keepRunningOnClosedOutput();
    forgetRelativeRuntimeFolder();
    const vortexa::RunOptions options = vortexa::readRunOptions({argv + (argc > 0 ? 1 : 0), argv + argc});
    if (!options.error.empty())
        return failWith("vortexa: " + options.error);
    if (options.addToXScreenSaver)
        return vortexa::addToXScreenSaver();
    // The run switch and the window options are read from the words the settings leave.
    const std::vector<std::string>& arguments = options.otherWords;
    // Asked for its usage or version, the program answers without a display.
    if (const auto text = vortexa::informationAsked(arguments)) {
        std::fputs(text->c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    // The system's small preview window gets no show; ending needs no display.
    if (vortexa::RunSwitch(joined(arguments)) == "/p")
        return 0;
    const vortexa::ShowTarget target = vortexa::showTargetOf(arguments, std::getenv("XSCREENSAVER_WINDOW"));
    if (!target.error.empty())
        return failWith(target.error);
    const HeldDisplay display = openDisplay();
    if (!display.problem.empty())
        return failWith(display.problem);
    // The user's locale gives the time's format.
    std::setlocale(LC_ALL, "");
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> held(display.connection, xcb_disconnect);
    xcb_connection_t* connection = held.get();
    vortexa::X11Platform platform(connection, display.screen);
    platform.setCommandLine(joined(arguments));
    vortexa::Program program(platform);
    program.module.Overrides = options.settings;
    std::unique_ptr<vortexa::GivenWindowShow> givenWindow;
    std::unique_ptr<vortexa::ShowWindows> ownWindows;
    // A server that went away since the program reached it leaves a connection that fails.
    if (xcb_connection_has_error(connection))
        return failWith(noDisplay("DISPLAY=" + displayNamed() + " went away"));
    if (target.kind == vortexa::ShowTarget::OwnWindow) {
        if (const std::string colours = vortexa::unusableColours(connection, platform.defaultScreen().root);
            !colours.empty())
            return failWith(colours);
        ownWindows = std::make_unique<vortexa::ShowWindows>(program, platform);
        platform.setEventHandler([&ownWindows](const xcb_generic_event_t& event) { ownWindows->handle(event); });
    } else {
        const xcb_window_t window
            = target.kind == vortexa::ShowTarget::RootWindow ? platform.defaultScreen().root : target.windowId;
        const vortexa::TakenWindow taken = vortexa::takeWindow(connection, window);
        if (!taken.problem.empty())
            return failWith(taken.problem);
        givenWindow = std::make_unique<vortexa::GivenWindowShow>(program, platform, window, taken.size);
        platform.setEventHandler([&givenWindow](const xcb_generic_event_t& event) { givenWindow->handle(event); });
    }
    platform.setDialogModuleLoader(vortexa::openDialogModule,
        {program, platform, platform, platform, argc, argv,
            [&ownWindows] { return ownWindows ? uint32_t {ownWindows->sceneWindow()} : uint32_t {0}; }});
    // The settings dialog alone needs its module; a second instance ends quietly all the same.
    if (vortexa::RunSwitch(joined(arguments)) == "/c" && !platform.anotherInstanceRunning()
        && !platform.canShowDialog())
        return failWith(platform.dialogProblem());
    // The start-up is the program's first event: the windows follow its records once it returns.
    // A start-up that ends the program does not return.
    platform.deliver([&program] { program.Start(); });
    platform.run();
}
