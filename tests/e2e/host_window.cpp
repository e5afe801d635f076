// A window for the show to run in, as a screen-saver daemon gives one: made and shown at the size
// given, its id printed in hexadecimal, then resized or destroyed on the commands read from the
// standard input ("resize WIDTH HEIGHT", "destroy"). A third argument makes another kind of thing:
// "argb" a window of depth 32 with alpha, "inputonly" a window that shows nothing, "pixmap" a
// pixmap ("destroy" frees it). With "--keyboard-held" alone it only tells whether another program
// holds the keyboard: status 0 when one does, 1 when none does.

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

const xcb_visualtype_t* visualOfDepth(const xcb_screen_t* screen, uint8_t depth)
{
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem; xcb_depth_next(&depths))
        if (depths.data->depth == depth)
            for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals))
                if (visuals.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR)
                    return visuals.data;
    return nullptr;
}

// Tries to take the keyboard for a moment: another program that holds it makes the try fail.
int keyboardHeld()
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "host_window: no display\n");
        return 2;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_grab_keyboard_reply_t* grab = xcb_grab_keyboard_reply(connection,
        xcb_grab_keyboard(connection, 0, screen->root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr);
    const bool taken = grab && grab->status == XCB_GRAB_STATUS_SUCCESS;
    const bool heldByAnother = grab && grab->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
    std::free(grab);
    if (taken)
        xcb_ungrab_keyboard(connection, XCB_CURRENT_TIME);
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    xcb_disconnect(connection);
    return heldByAnother ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--keyboard-held")
        return keyboardHeld();
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT [argb|inputonly|pixmap]\n", argv[0]);
        return 2;
    }
    const std::string kind = argc == 4 ? argv[3] : "window";
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "host_window: no display\n");
        return 2;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    const auto width = static_cast<uint16_t>(std::atoi(argv[1]));
    const auto height = static_cast<uint16_t>(std::atoi(argv[2]));
    if (kind == "pixmap") {
        xcb_create_pixmap(connection, screen->root_depth, window, screen->root, width, height);
    } else if (kind == "inputonly") {
        xcb_create_window(connection, 0, window, screen->root, 0, 0, width, height, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
            XCB_COPY_FROM_PARENT, 0, nullptr);
    } else if (kind == "argb") {
        const xcb_visualtype_t* visual = visualOfDepth(screen, 32);
        if (!visual) {
            std::fprintf(stderr, "host_window: the screen has no visual of depth 32\n");
            return 3;
        }
        const xcb_colormap_t colormap = xcb_generate_id(connection);
        xcb_create_colormap(connection, XCB_COLORMAP_ALLOC_NONE, colormap, screen->root, visual->visual_id);
        // White, half transparent: a show that leaves pixels of it shows them.
        const uint32_t values[] = {0x80ffffff, 0, 1, colormap};
        xcb_create_window(connection, 32, window, screen->root, 0, 0, width, height, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
            visual->visual_id, XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_COLORMAP,
            values);
    } else {
        const uint32_t values[] = {screen->white_pixel, 1};
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, width, height, 0,
            XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    }
    if (kind != "pixmap")
        xcb_map_window(connection, window);
    xcb_flush(connection);
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    std::printf("0x%x\n", window);
    std::fflush(stdout);

    std::string command;
    while (std::cin >> command) {
        if (command == "resize") {
            uint32_t size[2] = {0, 0};
            std::cin >> size[0] >> size[1];
            xcb_configure_window(connection, window, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
        } else if (command == "destroy") {
            if (kind == "pixmap")
                xcb_free_pixmap(connection, window);
            else
                xcb_destroy_window(connection, window);
            xcb_flush(connection);
            break;
        }
        xcb_flush(connection);
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
        std::printf("done\n");
        std::fflush(stdout);
    }
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    xcb_disconnect(connection);
    return 0;
}
