# Under a window manager, the show holds the keyboard and the pointer in its own window: Alt+Tab
# cannot move the focus to a window behind it, and the next typed key still ends the show. While
# the dialog is open over the show the dialog gets the keys, and the show takes them back after.
source "$(dirname "$0")/lib.sh"

HOST=${VORTEXA_HOST_WINDOW:?the host window helper}

command -v openbox >/dev/null || fail "openbox is not installed (run scripts/install-deps.sh)"
openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
SAVER_PIDS+=($!)
window_manager_runs() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}
wait_until 20 window_manager_runs || fail "openbox did not start: $(cat "$WORK/openbox.log")"

keyboard_held() {
    "$HOST" --keyboard-held
}
keyboard_free() {
    ! keyboard_held
}

# A window of another program, behind the show, where Alt+Tab would take the focus.
xmessage -name behind "a window behind the show" &
SAVER_PIDS+=($!)
[ -n "$(window_named behind)" ] || [ -n "$(timeout 5 xdotool search --sync --onlyvisible --classname behind | head -n 1)" ] ||
    fail "the window behind did not appear"

row_alt_tab_then_a_key() {
    start_saver /s
    [ -n "$(window_of "$SAVER_PID")" ] || fail "$ROW: no show appeared"
    wait_until 20 keyboard_held || fail "$ROW: the show did not take the keyboard"
    xdotool key alt+Tab
    sleep 0.3 # a fixed time: what is looked for here is a change of focus that does not come
    has_ended "$SAVER_PID" || xdotool key a
    await_end "$SAVER_PID"
    [ "$STATUS" = 0 ] || fail "$ROW: the show did not end on a typed key after Alt+Tab: $STATUS"
}

# "1" opens the dialog, which then gets the keys: a typed "a" that would end the show does nothing
# there, and Escape cancels the dialog.
row_dialog_gets_the_keys() {
    start_saver /s
    [ -n "$(window_of "$SAVER_PID")" ] || fail "$ROW: no show appeared"
    wait_until 20 keyboard_held || fail "$ROW: the show did not take the keyboard"
    xdotool key 1
    read -r dialog x y < <(dialog_of "$SAVER_PID") || true
    [ -n "${dialog:-}" ] || fail "$ROW: no dialog appeared"
    wait_until 20 keyboard_free || fail "$ROW: the show kept the keyboard under the dialog"
    wait_until 20 focus_is "$dialog" || fail "$ROW: the dialog did not get the focus"
    xdotool key a
    expect_running "$SAVER_PID" "$ROW: a key typed into the dialog went to the show"
    xdotool key Escape
    await_end "$SAVER_PID"
    [ "$STATUS" = 0 ] || fail "$ROW: Escape did not reach the dialog: $STATUS"
}

for ROW in row_alt_tab_then_a_key row_dialog_gets_the_keys; do
    echo "$ROW"
    $ROW
done
echo "ok"
