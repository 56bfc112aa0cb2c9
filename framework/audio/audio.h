// The audio device: OpenAL sources as 33 numbered channels playing whole
// in-memory samples, music streamed on the last channel, and the framework's
// sound module over it.
#pragma once

#include <memory>

#include "runtime/object.h"

class gxtkSample;
class MusicStream;

// One channel; its source is created on first use and kept for the run.
struct gxtkChannel {
  unsigned int source = 0;
  gxtkSample* sample = nullptr;  // kept alive by the device while it plays
  int flags = 0;                 // non-zero: looping
  int state = 0;                 // 0 stopped, 1 playing, 2 paused

  unsigned int AL_Source();
};

class gxtkSample : public gxtkObject {
 public:
  unsigned int buffer;  // OpenAL buffer name, 0 when none

  gxtkSample();
  explicit gxtkSample(unsigned int buffer);
  ~gxtkSample() override;
  void SetBuffer(unsigned int buffer);

  // Hands the buffer over for deferred deletion; the sample is silent after.
  virtual int Discard();
};

// Buffer names of discarded samples still waiting for deletion.
int DiscardedBufferCount();

class gxtkAudio : public gxtkObject {
 public:
  static const int kChannelCount = 33;
  static const int kMusicChannel = 32;

  gxtkChannel channels[kChannelCount];

  gxtkAudio();
  ~gxtkAudio() override;
  void mark() override;

  virtual gxtkSample* LoadSample__UNSAFE__(gxtkSample* sample, String path);
  virtual gxtkSample* LoadSample(String path);
  virtual int PlaySample(gxtkSample* sample, int channel, int flags);
  virtual int StopChannel(int channel);
  virtual int PauseChannel(int channel);
  virtual int ResumeChannel(int channel);
  virtual int ChannelState(int channel);
  virtual int SetVolume(int channel, float volume);
  virtual int SetPan(int channel, float pan);
  virtual int SetRate(int channel, float rate);
  // Ogg music is streamed: opened and checked here (-1 when it cannot be),
  // then decoded a few buffers ahead by Update. Other files play whole.
  virtual int PlayMusic(String path, int flags);
  virtual int StopMusic();
  virtual int PauseMusic();
  virtual int ResumeMusic();
  virtual int MusicState();
  virtual int SetMusicVolume(float volume);

  // The application is suspended / resumed: sources pause and play again
  // without touching the channels' own states.
  int OnSuspend();
  int OnResume();

  // Keeps streamed music fed: the music channel's played buffers are refilled
  // and queued again, and a stream that has ended or turned out damaged is let
  // go (the channel stops, quietly). The main loop calls it once per pass,
  // after the updates.
  int Update();

  // Deletes the buffers of discarded samples that no source still holds; the
  // rest wait for a later call. Runs before every load and play.
  void FlushDiscarded();

 private:
  std::unique_ptr<MusicStream> music;  // the Ogg streaming on channel 32, or null
  bool suspended = false;              // between OnSuspend and OnResume

  // The channel record, or null for a number outside 0..32.
  gxtkChannel* Channel(int channel);
  // A music file that is not Ogg plays as a whole sample, as sounds do.
  int PlayWholeMusic(String path, int flags);
  // The channel's source has stopped for good: its sound has run out, or it
  // was stopped (a stream that merely ran dry has not).
  bool HasFinished(gxtkChannel& c);
};

// Whole-file decoding. Returns PCM data allocated with malloc (8-bit unsigned
// or 16-bit signed little-endian, interleaved), or null when the file cannot be
// read or decoded. The extension picks the decoder: ".wav" or ".ogg", any case.
unsigned char* loadSound(String path, int* frames, int* channels, int* bytesPerSample, int* rate);
void unloadSound(unsigned char* data);

// The framework's sound object and module.
class bb_audio_Sound : public Object {
 public:
  gxtkSample* m_sample = nullptr;

  bb_audio_Sound* g_new(gxtkSample* sample);
  bb_audio_Sound* g_new2();
  void mark() override;
};

extern gxtkAudio* bb_audio_device;
int bb_audio_SetAudioDevice(gxtkAudio* device);
bb_audio_Sound* bb_audio_LoadSound(String path);
int bb_audio_PlaySound(bb_audio_Sound* sound, int channel, int flags);
int bb_audio_StopChannel(int channel);
int bb_audio_SetChannelVolume(int channel, float volume);
int bb_audio_SetChannelPan(int channel, float pan);
int bb_audio_SetChannelRate(int channel, float rate);
