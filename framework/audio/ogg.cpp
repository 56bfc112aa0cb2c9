// Ogg Vorbis decoding of a whole file to interleaved 16-bit samples, after a
// check of the comment header and the setup header's codebooks, which the
// decoder itself trusts.
#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "audio/decode.h"
#include "audio/vorbis_setup.h"

namespace {

// Values per channel the buffer starts with and keeps free for the next frame;
// a Vorbis frame never exceeds this.
const size_t kFrameRoom = 4096;
// Larger files are refused: a sound is read whole into memory first.
const size_t kMaxFileBytes = 64u << 20;
// The decoder's working memory, tried at this size first and doubled up to the
// cap while the decoder asks for more.
const int kFirstArenaBytes = 256 << 10;
const int kMaxArenaBytes = 32 << 20;

using Bytes = std::vector<unsigned char>;

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

// The first `count` packets, joined from the segments of the pages in file
// order (a segment of 255 bytes continues its packet), as the decoder joins
// them: a page not marked as continuing a packet ends the one still open
// there. Fewer when the pages run out; none when they are malformed, or when
// a page marked as continuing one opens a packet, which the decoder refuses.
std::vector<Bytes> first_packets(const Bytes& file, size_t count) {
  const unsigned char kContinued = 1;
  std::vector<Bytes> packets(1);
  bool midPacket = false;  // the last segment was 255 bytes long
  size_t at = 0;
  while (packets.size() <= count && at + 27 <= file.size()) {
    if (file[at] != 'O' || file[at + 1] != 'g' || file[at + 2] != 'g' || file[at + 3] != 'S') break;
    const bool continued = (file[at + 5] & kContinued) != 0;
    if (continued && !midPacket) return {};
    if (midPacket && !continued) packets.emplace_back();
    size_t segments = file[at + 26], data = at + 27 + segments;
    if (data > file.size()) break;
    for (size_t i = 0; i < segments && packets.size() <= count; ++i) {
      size_t length = file[at + 27 + i];
      if (data + length > file.size()) return {};
      packets.back().insert(packets.back().end(), file.begin() + static_cast<long>(data),
                            file.begin() + static_cast<long>(data + length));
      data += length;
      midPacket = length == 255;
      if (!midPacket) packets.emplace_back();
    }
    at = data;
  }
  packets.pop_back();  // the one still open
  return packets;
}

// Reads a little-endian 32-bit length at `at`, moving past it; false when
// the packet ends first.
bool read_length(const Bytes& p, size_t& at, uint64_t& value) {
  if (at + 4 > p.size()) return false;
  value = static_cast<uint64_t>(p[at]) | static_cast<uint64_t>(p[at + 1]) << 8 | static_cast<uint64_t>(p[at + 2]) << 16 |
          static_cast<uint64_t>(p[at + 3]) << 24;
  at += 4;
  return true;
}

// The comment header (packet type 3) names a vendor and a list of comments,
// each by its length. The decoder allocates and fills whatever lengths it
// reads, even past the packet's end, so each must fit in what follows it.
bool comment_header_fits(const Bytes& p) {
  if (p.size() < 7 || p[0] != 3) return true;  // not one: the decoder refuses it itself
  size_t at = 7;
  uint64_t length = 0, count = 0;
  if (!read_length(p, at, length) || length > p.size() - at) return false;
  at += static_cast<size_t>(length);
  if (!read_length(p, at, count) || count > (p.size() - at) / 4) return false;
  for (uint64_t i = 0; i < count; ++i) {
    if (!read_length(p, at, length) || length > p.size() - at) return false;
    at += static_cast<size_t>(length);
  }
  return true;
}

// Opens the decoder with all of its own memory in `arena` (malloc'd, the
// caller frees it after closing): a file it gives up on half-way then cannot
// leak what it had allocated, and no file can make it take more than the cap.
// The first size leaves room for the comment list whatever else it tries: the
// decoder cannot recover from running short of memory inside that list. A
// comment of n bytes needs at most n + 16 of memory for 4 + n in the header.
stb_vorbis* open_in_arena(const Bytes& bytes, const Bytes& comments, char*& arena) {
  const size_t needed = 4 * comments.size() + static_cast<size_t>(kFirstArenaBytes);
  if (needed > static_cast<size_t>(kMaxArenaBytes)) return nullptr;
  for (int size = static_cast<int>(needed); size <= kMaxArenaBytes; size *= 2) {
    std::free(arena);
    arena = static_cast<char*>(std::malloc(static_cast<size_t>(size)));
    if (!arena) return nullptr;
    stb_vorbis_alloc alloc{arena, size};
    int error = 0;
    stb_vorbis* v = stb_vorbis_open_memory(bytes.data(), static_cast<int>(bytes.size()), &error, &alloc);
    if (v || error != VORBIS_outofmem) return v;
  }
  return nullptr;
}

// A decoded value as a 16-bit sample: scaled by 32768, rounded to nearest,
// limited to the sample range (a damaged stream can decode to anything,
// which the decoder's own conversion would overflow on).
short to_sample(float value) {
  if (!(value == value)) return 0;
  float scaled = value * 32768.0f;
  if (scaled >= 32767.0f) return 32767;
  if (scaled <= -32768.0f) return -32768;
  return static_cast<short>(std::lrintf(scaled));
}

// Decodes the next frame into `out`, interleaved, at most `room` values per
// channel; the values decoded (per channel), 0 at the end of the stream.
size_t next_frame(stb_vorbis* v, size_t channels, short* out, size_t room) {
  float** decoded = nullptr;
  int got = stb_vorbis_get_frame_float(v, nullptr, &decoded);
  size_t n = got > 0 ? static_cast<size_t>(got) : 0;
  if (n > room) n = room;
  for (size_t i = 0; i < n; ++i)
    for (size_t ch = 0; ch < channels; ++ch) *out++ = to_sample(decoded[ch][i]);
  return n;
}

}  // namespace

