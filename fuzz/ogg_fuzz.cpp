// Feeds arbitrary bytes to both Ogg Vorbis readers as if they were a file:
// each must fail or succeed without crashing or touching memory it does not
// own. The whole-file reader must return whole 16-bit frames of the channels
// it reports. The streaming reader (music) reads the bytes as they are, then
// again with every page's checksum made to hold, so that the damage reaches
// its header checks and the decoder instead of ending at the first page; it
// loops, so its restart is exercised too.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "audio/decode.h"
#include "audio/ogg_stream.h"

namespace {

// Frames the stream is read for: several passes over any small input, and a
// bounded run over a large one.
const size_t kStreamFrames = 1 << 15;

void whole_file(const uint8_t* data, size_t size) {
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!file) return;
  PcmData pcm;
  if (ogg_decode(file, &pcm)) {
    if (pcm.channels < 1 || pcm.bytesPerSample != 2 || pcm.frames < 0 || pcm.rate < 1 || !pcm.data) std::abort();
    size_t bytes = static_cast<size_t>(pcm.frames) * static_cast<size_t>(pcm.channels) * 2;
    if (bytes > static_cast<size_t>(INT_MAX)) std::abort();
    volatile unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i) sum = sum + pcm.data[i];
    std::free(pcm.data);
  } else if (pcm.data) {
    std::abort();  // a failure hands back nothing to free
  }
  std::fclose(file);
}

// The same bytes with each whole page's checksum recomputed.
std::vector<uint8_t> with_checksums(const uint8_t* data, size_t size) {
  std::vector<uint8_t> b(data, data + size);
  for (size_t at = 0; at + 27 <= b.size();) {
    size_t length = 27 + b[at + 26];
    for (size_t i = 0; i < b[at + 26] && at + 27 + i < b.size(); ++i) length += b[at + 27 + i];
    if (at + length > b.size()) break;
    uint32_t crc = ogg_page_checksum(&b[at], length);
    for (int i = 0; i < 4; ++i) b[at + 22 + i] = static_cast<uint8_t>(crc >> (8 * i));
    at += length;
  }
  return b;
}

void stream(const uint8_t* data, size_t size) {
  if (size == 0) return;  // fmemopen refuses an empty buffer
  std::unique_ptr<OggStream> s = OggStream::Open(fmemopen(const_cast<uint8_t*>(data), size, "rb"));
  if (!s) return;
  if (s->Channels() < 1 || s->Rate() < 1) std::abort();
  std::vector<short> block(4096 * static_cast<size_t>(s->Channels()));
  for (size_t read = 0; read < kStreamFrames;) {
    size_t n = s->Read(block.data(), 4096, true);
    if (n > 4096) std::abort();
    if (n < 4096) break;
    read += n;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  whole_file(data, size);
  stream(data, size);
  std::vector<uint8_t> fixed = with_checksums(data, size);
  stream(fixed.data(), fixed.size());
  return 0;
}
