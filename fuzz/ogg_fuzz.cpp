// Feeds arbitrary bytes to the Ogg Vorbis reader as if they were a file: it
// must fail or succeed without crashing or touching memory it does not own,
// and what it returns must be whole 16-bit frames of the channels it reports.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "audio/decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!file) return 0;
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
  return 0;
}
