# With two monitors the scene runs on the first and the second is covered black; mouse moves over
# the second count as over the first, and the sixth ends the whole show.
XVFB_SCREENS="-screen 0 1280x720x24 -screen 1 800x600x24"
source "$(dirname "$0")/lib.sh"

start_saver /s
[ -n "$(window_of "$SAVER_PID")" ] || fail "no window appeared"
second=${DISPLAY%.*}.1
cover=$(DISPLAY=$second timeout 10 xdotool search --sync --onlyvisible --pid "$SAVER_PID" 2>/dev/null | head -n 1 || true)
[ -n "$cover" ] || fail "the second monitor has no window of the show"
wait_until 20 scene_drawn_with 3 || true
circle_colours=$(scene_colours | grep -cwF "$(tr ' ' '\n' <<<"$CIRCLE_COLOURS")" || true)
[ "$circle_colours" -ge 3 ] || fail "the first monitor shows $circle_colours circle colours"
DISPLAY=$second timeout 10 import -window root "$SHOT" || fail "no screenshot of the second monitor"
[ "$(lit_share)" = 0 ] || fail "the second monitor is not black: $(lit_share) lit"

for x in 100 200 300 400 500; do
    DISPLAY=$second timeout 5 xdotool mousemove --screen 1 --sync "$x" 300
    sleep 0.15 # moves queued together merge into one, and the program shows none it has handled
done
expect_running "$SAVER_PID" "five mouse moves ended the show"
DISPLAY=$second timeout 5 xdotool mousemove --screen 1 --sync 600 300
await_end "$SAVER_PID"
[ "$STATUS" = 0 ] || fail "the sixth move on the second monitor gave: $STATUS"
echo "ok: scene on the first monitor, the second black, the sixth move there ended the show"
