// The collector over a simulated hour of play: the game's own live objects
// (the loaded game on the fake platform), two collector steps per frame as the
// main loop makes them (after the update and after the render), and per frame
// the short strings that text drawing makes; a save every two minutes, as
// after each game. Reported: the longest single step, the 99.9th percentile
// and mean step, the most objects marked in one step, and the collected heap
// and the C heap (where strings live) at the start and end of the hour.
//
// On a busy machine the longest step timed is whichever step the scheduler
// interrupted; the work done (objects marked) does not depend on the machine,
// and BM_FullStepOverTheLoadedGame times the heaviest step there can be (all
// of the game's objects marked, swept and destroyed in one step) over many
// repetitions, which a busy machine disturbs far less.
//
// The second case adds 1 KiB of collected garbage per frame, far beyond what
// the game makes, so that sweeps and lazy destruction show in the figures.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "game_harness.h"
#include "runtime/gc.h"

namespace {

const int kFramesPerHour = 60 * 60 * 60;
const int kFramesPerMinute = 60 * 60;

class Cell : public Object {
 public:
  Cell* next = nullptr;
  void mark() override { gc_mark_q(next); }
};

// The strings one frame of text makes: a score, padded numbers, a label, an
// ordinal, a badge name, the frame-rate meter.
void FrameStrings(bb_Vaultwick_MyApp& app, int frame) {
  String score(frame * 7 % 100000);
  String line = String("SCORE ") + score;
  String padded = app.m_rstr(frame % 1000, 6, String(" "));
  String label("PLAY");
  String nth = app.m_Nth(frame % 10 + 1);
  String badge = app.m_BadgeName(frame % 33);
  String fps(59.94f);
  benchmark::DoNotOptimize(line.Length() + padded.Length() + label.Length() + nth.Length() + badge.Length() +
                           fps.Length());
}

// 1 KiB of garbage: an array and a short chain of small objects.
void FrameGarbage() {
  benchmark::DoNotOptimize(Array<int>(192).object());
  Cell* head = nullptr;
  for (int i = 0; i < 8; ++i) {
    Cell* c = new Cell();
    gc_assign(c->next, head);
    head = c;
  }
  benchmark::DoNotOptimize(head);
}

struct StepMeter {
  std::vector<double> seconds;
  int mostMarked = 0;
  int sweeps = 0;

  void Step() {
    int markbit = gc_markbit, marked = gc_marked_objs;
    auto t0 = std::chrono::steady_clock::now();
    gc_collect();
    auto t1 = std::chrono::steady_clock::now();
    seconds.push_back(std::chrono::duration<double>(t1 - t0).count());
    if (gc_markbit != markbit) {
      ++sweeps;
    } else {
      mostMarked = std::max(mostMarked, gc_marked_objs - marked);
    }
  }
};

double Kib(long long bytes) { return static_cast<double>(bytes) / 1024.0; }
long long CollectedHeap() { return static_cast<long long>(gc_alloced_bytes) + gc_free_bytes; }
long long CHeap() { return static_cast<long long>(mallinfo2().uordblks); }

void BM_CollectorOverASimulatedHour(benchmark::State& state) {
  const bool garbage = state.range(0) != 0;
  for (auto _ : state) {
    gameharness::Game game(640, 480);
    game.FinishLoading();
    bb_Vaultwick_MyApp& app = game.app();
    StepMeter meter;
    meter.seconds.reserve(2 * kFramesPerHour);
    long long firstCollected = 0, firstC = 0, peakCollected = 0;
    for (int frame = 0; frame < kFramesPerHour; ++frame) {
      FrameStrings(app, frame);
      if (garbage) FrameGarbage();
      if (frame % (2 * kFramesPerMinute) == kFramesPerMinute) app.m_Save();
      meter.Step();  // after the update
      meter.Step();  // after the render
      peakCollected = std::max(peakCollected, CollectedHeap());
      if (frame == kFramesPerMinute) {
        firstCollected = CollectedHeap();
        firstC = CHeap();
      }
    }
    std::vector<double>& s = meter.seconds;
    std::sort(s.begin(), s.end());
    double total = 0;
    for (double v : s) total += v;
    state.counters["longest_step_us"] = s.back() * 1e6;
    state.counters["p999_step_us"] = s[s.size() * 999 / 1000] * 1e6;
    state.counters["mean_step_ns"] = total / static_cast<double>(s.size()) * 1e9;
    state.counters["most_marked_in_a_step"] = meter.mostMarked;
    state.counters["sweeps"] = meter.sweeps;
    state.counters["gc_heap_kib_minute_1"] = Kib(firstCollected);
    state.counters["gc_heap_kib_end"] = Kib(CollectedHeap());
    state.counters["gc_heap_kib_peak"] = Kib(peakCollected);
    state.counters["c_heap_kib_minute_1"] = Kib(firstC);
    state.counters["c_heap_kib_end"] = Kib(CHeap());
  }
}
BENCHMARK(BM_CollectorOverASimulatedHour)
    ->ArgName("extra_garbage")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// The heaviest step: with the sweep forced, one step marks every live object
// of the loaded game, sweeps, and destroys all garbage.
void BM_FullStepOverTheLoadedGame(benchmark::State& state) {
  gameharness::Game game(640, 480);
  game.FinishLoading();
  int objects = 0;
  for (auto _ : state) {
    FrameGarbage();  // something to sweep and destroy, as after a frame
    gc_force_sweep = true;
    gc_collect();
    objects = 0;
    for (gc_header* h = gc_unmarked_list.next; h != &gc_unmarked_list; h = h->next) ++objects;
  }
  state.counters["live_objects"] = objects;
  state.counters["live_kib"] = Kib(gc_alloced_bytes);
}
BENCHMARK(BM_FullStepOverTheLoadedGame)->Unit(benchmark::kMicrosecond);

}  // namespace
