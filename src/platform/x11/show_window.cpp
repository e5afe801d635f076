#include "platform/x11/show_window.h"

#include <cstdlib>
#include <cstring>

#include <string>
#include <unistd.h>

namespace vortexa {

namespace {

constexpr uint32_t ShownEvents = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_KEY_PRESS
    | XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_FOCUS_CHANGE;

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
    , m_area(area)
{
    m_window = xcb_generate_id(connection);
    // No background: the server would fill the whole window black when it is mapped or exposed,
    // and the painter fills it black again at once before it draws.
    const uint32_t values[] = {XCB_BACK_PIXMAP_NONE, screen.black_pixel, ShownEvents};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, m_window, screen.root, static_cast<int16_t>(area.left),
        static_cast<int16_t>(area.top), static_cast<uint16_t>(area.width), static_cast<uint16_t>(area.height), 0,
        XCB_WINDOW_CLASS_INPUT_OUTPUT, screen.root_visual, XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK,
        values);

    // The atoms are asked for together: one wait for the server, not one each.
    enum { NetWmName, Utf8String, NetWmPid, MotifHints, FullScreen, Above, NetWmState, AtomCount };
    constexpr std::string_view AtomNames[AtomCount] = {"_NET_WM_NAME", "UTF8_STRING", "_NET_WM_PID", "_MOTIF_WM_HINTS",
        "_NET_WM_STATE_FULLSCREEN", "_NET_WM_STATE_ABOVE", "_NET_WM_STATE"};
    xcb_intern_atom_cookie_t cookies[AtomCount];
    for (int k = 0; k < AtomCount; ++k)
        cookies[k] = xcb_intern_atom(connection, 0, static_cast<uint16_t>(AtomNames[k].size()), AtomNames[k].data());
    xcb_atom_t atoms[AtomCount];
    for (int k = 0; k < AtomCount; ++k) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookies[k], nullptr);
        atoms[k] = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
        std::free(reply);
    }

    const std::string name(title);
    setProperty(
        connection, m_window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, static_cast<uint32_t>(name.size()), name.data());
    setProperty(
        connection, m_window, atoms[NetWmName], atoms[Utf8String], 8, static_cast<uint32_t>(name.size()), name.data());
    constexpr char ClassNames[] = "vortexa\0Vortexa";
    setProperty(connection, m_window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, sizeof ClassNames, ClassNames);
    // The process and machine that own the window, as window managers and tools look them up.
    const auto pid = static_cast<uint32_t>(getpid());
    setProperty(connection, m_window, atoms[NetWmPid], XCB_ATOM_CARDINAL, 32, 1, &pid);
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0)
        setProperty(connection, m_window, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, 8,
            static_cast<uint32_t>(std::strlen(host)), host);
    // No frame: the decorations field of the window manager's hints, and it alone, set to none.
    const uint32_t noFrame[5] = {2, 0, 0, 0, 0};
    setProperty(connection, m_window, atoms[MotifHints], atoms[MotifHints], 32, 5, noFrame);
    const xcb_atom_t states[] = {atoms[FullScreen], atoms[Above]};
    setProperty(connection, m_window, atoms[NetWmState], XCB_ATOM_ATOM, 32, 2, states);
    // A window manager places a window by its hints: this one asks for its monitor's corner.
    uint32_t sizeHints[18] = {};
    constexpr uint32_t UserPosition = 1, ProgramPosition = 4, ProgramSize = 8;
    sizeHints[0] = UserPosition | ProgramPosition | ProgramSize;
    sizeHints[1] = static_cast<uint32_t>(area.left);
    sizeHints[2] = static_cast<uint32_t>(area.top);
    sizeHints[3] = static_cast<uint32_t>(area.width);
    sizeHints[4] = static_cast<uint32_t>(area.height);
    setProperty(connection, m_window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32, 18, sizeHints);
    xcb_flush(connection);
}

ShowWindow::~ShowWindow()
{
    xcb_destroy_window(m_connection, m_window);
    xcb_flush(m_connection);
}

void ShowWindow::show()
{
    xcb_map_window(m_connection, m_window);
    // A window manager may have placed it elsewhere while it was hidden.
    const uint32_t place[] = {static_cast<uint32_t>(m_area.left), static_cast<uint32_t>(m_area.top),
        static_cast<uint32_t>(m_area.width), static_cast<uint32_t>(m_area.height), XCB_STACK_MODE_ABOVE};
    xcb_configure_window(m_connection, m_window,
        XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT
            | XCB_CONFIG_WINDOW_STACK_MODE,
        place);
    waitForTheServer();
}

void ShowWindow::hide() { xcb_unmap_window(m_connection, m_window); }

void ShowWindow::raise()
{
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(m_connection, m_window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    waitForTheServer();
}

// The dialog's toolkit has a connection of its own: a window shown or raised here must be in its
// place before the dialog's is, or the show would come over the dialog.
void ShowWindow::waitForTheServer()
{
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
}

void ShowWindow::setCursor(xcb_cursor_t cursor)
{
    xcb_change_window_attributes(m_connection, m_window, XCB_CW_CURSOR, &cursor);
}

} // namespace vortexa
