#include "platform/win32/dialog_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "dialog/form2.h"
#include "platform/win32/gdi_painter.h"
#include "platform/win32/system_look.h"
#include "platform/win32/text_encoding.h"
#include "platform/win32/win32_platform.h"
#include "saver/program.h"

namespace vortexa {

namespace {

constexpr const wchar_t* DialogClass = L"VortexaDialog";
constexpr const wchar_t* PictureClass = L"VortexaPicture";
constexpr const wchar_t* LabelClass = L"VortexaLabel";
// Not clipping its children: the group boxes leave their inside to the dialog's background.
constexpr DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD DialogExtendedStyle = WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int ListDropHeight = 160; // pixels of the open list under the field
constexpr int FirstControlId = 100;

int toPixels(float twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel)); }

struct PixelPlace {
    int left, top, width, height;
};

template <typename Element> PixelPlace placeOf(const Element& element, float containerLeft = 0, float containerTop = 0)
{
    return {toPixels(containerLeft + element.Left), toPixels(containerTop + element.Top), toPixels(element.Width),
        toPixels(element.Height)};
}

void moveTo(HWND window, const PixelPlace& place)
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

void followTrackBar(HWND window, const TrackBar& bar)
{
    if (SendMessageW(window, TBM_GETRANGEMIN, 0, 0) != bar.Min()
        || SendMessageW(window, TBM_GETRANGEMAX, 0, 0) != bar.Max())
        SendMessageW(window, TBM_SETRANGE, TRUE, MAKELPARAM(bar.Min(), bar.Max()));
    if (SendMessageW(window, TBM_GETPOS, 0, 0) != bar.Value())
        SendMessageW(window, TBM_SETPOS, TRUE, bar.Value());
    showIf(window, bar.Visible);
}

// The list's entries, selection and field follow the record; a field whose text stays keeps the
// user's typing cursor.
void followList(HWND window, const ComboList& list, float frameLeft, float frameTop)
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
    PixelPlace place = placeOf(list, frameLeft, frameTop);
    place.height = ListDropHeight;
    moveTo(window, place);
    showIf(window, list.Visible);
}

// A caption of one word cannot wrap; when it is wider than its label, the label grows about its
// alignment so that the word shows whole.
PixelPlace labelPlace(HWND window, const DialogView::Label& label)
{
    const LabelElement& record = *label.record;
    PixelPlace place = placeOf(record, label.containerLeft, label.containerTop);
    const std::wstring text = wideText(record.Caption);
    if (text.find_first_of(L" \r\n") != std::wstring::npos || text.empty())
        return place;
    const HDC dc = GetDC(window);
    const HGDIOBJ earlier = SelectObject(dc, fontFor(record.LabelFont));
    SIZE size {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, earlier);
    ReleaseDC(window, dc);
    const int growth = size.cx - place.width;
    if (growth <= 0)
        return place;
    if (record.Alignment == AlignCentre)
        place.left -= growth / 2;
    else if (record.Alignment == AlignRight)
        place.left -= growth;
    place.width += growth;
    return place;
}

LRESULT CALLBACK labelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* label = reinterpret_cast<DialogView::Label*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paintStruct;
        const HDC dc = BeginPaint(window, &paintStruct);
        if (label) {
            RECT client;
            GetClientRect(window, &client);
            LabelElement shown = *label->record;
            shown.Left = 0;
            shown.Top = 0;
            shown.Width = static_cast<float>(client.right * TwipsPerPixel);
            shown.Height = static_cast<float>(client.bottom * TwipsPerPixel);
            if (shown.BackStyle != BackOpaque) {
                // A transparent label shows what lies behind it: the picture or the dialog.
                shown.BackStyle = BackOpaque;
                shown.BackColor = GetParent(window) == GetAncestor(window, GA_ROOT)
                    ? GetSysColor(COLOR_BTNFACE)
                    : static_cast<uint32_t>(GetWindowLongPtrW(GetParent(window), 0));
            }
            paintLabel(dc, shown, client);
        }
        EndPaint(window, &paintStruct);
        return 0;
    }
    case WM_SETCURSOR:
        if (label && label->record->HandPointer) {
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
        if (pressed && PtInRect(&client, at) && label && label->click)
            SendMessageW(GetAncestor(window, GA_ROOT), WM_APP, 0, reinterpret_cast<LPARAM>(label));
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The picture area: its background, its shapes and the time label in its drawing order. The
// information text and the link are labels of their own above it, since the user clicks the link.
LRESULT CALLBACK pictureProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto* form = reinterpret_cast<const Form2*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message != WM_PAINT || !form)
        return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT paintStruct;
    const HDC dc = BeginPaint(window, &paintStruct);
    const HBRUSH background = CreateSolidBrush(toColorRef(form->Pic.BackColor));
    FillRect(dc, &paintStruct.rcPaint, background);
    DeleteObject(background);
    for (const ElementRef& element : form->PicDrawingOrder.backToFront()) {
        if (element.kind == KindPicShape && form->Shape.exists(element.index) && form->Shape[element.index].Visible)
            paintShape(dc, form->Shape[element.index], paintStruct.rcPaint);
        else if (element.kind == KindLblTIME && form->lblTIME.Visible)
            paintLabel(dc, form->lblTIME, paintStruct.rcPaint);
    }
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

