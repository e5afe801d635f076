#include "platform/win32/saver_view.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "backend_kit/monitor_covers.h"
#include "backend_kit/rings_pointer.h"
#include "platform/win32/system_look.h"
#include "platform/win32/win32_platform.h"
#include "saver/form1.h"
#include "state/program.h"

namespace vortexa {

namespace {

constexpr const wchar_t* SaverWindowClass = L"VortexaSaverScreen";
constexpr UINT RetireMessage = WM_APP + 1;
constexpr UINT_PTR FrameTimer = 1;
constexpr int DefaultFramesPerSecond = 60;

void registerSaverWindowClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = SaverWindowClass;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RegisterClassExW(&windowClass);
    registered = true;
}

int framesPerSecondOf(HWND window)
{
    const HDC dc = GetDC(window);
    const int refresh = GetDeviceCaps(dc, VREFRESH);
    ReleaseDC(window, dc);
    // 0 and 1 stand for the hardware's default rate.
    return refresh > 1 ? refresh : DefaultFramesPerSecond;
}

POINT pointOnRing(const PointerRing& ring, double degrees)
{
    const double radius = ring.size / 2.0, angle = degrees * std::numbers::pi / 180;
    return {static_cast<LONG>(std::lround(ring.left + radius + radius * std::cos(angle))),
        static_cast<LONG>(std::lround(ring.top + radius - radius * std::sin(angle)))};
}

void paintRings(HDC dc)
{
    const RingsPointerPicture& rings = RingsPointer;
    const HGDIOBJ earlierBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const auto ring = [&](const PointerRing& which) {
        const HPEN pen = CreatePen(PS_SOLID | PS_INSIDEFRAME, rings.penWidth, classicColorRef(which.colour));
        const HGDIOBJ earlierPen = SelectObject(dc, pen);
        Ellipse(dc, which.left, which.top, which.left + which.size, which.top + which.size);
        return std::pair {pen, earlierPen};
    };
    ring(rings.blue);
    const auto [redPen, earlierPen] = ring(rings.red);
    const POINT from = pointOnRing(rings.red, rings.crossingArcStart);
    const POINT to = pointOnRing(rings.red, rings.crossingArcStart + rings.crossingArcSpan);
    const int inset = rings.penWidth / 2;
    const PointerRing& red = rings.red;
    Arc(dc, red.left + inset, red.top + inset, red.left + red.size - inset, red.top + red.size - inset, from.x, from.y,
        to.x, to.y);
    SelectObject(dc, earlierPen);
    SelectObject(dc, earlierBrush);
    DeleteObject(redPen);
}

// A monochrome mask marks every pixel the rings leave black as transparent.
HBITMAP transparencyMask(const PixelPicture& picture)
{
    const int size = picture.width, bytesPerRow = (size + 15) / 16 * 2;
    std::vector<unsigned char> bits(static_cast<size_t>(bytesPerRow * size), 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (picture.at(x, y) == 0)
                bits[static_cast<size_t>(y * bytesPerRow + x / 8)] |= static_cast<unsigned char>(0x80 >> (x % 8));
    return CreateBitmap(size, size, 1, 1, bits.data());
}

POINT cursorPosition()
{
    POINT position {};
    GetCursorPos(&position);
    return position;
}

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM monitors)
{
    reinterpret_cast<std::vector<HMONITOR>*>(monitors)->push_back(monitor);
    return TRUE;
}

std::vector<HMONITOR> monitorsNow()
{
    std::vector<HMONITOR> monitors;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

MonitorArea desktopAreaOf(HMONITOR monitor)
{
    MONITORINFO info {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        return {};
    const RECT& area = info.rcMonitor;
    return {area.left, area.top, area.right - area.left, area.bottom - area.top};
}

} // namespace

HCURSOR ringsPointer()
{
    static HCURSOR pointer = nullptr;
    if (pointer)
        return pointer;
    const int size = RingsPointer.size;
    const PixelPicture picture = renderPicture(size, size, paintRings);
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP colour = CreateCompatibleBitmap(screen, size, size);
    const HGDIOBJ earlier = SelectObject(dc, colour);
    const RECT all {0, 0, size, size};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    paintRings(dc);
    SelectObject(dc, earlier);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    const HBITMAP mask = transparencyMask(picture);
    ICONINFO info {
        FALSE, static_cast<DWORD>(RingsPointer.hotSpotX), static_cast<DWORD>(RingsPointer.hotSpotY), mask, colour};
    pointer = reinterpret_cast<HCURSOR>(CreateIconIndirect(&info));
    DeleteObject(mask);
    DeleteObject(colour);
    return pointer ? pointer : LoadCursorW(nullptr, IDC_ARROW);
}

SaverView::SaverView(
    Form1& form, Win32Platform& platform, HMONITOR monitor, bool drawsScene, std::function<void()> monitorsChanged)
    : m_form(&form)
    , m_platform(platform)
    , m_monitor(monitor)
    , m_drawsScene(drawsScene)
    , m_monitorsChanged(std::move(monitorsChanged))
    , m_pointerMoves(cursorPosition().x, cursorPosition().y)
{
    registerSaverWindowClass();
    const RECT area = monitorArea();
    // Tool windows, as a screen saver's are: no button on the task bar, no place in Alt+Tab.
    m_window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, SaverWindowClass, L"Vortexa", WS_POPUP, area.left,
        area.top, area.right - area.left, area.bottom - area.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SaverView::windowProcedure));
    m_pacing.setFramesPerSecond(framesPerSecondOf(m_window));
}

