#!/bin/bash
# Sets up and builds (scripts/setup.sh), then runs every test with CTest. No display is needed:
# rendering tests use headless EGL, window tests SDL's offscreen driver, and the tests that need
# X start their own Xvfb.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/setup.sh" "$@"
BUILD=${GLGUI_BUILD_DIR:-$ROOT/build}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
cd "$BUILD"
ctest --output-on-failure -j "$(nproc)"
