#!/bin/bash
# Builds gui_demo for the browser (WebAssembly on WebGL 2) and writes a static site to
# build-web/site/gui_demo/: our own index.html, the program's .js and .wasm, and its data (default/
# and the fonts, with their glyphs measured ahead). Installs Debian's emscripten when missing, and builds
# the third-party libraries (SDL2, FreeType, libjpeg-turbo, GLU's tessellator) from Debian's source
# packages once, into build-web/deps/, and again when the options below change.
# Serve the site with: python3 -m http.server -d build-web/site/gui_demo 8000
# Arguments go to the program's CMake configuration. GLGUI_WEB_BUILD_DIR moves build-web/,
# GLGUI_JOBS sets the build's parallel jobs (2), GLGUI_WEB_DEPS_ONLY=1 stops after the libraries.
# GLGUI_WEB_INSTALL=PREFIX builds everything and installs the toolkit for the browser there: a
# program outside the tree then builds its own site with find_package(glgui) (docs/guide.md).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${GLGUI_WEB_BUILD_DIR:-$ROOT/build-web}
DEPS=$OUT/deps
PREFIX=$DEPS/prefix
JOBS=${GLGUI_JOBS:-2}

SUDO=
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive

# ---- packages -----------------------------------------------------------------------------------
PACKAGES=(emscripten cmake ninja-build dpkg-dev fonts-liberation2 fonts-comic-neue python3 python3-fonttools)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# `apt-get source` needs the source lists.
if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  $SUDO tee /etc/apt/sources.list.d/glgui-deb-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  missing+=(update-only)
fi
if [ "${#missing[@]}" -ne 0 ]; then
  $SUDO apt-get update
  pkgs=("${missing[@]/update-only/}")
  pkgs=(${pkgs[@]})
  if [ "${#pkgs[@]}" -ne 0 ]; then $SUDO apt-get install -y --no-install-recommends "${pkgs[@]}"; fi
fi

