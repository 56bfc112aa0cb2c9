#!/usr/bin/env bash
# A newcomer's session with the built game in a real window: start it, wait
# for the menu, peek at the credits box, start play mode 1 with Space, play
# a little by holding and releasing, pause with Escape, quit with Left then
# Space, watch the game over, and find the round in the menu's lists and in
# the state file after closing; start again and find it once more. Then the
# same for play modes 2 to 5 with a state file that unlocks them and holds
# made-up scores, going down the mode list with the Down key, and last a close
# in the middle of a round, which must keep the round.
#
# The filed score is read from the state file, so the checks hold whatever a
# round scores. Screenshots of every stage are kept in test-output/newcomer/
# under the build folder for a human look.
set -u
source "$(dirname "$0")/lib.bash"
game=$1
out="$PWD/test-output/newcomer"
rm -rf "$out" && mkdir -p "$out"
passed=0

# --- Driving the window and looking at it -------------------------------------

start_game() {
  fresh_log
  "$game" >>out.txt 2>>err.txt &
  pid=$!
  wid=$(wait_window "Tovrin Game") || fail "no window titled 'Tovrin Game'"
}

# Keys are held for a while and let go for a while, as a hand does; the game
# must see both, or the press is missed or held on into the next screen,
# where the latches swallow it.
tap_key() {
  hold_key "$wid" "$1" "${2:-0.15}"
  sleep 0.3
}

tap_mouse() {
  xdotool mousemove --window "$wid" "$1" "$2"
  sleep 0.1
  xdotool mousedown 1
  sleep 0.15
  xdotool mouseup 1
}

shot() { import -window "$wid" "$out/$1.png" || fail "no screenshot $1"; }

# "r g b" of pixel x,y of a kept screenshot.
pixel() {
  convert "$out/$1.png" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}

# Takes screenshot $2 again and again, up to $3 seconds, until test $1 holds
# for it. Waiting for what the player would wait for keeps the script
# independent of how fast the machine is (a save syncs the disk, which can
# take a while on a busy one).
wait_for() {
  local test=$1 name=$2 limit=${3:-10}
  for _ in $(seq $((limit * 5))); do
    shot "$name"
    "$test" "$name" && return 0
    sleep 0.2
  done
  fail "$name: gave up waiting ($test)"
}

# Waits up to 4 seconds for test $1 on screenshot $2; if it does not come,
# runs the rest of the arguments once and waits again.
retry_once() {
  local test=$1 name=$2
  shift 2
  for _ in $(seq 20); do
    shot "$name"
    "$test" "$name" && return 0
    sleep 0.2
  done
  "$@"
  wait_for "$test" "$name" 6
}

# Fails when the menu is at rest again (more than $1 times), the game over
# having faded out before a shot caught it; false otherwise, to shoot again.
game_over_missed() {
  [ "$(mark_count menu-at-rest)" -gt "$1" ] && fail "the game over faded out before a shot caught it"
  return 1
}

# Left and Space again, but only while the pause panel is still up.
quit_again() {
  panel_shown "$1" || return 0
  tap_key Left 0.25
  tap_key space 0.25
}

# The pause panel's orange body below its resume button.
panel_shown() {
  local r g b
  read -r r g b <<< "$(pixel "$1" 320 290)"
  [ "$r" -gt 140 ] && [ "$r" -gt "$g" ] && [ "$b" -lt 80 ]
}

# The yellow bar of the game-over overlay.
game_over_shown() {
  local r g b
  read -r r g b <<< "$(pixel "$1" 100 216)"
  [ "$r" -gt 120 ] && [ "$g" -gt 120 ] && [ "$b" -lt 110 ]
}

# The credits box's orange frame at (70, 300), over the sky when it is closed.
credits_box_shown() {
  local r g b
  read -r r g b <<< "$(pixel "$1" 70 300)"
  [ "$r" -gt 180 ] && [ "$b" -lt 80 ]
}
credits_box_closed() { ! credits_box_shown "$1"; }

