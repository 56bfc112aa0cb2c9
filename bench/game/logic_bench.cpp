// Game logic per update on the harness with the fake platform: one update of
// each benchmarked screen (the main loop's update with its collector step),
// timed alone; the scene's keeper runs untimed before it. Reported per update:
// the mean (the benchmark's time), the worst, and the display-list records
// the update made. The worst is also given in the thread's own CPU time
// (cpu_worst_us), which a machine busy with other work does not inflate:
// wall time counts the time the thread waits to be scheduled.
//
// With streamed music, the music the main loop feeds after the updates of its
// pass is timed apart (feed_*), the fake source playing it at its own rate,
// and with the update as the pass (pass_*).
// BM_MusicStart times a change of track (the stream opened, its first feed).
// A tree without streamed music builds this file as it is (music_compare.sh
// runs the same file on both sides).
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>

#include "app/app.h"
#include "audio/audio.h"
#include "fake_al.h"
#include "fake_window.h"
#include "files/files.h"
#include "scenes.h"
#include "seam/window.h"

#if __has_include("audio/music_stream.h")
#define VW_STREAMED_MUSIC 1
#endif

namespace {

using Clock = std::chrono::steady_clock;

double ThreadSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

#ifdef VW_STREAMED_MUSIC
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
      unsigned name = bb_audio_device->channels[gxtkAudio::kMusicChannel].source;
      fakeal::play_queued(name, 1);
      // What the source played is kept by the fake: 20 000 updates would
      // pile up some 60 MB of it, which nothing here reads.
      fakeal::source(name)->heard.clear();
    }
  }

 private:
  double owed_ = 0;  // frames the source should have played and has not
};

// The feed of the pass, in wall and thread time.
void Feed(double& wall, double& cpu) {
  // The wall clock is read inside the thread clock's reads, so that wall
  // time leaves out the thread clock's own cost (a system call on some hosts).
  double c0 = ThreadSeconds();
  Clock::time_point t0 = Clock::now();
  ::app->audio->Update();
  wall = Since(t0);
  cpu = ThreadSeconds() - c0;
}
#else
class MusicListener {
 public:
  void Play() {}
};
void Feed(double& wall, double& cpu) { wall = cpu = 0; }
#endif

// The worst of each part, and of the whole pass: the update and the feed
// after it, whose worsts need not fall in the same pass.
struct Worst {
  double wall = 0, cpu = 0, feedWall = 0, feedCpu = 0, feedTotal = 0, pass = 0, passCpu = 0;
};

// One update as the harness runs it (the clock, the events, the update), then
// the music's feed.
double TimedUpdate(Worst& worst) {
  double c0 = ThreadSeconds();
  Clock::time_point t0 = Clock::now();  // inside the thread clock's reads, as in Feed
  fakewin::advance(gameharness::Game::kTick);
  wlPollEvents();
  ::app->InvokeOnUpdate();
  double wall = Since(t0);
  double cpu = ThreadSeconds() - c0, feedWall = 0, feedCpu = 0;
  Feed(feedWall, feedCpu);
  worst.wall = std::max(worst.wall, wall);
  worst.cpu = std::max(worst.cpu, cpu);
  worst.feedWall = std::max(worst.feedWall, feedWall);
  worst.feedCpu = std::max(worst.feedCpu, feedCpu);
  worst.feedTotal += feedWall;
  worst.pass = std::max(worst.pass, wall + feedWall);
  worst.passCpu = std::max(worst.passCpu, cpu + feedCpu);
  return wall;
}

