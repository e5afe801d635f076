# The show inside a window another program gives it, as a screen-saver daemon does: named by the
# daemon's variable (hexadecimal or decimal), by -window-id, or the root by -root. It draws the scene
# there and opens no window of its own, follows the window's size, ends with it and on SIGTERM.
# A window that does not exist or does not parse is named in one line and gives status 2. One row a
# case; two shows in two windows, two displays and a lock file of another user close the table.
source "$(dirname "$0")/lib.sh"

HOST=${VORTEXA_HOST_WINDOW:?the host window helper}

# Opens a white 400 x 300 window at the screen's corner; its id is in HOST_ID, and host_command
# gives it commands.
HOSTS=0
open_host_window() {
    HOSTS=$((HOSTS + 1))
    HOST_FILES=$WORK/host$HOSTS
    mkfifo "$HOST_FILES.in"
    "$HOST" 400 300 <"$HOST_FILES.in" >"$HOST_FILES.out" &
    HOST_PID=$!
    SAVER_PIDS+=("$HOST_PID")
    exec {HOST_INPUT}>"$HOST_FILES.in"
    wait_until 20 test -s "$HOST_FILES.out" || true
    HOST_ID=$(head -n 1 "$HOST_FILES.out")
    [ -n "$HOST_ID" ] || fail "the host window did not appear"
}

# Gives the host window a command and waits until it has carried it out: the host says "done"
# after a resize and ends after "destroy".
host_command() {
    local done_before
    done_before=$(grep -c '^done$' "$HOST_FILES.out" || true)
    echo "$*" >&"$HOST_INPUT"
    if [ "$1" = destroy ]; then
        wait_until 20 has_ended "$HOST_PID" || fail "$ROW: the host window was not destroyed"
    else
        wait_until 20 host_done_more_than "$done_before" || fail "$ROW: the host did not carry out $*"
    fi
}

host_done_more_than() {
    [ "$(grep -c '^done$' "$HOST_FILES.out" || true)" -gt "$1" ]
}

# Takes a screenshot and is true when the show draws circle colours inside the rectangle X Y WIDTH
# HEIGHT of the screen.
scene_in() {
    local found
    take_screenshot
    found=$(colours_in "$@" | grep -cwF "$(tr ' ' '\n' <<<"$CIRCLE_COLOURS")" || true)
    [ "$found" -ge 2 ]
}

expect_scene_in() {
    wait_until 20 scene_in "$@" || fail "$ROW: no scene in $*"
}

# The number of pixels of the last screenshot lit outside the rectangle X Y WIDTH HEIGHT.
lit_outside() {
    convert "$SHOT" -fill black -draw "rectangle $1 $2 $(($1 + $3 - 1)) $(($2 + $4 - 1))" \
        -fill white +opaque black -format "%[fx:mean*w*h]" info:
}

# Takes a screenshot and is true when nothing but black is lit outside the rectangle.
dark_outside() {
    take_screenshot
    local lit
    lit=$(lit_outside "$@")
    [ "${lit%.*}" -le 0 ]
}

# Fails when anything but black is lit outside the rectangle X Y WIDTH HEIGHT, waiting for the
# show to follow a change of its window first.
expect_dark_outside() {
    wait_until 20 dark_outside "$@" || fail "$ROW: $(lit_outside "$@") pixels lit outside the window"
}

end_show() {
    kill "$SAVER_PID" 2>/dev/null || true
    wait "$SAVER_PID" 2>/dev/null || true
}

row_given_window() { # how the window is named: hex, decimal or option
    open_host_window
    watch_windows
    case $1 in
    hex) XSCREENSAVER_WINDOW=$HOST_ID start_saver ;;
    decimal) XSCREENSAVER_WINDOW=$((HOST_ID)) start_saver ;;
    option) start_saver -window-id "$HOST_ID" ;;
    esac
    expect_scene_in 0 0 400 300
    expect_dark_outside 0 0 400 300
    [ "$(windows_mapped)" = 0 ] || fail "$ROW: the show opened a window of its own"
    end_show
    host_command destroy
}

row_root() {
    watch_windows
    start_saver -root
    expect_scene_in 0 0 "$SCREEN_WIDTH" "$SCREEN_HEIGHT"
    [ "$(windows_mapped)" = 0 ] || fail "$ROW: the show opened a window of its own: $(grep -A1 MapNotify "$WORK/xev.log" | tail -4)"
    expect_running "$SAVER_PID" "$ROW: the show on the root ended"
    end_show
}

