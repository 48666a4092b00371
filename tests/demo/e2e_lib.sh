# Shared pieces of the end-to-end tests of gui_demo: a private Xvfb, the program started from the
# checkout with disk audio, real X input through xdotool, screenshots and their comparison with
# the committed references. Source it; it cleans up the processes it started on exit.
#
# Environment: E2E_UPDATE=1 writes the references instead of comparing with them.

set -u

E2E_SOURCE_DIR=${E2E_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
E2E_REFERENCE_DIR=${E2E_REFERENCE_DIR:-$E2E_SOURCE_DIR/tests/demo/reference}
E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/gui-demo-e2e.XXXXXX")
E2E_XVFB_PID=""
E2E_DEMO_PID=""
E2E_WID=""
E2E_FAILED=0
E2E_KEEP=${E2E_KEEP:-0}
E2E_TITLE=${E2E_TITLE:-GUI  DEMO}  # the main window's title

e2e_cleanup() {
  if [ -n "$E2E_DEMO_PID" ] && kill -0 "$E2E_DEMO_PID" 2>/dev/null; then
    kill "$E2E_DEMO_PID" 2>/dev/null
    local i
    for i in $(seq 20); do
      kill -0 "$E2E_DEMO_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$E2E_DEMO_PID" 2>/dev/null
    wait "$E2E_DEMO_PID" 2>/dev/null
  fi
  if [ -n "$E2E_XVFB_PID" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
  fi
  if [ "$E2E_FAILED" = 0 ] && [ "$E2E_KEEP" = 0 ]; then
    rm -rf "$E2E_WORK"
  else
    echo "e2e: pictures and logs kept in $E2E_WORK" >&2
  fi
}
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM

e2e_log() { echo "e2e: $*" >&2; }

e2e_fail() {
  E2E_FAILED=1
  echo "FAIL: $*" >&2
  if [ -f "$E2E_WORK/demo.err" ]; then
    echo "--- gui_demo standard error ---" >&2
    tail -n 20 "$E2E_WORK/demo.err" >&2
  fi
  exit 1
}

e2e_check() {  # e2e_check "what" command...
  local what=$1
  shift
  "$@" || e2e_fail "$what"
  e2e_log "ok: $what"
}

# Starts an Xvfb of the given size (e.g. 1024x768) on a free display and waits for it. Keys do
# not repeat on it (-r): a key is held until the program has taken it, however long that is.
e2e_start_x() {
  local size=${1:-1024x768} n
  for n in $(seq $((100 + RANDOM % 300)) 499); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${size}x24" -r -noreset -nolisten tcp >"$E2E_WORK/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    local i
    for i in $(seq 50); do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
    E2E_XVFB_PID=""
  done
  e2e_fail "no Xvfb could be started"
}

# Starts the demo from the checkout and waits for its window and its first frames; E2E_WID names
# it. Its sound goes to $E2E_WORK/audio.raw (SDL's disk driver) unless E2E_AUDIO names another driver.
e2e_start_demo() {
  local demo=$1
  : >"$E2E_WORK/audio.raw"
  e2e_note_earlier_windows
  (cd "$E2E_SOURCE_DIR" && exec env SDL_AUDIODRIVER="${E2E_AUDIO:-disk}" SDL_DISKAUDIOFILE="$E2E_WORK/audio.raw" \
     "$demo" >"$E2E_WORK/demo.out" 2>"$E2E_WORK/demo.err") &
  E2E_DEMO_PID=$!
  e2e_wait_window || e2e_fail "the window \"GUI  DEMO\" did not appear"
  e2e_sync
}

# Waits until the program has drawn a frame that took all the input sent so far (or its window
# has gone): what follows then meets the program in its loop, whatever the machine's load.
e2e_sync() {
  python3 "$E2E_SOURCE_DIR/tests/demo/e2e_frames.py" "${1:-$E2E_WID}" || e2e_fail "the program drew no frames"
}

# A program started on a display where an earlier one has just ended can still find the earlier
# one's window listed under the same title. Call before starting the program: the windows of that
# title that are there now.
e2e_note_earlier_windows() {
  E2E_EARLIER=$(xdotool search --name "^$E2E_TITLE\$" 2>/dev/null)
}
E2E_EARLIER=""

# True when process $1 is process $2 or runs below it (Wine runs the program below `timeout`).
e2e_descends() {
  local pid=$1
  while [ -n "$pid" ] && [ "$pid" -gt 1 ]; do
    [ "$pid" = "$2" ] && return 0
    pid=$(sed -E 's/.*\) [A-Za-z] ([0-9]+) .*/\1/' "/proc/$pid/stat" 2>/dev/null)
  done
  return 1
}

# The visible windows titled $E2E_TITLE of the program started last: those whose _NET_WM_PID
# (SDL and Wine set it) names that program, and those that were not there before it started.
e2e_own_windows() {
  local id pid
  for id in $(xdotool search --onlyvisible --name "^$E2E_TITLE\$" 2>/dev/null); do
    pid=$(xprop -id "$id" _NET_WM_PID 2>/dev/null | sed -n 's/.* = \([0-9]*\)$/\1/p')
    if { [ -n "$pid" ] && e2e_descends "$pid" "$E2E_DEMO_PID"; } || ! grep -qx "$id" <<<"$E2E_EARLIER"; then
      echo "$id"
    fi
  done
}

# Waits (up to 10 s) for a main window titled $E2E_TITLE of the program and sets E2E_WID.
e2e_wait_window() {
  local i
  E2E_WID=""
  for i in $(seq 100); do
    E2E_WID=$(e2e_own_windows | head -n 1)
    [ -n "$E2E_WID" ] && return 0
    kill -0 "$E2E_DEMO_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

e2e_running() { kill -0 "$E2E_DEMO_PID" 2>/dev/null; }

# Waits up to $1 seconds for the demo to end; its exit code is left in E2E_EXIT.
e2e_wait_exit() {
  local limit=$1 i
  for i in $(seq $((limit * 10))); do
    if ! e2e_running; then
      wait "$E2E_DEMO_PID"
      E2E_EXIT=$?
      E2E_DEMO_PID=""
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Window pixels of a point in the 1024 x 768 virtual space of a 640 x 480 window.
e2e_px() { echo $(($1 * 640 / 1024)) $(($2 * 480 / 768)); }

e2e_move() { xdotool mousemove --window "$E2E_WID" "$1" "$2"; }

# A click at window pixel (x, y). The program looks at the mouse button once a frame, so a press
# and release that both arrive between two frames would never be seen: the button stays down
# until a frame has taken it. The release is then seen by the next frame, whatever it brings
# (a click may open a message box, which stops the frames).
e2e_click() {
  e2e_move "$1" "$2"
  e2e_sync
  xdotool mousedown 1
  e2e_sync
  xdotool mouseup 1
}

# A key press as a person makes it: held until a frame has taken it (the program looks at its key
# table once a frame), or until it has closed the window (F1, Escape), then released. Press and
# release go through XTEST to the window given the focus first (nothing gives it back after a
# message box closes); a release sent to the window itself would be lost once the key has closed
# that window.
e2e_key() {
  local window=${2:-$E2E_WID}
  xdotool windowfocus --sync "$window"
  xdotool keydown "$1"
  e2e_sync "$window"
  xdotool keyup "$1"
}

# e2e_press KEY [COUNT]: e2e_key COUNT times.
e2e_press() {
  local i
  for i in $(seq "${2:-1}"); do e2e_key "$1"; done
}

e2e_shot() { import -window "${2:-$E2E_WID}" "$E2E_WORK/$1.png"; }

# The frame-rate read-out in the top-left corner changes from frame to frame: paint it over, and
# whatever E2E_MASK adds (an ImageMagick drawing such as "rectangle 495,0 639,35").
e2e_mask() {
  convert "$1" -fill black -draw "rectangle 0,0 130,13" ${E2E_MASK:+-draw "$E2E_MASK"} "$2"
}

# Pixels (after masking) that differ by more than 10 % between a shot and its reference.
# With a second argument WxH the reference is first cut to that size from its top-left corner
# (a window that reaches past the screen's edge is shot without the part outside).
e2e_difference() {
  local name=$1 crop=${2:-}
  e2e_mask "$E2E_WORK/$name.png" "$E2E_WORK/$name.masked.png"
  if [ -n "$crop" ]; then
    convert "$E2E_REFERENCE_DIR/$name.png" -crop "$crop+0+0" +repage "$E2E_WORK/$name.cut.png"
    e2e_mask "$E2E_WORK/$name.cut.png" "$E2E_WORK/$name.ref.png"
  else
    e2e_mask "$E2E_REFERENCE_DIR/$name.png" "$E2E_WORK/$name.ref.png"
  fi
  compare -metric AE -fuzz 10% "$E2E_WORK/$name.masked.png" "$E2E_WORK/$name.ref.png" \
    "$E2E_WORK/$name.diff.png" 2>&1 >/dev/null | sed 's/[^0-9.e+].*//'
}

# Takes shots and compares them with the reference of that name, allowing `budget` pixels
# (default 1500 of 307200: a missing button or a label moved by a few pixels costs more). A page
# that is still settling (a hover fading, the last frames of a transition, a window just made)
# is shot again until it matches and has stopped changing, or until E2E_PAGE_WAIT seconds
# (default 10) have passed: a shot counts once the program has drawn frames since the shot
# before it (a message box, which draws no frames, a moment) and nothing has changed. A fourth
# argument "part" accepts a shot smaller than the reference (the window reaches past the
# screen) and compares it with the same corner of the reference.
e2e_expect_page() {
  local name=$1 budget=${2:-1500} window=${3:-$E2E_WID} part=${4:-}
  e2e_shot "$name" "$window"
  if [ "${E2E_UPDATE:-0}" = 1 ]; then
    mkdir -p "$E2E_REFERENCE_DIR"
    cp "$E2E_WORK/$name.png" "$E2E_REFERENCE_DIR/$name.png"
    e2e_log "reference $name.png written"
    return 0
  fi
  [ -f "$E2E_REFERENCE_DIR/$name.png" ] || e2e_fail "no reference picture $name.png"
  local ref size diff settled=0 tries=0 deadline=$((SECONDS + ${E2E_PAGE_WAIT:-10}))
  ref=$(identify -format '%wx%h' "$E2E_REFERENCE_DIR/$name.png")
  for (( ; ; )); do
    tries=$((tries + 1))
    size=$(identify -format '%wx%h' "$E2E_WORK/$name.png")
    diff=""
    if [ -n "$part" ] && [ "$size" != "$ref" ]; then
      diff=$(e2e_difference "$name" "$size")
    elif [ "$size" = "$ref" ]; then
      diff=$(e2e_difference "$name")
    fi
    if [ "$size" = "$ref" ] || [ -n "$part" ]; then
      diff=${diff%%.*}
      [ -n "$diff" ] || e2e_fail "$name: compare gave no figure"
      [ "$diff" -le "$budget" ] && [ "$settled" = 1 ] && break
    fi
    if [ "$SECONDS" -ge "$deadline" ]; then
      [ "$size" = "$ref" ] || [ -n "$part" ] || e2e_fail "$name: picture is $size, reference $ref"
      [ "$diff" -le "$budget" ] && e2e_fail "$name: the picture was still changing after ${E2E_PAGE_WAIT:-10} s"
      e2e_fail "$name: $diff pixels differ from the reference (budget $budget; see $E2E_WORK/$name.diff.png)"
    fi
    e2e_mask "$E2E_WORK/$name.png" "$E2E_WORK/$name.before.png"
    if [ "$window" = "$E2E_WID" ]; then e2e_sync; else sleep 0.25; fi
    e2e_shot "$name" "$window"
    e2e_mask "$E2E_WORK/$name.png" "$E2E_WORK/$name.now.png"
    settled=0
    [ "$(compare -metric AE "$E2E_WORK/$name.before.png" "$E2E_WORK/$name.now.png" null: 2>&1 | sed 's/[^0-9.e+].*//')" = 0 ] && settled=1
  done
  e2e_log "ok: $name matches its reference ($diff pixels differ, budget $budget, shot $tries)"
}

# e2e_expect_page_without NAME REGION...: e2e_expect_page with regions (WxH+X+Y; the focus ring
# around a button) painted over in the shot and in the reference.
e2e_expect_page_without() {
  local name=$1 region w h x y mask=""
  shift
  for region; do
    IFS='x+' read -r w h x y <<<"$region"
    mask+="rectangle $x,$y $((x + w - 1)),$((y + h - 1)) "
  done
  E2E_MASK=$mask e2e_expect_page "$name"
}

# A region (WxH+X+Y) of a page that e2e_expect_page has just matched, compared with the same region
# of its reference under a budget of its own: the page's budget is for the whole window, so a
# label in the wrong colour or a few pixels off its place is checked here.
e2e_expect_region() {
  local name=$1 region=$2 budget=$3 diff
  [ "${E2E_UPDATE:-0}" = 1 ] && return 0
  convert "$E2E_WORK/$name.masked.png" -crop "$region" +repage "$E2E_WORK/$name.region.png"
  convert "$E2E_WORK/$name.ref.png" -crop "$region" +repage "$E2E_WORK/$name.region-ref.png"
  diff=$(compare -metric AE -fuzz 10% "$E2E_WORK/$name.region.png" "$E2E_WORK/$name.region-ref.png" null: 2>&1 |
    sed 's/[^0-9.e+].*//')
  diff=${diff%%.*}
  [ -n "$diff" ] || e2e_fail "$name: compare gave no figure for region $region"
  [ "$diff" -le "$budget" ] || e2e_fail "$name: $diff pixels of region $region differ from the reference (budget $budget)"
  e2e_log "ok: region $region of $name matches ($diff pixels differ, budget $budget)"
}

# The client area of a window as "W H".
e2e_client_size() {
  xwininfo -id "${1:-$E2E_WID}" | awk '/^ +Width:/ {w=$2} /^ +Height:/ {h=$2} END {print w, h}'
}

# Waits up to $1 seconds for "GUI  DEMO" windows of the given geometry (an xwininfo pattern such
# as '640x480+0+0') to be the only main window of the demo; sets E2E_WID to it.
e2e_wait_geometry() {
  local limit=$1 pattern=$2 i lines
  for i in $(seq $((limit * 10))); do
    lines=$(xwininfo -root -children 2>/dev/null | grep '"GUI  DEMO": ("gui_demo"')
    if [ "$(printf '%s\n' "$lines" | grep -c .)" = 1 ] && printf '%s\n' "$lines" | grep -q -- " $pattern "; then
      E2E_WID=$(printf '%d' "$(printf '%s\n' "$lines" | awk '{print $1}')")
      return 0
    fi
    e2e_running || return 1
    sleep 0.1
  done
  return 1
}

# True when the pixel (x, y) of a shot already taken is clearly red (red well above green and blue).
e2e_reddish() {
  local rgb
  rgb=$(convert "$E2E_WORK/$1.png" -crop "1x1+$2+$3" -depth 8 -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:)
  read -r r g b <<<"$rgb"
  [ "$r" -gt $((g + 30)) ] && [ "$r" -gt $((b + 30)) ]
}

not() { ! "$@"; }

# Pixels of the focus ring's amber (255, 204, 0) in a region (WxH+X+Y; the whole window without
# one) of a shot already taken; within 5 %, which leaves out the welcome panel's yellow letters.
e2e_amber() {
  convert "$E2E_WORK/$1.png" -crop "${2:-100%x100%+0+0}" +repage -fuzz 5% -fill white -opaque '#ffcc00' -fuzz 0 \
    -fill black +opaque white -format '%[fx:round(mean*w*h)]' info:
}

# e2e_wait_focus WHAT REGION: waits (up to 10 s) for the focus ring's amber in a region of the
# window (WxH+X+Y) around the element WHAT (40 pixels: the sides of a ring in 20 rows).
e2e_wait_focus() {
  local amber deadline=$((SECONDS + 10))
  until e2e_shot focus && amber=$(e2e_amber focus "$2") && [ "$amber" -ge 40 ]; do
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "no focus ring around $1 ($amber amber pixels in $2)"
    e2e_sync
  done
  e2e_log "ok: the focus ring is around $1 ($amber amber pixels)"
}

# Pixels that differ by more than 10 % between two shots already taken.
e2e_shots_differ() {
  compare -metric AE -fuzz 10% "$E2E_WORK/$1.png" "$E2E_WORK/$2.png" null: 2>&1 | sed 's/[^0-9.e+].*//'
}

# Top-level windows other than the demo's own main window: SDL's message boxes. (xdotool search
# does not see them; xwininfo does.) Prints "id<TAB>name" lines.
e2e_other_windows() {
  xwininfo -root -children 2>/dev/null | awk '/^ +0x/ {print}' | grep -v "^ *$(printf '0x%x' "$E2E_WID") " |
    grep -v 'has no name' | sed -E 's/^ +(0x[0-9a-f]+) "([^"]*)".*/\1\t\2/'
}

# Waits up to $1 seconds for a message box captioned $2; prints its id.
e2e_wait_box() {
  local limit=$1 caption=$2 i line
  for i in $(seq $((limit * 10))); do
    line=$(e2e_other_windows | awk -F '\t' -v c="$caption" '$2==c {print $1; exit}')
    if [ -n "$line" ]; then
      echo "$line"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Samples of the disk audio output that are not silence (16-bit signed, or 8-bit unsigned).
e2e_audible_samples() {
  e2e_sounds "$E2E_WORK/audio.raw" "${1:-16}" count
}

# Waits until the disk audio output holds $1 whole sounds (audible stretches, each followed by a
# tenth of a second of silence; the driver writes the output as it plays it, silence included,
# so the file itself tells when a sound has ended). Prints the audible samples; fails after
# 20 seconds (16-bit output; a second argument 8 for 8-bit).
e2e_wait_sounds() {
  e2e_sounds "$E2E_WORK/audio.raw" "${2:-16}" "$1"
}

e2e_sounds() {
  python3 - "$@" <<'PY'
import array, sys, time
path, bits, want = sys.argv[1], sys.argv[2], sys.argv[3]
def audible():
    data = open(path, 'rb').read()
    if bits == '8':
        return [abs(b - 128) > 8 for b in data]
    a = array.array('h')
    a.frombytes(data[:len(data) // 2 * 2])
    return [abs(s) > 300 for s in a]
def whole_sounds(loud, gap):
    count, quiet, inside = 0, 0, False
    for on in loud:
        if on:
            inside, quiet = True, 0
        elif inside:
            quiet += 1
            if quiet >= gap:
                count, inside = count + 1, False
    return count
if want == 'count':
    print(sum(audible()))
    sys.exit(0)
deadline = time.monotonic() + 20
while True:
    loud = audible()
    # A tenth of a second at the highest rate the driver may choose (stereo 48 kHz).
    if whole_sounds(loud, 9600) >= int(want):
        print(sum(loud))
        sys.exit(0)
    if time.monotonic() > deadline:
        print(f"{sum(loud)} audible samples, {whole_sounds(loud, 9600)} whole sounds")
        sys.exit(1)
    time.sleep(0.05)
PY
}

# Waits up to $1 seconds for the message box $2 to be gone.
e2e_wait_box_gone() {
  local i
  for i in $(seq $(($1 * 10))); do
    [ -z "$(e2e_other_windows | awk -F '\t' -v b="$2" '$1==b')" ] && return 0
    sleep 0.1
  done
  return 1
}
