#include "platform/win32/saver_window.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/win32/gdi_painter.h"
#include "platform/win32/win32_platform.h"
#include "saver/form1.h"
#include "saver/program.h"

namespace vortexa {

namespace {

constexpr const wchar_t* SaverWindowClass = L"VortexaSaverScreen";
constexpr UINT RetireMessage = WM_APP + 1;
constexpr int PointerSize = 32;

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

void drawRing(HDC dc, COLORREF colour, int left, int top, int size)
{
    const HPEN pen = CreatePen(PS_SOLID | PS_INSIDEFRAME, 3, colour);
    const HGDIOBJ earlierPen = SelectObject(dc, pen);
    const HGDIOBJ earlierBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, left, top, left + size, top + size);
    SelectObject(dc, earlierBrush);
    SelectObject(dc, earlierPen);
    DeleteObject(pen);
}

// A monochrome mask marks every pixel the rings leave black as transparent.
HBITMAP transparencyMask(const Frame& picture)
{
    constexpr int BytesPerRow = PointerSize / 8;
    std::vector<unsigned char> bits(static_cast<size_t>(BytesPerRow * PointerSize), 0);
    for (int y = 0; y < PointerSize; ++y)
        for (int x = 0; x < PointerSize; ++x)
            if (picture.at(x, y) == 0)
                bits[static_cast<size_t>(y * BytesPerRow + x / 8)] |= static_cast<unsigned char>(0x80 >> (x % 8));
    return CreateBitmap(PointerSize, PointerSize, 1, 1, bits.data());
}

} // namespace

HCURSOR ringsPointer()
{
    static HCURSOR made = nullptr;
    if (made)
        return made;
    const auto paintRings = [](HDC dc) {
        drawRing(dc, RGB(0x10, 0x30, 0xE0), 11, 3, 18);
        drawRing(dc, RGB(0xE0, 0x10, 0x10), 3, 11, 18);
    };
    const Frame picture = renderFrame(PointerSize, PointerSize, paintRings);
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP colour = CreateCompatibleBitmap(screen, PointerSize, PointerSize);
    const HGDIOBJ earlier = SelectObject(dc, colour);
    const RECT all {0, 0, PointerSize, PointerSize};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    paintRings(dc);
    SelectObject(dc, earlier);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    const HBITMAP mask = transparencyMask(picture);
    ICONINFO info {FALSE, PointerSize / 2, PointerSize / 2, mask, colour};
    made = reinterpret_cast<HCURSOR>(CreateIconIndirect(&info));
    DeleteObject(mask);
    DeleteObject(colour);
    return made ? made : LoadCursorW(nullptr, IDC_ARROW);
}

SaverWindow::SaverWindow(Form1& form, Win32Platform& platform)
    : m_form(&form)
    , m_platform(platform)
{
    registerSaverWindowClass();
    GetCursorPos(&m_lastPointerPosition);
    m_window
        = CreateWindowExW(WS_EX_TOPMOST, SaverWindowClass, L"Vortexa", WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
            GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SaverWindow::windowProcedure));
}

SaverWindow::~SaverWindow()
{
    if (m_window) {
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
}

LRESULT CALLBACK SaverWindow::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<SaverWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handleMessage(message, wParam, lParam);
}

LRESULT SaverWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_CHAR:
        if (m_form) {
            Form1* form = m_form;
            const auto KeyAscii = static_cast<int16_t>(wParam);
            m_platform.deliver([form, KeyAscii] { form->Form_KeyPress(KeyAscii); });
        }
        return 0;
    case WM_MOUSEMOVE:
        mouseMoved(wParam, lParam);
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursor(pointer());
            return TRUE;
        }
        break;
    case WM_CLOSE:
        // The program has no handler for a request to close its screen; the show ends by a key or
        // the mouse instead.
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

HCURSOR SaverWindow::pointer() const
{
    const int style = m_form ? m_form->screen.MousePointer : PointerDefault;
    if (style == PointerCustom)
        return ringsPointer();
    return LoadCursorW(nullptr, style == PointerCrossHair ? IDC_CROSS : IDC_ARROW);
}

