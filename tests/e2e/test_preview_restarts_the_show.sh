# Preview in a program started with "/c" replaces the running show by a new one and, as the
# command line still says "/c", shows the dialog again over it.
source "$(dirname "$0")/lib.sh"

start_configuration
show=$(shows_of "$SAVER_PID")
[ "$(wc -w <<<"$show")" = 1 ] || fail "shows before the preview: $show"

click_at $((x + 8 + 8 + 56)) $((y + 248 + 88 + 12)) # "Opposition"
click_at $((x + 104 + 44)) $((y + 384 + 12))
for tries in $(seq 50); do
    now=$(shows_of "$SAVER_PID")
    [ -n "$now" ] && [ "$now" != "$show" ] && break
    sleep 0.1
done
[ "$(wc -w <<<"$now")" = 1 ] && [ "$now" != "$show" ] || fail "shows after the preview: $now (before: $show)"
[ -n "$(dialog_of "$SAVER_PID")" ] || fail "the dialog did not come back"
sleep 0.3
take_screenshot
[ "$(colours_in $((x + 8)) $((y + 384)) 380 25 | grep -cv 000000)" -gt 2 ] || fail "the dialog is behind the new show"
has_ended "$SAVER_PID" && fail "the program ended"
echo "ok"
