#include "platform/win32/saver_view.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <numbers>

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
constexpr int MostFramesPerSecond = 100;

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

int64_t monotonicMicroseconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return now.QuadPart / frequency.QuadPart * 1'000'000
        + now.QuadPart % frequency.QuadPart * 1'000'000 / frequency.QuadPart;
}

int framesPerSecondOf(HWND window)
{
    const HDC dc = GetDC(window);
    const int refresh = GetDeviceCaps(dc, VREFRESH);
    ReleaseDC(window, dc);
    // 0 and 1 stand for the hardware's default rate.
    return refresh > 1 ? std::min(refresh, MostFramesPerSecond) : DefaultFramesPerSecond;
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
HBITMAP transparencyMask(const Frame& picture)
{
    const int size = picture.width, bytesPerRow = (size + 15) / 16 * 2;
    std::vector<unsigned char> bits(static_cast<size_t>(bytesPerRow * size), 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (picture.at(x, y) == 0)
                bits[static_cast<size_t>(y * bytesPerRow + x / 8)] |= static_cast<unsigned char>(0x80 >> (x % 8));
    return CreateBitmap(size, size, 1, 1, bits.data());
}

// The button and shift states as the handler takes them: 1 left, 2 right, 4 middle; 1 Shift,
// 2 Ctrl, 4 Alt.
int16_t buttonState(WPARAM keys)
{
    return static_cast<int16_t>(
        (keys & MK_LBUTTON ? 1 : 0) | (keys & MK_RBUTTON ? 2 : 0) | (keys & MK_MBUTTON ? 4 : 0));
}

int16_t shiftState(WPARAM keys)
{
    return static_cast<int16_t>(
        (keys & MK_SHIFT ? 1 : 0) | (keys & MK_CONTROL ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0));
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

} // namespace

HCURSOR ringsPointer()
{
    static HCURSOR made = nullptr;
    if (made)
        return made;
    const int size = RingsPointer.size;
    const Frame picture = renderFrame(size, size, paintRings);
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
    made = reinterpret_cast<HCURSOR>(CreateIconIndirect(&info));
    DeleteObject(mask);
    DeleteObject(colour);
    return made ? made : LoadCursorW(nullptr, IDC_ARROW);
}

SaverView::SaverView(
    Form1& form, Win32Platform& platform, HMONITOR monitor, bool drawsScene, std::function<void()> monitorsChanged)
    : m_form(&form)
    , m_platform(platform)
    , m_monitor(monitor)
    , m_drawsScene(drawsScene)
    , m_monitorsChanged(std::move(monitorsChanged))
{
    registerSaverWindowClass();
    GetCursorPos(&m_lastPointerPosition);
    const RECT area = monitorArea();
    // Tool windows, as a screen saver's are: no button on the task bar, no place in Alt+Tab.
    m_window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, SaverWindowClass, L"Vortexa", WS_POPUP, area.left,
        area.top, area.right - area.left, area.bottom - area.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SaverView::windowProcedure));
    m_frameInterval = 1'000'000 / framesPerSecondOf(m_window);
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
        KillTimer(m_window, FrameTimer);
        m_frameWaiting = false;
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
        mouseMoved(wParam);
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

// A frame at most once a refresh of the screen; a change that comes sooner is drawn when the
// refresh is due.
void SaverView::paintIfDue()
{
    if (!m_drawsScene || m_frameWaiting)
        return;
    const int64_t wait = m_lastFrame + m_frameInterval - monotonicMicroseconds();
    if (wait <= 0) {
        paintNow();
        return;
    }
    m_frameWaiting = true;
    SetTimer(m_window, FrameTimer, static_cast<UINT>((wait + 999) / 1000), nullptr);
}

void SaverView::paintNow()
{
    if (!m_window || !m_drawsScene || !IsWindowVisible(m_window))
        return;
    m_lastFrame = monotonicMicroseconds();
    RECT client;
    GetClientRect(m_window, &client);
    const HDC dc = GetDC(m_window);
    m_painter.paint(dc, m_form ? &m_form->screen : nullptr, client);
    ReleaseDC(m_window, dc);
}

void SaverView::mouseMoved(WPARAM wParam)
{
    // The system also reports the pointer when a window appears under it; only a change of place
    // is a movement. The screen's places are measured from the primary monitor's corner, which is
    // where the system puts the origin, also for moves over the other monitors.
    POINT position;
    GetCursorPos(&position);
    if (!m_form || (position.x == m_lastPointerPosition.x && position.y == m_lastPointerPosition.y))
        return;
    m_lastPointerPosition = position;
    Form1* form = m_form;
    const int16_t Button = buttonState(wParam), Shift = shiftState(wParam);
    const auto X = static_cast<float>(position.x * TwipsPerPixel);
    const auto Y = static_cast<float>(position.y * TwipsPerPixel);
    m_platform.deliver([form, Button, Shift, X, Y] { form->Form_MouseMove(Button, Shift, X, Y); });
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
    if (!IsWindowVisible(m_window) || m_fullScreen != screen.Maximised) {
        m_fullScreen = screen.Maximised;
        const RECT area = monitorArea();
        const int width = area.right - area.left, height = area.bottom - area.top;
        if (m_fullScreen)
            SetWindowPos(m_window, HWND_TOPMOST, area.left, area.top, width, height, SWP_SHOWWINDOW);
        else
            SetWindowPos(m_window, HWND_TOPMOST, area.left + width / 4, area.top + height / 4, width / 2, height / 2,
                SWP_SHOWWINDOW);
        m_painter.forgetWindow();
        if (m_drawsScene) {
            SetForegroundWindow(m_window);
            SetFocus(m_window);
        }
    }
    paintIfDue();
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
    : m_program(program)
    , m_platform(platform)
{
    m_afterEvent = m_platform.addAfterEvent([this](bool outermost) {
        follow();
        if (outermost)
            m_program.DiscardUnloaded();
    });
}

SaverWindows::~SaverWindows()
{
    m_platform.removeAfterEvent(m_afterEvent);
    for (const auto& entry : m_views.entries())
        delete entry.view;
}

void SaverWindows::follow()
{
    std::vector<Form1*> screens;
    for (const auto& form : m_program.screens())
        screens.push_back(form.get());
    const auto make = [this](Form1& form, HMONITOR monitor, bool drawsScene) {
        return new SaverView(form, m_platform, monitor, drawsScene, [this] {
            m_monitorsChanged = true;
            follow();
        });
    };
    const auto retire = [this](SaverView* view) {
        view->retire();
        m_retired.emplace_back(view);
    };
    const HMONITOR primary = MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    m_views.match(screens, monitorsNow(), primary, m_monitorsChanged, make, retire);
    m_monitorsChanged = false;
    std::erase_if(m_retired, [](const std::unique_ptr<SaverView>& view) { return view->gone(); });
    for (const auto& entry : m_views.entries())
        entry.view->follow();
}

} // namespace vortexa
