#!/usr/bin/env bash
# End to end: Play in Emulator with Debian's real fceux under Xvfb. The program, on the demo
# cartridge with "fceux" as its emulator command, plays it; fceux must start on the temporary
# file Korvane wrote (the cartridge's bytes), and a window of that process must appear. The test
# then ends fceux and the program, and the temporary file must be gone.
#   e2e_play.sh KORVANE_CLI PLAY_CHECK WORK_FOLDER
set -euo pipefail
cli=$1
check=$2
work=$3
# shellcheck source=../../scripts/xvfb-session.sh
source "$(dirname "$0")/../../scripts/xvfb-session.sh"

if ! command -v fceux >/dev/null && [ ! -x /usr/games/fceux ]; then
  echo "fceux is not installed (scripts/setup.sh installs it)"
  exit 1
fi

rm -rf "$work"
mkdir -p "$work/home"
"$cli" demo "$work/demo.nes" >/dev/null
printf '[Emulator]\ncommand=fceux\n' >"$work/settings.ini"

xvfb_pid=""
driver_pid=""
emulator_pid=""
cleanup() {
  [ -n "$emulator_pid" ] && kill "$emulator_pid" 2>/dev/null || true
  [ -n "$driver_pid" ] && kill "$driver_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT

start_xvfb "$work" 171 210
# fceux keeps its settings under HOME; it plays without sound.
export HOME="$work/home" SDL_AUDIODRIVER=dummy
"$check" "$work/settings.ini" "$work/demo.nes" "$work/stop" >"$work/driver.log" 2>&1 &
driver_pid=$!

for _ in $(seq 300); do
  grep -q '^file ' "$work/driver.log" && break
  kill -0 "$driver_pid" 2>/dev/null || { echo "the program ended early"; cat "$work/driver.log"; exit 1; }
  sleep 0.05
done
grep -q '^file ' "$work/driver.log" || { echo "Play started nothing"; cat "$work/driver.log"; exit 1; }
emulator_pid=$(sed -n 's/^pid //p' "$work/driver.log")
folder=$(sed -n 's/^folder //p' "$work/driver.log")
file=$(sed -n 's/^file //p' "$work/driver.log")
echo "fceux is process $emulator_pid, playing $file"

# The file is the cartridge's content, in Korvane's own folder, not the user's file.
[ "$(dirname "$file")" = "$folder" ] || { echo "$file is not in $folder"; exit 1; }
cmp "$file" "$work/demo.nes"

# The process is fceux, given the temporary file.
tr '\0' '\n' <"/proc/$emulator_pid/cmdline" >"$work/cmdline"
grep -q 'fceux$' <(head -1 "$work/cmdline") || { echo "not fceux:"; cat "$work/cmdline"; exit 1; }
grep -qxF "$file" "$work/cmdline" || { echo "fceux was not given $file:"; cat "$work/cmdline"; exit 1; }

# A window of that process appears.
window=""
for _ in $(seq 300); do
  for w in $(xwininfo -root -tree | grep -oE '^ +0x[0-9a-f]+'); do
    if xprop -id "$w" _NET_WM_PID 2>/dev/null | grep -q "= $emulator_pid\$" &&
      xwininfo -id "$w" | grep -q 'Map State: IsViewable'; then
      window=$w
      break
    fi
  done
  [ -n "$window" ] && break
  kill -0 "$emulator_pid" 2>/dev/null || { echo "fceux ended"; cat "$work/driver.log"; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { echo "no window of fceux appeared"; xwininfo -root -tree; exit 1; }
echo "fceux window $window: $(xwininfo -id "$window" | grep 'xwininfo:')"

# End the emulator, then the program; the temporary folder goes with it.
ended() { [ ! -e "/proc/$1" ] || grep -q '^State:.*Z' "/proc/$1/status" 2>/dev/null; }
# fceux may take its time over SIGTERM; SIGKILL follows after three seconds.
kill "$emulator_pid"
for _ in $(seq 30); do
  ended "$emulator_pid" && break
  sleep 0.1
done
ended "$emulator_pid" || kill -KILL "$emulator_pid"
emulator_pid=""
touch "$work/stop"
status=0
wait "$driver_pid" || status=$?
driver_pid=""
[ "$status" -eq 0 ] || { echo "the program ended with status $status"; cat "$work/driver.log"; exit 1; }
[ ! -e "$file" ] || { echo "$file was left behind"; exit 1; }
[ ! -e "$folder" ] || { echo "$folder was left behind"; exit 1; }
echo "ok"
