# "/c" shows the dialog titled "Vortexa" with its client area of 396 x 421 pixels; without a file
# OK writes the settings the show runs (9 circles) as the seven lines of the settings file beside
# the program, each ended by CR LF, and ends.
source "$(dirname "$0")/e2e_lib.sh"

start_saver /c:1234
read -r dialog x y < <(window_sized 396 421) || true
[ -n "${dialog:-}" ] || fail "no dialog appeared"
wait_until 30 dialog_drawn_at "$x" "$y" || fail "the dialog was never drawn"
# The OK button's middle: 4440 + 1335 / 2 and 5760 + 375 / 2 twips inside the client area.
timeout 5 xdotool mousemove --sync $((x + 340)) $((y + 396)) click 1
await_end "$SAVER_PID"
[ "$STATUS" = 0 ] || fail "OK gave: $STATUS"
expected=$(printf 'krugN=9\r\nBorderWidth=1\r\nSpeed=2\r\nviewTime=0\r\nScenario=1\r\nPlen=0\r\nLocal=1\r\n' | od -c)
[ -f "$PROGRAM_FOLDER/Vortexa.ini" ] || fail "OK wrote no settings file"
[ "$(od -c <"$PROGRAM_FOLDER/Vortexa.ini")" = "$expected" ] ||
    fail "the settings file holds: $(od -c <"$PROGRAM_FOLDER/Vortexa.ini")"
echo ok
