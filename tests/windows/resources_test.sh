# What Vortexa.scr carries besides its code: the name the system lists it under, the version
# resource with the project's version and a copyright line, the icon at 16, 32, 48 and 256 pixels, the manifest naming
# Windows 7 to 11, and no debugging sections.
set -euo pipefail

if [ $# -ne 2 ] || [ ! -f "$1" ]; then
    echo "usage: $0 PATH-TO-VORTEXA.SCR VERSION" >&2
    exit 2
fi
SCR=$1
VERSION=$2
WORK=$(mktemp -d "${TMPDIR:-/tmp}/vortexa-resources.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Each resource type and name the file must hold.
listing=$(wrestool -l "$SCR")
while read -r type name; do
    grep -q -- "--type=$type --name=$name " <<<"$listing" || fail "no resource of type $type named $name in:
$listing"
done <<'ROWS'
6 1
14 100
16 1
24 1
ROWS

# The version resource is UTF-16 text; its values follow their keys.
wrestool -x --raw --type=16 "$SCR" | iconv -f UTF-16LE -t UTF-8 -c | tr '\0' '\n' | grep -v '^$' >"$WORK/version"
while read -r key value; do
    grep -A1 "$key$" "$WORK/version" | tail -n 1 | grep -qx "$value" || fail "the version resource has no $key '$value':
$(cat "$WORK/version")"
done <<ROWS
FileVersion $VERSION
ProductVersion $VERSION
ProductName Vortexa
FileDescription Vortexa screen saver
LegalCopyright Copyright 2026 The Vortexa developers
ROWS
# The numbers Windows compares: major, minor, patch, 0, the same in the file and product versions.
wrestool -x --raw --type=16 "$SCR" >"$WORK/version.res"
numbers=$(python3 -c '
import struct, sys
data = open(sys.argv[1], "rb").read()
at = data.find(struct.pack("<I", 0xFEEF04BD))
file_high, file_low, product_high, product_low = struct.unpack_from("<4I", data, at + 8)
print(*(f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}" for high, low in
        ((file_high, file_low), (product_high, product_low))))' "$WORK/version.res")
[ "$numbers" = "$VERSION.0 $VERSION.0" ] || fail "the file and product version numbers are $numbers"

wrestool -x --type=14 --name=100 "$SCR" >"$WORK/icon.ico"
sizes=$(icotool -l "$WORK/icon.ico" | sed -n 's/.*--width=\([0-9]*\) --height=\([0-9]*\).*/\1x\2/p' | sort -n | tr '\n' ' ')
[ "$sizes" = "16x16 32x32 48x48 256x256 " ] || fail "the icon has the sizes $sizes"

wrestool -x --raw --type=24 "$SCR" >"$WORK/manifest"
for system in 35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 \
    1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
    grep -qi "supportedOS Id=\"{$system}\"" "$WORK/manifest" || fail "the manifest does not name the system $system"
done
grep -q "version=\"$VERSION.0\"" "$WORK/manifest" || fail "the manifest names another version"

sections=$(x86_64-w64-mingw32-objdump -h "$SCR")
grep -qE ' \.debug_' <<<"$sections" && fail "the file keeps debugging sections"
echo "ok: the resources of Vortexa.scr at version $VERSION"
