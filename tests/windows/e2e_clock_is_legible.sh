# The time of day on the show is light text on the black show: read back from the screen, the
# text's lightest pixels stand at least 60 grey levels above the label's box, and the box is black.
source "$(dirname "$0")/e2e_lib.sh"

write_settings 1 3 1 0 # Independence, three circles of border 1, the time of day
start_saver /s
[ -n "$(show_window)" ] || fail "no full-screen window appeared"
# Takes a screenshot and is true when it shows text: only text is drawn smoothed, so greys that no
# circle takes mark the letters, above the hint at the bottom. The text's bounds are then in left,
# top, right and bottom.
time_shows() {
    take_screenshot
    left=
    read -r left top right bottom < <(convert "$SHOT" -crop 1024x718+0+0 txt:- | awk -F'[ ,:#()]+' '
        NR > 1 && $3 == $4 && $4 == $5 && $3 != 0 && $3 != 128 && $3 != 153 && $3 != 192 {
            if (!seen || $1 < l) l = $1; if (!seen || $1 > r) r = $1
            if (!seen || $2 < t) t = $2; if (!seen || $2 > b) b = $2; seen = 1
        }
        END { if (seen) print l, t, r, b }') || true
    [ -n "$left" ]
}
wait_until 30 time_shows || true
[ -n "${left:-}" ] || fail "no text of the time shows"
box="$((right - left + 7))x$((bottom - top + 7))+$((left - 3))+$((top - 3))"
read -r background < <(colours_by_count "$box")
[ "$background" = 000000 ] || fail "the time stands on a box of #$background"
lightest=$(convert "$SHOT" -crop "$box" -colorspace gray -format "%[fx:int(maxima*255)]" info:)
[ "$lightest" -ge 60 ] || fail "the text's lightest grey is $lightest on black"
echo ok
