# On a screen of 1920 x 1080 at 168 and 192 dots to the inch, in either language, "/c" shows the
# dialog grown with the resolution and wholly on the screen: its client area lies inside the
# screen, and its row of buttons is seen there. The resolution is the user's setting that Wine
# reads as each program starts; the test runs in a copy of the session's Wine prefix, on an X
# server of its own with one monitor of that size.
source "$(dirname "$0")/e2e_lib.sh"

SCREEN_WIDTH=1920
SCREEN_HEIGHT=1080
XVFB_PID=
export WINEPREFIX=$WORK/prefix
end_test() {
    local pid
    for pid in "${SAVER_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    timeout 20 "$WINESERVER" -k 2>/dev/null || true
    [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true
    end_everything
}
trap end_test EXIT

buttons_seen() {
    take_screenshot
    [ "$(colours_by_count "$1" | grep -cv 000000)" -gt 2 ]
}

cp -a "$VORTEXA_WINE_PREFIX/prefix/." "$WINEPREFIX" || fail "could not copy the Wine prefix"
Xvfb -displayfd 3 -screen 0 ${SCREEN_WIDTH}x${SCREEN_HEIGHT}x24 -nolisten tcp -noreset 3>"$WORK/display" 2>/dev/null &
XVFB_PID=$!
wait_until 10 test -s "$WORK/display" || true
[ -s "$WORK/display" ] || fail "the X server did not start"
export DISPLAY=":$(head -n 1 "$WORK/display")"

# Resolution, language (0 Russian, 1 English), and the client area's size there: 5940 x 6315
# twips at 1440 twips to the inch.
while read -r dots language width height; do
    row="$dots dpi, language $language"
    timeout 60 "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dots" /f \
        </dev/null >/dev/null 2>&1 || fail "$row: could not set the resolution"
    printf 'krugN=9\r\nBorderWidth=1\r\nSpeed=2\r\nviewTime=0\r\nScenario=3\r\nPlen=0\r\nLocal=%s\r\n' "$language" \
        >"$PROGRAM_FOLDER/Vortexa.ini"
    start_saver /c
    read -r dialog x y < <(window_sized "$width" "$height") || true
    [ -n "${dialog:-}" ] || fail "$row: no dialog of $width x $height appeared"
    [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + width)) -le $SCREEN_WIDTH ] && [ $((y + height)) -le $SCREEN_HEIGHT ] ||
        fail "$row: the dialog lies at $x,$y, $width x $height, beyond the screen"
    # The buttons' row: 120 twips in from the left, 5760 down, 5700 wide and 375 high.
    strip="$((5700 * dots / 1440))x$((375 * dots / 1440))+$((x + 120 * dots / 1440))+$((y + 5760 * dots / 1440))"
    wait_until 20 buttons_seen "$strip" || fail "$row: the dialog's buttons are not seen"
    timeout 5 xdotool windowfocus --sync "$dialog" || true
    xdotool key Escape
    await_end "$SAVER_PID"
    [ "$STATUS" = 0 ] || fail "$row: Esc in the dialog gave: $STATUS"
done <<'ROWS'
168 0 693 737
168 1 693 737
192 0 792 842
192 1 792 842
ROWS
echo ok
