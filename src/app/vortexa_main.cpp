// vortexa: the screen saver.

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <xcb/xcb.h>

#include "platform/qt/dialog_view.h"
#include "platform/qt/given_window.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/saver_view.h"
#include "platform/qt/termination.h"
#include "platform/show_target.h"
#include "saver/form1.h"
#include "saver/program.h"
#include "saver/run_options.h"
#include "saver/usage.h"

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

bool displayReachable()
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reachable;
}

std::string hexadecimal(uint32_t id)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", id);
    return text;
}

int failWith(const std::string& line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
    return StatusUnusable;
}

} // namespace

int main(int argc, char** argv)
{
    const vortexa::RunOptions options = vortexa::readRunOptions({argv + (argc > 0 ? 1 : 0), argv + argc});
    if (!options.error.empty())
        return failWith("vortexa: " + options.error);
    // The run switch and the window options are read from the words the settings leave.
    const std::vector<std::string>& arguments = options.otherWords;
    // Asked for its usage or version, the program answers without a display.
    if (const auto text = vortexa::informationAsked(arguments)) {
        std::fputs(text->c_str(), stdout);
        return 0;
    }
    // The system's small preview window gets no show; ending needs no display.
    if (vortexa::RunSwitch(joined(arguments)) == "/p")
        return 0;
    const vortexa::ShowTarget target = vortexa::showTargetOf(arguments, std::getenv("XSCREENSAVER_WINDOW"));
    if (!target.error.empty())
        return failWith(target.error);
    if (usesX() && !displayReachable()) {
        const char* display = std::getenv("DISPLAY");
        return failWith(std::string("vortexa: no display to show on")
            + (display && display[0] ? std::string(" (cannot reach DISPLAY=") + display + ")"
                                     : " (DISPLAY is not set)"));
    }

    QApplication application(argc, argv);
    // Only the program itself ends the program, even when it hides its last window.
    QApplication::setQuitOnLastWindowClosed(false);
    vortexa::QtPlatform platform;
    platform.setCommandLine(joined(arguments));
    vortexa::Program program(platform);
    program.module.Overrides = options.settings;
    std::unique_ptr<vortexa::GivenWindowShow> givenWindow;
    std::unique_ptr<vortexa::SaverWindows> ownWindows;
    if (target.kind == vortexa::ShowTarget::OwnWindow) {
        ownWindows = std::make_unique<vortexa::SaverWindows>(program, platform);
    } else {
        xcb_connection_t* connection = vortexa::x11Connection();
        if (!connection)
            return failWith("vortexa: a given window needs an X display");
        const xcb_window_t window
            = target.kind == vortexa::ShowTarget::RootWindow ? vortexa::rootWindow(connection) : target.windowId;
        const auto size = vortexa::sizeOfWindow(connection, window);
        if (!size)
            return failWith("vortexa: there is no window " + hexadecimal(window) + " to show in");
        givenWindow = std::make_unique<vortexa::GivenWindowShow>(program, platform, window, *size);
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
