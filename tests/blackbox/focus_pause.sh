#!/usr/bin/env bash
# Focus loss in a real window: another window taking the focus leaves the main
# menu as it is and keeps the game running; in a round (started from the menu
# with Space) it opens the pause panel, so the round stops moving and stays
# stopped when the focus comes back. Left alone, the character bounces on the
# spot, so the round cannot end before the focus goes.
set -u
source "$(dirname "$0")/lib.bash"
game=$1
shots=$PWD
passed=0
thief=""

# How long a picture is watched for change; the game draws 60 frames a second.
watch_seconds=0.5

fail() {
  echo "FAIL: $*"
  [ -n "$thief" ] && kill "$thief" 2>/dev/null
  exit 1
}

press() { hold_key "$wid" "$1" 0.15; }

# Gives the focus to window $1 and waits until the window manager reports it.
focus_on() {
  for _ in $(seq 20); do
    xdotool windowactivate "$1" 2>/dev/null
    wait_until "[ \"\$(xdotool getactivewindow 2>/dev/null)\" = $1 ]" 1 && return 0
  done
  return 1
}

shot() { import -window "$wid" "$shots/focus_$1.png" || fail "no screenshot $1"; }

# Per mille of the window's pixels that differ between two screenshots.
changed() {
  local n
  n=$(compare -metric AE "$shots/focus_$1.png" "$shots/focus_$2.png" null: 2>&1)
  echo $((${n%%.*} * 1000 / (640 * 480)))
}

# Shoots $1, watches for $watch_seconds, shoots $2.
watch() {
  shot "$1"
  sleep "$watch_seconds"
  shot "$2"
}

dir=$(make_game_folder); cd "$dir"
fresh_log
"$game" >out.txt 2>err.txt &
pid=$!
wid=$(wait_window "Tovrin Game") || fail "no window titled 'Tovrin Game'"
xmessage -title focus-thief -geometry +0+0 "another window" >/dev/null 2>&1 &
thief=$!
other=$(wait_window focus-thief) || fail "no second window"
focus_on "$wid" || fail "the game window cannot get the focus"
wait_mark loaded || fail "loading did not end"

# At the menu, once it has slid in: only the coin and the stars move.
wait_until "watch menu_settling menu_before; [ \$(changed menu_settling menu_before) -lt 100 ]" 10 ||
  fail "the menu does not settle"
losses=$(mark_count focus-lost)
focus_on "$other" || fail "the other window cannot get the focus"
wait_next_mark focus-lost "$losses" 5 || fail "the game did not see the focus go"
watch menu_after menu_later
kill -0 "$pid" || fail "the game stopped when the focus went"
xprop -id "$wid" WM_STATE | grep -q "Normal" || fail "the window was iconified"
[ "$(changed menu_before menu_later)" -lt 100 ] || fail "the menu changed when the focus went"
[ "$(mark_count paused)" -eq 0 ] || fail "the menu paused"
echo "ok: at the menu the focus going changes nothing and the game runs on"
passed=$((passed + 1))

# In a round: it moves (the character bounces) until the focus goes.
focus_on "$wid" || fail "the game window cannot get the focus back"
press space
wait_mark screen-10 || fail "Space at the menu started no round"
# Two shots a fifth of a second apart catch the bouncing character in two
# places (the rest of the picture stands); a pair that happens to catch it at
# one height is taken again.
wait_until "shot round_1; sleep 0.2; shot round_2; [ \$(changed round_1 round_2) -ge 2 ]" 5 || fail "the round does not move"
losses=$(mark_count focus-lost)
focus_on "$other" || fail "the other window cannot get the focus in the round"
wait_next_mark focus-lost "$losses" 5 || fail "the game did not see the focus go in the round"
wait_mark paused 1 5 || fail "the round did not pause when the focus went"
[ "$(mark_count round-over)" -eq 0 ] || fail "the round ended before the focus went"
# The panel slides in; once it is still, nothing moves any more.
wait_until "watch paused_1 paused_2; [ \$(changed paused_1 paused_2) -lt 5 ]" 5 || fail "the round goes on moving without the focus"
[ "$(changed round_2 paused_2)" -ge 10 ] || fail "no pause panel over the round"
focus_on "$wid" || fail "the game window cannot get the focus after the pause"
watch paused_3 paused_4
[ "$(changed paused_2 paused_4)" -lt 5 ] || fail "the round went on when the focus came back"
[ "$(mark_count unpaused)" -eq 0 ] || fail "the pause panel closed when the focus came back"
echo "ok: in a round the focus going opens the pause panel, and it stays when the focus returns"
passed=$((passed + 1))

kill "$thief" 2>/dev/null
close_and_wait "$wid" "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
cd / && rm -rf "$dir"
echo "$passed passed, 0 failed"
