#!/bin/bash
# End-to-end: gui_demo under its own Xvfb. Checks the window's title and client size, that Escape
# and the window's close request both end the program with exit code 0, and (on a 640x480
# screen, where the mode switch succeeds) that F1 turns the window into a borderless 640x480
# one at 0,0 and back.
# Usage: e2e_demo.sh GUI_DEMO X11_CLOSE CHECKOUT_ROOT
set -u
DEMO=$1
CLOSE=$2
ROOT=$3
export SDL_AUDIODRIVER=dummy

XVFB_PID=
DEMO_PID=
FAILURES=0
cleanup() {
  [ -n "$DEMO_PID" ] && kill "$DEMO_PID" 2>/dev/null && wait "$DEMO_PID" 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  DEMO_PID=
  XVFB_PID=
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  FAILURES=$((FAILURES + 1))
}

# start_xvfb WxHxD: a private server on a free display number; sets DISPLAY and XVFB_PID.
start_xvfb() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "$1" 3>"$fifo" 2>/dev/null &
  XVFB_PID=$!
  local number
  read -r -t 20 number <"$fifo"
  rm -f "$fifo"
  if [ -z "$number" ]; then
    echo "FAIL: Xvfb did not start"
    exit 1
  fi
  export DISPLAY=":$number"
}

stop_xvfb() {
  kill "$XVFB_PID" 2>/dev/null
  wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
}

start_demo() {
  (cd "$ROOT" && exec "$DEMO") &
  DEMO_PID=$!
}

# find_window: prints the id of the visible window titled "GUI  DEMO" once it is there.
find_window() {
  local id
  for _ in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name '^GUI  DEMO$' 2>/dev/null | head -1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    if ! kill -0 "$DEMO_PID" 2>/dev/null; then return 1; fi
    sleep 0.1
  done
  return 1
}

# wait_exit: waits up to 15 s for the demo to end; sets RC to its exit code (or "timeout").
wait_exit() {
  RC=timeout
  for _ in $(seq 1 150); do
    if ! kill -0 "$DEMO_PID" 2>/dev/null; then
      wait "$DEMO_PID"
      RC=$?
      DEMO_PID=
      return
    fi
    sleep 0.1
  done
}

# press WINDOW KEY: holds the key long enough for a few frames to see it (a key that goes down
# and up within one message batch never shows in the key table).
press() {
  xdotool keydown --window "$1" "$2" 2>/dev/null
  sleep 0.3
  xdotool keyup --window "$1" "$2" 2>/dev/null
}

# wait_new_window OLD: sets NEW to the visible "GUI  DEMO" window once it is another than OLD.
wait_new_window() {
  NEW=
  local id
  for _ in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name '^GUI  DEMO$' 2>/dev/null | head -1)
    if [ -n "$id" ] && [ "$id" != "$1" ]; then
      NEW=$id
      return 0
    fi
    sleep 0.1
  done
  return 1
}

geometry() {  # prints "X Y W H" of a window
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
}

# --- 1. title, client size, Escape --------------------------------------------------------------
start_xvfb 1024x768x24
start_demo
if WID=$(find_window); then
  read -r X Y W H <<<"$(geometry "$WID")"
  [ "$W $H" = "640 480" ] || fail "client area is ${W}x${H}, expected 640x480"
  NAME=$(xprop -id "$WID" _NET_WM_NAME WM_NAME)
  grep -q '"GUI  DEMO"' <<<"$NAME" || fail "window title: $NAME"
  press "$WID" Escape
  wait_exit
  [ "$RC" = 0 ] || fail "Escape: exit code $RC, expected 0"
  echo "ok: window 'GUI  DEMO' ${W}x${H}; Escape ends it with code ${RC}"
else
  fail "no window titled 'GUI  DEMO' appeared"
fi
cleanup_demo() { [ -n "$DEMO_PID" ] && kill "$DEMO_PID" 2>/dev/null && wait "$DEMO_PID" 2>/dev/null; DEMO_PID=; }
cleanup_demo

# --- 2. the window's close request ---------------------------------------------------------------
start_demo
if WID=$(find_window); then
  "$CLOSE" "$WID" || fail "could not send the close request"
  wait_exit
  [ "$RC" = 0 ] || fail "close request: exit code $RC, expected 0"
  echo "ok: the close request ends it with code ${RC}"
else
  fail "no window for the close test"
fi
cleanup_demo
stop_xvfb

# --- 3. F1 on a 640x480 screen: fullscreen and back ----------------------------------------------
start_xvfb 640x480x24
start_demo
if WID=$(find_window); then
  press "$WID" F1
  if wait_new_window "$WID"; then
    FULL=$NEW
    read -r X Y W H <<<"$(geometry "$FULL")"
    [ "$X $Y $W $H" = "0 0 640 480" ] || fail "fullscreen window at $X,$Y size ${W}x${H}, expected 0,0 640x480"
    echo "ok: F1 re-creates the window at $X,$Y ${W}x${H}"
    press "$FULL" F1
    if wait_new_window "$FULL"; then
      read -r X Y W H <<<"$(geometry "$NEW")"
      [ "$W $H" = "640 480" ] || fail "windowed again: client ${W}x${H}"
      press "$NEW" Escape
      wait_exit
      [ "$RC" = 0 ] || fail "Escape after the toggles: exit code $RC"
      echo "ok: F1 again gives a ${W}x${H} window again; Escape ends it with code ${RC}"
    else
      fail "second F1 did not re-create the window"
    fi
  else
    fail "F1 did not re-create the window"
  fi
else
  fail "no window for the fullscreen test"
fi
cleanup

if [ "$FAILURES" -ne 0 ]; then
  echo "$FAILURES check(s) failed"
  exit 1
fi
echo "all end-to-end checks passed"
