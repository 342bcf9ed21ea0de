#!/usr/bin/env bash
# Runs the game-data fuzzer for about a minute, then the patch fuzzer for about 40 seconds, each
# in a fresh corpus folder.
# Usage: tests/fuzz/run.sh BUILD_DIR   (a build configured with -DKORVANE_FUZZ=ON)
# Exits non-zero on a crash, a leak, a hang or a failed model check; the input that caused it is
# kept in BUILD_DIR/fuzz-artifacts/.
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
fuzzer="$1/tests/fuzz/fuzz_gamedata"
if [ ! -x "$fuzzer" ]; then
  echo "$0: $fuzzer is not built (configure with -DKORVANE_FUZZ=ON)" >&2
  exit 2
fi
artifacts="$(cd "$1" && pwd)/fuzz-artifacts"
mkdir -p "$artifacts"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/seeds"
head -c 4096 /dev/zero >"$work/seeds/zeros"
head -c 4096 /dev/urandom >"$work/seeds/random"
printf '\x10\x03\x20\x00\x21\x04\x11\x01\x32\x05\x00\x02' >"$work/seeds/operations"

ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$fuzzer" -max_total_time=60 -timeout=5 -rss_limit_mb=2048 -max_len=4096 \
  -artifact_prefix="$artifacts/" -print_final_stats=1 "$work/corpus" "$work/seeds"
echo "fuzz_gamedata: no crash, leak or hang"

# The IPS and BPS patches, for about 40 seconds.
patches="$1/tests/fuzz/fuzz_patches"
if [ ! -x "$patches" ]; then
  echo "$0: $patches is not built (configure with -DKORVANE_FUZZ=ON)" >&2
  exit 2
fi
mkdir "$work/patch-corpus" "$work/patch-seeds"
printf '\x00\x10\x00ABCDEFGHIJKLMNOPPATCH\x00\x00\x02\x00\x02xy\x00\x00\x20\x00\x00\x00\x04zEOF\x00\x00\x08' \
  >"$work/patch-seeds/ips"
printf '\x02\x08\x00ABCDEFGH\x88\x91\x80\x84\x89xyz\x8a\x8a\x8f\x86\x86\x8f\x8b\x8c' \
  >"$work/patch-seeds/bps"
printf '\x04\x20\x00ABCDEFGHIJKLMNOPQRSTUVWXYZ012345\x04\x00\x03\x00\x10\x00\x05\x41' \
  >"$work/patch-seeds/edits"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$patches" -max_total_time=40 -timeout=5 -rss_limit_mb=2048 -max_len=8192 \
  -artifact_prefix="$artifacts/" -print_final_stats=1 "$work/patch-corpus" "$work/patch-seeds"
echo "fuzz_patches: no crash, leak or hang"
