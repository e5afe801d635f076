# With two monitors the scene runs on the primary and the other is covered black; mouse moves over
# the other count as over the primary, and the sixth ends the whole show.
source "$(dirname "$0")/e2e_lib.sh"

[ "$(helper monitors)" = "$(printf '0 0 1024 768 primary\n1024 0 640 480')" ] ||
    fail "Wine reports the monitors as: $(helper monitors | tr '\n' ';')"
start_saver /s
[ -n "$(show_window)" ] || fail "no window covers the primary monitor"
read -r cover x y < <(window_sized 640 480) || true
[ -n "${cover:-}" ] || fail "no window covers the second monitor"
[ "$x $y" = "1024 0" ] || fail "the cover is at $x,$y"
wait_until 30 lit_more_than 0.001 1024x768+0+0 || true
primary_lit=$(lit_share 1024x768+0+0)
awk -v lit="$primary_lit" 'BEGIN { exit !(lit > 0.001) }' || fail "the primary monitor shows no scene"
[ "$(lit_share 640x480+1024+0)" = 0 ] || fail "the second monitor is not black"

for x in 1100 1200 1300 1400 1500; do
    timeout 5 xdotool mousemove --sync "$x" 300 || true
    sleep 0.2 # moves queued together merge into one, and the program shows none it has handled
done
expect_running "$SAVER_PID" "five mouse moves ended the show"
xdotool mousemove 1600 400
await_end "$SAVER_PID"
[ "$STATUS" = 0 ] || fail "the sixth move on the second monitor gave: $STATUS"
echo ok
