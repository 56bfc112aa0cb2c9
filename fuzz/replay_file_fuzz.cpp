// Feeds arbitrary bytes to the replay reader: it must neither crash nor
// allocate beyond the file, and whatever it accepts must walk to its end and
// write back to the very same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/meta/replay_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  replay::Replay r;
  if (replay::Decode(data, size, &r) != replay::ReadError::kNone) return 0;
  replay::EventReader reader;
  replay::Event e;
  uint32_t last = 0;
  size_t events = 0;
  while (reader.Next(r.events, &e)) {
    if (e.update > r.updates || (events > 0 && e.update <= last)) std::abort();
    last = e.update;
    ++events;
  }
  if (events == 0 || r.hashes.size() != replay::HashCount(r.updates)) std::abort();
  if (replay::Encode(r) != std::string(reinterpret_cast<const char*>(data), size)) std::abort();
  return 0;
}
