// The Ogg readers' shared checks, decoder memory and sample conversion.
#include "audio/ogg_shared.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "audio/vorbis_setup.h"

namespace {

// The decoder's working memory, tried at this size first and doubled up to the
// cap while the decoder asks for more.
const int kFirstArenaBytes = 256 << 10;
const int kMaxArenaBytes = 32 << 20;

// Reads a little-endian 32-bit length at `at`, moving past it; false when
// the packet ends first.
bool read_length(const OggBytes& p, size_t& at, uint64_t& value) {
  if (at + 4 > p.size()) return false;
  value = static_cast<uint64_t>(p[at]) | static_cast<uint64_t>(p[at + 1]) << 8 | static_cast<uint64_t>(p[at + 2]) << 16 |
          static_cast<uint64_t>(p[at + 3]) << 24;
  at += 4;
  return true;
}

// The comment header (packet type 3) names a vendor and a list of comments,
// each by its length. The decoder allocates and fills whatever lengths it
// reads, even past the packet's end, so each must fit in what follows it.
bool comment_header_fits(const OggBytes& p) {
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

}  // namespace

// A page not marked as continuing a packet ends the one still open there, as
// in the decoder.
std::vector<OggBytes> ogg_first_packets(const OggBytes& file, size_t count) {
  const unsigned char kContinued = 1;
  std::vector<OggBytes> packets(1);
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

bool ogg_headers_trusted(const std::vector<OggBytes>& headers) {
  return headers.size() == 3 && comment_header_fits(headers[1]) && vorbis_codebooks_sizable(headers[2]);
}

// The first size leaves room for the comment list whatever else it tries: the
// decoder cannot recover from running short of memory inside that list. A
// comment of n bytes needs at most n + 16 of memory for 4 + n in the header.
stb_vorbis* ogg_open_in_arena(size_t commentBytes, const OggOpener& open, char*& arena, int* arenaBytes) {
  const size_t needed = 4 * commentBytes + static_cast<size_t>(kFirstArenaBytes);
  if (needed > static_cast<size_t>(kMaxArenaBytes)) return nullptr;
  for (int size = static_cast<int>(needed); size <= kMaxArenaBytes; size *= 2) {
    std::free(arena);
    arena = static_cast<char*>(std::malloc(static_cast<size_t>(size)));
    if (!arena) return nullptr;
    int error = 0;
    stb_vorbis* v = open(stb_vorbis_alloc{arena, size}, &error);
    if (v) *arenaBytes = size;
    if (v || error != VORBIS_outofmem) return v;
  }
  return nullptr;
}

short ogg_sample(float value) {
  if (!(value == value)) return 0;
  float scaled = value * 32768.0f;
  if (scaled >= 32767.0f) return 32767;
  if (scaled <= -32768.0f) return -32768;
  return static_cast<short>(std::lrintf(scaled));
}
