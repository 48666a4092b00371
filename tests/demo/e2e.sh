#!/bin/bash
# End-to-end tests of gui_demo as a person uses it, under a private Xvfb with real X input.
# Usage: e2e.sh SCENARIO PATH-TO-gui_demo
#   start       the start screen: welcome panel, version line, four navigation buttons
#   hover       hovering a button plays the sound (the disk audio file gets non-silent samples)
#   panels      "panel demo" pulls back and shows the panel page; dragging a panel moves it and its child
#   text        "text demo" shows the labels, the Hungarian letters among them
#   message     "button 3" on the button page shows its message box; OK closes it
#   modefail    F1 on a 1024x768 screen: the mode switch fails with its message, the demo goes on
#   fullscreen  F1 on a 640x480 screen: the demo comes back fullscreen, F1 again brings the window back
#   exit        "exit" quits after the pull-back with exit code 0
#   signal      Ctrl+C (SIGINT) and kill (SIGTERM) end the demo with exit code 0, like its close box
#   keyboard    Tab and Return alone reach every page, "button 3"'s box and "exit"; the focus ring
#               shows after a key and goes with a click; Right moves a focused panel
#   reader      read over AT-SPI as a screen reader does (e2e_reader.py): the start page's buttons
#               by name and place, Tab's focus events in order, and presses that show the button
#               page and "button 3"'s box, which reads as an alert
# The reader scenario runs on a private D-Bus session, whose accessibility bus the demo and the
# reader then find by themselves.
if [ "${1:-}" = reader ] && [ -z "${E2E_READER_SESSION:-}" ]; then
  E2E_READER_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

scenario=${1:?scenario}
demo=${2:?path to gui_demo}

# Window pixels of the navigation buttons' centres (virtual (105,25), (909,25), (105,738), (909,738)).
PANEL_DEMO="65 15"
TEXT_DEMO="568 15"
BUTTON_DEMO="65 461"
EXIT="568 461"
REST="320 240"  # where the mouse rests for the page pictures
# Window rectangles where the focus rings of the navigation buttons show, and the sides of
# "button 3"'s ring (those of "button 2" and "button 4" reach into the rows above and below it).
PANEL_DEMO_RING=132x32+0+0
TEXT_DEMO_RING=144x32+496+0
BUTTON_DEMO_RING=132x38+0+442
EXIT_RING=144x38+496+442
BUTTON_3_RING=146x20+50+134

# drag X Y DX DY: presses at window pixel (X, Y), moves ten steps of (DX, DY) and lets go, each
# taken by a frame before the next: the grab is where the press was, the panel follows step by
# step (several steps in one frame would leave the mouse outside the panel's last place, and a
# panel it passes over there would come to the front), and it is let go where the mouse ended.
drag() {
  e2e_move "$1" "$2"
  e2e_sync
  xdotool mousedown 1
  e2e_sync
  local step
  for step in 1 2 3 4 5 6 7 8 9 10; do
    e2e_move $(($1 + step * $3)) $(($2 + step * $4))
    e2e_sync
  done
  xdotool mouseup 1
  e2e_sync
}

go_to_page() {  # go_to_page "x y": click a navigation button; the page's picture is waited for
  e2e_click $1
  e2e_move $REST
}

