# Shared set-up of the end-to-end tests of Vortexa.scr under Wine, sourced by each e2e_*.sh with the
# path of Vortexa.scr as $1 and of the tests' helper program as $2. The program is copied into a
# fresh folder of its own (its settings file lives beside it); it runs in the Wine session of the
# test run, whose X server has a primary monitor of 1024 x 768 and one of 640 x 480 at its right.
# Every program started here is ended, and the folder removed, when the test exits.

set -euo pipefail

if [ $# -lt 2 ] || [ ! -f "$1" ] || [ ! -f "$2" ]; then
    echo "usage: $0 PATH-TO-VORTEXA.SCR PATH-TO-WINE-HELPER.EXE" >&2
    exit 2
fi
HELPER=$2

source "$(dirname "$0")/wine_env.sh"
source "$(dirname "$0")/../waiting.sh"
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no Wine session runs (wine_session.sh start)" >&2; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/vortexa-wine-e2e.XXXXXX")
PROGRAM_FOLDER=$WORK/program
PROGRAM=$PROGRAM_FOLDER/Vortexa.scr
SCREEN_WIDTH=1024
SCREEN_HEIGHT=768
SAVER_PIDS=()
mkdir -p "$PROGRAM_FOLDER"
cp "$1" "$PROGRAM"

end_everything() {
    local pid
    for pid in "${SAVER_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${SAVER_PIDS[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$WORK"
}
trap end_everything EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts the saver under Wine in the background; its process id is in SAVER_PID. It is ended after
# 100 s: a test that reads the screen back many times takes long on a busy machine.
start_saver() {
    timeout --kill-after=5 100 "$WINE" "$PROGRAM" "$@" >"$WORK/saver.out" 2>"$WORK/saver.err" &
    SAVER_PID=$!
    SAVER_PIDS+=("$SAVER_PID")
}

# Runs the saver to its end and gives its exit status; it must end within 15 s.
run_saver_to_end() {
    local status=0
    timeout --kill-after=5 15 "$WINE" "$PROGRAM" "$@" >"$WORK/run.out" 2>"$WORK/run.err" || status=$?
    echo "$status"
}

# Waits up to the given seconds (10 if not given) for a saver started with start_saver to end and
# sets STATUS to its exit status, or to "running" when it has not ended then.
await_end() {
    STATUS=running
    wait_until "${2:-10}" has_ended "$1" || return 0
    STATUS=0
    wait "$1" || STATUS=$?
}

# Fails unless the saver is still running after a second.
expect_running() {
    sleep 1 # a fixed time: what is looked for here is an end that does not come
    has_ended "$1" && fail "$2"
    return 0
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

# The visible window named "Vortexa" of the given size as "ID X Y"; false when there is none.
shown_window_sized() {
    local window x y width height
    for window in $(xdotool search --onlyvisible --name '^Vortexa$' 2>/dev/null); do
        read -r x y width height < <(geometry_of "$window")
        if [ "$width $height" = "$1 $2" ]; then
            echo "$window $x $y"
            return 0
        fi
    done
    return 1
}

# The visible window named "Vortexa" of the given size, waiting for it up to 30 s (Wine takes a
# moment to start), as "ID X Y"; nothing when none appears.
window_sized() {
    wait_until 30 shown_window_sized "$1" "$2" || true
}

show_window() {
    window_sized "$SCREEN_WIDTH" "$SCREEN_HEIGHT" | cut -d ' ' -f 1
}

# Runs the tests' helper program under Wine ("monitors", "close").
helper() {
    timeout --kill-after=5 30 "$WINE" "$HELPER" "$@" 2>/dev/null | tr -d '\r'
}

# Writes the settings file beside the program: script, circles, border width, clock.
write_settings() {
    printf 'krugN=%s\r\nBorderWidth=%s\r\nSpeed=2\r\nviewTime=%s\r\nScenario=%s\r\nPlen=0\r\nLocal=1\r\n' \
        "$2" "$3" "$4" "$1" >"$PROGRAM_FOLDER/Vortexa.ini"
}

SHOT=$WORK/screen.png

take_screenshot() {
    timeout 10 import -window root "$SHOT" || fail "no screenshot"
}

# The share of pixels of the last screenshot, or of the part WIDTHxHEIGHT+X+Y of it, that are not
# black, from 0 to 1.
lit_share() {
    convert "$SHOT" ${1:+-crop "$1"} -fill white +opaque black -colorspace gray -format "%[fx:mean]" info:
}

# The colours of a part WIDTHxHEIGHT+X+Y of the last screenshot as RRGGBB, the most frequent first.
colours_by_count() {
    convert "$SHOT" -crop "$1" -format %c histogram:info:- | sort -rn |
        sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p'
}

# Takes a screenshot and is true when the dialog whose client area is at X Y shows its buttons
# there, not the black of a show.
dialog_drawn_at() {
    take_screenshot
    [ "$(colours_by_count "380x25+$(($1 + 8))+$(($2 + 384))" | grep -cv 000000)" -gt 2 ]
}

# Takes a screenshot and is true when more than the given share of the part WIDTHxHEIGHT+X+Y of
# the screen (all of it when not given) is lit.
lit_more_than() {
    take_screenshot
    awk -v lit="$(lit_share ${2:-})" -v least="$1" 'BEGIN { exit !(lit > least) }'
}
