#include "platform/x11/input_grab.h"

#include <cstdlib>

#include "backend_kit/tick_pacing.h"

namespace vortexa {

void InputGrab::holdIn(xcb_window_t window)
{
    if (window != m_window) {
        release();
        m_window = window;
        m_triesLeft = Tries;
    }
    if (m_window == 0 || m_held || m_triesLeft == 0)
        return;
    const int64_t now = monotonicMilliseconds();
    if (m_lastTry && now - *m_lastTry < BetweenTriesMs)
        return;
    m_lastTry = now;
    --m_triesLeft;
    m_held = tryToGrab();
}

bool InputGrab::tryToGrab()
{
    xcb_grab_keyboard_reply_t* keyboard = xcb_grab_keyboard_reply(m_connection,
        xcb_grab_keyboard(m_connection, 1, m_window, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr);
    const bool keyboardHeld = keyboard && keyboard->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(keyboard);
    if (!keyboardHeld)
        return false;
    constexpr uint16_t PointerEvents = XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_BUTTON_PRESS
        | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW;
    xcb_grab_pointer_reply_t* pointer = xcb_grab_pointer_reply(m_connection,
        xcb_grab_pointer(m_connection, 1, m_window, PointerEvents, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE,
            XCB_NONE, XCB_CURRENT_TIME),
        nullptr);
    const bool pointerHeld = pointer && pointer->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(pointer);
    if (!pointerHeld)
        xcb_ungrab_keyboard(m_connection, XCB_CURRENT_TIME);
    xcb_flush(m_connection);
    return pointerHeld;
}

void InputGrab::release()
{
    if (m_held) {
        xcb_ungrab_pointer(m_connection, XCB_CURRENT_TIME);
        xcb_ungrab_keyboard(m_connection, XCB_CURRENT_TIME);
        xcb_flush(m_connection);
    }
    m_held = false;
    m_lastTry.reset();
}

} // namespace vortexa
