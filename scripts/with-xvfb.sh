#!/bin/bash
# with-xvfb.sh [WxHxD] COMMAND...: runs COMMAND with DISPLAY set to a private Xvfb (started with
# -noreset on a free display number, 1024x768x24 unless given) and stops that server afterwards.
set -u
SCREEN=1024x768x24
if [[ ${1:-} =~ ^[0-9]+x[0-9]+x[0-9]+$ ]]; then
  SCREEN=$1
  shift
fi
FIFO=$(mktemp -u)
mkfifo "$FIFO"
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "$SCREEN" 3>"$FIFO" 2>/dev/null &
XVFB_PID=$!
trap 'kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null' EXIT
read -r -t 20 NUMBER <"$FIFO" || true
rm -f "$FIFO"
if [ -z "${NUMBER:-}" ]; then
  echo "with-xvfb: Xvfb did not start" >&2
  exit 1
fi
DISPLAY=":$NUMBER" "$@"
