#include "platform/win32/gdi_painter.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <tuple>

#include "backend_kit/render_geometry.h"
#include "platform/win32/system_look.h"
#include "platform/win32/text_encoding.h"

namespace vortexa {

namespace {

using ColourOf = COLORREF (*)(uint32_t);

// Pens and brushes live as long as the program once made; a show uses a handful. Should a run
// ask for very many, the kept ones are let go, none of them being selected between elements.
constexpr size_t GdiObjectsKeptAtMost = 512;

RECT toRect(const PixelBox& box) { return {box.left, box.top, box.right(), box.bottom()}; }
PixelBox toPixelBox(const RECT& box) { return {box.left, box.top, box.right - box.left, box.bottom - box.top}; }

bool meets(const RECT& a, const RECT& b)
{
    RECT common;
    return IntersectRect(&common, &a, &b) != 0;
}

RECT unionOf(const RECT& a, const RECT& b)
{
    RECT both;
    UnionRect(&both, &a, &b);
    return both;
}

// A GDI object selected into a device context for one scope, then put back.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object)
        : m_dc(dc)
        , m_earlier(SelectObject(dc, object))
    {
    }
    ~Selected() { SelectObject(m_dc, m_earlier); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_earlier;
};

template <typename Key, typename Handle, typename Make>
Handle cachedHandle(std::map<Key, Handle>& cache, const Key& key, Make make)
{
    if (const auto found = cache.find(key); found != cache.end())
        return found->second;
    if (cache.size() >= GdiObjectsKeptAtMost) {
        for (const auto& [unused, handle] : cache)
            DeleteObject(handle);
        cache.clear();
    }
    return cache.emplace(key, make()).first->second;
}

HPEN extendedPen(DWORD style, int width, COLORREF colour)
{
    const LOGBRUSH brush {BS_SOLID, colour, 0};
    return ExtCreatePen(PS_GEOMETRIC | style, static_cast<DWORD>(width), &brush, 0, nullptr);
}

// The border: solid borders are drawn inside the box whatever their width. A one-pixel solid
// border is the plain pen, the cheapest to draw, with the same pixels.
HPEN borderPen(const ShapeElement& shape, COLORREF colour)
{
    static std::map<std::tuple<int, int, COLORREF>, HPEN> pens;
    if (shape.BorderStyle == BorderTransparent || shape.BorderWidth <= 0)
        return static_cast<HPEN>(GetStockObject(NULL_PEN));
    DWORD style = PS_INSIDEFRAME;
    switch (shape.BorderStyle) {
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
    const int width = shape.BorderWidth;
    return cachedHandle(pens, std::tuple {static_cast<int>(style), width, colour}, [&] {
        if (style == PS_INSIDEFRAME && width == 1)
            return CreatePen(PS_SOLID, 1, colour);
        return extendedPen(style | PS_ENDCAP_FLAT | PS_JOIN_MITER, width, colour);
    });
}

HPEN linePen(int width, COLORREF colour)
{
    static std::map<std::pair<int, COLORREF>, HPEN> pens;
    return cachedHandle(pens, std::pair {width, colour},
        [&] { return extendedPen(PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, width, colour); });
}

HBRUSH fillBrush(int fillStyle, COLORREF colour)
{
    static constexpr int Hatches[] = {HS_HORIZONTAL, HS_VERTICAL, HS_BDIAGONAL, HS_FDIAGONAL, HS_CROSS, HS_DIAGCROSS};
    static std::map<std::pair<int, COLORREF>, HBRUSH> brushes;
    const int hatch = fillStyle - 2;
    const bool hatched = hatch >= 0 && hatch < static_cast<int>(std::size(Hatches));
    if (fillStyle != FillSolid && !hatched)
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    return cachedHandle(brushes, std::pair {fillStyle, colour},
        [&] { return hatched ? CreateHatchBrush(Hatches[hatch], colour) : CreateSolidBrush(colour); });
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

bool solidBorder(const ShapeElement& shape)
{
    return shape.BorderStyle == BorderSolid || shape.BorderStyle == BorderInsideSolid;
}

// A wide solid border as a region: the outline's shape less the same shape inset by the border's
// width. Filling it costs a few rectangles a row, where a wide pen traces the curve many times.
// The regions are made once for each size and moved to where they are drawn.
HRGN borderRegion(int kind, const RECT& outline, int width)
{
    struct PlacedRegion {
        HRGN region;
        POINT at;
    };
    static std::map<std::tuple<int, LONG, LONG, int>, PlacedRegion> regions;
    const LONG w = outline.right - outline.left, h = outline.bottom - outline.top;
    const auto key = std::tuple {kind, w, h, width};
    auto found = regions.find(key);
    if (found == regions.end()) {
        if (regions.size() >= GdiObjectsKeptAtMost) {
            for (const auto& [unused, cached] : regions)
                DeleteObject(cached.region);
            regions.clear();
        }
        const auto shape = [kind, w, h](int inset) {
            if (kind == ShapeCircle)
                return CreateEllipticRgn(inset, inset, w - inset, h - inset);
            const int corner = static_cast<int>(std::lround(std::min(w, h) * RoundedCornerShare * 2)) - 2 * inset;
            return CreateRoundRectRgn(inset, inset, w - inset, h - inset, corner, corner);
        };
        const HRGN ring = shape(0), inner = shape(width);
        CombineRgn(ring, ring, inner, RGN_DIFF);
        DeleteObject(inner);
        found = regions.emplace(key, PlacedRegion {ring, {0, 0}}).first;
    }
    PlacedRegion& cached = found->second;
    OffsetRgn(cached.region, outline.left - cached.at.x, outline.top - cached.at.y);
    cached.at = {outline.left, outline.top};
    return cached.region;
}

void drawShape(HDC dc, const ShapeElement& shape, const RECT& area, ColourOf colourOf)
{
    const PixelBox pixels = pixelBoxOf(shape);
    if (pixels.empty() || !meets(area, toRect(pixels)))
        return;
    const RECT outline = outlineOf(shape, pixels);
    SetBkMode(dc, TRANSPARENT);
    // A solid fill covers the background entirely, so the background is painted only under
    // patterns and transparent fills.
    if (shape.BackStyle == BackOpaque && shape.FillStyle != FillSolid) {
        const Selected pen(dc, GetStockObject(NULL_PEN));
        const Selected brush(dc, fillBrush(FillSolid, colourOf(shape.BackColor)));
        // Without a pen the shape leaves out its right and bottom edge, which the border covers.
        drawOutline(dc, shape.Shape, {outline.left, outline.top, outline.right + 1, outline.bottom + 1});
    }
    const bool curved = shape.Shape == ShapeCircle || shape.Shape == ShapeRoundedRectangle;
    const bool wideCurve = shape.BorderWidth > 1 && solidBorder(shape) && curved;
    if (!wideCurve) {
        const Selected pen(dc, borderPen(shape, colourOf(shape.BorderColor)));
        const Selected brush(dc, fillBrush(shape.FillStyle, colourOf(shape.FillColor)));
        drawOutline(dc, shape.Shape, outline);
        return;
    }
    if (shape.FillStyle != FillTransparent) {
        const Selected pen(dc, GetStockObject(NULL_PEN));
        const Selected brush(dc, fillBrush(shape.FillStyle, colourOf(shape.FillColor)));
        drawOutline(dc, shape.Shape, {outline.left, outline.top, outline.right + 1, outline.bottom + 1});
    }
    FillRgn(
        dc, borderRegion(shape.Shape, outline, shape.BorderWidth), fillBrush(FillSolid, colourOf(shape.BorderColor)));
}

struct LineEnds {
    POINT from, to;
    RECT reach;
};

LineEnds lineEndsOf(const LineElement& line)
{
    const POINT from {toPixels(line.X1), toPixels(line.Y1)}, to {toPixels(line.X2), toPixels(line.Y2)};
    const int reach = lineReach(line.BorderWidth);
    return {from, to,
        {std::min(from.x, to.x) - reach, std::min(from.y, to.y) - reach, std::max(from.x, to.x) + reach,
            std::max(from.y, to.y) + reach}};
}

void drawLine(HDC dc, const LineElement& line, const RECT& area, ColourOf colourOf)
{
    const LineEnds ends = lineEndsOf(line);
    if (line.BorderWidth <= 0 || !meets(area, ends.reach))
        return;
    const Selected pen(dc, linePen(line.BorderWidth, colourOf(line.BorderColor)));
    MoveToEx(dc, ends.from.x, ends.from.y, nullptr);
    LineTo(dc, ends.to.x, ends.to.y);
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

void drawLabel(HDC dc, const LabelElement& label, const RECT& area, ColourOf colourOf)
{
    const PixelBox pixels = pixelBoxOf(label);
    RECT box = toRect(pixels);
    if (pixels.empty() || !meets(area, box))
        return;
    if (label.BackStyle == BackOpaque)
        FillRect(dc, &box, fillBrush(FillSolid, colourOf(label.BackColor)));
    if (label.Caption.empty())
        return;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colourOf(label.ForeColor));
    const Selected font(dc, fontFor(label.LabelFont));
    const std::wstring caption = wideText(label.Caption);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &box, textFlagsOf(dc, label, caption, box));
}

// Every pixel a label may set: its box, and its text where it runs past the box.
RECT labelReach(HDC dc, const LabelElement& label)
{
    const RECT box = toRect(pixelBoxOf(label));
    if (label.Caption.empty())
        return box;
    const Selected font(dc, fontFor(label.LabelFont));
    const std::wstring caption = wideText(label.Caption);
    RECT text = box;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
        textFlagsOf(dc, label, caption, box) | DT_CALCRECT);
    const int width = text.right - text.left, height = text.bottom - text.top;
    // The measured width, placed as the alignment places it, with a pixel or two to spare for
    // rounding and the letters' overhang.
    constexpr int Spare = 2;
    const int alignment = ShownAlignment(label.Alignment, width, box.right - box.left);
    const int left = alignment == AlignRight ? box.right - width
        : alignment == AlignCentre           ? box.left + (box.right - box.left - width) / 2
                                             : box.left;
    return unionOf(box, {left - Spare, box.top - Spare, left + width + Spare, box.top + height + Spare});
}

void drawElement(HDC dc, const ShapeElement& shape, const RECT& area) { drawShape(dc, shape, area, classicColorRef); }
void drawElement(HDC dc, const LineElement& line, const RECT& area) { drawLine(dc, line, area, classicColorRef); }
void drawElement(HDC dc, const LabelElement& label, const RECT& area) { drawLabel(dc, label, area, classicColorRef); }

RECT reachOf(HDC, const ShapeElement& shape) { return toRect(pixelBoxOf(shape)); }
RECT reachOf(HDC, const LineElement& line) { return lineEndsOf(line).reach; }
RECT reachOf(HDC dc, const LabelElement& label) { return labelReach(dc, label); }

std::vector<GdiScenePainter::DrawnElement> drawnElements(HDC dc, const SaverScreen& screen)
{
    std::vector<GdiScenePainter::DrawnElement> drawn;
    forEachShownElement(screen, [&](ElementRef element, const auto& record) {
        drawn.push_back({element, record, toPixelBox(reachOf(dc, record))});
    });
    return drawn;
}

} // namespace

void paintShape(HDC dc, const ShapeElement& shape, const RECT& area) { drawShape(dc, shape, area, toColorRef); }

void paintLabel(HDC dc, const LabelElement& label, const RECT& area) { drawLabel(dc, label, area, toColorRef); }

void paintSaverScreen(HDC dc, const SaverScreen& screen, const RECT& area)
{
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    forEachShownElement(screen, [&](ElementRef, const auto& record) { drawElement(dc, record, area); });
}

void GdiScenePainter::repaintBox(const RECT& box) { m_changes.repaintBox(toPixelBox(box)); }

void GdiScenePainter::paint(HDC dc, const SaverScreen* screen, const RECT& whole)
{
    std::vector<DrawnElement> now = screen ? drawnElements(dc, *screen) : std::vector<DrawnElement> {};
    for (const Repaint& repaint : m_changes.next(std::move(now), toPixelBox(whole)).boxes) {
        const RECT box = toRect(repaint.box);
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, box.left, box.top, box.right, box.bottom);
        FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        for (const size_t element : repaint.elements)
            std::visit([&](const auto& record) { drawElement(dc, record, box); }, m_changes.shown()[element].record);
        RestoreDC(dc, saved);
    }
}

