#pragma once
// The keyboard as its user has laid it out: the text a key types, in the layout and with the
// modifiers in force when it is pressed, followed through xkbcommon as the server changes them, so
// that "a character key" means what it means in every layout.

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>
#include <string>

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace vortexa {

// The first UTF-16 unit of a key's text (UTF-8), as the character code of a key press; nothing for
// a key that types no text.
std::optional<int16_t> keyAsciiOf(const std::string& text);

class Keyboard {
public:
    explicit Keyboard(xcb_connection_t* connection);
    ~Keyboard();
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    // False when the server has no keyboard extension, or its keymap could not be read.
    bool ready() const { return m_state != nullptr; }
    // The text (UTF-8) the key types now; empty for a key that types none (Shift, an arrow).
    std::string textOf(xcb_keycode_t key) const;
    // Takes in a change of the keyboard's layout or state; false when the event is no such change.
    bool follow(const xcb_generic_event_t* event);

private:
    void readKeymap();

    xcb_connection_t* m_connection;
    xkb_context* m_context = nullptr;
    xkb_keymap* m_keymap = nullptr;
    xkb_state* m_state = nullptr;
    int32_t m_device = -1;
    uint8_t m_firstEvent = 0;
};

} // namespace vortexa
