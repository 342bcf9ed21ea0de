#!/usr/bin/env bash
# Builds everything and runs every test: the optimised Release build (the one packagers and
# the benchmarks use), the same tests under AddressSanitizer and UndefinedBehaviorSanitizer, and
# a bounded run of the fuzzers. Every build here treats warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

# The run must leave the user's own settings as they were: every test process makes standard
# folders of its own, and the whole run also works under a temporary home. The user's settings
# folder (and Qt's test-mode folder) are compared, byte for byte, before and after.
user_config=${XDG_CONFIG_HOME:-$HOME/.config}
user_folders=("$user_config" "$HOME/.qttest")
snapshot() {
  local folder
  for folder in "${user_folders[@]}"; do
    if [ -e "$folder" ]; then
      (cd "$folder" && find . -printf '%y %m %p %l\n' | LC_ALL=C sort &&
        find . -type f -print0 | LC_ALL=C sort -z | xargs -0 -r sha256sum) | sed "s|^|$folder |"
    else
      echo "$folder absent"
    fi
  done
}
settings_before=$(snapshot)
test_home=$(mktemp -d)
trap 'rm -rf "$test_home"' EXIT
mkdir -p "$test_home/config" "$test_home/data" "$test_home/cache" "$test_home/state" \
  "$test_home/runtime"
chmod 700 "$test_home/runtime"
# isolated COMMAND...: runs COMMAND with the temporary home.
isolated() {
  HOME="$test_home" XDG_CONFIG_HOME="$test_home/config" XDG_DATA_HOME="$test_home/data" \
    XDG_CACHE_HOME="$test_home/cache" XDG_STATE_HOME="$test_home/state" \
    XDG_RUNTIME_DIR="$test_home/runtime" "$@"
}

echo "== build (Release)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVANE_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
echo "== tests"
isolated ctest --test-dir build --output-on-failure -j "$jobs"

echo "== install and package"
isolated bash tests/install/check-install.sh build

echo "== build (address and undefined-behaviour sanitizers)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVANE_SANITIZE=ON \
  -DKORVANE_BENCH=OFF -DKORVANE_WERROR=ON >/dev/null
cmake --build build-asan -j "$jobs"
echo "== tests under the sanitizers"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  isolated ctest --test-dir build-asan --output-on-failure -j "$jobs" -LE e2e

if [ -f tests/fuzz/CMakeLists.txt ]; then
  echo "== fuzzing (bounded)"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKORVANE_FUZZ=ON -DKORVANE_GUI=OFF -DKORVANE_BENCH=OFF -DKORVANE_WERROR=ON >/dev/null
  cmake --build build-fuzz -j "$jobs" --target fuzz_gamedata fuzz_structured fuzz_patches \
    fuzz_script fuzz_tilesheet fuzz_leveltext fuzz_seeds
  isolated bash tests/fuzz/run.sh build-fuzz
fi
echo "== the user's settings"
if [ "$(snapshot)" != "$settings_before" ]; then
  echo "the test run changed the user's settings:" >&2
  diff <(echo "$settings_before") <(snapshot) >&2 || true
  exit 1
fi
echo "unchanged"
echo "== all tests passed"
