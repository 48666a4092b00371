#!/bin/bash
# test-examples.sh [--shots DIR] [BUILD_DIR]
#
# Installs BUILD_DIR (default build/, or $GLGUI_BUILD_DIR) into a temporary prefix, copies each
# example under examples/ out of the checkout, configures and builds it against that prefix alone
# (find_package(glgui) through CMAKE_PREFIX_PATH), and runs it on its own private Xvfb: it must
# write a screenshot that is not blank, and end with exit code 0 on Escape. hello's button is also
# clicked once, which must reach its handler. Nothing installed and nothing in the examples' build
# files may name the checkout. Then the installed gui_demo must start from PREFIX/share/glgui and end
# on Escape with 0, and the program in docs/guide.md's last section must build (CMake, pkg-config).
#
# --shots DIR  keeps the screenshots as DIR/hello.png and DIR/embed-sdl.png (the guide's pictures).
# Needs: cmake, ninja, Xvfb, xdotool, ImageMagick. Leaves nothing behind unless a check fails (then
# the logs stay in the temporary folder, which it names).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SELF="$ROOT/scripts/test-examples.sh"
CMAKE=${CMAKE:-cmake}

# ---- one example on the current display (run through scripts/with-xvfb.sh) --------------------
# --run-one EXE TITLE SHOT LOG [CLICK_X CLICK_Y EXPECTED_LINE]; SHOT "-": a program without
# --screenshot (gui_demo), which runs in the current folder and is only waited for.
if [ "${1:-}" = "--run-one" ]; then
  EXE=$2 TITLE=$3 SHOT=$4 LOG=$5
  CLICK_X=${6:-} CLICK_Y=${7:-} EXPECTED=${8:-}
  if [ "$SHOT" = - ]; then
    "$EXE" >"$LOG" 2>&1 &
  else
    "$EXE" --screenshot "$SHOT" >"$LOG" 2>&1 &
  fi
  PID=$!
  # SIGTERM only queues SDL's quit event, which a program may not look at: SIGKILL after 3 s.
  stop() {
    kill "$PID" 2>/dev/null || return 0
    for _ in $(seq 30); do
      kill -0 "$PID" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$PID" 2>/dev/null
    wait "$PID" 2>/dev/null
  }
  trap stop EXIT
  fail() {
    echo "FAIL: $(basename "$EXE"): $*" >&2
    sed 's/^/  | /' "$LOG" >&2
    exit 1
  }
  # wait_line TEXT SECONDS: until the program prints TEXT (it flushes each line it prints).
  wait_line() {
    local i
    for i in $(seq $(($2 * 10))); do
      grep -qF "$1" "$LOG" && return 0
      kill -0 "$PID" 2>/dev/null || return 1
      sleep 0.1
    done
    return 1
  }
  if [ "$SHOT" != - ]; then
    wait_line "screenshot written" 60 || fail "no screenshot"
  fi
  WID=
  for _ in $(seq 300); do
    WID=$(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -n 1 || true)
    [ -n "$WID" ] && break
    kill -0 "$PID" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$WID" ] || fail "no window titled '$TITLE'"
  if [ -n "$CLICK_X" ]; then
    # The widgets see the mouse position of the previous frame: each step waits until the program
    # has drawn the frames that took the one before it.
    frames() { python3 "$ROOT/tests/demo/e2e_frames.py" "$WID" 3 20 -- "$@" || fail "no frames after: $*"; }
    frames xdotool mousemove --window "$WID" "$CLICK_X" "$CLICK_Y"
    frames xdotool mousedown 1
    xdotool mouseup 1
    wait_line "$EXPECTED" 10 || fail "clicking at ($CLICK_X, $CLICK_Y) did not print '$EXPECTED'"
    echo "test-examples: ok: a click at ($CLICK_X, $CLICK_Y) printed '$EXPECTED'"
  fi
  # The key stays down until the program has ended (its window is gone by then).
  xdotool keydown --window "$WID" Escape
  for _ in $(seq 100); do
    kill -0 "$PID" 2>/dev/null || break
    sleep 0.1
  done
  xdotool keyup Escape 2>/dev/null || true
  kill -0 "$PID" 2>/dev/null && fail "still running 10 s after Escape"
  RC=0
  wait "$PID" || RC=$?
  trap - EXIT
  [ "$RC" = 0 ] || fail "exit code $RC after Escape, expected 0"
  exit 0
fi

# ---- install, build, run -----------------------------------------------------------------------
SHOTS=
BUILD=${GLGUI_BUILD_DIR:-$ROOT/build}
while [ $# -gt 0 ]; do
  case $1 in
    --shots) SHOTS=$(mkdir -p "$2" && cd "$2" && pwd); shift 2 ;;
    *) BUILD=$(cd "$1" && pwd); shift ;;
  esac
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/glgui-examples.XXXXXX")
OK=0
trap '[ "$OK" = 1 ] && rm -rf "$WORK" || echo "test-examples: logs kept in $WORK" >&2' EXIT
step() { echo "test-examples: $*"; }
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

