#include "platform/win32/dialog_parts.h"

#include "platform/win32/gdi_painter.h"
#include "platform/win32/system_look.h"
#include "platform/win32/text_encoding.h"

namespace vortexa {

namespace {

void paintShownLabel(HWND window, HDC dc, const ShownLabel& shown)
{
    const LabelLook& label = shown.look;
    RECT client;
    GetClientRect(window, &client);
    const HBRUSH brush = CreateSolidBrush(toColorRef(label.backColour));
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, toColorRef(label.foreColour));
    const HGDIOBJ earlier = SelectObject(dc, fontFor(label.font, shown.dotsPerInch));
    for (const TextLine& line : label.lines) {
        const std::wstring text = wideText(line.text);
        RECT box {line.box.left, line.box.top, line.box.right(), line.box.bottom()};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    }
    SelectObject(dc, earlier);
}

LRESULT CALLBACK labelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* shown = reinterpret_cast<const ShownLabel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
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
        if (shown && shown->look.handPointer) {
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
        if (pressed && PtInRect(&client, at))
            SendMessageW(GetAncestor(window, GA_ROOT), LabelClicked, 0, reinterpret_cast<LPARAM>(window));
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
    const auto* shown = reinterpret_cast<const ShownPicture*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_ERASEBKGND)
        return 1;
    if (message != WM_PAINT || !shown || !shown->form)
        return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT paintStruct;
    const HDC dc = BeginPaint(window, &paintStruct);
    const HBRUSH background = CreateSolidBrush(toColorRef(shown->form->Pic.BackColor));
    FillRect(dc, &paintStruct.rcPaint, background);
    DeleteObject(background);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, DesignDotsPerInch, DesignDotsPerInch, nullptr);
    SetViewportExtEx(dc, shown->dotsPerInch, shown->dotsPerInch, nullptr);
    RECT area = paintStruct.rcPaint;
    DPtoLP(dc, reinterpret_cast<POINT*>(&area), 2);
    forEachPictureElement(
        *shown->form, [&](const ShapeElement& shape) { paintShape(dc, shape, area); },
        [&](const LabelElement& label) { paintLabel(dc, label, area); });
    EndPaint(window, &paintStruct);
    return 0;
}

} // namespace

void registerClass(const wchar_t* name, WNDPROC procedure, HBRUSH background)
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
    RegisterClassExW(&windowClass);
}

void registerPartClasses()
{
    registerClass(PictureClass, pictureProcedure, nullptr);
    registerClass(LabelClass, labelProcedure, nullptr);
}

} // namespace vortexa
