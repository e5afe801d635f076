# What the show cannot draw in is refused in one line with status 2, and a window that goes wrong
# once the show runs ends it as the window's destruction does: never a show that runs on into a
# flood of X errors, never an abort. One table of given windows, one of displays and screens.
source "$(dirname "$0")/lib.sh"

HOST=${VORTEXA_HOST_WINDOW:?the host window helper}
MOST_X_ERRORS=3
# Rows that count X errors have the toolkit write each one to the standard error.
COUNT_X_ERRORS=qt.qpa.xcb=true

# Makes a thing of the kind given (see host_window.cpp); its id is in HOST_ID.
HOSTS=0
open_host() {
    HOSTS=$((HOSTS + 1))
    HOST_FILES=$WORK/host$HOSTS
    mkfifo "$HOST_FILES.in"
    "$HOST" 400 300 "$1" <"$HOST_FILES.in" >"$HOST_FILES.out" &
    HOST_PID=$!
    SAVER_PIDS+=("$HOST_PID")
    exec {HOST_INPUT}>"$HOST_FILES.in"
    wait_until 20 test -s "$HOST_FILES.out" || true
    HOST_ID=$(head -n 1 "$HOST_FILES.out")
    [ -n "$HOST_ID" ] || fail "$ROW: the host made nothing"
}

# Takes a screenshot and is true when the show draws circle colours in the host's window.
scene_in_host_window() {
    take_screenshot
    [ "$(colours_in 0 0 400 300 | grep -cwF "$(tr ' ' '\n' <<<"$CIRCLE_COLOURS")" || true)" -ge 2 ]
}

x_errors() {
    grep -c "XCB error" "$1" || true
}

expect_one_line_of_ours() { # the file of the standard error
    [ "$(grep -c "^vortexa: " "$1")" = 1 ] || fail "$ROW: the message was: $(grep -v "XCB error" "$1" | head -c 600)"
}

expect_refused() { # the file of the standard error
    [ "$STATUS" = 2 ] || fail "$ROW: status $STATUS; $(head -c 400 "$1")"
    [ "$(wc -l <"$1")" = 1 ] && grep -q "^vortexa: " "$1" || fail "$ROW: the message was: $(head -c 600 "$1")"
}

row_not_a_window() { # the kind: pixmap, inputonly
    open_host "$1"
    start_saver -window-id "$HOST_ID"
    await_end "$SAVER_PID" 3
    echo destroy >&"$HOST_INPUT" # frees a pixmap: a show that took it would now draw on nothing
    expect_refused "$WORK/saver.err"
}

# The window goes between the show's first look at it and the show's taking it: the debugger
# holds the show at the request that selects the window's events, and the window is destroyed
# then: the debugger goes on once the host has ended.
# The leak check of a sanitized build cannot run under a debugger.
UNDER_DEBUGGER="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

