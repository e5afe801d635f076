#pragma once
// The saver screen's own pointer: two interlocking rings, red at the lower left and blue at the
// upper right, on a transparent picture. Each backend draws it from this one description with its
// own painter.

#include <cstdint>

#include "records/elements.h"

namespace vortexa {

struct PointerRing {
    int left = 0, top = 0, size = 0; // the ring's outer box, in pixels
    uint32_t colour = 0; // 0x00BBGGRR
};

struct RingsPointerPicture {
    int size = 32; // the picture is square
    int hotSpotX = 16, hotSpotY = 16;
    int penWidth = 3;
    // Drawn in this order: blue first, then red over it.
    PointerRing blue {11, 3, 18, rgb(0x10, 0x30, 0xE0)};
    PointerRing red {3, 11, 18, rgb(0xE0, 0x10, 0x10)};
    // The red ring passes over the blue one again at the lower right crossing, so the rings
    // interlock: this arc of the red ring, in degrees counter-clockwise from three o'clock, is
    // drawn last.
    int crossingArcStart = -30, crossingArcSpan = 40;
};

inline constexpr RingsPointerPicture RingsPointer;

} // namespace vortexa
