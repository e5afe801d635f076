#!/usr/bin/env bash
# Runs every fuzzer for an hour each (or SECONDS given as the argument), as a long check before a
# release. See scripts/fuzz.sh.
set -euo pipefail
exec bash "$(dirname "$0")/../scripts/fuzz.sh" "${1:-3600}"
