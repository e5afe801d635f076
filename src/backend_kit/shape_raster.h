#pragma once
// Shapes and lines made into pictures without a toolkit: whole pixels, no smoothing, every pixel
// lit whose middle the element covers. Every painter that draws pictures of shapes and lines takes
// them from here, so that they all show the very same pixels.

#include <cstdint>
#include <vector>

#include "backend_kit/render_geometry.h"
#include "records/elements.h"

namespace vortexa {

// Pixels as 0xAARRGGBB with their colour multiplied by their alpha, row by row; 0 is clear.
struct RasterPicture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;

    RasterPicture() = default;
    RasterPicture(int pictureWidth, int pictureHeight);
    uint32_t at(int x, int y) const { return pixels[index(x, y)]; }
    uint32_t& at(int x, int y) { return pixels[index(x, y)]; }
    bool covered(int x, int y) const { return at(x, y) >> 24 != 0; }

private:
    size_t index(int x, int y) const
    {
        return static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
    }
};

// The device size of a picture of `logical` pixels at `scale` device pixels to each.
int deviceSize(int logical, double scale);

// A shape drawn at the corner of its own pixel box, `scale` device pixels to each of the box's:
// its background, its fill and its border, in that order.
RasterPicture rasteriseShape(const ShapeElement& shape, double scale = 1);

// A line with round ends in a picture that covers `area` (in the screen's pixels), at `scale`.
RasterPicture rasteriseLine(const LineElement& line, const PixelBox& area, double scale = 1);

// The pixels a line may light: the box of its two ends, with room for its width and its ends.
PixelBox lineBounds(const LineElement& line);

} // namespace vortexa
