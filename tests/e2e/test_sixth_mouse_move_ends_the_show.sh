# Five mouse movements leave the show running; the sixth ends it with status 0.
source "$(dirname "$0")/lib.sh"

start_saver /s
[ -n "$(window_of "$SAVER_PID")" ] || fail "no window appeared"
wait_until 20 scene_drawn_with 2 || fail "no scene was drawn"
# Each move goes to a place of its own and is handled before the next, so none merge.
for x in 100 200 300 400 500; do
    timeout 5 xdotool mousemove --sync "$x" 600
    sleep 0.15 # moves queued together merge into one, and the program shows none it has handled
done
expect_running "$SAVER_PID" "five mouse moves ended the show"
timeout 5 xdotool mousemove --sync 600 600
await_end "$SAVER_PID"
[ "$STATUS" = 0 ] || fail "the sixth move gave: $STATUS"
echo "ok"
