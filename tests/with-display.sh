#!/usr/bin/env bash
# Runs a command on a private X display (Xvfb at depth 24) with the openbox
# window manager, which iconify and close requests need. OpenAL Soft gets the
# null backend unless the caller chose another.
set -u

export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"

# Xvfb picks a free display number itself and writes it to the given file
# descriptor, so runs in parallel never share a server.
display_file=$(mktemp)
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 200); do
  [ -s "$display_file" ] && break
  sleep 0.05
done
export DISPLAY=":$(head -n1 "$display_file")"
rm -f "$display_file"
cleanup() {
  [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null
  kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT

# Waits up to $2 tenths of a second for command $1 to succeed.
wait_for() {
  for _ in $(seq "$2"); do
    eval "$1" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

wait_for xdpyinfo 200 || { echo "with-display: Xvfb did not start on $DISPLAY"; exit 1; }

# A window manager that starts too early can give up on the display; start it
# again until it answers.
for _ in 1 2 3 4 5; do
  openbox --sm-disable >/dev/null 2>&1 &
  wm_pid=$!
  wait_for "kill -0 $wm_pid && wmctrl -m" 50 && break
  kill "$wm_pid" 2>/dev/null
  wm_pid=""
done
[ -n "$wm_pid" ] || { echo "with-display: openbox did not start on $DISPLAY"; exit 1; }

"$@"
