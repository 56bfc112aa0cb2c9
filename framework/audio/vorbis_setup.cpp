// Walks the codebooks of a Vorbis setup header bit by bit, in the layout the
// decoder reads them, and checks each lookup table's size before the decoder
// works it out.
#include "audio/vorbis_setup.h"

#include <climits>
#include <cstddef>
#include <cstdint>

namespace {

// Vorbis packs its fields least significant bit first. Like the decoder's
// own reader, a read that finds too few bits left gives 0, and so does every
// read after it: the decoder goes on with zeros past the packet's end.
class BitReader {
 public:
  BitReader(const std::vector<unsigned char>& bytes, std::size_t startByte)
      : bytes_(bytes), at_(static_cast<uint64_t>(startByte) * 8) {}

  uint32_t Read(int count) {
    if (exhausted_ || Left() < static_cast<uint64_t>(count)) {
      exhausted_ = true;
      return 0;
    }
    uint32_t value = 0;
    for (int i = 0; i < count; ++i, ++at_) value |= static_cast<uint32_t>(bytes_[at_ / 8] >> (at_ % 8) & 1) << i;
    return value;
  }
  // Moves past `count` bits; false when fewer are left.
  bool Skip(uint64_t count) {
    if (exhausted_ || Left() < count) return false;
    at_ += count;
    return true;
  }
  bool Exhausted() const { return exhausted_; }

 private:
  uint64_t Left() const { return static_cast<uint64_t>(bytes_.size()) * 8 - at_; }

  const std::vector<unsigned char>& bytes_;
  uint64_t at_;
  bool exhausted_ = false;
};

// Bits needed to write `value`: 0 for 0.
int ilog(uint32_t value) {
  int bits = 0;
  for (; value; value >>= 1) ++bits;
  return bits;
}

// base^exponent, or LLONG_MAX once it passes `cap`.
long long capped_power(long long base, uint32_t exponent, long long cap) {
  if (base <= 1) return exponent == 0 ? 1 : base;
  long long result = 1;
  for (uint32_t i = 0; i < exponent; ++i) {
    if (result > cap / base) return LLONG_MAX;
    result *= base;
  }
  return result;
}

// The greatest r with r^dimensions <= entries.
long long lattice_values(uint32_t entries, uint32_t dimensions) {
  long long r = 0;
  while (capped_power(r + 1, dimensions, entries) <= entries) ++r;
  return r;
}

// Where a lattice's values per dimension come from: the decoder estimates
// the count r in floating point (within one of it, given two dimensions or
// more), then converts powers up to (r + 2)^dimensions to int. Past INT_MAX
// that conversion is undefined; no encoder makes such a book, which has at
// most a few dimensions.
bool lattice_sizable(uint32_t entries, uint32_t dimensions, long long& values) {
  if (dimensions == 0) return false;
  // Searching upward is quick: r is at most entries^(1/2) unless there is one
  // dimension.
  values = dimensions == 1 ? entries : lattice_values(entries, dimensions);
  return capped_power(values + 2, dimensions, INT_MAX) <= INT_MAX;
}

enum class Book { kSizable, kUnsizable, kEnd };

// The codeword lengths: an ordered list of runs, or one length per entry
// (sparse ones may leave an entry out). kEnd where the decoder itself stops.
Book SkipLengths(BitReader& in, uint32_t entries) {
  if (in.Read(1)) {  // ordered
    uint32_t length = in.Read(5) + 1;
    for (uint32_t entry = 0; entry < entries; ++length) {
      uint32_t run = in.Read(ilog(entries - entry));
      if (length >= 32 || run > entries - entry) return Book::kEnd;
      entry += run;
    }
    return Book::kSizable;
  }
  const uint32_t sparse = in.Read(1);
  // Past the packet's end every length reads as zero: nothing more to walk.
  for (uint32_t entry = 0; entry < entries && !in.Exhausted(); ++entry)
    if (!sparse || in.Read(1)) in.Read(5);
  return Book::kSizable;
}

// One codebook, up to the start of the next; fields are read in the pieces
// the decoder reads them in, so a packet that breaks off gives both the same.
Book SkipCodebook(BitReader& in) {
  const uint32_t sync = in.Read(8) | in.Read(8) << 8 | in.Read(8) << 16;
  if (sync != 0x564342) return Book::kEnd;
  const uint32_t dimensions = in.Read(8) | in.Read(8) << 8;
  const uint32_t entries = in.Read(8) | in.Read(8) << 8 | in.Read(8) << 16;
  if (dimensions == 0 && entries != 0) return Book::kEnd;
  Book lengths = SkipLengths(in, entries);
  if (lengths != Book::kSizable) return lengths;
  const uint32_t lookup = in.Read(4);
  if (lookup > 2) return Book::kEnd;
  if (lookup == 0) return Book::kSizable;
  in.Read(32);  // minimum value
  in.Read(32);  // delta
  const uint32_t valueBits = in.Read(4) + 1;
  in.Read(1);  // sequence flag
  long long values = static_cast<long long>(entries) * dimensions;
  if (lookup == 1 && !lattice_sizable(entries, dimensions, values)) return Book::kUnsizable;
  if (values > INT_MAX) return Book::kUnsizable;
  // A table that runs past its packet is damage; its size in memory would be
  // worked out in int by the decoder.
  if (!in.Skip(static_cast<uint64_t>(values) * valueBits)) return Book::kUnsizable;
  return Book::kSizable;
}

}  // namespace

bool vorbis_codebooks_sizable(const std::vector<unsigned char>& p) {
  if (p.size() < 8 || p[0] != 5) return true;
  BitReader in(p, 7);  // after the packet type and "vorbis"
  const uint32_t count = in.Read(8) + 1;
  for (uint32_t i = 0; i < count; ++i) {
    Book book = SkipCodebook(in);
    if (book == Book::kUnsizable) return false;
    if (book == Book::kEnd) return true;
  }
  return true;
}
