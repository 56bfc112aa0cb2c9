// The music channel's buffer queue: buffers taken back once played, refilled
// from the stream and queued again behind the ones still playing.
#include "audio/music_stream.h"

#include <AL/al.h>

#include <algorithm>

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
  alGetSourcei(source_, AL_BUFFERS_QUEUED, &queued);
  if (!spare_.empty() && MoreToCome()) {
    Decode(queued < kLowWater ? kBufferFrames - filled_ : std::min(kFeedFrames, kBufferFrames - filled_));
    if (filled_ > 0 && (filled_ == kBufferFrames || ended_)) {
      QueueFilled();
      ++queued;
    }
  }
  if (state != AL_PLAYING && state != AL_PAUSED && queued > 0) alSourcePlay(source_);
}

// The next `frames` of the stream into the buffer being filled.
void MusicStream::Decode(int frames) {
  short* at = pcm_.data() + static_cast<size_t>(filled_) * static_cast<size_t>(ogg_->Channels());
  size_t got = ogg_->Read(at, static_cast<size_t>(frames), loop_);
  filled_ += static_cast<int>(got);
  if (got < static_cast<size_t>(frames) && !ogg_->Failed()) ended_ = true;
}

void MusicStream::QueueFilled() {
  size_t bytes = static_cast<size_t>(filled_) * static_cast<size_t>(ogg_->Channels()) * sizeof(short);
  alBufferData(spare_.back(), format_, pcm_.data(), static_cast<ALsizei>(bytes), ogg_->Rate());
  alSourceQueueBuffers(source_, 1, &spare_.back());
  spare_.pop_back();
  filled_ = 0;
}