SaverView::~SaverView()
{
    if (m_window) {
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
}

RECT SaverView::monitorArea() const
{
    MONITORINFO info {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(m_monitor, &info))
        return info.rcMonitor;
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

LRESULT CALLBACK SaverView::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<SaverView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handleMessage(message, wParam, lParam);
}

LRESULT SaverView::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        if (!m_drawsScene)
            break;
        exposed();
        return 0;
    case WM_ERASEBKGND:
        if (!m_drawsScene)
            break;
        return 1;
    case WM_TIMER:
        if (wParam != FrameTimer)
            break;
        paintNow();
        return 0;
    case WM_CHAR:
        if (m_form) {
            Form1* form = m_form;
            const auto KeyAscii = static_cast<int16_t>(wParam);
            m_platform.deliver([form, KeyAscii] { form->Form_KeyPress(KeyAscii); });
        }
        return 0;
    case WM_MOUSEMOVE:
        mouseMoved();
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursor(pointer());
            return TRUE;
        }
        break;
    case WM_CLOSE:
        // The system's screen-saver machinery and the end of a session ask a saver to close this
        // way; the show ends at once, as by a key, and keeps nothing.
        m_platform.endProgram();
        return 0;
    case WM_ENDSESSION:
        if (wParam)
            m_platform.endProgram();
        return 0;
    case WM_DISPLAYCHANGE:
        if (m_monitorsChanged)
            m_monitorsChanged();
        return 0;
    case RetireMessage:
        DestroyWindow(m_window);
        return 0;
    case WM_NCDESTROY:
        m_window = nullptr;
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

HCURSOR SaverView::pointer() const
{
    const int style = m_form ? m_form->screen.MousePointer : PointerDefault;
    if (style == PointerCustom)
        return ringsPointer();
    return LoadCursorW(nullptr, style == PointerCrossHair ? IDC_CROSS : IDC_ARROW);
}

// The system asks for a part of the window again: it is drawn whole in the next frame, which comes
// now.
void SaverView::exposed()
{
    PAINTSTRUCT paintStruct;
    BeginPaint(m_window, &paintStruct);
    const RECT box = paintStruct.rcPaint;
    EndPaint(m_window, &paintStruct);
    m_painter.repaintBox(box);
    paintNow();
}

void SaverView::paintWhenDue()
{
    if (!m_drawsScene)
        return;
    paceFrame(
        m_pacing, monotonicMicroseconds(), [this] { paintNow(); },
        [this](int milliseconds) { SetTimer(m_window, FrameTimer, static_cast<UINT>(milliseconds), nullptr); });
}

void SaverView::paintNow()
{
    if (!m_window || !m_drawsScene)
        return;
    KillTimer(m_window, FrameTimer);
    m_pacing.drawn(monotonicMicroseconds());
    if (!IsWindowVisible(m_window))
        return;
    RECT client;
    GetClientRect(m_window, &client);
    const HDC dc = GetDC(m_window);
    m_painter.paint(dc, m_form ? &m_form->screen : nullptr, client);
    ReleaseDC(m_window, dc);
}

void SaverView::mouseMoved()
{
    // The system puts the desktop's origin at the primary monitor's corner.
    const POINT position = cursorPosition();
    const auto place = m_pointerMoves.movedTo(position.x, position.y, 0, 0);
    if (!m_form || !place)
        return;
    Form1* form = m_form;
    m_platform.deliver([form, X = place->x, Y = place->y] { form->Form_MouseMove(X, Y); });
}

void SaverView::follow()
{
    if (!m_form || !m_window)
        return;
    const SaverScreen& screen = m_form->screen;
    if (!screen.Visible) {
        if (IsWindowVisible(m_window))
            ShowWindow(m_window, SW_HIDE);
        return;
    }
    // A shown saver screen is always maximised: its window fills its monitor.
    if (!IsWindowVisible(m_window)) {
        const RECT area = monitorArea();
        SetWindowPos(m_window, HWND_TOPMOST, area.left, area.top, area.right - area.left, area.bottom - area.top,
            SWP_SHOWWINDOW);
        m_painter.forgetWindow();
        if (m_drawsScene) {
            SetForegroundWindow(m_window);
            SetFocus(m_window);
        }
    }
    paintWhenDue();
}

void SaverView::retire()
{
    m_form = nullptr;
    if (!m_window)
        return;
    KillTimer(m_window, FrameTimer);
    ShowWindow(m_window, SW_HIDE);
    // The window may be the one whose message is being handled, so it goes once that is done.
    PostMessageW(m_window, RetireMessage, 0, 0);
}

SaverWindows::SaverWindows(Program& program, Win32Platform& platform)
    : m_windows(program, platform,
        {
            monitorsNow,
            [] {
                return MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
            },
            desktopAreaOf,
            [this, &platform](Form1& form, HMONITOR monitor, bool drawsScene) {
                return new SaverView(form, platform, monitor, drawsScene, [this] { m_windows.monitorsChanged(); });
            },
            [](SaverView* scene) {
                if (scene->window() && IsWindowVisible(scene->window()))
                    SetWindowPos(scene->window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            },
        })
{
}

} // namespace vortexa