row_destroyed_at_start() {
    open_host window
    STATUS=0
    QT_LOGGING_RULES=$COUNT_X_ERRORS ASAN_OPTIONS=$UNDER_DEBUGGER timeout 20 gdb -q -batch -nx \
        -ex "set breakpoint pending on" \
        -ex "break xcb_change_window_attributes if \$rsi == $HOST_ID" \
        -ex "break xcb_change_window_attributes_checked if \$rsi == $HOST_ID" \
        -ex "run -window-id $HOST_ID 2>$WORK/run.err >/dev/null" \
        -ex "shell echo destroy >$HOST_FILES.in; bash -c 'source $WAITING; wait_until 20 has_ended $HOST_PID'" \
        -ex "continue" \
        "$PROGRAM" >"$WORK/gdb.out" 2>&1 || STATUS=$?
    [ "$STATUS" != 124 ] || fail "$ROW: the show ran on with $(x_errors "$WORK/run.err") X errors"
    grep -q "^Breakpoint 1\|^Breakpoint 2\|Thread .* hit Breakpoint" "$WORK/gdb.out" ||
        fail "$ROW: the debugger never held the show: $(tail -5 "$WORK/gdb.out")"
    STATUS=$(sed -n 's/.*exited with code \([0-9]*\).*/\1/p; s/.*exited normally.*/0/p' "$WORK/gdb.out" | tail -1)
    STATUS=$((10#${STATUS:-999}))
    if [ "$STATUS" = 2 ]; then
        expect_one_line_of_ours "$WORK/run.err"
    else
        [ "$STATUS" = 0 ] || fail "$ROW: status $STATUS: $(tail -3 "$WORK/gdb.out")"
    fi
    [ "$(x_errors "$WORK/run.err")" -le $MOST_X_ERRORS ] || fail "$ROW: $(x_errors "$WORK/run.err") X errors"
}

# A window the show has taken goes while it draws: the show ends within a second, quietly.
row_destroyed_later() {
    open_host window
    QT_LOGGING_RULES=$COUNT_X_ERRORS start_saver -window-id "$HOST_ID"
    wait_until 20 scene_in_host_window || true
    expect_running "$SAVER_PID" "$ROW: the show did not start: $(cat "$WORK/saver.err")"
    echo destroy >&"$HOST_INPUT"
    await_end "$SAVER_PID" 1
    [ "$STATUS" = 0 ] || fail "$ROW: status $STATUS"
    [ "$(x_errors "$WORK/saver.err")" -le $MOST_X_ERRORS ] || fail "$ROW: $(x_errors "$WORK/saver.err") X errors"
}

# A display that is there with a screen that is not, one not there at all, and no display named.
row_display() { # the value of DISPLAY, or "unset"
    local display=$1
    [ "$display" = this-one-screen-1 ] && display=${DISPLAY}.1
    STATUS=0
    if [ "$display" = unset ]; then
        env -u DISPLAY timeout 5 "$PROGRAM" -root >"$WORK/run.out" 2>"$WORK/run.err" || STATUS=$?
    else
        DISPLAY=$display timeout 5 "$PROGRAM" -root >"$WORK/run.out" 2>"$WORK/run.err" || STATUS=$?
    fi
    expect_refused "$WORK/run.err"
    grep -q "no display to show on" "$WORK/run.err" || fail "$ROW: the message was: $(cat "$WORK/run.err")"
}

# The server goes away after the display was reached, as the platform starts on it: the debugger
# holds the program there while the server is ended, and goes on once the server has ended.
row_server_gone_at_start() {
    local display server
    start_other_x_server 640x480x24
    server=$OTHER_X_SERVER
    display=$OTHER_DISPLAY
    DISPLAY=$display ASAN_OPTIONS=$UNDER_DEBUGGER timeout 30 gdb -q -batch -nx \
        -ex "set breakpoint pending on" \
        -ex "break vortexa::X11Platform::X11Platform" \
        -ex "run -root 2>$WORK/run.err >/dev/null" \
        -ex "shell kill $server; bash -c 'source $WAITING; wait_until 20 has_ended $server'" \
        -ex "continue" -ex "continue" \
        "$PROGRAM" >"$WORK/gdb.out" 2>&1 || true
    grep -q "^Breakpoint 1[.0-9]*, " "$WORK/gdb.out" || fail "$ROW: the debugger never held the start: $(tail -5 "$WORK/gdb.out")"
    STATUS=$(sed -n 's/.*exited with code \([0-9]*\).*/\1/p' "$WORK/gdb.out" | tail -1)
    STATUS=$((10#${STATUS:-999}))
    expect_refused "$WORK/run.err"
}

# A screen of 8 bits a pixel holds a palette, not colours the show can draw.
row_palette_screen() {
    local display
    start_other_x_server 640x480x8
    display=$OTHER_DISPLAY
    STATUS=0
    DISPLAY=$display timeout 5 "$PROGRAM" -root >"$WORK/run.out" 2>"$WORK/run.err" || STATUS=$?
    expect_refused "$WORK/run.err"
}

rows=(
    "row_not_a_window pixmap"
    "row_not_a_window inputonly"
    "row_destroyed_at_start"
    "row_destroyed_later"
    "row_display this-one-screen-1"
    "row_display :4242.0"
    "row_display unset"
    "row_server_gone_at_start"
    "row_palette_screen"
)
for ROW in "${rows[@]}"; do
    $ROW
    echo "ok: $ROW"
done
