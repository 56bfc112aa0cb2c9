#!/usr/bin/env bash
# Fullscreen in a real window: F11 and Alt+Enter each switch the window to
# cover the 1280x1024 screen with the scene drawn across all of it, and back to
# the centred, fixed 640x480 window; each new size loads the art of its scale
# once, and the game goes on; Enter alone switches nothing. The screenshots
# are left as fullscreen_*.png for a human look.
set -u
source "$(dirname "$0")/lib.bash"
game=$1
shots=$PWD
passed=0

# Holds key chord $2 (xdotool names joined by +) on window $1 for a moment.
chord() {
  local wid=$1 keys=${2//+/ }
  # One xdotool run, so the chord is held for as long as meant (lib.bash).
  xdotool keydown --window "$wid" $keys sleep 0.15 keyup --window "$wid" $(echo $keys | tr ' ' '\n' | tac)
}

# Bytes the game has read from files and sockets so far; once loaded, the
# game reads nothing more.
read_bytes() { awk '/^rchar/ {print $2}' "/proc/$pid/io"; }

# Bytes of the files one full load reads at art suffix $1 (-hd at 640x480,
# -hd2 fullscreen on 1280x1024): the loader's image sheets, the world sheet
# twice (two slots), and its sounds.
loader_bytes() {
  local stem files=()
  for stem in common/icons common/dpad common/icade common/QorvLogo fonts/editundo menu logo parts BadgesA \
    world001 world001 MenuButtonsA heart; do
    files+=("$REPO/data/$stem$1.png")
  done
  for stem in 001 095 098 099 002 013 003 004 005 006 007 008 009 010 011 012 014 015 016 017 018 019 020 021 022; do
    files+=("$REPO/data/sfx/$stem.wav")
  done
  stat -L -c %s "${files[@]}" | awk '{s += $1} END {print s}'
}

# From the count $1 of bytes and $2 of ends of loading on, the load the game
# reports the end of has read $3 bytes (give or take what the decoders read
# twice). That no second load follows shows in the count of ends at the close.
check_one_load() {
  local read
  wait_next_mark loaded "$2" 20 || fail "$4: the new size's art did not load"
  read=$(($(read_bytes) - $1))
  [ "$read" -ge "$3" ] || fail "$4: read $read bytes, less than a load of $3"
  [ $((read * 2)) -lt $((3 * $3)) ] || fail "$4: read $read bytes, more than one load of $3"
}

# Distinct colours in the crop $2 (WxH+X+Y) of screenshot $1.
colours() { convert "$1" -crop "$2" +repage -unique-colors -format '%w' info:; }

# The whole screen holds the scene: each quadrant is drawn, and the half
# beyond a 640x480 corner holds almost no pure black.
check_fills_screen() {
  local shot=$1 q n black
  for q in 640x512+0+0 640x512+640+0 640x512+0+512 640x512+640+512; do
    n=$(colours "$shot" "$q")
    [ "$n" -ge 8 ] || fail "$shot: quadrant $q has $n colours"
  done
  black=$(convert "$shot" -crop 640x1024+640+0 +repage -fill white +opaque black -format '%[fx:int(1000*(1-mean))]' info:)
  [ "$black" -lt 50 ] || fail "$shot: ${black} per mille of the right half is black"
}

check_centred_window() {
  wait_geometry "$wid" "640x480+320+272" || fail "$1: not back to the centred window"
  local hints shot="$shots/fullscreen_back.png"
  hints=$(xprop -id "$wid" WM_NORMAL_HINTS)
  echo "$hints" | grep -q "maximum size: 640 by 480" || fail "$1: resizable again: $hints"
  xprop -id "$wid" _NET_WM_STATE | grep -q FULLSCREEN && fail "$1: still marked fullscreen"
  # Until the game draws at the new size, a shot may catch the window between
  # two sizes.
  wait_until "import -window $wid $shot 2>/dev/null && [ \"\$(colours $shot 640x480+0+0 2>/dev/null)\" -ge 8 ]" 10 ||
    fail "$1: the window shows no scene"
  kill -0 "$pid" || fail "$1: the game stopped"
}

# Switches with chord $1 to fullscreen, checks the load and the picture, then
# switches back with the same chord.
round_trip() {
  local name=$1 before loads shot="$shots/fullscreen_$2.png"
  before=$(read_bytes) loads=$(mark_count loaded)
  chord "$wid" "$1"
  wait_geometry "$wid" "1280x1024+0+0" || fail "$name: no fullscreen window"
  xprop -id "$wid" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN || fail "$name: not marked fullscreen"
  check_one_load "$before" "$loads" "$(loader_bytes -hd2)" "$name"
  import -window root "$shot" || fail "no screenshot of the screen"
  check_fills_screen "$shot"
  kill -0 "$pid" || fail "$name: the game stopped"
  echo "ok: $name gives a fullscreen window with the scene across the screen, its art loaded once"
  before=$(read_bytes) loads=$(mark_count loaded)
  chord "$wid" "$1"
  check_centred_window "$name again"
  check_one_load "$before" "$loads" "$(loader_bytes -hd)" "$name again"
  echo "ok: $name again gives the centred 640x480 window, its art loaded once"
  passed=$((passed + 2))
}

dir=$(make_game_folder); cd "$dir"
fresh_log
"$game" >out.txt 2>err.txt &
pid=$!
wid=$(wait_window "Tovrin Game") || fail "no window titled 'Tovrin Game'"
xdotool windowactivate --sync "$wid"
wait_mark loaded || fail "the first load did not end"

round_trip F11 f11
round_trip alt+Return alt_enter

# Nothing is to happen: the window is watched for a second.
chord "$wid" Return
sleep 1
[ "$(geometry "$wid")" = "640x480+320+272" ] || fail "Enter alone changed the window to $(geometry "$wid")"
echo "ok: Enter alone leaves the window as it is"
passed=$((passed + 1))

close_and_wait "$wid" "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
# The first load and one for each of the four switches, no other.
[ "$(mark_count loaded)" -eq 5 ] || fail "the art was loaded $(mark_count loaded) times, want 5"
echo "ok: five loads in all: the first and one for each switch"
passed=$((passed + 1))
[ -s out.txt ] && fail "the game printed: $(cat out.txt)"
cd / && rm -rf "$dir"
echo "$passed passed, 0 failed"
