# "/c" opens the dialog. Choices made with the mouse and the keyboard and saved with OK land in
# the settings file beside the program, and the program ends with status 0; Cancel ends it too
# and leaves the file as it was.
source "$(dirname "$0")/lib.sh"

SETTINGS=$PROGRAM_FOLDER/Vortexa.ini

start_configuration
# "Opposition" sets 10 to 20 circles; two small steps on the circle track bar give 12.
click_at $((x + 8 + 8 + 56)) $((y + 248 + 88 + 12))
click_at $((x + 152 + 120 + 4)) $((y + 248 + 20 + 6))
xdotool key Right Right
click_at $((x + 296 + 44)) $((y + 384 + 12))
await_end "$SAVER_PID"
[ "$STATUS" = 0 ] || fail "OK gave: $STATUS"
expected=$(printf 'krugN=12\r\nBorderWidth=1\r\nSpeed=2\r\nviewTime=0\r\nScenario=3\r\nPlen=0\r\nLocal=1\r\n')
[ "$(cat "$SETTINGS")" = "$expected" ] || fail "OK wrote: $(od -c "$SETTINGS")"

before=$(md5sum <"$SETTINGS")
start_configuration
click_at $((x + 8 + 8 + 56)) $((y + 248 + 24 + 12))
click_at $((x + 200 + 44)) $((y + 384 + 12))
await_end "$SAVER_PID"
[ "$STATUS" = 0 ] || fail "Cancel gave: $STATUS"
[ "$(md5sum <"$SETTINGS")" = "$before" ] || fail "Cancel changed the settings file"
echo "ok"
