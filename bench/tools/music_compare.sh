#!/usr/bin/env bash
# What music costs, against the game as it was without it, side by side in one
# run: Release builds of a commit that does not play music (REF, default main)
# and of this tree, both over this tree's data/ (the build without music
# leaves data/music alone), and alternating runs of each
# (bench/tools/music_compare.py):
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

mkdir -p "$root/build-bench/results"
"$root/tests/with-display.sh" python3 "$root/bench/tools/music_compare.py" \
  "$work/today-build" "$root/build-bench" "$root/data" "$runs" "$seconds" "$root/build-bench/results/music.md"
