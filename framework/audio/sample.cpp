// Samples and the deferred deletion of their buffers. A collected sample may
// still be attached to a source, and OpenAL refuses to delete a buffer in use,
// so buffers of dead samples wait in a list until no source holds them.
#include <AL/al.h>

#include <vector>

#include "audio/audio.h"

namespace {

std::vector<ALuint>& Discarded() {
  static std::vector<ALuint> names;
  return names;
}

}  // namespace

gxtkSample::gxtkSample() : buffer(0) {}
gxtkSample::gxtkSample(unsigned int buffer) : buffer(buffer) {}
gxtkSample::~gxtkSample() { gxtkSample::Discard(); }

void gxtkSample::SetBuffer(unsigned int name) { buffer = name; }

int gxtkSample::Discard() {
  if (buffer) {
    Discarded().push_back(buffer);
    buffer = 0;
  }
  return 0;
}

int DiscardedBufferCount() { return static_cast<int>(Discarded().size()); }

void gxtkAudio::FlushDiscarded() {
  std::vector<ALuint>& names = Discarded();
  if (names.empty()) return;
  // A stopped source can only be started again through PlaySample, which
  // attaches a buffer anew, so its current one is free to go. A music stream
  // keeps its queue: it may only have run dry.
  for (gxtkChannel& c : channels) {
    if (!c.source || (&c == &channels[kMusicChannel] && music)) continue;
    ALint state = AL_INITIAL;
    alGetSourcei(c.source, AL_SOURCE_STATE, &state);
    if (state == AL_STOPPED) alSourcei(c.source, AL_BUFFER, 0);
  }
  std::vector<ALuint> kept;
  for (ALuint name : names) {
    alGetError();  // an older error must not be taken for this deletion's
    alDeleteBuffers(1, &name);
    // Still attached somewhere: retry later. A name that is no buffer at all
    // (its context is gone) would never succeed and is dropped.
    ALenum error = alGetError();
    if (error != AL_NO_ERROR && error != AL_INVALID_NAME) kept.push_back(name);
  }
  names.swap(kept);
}
