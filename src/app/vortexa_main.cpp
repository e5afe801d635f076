// vortexa: the screen saver.

#include <QApplication>

#include <cstdio>

#include "platform/qt/dialog_view.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/saver_view.h"
#include "saver/program.h"
#include "saver/usage.h"

int main(int argc, char** argv)
{
    // Asked for its usage or version, the program answers without a display.
    if (const auto text = vortexa::informationAsked({argv + (argc > 0 ? 1 : 0), argv + argc})) {
        std::fputs(text->c_str(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    // Only the program itself ends the program, even when it hides its last window.
    QApplication::setQuitOnLastWindowClosed(false);
    vortexa::QtPlatform platform;
    vortexa::Program program(platform);
    // The dialog's window follows after the saver screens', so that it comes over a screen that
    // appears in the same event.
    vortexa::SaverWindows windows(program, platform);
    vortexa::DialogWindow dialog(program, platform);
    // The start-up is the program's first event: the windows follow its records once it returns.
    // A start-up that ends the program does not return.
    platform.deliver([&program] { program.Start(); });
    return application.exec();
}
