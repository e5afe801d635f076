# A settings file marked read-only is kept as the user made it: OK leaves it as it is and says so
# in a message over the dialog, which stays open; the file keeps its values and its mark.
source "$(dirname "$0")/e2e_lib.sh"

write_settings 1 11 2 0
settings=$PROGRAM_FOLDER/Vortexa.ini
earlier=$(od -c <"$settings")
timeout 60 "$WINE" cmd /c attrib +r "Z:${settings//\//\\}" </dev/null >/dev/null 2>&1 || fail "attrib did not run"
[ -z "$(find "$settings" -perm /222)" ] || fail "the read-only mark did not reach the file"

start_saver /c
read -r dialog x y < <(window_sized 396 421) || true
[ -n "${dialog:-}" ] || fail "no dialog appeared"
wait_until 20 dialog_drawn_at "$x" "$y" || fail "the dialog was not drawn"
# The OK button's middle: 4440 + 1335 / 2 and 5760 + 375 / 2 twips inside the client area.
timeout 5 xdotool mousemove --sync $((x + 340)) $((y + 396)) click 1
message_shown() { [ "$(xdotool search --onlyvisible --name '^Vortexa$' 2>/dev/null | wc -l)" -ge 2 ]; }
wait_until 20 message_shown || fail "OK showed no message"
expect_running "$SAVER_PID" "OK ended the program though the file was not saved"
[ "$(od -c <"$settings")" = "$earlier" ] || fail "the read-only file was changed: $(od -c <"$settings")"
[ -z "$(find "$settings" -perm /222)" ] || fail "the file lost its read-only mark"
chmod u+w "$settings"
echo ok
