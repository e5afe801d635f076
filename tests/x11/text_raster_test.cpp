#include <QFontMetrics>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/qt/system_look.h"
#include "platform/x11/text_raster.h"

namespace vortexa {
namespace {

const Font TimeFont {"Times New Roman", 24, true, false};
const Font DialFont {"MS Sans Serif", 8.25f, true, false};
const Font HintFont {"MS Sans Serif", 13.5f, true, false};

// The show's labels and a few other fonts and scripts measure what the toolkit measures, within a
// pixel: the same fonts are chosen, at the same sizes.
TEST(TextRaster, MeasuresWhatTheToolkitMeasures)
{
    const Font fonts[] = {TimeFont, DialFont, HintFont, {"MS Sans Serif", 9.75f, false, true},
        {"Arial", 12, false, false}, {"Courier New", 10, true, false}, {"Times New Roman", 36, false, false},
        {"No Such Font Anywhere", 12, false, false}, {"Times New Roman", 6, true, false}};
    const char* texts[] = {"18:35:55", "6:35:55 PM", "Click <1> for setup", "Время", "Нажмите <1> для настройки",
        "Независимость ЁЖЩЪ ёжщъ", "12", "Mixed Смесь 0123456789", ""};
    TextRaster raster;
    for (const Font& font : fonts) {
        const QFontMetrics toolkit(toQFont(font));
        for (const char* text : texts) {
            const TextExtent extent = raster.measure(font, text);
            const QString name = QString::fromStdString(font.Name) + " " + QString::number(font.Size) + " \""
                + QString::fromUtf8(text) + "\"";
            EXPECT_NEAR(extent.width(), toolkit.horizontalAdvance(QString::fromUtf8(text)), 1) << name.toStdString();
            EXPECT_NEAR(extent.ascent, toolkit.ascent(), 1) << name.toStdString();
            EXPECT_NEAR(extent.height(), toolkit.height(), 1) << name.toStdString();
        }
    }
}

// Where the ink of a coverage lies: its left, top, right and bottom pixels, and how many it covers.
struct Ink {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1, pixels = 0;
};

Ink inkOf(const TextCoverage& coverage)
{
    Ink ink;
    for (int y = 0; y < coverage.height; ++y)
        for (int x = 0; x < coverage.width; ++x)
            if (coverage.at(x, y) > 0) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
                ++ink.pixels;
            }
    return ink;
}

// Text is inked from its pen onwards, above and below its baseline; twice the scale gives twice the
// ink's size; a letter the chosen font lacks comes from another font, not as the sign of a missing
// letter; a picture too small for the text, or a text that is no valid UTF-8, cuts or replaces
// rather than failing.
TEST(TextRaster, InksTheTextWhereItsPenAndBaselineSay)
{
    TextRaster raster;
    const TextExtent extent = raster.measure(TimeFont, "Время");
    const TextCoverage coverage = raster.render(TimeFont, "Время", 1, 200, 60, 10, 40);
    const Ink ink = inkOf(coverage);
    EXPECT_GE(ink.left, 9);
    EXPECT_LE(ink.right, 10 + extent.width() + 1);
    EXPECT_GE(ink.top, 40 - extent.ascent);
    EXPECT_LE(ink.bottom, 40 + extent.descent);
    EXPECT_GT(ink.pixels, 100);

    const Ink twice = inkOf(raster.render(TimeFont, "Время", 2, 400, 120, 20, 80));
    EXPECT_NEAR(twice.right - twice.left, 2 * (ink.right - ink.left), 3);
    EXPECT_NEAR(twice.bottom - twice.top, 2 * (ink.bottom - ink.top), 3);
    EXPECT_NEAR(raster.measure(TimeFont, "Время", 2).width(), 2 * extent.width(), 2);

    // Liberation Mono lacks no Cyrillic letter either, so the test takes a character only the last
    // family carries: a Braille pattern, which DejaVu Sans has.
    const Font mono {"Courier New", 12, false, false};
    const TextExtent braille = raster.measure(mono, "\u2800\u28ff");
    EXPECT_NEAR(braille.width(), QFontMetrics(toQFont(mono)).horizontalAdvance(QString::fromUtf8("\u2800\u28ff")), 1);

    const Ink cut = inkOf(raster.render(TimeFont, "Время", 1, 8, 8, -5, 30));
    EXPECT_LE(cut.right, 7);
    EXPECT_EQ(inkOf(raster.render(TimeFont, "", 1, 50, 50, 0, 40)).pixels, 0);
    EXPECT_GT(raster.measure(TimeFont, "a\xff\xc0z").width(), raster.measure(TimeFont, "az").width());
    EXPECT_EQ(raster.render(TimeFont, "x", 1, 0, 0, 0, 0).values.size(), 0u);
}

} // namespace
} // namespace vortexa