void BM_GameUpdate(benchmark::State& state, const gamescenes::Scene* scene) {
  gameharness::Game game(640, 480);
  scene->reach(game);
  std::function<void()> keep = scene->keeper(game);
  bb_Vaultwick_MyApp& app = game.app();
  Worst worst;
  double records = 0;
  int roundsEnded = 0;
  MusicListener music;
  for (auto _ : state) {
    keep();
    music.Play();
    fakeal::state().plays.clear();  // the recorders would grow without end
    fakeal::state().log.clear();
    state.SetIterationTime(TimedUpdate(worst));
    records += app.m_DrawCount / bb_Vaultwick_MyApp::kDrawRecord;
    roundsEnded += app.m_Screen == 10 && app.m_RoundOver != 0;
  }
  double n = static_cast<double>(state.iterations());
  state.counters["worst_us"] = worst.wall * 1e6;
  state.counters["cpu_worst_us"] = worst.cpu * 1e6;
  state.counters["feed_mean_us"] = worst.feedTotal / n * 1e6;
  state.counters["feed_worst_us"] = worst.feedWall * 1e6;
  state.counters["feed_cpu_worst_us"] = worst.feedCpu * 1e6;
  state.counters["pass_worst_us"] = worst.pass * 1e6;
  state.counters["pass_cpu_worst_us"] = worst.passCpu * 1e6;
  state.counters["records"] = records / n;
  // Should stay 0: the keeper holds the round in play.
  state.counters["over"] = roundsEnded;
}

#ifdef VW_STREAMED_MUSIC
// The counters of BM_MusicStart: wall and cpu are the stream's opening, feed*
// the first feed.
void ReportStart(benchmark::State& state, const Worst& worst, double startCpuTotal, double feedCpuTotal) {
  double n = static_cast<double>(state.iterations());
  state.counters["start_worst_us"] = worst.wall * 1e6;
  state.counters["start_cpu_worst_us"] = worst.cpu * 1e6;
  state.counters["start_cpu_mean_us"] = startCpuTotal / n * 1e6;
  state.counters["first_feed_worst_us"] = worst.feedWall * 1e6;
  state.counters["first_feed_cpu_worst_us"] = worst.feedCpu * 1e6;
  state.counters["first_feed_cpu_mean_us"] = feedCpuTotal / n * 1e6;
  state.counters["pass_worst_us"] = worst.pass * 1e6;
  state.counters["pass_cpu_worst_us"] = worst.passCpu * 1e6;
}

// A change of track, which the update that ends a fade makes: the new
// stream opened (its Vorbis headers read) by PlayMusic, then the first feed
// of that pass, which fills a whole buffer because the queue is empty. Each
// iteration starts the next of the game's tracks, so every file is timed.
void BM_MusicStart(benchmark::State& state) {
  gameharness::Game game(640, 480);
  gamescenes::Find("menu")->reach(game);
  Worst worst;
  double startCpuTotal = 0, feedCpuTotal = 0;
  int track = 0, failed = 0;
  for (auto _ : state) {
    String path = bb_data_FixDataPath(bb_Vaultwick_MusicFile(track));
    track = bb_Vaultwick_MusicFile(track + 1).Length() ? track + 1 : 0;
    Clock::time_point t0 = Clock::now();
    double c0 = ThreadSeconds();
    failed += bb_audio_device->PlayMusic(path, 1) != 0;
    double startCpu = ThreadSeconds() - c0, start = Since(t0), feed = 0, feedCpu = 0;
    Feed(feed, feedCpu);
    state.SetIterationTime(start + feed);
    worst.wall = std::max(worst.wall, start);
    worst.cpu = std::max(worst.cpu, startCpu);
    worst.feedWall = std::max(worst.feedWall, feed);
    worst.feedCpu = std::max(worst.feedCpu, feedCpu);
    worst.pass = std::max(worst.pass, start + feed);
    worst.passCpu = std::max(worst.passCpu, startCpu + feedCpu);
    startCpuTotal += startCpu;
    feedCpuTotal += feedCpu;
  }
  ReportStart(state, worst, startCpuTotal, feedCpuTotal);
  // Should stay 0: every track opens.
  state.counters["failed"] = failed;
}

BENCHMARK(BM_MusicStart)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(500);
#endif

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
