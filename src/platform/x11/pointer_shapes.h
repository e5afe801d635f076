#pragma once
// The pointers a saver screen shows, as X cursors: the system's arrow and cross-hair from the
// server's cursor font, and the screen's own rings as a picture with an alpha channel where the
// server can show one (else the cross-hair). Each is made once, the first time it is asked for.

#include <xcb/xcb.h>

#include <cstdint>
#include <map>
#include <vector>

namespace vortexa {

// The rings pointer's picture, row by row, in premultiplied 0xAARRGGBB, its edges smoothed.
std::vector<uint32_t> ringsPointerPixels();

class PointerShapes {
public:
    explicit PointerShapes(xcb_connection_t* connection);
    ~PointerShapes();
    PointerShapes(const PointerShapes&) = delete;
    PointerShapes& operator=(const PointerShapes&) = delete;

    // The cursor of a MousePointer style.
    xcb_cursor_t cursorFor(int style, xcb_window_t root);

private:
    xcb_cursor_t fontCursor(uint16_t glyph);
    xcb_cursor_t ringsCursor(xcb_window_t root);

    xcb_connection_t* m_connection;
    xcb_font_t m_font = 0;
    std::map<int, xcb_cursor_t> m_cursors;
};

} // namespace vortexa
