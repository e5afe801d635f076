// vortexa: the screen saver.

#include <QApplication>

#include "platform/qt/dialog_view.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/saver_view.h"
#include "saver/program.h"

int main(int argc, char** argv)
{
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
