#!/bin/bash
# End-to-end: gui_demo under its own Xvfb. Checks the window's title and client size, and that
# Escape and the window's close request (the close box's WM_DELETE_WINDOW) both end the program
# with exit code 0. The fullscreen round trip is one of the demo's end-to-end scenarios.
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

DEMO_ERR=$(mktemp)
start_demo() {
  (cd "$ROOT" && exec "$DEMO" 2>>"$DEMO_ERR") &
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
  # The program looks at its key table once a frame, and the window may show before the first
  # frame: a key that went down and up before then would never be seen. Escape is held until the
  # program has ended (a key sent to the window does not repeat).
  xdotool keydown --window "$WID" Escape 2>/dev/null
  wait_exit
  xdotool keyup --window "$WID" Escape 2>/dev/null
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
cleanup

if [ "$FAILURES" -ne 0 ]; then
  echo "$FAILURES check(s) failed; gui_demo's standard error:"
  cat "$DEMO_ERR"
  rm -f "$DEMO_ERR"
  exit 1
fi
rm -f "$DEMO_ERR"
echo "all end-to-end checks passed"
