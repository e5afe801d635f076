# "/p 12345" ends at once without a window, and so does a second instance while a show runs.
source "$(dirname "$0")/e2e_lib.sh"

[ "$(run_saver_to_end /p 12345)" = 0 ] || fail "/p did not end with status 0"
[ -z "$(xdotool search --onlyvisible --name '^Vortexa$' 2>/dev/null)" ] || fail "/p left a window"

start_saver /s
first=$SAVER_PID
[ -n "$(show_window)" ] || fail "no window appeared for the first show"
[ "$(run_saver_to_end /s)" = 0 ] || fail "the second instance did not end with status 0"
has_ended "$first" && fail "the second instance ended the first"
xdotool key space
await_end "$first"
[ "$STATUS" = 0 ] || fail "Space gave: $STATUS"
echo ok
