# What the whole-program measurements share: an X server of their own and the CPU time of a process.
# The caller names its folder in `work` and defines `fail`.

# Ends a process this script started: SIGTERM, then SIGKILL after 5 s.
# Copies the vortexa program into a folder as "vortexa", with the settings dialog's module that
# lies beside it, where the program looks for it.
copy_program() { # PROGRAM FOLDER
    cp "$1" "$2/vortexa"
    [ ! -f "$(dirname "$1")/vortexa-dialog.so" ] || cp "$(dirname "$1")/vortexa-dialog.so" "$2/"
}

end_process() {
    kill -TERM "$1" 2>/dev/null || return 0
    for _ in $(seq 50); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1 # the interval between two looks at the process
    done
    kill -KILL "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# Starts Xvfb with one screen of SIZE (WxH) and exports its DISPLAY; its process is xvfb_pid.
start_xvfb() {
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 "${1}x24" -br -noreset -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb at $1 ended at once: $(tail -n 3 "$work/xvfb.log")"
        sleep 0.1 # the interval between two looks for the display's number
    done
    [ -s "$work/display" ] || fail "Xvfb at $1 gave no display within 10 s"
    DISPLAY=":$(head -n 1 "$work/display")"
    export DISPLAY
}

# CPU time (in nanoseconds) a running process has used, all its threads together; fails once it
# has ended. The scheduler's own count (/proc/PID/task/*/schedstat) is exact; utime and stime are
# sampled at the kernel's ticks, and a program that wakes on a steady beat, as a screen saver does,
# can fall between the samples or on them run after run.
cpu_nanoseconds() {
    local stat fields task total=0 found=
    stat=$(<"/proc/$1/stat") 2>/dev/null || return 1
    read -ra fields <<<"${stat##*) }"
    [ "${fields[0]}" != Z ] || return 1
    for task in /proc/"$1"/task/*/schedstat; do
        read -ra fields 2>/dev/null <"$task" || continue
        total=$((total + fields[0]))
        found=yes
    done
    [ -n "$found" ] || return 1
    echo "$total"
}
