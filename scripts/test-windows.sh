#!/bin/bash
# Builds the Windows version (scripts/build-windows.sh) and runs its tests under Wine with CTest:
# on a private Xvfb, with a fresh Wine prefix inside the build tree, Wine's crash dialog off and
# the fonts the tests compare installed into the prefix. Ends with CTest's summary.
# Arguments go to CTest (for example -R Decoder); GLGUI_WINDOWS_BUILD_DIR picks the build folder.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${GLGUI_WINDOWS_BUILD_DIR:-$ROOT/build-windows}

if [ "${GLGUI_UNDER_XVFB:-}" != 1 ]; then
  bash "$ROOT/scripts/build-windows.sh"
  GLGUI_UNDER_XVFB=1 exec "$ROOT/scripts/with-xvfb.sh" bash "$0" "$@"
fi

source "$ROOT/scripts/wine-env.sh" "$BUILD"
cd "$BUILD"
status=0
ctest --output-on-failure --timeout 120 "$@" || status=$?
wineserver -k || true
exit "$status"
