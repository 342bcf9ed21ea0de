#!/usr/bin/env bash
# Takes the pictures of the editor dialogs in docs/ (the README shows them): builds
# korvane-screenshots and runs it under Xvfb on the demo cartridge.
#   scripts/screenshots.sh [BUILD_FOLDER] [LEVEL]   (default: build, level 0)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/xvfb-session.sh
build=${1:-build}
level=${2:-0}
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target korvane-screenshots

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

start_xvfb "$work" 191 240
"$build/tools/korvane-screenshots" docs "$level"
