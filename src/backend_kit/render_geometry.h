#pragma once
// Where an element's pixels lie on a device: the one rule of twips to pixels, the pixel box of an
// element, and the outline of a shape inside its box. Every painter and both dialogs take their
// places from here.

#include <algorithm>
#include <cmath>

#include "records/elements.h"

namespace vortexa {

// Twips to whole device pixels, to the nearest.
inline int toPixels(float twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel)); }
// The dialog is designed at 96 dots to the inch, where 15 twips make a pixel; on a denser screen
// it grows with the screen's resolution.
constexpr int TwipsPerInch = 1440;
constexpr int DesignDotsPerInch = 96;
inline int toPixelsAt(float twips, int dotsPerInch)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) * dotsPerInch / TwipsPerInch));
}

// Pixels back to twips, for a place the user gave in pixels.
constexpr float toTwips(int pixels) { return static_cast<float>(pixels * TwipsPerPixel); }

struct PixelBox {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool empty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

// A box in fractions of a pixel: the path a border's centre line follows.
struct OutlineBox {
    double left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const OutlineBox&, const OutlineBox&) = default;
};

// Each corner and side is rounded on its own, so that an element's width in pixels does not
// depend on where it stands.
inline PixelBox pixelBox(float left, float top, float width, float height)
{
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

// The pixel box of any element with Left, Top, Width and Height, inside a container whose corner
// lies at (containerLeft, containerTop) twips.
template <typename Element> PixelBox pixelBoxOf(const Element& element, float containerLeft = 0, float containerTop = 0)
{
    return pixelBox(containerLeft + element.Left, containerTop + element.Top, element.Width, element.Height);
}

inline PixelBox pixelBoxAt(float left, float top, float width, float height, int dotsPerInch)
{
    return {toPixelsAt(left, dotsPerInch), toPixelsAt(top, dotsPerInch), toPixelsAt(width, dotsPerInch),
        toPixelsAt(height, dotsPerInch)};
}

// The box a shape fills: a circle, a square and a rounded square take the shorter side of their
// box as their size, centred in the box; the other shapes fill the box.
inline OutlineBox shapeBox(const ShapeElement& shape, const PixelBox& box)
{
    OutlineBox outline {double(box.left), double(box.top), double(box.width), double(box.height)};
    if (shape.Shape == ShapeCircle || shape.Shape == ShapeSquare || shape.Shape == ShapeRoundedSquare) {
        const double diameter = std::min(outline.width, outline.height);
        outline.left += (outline.width - diameter) / 2;
        outline.top += (outline.height - diameter) / 2;
        outline.width = outline.height = diameter;
    }
    return outline;
}

// The width of the pen that draws a shape's border: a border of no width still takes a pixel for
// its path, though it draws nothing.
constexpr int borderPenWidth(int borderWidth) { return std::max(borderWidth, 1); }

// How far a line's pixels may reach past the box of its two ends: its round caps reach half its
// width, so its whole width and a pixel leave room for the rounding of its ends.
constexpr int lineReach(int borderWidth) { return borderWidth + 1; }

// The path of the border's centre line: the border lies inside the shape's box. A border wider
// than the shape fills it rather than turning it inside out.
inline OutlineBox borderCentreLine(const ShapeElement& shape, const PixelBox& box)
{
    const OutlineBox outline = shapeBox(shape, box);
    const double inset = std::min(borderPenWidth(shape.BorderWidth) / 2.0, std::min(outline.width, outline.height) / 2);
    return {outline.left + inset, outline.top + inset, outline.width - 2 * inset, outline.height - 2 * inset};
}

// The corner of a rounded rectangle has a radius of this share of its shorter side.
constexpr double RoundedCornerShare = 1.0 / 8;

} // namespace vortexa
