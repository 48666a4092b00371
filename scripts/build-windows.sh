#!/bin/bash
# Cross-builds the program and its tests for 64-bit Windows with mingw-w64 into build-windows/,
# and writes build-windows/gui_demo-windows.zip (gui_demo.exe, statically linked: it needs no DLLs
# beyond the system's; default/; LICENSE and NOTICES.md). Installs what it needs on Debian 12 first.
# libjpeg-turbo comes from Debian's own source package and GoogleTest from Debian's googletest
# sources, both cross-compiled as static libraries inside build-windows/deps/.
# Extra arguments go to the configure step of the program.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${GLGUI_WINDOWS_BUILD_DIR:-$ROOT/build-windows}
TOOLCHAIN=$ROOT/cmake/mingw-w64-x86_64.cmake
DEPS=$BUILD/deps
PREFIX=$DEPS/prefix
JOBS=${GLGUI_JOBS:-2}

bash "$ROOT/scripts/windows-packages.sh"
mkdir -p "$DEPS/src" "$PREFIX"

# ---- libjpeg-turbo ----
if [ ! -f "$DEPS/jpeg.done" ]; then
  (
    cd "$DEPS/src"
    rm -rf libjpeg-turbo-*/
    apt-get source --download-only libjpeg-turbo
    dsc=$(ls libjpeg-turbo_*.dsc | sort | tail -1)
    # Unpacks the upstream sources and applies Debian's patches; the signature is checked by apt.
    dpkg-source --no-check -x "$dsc" >/dev/null
  )
  src=$(ls -d "$DEPS"/src/libjpeg-turbo-*/ | sort | tail -1)
  cmake -S "$src" -B "$DEPS/jpeg-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF
  cmake --build "$DEPS/jpeg-build" -j "$JOBS" --target jpeg-static
  # Only the library and its headers are wanted (the command-line tools are not built).
  install -D -m 644 "$DEPS/jpeg-build/libjpeg.a" "$PREFIX/lib/libjpeg.a"
  install -D -m 644 "$DEPS/jpeg-build/jconfig.h" "$PREFIX/include/jconfig.h"
  for h in jpeglib.h jmorecfg.h jerror.h; do install -D -m 644 "$src/$h" "$PREFIX/include/$h"; done
  touch "$DEPS/jpeg.done"
fi

# ---- GoogleTest ----
if [ ! -f "$DEPS/gtest.done" ]; then
  cmake -S /usr/src/googletest -B "$DEPS/gtest-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF
  cmake --build "$DEPS/gtest-build" -j "$JOBS"
  cmake --install "$DEPS/gtest-build" >/dev/null
  touch "$DEPS/gtest.done"
fi

# ---- the program and its tests ----
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
  -DGLGUI_DEPS_PREFIX="$PREFIX" "$@"
cmake --build "$BUILD" -j "$JOBS"

# ---- the zip: gui_demo.exe next to its default/ folder, with the licence and the notices of what
# the exe carries (libjpeg-turbo, the MinGW-w64 and GCC runtimes) ----
STAGE=$BUILD/zip
rm -rf "$STAGE" "$BUILD/gui_demo-windows.zip"
mkdir -p "$STAGE"
cp "$BUILD/demo/gui_demo.exe" "$ROOT/LICENSE" "$ROOT/NOTICES.md" "$STAGE/"
cp -r "$ROOT/default" "$STAGE/default"
(cd "$STAGE" && zip -qr -X "$BUILD/gui_demo-windows.zip" gui_demo.exe LICENSE NOTICES.md default)
echo "wrote $BUILD/gui_demo-windows.zip"
