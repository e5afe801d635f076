#pragma once
// Paints a saver screen's records with GDI: shapes, lines and labels in their drawing order on
// black, one pixel for every 15 twips. The show paints only what changed since its last frame;
// pens and brushes are made once and kept.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <variant>
#include <vector>

#include "backend_kit/frame_changes.h"
#include "records/drawing_order.h"
#include "scene/saver_screen.h"

namespace vortexa {

// One element in the colours of the user's scheme, where it meets `area` (in pixels): the dialog's
// pictures.
void paintShape(HDC dc, const ShapeElement& shape, const RECT& area);
void paintLabel(HDC dc, const LabelElement& label, const RECT& area);

// Paints the part `area` of the show (in pixels) whole, in the classic colours.
void paintSaverScreen(HDC dc, const SaverScreen& screen, const RECT& area);

// Keeps a window up to date with a screen's records, drawing on its device context only the boxes
// that changed since the last frame, each box painted black and then every element that meets it,
// in drawing order.
class GdiScenePainter {
public:
    // Draws one frame; the first, and the first after forgetWindow(), covers `whole`.
    void paint(HDC dc, const SaverScreen* screen, const RECT& whole);
    // The window's pixels are lost: the next frame draws everything.
    void forgetWindow() { m_changes.forgetWindow(); }
    // Also draws this box in the next frame (a part of the window the system asked to repaint).
    void repaintBox(const RECT& box);

    // An element as a frame drew it, with every pixel it may set.
    struct DrawnElement {
        ElementRef element;
        std::variant<ShapeElement, LineElement, LabelElement> record;
        PixelBox reach;
        friend bool operator==(const DrawnElement& a, const DrawnElement& b)
        {
            return a.element == b.element && a.record == b.record;
        }
    };

private:
    FrameChanges<DrawnElement> m_changes;
};

// A picture in memory: each pixel a colour 0x00BBGGRR, rows from the top.
struct PixelPicture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x]; }
};

// A 32-bit bitmap in memory with a device context to paint on, black at first.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC dc() const { return m_dc; }
    PixelPicture picture() const;

private:
    int m_width, m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_earlier = nullptr;
    void* m_bits = nullptr;
};

// Runs a painting into a picture of the given size in pixels, black at first.
PixelPicture renderPicture(int width, int height, const std::function<void(HDC)>& paint);
PixelPicture renderSaverScreen(const SaverScreen& screen, int width, int height);

} // namespace vortexa
