#!/bin/bash
# End-to-end: gui_demo under its own Xvfb. Checks the window's title and client size, and that
# Escape and the window's close request (the close box's WM_DELETE_WINDOW) both end the program
# with exit code 0. The fullscreen round trip is one of the demo's end-to-end scenarios.
# Usage: e2e_demo.sh GUI_DEMO X11_CLOSE CHECKOUT_ROOT
DEMO=$1
CLOSE=$2
E2E_SOURCE_DIR=$3
E2E_AUDIO=dummy
source "$E2E_SOURCE_DIR/tests/demo/e2e_lib.sh"

e2e_start_x 1024x768

# --- 1. title, client size, Escape --------------------------------------------------------------
e2e_start_demo "$DEMO"
size=$(e2e_client_size)
e2e_check "client area 640 480 (got $size)" test "$size" = "640 480"
name=$(xprop -id "$E2E_WID" _NET_WM_NAME WM_NAME)
e2e_check "window title \"GUI  DEMO\" ($name)" grep -q '"GUI  DEMO"' <<<"$name"
e2e_key Escape
e2e_wait_exit 15 || e2e_fail "the demo did not quit on Escape"
e2e_check "Escape ends it with exit code 0 (got $E2E_EXIT)" test "$E2E_EXIT" -eq 0

# --- 2. the window's close request ---------------------------------------------------------------
# On the same display: the first demo's window may still be listed, and e2e_start_demo finds the
# second one's own. Should the window go between finding and sending, it is looked up again.
e2e_start_demo "$DEMO"
sent=0
for _ in 1 2 3; do
  if "$CLOSE" "$E2E_WID"; then
    sent=1
    break
  fi
  e2e_wait_window || break
done
e2e_check "the close request is sent" test "$sent" = 1
e2e_wait_exit 15 || e2e_fail "the demo did not quit on the close request"
e2e_check "the close request ends it with exit code 0 (got $E2E_EXIT)" test "$E2E_EXIT" -eq 0
e2e_log "all end-to-end checks passed"
