// The audio device over the recording AL: channel states, what reaches the
// sources, music on channel 32, suspension, and the deferred deletion of the
// buffers of collected samples.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <string>

#include "audio/audio.h"
#include "fake_al.h"

namespace {

gxtkAudio* g_device = nullptr;
void mark_device() { gc_mark_q(g_device); }

class AudioDevice : public ::testing::Test {
 protected:
  static std::string dir;
  gxtkAudio* audio = nullptr;

  static void SetUpTestSuite() {
    char name[] = "/tmp/vw_audio_XXXXXX";
    ASSERT_TRUE(mkdtemp(name));
    dir = name;
    write_wav(dir + "/a.wav", 100, 1);
    write_wav(dir + "/b.wav", 200, 2);
  }
  static void TearDownTestSuite() {
    std::remove((dir + "/a.wav").c_str());
    std::remove((dir + "/b.wav").c_str());
    std::remove(dir.c_str());
  }

  // A plain 16-bit PCM file of `frames` frames of a constant value.
  static void write_wav(const std::string& path, int frames, int channels) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    auto u32 = [f](unsigned v) { for (int i = 0; i < 4; ++i) std::fputc((v >> (8 * i)) & 0xff, f); };
    auto u16 = [f](unsigned v) { std::fputc(v & 0xff, f), std::fputc(v >> 8, f); };
    unsigned bytes = static_cast<unsigned>(frames * channels * 2);
    std::fputs("RIFF", f), u32(36 + bytes), std::fputs("WAVEfmt ", f), u32(16);
    u16(1), u16(static_cast<unsigned>(channels)), u32(22050), u32(22050u * channels * 2);
    u16(static_cast<unsigned>(channels * 2)), u16(16);
    std::fputs("data", f), u32(bytes);
    for (unsigned i = 0; i < bytes / 2; ++i) u16(1000);
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

  gxtkSample* load(const char* name) { return audio->LoadSample(String((dir + "/" + name).c_str())); }
  unsigned source(int channel) { return audio->channels[channel].source; }
  fakeal::Source* al_source(int channel) { return fakeal::source(source(channel)); }

