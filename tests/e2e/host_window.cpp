// A window for the show to run in, as a screen-saver daemon gives one: made and shown at the size
// given, its id printed in hexadecimal, then resized or destroyed on the commands read from the
// standard input ("resize WIDTH HEIGHT", "destroy").

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "host_window: no display\n");
        return 2;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    const uint32_t values[] = {screen->white_pixel, 1};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0,
        static_cast<uint16_t>(std::atoi(argv[1])), static_cast<uint16_t>(std::atoi(argv[2])), 0,
        XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
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
