# With --fps the show draws its frame rate in small white text at the bottom left (above the hint
# while the hint shows; in the corner itself on a daemon's window, which shows no hint); without it
# that corner holds no such text, also once the first second has passed.
source "$(dirname "$0")/lib.sh"

CORNER_WIDTH=260
CORNER_HEIGHT=90
# The hint turns from grey 90 to grey 80 at the show's first second.
HINT_AFTER_A_SECOND=505050

# The white pixels of the bottom left corner of the last screenshot: their count and their box.
white_in_corner() {
    convert "$SHOT" -crop "${CORNER_WIDTH}x${CORNER_HEIGHT}+0+$((SCREEN_HEIGHT - CORNER_HEIGHT))" +repage \
        -fill black +opaque white -format '%[fx:mean*w*h] %@' info: 2>/dev/null | awk '{ printf "%d %s\n", $1 + 0.5, $2 }'
}

# Takes screenshots until the corner holds the colour or text asked for, up to 5 s; true once it does.
corner_shows() {
    take_screenshot
    "$@"
}
await_corner() { wait_until 5 corner_shows "$@"; }
has_hint_after_a_second() { colours_in 0 $((SCREEN_HEIGHT - CORNER_HEIGHT)) $CORNER_WIDTH $CORNER_HEIGHT | grep -qx $HINT_AFTER_A_SECOND; }
has_white_text() { read -r WHITE BOX < <(white_in_corner) && [ "$WHITE" -ge 30 ]; }

printf 'krugN=6\r\nBorderWidth=1\r\nSpeed=1\r\nviewTime=4\r\nScenario=1\r\nPlen=0\r\nLocal=1\r\n' >"$PROGRAM_FOLDER/Vortexa.ini"

start_saver /s
[ -n "$(window_of "$SAVER_PID")" ] || fail "no window appeared without --fps"
await_corner has_hint_after_a_second || fail "the hint did not fade at the first second"
read -r WHITE BOX < <(white_in_corner)
[ "$WHITE" -eq 0 ] || fail "without --fps the bottom left corner holds $WHITE white pixels ($BOX)"
kill "$SAVER_PID"
wait "$SAVER_PID" 2>/dev/null || true
echo "ok: no frame rate without --fps"

# The box of the white text, "WxH+X+Y" within the corner, must touch neither the corner's top nor
# its right: small text at the bottom left.
check_box() {
    local width height left top
    read -r width height left top <<<"$(tr 'x+' '  ' <<<"$BOX")"
    [ "$left" -le 20 ] && [ "$width" -le 200 ] && [ "$height" -le 20 ] && [ "$top" -gt 10 ] ||
        fail "$1: the white text's box $BOX is no small text at the bottom left"
    echo "$((CORNER_HEIGHT - top - height))"
}

start_saver /s --fps
[ -n "$(window_of "$SAVER_PID")" ] || fail "no window appeared with --fps"
await_corner has_white_text || fail "with --fps no white text appeared at the bottom left"
above_bottom=$(check_box "own window")
# The hint, some 40 pixels high, still shows under it.
[ "$above_bottom" -ge 35 ] || fail "the frame rate is not above the hint: $above_bottom pixels above the bottom"
kill "$SAVER_PID"
wait "$SAVER_PID" 2>/dev/null || true
echo "ok: --fps shows white text ($WHITE pixels, $BOX) above the hint"

# As a daemon runs it, on the root window, and spelled as the daemon's stock savers spell it.
start_saver -root -fps
await_corner has_white_text || fail "-root -fps showed no white text at the bottom left"
above_bottom=$(check_box "root window")
[ "$above_bottom" -le 20 ] || fail "on the root window the frame rate is $above_bottom pixels above the bottom, not in the corner"
echo "ok: -root -fps shows white text ($WHITE pixels, $BOX) in the corner"
