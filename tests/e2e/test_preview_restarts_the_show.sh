# Preview in a program started with "/c" replaces the running show by a new one and, as the
# command line still says "/c", shows the dialog again over it.
source "$(dirname "$0")/lib.sh"

start_configuration
show=$(shows_of "$SAVER_PID")
[ "$(wc -w <<<"$show")" = 1 ] || fail "shows before the preview: $show"

click_at $((x + 8 + 8 + 56)) $((y + 248 + 88 + 12)) # "Opposition"
click_at $((x + 104 + 44)) $((y + 384 + 12))
# A new show: another window than the one before.
show_replaced() {
    now=$(shows_of "$SAVER_PID")
    [ -n "$now" ] && [ "$now" != "$show" ]
}
wait_until 20 show_replaced || true
[ "$(wc -w <<<"$now")" = 1 ] && [ "$now" != "$show" ] || fail "shows after the preview: $now (before: $show)"
[ -n "$(dialog_of "$SAVER_PID")" ] || fail "the dialog did not come back"
wait_until 20 dialog_drawn_at "$x" "$y" || fail "the dialog is behind the new show"
has_ended "$SAVER_PID" && fail "the program ended"
echo "ok"
