# The saver's entry for the screen-saver daemon has the structure of the daemon's own entries: one
# schema, written from the daemon's documented format, must accept every entry the daemon ships and
# the saver's, and the saver's must name the program, its label, its root switch and a description.
set -euo pipefail

if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    echo "usage: $0 PATH-TO-vortexa.xml" >&2
    exit 2
fi
ENTRY=$1
SCHEMA=$(dirname "$0")/daemon_entry.rng
DAEMON_ENTRIES=/usr/share/xscreensaver/config
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

shipped=("$DAEMON_ENTRIES"/*.xml)
[ "${#shipped[@]}" -ge 20 ] || fail "the daemon's entries are missing from $DAEMON_ENTRIES (run scripts/install-deps.sh)"
checked=$(xmllint --noout --relaxng "$SCHEMA" "${shipped[@]}" 2>&1) ||
    fail "the schema rejects entries the daemon ships: $(grep -v ' validates$' <<<"$checked")"
checked=$(xmllint --noout --relaxng "$SCHEMA" "$ENTRY" 2>&1) || fail "$checked"

value() { xmllint --xpath "$1" "$ENTRY"; }
[ "$(value 'string(/screensaver/@name)')" = vortexa ] || fail "the entry does not name the program vortexa"
[ "$(value 'string(/screensaver/@_label)')" = Vortexa ] || fail "the entry's label is not Vortexa"
[ "$(value 'string(/screensaver/command/@arg)')" = --root ] || fail "the entry does not pass --root"
[ "$(value 'string-length(normalize-space(/screensaver/_description))')" -gt 100 ] || fail "the description is missing"
# The daemon's settings window sizes its text area by the description's first paragraph.
description=$(value 'string(/screensaver/_description)')
first=$(awk 'NF { printf "%s ", $0; started = 1; next } started { exit }' <<<"$description")
[ "${#first}" -le 120 ] || fail "the description's first paragraph has ${#first} characters: $first"
last=$(awk 'NF { line = $0 } END { print line }' <<<"$description")
[[ $last =~ ^Written\ by\ .+\;\ [0-9]{4}\.$ ]] || fail "the description does not end with the author and year: $last"
echo "ok: the entry has the structure of the daemon's ${#shipped[@]} entries"
