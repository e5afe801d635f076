#include "platform/qt/system_look.h"

#include <QFontMetrics>
#include <QStringList>

#include "backend_kit/classic_palette.h"
#include "backend_kit/font_families.h"

namespace vortexa {

namespace {

QStringList familiesFor(const std::string& name)
{
    QStringList families;
    for (const std::string& family : fontFamiliesFor(name))
        families << QString::fromStdString(family);
    return families;
}

} // namespace

QColor toQColor(uint32_t colour) { return QColor::fromRgb(argbOf(colour)); }

QFont toQFont(const Font& font)
{
    QFont result;
    result.setFamilies(familiesFor(font.Name));
    result.setPixelSize(fontPixelSize(font));
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
