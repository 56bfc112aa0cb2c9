// Game logic per update on the harness with the fake platform: one update of
// each benchmarked screen (the main loop's update with its collector step),
// timed alone; the scene's keeper runs untimed before it. Reported per update:
// the mean (the benchmark's time), the worst, and the display-list records
// the update made. The music the main loop feeds after the updates of its
// pass is timed apart (feed_*), the fake source playing it at its own rate.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "app/app.h"
#include "audio/audio.h"
#include "fake_al.h"
#include "fake_window.h"
#include "scenes.h"
#include "seam/window.h"

namespace {

using Clock = std::chrono::steady_clock;

// The music channel's source plays what an update's time of it holds.
class MusicListener {
 public:
  void Play() {
    const fakeal::Source* s = fakeal::source(bb_audio_device->channels[gxtkAudio::kMusicChannel].source);
    if (!s || s->state != AL_PLAYING || s->processed >= s->queue.size()) return;
    const fakeal::Buffer* b = fakeal::buffer(s->queue[s->processed]);
    int frameBytes = b && b->format == AL_FORMAT_STEREO16 ? 4 : 2;
    owed_ += b ? b->frequency * gameharness::Game::kTick : 0;
    if (b && owed_ >= static_cast<double>(b->data.size() / frameBytes)) {
      owed_ -= static_cast<double>(b->data.size() / frameBytes);
      fakeal::play_queued(bb_audio_device->channels[gxtkAudio::kMusicChannel].source, 1);
    }
  }

 private:
  double owed_ = 0;  // frames the source should have played and has not
};

void BM_GameUpdate(benchmark::State& state, const gamescenes::Scene* scene) {
  gameharness::Game game(640, 480);
  scene->reach(game);
  std::function<void()> keep = scene->keeper(game);
  bb_Vaultwick_MyApp& app = game.app();
  double worst = 0, records = 0, feedWorst = 0, feedTotal = 0;
  int roundsEnded = 0;
  MusicListener music;
  for (auto _ : state) {
    keep();
    music.Play();
    fakeal::state().plays.clear();  // the recorders would grow without end
    fakeal::state().log.clear();
    // The harness's Update, in its two parts: the update, then the feed.
    Clock::time_point t0 = Clock::now();
    fakewin::advance(gameharness::Game::kTick);
    wlPollEvents();
    ::app->InvokeOnUpdate();
    Clock::time_point t1 = Clock::now();
    ::app->audio->Update();
    Clock::time_point t2 = Clock::now();
    double seconds = std::chrono::duration<double>(t1 - t0).count();
    double feed = std::chrono::duration<double>(t2 - t1).count();
    state.SetIterationTime(seconds);
    worst = std::max(worst, seconds);
    feedWorst = std::max(feedWorst, feed);
    feedTotal += feed;
    records += app.m_DrawCount / bb_Vaultwick_MyApp::kDrawRecord;
    roundsEnded += app.m_Screen == 10 && app.m_RoundOver != 0;
  }
  double n = static_cast<double>(state.iterations());
  state.counters["worst_us"] = worst * 1e6;
  state.counters["feed_mean_us"] = feedTotal / static_cast<double>(state.iterations()) * 1e6;
  state.counters["feed_worst_us"] = feedWorst * 1e6;
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
