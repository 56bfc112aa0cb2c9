#!/usr/bin/env bash
# Runs every benchmark from the Release build in the given folder (default
# build-bench, made by `make bench`) and leaves the figures in its results/:
#   framework.txt   Google Benchmark over the fake platform (loader, runtime,
#                   collector over a simulated hour)
#   render.md       our renderer against SDL2's on the real Mesa under Xvfb,
#                   5000 sprites and the dumped game frames, interleaved
#   sprites-callgrind.txt  instructions per sprite by binary, under callgrind
#   frames/         the dumped display lists, shots/ the frames as drawn
# RENDER_ROUNDS and CALLGRIND=0 shorten a run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
bin=$build/bench
out=$build/results
mkdir -p "$out" "$out/shots"
rm -rf "$out/frames"

echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(date -u +%F)"
echo "== load before: $(cut -d' ' -f1-3 /proc/loadavg)"

echo "== framework benchmarks (fake platform)"
"$bin/vw_bench" --benchmark_counters_tabular=true | tee "$out/framework.txt"

echo "== game frames dumped as display lists"
"$bin/vw_dump_frames" "$out/frames"

echo "== renderer against SDL2 on Mesa (Xvfb), interleaved"
"$root/tests/with-display.sh" "$bin/vw_render_bench" --frames "$out/frames" --rounds "${RENDER_ROUNDS:-200}" \
  --warmup 20 --shots "$out/shots" --markdown "$out/render.md"

if [ "${CALLGRIND:-1}" != 0 ] && command -v valgrind >/dev/null; then
  echo "== instructions per sprite (callgrind, 10 frames of 5000 sprites after 3 uncounted)"
  "$root/tests/with-display.sh" valgrind --tool=callgrind --collect-atstart=no \
    --callgrind-out-file="$out/sprites.callgrind" "$bin/vw_render_bench" --only ours --scene sprites \
    --rounds 10 --warmup 3 >/dev/null 2>&1
  python3 "$root/bench/tools/callgrind_by_object.py" "$out/sprites.callgrind" 50000 | tee "$out/sprites-callgrind.txt"
fi
echo "== load after: $(cut -d' ' -f1-3 /proc/loadavg)"
