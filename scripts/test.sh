#!/usr/bin/env bash
# Builds everything and runs every test: the optimised Release build (the one packagers and
# the benchmarks use), the same tests under AddressSanitizer and UndefinedBehaviorSanitizer, and
# a bounded run of the fuzzers. Every build here treats warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== build (Release)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVANE_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
echo "== tests"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== build (address and undefined-behaviour sanitizers)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVANE_SANITIZE=ON \
  -DKORVANE_BENCH=OFF -DKORVANE_WERROR=ON >/dev/null
cmake --build build-asan -j "$jobs"
echo "== tests under the sanitizers"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" -LE e2e

if [ -f tests/fuzz/CMakeLists.txt ]; then
  echo "== fuzzing (bounded)"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKORVANE_FUZZ=ON -DKORVANE_GUI=OFF -DKORVANE_BENCH=OFF -DKORVANE_WERROR=ON >/dev/null
  cmake --build build-fuzz -j "$jobs" --target fuzz_gamedata fuzz_structured fuzz_patches
  cmake --build build-fuzz -j "$jobs" --target fuzz_tilesheet
  bash tests/fuzz/run.sh build-fuzz
fi
echo "== all tests passed"
