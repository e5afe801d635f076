// vortexa: the screen saver.

#include <QApplication>

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
#include "platform/qt/dialog_view.h"
#include "platform/qt/given_window.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/saver_view.h"
#include "platform/qt/termination.h"
#include "platform/show_target.h"
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

// The saver draws with the X server's requests, so it runs on X (also under a Wayland desktop's X
// server) unless told otherwise, as the tests do.
bool usesX()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    return qgetenv("QT_QPA_PLATFORM").startsWith("xcb");
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

// A connection to the display and screen the toolkit is about to open, or the line saying why
// there is none. It is held until the toolkit holds its own: an X server whose last client leaves
// resets, and refuses the next client for a moment.
struct HeldDisplay {
    xcb_connection_t* connection = nullptr;
    std::string problem;
};

HeldDisplay holdDisplay()
{
    const std::string display = displayNamed();
    if (display.empty())
        return {nullptr, noDisplay("DISPLAY is not set")};
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen);
    std::string problem;
    if (xcb_connection_has_error(connection))
        problem = noDisplay("cannot reach DISPLAY=" + display);
    else if (screen >= xcb_setup_roots_length(xcb_get_setup(connection)))
        problem = noDisplay("DISPLAY=" + display + " names screen " + std::to_string(screen) + ", which it has not");
    if (problem.empty())
        return {connection, {}};
    xcb_disconnect(connection);
    return {nullptr, problem};
}

// While the toolkit starts, its complaints are held back: one that ends the start (it would abort
// with a page of advice) becomes the program's own one line, and the rest are told once it runs.
struct ToolkitStart {
    QtMessageHandler previous = nullptr;
    bool starting = false;
    std::vector<std::pair<QtMsgType, QString>> held;
};
ToolkitStart toolkitStart;

void whileToolkitStarts(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!toolkitStart.starting) {
        toolkitStart.previous(type, context, message);
        return;
    }
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", noDisplay("the toolkit cannot open DISPLAY=" + displayNamed()).c_str());
        std::fflush(stderr);
        _exit(StatusUnusable);
    }
    toolkitStart.held.emplace_back(type, message);
}

void toolkitStarted()
{
    toolkitStart.starting = false;
    for (const auto& [type, message] : toolkitStart.held)
        toolkitStart.previous(type, QMessageLogContext(), message);
    toolkitStart.held.clear();
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

// A runtime folder named relative to the working folder is no folder of the user's: the toolkit
// would make it wherever the program was started.
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
    HeldDisplay held;
    if (usesX()) {
        held = holdDisplay();
        if (!held.problem.empty())
            return failWith(held.problem);
    }

    toolkitStart.previous = qInstallMessageHandler(whileToolkitStarts);
    toolkitStart.starting = true;
    QApplication application(argc, argv);
    toolkitStarted();
    if (held.connection)
        xcb_disconnect(held.connection);
    // Only the program itself ends the program, even when it hides its last window.
    QApplication::setQuitOnLastWindowClosed(false);
    vortexa::QtPlatform platform;
    platform.setCommandLine(joined(arguments));
    vortexa::Program program(platform);
    program.module.Overrides = options.settings;
    std::unique_ptr<vortexa::GivenWindowShow> givenWindow;
    std::unique_ptr<vortexa::SaverWindows> ownWindows;
    if (target.kind == vortexa::ShowTarget::OwnWindow) {
        if (xcb_connection_t* connection = vortexa::x11Connection())
            if (const std::string colours = vortexa::unusableColours(connection, vortexa::rootWindow(connection));
                !colours.empty())
                return failWith(colours);
        ownWindows = std::make_unique<vortexa::SaverWindows>(program, platform);
    } else {
        xcb_connection_t* connection = vortexa::x11Connection();
        if (!connection)
            return failWith("vortexa: a given window needs an X display");
        const xcb_window_t window
            = target.kind == vortexa::ShowTarget::RootWindow ? vortexa::rootWindow(connection) : target.windowId;
        const vortexa::TakenWindow taken = vortexa::takeWindow(connection, window);
        if (!taken.problem.empty())
            return failWith(taken.problem);
        givenWindow = std::make_unique<vortexa::GivenWindowShow>(program, platform, window, taken.size);
    }
    // The dialog's window follows after the saver screens', so that it comes over a screen that
    // appears in the same event.
    vortexa::DialogWindow dialog(program, platform);
    vortexa::endOnTerminationSignals(platform);
    // The start-up is the program's first event: the windows follow its records once it returns.
    // A start-up that ends the program does not return.
    platform.deliver([&program] { program.Start(); });
    return application.exec();
}
