# A click on the dialog's link hands the author's page to the system, which opens web addresses with
# Wine's browser launcher; here that launcher is told to use a script that records its arguments.
source "$(dirname "$0")/e2e_lib.sh"

BROWSER_KEY='HKCU\Software\Wine\WineBrowser'
mkdir -p "$WORK/bin"
cat >"$WORK/bin/opener" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$@" >>"$WORK/opened"
SCRIPT
chmod +x "$WORK/bin/opener"
timeout 30 "$WINE" reg add "$BROWSER_KEY" /v Browsers /d "$WORK/bin/opener" /f >/dev/null 2>&1 ||
    fail "cannot name the recording opener to Wine"
forget_opener() {
    timeout 30 "$WINE" reg delete "$BROWSER_KEY" /v Browsers /f >/dev/null 2>&1 || true
    end_everything
}
trap forget_opener EXIT

start_saver /c
read -r dialog x y < <(window_sized 396 421) || true
[ -n "${dialog:-}" ] || fail "no dialog appeared"
wait_until 30 dialog_drawn_at "$x" "$y" || fail "the dialog was never drawn"
# The link's middle: 2040 + 1335 / 2 and 1800 + 255 / 2 twips inside the picture at (8, 12).
timeout 5 xdotool mousemove --sync $((x + 8 + 180)) $((y + 12 + 128)) click 1
wait_until 20 test -s "$WORK/opened" || true
opened=$(cat "$WORK/opened" 2>/dev/null || true)
[ "$opened" = "https://vortexa.example.org/index-e.htm" ] || fail "the opener got: ${opened:-nothing}"
has_ended "$SAVER_PID" && fail "the program ended"
echo ok
