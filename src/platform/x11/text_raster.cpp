#include "platform/x11/text_raster.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "backend_kit/font_families.h"

namespace vortexa {

namespace {

constexpr char32_t ReplacementCharacter = 0xFFFD;

// The characters of UTF-8 text; a byte that starts no valid character stands for one replacement
// character.
std::u32string charactersOf(std::string_view text)
{
    std::u32string characters;
    for (size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const int length = lead < 0x80 ? 1
            : (lead >> 5) == 0x6       ? 2
            : (lead >> 4) == 0xE       ? 3
            : (lead >> 3) == 0x1E      ? 4
                                       : 0;
        char32_t value = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        bool valid = length > 0 && at + static_cast<size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[at + static_cast<size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            value = value << 6 | (next & 0x3F);
        }
        const char32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        valid = valid && (length == 1 || value >= smallest) && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
        characters.push_back(valid ? value : ReplacementCharacter);
        at += valid ? static_cast<size_t>(length) : 1;
    }
    return characters;
}

// 26.6 fixed point, FreeType's unit of pixels.
constexpr double Sixty4ths = 64.0;

} // namespace

int TextExtent::width() const { return static_cast<int>(std::lround(advance)); }

struct TextRaster::Library {
    FT_Library freetype = nullptr;
    Library()
    {
        FcInit();
        FT_Init_FreeType(&freetype);
    }
    ~Library()
    {
        if (freetype)
            FT_Done_FreeType(freetype);
    }
};

struct TextRaster::Face {
    FT_Face face = nullptr;
    ~Face()
    {
        if (face)
            FT_Done_Face(face);
    }
};

// One family's face of a font record, at the record's size, loaded as fontconfig says that face
// is best drawn.
struct FaceAtSize {
    FT_Face face = nullptr;
    FT_Size size = nullptr;
    FT_Int32 loadFlags = FT_LOAD_DEFAULT;
    FT_Render_Mode renderMode = FT_RENDER_MODE_NORMAL;
    bool embolden = false;
    // Unhinted advances, and glyphs placed at fractions of a pixel: with no or light hinting.
    bool fractional = true;
};

struct TextRaster::Chosen {
    std::vector<FaceAtSize> faces; // the first is the font's own, the others lend missing letters
    int ascent = 0, descent = 0;
    ~Chosen()
    {
        for (const FaceAtSize& use : faces)
            FT_Done_Size(use.size);
    }
};

TextRaster::TextRaster() = default;

TextRaster::~TextRaster()
{
    m_chosen.clear();
    m_faces.clear();
}

TextRaster::Face* TextRaster::faceOf(const std::string& file, int index)
{
    const std::string key = file + "|" + std::to_string(index);
    auto& kept = m_faces[key];
    if (!kept) {
        kept = std::make_unique<Face>();
        if (!m_library->freetype || FT_New_Face(m_library->freetype, file.c_str(), index, &kept->face) != 0)
            kept->face = nullptr;
    }
    return kept->face ? kept.get() : nullptr;
}

namespace {

// The face fontconfig gives for a family, or nothing when no installed font has that family name;
// with `anyFamily` the face it gives in its place.
FcPattern* installedFaceOf(const std::string& family, bool bold, double pixels, bool anyFamily = false)
{
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, pixels);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match || anyFamily)
        return match;
    FcChar8* name = nullptr;
    for (int k = 0; FcPatternGetString(match, FC_FAMILY, k, &name) == FcResultMatch; ++k)
        if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family.c_str())) == 0)
            return match;
    FcPatternDestroy(match);
    return nullptr;
}

bool booleanOf(FcPattern* match, const char* property, bool otherwise)
{
    FcBool value = otherwise ? FcTrue : FcFalse;
    FcPatternGetBool(match, property, 0, &value);
    return value != FcFalse;
}

// How a face is loaded and rendered, from the hinting and smoothing fontconfig asks for it. A
// scaled screen is drawn unhinted, as the toolkit draws it there.
void takeRenderingOf(FcPattern* match, double scale, FaceAtSize& use)
{
    int hintStyle = FC_HINT_FULL;
    FcPatternGetInteger(match, FC_HINT_STYLE, 0, &hintStyle);
    if (!booleanOf(match, FC_HINTING, true) || scale != 1)
        hintStyle = FC_HINT_NONE;
    const bool smooth = booleanOf(match, FC_ANTIALIAS, true);
    use.fractional = hintStyle <= FC_HINT_SLIGHT;
    use.loadFlags = FT_LOAD_DEFAULT;
    if (!smooth)
        use.loadFlags |= FT_LOAD_TARGET_MONO;
    else if (hintStyle == FC_HINT_NONE)
        use.loadFlags |= FT_LOAD_NO_HINTING;
    else
        use.loadFlags |= hintStyle == FC_HINT_SLIGHT ? FT_LOAD_TARGET_LIGHT : FT_LOAD_TARGET_NORMAL;
    if (booleanOf(match, FC_AUTOHINT, false))
        use.loadFlags |= FT_LOAD_FORCE_AUTOHINT;
    if (!booleanOf(match, FC_EMBEDDED_BITMAP, true))
        use.loadFlags |= FT_LOAD_NO_BITMAP;
    use.renderMode = smooth ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO;
    use.embolden = booleanOf(match, FC_EMBOLDEN, false);
}

} // namespace

