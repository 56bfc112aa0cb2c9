// The audio device: OpenAL sources as 33 numbered channels playing whole
// in-memory samples, music on the last channel, and the framework's sound
// module over it.
#pragma once

#include "runtime/object.h"

class gxtkSample;

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

  // Deletes the buffers of discarded samples that no source still holds; the
  // rest wait for a later call. Runs before every load and play.
  void FlushDiscarded();

 private:
  // The channel record, or null for a number outside 0..32.
  gxtkChannel* Channel(int channel);
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