void SaverWindow::paint()
{
    PAINTSTRUCT paintStruct;
    const HDC dc = BeginPaint(m_window, &paintStruct);
    const RECT& area = paintStruct.rcPaint;
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width > 0 && height > 0) {
        // Painted into a buffer first, so the screen never shows a half-drawn frame.
        const HDC buffer = CreateCompatibleDC(dc);
        const HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
        const HGDIOBJ earlier = SelectObject(buffer, bitmap);
        SetViewportOrgEx(buffer, -area.left, -area.top, nullptr);
        if (m_form)
            paintSaverScreen(buffer, m_form->screen, area);
        else
            FillRect(buffer, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SetViewportOrgEx(buffer, 0, 0, nullptr);
        BitBlt(dc, area.left, area.top, width, height, buffer, 0, 0, SRCCOPY);
        SelectObject(buffer, earlier);
        DeleteObject(bitmap);
        DeleteDC(buffer);
    }
    EndPaint(m_window, &paintStruct);
}

namespace {

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

} // namespace

void SaverWindow::mouseMoved(WPARAM wParam, LPARAM lParam)
{
    // The system also reports the pointer when a window appears under it; only a change of place
    // is a movement.
    POINT position {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(m_window, &position);
    if (!m_form || (position.x == m_lastPointerPosition.x && position.y == m_lastPointerPosition.y))
        return;
    m_lastPointerPosition = position;
    Form1* form = m_form;
    const int16_t Button = buttonState(wParam), Shift = shiftState(wParam);
    const auto X = static_cast<float>(GET_X_LPARAM(lParam) * TwipsPerPixel);
    const auto Y = static_cast<float>(GET_Y_LPARAM(lParam) * TwipsPerPixel);
    m_platform.deliver([form, Button, Shift, X, Y] { form->Form_MouseMove(Button, Shift, X, Y); });
}

void SaverWindow::follow()
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
        const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        if (m_fullScreen)
            SetWindowPos(m_window, HWND_TOPMOST, 0, 0, width, height, SWP_SHOWWINDOW);
        else
            SetWindowPos(m_window, HWND_TOPMOST, width / 4, height / 4, width / 2, height / 2, SWP_SHOWWINDOW);
        SetForegroundWindow(m_window);
        SetFocus(m_window);
    }
    InvalidateRect(m_window, nullptr, FALSE);
}

void SaverWindow::retire()
{
    m_form = nullptr;
    if (!m_window)
        return;
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

SaverWindows::~SaverWindows() { m_platform.removeAfterEvent(m_afterEvent); }

void SaverWindows::follow()
{
    retireWindowsOfUnloadedScreens();
    for (const auto& form : m_program.screens()) {
        SaverWindow* window = windowOf(*form);
        if (!window) {
            m_windows.emplace_back(form.get(), std::make_unique<SaverWindow>(*form, m_platform));
            window = m_windows.back().second.get();
        }
        window->follow();
    }
}

SaverWindow* SaverWindows::windowOf(const Form1& form) const
{
    const auto found
        = std::find_if(m_windows.begin(), m_windows.end(), [&form](const auto& entry) { return entry.first == &form; });
    return found == m_windows.end() ? nullptr : found->second.get();
}

void SaverWindows::retireWindowsOfUnloadedScreens()
{
    const auto& screens = m_program.screens();
    for (auto entry = m_windows.begin(); entry != m_windows.end();) {
        const bool loaded = std::any_of(
            screens.begin(), screens.end(), [&entry](const auto& form) { return form.get() == entry->first; });
        if (loaded) {
            ++entry;
            continue;
        }
        entry->second->retire();
        m_retired.push_back(std::move(entry->second));
        entry = m_windows.erase(entry);
    }
    std::erase_if(m_retired, [](const std::unique_ptr<SaverWindow>& window) { return window->gone(); });
}

} // namespace vortexa
