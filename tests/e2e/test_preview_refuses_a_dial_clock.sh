# A dial clock chosen with "Capture": Preview shows "Attention!" and starts nothing; the show that
# runs behind the dialog stays the same.
source "$(dirname "$0")/lib.sh"

start_configuration
show=$(shows_of "$SAVER_PID")
[ "$(wc -w <<<"$show")" = 1 ] || fail "shows before the preview: $show"

click_at $((x + 8 + 8 + 56)) $((y + 248 + 56 + 12))
# The clock list's text field: the text typed replaces what it showed.
click_at $((x + 152 + 8 + 60)) $((y + 248 + 100 + 10))
xdotool key ctrl+a
xdotool type --delay 20 "System (Zentar)"
click_at $((x + 104 + 44)) $((y + 384 + 12))

attention=$(window_named "Attention!")
[ -n "$attention" ] || fail "no \"Attention!\" message appeared"
timeout 5 xdotool windowfocus --sync "$attention"
xdotool key Return
attention_closed() {
    [ -z "$(xdotool search --onlyvisible --name '^Attention!$' 2>/dev/null)" ]
}
wait_until 20 attention_closed || fail "the message stayed open"
sleep 0.3 # a fixed time: what is looked for here is a new show that does not come
[ "$(shows_of "$SAVER_PID")" = "$show" ] || fail "a preview started: $(shows_of "$SAVER_PID")"
has_ended "$SAVER_PID" && fail "the program ended"
[ -n "$(dialog_of "$SAVER_PID")" ] || fail "the dialog went away"
echo "ok"