PREFIX=$WORK/prefix
step "installing $BUILD into a temporary prefix"
"$CMAKE" --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" || fail "cmake --install (see $WORK/install.log)"
LEAKS=$(grep -rlF -e "$ROOT" "$PREFIX" --include='*.cmake' --include='*.pc' --include='*.h' || true)
[ -z "$LEAKS" ] || fail "installed files name the checkout: $LEAKS"

# name: title, then where to click and what the program then prints (hello only)
declare -A TITLE=([hello]=hello [embed-sdl]=embed-sdl)
declare -A EXE=([hello]=hello [embed-sdl]=embed_sdl)
# hello's button: virtual (352..562, 384..434) in a 640 x 480 window, pixels around (285, 255).
declare -A CLICK=([hello]="285 255")
declare -A EXPECT=([hello]="hello: click 1")

for name in hello embed-sdl; do
  step "$name: configuring and building against the prefix alone"
  cp -r "$ROOT/examples/$name" "$WORK/src-$name"
  "$CMAKE" -S "$WORK/src-$name" -B "$WORK/build-$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$PREFIX" >"$WORK/$name-configure.log" 2>&1 ||
    fail "$name: configure (see $WORK/$name-configure.log)"
  "$CMAKE" --build "$WORK/build-$name" >"$WORK/$name-build.log" 2>&1 ||
    fail "$name: build (see $WORK/$name-build.log)"
  ! grep -qF "$ROOT" "$WORK/build-$name/build.ninja" "$WORK/build-$name/CMakeCache.txt" ||
    fail "$name: its build files name the checkout"

  step "$name: running on a private Xvfb"
  SHOT=$WORK/$name.tga
  ARGS=("$WORK/build-$name/${EXE[$name]}" "${TITLE[$name]}" "$SHOT" "$WORK/$name.log")
  if [ -n "${CLICK[$name]:-}" ]; then
    read -r X Y <<<"${CLICK[$name]}"
    ARGS+=("$X" "$Y" "${EXPECT[$name]}")
  fi
  "$ROOT/scripts/with-xvfb.sh" bash "$SELF" --run-one "${ARGS[@]}" || fail "$name: run"
  COLOURS=$(identify -format '%k' "$SHOT")
  [ "$COLOURS" -ge 32 ] || fail "$name: the screenshot is blank ($COLOURS colours)"
  step "ok: $name built from the install, screenshot with $COLOURS colours, exit code 0 on Escape"
  if [ -n "$SHOTS" ]; then
    convert "$SHOT" -strip "$SHOTS/$name.png"
    step "$name: screenshot kept as $SHOTS/$name.png"
  fi
done
# The installed demo, run as the guide says: from PREFIX/share/glgui, which holds its default/.
step "gui_demo: running the installed copy on a private Xvfb"
(cd "$PREFIX/share/glgui" && SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} \
  "$ROOT/scripts/with-xvfb.sh" bash "$SELF" --run-one "$PREFIX/bin/gui_demo" "GUI  DEMO" - "$WORK/gui_demo.log") ||
  fail "gui_demo: run"
step "ok: the installed gui_demo ends with exit code 0 on Escape"

# The guide's last section is a whole program and its CMakeLists.txt: they must still build.
step "docs/guide.md: building its SDL2 program against the prefix"
mkdir -p "$WORK/src-guide"
awk '/^## 8\./ { on = 1 } on && /^```cpp$/ { out = "main.cpp"; next } on && /^```cmake$/ { out = "CMakeLists.txt"; next }
     /^```$/ { out = ""; next } out != "" { print > (dir "/" out) }' dir="$WORK/src-guide" "$ROOT/docs/guide.md"
[ -s "$WORK/src-guide/main.cpp" ] && [ -s "$WORK/src-guide/CMakeLists.txt" ] || fail "docs/guide.md: no program found"
"$CMAKE" -S "$WORK/src-guide" -B "$WORK/build-guide" -G Ninja -DCMAKE_PREFIX_PATH="$PREFIX" \
  >"$WORK/guide-configure.log" 2>&1 || fail "docs/guide.md: configure (see $WORK/guide-configure.log)"
"$CMAKE" --build "$WORK/build-guide" >"$WORK/guide-build.log" 2>&1 ||
  fail "docs/guide.md: build (see $WORK/guide-build.log)"
step "ok: the guide's program builds"
step "docs/guide.md: building the same program with pkg-config"
PKG_CONFIG_PATH="$(dirname "$(find "$PREFIX" -name glgui.pc | head -n 1)")" &&
  export PKG_CONFIG_PATH
# shellcheck disable=SC2046  # the flags are words
c++ -std=c++17 -o "$WORK/guide-pkg-config" "$WORK/src-guide/main.cpp" $(pkg-config --cflags --libs glgui) \
  >"$WORK/guide-pkg-config.log" 2>&1 || fail "docs/guide.md: pkg-config build (see $WORK/guide-pkg-config.log)"
step "ok: glgui.pc builds it too"

OK=1
step "all examples passed"
