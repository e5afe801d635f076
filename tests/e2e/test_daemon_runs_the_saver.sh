# XScreenSaver, the daemon Debian packages, runs the installed saver inside its own window: installed
# into a fresh prefix (or already installed where VORTEXA_INSTALLED_SAVER says) and named in the
# daemon's program list in a fresh HOME, "-select 1" shows the scene (black, with coloured circle
# outlines) on the root window's screen, drawn by a saver that opens no window of its own, and
# "-deactivate" ends the saver within a second. Then a program line with options runs the saver with
# the script and clock it names, whatever the settings file holds.
source "$(dirname "$0")/lib.sh"

source "$(dirname "$0")/daemon.sh"
if [ -n "${VORTEXA_INSTALLED_SAVER:-}" ]; then
    # A saver installed already, by a package.
    INSTALLED=$VORTEXA_INSTALLED_SAVER
else
    BUILD=$(cd "$(dirname "$1")/.." && pwd)
    [ -f "$BUILD/cmake_install.cmake" ] || fail "no build folder to install from above $1"
    PREFIX=$WORK/prefix
    cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" || fail "the install failed: $(cat "$WORK/install.log")"
    INSTALLED=$PREFIX/libexec/xscreensaver/vortexa
fi

# Writes the daemon's settings with one program line, the saver's command given as arguments.
write_daemon_settings() {
    cat >"$HOME/.xscreensaver" <<EOF
mode:		one
selected:	0
timeout:	0:30:00
cycle:		0:00:00
lock:		False
splash:		False
fade:		False
unfade:		False
dpmsEnabled:	False
programs:	"Vortexa"  $*  \n\\
EOF
}


saver_started() {
    [ -n "$(saver_pid)" ]
}

# The saver the daemon started: the installed program, a child of the daemon's display process.
saver_pid() {
    local pid
    for pid in $(pgrep -x vortexa); do
        [ "$(readlink "/proc/$pid/exe")" = "$INSTALLED" ] && echo "$pid"
    done
    return 0
}

# Asks the daemon to show the saver and waits for it; its process id is then in SAVER.
select_saver() {
    xscreensaver-command -select 1 >/dev/null || fail "the daemon refused -select 1"
    wait_until 20 saver_started || true
    SAVER=$(saver_pid | head -n 1)
    [ -n "$SAVER" ] || fail "the daemon did not start the installed saver: $(tail -n 20 "$WORK/daemon.log")"
}

write_daemon_settings "$INSTALLED" --root
start_daemon
select_saver
tr '\0' '\n' <"/proc/$SAVER/environ" | grep -q '^XSCREENSAVER_WINDOW=' ||
    fail "the daemon gave the saver no window"
wait_until 30 black_scene_with_outlines || true
kill -0 "$SAVER" 2>/dev/null || fail "the saver ended on its own: $(tail -n 20 "$WORK/daemon.log")"

# The daemon marks its own window with the pid of the saver running in it; any other window of
# that pid is one the saver opened itself.
for window in $(xdotool search --onlyvisible --pid "$SAVER" 2>/dev/null || true); do
    xprop -id "$window" WM_CLASS | grep -q '"XScreenSaver"' ||
        fail "the saver opened a window of its own instead of drawing in the daemon's: $(xprop -id "$window" WM_CLASS)"
done

awk -v s="$share" 'BEGIN { exit !(s > 0.0005 && s < 0.2) }' || fail "the screen is not a black scene with outlines: lit share $share"
[ "$circles" -ge 2 ] || fail "fewer than two circle colours on the screen: $(scene_colours | tr '\n' ' ')"

xscreensaver-command -deactivate >/dev/null || fail "the daemon refused -deactivate"
wait_until 1 has_ended "$SAVER" || fail "the saver still runs a second after -deactivate"
# The daemon's part that ran the saver writes no more once it has ended itself.
saver_runner_ended() {
    grep -q "xscreensaver-gfx exited" "$WORK/daemon.log"
}
wait_until 20 saver_runner_ended || true
grep -q "exited abnormally" "$WORK/daemon.log" && fail "the daemon saw the saver end abnormally: $(grep abnormally "$WORK/daemon.log")"
echo "ok: the daemon ran the installed saver in its window and ended it"
end_daemon

# The settings file asks for Independence with six circles and no clock; the program line for
# Capture, whose large circle spans some 500 pixels, with the time of day on it.
SETTINGS=$HOME/.config/vortexa/Vortexa.ini
mkdir -p "$(dirname "$SETTINGS")"
printf 'krugN=6\r\nBorderWidth=1\r\nSpeed=2\r\nviewTime=4\r\nScenario=1\r\nPlen=0\r\nLocal=1\r\n' >"$SETTINGS"
[ "$(id -u)" != 0 ] || chown -R 65534:65534 "$HOME/.config"
write_daemon_settings "$INSTALLED" --root --script capture --clock time
start_daemon
select_saver

# Takes a screenshot and is true when it shows a circle 400 pixels wide or more with the time on its
# centre: the widest circle's width is then in widest, its centre in cx and cy, the number of grey
# pixels of the time there in grey.
large_circle_with_the_time() {
    take_screenshot
    widest=0
    grey=0
    local centre= colour width height left top
    for colour in $CIRCLE_COLOURS; do
        read -r width height left top < <(convert "$SHOT" -fill black +opaque "#$colour" -format '%@\n' info: 2>/dev/null | tr 'x+' '  ')
        if [ "$width" -gt "$widest" ] && [ "$width" -lt "$SCREEN_WIDTH" ]; then
            widest=$width
            centre="$((left + width / 2)) $((top + height / 2))"
        fi
    done
    [ "$widest" -ge 400 ] || return 1
    read -r cx cy <<<"$centre"
    # The time label, grey text on black, sits on the large circle's centre.
    grey=$(convert "$SHOT" -crop "120x40+$((cx - 60))+$((cy - 20))" +repage -depth 8 txt:- |
        awk 'NR > 1 { sub("#", "", $3); r = substr($3, 1, 2); g = substr($3, 3, 2); b = substr($3, 5, 2)
                      if (r == g && g == b && r >= "30" && r <= "B0") n++ } END { print n + 0 }')
    [ "$grey" -ge 30 ]
}
wait_until 30 large_circle_with_the_time || true
kill -0 "$SAVER" 2>/dev/null || fail "the saver with options ended on its own: $(tail -n 20 "$WORK/daemon.log")"
[ "$widest" -ge 400 ] || fail "no large circle of Capture on the screen: the widest circle is $widest pixels"
[ "$grey" -ge 30 ] || fail "no time on the large circle at $cx,$cy ($grey grey pixels)"
xscreensaver-command -deactivate >/dev/null || fail "the daemon refused -deactivate"
echo "ok: the program line's options chose Capture with the time over a file that chose neither"
