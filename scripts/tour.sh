#!/bin/bash
# tour.sh [OUTPUT-FOLDER] [PATH-TO-gui_demo]: a headless tour of gui_demo. Runs the demo on a
# private Xvfb (1024x768) from the checkout root, visits every page with real X input (xdotool)
# and writes one picture per page plus an animated GIF of a page change into OUTPUT-FOLDER
# (default: tour/ in the checkout):
#   1-start.png        the start page: welcome panel, version line, four navigation buttons
#   2-panels.png       the panel page after panel A and panel C (with its red child) were dragged
#   3-text.png         the text page: bitmap and outline fonts, the Hungarian letters
#   4-buttons.png      the button page with the mouse over "button 2"
#   5-message-box.png  "button 3" clicked: its message box over the demo
#   transition.gif     the view pulling back from the start page and coming back with the text page
# Needs Xvfb, xdotool, ImageMagick and xwd (scripts/setup.sh installs them).
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${1:-$ROOT/tour}
DEMO=${2:-${GLGUI_BUILD_DIR:-$ROOT/build}/demo/gui_demo}
[ -x "$DEMO" ] || { echo "tour: $DEMO is not built" >&2; exit 1; }
mkdir -p "$OUT"
OUT=$(cd "$OUT" && pwd)

E2E_SOURCE_DIR=$ROOT
source "$ROOT/tests/demo/e2e_lib.sh"
e2e_log() { :; }  # quiet: the tour prints its own lines
say() { echo "tour: $*"; }

# Window pixels of the navigation buttons' centres and of a resting place for the pictures.
PANEL_DEMO="65 15"
TEXT_DEMO="568 15"
BUTTON_DEMO="65 461"
REST="320 240"

page() {  # page NAME: a picture of the demo's window
  import -window "$E2E_WID" "$OUT/$1.png" || e2e_fail "no picture $1"
  say "wrote $OUT/$1.png"
}

go_to_page() {  # go_to_page "x y": click a navigation button, let the transition finish
  e2e_click $1
  e2e_move $REST
  sleep 2.0
}

drag() {  # drag X Y DX DY: press at window pixel (X, Y), move by (DX, DY) in ten steps, release
  e2e_move "$1" "$2"
  sleep 0.3
  xdotool mousedown 1
  local step
  for step in 1 2 3 4 5 6 7 8 9 10; do
    e2e_move $(($1 + step * $3 / 10)) $(($2 + step * $4 / 10))
    sleep 0.05
  done
  sleep 0.2
  xdotool mouseup 1
}

e2e_start_x 1024x768
e2e_start_demo "$DEMO"
say "gui_demo runs on the virtual display $DISPLAY"
e2e_move $REST
sleep 1.0
page 1-start

# The page change to the text page, shot with xwd as fast as it goes (every 15-90 ms, as busy
# as the machine is) until it is over, then thinned out to 16 frames of a half-size GIF.
frames=$E2E_WORK/frames
mkdir -p "$frames"
e2e_move ${TEXT_DEMO% *} ${TEXT_DEMO#* }
sleep 0.5  # the hover fades in
xdotool mousedown 1
sleep 0.15
xdotool mouseup 1
start=$(date +%s%N)
n=0
while [ $(( ($(date +%s%N) - start) / 1000000 )) -lt 1450 ]; do
  n=$((n + 1))
  xwd -silent -id "$E2E_WID" >"$frames/$(printf '%04d' $n).xwd" || break
done
[ "$n" -ge 16 ] || e2e_fail "only $n frames of the transition were shot"
picked=()
for i in $(seq 0 15); do
  picked+=("$frames/$(printf '%04d' $((1 + i * (n - 1) / 15))).xwd")
done
# The last picture stays a moment longer, so the loop shows where the change ends.
convert -delay 8 "${picked[@]:0:15}" -delay 120 "${picked[15]}" -loop 0 -resize 50% \
  -layers Optimize "$OUT/transition.gif" || e2e_fail "the GIF could not be made"
say "wrote $OUT/transition.gif ($n frames shot, 16 kept)"

e2e_move $REST
sleep 1.0
page 3-text

go_to_page "$PANEL_DEMO"
drag 87 250 30 110   # panel A by its middle, down and a little to the right
drag 500 290 0 60    # panel C beside its red child D (a press on D drags nothing), 96 virtual pixels down
e2e_move $REST
sleep 0.8
page 2-panels

go_to_page "$BUTTON_DEMO"
e2e_move 125 119     # over "button 2": the hover look
sleep 1.0
page 4-buttons

e2e_click 125 144    # "button 3"
box=$(e2e_wait_box 10 "GUI  DEMO") || e2e_fail "no message box after \"button 3\""
sleep 0.5
# The box is a window of its own: the picture is the screen's corner that holds the demo's
# window (at 8,31) and the box.
geometry=$(xwininfo -id "$box" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
  /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}')
read -r bx by bw bh <<<"$geometry"
right=$((bx + bw + 8 > 8 + 640 ? bx + bw + 8 : 8 + 640))
bottom=$((by + bh + 8 > 31 + 480 ? by + bh + 8 : 31 + 480))
import -window root -crop "$((right - 8))x$((bottom - 31))+8+31" +repage "$OUT/5-message-box.png" ||
  e2e_fail "no picture of the message box"
say "wrote $OUT/5-message-box.png"
xdotool key --window "$box" Return
sleep 0.5

e2e_wait_window || true
e2e_key Escape
e2e_wait_exit 10 || e2e_fail "the demo did not quit on Escape"
[ "$E2E_EXIT" -eq 0 ] || e2e_fail "the demo ended with exit code $E2E_EXIT"
say "done: the pictures are in $OUT"
