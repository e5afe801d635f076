#pragma once
// Paints a saver screen's records with GDI: shapes, lines and labels in their drawing order on
// black, one pixel for every 15 twips.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "scene/saver_screen.h"

namespace vortexa {

void paintShape(HDC dc, const ShapeElement& shape, const RECT& area);
void paintLabel(HDC dc, const LabelElement& label, const RECT& area);

// Paints the part `area` of the screen (in pixels).
void paintSaverScreen(HDC dc, const SaverScreen& screen, const RECT& area);

// A picture in memory: each pixel a colour 0x00BBGGRR, rows from the top.
struct Frame {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x]; }
};

// Runs a painting into a picture of the given size in pixels, black at first.
Frame renderFrame(int width, int height, const std::function<void(HDC)>& paint);
Frame renderSaverScreen(const SaverScreen& screen, int width, int height);

} // namespace vortexa
