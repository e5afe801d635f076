#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vortexa need.
# Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev libgl-dev libxcb1-dev
  # The show's text: fonts chosen with fontconfig, drawn with FreeType.
  libfontconfig-dev libfreetype-dev
  # The show's own X client: the keyboard as laid out, through xkbcommon; the monitors; the saver's
  # own pointer (RENDER); its tests read the pointer back (XFIXES).
  libxkbcommon-x11-dev libxcb-xkb-dev libxcb-randr0-dev libxcb-render0-dev libxcb-xfixes0-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick
  libxcb1-dev libxcb-damage0-dev libxcb-shm0-dev xscreensaver-data-extra
  fonts-dejavu-core fonts-liberation2
  python3 time
  # The end-to-end tests hold the program at a chosen moment with the debugger.
  gdb
  xscreensaver xscreensaver-data libxml2-utils man-db
  clang-14 libclang-rt-14-dev locales
  # A small window manager, for the show's keyboard under one.
  openbox
  # Monitors that overlap, made on the tests' X server.
  x11-xserver-utils
  # The Windows build: the cross compiler, GoogleTest's sources to build with it, and Wine (64-bit
  # only) with the X libraries it loads on its own, to run what it builds.
  g++-mingw-w64-x86-64-posix googletest
  wine wine64 fonts-wine libxrender1 libxcursor1 libxrandr2 libxi6 libxfixes3
  # Its tests' X server: two monitors side by side, which Wine sees through Xinerama.
  xserver-xorg-core xserver-xorg-video-dummy
  # The packages: the Debian package and its checks, the icon of Vortexa.scr, the Windows installer.
  dpkg-dev lintian icoutils nsis
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

if [ "${#missing[@]}" -gt 0 ]; then
  sudo_prefix=()
  [ "$(id -u)" -eq 0 ] || sudo_prefix=(sudo)
  "${sudo_prefix[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_prefix[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The number tests run under locales whose decimal separator is a comma; the time's tests under a
# 12-hour one.
for locale in ru_RU de_DE en_US; do
  if ! locale -a | grep -x "$locale.utf8" >/dev/null; then
    if [ "$(id -u)" -eq 0 ]; then localedef -i "$locale" -f UTF-8 "$locale.UTF-8"; else sudo localedef -i "$locale" -f UTF-8 "$locale.UTF-8"; fi
  fi
done
