# In a Russian keyboard layout a key is the letter the layout types: "1" still opens the dialog, a
# Cyrillic letter ends the show with status 0, and Shift alone does not.
source "$(dirname "$0")/lib.sh"

setxkbmap -layout ru || fail "the Russian layout could not be set"

start_saver /s
[ -n "$(window_of "$SAVER_PID")" ] || fail "no window appeared"
xdotool key 1
read -r dialog _ < <(dialog_of "$SAVER_PID") || true
[ -n "${dialog:-}" ] || fail "\"1\" opened no dialog"
xdotool key Escape
await_end "$SAVER_PID"
[ "$STATUS" = 0 ] || fail "Esc in the dialog gave: $STATUS"

start_saver /s
[ -n "$(window_of "$SAVER_PID")" ] || fail "no window appeared for the second show"
xdotool key shift
expect_running "$SAVER_PID" "Shift ended the show"
# The key that types "a" in a US layout types "ф" here.
xdotool key Cyrillic_ef
await_end "$SAVER_PID"
[ "$STATUS" = 0 ] || fail "\"ф\" gave: $STATUS"
echo "ok"
