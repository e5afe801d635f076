#!/usr/bin/env bash
# Makes the packages users install, into build/dist: the Debian package vortexa_<version>_amd64.deb
# from the release build, and from the Windows build the installer Vortexa-<version>-setup.exe and
# Vortexa-<version>-win64.zip. With --test, then checks them: the Debian package's contents and
# lintian, its install, run and removal on this machine (as root only), and the installer under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
run_tests=false
case "${1:-}" in
--test) run_tests=true ;;
"") ;;
*)
    echo "usage: $0 [--test]" >&2
    exit 2
    ;;
esac

bash scripts/install-deps.sh
DIST=$PWD/build/dist
rm -rf "$DIST" build/deb
mkdir -p "$DIST"

echo "== Debian package"
cmake --preset release >/dev/null
cmake --build --preset release --target vortexa vortexa-dialog vortexa-sim
(cd build/release && cpack -G DEB -B "$PWD/../deb" >/dev/null)
mv build/deb/vortexa_*_amd64.deb "$DIST/"

echo "== Windows installer and zip"
cmake --preset windows -DVORTEXA_PACKAGE_DIR="$DIST" >/dev/null
cmake --build --preset windows --target windows_packages

ls -l "$DIST"
if $run_tests; then
    for test in test_deb_contents test_deb_installs test_windows_installer; do
        echo "== $test"
        bash "tests/package/$test.sh" "$DIST"
    done
fi
