# A click on the link hands the author's page, in the language of the captions, to the system's
# opener (here a script that records its arguments), and leaves no "temp.url" behind, also when
# one lay in the program's folder before.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/bin"
cat >"$WORK/bin/xdg-open" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$@" >>"$WORK/opened"
SCRIPT
chmod +x "$WORK/bin/xdg-open"
export PATH="$WORK/bin:$PATH"
echo "left from before" >"$PROGRAM_FOLDER/temp.url"

start_configuration

# The link's middle: 2040 + 1335 / 2 and 1800 + 255 / 2 twips inside the picture.
opened_after_click() {
    rm -f "$WORK/opened"
    click_at $((x + 8 + 180)) $((y + 12 + 128))
    wait_until 20 test -s "$WORK/opened" || true
    cat "$WORK/opened" 2>/dev/null || true
}

opened=$(opened_after_click)
[ "$opened" = "https://vortexa.example.org/index-e.htm" ] || fail "with English captions the opener got: $opened"
[ ! -e "$PROGRAM_FOLDER/temp.url" ] || fail "temp.url was left behind"

click_at $((x + 292 + 20)) $((y + 232 + 8)) # "Russian"
opened=$(opened_after_click)
[ "$opened" = "https://vortexa.example.org/" ] || fail "with Russian captions the opener got: $opened"
[ ! -e "$PROGRAM_FOLDER/temp.url" ] || fail "temp.url was left behind"
has_ended "$SAVER_PID" && fail "the program ended"
echo "ok"
