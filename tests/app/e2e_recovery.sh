#!/usr/bin/env bash
# End to end: unsaved work survives a killed program. The real program under Xvfb opens a copy
# of the demo cartridge and makes one edit at start (KORVANE_TEST_EDIT_SCRIPT, as an editor's
# OK); its recovery copy must appear and hold the edited model; the program is killed with
# SIGKILL and started again, Recover is answered with the keyboard and the work saved: the file
# then equals the edited model (made by korvane-cli edit from the same script) byte for byte.
# The same with the original changed on disk in between gives an untitled document, saved
# under a new name; and korvane-cli recover lists and writes out a left-over copy.
#   e2e_recovery.sh KORVANE KORVANE_CLI WORK_FOLDER
set -euo pipefail
app=$1
cli=$2
work=$3
# shellcheck source=../../scripts/xvfb-session.sh
source "$(dirname "$0")/../../scripts/xvfb-session.sh"

command -v xdotool >/dev/null || { echo "xdotool is not installed (scripts/setup.sh installs it)"; exit 1; }

rm -rf "$work"
mkdir -p "$work/home" "$work/data"
"$cli" demo "$work/clean.nes" >/dev/null
printf 'level 3\nset-enemy 0 16 32 1 2\n' >"$work/edit.txt"
"$cli" edit "$work/clean.nes" "$work/expected.nes" "$work/edit.txt" >/dev/null
cmp -s "$work/clean.nes" "$work/expected.nes" && { echo "the edit changed nothing"; exit 1; }

xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill -9 "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT

start_xvfb "$work" 211 250
export HOME="$work/home" XDG_DATA_HOME="$work/data"
folder="$work/data/Local AppWizard-Generated Applications/Korvane/recovery"

fail() {
  echo "$1"
  [ -f "$work/app.log" ] && cat "$work/app.log"
  exit 1
}
# The visible window whose title is exactly $1, after waiting for it up to 15 s.
wait_window() {
  local w
  for _ in $(seq 150); do
    w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    [ -n "$w" ] && { echo "$w"; return 0; }
    kill -0 "$app_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
keys() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  shift
  xdotool key --delay 50 "$@"
}
# Starts the program on the cartridge with the edit, waits for its recovery copy and kills it.
edit_and_kill() {
  cp "$work/clean.nes" "$work/demo.nes"
  KORVANE_TEST_EDIT_SCRIPT="$work/edit.txt" "$app" -nosplash "$work/demo.nes" >"$work/app.log" 2>&1 &
  app_pid=$!
  local copy=""
  for _ in $(seq 150); do
    copy=$(find "$folder" -name 'korvane-*.nes' 2>/dev/null | head -1 || true)
    [ -n "$copy" ] && [ -n "$(find "$folder" -name 'korvane-*.json' 2>/dev/null || true)" ] && break
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended early"
    sleep 0.1
  done
  [ -n "$copy" ] || fail "no recovery copy appeared"
  cmp "$copy" "$work/expected.nes" || fail "the recovery copy is not the edited model"
  cmp "$work/demo.nes" "$work/clean.nes" || fail "the copy touched the user's file"
  "$cli" recover --list >"$work/list.txt"
  grep -q "held by a running Korvane" "$work/list.txt" || { cat "$work/list.txt"; fail "not held"; }
  kill -9 "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
  "$cli" recover --list >"$work/list.txt"
  grep -qF "  of $work/demo.nes, from " "$work/list.txt" || { cat "$work/list.txt"; fail "not listed"; }
  grep -q "left over" "$work/list.txt" || { cat "$work/list.txt"; fail "not left over"; }
}

# 1. Recover onto the original, then Save.
edit_and_kill
"$app" -nosplash >"$work/app.log" 2>&1 &
app_pid=$!
question=$(wait_window "Korvane") || fail "no recovery question appeared"
keys "$question" Return # Recover is the default button
main=$(wait_window "demo.nes\\* - Korvane") || fail "the recovered document did not open"
keys "$main" ctrl+s
for _ in $(seq 100); do
  cmp -s "$work/demo.nes" "$work/expected.nes" && break
  sleep 0.1
done
cmp "$work/demo.nes" "$work/expected.nes" || fail "the saved file is not the edited model"
wait_window "demo.nes - Korvane" >/dev/null || fail "the title still shows unsaved changes"
[ -z "$(find "$folder" -name '*.nes' -o -name '*.json')" ] || { ls -la "$folder"; fail "Save left a copy"; }
kill -9 "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""
echo "recovered onto the original and saved"

# 2. The original changed on disk in between: an untitled document, saved under a new name.
edit_and_kill
printf 'changed' >>"$work/demo.nes"
cp "$work/demo.nes" "$work/changed.nes"
"$app" -nosplash >"$work/app.log" 2>&1 &
app_pid=$!
question=$(wait_window "Korvane") || fail "no recovery question appeared"
keys "$question" Return
main=$(wait_window "Untitled\\* - Korvane") || fail "the recovered work is not an untitled document"
keys "$main" ctrl+s
dialog=""
for _ in $(seq 150); do
  for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    [ "$w" = "$main" ] && continue
    dialog=$w
  done
  [ -n "$dialog" ] && break
  sleep 0.1
done
[ -n "$dialog" ] || fail "Save asked for no name"
sleep 0.5
xdotool windowfocus "$dialog" 2>/dev/null || true
xdotool type --delay 20 "$work/saved.nes"
xdotool key Return
for _ in $(seq 100); do
  [ -f "$work/saved.nes" ] && cmp -s "$work/saved.nes" "$work/expected.nes" && break
  sleep 0.1
done
cmp "$work/saved.nes" "$work/expected.nes" || fail "the saved file is not the edited model"
cmp "$work/demo.nes" "$work/changed.nes" || fail "the changed original was touched"
kill -9 "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""
echo "recovered as an untitled document and saved"

# 3. Headless: korvane-cli recover writes the left-over copy out and removes it.
rm -rf "$folder"
edit_and_kill
"$cli" recover "$work/demo.nes" "$work/out.nes" >/dev/null
cmp "$work/out.nes" "$work/expected.nes" || fail "recover wrote something else"
[ "$("$cli" recover --list)" = "No recovery copies." ] || fail "recover left the copy"
echo "korvane-cli recover wrote the copy out"
