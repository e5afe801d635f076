#!/usr/bin/env bash
# "start": makes the Wine prefix if it is missing, starts an X server of its own on a free display
# and a Wine server that stays, so that each test does not pay for Wine's start. "stop": ends both.
set -euo pipefail
source "$(dirname "$0")/wine_env.sh"

stop_session() {
    timeout 20 "$WINESERVER" -k 2>/dev/null || true
    if [ -f "$SESSION_FILE" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        rm -f "$SESSION_FILE"
    fi
}

start_x_server() {
    local display_file=$VORTEXA_WINE_PREFIX/display tries
    rm -f "$display_file"
    # The X server outlives this script: its output goes to a file, not to the caller's pipe.
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
        3>"$display_file" >"$VORTEXA_WINE_PREFIX/xvfb.log" 2>&1 </dev/null &
    XVFB_PID=$!
    for tries in $(seq 100); do
        [ -s "$display_file" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    [ -s "$display_file" ] || { echo "the X server did not start: $(cat "$VORTEXA_WINE_PREFIX/xvfb.log")" >&2; exit 1; }
    DISPLAY=":$(head -n 1 "$display_file")"
    printf 'DISPLAY=%s\nXVFB_PID=%s\n' "$DISPLAY" "$XVFB_PID" >"$SESSION_FILE"
    export DISPLAY
}

case "${1:-}" in
start)
    mkdir -p "$VORTEXA_WINE_PREFIX" "$WINEPREFIX"
    stop_session
    start_x_server
    # The server ends on its own a while after its last program, should the stop never come. It
    # and the programs Wine keeps running must not hold the caller's output open.
    "$WINESERVER" -p600 </dev/null >/dev/null 2>&1
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "making the Wine prefix $WINEPREFIX"
        timeout --kill-after=10 300 "$WINE" wineboot --init </dev/null >"$VORTEXA_WINE_PREFIX/wineboot.log" 2>&1 ||
            { cat "$VORTEXA_WINE_PREFIX/wineboot.log" >&2; exit 1; }
    fi
    timeout 60 "$WINE" cmd /c exit 0 </dev/null >/dev/null 2>&1 || { echo "Wine does not run programs" >&2; exit 1; }
    echo "Wine runs on $DISPLAY"
    ;;
stop)
    stop_session
    ;;
*)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
