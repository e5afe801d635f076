#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz", clang) and runs each for SECONDS (default 60), from
# the seed corpus in fuzz/corpus. New inputs go to build/fuzz/corpus; a crash leaves its input in
# build/fuzz/findings and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

mkdir -p build/fuzz/findings
for target in settings sim_options run_switch; do
  echo "== fuzz_$target for ${seconds}s"
  mkdir -p "build/fuzz/corpus/$target"
  build/fuzz/fuzz/"fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix=build/fuzz/findings/"$target"- \
    "build/fuzz/corpus/$target" "fuzz/corpus/$target" 2>&1 | grep -v '^#[0-9]' || {
    echo "fuzz_$target failed; the input is in build/fuzz/findings" >&2
    exit 1
  }
done
