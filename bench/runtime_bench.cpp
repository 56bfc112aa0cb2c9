// Collector and string costs: allocation through the size-class caches, one
// budgeted marking step, and the string operations the game uses per frame.
#include <benchmark/benchmark.h>

#include "runtime/object.h"

namespace {

class Cell : public Object {
 public:
  Cell* next = nullptr;
  void mark() override { gc_mark_q(next); }
};

Cell* g_list = nullptr;
void mark_list() { gc_mark_q(g_list); }

// Small objects allocated and dropped at a steady rate, collected as the main
// loop would after each hook.
void BM_AllocateAndCollectSmallObjects(benchmark::State& state) {
  gc_init();
  gc_root_marker = mark_list;
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) benchmark::DoNotOptimize(new Cell());
    gc_collect();
  }
  state.SetItemsProcessed(state.iterations() * 1000);
  state.counters["peak_bytes"] = gc_max_alloced_bytes;
}
BENCHMARK(BM_AllocateAndCollectSmallObjects);

// A whole cycle over a long live list: marking every object once, then the
// constant-time sweep splice. Items are objects marked.
void BM_FullCycleOverLiveList(benchmark::State& state) {
  gc_init();
  gc_root_marker = mark_list;
  g_list = nullptr;
  for (int i = 0; i < state.range(0); ++i) {
    Cell* c = new Cell();
    gc_assign(c->next, g_list);
    gc_assign(g_list, c);
  }
  for (auto _ : state) {
    new Cell();  // something white, so the step sweeps
    gc_force_sweep = true;
    gc_collect();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FullCycleOverLiveList)->Arg(10000)->Arg(100000);

void BM_StringSplitAndJoin(benchmark::State& state) {
  String save("1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17|18|19|20|21|22|23|24|25|");
  for (auto _ : state) {
    Array<String> parts = save.Split(String("|"));
    benchmark::DoNotOptimize(String("|").Join(parts));
  }
}
BENCHMARK(BM_StringSplitAndJoin);

void BM_StringFromInt(benchmark::State& state) {
  int n = 0;
  for (auto _ : state) benchmark::DoNotOptimize(String(++n));
}
BENCHMARK(BM_StringFromInt);

}  // namespace