# Debian's emscripten runs its tools on the node on PATH; these two settings keep a newer node
# (one that is not Debian's) from breaking the optimiser and CMake's checks.
export NODE_PATH=/usr/share/nodejs
EMULATOR="$(command -v node);--no-experimental-fetch"
EMCMAKE_ARGS=(-G Ninja -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CROSSCOMPILING_EMULATOR=$EMULATOR")
DEP_ARGS=("${EMCMAKE_ARGS[@]}" "-DCMAKE_INSTALL_PREFIX=$PREFIX")

# ---- third-party libraries, once --------------------------------------------------------------
mkdir -p "$DEPS/src"
fetch_source() {  # package -> prints the unpacked source folder
  local pkg=$1
  local dir
  dir=$(find "$DEPS/src/$pkg" -mindepth 1 -maxdepth 1 -type d 2>/dev/null | head -1)
  if [ -z "$dir" ]; then
    mkdir -p "$DEPS/src/$pkg"
    # libglu's Debian diff is missing from the archive; its original tarball is complete.
    (cd "$DEPS/src/$pkg" && apt-get source --download-only "$pkg" >&2 || true)
    local orig
    orig=$(ls "$DEPS/src/$pkg"/*.orig.tar.* 2>/dev/null | head -1)
    [ -n "$orig" ] || { echo "no source for $pkg" >&2; exit 1; }
    tar -xf "$orig" -C "$DEPS/src/$pkg"
    dir=$(find "$DEPS/src/$pkg" -mindepth 1 -maxdepth 1 -type d | head -1)
  fi
  echo "$dir"
}

# A library is built again when the options it is built with change: they are kept beside it.
built_with() {  # name options: whether the library is there, built with exactly these options
  [ -f "$PREFIX/lib/lib$1.a" ] && [ "$(cat "$DEPS/$1.options" 2>/dev/null)" = "$2" ]
}
record_options() { echo "$2" > "$DEPS/$1.options"; }

if [ ! -f "$PREFIX/lib/libjpeg.a" ]; then
  echo "=== libjpeg-turbo"
  src=$(fetch_source libjpeg-turbo)
  emcmake cmake -S "$src" -B "$DEPS/build/libjpeg" "${DEP_ARGS[@]}" -DWITH_SIMD=0 -DENABLE_SHARED=0 \
    -DWITH_TURBOJPEG=0 -DWITH_JAVA=0 -DCMAKE_INSTALL_LIBDIR=lib >/dev/null
  cmake --build "$DEPS/build/libjpeg" -j "$JOBS" --target jpeg-static
  mkdir -p "$PREFIX/lib" "$PREFIX/include"
  cp "$DEPS/build/libjpeg/libjpeg.a" "$PREFIX/lib/"
  cp "$src"/jpeglib.h "$src"/jmorecfg.h "$src"/jerror.h "$DEPS/build/libjpeg/jconfig.h" "$PREFIX/include/"
fi

# FreeType without what reading unhinted outlines from plain TrueType and OpenType files never
# uses: compressed and Mac font files, incremental loading, bitmaps, colour and SVG glyphs, the
# hinting bytecode interpreter, variations (a variable font gives its default outlines) and BDF
# properties. The page's wasm is 75 KB smaller.
FREETYPE_OFF=(FT_CONFIG_OPTION_USE_LZW FT_CONFIG_OPTION_USE_ZLIB FT_CONFIG_OPTION_MAC_FONTS
  FT_CONFIG_OPTION_GUESSING_EMBEDDED_RFORK FT_CONFIG_OPTION_INCREMENTAL FT_CONFIG_OPTION_SVG
  TT_CONFIG_OPTION_EMBEDDED_BITMAPS TT_CONFIG_OPTION_COLOR_LAYERS TT_CONFIG_OPTION_BYTECODE_INTERPRETER
  TT_CONFIG_OPTION_GX_VAR_SUPPORT TT_CONFIG_OPTION_BDF)
if ! built_with freetype "${FREETYPE_OFF[*]}"; then
  echo "=== FreeType"
  src=$(fetch_source freetype)
  cp "$ROOT/scripts/web-freetype-modules.h" "$src/include/freetype/config/ftmodule.h"
  options=$src/include/freetype/config/ftoption.h
  [ -f "$options.orig" ] || cp "$options" "$options.orig"
  cp "$options.orig" "$options"
  for option in "${FREETYPE_OFF[@]}"; do sed -i "s|^#define $option\$|/* & */|" "$options"; done
  rm -rf "$DEPS/build/freetype"
  emcmake cmake -S "$src" -B "$DEPS/build/freetype" "${DEP_ARGS[@]}" -DBUILD_SHARED_LIBS=OFF \
    -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
    -DFT_DISABLE_BROTLI=ON -DCMAKE_INSTALL_LIBDIR=lib >/dev/null
  cmake --build "$DEPS/build/freetype" -j "$JOBS"
  cmake --install "$DEPS/build/freetype" >/dev/null
  record_options freetype "${FREETYPE_OFF[*]}"
fi

if [ ! -f "$PREFIX/lib/libGLU_tess.a" ]; then
  echo "=== GLU tessellator"
  src=$(fetch_source libglu)
  mkdir -p "$DEPS/build/libtess" "$PREFIX/lib"
  objs=()
  for f in "$src"/src/libtess/*.c; do
    # priorityq.c includes the heap's source itself.
    [ "$(basename "$f")" = priorityq-heap.c ] && continue
    o="$DEPS/build/libtess/$(basename "${f%.c}").o"
    emcc -O2 -c "$f" -o "$o" -I"$src/include" -I"$src/src/include"
    objs+=("$o")
  done
  emar rcs "$PREFIX/lib/libGLU_tess.a" "${objs[@]}"
fi

# Video, events, audio and timers only: what the stand-in uses (no renderer, joysticks, haptics,
# sensors or power), which keeps the page's wasm smaller; and lean and mean, without the surface
# blitters, RLE and YUV conversions that only software drawing uses (130 KB of wasm).
SDL_OPTIONS=(-DSDL_RENDER=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF -DSDL_HIDAPI=OFF
  -DCMAKE_C_FLAGS=-DSDL_LEAN_AND_MEAN=1)
if ! built_with SDL2 "${SDL_OPTIONS[*]}"; then
  echo "=== SDL2 (its configure checks take a few minutes)"
  src=$(fetch_source libsdl2)
  rm -rf "$DEPS/build/sdl2"
  emcmake cmake -S "$src" -B "$DEPS/build/sdl2" "${DEP_ARGS[@]}" -DSDL_SHARED=OFF -DSDL_STATIC=ON \
    -DSDL_TEST=OFF -DSDL_PTHREADS=OFF -DSDL_THREADS=OFF -DCMAKE_INSTALL_LIBDIR=lib "${SDL_OPTIONS[@]}" >/dev/null
  cmake --build "$DEPS/build/sdl2" -j "$JOBS"
  cmake --install "$DEPS/build/sdl2" >/dev/null
  record_options SDL2 "${SDL_OPTIONS[*]}"
fi
[ "${GLGUI_WEB_DEPS_ONLY:-0}" = 1 ] && exit 0

# ---- the program and its site ---------------------------------------------------------------------
# The settings that make the page smaller and quicker to start, each measured against the others
# (sizes of the site, first frames in alternating loads; README, Web):
# - -O3 (CMake's Release) for the program's code and at link: -Os made 45 KB less wasm (10 KB gzip'd)
#   but main ran 30 to 60 ms longer before the first frame (mipmaps and grid fonts; start-profile.mjs,
#   alternate runs), -Oz was smaller by 8 KB more and slower still, -O2 saved nothing raw, -flto (on
#   our code; the libraries are prebuilt) changed neither. Debian's emscripten has no closure
#   compiler. ASYNCIFY's list below names functions as -O3 inlines them.
# - ASYNCIFY instruments only the functions on the stack while the program waits (ASYNCIFY_ONLY,
#   platform/web/CMakeLists.txt and glgui_web_site's WAITING): the wasm 1.96 MB -> 1.52 MB.
# - The fonts carry code page 1250's glyphs only (cmake/GlguiWebSite.cmake): the data 608 -> 186 KB.
#   Their glyphs' metrics measured ahead (tools/glyphmeasures) add 39 KB, and spare the page's
#   start reading 510 glyphs with FreeType.
# - FreeType and SDL2 without what the program does not use (above): the wasm 1.52 -> 1.17 MB.
# - The data stays a plain --preload-file package: LZ4 made it 54 KB smaller raw but 20 KB larger
#   gzip'd, with 10 KB more script.
WEB_OPTIMISE=-O3
echo "=== gui_demo for the web"
emcmake cmake -S "$ROOT" -B "$OUT" "${EMCMAKE_ARGS[@]}" -DGLGUI_DEPS_PREFIX="$PREFIX" -DGLGUI_TESTS=OFF \
  -DGLGUI_BENCH=OFF "-DCMAKE_CXX_FLAGS_RELEASE=$WEB_OPTIMISE -DNDEBUG" "-DCMAKE_C_FLAGS_RELEASE=$WEB_OPTIMISE -DNDEBUG" \
  "$@" >/dev/null
if [ -n "${GLGUI_WEB_INSTALL:-}" ]; then
  cmake --build "$OUT" -j "$JOBS"
  cmake --install "$OUT" --prefix "$GLGUI_WEB_INSTALL" >/dev/null
  echo "installed for the browser: $GLGUI_WEB_INSTALL"
else
  cmake --build "$OUT" -j "$JOBS" --target gui_demo
fi
echo "site: $OUT/site/gui_demo ($(ls "$OUT/site/gui_demo" | tr '\n' ' '))"
