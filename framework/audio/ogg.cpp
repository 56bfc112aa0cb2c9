// Ogg Vorbis decoding of a whole file to interleaved 16-bit samples, after a
// check of the comment header and the setup header's codebooks, which the
// decoder itself trusts.
#include <climits>
#include <cstdlib>
#include <vector>

#include "audio/decode.h"
#include "audio/ogg_shared.h"

namespace {

// Values per channel the buffer starts with and keeps free for the next frame;
// a Vorbis frame never exceeds this.
const size_t kFrameRoom = 4096;
// Larger files are refused: a sound is read whole into memory first.
const size_t kMaxFileBytes = 64u << 20;

using Bytes = OggBytes;

// The whole file, or nothing when it cannot be read or is too large.
Bytes read_all(FILE* file) {
  Bytes bytes;
  unsigned char block[65536];
  size_t n;
  while ((n = std::fread(block, 1, sizeof block, file)) > 0) {
    if (bytes.size() + n > kMaxFileBytes) return Bytes();
    bytes.insert(bytes.end(), block, block + n);
  }
  return bytes;
}

// Decodes the next frame into `out`, interleaved, at most `room` values per
// channel; the values decoded (per channel), 0 at the end of the stream.
size_t next_frame(stb_vorbis* v, size_t channels, short* out, size_t room) {
  float** decoded = nullptr;
  int got = stb_vorbis_get_frame_float(v, nullptr, &decoded);
  size_t n = got > 0 ? static_cast<size_t>(got) : 0;
  if (n > room) n = room;
  for (size_t i = 0; i < n; ++i)
    for (size_t ch = 0; ch < channels; ++ch) *out++ = ogg_sample(decoded[ch][i]);
  return n;
}

// Decodes every frame into a buffer that doubles as it fills (from
// kFrameRoom values per channel); null when it cannot grow.
short* decode_all(stb_vorbis* v, size_t c, size_t* frames) {
  size_t capacity = c * kFrameRoom;  // in 16-bit values
  size_t written = 0;
  short* buffer = static_cast<short*>(std::malloc(capacity * sizeof(short)));
  *frames = 0;
  while (buffer) {
    size_t n = next_frame(v, c, buffer + written, (capacity - written) / c);
    if (n == 0) return buffer;
    *frames += n;
    written += n * c;
    if (capacity - written >= c * kFrameRoom) continue;
    // The whole sound must stay addressable as one int-sized buffer.
    short* grown = nullptr;
    if (capacity <= static_cast<size_t>(INT_MAX) / sizeof(short) / 2) {
      capacity *= 2;
      grown = static_cast<short*>(std::realloc(buffer, capacity * sizeof(short)));
    }
    if (!grown) std::free(buffer);
    buffer = grown;
  }
  return nullptr;
}

}  // namespace

bool ogg_decode(FILE* file, PcmData* out) {
  *out = PcmData();
  Bytes bytes = read_all(file);
  // The identification, comment and setup headers, whole.
  std::vector<Bytes> headers = ogg_first_packets(bytes, 3);
  if (bytes.empty() || bytes.size() > INT_MAX || !ogg_headers_trusted(headers)) return false;
  char* arena = nullptr;
  int arenaBytes = 0;
  auto open = [&bytes](const stb_vorbis_alloc& alloc, int* error) {
    return stb_vorbis_open_memory(bytes.data(), static_cast<int>(bytes.size()), error, &alloc);
  };
  stb_vorbis* v = ogg_open_in_arena(headers[1].size(), open, arena, &arenaBytes);
  stb_vorbis_info info = v ? stb_vorbis_get_info(v) : stb_vorbis_info{};
  const size_t c = static_cast<size_t>(info.channels);
  size_t frames = 0;
  short* buffer = nullptr;
  if (c > 0 && info.sample_rate > 0 && info.sample_rate <= INT_MAX) buffer = decode_all(v, c, &frames);
  if (v) stb_vorbis_close(v);
  std::free(arena);
  if (!buffer) return false;
  out->data = reinterpret_cast<unsigned char*>(buffer);
  out->frames = static_cast<int>(frames);
  out->channels = info.channels;
  out->bytesPerSample = 2;
  out->rate = static_cast<int>(info.sample_rate);
  return true;
}
