#pragma once
// The classic desktop colours the show was drawn on. The show takes its system colours from here
// on every system and theme, so that its clock text stays the light grey on black it was made as.

#include <array>
#include <cstdint>

#include "records/elements.h"

namespace vortexa {

// 0x00RRGGBB by system colour index.
inline constexpr std::array<uint32_t, 25> ClassicSystemColours = {
    0xC0C0C0, // 0 scroll bar
    0x008080, // 1 desktop
    0x000080, // 2 active caption
    0x808080, // 3 inactive caption
    0xC0C0C0, // 4 menu
    0xFFFFFF, // 5 window
    0x000000, // 6 window frame
    0x000000, // 7 menu text
    0x000000, // 8 window text
    0xFFFFFF, // 9 caption text
    0xC0C0C0, // 10 active border
    0xC0C0C0, // 11 inactive border
    0x808080, // 12 application workspace
    0x000080, // 13 highlight
    0xFFFFFF, // 14 highlight text
    0xC0C0C0, // 15 button face
    0x808080, // 16 button shadow
    0x808080, // 17 grey text
    0x000000, // 18 button text
    0xC0C0C0, // 19 inactive caption text
    0xFFFFFF, // 20 button highlight
    0x000000, // 21 dark 3D shadow
    0xDFDFDF, // 22 3D light
    0x000000, // 23 tooltip text
    0xFFFFE1, // 24 tooltip background
};

// A colour as 0x00BBGGRR: as it is, or the classic colour nn for 0x800000nn (black for an index the
// table lacks).
constexpr uint32_t classicColour(uint32_t colour)
{
    if (!isSystemColour(colour))
        return colour & 0x00FFFFFFu;
    const uint32_t index = colour & 0x7FFFFFFFu;
    if (index >= ClassicSystemColours.size())
        return 0;
    const uint32_t value = ClassicSystemColours[index];
    return rgb(
        static_cast<int>(value >> 16 & 0xFFu), static_cast<int>(value >> 8 & 0xFFu), static_cast<int>(value & 0xFFu));
}

// The colour a colour number shows, as opaque 0xAARRGGBB: the one place every painter takes it from.
constexpr uint32_t argbOf(uint32_t colour)
{
    const uint32_t value = classicColour(colour);
    return 0xFF000000u | (value & 0xFFu) << 16 | (value & 0xFF00u) | (value >> 16 & 0xFFu);
}

} // namespace vortexa
