#!/usr/bin/env bash
# "start": makes the Wine prefix if it is missing, starts an X server of its own on a free display
# and a Wine server that stays, so that each test does not pay for Wine's start. "stop": ends both.
# The X server has two monitors side by side, a primary of 1024 x 768 and one of 640 x 480 at its
# right: the X.Org server with its dummy driver and Xinerama, as Wine finds monitors only that way.
set -euo pipefail
source "$(dirname "$0")/wine_env.sh"
source "$(dirname "$0")/../waiting.sh"

stop_session() {
    timeout 20 "$WINESERVER" -k 2>/dev/null || true
    if [ -f "$SESSION_FILE" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        rm -f "$SESSION_FILE"
    fi
}

# The layout of the two monitors, each a screen of the dummy driver.
write_xorg_configuration() {
    local screen
    cat <<'CONF'
Section "ServerFlags"
    Option "Xinerama" "on"
    Option "AutoAddDevices" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
EndSection
Section "ServerLayout"
    Identifier "layout"
    Screen 0 "screen0"
    Screen 1 "screen1" RightOf "screen0"
EndSection
CONF
    for screen in "0 1024 768" "1 640 480"; do
        read -r number width height <<<"$screen"
        printf 'Section "Device"\n    Identifier "card%s"\n    Driver "dummy"\n    VideoRam 32000\nEndSection\n' "$number"
        printf 'Section "Screen"\n    Identifier "screen%s"\n    Device "card%s"\n    Monitor "monitor"\n' "$number" "$number"
        printf '    DefaultDepth 24\n    SubSection "Display"\n        Depth 24\n        Virtual %s %s\n' "$width" "$height"
        printf '    EndSubSection\nEndSection\n'
    done
}

display_given_or_server_ended() {
    [ -s "$1" ] || has_ended "$XVFB_PID"
}

start_x_server() {
    local display_file=$VORTEXA_WINE_PREFIX/display
    rm -f "$display_file"
    write_xorg_configuration >"$VORTEXA_WINE_PREFIX/xorg.conf"
    # The X server outlives this script: its output goes to a file, not to the caller's pipe.
    setsid Xorg -displayfd 3 -config "$VORTEXA_WINE_PREFIX/xorg.conf" -logfile "$VORTEXA_WINE_PREFIX/xorg.log" \
        -nolisten tcp -noreset 3>"$display_file" >"$VORTEXA_WINE_PREFIX/xvfb.log" 2>&1 </dev/null &
    XVFB_PID=$!
    wait_until 20 display_given_or_server_ended "$display_file" || true
    [ -s "$display_file" ] || { echo "the X server did not start: $(tail -n 5 "$VORTEXA_WINE_PREFIX/xvfb.log")" >&2; exit 1; }
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
    # Wine's use of RandR hides the monitors Xinerama gives; it reads the setting when its server
    # starts.
    for setting in UseXRandR UseXVidMode; do
        timeout 60 "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v $setting /d N /f </dev/null >/dev/null 2>&1 ||
            { echo "Wine does not run programs" >&2; exit 1; }
    done
    timeout 20 "$WINESERVER" -k 2>/dev/null || true
    timeout 20 "$WINESERVER" -w 2>/dev/null || true
    "$WINESERVER" -p600 </dev/null >/dev/null 2>&1
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
