# Each script moves the scene in the real window: two screenshots differ, and every colour on them
# (the hint's corner aside) is black or a circle colour.
source "$(dirname "$0")/lib.sh"

for scenario in 1 2 3; do
    printf 'krugN=10\r\nBorderWidth=1\r\nSpeed=3\r\nviewTime=4\r\nScenario=%s\r\nPlen=0\r\nLocal=1\r\n' "$scenario" \
        >"$PROGRAM_FOLDER/Vortexa.ini"
    start_saver /s
    [ -n "$(window_of "$SAVER_PID")" ] || fail "script $scenario: no window appeared"
    wait_until 20 scene_drawn_with 2 || fail "script $scenario: no scene was drawn"
    cp "$SHOT" "$WORK/first.png"
    wait_until 20 screen_moved_from "$WORK/first.png" || fail "script $scenario: the scene did not move ($difference pixels differ)"
    for colour in $(scene_colours); do
        [ "$colour" = 000000 ] && continue
        grep -qw "$colour" <<<"$CIRCLE_COLOURS" || fail "script $scenario: colour $colour is not a circle colour"
    done
    kill "$SAVER_PID"
    wait "$SAVER_PID" 2>/dev/null || true
    echo "ok: script $scenario moves, $difference pixels changed"
done
