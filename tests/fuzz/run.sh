#!/usr/bin/env bash
# Runs the fuzzers for a bounded time, each in a fresh corpus folder: fuzz_gamedata on arbitrary
# (periodic) images and on whole cartridges with operations after them, fuzz_structured on the
# demo cartridge with the input's changes, and fuzz_patches on IPS and BPS patches, small
# sources and cartridge-sized ones, and fuzz_leveltext on the model's text form. About three
# minutes in all.
# Usage: tests/fuzz/run.sh BUILD_DIR [SECONDS_EACH]   (a build configured with -DKORVANE_FUZZ=ON)
# Exits non-zero on a crash, a leak, a hang or a failed check; the input that caused it is kept
# in BUILD_DIR/fuzz-artifacts/.
set -euo pipefail
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 BUILD_DIR [SECONDS_EACH]" >&2
  exit 2
fi
seconds=${2:-40}
for name in fuzz_seeds fuzz_gamedata fuzz_structured fuzz_patches fuzz_leveltext; do
  if [ ! -x "$1/tests/fuzz/$name" ]; then
    echo "$0: $1/tests/fuzz/$name is not built (configure with -DKORVANE_FUZZ=ON)" >&2
    exit 2
  fi
done
artifacts="$(cd "$1" && pwd)/fuzz-artifacts"
mkdir -p "$artifacts"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The seeds made of whole cartridges (the demo generator's), for the image and patch fuzzers.
mkdir -p "$work/whole"
"$1/tests/fuzz/fuzz_seeds" "$work/whole"

# fuzz_gamedata: the image is the input repeated; a whole cartridge is taken as it is, and the
# bytes after it are the operation script.
mkdir -p "$work/gamedata/corpus" "$work/gamedata/seeds"
cp "$work/whole"/gamedata-* "$work/gamedata/seeds/"
head -c 4096 /dev/zero >"$work/gamedata/seeds/zeros"
head -c 4096 /dev/urandom >"$work/gamedata/seeds/random"
printf '\x10\x03\x20\x00\x21\x04\x11\x01\x32\x05\x00\x02' >"$work/gamedata/seeds/operations"

# fuzz_structured: each demo cartridge unchanged (the generator runs inside the fuzzer), one
# with a few operations, and one with a patch of each kind.
mkdir -p "$work/structured/corpus" "$work/structured/seeds"
for demo in 0 1 2 3; do
  printf "\\x0$demo\\x00" >"$work/structured/seeds/demo$demo"
done
printf '\x00\x00\x00\x01\x02\x01\x04\x03\x10\x01\x05\x20\x30\x02\x0e\x00\x00\x03' \
  >"$work/structured/seeds/operations"
printf '\x01\x04\x00\x01\x00\x40\x03\x50\x06\x01\x00\x0a\x40\x01\xff\x02\x05\x07\x02\x00\x03\x02\x00\x60\xff\x07' \
  >"$work/structured/seeds/patches"

# fuzz_patches: an IPS patch, a BPS patch, a pair of images with a few edits, and a
# cartridge-sized source with edits across it.
mkdir -p "$work/patches/corpus" "$work/patches/seeds"
cp "$work/whole/patches-cartridge" "$work/patches/seeds/"
printf '\x00\x10\x00ABCDEFGHIJKLMNOPPATCH\x00\x00\x02\x00\x02xy\x00\x00\x20\x00\x00\x00\x04zEOF\x00\x00\x08' \
  >"$work/patches/seeds/ips"
printf '\x02\x08\x00ABCDEFGH\x88\x91\x80\x84\x89xyz\x8a\x8a\x8f\x86\x86\x8f\x8b\x8c' \
  >"$work/patches/seeds/bps"
printf '\x04\x20\x00ABCDEFGHIJKLMNOPQRSTUVWXYZ012345\x04\x00\x03\x00\x10\x00\x05\x41' \
  >"$work/patches/seeds/edits"

# fuzz_leveltext: a level file and shared.json, as they are and as edits to the demo's.
mkdir -p "$work/leveltext/corpus" "$work/leveltext/seeds"
printf '\x00{"format": "korvane-level", "version": 1}' >"$work/leveltext/seeds/header"
printf '\x01' >"$work/leveltext/seeds/demo-level"
printf '\x01\x00\x00\x10\x41\x00\x20\x00\x39' >"$work/leveltext/seeds/level-edits"
printf '\x03\x00\x01\x00\x30' >"$work/leveltext/seeds/shared-edits"

run() {
  local name=$1
  local folder=$2
  local maxLength=$3
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$BUILD/tests/fuzz/$name" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
    -max_len="$maxLength" -artifact_prefix="$artifacts/$name-" -print_final_stats=1 \
    "$work/$folder/corpus" "$work/$folder/seeds"
  echo "$name: no crash, leak or hang in $seconds s"
}
BUILD=$1
# Above a whole cartridge (393,232 bytes), so that the script branch runs too.
run fuzz_gamedata gamedata 401424
run fuzz_structured structured 4096
run fuzz_patches patches 8192
run fuzz_leveltext leveltext 4096
