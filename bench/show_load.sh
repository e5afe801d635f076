#!/usr/bin/env bash
# The load of the real saver on an X server of its own: CPU time of the saver over a number of
# seconds of each script, on a screen of the given size.
#
#   bench/show_load.sh [path/to/vortexa] [WIDTHxHEIGHT] [seconds]
set -euo pipefail
program=${1:-build/release/src/vortexa}
screen=${2:-3840x2160}
seconds=${3:-10}
work=$(mktemp -d)
xvfb_pid=
saver_pid=
cleanup() {
    [ -n "$saver_pid" ] && kill "$saver_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
until [ -s "$work/display" ]; do sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work
mkdir -p "$work/program"
cp "$program" "$work/program/vortexa"
ticks=$(getconf CLK_TCK)

printf '%-8s %-8s %-6s %14s\n' script circles clock "CPU (% of a core)"
for run in "1 12 0" "2 10 2" "3 20 0" "3 20 3"; do
    read -r scenario circles clock <<<"$run"
    printf 'krugN=%s\r\nBorderWidth=1\r\nSpeed=5\r\nviewTime=%s\r\nScenario=%s\r\nPlen=1\r\nLocal=1\r\n' \
        "$circles" "$clock" "$scenario" >"$work/program/Vortexa.ini"
    "$work/program/vortexa" /s &
    saver_pid=$!
    sleep 1
    before=$(awk '{ print $14 + $15 }' "/proc/$saver_pid/stat")
    sleep "$seconds"
    after=$(awk '{ print $14 + $15 }' "/proc/$saver_pid/stat")
    kill "$saver_pid"
    wait "$saver_pid" 2>/dev/null || true
    saver_pid=
    printf '%-8s %-8s %-6s %14s\n' "$scenario" "$circles" "$clock" \
        "$(awk -v t=$((after - before)) -v hz="$ticks" -v s="$seconds" 'BEGIN { printf "%.0f", 100 * t / hz / s }')"
done
