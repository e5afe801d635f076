# A typed character ends the show with status 0; Shift and the arrow keys type none and do not.
source "$(dirname "$0")/lib.sh"

start_saver /s
[ -n "$(window_of "$SAVER_PID")" ] || fail "no window appeared"
xdotool key shift
xdotool key Left
xdotool key Down
expect_running "$SAVER_PID" "Shift or an arrow key ended the show"
xdotool key a
await_end "$SAVER_PID"
[ "$STATUS" = 0 ] || fail "\"a\" gave: $STATUS"

start_saver /s
[ -n "$(window_of "$SAVER_PID")" ] || fail "no window appeared for the second show"
xdotool key space
await_end "$SAVER_PID"
[ "$STATUS" = 0 ] || fail "Space gave: $STATUS"
echo "ok"
