#include "platform/win32/dialog_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <type_traits>
#include <variant>

#include "platform/win32/gdi_painter.h"
#include "platform/win32/system_look.h"
#include "platform/win32/text_encoding.h"
#include "platform/win32/win32_platform.h"

namespace vortexa {

namespace {

constexpr const wchar_t* DialogClass = L"VortexaDialog";
constexpr const wchar_t* PictureClass = L"VortexaPicture";
constexpr const wchar_t* LabelClass = L"VortexaLabel";
constexpr const wchar_t* SaverWindowClass = L"VortexaSaverScreen"; // the show's windows
// Not clipping its children: the group boxes leave their inside to the dialog's background.
constexpr DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD DialogExtendedStyle = WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int ListDropHeight = 160; // pixels of the open list under the field, at 96 dots to the inch
constexpr int FirstControlId = 100;
constexpr UINT LabelClicked = WM_APP;

void moveTo(HWND window, const PixelBox& place)
{
    RECT now;
    GetWindowRect(window, &now);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&now), 2);
    if (now.left != place.left || now.top != place.top || now.right - now.left != place.width
        || now.bottom - now.top != place.height)
        MoveWindow(window, place.left, place.top, place.width, place.height, TRUE);
}

void showIf(HWND window, bool visible)
{
    if ((IsWindowVisible(window) != FALSE) != visible)
        ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
}

std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void followText(HWND window, const std::string& caption)
{
    const std::wstring text = wideText(caption);
    if (windowText(window) != text)
        SetWindowTextW(window, text.c_str());
}

void followFont(HWND window, HFONT font)
{
    if (reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)) != font)
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

Font boldOf(Font font, bool bold)
{
    font.Bold = bold;
    return font;
}

void followButton(HWND window, const ButtonElement& button, const ControlLayout& layout, int dotsPerInch)
{
    followText(window, button.Caption);
    followFont(window, fontFor(boldOf(Font {}, button.FontBold), dotsPerInch));
    moveTo(window, layout.inDialog);
    showIf(window, button.Visible);
}

void followFrame(HWND window, const FrameElement& frame, const ControlLayout& layout, int dotsPerInch)
{
    followText(window, frame.Caption);
    followFont(window, fontFor(Font {}, dotsPerInch));
    moveTo(window, layout.inDialog);
    showIf(window, frame.Visible);
}

void followTrackBar(HWND window, const TrackBar& bar, const ControlLayout& layout)
{
    if (SendMessageW(window, TBM_GETRANGEMIN, 0, 0) != bar.Min()
        || SendMessageW(window, TBM_GETRANGEMAX, 0, 0) != bar.Max())
        SendMessageW(window, TBM_SETRANGE, TRUE, MAKELPARAM(bar.Min(), bar.Max()));
    if (SendMessageW(window, TBM_GETPOS, 0, 0) != bar.Value())
        SendMessageW(window, TBM_SETPOS, TRUE, bar.Value());
    moveTo(window, layout.inDialog);
    showIf(window, bar.Visible);
}

// The list's entries, selection and field follow the record; a field whose text stays keeps the
// user's typing cursor.
void followList(HWND window, const ComboList& list, const ControlLayout& layout, int dotsPerInch)
{
    const int count = static_cast<int>(SendMessageW(window, CB_GETCOUNT, 0, 0));
    bool entriesDiffer = count != list.ListCount();
    for (int k = 0; k < list.ListCount() && !entriesDiffer; ++k) {
        const auto length = static_cast<size_t>(SendMessageW(window, CB_GETLBTEXTLEN, static_cast<WPARAM>(k), 0));
        std::wstring entry(length + 1, L'\0');
        SendMessageW(window, CB_GETLBTEXT, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(entry.data()));
        entry.resize(length);
        entriesDiffer = entry != wideText(list.List(k));
    }
    if (entriesDiffer) {
        SendMessageW(window, CB_RESETCONTENT, 0, 0);
        for (int k = 0; k < list.ListCount(); ++k)
            SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wideText(list.List(k)).c_str()));
    }
    if (entriesDiffer || SendMessageW(window, CB_GETCURSEL, 0, 0) != list.ListIndex())
        SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(list.ListIndex()), 0);
    followText(window, list.Text());
    followFont(window, fontFor(Font {}, dotsPerInch));
    PixelBox place = layout.inDialog;
    place.height = ListDropHeight * dotsPerInch / DesignDotsPerInch;
    moveTo(window, place);
    showIf(window, list.Visible);
}

