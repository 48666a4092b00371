#!/bin/bash
# The toolkit installed for the browser, as a program outside the tree uses it: installs the web
# build (scripts/build-web.sh with GLGUI_WEB_INSTALL) into a temporary prefix, copies examples/hello
# out of the checkout, builds it with emcmake against that prefix alone, the way docs/guide.md
# says, and runs its page in headless Chromium (tests/web/hello.mjs). Nothing installed and nothing
# in the example's build may name the checkout. Then tests/web/modes, built the same way, prints
# the display modes the page gives a program on an emulated screen (tests/web/modes.mjs). scripts/test-web.sh runs it after its scenarios,
# with Chromium and tests/web/node_modules in place. Leaves nothing behind unless a check fails.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=$(mktemp -d)
fail() {
  echo "web install: FAILED: $*; logs in $WORK" >&2
  exit 1
}

echo "=== the toolkit installed for the browser, and hello built on it outside the tree"
GLGUI_WEB_INSTALL=$WORK/prefix bash "$ROOT/scripts/build-web.sh" >"$WORK/install.log" 2>&1 ||
  fail "the web build's install"
cp -r "$ROOT/examples/hello" "$WORK/hello"
cd "$WORK/hello"
# As a user's shell has it: no NODE_PATH (the package sets what emscripten's linker needs).
env -u NODE_PATH emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -Dglgui_DIR="$WORK/prefix/lib/cmake/glgui" >"$WORK/hello.log" 2>&1 || fail "hello's configuration"
env -u NODE_PATH cmake --build build-web >>"$WORK/hello.log" 2>&1 || fail "hello's build"
if grep -rlI --exclude-dir=CMakeFiles -e "$ROOT" "$WORK/prefix" build-web >"$WORK/named.txt"; then
  fail "these name the checkout: $(tr '\n' ' ' <"$WORK/named.txt")"
fi

# Serves a site on a free port of 127.0.0.1 and runs a check on it: serve SITE-DIR NODE-SCRIPT [ARG...]
serve() {
  local site=$1
  shift
  local port
  port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site" >"$WORK/server.log" 2>&1 &
  server=$!
  for _ in $(seq 100); do
    python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/index.html')" 2>/dev/null && break
    kill -0 "$server" 2>/dev/null || fail "the web server did not start"
    sleep 0.1
  done
  (cd "$ROOT/tests/web" && node "$1" "http://127.0.0.1:$port/" "${@:2}")
  local status=$?
  kill "$server" 2>/dev/null || true
  return $status
}
server=
trap 'if [ -n "$server" ]; then kill "$server" 2>/dev/null || true; fi' EXIT
serve build-web/site/hello hello.mjs "$WORK/hello.png" || fail "hello's page"

cp -r "$ROOT/tests/web/modes" "$WORK/modes"
cd "$WORK/modes"
env -u NODE_PATH emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -Dglgui_DIR="$WORK/prefix/lib/cmake/glgui" >"$WORK/modes.log" 2>&1 || fail "modes' configuration"
env -u NODE_PATH cmake --build build-web >>"$WORK/modes.log" 2>&1 || fail "modes' build"
serve build-web/site/modes modes.mjs || fail "the display modes on the page"
cd /
rm -rf "$WORK"
echo "web install: passed"
