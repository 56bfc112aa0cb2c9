// The audio device against OpenAL Soft: with the null backend for channel
// states, suspension, music and buffer deletion; with the wave-file backend
// (in a child process, since the backend is picked when the library first opens
// a device) to hear what a played sound really puts in each output channel.
#include <AL/al.h>
#include <AL/alc.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio.h"
#include "wave_output.h"

namespace {

std::string temp_dir() {
  static std::string dir;
  if (dir.empty()) {
    char name[] = "/tmp/vw_real_audio_XXXXXX";
    if (mkdtemp(name)) dir = name;
  }
  return dir;
}

// A 16-bit PCM file of a sine tone (all channels alike).
std::string write_tone(const std::string& name, double seconds, int channels = 1, int rate = 22050) {
  std::string path = temp_dir() + "/" + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return path;
  auto u32 = [f](unsigned v) { for (int i = 0; i < 4; ++i) std::fputc((v >> (8 * i)) & 0xff, f); };
  auto u16 = [f](unsigned v) { std::fputc(v & 0xff, f), std::fputc((v >> 8) & 0xff, f); };
  unsigned frames = static_cast<unsigned>(seconds * rate);
  unsigned bytes = frames * channels * 2;
  std::fputs("RIFF", f), u32(36 + bytes), std::fputs("WAVEfmt ", f), u32(16);
  u16(1), u16(static_cast<unsigned>(channels)), u32(static_cast<unsigned>(rate));
  u32(static_cast<unsigned>(rate * channels * 2)), u16(static_cast<unsigned>(channels * 2)), u16(16);
  std::fputs("data", f), u32(bytes);
  for (unsigned i = 0; i < frames; ++i) {
    int v = static_cast<int>(20000 * std::sin(2 * M_PI * 440 * i / rate));
    for (int c = 0; c < channels; ++c) u16(static_cast<unsigned>(v) & 0xffff);
  }
  std::fclose(f);
  return path;
}

ALint source_state(gxtkAudio* audio, int channel) {
  ALint state = 0;
  alGetSourcei(audio->channels[channel].source, AL_SOURCE_STATE, &state);
  return state;
}

// Polls the channel until it reads `state` or a generous deadline passes.
bool wait_for_state(gxtkAudio* audio, int channel, int state) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (audio->ChannelState(channel) != state) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// The files made here go when the run ends.
class TempCleanup : public ::testing::Environment {
 public:
  void TearDown() override {
    if (!temp_dir().empty()) std::system(("rm -rf " + temp_dir()).c_str());
  }
};
::testing::Environment* const g_cleanup = ::testing::AddGlobalTestEnvironment(new TempCleanup);

gxtkAudio* g_device = nullptr;
void mark_device() { gc_mark_q(g_device); }

// One OpenAL device and context for the whole program run.
struct OpenAl {
  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
  bool open() {
    device = alcOpenDevice(nullptr);
    if (!device) return false;
    context = alcCreateContext(device, nullptr);
    return context && alcMakeContextCurrent(context);
  }
  void close() {
    alcMakeContextCurrent(nullptr);
    if (context) alcDestroyContext(context);
    if (device) alcCloseDevice(device);
    context = nullptr;
    device = nullptr;
  }
};

class RealAudio : public ::testing::Test {
 protected:
  static OpenAl al;
  gxtkAudio* audio = nullptr;

  static void SetUpTestSuite() {
    setenv("ALSOFT_DRIVERS", "null", 0);
    ASSERT_TRUE(al.open()) << "OpenAL Soft with the null backend";
  }
  static void TearDownTestSuite() { al.close(); }

  void SetUp() override {
    gc_init();
    audio = new gxtkAudio();
    g_device = audio;
    gc_root_marker = mark_device;
    gc_mark();
  }
  void TearDown() override {
    for (int c = 0; c < gxtkAudio::kChannelCount; ++c) audio->StopChannel(c);
    g_device = nullptr;
  }

