#!/bin/bash
# The Windows package as a user meets it: the Windows build installed into a temporary prefix,
# examples/hello cross-built from that prefix alone (with libjpeg-turbo built for Windows), then
# run under Wine on a private Xvfb: it writes a screenshot that is not blank, with the lines it
# draws with the toolkit's DrawText, reports the system's tick count, its button's click reaches
# its handler, and Escape brings up its Win32 message box (MessageBoxA, with the caption read in
# Wine's ANSI code page, not in the toolkit's 1250), which answered ends it with exit code 0.
# Usage: examples_wine.sh BUILD_DIR DEPS_PREFIX   (the Windows build and its dependencies' prefix)
E2E_TITLE=hello
source "$(dirname "${BASH_SOURCE[0]}")/wine_lib.sh"

BUILD=$(cd "${1:?Windows build folder}" && pwd)
DEPS=${2:?prefix of the dependencies built for Windows}
CMAKE=${CMAKE:-cmake}
wine_prefix "$BUILD/wineprefix-examples"

PREFIX=$E2E_WORK/prefix
e2e_log "installing $BUILD into a temporary prefix"
"$CMAKE" --install "$BUILD" --prefix "$PREFIX" >"$E2E_WORK/install.log" ||
  e2e_fail "cmake --install (see $E2E_WORK/install.log)"
LEAKS=$(grep -rlF -e "$E2E_SOURCE_DIR" "$PREFIX" --include='*.cmake' --include='*.pc' --include='*.h' || true)
[ -z "$LEAKS" ] || e2e_fail "installed files name the checkout: $LEAKS"

# Built as a user outside the tree would: its own copy, the toolchain, the two prefixes. -static
# makes the one self-contained exe the package's own programs are, with no MinGW DLLs to find.
e2e_log "hello: cross-building against the prefix alone"
cp -r "$E2E_SOURCE_DIR/examples/hello" "$E2E_WORK/src"
"$CMAKE" -S "$E2E_WORK/src" -B "$E2E_WORK/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$E2E_SOURCE_DIR/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_PREFIX_PATH="$PREFIX;$DEPS" -DCMAKE_EXE_LINKER_FLAGS=-static >"$E2E_WORK/configure.log" 2>&1 ||
  e2e_fail "configure (see $E2E_WORK/configure.log)"
"$CMAKE" --build "$E2E_WORK/build" >"$E2E_WORK/build.log" 2>&1 || e2e_fail "build (see $E2E_WORK/build.log)"

e2e_log "hello: running under Wine"
e2e_start_x 1024x768
wine_start "$E2E_WORK" "$E2E_WORK/build/hello.exe" --screenshot hello.tga

# wait_line TEXT SECONDS: until the program prints TEXT (it flushes each line).
wait_line() {
  local i
  for i in $(seq $(($2 * 10))); do
    grep -qF "$1" "$E2E_WORK/demo.out" && return 0
    e2e_running || return 1
    sleep 0.1
  done
  return 1
}
e2e_check "the screenshot is written" wait_line "screenshot written" 30
colours=$(identify -format '%k' "$E2E_WORK/hello.tga" 2>/dev/null || echo 0)
e2e_check "the screenshot is not blank ($colours colours)" test "$colours" -ge 32
# region_colours WxH+X+Y: the colours in that part of the screenshot (1: nothing drawn there).
region_colours() { convert "$E2E_WORK/hello.tga" -crop "$1" +repage -format '%k' info: 2>/dev/null || echo 0; }
# DrawText's lines on the background, at virtual y 704 ("Escape quits") and 672 (the tick count).
for line in "150x16+8+448" "300x16+8+428"; do
  colours=$(region_colours "$line")
  e2e_check "the toolkit's DrawText drew in $line ($colours colours)" test "$colours" -ge 2
done
ticks=$(sed -n 's/^hello: GetTickCount \([0-9]*\)\r*$/\1/p' "$E2E_WORK/demo.out" | head -n 1)
uptime=$(awk '{printf "%d", $1 * 1000}' /proc/uptime)
# Wine's GetTickCount is the host's uptime in milliseconds; it was read a few seconds ago at most.
e2e_check "GetTickCount gave the system's tick count (${ticks:-nothing}, uptime $uptime ms)" \
  test -n "$ticks" -a "$ticks" -le "$uptime" -a "$ticks" -ge $((uptime - 60000))
# hello's button: virtual (352..562, 384..434) in the 640 x 480 window, pixels around (285, 255).
e2e_click 285 255
e2e_check "the click reaches the button's handler" wait_line "hello: click 1" 10
xdotool keydown Escape
# The caption's bytes E0 and F4 read as code page 1252 (Wine's default): "à" and "ô". The
# toolkit's own boxes read 1250, which would make the first "ŕ".
box=$(e2e_wait_box 20 "hello à bientôt") || {
  e2e_other_windows >&2
  e2e_fail "no message box captioned \"hello à bientôt\" after Escape"
}
xdotool keyup Escape
e2e_log "ok: Escape closed the window and MessageBoxA showed its box"
xdotool windowfocus --sync "$box"
xdotool key --window "$box" Return
e2e_check "the answer reaches the program" wait_line "hello: MessageBoxA returned 1" 10
e2e_wait_exit 20 || e2e_fail "still running 20 s after the box was answered"
e2e_check "exit code 0 after Escape and the box (got $E2E_EXIT)" test "$E2E_EXIT" = 0
