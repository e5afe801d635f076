#pragma once
// Draws a saver screen's records into an X window with the X server's own requests, and only what
// changed: each element becomes a sprite (one-pixel lines over the pixels it covers in one colour,
// or for labels a picture and its one-bit mask), made once and cached; a frame erases every element
// that went or changed by drawing its own pixels in black, and draws again, clipped to each box where
// something changed and in drawing order, every element that meets it. A one-colour element that
// only moved, away from everything else, is moved by toggling its colour on both its places. The
// server keeps the window's pixels, so nothing is copied from the program.

#include <xcb/xcb.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "backend_kit/frame_changes.h"
#include "backend_kit/shape_raster.h"
#include "platform/x11/text_raster.h"
#include "scene/saver_screen.h"

namespace vortexa {

// How a window's pixels hold a colour: where red, green and blue sit, which bits are alpha, and how
// a picture's pixels are laid out for the server.
struct PixelFormat {
    uint8_t depth = 24;
    uint32_t redMask = 0xff0000, greenMask = 0xff00, blueMask = 0xff, alphaMask = 0;
    int bitsPerPixel = 32, scanlinePad = 32;
    bool mostSignificantFirst = false;
    // The pixel of an 8-bit-a-channel colour, opaque.
    uint32_t pixel(int red, int green, int blue) const;
};

// The pixel format of a window, or nothing when its colours are not red, green and blue bits of
// each pixel (a palette of 8-bit screens), which this painter cannot draw.
std::optional<PixelFormat> pixelFormatOf(xcb_connection_t* connection, xcb_window_t window);

class X11ScenePainter {
public:
    // Draws into `window` on `connection`; devicePixelRatio is the window's device pixels to the
    // screen's logical pixels (15 twips each).
    X11ScenePainter(xcb_connection_t* connection, xcb_window_t window, double devicePixelRatio);
    ~X11ScenePainter();
    X11ScenePainter(const X11ScenePainter&) = delete;
    X11ScenePainter& operator=(const X11ScenePainter&) = delete;

    // Brings the window up to date with the records; the first frame, and the first after
    // forgetWindow(), covers the whole window. Without its text, a frame leaves the labels out.
    enum class Text { Drawn, Left };
    void paint(const SaverScreen* screen, Text text = Text::Drawn);
    // The window's pixels are lost (exposed, resized) or its scale changed: the next frame draws
    // everything.
    void forgetWindow(double devicePixelRatio);
    // Sprites not drawn for FramesUnusedBeforeDropped frames go once more than SpritesCachedFreely
    // are cached.
    static constexpr size_t SpritesCachedFreely = 256;
    static constexpr uint64_t FramesUnusedBeforeDropped = 600;
    size_t cachedSprites() const { return m_sprites.size(); }

    struct Sprite;
    // An element where it is drawn: its sprite, at a place.
    struct DrawnElement {
        ElementRef element;
        std::shared_ptr<Sprite> sprite;
        int x = 0, y = 0; // device pixels
        uint32_t pixel = 0; // the colour of a one-colour sprite
        PixelBox reach;
        friend bool operator==(const DrawnElement& a, const DrawnElement& b)
        {
            return a.element == b.element && a.sprite == b.sprite && a.x == b.x && a.y == b.y && a.pixel == b.pixel;
        }
        // The same sprite in the same colour, at another place.
        friend bool movedOnly(const DrawnElement& before, const DrawnElement& now)
        {
            return before.element == now.element && before.sprite == now.sprite && before.pixel == now.pixel;
        }
        friend bool pixelsMeet(const DrawnElement& one, const DrawnElement& other);
    };

private:
    // Where a label's text goes, in the screen's logical pixels: where its pen starts, its extent,
    // and the pixels the label may paint (its box, and its text where that runs past the box).
    struct LabelText {
        double penX = 0;
        TextExtent extent;
        PixelBox reach;
    };
    LabelText layOut(const LabelElement& label, const PixelBox& box);

    std::vector<DrawnElement> drawnElements(const SaverScreen& screen, Text text);
    void add(std::vector<DrawnElement>& drawn, ElementRef element, const ShapeElement& shape);
    void add(std::vector<DrawnElement>& drawn, ElementRef element, const LineElement& line);
    void add(std::vector<DrawnElement>& drawn, ElementRef element, const LabelElement& label);
    DrawnElement drawnSprite(ElementRef element, std::shared_ptr<Sprite> sprite, int x, int y, uint32_t pixel) const;
    // The sprite of `key`, made by `render` the first time: a picture whose covered pixels the
    // element covers. A one-colour sprite keeps only the lines that cover its pixels and takes its
    // colour when drawn.
    template <typename Render>
    std::shared_ptr<Sprite> spriteFor(const std::string& key, bool oneColour, const Render& render);
    std::shared_ptr<Sprite> newSprite(const std::string& key, bool oneColour, const RasterPicture& image);
    void draw(const DrawnElement& drawn, const PixelBox& box);
    void drawInColour(const DrawnElement& drawn, uint32_t pixel, const PixelBox& box);
    void erase(const DrawnElement& drawn);
    static void appendLinesWhereDrawn(const DrawnElement& drawn, std::vector<xcb_segment_t>& lines);
    void drawLines(uint32_t pixel, const PixelBox& clip, const std::vector<xcb_segment_t>& lines);
    void fillBlack(const PixelBox& box);
    void dropUnusedSprites();

    xcb_connection_t* m_connection;
    xcb_window_t m_window;
    double m_ratio;
    PixelFormat m_format;
    uint32_t m_black = 0;
    xcb_gcontext_t m_plainGc = 0;
    xcb_gcontext_t m_lineGc = 0; // draws a one-colour sprite's lines
    bool m_lineGcSet = false;
    uint32_t m_linePixel = 0; // the line GC's colour and clip, once set
    PixelBox m_lineClip;
    FrameChanges<DrawnElement> m_changes;
    std::unordered_map<std::string, std::shared_ptr<Sprite>> m_sprites;
    std::vector<xcb_segment_t> m_lines; // the lines of the request being made
    std::vector<xcb_segment_t> m_erased; // the frame's black lines
    uint64_t m_frame = 0;
    TextRaster m_text;
};

} // namespace vortexa
