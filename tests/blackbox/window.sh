#!/usr/bin/env bash
# The real window: size, title, centring, fixed size, the close, and start-up
# failures of the window system and of the audio device.
set -u
source "$(dirname "$0")/lib.bash"
game=$1

# No display: the window system cannot start.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$game" 2>/dev/null); status=$?
[ "$status" -eq 255 ] || fail "no display: exit status $status, want 255"
[ "$out" = "glfwInit failed" ] || fail "no display: printed '$out'"
echo "ok: no display gives 'glfwInit failed' and status 255"

# The window: 640x480, titled, centred on the 1280x1024 screen, not resizable.
dir=$(make_game_folder); cd "$dir"
"$game" >out.txt 2>err.txt &
pid=$!
wid=$(wait_window "Tovrin Game") || fail "no window titled 'Tovrin Game'"
sleep 0.5
info=$(xwininfo -id "$wid")
echo "$info" | grep -q "Width: 640" || fail "width: $info"
echo "$info" | grep -q "Height: 480" || fail "height: $info"
x=$(echo "$info" | awk '/Absolute upper-left X/ {print $4}')
y=$(echo "$info" | awk '/Absolute upper-left Y/ {print $4}')
[ "$x" -eq 320 ] && [ "$y" -eq 272 ] || fail "position ($x, $y), want (320, 272)"
hints=$(xprop -id "$wid" WM_NORMAL_HINTS)
echo "$hints" | grep -q "minimum size: 640 by 480" || fail "resizable: $hints"
echo "$hints" | grep -q "maximum size: 640 by 480" || fail "resizable: $hints"
echo "ok: 640x480 window 'Tovrin Game' at ($x, $y), fixed size"

# A close request from the window manager ends the process normally.
close_and_wait "$wid" "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "close: exit status $EXIT_STATUS"
echo "ok: close request ends the process with status 0"

# No audio device: reported, and the game runs on.
ALSOFT_DRIVERS=no-such-driver "$game" >out.txt 2>err.txt &
pid=$!
wid=$(wait_window "Tovrin Game") || fail "no window without audio"
sleep 0.5
kill -0 "$pid" || fail "stopped without audio"
close_and_wait "$wid" "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "no audio: exit status $EXIT_STATUS"
grep -qx "alcOpenDevice failed" out.txt || fail "no audio: printed $(cat out.txt)"
echo "ok: without an audio device 'alcOpenDevice failed' and the game runs"

cd / && rm -rf "$dir"
echo "1 passed, 0 failed"
