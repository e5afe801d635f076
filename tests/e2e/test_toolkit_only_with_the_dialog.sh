# The show loads no toolkit: the program links none, and a running show has none in its memory, also
# once its first frame is on the screen. "1" loads the dialog's module and its toolkit. Without the
# module, or with a broken one, "1" does nothing and "/c" says why in one line with status 2.
source "$(dirname "$0")/lib.sh"

toolkit_loaded_in() { # a process id
    grep -q "libQt6" "/proc/$1/maps"
}

if ldd "$PROGRAM" | grep -q "libQt6"; then
    fail "the program links the toolkit: $(ldd "$PROGRAM" | grep libQt6 | head -3)"
fi
[ -f "$DIALOG_MODULE" ] || fail "no dialog module beside the program"

start_saver /s
[ -n "$(window_of "$SAVER_PID")" ] || fail "no window appeared"
wait_until 20 scene_drawn_with 2 || fail "no scene was drawn"
toolkit_loaded_in "$SAVER_PID" && fail "the show loaded the toolkit"
xdotool key 1
read -r dialog _ < <(dialog_of "$SAVER_PID") || true
[ -n "${dialog:-}" ] || fail "\"1\" opened no dialog"
toolkit_loaded_in "$SAVER_PID" || fail "the dialog opened without the toolkit in memory"
kill "$SAVER_PID"
wait "$SAVER_PID" 2>/dev/null || true

for row in missing broken; do
    if [ "$row" = missing ]; then
        rm -f "$DIALOG_MODULE"
    else
        echo "not a module" >"$DIALOG_MODULE"
    fi
    start_saver /s
    [ -n "$(window_of "$SAVER_PID")" ] || fail "$row: no window appeared"
    xdotool key 1
    expect_running "$SAVER_PID" "$row: \"1\" ended the show"
    shown_dialog_of "$SAVER_PID" >/dev/null && fail "$row: a dialog appeared"
    kill "$SAVER_PID"
    wait "$SAVER_PID" 2>/dev/null || true

    STATUS=0
    timeout 10 "$PROGRAM" /c >"$WORK/run.out" 2>"$WORK/run.err" || STATUS=$?
    [ "$STATUS" = 2 ] || fail "$row: /c gave status $STATUS"
    [ "$(wc -l <"$WORK/run.err")" = 1 ] && grep -q "^vortexa: " "$WORK/run.err" ||
        fail "$row: /c said: $(head -c 400 "$WORK/run.err")"
    echo "ok: $row: $(cat "$WORK/run.err")"
done
echo "ok"
