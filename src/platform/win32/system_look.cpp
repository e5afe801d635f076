#include "platform/win32/system_look.h"

#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/classic_palette.h"
#include "platform/win32/text_encoding.h"

namespace vortexa {

namespace {

constexpr double PixelsPerPoint = 96.0 / 72.0;

// The old bitmap font does not scale; its TrueType successor has the same metrics.
std::wstring installedFaceFor(const std::string& name)
{
    if (name == "MS Sans Serif")
        return L"Microsoft Sans Serif";
    return wideText(name);
}

bool sameFont(const Font& a, const Font& b)
{
    return a.Name == b.Name && a.Size == b.Size && a.Bold == b.Bold && a.Underline == b.Underline;
}

} // namespace

COLORREF toColorRef(uint32_t colour)
{
    if (isSystemColour(colour))
        return GetSysColor(static_cast<int>(colour & 0xFFu));
    return static_cast<COLORREF>(colour & 0x00FFFFFFu);
}

COLORREF classicColorRef(uint32_t colour) { return static_cast<COLORREF>(classicColour(colour)); }

HFONT fontFor(const Font& font)
{
    static std::vector<std::pair<Font, HFONT>> made;
    for (const auto& [record, handle] : made)
        if (sameFont(record, font))
            return handle;
    const int height = -std::max(1, static_cast<int>(std::lround(font.Size * PixelsPerPoint)));
    const HFONT handle = CreateFontW(height, 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, FALSE, font.Underline, FALSE,
        RUSSIAN_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH,
        installedFaceFor(font.Name).c_str());
    made.emplace_back(font, handle);
    return handle;
}

} // namespace vortexa
