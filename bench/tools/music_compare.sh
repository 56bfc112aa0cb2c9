#!/usr/bin/env bash
# What music costs, against the game as it was without it, side by side in one
# run: Release builds of a commit without music (REF, default main) and of
# this tree, the same stand-in music for both (60 s tracks at the names the
# game's music table gives; the build without music ignores them), and
# alternating runs of each (bench/tools/music_compare.py):
#   - game logic per update on the fake platform (vw_bench): the worst update
#     of the menu and the busiest rounds, and the music fed after each;
#   - the real game under Xvfb (bench/tools/real_game.py): start to the end of
#     loading, update lateness, peak memory.
#
#   bench/tools/music_compare.sh [REF] [RUNS] [SECONDS]
#
# Writes build-bench/results/music.md. Builds in build-bench/ and, for REF,
# in a scratch folder that is removed afterwards.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
ref=${1:-main}
runs=${2:-3}
seconds=${3:-20}
work=$(mktemp -d /tmp/vw-music-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

echo "== building $ref (without music) and this tree, Release"
mkdir -p "$work/today-src"
git -C "$root" archive "$ref" | tar -x -C "$work/today-src"
for side in "$work/today-src:$work/today-build" "$root:$root/build-bench"; do
  src=${side%%:*}
  build=${side##*:}
  cmake -S "$src" -B "$build" -DVW_BENCH=ON -DVW_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j2 --target vw_bench vaultwick >/dev/null
done

echo "== stand-in music: 60 s of two tones over soft noise, stereo, oggenc -q 3"
data=$work/data
mkdir -p "$data"
for entry in "$root"/data/*; do
  [ "$(basename "$entry")" = music ] || ln -s "$entry" "$data/"
done
n=0
for name in $(grep -o '"music/[^"]*\.ogg"' "$root/game/meta/music.cpp" | tr -d '"' | sort -u); do
  n=$((n + 1))
  mkdir -p "$data/$(dirname "$name")"
  sox -V1 -r 44100 -c 2 -n -b 16 "$work/tones.wav" synth 60 sine $((180 + 20 * n)) sine $((270 + 25 * n)) tremolo 3
  sox -V1 -r 44100 -c 2 -n -b 16 "$work/noise.wav" synth 60 pinknoise vol 0.1
  sox -V1 -m "$work/tones.wav" "$work/noise.wav" "$work/track.wav" vol 0.8
  oggenc -Q -q 3 -o "$data/$name" "$work/track.wav"
done
rm -f "$work"/*.wav
du -ch "$data"/music/*.ogg | tail -n1

mkdir -p "$root/build-bench/results"
"$root/tests/with-display.sh" python3 "$root/bench/tools/music_compare.py" \
  "$work/today-build" "$root/build-bench" "$data" "$runs" "$seconds" "$root/build-bench/results/music.md"
