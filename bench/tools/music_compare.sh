#!/usr/bin/env bash
# What music costs, against the game as it was without it, side by side in one
# run: Release builds of a commit that does not play music (REF: main plays it
# now, so name one from before it, e.g. f33e700) and of this tree, both over
# this tree's data/ (the build without music leaves data/music alone), and
# alternating runs of each
# (bench/tools/music_compare.py):
#   - game logic per update on the fake platform (vw_bench): the worst update
#     of the menu and the busiest rounds, and the music fed after each; a
#     change of track;
#   - the real game under Xvfb (bench/tools/real_game.py): start to the end of
#     loading, update lateness, peak memory at the menu and after a round.
#
#   bench/tools/music_compare.sh REF [RUNS] [SECONDS]
#
# Writes build-bench/results/music.md. Builds in build-bench/ and, for REF,
# in build-bench-ref/ (with its sources).
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
ref=${1:?usage: music_compare.sh REF [RUNS] [SECONDS], REF a commit without the music}
runs=${2:-3}
seconds=${3:-20}
ref_dir=$root/build-bench-ref
commit=$(git -C "$root" rev-parse "$ref")

echo "== building $ref (without music) and this tree, Release"
# The sources of REF are extracted again only when REF has moved, so that
# their build stays up to date instead of starting over.
if [ "$(cat "$ref_dir/commit" 2>/dev/null)" != "$commit" ]; then
  rm -rf "$ref_dir"
  mkdir -p "$ref_dir/src"
  git -C "$root" archive "$commit" | tar -x -C "$ref_dir/src"
  echo "$commit" >"$ref_dir/commit"
fi
# The same update benchmark on both sides: it measures the music's feed only
# where there is one.
cmp -s "$root/bench/game/logic_bench.cpp" "$ref_dir/src/bench/game/logic_bench.cpp" ||
  cp "$root/bench/game/logic_bench.cpp" "$ref_dir/src/bench/game/logic_bench.cpp"
for side in "$ref_dir/src:$ref_dir/build" "$root:$root/build-bench"; do
  src=${side%%:*}
  build=${side##*:}
  cmake -S "$src" -B "$build" -DVW_BENCH=ON -DVW_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j2 --target vw_bench vaultwick >/dev/null
done

mkdir -p "$root/build-bench/results"
"$root/tests/with-display.sh" python3 "$root/bench/tools/music_compare.py" \
  "$ref_dir/build" "$root/build-bench" "$root/data" "$runs" "$seconds" "$root/build-bench/results/music.md"
