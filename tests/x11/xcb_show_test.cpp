#include <gtest/gtest.h>
#include <xcb/xfixes.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "backend_kit/rings_pointer.h"
#include "scene/saver_screen.h"

#include "platform/x11/input_grab.h"
#include "platform/x11/keyboard.h"
#include "platform/x11/monitors.h"
#include "platform/x11/pointer_shapes.h"
#include "platform/x11/screen_scale.h"
#include "platform/x11/show_window.h"

namespace vortexa {
namespace {

// Xft.dpi read as the resource database holds it: the last line of the name wins, other names and
// broken values are not taken for it.
TEST(ScreenScale, ComesFromTheXftDpiResource)
{
    const struct {
        const char* resources;
        std::optional<double> dpi;
        double scale;
    } cases[] = {
        {"", std::nullopt, 1},
        {"Xft.dpi:\t96\n", 96, 1},
        {"Xft.antialias:\t1\nXft.dpi:\t144\nXft.hintstyle:\thintslight\n", 144, 1.5},
        {"Xft.dpi:  192  \r\n", 192, 2},
        {"Xft.dpi:\t120\nXft.dpi:\t192\n", 192, 2},
        {"Xft.dpix:\t192\n*dpi:\t192\n", std::nullopt, 1},
        {"Xft.dpi:\tlarge\n", std::nullopt, 1},
        {"Xft.dpi:\t0\n", std::nullopt, 1},
        {"Xft.dpi:\t-96\n", std::nullopt, 1},
        {"Xft.dpi\n", std::nullopt, 1},
        {"Xft.dpi:\t144", 144, 1.5},
    };
    for (const auto& example : cases) {
        EXPECT_EQ(resourceDpi(example.resources), example.dpi) << example.resources;
        EXPECT_DOUBLE_EQ(scaleOfDpi(resourceDpi(example.resources)), example.scale) << example.resources;
    }
}

class Display {
public:
    Display()
        : connection(xcb_connect(nullptr, nullptr))
    {
    }
    ~Display() { xcb_disconnect(connection); }
    bool open() const { return xcb_connection_has_error(connection) == 0; }
    const xcb_screen_t& screen() const { return *xcb_setup_roots_iterator(xcb_get_setup(connection)).data; }
    void sync() const { std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr)); }

