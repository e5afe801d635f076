#include "platform/x11/keyboard.h"

// The header of the keyboard extension names a field `explicit`, a word of C++.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace vortexa {

namespace {

// The changes that alter what a key types: another keyboard, another keymap, another layout or
// modifiers.
void selectChanges(xcb_connection_t* connection, int32_t device)
{
    constexpr uint16_t Events
        = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY | XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
    constexpr uint16_t MapParts = XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS | XCB_XKB_MAP_PART_MODIFIER_MAP
        | XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS | XCB_XKB_MAP_PART_KEY_ACTIONS | XCB_XKB_MAP_PART_VIRTUAL_MODS
        | XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
    constexpr uint16_t StateParts = XCB_XKB_STATE_PART_MODIFIER_BASE | XCB_XKB_STATE_PART_MODIFIER_LATCH
        | XCB_XKB_STATE_PART_MODIFIER_LOCK | XCB_XKB_STATE_PART_GROUP_BASE | XCB_XKB_STATE_PART_GROUP_LATCH
        | XCB_XKB_STATE_PART_GROUP_LOCK;
    xcb_xkb_select_events_details_t details {};
    details.affectNewKeyboard = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.affectState = StateParts;
    details.stateDetails = StateParts;
    xcb_xkb_select_events_aux(
        connection, static_cast<xcb_xkb_device_spec_t>(device), Events, 0, 0, MapParts, MapParts, &details);
}

} // namespace

Keyboard::Keyboard(xcb_connection_t* connection)
    : m_connection(connection)
{
    if (!xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &m_firstEvent, nullptr))
        return;
    m_device = xkb_x11_get_core_keyboard_device_id(connection);
    m_context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (m_device < 0 || !m_context)
        return;
    selectChanges(connection, m_device);
    readKeymap();
}

Keyboard::~Keyboard()
{
    xkb_state_unref(m_state);
    xkb_keymap_unref(m_keymap);
    xkb_context_unref(m_context);
}

void Keyboard::readKeymap()
{
    xkb_keymap* keymap = xkb_x11_keymap_new_from_device(m_context, m_connection, m_device, XKB_KEYMAP_COMPILE_NO_FLAGS);
    xkb_state* state = keymap ? xkb_x11_state_new_from_device(keymap, m_connection, m_device) : nullptr;
    if (!state) {
        xkb_keymap_unref(keymap);
        return;
    }
    xkb_state_unref(m_state);
    xkb_keymap_unref(m_keymap);
    m_keymap = keymap;
    m_state = state;
}

std::string Keyboard::textOf(xcb_keycode_t key) const
{
    if (!m_state)
        return {};
    char text[64];
    const int length = xkb_state_key_get_utf8(m_state, key, text, sizeof text);
    return length > 0 && static_cast<size_t>(length) < sizeof text ? std::string(text, static_cast<size_t>(length))
                                                                   : std::string {};
}

bool Keyboard::follow(const xcb_generic_event_t* event)
{
    if (!m_context || m_firstEvent == 0 || (event->response_type & 0x7f) != m_firstEvent)
        return false;
    // Every event of the extension shares its code; the kind is in the byte after it.
    const auto* any = reinterpret_cast<const xcb_xkb_state_notify_event_t*>(event);
    if (any->deviceID != m_device)
        return true;
    if (any->xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY || any->xkbType == XCB_XKB_MAP_NOTIFY)
        readKeymap();
    else if (any->xkbType == XCB_XKB_STATE_NOTIFY && m_state)
        xkb_state_update_mask(m_state, any->baseMods, any->latchedMods, any->lockedMods,
            static_cast<xkb_layout_index_t>(any->baseGroup), static_cast<xkb_layout_index_t>(any->latchedGroup),
            static_cast<xkb_layout_index_t>(any->lockedGroup));
    return true;
}

std::optional<int16_t> keyAsciiOf(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    const auto byte = [&text](size_t k) { return k < text.size() ? static_cast<uint32_t>(uint8_t(text[k])) : 0u; };
    const uint32_t lead = byte(0);
    uint32_t point = lead;
    if (lead >= 0xf0)
        point = (lead & 0x07) << 18 | (byte(1) & 0x3f) << 12 | (byte(2) & 0x3f) << 6 | (byte(3) & 0x3f);
    else if (lead >= 0xe0)
        point = (lead & 0x0f) << 12 | (byte(1) & 0x3f) << 6 | (byte(2) & 0x3f);
    else if (lead >= 0xc0)
        point = (lead & 0x1f) << 6 | (byte(1) & 0x3f);
    // A letter beyond the first 65,536 begins with its high surrogate.
    const uint32_t unit = point > 0xffff ? 0xd800 + ((point - 0x10000) >> 10) : point;
    return static_cast<int16_t>(static_cast<uint16_t>(unit));
}

} // namespace vortexa
