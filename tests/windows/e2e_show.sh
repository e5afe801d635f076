# Vortexa.scr /s covers the screen with the scene; a typed character ends it with status 0, and
# so does the sixth mouse move, while Shift and five moves do not.
source "$(dirname "$0")/e2e_lib.sh"

start_saver /s
window=$(show_window)
[ -n "$window" ] || fail "no full-screen window appeared"
wait_until 30 lit_more_than 0.001 || true
lit=$(lit_share)
awk -v lit="$lit" 'BEGIN { exit !(lit > 0.001 && lit < 0.5) }' || fail "the scene lights $lit of the screen"
timeout 5 xdotool mousemove --sync 100 100 || true
xdotool key shift
expect_running "$SAVER_PID" "Shift ended the show"
xdotool key a
await_end "$SAVER_PID"
[ "$STATUS" = 0 ] || fail "\"a\" gave: $STATUS"

start_saver /S
[ -n "$(show_window)" ] || fail "no window appeared for the second show"
wait_until 30 lit_more_than 0.001 || fail "the second show drew no scene"
for move in 1 2 3 4 5; do
    xdotool mousemove $((200 + move * 30)) 300
    sleep 0.2 # moves queued together merge into one, and the program shows none it has handled
done
expect_running "$SAVER_PID" "five mouse moves ended the show"
xdotool mousemove 600 500
await_end "$SAVER_PID"
[ "$STATUS" = 0 ] || fail "the sixth move gave: $STATUS"
echo ok
