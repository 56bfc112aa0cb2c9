// An Ogg Vorbis stream decoded a little at a time from its file, for music:
// only the pages not yet decoded and the decoder's own memory are held, never
// the whole sound. Each page is checked (capture pattern, length, checksum,
// stream) before the decoder sees it, so a stream damaged half-way ends there
// instead of playing noise, and its headers pass the same checks as the
// whole-file reader's (ogg_shared.h).
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

struct stb_vorbis;

// The checksum an Ogg page of `length` bytes must carry: CRC-32 with the
// polynomial 0x04c11db7, unreflected, from 0, over the page with its own
// checksum field taken as zero.
uint32_t ogg_page_checksum(const unsigned char* page, size_t length);

class OggStream {
 public:
  // The stream in `file`, which it owns from here on; null, with the file
  // closed, when the headers are missing, damaged or refused. Only the
  // headers are read: the decoder starts at the first Read (and should it
  // refuse the stream after all, Failed() holds from there).
  static std::unique_ptr<OggStream> Open(FILE* file);
  ~OggStream();
  OggStream(const OggStream&) = delete;
  OggStream& operator=(const OggStream&) = delete;

  int Channels() const { return channels_; }
  int Rate() const { return rate_; }

  // Decodes up to `frames` frames into `out`, interleaved 16-bit. With `loop`
  // the stream goes on from its first sample after its last, which the last
  // page's granule position places exactly. Returns the frames written: fewer
  // than asked only at the end of a stream that does not loop, or once the
  // stream turns out damaged, after which Failed() holds and nothing more
  // comes.
  size_t Read(short* out, size_t frames, bool loop);
  bool Failed() const { return failed_; }

 private:
  enum class Page { kRead, kEnd, kDamaged };

  explicit OggStream(FILE* file) : file_(file) {}
  bool ReadHeaders();
  bool ReadIdentification(const std::vector<unsigned char>& packet);
  bool OpenDecoder();
  Page ReadPage(std::vector<unsigned char>& into);
  void DecodeStep();
  void NeedMore();
  void NextPage();
  size_t CopyFrame(short* out, size_t frames);
  bool Restart();
  void ResumeAfterHeaders();

  FILE* file_;
  long audioStart_ = 0;                 // file offset past the header pages
  std::vector<unsigned char> headers_;  // the header pages, to start the decoder from
  size_t commentBytes_ = 0;             // the comment packet's length
  char* arena_ = nullptr;               // the decoder's memory
  int arenaBytes_ = 0;
  stb_vorbis* decoder_ = nullptr;       // lives in arena_
  // arena_ as it was right after the headers: copied back over it, it is the
  // decoder just opened, without the setup's work (the codebooks), so a loop
  // wraps in a pass that costs little more than any other.
  std::vector<char> opened_;
  size_t headersUsed_ = 0;              // bytes of headers_ the opening took
  std::vector<unsigned char> pending_;  // pages read and not yet wholly decoded
  size_t taken_ = 0;                    // bytes of pending_ the decoder has used
  float** frame_ = nullptr;             // the decoder's last frame, per channel
  int frameAt_ = 0, frameLength_ = 0;   // frames of it handed out, and in all
  uint32_t serial_ = 0;                 // the stream's serial number (first page)
  int64_t lastGranule_ = -1;            // granule position of the last page read that has one
  uint64_t handedOut_ = 0;              // frames handed out since the first sample
  uint64_t length_ = UINT64_MAX;        // frames in the stream, once its last page is read
  bool lastPageRead_ = false;           // no more pages to give the decoder
  bool ended_ = false;                  // every frame of this pass has been handed out
  bool failed_ = false;
  int channels_ = 0, rate_ = 0;
};