bool ogg_decode(FILE* file, PcmData* out) {
  *out = PcmData();
  Bytes bytes = read_all(file);
  // The identification, comment and setup headers, whole.
  std::vector<Bytes> headers = first_packets(bytes, 3);
  if (bytes.empty() || bytes.size() > INT_MAX || headers.size() != 3 || !comment_header_fits(headers[1]) ||
      !vorbis_codebooks_sizable(headers[2]))
    return false;
  char* arena = nullptr;
  stb_vorbis* v = open_in_arena(bytes, headers[1], arena);
  if (!v) {
    std::free(arena);
    return false;
  }
  stb_vorbis_info info = stb_vorbis_get_info(v);
  const size_t c = static_cast<size_t>(info.channels);
  if (c == 0 || info.sample_rate == 0 || info.sample_rate > INT_MAX) {
    stb_vorbis_close(v);
    std::free(arena);
    return false;
  }

  size_t capacity = c * kFrameRoom;  // in 16-bit values
  size_t written = 0;
  size_t frames = 0;
  short* buffer = static_cast<short*>(std::malloc(capacity * sizeof(short)));
  bool ok = buffer != nullptr;
  while (ok) {
    size_t n = next_frame(v, c, buffer + written, (capacity - written) / c);
    if (n == 0) break;
    frames += n;
    written += n * c;
    if (capacity - written < c * kFrameRoom) {
      // The whole sound must stay addressable as one int-sized buffer.
      if (capacity > static_cast<size_t>(INT_MAX) / sizeof(short) / 2) {
        ok = false;
        break;
      }
      capacity *= 2;
      short* grown = static_cast<short*>(std::realloc(buffer, capacity * sizeof(short)));
      if (!grown) {
        ok = false;
        break;
      }
      buffer = grown;
    }
  }
  stb_vorbis_close(v);
  std::free(arena);
  if (!ok) {
    std::free(buffer);
    return false;
  }
  out->data = reinterpret_cast<unsigned char*>(buffer);
  out->frames = static_cast<int>(frames);
  out->channels = info.channels;
  out->bytesPerSample = 2;
  out->rate = static_cast<int>(info.sample_rate);
  return true;
}
