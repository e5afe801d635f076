#include "platform/x11/saver_windows.h"

#include <xcb/randr.h>

#include <algorithm>
#include <cstdlib>

#include "dialog/form2.h"
#include "platform/x11/x11_platform.h"
#include "saver/form1.h"

namespace vortexa {

namespace {

// The character the Delete key gives; on the system the show was made for it types nothing.
constexpr int16_t DeleteCharacter = 0x7f;

struct PointerPlace {
    double x = 0, y = 0;
};

PointerPlace pointerPlace(xcb_connection_t* connection, xcb_window_t root)
{
    xcb_query_pointer_reply_t* reply
        = xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr);
    const PointerPlace place = reply ? PointerPlace {double(reply->root_x), double(reply->root_y)} : PointerPlace {};
    std::free(reply);
    return place;
}

PointerMoves logicalPlace(X11Platform& platform, const Monitor& monitor)
{
    const PointerPlace place = pointerPlace(platform.connection(), platform.screenNumbered(monitor.screen)->root);
    return {place.x / platform.scale(), place.y / platform.scale()};
}

} // namespace

ShowView::ShowView(Form1& form, X11Platform& platform, PointerShapes& pointers, std::vector<ShowView*>& views,
    const Monitor& monitor, bool drawsScene)
    : m_form(&form)
    , m_platform(platform)
    , m_pointers(pointers)
    , m_views(views)
    , m_monitor(monitor)
    , m_drawsScene(drawsScene)
    , m_window(platform.connection(), *platform.screenNumbered(monitor.screen), monitor.area, "Vortexa")
    , m_pointerMoves(logicalPlace(platform, monitor))
    , m_painter(platform)
{
    if (drawsScene)
        m_painter.setScreen(&form.screen);
    m_views.push_back(this);
}

ShowView::~ShowView() { std::erase(m_views, this); }

void ShowView::retire()
{
    m_form = nullptr;
    m_painter.setScreen(nullptr);
    m_window.hide();
    m_shown = false;
    m_retired = true;
}

void ShowView::follow()
{
    m_painter.paintWhenDue();
    if (!m_form)
        return;
    const SaverScreen& screen = m_form->screen;
    if (screen.MousePointer != m_pointerStyle) {
        m_pointerStyle = screen.MousePointer;
        m_window.setCursor(m_pointers.cursorFor(m_pointerStyle, m_platform.screenNumbered(m_monitor.screen)->root));
    }
    // A shown saver screen is always maximised: its window fills its monitor.
    if (screen.Visible != m_shown) {
        m_shown = screen.Visible;
        if (m_shown)
            show();
        else
            m_window.hide();
    }
}

// The window is drawn as soon as it is shown, without waiting to hear that it was exposed: the
// server takes the drawing after the window, and if a window manager shows it later, it is exposed
// and drawn again then.
void ShowView::show()
{
    m_window.show();
    m_painter.start(m_window.id(), m_platform.scale(), m_platform.framesPerSecond());
}

void ShowView::handle(const xcb_generic_event_t& event, const std::function<const Keyboard&()>& keyboard)
{
    ++m_handling;
    switch (event.response_type & 0x7f) {
    case XCB_EXPOSE:
        // The last of a series of exposed parts draws the whole window once.
        if (reinterpret_cast<const xcb_expose_event_t&>(event).count == 0 && m_mapped)
            m_painter.start(m_window.id(), m_platform.scale(), m_platform.framesPerSecond());
        break;
    case XCB_MAP_NOTIFY:
        m_mapped = true;
        break;
    case XCB_UNMAP_NOTIFY:
        m_mapped = false;
        m_painter.stop();
        break;
    case XCB_KEY_PRESS:
        keyPressed(reinterpret_cast<const xcb_key_press_event_t&>(event), keyboard());
        break;
    case XCB_MOTION_NOTIFY:
        pointerMoved(reinterpret_cast<const xcb_motion_notify_event_t&>(event));
        break;
    default:
        break;
    }
    --m_handling;
}

void ShowView::keyPressed(const xcb_key_press_event_t& press, const Keyboard& keyboard)
{
    const std::optional<int16_t> KeyAscii = keyAsciiOf(keyboard.textOf(press.detail));
    if (!m_form || !KeyAscii || *KeyAscii == DeleteCharacter)
        return;
    Form1* form = m_form;
    m_platform.deliver([form, key = *KeyAscii] { form->Form_KeyPress(key); });
}

