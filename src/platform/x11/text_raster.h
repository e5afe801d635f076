#pragma once
// Text drawn without a toolkit: the font of a record chosen through fontconfig (the record's font,
// else its stand-ins; a letter a font lacks from the next family that has it), measured and
// rasterised with FreeType into coverage a painter colours.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "records/elements.h"

namespace vortexa {

// A line of text: how far it advances, and its line from the top of the ascent to the bottom of the
// descent, in pixels of the size it was measured at.
struct TextExtent {
    double advance = 0;
    int ascent = 0, descent = 0;
    int width() const;
    int height() const { return ascent + descent; }
};

// How much of each pixel text covers, 0 (none) to 255 (whole), row by row.
struct TextCoverage {
    int width = 0, height = 0;
    std::vector<uint8_t> values;
    uint8_t at(int x, int y) const { return values[static_cast<size_t>(y) * static_cast<size_t>(width) + x]; }
};

class TextRaster {
public:
    TextRaster();
    ~TextRaster();
    TextRaster(const TextRaster&) = delete;
    TextRaster& operator=(const TextRaster&) = delete;

    // The extent of `text` (UTF-8) in `font`, `scale` device pixels to each of the screen's logical
    // pixels.
    TextExtent measure(const Font& font, std::string_view text, double scale = 1);
    // The coverage of `text` in a picture of width x height pixels, its pen starting `penX` pixels
    // from the left and its baseline `baseline` pixels from the top; ink outside the picture is cut.
    TextCoverage render(
        const Font& font, std::string_view text, double scale, int width, int height, double penX, int baseline);

    struct Face;
    struct Chosen;

private:
    const Chosen& chosen(const Font& font, double scale);
    TextExtent measureAfresh(const Font& font, std::string_view text, double scale);
    Face* faceOf(const std::string& file, int index);

    struct Library;
    std::unique_ptr<Library> m_library;
    std::map<std::string, std::unique_ptr<Face>> m_faces; // by file and index
    std::map<std::string, std::unique_ptr<Chosen>> m_chosen; // by font record and scale
    static constexpr size_t MeasuresKept = 64;
    std::unordered_map<std::string, TextExtent> m_measured; // by font record, scale and text
};

} // namespace vortexa
