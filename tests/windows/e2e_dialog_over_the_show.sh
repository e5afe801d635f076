# "1" opens the settings dialog over the running show, which stays above the show when the user
# clicks the show; Esc there ends the program with status 0 and writes nothing. Preview in a
# program started with "/c", with another script chosen, starts a show and, as the command line
# still says "/c", brings the dialog back over it.
source "$(dirname "$0")/e2e_lib.sh"

# The dialog's buttons, not the black show, are seen at the bottom of the dialog at X Y.
expect_dialog_on_top() {
    wait_until 30 dialog_drawn_at "$1" "$2" || fail "$3"
}

start_saver /s
show=$(show_window)
[ -n "$show" ] || fail "no full-screen window appeared"
xdotool key 1
read -r dialog x y < <(window_sized 396 421) || true
[ -n "${dialog:-}" ] || fail "no dialog appeared"
expect_dialog_on_top "$x" "$y" "the dialog is hidden behind the show"
# The show's windows are tool windows, on top of the others; the show's scene window owns the
# dialog, so that a click on the show leaves the dialog above it.
windows=$(helper windows)
[ "$windows" = "$(printf 'show tool topmost\nshow tool topmost\ndialog owned by the show')" ] ||
    fail "the show's windows and the dialog are: $windows"
timeout 5 xdotool mousemove --sync 40 $((SCREEN_HEIGHT - 40)) click 1
expect_dialog_on_top "$x" "$y" "a click on the show buried the dialog"
has_ended "$SAVER_PID" && fail "the program ended"
timeout 5 xdotool windowfocus --sync "$dialog" || true
xdotool key Escape
await_end "$SAVER_PID"
[ "$STATUS" = 0 ] || fail "Esc in the dialog gave: $STATUS"
[ ! -e "$PROGRAM_FOLDER/Vortexa.ini" ] || fail "Esc wrote the settings file"

start_saver /c
read -r dialog x y < <(window_sized 396 421) || true
[ -n "${dialog:-}" ] || fail "no dialog appeared for /c"
wait_until 30 dialog_drawn_at "$x" "$y" || fail "the dialog for /c was never drawn"
timeout 5 xdotool mousemove --sync $((x + 16 + 56)) $((y + 336 + 12)) click 1 # "Opposition"
timeout 5 xdotool mousemove --sync $((x + 104 + 44)) $((y + 384 + 12)) click 1 # "Preview"
[ -n "$(show_window)" ] || fail "Preview started no show"
read -r dialog x y < <(window_sized 396 421) || true
[ -n "${dialog:-}" ] || fail "the dialog did not come back over the show"
expect_dialog_on_top "$x" "$y" "the dialog is behind the new show"
has_ended "$SAVER_PID" && fail "the program ended"
echo ok
