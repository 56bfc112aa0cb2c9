// Game logic per update on the harness with the fake platform: one update of
// each benchmarked screen (the main loop's update with its collector step),
// timed alone; the scene's keeper runs untimed before it. Reported per update:
// the mean (the benchmark's time), the worst, and the display-list records
// the update made.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "fake_al.h"
#include "scenes.h"

namespace {

void BM_GameUpdate(benchmark::State& state, const gamescenes::Scene* scene) {
  gameharness::Game game(640, 480);
  scene->reach(game);
  std::function<void()> keep = scene->keeper(game);
  bb_Vaultwick_MyApp& app = game.app();
  double worst = 0, records = 0;
  int roundsEnded = 0;
  for (auto _ : state) {
    keep();
    fakeal::state().plays.clear();  // the recorders would grow without end
    fakeal::state().log.clear();
    auto t0 = std::chrono::steady_clock::now();
    game.Update();
    auto t1 = std::chrono::steady_clock::now();
    double seconds = std::chrono::duration<double>(t1 - t0).count();
    state.SetIterationTime(seconds);
    worst = std::max(worst, seconds);
    records += app.m_DrawCount / bb_Vaultwick_MyApp::kDrawRecord;
    roundsEnded += app.m_Screen == 10 && app.m_RoundOver != 0;
  }
  double n = static_cast<double>(state.iterations());
  state.counters["worst_us"] = worst * 1e6;
  state.counters["records"] = records / n;
  // Should stay 0: the keeper holds the round in play.
  state.counters["over"] = roundsEnded;
}

const bool registered = [] {
  for (const gamescenes::Scene& scene : gamescenes::Scenes()) {
    benchmark::RegisterBenchmark(("BM_GameUpdate/" + scene.name).c_str(), BM_GameUpdate, &scene)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(20000);
  }
  return true;
}();

}  // namespace
