#!/bin/bash
# Installs the Debian 12 packages the project needs and builds it (Release-with-debug-info, Ninja)
# into build/. Run from anywhere; uses sudo for apt-get when not root.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${GLGUI_BUILD_DIR:-$ROOT/build}

PACKAGES=(build-essential pkg-config ninja-build cmake libsdl2-dev libsdl2-mixer-dev libgl1-mesa-dev
  libglu1-mesa-dev libosmesa6-dev libegl-dev libgles-dev libjpeg62-turbo-dev libfreetype-dev libfontconfig-dev
  fonts-dejavu-core fonts-dejavu-extra fonts-comic-neue fonts-liberation2 libgtest-dev libbenchmark-dev libstb-dev xvfb xauth x11-utils x11-apps
  xfonts-base xdotool libxdamage1 imagemagick sox clang libimgui-dev libclang-rt-14-dev
  libatk1.0-dev libatk-bridge2.0-dev at-spi2-core dbus-daemon python3-pyatspi doxygen)

SUDO=
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -ne 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$BUILD" -j "$(nproc)"
