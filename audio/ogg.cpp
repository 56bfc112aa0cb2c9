// Ogg Vorbis decoding of a whole file to interleaved 16-bit samples.
#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <climits>
#include <cstdint>
#include <cstdlib>

#include "audio/decode.h"

namespace {

// Values per channel the buffer starts with and keeps free for the next frame;
// a Vorbis frame never exceeds this.
const size_t kFrameRoom = 4096;

}  // namespace

bool ogg_decode(FILE* file, PcmData* out) {
  *out = PcmData();
  int error = 0;
  stb_vorbis* v = stb_vorbis_open_file(file, 0, &error, nullptr);
  if (!v) return false;
  stb_vorbis_info info = stb_vorbis_get_info(v);
  const size_t c = static_cast<size_t>(info.channels);
  if (c == 0 || info.sample_rate == 0 || info.sample_rate > INT_MAX) {
    stb_vorbis_close(v);
    return false;
  }

  size_t capacity = c * kFrameRoom;  // in 16-bit values
  size_t written = 0;
  size_t frames = 0;
  short* buffer = static_cast<short*>(std::malloc(capacity * sizeof(short)));
  bool ok = buffer != nullptr;
  while (ok) {
    int n = stb_vorbis_get_frame_short_interleaved(v, info.channels, buffer + written,
                                                   static_cast<int>(capacity - written));
    if (n <= 0) break;
    frames += static_cast<size_t>(n);
    written += static_cast<size_t>(n) * c;
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
