// RIFF WAVE reader for integer PCM. The header is read field by field from the
// front; then chunks are walked until "data". Every size taken from the file is
// checked against what the file still holds before anything is allocated.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "audio/decode.h"

namespace {

class WavReader {
 public:
  explicit WavReader(FILE* file) : file_(file) {
    long start = std::ftell(file);
    if (start >= 0 && std::fseek(file, 0, SEEK_END) == 0) {
      long end = std::ftell(file);
      if (end >= start && std::fseek(file, start, SEEK_SET) == 0) remaining_ = static_cast<uint64_t>(end - start);
    }
  }

  uint64_t remaining() const { return remaining_; }
  bool at_end() const { return std::feof(file_) != 0; }

  bool bytes(void* out, size_t n) {
    size_t got = std::fread(out, 1, n, file_);
    remaining_ -= got <= remaining_ ? got : remaining_;
    return got == n;
  }

  bool u16(uint32_t* out) {
    unsigned char b[2];
    if (!bytes(b, 2)) return false;
    *out = b[0] | (b[1] << 8);
    return true;
  }

  bool u32(uint32_t* out) {
    unsigned char b[4];
    if (!bytes(b, 4)) return false;
    *out = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
    return true;
  }

  // Compares a whole four-character identifier.
  bool id(const char* expected) {
    char b[4];
    return bytes(b, 4) && std::memcmp(b, expected, 4) == 0;
  }

  // Drops n bytes; false when the file does not hold that many.
  bool skip(uint64_t n) {
    if (n > remaining_) return false;
    if (std::fseek(file_, static_cast<long>(n), SEEK_CUR) != 0) return false;
    remaining_ -= n;
    return true;
  }

 private:
  FILE* file_;
  uint64_t remaining_ = 0;
};

const uint32_t kFormatPcm = 1;

}  // namespace

bool wav_decode(FILE* file, PcmData* out) {
  *out = PcmData();
  WavReader in(file);
  uint32_t riff_size, fmt_size, format, channels, rate, byte_rate, block_align, bits;
  if (!in.id("RIFF") || !in.u32(&riff_size) || !in.id("WAVE")) return false;
  if (!in.id("fmt ") || !in.u32(&fmt_size)) return false;
  // Float and extensible files are refused: only plain integer PCM plays.
  if (!in.u16(&format) || format != kFormatPcm) return false;
  if (!in.u16(&channels) || !in.u32(&rate) || !in.u32(&byte_rate) || !in.u16(&block_align) || !in.u16(&bits))
    return false;
  if (fmt_size > 16 && !in.skip(fmt_size - 16)) return false;
  int bytes_per_sample = static_cast<int>(bits / 8);
  if (channels == 0 || bytes_per_sample == 0) return false;

  for (;;) {
    char chunk[4] = {};
    if (!in.bytes(chunk, 4)) std::memset(chunk, 0, sizeof chunk);
    if (in.at_end()) return false;
    uint32_t size = 0xffffffffu;
    in.u32(&size);
    if (std::memcmp(chunk, "data", 4) != 0) {
      if (!in.skip(size)) return false;
      continue;
    }
    // Frame counts and buffer sizes downstream are ints.
    if (size > in.remaining() || size > static_cast<uint32_t>(INT32_MAX)) return false;
    // One spare byte so an empty data chunk still gives a valid block.
    unsigned char* data = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size) + 1));
    if (!data) return false;
    if (!in.bytes(data, size)) {
      std::free(data);
      return false;
    }
    out->data = data;
    out->channels = static_cast<int>(channels);
    out->bytesPerSample = bytes_per_sample;
    out->frames = static_cast<int>(size / (channels * static_cast<uint32_t>(bytes_per_sample)));
    out->rate = static_cast<int>(rate);
    return true;
  }
}
