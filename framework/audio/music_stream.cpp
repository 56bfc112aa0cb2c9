// The music channel's buffer queue: buffers taken back once played, refilled
// from the stream and queued again behind the ones still playing.
#include "audio/music_stream.h"

#include <AL/al.h>

MusicStream::MusicStream(std::unique_ptr<OggStream> ogg, bool loop, unsigned source)
    : ogg_(std::move(ogg)), loop_(loop), source_(source) {
  format_ = ogg_->Channels() == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
  all_.resize(kBuffers);
  alGenBuffers(kBuffers, all_.data());
  spare_ = all_;
  pcm_.resize(static_cast<size_t>(kBufferFrames) * static_cast<size_t>(ogg_->Channels()));
  // A sample played on the channel before leaves its buffer attached; the
  // stream loops by itself (a looping source would never report a buffer as
  // played).
  alSourceStop(source_);
  alSourcei(source_, AL_BUFFER, 0);
  alSourcei(source_, AL_LOOPING, AL_FALSE);
}

MusicStream::~MusicStream() {
  alSourceStop(source_);
  // Stopped, every queued buffer counts as played and can be taken back.
  ALint processed = 0;
  alGetSourcei(source_, AL_BUFFERS_PROCESSED, &processed);
  for (; processed > 0; --processed) {
    ALuint buffer = 0;
    alSourceUnqueueBuffers(source_, 1, &buffer);
  }
  alSourcei(source_, AL_BUFFER, 0);
  alDeleteBuffers(static_cast<ALsizei>(all_.size()), all_.data());
}

// The state is read before the played count: a source that stops between the
// two readings is started again only at the next call, never with buffers
// it has already played still in its queue.
void MusicStream::Feed() {
  ALint state = AL_INITIAL, processed = 0, queued = 0;
  alGetSourcei(source_, AL_SOURCE_STATE, &state);
  alGetSourcei(source_, AL_BUFFERS_PROCESSED, &processed);
  for (; processed > 0; --processed) {
    ALuint buffer = 0;
    alSourceUnqueueBuffers(source_, 1, &buffer);
    spare_.push_back(buffer);
  }
  if (!spare_.empty() && MoreToCome() && Fill(spare_.back())) {
    alSourceQueueBuffers(source_, 1, &spare_.back());
    spare_.pop_back();
  }
  alGetSourcei(source_, AL_BUFFERS_QUEUED, &queued);
  if (state != AL_PLAYING && state != AL_PAUSED && queued > 0) alSourcePlay(source_);
}

// The next stretch of the stream into `buffer`; false when there is none.
bool MusicStream::Fill(unsigned buffer) {
  size_t frames = ogg_->Read(pcm_.data(), kBufferFrames, loop_);
  if (frames < static_cast<size_t>(kBufferFrames) && !ogg_->Failed()) ended_ = true;
  if (frames == 0 || ogg_->Failed()) return false;
  size_t bytes = frames * static_cast<size_t>(ogg_->Channels()) * sizeof(short);
  alBufferData(buffer, format_, pcm_.data(), static_cast<ALsizei>(bytes), ogg_->Rate());
  return true;
}