// A transparent label shows what lies behind it: the picture or the dialog.
COLORREF backgroundBehind(HWND label)
{
    const HWND parent = GetParent(label);
    if (parent == GetAncestor(label, GA_ROOT))
        return GetSysColor(COLOR_BTNFACE);
    return static_cast<COLORREF>(GetWindowLongPtrW(parent, 0));
}

void paintShownLabel(HWND window, HDC dc, const DialogView::ShownLabel& shown)
{
    const LabelElement& label = *shown.record;
    RECT client;
    GetClientRect(window, &client);
    const COLORREF back = label.BackStyle == BackOpaque ? toColorRef(label.BackColor) : backgroundBehind(window);
    const HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, toColorRef(label.ForeColor));
    const HGDIOBJ earlier = SelectObject(dc, fontFor(label.LabelFont, shown.dotsPerInch));
    for (const TextLine& line : shown.lines) {
        const std::wstring text = wideText(line.text);
        RECT box {line.box.left, line.box.top, line.box.right(), line.box.bottom()};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    }
    SelectObject(dc, earlier);
}

LRESULT CALLBACK labelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* shown = reinterpret_cast<DialogView::ShownLabel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paintStruct;
        const HDC dc = BeginPaint(window, &paintStruct);
        if (shown)
            paintShownLabel(window, dc, *shown);
        EndPaint(window, &paintStruct);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SETCURSOR:
        if (shown && shown->record->HandPointer) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        SetCapture(window);
        return 0;
    case WM_LBUTTONUP: {
        const bool pressed = GetCapture() == window;
        ReleaseCapture();
        RECT client;
        GetClientRect(window, &client);
        const POINT at {LOWORD(lParam), HIWORD(lParam)};
        if (pressed && PtInRect(&client, at) && shown && shown->click)
            SendMessageW(GetAncestor(window, GA_ROOT), LabelClicked, 0, reinterpret_cast<LPARAM>(shown));
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The picture area: its background, and its shapes and time label in their drawing order, drawn at
// the design's resolution and grown to the screen's. It clips its children, the information text
// and the link, so that they never flicker under it.
LRESULT CALLBACK pictureProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto* view = reinterpret_cast<const DialogView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_ERASEBKGND)
        return 1;
    if (message != WM_PAINT || !view)
        return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT paintStruct;
    const HDC dc = BeginPaint(window, &paintStruct);
    const HBRUSH background = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(window, 0)));
    FillRect(dc, &paintStruct.rcPaint, background);
    DeleteObject(background);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, DesignDotsPerInch, DesignDotsPerInch, nullptr);
    SetViewportExtEx(dc, view->dotsPerInch(), view->dotsPerInch(), nullptr);
    RECT area = paintStruct.rcPaint;
    DPtoLP(dc, reinterpret_cast<POINT*>(&area), 2);
    forEachPictureElement(
        view->form(), [&](const ShapeElement& shape) { paintShape(dc, shape, area); },
        [&](const LabelElement& label) { paintLabel(dc, label, area); });
    EndPaint(window, &paintStruct);
    return 0;
}

void registerClass(const wchar_t* name, WNDPROC procedure, HBRUSH background, int extraBytes = 0)
{
    WNDCLASSEXW windowClass {};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &windowClass))
        return;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    windowClass.hbrBackground = background;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.cbWndExtra = extraBytes;
    RegisterClassExW(&windowClass);
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

PixelBox workAreaAround(const PixelBox& place)
{
    const RECT box {place.left, place.top, place.right(), place.bottom()};
    MONITORINFO info {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&box, MONITOR_DEFAULTTONEAREST), &info))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    const RECT& area = info.rcWork;
    return {area.left, area.top, area.right - area.left, area.bottom - area.top};
}

std::vector<ShapeElement> picturedShapes(const Form2& form)
{
    std::vector<ShapeElement> shapes;
    forEachPictureElement(
        form, [&](const ShapeElement& shape) { shapes.push_back(shape); }, [](const LabelElement&) {});
    return shapes;
}

