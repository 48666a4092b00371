#!/bin/bash
# End-to-end tests of the Windows build of gui_demo under Wine, as a person uses it: a private
# Xvfb, real X input through xdotool, screenshots compared with the Linux references.
# Usage: e2e_wine.sh SCENARIO PATH-TO-gui_demo.exe [PATH-TO-access_client.exe]
#   start     a window titled "GUI  DEMO" with a 640x480 client area showing the start page
#   message   "button 3" on the button page shows "A(z) 3. gomb lett lenyomva!"; OK closes it
#   modefail  F1 on a 1024x768 screen shows "Mode Switch Failed.\nRunning In Windowed Mode."
#   exit      "exit" ends the program with exit code 0
#   keyboard  Tab and Return alone reach every page, "button 3"'s box and "exit"
#   access    a screen reader's MSAA client in another process (access_client.exe) finds the four
#             navigation buttons as push buttons on the window, gives "exit" the focus and is told,
#             presses "button demo" and then "button 3", whose box opens
#   access_stale  a client holding the window's object while F1 makes the window anew gets a
#             failure from it, not a crash or a hang, and reads the new window's tree
# The texts of message boxes are read from Wine's own trace of the box it shows.
source "$(dirname "${BASH_SOURCE[0]}")/wine_lib.sh"

scenario=${1:?scenario}
demo=${2:?path to gui_demo.exe}
client=${3:-}
BUILD_DIR=$(cd "$(dirname "$demo")/.." && pwd)

wine_prefix "$BUILD_DIR/wineprefix-e2e" trace+msgbox

PANEL_DEMO="65 15"
BUTTON_DEMO="65 461"
EXIT="568 461"
REST="320 240"
# Window rectangles where the focus rings of the navigation buttons show, and the sides of
# "button 3"'s ring (those of "button 2" and "button 4" reach into the rows above and below it).
PANEL_DEMO_RING=132x32+0+0
TEXT_DEMO_RING=144x32+496+0
BUTTON_DEMO_RING=132x38+0+442
EXIT_RING=144x38+496+442
BUTTON_3_RING=146x20+50+134

# Starts the program as a person would: unpacked from the build's zip (or, before the zip is
# made, from the same two things copied into a folder), from that folder; then waits for its
# window. Keys reach a Wine window only while it has the X focus.
wine_start_demo() {
  mkdir -p "$E2E_WORK/app"
  local zip=$BUILD_DIR/gui_demo-windows.zip
  if [ -f "$zip" ] && [ "$zip" -nt "$demo" ]; then
    unzip -q "$zip" -d "$E2E_WORK/app"
  else
    cp "$demo" "$E2E_WORK/app/gui_demo.exe"
    cp -r "$E2E_SOURCE_DIR/default" "$E2E_WORK/app/default"
  fi
  wine_start "$E2E_WORK/app" gui_demo.exe
}

# Waits up to $1 seconds for Wine to show a message box with the text $2.
wait_box_text() {
  local i
  for i in $(seq $(($1 * 10))); do
    grep -qF "MSGBOX_OnInit L\"$2\"" "$E2E_WORK/demo.err" && return 0
    sleep 0.1
  done
  return 1
}

# Runs access_client.exe with the arguments (it waits for what it is asked for itself); its lines
# without the console's carriage returns.
access() {
  WINEDEBUG=-all timeout -k 3 90 wine "$client" "$@" | sed -u 's/\r$//'
  return "${PIPESTATUS[0]}"
}

