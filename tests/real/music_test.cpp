// Music as OpenAL Soft's wave backend records it. The stream, in a child run
// of this program fed as the main loop feeds it and stalled once for 100 ms,
// must come out as one unbroken tone across its loop's wraps and the stall.
// The built game, under Xvfb, must sound its menu's theme at a first start,
// keep silent at a menu left alone in sound state 2, and play a round's music
// without its effects in state 3. The game plays the files its table names:
// the repository's where data/music/ has them, tracks made here where not.
#include <AL/al.h>
#include <AL/alc.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio.h"
#include "audio/decode.h"
#include "game/vaultwick.h"
#include "wave_output.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;  // CLOCK_MONOTONIC, as the game's timing log

const char* const kStreamChild = "VW_MUSIC_STREAM_CHILD";
const int kRate = 44100;
const double kToneHz = 441;  // 100 samples a period: a one-second loop wraps seamlessly
const int kTracks = 10;      // the menu's theme and variants 1..9
// Music is "clearly above silence" well over this (-40 dBFS); silence is 0.
const double kAudibleRms = 0.01;
// A recording that is one track alone correlates with it to 1 (0.9999 and
// more here): the mixer only scales it. A round's effects over the music
// brought it down to 0.976.
const double kAlone = 0.995;

std::string temp_dir() {
  static std::string dir;
  if (dir.empty()) {
    char name[] = "/tmp/vw_real_music_XXXXXX";
    if (mkdtemp(name)) dir = name;
  }
  return dir;
}

class TempCleanup : public ::testing::Environment {
 public:
  void TearDown() override {
    if (!temp_dir().empty()) fs::remove_all(temp_dir());
  }
};
::testing::Environment* const g_cleanup = ::testing::AddGlobalTestEnvironment(new TempCleanup);

bool run(const std::string& command) { return std::system(command.c_str()) == 0; }
double seconds_since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }
double monotonic_now() { return std::chrono::duration<double>(Clock::now().time_since_epoch()).count(); }

// The output's channels averaged, from `from` to `to` seconds.
std::vector<float> mono(const waveout::Output& out, double from, double to) {
  std::vector<float> m;
  size_t first = static_cast<size_t>(std::max(0.0, from) * out.rate);
  size_t last = static_cast<size_t>(std::max(0.0, to) * out.rate);
  for (size_t i = first; i < last && (i + 1) * out.channels <= out.samples.size(); ++i) {
    float sum = 0;
    for (int c = 0; c < out.channels; ++c) sum += out.samples[i * out.channels + c];
    m.push_back(sum / out.channels);
  }
  return m;
}

double rms(const std::vector<float>& x) {
  double sum = 0;
  for (float v : x) sum += static_cast<double>(v) * v;
  return x.empty() ? 0 : std::sqrt(sum / x.size());
}

double peak(const std::vector<float>& x) {
  double p = 0;
  for (float v : x) p = std::max(p, static_cast<double>(std::fabs(v)));
  return p;
}

// Seconds into the output where sound first starts.
double onset(const waveout::Output& out) {
  for (size_t i = 0; i < out.samples.size(); ++i)
    if (std::fabs(out.samples[i]) > 1e-3f) return static_cast<double>(i / out.channels) / out.rate;
  return -1;
}

// ---------------------------------------------------------------------------
// The stream, stalled

// How far `x` strays from one steady tone: the tone is fitted over the first
// 10 000 samples, then each block of 1 000 (ten periods) is compared with it;
// the worst block's error energy over the tone's. A gap, a repeat, a skip or
// a click shows as a jump of phase or amplitude.
double worst_tone_error(const std::vector<float>& x, size_t* blocks) {
  const double w = 2 * M_PI * kToneHz / kRate;
  const size_t fit = 10000, block = 1000;
  double a = 0, b = 0;
  for (size_t n = 0; n < fit && n < x.size(); ++n) {
    a += 2.0 / fit * x[n] * std::sin(w * n);
    b += 2.0 / fit * x[n] * std::cos(w * n);
  }
  double worst = 0;
  *blocks = 0;
  for (size_t start = 0; start + block <= x.size(); start += block, ++*blocks) {
    double error = 0, tone = 0;
    for (size_t n = start; n < start + block; ++n) {
      double expected = a * std::sin(w * n) + b * std::cos(w * n);
      error += (x[n] - expected) * (x[n] - expected);
      tone += expected * expected;
    }
    worst = std::max(worst, tone > 0 ? error / tone : 1.0);
  }
  return worst;
}

struct OpenAl {
  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
  bool open() {
    device = alcOpenDevice(nullptr);
    context = device ? alcCreateContext(device, nullptr) : nullptr;
    return context && alcMakeContextCurrent(context);
  }
  void close() {
    alcMakeContextCurrent(nullptr);
    if (context) alcDestroyContext(context);
    if (device) alcCloseDevice(device);
  }
};

