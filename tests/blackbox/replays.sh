#!/usr/bin/env bash
# Replays of a round played in the real window: once the round has been filed,
# replays/ holds the last round (and the mode's best run when the round took
# the first place), the headless verifier accepts the last round, and the
# score it replays to is the one filed in the saved state. Everything waits on
# the game's marks in its timing log and the files it writes, with deadlines.
# When no round could be started here (the keys never reached the game), it
# says so and exits 77, a skip.
set -u
source "$(dirname "$0")/lib.bash"
game=$1
verifier="$(dirname "$game")/vaultwick-replay"
[ -x "$verifier" ] || { echo "skip: no verifier beside $game"; exit 77; }

dir=$(make_game_folder); cd "$dir"
fresh_log
"$game" >out.txt 2>err.txt &
pid=$!
wid=$(wait_window "Tovrin Game") || fail "no window titled 'Tovrin Game'"
wait_mark menu-at-rest 1 60 || fail "the menu did not come to rest within a minute"

# Hardcore (mode 2, below the first mode a fresh folder opens on) has no extra
# hits: holding the button runs into a spike soon. The round's end and the
# save that files it are the game's marks; a try whose keys the game missed
# (no round started) is made again until the deadline.
deadline=$((SECONDS + 120))
filed=0
while [ $filed -eq 0 ] && [ $SECONDS -lt $deadline ]; do
  kill -0 "$pid" 2>/dev/null || fail "the game ended: $(cat out.txt err.txt)"
  rounds=$(mark_count screen-10)
  hold_key "$wid" Up 0.15
  hold_key "$wid" Down 0.15
  hold_key "$wid" Return 0.15
  wait_next_mark screen-10 "$rounds" 5 || continue
  saves=$(mark_count state-saved)
  overs=$(mark_count round-over)
  xdotool keydown --window "$wid" space
  wait_next_mark round-over "$overs" 30
  xdotool keyup --window "$wid" space
  # The hand-over to the menu writes the replay and files the round, saved.
  wait_until "[ -s replays/last.vwr ] && [ \$(mark_count state-saved) -gt $saves ]" 30 && filed=1
done
if [ $filed -eq 0 ]; then
  close_and_wait "$wid" "$pid"
  [ "$(mark_count screen-10)" -gt 0 ] && fail "a round was played but its replay and filing never came"
  echo "skip: no round started within two minutes here; the keys may not reach the game"
  exit 77
fi
close_and_wait "$wid" "$pid"
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"

out=$("$verifier" verify replays/last.vwr)
status=$?
echo "verifier: $out"
[ $status -eq 0 ] || fail "the verifier refused the last round (exit $status)"
mode=$(sed -n 's/^mode \([0-9]*\)  score .*/\1/p' <<<"$out")
score=$(sed -n 's/^mode [0-9]*  score \(-\{0,1\}[0-9]*\)  updates.*/\1/p' <<<"$out")
[ -n "$mode" ] && [ -n "$score" ] || fail "the verifier's line names no mode and score"

# The save string: 25 settings and their checksum, 8 badge words and theirs,
# then per mode ten pairs (top ten, last ten) and a checksum. Mode m's first
# pair is piece 35 + 21 (m - 1) and the next; sed counts lines from 1.
first=$((35 + 21 * (mode - 1) + 1))
top=$(tr '|' '\n' <.tovrinstate | sed -n "${first}p")
last=$(tr '|' '\n' <.tovrinstate | sed -n "$((first + 1))p")
[ "$last" = "$score" ] || fail "the verifier replays to $score, the state filed $last"
echo "ok: the last round replays to the score it was filed with ($score)"
if [ "$score" -gt 0 ]; then
  [ "$top" = "$score" ] || fail "a first round of $score is not the first place ($top)"
  cmp -s "replays/best-$mode.vwr" replays/last.vwr || fail "the best run of mode $mode is not the round that took the first place"
  echo "ok: the round took the first place and is kept as the best run"
else
  [ ! -e "replays/best-$mode.vwr" ] || fail "a round of 0 points was kept as the best run"
  echo "ok: a round of 0 points is no best run"
fi
cd / && rm -rf "$dir"
echo "passed"
