#!/usr/bin/env bash
# End to end: starts the real program under Xvfb on the demo cartridge, grabs the screen once
# the level preview has been painted and checks that the preview shows exactly what the
# renderer draws for level 0, hallway 0 at 24 bits per pixel (animation held at tick 0).
#   e2e_preview.sh KORVANE KORVANE_CLI SCREEN_CHECK WORK_FOLDER
set -euo pipefail
korvane=$1
cli=$2
check=$3
work=$4
# shellcheck source=../../scripts/xvfb-session.sh
source "$(dirname "$0")/../../scripts/xvfb-session.sh"

rm -rf "$work"
mkdir -p "$work"
"$cli" demo "$work/demo.nes" >/dev/null

xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT

start_xvfb "$work" 91 140
KORVANE_REPORT_STARTUP=1 KORVANE_FREEZE_ANIMATION=1 \
  "$korvane" -nosplash "$work/demo.nes" >"$work/app.log" 2>&1 &
app_pid=$!

report=""
for _ in $(seq 200); do
  report=$(grep -m1 "first preview painted" "$work/app.log" || true)
  [ -n "$report" ] && break
  kill -0 "$app_pid" 2>/dev/null || { echo "korvane ended early"; cat "$work/app.log"; exit 1; }
  sleep 0.05
done
[ -n "$report" ] || { echo "the preview was never painted"; cat "$work/app.log"; exit 1; }
echo "$report"
sleep 0.5 # let the window system settle before the grab

# "... at X,Y size WxH"
position=$(sed -E 's/.* at ([0-9-]+),([0-9-]+) size .*/\1 \2/' <<<"$report")
read -r x y <<<"$position"

"$check" grab "$work/screen.png"
"$cli" render "$work/demo.nes" --level 0 --hallway 0 --depth 24 -o "$work/expected.png" >/dev/null
"$check" compare "$work/screen.png" "$x" "$y" 768 256 "$work/expected.png"
