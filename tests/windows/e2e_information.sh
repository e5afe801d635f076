# After "Information" the dialog's picture shows the whole information text, wrapped into several
# centred lines in its colour, and the link under it, and both stay there while the time passes:
# read back from the screen ten times over a second.
source "$(dirname "$0")/e2e_lib.sh"

start_saver /c
read -r dialog x y < <(window_sized 396 421) || true
[ -n "${dialog:-}" ] || fail "no dialog appeared"
wait_until 30 dialog_drawn_at "$x" "$y" || fail "the dialog was never drawn"
# The Information button's middle: 120 + 1335 / 2 and 5760 + 375 / 2 twips inside the client area.
timeout 5 xdotool mousemove --sync $((x + 52)) $((y + 396)) click 1

# The picture area: 120, 180, 5655 x 3255 twips inside the client area.
picture="377x217+$((x + 8))+$((y + 12))"
# Pixels of the picture near a colour, as a picture of white on black.
pixels_of() {
    convert "$SHOT" -crop "$picture" +repage -fuzz 25% -fill white -opaque "$1" -fill black +opaque white "$2"
}
# Takes a screenshot and is true when it shows the information text on five lines or more and the
# link; their pixels are then in text and link, the lines in lines.
information_shows() {
    take_screenshot
    pixels_of "rgb(255,128,128)" "$WORK/text.png"
    pixels_of "rgb(255,0,0)" "$WORK/link.png"
    text=$(convert "$WORK/text.png" -format "%[fx:mean*w*h]" info: | cut -d . -f 1)
    link=$(convert "$WORK/link.png" -format "%[fx:mean*w*h]" info: | cut -d . -f 1)
    # The lines of text: runs of rows that hold some of its pixels.
    lines=$(convert "$WORK/text.png" -scale '1x217!' -depth 8 txt:- | awk -F'[(),]' 'NR > 1 {
        lit = $3 > 0; if (lit && !before) n++; before = lit } END { print n + 0 }')
    [ "$text" -ge 800 ] && [ "$lines" -ge 5 ] && [ "$link" -ge 40 ]
}
wait_until 30 information_shows || true
for sample in $(seq 10); do
    information_shows || true
    [ "$text" -ge 800 ] || fail "sample $sample: only $text pixels of the information text"
    [ "$lines" -ge 5 ] || fail "sample $sample: the information text stands on $lines lines"
    [ "$link" -ge 40 ] || fail "sample $sample: only $link pixels of the link"
    sleep 0.1 # a fixed time: what is looked for here is a change that does not come
done
echo "ok: text $text pixels on $lines lines, link $link pixels"
