#pragma once
// The installed fonts that stand in for the ones the program's records name, and the size a
// record's font is drawn at: the same on every backend that draws text itself.

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "records/elements.h"

namespace vortexa {

struct FontStandIn {
    std::string_view name;
    std::string_view first;
    std::string_view second;
};

// Fonts of the same metrics first, then a font that is sure to carry Cyrillic letters.
inline constexpr std::array<FontStandIn, 5> FontStandIns = {{
    {"MS Sans Serif", "Liberation Sans", "DejaVu Sans"},
    {"Microsoft Sans Serif", "Liberation Sans", "DejaVu Sans"},
    {"Arial", "Liberation Sans", "DejaVu Sans"},
    {"Times New Roman", "Liberation Serif", "DejaVu Serif"},
    {"Courier New", "Liberation Mono", "DejaVu Sans Mono"},
}};

// The last family tried, for any letter the others lack.
inline constexpr std::string_view LastFontFamily = "DejaVu Sans";

// The families to try for a font name, in order: the name itself, its stand-ins, the last family.
inline std::vector<std::string> fontFamiliesFor(const std::string& name)
{
    std::vector<std::string> families {name};
    for (const FontStandIn& standIn : FontStandIns)
        if (standIn.name == name)
            families.insert(families.end(), {std::string(standIn.first), std::string(standIn.second)});
    families.emplace_back(LastFontFamily);
    return families;
}

// A font's size in the screen's logical pixels (96 to the inch).
inline int fontPixelSize(const Font& font)
{
    constexpr double PixelsPerPoint = 96.0 / 72.0;
    return std::max(1, static_cast<int>(std::lround(font.Size * PixelsPerPoint)));
}

} // namespace vortexa
