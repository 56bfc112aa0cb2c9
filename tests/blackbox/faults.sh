#!/usr/bin/env bash
# Faults around the real binary: killed while it saves (the state file holds
# the old or the new text, never a mix), a full disk when it saves (the old
# file survives and the game runs on), damaged files in data/, and no data/ at
# all. No display and no audio device are checked in window.sh.
#
# With damaged data and with none, the menu and a round must still work: the
# menu goes down to play mode 2, Space starts its round, the round runs (it
# moves, where there is art to move) and Escape brings the pause panel over
# it; Left and Space quit, and game over files the round, which the state
# file shows as the mode last played.
set -u
source "$(dirname "$0")/lib.bash"
game=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
passed=0
pass() { echo "ok: $*"; passed=$((passed + 1)); }

zeros() { local i; for ((i = 0; i < $1; i++)); do printf '0|'; done; }
# What a first start saves; a state file it cannot read leaves it the same.
new_state="0|1|3|0|0|1|0|0|0|0|64|64|10|$(zeros 12)1476|$(zeros 9)$(zeros 105)"
old_state="old state, not a save string"

# The game's process: the one given, or its child when it runs under strace.
game_pid() {
  local p=$1 child
  child=$(pgrep -P "$p" 2>/dev/null | head -n1)
  echo "${child:-$p}"
}

# Starts the game (under the command words given first, if any) in the current
# folder and waits for its window and, unless LOADED=0, the end of loading;
# sets PID, GPID, WID.
start_game() {
  "$@" "$game" >out.txt 2>err.txt &
  PID=$!
  WID=$(wait_window "Tovrin Game" 20) || fail "no window ($*): $(cat out.txt err.txt)"
  GPID=$(game_pid "$PID")
  [ "${LOADED:-1}" = 0 ] || sleep 1.5  # loading takes 39 updates
}

still_runs() { kill -0 "$GPID" 2>/dev/null; }

no_runtime_error() { ! grep -q "Runtime Error" out.txt; }

# A key held as a hand holds it.
tap() {
  xdotool keydown "$1"
  sleep 0.15
  xdotool keyup "$1"
  sleep 0.3
}

shot() { import -window "$WID" "$1" || fail "no screenshot $1"; }

# The pause panel's orange body below its resume button (drawn as a rectangle,
# so it shows without any art).
panel_shown() {
  local r g b
  read -r r g b <<< "$(convert "$1" -format "%[fx:int(255*p{320,290}.r)] %[fx:int(255*p{320,290}.g)] %[fx:int(255*p{320,290}.b)]" info:)"
  [ "$r" -gt 140 ] && [ "$r" -gt "$g" ] && [ "$b" -lt 80 ]
}

# Plays a round of play mode 2 from the menu as described at the top; with
# MOVES=1 the round must also change on screen while Space is held. The pause
# panel is checked while the character still stands at the start: play mode 2
# has no spare lives, so a round that moves can end at its first touch.
round_from_menu() {
  local what=$1
  wmctrl -i -a "$WID"
  sleep 0.5
  tap Down
  tap space
  sleep 1
  tap Escape
  sleep 0.8
  shot pause.png
  panel_shown pause.png || fail "$what: no pause panel over the round"
  tap space  # the ring starts on Resume
  sleep 0.8
  xdotool keydown space
  sleep 0.3
  shot round-a.png
  sleep 0.5
  shot round-b.png
  xdotool keyup space
  sleep 0.3
  if [ "${MOVES:-1}" = 1 ]; then
    [ "$(compare -metric AE round-a.png round-b.png null: 2>&1)" != 0 ] || fail "$what: the round stands still"
  fi
  # Quit through the panel, unless the round has already ended on its own.
  tap Escape
  sleep 0.8
  shot quit.png
  if panel_shown quit.png; then
    tap Left
    tap space
  fi
  sleep 3  # game over, then the menu files the round and saves
  still_runs || fail "$what: the game stopped in the round"
  local state
  IFS='|' read -r -a state < .tovrinstate
  [ "${state[1]:-}" = 2 ] || fail "$what: no round of play mode 2 filed; state '$(cat .tovrinstate)'"
}

# --------------------------------------------------------------------------
# Killed while saving. strace holds the game inside one step of the save
# (writing the new file, syncing it, renaming it over the old one, or just
# after the rename) long enough for SIGKILL to land there.

kill_during() {
  local syscall=$1 when=$2 trigger=$3
  printf '%s' "$old_state" >.tovrinstate
  rm -f .tovrinstate.tmp
  # The save does not wait for loading to end.
  LOADED=0 start_game strace -f -o /dev/null -P .tovrinstate.tmp -P "$PWD/.tovrinstate.tmp" -P .tovrinstate \
    -e trace="$syscall" -e inject="$syscall:$when=2000000"
  case $trigger in
    iconify) xdotool windowminimize "$WID" ;;
    close) wmctrl -i -c "$WID" ;;
  esac
  sleep 1
  kill -9 "$GPID" 2>/dev/null
  wait "$PID" 2>/dev/null
  KILLED_STATE=$(cat .tovrinstate)
}

