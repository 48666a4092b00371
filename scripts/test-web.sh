#!/bin/bash
# Builds gui_demo for the web (scripts/build-web.sh), installs Debian's Chromium and the pinned
# puppeteer-core and axe-core (tests/web/package-lock.json), serves the site on 127.0.0.1 and runs
# the end-to-end scenarios of tests/web/e2e.mjs in headless Chromium (WebGL 2 on SwiftShader).
# Pictures and the browser's profile go to build-web/e2e/. Extra arguments name the scenarios to
# run (default: all). Ends with the summary line "web e2e: N passed, M failed".
# With --bench [RUNS] it measures instead (bench/web/figures.mjs): page load to first frame, the
# bytes a load transfers, and frames per second on each page; the first frame also against a
# minimal WebGL 2 program (bench/web/minimal) and, with GLGUI_BENCH_BASELINE=SITE-DIR, another
# build's site, in alternating loads (and the third frame beside it). --bench --first-frame leaves
# out the frame rates. Run with no arguments, it then checks the toolkit installed for the browser
# (scripts/test-web-install.sh).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${GLGUI_WEB_BUILD_DIR:-$ROOT/build-web}

bash "$ROOT/scripts/build-web.sh"

SUDO=
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive
# A node from elsewhere on PATH (with its own npm) will do instead of Debian's.
wanted=(chromium)
command -v node >/dev/null && command -v npm >/dev/null || wanted+=(nodejs npm)
missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -ne 0 ]; then
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

cd "$ROOT/tests/web"
if ! cmp -s package-lock.json node_modules/.installed-lock.json 2>/dev/null; then
  npm ci --ignore-scripts --no-audit --no-fund --loglevel=error
  cp package-lock.json node_modules/.installed-lock.json
fi

# The site on a free port of 127.0.0.1, served for as long as the tests run.
E2E=$OUT/e2e
[ "${1:-}" = --bench ] || rm -rf "$E2E"
mkdir -p "$E2E"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$OUT/site/gui_demo" >"$E2E/server.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/index.html')" 2>/dev/null && break
  kill -0 "$server" 2>/dev/null || { echo "the web server did not start" >&2; cat "$E2E/server.log" >&2; exit 1; }
  sleep 0.1
done

if [ "${1:-}" = --bench ]; then
  shift
  # The floor for the first frame: a minimal emscripten program that clears a WebGL 2 context.
  mkdir -p "$OUT/bench-minimal"
  NODE_PATH=/usr/share/nodejs emcc -O2 -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 \
    "$ROOT/bench/web/minimal/minimal.c" -o "$OUT/bench-minimal/minimal.js"
  cp "$ROOT/bench/web/minimal/index.html" "$OUT/bench-minimal/"
  GLGUI_BENCH_MINIMAL="$OUT/bench-minimal" node "$ROOT/bench/web/figures.mjs" "http://127.0.0.1:$port/" "$OUT/site/gui_demo" "$@"
else
  node e2e.mjs "http://127.0.0.1:$port/" "$ROOT/tests/demo/reference" "$E2E" "$@"
  if [ $# -eq 0 ]; then bash "$ROOT/scripts/test-web-install.sh"; fi
fi
