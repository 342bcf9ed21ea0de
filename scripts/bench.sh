#!/usr/bin/env bash
# Builds the benchmarks (optimised, no sanitizers) and runs them: decoding, encoding and
# RecountUsage of the model; preview frames at 32 and 16 bits against a memset of the same
# bytes, and the animation tick of a 16-room hallway; making and applying IPS and BPS patches;
# a Paint click and an Undo in the block, assembly and room editors, and the memory of 1,000
# undo steps; unpack and pack of the whole cartridge as text, and a diff of 1,000 edits.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target bench_gamedata bench_render bench_patches bench_editors bench_text
export QT_QPA_PLATFORM=offscreen
build/bench/gamedata/bench_gamedata "$@"
build/bench/render/bench_render "$@"
build/bench/patches/bench_patches "$@"
build/bench/editors/bench_editors "$@"
build/bench/text/bench_text "$@"
