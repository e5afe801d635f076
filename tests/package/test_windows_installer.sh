# The Windows installer under Wine, in a fresh Wine prefix of this test's own: "/S" puts Vortexa.scr
# in the system folder and registers the uninstaller; the saver starts with "/s" from there; the
# screen-saver setting names it when that choice is on and is left alone otherwise; the uninstaller
# run with "/S" removes the files, its entry and the setting while that still names Vortexa, and
# keeps the user's settings files unless "/REMOVESETTINGS" is given too; run by the user, it asks,
# and keeps them by default.
set -euo pipefail

if [ $# -ne 1 ] || ! compgen -G "$1/Vortexa-*-setup.exe" >/dev/null; then
    echo "usage: $0 FOLDER-WITH-Vortexa-VERSION-setup.exe" >&2
    exit 2
fi
SETUP=$(compgen -G "$1/Vortexa-*-setup.exe" | head -n 1)

export VORTEXA_WINE_PREFIX
VORTEXA_WINE_PREFIX=$(mktemp -d "${TMPDIR:-/tmp}/vortexa-installer.XXXXXX")
source "$(dirname "$0")/../windows/wine_env.sh"
source "$(dirname "$0")/../waiting.sh"
XVFB_PID=
SAVER_PID=
end_everything() {
    [ -z "$SAVER_PID" ] || kill "$SAVER_PID" 2>/dev/null || true
    timeout 20 "$WINESERVER" -k 2>/dev/null || true
    [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$VORTEXA_WINE_PREFIX"
}
trap end_everything EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$VORTEXA_WINE_PREFIX/display" 2>/dev/null &
XVFB_PID=$!
wait_until 20 test -s "$VORTEXA_WINE_PREFIX/display" || true
[ -s "$VORTEXA_WINE_PREFIX/display" ] || fail "the X server did not start"
export DISPLAY=":$(head -n 1 "$VORTEXA_WINE_PREFIX/display")"
# The Wine server of this prefix ends a moment after its last program, so waiting for it to end
# waits for every program, the uninstaller's copy of itself too.
timeout --kill-after=10 300 "$WINE" wineboot --init </dev/null >/dev/null 2>&1 || fail "Wine could not make its prefix"

SYSTEM=$WINEPREFIX/drive_c/windows/system32
INSTALLED=("$SYSTEM/Vortexa.scr" "$WINEPREFIX/drive_c/Program Files/Vortexa/uninstall.exe")
DESKTOP='HKCU\Control Panel\Desktop'
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vortexa'

wine_quietly() {
    timeout --kill-after=10 120 "$WINE" "$@" </dev/null 2>/dev/null | tr -d '\r'
}
# The value of the user's screen-saver setting, or "none".
screen_saver_setting() {
    local answer
    answer=$(wine_quietly reg query "$DESKTOP" /v SCRNSAVE.EXE || true)
    awk '$1 == "SCRNSAVE.EXE" { print $3; found = 1 } END { if (!found) print "none" }' <<<"$answer"
}
# The NSIS uninstaller copies itself away and returns at once; the Wine server ends with its work.
run_to_end() {
    wine_quietly "$@" >/dev/null || true
    timeout 120 "$WINESERVER" -w || fail "Wine did not finish after $*"
}
install_and_check() {
    run_to_end "$SETUP" /S "$@"
    local file
    for file in "${INSTALLED[@]}"; do
        [ -f "$file" ] || fail "installing with /S $* left no $file"
    done
}
uninstall_and_check() {
    run_to_end 'C:\Program Files\Vortexa\uninstall.exe' /S "$@"
    local file
    for file in "${INSTALLED[@]}" "$WINEPREFIX/drive_c/Program Files/Vortexa"; do
        [ ! -e "$file" ] || fail "the uninstaller left $file"
    done
    wine_quietly reg query "$UNINSTALL_KEY" >/dev/null && fail "the uninstaller left its entry in the list of programs"
    return 0
}

# The setting a row names: Vortexa by the short path of its file, as Windows names the current
# screen saver, another saver, or none.
setting_named() {
    case $1 in
    ours) echo 'C:\windows\system32\VORTEXA.SCR' ;;
    other) echo 'C:\windows\system32\other.scr' ;;
    *) echo none ;;
    esac
}
# The switches of the installer, the setting before, after installing, after uninstalling.
while read -r switches before after_install after_uninstall; do
    [ "$switches" = - ] && switches=
    if [ "$before" = none ]; then
        wine_quietly reg delete "$DESKTOP" /v SCRNSAVE.EXE /f >/dev/null || true
    else
        wine_quietly reg add "$DESKTOP" /v SCRNSAVE.EXE /d "$(setting_named "$before")" /f >/dev/null
    fi
    # shellcheck disable=SC2086 # no switch or one
    install_and_check $switches
    setting=$(screen_saver_setting)
    expected=$(setting_named "$after_install")
    [ "${setting,,}" = "${expected,,}" ] || fail "after /S $switches the setting is $setting, not $expected"
    uninstall_and_check
    setting=$(screen_saver_setting)
    expected=$(setting_named "$after_uninstall")
    [ "${setting,,}" = "${expected,,}" ] || fail "after uninstalling the setting is $setting, not $expected"