// Runs only as the child: a loop of passes at 60 a second feeding the music,
// one of them held up for VW_MUSIC_STALL_MS, for VW_MUSIC_SECONDS.
TEST(MusicStreamChild, DISABLED_FeedWithAStall) {
  ASSERT_TRUE(getenv(kStreamChild)) << "run by MusicStreamOutput";
  OpenAl al;
  ASSERT_TRUE(al.open());
  gc_init();
  gxtkAudio* audio = new gxtkAudio();
  ASSERT_EQ(0, audio->PlayMusic(String(getenv("VW_MUSIC_FILE")), 1));
  const int stall = std::atoi(getenv("VW_MUSIC_STALL_MS"));
  const double seconds = std::atof(getenv("VW_MUSIC_SECONDS"));
  Clock::time_point start = Clock::now();
  for (int pass = 0; seconds_since(start) < seconds; ++pass) {
    audio->Update();
    if (pass == 90) std::this_thread::sleep_for(std::chrono::milliseconds(stall));
    std::this_thread::sleep_until(start + std::chrono::microseconds(16667 * (pass + 1)));
  }
  al.close();
}

// The tone of a one-second loop, three and a half times round, with the
// passes stalled 1.5 s in: no block of it strays from the tone.
TEST(MusicStreamOutput, ALoopFedThroughAStallOf100msPlaysUnbroken) {
  std::string dir = temp_dir();
  ASSERT_TRUE(run("sox -V1 -r 44100 -c 1 -n -b 16 " + dir + "/tone.wav synth 44100s sine 441 vol 0.5"));
  ASSERT_TRUE(run("oggenc -Q -o " + dir + "/tone.ogg " + dir + "/tone.wav"));
  std::string wav = dir + "/stream.wav";
  pid_t pid = waveout::spawn_with_wave({"/proc/self/exe", "--gtest_filter=MusicStreamChild.*", "--gtest_also_run_disabled_tests"},
                                       waveout::write_config(dir, wav),
                                       {std::string(kStreamChild) + "=1", "VW_MUSIC_FILE=" + dir + "/tone.ogg",
                                        "VW_MUSIC_STALL_MS=100", "VW_MUSIC_SECONDS=3.5"});
  ASSERT_GT(pid, 0);
  ASSERT_TRUE(waveout::exited_cleanly(pid)) << "child run failed";
  waveout::Output out;
  ASSERT_TRUE(waveout::read_output(wav, &out));
  double start = onset(out);
  ASSERT_GE(start, 0) << "no music in the output";
  // From just after the start to just before the child closed the device.
  std::vector<float> tone = mono(out, start + 0.05, start + 3.3);
  size_t blocks = 0;
  double worst = worst_tone_error(tone, &blocks);
  std::printf("[ stream   ] %zu blocks of 1000 samples, worst error %.5f of the tone\n", blocks, worst);
  EXPECT_GE(blocks, 140u) << "the music stopped early";
  EXPECT_LT(worst, 0.01) << "a gap, a repeat or a click";
}

// ---------------------------------------------------------------------------
// The built game

// A track to stand in for a file not in the repository yet: eight seconds of
// two tones that swell and fade, different for every track.
void make_stand_in(const std::string& path, int track) {
  std::string wav = path + ".wav";
  int low = 200 + 30 * track, high = 330 + 40 * track;
  run("sox -V1 -r 44100 -c 2 -n -b 16 " + wav + " synth 8 sine " + std::to_string(low) + " sine " +
      std::to_string(high) + " tremolo " + std::to_string(2 + track) + " vol 0.5");
  run("oggenc -Q -o " + path + " " + wav);
  fs::remove(wav);
}

// The music file of each track: the repository's, or a stand-in made once
// for the run where the repository does not have it yet.
std::map<std::string, std::string> music_sources() {
  static std::map<std::string, std::string> sources;
  if (!sources.empty()) return sources;
  for (int t = 0; t < kTracks; ++t) {
    std::string name = bb_Vaultwick_MusicFile(t).ToUtf8();
    if (sources.count(name)) continue;
    std::string own = VW_SOURCE_DIR "/data/" + name, stand_in = temp_dir() + "/stand-in" + std::to_string(t) + ".ogg";
    if (fs::exists(own)) {
      sources[name] = own;
      continue;
    }
    std::printf("[ music    ] %s is not in the repository: a stand-in plays it\n", name.c_str());
    make_stand_in(stand_in, t);
    sources[name] = stand_in;
  }
  return sources;
}

