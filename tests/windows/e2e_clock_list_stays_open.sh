# A click on the clock list's arrow opens the list, and it stays open while the dialog goes on
# following its records, until the user closes it.
source "$(dirname "$0")/e2e_lib.sh"

# Whether the dialog's list is open, read back from the list itself.
list_open() { [ "$(helper dropped)" = 1 ]; }

start_saver /c
read -r dialog x y < <(window_sized 396 421) || true
[ -n "${dialog:-}" ] || fail "no dialog appeared"
# The arrow at the right end of the clock list, inside the options frame.
timeout 5 xdotool mousemove --sync $((x + 152 + 8 + 209 - 8)) $((y + 248 + 100 + 10)) click 1
wait_until 5 list_open || fail "the clock list was not open after the click (it may have closed at once)"
# Read back again and again for 2 s: the list must be open each time.
clicked=$(date +%s%N)
while [ $(($(date +%s%N) - clicked)) -lt 2000000000 ]; do
    list_open || fail "the clock list closed by itself after $((($(date +%s%N) - clicked) / 1000000)) ms"
done
has_ended "$SAVER_PID" && fail "the program ended"
echo ok