Font boldOf(Font font)
{
    font.Bold = true;
    return font;
}

} // namespace

DialogView::DialogView(Form2& form, Win32Platform& platform)
    : m_form(form)
    , m_platform(platform)
    , m_font(fontFor(Font {}))
    , m_boldFont(fontFor(boldOf(Font {})))
{
    registerClass(DialogClass, &DialogView::windowProcedure, GetSysColorBrush(COLOR_BTNFACE));
    registerClass(PictureClass, pictureProcedure, nullptr, sizeof(LONG_PTR));
    registerClass(LabelClass, labelProcedure, nullptr);
    m_window = CreateWindowExW(DialogExtendedStyle, DialogClass, L"", DialogStyle, 0, 0, 100, 100, nullptr, nullptr,
        GetModuleHandleW(nullptr), this);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    m_picture = addControl("Pic", PictureClass, 0);
    SetWindowLongPtrW(m_picture, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_form));
    addLabel("LblINFO", form.LblINFO, m_picture, 0, 0);
    addLabel("lblLINK", form.lblLINK, m_picture, 0, 0, [](Form2& dialog) { dialog.lblLINK_Click(); });

    addControl("Frame1", L"BUTTON", BS_GROUPBOX);
    addControl("Frame2", L"BUTTON", BS_GROUPBOX);
    for (int k = 0; k < static_cast<int>(form.cmdS.size()); ++k)
        addControl("cmdS(" + std::to_string(k) + ")", L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, nullptr,
            [k](Form2& dialog) { dialog.cmdS_Click(k); });
    for (size_t k = 0; k < form.Slider.size(); ++k) {
        addLabel("Label(" + std::to_string(k) + ")", form.Label[k], m_window, form.Frame2.Left, form.Frame2.Top);
        const HWND bar = addControl(
            "Slider(" + std::to_string(k) + ")", TRACKBAR_CLASSW, TBS_HORZ | TBS_AUTOTICKS | TBS_BOTTOM | WS_TABSTOP);
        SendMessageW(bar, TBM_SETLINESIZE, 0, TrackBar::SmallChange);
        SendMessageW(bar, TBM_SETPAGESIZE, 0, TrackBar::LargeChange);
        SendMessageW(bar, TBM_SETTICFREQ, TrackBar::TickFrequency, 0);
    }
    addControl("ComboP", L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP);
    addControl("ComboT", L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP);
    for (int k = 0; k < static_cast<int>(form.lblLOC.size()); ++k)
        addLabel("lblLOC(" + std::to_string(k) + ")", form.lblLOC[static_cast<size_t>(k)], m_window, 0, 0,
            [k](Form2& dialog) { dialog.lblLOC_Click(k); });
    addControl("cmdHELP", L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, nullptr, [](Form2& d) { d.cmdHELP_Click(); });
    addControl("CmdPRO", L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, nullptr, [](Form2& d) { d.CmdPRO_Click(); });
    addControl("cmdESC", L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, nullptr, [](Form2& d) { d.cmdESC_Click(); });
    addControl("cmdOK", L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, nullptr, [](Form2& d) { d.cmdOK_Click(); });
    stackControls();
    follow();
}

// Each control lies over those made before it, as the dialog's drawing order has it (the link over
// the information text); the frames lie under everything.
void DialogView::stackControls()
{
    constexpr UINT OrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    for (const Control& made : m_controls)
        SetWindowPos(made.window, HWND_TOP, 0, 0, 0, 0, OrderOnly);
    for (const char* frame : {"Frame1", "Frame2"})
        SetWindowPos(control(frame), HWND_BOTTOM, 0, 0, 0, 0, OrderOnly);
}

