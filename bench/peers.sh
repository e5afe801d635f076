#!/usr/bin/env bash
# Vortexa beside three light screen-saver hacks (qix, grav, attraction from xscreensaver-data-extra)
# on X servers of their own, one Xvfb per screen size, each program alone on it in turn.
#
#   bench/peers.sh [--starts N] [--rounds N] [--sizes "WxH ..."] [--modes window,root]
#                  [--scr path/to/Vortexa.scr] [path/to/vortexa] [seconds]
#
# Defaults: build/release/src/vortexa, 20 seconds a program, 10 starts for the first frame, 1 round,
# sizes 1920x1080 and 3840x2160, Vortexa both in its own full-screen window (/s) and drawing on the
# root window (-root; skipped with a note when the program does not support it yet).
#
# A shared machine's speed drifts by a third and more from one minute to the next, for the peers as
# much as for Vortexa. With --rounds N every row's CPU is measured N times, one program after the
# other in each round, and the row gives the run with the median sum.
#
# One row per program and case, after a row of the server alone with nothing drawing:
# - CPU: seconds of CPU per second of the program and of the Xvfb process (the scheduler's count
#   of their time on a CPU, /proc/PID/task/*/schedstat, read at the same moments after a 1.5 s
#   warm-up), their sum, and the sum relative to qix at the same size.
# - ticks/s: the script steps a second, from the file Vortexa writes on SIGTERM when VORTEXA_STATS
#   names it ("ticks=N seconds=S"); "-" for the peers and for a Vortexa that writes no such file.
# - RSS and HWM: VmRSS just before the program is ended and its peak VmHWM, in MiB.
# - first frame: median over the starts of the time from exec to the first non-black pixel on the
#   screen, measured by bench/first_frame.c for every program alike: DAMAGE reports on the root
#   wake it (they cover drawing in child windows too), a whole-screen capture through MIT-SHM
#   checks for colour, and the time is the server's stamp on the first report after the last
#   all-black capture (1 ms steps). It is exact when that drawing brought the colour; when black
#   drawing came first, it can be early by up to one capture, whose time each size's header line
#   gives (8 to 11 ms at 1920x1080 and 24 to 36 ms at 3840x2160 with a load of 10 on 2 cores,
#   a few ms on a quiet machine). Starts that draw nothing within 10 s count as failures ("n/m
#   starts failed" in the note).
#
# With --scr, the Windows build joins each size under Wine (the prefix of tests/windows/wine_env.sh,
# VORTEXA_WINE_PREFIX to choose it; made on first use), its own Wine server started for the size:
# one row per Vortexa case in its own window, and a row "wine-probe" for the floor Wine sets, a bare
# GDI program (bench/wine_probe.c) moving ten circle outlines at 100 steps a second and erasing and
# redrawing only them with plain pens on the window. Their "prog s/s" is the Windows program's
# process, "sum s/s" adds the Wine server (given in the note) and Xvfb. Vortexa.scr is ended by a
# close request, as the system ends it, and writes its steps then. No first frame is measured.
#
# Needs Xvfb, a C compiler and the xcb, DAMAGE and MIT-SHM headers (scripts/install-deps.sh); --scr
# needs Wine and the MinGW-w64 cross compiler.
set -euo pipefail
export LC_ALL=C

starts=10
rounds=1
sizes="1920x1080 3840x2160"
modes="window,root"
warm_up=1.5
scr=
while [ $# -gt 0 ]; do
    case $1 in
    --scr) scr=${2:?--scr needs the path of Vortexa.scr}; shift 2 ;;
    --starts) starts=${2:?--starts needs a number}; shift 2 ;;
    --rounds) rounds=${2:?--rounds needs a number}; shift 2 ;;
    --sizes) sizes=${2:?--sizes needs a list like "1920x1080 3840x2160"}; shift 2 ;;
    --modes) modes=${2:?--modes needs window, root or window,root}; shift 2 ;;
    -h | --help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    --*) echo "peers.sh: unknown option $1 (see --help)" >&2; exit 2 ;;
    *) break ;;
    esac
done
program=${1:-build/release/src/vortexa}
seconds=${2:-20}
hacks=/usr/libexec/xscreensaver
peers=(qix grav attraction)

fail() {
    echo "peers.sh: $*" >&2
    exit 2
}
[[ $starts =~ ^[0-9]+$ ]] || fail "--starts must be a whole number, not '$starts'"
[[ $rounds =~ ^[1-9][0-9]*$ ]] || fail "--rounds must be a whole number from 1, not '$rounds'"
[[ $seconds =~ ^[0-9]*[1-9][0-9]*([.][0-9]+)?$|^[0-9]+[.][0-9]*[1-9][0-9]*$ ]] ||
    fail "seconds must be a positive number, not '$seconds'"
