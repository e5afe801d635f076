# The Debian package as built: the files `cmake --install --prefix /usr` puts in place plus the
# copyright, changelog and read-me, its control fields, a stripped program and dialog's module that
# fit each other, manual pages and changelog compressed as Debian wants them (gzip -9, no name or
# time stamp), the way to XScreenSaver told in the read-me, the description and the manual page,
# and no error or warning from lintian.
set -euo pipefail

if [ $# -ne 1 ] || ! compgen -G "$1/vortexa_*_amd64.deb" >/dev/null; then
    echo "usage: $0 FOLDER-WITH-vortexa_VERSION_amd64.deb" >&2
    exit 2
fi
DEB=$(compgen -G "$1/vortexa_*_amd64.deb" | head -n 1)
VERSION=$(basename "$DEB" | cut -d _ -f 2)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/vortexa-deb.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

expected="usr/bin/vortexa -> ../libexec/xscreensaver/vortexa
usr/bin/vortexa-sim
usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/vortexa/vortexa-dialog.so
usr/libexec/xscreensaver/vortexa
usr/share/applications/screensavers/vortexa.desktop
usr/share/doc/vortexa/README
usr/share/doc/vortexa/changelog.gz
usr/share/doc/vortexa/copyright
usr/share/man/man1/vortexa-sim.1.gz
usr/share/man/man6/vortexa.6.gz
usr/share/xscreensaver/config/vortexa.xml" # sorted as the contents are, in any locale
expected=$(sort <<<"$expected")
contents=$(dpkg-deb -c "$DEB" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 ($7 == "->" ? " -> " $8 : "") }' | sort)
[ "$contents" = "$expected" ] || fail "the package holds other files:
$(diff <(echo "$expected") <(echo "$contents") || true)"

# Each field and the pattern its value must match.
while read -r field pattern; do
    value=$(dpkg-deb -f "$DEB" "$field")
    [[ "$value" =~ $pattern ]] || fail "the field $field is '$value'"
done <<ROWS
Package ^vortexa$
Version ^$VERSION$
Architecture ^amd64$
Section ^x11$
Maintainer ^.+\ <[^@\ ]+@[^@\ ]+>$
Depends (^|\ )libc6\ .*libqt6widgets6
Description ^[a-z].+
ROWS
[ "$(dpkg-deb -f "$DEB" Description | wc -l)" -gt 3 ] || fail "the package has no long description"

dpkg-deb -x "$DEB" "$WORK/root"
module=$(compgen -G "$WORK/root/usr/lib/*/vortexa/vortexa-dialog.so")
bash "$(dirname "$0")/../install/module_fits_program.sh" "$WORK/root/usr/libexec/xscreensaver/vortexa" "$module" ||
    fail "the dialog's module does not fit the program"
for program in usr/libexec/xscreensaver/vortexa usr/bin/vortexa-sim "${module#"$WORK/root/"}"; do
    objdump -h "$WORK/root/$program" | grep -qE ' \.(debug_|symtab)' && fail "$program is not stripped"
done
for page in usr/share/man/man6/vortexa.6.gz usr/share/man/man1/vortexa-sim.1.gz usr/share/doc/vortexa/changelog.gz; do
    # Byte 3 holds the flags (8: a name is stored), bytes 4-7 the time stamp, byte 8 2 for -9.
    header=$(od -An -tu1 -N9 "$WORK/root/$page" | tr -s ' ')
    [ "$header" = " 31 139 8 0 0 0 0 0 2" ] || fail "$page is not compressed with gzip -9n: $header"
done
for page in man6/vortexa.6.gz man1/vortexa-sim.1.gz; do
    zcat "$WORK/root/usr/share/man/$page" | head -n 1 | grep -q "\"Vortexa $VERSION\"" ||
        fail "the manual page $page does not name version $VERSION"
done
# A new user learns from the package how to have XScreenSaver offer the saver.
for place in "the read-me:$(cat "$WORK/root/usr/share/doc/vortexa/README")" \
    "the description:$(dpkg-deb -f "$DEB" Description)" \
    "the manual page:$(zcat "$WORK/root/usr/share/man/man6/vortexa.6.gz" | sed 's/\\-/-/g')"; do
    grep -q -- '--add-to-xscreensaver' <<<"${place#*:}" || fail "${place%%:*} does not say how to add the saver to XScreenSaver"
done

lintian --fail-on error,warning --tag-display-limit 0 "$DEB" >"$WORK/lintian" 2>&1 || fail "lintian reports errors or warnings:
$(cat "$WORK/lintian")"
[ ! -s "$WORK/lintian" ] || { echo "lintian says:"; cat "$WORK/lintian"; }
echo "ok: the Debian package's files, fields and compression, and lintian"
