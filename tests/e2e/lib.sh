# Shared set-up of the end-to-end tests, sourced by each test_*.sh with the path of the vortexa
# program as $1: the program is copied into a fresh folder of its own (its settings file lives
# beside it), the runtime folder is fresh, and an X server of its own runs on a free display.
# Everything started here is ended, and every folder removed, when the test exits.

set -euo pipefail

if [ $# -lt 1 ] || [ ! -x "$1" ]; then
    echo "usage: $0 PATH-TO-VORTEXA" >&2
    exit 2
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/vortexa-e2e.XXXXXX")
PROGRAM_FOLDER=$WORK/program
PROGRAM=$PROGRAM_FOLDER/vortexa
SCREEN_WIDTH=1280
SCREEN_HEIGHT=720
XVFB_PID=
XEV_PID=
SAVER_PIDS=()
MAPPED_BEFORE=0

end_everything() {
    local pid
    for pid in "${SAVER_PIDS[@]}" $XEV_PID $XVFB_PID; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${SAVER_PIDS[@]}" $XEV_PID $XVFB_PID; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$WORK"
}
trap end_everything EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

mkdir -p "$PROGRAM_FOLDER"
cp "$1" "$PROGRAM"
mkdir -m 0700 "$WORK/runtime"
export XDG_RUNTIME_DIR=$WORK/runtime
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

# The X server writes the number of the free display it chose to the file descriptor given.
# With XORG_DUMMY set, the X.Org server with its dummy driver instead, whose RandR lets a test lay
# out monitors of its own with xrandr, also monitors that overlap.
start_x_server() {
    if [ -n "${XORG_DUMMY:-}" ]; then
        printf '%s\n' 'Section "ServerFlags"' 'Option "AutoAddDevices" "false"' 'Option "DontVTSwitch" "true"' \
            'EndSection' 'Section "Monitor"' 'Identifier "monitor"' 'HorizSync 5.0-1000.0' 'VertRefresh 5.0-200.0' \
            'EndSection' 'Section "Device"' 'Identifier "card"' 'Driver "dummy"' 'VideoRam 64000' 'EndSection' \
            'Section "Screen"' 'Identifier "screen"' 'Device "card"' 'Monitor "monitor"' 'DefaultDepth 24' \
            'SubSection "Display"' 'Depth 24' 'Virtual 2400 1200' 'EndSubSection' 'EndSection' >"$WORK/xorg.conf"
        Xorg -displayfd 3 -config "$WORK/xorg.conf" -logfile "$WORK/xorg.log" -nolisten tcp -noreset \
            3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 </dev/null &
    else
        # shellcheck disable=SC2086 # the screens are words of their own
        Xvfb -displayfd 3 ${XVFB_SCREENS:--screen 0 "${SCREEN_WIDTH}x${SCREEN_HEIGHT}x24"} -nolisten tcp -noreset \
            3>"$WORK/display" 2>"$WORK/xvfb.log" &
    fi
    XVFB_PID=$!
    local tries
    for tries in $(seq 100); do
        [ -s "$WORK/display" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || fail "the X server did not start: $(cat "$WORK/xvfb.log")"
        sleep 0.1
    done
    [ -s "$WORK/display" ] || fail "the X server gave no display number"
    export DISPLAY=":$(head -n 1 "$WORK/display")"
}

# Starts the saver in the background with the given arguments; its process id is in SAVER_PID.
start_saver() {
    "$PROGRAM" "$@" >"$WORK/saver.out" 2>"$WORK/saver.err" &
    SAVER_PID=$!
    SAVER_PIDS+=("$SAVER_PID")
}

# Runs the saver with the given arguments and gives its exit status; it must end within 5 s.
run_saver_to_end() {
    local status=0
    timeout 5 "$PROGRAM" "$@" >"$WORK/run.out" 2>"$WORK/run.err" || status=$?
    echo "$status"
}

# True once a process started here has ended (it may wait, unreaped, as a zombie).
has_ended() {
    local state
    state=$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) || return 0
    [ -z "$state" ] || [ "$state" = Z ]
}

# Waits up to the given seconds (5 if not given) for a saver started with start_saver to end and
# sets STATUS to its exit status, or to "running" when it has not ended then. It must run in this
# shell, not in a subshell, since only the shell that started the saver can collect its status.
await_end() {
    local tries ended=false
    for tries in $(seq $((${2:-5} * 10))); do
        if has_ended "$1"; then
            ended=true
            break
        fi
        sleep 0.1
    done
    STATUS=running
    $ended || return 0
    STATUS=0
    wait "$1" || STATUS=$?
}

# Fails unless the saver is still running after half a second.
expect_running() {
    sleep 0.5
    has_ended "$1" && fail "$2"
    return 0
}

# The visible window of a process, waiting for it up to 10 s; nothing when none appears.
window_of() {
    timeout 10 xdotool search --sync --onlyvisible --pid "$1" 2>/dev/null | head -n 1 || true
}

# The settings dialog's window of a process, 396 x 421 pixels, waiting for it up to 10 s, as
# "ID X Y" (its client area's place on the screen); nothing when none appears.
dialog_of() {
    local tries window x y width height
    for tries in $(seq 50); do
        for window in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
            read -r x y width height < <(geometry_of "$window")
            if [ "$width $height" = "396 421" ]; then
                echo "$window $x $y"
                return
            fi
        done
        sleep 0.2
    done
}

# Starts the saver with "/c" and waits for its dialog: its window and place are then in dialog, x
# and y.
start_configuration() {
    start_saver /c
    read -r dialog x y < <(dialog_of "$SAVER_PID") || true
    [ -n "${dialog:-}" ] || fail "no dialog appeared"
    sleep 0.3
}

# The visible full-screen windows of a process: its shows.
shows_of() {
    local window x y width height
    for window in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        read -r x y width height < <(geometry_of "$window")
        [ "$width $height" = "$SCREEN_WIDTH $SCREEN_HEIGHT" ] && echo "$window"
    done
    return 0
}

# A window with exactly this title, waiting for it up to 5 s; nothing when none appears.
window_named() {
    timeout 5 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true
}

# Clicks the left button at a point of the screen.
click_at() {
    timeout 5 xdotool mousemove --sync "$1" "$2" click 1
}

# "X Y WIDTH HEIGHT" of a window on the screen.
geometry_of() {
    xwininfo -id "$1" | awk '
        /Absolute upper-left X:/ { x = $NF }
        /Absolute upper-left Y:/ { y = $NF }
        /^ *Width:/ { w = $NF }
        /^ *Height:/ { h = $NF }
        END { print x, y, w, h }'
}

# Records every window that appears on the screen from now on (see windows_mapped). A probe
# window shows that the recording runs before anything else happens.
watch_windows() {
    if [ -n "$XEV_PID" ]; then
        kill "$XEV_PID" 2>/dev/null || true
        wait "$XEV_PID" 2>/dev/null || true
    fi
    xev -root -event substructure >"$WORK/xev.log" 2>&1 &
    XEV_PID=$!
    local tries
    for tries in 1 2 3 4 5; do
        xmessage -timeout 1 probe >/dev/null 2>&1 &
        SAVER_PIDS+=($!)
        timeout 1 bash -c "until grep -q '^MapNotify' '$WORK/xev.log'; do sleep 0.05; done" && break
    done
    grep -q '^MapNotify' "$WORK/xev.log" || fail "the window recorder saw no window"
    sleep 0.2
    MAPPED_BEFORE=$(grep -c '^MapNotify' "$WORK/xev.log")
}

# The number of windows that appeared since watch_windows.
windows_mapped() {
    echo $(($(grep -c '^MapNotify' "$WORK/xev.log") - MAPPED_BEFORE))
}

SHOT=$WORK/screen.png

take_screenshot() {
    timeout 10 import -window root "$SHOT" || fail "no screenshot"
}

# The colour of one pixel of the last screenshot as RRGGBB.
pixel() {
    convert "$SHOT" -format "%[hex:p{$1,$2}]" info:
}

# The colours of the pixels in a rectangle of the last screenshot, one RRGGBB a line, each once.
colours_in() {
    convert "$SHOT" -crop "$3x$4+$1+$2" +repage -depth 8 txt:- |
        awk 'NR > 1 { sub("#", "", $3); print substr($3, 1, 6) }' | sort -u
}

# The share of pixels of the last screenshot that are not black, from 0 to 1.
lit_share() {
    convert "$SHOT" -fill white +opaque black -colorspace gray -format "%[fx:mean]" info:
}

# The distinct colours of the last screenshot outside the hint's corner at the bottom left, one
# RRGGBB a line.
scene_colours() {
    convert "$SHOT" -fill black -draw "rectangle 0 $((SCREEN_HEIGHT - 50)) 220 $SCREEN_HEIGHT" \
        -unique-colors -depth 8 txt:- | awk 'NR > 1 { sub("#", "", $3); print substr($3, 1, 6) }'
}

# The circle colours as red, green and blue.
CIRCLE_COLOURS="C0FFC0 FFC0C0 800080 CCCC99 FFFF80 808000 FF00FF CC3030 804040 008080 0000FF C000C0 999999
808080 FF80FF FF0000 FF8080"

start_x_server
