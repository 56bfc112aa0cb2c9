// Streaming Ogg Vorbis: pages read and checked one at a time and handed to
// the decoder's push interface, frames converted as they are asked for, and
// the decoder put back as it was just opened when a loop wraps.
#include "audio/ogg_stream.h"

#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "audio/ogg_shared.h"

namespace {

const size_t kPageHeaderBytes = 27;
const unsigned char kFirstPageFlag = 2;
const unsigned char kLastPageFlag = 4;
// Headers larger than this (a long comment list, pictures in the comments)
// are refused: our music has a few kilobytes of them.
const size_t kMaxHeaderBytes = 1u << 20;
// A packet is a few kilobytes; one that spans more than this is damage.
const size_t kMaxPendingBytes = 1u << 20;

uint32_t le32(const unsigned char* b) {
  return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
         static_cast<uint32_t>(b[3]) << 24;
}

std::array<uint32_t, 256> crc_table() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t r = i << 24;
    for (int bit = 0; bit < 8; ++bit) r = r & 0x80000000u ? (r << 1) ^ 0x04c11db7u : r << 1;
    table[i] = r;
  }
  return table;
}

// A page's granule position: the frames decoded by the end of the last
// packet that ends on it, or -1 when none does.
int64_t granule(const unsigned char* page) {
  return static_cast<int64_t>(le32(page + 6) | static_cast<uint64_t>(le32(page + 10)) << 32);
}

}  // namespace

uint32_t ogg_page_checksum(const unsigned char* page, size_t length) {
  static const std::array<uint32_t, 256> table = crc_table();
  const size_t kCrcField = 22, kCrcEnd = 26;
  uint32_t crc = 0;
  for (size_t i = 0; i < length; ++i) {
    unsigned char byte = i >= kCrcField && i < kCrcEnd ? 0 : page[i];
    crc = (crc << 8) ^ table[(crc >> 24) ^ byte];
  }
  return crc;
}

std::unique_ptr<OggStream> OggStream::Open(FILE* file) {
  if (!file) return nullptr;
  std::unique_ptr<OggStream> stream(new OggStream(file));
  if (!stream->ReadHeaders()) return nullptr;
  return stream;
}

OggStream::~OggStream() {
  if (decoder_) stb_vorbis_close(decoder_);
  std::free(arena_);
  std::fclose(file_);
}

// Pages are read until the identification, comment and setup packets are
// whole, then checked; the decoder itself is opened by the first Read, so
// that opening a stream costs no more than reading its headers.
bool OggStream::ReadHeaders() {
  std::vector<OggBytes> packets;
  while (packets.size() < 3) {
    if (headers_.size() > kMaxHeaderBytes || ReadPage(headers_) != Page::kRead) return false;
    packets = ogg_first_packets(headers_, 3);
  }
  serial_ = le32(&headers_[14]);
  long at = std::ftell(file_);
  if (at < 0 || !(headers_[5] & kFirstPageFlag) || !ogg_headers_trusted(packets)) return false;
  audioStart_ = at;
  commentBytes_ = packets[1].size();
  return ReadIdentification(packets[0]);
}

// The identification header: Vorbis version 0, the channels and the rate,
// block sizes of 64 to 8192 samples, the short one no longer than the long,
// and the framing bit.
bool OggStream::ReadIdentification(const std::vector<unsigned char>& p) {
  const size_t kLength = 30;
  if (p.size() < kLength || p[0] != 1 || std::memcmp(&p[1], "vorbis", 6) != 0 || le32(&p[7]) != 0) return false;
  const int shortBlock = p[28] & 15, longBlock = p[28] >> 4;
  channels_ = p[11];
  uint32_t rate = le32(&p[12]);
  rate_ = rate <= INT_MAX ? static_cast<int>(rate) : 0;
  return channels_ > 0 && rate_ > 0 && shortBlock >= 6 && shortBlock <= longBlock && longBlock <= 13 && (p[29] & 1);
}

// Opens the decoder over the header pages, in memory sized for them. Only
// once: a loop's wrap copies the opened decoder back (Restart).
bool OggStream::OpenDecoder() {
  int used = 0;
  auto open = [this, &used](const stb_vorbis_alloc& alloc, int* failure) {
    return stb_vorbis_open_pushdata(headers_.data(), static_cast<int>(headers_.size()), &used, failure, &alloc);
  };
  decoder_ = ogg_open_in_arena(commentBytes_, open, arena_, &arenaBytes_);
  if (!decoder_) return false;
  headersUsed_ = static_cast<size_t>(used);
  ResumeAfterHeaders();
  stb_vorbis_info info = stb_vorbis_get_info(decoder_);
  if (info.channels != channels_ || info.sample_rate != static_cast<unsigned>(rate_)) return false;
  // Every pointer of the decoder's points into the arena, which stays where
  // it is: its bytes are its whole state.
  opened_.assign(arena_, arena_ + arenaBytes_);
  return true;
}

