#pragma once
// How the program's colour numbers and font records look on Windows: the system colours of the
// user's scheme or the classic ones, the installed fonts for the ones the program names, and text
// measured in them.

#include <windows.h>

#include <cstdint>

#include "dialog/dialog_controls.h"
#include "records/elements.h"

namespace vortexa {

// A colour 0x00BBGGRR as it is, or the system colour nn of the user's scheme for 0x800000nn: the
// dialog follows the scheme.
COLORREF toColorRef(uint32_t colour);
// The same with the classic colours for 0x800000nn: the show looks the same on every scheme.
COLORREF classicColorRef(uint32_t colour);

// The font of a record on a screen of the given resolution, with Cyrillic letters. Fonts are made
// once and kept for the life of the program.
HFONT fontFor(const Font& font, int dotsPerInch = 96);

// Text measured with the fonts the labels draw with, at a screen resolution.
class GdiTextMeasure : public TextMeasure {
public:
    explicit GdiTextMeasure(int dotsPerInch)
        : m_dotsPerInch(dotsPerInch)
    {
    }
    int textWidth(const Font& font, const std::string& text) const override;
    int lineHeight(const Font& font) const override;
    int listFieldRoom(int dotsPerInch) const override;

private:
    int m_dotsPerInch;
};

} // namespace vortexa