Canvas::Canvas(int width, int height)
    : m_width(width)
    , m_height(height)
{
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
    if (!m_bitmap)
        return;
    m_earlier = SelectObject(m_dc, m_bitmap);
    const RECT all {0, 0, width, height};
    FillRect(m_dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

Canvas::~Canvas()
{
    if (m_bitmap) {
        SelectObject(m_dc, m_earlier);
        DeleteObject(m_bitmap);
    }
    DeleteDC(m_dc);
}

PixelPicture Canvas::picture() const
{
    PixelPicture picture;
    if (!m_bitmap)
        return picture;
    GdiFlush();
    picture.width = m_width;
    picture.height = m_height;
    picture.pixels.resize(static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
    const auto* source = static_cast<const uint32_t*>(m_bits);
    // The bitmap holds 0x00RRGGBB; the program's colours are 0x00BBGGRR.
    std::transform(source, source + picture.pixels.size(), picture.pixels.begin(),
        [](uint32_t pixel) { return (pixel & 0xFFu) << 16 | (pixel & 0xFF00u) | (pixel >> 16 & 0xFFu); });
    return picture;
}

PixelPicture renderPicture(int width, int height, const std::function<void(HDC)>& paint)
{
    const Canvas canvas(width, height);
    paint(canvas.dc());
    return canvas.picture();
}

PixelPicture renderSaverScreen(const SaverScreen& screen, int width, int height)
{
    return renderPicture(width, height, [&](HDC dc) { paintSaverScreen(dc, screen, {0, 0, width, height}); });
}

} // namespace vortexa
