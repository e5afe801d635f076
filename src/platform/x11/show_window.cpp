#include "platform/x11/show_window.h"

#include <cstdlib>
#include <string>

namespace vortexa {

namespace {

constexpr uint32_t ShownEvents = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_KEY_PRESS
    | XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_FOCUS_CHANGE;

// A cursor of no pixels: a one-pixel cursor whose mask is empty.
xcb_cursor_t hiddenCursor(xcb_connection_t* connection, xcb_window_t root)
{
    const xcb_pixmap_t empty = xcb_generate_id(connection);
    xcb_create_pixmap(connection, 1, empty, root, 1, 1);
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    const uint32_t zero = 0;
    xcb_create_gc(connection, gc, empty, XCB_GC_FOREGROUND, &zero);
    const xcb_rectangle_t pixel = {0, 0, 1, 1};
    xcb_poly_fill_rectangle(connection, empty, gc, 1, &pixel);
    xcb_free_gc(connection, gc);
    const xcb_cursor_t cursor = xcb_generate_id(connection);
    xcb_create_cursor(connection, cursor, empty, empty, 0, 0, 0, 0, 0, 0, 0, 0);
    xcb_free_pixmap(connection, empty);
    return cursor;
}

void setProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
    uint8_t format, uint32_t count, const void* data)
{
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, type, format, count, data);
}

} // namespace

xcb_atom_t atomNamed(xcb_connection_t* connection, std::string_view name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.data()), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

ShowWindow::ShowWindow(
    xcb_connection_t* connection, const xcb_screen_t& screen, MonitorArea area, std::string_view title)
    : m_connection(connection)
{
    m_hiddenCursor = hiddenCursor(connection, screen.root);
    m_window = xcb_generate_id(connection);
    const uint32_t values[] = {screen.black_pixel, screen.black_pixel, ShownEvents, m_hiddenCursor};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, m_window, screen.root, static_cast<int16_t>(area.x),
        static_cast<int16_t>(area.y), static_cast<uint16_t>(area.width), static_cast<uint16_t>(area.height), 0,
        XCB_WINDOW_CLASS_INPUT_OUTPUT, screen.root_visual,
        XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_CURSOR, values);

    const std::string name(title);
    setProperty(
        connection, m_window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, static_cast<uint32_t>(name.size()), name.data());
    setProperty(connection, m_window, atomNamed(connection, "_NET_WM_NAME"), atomNamed(connection, "UTF8_STRING"), 8,
        static_cast<uint32_t>(name.size()), name.data());
    constexpr char ClassNames[] = "vortexa\0Vortexa";
    setProperty(connection, m_window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, sizeof ClassNames, ClassNames);
    // No frame: the decorations field of the window manager's hints, and it alone, set to none.
    const uint32_t noFrame[5] = {2, 0, 0, 0, 0};
    const xcb_atom_t hints = atomNamed(connection, "_MOTIF_WM_HINTS");
    setProperty(connection, m_window, hints, hints, 32, 5, noFrame);
    const xcb_atom_t states[]
        = {atomNamed(connection, "_NET_WM_STATE_FULLSCREEN"), atomNamed(connection, "_NET_WM_STATE_ABOVE")};
    setProperty(connection, m_window, atomNamed(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 2, states);
    xcb_map_window(connection, m_window);
    xcb_flush(connection);
}

ShowWindow::~ShowWindow()
{
    xcb_destroy_window(m_connection, m_window);
    xcb_free_cursor(m_connection, m_hiddenCursor);
    xcb_flush(m_connection);
}

} // namespace vortexa
