#!/bin/bash
# Soak test of gui_demo: minutes of random mouse and key input and 50 fullscreen toggles on a
# private 640x480 Xvfb, where the display switch succeeds and every toggle really makes a new
# window in the other mode.
# Usage: soak.sh PATH-TO-gui_demo
#
#   phase 1  random moves, clicks, drags and keys (at most SOAK_EVENTS events, default 1200, and
#            SOAK_SECONDS seconds, default 70)
#   phase 2  50 F1 toggles, each waited for until the new window covers the screen (fullscreen)
#            or sits in its frame (windowed), with a few random events in between
#   phase 3  random input again (a third of phase 1's bounds)
#
# Checks: the program runs to the end and Escape then ends it with exit code 0; it printed no
# OpenGL error; no "Error" box appeared; its resident memory after the 50th toggle is within
# SOAK_RSS_SLACK_KB (default 8192) of what it was after the first. The random input never
# presses Escape, never F1 outside phase 2, and never comes near the "exit" button; the message
# boxes of the button page are closed with Return as they appear. SOAK_SEED (default 7) seeds
# the input, so a failing run can be repeated.
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

demo=${1:?path to gui_demo}
EVENTS=${SOAK_EVENTS:-1200}
SECONDS_LIMIT=${SOAK_SECONDS:-70}
SLACK_KB=${SOAK_RSS_SLACK_KB:-8192}
RANDOM=${SOAK_SEED:-7}
e2e_log() { :; }  # the soak prints its own summary lines
say() { echo "soak: $*"; }

# Keys that the demo ignores; F1 and Escape are left out (F1 has its own phase). Each key is
# pressed alone, so Alt never meets F4.
KEYS=(a b c x y z 1 2 3 space Return Tab BackSpace Left Right Up Down Home End Prior Next Insert Delete
  F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12 Shift_L Control_L Alt_L)

# Window pixels of "panel demo", "text demo", "button demo" and of "button 1" to "button 4".
TARGETS=("65 15" "568 15" "65 461" "125 94" "125 119" "125 144" "125 169")

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$E2E_DEMO_PID/status"; }
hwm_kb() { awk '/^VmHWM:/ {print $2}' "/proc/$E2E_DEMO_PID/status"; }

# A random point of the 640x480 client area away from the "exit" button (window pixels
# 502..634 x 448..474): no random press, release or move with a button held may end the program.
# The point is left in P ("x y"); no subshell, so that the seeded sequence is the same each run.
random_point() {
  local x y
  for (( ; ; )); do
    x=$((RANDOM % 640))
    y=$((RANDOM % 480))
    [ "$x" -ge 480 ] && [ "$y" -ge 430 ] && continue
    P="$x $y"
    return
  done
}

