// A recording stand-in for OpenAL: keeps every source and buffer the program
// creates with their properties and play state, logs play, pause and stop calls,
// and answers state queries. Sources never run out by themselves; a test ends a
// one-shot sound with finish(), and plays a streaming source's queued buffers
// with play_queued(), which keeps what they held as the source's output.
#pragma once

#include <AL/al.h>

#include <map>
#include <string>
#include <vector>

namespace fakeal {

struct Source {
  ALuint buffer = 0;
  float gain = 1, pitch = 1;
  float position[3] = {0, 0, 0};
  bool looping = false;
  ALint state = AL_INITIAL;
  int plays = 0;  // alSourcePlay calls
  // Streaming: the buffer queue, oldest first, and how many of its first
  // buffers have been played.
  std::vector<ALuint> queue;
  size_t processed = 0;
  // The data of every queued buffer played, in the order played.
  std::vector<unsigned char> heard;
};

struct Buffer {
  ALenum format = 0;
  ALsizei frequency = 0;
  std::vector<unsigned char> data;  // as last given to alBufferData
  bool filled = false;              // alBufferData accepted
};

// One alSourcePlay call with the source's properties at that moment.
struct PlayEvent {
  ALuint source;
  ALuint buffer;
  float gain, pitch, pan;
  bool looping;
  bool resumed;  // it was paused: the sound goes on rather than restarting
};

struct State {
  ALenum distance_model = AL_INVERSE_DISTANCE_CLAMPED;
  std::map<ALuint, Source> sources;  // live sources by name
  std::map<ALuint, Buffer> buffers;  // live buffers by name
  std::vector<ALuint> deleted_buffers;
  std::vector<PlayEvent> plays;
  // Every state-changing call in order, e.g. "play 1", "stop 1", "buffer 1 1001".
  std::vector<std::string> log;
  ALenum error = AL_NO_ERROR;  // pending, as alGetError would report it
  ALuint next_source = 1;
  ALuint next_buffer = 1001;  // apart from source names, so mix-ups show
};

State& state();
void reset();

// The sound on `source` has run out: a playing, non-looping source stops.
void finish(ALuint source);
// Every playing one-shot runs out.
void finish_all();
// A playing source plays up to `buffers` more of its queued buffers: their
// data is appended to its `heard`, they count as processed, and a source
// that reaches the end of its queue stops. Returns the buffers played.
int play_queued(ALuint source, int buffers);

// The source or buffer of that name; fails the calling test through a null
// return when it does not exist.
Source* source(ALuint name);
Buffer* buffer(ALuint name);

// Number of log entries that start with `prefix`.
int count(const std::string& prefix);

}  // namespace fakeal
