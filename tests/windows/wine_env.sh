# The Wine of the Windows build, sourced by the scripts that run it: a 64-bit prefix of its own,
# quiet, and the X server of the running test session when there is one.

VORTEXA_WINE_PREFIX=${VORTEXA_WINE_PREFIX:-${TMPDIR:-/tmp}/vortexa-wine-$(id -u)}
export WINEPREFIX=$VORTEXA_WINE_PREFIX/prefix
export WINEARCH=win64
export WINEDEBUG=-all
# No prompt to install Mono or Gecko when the prefix is made.
export WINEDLLOVERRIDES="mscoree=;mshtml="
SESSION_FILE=$VORTEXA_WINE_PREFIX/session

# Debian names the programs after the Wine release; without wine32 the 64-bit loader runs alone.
WINE=$(command -v wine64 || command -v wine || command -v wine-stable || echo /usr/lib/wine/wine64)
[ -x "$WINE" ] || WINE=/usr/lib/wine/wine64
WINESERVER=$(command -v wineserver || command -v wineserver-stable || echo /usr/lib/wine/wineserver)
[ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver

if [ -f "$SESSION_FILE" ]; then
    # shellcheck disable=SC1090
    source "$SESSION_FILE"
    export DISPLAY
else
    # Programs that show no window need no X server.
    unset DISPLAY
fi