case $scenario in
  start)
    e2e_start_x 1024x768
    e2e_start_demo "$demo"
    e2e_move $REST
    e2e_expect_page start
    e2e_expect_region start 376x126+132+173 20  # the welcome panel and its two labels
    ;;

  hover)
    e2e_start_x 1024x768
    e2e_start_demo "$demo"
    [ -f "$E2E_SOURCE_DIR/default/nvg_off.wav" ] || e2e_fail "default/nvg_off.wav is missing"
    e2e_move $REST
    e2e_sync
    quiet=$(e2e_audible_samples)
    e2e_check "no sound before any hover ($quiet samples)" test "$quiet" -eq 0
    e2e_move $PANEL_DEMO
    once=$(e2e_wait_sounds 1) || e2e_fail "hovering \"panel demo\" played no sound ($once)"
    e2e_check "hovering \"panel demo\" plays the sound ($once samples)" test "$once" -gt 1000
    e2e_move $REST
    e2e_sync
    e2e_move $TEXT_DEMO
    twice=$(e2e_wait_sounds 2) || e2e_fail "hovering \"text demo\" did not play the sound again ($twice)"
    e2e_check "hovering \"text demo\" plays it again ($twice samples)" test "$twice" -gt $((once + once / 2))
    ;;

  panels)
    e2e_start_x 1024x768
    e2e_start_demo "$demo"
    e2e_move $REST
    e2e_sync
    e2e_shot before
    e2e_click $PANEL_DEMO
    e2e_move $REST
    deadline=$((SECONDS + 10))
    until e2e_shot pulling && moved=$(e2e_shots_differ before pulling) && [ "${moved%%.*}" -gt 20000 ]; do
      [ "$SECONDS" -lt "$deadline" ] || break
    done
    e2e_check "the view pulls back after the click ($moved pixels changed)" test "${moved%%.*}" -gt 20000
    e2e_expect_page panels
    # Drag panel A (virtual 40,300 - 240,500) by its middle 200 virtual pixels to the right, and
    # panel C (630,300 - 840,500) with its red child D (660,330 - 760,430) 96 pixels down. C is
    # grabbed beside D, at virtual (800,464): a press over the child panel would not drag C.
    drag 87 250 12 0
    drag 500 290 0 6
    e2e_move $REST
    e2e_expect_page panels-dragged
    # D's middle was at window (443,237) and is now 60 pixels lower.
    e2e_check "the red child moved with its panel" e2e_reddish panels-dragged 443 297
    e2e_check "nothing red is left where the child was" not e2e_reddish panels-dragged 443 215
    # Panel A (now virtual 240,300 - 440,500) dragged onto "exit" and dropped there: the drop is
    # not a click, the demo stays on this page.
    drag 212 250 35 21
    sleep 2.0  # time for a click on "exit" to end the demo, if the drop were one
    e2e_check "a panel dropped on \"exit\" does not end the demo" e2e_running
    e2e_shot dropped
    e2e_check "the panel page is still shown" e2e_reddish dropped 443 297
    ;;

  text)
    e2e_start_x 1024x768
    e2e_start_demo "$demo"
    go_to_page "$TEXT_DEMO"
    e2e_expect_page text
    e2e_expect_region text 640x320+0+14 40  # every label of the page
    ;;

  message)
    e2e_start_x 1024x768
    e2e_start_demo "$demo"
    go_to_page "$BUTTON_DEMO"
    e2e_expect_page buttons
    e2e_click 125 144  # "button 3": virtual (100,210) - (300,250)
    box=$(e2e_wait_box 10 "GUI  DEMO") || e2e_fail "no message box appeared"
    e2e_log "message box $box"
    e2e_expect_page message-box 300 "$box"
    e2e_check "the program waits while the box is open" e2e_running
    sleep 3.0  # a person reads it: the frame after the box spans all that time
    xdotool key --window "$box" Return
    e2e_check "OK closes the box" e2e_wait_box_gone 10 "$box"
    e2e_check "the program goes on after the box" e2e_running
    # Leaving the button, its look fades back within a quarter of a second, not over the seconds
    # the box was open (the frame after the box spans them all: a blend carried that far would
    # take twice as long to come back, six seconds and more).
    e2e_move $REST
    e2e_sync
    E2E_PAGE_WAIT=5 e2e_expect_page buttons
    ;;

  modefail)
    e2e_start_x 1024x768
    e2e_start_demo "$demo"
    e2e_key F1
    box=$(e2e_wait_box 10 "Error") || e2e_fail "no \"Error\" box after F1 on a 1024x768 screen"
    e2e_expect_page mode-switch-failed 300 "$box"
    xdotool key --window "$box" Return
    e2e_wait_window || e2e_fail "no window after the failed switch"
    e2e_sync
    e2e_check "the demo runs on in a window" e2e_running
    # F1 again tries fullscreen again (the program runs windowed now), and fails the same way.
    e2e_key F1
    box=$(e2e_wait_box 10 "Error") || e2e_fail "a second F1 did not try fullscreen again"
    xdotool key --window "$box" Return
    e2e_wait_window || e2e_fail "no window after the second failed switch"
    e2e_sync
    # The picture fits the smaller client area: "exit" is clicked where it is seen.
    read -r width height <<<"$(e2e_client_size)"
    e2e_check "the client area is smaller than 640x480 (${width}x$height)" test "$((width * height))" -lt 307200
    e2e_click $((909 * width / 1024)) $((738 * height / 768))
    e2e_move $((width / 2)) $((height / 2))
    e2e_wait_exit 10 || e2e_fail "\"exit\" in the smaller window did not end the demo"
    e2e_check "exit code 0 (got $E2E_EXIT)" test "$E2E_EXIT" -eq 0
    ;;

  fullscreen)
    e2e_start_x 640x480
    e2e_start_demo "$demo"
    old=$E2E_WID
    e2e_key F1
    # The window is made anew: wait for a single one that covers the screen.
    if ! e2e_wait_geometry 10 '640x480+0+0'; then
      xwininfo -root -children >&2
      e2e_fail "no window covering the screen after F1"
    fi
    e2e_check "no error box on a 640x480 screen" test -z "$(e2e_other_windows | awk -F '\t' '$2=="Error"')"
    e2e_check "the fullscreen window is a new one" test "$E2E_WID" != "$old"
    e2e_move $REST
    e2e_expect_page start-fullscreen
    full=$E2E_WID
    e2e_key F1
    # Back in a window: the client area at the frame's offset, as in the first window.
    if ! e2e_wait_geometry 10 '640x480+8+31'; then
      xwininfo -root -children >&2
      e2e_fail "no framed window after the second F1"
    fi
    e2e_check "the framed window is a new one" test "$E2E_WID" != "$full"
    e2e_move $REST
    e2e_expect_page start 1500 "$E2E_WID" part  # the frame pushes the window's foot off the screen
    e2e_check "the demo runs in a window again" e2e_running
    ;;

  exit)
    e2e_start_x 1024x768
    e2e_start_demo "$demo"
    # The click ends the program after the pull-back: frames are drawn after the release.
    e2e_move $EXIT
    e2e_sync
    xdotool mousedown 1
    e2e_sync
    e2e_check "exit does not quit at once" \
      python3 "$E2E_SOURCE_DIR/tests/demo/e2e_frames.py" "$E2E_WID" 5 20 --strict -- xdotool mouseup 1
    e2e_move $REST
    e2e_wait_exit 10 || e2e_fail "the demo did not quit after \"exit\""
    e2e_check "exit code 0 (got $E2E_EXIT)" test "$E2E_EXIT" -eq 0
    ;;

  reader)
    e2e_start_x 1024x768
    e2e_start_demo "$demo"
    e2e_move $REST
    e2e_expect_page start
    reader() { /usr/bin/python3 "$E2E_SOURCE_DIR/tests/demo/e2e_reader.py" "$@"; }
    client=$(xwininfo -id "$E2E_WID" |
      awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /^ +Width:/ {w=$2} /^ +Height:/ {h=$2}
           END {print x, y, w, h}')
    e2e_check "the start page reads as \"GUI  DEMO\" with its four buttons inside the window" reader start $client
    e2e_check "Tab's focus events follow the buttons in order and wrap" \
      reader tab "$E2E_WID" "panel demo" "text demo" "button demo" "exit" "panel demo"
    e2e_check "a reader presses \"button demo\"" reader press "button demo"
    e2e_expect_page_without buttons "$BUTTON_DEMO_RING"
    e2e_check "the button page reads with its buttons" reader names "button 1" "button 2" "button 3"
    e2e_check "a reader presses \"button 3\"" reader press "button 3"
    box=$(e2e_wait_box 10 "GUI  DEMO") || e2e_fail "pressing \"button 3\" showed no message box"
    e2e_check "the box reads as an alert while it waits" reader alert "A(z) 3. gomb lett lenyomva!"
    xdotool key --window "$box" Return
    e2e_check "OK closes the box" e2e_wait_box_gone 10 "$box"
    ;;

  keyboard)
    e2e_start_x 1024x768
    e2e_start_demo "$demo"
    e2e_move $REST
    e2e_sync
    e2e_shot no-key
    e2e_check "no focus ring before any key" test "$(e2e_amber no-key)" -eq 0
    e2e_press Tab
    e2e_wait_focus '"panel demo"' "$PANEL_DEMO_RING"
    e2e_key Return
    e2e_expect_page_without panels "$PANEL_DEMO_RING"
    # Past "text demo", "button demo" and "exit" the focus wraps to panel A (window 25,187 - 150,312);
    # three presses of Right move it 24 virtual pixels (15 in the window), ring and all.
    e2e_press Tab 4
    e2e_wait_focus "panel A" 144x144+12+175
    e2e_shot panel-a
    e2e_press Right 3
    e2e_sync  # a panel moved by a frame's keys shows in the next frame
    e2e_shot panel-a-moved
    convert "$E2E_WORK/panel-a.png" -crop 144x144+12+175 +repage "$E2E_WORK/a-then.png"
    convert "$E2E_WORK/panel-a-moved.png" -crop 144x144+27+175 +repage "$E2E_WORK/a-now.png"
    e2e_check "Right moves panel A 15 pixels to the right" \
      test "$(e2e_shots_differ a-then a-now | sed 's/\..*//')" -lt 100
    e2e_press shift+Tab 3  # back round past "exit" and "button demo"
    e2e_wait_focus '"text demo"' "$TEXT_DEMO_RING"
    e2e_key Return
    e2e_expect_page_without text "$TEXT_DEMO_RING"
    e2e_press Tab
    e2e_wait_focus '"button demo"' "$BUTTON_DEMO_RING"
    e2e_key Return
    e2e_expect_page_without buttons "$BUTTON_DEMO_RING"
    # "button demo", "exit", then the page's own buttons; Shift+Tab comes back from "button 4".
    e2e_press Tab 5
    e2e_press shift+Tab
    e2e_wait_focus '"button 3"' "$BUTTON_3_RING"
    xdotool windowfocus --sync "$E2E_WID" keydown Return  # the box stops the frames: none to wait for
    box=$(e2e_wait_box 10 "GUI  DEMO") || e2e_fail "Return on \"button 3\" showed no message box"
    xdotool keyup Return
    e2e_expect_page message-box 300 "$box"
    xdotool key --window "$box" Return
    e2e_check "OK closes the box" e2e_wait_box_gone 10 "$box"
    e2e_wait_focus '"button 3" after the box' "$BUTTON_3_RING"
    # A click on nothing hides the ring and takes the focus away: Shift+Tab starts from the end.
    e2e_click $REST
    e2e_sync
    e2e_shot clicked
    e2e_check "a click hides the focus ring" test "$(e2e_amber clicked)" -eq 0
    e2e_press shift+Tab
    e2e_wait_focus '"exit"' "$EXIT_RING"
    e2e_key Return
    e2e_wait_exit 10 || e2e_fail "Return on \"exit\" did not end the demo"
    e2e_check "exit code 0 (got $E2E_EXIT)" test "$E2E_EXIT" -eq 0
    ;;

  signal)
    e2e_start_x 1024x768
    for sig in INT TERM; do
      e2e_start_demo "$demo"
      kill -s "$sig" "$E2E_DEMO_PID"
      e2e_wait_exit 10 || e2e_fail "SIG$sig did not end the demo"
      e2e_check "SIG$sig ends the demo with exit code 0 (got $E2E_EXIT)" test "$E2E_EXIT" -eq 0
    done
    ;;

  *)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac

# Every scenario ends the way a person ends the program: Escape, then exit code 0 (under the
# sanitizers a leak or an error found at exit turns that code into a failure).
if e2e_running; then
  e2e_wait_window || true  # the current main window (a toggle makes a new one)
  e2e_sync
  e2e_key Escape
  e2e_wait_exit 20 || e2e_fail "the demo did not quit on Escape"
  e2e_check "Escape ends the demo with exit code 0 (got $E2E_EXIT)" test "$E2E_EXIT" -eq 0
fi
if grep -qi 'opengl error' "$E2E_WORK/demo.err" 2>/dev/null; then
  e2e_fail "the demo reported OpenGL errors"
fi
if grep -q -e 'ERROR: AddressSanitizer' -e 'ERROR: LeakSanitizer' -e 'runtime error:' "$E2E_WORK/demo.err" 2>/dev/null; then
  e2e_fail "the sanitizers reported errors in the demo"
fi
e2e_log "scenario $scenario passed"
