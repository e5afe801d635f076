#!/usr/bin/env bash
# Builds everything and runs every test: once optimised, once with AddressSanitizer and
# UndefinedBehaviorSanitizer, and once cross-built for Windows under Wine. Also checks the
# formatting of the sources.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/check-format.sh

for preset in release sanitize; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset tests"
  ctest --preset "$preset"
done

# Vortexa.scr and the core for Windows, cross-built and tested under Wine.
echo "== windows build"
cmake --preset windows >/dev/null
cmake --build --preset windows
echo "== windows tests"
ctest --preset windows