[[ $modes =~ ^(window|root)(,(window|root))?$ ]] ||
    fail "--modes must be window, root or window,root, not '$modes'"
for size in $sizes; do
    [[ $size =~ ^[1-9][0-9]*x[1-9][0-9]*$ ]] || fail "a size must look like 1920x1080, not '$size'"
done
[ -x "$program" ] || fail "no program at $program (build the release preset, or give its path)"
command -v Xvfb >/dev/null || fail "Xvfb is missing (scripts/install-deps.sh installs it)"
for peer in "${peers[@]}"; do
    [ -x "$hacks/$peer" ] || fail "$hacks/$peer is missing (scripts/install-deps.sh installs xscreensaver-data-extra)"
done

[ -z "$scr" ] || [ -f "$scr" ] || fail "no Vortexa.scr at $scr (build the windows preset, or give its path)"

work=$(mktemp -d)
xvfb_pid=
running_pid=
wineserver_pid=
cleanup() {
    trap - EXIT INT TERM HUP
    [ -n "$running_pid" ] && end_process "$running_pid"
    [ -n "$wineserver_pid" ] && end_process "$wineserver_pid"
    [ -n "$xvfb_pid" ] && end_process "$xvfb_pid"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

source_dir=$(dirname "$0")
# shellcheck disable=SC2046
cc -O2 -std=c11 -Wall -Wextra -Wpedantic -Wshadow -o "$work/first_frame" "$source_dir/first_frame.c" \
    $(pkg-config --cflags --libs xcb xcb-damage xcb-shm 2>/dev/null || echo -lxcb -lxcb-damage -lxcb-shm) ||
    fail "cannot build first_frame.c (scripts/install-deps.sh installs the xcb headers)"
if [ -n "$scr" ]; then
    source "$source_dir/../tests/windows/wine_env.sh"
    x86_64-w64-mingw32-gcc -O2 -std=c11 -Wall -Wextra -o "$work/wine_probe.exe" "$source_dir/wine_probe.c" \
        -lgdi32 -luser32 -lwinmm || fail "cannot build wine_probe.c (scripts/install-deps.sh installs MinGW-w64)"
fi
mkdir -p "$work/program" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb

source "$source_dir/xvfb_measure.sh"
copy_program "$program" "$work/program"

memory_mib() {
    awk -v key="$2:" '$1 == key { printf "%.1f", $2 / 1024 }' "/proc/$1/status"
}

write_settings() { # script circles border clock
    printf 'krugN=%s\r\nBorderWidth=%s\r\nSpeed=5\r\nviewTime=%s\r\nScenario=%s\r\nPlen=0\r\nLocal=1\r\n' \
        "$2" "$3" "$4" "$1" >"$work/program/Vortexa.ini"
}

# The last line a program wrote, after a colon, if it wrote any.
last_words() {
    local line
    line=$(tail -n 1 "$1" 2>/dev/null)
    [ -z "$line" ] || echo ": $line"
}

# Runs the command for the given seconds after the warm-up and sets the globals cpu_program,
# cpu_server, cpu_extra (of the process extra_pid names, if any), rss, hwm, ticks_per_second and
# run_note. The command end_command, when set, asks the program to end before it is stopped.
extra_pid=
end_command=
measure_load() {
    local stats=$work/stats before_program before_server after_program after_server began ended
    local before_extra=0 after_extra=0
    cpu_program=- cpu_server=- cpu_extra=- rss=- hwm=- ticks_per_second=- run_note=
    rm -f "$stats"
    VORTEXA_STATS=$stats "$@" >"$work/program.log" 2>&1 &
    running_pid=$!
    sleep "$warm_up"
    if ! kill -0 "$running_pid" 2>/dev/null; then
        local status=0
        wait "$running_pid" 2>/dev/null || status=$?
        running_pid=
        run_note="ended during the warm-up with status $status$(last_words "$work/program.log")"
        return
    fi
    began=$EPOCHREALTIME
    before_program=$(cpu_nanoseconds "$running_pid") || true
    before_server=$(cpu_nanoseconds "$xvfb_pid") || true
    [ -z "$extra_pid" ] || before_extra=$(cpu_nanoseconds "$extra_pid") || true
    sleep "$seconds"
    ended=$EPOCHREALTIME
    [ -z "$extra_pid" ] || after_extra=$(cpu_nanoseconds "$extra_pid") || true
    if after_program=$(cpu_nanoseconds "$running_pid") && after_server=$(cpu_nanoseconds "$xvfb_pid") &&
        [ -n "$before_program" ] && [ -n "$before_server" ]; then
        read -r cpu_program cpu_server cpu_extra < <(awk -v p=$((after_program - before_program)) \
            -v s=$((after_server - before_server)) -v e=$((after_extra - before_extra)) -v hz=1e9 \
            -v began="$began" -v ended="$ended" \
            'BEGIN { t = ended - began; printf "%.4f %.4f %.4f\n", p / hz / t, s / hz / t, e / hz / t }')
        [ -n "$extra_pid" ] || cpu_extra=-
        rss=$(memory_mib "$running_pid" VmRSS)
        hwm=$(memory_mib "$running_pid" VmHWM)
    else
        run_note="ended during the run$(last_words "$work/program.log")"
    fi
    if [ -n "$end_command" ]; then
        $end_command >/dev/null 2>&1 || true
        for _ in $(seq 50); do
            kill -0 "$running_pid" 2>/dev/null || break
            sleep 0.1
        done
    fi
    end_process "$running_pid"
    running_pid=
    if [ -s "$stats" ]; then
        ticks_per_second=$(awk '{ for (i = 1; i <= NF; ++i) { split($i, kv, "="); v[kv[1]] = kv[2] } }
            END { if (v["seconds"] > 0) printf "%.1f", v["ticks"] / v["seconds"]; else print "-" }' "$stats")
    fi
}

# Starts the command the given number of times and sets first_frame (median ms) and frame_note.
measure_first_frame() {
    local values=() failures=0 output status
    first_frame=- frame_note=
    for _ in $(seq "$starts"); do
        "$work/first_frame" --timeout 10 "$@" >"$work/first_frame.out" 2>"$work/first_frame.err" &
        running_pid=$!
        status=0
        wait "$running_pid" || status=$?
        running_pid=
        [ "$status" -eq 2 ] && fail "first_frame: $(cat "$work/first_frame.err")"
        output=$(cat "$work/first_frame.out")
        if [ "$status" -eq 0 ] && [[ $output =~ first_frame_ms=([0-9.]+) ]]; then
            values+=("${BASH_REMATCH[1]}")
        else
            failures=$((failures + 1))
            frame_note=$(last_words "$work/first_frame.err" | sed "s|first_frame: ||; s|$work/program/||; s|$hacks/||")
        fi
    done
    if [ "${#values[@]}" -gt 0 ]; then
        first_frame=$(printf '%s\n' "${values[@]}" | sort -n |
            awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.0f", m }')
    fi
    [ "$failures" -gt 0 ] && frame_note="$failures/$starts starts failed$frame_note"
    return 0
}

# The Windows build's rows for one size, under a Wine server of their own on this size's Xvfb.
measure_windows() {
    local run scenario circles border clock label
    start_wine
    cp "$scr" "$work/program/Vortexa.scr"
    extra_pid=$wineserver_pid
    end_command="$WINE $work/wine_probe.exe close"
    for run in "${vortexa_cases[@]}"; do
        read -r scenario circles border clock label <<<"$run"
        write_settings "$scenario" "$circles" "$border" "$clock"
        measure_load "$WINE" "$work/program/Vortexa.scr" /s
        first_frame=- frame_note=
        print_row vortexa.scr "$label window" "$1"
    done
    end_command=
    measure_load "$WINE" "$work/wine_probe.exe" circles
    first_frame=- frame_note=
    print_row wine-probe "10 circles, 100 Hz" "$1"
    extra_pid=
    end_process "$wineserver_pid"
    wineserver_pid=
}

# Starts a Wine server that stays for this size's X server, the prefix made first if missing.
start_wine() {
    timeout 20 "$WINESERVER" -k 2>/dev/null || true
    timeout 20 "$WINESERVER" -w 2>/dev/null || true
    "$WINESERVER" -f -p >/dev/null 2>&1 &
    wineserver_pid=$!
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        timeout 300 "$WINE" wineboot --init >/dev/null 2>&1 || fail "Wine could not make its prefix $WINEPREFIX"
    fi
    timeout 60 "$WINE" cmd /c exit 0 </dev/null >/dev/null 2>&1 || fail "Wine does not run programs"
}

row_format='%-10s %-20s %-9s %8s %8s %8s %6s %8s %7s %7s %8s  %s\n'
qix_sum=
print_row() { # program case size, then the globals of the two measurements
    local sum=- relative=- note
    if [ "$cpu_program" != - ]; then
        sum=$(awk -v p="$cpu_program" -v s="$cpu_server" -v e="${cpu_extra:--}" \
            'BEGIN { if (e == "-") e = 0; printf "%.4f", p + s + e }')
        [ "$1" = qix ] && qix_sum=$sum
        [ -n "$qix_sum" ] && relative=$(awk -v a="$sum" -v q="$qix_sum" 'BEGIN { if (q > 0) printf "%.1f", a / q; else print "-" }')
    fi
    note=$(echo "$run_note${run_note:+; }$frame_note" | cut -c1-120)
    [ "${cpu_extra:--}" = - ] || note="wineserver $cpu_extra s/s${note:+; }$note"
    # shellcheck disable=SC2059
    printf "$row_format" "$1" "$2" "$3" "$cpu_program" "$cpu_server" "$sum" "$relative" "$ticks_per_second" \
        "$rss" "$hwm" "$first_frame" "$note"
}

echo "# $(date -u '+%F %T') UTC, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), ${seconds} s a program, $starts starts"
# shellcheck disable=SC2059
printf "$row_format" program case size "prog s/s" "Xvfb s/s" "sum s/s" "x qix" ticks/s "RSS MiB" "HWM MiB" \
    "first ms" note

# script circles border clock label: the most circles each script takes, clock 0 the time-of-day
# label, 3 the dial.
vortexa_cases=("1 12 1 0 s1 label b1" "2 10 1 0 s2 label b1" "3 20 1 0 s3 label b1" "3 20 1 3 s3 dial b1"
    "1 12 3 0 s1 label b3" "3 20 3 3 s3 dial b3")
# The rows of one size, measured in rounds (see --rounds): each row's program, case, settings ("-"
# for none) and command, and whether its first frame is measured.
row_programs=() row_cases=() row_settings=() row_commands=() row_first_frames=()
add_row() { # program case settings first-frame(yes/no) command...
    row_programs+=("$1") row_cases+=("$2") row_settings+=("$3") row_first_frames+=("$4")
    shift 4
    row_commands+=("$*")
}

# Measures the rows, every row once a round, and prints each with the run of the median sum.
measure_rows() { # size
    local round k runs median sum
    declare -A frames frame_notes
    rm -f "$work"/row-*
    for round in $(seq "$rounds"); do
        for k in "${!row_programs[@]}"; do
            # shellcheck disable=SC2086
            [ "${row_settings[k]}" = - ] || write_settings ${row_settings[k]}
            # shellcheck disable=SC2086
            measure_load ${row_commands[k]}
            # A run that ended early sorts last.
            sum=$(awk -v p="$cpu_program" -v s="$cpu_server" 'BEGIN { if (p == "-") print 1e9; else printf "%.4f\n", p + s }')
            echo "$sum $cpu_program $cpu_server $rss $hwm $ticks_per_second $run_note" >>"$work/row-$k"
            if [ "$round" = 1 ] && [ "${row_first_frames[k]}" = yes ]; then
                # shellcheck disable=SC2086
                measure_first_frame ${row_commands[k]}
                frames[$k]=$first_frame frame_notes[$k]=$frame_note
            fi
        done
    done
    for k in "${!row_programs[@]}"; do
        runs=$(sort -g "$work/row-$k")
        median=$(sed -n "$(((rounds + 1) / 2))p" <<<"$runs")
        read -r _ cpu_program cpu_server rss hwm ticks_per_second run_note <<<"$median"
        cpu_extra=- first_frame=${frames[$k]:--} frame_note=${frame_notes[$k]:-}
        [ "${row_programs[k]}" != "(none)" ] || rss=- hwm=-
        print_row "${row_programs[k]}" "${row_cases[k]}" "$1"
    done
    row_programs=() row_cases=() row_settings=() row_commands=() row_first_frames=()
}

root_checked=
for size in $sizes; do
    start_xvfb "$size"
    echo "# $size on display $DISPLAY: one capture of the idle screen takes" \
        "$("$work/first_frame" --capture-time | sed 's/capture_ms=//') ms"
    qix_sum=
    # The server's own cost with nothing drawing, for reading the rows below.
    add_row "(none)" "idle server" - no sleep infinity
    for peer in "${peers[@]}"; do
        add_row "$peer" "-root -delay 10000" - yes "$hacks/$peer" -root -delay 10000
    done
    for run in "${vortexa_cases[@]}"; do
        read -r scenario circles border clock label <<<"$run"
        if [[ $modes == *root* ]] && [ -z "$root_checked" ]; then
            root_checked=yes
            write_settings "$scenario" "$circles" "$border" "$clock"
            probe=$("$work/first_frame" --timeout 10 "$work/program/vortexa" -root 2>&1) || true
            if [[ $probe != *toplevel=0* ]]; then
                reason="drew nothing: ${probe//$work\/program\//}"
                [[ $probe == *toplevel=1* ]] && reason="opened a window of its own"
                echo "# vortexa -root $reason; the -root rows are left out"
                modes=${modes//root/}
            fi
        fi
        for mode in window root; do
            [[ $modes == *$mode* ]] || continue
            switch=/s
            [ "$mode" = root ] && switch=-root
            add_row vortexa "$label $mode" "$scenario $circles $border $clock" yes "$work/program/vortexa" "$switch"
        done
    done
    measure_rows "$size"
    [ -z "$scr" ] || measure_windows "$size"
    end_process "$xvfb_pid"
    xvfb_pid=
done
