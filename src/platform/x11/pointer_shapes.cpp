#include "platform/x11/pointer_shapes.h"

#include <xcb/render.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "backend_kit/rings_pointer.h"
#include "scene/saver_screen.h"

namespace vortexa {

namespace {

// Glyphs of the server's cursor font.
constexpr uint16_t ArrowGlyph = 68;
constexpr uint16_t CrossHairGlyph = 34;

// How much of the pixel (x, y) a ring covers, sampled at 4 x 4 points.
double ringCover(const PointerRing& ring, int penWidth, int x, int y)
{
    constexpr int Samples = 4;
    const double centreX = ring.left + ring.size / 2.0, centreY = ring.top + ring.size / 2.0;
    const double middle = (ring.size - penWidth) / 2.0;
    int inside = 0;
    for (int sy = 0; sy < Samples; ++sy)
        for (int sx = 0; sx < Samples; ++sx) {
            const double px = x + (sx + 0.5) / Samples - centreX, py = y + (sy + 0.5) / Samples - centreY;
            inside += std::abs(std::hypot(px, py) - middle) <= penWidth / 2.0 ? 1 : 0;
        }
    return static_cast<double>(inside) / (Samples * Samples);
}

uint32_t over(uint32_t colour, double cover, uint32_t under)
{
    const auto channel = [&](int shift) {
        const double top = ((colour >> shift) & 0xff) * cover;
        const double below = ((under >> shift) & 0xff) * (1 - cover);
        return static_cast<uint32_t>(std::lround(top + below)) << shift;
    };
    const uint32_t alpha = static_cast<uint32_t>(std::lround(255 * cover + (under >> 24) * (1 - cover)));
    return alpha << 24 | channel(16) | channel(8) | channel(0);
}

// 0x00BBGGRR as opaque 0xFFRRGGBB.
uint32_t argbOf(uint32_t colour)
{
    return 0xff000000u | (colour & 0xff) << 16 | (colour & 0xff00) | (colour >> 16 & 0xff);
}

} // namespace

std::vector<uint32_t> ringsPointerPixels()
{
    const RingsPointerPicture& rings = RingsPointer;
    std::vector<uint32_t> pixels(static_cast<size_t>(rings.size * rings.size), 0);
    for (const PointerRing* ring : {&rings.blue, &rings.red})
        for (int y = 0; y < rings.size; ++y)
            for (int x = 0; x < rings.size; ++x) {
                uint32_t& pixel = pixels[static_cast<size_t>(y * rings.size + x)];
                pixel = over(argbOf(ring->colour), ringCover(*ring, rings.penWidth, x, y), pixel);
            }
    return pixels;
}

PointerShapes::PointerShapes(xcb_connection_t* connection)
    : m_connection(connection)
{
}

PointerShapes::~PointerShapes()
{
    for (const auto& [style, cursor] : m_cursors)
        xcb_free_cursor(m_connection, cursor);
    if (m_font)
        xcb_close_font(m_connection, m_font);
}

xcb_cursor_t PointerShapes::cursorFor(int style, xcb_window_t root)
{
    auto& cursor = m_cursors[style];
    if (cursor)
        return cursor;
    if (style == PointerCustom)
        cursor = ringsCursor(root);
    if (!cursor)
        cursor = fontCursor(style == PointerDefault ? ArrowGlyph : CrossHairGlyph);
    return cursor;
}

xcb_cursor_t PointerShapes::fontCursor(uint16_t glyph)
{
    if (!m_font) {
        m_font = xcb_generate_id(m_connection);
        xcb_open_font(m_connection, m_font, 6, "cursor");
    }
    const xcb_cursor_t cursor = xcb_generate_id(m_connection);
    xcb_create_glyph_cursor(
        m_connection, cursor, m_font, m_font, glyph, static_cast<uint16_t>(glyph + 1), 0, 0, 0, 0xffff, 0xffff, 0xffff);
    return cursor;
}

// The rings as a cursor of 32-bit pixels with alpha, through the RENDER extension; 0 without it.
xcb_cursor_t PointerShapes::ringsCursor(xcb_window_t root)
{
    const xcb_query_extension_reply_t* render = xcb_get_extension_data(m_connection, &xcb_render_id);
    if (!render || !render->present)
        return 0;
    std::free(xcb_render_query_version_reply(m_connection, xcb_render_query_version(m_connection, 0, 11), nullptr));
    xcb_render_query_pict_formats_reply_t* formats
        = xcb_render_query_pict_formats_reply(m_connection, xcb_render_query_pict_formats(m_connection), nullptr);
    if (!formats)
        return 0;
    xcb_render_pictformat_t argb = 0;
    for (auto it = xcb_render_query_pict_formats_formats_iterator(formats); it.rem; xcb_render_pictforminfo_next(&it))
        if (it.data->depth == 32 && it.data->type == XCB_RENDER_PICT_TYPE_DIRECT && it.data->direct.alpha_mask == 0xff
            && it.data->direct.alpha_shift == 24 && it.data->direct.red_shift == 16 && it.data->direct.green_shift == 8
            && it.data->direct.blue_shift == 0)
            argb = it.data->id;
    std::free(formats);
    if (!argb)
        return 0;
    const RingsPointerPicture& rings = RingsPointer;
    const auto size = static_cast<uint16_t>(rings.size);
    std::vector<uint32_t> pixels = ringsPointerPixels();
    const bool serverMostFirst = xcb_get_setup(m_connection)->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    if (serverMostFirst != (std::endian::native == std::endian::big))
        std::transform(pixels.begin(), pixels.end(), pixels.begin(), [](uint32_t pixel) {
            return (pixel >> 24) | (pixel >> 8 & 0xff00) | (pixel << 8 & 0xff0000) | (pixel << 24);
        });
    const xcb_pixmap_t pixmap = xcb_generate_id(m_connection);
    xcb_create_pixmap(m_connection, 32, pixmap, root, size, size);
    const xcb_gcontext_t gc = xcb_generate_id(m_connection);
    xcb_create_gc(m_connection, gc, pixmap, 0, nullptr);
    xcb_put_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, size, size, 0, 0, 0, 32,
        static_cast<uint32_t>(pixels.size() * sizeof(uint32_t)), reinterpret_cast<const uint8_t*>(pixels.data()));
    const xcb_render_picture_t picture = xcb_generate_id(m_connection);
    xcb_render_create_picture(m_connection, picture, pixmap, argb, 0, nullptr);
    const xcb_cursor_t cursor = xcb_generate_id(m_connection);
    xcb_render_create_cursor(
        m_connection, cursor, picture, static_cast<uint16_t>(rings.hotSpotX), static_cast<uint16_t>(rings.hotSpotY));
    xcb_render_free_picture(m_connection, picture);
    xcb_free_gc(m_connection, gc);
    xcb_free_pixmap(m_connection, pixmap);
    return cursor;
}

} // namespace vortexa
