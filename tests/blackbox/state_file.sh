#!/usr/bin/env bash
# The state file in a real window: a first start in an empty folder saves the
# default string when it is iconified, and the next start loads every section
# of it.
set -u
source "$(dirname "$0")/lib.bash"
game=$1

zeros() { local i; for ((i = 0; i < $1; i++)); do printf '0|'; done; }
expected="0|1|3|0|0|1|0|0|0|0|64|64|10|$(zeros 12)1476|$(zeros 9)$(zeros 105)"

dir=$(make_game_folder); cd "$dir"
[ -e .tovrinstate ] && fail "the folder already holds a state file"

fresh_log
"$game" >out1.txt 2>err1.txt &
pid=$!
wid=$(wait_window "Tovrin Game") || fail "no window titled 'Tovrin Game'"
wait_mark loaded || fail "loading did not end"
[ -e .tovrinstate ] && fail "state saved before the window was iconified"
xdotool windowminimize "$wid" || fail "could not iconify the window"
wait_mark state-saved 1 5 || fail "no save when iconified"
[ -s .tovrinstate ] || fail "no state file after iconifying"
state=$(cat .tovrinstate)
[ "$state" = "$expected" ] || fail "state file holds '$state'"
[ "$(wc -c < .tovrinstate)" -eq "${#expected}" ] || fail "state file has extra bytes"
[ -s out1.txt ] && fail "a first start printed: $(cat out1.txt)"
close_and_wait "$wid" "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "first run: exit status $EXIT_STATUS"
echo "ok: a first start saves the default string when iconified"

fresh_log
"$game" >out2.txt 2>err2.txt &
pid=$!
wid=$(wait_window "Tovrin Game") || fail "no window on the second start"
wait_mark loaded || fail "loading did not end on the second start"
close_and_wait "$wid" "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "second run: exit status $EXIT_STATUS"
want=$(printf '%s\n' "Settings Loaded" "Badges Loaded" "Highscore 0 Loaded" "Highscore 1 Loaded" \
  "Highscore 2 Loaded" "Highscore 3 Loaded" "Highscore 4 Loaded")
[ "$(cat out2.txt)" = "$want" ] || fail "second start printed: $(cat out2.txt)"
echo "ok: the next start loads settings, badges and five score lists"

cd / && rm -rf "$dir"
echo "2 passed, 0 failed"
