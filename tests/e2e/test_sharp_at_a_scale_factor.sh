# At a scale factor of 2 and of 1.5 (the screen's Xft.dpi of 192 and 144, as a desktop sets it for
# a dense monitor) the show still covers the whole screen and its outlines are
# drawn in device pixels: every colour above the hint is black or a circle colour, none smoothed.
source "$(dirname "$0")/lib.sh"

printf 'krugN=10\r\nBorderWidth=1\r\nSpeed=1\r\nviewTime=4\r\nScenario=1\r\nPlen=0\r\nLocal=1\r\n' >"$PROGRAM_FOLDER/Vortexa.ini"
for factor in 2 1.5; do
    printf 'Xft.dpi:\t%s\n' "$(awk "BEGIN { print 96 * $factor }")" | xrdb -merge
    start_saver /s
    window=$(window_of "$SAVER_PID")
    [ -n "$window" ] || fail "scale $factor: no window appeared"
    read -r x y width height < <(geometry_of "$window")
    [ "$x $y $width $height" = "0 0 $SCREEN_WIDTH $SCREEN_HEIGHT" ] || fail "scale $factor: window at $x,$y size ${width}x$height"
    wait_until 20 scene_drawn_with 2 || fail "scale $factor: no scene was drawn"
    for colour in $(colours_in 0 0 "$SCREEN_WIDTH" $((SCREEN_HEIGHT * 3 / 4))); do
        [ "$colour" = 000000 ] && continue
        grep -qw "$colour" <<<"$CIRCLE_COLOURS" || fail "scale $factor: colour $colour is not a circle colour"
    done
    kill "$SAVER_PID"
    wait "$SAVER_PID" 2>/dev/null || true
    echo "ok: scale $factor"
done