DialogView::~DialogView()
{
    if (m_window) {
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
}

HWND DialogView::addControl(
    const std::string& name, const wchar_t* windowClass, DWORD style, HWND parent, std::function<void(Form2&)> click)
{
    const auto id = static_cast<INT_PTR>(FirstControlId + m_controls.size());
    const HWND control = CreateWindowExW(0, windowClass, L"", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 10, 10,
        parent ? parent : m_window, reinterpret_cast<HMENU>(id), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    m_controls.push_back({name, control, std::move(click)});
    return control;
}

void DialogView::addLabel(const std::string& name, const LabelElement& record, HWND parent, float containerLeft,
    float containerTop, std::function<void(Form2&)> click)
{
    auto label = std::make_unique<Label>();
    label->record = &record;
    label->click = std::move(click);
    label->containerLeft = containerLeft;
    label->containerTop = containerTop;
    label->window = addControl(name, LabelClass, 0, parent);
    SetWindowLongPtrW(label->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(label.get()));
    m_labels.push_back(std::move(label));
}

HWND DialogView::control(const std::string& name) const
{
    const auto found
        = std::find_if(m_controls.begin(), m_controls.end(), [&name](const Control& c) { return c.name == name; });
    return found == m_controls.end() ? nullptr : found->window;
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
    case WM_APP: {
        // A click on a label of the dialog.
        const auto* label = reinterpret_cast<const Label*>(lParam);
        deliver(label->click);
        return 0;
    }
    case WM_PAINT:
        paintLine();
        return 0;
    case WM_CLOSE:
        // The dialog ends only through its buttons: the close button presses the cancel button.
        pressButton(true);
        return 0;
    case WM_MOVE: {
        RECT place;
        GetWindowRect(m_window, &place);
        if (m_following || !IsWindowVisible(m_window)
            || (place.left == toPixels(m_form.Left) && place.top == toPixels(m_form.Top)))
            return 0;
        deliver([place](Form2& dialog) {
            dialog.Left = static_cast<float>(place.left * TwipsPerPixel);
            dialog.Top = static_cast<float>(place.top * TwipsPerPixel);
        });
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void DialogView::commandFrom(HWND control, int notification)
{
    const auto found = std::find_if(
        m_controls.begin(), m_controls.end(), [control](const Control& c) { return c.window == control; });
    if (found == m_controls.end())
        return;
    if (notification == BN_CLICKED && found->click) {
        deliver(found->click);
        return;
    }
    const bool captives = found->name == "ComboP";
    if (!captives && found->name != "ComboT")
        return;
    const auto list = [captives](Form2& dialog) -> ComboList& { return captives ? dialog.ComboP : dialog.ComboT; };
    if (notification == CBN_SELCHANGE) {
        const int index = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
        deliver([list, index](Form2& dialog) { list(dialog).setListIndex(index); });
    } else if (notification == CBN_EDITCHANGE) {
        deliver([list, text = utf8Text(windowText(control))](Form2& dialog) { list(dialog).setText(text); });
    }
}

void DialogView::trackBarMoved(HWND control)
{
    for (size_t k = 0; k < m_form.Slider.size(); ++k) {
        if (this->control("Slider(" + std::to_string(k) + ")") != control)
            continue;
        const int value = static_cast<int>(SendMessageW(control, TBM_GETPOS, 0, 0));
        if (value != m_form.Slider[k].Value())
            deliver([k, value](Form2& dialog) { dialog.Slider[k].setValue(value); });
    }
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
    for (const char* list : {"ComboP", "ComboT"})
        if (SendMessageW(control(list), CB_GETDROPPEDSTATE, 0, 0))
            return false;
    pressButton(message.wParam == VK_ESCAPE);
    return true;
}

void DialogView::pressButton(bool cancel)
{
    const std::pair<const char*, const ButtonElement*> buttons[] = {
        {"cmdHELP", &m_form.cmdHELP}, {"CmdPRO", &m_form.CmdPRO}, {"cmdESC", &m_form.cmdESC}, {"cmdOK", &m_form.cmdOK}};
    for (const auto& [name, record] : buttons) {
        if ((cancel ? record->Cancel : record->Default) && record->Visible) {
            const auto found = std::find_if(
                m_controls.begin(), m_controls.end(), [name](const Control& c) { return c.name == name; });
            deliver(found->click);
            return;
        }
    }
}

void DialogView::paintLine()
{
    PAINTSTRUCT paintStruct;
    const HDC dc = BeginPaint(m_window, &paintStruct);
    const LineElement& line = m_form.Line1;
    if (line.Visible && line.BorderWidth > 0) {
        const HPEN pen = CreatePen(PS_SOLID, line.BorderWidth, toColorRef(line.BorderColor));
        const HGDIOBJ earlier = SelectObject(dc, pen);
        MoveToEx(dc, toPixels(line.X1), toPixels(line.Y1), nullptr);
        LineTo(dc, toPixels(line.X2), toPixels(line.Y2));
        SelectObject(dc, earlier);
        DeleteObject(pen);
    }
    EndPaint(m_window, &paintStruct);
}

void DialogView::follow()
{
    // A hidden dialog is followed in full once it is shown; the show's ticks need not pay for it.
    if (!m_form.Visible && !IsWindowVisible(m_window)) {
        m_form.BringToFront = false;
        return;
    }
    m_following = true;
    followText(m_window, m_form.Caption);
    moveTo(m_picture, placeOf(m_form.Pic));
    SetWindowLongPtrW(m_picture, 0, static_cast<LONG_PTR>(toColorRef(m_form.Pic.BackColor)));
    showIf(m_picture, m_form.Pic.Visible);
    InvalidateRect(m_picture, nullptr, TRUE);

    const std::pair<const char*, const FrameElement*> frames[]
        = {{"Frame1", &m_form.Frame1}, {"Frame2", &m_form.Frame2}};
    for (const auto& [name, frame] : frames) {
        followText(control(name), frame->Caption);
        moveTo(control(name), placeOf(*frame));
        showIf(control(name), frame->Visible);
    }
    const auto followButton = [this](const std::string& name, const ButtonElement& button, const FrameElement* frame) {
        const HWND window = control(name);
        followText(window, button.Caption);
        followFont(window, button.FontBold ? m_boldFont : m_font);
        moveTo(window, placeOf(button, frame ? frame->Left : 0, frame ? frame->Top : 0));
        showIf(window, button.Visible);
    };
    for (size_t k = 0; k < m_form.cmdS.size(); ++k)
        followButton("cmdS(" + std::to_string(k) + ")", m_form.cmdS[k], &m_form.Frame1);
    followButton("cmdHELP", m_form.cmdHELP, nullptr);
    followButton("CmdPRO", m_form.CmdPRO, nullptr);
    followButton("cmdESC", m_form.cmdESC, nullptr);
    followButton("cmdOK", m_form.cmdOK, nullptr);
    for (size_t k = 0; k < m_form.Slider.size(); ++k) {
        const HWND bar = control("Slider(" + std::to_string(k) + ")");
        followTrackBar(bar, m_form.Slider[k]);
        moveTo(bar, placeOf(m_form.Slider[k], m_form.Frame2.Left, m_form.Frame2.Top));
    }
    followList(control("ComboP"), m_form.ComboP, m_form.Frame2.Left, m_form.Frame2.Top);
    followList(control("ComboT"), m_form.ComboT, m_form.Frame2.Left, m_form.Frame2.Top);

    for (const std::unique_ptr<Label>& label : m_labels) {
        moveTo(label->window, labelPlace(label->window, *label));
        showIf(label->window, label->record->Visible);
        // Labels are repainted only when what they show changes, not on every tick of the show.
        if (label->shownCaption != label->record->Caption || label->shownColour != label->record->ForeColor) {
            label->shownCaption = label->record->Caption;
            label->shownColour = label->record->ForeColor;
            InvalidateRect(label->window, nullptr, TRUE);
        }
    }
    followPlace();
    followVisibility();
    m_following = false;
}

void DialogView::followPlace()
{
    RECT outer {0, 0, toPixels(m_form.Width), toPixels(m_form.Height)};
    AdjustWindowRectEx(&outer, DialogStyle, FALSE, DialogExtendedStyle);
    const PixelPlace place {
        toPixels(m_form.Left), toPixels(m_form.Top), outer.right - outer.left, outer.bottom - outer.top};
    RECT now;
    GetWindowRect(m_window, &now);
    if (now.left != place.left || now.top != place.top || now.right - now.left != place.width
        || now.bottom - now.top != place.height)
        MoveWindow(m_window, place.left, place.top, place.width, place.height, TRUE);
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

DialogWindow::DialogWindow(Program& program, Win32Platform& platform)
    : m_program(program)
    , m_platform(platform)
{
    m_afterEvent = m_platform.addAfterEvent([this](bool) { follow(); });
    m_platform.setMessageFilter([this](MSG& message) {
        if (!m_view)
            return false;
        if (m_view->takeKey(message))
            return true;
        // Tab and the arrow keys move between the dialog's controls.
        return IsWindowVisible(m_view->window()) && IsDialogMessageW(m_view->window(), &message);
    });
}

DialogWindow::~DialogWindow()
{
    m_platform.setMessageFilter({});
    m_platform.removeAfterEvent(m_afterEvent);
}

void DialogWindow::follow()
{
    Form2* form = m_program.loadedDialog();
    // While a message is open its own message loop runs; the controls follow once it is closed.
    if (!form || m_showingMessage)
        return;
    if (!m_view)
        m_view = std::make_unique<DialogView>(*form, m_platform);
    showMessages(*form);
    m_view->follow();
}

void DialogWindow::showMessages(Form2& form)
{
    m_showingMessage = true;
    while (!form.Messages.empty()) {
        // A copy, since the list may grow while the box runs its message loop.
        const MessageRecord message = form.Messages.front();
        MessageBoxW(m_view->window(), wideText(message.Text).c_str(), wideText(message.Title).c_str(),
            MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
        form.Messages.erase(form.Messages.begin());
    }
    m_showingMessage = false;
}

} // namespace vortexa
