# The saver reads its settings from the file beside the program: with script 3 the block, a
# rounded square of 3000 twips at (600, 600), stands at the top-left instead of the circles.
source "$(dirname "$0")/lib.sh"

printf 'krugN=10\r\nBorderWidth=1\r\nSpeed=2\r\nviewTime=4\r\nScenario=3\r\nPlen=1\r\nLocal=1\r\n' \
    >"$PROGRAM_FOLDER/Vortexa.ini"

start_saver /s
[ -n "$(window_of "$SAVER_PID")" ] || fail "no window appeared"
sleep 0.5
take_screenshot

# The straight part of the block's top edge, 200 pixels wide at pixel (40, 40), is one colour.
edge=$(colours_in 70 40 140 1)
[ "$(wc -l <<<"$edge")" = 1 ] && [ "$edge" != 000000 ] || fail "the block's top edge shows: $edge"
[ "$(colours_in 70 41 140 1)" = 000000 ] || fail "the block's top edge is thicker than one pixel"
[ "$(pixel 140 140)" = 000000 ] || fail "the block is not hollow"
echo "ok: block edge $edge"
