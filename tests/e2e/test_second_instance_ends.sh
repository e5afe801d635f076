# A second saver started while one runs ends at once, successfully, without a window; the first
# one keeps running.
source "$(dirname "$0")/lib.sh"

start_saver /s
first=$SAVER_PID
[ -n "$(window_of "$first")" ] || fail "the first saver showed no window"

watch_windows
for switch in /s ""; do
    status=$(run_saver_to_end $switch)
    [ "$status" = 0 ] || fail "the second saver (\"$switch\") ended with status $status"
done
sleep 0.3
[ "$(windows_mapped)" = 0 ] || fail "the second saver showed a window"
kill -0 "$first" || fail "the first saver ended"
echo "ok"