std::vector<LabelElement> picturedLabels(const Form2& form)
{
    std::vector<LabelElement> labels;
    forEachPictureElement(
        form, [](const ShapeElement&) {}, [&](const LabelElement& label) { labels.push_back(label); });
    return labels;
}

} // namespace

int GdiTextMeasure::textWidth(const Font& font, const std::string& text) const
{
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ earlier = SelectObject(dc, fontFor(font, m_dotsPerInch));
    const std::wstring wide = wideText(text);
    SIZE size {};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, earlier);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

int GdiTextMeasure::lineHeight(const Font& font) const
{
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ earlier = SelectObject(dc, fontFor(font, m_dotsPerInch));
    TEXTMETRICW metrics {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, earlier);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}

// A drop-down list's field: its text's box inside the border, a pixel apart from its button, which is
// as wide as a scroll bar; the text keeps a margin of half a character on either side.
int GdiTextMeasure::listFieldRoom(int dotsPerInch) const
{
    const auto dots = static_cast<UINT>(dotsPerInch);
    const int textMargin = (textWidth(Font {}, "x") + 1) / 2;
    return GetSystemMetricsForDpi(SM_CXVSCROLL, dots) + 2 * GetSystemMetricsForDpi(SM_CXEDGE, dots) + 2
        + 2 * textMargin;
}

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
    : m_form(form)
    , m_platform(platform)
    , m_controls(dialogControls(form))
    , m_givenOwner(owner.value_or(nullptr))
{
    registerClass(DialogClass, &DialogView::windowProcedure, GetSysColorBrush(COLOR_BTNFACE));
    registerClass(PictureClass, pictureProcedure, nullptr, sizeof(LONG_PTR));
    registerClass(LabelClass, labelProcedure, nullptr);
    m_window = CreateWindowExW(DialogExtendedStyle, DialogClass, L"", DialogStyle, 0, 0, 100, 100,
        owner.value_or(nullptr), nullptr, GetModuleHandleW(nullptr), this);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_dotsPerInch = static_cast<int>(GetDpiForWindow(m_window));
    if (m_dotsPerInch <= 0)
        m_dotsPerInch = DesignDotsPerInch;
    for (const DialogControl& control : m_controls)
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
        if (m_controls[k].holds == container)
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
                SetWindowLongPtrW(picture, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
                return picture;
            } else if constexpr (std::is_same_v<Record, LabelElement>) {
                auto shown = std::make_unique<ShownLabel>();
                shown->record = record;
                shown->click = control.click;
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
    const auto isFrame = [this](size_t k) { return std::holds_alternative<FrameElement*>(m_controls[k].record); };
    for (size_t k = 0; k < m_windows.size(); ++k)
        if (m_windows[k] && !isFrame(k))
            SetWindowPos(m_windows[k], m_controls[k].container == Container::Picture ? HWND_TOP : HWND_BOTTOM, 0, 0, 0,
                0, OrderOnly);
    for (size_t k = 0; k < m_windows.size(); ++k)
        if (isFrame(k))
            SetWindowPos(m_windows[k], HWND_BOTTOM, 0, 0, 0, 0, OrderOnly);
}

HWND DialogView::control(const std::string& name) const
{
    for (size_t k = 0; k < m_controls.size(); ++k)
        if (m_controls[k].name == name)
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
        trackBarMoved(reinterpret_cast<HWND>(lParam));
        return 0;
    case LabelClicked:
        deliver(reinterpret_cast<const ShownLabel*>(lParam)->click);
        return 0;
    case WM_PAINT:
        paintLine();
        return 0;
    case WM_DPICHANGED:
        m_dotsPerInch = HIWORD(wParam);
        follow();
        return 0;
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
        // The window follows its record again once the user lets go of it.
        m_userMoving = message == WM_ENTERSIZEMOVE;
        if (!m_userMoving)
            follow();
        break;
    case WM_CLOSE:
        // The dialog ends only through its buttons: the close button presses the cancel button.
        if (const DialogControl* button = keyButton(m_controls, true))
            deliver(button->click);
        return 0;
    case WM_MOVE: {
        POINT corner {};
        ClientToScreen(m_window, &corner);
        if (m_following || !IsWindowVisible(m_window) || (corner.x == m_placed.left && corner.y == m_placed.top))
            return 0;
        deliver([corner, dotsPerInch = m_dotsPerInch](
                    Form2& dialog) { MoveDialog(dialog, corner.x, corner.y, dotsPerInch); });
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void DialogView::commandFrom(HWND control, int notification)
{
    const auto found = std::find(m_windows.begin(), m_windows.end(), control);
    if (found == m_windows.end() || !control)
        return;
    const DialogControl& row = m_controls[static_cast<size_t>(found - m_windows.begin())];
    if (notification == BN_CLICKED && row.click) {
        deliver(row.click);
        return;
    }
    ComboList* const* list = std::get_if<ComboList*>(&row.record);
    if (!list)
        return;
    ComboList* record = *list;
    if (notification == CBN_SELCHANGE) {
        const int index = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
        deliver([record, index](Form2&) { record->setListIndex(index); });
    } else if (notification == CBN_EDITCHANGE) {
        deliver([record, text = utf8Text(windowText(control))](Form2&) { record->setText(text); });
    }
}

void DialogView::trackBarMoved(HWND control)
{
    const auto found = std::find(m_windows.begin(), m_windows.end(), control);
    if (found == m_windows.end() || !control)
        return;
    TrackBar* const* bar = std::get_if<TrackBar*>(&m_controls[static_cast<size_t>(found - m_windows.begin())].record);
    if (!bar)
        return;
    TrackBar* record = *bar;
    const int value = static_cast<int>(SendMessageW(control, TBM_GETPOS, 0, 0));
    if (value != record->Value())
        deliver([record, value](Form2&) { record->setValue(value); });
}

void DialogView::deliver(std::function<void(Form2&)> handler)
{
    // Controls report the changes the records make to them, too; only the user's reach the records.
    if (m_following || !handler)
        return;
    Form2& form = m_form;
    m_platform.deliver([&form, handler = std::move(handler)] { handler(form); });
}

bool DialogView::takeKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN || (message.wParam != VK_RETURN && message.wParam != VK_ESCAPE))
        return false;
    if (message.hwnd != m_window && !IsChild(m_window, message.hwnd))
        return false;
    // An open list takes its own Enter and Esc.
    for (size_t k = 0; k < m_windows.size(); ++k)
        if (std::holds_alternative<ComboList*>(m_controls[k].record)
            && SendMessageW(m_windows[k], CB_GETDROPPEDSTATE, 0, 0))
            return false;
    if (const DialogControl* button = keyButton(m_controls, message.wParam == VK_ESCAPE))
        deliver(button->click);
    return true;
}

void DialogView::paintLine()
{
    PAINTSTRUCT paintStruct;
    const HDC dc = BeginPaint(m_window, &paintStruct);
    const LineElement& line = m_form.Line1;
    if (line.Visible && line.BorderWidth > 0) {
        const int width = std::max(1, line.BorderWidth * m_dotsPerInch / DesignDotsPerInch);
        const HPEN pen = CreatePen(PS_SOLID, width, toColorRef(line.BorderColor));
        const HGDIOBJ earlier = SelectObject(dc, pen);
        MoveToEx(dc, toPixelsAt(line.X1, m_dotsPerInch), toPixelsAt(line.Y1, m_dotsPerInch), nullptr);
        LineTo(dc, toPixelsAt(line.X2, m_dotsPerInch), toPixelsAt(line.Y2, m_dotsPerInch));
        SelectObject(dc, earlier);
        DeleteObject(pen);
    }
    EndPaint(m_window, &paintStruct);
}

void DialogView::followLabel(size_t row, const ControlLayout& layout)
{
    ShownLabel& shown = *m_labels[row];
    const HWND window = m_windows[row];
    moveTo(window, m_controls[row].container == Container::Picture ? layout.box : layout.inDialog);
    showIf(window, shown.record->Visible);
    // Labels are repainted only when what they show changes, not on every tick of the show.
    if (shown.lines != layout.lines || shown.colour != shown.record->ForeColor || shown.dotsPerInch != m_dotsPerInch) {
        shown.lines = layout.lines;
        shown.colour = shown.record->ForeColor;
        shown.dotsPerInch = m_dotsPerInch;
        InvalidateRect(window, nullptr, FALSE);
    }
}

void DialogView::followPicture(HWND picture, const ControlLayout& layout)
{
    moveTo(picture, layout.inDialog);
    showIf(picture, m_form.Pic.Visible);
    const auto back = static_cast<LONG_PTR>(toColorRef(m_form.Pic.BackColor));
    std::vector<ShapeElement> shapes = picturedShapes(m_form);
    std::vector<LabelElement> labels = picturedLabels(m_form);
    // The show's ticks reach here while the dialog is open over it: the picture is drawn again only
    // when what it shows changed.
    if (GetWindowLongPtrW(picture, 0) != back || shapes != m_pictureShown || labels != m_pictureLabelsShown) {
        SetWindowLongPtrW(picture, 0, back);
        m_pictureShown = std::move(shapes);
        m_pictureLabelsShown = std::move(labels);
        InvalidateRect(picture, nullptr, FALSE);
    }
}

void DialogView::follow()
{
    followOwner();
    // A hidden dialog is followed in full once it is shown; the show's ticks need not pay for it.
    if (!m_form.Visible && !IsWindowVisible(m_window)) {
        m_form.BringToFront = false;
        return;
    }
    m_following = true;
    followText(m_window, m_form.Caption);
    const std::vector<ControlLayout> layout
        = layOutDialog(m_form, m_controls, GdiTextMeasure(m_dotsPerInch), m_dotsPerInch);
    for (size_t k = 0; k < m_controls.size(); ++k) {
        const HWND window = m_windows[k];
        const ControlLayout& placed = layout[k];
        std::visit(
            [&](const auto* record) {
                using Record = std::remove_cvref_t<decltype(*record)>;
                if constexpr (std::is_same_v<Record, PictureElement>)
                    followPicture(window, placed);
                else if constexpr (std::is_same_v<Record, LabelElement>)
                    followLabel(k, placed);
                else if constexpr (std::is_same_v<Record, FrameElement>)
                    followFrame(window, *record, placed, m_dotsPerInch);
                else if constexpr (std::is_same_v<Record, ButtonElement>)
                    followButton(window, *record, placed, m_dotsPerInch);
                else if constexpr (std::is_same_v<Record, TrackBar>)
                    followTrackBar(window, *record, placed);
                else if constexpr (std::is_same_v<Record, ComboList>)
                    followList(window, *record, placed, m_dotsPerInch);
            },
            m_controls[k].record);
    }
    followPlace();
    followVisibility();
    m_following = false;
}

void DialogView::followPlace()
{
    if (m_userMoving)
        return;
    RECT outer {0, 0, 0, 0};
    AdjustWindowRectExForDpi(&outer, DialogStyle, FALSE, DialogExtendedStyle, static_cast<UINT>(m_dotsPerInch));
    const FrameReach frame {-outer.left, -outer.top, outer.right, outer.bottom};
    m_placed = dialogPlace(m_form, m_dotsPerInch, workAreaAround(dialogPlace(m_form, m_dotsPerInch)), frame);
    const int left = m_placed.left - frame.left, top = m_placed.top - frame.top;
    const int width = m_placed.width + frame.left + frame.right, height = m_placed.height + frame.top + frame.bottom;
    RECT now;
    GetWindowRect(m_window, &now);
    if (now.left != left || now.top != top || now.right - now.left != width || now.bottom - now.top != height)
        MoveWindow(m_window, left, top, width, height, TRUE);
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
    const HWND scene = m_form.Visible ? sceneWindow() : nullptr;
    const HWND wanted = scene ? scene : m_givenOwner;
    if (wanted != owner)
        SetWindowLongPtrW(m_window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(wanted));
}

void DialogView::followVisibility()
{
    if (!m_form.Visible) {
        ShowWindow(m_window, SW_HIDE);
        m_form.BringToFront = false;
        return;
    }
    if (!IsWindowVisible(m_window))
        ShowWindow(m_window, SW_SHOW);
    if (m_form.BringToFront) {
        // The saver screen stays on top of other windows; the dialog must come over it.
        SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(m_window);
        m_form.BringToFront = false;
    }
}

void DialogView::showMessage(const MessageRecord& message)
{
    MessageBoxW(m_window, wideText(message.Text).c_str(), wideText(message.Title).c_str(),
        MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
}

} // namespace vortexa
