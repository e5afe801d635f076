# "/s" shows one black, full-screen window with the circles at the top-left.
source "$(dirname "$0")/lib.sh"

# The circle colours as red, green and blue.
CIRCLE_COLOURS="C0FFC0 FFC0C0 800080 CCCC99 FFFF80 808000 FF00FF CC3030 804040 008080 0000FF C000C0 999999
808080 FF80FF FF0000 FF8080"

start_saver /s
window=$(window_of "$SAVER_PID")
[ -n "$window" ] || fail "no window appeared"
read -r x y width height < <(geometry_of "$window")
[ "$x $y $width $height" = "0 0 $SCREEN_WIDTH $SCREEN_HEIGHT" ] || fail "window at $x,$y size ${width}x$height"

sleep 0.5 # the first frame reaches the screen
take_screenshot
[ "$(pixel 640 360)" = 000000 ] || fail "the middle of the screen is $(pixel 640 360), not black"
[ "$(pixel 1200 650)" = 000000 ] || fail "the lower right is $(pixel 1200 650), not black"

# The largest circle, 3800 twips across, alone reaches the bottom middle of its 253-pixel box.
found=
for colour in $(colours_in 124 250 5 4); do
    [ "$colour" = 000000 ] && continue
    grep -qw "$colour" <<<"$CIRCLE_COLOURS" || fail "colour $colour at the bottom of the largest circle"
    found=$colour
done
[ -n "$found" ] || fail "no circle outline at the bottom of the largest circle"
[ "$(colours_in 0 0 260 260 | grep -cv 000000)" -ge 3 ] || fail "fewer than three colours at the top-left"

kill -0 "$SAVER_PID" || fail "the saver ended by itself"
echo "ok: full-screen window $window, circle colour $found"
