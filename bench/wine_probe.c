/* A small Windows program for measuring Vortexa.scr under Wine (bench/peers.sh), cross-built with
 * MinGW-w64:
 *   wine_probe circles   the floor of drawing under Wine: ten circle outlines moving at 100 steps a
 *                        second on a black full-screen window, each step erasing and redrawing only
 *                        the circles with plain pens on the window's device context
 *   wine_probe close     asks the running show to close (WM_CLOSE), as the system does */
#include <windows.h>

#include <stdio.h>
#include <string.h>
#include <wchar.h>

#define CIRCLES 10
#define DIAMETER 120

static int circleX[CIRCLES], circleY[CIRCLES], stepX[CIRCLES], stepY[CIRCLES];
static HPEN pens[CIRCLES], blackPen;
static int width, height;

static void drawCircle(HDC dc, HPEN pen, int k)
{
    SelectObject(dc, pen);
    Ellipse(dc, circleX[k], circleY[k], circleX[k] + DIAMETER, circleY[k] + DIAMETER);
}

static void CALLBACK step(HWND window, UINT message, UINT_PTR timer, DWORD time)
{
    (void)message;
    (void)timer;
    (void)time;
    HDC dc = GetDC(window);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    for (int k = 0; k < CIRCLES; ++k)
        drawCircle(dc, blackPen, k);
    for (int k = 0; k < CIRCLES; ++k) {
        if (circleX[k] + stepX[k] < 0 || circleX[k] + stepX[k] + DIAMETER > width)
            stepX[k] = -stepX[k];
        if (circleY[k] + stepY[k] < 0 || circleY[k] + stepY[k] + DIAMETER > height)
            stepY[k] = -stepY[k];
        circleX[k] += stepX[k];
        circleY[k] += stepY[k];
        drawCircle(dc, pens[k], k);
    }
    ReleaseDC(window, dc);
}

static int circles(void)
{
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
    WNDCLASSW windowClass = {0};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(NULL);
    windowClass.lpszClassName = L"WineProbe";
    windowClass.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(WS_EX_TOPMOST, L"WineProbe", L"WineProbe", WS_POPUP | WS_VISIBLE, 0, 0, width,
        height, NULL, NULL, GetModuleHandleW(NULL), NULL);
    blackPen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    for (int k = 0; k < CIRCLES; ++k) {
        pens[k] = CreatePen(PS_SOLID, 1, RGB(80 + 17 * k, 255 - 20 * k, 128));
        circleX[k] = 40 + k * 150 % (width - DIAMETER - 80);
        circleY[k] = 40 + k * 90 % (height - DIAMETER - 80);
        stepX[k] = 1 + k % 3;
        stepY[k] = 1 + (k + 1) % 3;
    }
    timeBeginPeriod(1);
    SetTimer(window, 1, 10, step);
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}

static BOOL CALLBACK closeShow(HWND window, LPARAM found)
{
    wchar_t className[64] = {0};
    GetClassNameW(window, className, 64);
    if (wcscmp(className, L"VortexaSaverScreen") == 0 && IsWindowVisible(window)) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        ++*(int*)found;
        return FALSE;
    }
    return TRUE;
}

int main(int argc, char** argv)
{
    if (argc == 2 && strcmp(argv[1], "circles") == 0)
        return circles();
    if (argc == 2 && strcmp(argv[1], "close") == 0) {
        int found = 0;
        EnumWindows(closeShow, (LPARAM)&found);
        printf("%d\n", found);
        return found ? 0 : 1;
    }
    fprintf(stderr, "usage: wine_probe circles|close\n");
    return 2;
}
