// A small Windows program the end-to-end tests run under Wine beside Vortexa.scr:
//   monitors   prints each monitor as "X Y WIDTH HEIGHT", the primary first marked "primary"
//   close      posts WM_CLOSE to the show's window and prints how many it found
//   dropped    prints 1 when a shown list of the settings dialog is open, else 0
//   windows    prints "show" for each shown window of the show with "tool" and "topmost" when it
//              is such a window, then "dialog" for the shown dialog with "owned by the show" when
//              a window of the show owns it

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <vector>

namespace {

BOOL CALLBACK printMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM)
{
    MONITORINFO info {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        return TRUE;
    const RECT& area = info.rcMonitor;
    std::printf("%ld %ld %ld %ld%s\n", area.left, area.top, area.right - area.left, area.bottom - area.top,
        info.dwFlags & MONITORINFOF_PRIMARY ? " primary" : "");
    return TRUE;
}

BOOL CALLBACK addShowWindow(HWND window, LPARAM windows)
{
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (std::wcscmp(className, L"VortexaSaverScreen") == 0 && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

BOOL CALLBACK findOpenList(HWND window, LPARAM open)
{
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (_wcsicmp(className, L"ComboBox") == 0 && IsWindowVisible(window)
        && SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0))
        *reinterpret_cast<bool*>(open) = true;
    return TRUE;
}

BOOL CALLBACK addDialog(HWND window, LPARAM dialogs)
{
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (std::wcscmp(className, L"VortexaDialog") == 0 && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(dialogs)->push_back(window);
    return TRUE;
}

void printWindows()
{
    std::vector<HWND> shows, dialogs;
    EnumWindows(addShowWindow, reinterpret_cast<LPARAM>(&shows));
    EnumWindows(addDialog, reinterpret_cast<LPARAM>(&dialogs));
    for (const HWND show : shows) {
        const auto style = GetWindowLongPtrW(show, GWL_EXSTYLE);
        std::printf("show%s%s\n", style & WS_EX_TOOLWINDOW ? " tool" : "", style & WS_EX_TOPMOST ? " topmost" : "");
    }
    for (const HWND dialog : dialogs) {
        const HWND owner = GetWindow(dialog, GW_OWNER);
        bool ownedByShow = false;
        for (const HWND show : shows)
            ownedByShow = ownedByShow || owner == show;
        std::printf("dialog%s\n", ownedByShow ? " owned by the show" : "");
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "monitors") == 0) {
        EnumDisplayMonitors(nullptr, nullptr, printMonitor, 0);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "close") == 0) {
        std::vector<HWND> windows;
        EnumWindows(addShowWindow, reinterpret_cast<LPARAM>(&windows));
        if (!windows.empty())
            PostMessageW(windows.front(), WM_CLOSE, 0, 0);
        std::printf("%zu\n", windows.size());
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "dropped") == 0) {
        bool open = false;
        const HWND dialog = FindWindowW(L"VortexaDialog", nullptr);
        if (dialog)
            EnumChildWindows(dialog, findOpenList, reinterpret_cast<LPARAM>(&open));
        std::printf("%d\n", open ? 1 : 0);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "windows") == 0) {
        printWindows();
        return 0;
    }
    std::fprintf(stderr, "usage: wine_helper monitors|close|dropped|windows\n");
    return 2;
}