if command -v strace >/dev/null; then
  dir=$(make_game_folder); cd "$dir"
  for step in "write delay_enter old iconify" "fsync delay_enter old iconify" "rename delay_enter old iconify" \
    "rename delay_exit new iconify" "rename delay_enter old close"; do
    set -- $step
    kill_during "$1" "$2" "$4"
    want=$old_state
    [ "$3" = new ] && want=$new_state
    [ "$KILLED_STATE" = "$old_state" ] || [ "$KILLED_STATE" = "$new_state" ] ||
      fail "killed in $1 ($2) on $4: the state file holds '$KILLED_STATE'"
    [ "$KILLED_STATE" = "$want" ] || fail "killed in $1 ($2) on $4: want the $3 state, got '$KILLED_STATE'"
  done
  # The next start reads the file it finds and saves whole again.
  start_game
  xdotool windowminimize "$WID"
  sleep 1
  [ "$(cat .tovrinstate)" = "$new_state" ] || fail "after the kills: state '$(cat .tovrinstate)'"
  close_and_wait "$WID" "$PID"
  [ "$EXIT_STATUS" -eq 0 ] || fail "after the kills: exit status $EXIT_STATUS"
  cd / && rm -rf "$dir"
  pass "killed while writing, syncing or renaming the state file, it holds the old or the new text whole"
else
  echo "skipped: no strace to hold the game inside its save"
fi

# --------------------------------------------------------------------------
# A full disk when saving: a small file system of its own, filled up.

mount_small_disk() {
  [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=256k tmpfs "$1" 2>/dev/null
}

dir=$(mktemp -d /tmp/vw-disk-XXXXXX)
if mount_small_disk "$dir"; then
  cd "$dir"
  ln -s "$REPO/data" data
  printf '%s' "$old_state" >.tovrinstate
  dd if=/dev/zero of=filler bs=4k >/dev/null 2>&1  # until the disk is full
  start_game
  xdotool windowminimize "$WID"
  sleep 1
  [ "$(cat .tovrinstate)" = "$old_state" ] || fail "full disk: the state file became '$(cat .tovrinstate)'"
  [ -e .tovrinstate.tmp ] && fail "full disk: a partial new file was left behind"
  still_runs || fail "full disk: the game stopped when its save failed"
  wmctrl -i -a "$WID"
  sleep 1
  still_runs || fail "full disk: the game stopped after coming back"
  rm -f filler
  xdotool windowminimize "$WID"
  sleep 1
  [ "$(cat .tovrinstate)" = "$new_state" ] || fail "disk freed: the state file holds '$(cat .tovrinstate)'"
  close_and_wait "$WID" "$PID"
  [ "$EXIT_STATUS" -eq 0 ] || fail "full disk: exit status $EXIT_STATUS"
  no_runtime_error || fail "full disk: $(cat out.txt)"
  cd /
  for _ in $(seq 20); do umount "$dir" 2>/dev/null && break; sleep 0.2; done
  mountpoint -q "$dir" && umount -l "$dir"
  pass "a full disk keeps the old state file and the game runs on; freed, it saves"
else
  echo "skipped: a small file system needs root to mount"
fi
rmdir "$dir" 2>/dev/null

# --------------------------------------------------------------------------
# Damaged files in a copy of data/: a truncated sheet, a sound whose data
# chunk claims far more than the file holds, an empty sound, garbage for the
# font. Each such slot stays empty and the game goes on.

damage_data() {
  local d=$1/data
  cp -r "$REPO/data" "$d"
  head -c 3000 "$REPO/data/logo-hd.png" >"$d/logo-hd.png"
  printf '\xf0\xff\xff\x7f' | dd of="$d/sfx/001.wav" bs=1 seek=40 conv=notrunc 2>/dev/null
  : >"$d/sfx/002.wav"
  head -c 5000 /dev/urandom >"$d/fonts/editundo-hd.png"
}

dir=$(mktemp -d /tmp/vw-damaged-XXXXXX); cd "$dir"
damage_data "$dir"
start_game
still_runs || fail "damaged data: the game stopped while loading"
xdotool windowminimize "$WID"  # the loop still runs: it saves when iconified
sleep 1
[ "$(cat .tovrinstate 2>/dev/null)" = "$new_state" ] || fail "damaged data: no save after loading"
round_from_menu "damaged data"
close_and_wait "$WID" "$PID"
[ "$EXIT_STATUS" -eq 0 ] || fail "damaged data: exit status $EXIT_STATUS"
no_runtime_error || fail "damaged data: $(cat out.txt)"
cd / && rm -rf "$dir"
pass "truncated PNG, lying WAV chunk, empty WAV and a garbage font: loading ends, the menu and a round work"

# --------------------------------------------------------------------------
# No data/ at all: nothing loads, nothing stops.

dir=$(mktemp -d /tmp/vw-nodata-XXXXXX); cd "$dir"
start_game
xdotool windowminimize "$WID"
sleep 1
[ "$(cat .tovrinstate 2>/dev/null)" = "$new_state" ] || fail "no data: no save after loading"
# Nothing is drawn that moves: no art.
MOVES=0 round_from_menu "no data"
close_and_wait "$WID" "$PID"
[ "$EXIT_STATUS" -eq 0 ] || fail "no data: exit status $EXIT_STATUS"
no_runtime_error || fail "no data: $(cat out.txt)"
cd / && rm -rf "$dir"
pass "without data/ the game loads nothing, and the menu and a round work"

echo "$passed passed, 0 failed"
