# Twenty shows in a row on an X server that no other program uses, each ended after a second:
# every one draws. Such a server resets whenever its last client leaves and refuses the next one
# for a moment, so a start must never leave it with no client before the toolkit has connected.
source "$(dirname "$0")/lib.sh"

Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$WORK/bare" 2>/dev/null &
SAVER_PIDS+=($!)
for _ in $(seq 50); do
    [ -s "$WORK/bare" ] && break
    sleep 0.1
done
export DISPLAY=":$(head -n 1 "$WORK/bare")"

drew=0
for start in $(seq 20); do
    start_saver -root
    sleep 1
    take_screenshot
    lit=$(lit_share)
    end_show=$SAVER_PID
    kill "$end_show" 2>/dev/null || true
    wait "$end_show" 2>/dev/null || true
    if [ "${lit}" = 0 ]; then
        echo "start $start drew nothing: $(head -c 300 "$WORK/saver.err")"
    else
        drew=$((drew + 1))
    fi
done
echo "$drew of 20 starts drew"
[ "$drew" = 20 ] || fail "$((20 - drew)) of 20 starts drew nothing"
echo "ok"