void ShowView::pointerMoved(const xcb_motion_notify_event_t& motion)
{
    const double scale = m_platform.scale();
    const MonitorArea& primary = m_platform.primaryMonitor().area;
    const auto place = m_pointerMoves.movedTo(
        motion.root_x / scale, motion.root_y / scale, primary.left / scale, primary.top / scale);
    if (!m_form || !place)
        return;
    Form1* form = m_form;
    m_platform.deliver([form, X = place->x, Y = place->y] { form->Form_MouseMove(X, Y); });
}

ShowWindows::ShowWindows(Program& program, X11Platform& platform)
    : m_program(program)
    , m_platform(platform)
    , m_pointers(platform.connection())
    , m_grab(platform.connection())
    , m_windows(program, platform,
          {
              [&platform] { return platform.monitors(); },
              [&platform] { return platform.primaryMonitor(); },
              [](const Monitor& monitor) { return monitor.area; },
              [this](Form1& form, const Monitor& monitor, bool drawsScene) {
                  return new ShowView(form, m_platform, m_pointers, m_views, monitor, drawsScene);
              },
              [](ShowView* scene) { scene->raise(); },
              [this] {
                  const ShowView* holder = windowToHoldInput();
                  m_grab.holdIn(holder ? holder->window() : 0);
              },
          })
{
    const xcb_query_extension_reply_t* randr = xcb_get_extension_data(platform.connection(), &xcb_randr_id);
    if (randr && randr->present)
        m_monitorEvents = randr->first_event;
}

namespace {

// The window an event of a show window is about, or 0 for another event.
xcb_window_t windowOf(const xcb_generic_event_t& event)
{
    switch (event.response_type & 0x7f) {
    case XCB_EXPOSE:
        return reinterpret_cast<const xcb_expose_event_t&>(event).window;
    case XCB_MAP_NOTIFY:
        return reinterpret_cast<const xcb_map_notify_event_t&>(event).window;
    case XCB_UNMAP_NOTIFY:
        return reinterpret_cast<const xcb_unmap_notify_event_t&>(event).window;
    case XCB_KEY_PRESS:
        return reinterpret_cast<const xcb_key_press_event_t&>(event).event;
    case XCB_MOTION_NOTIFY:
        return reinterpret_cast<const xcb_motion_notify_event_t&>(event).event;
    default:
        return 0;
    }
}

} // namespace

void ShowWindows::handle(const xcb_generic_event_t& event)
{
    if (m_keyboard && m_keyboard->follow(&event))
        return;
    const uint8_t kind = event.response_type & 0x7f;
    if (m_monitorEvents
        && (kind == m_monitorEvents + XCB_RANDR_SCREEN_CHANGE_NOTIFY || kind == m_monitorEvents + XCB_RANDR_NOTIFY)) {
        if (m_platform.readMonitorsAgain())
            m_windows.monitorsChanged();
        return;
    }
    if (ShowView* view = viewWithWindow(windowOf(event)))
        view->handle(event, [this]() -> const Keyboard& { return keyboard(); });
    // The grab is tried again on every event until it is held.
    m_grab.holdIn(windowToHoldInput() ? windowToHoldInput()->window() : 0);
}

const Keyboard& ShowWindows::keyboard()
{
    if (!m_keyboard)
        m_keyboard = std::make_unique<Keyboard>(m_platform.connection());
    return *m_keyboard;
}

ShowView* ShowWindows::viewWithWindow(xcb_window_t window) const
{
    const auto found = std::find_if(
        m_views.begin(), m_views.end(), [window](const ShowView* view) { return window && view->window() == window; });
    return found == m_views.end() ? nullptr : *found;
}

xcb_window_t ShowWindows::sceneWindow() const
{
    for (auto form = m_program.screens().rbegin(); form != m_program.screens().rend(); ++form)
        if (const ShowView* view = m_windows.sceneViewOf(**form); view && (*form)->screen.Visible)
            return view->window();
    return 0;
}

// The scene's window of the newest shown screen holds the keys and the pointer, except while the
// dialog is open over it and needs them.
ShowView* ShowWindows::windowToHoldInput() const
{
    const Form2* dialog = m_program.loadedDialog();
    if (dialog && dialog->Visible)
        return nullptr;
    for (auto form = m_program.screens().rbegin(); form != m_program.screens().rend(); ++form) {
        ShowView* view = m_windows.sceneViewOf(**form);
        if ((*form)->screen.Visible && view && view->exposed())
            return view;
    }
    return nullptr;
}

} // namespace vortexa