// A working folder for the game: links to the repository's data, with the
// music files of music_sources() where the game's table looks for them.
// Returns the music files by their path in the folder.
std::vector<std::string> game_folder(const std::string& dir) {
  fs::create_directories(dir + "/data");
  for (const fs::directory_entry& e : fs::directory_iterator(VW_SOURCE_DIR "/data"))
    if (e.path().filename() != "music") fs::create_symlink(e.path(), dir + "/data/" + e.path().filename().string());
  std::vector<std::string> files;
  for (const auto& music : music_sources()) {
    std::string path = dir + "/data/" + music.first;
    fs::create_directories(fs::path(path).parent_path());
    fs::create_symlink(music.second, path);
    files.push_back(path);
  }
  return files;
}

// The track's samples, channels averaged; empty unless it decodes at 44.1 kHz
// (the rate the recording is made at, so that no resampling comes between).
std::vector<float> track_samples(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  PcmData pcm;
  bool ok = f && ogg_decode(f, &pcm);
  if (f) std::fclose(f);
  std::vector<float> m;
  if (!ok) return m;
  const short* s = reinterpret_cast<const short*>(pcm.data);
  for (int i = 0; ok && pcm.rate == kRate && i < pcm.frames; ++i) {
    float sum = 0;
    for (int c = 0; c < pcm.channels; ++c) sum += s[static_cast<size_t>(i) * pcm.channels + c];
    m.push_back(sum / pcm.channels / 32768.0f);
  }
  std::free(pcm.data);
  return m;
}

// Normalised correlation of `x` with the track from `offset` (looping).
double correlation(const std::vector<float>& x, const std::vector<float>& t, size_t offset, size_t step = 1) {
  double xt = 0, xx = 0, tt = 0;
  for (size_t n = 0; n < x.size(); n += step) {
    double v = t[(offset + n) % t.size()];
    xt += x[n] * v;
    xx += static_cast<double>(x[n]) * x[n];
    tt += v * v;
  }
  return xx > 0 && tt > 0 ? xt / std::sqrt(xx * tt) : 0;
}

// How closely `x` is the track alone, somewhere in its first `within`
// seconds: the best normalised correlation, searched every other sample with
// the first 0.15 s of `x`, then sample by sample around the best with all of it.
double best_match(const std::vector<float>& x, const std::vector<float>& t, double within) {
  const size_t coarse = 2, probe = static_cast<size_t>(0.15 * kRate), span = static_cast<size_t>(within * kRate);
  if (x.size() < probe || t.empty()) return 0;
  std::vector<float> part(x.begin(), x.begin() + static_cast<long>(probe));
  size_t best = 0;
  double best_c = -1;
  for (size_t p = 0; p < span; p += coarse) {
    double c = correlation(part, t, p, 3);
    if (c > best_c) best_c = c, best = p;
  }
  double c = -1;
  for (size_t p = best > coarse ? best - coarse : 0; p <= best + coarse; ++p) c = std::max(c, correlation(x, t, p));
  return c;
}

// One run of the built game in `dir`: a script of window-system actions at
// times after the end of loading, then the window closed. The recording comes
// back with the times the script acted at, in the recording's own seconds.
struct GameRun {
  waveout::Output out;
  std::map<std::string, double> at;  // action -> seconds into the recording
  bool ok = false;
};

struct Action {
  double after;         // seconds after the end of loading
  std::string name;     // "click-sound", "space" or "close"
};

std::string window_command(const std::string& name) {
  const std::string win = "$(xdotool search --name '^Tovrin Game$' | head -n1)";
  // The button acts while it is held in an update: a press of a tenth of a second.
  if (name == "click-sound")
    return "wmctrl -i -a " + win + "; xdotool mousemove --window " + win +
           " 48 192; sleep 0.05; xdotool mousedown 1; sleep 0.1; xdotool mouseup 1";
  if (name == "space")
    return "wmctrl -i -a " + win + "; xdotool keydown space; sleep 0.15; xdotool keyup space";
  return "wmctrl -i -c " + win;
}

// The end of loading, from the game's timing log (CLOCK_MONOTONIC seconds).
double loaded_at(const std::string& log) {
  std::ifstream in(log);
  std::string kind, what;
  double when = 0;
  while (in >> kind) {
    if (kind == "mark" && in >> what >> when && what == "loaded") return when;
    std::getline(in, what);
  }
  return -1;
}

