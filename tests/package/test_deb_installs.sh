# The Debian package on this machine (root only; it changes /usr): `apt-get install` of the file
# pulls what it needs, the daemon runs the installed saver end to end, `vortexa --add-to-xscreensaver`
# brings it to the daemon's list, and `apt-get remove` leaves none of its files. The package is
# removed whatever happens.
set -euo pipefail

if [ $# -ne 1 ] || ! compgen -G "$1/vortexa_*_amd64.deb" >/dev/null; then
    echo "usage: $0 FOLDER-WITH-vortexa_VERSION_amd64.deb" >&2
    exit 2
fi
if [ "$(id -u)" != 0 ]; then
    echo "skipped: installing the Debian package needs root"
    exit 0
fi
DEB=$(realpath "$(compgen -G "$1/vortexa_*_amd64.deb" | head -n 1)")
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
installed() {
    dpkg-query -W -f='${Status}' vortexa 2>/dev/null | grep -q 'install ok installed'
}
installed && fail "vortexa is installed already; remove it first (apt-get remove vortexa)"

remove_package() {
    installed && DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq vortexa >/dev/null 2>&1
    return 0
}
trap remove_package EXIT

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$DEB" >/dev/null || fail "apt-get install $DEB failed"
installed || fail "apt-get did not install vortexa"
# Its files and links, to look for once it is removed.
files=$(dpkg -L vortexa | while read -r path; do if [ ! -d "$path" ]; then echo "$path"; fi; done)
[ -x /usr/libexec/xscreensaver/vortexa ] || fail "no program at /usr/libexec/xscreensaver/vortexa"
/usr/bin/vortexa --version | grep -q "^vortexa $(dpkg-query -W -f='${Version}' vortexa)" ||
    fail "the installed program names another version: $(/usr/bin/vortexa --version)"

VORTEXA_INSTALLED_SAVER=/usr/libexec/xscreensaver/vortexa \
    bash "$(dirname "$0")/../e2e/test_daemon_runs_the_saver.sh" /usr/libexec/xscreensaver/vortexa ||
    fail "the daemon did not run the installed saver"
# As a new user finds it: the program on the PATH adds the installed saver to the daemon's list.
VORTEXA_INSTALLED_SAVER=/usr/bin/vortexa \
    bash "$(dirname "$0")/../e2e/test_add_to_xscreensaver.sh" /usr/libexec/xscreensaver/vortexa ||
    fail "--add-to-xscreensaver did not bring the installed saver to the daemon"

DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq vortexa >/dev/null || fail "apt-get remove vortexa failed"
installed && fail "vortexa is still installed"
left=$(while read -r path; do if [ -e "$path" ] || [ -L "$path" ]; then echo "$path"; fi; done <<<"$files")
[ -z "$left" ] || fail "apt-get remove left: $left"
[ ! -e /usr/share/doc/vortexa ] || fail "apt-get remove left /usr/share/doc/vortexa"
echo "ok: the Debian package installs, runs under the daemon and leaves nothing when removed"
