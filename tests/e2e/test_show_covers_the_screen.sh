# "/s" shows one black, full-screen window with the circles in their colours.
source "$(dirname "$0")/lib.sh"

start_saver /s
window=$(window_of "$SAVER_PID")
[ -n "$window" ] || fail "no window appeared"
read -r x y width height < <(geometry_of "$window")
[ "$x $y $width $height" = "0 0 $SCREEN_WIDTH $SCREEN_HEIGHT" ] || fail "window at $x,$y size ${width}x$height"

wait_until 20 scene_drawn_with 3 || fail "no scene of three circle colours was drawn: $(scene_colours | tr '\n' ' ')"
share=$(lit_share)
awk -v share="$share" 'BEGIN { exit !(share > 0 && share < 0.05) }' || fail "$share of the screen is lit"
circle_colours=$(scene_colours | grep -cwF "$(tr ' ' '\n' <<<"$CIRCLE_COLOURS")" || true)
[ "$circle_colours" -ge 3 ] || fail "only $circle_colours circle colours on the screen: $(scene_colours | tr '\n' ' ')"

kill -0 "$SAVER_PID" || fail "the saver ended by itself"
echo "ok: full-screen window $window, $share lit, $circle_colours circle colours"