// Appends the next page to `into` once its header, segment table and body are
// all there and its checksum holds. kEnd when the file ends where a page would
// start; kDamaged for anything else that is not a whole, sound page.
OggStream::Page OggStream::ReadPage(std::vector<unsigned char>& into) {
  unsigned char head[kPageHeaderBytes + 255];
  size_t got = std::fread(head, 1, kPageHeaderBytes, file_);
  if (got == 0 && std::feof(file_)) return Page::kEnd;
  if (got != kPageHeaderBytes || le32(head) != le32(reinterpret_cast<const unsigned char*>("OggS")) || head[4] != 0)
    return Page::kDamaged;
  size_t segments = head[26];
  if (std::fread(head + kPageHeaderBytes, 1, segments, file_) != segments) return Page::kDamaged;
  size_t body = 0;
  for (size_t i = 0; i < segments; ++i) body += head[kPageHeaderBytes + i];
  size_t start = into.size(), headerBytes = kPageHeaderBytes + segments;
  into.insert(into.end(), head, head + headerBytes);
  into.resize(start + headerBytes + body);
  if (std::fread(&into[start + headerBytes], 1, body, file_) != body) return Page::kDamaged;
  if (ogg_page_checksum(&into[start], headerBytes + body) != le32(&into[start + 22])) return Page::kDamaged;
  return Page::kRead;
}

size_t OggStream::Read(short* out, size_t frames, bool loop) {
  if (!decoder_ && !failed_ && !OpenDecoder()) failed_ = true;
  size_t written = 0;
  while (written < frames && !failed_) {
    if (frameAt_ < frameLength_) {
      written += CopyFrame(out + written * static_cast<size_t>(channels_), frames - written);
    } else if (ended_) {
      // A stream that gave nothing at all would wrap for ever.
      if (!loop || handedOut_ == 0 || !Restart()) break;
    } else {
      DecodeStep();
    }
  }
  return written;
}

// Hands out what is left of the decoded frame, as much as fits, never past
// the stream's length.
size_t OggStream::CopyFrame(short* out, size_t frames) {
  size_t n = static_cast<size_t>(frameLength_ - frameAt_);
  if (n > frames) n = frames;
  if (n > length_ - handedOut_) n = static_cast<size_t>(length_ - handedOut_);
  for (size_t i = 0; i < n; ++i, ++frameAt_)
    for (int ch = 0; ch < channels_; ++ch) *out++ = ogg_sample(frame_[ch][frameAt_]);
  handedOut_ += n;
  if (handedOut_ == length_) {
    ended_ = true;
    frameAt_ = frameLength_;  // the padding of the last packet
  }
  return n;
}

// One call into the decoder: a frame, a packet that gives none, or the need
// for another page. Any error of the decoder's is damage: every page it sees
// has passed its checks, so the packets themselves are wrong.
void OggStream::DecodeStep() {
  // The decoder is never handed nothing (its checks would do arithmetic on a
  // null pointer): with every byte taken, the next page comes first.
  if (taken_ == pending_.size()) return NeedMore();
  float** output = nullptr;
  int samples = 0;
  int used = stb_vorbis_decode_frame_pushdata(decoder_, pending_.data() + taken_,
                                              static_cast<int>(pending_.size() - taken_), nullptr, &output, &samples);
  int error = stb_vorbis_get_error(decoder_);
  if (error != VORBIS__no_error && error != VORBIS_need_more_data) {
    failed_ = true;
    return;
  }
  taken_ += static_cast<size_t>(used);
  if (samples > 0) {
    frame_ = output;
    frameAt_ = 0;
    frameLength_ = samples;
  } else if (used == 0) {
    NeedMore();
  }
}

void OggStream::NeedMore() {
  if (lastPageRead_)
    ended_ = true;
  else
    NextPage();
}

// Reads the next page behind what the decoder still needs; the last page
// (or the end of the file) fixes the stream's length.
void OggStream::NextPage() {
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(taken_));
  taken_ = 0;
  size_t start = pending_.size();
  Page page = start > kMaxPendingBytes ? Page::kDamaged : ReadPage(pending_);
  if (page == Page::kRead && le32(&pending_[start + 14]) != serial_) page = Page::kDamaged;
  if (page == Page::kDamaged) {
    failed_ = true;
    return;
  }
  bool last = page == Page::kEnd || (pending_[start + 5] & kLastPageFlag);
  if (page == Page::kRead) {
    int64_t position = granule(&pending_[start]);
    if (position >= 0) lastGranule_ = position;
  }
  if (!last) return;
  lastPageRead_ = true;
  if (lastGranule_ >= 0) length_ = static_cast<uint64_t>(lastGranule_);
}

// Back to the first sample: the decoder as it was when just opened over the
// header pages, reading again from the first audio page.
bool OggStream::Restart() {
  frameAt_ = frameLength_ = 0;
  handedOut_ = 0;
  lastPageRead_ = ended_ = false;
  if (std::fseek(file_, audioStart_, SEEK_SET) != 0) {
    failed_ = true;
    return false;
  }
  std::memcpy(arena_, opened_.data(), opened_.size());
  ResumeAfterHeaders();
  return true;
}

// The decoder's next bytes: what the header pages hold past the headers.
void OggStream::ResumeAfterHeaders() {
  pending_.assign(headers_.begin() + static_cast<long>(headersUsed_), headers_.end());
  taken_ = 0;
}
