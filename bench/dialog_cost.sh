#!/usr/bin/env bash
# What the settings dialog costs while it is open over a running show, against the show alone.
#
#   bench/dialog_cost.sh [--scr path/to/Vortexa.scr] [--no-linux] [path/to/vortexa] [seconds]
#
# Defaults: build/release/src/vortexa, 10 seconds a measurement. Each system runs on an Xvfb of
# its own at 1920x1080 with the default settings: the show is started with /s and measured alone,
# then "1" is pressed, and once the dialog's window is there the same show with the dialog over it
# is measured again. CPU is the program's and the X server's utime + stime from /proc/PID/stat per
# second, and under Wine (--scr, the prefix of tests/windows/wine_env.sh) the Wine server's too.
# One row per system: the show alone, with the dialog, and their ratio.
#
# Needs Xvfb, xdotool and xwininfo (scripts/install-deps.sh); --scr needs Wine.
set -euo pipefail
export LC_ALL=C

scr=
linux=yes
while [ $# -gt 0 ]; do
    case $1 in
    --scr) scr=${2:?--scr needs the path of Vortexa.scr}; shift 2 ;;
    --no-linux) linux=; shift ;;
    -h | --help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    --*) echo "dialog_cost.sh: unknown option $1 (see --help)" >&2; exit 2 ;;
    *) break ;;
    esac
done
program=${1:-build/release/src/vortexa}
seconds=${2:-10}
warm_up=1.5

fail() {
    echo "dialog_cost.sh: $*" >&2
    exit 2
}
[[ $seconds =~ ^[0-9]+([.][0-9]+)?$ ]] || fail "seconds must be a number, not '$seconds'"
[ -z "$linux" ] || [ -x "$program" ] || fail "no program at $program (build the release preset, or give its path)"
[ -z "$scr" ] || [ -f "$scr" ] || fail "no Vortexa.scr at $scr (build the windows preset, or give its path)"
for tool in Xvfb xdotool xwininfo; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done

work=$(mktemp -d)
xvfb_pid=
program_pid=
wineserver_pid=
cleanup() {
    trap - EXIT INT TERM HUP
    [ -n "$program_pid" ] && end_process "$program_pid"
    [ -n "$wineserver_pid" ] && end_process "$wineserver_pid"
    [ -n "$xvfb_pid" ] && end_process "$xvfb_pid"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP
mkdir -p "$work/program" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb

source "$(dirname "$0")/xvfb_measure.sh"

# CPU time (in nanoseconds) of the running processes together.
cpu_time_together() {
    local pid time total=0
    for pid in "$@"; do
        time=$(cpu_nanoseconds "$pid") || fail "process $pid ended during the measurement"
        total=$((total + time))
    done
    echo "$total"
}

# Seconds of CPU per second that the processes use over the measurement.
cpu_per_second() {
    local before after began ended
    sleep "$warm_up"
    began=$EPOCHREALTIME
    before=$(cpu_time_together "$@")
    sleep "$seconds"
    after=$(cpu_time_together "$@")
    ended=$EPOCHREALTIME
    awk -v t=$((after - before)) -v hz=1e9 -v began="$began" -v ended="$ended" \
        'BEGIN { printf "%.4f", t / hz / (ended - began) }'
}

# The visible window named "Vortexa" of the given size, waiting up to 30 s for it.
window_sized() {
    local window size
    for _ in $(seq 150); do
        for window in $(xdotool search --onlyvisible --name '^Vortexa$' 2>/dev/null); do
            size=$(xwininfo -id "$window" | awk '/^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF } END { print w "x" h }')
            [ "$size" = "$1" ] && echo "$window" && return 0
        done
        sleep 0.2
    done
    return 1
}

format='%-8s %-34s %10s %12s %7s\n'

# Measures the show the command starts, then the dialog over it; the other processes to count
# are given after "--".
measure() { # system label command... -- other pids...
    local system=$1 label=$2 command=() others=() show dialog show_window
    shift 2
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        command+=("$1")
        shift
    done
    [ $# -gt 0 ] && shift
    others=("$@")
    "${command[@]}" >"$work/program.log" 2>&1 &
    program_pid=$!
    show_window=$(window_sized 1920x1080) || fail "$system: no show appeared: $(tail -n 3 "$work/program.log")"
    show=$(cpu_per_second "$program_pid" "${others[@]}")
    xdotool windowfocus "$show_window" 2>/dev/null || true
    xdotool key 1
    window_sized 396x421 >/dev/null || fail "$system: no dialog appeared after the key 1"
    dialog=$(cpu_per_second "$program_pid" "${others[@]}")
    end_process "$program_pid"
    program_pid=
    # shellcheck disable=SC2059
    printf "$format" "$system" "$label" "$show" "$dialog" "$(awk -v s="$show" -v d="$dialog" \
        'BEGIN { if (s > 0) printf "%.2f", d / s; else print "-" }')"
}

echo "# $(date -u '+%F %T') UTC, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), $seconds s each"
# shellcheck disable=SC2059
printf "$format" system "processes measured" "show s/s" "dialog s/s" ratio
start_xvfb 1920x1080
if [ -n "$linux" ]; then
    copy_program "$program" "$work/program"
    measure linux "vortexa + Xvfb" "$work/program/vortexa" /s -- "$xvfb_pid"
fi
if [ -n "$scr" ]; then
    display=$DISPLAY
    source "$(dirname "$0")/../tests/windows/wine_env.sh"
    export DISPLAY=$display
    timeout 20 "$WINESERVER" -k 2>/dev/null || true
    timeout 20 "$WINESERVER" -w 2>/dev/null || true
    "$WINESERVER" -f -p >/dev/null 2>&1 &
    wineserver_pid=$!
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        timeout 300 "$WINE" wineboot --init >/dev/null 2>&1 || fail "Wine could not make its prefix $WINEPREFIX"
    fi
    cp "$scr" "$work/program/Vortexa.scr"
    measure wine "Vortexa.scr + wineserver + Xvfb" "$WINE" "$work/program/Vortexa.scr" /s -- \
        "$wineserver_pid" "$xvfb_pid"
fi
