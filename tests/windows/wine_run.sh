#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, bounded in time. The build's tests run through
# it, so every test of the Windows build ends even when Wine hangs.
set -euo pipefail
source "$(dirname "$0")/wine_env.sh"
exec timeout --kill-after=10 "${VORTEXA_WINE_TIMEOUT:-240}" "$WINE" "$@"
