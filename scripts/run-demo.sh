#!/bin/bash
# Sets up and builds (scripts/setup.sh), then runs gui_demo from the checkout root, which holds
# the demo's data folder default/. Without a display it runs scripts/tour.sh instead: the demo on
# a virtual display, toured page by page, with the pictures written to tour/.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/setup.sh"
BUILD=${GLGUI_BUILD_DIR:-$ROOT/build}

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (DISPLAY is not set): touring gui_demo on a virtual display instead; pictures go to $ROOT/tour/"
  exec "$ROOT/scripts/tour.sh" "$ROOT/tour" "$BUILD/demo/gui_demo"
fi
cd "$ROOT"
exec "$BUILD/demo/gui_demo"
