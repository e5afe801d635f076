# Under a window manager, the dialog opened with "1" over the show stays above the show it
# belongs to: it is transient for the show's window, so a click on the show, which the window
# manager answers by raising the show, leaves the dialog in sight.
source "$(dirname "$0")/lib.sh"

command -v openbox >/dev/null || fail "openbox is not installed (run scripts/install-deps.sh)"
openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
SAVER_PIDS+=($!)
window_manager_runs() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until 10 window_manager_runs || fail "openbox did not start: $(cat "$WORK/openbox.log")"

start_saver /s
show=$(window_of "$SAVER_PID")
[ -n "$show" ] || fail "no show appeared"
wait_until 20 scene_drawn_with 1 || fail "the show drew nothing"
xdotool key 1
read -r dialog x y < <(dialog_of "$SAVER_PID") || true
[ -n "${dialog:-}" ] || fail "no dialog appeared"
xprop -id "$dialog" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$show")" ||
    fail "the dialog is not transient for the show: $(xprop -id "$dialog" WM_TRANSIENT_FOR)"

# The pointer moves over the show, away from the dialog (which brings the dialog to the front),
# and clicks there; the window manager gives the show the focus.
for x_move in 50 60 70 80 90 100 110 120; do
    timeout 5 xdotool mousemove --sync "$x_move" $((SCREEN_HEIGHT - 40))
    sleep 0.1 # moves queued together merge into one, and the program shows none it has handled
done
xdotool click 1
show_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$show" ]; }
wait_until 3 show_active || true
has_ended "$SAVER_PID" && fail "the click ended the program"
take_screenshot
[ "$(colours_in $((x + 8)) $((y + 384)) 380 25 | grep -cv 000000)" -gt 2 ] ||
    fail "a click on the show buried the dialog"
echo "ok"
