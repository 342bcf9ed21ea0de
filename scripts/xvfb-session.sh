# Sourced by the scripts that run the editor under Xvfb (the end-to-end test and the window
# measurement). start_xvfb WORK FIRST LAST picks a free display number between FIRST and LAST,
# starts Xvfb (1280 x 1024, 24 bits) with its log in WORK, sets xvfb_pid and exports what Qt
# needs to use it, with its settings and runtime folders inside WORK.
start_xvfb() {
  local work=$1 first=$2 last=$3 n display=""
  for n in $(seq "$first" "$last"); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      display=$n
      break
    fi
  done
  [ -n "$display" ] || { echo "no free X display number"; return 1; }
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.05
  done
  [ -e "/tmp/.X11-unix/X$display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; return 1; }
  export DISPLAY=":$display" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config"
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
}
