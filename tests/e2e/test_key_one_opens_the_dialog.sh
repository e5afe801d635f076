# "1" opens the settings dialog over the running show. Mouse moves over the show then never end
# the program; they bring the dialog to the front. Esc in the dialog cancels: the program ends
# with status 0 and writes no settings file.
source "$(dirname "$0")/lib.sh"

start_saver /s
saver=$(window_of "$SAVER_PID")
[ -n "$saver" ] || fail "no window appeared"
xdotool key 1
read -r dialog x y < <(dialog_of "$SAVER_PID") || true
[ -n "${dialog:-}" ] || fail "no dialog appeared"
[ "$(xdotool getwindowname "$dialog")" = Vortexa ] || fail "the dialog is called $(xdotool getwindowname "$dialog")"
# The dialog sits in the middle of the screen.
[ "$x $y" = "442 149" ] || fail "the dialog is at $x,$y"

# The show goes on behind the dialog; moving the mouse over it brings the dialog to the front
# and gives it the keyboard.
timeout 5 xdotool windowfocus --sync "$saver"
for x_move in 50 100 150 200 250 300 350 400; do
    timeout 5 xdotool mousemove --sync "$x_move" 650
    sleep 0.1 # moves queued together merge into one, and the program shows none it has handled
done
expect_running "$SAVER_PID" "mouse moves over the show ended the program"
has_ended "$SAVER_PID" && fail "the program ended"
[ -n "$(xdotool search --onlyvisible --pid "$SAVER_PID" 2>/dev/null | grep -x "$saver")" ] || fail "the show was closed"
wait_until 20 focus_is "$dialog" || fail "the dialog did not come to the front"

# The dialog is on top of the show: its buttons, not the black screen, are seen.
wait_until 20 dialog_drawn_at "$x" "$y" || fail "the dialog is hidden behind the show"

xdotool key Escape
await_end "$SAVER_PID"
[ "$STATUS" = 0 ] || fail "Esc in the dialog gave: $STATUS"
[ ! -e "$PROGRAM_FOLDER/Vortexa.ini" ] || fail "Esc wrote the settings file"
echo "ok"