# The menu at rest: the green sound button in its place, the lists' titles
# drawn, and nothing right of the spinning coin moving since the last look.
menu_settled() {
  local r g b now
  now=$(convert "$out/$1.png" -crop 580x480+60+0 +repage rgb:- | md5sum)
  [ "$now" = "${menu_was:-}" ] || { menu_was=$now; return 1; }
  read -r r g b <<< "$(pixel "$1" 48 170)"
  [ "$r" -lt 100 ] && [ "$g" -gt 180 ] && [ "$b" -lt 100 ] || return 1
  row_drawn "$1" top 0 && row_drawn "$1" last 0
}

# --- The state file -----------------------------------------------------------
# Pieces: 25 settings and their sum, 8 badge words and their sum, then per
# mode m (0-based) from 35 + 21 m: top and last entries in turn, then the sum.

read_state() {
  [ -s .tovrinstate ] || fail "no state file"
  IFS='|' read -r -a STATE < .tovrinstate
}
top() { echo "${STATE[$((35 + 21 * $1 + 2 * $2))]}"; }
last() { echo "${STATE[$((35 + 21 * $1 + 2 * $2 + 1))]}"; }
credits() { echo "${STATE[3]}"; }

# The menu opens on the mode played last, which the state file keeps in
# setting 1: this sets it to $1 (and the settings' checksum with it), so a
# visit starts on its mode without a walk through the list.
set_menu_mode() {
  read_state
  STATE[1]=$1
  local i sum=0 text=""
  for i in $(seq 0 24); do sum=$((sum + i * STATE[i])); done
  STATE[25]=$sum
  for i in "${!STATE[@]}"; do text+="${STATE[i]}|"; done
  printf '%s' "$text" > .tovrinstate
}

# Writes a state file with modes 1 to 5 unlocked, 12 credits, the menu on
# mode 1, and distinct made-up scores in every list, checksums included.
craft_state() {
  local settings=(0 1 31 12 0 1 0 0 0 0 64 64 10 0 0 0 0 0 0 0 0 0 0 0 0)
  local text="" sum=0 i m t l
  for i in "${!settings[@]}"; do
    text+="${settings[i]}|"
    sum=$((sum + i * settings[i]))
  done
  text+="$sum|0|0|0|0|0|0|0|0|0|"
  for m in 0 1 2 3 4; do
    sum=0
    for i in $(seq 0 9); do
      t=$((900 - 80 * i - 7 * m)) l=$((100 + 37 * i + 11 * m))
      text+="$t|$l|"
      sum=$((sum + (i + 4) * t + (m + i + 3) * l))
    done
    text+="$sum|"
  done
  printf '%s' "$text" > .tovrinstate
}

# --- The score lists in a screenshot --------------------------------------------
# The lists are drawn in the strip at the right edge from x 520, the top list
# from y 60 in orange-yellow, the last list from y 240 in yellow-green, one
# row of 15 pixels each, the title first. A row's glyphs are cut out as a
# black-and-white mask of the list's colour, so a row compares across
# screenshots whatever lies behind the strip. (Glyphs land on half pixels,
# so the same number in another row may differ by a pixel: rows are compared
# only with the same row of another screenshot.)

row_mask() {  # shot list row mask-file
  local y0=60 colour="rgb(255,200,100)"
  if [ "$2" = last ]; then y0=240 colour="rgb(200,255,100)"; fi
  convert "$out/$1.png" -crop "130x15+505+$((y0 + 15 * $3))" +repage -fuzz 6% -fill white -opaque "$colour" \
    -fill black +opaque white "$4"
}

same_row() {  # shotA shotB list row
  row_mask "$1" "$3" "$4" "$out/.mask-a.png"
  row_mask "$2" "$3" "$4" "$out/.mask-b.png"
  [ "$(compare -metric AE "$out/.mask-a.png" "$out/.mask-b.png" null: 2>&1)" = 0 ]
}

# A row that shows nothing in the list's colour is not drawn.
row_drawn() {  # shot list row
  row_mask "$1" "$2" "$3" "$out/.mask-a.png"
  [ "$(convert "$out/.mask-a.png" -format '%[fx:int(mean*10000)]' info:)" -gt 0 ]
}

