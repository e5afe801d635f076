#!/usr/bin/env bash
# Runs a test program against an X server of its own: Xvfb on a free display, ended afterwards. A
# second server with a 16-bit screen is named by VORTEXA_DISPLAY_DEPTH16.
set -euo pipefail
work=$(mktemp -d "${TMPDIR:-/tmp}/vortexa-x11.XXXXXX")
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
Xvfb -displayfd 3 -screen 0 800x600x16 -nolisten tcp -noreset 3>"$work/display16" 2>"$work/xvfb16.log" &
xvfb16=$!
trap 'kill $xvfb $xvfb16 2>/dev/null || true; wait $xvfb $xvfb16 2>/dev/null || true; rm -rf "$work"' EXIT
source "$(dirname "$0")/../waiting.sh"
both_displays_given() {
    [ -s "$work/display" ] && [ -s "$work/display16" ]
}
wait_until 20 both_displays_given || true
[ -s "$work/display" ] || { echo "the X server did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }
[ -s "$work/display16" ] || { echo "the 16-bit X server did not start: $(cat "$work/xvfb16.log")" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")" QT_QPA_PLATFORM=xcb
export VORTEXA_DISPLAY_DEPTH16=":$(head -n 1 "$work/display16")"
mkdir -m 0700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
"$@"