  // One collector step that sweeps and destroys what is unreachable. The
  // collector only sweeps when something is unreached, so leave some garbage.
  static void full_collection() {
    new Object();
    gc_force_sweep = true;
    gc_collect();
  }
};

std::string AudioDevice::dir;

TEST_F(AudioDevice, SourcesPanWithoutDistanceAndAreMadeOnFirstUse) {
  EXPECT_EQ(AL_NONE, fakeal::state().distance_model);
  EXPECT_TRUE(fakeal::state().sources.empty());
  audio->SetVolume(5, 0.5f);
  audio->SetVolume(5, 0.25f);
  EXPECT_EQ(1u, fakeal::state().sources.size());
  EXPECT_EQ(0.25f, al_source(5)->gain);
}

TEST_F(AudioDevice, LoadedSampleOwnsAFilledBuffer) {
  gxtkSample* s = load("b.wav");
  ASSERT_TRUE(s);
  fakeal::Buffer* b = fakeal::buffer(s->buffer);
  ASSERT_TRUE(b);
  EXPECT_EQ(AL_FORMAT_STEREO16, b->format);
  EXPECT_EQ(22050, b->frequency);
  EXPECT_EQ(200u * 2 * 2, b->data.size());
  EXPECT_TRUE(gc_force_sweep) << "a loaded sample asks for a full collection";

  int buffers = static_cast<int>(fakeal::state().buffers.size());
  EXPECT_EQ(nullptr, load("missing.wav"));
  EXPECT_EQ(buffers, static_cast<int>(fakeal::state().buffers.size())) << "no buffer for a failed load";
}

TEST_F(AudioDevice, PlayingCutsTheChannelAndKeepsItsSettings) {
  gxtkSample* a = load("a.wav");
  gxtkSample* b = load("b.wav");
  audio->SetVolume(3, 0.5f);
  audio->SetPan(3, -1);
  audio->SetRate(3, 1.5f);
  audio->PlaySample(a, 3, 0);
  fakeal::state().log.clear();
  audio->PlaySample(b, 3, 1);

  std::string s = std::to_string(source(3));
  ASSERT_EQ(3u, fakeal::state().log.size());
  EXPECT_EQ("stop " + s, fakeal::state().log[0]) << "the sound on the channel is cut first";
  EXPECT_EQ("buffer " + s + " " + std::to_string(b->buffer), fakeal::state().log[1]);
  EXPECT_EQ("play " + s, fakeal::state().log[2]);

  const fakeal::PlayEvent& play = fakeal::state().plays.back();
  EXPECT_EQ(b->buffer, play.buffer);
  EXPECT_EQ(0.5f, play.gain);
  EXPECT_EQ(-1.0f, play.pan);
  EXPECT_EQ(1.5f, play.pitch);
  EXPECT_TRUE(play.looping);
  EXPECT_EQ(1, audio->ChannelState(3));
  EXPECT_EQ(0, audio->ChannelState(4)) << "other channels untouched";
}

TEST_F(AudioDevice, ChannelStatesFollowPauseResumeStopAndTheEndOfASound) {
  gxtkSample* a = load("a.wav");
  audio->PlaySample(a, 0, 0);
  audio->PauseChannel(0);
  EXPECT_EQ(2, audio->ChannelState(0));
  EXPECT_EQ(AL_PAUSED, al_source(0)->state);
  audio->PauseChannel(0);  // already paused: nothing
  EXPECT_EQ(2, audio->ChannelState(0));
  audio->ResumeChannel(0);
  EXPECT_EQ(1, audio->ChannelState(0));
  EXPECT_EQ(AL_PLAYING, al_source(0)->state);
  audio->StopChannel(0);
  EXPECT_EQ(0, audio->ChannelState(0));
  EXPECT_EQ(AL_STOPPED, al_source(0)->state);

  // A one-shot that ran out reads stopped and cannot be paused or resumed.
  audio->PlaySample(a, 1, 0);
  fakeal::finish(source(1));
  EXPECT_EQ(0, audio->ChannelState(1));
  audio->PlaySample(a, 2, 0);
  fakeal::finish(source(2));
  audio->PauseChannel(2);
  EXPECT_EQ(0, audio->channels[2].state);
  int plays = al_source(2)->plays;
  audio->ResumeChannel(2);
  EXPECT_EQ(plays, al_source(2)->plays);

  // Looping sounds never run out.
  audio->PlaySample(a, 4, 7);
  fakeal::finish_all();
  EXPECT_EQ(1, audio->ChannelState(4));
  EXPECT_TRUE(al_source(4)->looping);
}

TEST_F(AudioDevice, SuspensionLeavesApplicationPausedChannelsPaused) {
  gxtkSample* a = load("a.wav");
  audio->PlaySample(a, 0, 1);
  audio->PlaySample(a, 1, 1);
  audio->PauseChannel(1);
  audio->OnSuspend();
  EXPECT_EQ(AL_PAUSED, al_source(0)->state);
  EXPECT_EQ(1, audio->channels[0].state) << "suspension is not the application's pause";
  audio->OnResume();
  EXPECT_EQ(AL_PLAYING, al_source(0)->state);
  EXPECT_EQ(AL_PAUSED, al_source(1)->state);
  EXPECT_EQ(2, audio->ChannelState(1));
}

TEST_F(AudioDevice, MusicLivesOnChannel32) {
  gxtkSample* a = load("a.wav");
  audio->PlaySample(a, 0, 1);
  EXPECT_EQ(0, audio->PlayMusic(String((dir + "/b.wav").c_str()), 1));
  EXPECT_EQ(1, audio->MusicState());
  EXPECT_NE(0u, source(32));
  audio->SetMusicVolume(0.3f);
  EXPECT_EQ(0.3f, al_source(32)->gain);
  audio->PauseMusic();
  EXPECT_EQ(2, audio->MusicState());
  audio->ResumeMusic();
  audio->StopMusic();
  EXPECT_EQ(0, audio->MusicState());
  EXPECT_EQ(1, audio->ChannelState(0)) << "music calls never touch effect channels";

  audio->PlayMusic(String((dir + "/b.wav").c_str()), 1);
  EXPECT_EQ(-1, audio->PlayMusic(String((dir + "/none.wav").c_str()), 1));
  EXPECT_EQ(0, audio->MusicState()) << "the old music stops even when the new one fails";
  EXPECT_EQ(AL_STOPPED, al_source(32)->state);
}

TEST_F(AudioDevice, ChannelsOutsideTheRangeAreIgnored) {
  gxtkSample* a = load("a.wav");
  for (int channel : {-1, 33, 1000, -100000}) {
    audio->PlaySample(a, channel, 0);
    audio->SetVolume(channel, 1);
    audio->SetPan(channel, 1);
    audio->SetRate(channel, 1);
    audio->PauseChannel(channel);
    audio->ResumeChannel(channel);
    audio->StopChannel(channel);
    EXPECT_EQ(0, audio->ChannelState(channel));
  }
  EXPECT_TRUE(fakeal::state().sources.empty());
}

TEST_F(AudioDevice, BuffersOfCollectedSamplesAreDeletedOnceFree) {
  full_collection();  // settle: everything reachable is now marked only by the roots
  gxtkSample* a = load("a.wav");
  gxtkSample* b = load("b.wav");
  gxtkSample* c = load("a.wav");
  unsigned a_buffer = a->buffer, b_buffer = b->buffer, c_buffer = c->buffer;
  audio->PlaySample(a, 0, 0);
  audio->PlaySample(b, 1, 1);
  audio->PauseChannel(1);
  audio->PlaySample(c, 2, 0);
  audio->StopChannel(2);
  full_collection();
  full_collection();  // only the device's channels hold the samples now
  EXPECT_EQ(1, DiscardedBufferCount()) << "playing and paused samples are kept alive, stopped ones not";
  EXPECT_TRUE(fakeal::buffer(c_buffer)) << "deletion waits for the next load or play";

  audio->StopChannel(1);
  fakeal::finish(source(0));
  full_collection();
  full_collection();
  EXPECT_EQ(3, DiscardedBufferCount());

  // The flush at the next play detaches the stopped sources and deletes.
  gxtkSample* d = load("b.wav");
  EXPECT_EQ(0, DiscardedBufferCount());
  for (unsigned name : {a_buffer, b_buffer, c_buffer}) EXPECT_FALSE(fakeal::buffer(name)) << name;
  EXPECT_TRUE(fakeal::buffer(d->buffer));
}

TEST_F(AudioDevice, DiscardedBufferStillInUseWaitsForALaterFlush) {
  gxtkSample* a = load("a.wav");
  gxtkSample* b = load("b.wav");
  unsigned a_buffer = a->buffer;
  audio->PlaySample(a, 0, 1);
  a->Discard();
  EXPECT_EQ(0u, a->buffer);
  audio->PlaySample(b, 1, 0);
  EXPECT_EQ(1, DiscardedBufferCount()) << "still playing on channel 0";
  EXPECT_TRUE(fakeal::buffer(a_buffer));

  audio->PauseChannel(0);
  audio->PlaySample(b, 1, 0);
  EXPECT_EQ(1, DiscardedBufferCount()) << "paused is still in use";

  audio->StopChannel(0);
  audio->PlaySample(b, 1, 0);
  EXPECT_EQ(0, DiscardedBufferCount());
  EXPECT_FALSE(fakeal::buffer(a_buffer));
}

TEST_F(AudioDevice, SoundModuleResolvesDataPathsAndSkipsEmptySounds) {
  bb_audio_SetAudioDevice(audio);
  EXPECT_EQ(nullptr, bb_audio_LoadSound(String("sfx/none.wav")));
  bb_audio_Sound* s = bb_audio_LoadSound(String((dir + "/a.wav").c_str()));
  ASSERT_TRUE(s);
  ASSERT_TRUE(s->m_sample);
  bb_audio_SetChannelVolume(6, 0.75f);
  bb_audio_SetChannelPan(6, 0.5f);
  bb_audio_SetChannelRate(6, 2);
  bb_audio_PlaySound(s, 6, 0);
  const fakeal::PlayEvent& play = fakeal::state().plays.back();
  EXPECT_EQ(source(6), play.source);
  EXPECT_EQ(s->m_sample->buffer, play.buffer);
  EXPECT_EQ(0.75f, play.gain);
  EXPECT_EQ(0.5f, play.pan);
  EXPECT_EQ(2.0f, play.pitch);
  bb_audio_StopChannel(6);
  EXPECT_EQ(0, audio->ChannelState(6));

  size_t plays = fakeal::state().plays.size();
  bb_audio_PlaySound(nullptr, 6, 0);
  bb_audio_PlaySound((new bb_audio_Sound())->g_new2(), 6, 0);
  EXPECT_EQ(plays, fakeal::state().plays.size());
  bb_audio_SetAudioDevice(nullptr);
}

}  // namespace
