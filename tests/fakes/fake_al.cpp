// Recording stand-in for the AL entry points the audio device uses. It follows
// OpenAL 1.1 where the device depends on it: buffers attached to or queued on
// any source can be neither deleted nor refilled, a buffer cannot be swapped
// under a playing or paused source, a source without a buffer stops at once
// when played, only played buffers can leave a queue, a stopped source counts
// its whole queue as played and plays it again from the start.
#include "fake_al.h"

#include <cstring>

namespace fakeal {

namespace {

void set_error(ALenum e) {
  if (state().error == AL_NO_ERROR) state().error = e;
}

void log(const std::string& what, ALuint a, ALuint b = 0) {
  std::string line = what + " " + std::to_string(a);
  if (b) line += " " + std::to_string(b);
  state().log.push_back(line);
}

bool attached(ALuint buffer) {
  for (auto& s : state().sources) {
    if (s.second.buffer == buffer) return true;
    for (ALuint queued : s.second.queue)
      if (queued == buffer) return true;
  }
  return false;
}

bool has_data(ALuint name) {
  const Buffer* b = buffer(name);
  return b && !b->data.empty();
}

int format_bytes(ALenum format) {
  switch (format) {
    case AL_FORMAT_MONO8:
      return 1;
    case AL_FORMAT_MONO16:
    case AL_FORMAT_STEREO8:
      return 2;
    case AL_FORMAT_STEREO16:
      return 4;
  }
  return 0;
}

}  // namespace

State& state() {
  static State s;
  return s;
}

void reset() { state() = State(); }

void finish(ALuint name) {
  Source* s = source(name);
  if (!s || s->state != AL_PLAYING || s->looping) return;
  if (!s->queue.empty()) play_queued(name, static_cast<int>(s->queue.size()));
  s->state = AL_STOPPED;
}

int play_queued(ALuint name, int buffers) {
  Source* s = source(name);
  if (!s || s->state != AL_PLAYING) return 0;
  int played = 0;
  for (; played < buffers && s->processed < s->queue.size(); ++played) {
    const Buffer* b = buffer(s->queue[s->processed++]);
    if (b) s->heard.insert(s->heard.end(), b->data.begin(), b->data.end());
  }
  if (s->processed == s->queue.size()) s->state = AL_STOPPED;
  return played;
}

void finish_all() {
  for (auto& s : state().sources) finish(s.first);
}

Source* source(ALuint name) {
  auto it = state().sources.find(name);
  return it == state().sources.end() ? nullptr : &it->second;
}

Buffer* buffer(ALuint name) {
  auto it = state().buffers.find(name);
  return it == state().buffers.end() ? nullptr : &it->second;
}

int count(const std::string& prefix) {
  int n = 0;
  for (const std::string& line : state().log)
    if (line.compare(0, prefix.size(), prefix) == 0) ++n;
  return n;
}

}  // namespace fakeal

using fakeal::state;

