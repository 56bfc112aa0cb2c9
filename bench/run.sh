#!/usr/bin/env bash
# Runs every benchmark from the Release build in the given folder (default
# build-bench, made by `make bench`), leaves the figures in its results/, and
# writes them into docs/PERFORMANCE.md (its generated section):
#   machine.txt            processor, memory, Mesa, date, load before and after
#   framework.json/.txt    Google Benchmark over the fake platform: game logic
#                          per update, loader, runtime, collector over an hour
#   updates-callgrind.txt  instructions per update of each benchmarked screen
#   drawcalls.md           draw calls per game frame against the fewest possible
#   render.md              our renderer against SDL2's on the real Mesa (Xvfb),
#                          5000 sprites and the dumped game frames, interleaved
#   sprites-callgrind.txt, frame-callgrind.txt  instructions per sprite and per
#                          game-frame record, by binary
#   real-game.md           the real game in a real window: pacing, CPU, memory,
#                          start-up
#   frames/, shots/        the dumped display lists and the frames as drawn
# and, through bench/replay_figures.sh, the replay verifier's speed on the
# golden replays (this build, and the web build under node when there is one)
# and the replays' size per minute of play.
# RENDER_ROUNDS, REAL_SECONDS and CALLGRIND=0 shorten a run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
bin=$build/bench
out=$build/results
mkdir -p "$out" "$out/shots"
rm -rf "$out/frames"

{
  echo "date: $(date -u '+%F %H:%M UTC')"
  echo "processor: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores"
  echo "memory: $(free -g | awk '/^Mem:/{print $2}') GiB"
  echo "system: $(. /etc/os-release && echo "$PRETTY_NAME"), kernel $(uname -r)"
  echo "mesa: $(dpkg-query -W -f='${Version}' libgl1-mesa-dri 2>/dev/null || echo unknown) (llvmpipe)"
  echo "compiler: $(${CXX:-c++} --version | head -n1)"
  echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
} >"$out/machine.txt"
cat "$out/machine.txt"

echo "== framework and game logic benchmarks (fake platform)"
"$bin/vw_bench" --benchmark_counters_tabular=true --benchmark_out="$out/framework.json" \
  --benchmark_out_format=json | tee "$out/framework.txt"

if [ "${CALLGRIND:-1}" != 0 ] && command -v valgrind >/dev/null; then
  echo "== instructions per update (callgrind, 600 updates of each screen)"
  : >"$out/updates-callgrind.txt"
  "$bin/vw_update_count" --list | while IFS=$'\t' read -r scene what; do
    (cd "$build" && valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out/update-$scene.callgrind" \
      "$bin/vw_update_count" "$scene" 600 2>/dev/null) >"$out/update-$scene.log"
    {
      echo "## $scene: $what"
      grep -v '^==' "$out/update-$scene.log"
      python3 "$root/bench/tools/callgrind_by_function.py" "$out/update-$scene.callgrind" 600 12
      echo
    } | tee -a "$out/updates-callgrind.txt"
  done
fi

echo "== game frames dumped as display lists, draw calls"
"$bin/vw_dump_frames" "$out/frames" | tee "$out/drawcalls.md"

echo "== renderer against SDL2 on Mesa (Xvfb), interleaved"
"$root/tests/with-display.sh" "$bin/vw_render_bench" --frames "$out/frames" --rounds "${RENDER_ROUNDS:-200}" \
  --warmup 20 --shots "$out/shots" --markdown "$out/render.md"

if [ "${CALLGRIND:-1}" != 0 ] && command -v valgrind >/dev/null; then
  echo "== instructions per sprite and per game-frame record (callgrind, 10 frames after 3 uncounted)"
  "$root/tests/with-display.sh" valgrind --tool=callgrind --collect-atstart=no \
    --callgrind-out-file="$out/sprites.callgrind" "$bin/vw_render_bench" --only ours --scene sprites \
    --rounds 10 --warmup 3 >/dev/null 2>&1
  python3 "$root/bench/tools/callgrind_by_object.py" "$out/sprites.callgrind" 50000 | tee "$out/sprites-callgrind.txt"
  records=$(grep '^| round-mode7 |' "$out/drawcalls.md" | cut -d'|' -f3 | tr -d ' ')
  "$root/tests/with-display.sh" valgrind --tool=callgrind --collect-atstart=no \
    --callgrind-out-file="$out/frame.callgrind" "$bin/vw_render_bench" --frames "$out/frames" --only ours \
    --scene round-mode7 --rounds 10 --warmup 3 >/dev/null 2>&1
  python3 "$root/bench/tools/callgrind_by_object.py" "$out/frame.callgrind" $((records * 10)) | tee "$out/frame-callgrind.txt"
fi

echo "== the real game in a real window (Xvfb)"
"$root/tests/with-display.sh" python3 "$root/bench/tools/real_game.py" "$build/vaultwick" "$out/real-game.md" \
  "${REAL_SECONDS:-30}"

echo "== the replay verifier on the golden replays"
bash "$root/bench/replay_figures.sh" "$build" "$root/build-web" | tee "$out/replays.md"

echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)" | tee -a "$out/machine.txt"
python3 "$root/bench/tools/write_performance.py" "$out" "$root/docs/PERFORMANCE.md"
echo "== figures written to docs/PERFORMANCE.md"
