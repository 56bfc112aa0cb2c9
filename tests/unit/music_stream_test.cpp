// Streamed music on the recording AL: the queue filled a buffer at a time by
// the device's Update, played buffers taken back and refilled, a loop that
// wraps on the exact sample, a source that runs dry started again without a
// repeat, pause and suspension, and damaged or missing files that end the
// music quietly. What the fake "hears" is compared with the whole-file
// decoder's output.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "audio/decode.h"
#include "audio/music_stream.h"
#include "fake_al.h"

namespace {

typedef std::vector<unsigned char> Bytes;

gxtkAudio* g_device = nullptr;
void mark_device() { gc_mark_q(g_device); }

Bytes read_file(const std::string& path) {
  Bytes bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  int c;
  while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
  std::fclose(f);
  return bytes;
}

// Offset of the page that starts after `fraction` of the file.
size_t page_after(const Bytes& b, double fraction) {
  size_t at = 0;
  while (at + 27 <= b.size() && at < b.size() * fraction) {
    size_t body = 0;
    for (size_t i = 0; i < b[at + 26]; ++i) body += b[at + 27 + i];
    at += 27 + b[at + 26] + body;
  }
  return at;
}

// The whole file's samples as bytes, as ogg_decode gives them.
Bytes decoded(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  PcmData pcm;
  bool ok = f && ogg_decode(f, &pcm);
  if (f) std::fclose(f);
  if (!ok) return Bytes();
  Bytes out(pcm.data, pcm.data + static_cast<size_t>(pcm.frames) * static_cast<size_t>(pcm.channels) * 2);
  std::free(pcm.data);
  return out;
}

class AudioDeviceMusic : public ::testing::Test {
 protected:
  static std::string dir;
  gxtkAudio* audio = nullptr;

  static void SetUpTestSuite() {
    char name[] = "/tmp/vw_music_XXXXXX";
    ASSERT_TRUE(mkdtemp(name));
    dir = name;
    // 30001 frames: seven and a bit buffers, ending inside a packet; noise,
    // so that it spreads over several pages.
    run("sox -V1 -r 22050 -c 1 -n -b 16 " + at("tune.wav") + " synth 30001s pinknoise vol 0.5");
    run("oggenc -Q -o " + at("tune.ogg") + " " + at("tune.wav"));
    run("sox -V1 -r 22050 -c 1 -n -b 16 " + at("beep.wav") + " synth 0.05 sine 800");
    // Damage in a page two thirds in (past the headers): what comes before
    // it plays.
    Bytes tune = read_file(at("tune.ogg"));
    Bytes damaged = tune;
    size_t page = page_after(tune, 2.0 / 3);
    ASSERT_LT(page + 100, tune.size());
    damaged[page + 60] ^= 0x55;
    write(at("damaged.ogg"), damaged);
    write(at("not_ogg.ogg"), Bytes(tune.size(), 0x4f));
  }
  static void TearDownTestSuite() { run("rm -rf " + dir); }

  static std::string at(const std::string& name) { return dir + "/" + name; }
  static void run(const std::string& command) { ASSERT_EQ(0, std::system(command.c_str())) << command; }
  static void write(const std::string& path, const Bytes& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }

  void SetUp() override {
    fakeal::reset();
    gc_init();
    audio = new gxtkAudio();
    g_device = audio;
    gc_root_marker = mark_device;
    gc_mark();
  }
  void TearDown() override { g_device = nullptr; }

  int play(const std::string& name, int flags = 1) { return audio->PlayMusic(String(at(name).c_str()), flags); }
  unsigned source() { return audio->channels[gxtkAudio::kMusicChannel].source; }
  fakeal::Source* al_source() { return fakeal::source(source()); }