client_size() { xwininfo -id "$E2E_WID" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# F1 on a screen too small for the mode: the failure's box shows its text, and Return dismisses it.
f1_mode_fails() {
  e2e_key F1
  e2e_check "F1 shows \"Mode Switch Failed.\\nRunning In Windowed Mode.\"" \
    wait_box_text 10 'Mode Switch Failed.\\nRunning In Windowed Mode.'
  local box
  box=$(e2e_wait_box 5 "Error") || e2e_fail "no \"Error\" box window"
  xdotool windowfocus --sync "$box"
  xdotool key --window "$box" Return
}

case $scenario in
  start)
    e2e_start_x 1024x768
    wine_start_demo
    e2e_check "client area 640x480 ($(client_size))" test "$(client_size)" = 640x480
    e2e_move $REST
    e2e_expect_page start
    ;;

  message)
    e2e_start_x 1024x768
    wine_start_demo
    e2e_click $BUTTON_DEMO
    e2e_move $REST
    e2e_expect_page buttons
    e2e_click 125 144  # "button 3": virtual (100,210) - (300,250)
    e2e_check "the box says \"A(z) 3. gomb lett lenyomva!\"" wait_box_text 5 "A(z) 3. gomb lett lenyomva!"
    box=$(e2e_wait_box 5 "GUI  DEMO") || e2e_fail "no message box window appeared"
    e2e_check "the program waits while the box is open" e2e_running
    xdotool windowfocus --sync "$box"
    xdotool key --window "$box" Return
    for i in $(seq 50); do
      [ -z "$(e2e_other_windows | awk -F '\t' -v b="$box" '$1==b')" ] && break
      sleep 0.1
    done
    e2e_check "OK closes the box" test -z "$(e2e_other_windows | awk -F '\t' -v b="$box" '$1==b')"
    e2e_check "the program goes on after the box" e2e_running
    ;;

  modefail)
    e2e_start_x 1024x768
    wine_start_demo
    f1_mode_fails
    e2e_wait_window || e2e_fail "no window after the failed switch"
    e2e_check "the demo runs on in a window" e2e_running
    ;;

  exit)
    e2e_start_x 1024x768
    wine_start_demo
    e2e_click $EXIT
    e2e_move $REST
    e2e_wait_exit 10 || e2e_fail "the program did not end after \"exit\""
    e2e_check "exit code 0 (got $E2E_EXIT)" test "$E2E_EXIT" = 0
    ;;

  keyboard)
    e2e_start_x 1024x768
    wine_start_demo
    e2e_move $REST
    e2e_key Tab
    e2e_wait_focus '"panel demo"' "$PANEL_DEMO_RING"
    e2e_key Return
    e2e_expect_page_without panels "$PANEL_DEMO_RING"
    e2e_key Tab
    e2e_wait_focus '"text demo"' "$TEXT_DEMO_RING"
    e2e_key Return
    e2e_expect_page_without text "$TEXT_DEMO_RING" 640x164+0+68  # the outline labels in Wine's fonts
    e2e_key Tab
    e2e_wait_focus '"button demo"' "$BUTTON_DEMO_RING"
    e2e_key Return
    e2e_expect_page_without buttons "$BUTTON_DEMO_RING"
    # "button demo", "exit", then the page's own buttons; Shift+Tab comes back from "button 4".
    e2e_press Tab 5
    e2e_key shift+Tab
    e2e_wait_focus '"button 3"' "$BUTTON_3_RING"
    xdotool windowfocus --sync "$E2E_WID" keydown Return  # the box stops the frames: none to wait for
    e2e_check "the box says \"A(z) 3. gomb lett lenyomva!\"" wait_box_text 5 "A(z) 3. gomb lett lenyomva!"
    xdotool keyup Return
    box=$(e2e_wait_box 5 "GUI  DEMO") || e2e_fail "no message box window appeared"
    xdotool windowfocus --sync "$box"
    xdotool key --window "$box" Return
    e2e_check "OK closes the box" e2e_wait_box_gone 5 "$box"
    e2e_press shift+Tab 3
    e2e_wait_focus '"exit"' "$EXIT_RING"
    e2e_key Return
    e2e_wait_exit 10 || e2e_fail "Return on \"exit\" did not end the program"
    e2e_check "exit code 0 (got $E2E_EXIT)" test "$E2E_EXIT" = 0
    ;;

  access)
    e2e_start_x 1024x768
    wine_start_demo
    e2e_move $REST  # the plane leans towards the pointer
    access wait "panel demo" "text demo" "button demo" "exit" >"$E2E_WORK/start.tree" ||
      e2e_fail "the start page's buttons were not all on the window: $(cat "$E2E_WORK/start.tree")"
    cat "$E2E_WORK/start.tree" >&2
    e2e_check "the client object is \"GUI  DEMO\"" grep -qP '^0\tclient\tGUI  DEMO\t' "$E2E_WORK/start.tree"
    for name in "panel demo" "text demo" "button demo" "exit"; do
      e2e_check "\"$name\" is a push button" grep -qP "^2\tpush button\t$name\t" "$E2E_WORK/start.tree"
    done
    e2e_check "the focus given to \"exit\" is told" access focus "exit"
    e2e_wait_focus '"exit"' "$EXIT_RING"
    e2e_check "a press of \"button demo\" is taken" access press "button demo"
    access wait "button 1" "button 2" "button 3" >"$E2E_WORK/buttons.tree" ||
      e2e_fail "the button page did not come: $(cat "$E2E_WORK/buttons.tree")"
    e2e_check "the button page is shown" grep -qP '^1\tpane\tbutton demo\t' "$E2E_WORK/buttons.tree"
    e2e_check "a press of \"button 3\" is taken" access press "button 3"
    e2e_check "the box says \"A(z) 3. gomb lett lenyomva!\"" wait_box_text 10 "A(z) 3. gomb lett lenyomva!"
    e2e_check "the program waits while the box is open" e2e_running
    ;;

  access_stale)
    e2e_start_x 1024x768
    wine_start_demo
    e2e_move $REST
    access stale >"$E2E_WORK/stale.out" &
    stale=$!
    for i in $(seq 300); do
      grep -q '^holding' "$E2E_WORK/stale.out" && break
      kill -0 $stale 2>/dev/null || break
      sleep 0.1
    done
    e2e_check "the client holds the window's object ($(head -n 1 "$E2E_WORK/stale.out"))" \
      grep -q '^holding [1-9]' "$E2E_WORK/stale.out"
    f1_mode_fails
    wait $stale
    status=$?
    cat "$E2E_WORK/stale.out" >&2
    e2e_check "the client finished (exit code $status)" test "$status" = 0
    # Disconnected: Wine's proxy says RPC_S_UNKNOWN_IF (the stub has gone), Windows' RPC_E_DISCONNECTED,
    # the object itself CO_E_OBJNOTCONNECTED; not RPC_E_SERVERFAULT (a fault in the call) nor a hang.
    e2e_check "the old window's object fails ($(grep '^stale' "$E2E_WORK/stale.out"))" \
      grep -qE '^stale 0x(800706b5|80010108|800401fd)$' "$E2E_WORK/stale.out"
    e2e_check "the new window's tree is read" grep -qP '^2\tpush button\texit\t' "$E2E_WORK/stale.out"
    e2e_check "the demo runs on" e2e_running
    ;;

  *) e2e_fail "unknown scenario $scenario" ;;
esac
