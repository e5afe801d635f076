# "/p" ends at once, successfully, without ever showing a window.
source "$(dirname "$0")/lib.sh"

watch_windows
for switch in /p /P " /p " "/p 1234"; do
    status=$(run_saver_to_end "$switch")
    [ "$status" = 0 ] || fail "\"$switch\" ended with status $status"
done
[ "$(windows_mapped)" = 0 ] || fail "a window appeared: $(grep -A2 '^MapNotify' "$WORK/xev.log")"
echo "ok"
