#!/usr/bin/env bash
# Replays of a round played in the real window: once the round has been filed,
# replays/ holds the last round (and the mode's best run when the round took
# the first place), the headless verifier accepts the last round, and the
# score it replays to is the one filed in the saved state. Everything waits on
# the files the game writes, with deadlines. When no round could be played
# here (no state was ever filed), it says so and exits 77, a skip.
set -u
source "$(dirname "$0")/lib.bash"
game=$1
verifier="$(dirname "$game")/vaultwick-replay"
[ -x "$verifier" ] || { echo "skip: no verifier beside $game"; exit 77; }

press() {
  xdotool keydown --window "$wid" "$1"
  sleep "${2:-0.15}"
  xdotool keyup --window "$wid" "$1"
}

# Waits up to $2 seconds for file $1 to exist and not be empty.
wait_file() {
  for _ in $(seq $(($2 * 10))); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

dir=$(make_game_folder); cd "$dir"
"$game" >out.txt 2>err.txt &
pid=$!
wid=$(wait_window "Tovrin Game") || fail "no window titled 'Tovrin Game'"

# Hardcore (mode 2, below the first mode a fresh folder opens on) has no extra
# hits: holding the button runs into a spike soon. The menu may still be
# loading at first (then the round is of mode 1, which takes longer), so the
# try repeats until a round has been filed.
deadline=$((SECONDS + 120))
while [ ! -s .tovrinstate ] && [ $SECONDS -lt $deadline ]; do
  kill -0 "$pid" 2>/dev/null || fail "the game ended: $(cat out.txt err.txt)"
  press Up
  press Down
  press Return
  xdotool keydown --window "$wid" space
  wait_file .tovrinstate 20
  xdotool keyup --window "$wid" space
done
if [ ! -s .tovrinstate ]; then
  close_and_wait "$wid" "$pid"
  echo "skip: no round was filed within two minutes here; the keys may not reach the game"
  exit 77
fi
wait_file replays/last.vwr 2 || fail "a round was filed but replays/last.vwr was not written"
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
