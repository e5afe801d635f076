#include <QImage>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "../core/running_program.h"
#include "platform/x11/x11_scene_painter.h"

namespace vortexa {
namespace {

constexpr int Width = 640, Height = 400;

const xcb_visualtype_t* trueColourVisual(const xcb_screen_t* screen, uint8_t depth)
{
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem; xcb_depth_next(&depths))
        if (depths.data->depth == depth)
            for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals))
                if (visuals.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR)
                    return visuals.data;
    return nullptr;
}

// A mapped window of a depth on a display of its own connection, the way another program makes one
// for the show; the scene is painted into it and read back as the server holds it.
class WindowOfDepth {
public:
    WindowOfDepth(const char* display, uint8_t depth)
    {
        m_connection = xcb_connect(display, nullptr);
        if (xcb_connection_has_error(m_connection))
            return;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        const xcb_visualtype_t* visual = trueColourVisual(screen, depth);
        if (!visual)
            return;
        const xcb_colormap_t colormap = xcb_generate_id(m_connection);
        xcb_create_colormap(m_connection, XCB_COLORMAP_ALLOC_NONE, colormap, screen->root, visual->visual_id);
        m_window = xcb_generate_id(m_connection);
        // A white background, half transparent where alpha exists: left-over pixels show.
        const uint32_t values[] = {0x80ffffff, 0, 1, colormap};
        xcb_create_window(m_connection, depth, m_window, screen->root, 0, 0, Width, Height, 0,
            XCB_WINDOW_CLASS_INPUT_OUTPUT, visual->visual_id,
            XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_COLORMAP, values);
        xcb_map_window(m_connection, m_window);
        std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }
    ~WindowOfDepth() { xcb_disconnect(m_connection); }

    bool made() const { return m_window != 0; }

    // Every pixel as 8-bit red, green and blue, with its alpha bits all set or not in the alpha byte.
    QImage paintAndRead(const SaverScreen& screen)
    {
        X11ScenePainter painter(m_connection, m_window, 1.0);
        painter.paint(&screen);
        const std::optional<PixelFormat> format = pixelFormatOf(m_connection, m_window);
        xcb_get_image_reply_t* reply = xcb_get_image_reply(m_connection,
            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_window, 0, 0, Width, Height, ~0u), nullptr);
        QImage image(Width, Height, QImage::Format_ARGB32);
        if (!reply || !format)
            return {};
        const uint8_t* data = xcb_get_image_data(reply);
        const size_t bytesPerPixel = static_cast<size_t>(format->bitsPerPixel) / 8;
        const size_t pad = static_cast<size_t>(format->scanlinePad);
        const size_t bytesPerRow = (Width * static_cast<size_t>(format->bitsPerPixel) + pad - 1) / pad * pad / 8;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                const uint8_t* bytes
                    = data + static_cast<size_t>(y) * bytesPerRow + static_cast<size_t>(x) * bytesPerPixel;
                uint32_t value = 0;
                for (size_t k = 0; k < bytesPerPixel; ++k)
                    value |= static_cast<uint32_t>(bytes[k])
                        << (8 * (format->mostSignificantFirst ? bytesPerPixel - 1 - k : k));
                const bool opaque = (value & format->alphaMask) == format->alphaMask;
                image.setPixel(x, y,
                    qRgba(channel(value, format->redMask), channel(value, format->greenMask),
                        channel(value, format->blueMask), opaque ? 255 : 0));
            }
        std::free(reply);
        return image;
    }

private:
    static int channel(uint32_t value, uint32_t mask)
    {
        const int shift = std::countr_zero(mask);
        const uint32_t most = mask >> shift;
        return static_cast<int>(((value & mask) >> shift) * 255 / most);
    }

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_window = 0;
};

// At other depths the window shows the scene the 24-bit window shows: each colour as near as the
// depth's bits allow, and opaque where the depth has alpha.
TEST(X11Painter, OtherDepthsShowTheSceneOfDepth24)
{
    const char* sixteenBitDisplay = std::getenv("VORTEXA_DISPLAY_DEPTH16");
    const struct {
        const char* name;
        const char* display;
        uint8_t depth;
        int tolerance; // one step of the depth's coarsest channel
    } rows[] = {
        {"depth 16", sixteenBitDisplay, 16, 8},
        {"depth 32, with alpha", nullptr, 32, 0},
    };
    StartOptions options;
    options.settingsFile = settingsText(20, 3, 5, 3, 3, 0); // dial, labels, borders, captives
    options.widthPixels = Width;
    options.heightPixels = Height;
    RunningProgram running(options);
    running.platform.advance(3000);
    WindowOfDepth reference(nullptr, 24);
    ASSERT_TRUE(reference.made());
    const QImage expected = reference.paintAndRead(running.screen());
    ASSERT_FALSE(expected.isNull());

    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.depth == 16 && !row.display) {
            std::printf("skipped \"%s\": VORTEXA_DISPLAY_DEPTH16 names no 16-bit X server\n", row.name);
            continue;
        }
        WindowOfDepth window(row.display, row.depth);
        ASSERT_TRUE(window.made()) << "no true-colour visual of depth " << int(row.depth);
        const QImage shown = window.paintAndRead(running.screen());
        ASSERT_FALSE(shown.isNull());
        int wrong = 0, transparent = 0, lit = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                const QRgb want = expected.pixel(x, y), got = shown.pixel(x, y);
                transparent += qAlpha(got) != 255 ? 1 : 0;
                lit += (want & 0xffffff) != 0 ? 1 : 0;
                wrong += std::abs(qRed(want) - qRed(got)) > row.tolerance
                        || std::abs(qGreen(want) - qGreen(got)) > row.tolerance
                        || std::abs(qBlue(want) - qBlue(got)) > row.tolerance
                    ? 1
                    : 0;
            }
        ASSERT_GT(lit, 1000);
        EXPECT_EQ(wrong, 0) << "pixels of another colour";
        EXPECT_EQ(transparent, 0) << "pixels that let what lies behind show";
    }
}

} // namespace
} // namespace vortexa