  // Passes until every buffer is queued; returns how many it took.
  int FillQueue() {
    int passes = 0;
    for (; passes < 100 && al_source()->queue.size() < static_cast<size_t>(MusicStream::kBuffers); ++passes)
      audio->Update();
    return passes;
  }
  // The source plays one buffer, then the main loop passes once.
  void play_one_and_pass() {
    fakeal::play_queued(source(), 1);
    audio->Update();
  }
  // Passes until what the source has heard reaches `bytes` (or it stops).
  void listen(size_t bytes) {
    for (int guard = 0; guard < 10000 && al_source()->heard.size() < bytes && audio->MusicState() == 1; ++guard)
      play_one_and_pass();
  }
};

std::string AudioDeviceMusic::dir;

// The first buffers are decoded whole, so that the music starts at once; the
// rest a packet's worth a pass, so that no pass does much.
TEST_F(AudioDeviceMusic, QueueFillsAheadAFewBuffersAndNeverHoldsTheWholeTrack) {
  ASSERT_EQ(0, play("tune.ogg"));
  EXPECT_EQ(1, audio->MusicState());
  EXPECT_EQ(0, fakeal::count("bufferdata")) << "opening decodes nothing";
  audio->Update();
  ASSERT_TRUE(al_source());
  EXPECT_EQ(AL_PLAYING, al_source()->state) << "the first buffer starts the source";
  EXPECT_EQ(1u, al_source()->queue.size());
  for (int pass = 1; pass < MusicStream::kLowWater; ++pass) audio->Update();
  EXPECT_EQ(static_cast<size_t>(MusicStream::kLowWater), al_source()->queue.size()) << "a whole buffer a pass";
  int passes = FillQueue();
  EXPECT_EQ((MusicStream::kBuffers - MusicStream::kLowWater) * MusicStream::kBufferFrames / MusicStream::kFeedFrames,
            passes);
  for (int i = 0; i < 10; ++i) audio->Update();
  EXPECT_EQ(static_cast<size_t>(MusicStream::kBuffers), al_source()->queue.size()) << "and no further ahead";
  EXPECT_EQ(MusicStream::kBuffers, fakeal::count("genbuffer"));
  for (unsigned buffer : al_source()->queue) {
    EXPECT_EQ(static_cast<size_t>(MusicStream::kBufferFrames) * 2, fakeal::buffer(buffer)->data.size());
    EXPECT_EQ(22050, fakeal::buffer(buffer)->frequency);
    EXPECT_EQ(AL_FORMAT_MONO16, fakeal::buffer(buffer)->format);
  }
  EXPECT_FALSE(al_source()->looping) << "the stream loops itself";
}

TEST_F(AudioDeviceMusic, PlayedBuffersAreTakenBackRefilledAndQueuedAgain) {
  ASSERT_EQ(0, play("tune.ogg"));
  FillQueue();
  std::vector<unsigned> first = al_source()->queue;
  fakeal::play_queued(source(), 2);
  audio->Update();
  EXPECT_EQ(2, fakeal::count("unqueue")) << "played buffers leave the queue at the next pass";
  EXPECT_EQ(first.size() - 1, al_source()->queue.size()) << "two taken back, one refilled whole as the queue ran low";
  FillQueue();
  ASSERT_EQ(first.size(), al_source()->queue.size());
  EXPECT_EQ(0u, al_source()->processed);
  std::vector<unsigned> now = al_source()->queue, names = first;
  std::sort(now.begin(), now.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, now) << "the same buffers go round";
  EXPECT_EQ(MusicStream::kBuffers, fakeal::count("genbuffer"));
  EXPECT_EQ(0, fakeal::count("deletebuffer"));
}

// A browser may run the loop at 30 frames a second or fewer. Here the 22 kHz
// tune at 15 passes a second needs what a 44.1 kHz track needs at 30: more
// than the trickle gives. The source plays in time (a buffer whenever its
// frames have passed) and the queue stays three buffers ahead all along.
TEST_F(AudioDeviceMusic, FewPassesASecondStillKeepTheQueueWellAhead) {
  const double passes_per_second = 15, rate = 22050;
  ASSERT_EQ(0, play("tune.ogg"));
  FillQueue();
  double owed = 0;  // frames the source has played into its next buffer
  size_t least_ahead = MusicStream::kBuffers;
  for (int pass = 0; pass < 600; ++pass) {
    for (owed += rate / passes_per_second; owed >= MusicStream::kBufferFrames; owed -= MusicStream::kBufferFrames)
      fakeal::play_queued(source(), 1);
    audio->Update();
    least_ahead = std::min(least_ahead, al_source()->queue.size() - al_source()->processed);
    ASSERT_EQ(AL_PLAYING, al_source()->state) << "ran dry at pass " << pass;
  }
  EXPECT_GE(least_ahead, 3u) << "three buffers: 280 ms of a 44.1 kHz track";
}

// Three times round: what the source plays is the file's samples three times
// over, the wrap falling on the sample after the last one the file names.
TEST_F(AudioDeviceMusic, LoopWrapsOnTheExactSample) {
  Bytes once = decoded(at("tune.ogg"));
  ASSERT_EQ(30001u * 2, once.size());
  Bytes thrice;
  for (int i = 0; i < 3; ++i) thrice.insert(thrice.end(), once.begin(), once.end());
  ASSERT_EQ(0, play("tune.ogg", 1));
  listen(thrice.size());
  Bytes heard = al_source()->heard;
  ASSERT_GE(heard.size(), thrice.size());
  heard.resize(thrice.size());
  EXPECT_TRUE(heard == thrice);
  EXPECT_EQ(1, audio->MusicState());
}

TEST_F(AudioDeviceMusic, MusicThatDoesNotLoopPlaysOnceThenEnds) {
  ASSERT_EQ(0, play("tune.ogg", 0));
  listen(SIZE_MAX);
  EXPECT_TRUE(al_source()->heard == decoded(at("tune.ogg")));
  EXPECT_EQ(0, audio->MusicState());
  EXPECT_EQ(MusicStream::kBuffers, fakeal::count("deletebuffer")) << "the ended stream is let go";
}

// The loop stalled and the source played its whole queue: it stopped, but the
// music still plays, and the next pass starts it again with what comes next,
// never with the buffers it has already played.
TEST_F(AudioDeviceMusic, SourceThatRanDryStartsAgainWhereItWas) {
  ASSERT_EQ(0, play("tune.ogg"));
  FillQueue();
  fakeal::play_queued(source(), MusicStream::kBuffers);
  ASSERT_EQ(AL_STOPPED, al_source()->state);
  EXPECT_EQ(1, audio->MusicState()) << "dry, not over";
  int plays = al_source()->plays;
  audio->Update();
  EXPECT_EQ(plays + 1, al_source()->plays);
  EXPECT_EQ(AL_PLAYING, al_source()->state);
  Bytes once = decoded(at("tune.ogg"));
  listen(once.size());
  Bytes heard = al_source()->heard;
  heard.resize(once.size());
  EXPECT_TRUE(heard == once) << "nothing repeated, nothing skipped";
}

TEST_F(AudioDeviceMusic, PauseAndSuspensionHoldTheQueue) {
  ASSERT_EQ(0, play("tune.ogg"));
  FillQueue();
  audio->PauseMusic();
  EXPECT_EQ(AL_PAUSED, al_source()->state);
  audio->Update();
  EXPECT_EQ(2, audio->MusicState());
  audio->ResumeMusic();
  EXPECT_EQ(AL_PLAYING, al_source()->state);

  // Suspended with a source that had just run dry: nothing is fed or started
  // until the application resumes.
  fakeal::play_queued(source(), MusicStream::kBuffers);
  audio->OnSuspend();
  int unqueued = fakeal::count("unqueue"), plays = al_source()->plays;
  audio->Update();
  EXPECT_EQ(unqueued, fakeal::count("unqueue"));
  EXPECT_EQ(plays, al_source()->plays);
  audio->OnResume();
  audio->Update();
  EXPECT_EQ(AL_PLAYING, al_source()->state);
  EXPECT_EQ(1, audio->MusicState());
}

TEST_F(AudioDeviceMusic, StoppingLetsTheStreamGoAndTheChannelTakesSamplesAgain) {
  ASSERT_EQ(0, play("tune.ogg"));
  FillQueue();
  audio->StopMusic();
  EXPECT_EQ(0, audio->MusicState());
  EXPECT_TRUE(al_source()->queue.empty());
  EXPECT_EQ(MusicStream::kBuffers, fakeal::count("deletebuffer"));
  EXPECT_TRUE(fakeal::state().buffers.empty());

  ASSERT_EQ(0, play("tune.ogg"));
  audio->Update();
  gxtkSample* beep = audio->LoadSample(String(at("beep.wav").c_str()));
  ASSERT_TRUE(beep);
  audio->PlaySample(beep, gxtkAudio::kMusicChannel, 0);
  EXPECT_EQ(AL_PLAYING, al_source()->state);
  EXPECT_EQ(beep->buffer, al_source()->buffer);
  EXPECT_EQ(AL_NO_ERROR, fakeal::state().error);
}

// A file damaged halfway plays up to the damage and then stops, with the
// stream let go and nothing else touched; missing and unreadable files stop
// the old music and report -1, as a sample that fails to load does.
TEST_F(AudioDeviceMusic, DamagedOrMissingMusicEndsQuietly) {
  gxtkSample* beep = audio->LoadSample(String(at("beep.wav").c_str()));
  audio->PlaySample(beep, 3, 1);
  ASSERT_EQ(0, play("damaged.ogg"));
  listen(SIZE_MAX);
  EXPECT_EQ(0, audio->MusicState());
  Bytes whole = decoded(at("tune.ogg")), heard = al_source()->heard;
  EXPECT_GT(heard.size(), 0u);
  EXPECT_LT(heard.size(), whole.size());
  EXPECT_TRUE(std::equal(heard.begin(), heard.end(), whole.begin()));
  EXPECT_EQ(MusicStream::kBuffers, fakeal::count("deletebuffer"));
  EXPECT_EQ(1, audio->ChannelState(3)) << "the effects play on";
  audio->Update();

  ASSERT_EQ(0, play("tune.ogg"));
  audio->Update();
  EXPECT_EQ(-1, play("missing.ogg"));
  EXPECT_EQ(0, audio->MusicState());
  EXPECT_EQ(AL_STOPPED, al_source()->state);
  EXPECT_EQ(-1, play("not_ogg.ogg"));
  audio->Update();
  EXPECT_EQ(AL_NO_ERROR, fakeal::state().error);
}

// Buffers of dropped samples are deleted once no stopped source holds them;
// the flush that detaches them must leave a stream that ran dry its queue.
TEST_F(AudioDeviceMusic, DeletingDroppedSamplesLeavesADryStreamItsQueue) {
  ASSERT_EQ(0, play("tune.ogg"));
  FillQueue();
  fakeal::play_queued(source(), MusicStream::kBuffers);
  gxtkSample* dropped = audio->LoadSample(String(at("beep.wav").c_str()));
  dropped->Discard();
  audio->LoadSample(String(at("beep.wav").c_str()));  // flushes the discarded buffer
  EXPECT_EQ(static_cast<size_t>(MusicStream::kBuffers), al_source()->queue.size());
  audio->Update();
  EXPECT_EQ(AL_PLAYING, al_source()->state);
}

}  // namespace
