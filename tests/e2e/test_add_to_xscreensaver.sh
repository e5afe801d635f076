# "vortexa --add-to-xscreensaver" puts the saver in the list of XScreenSaver, the daemon Debian
# packages, which runs already in a fresh HOME and takes the change by itself: "-select N", N the
# place the program reports, then shows the scene. In a fresh home the file gets the daemon's own
# list and Vortexa last; a second run changes nothing; in a home whose file has a list and settings
# of its own, the one line of Vortexa is all that changes, and the saver the user chose stays chosen.
# The program line is the program's own path with the fixed switches of its entry for the daemon's
# settings window, so that the window opens at every control's default.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/daemon.sh"
SAVER=${VORTEXA_INSTALLED_SAVER:-$PROGRAM}
ENTRY=$(dirname "$0")/../../dist/vortexa.xml
DEFAULTS=/etc/X11/app-defaults/XScreenSaver
[ -f "$DEFAULTS" ] || fail "the daemon's defaults are missing from $DEFAULTS"
SWITCHES=$(xmllint --xpath '/screensaver/command/@arg' "$ENTRY" | sed 's/ *arg="\([^"]*\)"/\1/g' | paste -sd ' ')

FILE=$HOME/.xscreensaver

# Runs the program as the user; its one line is in ADDED, the place it names in PLACE.
add_to_xscreensaver() {
    ADDED=$("${as_user[@]}" "$SAVER" --add-to-xscreensaver 2>&1) || fail "--add-to-xscreensaver failed: $ADDED"
    [ "$(wc -l <<<"$ADDED")" = 1 ] || fail "--add-to-xscreensaver said more than one line: $ADDED"
    PLACE=$(sed -n 's/.*as saver \([0-9]*\).*/\1/p' <<<"$ADDED")
    [ -n "$PLACE" ] || fail "--add-to-xscreensaver named no place: $ADDED"
}

# The first process of a program running under the daemon, found by its file.
process_of() {
    local pid
    for pid in $(pgrep -u 65534 -x "$(basename "$1")" 2>/dev/null || pgrep -x "$(basename "$1")"); do
        [ "$(readlink "/proc/$pid/exe")" = "$1" ] && echo "$pid" && return 0
    done
    return 0
}

process_runs() { [ -n "$(process_of "$1")" ]; }
await_process() {
    wait_until 10 process_runs "$1" || true
    process_of "$1"
}

# The daemon shows the saver at this place of its list: the program runs, and the screen shows a
# black scene with outlines of at least two circle colours.
expect_vortexa_at() {
    xscreensaver-command -select "$1" >/dev/null || fail "the daemon refused -select $1"
    local saver
    saver=$(await_process "$(readlink -f "$SAVER")")
    [ -n "$saver" ] || fail "-select $1 did not start Vortexa: $(tail -n 20 "$WORK/daemon.log")"
    wait_until 10 black_scene_with_outlines || fail "-select $1 shows no scene: lit share $share, $circles circle colours"
    xscreensaver-command -deactivate >/dev/null || fail "the daemon refused -deactivate"
    wait_until 5 has_ended "$saver" || fail "Vortexa still runs after -deactivate"
    await_screen_back
}

# The daemon's display process fades the screen back in before it ends; asked to show a saver
# meanwhile, the daemon starts another one that shows the chosen saver instead.
display_process_gone() { ! pgrep -P "$DAEMON_PID" -f xscreensaver-gfx >/dev/null; }
await_screen_back() {
    wait_until 10 display_process_gone ||
        fail "the daemon's display process still runs 10 s after -deactivate"
}

# The list's lines of a file, from the line naming it to the first that does not continue, each
# without a continuing backslash and its name.
list_lines() {
    awk '/^\*?programs:/ { on = 1; sub(/^\*?programs:/, "") } on { line = $0; more = sub(/\\$/, "", line); print line; if (!more) exit }' "$1"
}

start_daemon

# A fresh home: the daemon's own list, then Vortexa.
add_to_xscreensaver
[ -f "$FILE" ] || fail "no $FILE was written: $ADDED"
[[ $ADDED == *"wrote"* ]] || fail "the line does not say the file was written: $ADDED"
own=$(list_lines "$DEFAULTS" | grep -c '\\n')
[ "$PLACE" = $((own + 1)) ] || fail "Vortexa is saver $PLACE, not $((own + 1)) after the daemon's $own"
diff <(list_lines "$DEFAULTS" | sed '/^[[:space:]]*$/d') <(list_lines "$FILE" | sed '$d;/^[[:space:]]*$/d') >"$WORK/list.diff" ||
    fail "the file's list is not the daemon's own: $(head -n 5 "$WORK/list.diff")"
last=$(list_lines "$FILE" | sed '/^[[:space:]]*$/d' | tail -n 1)
read -r name command rest <<<"$last"
[ "$name" = '"Vortexa"' ] && [ "$command" = "$(readlink -f "$SAVER")" ] && [ "$(echo $rest)" = "$SWITCHES \\n" ] ||
    fail "the entry is not the program's path with the switches \"$SWITCHES\": $last"
[ "$(id -u)" != 0 ] || [ "$(stat -c %u "$FILE")" = 65534 ] || fail "the file does not belong to the user"
expect_vortexa_at "$PLACE"
echo "ok: a fresh home lists the daemon's $own savers and Vortexa, which -select $PLACE shows"

# Twice: nothing changes.
cp "$FILE" "$WORK/first"
add_to_xscreensaver
[[ $ADDED == *"already"* ]] || fail "the second run does not say Vortexa is listed already: $ADDED"
cmp -s "$FILE" "$WORK/first" || fail "the second run changed the file: $(diff "$WORK/first" "$FILE" | head -n 5)"
echo "ok: a second run leaves the file as it was: $ADDED"

# A file of the user's own, as the daemon's settings window writes it, that chose qix.
cat >"$FILE" <<'EOF'
# XScreenSaver Preferences File
timeout:	0:30:00
cycle:		0:00:00
lock:		False
splash:		False
fade:		False
unfade:		False
dpmsEnabled:	False

mode:		one
selected:	0

programs:								      \
				qix --root				    \n\
-				"Mazes" maze --root			    \n\
- GL: 				superquadrics --root			    \n\
				greynetic --root			    \n\


pointerHysteresis:  10
authWarningSlack:   20
EOF
[ "$(id -u)" != 0 ] || chown 65534:65534 "$FILE"
cp "$FILE" "$WORK/own"
add_to_xscreensaver
[ "$PLACE" = 5 ] || fail "Vortexa is saver $PLACE of the user's list, not 5: $ADDED"
changes=$(diff "$WORK/own" "$FILE" | grep '^[<>]' || true)
[ "$(wc -l <<<"$changes")" = 1 ] && [[ $changes == ">"*'"Vortexa"'* ]] ||
    fail "more changed than Vortexa's line: $changes"
expect_vortexa_at 5
# The saver the user chose is still the one the daemon shows.
xscreensaver-command -activate >/dev/null || fail "the daemon refused -activate"
[ -n "$(await_process "$(command -v qix || echo /usr/libexec/xscreensaver/qix)")" ] ||
    fail "the user's chosen saver no longer runs: $(tail -n 5 "$WORK/daemon.log")"
xscreensaver-command -deactivate >/dev/null || true
echo "ok: a file of the user's own gains only Vortexa's line; -select 5 shows it and qix stays chosen"
