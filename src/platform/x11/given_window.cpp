#include "platform/x11/given_window.h"

#include <cstdio>
#include <cstdlib>

#include "platform/x11/x11_platform.h"
#include "platform/x11/x11_scene_painter.h"
#include "saver/form1.h"
#include "state/program.h"

namespace vortexa {

std::optional<WindowSize> sizeOfWindow(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_get_geometry_reply_t* geometry
        = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (!geometry)
        return std::nullopt;
    const WindowSize size {geometry->width, geometry->height};
    std::free(geometry);
    return size;
}

namespace {

std::string hexadecimal(uint32_t id)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", id);
    return text;
}

std::string noWindow(xcb_window_t window)
{
    return "vortexa: there is no window " + hexadecimal(window) + " to show in";
}

} // namespace

std::string unusableColours(xcb_connection_t* connection, xcb_window_t window)
{
    if (pixelFormatOf(connection, window))
        return {};
    return "vortexa: the colours of window " + hexadecimal(window)
        + " come from a palette, which the show cannot draw in; it needs a screen of 15 bits a pixel or more";
}

TakenWindow takeWindow(xcb_connection_t* connection, xcb_window_t window)
{
    // A pixmap has a size too, so only the window's attributes tell a window.
    xcb_get_window_attributes_reply_t* attributes
        = xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr);
    if (!attributes)
        return {{}, noWindow(window)};
    const bool showsPixels = attributes->_class == XCB_WINDOW_CLASS_INPUT_OUTPUT;
    std::free(attributes);
    if (!showsPixels)
        return {{}, "vortexa: window " + hexadecimal(window) + " takes input only and cannot show the saver"};
    if (std::string colours = unusableColours(connection, window); !colours.empty())
        return {{}, std::move(colours)};
    // Its size, its end and its lost pixels are all the show needs to hear of the window. Once this
    // is selected its destruction is heard of, so a window gone before is caught here.
    const uint32_t events = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_EXPOSURE;
    xcb_generic_error_t* error = xcb_request_check(
        connection, xcb_change_window_attributes_checked(connection, window, XCB_CW_EVENT_MASK, &events));
    const auto size = error ? std::nullopt : sizeOfWindow(connection, window);
    std::free(error);
    if (!size)
        return {{}, noWindow(window)};
    return {*size, {}};
}

GivenWindowShow::GivenWindowShow(Program& program, X11Platform& platform, xcb_window_t window, WindowSize size)
    : m_program(program)
    , m_platform(platform)
    , m_window(window)
    , m_painter(platform)
{
    takeSize(size);
    m_afterEvent = m_platform.addAfterEvent([this](bool outermost) { afterEvent(outermost); });
}

GivenWindowShow::~GivenWindowShow() { m_platform.removeAfterEvent(m_afterEvent); }

void GivenWindowShow::takeSize(WindowSize size)
{
    m_size = size;
    m_platform.showInGivenWindow(size.width, size.height);
}

void GivenWindowShow::afterEvent(bool outermost)
{
    if (outermost)
        m_program.DiscardUnloaded();
    const auto& screens = m_program.screens();
    m_painter.setScreen(screens.empty() ? nullptr : &screens.back()->screen);
    // The first frame comes after the start-up, the program's first event, with the scene in it.
    if (!m_painter.started())
        m_painter.start(m_window, m_platform.scale(), m_platform.framesPerSecond());
    else
        m_painter.paintWhenDue();
}

void GivenWindowShow::handle(const xcb_generic_event_t& message)
{
    const auto* event = &message;
    switch (event->response_type & 0x7f) {
    case 0:
        // A window that goes wrong for the show's requests is as good as gone: drawing on would
        // only bring more errors.
        if (reinterpret_cast<const xcb_generic_error_t*>(event)->resource_id == m_window)
            m_platform.endProgram();
        break;
    case XCB_DESTROY_NOTIFY:
        if (reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == m_window)
            m_platform.endProgram();
        break;
    case XCB_CONFIGURE_NOTIFY: {
        const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
        if (configure->window != m_window || (configure->width == m_size.width && configure->height == m_size.height))
            break;
        takeSize({configure->width, configure->height});
        m_painter.start(m_window, m_platform.scale(), m_platform.framesPerSecond());
        m_platform.deliver([this] { m_program.ScreenResized(); });
        break;
    }
    case XCB_EXPOSE: {
        // The last of a series of exposed parts redraws the whole window once.
        const auto* expose = reinterpret_cast<const xcb_expose_event_t*>(event);
        if (expose->window == m_window && expose->count == 0)
            m_painter.start(m_window, m_platform.scale(), m_platform.framesPerSecond());
        break;
    }
    default:
        break;
    }
}

} // namespace vortexa
