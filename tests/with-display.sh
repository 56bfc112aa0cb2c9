#!/usr/bin/env bash
# Runs a command on a private X display (Xvfb at depth 24) with the openbox
# window manager, which iconify and close requests need. OpenAL Soft gets the
# null backend unless the caller chose another.
set -u

display_num=$((100 + RANDOM % 800))
while [ -e "/tmp/.X${display_num}-lock" ]; do display_num=$((display_num + 1)); done
export DISPLAY=":${display_num}"
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"

Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
  [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null
  kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT

for _ in $(seq 100); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.05
done
openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
for _ in $(seq 100); do
  wmctrl -m >/dev/null 2>&1 && break
  sleep 0.05
done

"$@"
