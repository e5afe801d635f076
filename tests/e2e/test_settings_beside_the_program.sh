# The saver reads its settings from the file beside the program. A script it does not know leaves
# only the designed circle, still, in the desktop colour at the top-left, drawn 3 pixels wide and
# without the time label.
source "$(dirname "$0")/lib.sh"

printf 'krugN=10\r\nBorderWidth=3\r\nSpeed=2\r\nviewTime=4\r\nScenario=7\r\nPlen=1\r\nLocal=1\r\n' \
    >"$PROGRAM_FOLDER/Vortexa.ini"

start_saver /s
[ -n "$(window_of "$SAVER_PID")" ] || fail "no window appeared"
sleep 0.5
take_screenshot

# The circle is 975 twips, 65 pixels, across: its ring crosses the column at x = 32 at the top.
[ "$(colours_in 32 0 1 3)" = 008080 ] || fail "the top of the circle shows: $(colours_in 32 0 1 3)"
[ "$(pixel 32 3)" = 000000 ] || fail "the ring is thicker than 3 pixels"
[ "$(pixel 32 32)" = 000000 ] || fail "the circle is not hollow"
[ "$(colours_in 100 0 1000 600)" = 000000 ] || fail "something else is on the screen"
echo "ok: one still circle, ring 3 pixels wide"
