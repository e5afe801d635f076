#!/usr/bin/env bash
# A virtual day of each script through vortexa-sim on a 3840 x 2160 screen: 8,640,000 ticks of the
# 10 ms step, with the clock and regrouping timers beside it. Prints the wall time and the peak
# memory of each run.
#
#   bench/sim_day.sh [path/to/vortexa-sim]
set -euo pipefail
sim=${1:-build/release/src/vortexa-sim}
day_ms=86400000
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

# script, circles (the most each script accepts), clock choice, captives choice
runs=("1 21 0 0" "2 14 2 0" "3 21 0 0" "3 21 3 1")

printf '%-8s %-8s %-6s %-9s %12s %14s\n' script circles clock captives "wall (s)" "peak RSS (KiB)"
for run in "${runs[@]}"; do
    read -r scenario circles clock captives <<<"$run"
    settings="$folder/settings-$scenario-$clock.ini"
    printf 'krugN=%s\r\nBorderWidth=1\r\nSpeed=5\r\nviewTime=%s\r\nScenario=%s\r\nPlen=%s\r\nLocal=1\r\n' \
        "$circles" "$clock" "$scenario" "$captives" >"$settings"
    /usr/bin/time -v "$sim" --settings "$settings" --screen 3840x2160 --ms "$day_ms" \
        >"$folder/out.jsonl" 2>"$folder/time.txt"
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$folder/time.txt" |
        awk -F: '{ s = 0; for (i = 1; i <= NF; ++i) s = s * 60 + $i; printf "%.2f", s }')
    rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$folder/time.txt")
    printf '%-8s %-8s %-6s %-9s %12s %14s\n' "$scenario" "$circles" "$clock" "$captives" "$wall" "$rss"
done