# After a round the last list has a new first row (unless the new score
# repeats the old first one), and the top list keeps the rows above the new
# score's place.
check_lists_changed() {  # before after score last-before-0 top-before...
  local before=$1 after=$2 score=$3 newest=$4 i place=10
  shift 4
  local tops=("$@")
  for i in $(seq 1 10); do
    row_drawn "$after" last "$i" || fail "$after: last list row $i not drawn"
    row_drawn "$after" top "$i" || fail "$after: top list row $i not drawn"
  done
  if [ "$score" != "$newest" ]; then
    same_row "$before" "$after" last 1 && fail "$after: the last list's first row did not change"
  fi
  for i in $(seq 0 9); do
    if [ "$score" -gt "${tops[i]}" ]; then place=$i; break; fi
  done
  for ((i = 0; i < place; i++)); do
    same_row "$before" "$after" top $((i + 1)) || fail "$after: top list row $((i + 1)) changed"
  done
  return 0
}

# --- One newcomer's round in one play mode --------------------------------------

# Plays a round of play mode $1 from the menu and quits it through the pause
# panel; leaves the menu it returns to as the screenshot mode$1-7-menu-after.
play_and_quit() {
  local mode=$1 p="mode$1" i rounds menus ended rested
  rounds=$(mark_count screen-10) menus=$(mark_count screen-1) ended=$(mark_count round-over)
  rested=$(mark_count menu-at-rest)
  tap_key space 0.25
  wait_next_mark screen-10 "$rounds" 5 || fail "$p: Space at the menu started no round"
  # A little play: taps of a tenth of a second, in a rhythm that starts a
  # moment into the round (the player's, not a wait for the game). Three
  # holds of up to about 27 updates keep the character clear of the first
  # spikes in every play mode (three of half a second end a round of play
  # mode 2, which has no spare hits), so the round is still on when it is
  # paused.
  sleep 0.5
  for i in 1 2 3; do
    hold_key "$wid" space 0.1
    sleep 0.3
  done
  shot "$p-3-round"
  [ "$(mark_count round-over)" -eq "$ended" ] || fail "$p: the round ended in the little play, before the pause"
  # A loaded machine may starve the game long enough to miss a short press,
  # so a press that shows no effect is given once more.
  tap_key Escape 0.25
  retry_once panel_shown "$p-4-paused" tap_key Escape 0.25
  tap_key Left 0.25
  shot "$p-5-quit-focused"
  hold_key "$wid" space 0.25
  if ! wait_next_mark round-over "$ended" 3; then
    shot "$p-5-quit-focused"
    quit_again "$p-5-quit-focused"
    wait_next_mark round-over "$ended" 5 || fail "$p: quitting through the pause panel ended no round"
  fi
  # The overlay shows for 1.5 s from the end of the round, then fades over
  # the menu as it slides in: shot as soon as the round has ended, and again
  # until a shot shows it or it has faded out.
  wait_until "shot $p-6-game-over; game_over_shown $p-6-game-over || game_over_missed $rested" 10 ||
    fail "$p: no game over shown"
  wait_next_mark screen-1 "$menus" 10 || fail "$p: no menu after the game over"
  menu_was=""
  wait_for menu_settled "$p-7-menu-after" 20
}

