# A monitor that overlaps the primary (a projector, a mirror of another resolution) leaves the scene
# whole: its cover lies under the scene's window, and a monitor wholly inside the primary gets no
# cover. The primary is 1280 x 1024 at the desktop's corner; "inside" shows 640 x 480 of its middle,
# "edge" 800 x 600 from x 960, of which 320 columns are the primary's.
XORG_DUMMY=1
source "$(dirname "$0")/lib.sh"

timeout 10 xrandr --output DUMMY0 --mode 1280x1024 --pos 0x0 --primary
timeout 10 xrandr --fb 1760x1024
timeout 10 xrandr --setmonitor inside 640/169x480/127+320+272 none
timeout 10 xrandr --setmonitor edge 800/211x600/159+960+0 none
[ "$(timeout 10 xrandr --listmonitors | head -n 1)" = "Monitors: 3" ] || fail "the monitors were not made"

# Many circles, thick lines: the scene soon lights the columns the two monitors share.
printf 'krugN=12\r\nBorderWidth=3\r\nSpeed=5\r\nviewTime=4\r\nScenario=1\r\nPlen=0\r\nLocal=1\r\n' \
    >"$PROGRAM_FOLDER/Vortexa.ini"
start_saver /s
[ -n "$(window_of "$SAVER_PID")" ] || fail "no window appeared"

# The scene's window and one cover, for "edge"; none for "inside".
show_windows() {
    for window in $(xdotool search --onlyvisible --pid "$SAVER_PID" 2>/dev/null); do
        geometry_of "$window"
    done | sort | tr '\n' ';'
}
scene_and_one_cover() { [ "$(show_windows)" = "0 0 1280 1024;960 0 800 600;" ]; }
wait_until 10 scene_and_one_cover || true
sizes=$(show_windows)
[ "$sizes" = "0 0 1280 1024;960 0 800 600;" ] || fail "the show's windows are: $sizes"

# The columns the cover shares with the primary show the scene; those beyond it stay black.
shared_part_lit() {
    take_screenshot
    [ "$(convert "$SHOT" -crop 800x600+1280+0 -fill white +opaque black -format "%[fx:mean]" info:)" = 0 ] ||
        fail "the part of the edge monitor beyond the primary is not black"
    [ "$(convert "$SHOT" -crop 320x600+960+0 -fill white +opaque black -format "%[fx:mean]" info:)" != 0 ]
}
wait_until 10 shared_part_lit || fail "the scene never showed where the edge monitor overlaps the primary"
echo "ok: the scene stays whole on the primary; only what the primary does not show is covered"