GameRun run_game(const std::string& dir, const std::vector<Action>& script) {
  GameRun r;
  std::string wav = dir + "/out.wav", log = dir + "/timing.log";
  pid_t pid = waveout::spawn_with_wave({"/bin/sh", "-c", "cd '" + dir + "' && exec '" VW_BINARY_DIR "/vaultwick'"},
                                       waveout::write_config(dir, wav), {"VW_TIMING_LOG=" + log});
  if (pid <= 0) return r;
  // Loading ends within a second or two; the script starts from there.
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  double start = monotonic_now();
  std::map<std::string, double> acted;
  for (const Action& a : script) {
    std::this_thread::sleep_for(std::chrono::duration<double>(std::max(0.0, start + a.after - monotonic_now())));
    acted[a.name] = monotonic_now();
    run(window_command(a.name));
  }
  r.ok = waveout::exited_cleanly(pid, 15) && waveout::read_output(wav, &r.out);
  double loaded = loaded_at(log), heard = onset(r.out);
  // The menu's music starts as loading ends: that ties the clocks together.
  for (const auto& a : acted) r.at[a.first] = heard + (a.second - loaded);
  r.ok = r.ok && loaded > 0 && heard > 0;
  return r;
}

class RealGameMusic : public ::testing::Test {
 protected:
  std::string dir_;
  std::vector<std::string> tracks_;
  void SetUp() override {
    static int runs = 0;
    dir_ = temp_dir() + "/game" + std::to_string(++runs);
    tracks_ = game_folder(dir_);
  }
  // The best match of `x` with any of the game's tracks; -1 when none is at
  // the recording's rate.
  double match_any_track(const std::vector<float>& x, double within) {
    double best = -1;
    for (size_t i = 0; i < tracks_.size() && best < kAlone; ++i) {
      std::vector<float> track = track_samples(tracks_[i]);
      if (!track.empty()) best = std::max(best, best_match(x, track, within));
    }
    return best;
  }
};

TEST_F(RealGameMusic, AFirstStartPlaysTheMenusThemeAtTheMenu) {
  GameRun r = run_game(dir_, {{5.0, "close"}});
  ASSERT_TRUE(r.ok) << "the game's run or its recording failed";
  double start = onset(r.out);
  std::vector<float> menu = mono(r.out, start + 0.5, start + 4.5);
  std::printf("[ music    ] menu of a first start: RMS %.4f\n", rms(menu));
  EXPECT_GT(rms(menu), kAudibleRms);
  std::vector<float> theme = track_samples(dir_ + "/data/" + bb_Vaultwick_MusicFile(0).ToUtf8());
  if (theme.empty()) GTEST_SKIP() << "the menu's theme is not at 44.1 kHz: only its loudness is checked";
  double match = best_match(mono(r.out, start + 1.0, start + 2.0), theme, 3.0);
  std::printf("[ music    ] menu of a first start: matches the theme %.4f\n", match);
  EXPECT_GT(match, kAlone) << "what plays is the menu's theme";
}

// The first tap on the sound button goes from 1 to 2 (effects only): the
// tap's own click is heard, then the menu left alone is silent.
TEST_F(RealGameMusic, SoundStateTwoIsSilentAtAMenuLeftAlone) {
  GameRun r = run_game(dir_, {{1.5, "click-sound"}, {5.0, "close"}});
  ASSERT_TRUE(r.ok) << "the game's run or its recording failed";
  double click = r.at["click-sound"];
  std::vector<float> before = mono(r.out, click - 1.2, click - 0.2);
  std::vector<float> alone = mono(r.out, click + 1.0, click + 3.0);
  std::printf("[ music    ] state 1 before the tap: RMS %.4f; state 2 alone: peak %.6f\n", rms(before), peak(alone));
  EXPECT_GT(rms(before), kAudibleRms) << "music before the tap";
  ASSERT_GT(alone.size(), static_cast<size_t>(kRate)) << "the recording ends too soon";
  EXPECT_LT(peak(alone), 1e-4) << "a menu left alone in state 2 is silent";
}

// Two taps go from 1 to 3 (music only); a round of the selected mode then
// plays its loop, and what is recorded is that loop alone: a round's effects
// over it would pull the match down.
TEST_F(RealGameMusic, SoundStateThreePlaysTheRoundsMusicWithoutItsEffects) {
  GameRun r = run_game(dir_, {{1.5, "click-sound"}, {2.0, "click-sound"}, {2.8, "space"}, {8.0, "close"}});
  ASSERT_TRUE(r.ok) << "the game's run or its recording failed";
  double round = r.at["space"];
  std::vector<float> music = mono(r.out, round + 1.5, round + 4.5);
  std::printf("[ music    ] state 3 round: RMS %.4f\n", rms(music));
  EXPECT_GT(rms(music), kAudibleRms);
  double match = match_any_track(mono(r.out, round + 1.5, round + 3.5), 3.5);
  if (match < 0) GTEST_SKIP() << "no track is at 44.1 kHz: only the loudness is checked";
  std::printf("[ music    ] state 3 round: matches a track alone %.4f\n", match);
  EXPECT_GT(match, kAlone);
}

}  // namespace
