#!/usr/bin/env bash
# The options box in a real window slows the next round: at the menu O, Down,
# Down, Right, Right and Escape set the game speed to 80 % (setting 15 = 2 in
# the state file once the box closes); Space then starts a round, whose
# updates per second, read from the host's timing log (VW_TIMING_LOG), are
# 48 within 2, where the menu's before it were 60.
#
# Every step waits for what the game shows or writes, with a deadline. The
# timing log then tells whether the machine let the game see and time it: a
# key held while no update ran may have been missed, and a loop that fell
# behind by more than its catch-up drops updates. Then the script reports a
# skip (exit 77): it could not check its claim. Screenshots and the log are
# left in options_speed/ for a human look.
set -u
source "$(dirname "$0")/lib.bash"
game=$1
out="$PWD/options_speed"
rm -rf "$out" && mkdir -p "$out"

skip() { echo "SKIP: $*"; exit 77; }
for tool in xdotool import convert python3; do
  command -v "$tool" >/dev/null || skip "no $tool on this machine"
done

# NOW: seconds on CLOCK_MONOTONIC, the timing log's clock, from a helper kept
# running (a new python for each reading would take long on a busy machine).
coproc CLOCK { python3 -u -c 'import sys, time
for _ in sys.stdin: print("%.6f" % time.monotonic())'; }
now() { echo >&"${CLOCK[1]}"; read -r NOW <&"${CLOCK[0]}"; }

# Each key's hold as "name from to", to check against the log at the end.
holds=()
tap_key() {
  local from
  xdotool keydown --window "$wid" "$1"
  now; from=$NOW
  sleep 0.2
  now; holds+=("$1 $from $NOW")
  xdotool keyup --window "$wid" "$1"
  sleep 0.3
}

shot() { import -window "$wid" "$out/$1.png" 2>/dev/null; }

# "r g b" of pixel x,y of screenshot $1, or the mean of its crop $2 (WxH+X+Y).
pixel() {
  convert "$out/$1.png" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}
mean() {
  convert "$out/$1.png" -crop "$2" +repage -resize '1x1!' -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:
}

# The menu at rest: the green sound button in its place.
menu_shown() { local r g b; read -r r g b <<< "$(pixel "$1" 48 170)"; [ "$r" -lt 100 ] && [ "$g" -gt 180 ] && [ "$b" -lt 100 ]; }
# The box's orange frame left of the mode list.
box_shown() { local r g b; read -r r g b <<< "$(pixel "$1" 70 300)"; [ "$r" -gt 180 ] && [ "$b" -lt 80 ]; }
box_closed() { ! box_shown "$1"; }
# The round's daylight sky where the menu has its dusk.
round_shown() { local r g b; read -r r g b <<< "$(mean "$1" 200x100+200+100)"; [ "$g" -gt 90 ] && [ "$b" -gt "$r" ]; }

# Shoots $2 until test $1 holds for it, up to $3 seconds; otherwise notes
# what did not come in PROBLEM and returns 1.
PROBLEM=""
wait_for() {
  local test=$1 name=$2 limit=${3:-10} _
  for _ in $(seq $((limit * 5))); do
    shot "$name" && "$test" "$name" && return 0
    sleep 0.2
  done
  PROBLEM="$name: gave up waiting ($test)"
  return 1
}

# Setting $1 as the state file holds it, or nothing without a file.
saved_setting() {
  [ -s .tovrinstate ] || return 0
  local state
  IFS='|' read -r -a state < .tovrinstate
  echo "${state[$1]}"
}

wait_saved() {
  local _
  for _ in $(seq 50); do
    [ "$(saved_setting "$1")" = "$2" ] && return 0
    sleep 0.2
  done
  PROBLEM="setting $1 is '$(saved_setting "$1")' in the state file, want $2"
  return 1
}

# The session; returns 1 at the first thing that does not come (PROBLEM).
play() {
  wait_for menu_shown menu 30 || return 1
  tap_key o
  wait_for box_shown box 5 || return 1
  for key in Down Down Right Right; do tap_key "$key"; done
  shot box_set
  tap_key Escape
  wait_for box_closed box_closed 5 || return 1
  wait_saved 15 2 || return 1
  echo "ok: O, Down, Down, Right, Right, Escape leave the game speed at 80 % in the state file"
  now; menu_from=$NOW
  sleep 3
  now; menu_to=$NOW
  tap_key space
  wait_for round_shown round 10 || return 1
  now; round_from=$NOW
  sleep 5
  now; round_to=$NOW
  shot round_after
  round_shown round_after || { PROBLEM="the round ended while it was measured"; return 1; }
}

# --- Reading the timing log ------------------------------------------------------

# Whether an update ran while key hold "name from to" was held (a little after
# the press, so its event had reached the game's poll).
key_seen() {
  local name from to
  read -r name from to <<< "$2"
  awk -v a="$from" -v b="$to" '$1 == "update" && $2 > a + 0.02 && $2 < b { seen = 1 } END { exit !seen }' "$1"
}

# Updates a second that ran between times $2 and $3 of timing log $1.
rate() {
  awk -v a="$2" -v b="$3" '$1 == "update" && $2 >= a && $2 <= b { n++ } END { printf "%.1f", n / (b - a) }' "$1"
}
within() { awk -v x="$1" -v want="$2" 'BEGIN { d = x - want; exit !(d <= 2 && d >= -2) }'; }

# Whether the loop kept up between times $2 and $3 at $4 updates a second: no
# update ran as late as the host's catch-up of 7 updates (it drops a longer
# backlog), so a count is the game's rate and not the machine's.
kept_up() {
  awk -v a="$2" -v b="$3" -v rate="$4" '$1 == "update" && $2 >= a && $2 <= b && $3 > 6 / rate { late = 1 }
    END { exit late }' "$1"
}

# Skips when the log shows that a key may have gone unseen; otherwise fails
# with $1.
judge_problem() {
  local hold
  for hold in "${holds[@]}"; do
    key_seen timing.log "$hold" || skip "no update ran while ${hold%% *} was held: too busy a machine to judge ($1)"
  done
  fail "$1"
}

# --- The session and its judgement ---------------------------------------------------

dir=$(make_game_folder); cd "$dir"
VW_TIMING_LOG="$dir/timing.log" "$game" >out.txt 2>err.txt &
pid=$!
wid=$(wait_window "Tovrin Game") || fail "no window titled 'Tovrin Game'"
xdotool windowactivate --sync "$wid"
play
close_and_wait "$wid" "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
for _ in $(seq 50); do [ -s timing.log ] && break; sleep 0.1; done
[ -s timing.log ] || fail "no timing log written at exit"
cp timing.log "$out/"
[ -z "$PROBLEM" ] || judge_problem "$PROBLEM"
[ "$(saved_setting 15)" = 2 ] || fail "the final save lost the game speed"

round_rate=$(rate timing.log "$round_from" "$round_to")
menu_rate=$(rate timing.log "$menu_from" "$menu_to")
echo "menu: $menu_rate updates a second; slowed round: $round_rate"
kept_up timing.log "$round_from" "$round_to" 48 || skip "the round fell behind its updates: too busy a machine to judge"
within "$round_rate" 48 || fail "the round at 80 % ran $round_rate updates a second, want 48 within 2"
echo "ok: the round at 80 % runs $round_rate updates a second"
passed=2
# The menu before it, at full rate, when the machine let it keep up.
if kept_up timing.log "$menu_from" "$menu_to" 60; then
  within "$menu_rate" 60 || fail "the menu ran $menu_rate updates a second, want 60 within 2"
  echo "ok: the menu runs $menu_rate updates a second"
  passed=3
else
  echo "note: the menu fell behind its updates, so its rate was not judged"
fi
cd / && rm -rf "$dir"
echo "$passed passed, 0 failed"
