#include "platform/win32/system_look.h"

#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

#include "backend_kit/classic_palette.h"
#include "platform/win32/text_encoding.h"

namespace vortexa {

namespace {

constexpr double PointsPerInch = 72;

// The old bitmap font does not scale; its TrueType successor has the same metrics.
std::wstring installedFaceFor(const std::string& name)
{
    if (name == "MS Sans Serif")
        return L"Microsoft Sans Serif";
    return wideText(name);
}

} // namespace

COLORREF toColorRef(uint32_t colour)
{
    if (isSystemColour(colour))
        return GetSysColor(static_cast<int>(colour & 0xFFu));
    return static_cast<COLORREF>(colour & 0x00FFFFFFu);
}

COLORREF classicColorRef(uint32_t colour) { return static_cast<COLORREF>(classicColour(colour)); }

HFONT fontFor(const Font& font, int dotsPerInch)
{
    struct Made {
        Font record;
        int dotsPerInch;
        HFONT handle;
    };
    static std::vector<Made> made;
    for (const Made& kept : made)
        if (kept.record == font && kept.dotsPerInch == dotsPerInch)
            return kept.handle;
    const int height = -std::max(1, static_cast<int>(std::lround(font.Size * dotsPerInch / PointsPerInch)));
    const HFONT handle = CreateFontW(height, 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, FALSE, font.Underline, FALSE,
        RUSSIAN_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH,
        installedFaceFor(font.Name).c_str());
    made.push_back({font, dotsPerInch, handle});
    return handle;
}

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

} // namespace vortexa
