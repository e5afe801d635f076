# The saver reads its settings from the file beside the program. A script number beyond the last
# gives the last script, which moves; the file's "no clock" leaves only circle colours on the
# screen, where the defaults would show the time.
source "$(dirname "$0")/lib.sh"

printf 'krugN=10\r\nBorderWidth=3\r\nSpeed=2\r\nviewTime=4\r\nScenario=7\r\nPlen=1\r\nLocal=1\r\n' \
    >"$PROGRAM_FOLDER/Vortexa.ini"

start_saver /s
[ -n "$(window_of "$SAVER_PID")" ] || fail "no window appeared"
wait_until 20 scene_drawn_with 2 || fail "no scene was drawn"
cp "$SHOT" "$WORK/first.png"
wait_until 20 screen_moved_from "$WORK/first.png" || fail "the scene did not move ($difference pixels differ)"
for colour in $(scene_colours); do
    [ "$colour" = 000000 ] && continue
    grep -qw "$colour" <<<"$CIRCLE_COLOURS" || fail "colour $colour is not a circle colour"
done
echo "ok: the first script moves without a clock, $difference pixels changed"
