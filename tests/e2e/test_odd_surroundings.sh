# What the program is started with does not upset it: a runtime folder named relative to the
# working folder is no folder of the user's and is never made there, and a reader that has gone
# away from the standard output or error never ends a show or the usage text by a signal.
source "$(dirname "$0")/lib.sh"

row_relative_runtime_folder() {
    mkdir -p "$WORK/started-here"
    cd "$WORK/started-here"
    XDG_RUNTIME_DIR=relative start_saver -root
    cd - >/dev/null
    expect_running "$SAVER_PID" "$ROW: the show did not run: $(cat "$WORK/saver.err")"
    # Drawing, the show is past its start, where it takes its lock in the runtime folder.
    wait_until 20 scene_drawn_with 2 || true
    kill "$SAVER_PID"
    [ ! -e "$WORK/started-here/relative" ] || fail "$ROW: the show made ./relative"
}

# The reader closes its end at once; the program writes only after it has loaded.
row_usage_into_a_closed_pipe() {
    local status
    set +o pipefail
    "$PROGRAM" --help | (exec 0<&-)
    status=${PIPESTATUS[0]}
    set -o pipefail
    [ "$status" = 1 ] || fail "$ROW: status $status (141: ended by SIGPIPE)"
}

# The toolkit is made to talk on the standard error, which nobody reads any more.
row_show_into_a_closed_pipe() {
    take_screenshot
    cp "$SHOT" "$WORK/before.png"
    QT_LOGGING_RULES="qt.qpa.*=true" "$PROGRAM" -root > >(exec 0<&-) 2>&1 &
    SAVER_PID=$!
    SAVER_PIDS+=("$SAVER_PID")
    # Moving the scene left on the root before, the show has written the toolkit's talk of its start.
    wait_until 20 screen_moved_from "$WORK/before.png" || true
    expect_running "$SAVER_PID" "$ROW: the show ended"
    kill -TERM "$SAVER_PID"
    await_end "$SAVER_PID" 2
    # Ended by the signal it was sent, as a screen-saver daemon expects, not by a broken pipe.
    [ "$STATUS" = 143 ] || fail "$ROW: status $STATUS"
}

rows=(
    row_relative_runtime_folder
    row_usage_into_a_closed_pipe
    row_show_into_a_closed_pipe
)
for ROW in "${rows[@]}"; do
    $ROW
    echo "ok: $ROW"
done
