// The replay file's bytes: little-endian fields, variable-length integers for
// the events, a length up front and a CRC-32 at the end.
//
//   0  "VWRP", format version (u16), rules version (u16), file length (u32)
//  12  play mode (u8), button mode (u8), 0 (u16), seed (u32), badge counter (i32)
//  24  badges (8 x u32), top ten (10 x i32)
//  96  carried state: column position, distance, scroll, bullet y (f32),
//      shown score, pop-up count, pause choice (i32)
// 124  updates (u32), score (i32), event bytes (u32) and the events,
//      hash count (u32) and the hashes (u32 each), CRC-32 of all before it (u32)
//
// An event is the updates since the one before (varint), what changed (u8),
// then in flag order: buttons (varint); pointer down (u8) and, when down, x
// and y (zigzag varints); screen width and height (f32); pause state (four
// zigzag varints); the loader's step (varint).
#include "game/meta/replay_file.h"

#include <cmath>
#include <cstring>

namespace replay {

namespace {

const char kMagic[4] = {'V', 'W', 'R', 'P'};
const size_t kFixedBytes = 136;  // everything before the first event
const uint8_t kKnownEvents = kButtonsChanged | kPointerChanged | kScreenChanged | kPaused | kReloaded;
const int kMaxLoadStep = 1000;
const float kMaxScreen = 100000;

class Writer {
 public:
  explicit Writer(std::string* out) : bytes(*out) {}
  std::string& bytes;
  void U8(uint32_t v) { bytes.push_back(static_cast<char>(v & 0xff)); }
  void U16(uint32_t v) {
    U8(v);
    U8(v >> 8);
  }
  void U32(uint32_t v) {
    U16(v & 0xffff);
    U16(v >> 16);
  }
  void I32(int v) { U32(static_cast<uint32_t>(v)); }
  void F32(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    U32(bits);
  }
  void Var(uint32_t v) {
    while (v >= 0x80) {
      U8((v & 0x7f) | 0x80);
      v >>= 7;
    }
    U8(v);
  }
  void Zig(int v) { Var((static_cast<uint32_t>(v) << 1) ^ static_cast<uint32_t>(v < 0 ? -1 : 0)); }
  void PutU32At(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
  }
};

// Reads forward within [at, end); any read past the end sets `cut` and
// gives 0, so a caller checks once after a group of reads.
class Reader {
 public:
  Reader(const uint8_t* data, size_t end) : data_(data), end_(end) {}
  size_t at = 0;
  bool cut = false;
  bool bad = false;  // an overlong varint
  uint32_t U8() {
    if (at >= end_) {
      cut = true;
      return 0;
    }
    return data_[at++];
  }
  // Each read in its own statement: the operands of | have no order.
  uint32_t U16() {
    uint32_t low = U8();
    return low | U8() << 8;
  }
  uint32_t U32() {
    uint32_t low = U16();
    return low | U16() << 16;
  }
  int I32() { return static_cast<int>(U32()); }
  float F32() {
    uint32_t bits = U32();
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  uint32_t Var() {
    uint32_t v = 0;
    for (int shift = 0; shift < 35; shift += 7) {
      uint32_t b = U8();
      if (shift == 28 && b > 0x0f) bad = true;
      v |= (b & 0x7f) << shift;
      if (!(b & 0x80)) return v;
    }
    bad = true;
    return 0;
  }
  int Zig() {
    uint32_t v = Var();
    return static_cast<int>((v >> 1) ^ (0u - (v & 1)));
  }
  size_t left() const { return at < end_ ? end_ - at : 0; }

 private:
  const uint8_t* data_;
  size_t end_;
};

void WriteCarry(Writer& w, const Carry& c) {
  w.F32(c.columnPos);
  w.F32(c.distance);
  w.F32(c.scroll);
  w.F32(c.bulletY);
  w.I32(c.shownScore);
  w.I32(c.popupCount);
  w.I32(c.pauseChoice);
}

void WriteHeader(Writer& w, const Header& h) {
  w.U8(static_cast<uint32_t>(h.playMode));
  w.U8(static_cast<uint32_t>(h.buttonMode));
  w.U16(0);
  w.U32(h.seed);
  w.I32(h.badgeCounter);
  for (uint32_t word : h.badges) w.U32(word);
  for (int score : h.topTen) w.I32(score);
  WriteCarry(w, h.carry);
}

void WriteEvent(Writer& w, const Event& e, uint32_t previous) {
  w.Var(e.update - previous);
  w.U8(e.what);
  if (e.what & kButtonsChanged) w.Var(e.buttons);
  if (e.what & kPointerChanged) {
    w.U8(e.pointer.down ? 1 : 0);
    if (e.pointer.down) {
      w.Zig(e.pointer.x);
      w.Zig(e.pointer.y);
    }
  }
  if (e.what & kScreenChanged) {
    w.F32(e.width);
    w.F32(e.height);
  }
  if (e.what & kPaused) {
    w.Zig(e.pause.paused);
    w.Zig(e.pause.opened);
    w.Zig(e.pause.y);
    w.Zig(e.pause.choice);
  }
  if (e.what & kReloaded) w.Var(static_cast<uint32_t>(e.loadStep));
}

bool Finite(float v) { return std::isfinite(v); }

bool ReadHeader(Reader& r, Header* h) {
  h->playMode = static_cast<int>(r.U8());
  h->buttonMode = static_cast<int>(r.U8());
  uint32_t spare = r.U16();
  h->seed = r.U32();
  h->badgeCounter = r.I32();
  for (uint32_t& word : h->badges) word = r.U32();
  for (int& score : h->topTen) score = r.I32();
  Carry& c = h->carry;
  c.columnPos = r.F32();
  c.distance = r.F32();
  c.scroll = r.F32();
  c.bulletY = r.F32();
  c.shownScore = r.I32();
  c.popupCount = r.I32();
  c.pauseChoice = r.I32();
  bool carryOk = Finite(c.columnPos) && Finite(c.distance) && Finite(c.scroll) && Finite(c.bulletY);
  return spare == 0 && h->playMode >= 1 && h->playMode <= 10 && h->buttonMode >= 0 && h->buttonMode <= 1 && carryOk;
}

bool ReadPayload(Reader& r, Event* e) {
  if (e->what & kButtonsChanged) {
    uint32_t mask = r.Var();
    if (mask >= (1u << kButtonCount)) return false;
    e->buttons = static_cast<uint16_t>(mask);
  }
  if (e->what & kPointerChanged) {
    uint32_t down = r.U8();
    if (down > 1) return false;
    e->pointer.down = down == 1;
    if (e->pointer.down) {
      e->pointer.x = r.Zig();
      e->pointer.y = r.Zig();
    }
  }
  if (e->what & kScreenChanged) {
    e->width = r.F32();
    e->height = r.F32();
    if (!(e->width >= 1 && e->width <= kMaxScreen && e->height >= 1 && e->height <= kMaxScreen)) return false;
  }
  if (e->what & kPaused) {
    e->pause.paused = r.Zig();
    e->pause.opened = r.Zig();
    e->pause.y = r.Zig();
    e->pause.choice = r.Zig();
  }
  if (e->what & kReloaded) {
    uint32_t step = r.Var();
    if (step > kMaxLoadStep) return false;
    e->loadStep = static_cast<int>(step);
  }
  return true;
}

// One event after the one of update `previous` (`first`: none before it).
// Updates rise strictly, except that the first may be update 0.
bool ReadEvent(Reader& r, uint32_t previous, bool first, uint32_t updates, Event* e) {
  *e = Event();
  uint32_t delta = r.Var();
  e->what = static_cast<uint8_t>(r.U8());
  if ((!first && delta == 0) || delta > updates - previous) return false;
  e->update = previous + delta;
  if (e->what == 0 || (e->what & ~kKnownEvents) != 0) return false;
  return ReadPayload(r, e) && !r.bad && !r.cut;
}

// The whole stream, read through once: the first event is update 0 and sets
// the screen, none passes the last update, and it ends where its length says.
ReadError CheckEvents(const std::string& stream, uint32_t updates) {
  Reader r(reinterpret_cast<const uint8_t*>(stream.data()), stream.size());
  uint32_t update = 0;
  for (bool first = true; r.at < stream.size(); first = false) {
    Event e;
    if (!ReadEvent(r, update, first, updates, &e)) return ReadError::kInconsistent;
    if (first && (e.update != 0 || !(e.what & kScreenChanged))) return ReadError::kInconsistent;
    update = e.update;
  }
  return stream.empty() ? ReadError::kInconsistent : ReadError::kNone;
}

// Magic, format version and length: what can be said before the checksum.
ReadError ReadFrame(const uint8_t* data, size_t size, Reader& r) {
  if (size < sizeof kMagic || std::memcmp(data, kMagic, sizeof kMagic) != 0) return ReadError::kNotReplay;
  r.at = sizeof kMagic;
  uint32_t format = r.U16();
  if (r.cut) return ReadError::kTruncated;
  if (format > static_cast<uint32_t>(kFormatVersion)) return ReadError::kNewerFormat;
  if (format == 0) return ReadError::kNotReplay;
  r.U16();  // the rules, once the bytes are known to be sound
  uint32_t length = r.U32();
  if (r.cut || size < kFixedBytes + 8) return ReadError::kTruncated;
  if (size > kMaxFileBytes || length > kMaxFileBytes) return ReadError::kTooLarge;
  if (size < length) return ReadError::kTruncated;
  if (size > length) return ReadError::kDamaged;
  uint32_t stored = static_cast<uint32_t>(data[size - 4]) | static_cast<uint32_t>(data[size - 3]) << 8 |
                    static_cast<uint32_t>(data[size - 2]) << 16 | static_cast<uint32_t>(data[size - 1]) << 24;
  if (Crc32(data, size - 4) != stored) return ReadError::kDamaged;
  return ReadError::kNone;
}

ReadError ReadBody(const uint8_t* data, Reader& r, Replay* out) {
  if (!ReadHeader(r, &out->header)) return ReadError::kInconsistent;
  out->updates = r.U32();
  out->score = r.I32();
  if (out->updates < 1 || out->updates > kMaxUpdates) return ReadError::kInconsistent;
  size_t length = r.U32();
  if (r.cut || length > r.left()) return ReadError::kInconsistent;
  out->events.assign(reinterpret_cast<const char*>(data) + r.at, length);
  r.at += length;
  ReadError error = CheckEvents(out->events, out->updates);
  if (error != ReadError::kNone) return error;
  uint32_t count = r.U32();
  if (r.cut || count != HashCount(out->updates)) return ReadError::kInconsistent;
  if (r.left() != static_cast<size_t>(count) * 4) return ReadError::kInconsistent;
  out->hashes.resize(count);
  for (uint32_t& hash : out->hashes) hash = r.U32();
  return ReadError::kNone;
}

}  // namespace

size_t HashCount(uint32_t updates) { return updates / kHashEvery + 1; }

void EventWriter::Add(const Event& event, std::string* stream) {
  Writer w(stream);
  WriteEvent(w, event, previous_);
  previous_ = event.update;
}

bool EventReader::Next(const std::string& stream, Event* event) {
  if (at_ >= stream.size()) return false;
  Reader r(reinterpret_cast<const uint8_t*>(stream.data()), stream.size());
  r.at = at_;
  if (!ReadEvent(r, update_, at_ == 0, kMaxUpdates, event)) return false;
  at_ = r.at;
  update_ = event->update;
  return true;
}

std::string Encode(const Replay& replay) {
  std::string bytes;
  Writer w(&bytes);
  for (char c : kMagic) w.U8(static_cast<uint8_t>(c));
  w.U16(kFormatVersion);
  w.U16(kRulesVersion);
  w.U32(0);  // the length, once known
  WriteHeader(w, replay.header);
  w.U32(replay.updates);
  w.I32(replay.score);
  w.U32(static_cast<uint32_t>(replay.events.size()));
  bytes += replay.events;
  w.U32(static_cast<uint32_t>(replay.hashes.size()));
  for (uint32_t hash : replay.hashes) w.U32(hash);
  w.PutU32At(8, static_cast<uint32_t>(bytes.size() + 4));
  w.U32(Crc32(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  return bytes;
}

ReadError Decode(const uint8_t* data, size_t size, Replay* out) {
  *out = Replay();
  Reader r(data, size);
  ReadError error = ReadFrame(data, size, r);
  if (error != ReadError::kNone) return error;
  if (static_cast<int>(data[6] | data[7] << 8) != kRulesVersion) return ReadError::kOtherRules;
  Reader body(data, size - 4);
  body.at = 12;
  error = ReadBody(data, body, out);
  if (error == ReadError::kNone && (body.cut || body.bad)) error = ReadError::kInconsistent;
  if (error != ReadError::kNone) *out = Replay();
  return error;
}

const char* Describe(ReadError error) {
  switch (error) {
    case ReadError::kNone: return "a sound replay";
    case ReadError::kNotReplay: return "not a Vaultwick replay";
    case ReadError::kNewerFormat: return "made by a newer version of the game";
    case ReadError::kOtherRules: return "recorded under other rules of play";
    case ReadError::kTooLarge: return "too large for a replay";
    case ReadError::kTruncated: return "truncated";
    case ReadError::kDamaged: return "damaged (its checksum does not match)";
    case ReadError::kInconsistent: return "damaged (its contents do not fit together)";
  }
  return "unreadable";
}

// CRC-32 (IEEE 802.3, reflected), bit by bit: replays are small.
uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xffffffffu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

}  // namespace replay