# The visit for play mode $1, with the game on the menu showing that mode: the
# round, the state file after the close, and the same lists after a restart,
# which leaves the game running on the menu again.
visit_mode() {
  local mode=$1 m=$(($1 - 1)) p="mode$1" i
  read_state
  local tops=() lasts=() credits_before
  for i in $(seq 0 9); do
    tops+=("$(top "$m" "$i")")
    lasts+=("$(last "$m" "$i")")
  done
  credits_before=$(credits)

  play_and_quit "$mode"
  close_and_wait "$wid" "$pid"
  [ "$EXIT_STATUS" -eq 0 ] || fail "$p: exit status $EXIT_STATUS"

  read_state
  local score expect=() placed=0
  score=$(last "$m" 0)
  for i in $(seq 1 9); do
    [ "$(last "$m" "$i")" = "${lasts[i - 1]}" ] || fail "$p: last list entry $i is $(last "$m" "$i"), want ${lasts[i - 1]}"
  done
  for i in $(seq 0 9); do
    if [ $placed -eq 0 ] && [ "$score" -gt "${tops[i]}" ]; then
      expect+=("$score")
      placed=1
    fi
    [ ${#expect[@]} -lt 10 ] && expect+=("${tops[i]}")
  done
  for i in $(seq 0 9); do
    [ "$(top "$m" "$i")" = "${expect[i]}" ] || fail "$p: top list entry $i is $(top "$m" "$i"), want ${expect[i]}"
  done
  [ "$(credits)" -ge "$credits_before" ] || fail "$p: credits fell from $credits_before to $(credits)"
  check_lists_changed "$p-1-menu" "$p-7-menu-after" "$score" "${lasts[0]}" "${tops[@]}"
  echo "ok: play mode $mode: a round scoring $score is filed, shown in the menu and saved"
  passed=$((passed + 1))

  set_menu_mode "$mode"
  local saved
  saved=$(cat .tovrinstate)
  start_game
  menu_was=""
  wait_for menu_settled "$p-8-restarted"
  for i in $(seq 1 10); do
    same_row "$p-7-menu-after" "$p-8-restarted" last "$i" || fail "$p: after a restart last row $i differs"
    same_row "$p-7-menu-after" "$p-8-restarted" top "$i" || fail "$p: after a restart top row $i differs"
  done
  [ "$(cat .tovrinstate)" = "$saved" ] || fail "$p: a restart changed the state file"
  echo "ok: play mode $mode: after a restart the menu shows the same lists"
  passed=$((passed + 1))
}

# Down to play mode $1 from the one above it, as the player does: the lists
# change to the new mode's (its made-up scores differ from every other
# mode's). A press the game missed is given once more.
next_mode() {
  local p="mode$1" from="mode$(($1 - 1))-8-restarted"
  tap_key Down 0.25
  menu_was=""
  wait_for menu_settled "$p-1-menu"
  if same_row "$from" "$p-1-menu" top 1; then
    tap_key Down 0.25
    menu_was=""
    wait_for menu_settled "$p-1-menu"
  fi
  same_row "$from" "$p-1-menu" top 1 && fail "$p: Down did not select play mode $1"
  return 0
}

# The logo button opens the credits box; a new tap anywhere closes it.
# A click the game missed (starved between the press and the release) is
# given once more.
peek_at_credits() {
  tap_mouse 540 20
  retry_once credits_box_shown "mode1-0-credits-box" tap_mouse 540 20
  tap_mouse 320 240
  retry_once credits_box_closed "mode1-0-credits-closed" tap_mouse 320 240
}

# Closing the window in the middle of a round of play mode $1 keeps the round.
close_mid_round() {
  local m=$(($1 - 1))
  read_state
  local before
  before=$(last "$m" 0)
  local rounds
  rounds=$(mark_count screen-10)
  tap_key space 0.25
  wait_next_mark screen-10 "$rounds" 5 || fail "close mid-round: Space at the menu started no round"
  shot "close-round"
  close_and_wait "$wid" "$pid"
  [ "$EXIT_STATUS" -eq 0 ] || fail "close mid-round: exit status $EXIT_STATUS"
  read_state
  [ "$(last "$m" 1)" = "$before" ] || fail "close mid-round: the round was not filed ($(last "$m" 0) $(last "$m" 1))"
  echo "ok: a close in the middle of a round files it (score $(last "$m" 0))"
  passed=$((passed + 1))
}

# --- The session ------------------------------------------------------------------

dir=$(make_game_folder); cd "$dir"
[ -e .tovrinstate ] && fail "the folder already holds a state file"
start_game
menu_was=""
wait_for menu_settled "first-start"
close_and_wait "$wid" "$pid"

set_menu_mode 1
start_game
menu_was=""
wait_for menu_settled "mode1-1-menu"
peek_at_credits
visit_mode 1
close_and_wait "$wid" "$pid"

craft_state
set_menu_mode 2
start_game
menu_was=""
wait_for menu_settled "mode2-1-menu"
visit_mode 2
for mode in 3 4 5; do
  next_mode "$mode"
  visit_mode "$mode"
done
close_mid_round 5

rm -f "$out"/.mask-*.png
cd / && rm -rf "$dir"
echo "$passed passed, 0 failed"
