# A close request from the system (WM_CLOSE, as Windows' screen-saver machinery sends it) ends the
# show at once with status 0 and writes nothing.
source "$(dirname "$0")/e2e_lib.sh"

start_saver /s
[ -n "$(show_window)" ] || fail "no full-screen window appeared"
[ "$(helper close)" -ge 1 ] || fail "the helper found no window of the show"
await_end "$SAVER_PID"
[ "$STATUS" = 0 ] || fail "WM_CLOSE gave: $STATUS"
[ -z "$(ls -A "$PROGRAM_FOLDER" | grep -v '^Vortexa.scr$')" ] || fail "the program wrote: $(ls "$PROGRAM_FOLDER")"
echo ok
