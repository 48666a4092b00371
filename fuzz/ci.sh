#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for a bounded time.
# Usage: bash fuzz/ci.sh [seconds per harness, default 20]
# Environment: GLGUI_FUZZ_BUILD (build folder, default build-fuzz in the checkout).
set -euo pipefail

seconds="${1:-20}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${GLGUI_FUZZ_BUILD:-$root/build-fuzz}"
harnesses=(tga bmp jpeg bff glyphs outlines)

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGLGUI_FUZZ=ON -DGLGUI_TESTS=OFF -DGLGUI_BENCH=OFF >/dev/null
ninja -C "$build" "${harnesses[@]/#/fuzz_}"

status=0
for name in "${harnesses[@]}"; do
  case "$name" in
    bff) area=gui ;;
    glyphs | outlines) area=platform ;;
    *) area=textures ;;
  esac
  seeds="$root/fuzz/$area/corpus/$name"
  # New inputs go to a scratch corpus so the committed seeds stay as they are.
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  artifacts="$build/fuzz-artifacts/$name/"
  mkdir -p "$artifacts"
  echo "== fuzz_$name for ${seconds}s"
  binary="$build/fuzz/$area/fuzz_$name"
  if ! "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$artifacts" -print_final_stats=1 "$work" "$seeds"; then
    echo "fuzz_$name FAILED; see $artifacts"
    status=1
  fi
  rm -rf "$work"
done
exit "$status"
