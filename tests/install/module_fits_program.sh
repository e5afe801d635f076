# Checks that the settings dialog's module finds in the program every symbol of the program's own
# code it needs (those in the vortexa namespace), and takes no copy of that code itself.
set -euo pipefail
if [ $# -ne 2 ]; then
    echo "usage: $0 PROGRAM MODULE" >&2
    exit 2
fi
program=$1
module=$2
needed=$(nm -D --undefined-only "$module" | awk '$2 ~ /7vortexa/ { print $2 }' | sort -u)
[ -n "$needed" ] || { echo "the module needs nothing of the program: does it link the program's code itself?" >&2; exit 1; }
missing=$(comm -23 <(echo "$needed") <(nm -D --defined-only "$program" | awk '{ print $3 }' | sort -u))
[ -z "$missing" ] || { echo "the program does not give the module: $(echo "$missing" | c++filt | tr '\n' ' ')" >&2; exit 1; }
