# What the Wine end-to-end scripts share, on top of tests/demo/e2e_lib.sh: a Wine prefix of their
# own (its server follows the script's display and stops with it) and a program started under Wine
# on the private Xvfb. Source it after setting E2E_TITLE when the window has another title.
source "$(dirname "${BASH_SOURCE[0]}")/../demo/e2e_lib.sh"

# wine_prefix DIR [WINEDEBUG]: the prefix; sound drivers and the .NET/HTML installers off.
wine_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=${2:--all}
  export WINEDLLOVERRIDES="winealsa.drv,winepulse.drv,mscoree,mshtml=d"
}
wine_cleanup() {
  e2e_cleanup
  wineserver -k 2>/dev/null
}
trap wine_cleanup EXIT

# wine_start FOLDER EXE [ARGS...]: starts EXE under Wine from FOLDER, its output in
# $E2E_WORK/demo.out and demo.err, then waits for its window (titled $E2E_TITLE), gives it the X
# focus (keys reach a Wine window only while it has it) and waits for its first frames.
wine_start() {
  local folder=$1
  shift
  WINEDEBUG=-all timeout -k 3 60 wine wineboot -i >/dev/null 2>&1
  e2e_note_earlier_windows
  (cd "$folder" && exec timeout -k 3 120 wine "$@" >"$E2E_WORK/demo.out" 2>"$E2E_WORK/demo.err") &
  E2E_DEMO_PID=$!
  e2e_wait_window || e2e_fail "the window \"$E2E_TITLE\" did not appear"
  xdotool windowfocus --sync "$E2E_WID"
  e2e_sync
}
