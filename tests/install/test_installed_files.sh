# `cmake --install` into a staging folder (DESTDIR) under a prefix of the user's: exactly the
# expected files, nothing outside the prefix, a link on the PATH that reaches the program, a dialog's
# module that finds in the program what it needs, and a program that answers --help, -h and
# --version without a display while every other argument still asks for the show.
set -euo pipefail

if [ $# -ne 1 ] || [ ! -f "$1/cmake_install.cmake" ]; then
    echo "usage: $0 BUILD-FOLDER" >&2
    exit 2
fi
BUILD=$1
WORK=$(mktemp -d "${TMPDIR:-/tmp}/vortexa-install.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

PREFIX=/home/someone/opt
DESTDIR=$WORK/stage cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log"
module_dir=$(sed -n 's/^VORTEXA_DIALOG_MODULE_DIR:[A-Z]*=//p' "$BUILD/CMakeCache.txt")

expected="bin/vortexa -> ../libexec/xscreensaver/vortexa
bin/vortexa-sim
$module_dir/vortexa-dialog.so
libexec/xscreensaver/vortexa
share/applications/screensavers/vortexa.desktop
share/man/man1/vortexa-sim.1
share/man/man6/vortexa.6
share/xscreensaver/config/vortexa.xml" # sorted as the list found is, in any locale
expected=$(sort <<<"$expected")
installed=$(cd "$WORK/stage$PREFIX" && find . \( -type f -o -type l \) -printf '%P%l\n' | sed 's/\(\.\.\/.*\)$/ -> \1/' | sort)
[ "$installed" = "$expected" ] || fail "installed files differ:
$(diff <(echo "$expected") <(echo "$installed") || true)"
outside=$(cd "$WORK/stage" && find . -mindepth 1 -maxdepth 4 -not -path "./${PREFIX#/}*" -not -path ./home -not -path ./home/someone)
[ -z "$outside" ] || fail "installed outside the prefix: $outside"
[ -x "$WORK/stage$PREFIX/bin/vortexa" ] || fail "the link on the PATH does not reach the program"
# The dialog's module takes from the program what it needs of the program's own code.
bash "$(dirname "$0")/module_fits_program.sh" "$WORK/stage$PREFIX/libexec/xscreensaver/vortexa" \
    "$WORK/stage$PREFIX/$module_dir/vortexa-dialog.so" || fail "the dialog's module does not fit the program"
grep -qx "Exec=$PREFIX/libexec/xscreensaver/vortexa --root" "$WORK/stage$PREFIX/share/applications/screensavers/vortexa.desktop" ||
    fail "the desktop entry does not name the installed program"
for page in man6/vortexa.6 man1/vortexa-sim.1; do
    faults=$(man -l "$WORK/stage$PREFIX/share/man/$page" 2>&1 >/dev/null)
    [ -z "$faults" ] || fail "the manual page $page has faults: $faults"
done

# Without a display a program that tried to show anything would fail at once.
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
program=$WORK/stage$PREFIX/bin/vortexa
while read -r argument expected_status expected_start; do
    status=0
    (timeout 10 "$program" "$argument" >"$WORK/out" 2>"$WORK/err") 2>/dev/null || status=$?
    first=$(head -n 1 "$WORK/out")
    if [ "$expected_status" = 0 ]; then
        [ "$status" = 0 ] || fail "$argument ended with $status: $(cat "$WORK/err")"
        [ "${first#"$expected_start"}" != "$first" ] || fail "$argument printed: $first"
    else
        [ "$status" != 0 ] && [ -z "$first" ] || fail "$argument did not try to show the saver"
    fi
done <<'ROWS'
--help 0 Usage: vortexa
-h 0 Usage: vortexa
--version 0 vortexa 0.
--HELP show -
-help show -
/s show -
ROWS
timeout 10 "$program" --help | grep -q -- '^ *--add-to-xscreensaver' || fail "--help does not say how to add the saver to XScreenSaver"
echo "ok: the installed files, the link and the questions answered without a display"
