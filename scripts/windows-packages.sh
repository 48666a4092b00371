#!/bin/bash
# Installs what the Windows cross-build and its Wine tests need on Debian 12, and makes Debian's
# source packages reachable (a deb-src entry mirroring the distribution's deb entries), so that
# libjpeg-turbo can be built from Debian's own source. Sourced by build-windows.sh.
set -euo pipefail

WINDOWS_PACKAGES=(build-essential pkg-config ninja-build cmake g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine64 wine nasm
  fonts-wine fonts-dejavu-core fonts-comic-neue googletest dpkg-dev xvfb xauth x11-utils xdotool imagemagick zip unzip)

SUDO=
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive

need_update=0
if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  # Same URIs, suites, components and keys as the deb entries of Debian's own sources file.
  src=/etc/apt/sources.list.d/debian.sources
  if [ -f "$src" ]; then
    sed 's/^Types:.*/Types: deb-src/' "$src" | $SUDO tee /etc/apt/sources.list.d/glgui-deb-src.sources >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
      $SUDO tee /etc/apt/sources.list.d/glgui-deb-src.list >/dev/null
  fi
  need_update=1
fi

missing=()
for p in "${WINDOWS_PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -ne 0 ] || [ "$need_update" -eq 1 ]; then
  $SUDO apt-get update
fi
if [ "${#missing[@]}" -ne 0 ]; then
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