extern "C" {

ALenum alGetError(void) {
  ALenum e = state().error;
  state().error = AL_NO_ERROR;
  return e;
}

void alDistanceModel(ALenum model) { state().distance_model = model; }

void alGenSources(ALsizei n, ALuint* names) {
  for (ALsizei i = 0; i < n; ++i) {
    names[i] = state().next_source++;
    state().sources[names[i]] = fakeal::Source();
    fakeal::log("gensource", names[i]);
  }
}

void alDeleteSources(ALsizei n, const ALuint* names) {
  for (ALsizei i = 0; i < n; ++i) state().sources.erase(names[i]);
}

void alGenBuffers(ALsizei n, ALuint* names) {
  for (ALsizei i = 0; i < n; ++i) {
    names[i] = state().next_buffer++;
    state().buffers[names[i]] = fakeal::Buffer();
    fakeal::log("genbuffer", names[i]);
  }
}

void alDeleteBuffers(ALsizei n, const ALuint* names) {
  for (ALsizei i = 0; i < n; ++i) {
    if (names[i] == 0) continue;
    if (!fakeal::buffer(names[i])) return fakeal::set_error(AL_INVALID_NAME);
    if (fakeal::attached(names[i])) return fakeal::set_error(AL_INVALID_OPERATION);
  }
  for (ALsizei i = 0; i < n; ++i) {
    if (names[i] == 0) continue;
    state().buffers.erase(names[i]);
    state().deleted_buffers.push_back(names[i]);
    fakeal::log("deletebuffer", names[i]);
  }
}

void alBufferData(ALuint name, ALenum format, const ALvoid* data, ALsizei size, ALsizei frequency) {
  fakeal::Buffer* b = fakeal::buffer(name);
  if (!b) return fakeal::set_error(AL_INVALID_NAME);
  if (fakeal::attached(name)) return fakeal::set_error(AL_INVALID_OPERATION);
  int frame = fakeal::format_bytes(format);
  if (!frame) return fakeal::set_error(AL_INVALID_ENUM);
  if (size < 0 || size % frame != 0 || frequency <= 0) return fakeal::set_error(AL_INVALID_VALUE);
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  b->format = format;
  b->frequency = frequency;
  b->data.assign(bytes, bytes + size);
  b->filled = true;
  fakeal::log("bufferdata", name);
}

void alSourcei(ALuint name, ALenum param, ALint value) {
  fakeal::Source* s = fakeal::source(name);
  if (!s) return fakeal::set_error(AL_INVALID_NAME);
  switch (param) {
    case AL_BUFFER: {
      ALuint b = static_cast<ALuint>(value);
      if (s->state == AL_PLAYING || s->state == AL_PAUSED) return fakeal::set_error(AL_INVALID_OPERATION);
      if (b && !fakeal::buffer(b)) return fakeal::set_error(AL_INVALID_VALUE);
      s->buffer = b;
      s->queue.clear();  // a buffer set (or none) replaces the whole queue
      s->processed = 0;
      fakeal::log("buffer", name, b);
      return;
    }
    case AL_LOOPING:
      s->looping = value != 0;
      return;
  }
  fakeal::set_error(AL_INVALID_ENUM);
}

void alSourcef(ALuint name, ALenum param, ALfloat value) {
  fakeal::Source* s = fakeal::source(name);
  if (!s) return fakeal::set_error(AL_INVALID_NAME);
  switch (param) {
    case AL_GAIN:
      s->gain = value;
      return;
    case AL_PITCH:
      s->pitch = value;
      return;
  }
  fakeal::set_error(AL_INVALID_ENUM);
}

void alSource3f(ALuint name, ALenum param, ALfloat x, ALfloat y, ALfloat z) {
  fakeal::Source* s = fakeal::source(name);
  if (!s) return fakeal::set_error(AL_INVALID_NAME);
  if (param != AL_POSITION) return fakeal::set_error(AL_INVALID_ENUM);
  s->position[0] = x;
  s->position[1] = y;
  s->position[2] = z;
}

void alGetSourcei(ALuint name, ALenum param, ALint* value) {
  fakeal::Source* s = fakeal::source(name);
  if (!s) return fakeal::set_error(AL_INVALID_NAME);
  switch (param) {
    case AL_SOURCE_STATE:
      *value = s->state;
      return;
    case AL_BUFFER:
      *value = static_cast<ALint>(s->buffer);
      return;
    case AL_LOOPING:
      *value = s->looping;
      return;
    case AL_BUFFERS_QUEUED:
      *value = static_cast<ALint>(s->queue.size());
      return;
    case AL_BUFFERS_PROCESSED:
      *value = s->looping ? 0 : static_cast<ALint>(s->processed);
      return;
  }
  fakeal::set_error(AL_INVALID_ENUM);
}

void alSourceQueueBuffers(ALuint name, ALsizei n, const ALuint* buffers) {
  fakeal::Source* s = fakeal::source(name);
  if (!s) return fakeal::set_error(AL_INVALID_NAME);
  if (s->buffer) return fakeal::set_error(AL_INVALID_OPERATION);  // a static source
  for (ALsizei i = 0; i < n; ++i)
    if (!fakeal::buffer(buffers[i])) return fakeal::set_error(AL_INVALID_NAME);
  for (ALsizei i = 0; i < n; ++i) {
    s->queue.push_back(buffers[i]);
    fakeal::log("queue", name, buffers[i]);
  }
}

void alSourceUnqueueBuffers(ALuint name, ALsizei n, ALuint* buffers) {
  fakeal::Source* s = fakeal::source(name);
  if (!s) return fakeal::set_error(AL_INVALID_NAME);
  if (n < 0 || static_cast<size_t>(n) > s->processed) return fakeal::set_error(AL_INVALID_VALUE);
  for (ALsizei i = 0; i < n; ++i) {
    buffers[i] = s->queue.front();
    s->queue.erase(s->queue.begin());
    --s->processed;
    fakeal::log("unqueue", name, buffers[i]);
  }
}

void alSourcePlay(ALuint name) {
  fakeal::Source* s = fakeal::source(name);
  if (!s) return fakeal::set_error(AL_INVALID_NAME);
  bool resumed = s->state == AL_PAUSED;
  if (!resumed) s->processed = 0;  // a queue plays again from its start
  ++s->plays;
  ALuint heard = s->queue.empty() ? s->buffer : s->queue[s->processed];
  state().plays.push_back({name, heard, s->gain, s->pitch, s->position[0], s->looping, resumed});
  fakeal::log("play", name);
  bool sound = s->queue.empty() ? fakeal::has_data(s->buffer) : s->processed < s->queue.size();
  s->state = sound ? AL_PLAYING : AL_STOPPED;
}

void alSourcePause(ALuint name) {
  fakeal::Source* s = fakeal::source(name);
  if (!s) return fakeal::set_error(AL_INVALID_NAME);
  fakeal::log("pause", name);
  if (s->state == AL_PLAYING) s->state = AL_PAUSED;
}

void alSourceStop(ALuint name) {
  fakeal::Source* s = fakeal::source(name);
  if (!s) return fakeal::set_error(AL_INVALID_NAME);
  fakeal::log("stop", name);
  s->state = AL_STOPPED;
  s->processed = s->queue.size();
}

}  // extern "C"
