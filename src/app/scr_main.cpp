// Vortexa.scr: the screen saver for Windows. The system starts it with "/s" to show it, "/c" or
// "/c:HWND" for its settings and "/p HWND" for the small preview, which it does not draw.

#include <windows.h>

#include <commctrl.h>

#include "platform/win32/dialog_window.h"
#include "platform/win32/saver_view.h"
#include "platform/win32/win32_platform.h"
#include "state/program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const INITCOMMONCONTROLSEX controls {sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    vortexa::Win32Platform platform;
    vortexa::Program program(platform);
    // The dialog's window follows after the saver screens', so that it comes over a screen that
    // appears in the same event.
    vortexa::SaverWindows windows(program, platform);
    vortexa::DialogWindow dialog(program, platform);
    // The start-up is the program's first event: the windows follow its records once it returns.
    platform.deliver([&program] { program.Start(); });
    return platform.runMessageLoop();
}
