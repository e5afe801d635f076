#!/usr/bin/env bash
# Builds the saver and runs it. Arguments go to the saver: /s (the default) shows it, /c opens the
# settings, /p ends at once.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target vortexa
if [ "$#" -eq 0 ]; then set -- /s; fi
exec build/release/src/vortexa "$@"
