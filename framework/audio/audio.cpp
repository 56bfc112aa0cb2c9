// The audio device: channels over OpenAL sources, sample loading, music on
// channel 32, and suspension.
#include "audio/audio.h"

#include <AL/al.h>

#include <climits>

#include "audio/music_stream.h"

unsigned int gxtkChannel::AL_Source() {
  if (!source) alGenSources(1, &source);
  return source;
}

namespace {

ALint SourceState(ALuint source) {
  ALint state = AL_INITIAL;
  alGetSourcei(source, AL_SOURCE_STATE, &state);
  return state;
}

ALenum FormatOf(int bytesPerSample, int channels) {
  if (bytesPerSample == 1 && channels == 1) return AL_FORMAT_MONO8;
  if (bytesPerSample == 1 && channels == 2) return AL_FORMAT_STEREO8;
  if (bytesPerSample == 2 && channels == 1) return AL_FORMAT_MONO16;
  if (bytesPerSample == 2 && channels == 2) return AL_FORMAT_STEREO16;
  return 0;  // OpenAL refuses it and the sample stays silent
}

}  // namespace

gxtkAudio::gxtkAudio() {
  // Positions only pan: nothing is ever far away.
  alDistanceModel(AL_NONE);
}

gxtkAudio::~gxtkAudio() = default;

gxtkChannel* gxtkAudio::Channel(int channel) {
  return channel >= 0 && channel < kChannelCount ? &channels[channel] : nullptr;
}

void gxtkAudio::mark() {
  // A sample still sounding must outlive the program's last reference to it.
  for (gxtkChannel& c : channels)
    if (c.state != 0 && !HasFinished(c)) gc_mark_q(c.sample);
}

// A streamed source that stopped because its queue ran dry still plays as far
// as the application can tell: the next Update starts it again.
bool gxtkAudio::HasFinished(gxtkChannel& c) {
  if (SourceState(c.source) != AL_STOPPED) return false;
  return !(&c == &channels[kMusicChannel] && music && music->MoreToCome());
}

gxtkSample* gxtkAudio::LoadSample(String path) {
  FlushDiscarded();
  return LoadSample__UNSAFE__(new gxtkSample(), path);
}

gxtkSample* gxtkAudio::LoadSample__UNSAFE__(gxtkSample* sample, String path) {
  int frames = 0, channelCount = 0, bytesPerSample = 0, rate = 0;
  unsigned char* data = loadSound(path, &frames, &channelCount, &bytesPerSample, &rate);
  if (!data) return nullptr;
  long long bytes = static_cast<long long>(frames) * channelCount * bytesPerSample;
  ALuint buffer = 0;
  alGenBuffers(1, &buffer);
  if (bytes <= INT_MAX)
    alBufferData(buffer, FormatOf(bytesPerSample, channelCount), data, static_cast<ALsizei>(bytes), rate);
  unloadSound(data);
  sample->SetBuffer(buffer);
  // Samples can be large: have the collector release dropped ones soon.
  gc_force_sweep = true;
  return sample;
}

int gxtkAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
  gxtkChannel* c = Channel(channel);
  if (!c || !sample) return 0;
  if (channel == kMusicChannel) music.reset();
  FlushDiscarded();
  ALuint source = c->AL_Source();
  alSourceStop(source);
  alSourcei(source, AL_BUFFER, static_cast<ALint>(sample->buffer));
  alSourcei(source, AL_LOOPING, flags ? AL_TRUE : AL_FALSE);
  alSourcePlay(source);
  gc_assign(c->sample, sample);
  c->flags = flags;
  c->state = 1;
  return 0;
}

int gxtkAudio::StopChannel(int channel) {
  gxtkChannel* c = Channel(channel);
  if (channel == kMusicChannel) music.reset();
  if (!c || c->state == 0) return 0;
  alSourceStop(c->source);
  c->state = 0;
  return 0;
}

int gxtkAudio::PauseChannel(int channel) {
  gxtkChannel* c = Channel(channel);
  if (!c || c->state != 1) return 0;
  if (HasFinished(*c)) {
    c->state = 0;
  } else {
    alSourcePause(c->source);
    c->state = 2;
  }
  return 0;
}

int gxtkAudio::ResumeChannel(int channel) {
  gxtkChannel* c = Channel(channel);
  if (!c || c->state != 2) return 0;
  // Paused sources play on. A stream that ran dry before it was paused is
  // started by Update instead, once its played buffers have left the queue.
  if (SourceState(c->source) != AL_STOPPED) alSourcePlay(c->source);
  c->state = 1;
  return 0;
}

int gxtkAudio::ChannelState(int channel) {
  gxtkChannel* c = Channel(channel);
  if (!c) return 0;
  // A one-shot that has run out is only noticed when someone asks.
  if (c->state == 1 && HasFinished(*c)) c->state = 0;
  return c->state;
}

int gxtkAudio::SetVolume(int channel, float volume) {
  if (gxtkChannel* c = Channel(channel)) alSourcef(c->AL_Source(), AL_GAIN, volume);
  return 0;
}

int gxtkAudio::SetPan(int channel, float pan) {
  if (gxtkChannel* c = Channel(channel)) alSource3f(c->AL_Source(), AL_POSITION, pan, 0, 0);
  return 0;
}

int gxtkAudio::SetRate(int channel, float rate) {
  if (gxtkChannel* c = Channel(channel)) alSourcef(c->AL_Source(), AL_PITCH, rate);
  return 0;
}

// Only channels the application considers playing are touched, so a channel it
// paused itself stays paused across a suspension.
int gxtkAudio::OnSuspend() {
  suspended = true;
  for (gxtkChannel& c : channels)
    if (c.state == 1 && SourceState(c.source) == AL_PLAYING) alSourcePause(c.source);
  return 0;
}

int gxtkAudio::OnResume() {
  suspended = false;
  for (gxtkChannel& c : channels)
    if (c.state == 1 && SourceState(c.source) == AL_PAUSED) alSourcePlay(c.source);
  return 0;
}
