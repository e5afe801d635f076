# Twenty shows in a row on an X server that no other program uses, each ended once it drew, or
# after ten seconds: every one draws. Such a server resets whenever its last client leaves and refuses the next one
# for a moment, so a start must never leave it with no client before the toolkit has connected.
source "$(dirname "$0")/lib.sh"

start_other_x_server 640x480x24
export DISPLAY=$OTHER_DISPLAY

# A screenshot is a client too, and one taken before the saver connects leaves the server without
# one again: the screen is looked at only once the server has a client, seen from its sockets.
server_sockets() {
    find "/proc/$OTHER_X_SERVER/fd" -lname 'socket:*' 2>/dev/null | wc -l
}
LISTENING=$(server_sockets)
server_has_a_client() {
    [ "$(server_sockets)" -gt "$LISTENING" ]
}

# Takes a screenshot and is true when any of it is lit.
screen_lit() {
    take_screenshot
    [ "$(lit_share)" != 0 ]
}

drew=0
for start in $(seq 20); do
    start_saver -root
    wait_until 10 server_has_a_client && wait_until 10 screen_lit || true
    lit=$(lit_share)
    end_show=$SAVER_PID
    kill "$end_show" 2>/dev/null || true
    wait "$end_show" 2>/dev/null || true
    if [ "${lit}" = 0 ]; then
        echo "start $start drew nothing: $(head -c 300 "$WORK/saver.err")"
    else
        drew=$((drew + 1))
    fi
done
echo "$drew of 20 starts drew"
[ "$drew" = 20 ] || fail "$((20 - drew)) of 20 starts drew nothing"
echo "ok"
