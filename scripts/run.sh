#!/usr/bin/env bash
# Builds the editor, writes the demo cartridge and opens it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"
build/tools/korvane-cli demo demo.nes
if [ -x build/app/korvane ]; then
  exec build/app/korvane demo.nes "$@"
else
  exec build/tools/korvane-cli info demo.nes
fi
