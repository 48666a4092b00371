#!/bin/bash
# Real X input under Wine, message by message: xdotool drives a window that prints what reaches
# its window procedure (InputProbe.exe), and the messages, key codes, MK bits, wheel distances and
# lParam bits are compared with what the window procedure is written for (and the stand-in makes).
# Usage: e2e_input.sh PATH-TO-input_probe.exe
E2E_TITLE="INPUT PROBE"
source "$(dirname "${BASH_SOURCE[0]}")/wine_lib.sh"

probe=${1:?path to input_probe.exe}
BUILD_DIR=$(cd "$(dirname "$probe")/../.." && pwd)
wine_prefix "$BUILD_DIR/wineprefix-e2e"

e2e_start_x 1024x768
timeout -k 3 60 wine wineboot -i >/dev/null 2>&1
timeout -k 3 60 wine "$probe" >"$E2E_WORK/demo.out" 2>"$E2E_WORK/demo.err" &
E2E_DEMO_PID=$!
# The probe draws no frames to wait for: its window is enough.
e2e_wait_window || e2e_fail "the probe window did not appear"
xdotool windowfocus --sync "$E2E_WID"

# Waits until the probe has printed a line matching $1 (an extended regular expression).
seen() {
  local i
  for i in $(seq 50); do
    tr -d '\r' <"$E2E_WORK/demo.out" | grep -qE "$1" && return 0  # the C runtime writes CR LF
    sleep 0.1
  done
  return 1
}
hex() { printf '%x' "$1"; }

xdotool mousemove --window "$E2E_WID" 100 50
e2e_check "a move gives WM_MOUSEMOVE at the client position (100,50)" seen "^WM_MOUSEMOVE 0 $(hex $((50 << 16 | 100)))$"
xdotool keydown shift
xdotool mousedown 1
e2e_check "the left button gives WM_LBUTTONDOWN with MK_LBUTTON and MK_SHIFT" seen "^WM_LBUTTONDOWN 5 "
xdotool mousemove --window "$E2E_WID" 120 60
e2e_check "a move while held and Shift down carries MK_LBUTTON|MK_SHIFT" seen "^WM_MOUSEMOVE 5 $(hex $((60 << 16 | 120)))$"
xdotool mouseup 1
xdotool keyup shift
e2e_check "the release gives WM_LBUTTONUP without MK_LBUTTON (Shift still down)" seen "^WM_LBUTTONUP 4 "
xdotool mousedown 3 mouseup 3 mousedown 2 mouseup 2
e2e_check "the right button gives WM_RBUTTONDOWN with MK_RBUTTON" seen "^WM_RBUTTONDOWN 2 "
e2e_check "the middle button gives WM_MBUTTONDOWN with MK_MBUTTON" seen "^WM_MBUTTONDOWN 10 "
xdotool click 4 click 4 click 5
e2e_check "a notch down is one of -120" seen "^WM_MOUSEWHEEL ff880000 "
# The notch down came last: both notches up are in by now.
e2e_check "each wheel notch up is one WM_MOUSEWHEEL of +120" \
  test "$(grep -c '^WM_MOUSEWHEEL 780000 ' "$E2E_WORK/demo.out")" = 2
xdotool keydown a
sleep 0.1
xdotool keyup a
e2e_check "A gives WM_KEYDOWN 0x41 (bits 29-31 clear)" seen "^WM_KEYDOWN 41 [0-1]?[0-9a-f]{1,7}$"
e2e_check "and WM_KEYUP 0x41 with bits 30 and 31 set" seen "^WM_KEYUP 41 c[0-9a-f]{7}$"
xdotool keydown alt keydown x
sleep 0.1
xdotool keyup x keyup alt
e2e_check "Alt+X gives WM_SYSKEYDOWN 0x58 with bit 29 set" seen "^WM_SYSKEYDOWN 58 2[0-9a-f]{7}$"
xdotool keydown F10
sleep 0.1
xdotool keyup F10
e2e_check "F10 is a system key: WM_SYSKEYDOWN 0x79" seen "^WM_SYSKEYDOWN 79 "
xdotool keydown Escape
sleep 0.1
xdotool keyup Escape
e2e_wait_exit 10 || e2e_fail "the probe did not end on Escape"
e2e_log "messages seen:"
tr -d '\r' <"$E2E_WORK/demo.out" >&2
