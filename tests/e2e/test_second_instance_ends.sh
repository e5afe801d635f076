# A second saver started while one runs ends at once, successfully, without a window; the first
# one keeps running. The display may be named another way, and the settings dialog is alone on a
# display even when the command line also names a window to show in. One row a second start.
source "$(dirname "$0")/lib.sh"

start_saver /s
first=$SAVER_PID
[ -n "$(window_of "$first")" ] || fail "the first saver showed no window"

row_second() { # the display as the second start names it, then its switches
    local display=$1
    shift
    watch_windows
    local status
    status=$(DISPLAY=$display run_saver_to_end "$@")
    [ "$status" = 0 ] || fail "$ROW: the second saver ended with status $status"
    [ "$(windows_mapped)" = 0 ] || fail "$ROW: the second saver showed a window"
    kill -0 "$first" || fail "$ROW: the first saver ended"
}

rows=(
    "row_second $DISPLAY /s"
    "row_second $DISPLAY"
    "row_second unix$DISPLAY /s"
    "row_second $DISPLAY.0 /s"
    "row_second $DISPLAY /c -root"
)
for ROW in "${rows[@]}"; do
    $ROW
    echo "ok: $ROW"
done