namespace {

std::string keyOf(const Font& font, double scale)
{
    char key[64];
    std::snprintf(key, sizeof key, "|%g|%d|%d|%g|", static_cast<double>(font.Size), font.Bold, font.Underline, scale);
    return font.Name + key;
}

} // namespace

const TextRaster::Chosen& TextRaster::chosen(const Font& font, double scale)
{
    // The font libraries take a moment to start, so they start with the first text, after the
    // first frame's shapes are shown.
    if (!m_library)
        m_library = std::make_unique<Library>();
    auto& kept = m_chosen[keyOf(font, scale)];
    if (kept)
        return *kept;
    kept = std::make_unique<Chosen>();
    const double pixels = fontPixelSize(font) * scale;
    // The record's families, else, on a system that has none of them, any font fontconfig offers.
    std::vector<std::string> families = fontFamiliesFor(font.Name);
    families.emplace_back();
    for (const std::string& family : families) {
        const bool anyFamily = family.empty();
        if (anyFamily && !kept->faces.empty())
            break;
        FcPattern* match = installedFaceOf(anyFamily ? "sans-serif" : family, font.Bold, pixels, anyFamily);
        if (!match)
            continue;
        FcChar8* file = nullptr;
        int index = 0;
        FcPatternGetString(match, FC_FILE, 0, &file);
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        Face* face = file ? faceOf(reinterpret_cast<const char*>(file), index) : nullptr;
        const bool known = face && std::any_of(kept->faces.begin(), kept->faces.end(), [face](const FaceAtSize& use) {
            return use.face == face->face;
        });
        FaceAtSize use;
        if (face && !known && FT_New_Size(face->face, &use.size) == 0) {
            use.face = face->face;
            FT_Activate_Size(use.size);
            FT_Set_Char_Size(use.face, 0, static_cast<FT_F26Dot6>(std::lround(pixels * Sixty4ths)), 72, 72);
            takeRenderingOf(match, scale, use);
            kept->faces.push_back(use);
        }
        FcPatternDestroy(match);
    }
    if (!kept->faces.empty()) {
        // The font's own ascent and descent, each rounded to a pixel; FreeType's size metrics are
        // rounded outwards for some fonts.
        const FT_Face face = kept->faces.front().face;
        const FT_Fixed yScale = kept->faces.front().size->metrics.y_scale;
        kept->ascent = static_cast<int>(std::lround(FT_MulFix(face->ascender, yScale) / Sixty4ths));
        kept->descent = static_cast<int>(std::lround(-FT_MulFix(face->descender, yScale) / Sixty4ths));
    }
    return *kept;
}

namespace {

// A character's glyph: in the first face that has it, else the first face's sign for a missing one.
struct Glyph {
    const FaceAtSize* use = nullptr;
    FT_UInt index = 0;
};

Glyph glyphOf(const std::vector<FaceAtSize>& faces, char32_t character)
{
    for (const FaceAtSize& use : faces)
        if (const FT_UInt index = FT_Get_Char_Index(use.face, character))
            return {&use, index};
    return {&faces.front(), 0};
}

// The kerning between two glyphs in 64ths of a pixel: none unless both come from one face.
long kerningBetween(const Glyph& before, const Glyph& glyph)
{
    if (!before.use || before.use != glyph.use || !FT_HAS_KERNING(glyph.use->face))
        return 0;
    FT_Activate_Size(glyph.use->size);
    FT_Vector kerning {0, 0};
    FT_Get_Kerning(glyph.use->face, before.index, glyph.index,
        glyph.use->fractional ? FT_KERNING_UNFITTED : FT_KERNING_DEFAULT, &kerning);
    return kerning.x;
}

// Loads a glyph into its face's slot; its advance in 64ths of a pixel, or a negative number when it
// cannot be loaded.
long loadGlyph(const Glyph& glyph)
{
    FT_Activate_Size(glyph.use->size);
    if (FT_Load_Glyph(glyph.use->face, glyph.index, glyph.use->loadFlags) != 0)
        return -1;
    FT_GlyphSlot slot = glyph.use->face->glyph;
    if (glyph.use->embolden)
        FT_GlyphSlot_Embolden(slot);
    return glyph.use->fractional && FT_IS_SCALABLE(glyph.use->face) ? slot->linearHoriAdvance >> 10
                                                                    : (slot->advance.x + 32) & ~63L;
}

// Lays a glyph's rendered bitmap on the coverage at a whole pixel, as ink over ink.
void layBitmap(const FT_Bitmap& bitmap, int left, int top, TextCoverage& coverage)
{
    for (int row = 0; row < static_cast<int>(bitmap.rows); ++row) {
        const int y = top + row;
        if (y < 0 || y >= coverage.height)
            continue;
        const unsigned char* line = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
        for (int column = 0; column < static_cast<int>(bitmap.width); ++column) {
            const int x = left + column;
            if (x < 0 || x >= coverage.width)
                continue;
            const int value = bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? (line[column / 8] >> (7 - column % 8) & 1) * 255
                                                                      : line[column];
            uint8_t& under = coverage.values[static_cast<size_t>(y) * static_cast<size_t>(coverage.width) + x];
            under = static_cast<uint8_t>(under + (255 - under) * value / 255);
        }
    }
}

} // namespace

