#pragma once
// How the program's colour numbers and font records look on Windows: the system colours of the
// user's scheme or the classic ones, and the installed fonts for the ones the program names.

#include <windows.h>

#include <cstdint>

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

} // namespace vortexa
