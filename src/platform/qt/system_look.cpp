#include "platform/qt/system_look.h"

#include <QFontMetrics>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "backend_kit/classic_palette.h"

namespace vortexa {

namespace {

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
    const uint32_t value = classicColour(colour);
    return QColor(
        static_cast<int>(value & 0xFFu), static_cast<int>(value >> 8 & 0xFFu), static_cast<int>(value >> 16 & 0xFFu));
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

int QtTextMeasure::textWidth(const Font& font, const std::string& text) const
{
    return QFontMetrics(toQFont(font)).horizontalAdvance(QString::fromStdString(text));
}

int QtTextMeasure::lineHeight(const Font& font) const { return QFontMetrics(toQFont(font)).lineSpacing(); }

} // namespace vortexa
