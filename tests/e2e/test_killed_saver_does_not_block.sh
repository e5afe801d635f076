# A saver that was killed leaves nothing that stops the next one from starting.
source "$(dirname "$0")/lib.sh"

start_saver /s
killed=$SAVER_PID
[ -n "$(window_of "$killed")" ] || fail "the first saver showed no window"
kill -9 "$killed"
wait "$killed" 2>/dev/null || true

start_saver /s
window=$(window_of "$SAVER_PID")
[ -n "$window" ] || fail "no saver started after the first was killed"
kill -0 "$SAVER_PID" || fail "the new saver ended"
echo "ok: new window $window"
