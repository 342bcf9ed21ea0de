#!/usr/bin/env bash
# Builds the Debian package: build-package/package/korvane_VERSION_ARCH.deb, from a Release
# build, with the dependencies dpkg-shlibdeps finds in the programs.
# Usage: bash scripts/package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=${1:-build-package}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVANE_BENCH=OFF \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target korvane korvane-cli korvane_man_pages
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/package/korvane_*.deb