TextExtent TextRaster::measure(const Font& font, std::string_view text, double scale)
{
    // A label is laid out every frame, and its text seldom changes: the time once a second.
    std::string measuredKey = keyOf(font, scale);
    measuredKey += text;
    if (const auto kept = m_measured.find(measuredKey); kept != m_measured.end())
        return kept->second;
    if (m_measured.size() >= MeasuresKept)
        m_measured.clear();
    return m_measured[measuredKey] = measureAfresh(font, text, scale);
}

TextExtent TextRaster::measureAfresh(const Font& font, std::string_view text, double scale)
{
    const Chosen& use = chosen(font, scale);
    TextExtent extent {0, use.ascent, use.descent};
    if (use.faces.empty())
        return extent;
    long advance = 0;
    Glyph before;
    for (const char32_t character : charactersOf(text)) {
        const Glyph glyph = glyphOf(use.faces, character);
        advance += kerningBetween(before, glyph) + std::max(0L, loadGlyph(glyph));
        before = glyph;
    }
    extent.advance = advance / Sixty4ths;
    return extent;
}

TextCoverage TextRaster::render(
    const Font& font, std::string_view text, double scale, int width, int height, double penX, int baseline)
{
    TextCoverage coverage {std::max(width, 0), std::max(height, 0), {}};
    coverage.values.assign(static_cast<size_t>(coverage.width) * static_cast<size_t>(coverage.height), 0);
    const Chosen& use = chosen(font, scale);
    if (use.faces.empty())
        return coverage;
    long pen = std::lround(penX * Sixty4ths);
    Glyph before;
    for (const char32_t character : charactersOf(text)) {
        const Glyph glyph = glyphOf(use.faces, character);
        pen += kerningBetween(before, glyph);
        before = glyph;
        const long advance = loadGlyph(glyph);
        if (advance < 0)
            continue;
        FT_GlyphSlot slot = glyph.use->face->glyph;
        // A glyph is drawn at the quarter of a pixel at or before its place plus 1/64: the places
        // the toolkit gives glyphs, so that the show's text has the pixels of the dialog's
        // pictures and the simulator's.
        const long placed = pen + 1;
        const long whole = placed & ~63L;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE)
            FT_Outline_Translate(&slot->outline, glyph.use->fractional ? (placed - whole) / 16 * 16 : 0, 0);
        if (FT_Render_Glyph(slot, glyph.use->renderMode) == 0)
            layBitmap(
                slot->bitmap, static_cast<int>(whole / 64) + slot->bitmap_left, baseline - slot->bitmap_top, coverage);
        pen += advance;
    }
    if (font.Underline) {
        const FT_Face face = use.faces.front().face;
        FT_Activate_Size(use.faces.front().size);
        const double unitsToPixels = face->size->metrics.y_scale / 65536.0 / Sixty4ths;
        const int thickness = std::max(1, static_cast<int>(std::lround(face->underline_thickness * unitsToPixels)));
        const int top = baseline + std::max(1, static_cast<int>(std::lround(-face->underline_position * unitsToPixels)))
            - thickness / 2;
        const int left = static_cast<int>(std::floor(penX));
        const int right = static_cast<int>(std::ceil(pen / Sixty4ths));
        for (int y = std::max(top, 0); y < std::min(top + thickness, coverage.height); ++y)
            for (int x = std::max(left, 0); x < std::min(right, coverage.width); ++x)
                coverage.values[static_cast<size_t>(y) * static_cast<size_t>(coverage.width) + x] = 255;
    }
    return coverage;
}

} // namespace vortexa