  gxtkSample* load(const std::string& path) { return audio->LoadSample(String(path.c_str())); }
};

OpenAl RealAudio::al;

TEST_F(RealAudio, ChannelStatesMatchTheSources) {
  gxtkSample* tone = load(write_tone("loop.wav", 0.05));
  ASSERT_TRUE(tone);
  ALint distance_model = 0;
  alGetIntegerv(AL_DISTANCE_MODEL, &distance_model);
  EXPECT_EQ(AL_NONE, distance_model);

  audio->PlaySample(tone, 0, 1);
  EXPECT_EQ(1, audio->ChannelState(0));
  EXPECT_EQ(AL_PLAYING, source_state(audio, 0));
  audio->PauseChannel(0);
  EXPECT_EQ(2, audio->ChannelState(0));
  EXPECT_EQ(AL_PAUSED, source_state(audio, 0));
  audio->ResumeChannel(0);
  EXPECT_EQ(1, audio->ChannelState(0));
  EXPECT_EQ(AL_PLAYING, source_state(audio, 0));

  // Several lengths of the tone later the loop still plays.
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  EXPECT_EQ(1, audio->ChannelState(0));
  EXPECT_EQ(AL_PLAYING, source_state(audio, 0));
  audio->StopChannel(0);
  EXPECT_EQ(0, audio->ChannelState(0));
  EXPECT_EQ(AL_STOPPED, source_state(audio, 0));
}

TEST_F(RealAudio, OneShotEndsByItself) {
  gxtkSample* tone = load(write_tone("short.wav", 0.05));
  ASSERT_TRUE(tone);
  audio->PlaySample(tone, 5, 0);
  EXPECT_EQ(AL_PLAYING, source_state(audio, 5));
  ASSERT_TRUE(wait_for_state(audio, 5, 0)) << "the one-shot never ended";
  audio->PauseChannel(5);
  EXPECT_EQ(0, audio->ChannelState(5));
  audio->ResumeChannel(5);
  EXPECT_EQ(AL_STOPPED, source_state(audio, 5));
}

TEST_F(RealAudio, SuspendAndResumeKeepTheApplicationsPause) {
  gxtkSample* tone = load(write_tone("loop.wav", 0.05));
  audio->PlaySample(tone, 0, 1);
  audio->PlaySample(tone, 1, 1);
  audio->PauseChannel(1);
  audio->OnSuspend();
  EXPECT_EQ(AL_PAUSED, source_state(audio, 0));
  EXPECT_EQ(1, audio->ChannelState(0));
  audio->OnResume();
  EXPECT_EQ(AL_PLAYING, source_state(audio, 0));
  EXPECT_EQ(AL_PAUSED, source_state(audio, 1));
  EXPECT_EQ(2, audio->ChannelState(1));
}

TEST_F(RealAudio, MissingMusicStopsTheOldMusic) {
  ASSERT_EQ(0, audio->PlayMusic(String(write_tone("music.wav", 0.05).c_str()), 1));
  EXPECT_EQ(1, audio->MusicState());
  EXPECT_EQ(-1, audio->PlayMusic(String((temp_dir() + "/no_music.wav").c_str()), 1));
  EXPECT_EQ(0, audio->MusicState());
  EXPECT_EQ(AL_STOPPED, source_state(audio, 32));
}

TEST_F(RealAudio, DiscardedBuffersAreDeletedOnceNoSourceHoldsThem) {
  gxtkSample* tone = load(write_tone("loop.wav", 0.05));
  gxtkSample* other = load(write_tone("short.wav", 0.05));
  ALuint name = tone->buffer;
  ASSERT_TRUE(alIsBuffer(name));
  audio->PlaySample(tone, 0, 1);
  tone->Discard();
  audio->PlaySample(other, 1, 0);
  EXPECT_TRUE(alIsBuffer(name)) << "in use by a playing source";
  EXPECT_EQ(1, DiscardedBufferCount());

  // Stopped but still attached: OpenAL refuses the deletion until the flush
  // detaches it.
  audio->StopChannel(0);
  audio->PlaySample(other, 1, 0);
  EXPECT_FALSE(alIsBuffer(name));
  EXPECT_EQ(0, DiscardedBufferCount());
}

TEST_F(RealAudio, UnsupportedLayoutLoadsAsASilentSample) {
  gxtkSample* three = load(write_tone("three.wav", 0.05, 3));
  ASSERT_TRUE(three) << "the file itself is fine";
  audio->PlaySample(three, 2, 0);
  EXPECT_TRUE(wait_for_state(audio, 2, 0));
}

// ---------------------------------------------------------------------------
// The wave-file backend, in a child run of this program.

const char* const kChildFlag = "VW_AUDIO_WAVE_CHILD";

// Runs only as the child (disabled, so the ordinary run leaves it out): plays
// a tone panned hard left into the wave file.
TEST(AudioWaveChild, DISABLED_PlayPannedLeft) {
  ASSERT_TRUE(getenv(kChildFlag)) << "run by AudioWaveOutput";
  OpenAl al;
  ASSERT_TRUE(al.open());
  gc_init();
  gxtkAudio* audio = new gxtkAudio();
  gxtkSample* tone = audio->LoadSample(String(getenv("VW_AUDIO_WAVE_TONE")));
  ASSERT_TRUE(tone);
  audio->SetPan(0, -1);
  audio->PlaySample(tone, 0, 0);
  ASSERT_TRUE(wait_for_state(audio, 0, 0));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  al.close();
}

TEST(AudioWaveOutput, PlayedSoundIsHeardAndPanLeftIsLeft) {
  std::string dir = temp_dir();
  std::string wav = dir + "/out.wav";
  std::string conf = waveout::write_config(dir, wav);
  std::string tone = write_tone("heard.wav", 0.3);
  pid_t pid = waveout::spawn_with_wave({"/proc/self/exe", "--gtest_filter=AudioWaveChild.*", "--gtest_also_run_disabled_tests"}, conf,
                                       {std::string(kChildFlag) + "=1", "VW_AUDIO_WAVE_TONE=" + tone});
  ASSERT_GT(pid, 0);
  ASSERT_TRUE(waveout::exited_cleanly(pid)) << "child run failed";

  waveout::Output out;
  ASSERT_TRUE(waveout::read_output(wav, &out)) << wav;
  ASSERT_EQ(2, out.channels);
  double left = 0, right = 0;
  for (size_t i = 0; i + 1 < out.samples.size(); i += 2) {
    left += out.samples[i] * out.samples[i];
    right += out.samples[i + 1] * out.samples[i + 1];
  }
  // 0.3 s of a tone at about 0.6 of full scale, whatever the mixer's gains.
  EXPECT_GT(left, 100.0) << "the tone is not in the output";
  EXPECT_GT(left, 20 * right) << "left " << left << ", right " << right;
}

}  // namespace
