#include "platform/qt/system_look.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace vortexa {

namespace {

// The classic desktop colours, as 0xRRGGBB, by system colour index.
constexpr std::array<QRgb, 25> SystemColours = {
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

struct FontStandIn {
    std::string_view name;
    const char* first;
    const char* second;
};

// Fonts of the same metrics first, then a font that is sure to carry Cyrillic letters.
constexpr std::array<FontStandIn, 5> FontStandIns = {{
    {"MS Sans Serif", "Liberation Sans", "DejaVu Sans"},
    {"Microsoft Sans Serif", "Liberation Sans", "DejaVu Sans"},
    {"Arial", "Liberation Sans", "DejaVu Sans"},
    {"Times New Roman", "Liberation Serif", "DejaVu Serif"},
    {"Courier New", "Liberation Mono", "DejaVu Sans Mono"},
}};

constexpr double PixelsPerPoint = 96.0 / 72.0;

QStringList familiesFor(const std::string& name)
{
    QStringList families {QString::fromStdString(name)};
    for (const FontStandIn& standIn : FontStandIns)
        if (standIn.name == name)
            families << QString::fromLatin1(standIn.first) << QString::fromLatin1(standIn.second);
    families << QStringLiteral("DejaVu Sans");
    return families;
}

} // namespace

QColor toQColor(uint32_t colour)
{
    if (isSystemColour(colour)) {
        const uint32_t index = colour & 0x7FFFFFFFu;
        return index < SystemColours.size() ? QColor::fromRgb(SystemColours[index]) : QColor(Qt::black);
    }
    return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>(colour >> 8 & 0xFFu),
        static_cast<int>(colour >> 16 & 0xFFu));
}

QFont toQFont(const Font& font)
{
    QFont result;
    result.setFamilies(familiesFor(font.Name));
    result.setPixelSize(std::max(1, static_cast<int>(std::lround(font.Size * PixelsPerPoint))));
    result.setBold(font.Bold);
    result.setUnderline(font.Underline);
    return result;
}

} // namespace vortexa
