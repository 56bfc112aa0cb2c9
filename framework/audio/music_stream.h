// Music streamed to one OpenAL source through a short queue of buffers: the
// source plays the queue while the main loop takes back the buffers it has
// played and refills them from the Ogg stream, so only a few tenths of a
// second of samples are ever decoded ahead.
#pragma once

#include <memory>
#include <vector>

#include "audio/ogg_stream.h"

class MusicStream {
 public:
  static constexpr int kBuffers = 5;
  // Frames per buffer: about 93 ms at 44.1 kHz, so the queue holds about
  // 460 ms, enough to ride out a main loop stalled for 100 ms and more.
  static constexpr int kBufferFrames = 4096;
  // Frames decoded a call while the queue is well ahead: a Vorbis packet or
  // so, about a tenth of a millisecond of work. At 60 calls a second that is
  // 61 440 frames, more than a 44.1 kHz stream plays, so the queue keeps up.
  static constexpr int kFeedFrames = 1024;
  // Fewer buffers queued than this, and a whole buffer is decoded at once.
  // A browser may give the loop 30 frames a second or fewer, where the
  // trickle alone falls behind: then whole buffers keep three or more
  // (280 ms at 44.1 kHz) queued ahead, so a late frame is no gap.
  static constexpr int kLowWater = 4;

  // Plays `ogg` on `source` (an OpenAL source name), which it has to itself
  // from here on. Nothing is decoded yet: Feed starts the source.
  MusicStream(std::unique_ptr<OggStream> ogg, bool loop, unsigned source);
  // Stops the source and takes its queue back; the buffers are deleted.
  ~MusicStream();
  MusicStream(const MusicStream&) = delete;
  MusicStream& operator=(const MusicStream&) = delete;

  // 1 or 2 channels of 16-bit samples: what an OpenAL buffer takes.
  static bool Playable(const OggStream& ogg) { return ogg.Channels() == 1 || ogg.Channels() == 2; }

  // Takes back the buffers the source has played, decodes the next stretch
  // into the buffer being filled (kFeedFrames, or the rest of the buffer while
  // the queue is low) and queues it once full; starts the source when it has
  // run dry or has not started yet.
  void Feed();
  // The file turned out damaged: nothing more will be queued.
  bool Failed() const { return ogg_->Failed(); }
  // A source that has stopped with more still to come has run dry, and Feed
  // starts it again; otherwise it has played the whole stream.
  bool MoreToCome() const { return !ended_ && !ogg_->Failed(); }

 private:
  void Decode(int frames);
  void QueueFilled();

  std::unique_ptr<OggStream> ogg_;
  bool loop_;
  unsigned source_;
  int format_;
  std::vector<unsigned> spare_;  // buffers out of the queue, to fill next
  std::vector<unsigned> all_;    // every buffer, for deletion
  std::vector<short> pcm_;       // the samples of the buffer being filled
  int filled_ = 0;               // frames of it decoded so far
  bool ended_ = false;           // the stream (not looping) has given its last frame
};