row_unusable() { # what the message must name, and the command
    local named=$1
    shift
    watch_windows
    local status=0
    timeout 5 "$@" >"$WORK/run.out" 2>"$WORK/run.err" || status=$?
    [ "$status" = 2 ] || fail "$ROW: status $status"
    [ "$(wc -l <"$WORK/run.err")" = 1 ] && grep -qF -- "$named" "$WORK/run.err" ||
        fail "$ROW: the message was: $(cat "$WORK/run.err")"
    [ "$(windows_mapped)" = 0 ] || fail "$ROW: a window appeared"
}

row_resize() {
    open_host_window
    start_saver -window-id "$HOST_ID"
    expect_scene_in 0 0 400 300
    host_command resize 240 160
    # The show draws on in the smaller window: its scene there moves.
    take_screenshot
    cp "$SHOT" "$WORK/resized.png"
    wait_until 20 screen_moved_from "$WORK/resized.png" || fail "$ROW: the show stopped drawing"
    expect_scene_in 0 0 240 160
    expect_dark_outside 0 0 240 160
    expect_running "$SAVER_PID" "$ROW: the show ended"
    end_show
    host_command destroy
}

# Sends the signal or destroys the window; the show must end within 100 ms, with room for a busy
# test machine: killed by the signal (status 143 in the shell), or with status 0 when its window
# went.
row_end() {
    open_host_window
    start_saver -window-id "$HOST_ID"
    expect_scene_in 0 0 400 300
    local started
    started=$(date +%s%N)
    if [ "$1" = destroy ]; then echo destroy >&"$HOST_INPUT"; else kill -TERM "$SAVER_PID"; fi
    await_end "$SAVER_PID" 1
    local expected=0
    [ "$1" = destroy ] || expected=$((128 + 15))
    [ "$STATUS" = "$expected" ] || fail "$ROW: the show ended with $STATUS, not $expected"
    echo "  ended $(( ($(date +%s%N) - started) / 1000000 )) ms after the $1"
}

# A daemon runs a show in each of its windows at once.
row_two_windows() {
    open_host_window
    start_saver -window-id "$HOST_ID"
    local first_pid=$SAVER_PID
    open_host_window
    start_saver -window-id "$HOST_ID"
    expect_scene_in 0 0 400 300
    expect_running "$first_pid" "$ROW: the first show ended"
    expect_running "$SAVER_PID" "$ROW: the second show ended"
    kill "$first_pid"
    end_show
}

row_two_displays() {
    local second_display
    start_other_x_server 640x480x24
    second_display=$OTHER_DISPLAY
    start_saver /s
    local first_pid=$SAVER_PID
    [ -n "$(window_of "$first_pid")" ] || fail "$ROW: no show on the first display"
    DISPLAY=$second_display start_saver /s
    [ -n "$(DISPLAY=$second_display window_of "$SAVER_PID")" ] || fail "$ROW: no show on the second display"
    kill "$first_pid"
    end_show
}

# A lock file that another user made and holds in a folder where others could write: the show
# neither waits for it nor writes through it.
row_planted_lock() {
    if [ "$(id -u)" != 0 ]; then
        echo "  skipped: only root can plant a file of another user"
        return
    fi
    local shared=$WORK/shared-runtime
    mkdir -m 1777 "$shared"
    local fallback=/tmp/vortexa-$(id -u)
    touch "$shared/vortexa-_${DISPLAY#:}.lock"
    chown nobody "$shared/vortexa-_${DISPLAY#:}.lock"
    flock "$shared/vortexa-_${DISPLAY#:}.lock" sleep 30 & # holds the lock while the row runs
    SAVER_PIDS+=($!)
    XDG_RUNTIME_DIR=$shared start_saver /s
    [ -n "$(window_of "$SAVER_PID")" ] || fail "$ROW: the planted lock stopped the show"
    [ "$(stat -c %u "$shared/vortexa-_${DISPLAY#:}.lock")" != 0 ] || fail "$ROW: the planted file was taken"
    [ -d "$fallback" ] && [ "$(stat -c %a "$fallback")" = 700 ] || fail "$ROW: no private folder $fallback"
    end_show
}

rows=(
    "row_given_window hex"
    "row_given_window decimal"
    "row_given_window option"
    "row_unusable 0x7fffff0 $PROGRAM -window-id 0x7fffff0"
    "row_unusable garbage $PROGRAM --window-id garbage"
    "row_unusable 0x1x env XSCREENSAVER_WINDOW=0x1x $PROGRAM"
    "row_resize"
    "row_end destroy"
    "row_end SIGTERM"
    "row_two_windows"
    "row_root" # last of those that look at the screen, since it leaves the scene on the root
    "row_two_displays"
    "row_planted_lock"
)
for ROW in "${rows[@]}"; do
    $ROW
    echo "ok: $ROW"
done