done <<'ROWS'
- none ours none
- other ours none
/NOTCURRENT other other other
/NOTCURRENT none none none
ROWS

# The entry in the list of programs, and the saver started from the system folder.
install_and_check
entry=$(wine_quietly reg query "$UNINSTALL_KEY")
for name in DisplayName DisplayVersion Publisher UninstallString QuietUninstallString DisplayIcon NoModify NoRepair; do
    grep -q "^ *$name " <<<"$entry" || fail "the entry in the list of programs has no $name: $entry"
done
timeout --kill-after=5 60 "$WINE" 'C:\windows\system32\Vortexa.scr' /s >/dev/null 2>&1 &
SAVER_PID=$!
saver_window() {
    xdotool search --onlyvisible --name '^Vortexa$' 2>/dev/null | head -n 1
}
window_shown_or_saver_ended() {
    [ -n "$(saver_window)" ] || has_ended "$SAVER_PID"
}
wait_until 30 window_shown_or_saver_ended || true
if [ -z "$(saver_window)" ]; then
    has_ended "$SAVER_PID" && fail "the installed saver ended without showing a window"
    fail "the installed saver showed no window within 30 s"
fi
# The show may make its window again as it learns the monitors, so the key goes to the window
# that shows at the moment, until the saver ends.
key_ended_the_saver() {
    local window
    window=$(saver_window) || true
    [ -z "$window" ] || xdotool key --window "$window" x 2>/dev/null || true
    wait_until 1 has_ended "$SAVER_PID"
}
wait_until 10 key_ended_the_saver || true
has_ended "$SAVER_PID" || fail "the installed saver did not end on a key"
SAVER_PID=
uninstall_and_check

# The user's settings, in the user's folder and beside the saver (where the saver writes them when
# it can), are the user's: kept by a plain uninstall, removed on request.
user_folder=$("$WINE" winepath -u "$(wine_quietly cmd /c echo '%APPDATA%')" 2>/dev/null | tr -d '\r')
[ -d "$user_folder" ] || fail "no user folder $user_folder"
SETTINGS=("$user_folder/Vortexa/Vortexa.ini" "$SYSTEM/Vortexa.ini")
while read -r switches kept; do
    [ "$switches" = - ] && switches=
    install_and_check /NOTCURRENT
    mkdir -p "$user_folder/Vortexa"
    for file in "${SETTINGS[@]}"; do
        printf 'krugN=8\r\nBorderWidth=2\r\nSpeed=3\r\nviewTime=0\r\nScenario=1\r\nPlen=1\r\nLocal=1\r\n' >"$file"
    done
    # shellcheck disable=SC2086 # no switch or one
    uninstall_and_check $switches
    for file in "${SETTINGS[@]}"; do
        if [ "$kept" = kept ]; then
            [ -f "$file" ] || fail "uninstalling with /S $switches removed $file"
        else
            [ ! -e "$file" ] || fail "uninstalling with /S $switches left $file"
        fi
    done
    [ "$kept" = kept ] || [ ! -e "$user_folder/Vortexa" ] || fail "uninstalling with /S $switches left the settings folder"
done <<'ROWS'
- kept
/REMOVESETTINGS removed
ROWS

# Run by the user, the uninstaller asks whether to remove the settings, "No" chosen by Enter.
# The uninstaller's windows, its page and its question, are titled "Vortexa Uninstall".
uninstaller_windows() {
    xdotool search --onlyvisible --name "^Vortexa Uninstall" 2>/dev/null | wc -l
}
uninstaller_shows() { [ "$(uninstaller_windows)" -ge "$1" ]; }
await_windows() {
    wait_until 30 uninstaller_shows "$1" || fail "the uninstaller showed fewer than $1 windows: $2"
}
install_and_check /NOTCURRENT
mkdir -p "$user_folder/Vortexa"
for file in "${SETTINGS[@]}"; do
    printf 'krugN=8\r\n' >"$file"
done
timeout --kill-after=10 120 "$WINE" 'C:\Program Files\Vortexa\uninstall.exe' </dev/null >/dev/null 2>&1 &
await_windows 1 "no confirmation page"
xdotool key Return # "Uninstall"
await_windows 2 "no question about the settings"
xdotool key Return # the question's default answer
wait_until 30 test ! -e "$SYSTEM/Vortexa.scr" || true
[ ! -e "$SYSTEM/Vortexa.scr" ] || fail "the uninstaller run by the user left Vortexa.scr"
for file in "${SETTINGS[@]}"; do
    [ -f "$file" ] || fail "the question's default answer removed $file"
done
timeout 20 "$WINESERVER" -k 2>/dev/null || true
echo "ok: the installer and its uninstaller under Wine"