boxes_closed=0
close_boxes() {  # closes the button page's message boxes; an "Error" box fails the test
  local line id name
  while read -r line; do
    [ -n "$line" ] || continue
    id=${line%%$'\t'*}
    name=${line#*$'\t'}
    [ "$name" = "Error" ] && e2e_fail "an \"Error\" box appeared"
    xdotool key --window "$id" Return 2>/dev/null
    boxes_closed=$((boxes_closed + 1))
  done <<<"$(e2e_other_windows)"
}

events=0
random_event() {
  local kind=$((RANDOM % 10)) p
  case $kind in
    0 | 1 | 2 | 3)  # a move
      random_point
      xdotool mousemove --window "$E2E_WID" $P 2>/dev/null
      ;;
    4 | 5)  # a click: half of them on a navigation button or a button of the button page
      random_point
      [ "$kind" = 5 ] && P=${TARGETS[RANDOM % ${#TARGETS[@]}]}
      xdotool mousemove --window "$E2E_WID" $P mousedown 1 2>/dev/null
      sleep 0.05
      xdotool mouseup 1
      sleep 0.1
      close_boxes
      ;;
    6 | 7)  # a drag in a few steps
      random_point
      xdotool mousemove --window "$E2E_WID" $P mousedown 1 2>/dev/null
      local step
      for step in 1 2 3 4; do
        random_point
        xdotool mousemove --window "$E2E_WID" $P 2>/dev/null
        sleep 0.02
      done
      xdotool mouseup 1
      sleep 0.1
      close_boxes
      ;;
    8)  # a key
      p=${KEYS[RANDOM % ${#KEYS[@]}]}
      xdotool keydown --window "$E2E_WID" "$p" 2>/dev/null
      sleep 0.03
      xdotool keyup --window "$E2E_WID" "$p" 2>/dev/null
      ;;
    9)  # the right or the middle button
      random_point
      xdotool mousemove --window "$E2E_WID" $P click $((2 + RANDOM % 2)) 2>/dev/null
      ;;
  esac
  events=$((events + 1))
  sleep 0.02
  e2e_running || e2e_fail "the demo ended during the random input (after $events events)"
}

random_phase() {  # random_phase MAX-EVENTS MAX-SECONDS
  local limit=$1 deadline=$((SECONDS + $2)) n=0
  while [ "$n" -lt "$limit" ] && [ "$SECONDS" -lt "$deadline" ]; do
    random_event
    n=$((n + 1))
  done
  say "$n random events in $(($2 - (deadline - SECONDS))) s"
}

e2e_start_x 640x480
E2E_AUDIO=dummy e2e_start_demo "$demo"
say "gui_demo runs as process $E2E_DEMO_PID on $DISPLAY (seed ${SOAK_SEED:-7})"
start_rss=$(rss_kb)

random_phase "$EVENTS" "$SECONDS_LIMIT"

close_boxes
first_rss=""
toggle_ms=()
for toggle in $(seq 50); do
  if [ $((toggle % 2)) = 1 ]; then want='640x480+0+0'; else want='640x480+8+31'; fi
  old=$E2E_WID
  t0=$(date +%s%N)
  e2e_key F1 "$old"
  e2e_wait_geometry 15 "$want" || e2e_fail "toggle $toggle: no $want window"
  [ "$E2E_WID" != "$old" ] || e2e_fail "toggle $toggle: the window was not made anew"
  toggle_ms+=($((($(date +%s%N) - t0) / 1000000)))
  if [ "$toggle" = 1 ]; then
    sleep 1.0  # the scene built and a few hundred frames drawn
    first_rss=$(rss_kb)
  fi
  for i in 1 2 3 4 5; do random_event; done
  close_boxes
done
sleep 1.0
last_rss=$(rss_kb)
peak_rss=$(hwm_kb)
sorted=$(printf '%s\n' "${toggle_ms[@]}" | sort -n)
say "50 toggles: window made anew in $(echo "$sorted" | sed -n 25p) ms (median), $(echo "$sorted" | tail -n 1) ms (slowest), from F1 down to the new window's geometry"

random_phase $((EVENTS / 3)) $((SECONDS_LIMIT / 3))
e2e_running || e2e_fail "the demo is not running at the end"
end_rss=$(rss_kb)

say "resident memory: ${start_rss} kB at start, ${first_rss} kB after the first toggle," \
  "${last_rss} kB after the 50th, ${end_rss} kB at the end; peak ${peak_rss} kB"
say "$events random events in all; $boxes_closed message boxes closed"

if ldd "$demo" 2>/dev/null | grep -q -e libasan -e libtsan; then
  say "sanitizer build: memory growth not judged (freed blocks wait in the sanitizer's quarantine)"
else
  growth=$((last_rss - first_rss))
  e2e_check "memory after 50 toggles within $SLACK_KB kB of after the first (grew $growth kB)" \
    test "$growth" -le "$SLACK_KB"
fi

e2e_wait_window || true
e2e_key Escape
e2e_wait_exit 30 || e2e_fail "the demo did not quit on Escape"
e2e_check "Escape ends the demo with exit code 0 (got $E2E_EXIT)" test "$E2E_EXIT" -eq 0
if grep -qi 'opengl error' "$E2E_WORK/demo.err"; then
  e2e_fail "the demo reported OpenGL errors"
fi
if grep -q -e 'ERROR: AddressSanitizer' -e 'ERROR: LeakSanitizer' -e 'runtime error:' "$E2E_WORK/demo.err"; then
  e2e_fail "the sanitizers reported errors in the demo"
fi
say "passed"
