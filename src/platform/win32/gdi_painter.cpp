#include "platform/win32/gdi_painter.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "platform/render_geometry.h"
#include "platform/win32/system_look.h"
#include "platform/win32/text_encoding.h"

namespace vortexa {

namespace {

RECT toRect(const PixelBox& box) { return {box.left, box.top, box.right(), box.bottom()}; }

bool meets(const RECT& a, const RECT& b)
{
    RECT common;
    return IntersectRect(&common, &a, &b) != 0;
}

// A GDI object selected into a device context for one scope, then put back and deleted.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object, bool owned = true)
        : m_dc(dc)
        , m_object(object)
        , m_owned(owned)
        , m_earlier(SelectObject(dc, object))
    {
    }
    ~Selected()
    {
        SelectObject(m_dc, m_earlier);
        if (m_owned)
            DeleteObject(m_object);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_object;
    bool m_owned;
    HGDIOBJ m_earlier;
};

// The border: solid borders are drawn inside the box whatever their width.
HPEN borderPen(const ShapeElement& shape)
{
    DWORD style = PS_INSIDEFRAME;
    switch (shape.BorderStyle) {
    case BorderTransparent:
        return static_cast<HPEN>(GetStockObject(NULL_PEN));
    case BorderDashed:
        style = PS_DASH;
        break;
    case BorderDotted:
        style = PS_DOT;
        break;
    case BorderDashDot:
        style = PS_DASHDOT;
        break;
    case BorderDashDotDot:
        style = PS_DASHDOTDOT;
        break;
    default:
        break;
    }
    if (shape.BorderWidth <= 0)
        return static_cast<HPEN>(GetStockObject(NULL_PEN));
    const LOGBRUSH brush {BS_SOLID, toColorRef(shape.BorderColor), 0};
    return ExtCreatePen(PS_GEOMETRIC | style | PS_ENDCAP_FLAT | PS_JOIN_MITER, static_cast<DWORD>(shape.BorderWidth),
        &brush, 0, nullptr);
}

HBRUSH fillBrush(int fillStyle, COLORREF colour)
{
    static constexpr int Hatches[] = {HS_HORIZONTAL, HS_VERTICAL, HS_BDIAGONAL, HS_FDIAGONAL, HS_CROSS, HS_DIAGCROSS};
    if (fillStyle == FillSolid)
        return CreateSolidBrush(colour);
    const int hatch = fillStyle - 2;
    if (hatch >= 0 && hatch < static_cast<int>(std::size(Hatches)))
        return CreateHatchBrush(Hatches[hatch], colour);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

// The pen draws inside the frame it is given, so the outline is the shape's own box, on whole pixels.
RECT outlineOf(const ShapeElement& shape, const PixelBox& box)
{
    const OutlineBox outline = shapeBox(shape, box);
    const int left = static_cast<int>(std::floor(outline.left)), top = static_cast<int>(std::floor(outline.top));
    return {left, top, left + static_cast<int>(outline.width), top + static_cast<int>(outline.height)};
}

void drawOutline(HDC dc, int kind, const RECT& outline)
{
    if (kind == ShapeRoundedRectangle) {
        const int side = std::min(outline.right - outline.left, outline.bottom - outline.top);
        const int corner = static_cast<int>(std::lround(side * RoundedCornerShare * 2));
        RoundRect(dc, outline.left, outline.top, outline.right, outline.bottom, corner, corner);
    } else if (kind == ShapeCircle) {
        Ellipse(dc, outline.left, outline.top, outline.right, outline.bottom);
    } else {
        Rectangle(dc, outline.left, outline.top, outline.right, outline.bottom);
    }
}

void paintLine(HDC dc, const LineElement& line, const RECT& area)
{
    const POINT from {toPixels(line.X1), toPixels(line.Y1)}, to {toPixels(line.X2), toPixels(line.Y2)};
    const int reach = line.BorderWidth + 1;
    const RECT bounds {std::min(from.x, to.x) - reach, std::min(from.y, to.y) - reach, std::max(from.x, to.x) + reach,
        std::max(from.y, to.y) + reach};
    if (line.BorderWidth <= 0 || !meets(area, bounds))
        return;
    const LOGBRUSH brush {BS_SOLID, toColorRef(line.BorderColor), 0};
    const Selected pen(dc,
        ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, static_cast<DWORD>(line.BorderWidth),
            &brush, 0, nullptr));
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
}

// The font of the label must be selected into the device context.
UINT textFlagsOf(HDC dc, const LabelElement& label, const std::wstring& caption, const RECT& box)
{
    SIZE text {};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    const int alignment = ShownAlignment(label.Alignment, text.cx, box.right - box.left);
    const UINT horizontal = alignment == AlignRight ? DT_RIGHT : alignment == AlignCentre ? DT_CENTER : DT_LEFT;
    return horizontal | DT_TOP | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX;
}

void paintElement(HDC dc, const ShapeElement& shape, const RECT& area) { paintShape(dc, shape, area); }
void paintElement(HDC dc, const LineElement& line, const RECT& area) { paintLine(dc, line, area); }
void paintElement(HDC dc, const LabelElement& label, const RECT& area) { paintLabel(dc, label, area); }

} // namespace

void paintShape(HDC dc, const ShapeElement& shape, const RECT& area)
{
    const PixelBox pixels = pixelBoxOf(shape);
    if (pixels.empty() || !meets(area, toRect(pixels)))
        return;
    const RECT outline = outlineOf(shape, pixels);
    SetBkMode(dc, TRANSPARENT);
    // A solid fill covers the background entirely, so the background is painted only under
    // patterns and transparent fills.
    if (shape.BackStyle == BackOpaque && shape.FillStyle != FillSolid) {
        const Selected pen(dc, GetStockObject(NULL_PEN), false);
        const Selected brush(dc, CreateSolidBrush(toColorRef(shape.BackColor)));
        // Without a pen the shape leaves out its right and bottom edge, which the border covers.
        drawOutline(dc, shape.Shape, {outline.left, outline.top, outline.right + 1, outline.bottom + 1});
    }
    const HPEN pen = borderPen(shape);
    const Selected selectedPen(dc, pen, GetObjectType(pen) == OBJ_EXTPEN);
    const HBRUSH brush = fillBrush(shape.FillStyle, toColorRef(shape.FillColor));
    const Selected selectedBrush(dc, brush, shape.FillStyle != FillTransparent);
    drawOutline(dc, shape.Shape, outline);
}

void paintLabel(HDC dc, const LabelElement& label, const RECT& area)
{
    const PixelBox pixels = pixelBoxOf(label);
    RECT box = toRect(pixels);
    if (pixels.empty() || !meets(area, box))
        return;
    if (label.BackStyle == BackOpaque) {
        const HBRUSH background = CreateSolidBrush(toColorRef(label.BackColor));
        FillRect(dc, &box, background);
        DeleteObject(background);
    }
    if (label.Caption.empty())
        return;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, toColorRef(label.ForeColor));
    const Selected font(dc, fontFor(label.LabelFont), false);
    const std::wstring caption = wideText(label.Caption);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &box, textFlagsOf(dc, label, caption, box));
}

void paintSaverScreen(HDC dc, const SaverScreen& screen, const RECT& area)
{
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    forEachShownElement(screen, [&](ElementRef, const auto& record) { paintElement(dc, record, area); });
}

Frame renderFrame(int width, int height, const std::function<void(HDC)>& paint)
{
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Frame frame;
    if (!bitmap) {
        DeleteDC(dc);
        return frame;
    }
    const HGDIOBJ earlier = SelectObject(dc, bitmap);
    const RECT all {0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    paint(dc);
    GdiFlush();
    frame.width = width;
    frame.height = height;
    frame.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    const auto* source = static_cast<const uint32_t*>(bits);
    // The bitmap holds 0x00RRGGBB; the program's colours are 0x00BBGGRR.
    std::transform(source, source + frame.pixels.size(), frame.pixels.begin(),
        [](uint32_t pixel) { return (pixel & 0xFFu) << 16 | (pixel & 0xFF00u) | (pixel >> 16 & 0xFFu); });
    SelectObject(dc, earlier);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return frame;
}

Frame renderSaverScreen(const SaverScreen& screen, int width, int height)
{
    return renderFrame(width, height, [&](HDC dc) { paintSaverScreen(dc, screen, {0, 0, width, height}); });
}

} // namespace vortexa
