# The screen-saver daemon in a fresh HOME, shared by the tests that run the saver under it. The
# daemon runs no saver for root, so as root the daemon, its savers and the user run as nobody.
command -v xscreensaver >/dev/null || fail "xscreensaver is not installed (run scripts/install-deps.sh)"

export HOME=$WORK/home
mkdir -p "$HOME"
as_user=()
if [ "$(id -u)" = 0 ]; then
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    chmod o+x "$WORK"
    chown 65534:65534 "$HOME" "$XDG_RUNTIME_DIR"
fi

DAEMON_PID=
end_daemon() {
    if [ -n "$DAEMON_PID" ]; then
        kill "$DAEMON_PID" 2>/dev/null || true
        wait "$DAEMON_PID" 2>/dev/null || true
    fi
    DAEMON_PID=
}
trap 'end_daemon; end_everything' EXIT

start_daemon() {
    "${as_user[@]}" xscreensaver --no-splash --verbose >"$WORK/daemon.log" 2>&1 &
    DAEMON_PID=$!
    wait_until 20 daemon_answers || fail "the daemon does not answer: $(cat "$WORK/daemon.log")"
}

daemon_answers() {
    kill -0 "$DAEMON_PID" 2>/dev/null || fail "the daemon did not start: $(cat "$WORK/daemon.log")"
    xscreensaver-command -time >/dev/null 2>&1
}

# Takes a screenshot and is true when it shows a black scene with outlines of two circle colours or
# more; the lit share is then in share, the number of circle colours in circles.
black_scene_with_outlines() {
    take_screenshot
    share=$(lit_share)
    circles=0
    for colour in $(scene_colours); do
        case " $(echo $CIRCLE_COLOURS) " in *" $colour "*) circles=$((circles + 1)) ;; esac
    done
    awk -v s="$share" 'BEGIN { exit !(s > 0.0005 && s < 0.2) }' && [ "$circles" -ge 2 ]
}
