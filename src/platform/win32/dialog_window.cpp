#include "platform/win32/dialog_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <type_traits>
#include <variant>

#include "platform/win32/dialog_parts.h"
#include "platform/win32/system_look.h"
#include "platform/win32/text_encoding.h"
#include "platform/win32/win32_platform.h"

namespace vortexa {

namespace {

constexpr const wchar_t* DialogClass = L"VortexaDialog";
constexpr const wchar_t* SaverWindowClass = L"VortexaSaverScreen"; // the show's windows
// Not clipping its children: the group boxes leave their inside to the dialog's background.
constexpr DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD DialogExtendedStyle = WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int ListDropHeight = 160; // pixels of the open list under the field, at 96 dots to the inch
constexpr int FirstControlId = 100;

std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The window of this program's show that draws the scene: shown, and the foreground window or the
// one over the primary monitor, where the covers of the other monitors are not.
HWND sceneWindow()
{
    struct Search {
        HWND found = nullptr;
        HWND foreground = GetForegroundWindow();
        HMONITOR primary = MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    } search;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto& state = *reinterpret_cast<Search*>(data);
            wchar_t name[32] = {};
            GetClassNameW(window, name, 32);
            if (std::wstring_view(name) != SaverWindowClass || !IsWindowVisible(window))
                return TRUE;
            if (window == state.foreground || MonitorFromWindow(window, MONITOR_DEFAULTTONULL) == state.primary)
                state.found = window;
            return window != state.foreground;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

std::optional<HWND> dialogOwnerFrom(const std::string& commandLine)
{
    const size_t colon = commandLine.find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    const char* digits = commandLine.c_str() + colon + 1;
    char* end = nullptr;
    const unsigned long long number = std::strtoull(digits, &end, 10);
    if (end == digits || number == 0)
        return std::nullopt;
    const auto window = reinterpret_cast<HWND>(static_cast<uintptr_t>(number));
    if (!IsWindow(window))
        return std::nullopt;
    return window;
}

DialogView::DialogView(Form2& form, Win32Platform& platform)
    : DialogView(form, platform, dialogOwnerFrom(platform.commandLine()))
{
}

DialogView::DialogView(Form2& form, Win32Platform& platform, std::optional<HWND> owner)
    : m_platform(platform)
    , m_givenOwner(owner.value_or(nullptr))
    , m_following(form, platform, *this, FrameControls::InTheDialog)
{
    registerClass(DialogClass, &DialogView::windowProcedure, GetSysColorBrush(COLOR_BTNFACE));
    registerPartClasses();
    m_picture.form = &form;
    m_window = CreateWindowExW(DialogExtendedStyle, DialogClass, L"", DialogStyle, 0, 0, 100, 100,
        owner.value_or(nullptr), nullptr, GetModuleHandleW(nullptr), this);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_dotsPerInch = static_cast<int>(GetDpiForWindow(m_window));
    if (m_dotsPerInch <= 0)
        m_dotsPerInch = DesignDotsPerInch;
    m_measure = GdiTextMeasure(m_dotsPerInch);
    for (const DialogControl& control : m_following.controls())
        m_windows.push_back(makeControl(control));
    stackControls();
    m_platform.setMessageFilter([this](MSG& message) {
        if (takeKey(message))
            return true;
        // Tab and the arrow keys move between the dialog's controls.
        return IsWindowVisible(m_window) && IsDialogMessageW(m_window, &message);
    });
    follow();
}

DialogView::~DialogView()
{
    m_platform.setMessageFilter({});
    if (m_window) {
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
}

HWND DialogView::containerOf(Container container) const
{
    // The frames' controls lie in the dialog itself, over their frame.
    for (size_t k = 0; k < m_windows.size() && container == Container::Picture; ++k)
        if (m_following.controls()[k].holds == container)
            return m_windows[k];
    return m_window;
}

HWND DialogView::makeControl(const DialogControl& control)
{
    const auto id = static_cast<INT_PTR>(FirstControlId + m_windows.size());
    const auto make = [&](const wchar_t* windowClass, DWORD style) {
        return CreateWindowExW(0, windowClass, L"", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 10, 10,
            containerOf(control.container), reinterpret_cast<HMENU>(id), GetModuleHandleW(nullptr), nullptr);
    };
    m_labels.emplace_back();
    return std::visit(
        [&](auto* record) -> HWND {
            using Record = std::remove_cvref_t<decltype(*record)>;
            if constexpr (std::is_same_v<Record, PictureElement>) {
                const HWND picture = make(PictureClass, WS_CLIPCHILDREN);
                SetWindowLongPtrW(picture, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_picture));
                return picture;
            } else if constexpr (std::is_same_v<Record, LabelElement>) {
                auto shown = std::make_unique<ShownLabel>();
                const HWND label = make(LabelClass, 0);
                SetWindowLongPtrW(label, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(shown.get()));
                m_labels.back() = std::move(shown);
                return label;
            } else if constexpr (std::is_same_v<Record, FrameElement>) {
                return make(L"BUTTON", BS_GROUPBOX);
            } else if constexpr (std::is_same_v<Record, ButtonElement>) {
                return make(L"BUTTON", (record->Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP);
            } else if constexpr (std::is_same_v<Record, TrackBar>) {
                const HWND bar = make(TRACKBAR_CLASSW, TBS_HORZ | TBS_AUTOTICKS | TBS_BOTTOM | WS_TABSTOP);
                SendMessageW(bar, TBM_SETLINESIZE, 0, TrackBar::SmallChange);
                SendMessageW(bar, TBM_SETPAGESIZE, 0, TrackBar::LargeChange);
                SendMessageW(bar, TBM_SETTICFREQ, TrackBar::TickFrequency, 0);
                return bar;
            } else if constexpr (std::is_same_v<Record, ComboList>) {
                return make(L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP);
            } else {
                // The line is drawn by the dialog itself.
                return nullptr;
            }
        },
        control.record);
}

// Tab goes from control to control in the order they were made, which is the order of the
// windows from the top; the frames lie under everything. Inside the picture, which has no
// control to tab to, each lies over those made before it: the link over the information text.
void DialogView::stackControls()
{
    constexpr UINT OrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    const std::vector<DialogControl>& controls = m_following.controls();
    const auto isFrame = [&](size_t k) { return std::holds_alternative<FrameElement*>(controls[k].record); };
    for (size_t k = 0; k < m_windows.size(); ++k)
        if (m_windows[k] && !isFrame(k))
            SetWindowPos(m_windows[k], controls[k].container == Container::Picture ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                OrderOnly);
    for (size_t k = 0; k < m_windows.size(); ++k)
        if (isFrame(k))
            SetWindowPos(m_windows[k], HWND_BOTTOM, 0, 0, 0, 0, OrderOnly);
}

HWND DialogView::control(const std::string& name) const
{
    for (size_t k = 0; k < m_windows.size(); ++k)
        if (m_following.controls()[k].name == name)
            return m_windows[k];
    return nullptr;
}

LRESULT CALLBACK DialogView::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<DialogView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handleMessage(message, wParam, lParam);
}

LRESULT DialogView::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        commandFrom(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_HSCROLL:
        if (const size_t row = rowOf(reinterpret_cast<HWND>(lParam)); row < m_windows.size())
            m_following.trackBarMoved(row, static_cast<int>(SendMessageW(m_windows[row], TBM_GETPOS, 0, 0)));
        return 0;
    case LabelClicked:
        if (const size_t row = rowOf(reinterpret_cast<HWND>(lParam)); row < m_windows.size())
            m_following.clicked(row);
        return 0;
    case WM_PAINT:
        paintLine();
        return 0;
    case WM_DPICHANGED:
        m_dotsPerInch = HIWORD(wParam);
        m_measure = GdiTextMeasure(m_dotsPerInch);
        follow();
        return 0;
    case WM_CLOSE:
        m_following.pressKeyButton(true);
        return 0;
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
        // The window follows its record again once the user lets go of it.
        m_userMoving = message == WM_ENTERSIZEMOVE;
        if (!m_userMoving)
            follow();
        break;
    case WM_MOVE: {
        POINT corner {};
        ClientToScreen(m_window, &corner);
        m_following.windowMoved(corner.x, corner.y);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

// The row of a control, or the number of rows when it is none of the dialog's.
size_t DialogView::rowOf(HWND control) const
{
    if (!control)
        return m_windows.size();
    return static_cast<size_t>(std::find(m_windows.begin(), m_windows.end(), control) - m_windows.begin());
}

void DialogView::commandFrom(HWND control, int notification)
{
    const size_t row = rowOf(control);
    if (row == m_windows.size())
        return;
    if (notification == BN_CLICKED)
        m_following.clicked(row);
    else if (notification == CBN_SELCHANGE)
        m_following.entryPicked(row, static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
    else if (notification == CBN_EDITCHANGE)
        m_following.textTyped(row, utf8Text(windowText(control)));
}

bool DialogView::takeKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN || (message.wParam != VK_RETURN && message.wParam != VK_ESCAPE))
        return false;
    if (message.hwnd != m_window && !IsChild(m_window, message.hwnd))
        return false;
    // An open list takes its own Enter and Esc.
    for (size_t k = 0; k < m_windows.size(); ++k)
        if (std::holds_alternative<ComboList*>(m_following.controls()[k].record)
            && SendMessageW(m_windows[k], CB_GETDROPPEDSTATE, 0, 0))
            return false;
    m_following.pressKeyButton(message.wParam == VK_ESCAPE);
    return true;
}

void DialogView::paintLine()
{
    PAINTSTRUCT paintStruct;
    const HDC dc = BeginPaint(m_window, &paintStruct);
    if (m_lineVisible) {
        const HPEN pen = CreatePen(PS_SOLID, m_line.width, toColorRef(m_line.colour));
        const HGDIOBJ earlier = SelectObject(dc, pen);
        MoveToEx(dc, m_line.x1, m_line.y1, nullptr);
        LineTo(dc, m_line.x2, m_line.y2);
        SelectObject(dc, earlier);
        DeleteObject(pen);
    }
    EndPaint(m_window, &paintStruct);
}

std::optional<PixelBox> DialogView::workAreaAround(const PixelBox& place) const
{
    const RECT box {place.left, place.top, place.right(), place.bottom()};
    MONITORINFO info {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&box, MONITOR_DEFAULTTONEAREST), &info))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    const RECT& area = info.rcWork;
    return PixelBox {area.left, area.top, area.right - area.left, area.bottom - area.top};
}

FrameReach DialogView::frameReach() const
{
    RECT outer {0, 0, 0, 0};
    AdjustWindowRectExForDpi(&outer, DialogStyle, FALSE, DialogExtendedStyle, static_cast<UINT>(m_dotsPerInch));
    return {-outer.left, -outer.top, outer.right, outer.bottom};
}

void DialogView::writePlace(const PixelBox& place)
{
    const FrameReach frame = frameReach();
    MoveWindow(m_window, place.left - frame.left, place.top - frame.top, place.width + frame.left + frame.right,
        place.height + frame.top + frame.bottom, TRUE);
}

// The dialog opened over the show stays above it, owned by the show's scene window; otherwise the
// window named by "/c:HWND" owns it. A show that ends (on a preview, or when the monitors change)
// hides its window first and destroys it later: the dialog leaves it at once, since an owner
// takes the windows it owns with it.
void DialogView::followOwner()
{
    const HWND owner = GetWindow(m_window, GW_OWNER);
    const bool ownerStays = owner && IsWindowVisible(owner);
    if (ownerStays && owner != m_givenOwner)
        return;
    // A hidden dialog looks for the show when it is shown again.
    const HWND scene = form().Visible ? sceneWindow() : nullptr;
    const HWND wanted = scene ? scene : m_givenOwner;
    if (wanted != owner)
        SetWindowLongPtrW(m_window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(wanted));
}

void DialogView::bringToFront()
{
    // The saver screen stays on top of other windows; the dialog must come over it.
    SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(m_window);
}

void DialogView::writeBox(size_t row, const PixelBox& box)
{
    if (!m_windows[row])
        return;
    // A list's box holds its open list under the field.
    const bool list = std::holds_alternative<ComboList*>(m_following.controls()[row].record);
    const int height = list ? ListDropHeight * m_dotsPerInch / DesignDotsPerInch : box.height;
    MoveWindow(m_windows[row], box.left, box.top, box.width, height, TRUE);
}

void DialogView::writeVisible(size_t row, bool visible)
{
    if (!m_windows[row]) {
        m_lineVisible = visible;
        return writeLine(row, m_line);
    }
    ShowWindow(m_windows[row], visible ? SW_SHOWNA : SW_HIDE);
}

// A field that shows the text already keeps the user's typing cursor.
void DialogView::writeText(size_t row, const std::string& text)
{
    const std::wstring wide = wideText(text);
    if (windowText(m_windows[row]) != wide)
        SetWindowTextW(m_windows[row], wide.c_str());
}

void DialogView::writeFont(size_t row, const Font& font)
{
    SendMessageW(m_windows[row], WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(font, m_dotsPerInch)), TRUE);
}

void DialogView::writeRange(size_t row, int min, int max)
{
    SendMessageW(m_windows[row], TBM_SETRANGE, TRUE, MAKELPARAM(min, max));
}

void DialogView::writeEntries(size_t row, const std::vector<std::string>& entries)
{
    SendMessageW(m_windows[row], CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : entries)
        SendMessageW(m_windows[row], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wideText(entry).c_str()));
}

void DialogView::writeSelection(size_t row, int index)
{
    SendMessageW(m_windows[row], CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DialogView::writeLabel(size_t row, const LabelLook& label)
{
    *m_labels[row] = {label, m_dotsPerInch};
    InvalidateRect(m_windows[row], nullptr, FALSE);
}

void DialogView::writeLine(size_t, const LineLook& line)
{
    m_line = line;
    InvalidateRect(m_window, nullptr, TRUE);
}

void DialogView::writePicture(size_t row, const PictureLook&)
{
    m_picture.dotsPerInch = m_dotsPerInch;
    InvalidateRect(m_windows[row], nullptr, FALSE);
}

void DialogView::showMessage(const MessageRecord& message)
{
    MessageBoxW(m_window, wideText(message.Text).c_str(), wideText(message.Title).c_str(),
        MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
}

} // namespace vortexa