    std::vector<uint32_t> property(xcb_window_t window, std::string_view name) const
    {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(connection,
            xcb_get_property(connection, 0, window, atomNamed(connection, name), XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
            nullptr);
        std::vector<uint32_t> values;
        if (reply && reply->format == 32) {
            const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
            values.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        std::free(reply);
        return values;
    }

    xcb_connection_t* connection;
};

// The screen's scale follows the resource a desktop sets on the root window.
TEST(ScreenScale, IsReadFromTheRootWindow)
{
    Display display;
    ASSERT_TRUE(display.open());
    const xcb_window_t root = display.screen().root;
    const std::string resources = "Xft.antialias:\t1\nXft.dpi:\t144\n";
    xcb_change_property(display.connection, XCB_PROP_MODE_REPLACE, root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 8,
        static_cast<uint32_t>(resources.size()), resources.data());
    display.sync();
    EXPECT_DOUBLE_EQ(screenScale(display.connection, root), 1.5);
    xcb_delete_property(display.connection, root, XCB_ATOM_RESOURCE_MANAGER);
    display.sync();
    EXPECT_DOUBLE_EQ(screenScale(display.connection, root), 1.0);
}

// A show window covers its monitor once shown, black, frameless, above the others and asking for the
// full screen, with the pointer it is given (the saver screen's rings: red and blue, the rest
// clear); it is gone when it is dropped.
TEST(ShowWindow, CoversItsMonitorAndAsksForTheFullScreen)
{
    Display display;
    ASSERT_TRUE(display.open());
    xcb_window_t id = 0;
    {
        PointerShapes pointers(display.connection);
        ShowWindow window(display.connection, display.screen(), {40, 30, 320, 200}, "Vortexa");
        window.setCursor(pointers.cursorFor(PointerCustom, display.screen().root));
        window.show();
        id = window.id();
        display.sync();
        xcb_get_geometry_reply_t* geometry
            = xcb_get_geometry_reply(display.connection, xcb_get_geometry(display.connection, id), nullptr);
        ASSERT_NE(geometry, nullptr);
        EXPECT_EQ(geometry->x, 40);
        EXPECT_EQ(geometry->y, 30);
        EXPECT_EQ(geometry->width, 320);
        EXPECT_EQ(geometry->height, 200);
        std::free(geometry);
        xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
            display.connection, xcb_get_window_attributes(display.connection, id), nullptr);
        ASSERT_NE(attributes, nullptr);
        EXPECT_EQ(attributes->map_state, XCB_MAP_STATE_VIEWABLE);
        EXPECT_TRUE(attributes->your_event_mask & XCB_EVENT_MASK_KEY_PRESS);
        EXPECT_TRUE(attributes->your_event_mask & XCB_EVENT_MASK_POINTER_MOTION);
        std::free(attributes);

        const std::vector<uint32_t> states = display.property(id, "_NET_WM_STATE");
        EXPECT_EQ(states,
            (std::vector<uint32_t> {atomNamed(display.connection, "_NET_WM_STATE_FULLSCREEN"),
                atomNamed(display.connection, "_NET_WM_STATE_ABOVE")}));
        const std::vector<uint32_t> hints = display.property(id, "_MOTIF_WM_HINTS");
        ASSERT_EQ(hints.size(), 5u);
        EXPECT_EQ(hints[0], 2u);
        EXPECT_EQ(hints[2], 0u);
        EXPECT_EQ(display.property(id, "_NET_WM_PID"), std::vector<uint32_t> {static_cast<uint32_t>(getpid())});

        xcb_warp_pointer(display.connection, XCB_NONE, id, 0, 0, 0, 0, 100, 100);
        std::free(xcb_xfixes_query_version_reply(
            display.connection, xcb_xfixes_query_version(display.connection, 4, 0), nullptr));
        xcb_xfixes_get_cursor_image_reply_t* cursor = xcb_xfixes_get_cursor_image_reply(
            display.connection, xcb_xfixes_get_cursor_image(display.connection), nullptr);
        ASSERT_NE(cursor, nullptr);
        const uint32_t* cursorPixels = xcb_xfixes_get_cursor_image_cursor_image(cursor);
        ASSERT_EQ(cursor->width, RingsPointer.size);
        const auto at = [&](int x, int y) { return cursorPixels[y * cursor->width + x]; };
        EXPECT_EQ(at(0, 0) >> 24, 0u);
        const auto strongest = [](uint32_t argb, int shift) { return (argb >> shift & 0xff) > 0xc0; };
        EXPECT_TRUE(strongest(at(RingsPointer.red.left + 1, 20), 16)) << std::hex << at(RingsPointer.red.left + 1, 20);
        EXPECT_TRUE(strongest(at(RingsPointer.blue.left + RingsPointer.blue.size - 2, 12), 0));
        std::free(cursor);

        xcb_get_image_reply_t* image = xcb_get_image_reply(display.connection,
            xcb_get_image(display.connection, XCB_IMAGE_FORMAT_Z_PIXMAP, id, 10, 10, 1, 1, ~0u), nullptr);
        ASSERT_NE(image, nullptr);
        uint32_t pixel = 0;
        std::memcpy(&pixel, xcb_get_image_data(image), sizeof pixel);
        EXPECT_EQ(pixel & 0xffffff, display.screen().black_pixel & 0xffffff);
        std::free(image);
    }
    display.sync();
    xcb_get_geometry_reply_t* gone
        = xcb_get_geometry_reply(display.connection, xcb_get_geometry(display.connection, id), nullptr);
    EXPECT_EQ(gone, nullptr);
    std::free(gone);
}

// A server of one screen without RandR monitors of its own has that screen as its one monitor, the
// primary; a second connection to a screen that is not the default keeps the primary on it.
TEST(Monitors, AreTheScreensWhereRandrNamesNone)
{
    Display display;
    ASSERT_TRUE(display.open());
    const xcb_screen_t& screen = display.screen();
    const Monitor whole {0, {0, 0, screen.width_in_pixels, screen.height_in_pixels}, true};
    EXPECT_EQ(monitorsOf(display.connection, 0), std::vector<Monitor> {whole});
    // A default screen the server lacks leaves the primary on the first monitor.
    EXPECT_EQ(monitorsOf(display.connection, 3), std::vector<Monitor> {whole});
}

// Runs a command of the X utilities on the test's display; true when it succeeded.
bool run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// Takes in the server's events until `holds` is true, for at most five seconds.
template <typename Condition> bool followUntil(const Display& display, Keyboard& keyboard, Condition holds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!holds()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(display.connection)) {
            keyboard.follow(event);
            std::free(event);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// A key types what the layout in force says, with the modifiers held: a Latin letter in a US layout,
// a Cyrillic one once the layout is Russian, its capital with Shift; keys that type nothing give no
// text, and digits stay digits.
TEST(Keyboard, TypesWhatTheLayoutInForceSays)
{
    ASSERT_TRUE(run("setxkbmap -layout us"));
    Display display;
    ASSERT_TRUE(display.open());
    Keyboard keyboard(display.connection);
    ASSERT_TRUE(keyboard.ready());
    constexpr xcb_keycode_t KeyA = 38, KeyOne = 10, LeftShift = 50, KeyLeft = 113;
    EXPECT_EQ(keyboard.textOf(KeyA), "a");
    EXPECT_EQ(keyboard.textOf(KeyOne), "1");
    EXPECT_EQ(keyboard.textOf(LeftShift), "");
    EXPECT_EQ(keyboard.textOf(KeyLeft), "");

    ASSERT_TRUE(run("setxkbmap -layout ru"));
    EXPECT_TRUE(followUntil(display, keyboard, [&] { return keyboard.textOf(KeyA) == "ф"; })) << keyboard.textOf(KeyA);
    EXPECT_EQ(keyboard.textOf(KeyOne), "1");
    ASSERT_TRUE(run("xdotool keydown Shift_L"));
    EXPECT_TRUE(followUntil(display, keyboard, [&] { return keyboard.textOf(KeyA) == "Ф"; })) << keyboard.textOf(KeyA);
    ASSERT_TRUE(run("xdotool keyup Shift_L"));
    EXPECT_TRUE(followUntil(display, keyboard, [&] { return keyboard.textOf(KeyA) == "ф"; }));
    ASSERT_TRUE(run("setxkbmap -layout us"));
    EXPECT_TRUE(followUntil(display, keyboard, [&] { return keyboard.textOf(KeyA) == "a"; }));
}

// Another client holds the keyboard when the show wants it: the show's grab is refused, tried again
// every little while, and taken once the other lets go; while the other keeps it, the show gives up
// after its tries.
TEST(InputGrab, ARefusedGrabIsTriedAgainAndTakenOnceTheOtherClientLetsGo)
{
    for (const bool otherLetsGo : {true, false}) {
        xcb_connection_t* other = xcb_connect(nullptr, nullptr);
        ASSERT_EQ(xcb_connection_has_error(other), 0);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
        xcb_grab_keyboard_reply_t* otherGrab = xcb_grab_keyboard_reply(other,
            xcb_grab_keyboard(other, 1, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC), nullptr);
        ASSERT_TRUE(otherGrab && otherGrab->status == XCB_GRAB_STATUS_SUCCESS);
        std::free(otherGrab);

        Display display;
        ASSERT_TRUE(display.open());
        ShowWindow window(display.connection, display.screen(), {0, 0, 320, 200}, "Vortexa");
        window.show();
        display.sync();
        InputGrab grab(display.connection);
        grab.holdIn(window.id());
        EXPECT_FALSE(grab.held());
        EXPECT_EQ(grab.triesLeft(), InputGrab::Tries - 1);
        if (otherLetsGo) {
            xcb_ungrab_keyboard(other, XCB_CURRENT_TIME);
            xcb_flush(other);
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!grab.held() && grab.triesLeft() > 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            grab.holdIn(window.id());
        }
        EXPECT_EQ(grab.held(), otherLetsGo);
        if (!otherLetsGo) {
            EXPECT_EQ(grab.triesLeft(), 0);
            xcb_ungrab_keyboard(other, XCB_CURRENT_TIME);
            xcb_flush(other);
            // That no try comes can only be seen after the time one would have come.
            std::this_thread::sleep_for(std::chrono::milliseconds(InputGrab::BetweenTriesMs * 2));
            grab.holdIn(window.id());
            EXPECT_FALSE(grab.held()) << "tried again after giving up";
        }
        grab.holdIn(0);
        xcb_disconnect(other);
    }
}

} // namespace
} // namespace vortexa
