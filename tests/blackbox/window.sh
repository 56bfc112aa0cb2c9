#!/usr/bin/env bash
# The real window: size, title, centring, fixed size, its X11 class (the
# desktop entry's StartupWMClass, so docks group it with its launcher), the
# close, and start-up failures of the window system and of the audio device.
set -u
source "$(dirname "$0")/lib.bash"
game=$1
passed=0

# No display: the window system cannot start.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$game" 2>/dev/null); status=$?
[ "$status" -eq 255 ] || fail "no display: exit status $status, want 255"
[ "$out" = "glfwInit failed" ] || fail "no display: printed '$out'"
echo "ok: no display gives 'glfwInit failed' and status 255"
passed=$((passed + 1))

# The window: 640x480, titled, centred on the 1280x1024 screen, not resizable.
dir=$(make_game_folder); cd "$dir"
fresh_log
"$game" >out.txt 2>err.txt &
pid=$!
wid=$(wait_window "Tovrin Game") || fail "no window titled 'Tovrin Game'"
wait_geometry "$wid" 640x480+320+272 || fail "the window is not 640x480 at (320, 272)"
hints=$(xprop -id "$wid" WM_NORMAL_HINTS)
echo "$hints" | grep -q "minimum size: 640 by 480" || fail "resizable: $hints"
echo "$hints" | grep -q "maximum size: 640 by 480" || fail "resizable: $hints"
echo "ok: 640x480 window 'Tovrin Game' at (320, 272), fixed size"
passed=$((passed + 1))

# Its class and instance name are the desktop entry's StartupWMClass.
wm_class=$(sed -n 's/^StartupWMClass=//p' "$REPO/dist/io.github.vaultwick.Vaultwick.desktop")
[ -n "$wm_class" ] || fail "the desktop entry names no StartupWMClass"
got=$(xprop -id "$wid" WM_CLASS)
[ "$got" = "WM_CLASS(STRING) = \"$wm_class\", \"$wm_class\"" ] || fail "WM_CLASS: $got, want \"$wm_class\" twice"
echo "ok: the window's class and instance name are the desktop entry's StartupWMClass ($wm_class)"
passed=$((passed + 1))

# A close request from the window manager ends the process normally.
close_and_wait "$wid" "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "close: exit status $EXIT_STATUS"
echo "ok: close request ends the process with status 0"
passed=$((passed + 1))

# No audio device: reported, and the game loads and runs on.
fresh_log
ALSOFT_DRIVERS=no-such-driver "$game" >out.txt 2>err.txt &
pid=$!
wid=$(wait_window "Tovrin Game") || fail "no window without audio"
wait_mark loaded || fail "no end of loading without audio: $(cat out.txt)"
kill -0 "$pid" || fail "stopped without audio"
close_and_wait "$wid" "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "no audio: exit status $EXIT_STATUS"
grep -qx "alcOpenDevice failed" out.txt || fail "no audio: printed $(cat out.txt)"
echo "ok: without an audio device 'alcOpenDevice failed' and the game loads and runs"
passed=$((passed + 1))

cd / && rm -rf "$dir"
echo "$passed passed, 0 failed"
