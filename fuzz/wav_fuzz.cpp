// Feeds arbitrary bytes to the WAV reader as if they were a file: it must fail
// or succeed without reading or allocating past the input, and what it returns
// must fit in the input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "audio/decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!file) return 0;
  PcmData pcm;
  if (wav_decode(file, &pcm)) {
    size_t bytes = static_cast<size_t>(pcm.frames) * pcm.channels * pcm.bytesPerSample;
    if (pcm.channels <= 0 || pcm.bytesPerSample <= 0 || pcm.frames < 0 || bytes > size) std::abort();
    // Touch every byte so a short buffer shows under the sanitizers.
    volatile unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i) sum = sum + pcm.data[i];
    std::free(pcm.data);
  }
  std::fclose(file);
  return 0;
}
