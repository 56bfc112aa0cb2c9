// The look at a setup header's codebooks before the Vorbis decoder sizes their
// lookup tables: books it would size with arithmetic that leaves the int range
// are refused, everything else is left to the decoder.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "audio/vorbis_setup.h"

namespace {

// A setup header of one codebook, packed least significant bit first.
class SetupPacket {
 public:
  SetupPacket() {
    bytes_ = {5, 'v', 'o', 'r', 'b', 'i', 's'};
    Put(0, 8);  // one codebook
  }
  void Put(uint32_t value, int bits) {
    for (int i = 0; i < bits; ++i, ++bit_) {
      if (bit_ % 8 == 0) bytes_.push_back(0);
      bytes_.back() = static_cast<unsigned char>(bytes_.back() | ((value >> i) & 1) << (bit_ % 8));
    }
  }
  // Sync, size and every entry's codeword length (ordered: one run).
  void Book(uint32_t dimensions, uint32_t entries) {
    Put(0x564342, 24);
    Put(dimensions, 16);
    Put(entries, 24);
    Put(1, 1);
    Put(3, 5);
    int bits = 0;
    for (uint32_t v = entries; v; v >>= 1) ++bits;
    Put(entries, bits);
  }
  // A lookup of `type` with `values` one-bit multiplicands.
  void Lookup(uint32_t type, uint32_t values) {
    Put(type, 4);
    Put(0, 32);
    Put(0, 32);
    Put(0, 4);
    Put(0, 1);
    for (uint32_t i = 0; i < values; ++i) Put(1, 1);
  }
  const std::vector<unsigned char>& bytes() const { return bytes_; }

 private:
  std::vector<unsigned char> bytes_;
  int bit_ = 0;
};

TEST(OggSetupHeader, LookupTablesTheDecoderCannotSizeAreRefused) {
  struct Case {
    const char* what;
    uint32_t dimensions, entries, type, values;
    bool sizable;
  } cases[] = {
      {"a lattice of 4 values in 2 dimensions", 2, 16, 1, 4, true},
      {"a lattice of 1 value in 40 dimensions: 2^40 as int", 40, 1, 1, 1, false},
      {"a lattice of 2 values in 19 dimensions: 4^19 as int", 19, 1u << 22, 1, 2, false},
      {"a lattice of 2 values in 8 dimensions", 8, 256, 1, 2, true},
      {"a table of entries x dimensions values", 3, 5, 2, 15, true},
      {"a table of 65536 x 65535 values: past INT_MAX", 65535, 65536, 2, 0, false},
      {"no lookup table", 40, 1, 0, 0, true},
  };
  for (const Case& c : cases) {
    SetupPacket p;
    p.Book(c.dimensions, c.entries);
    p.Lookup(c.type, c.values);
    EXPECT_EQ(vorbis_codebooks_sizable(p.bytes()), c.sizable) << c.what;
  }
}

TEST(OggSetupHeader, ATableRunningPastThePacketIsRefused) {
  SetupPacket p;
  p.Book(3, 5);
  p.Lookup(2, 14);  // one multiplicand short
  EXPECT_FALSE(vorbis_codebooks_sizable(p.bytes()));
}

// Past the packet's end the decoder reads zeros and goes on: a packet that
// breaks off after the lookup type still has its lattice sized.
TEST(OggSetupHeader, APacketBrokenOffIsReadOnAsZeros) {
  SetupPacket p;
  p.Book(40, 1);
  p.Put(1, 4);
  EXPECT_FALSE(vorbis_codebooks_sizable(p.bytes()));
  SetupPacket fine;
  fine.Book(2, 16);
  fine.Put(1, 4);  // zeros from here give one-bit values, and the table runs past the end
  EXPECT_FALSE(vorbis_codebooks_sizable(fine.bytes()));
  SetupPacket noLookup;
  noLookup.Book(40, 1);  // the lookup type reads as 0
  EXPECT_TRUE(vorbis_codebooks_sizable(noLookup.bytes()));
}

TEST(OggSetupHeader, OtherPacketsAreLeftToTheDecoder) {
  EXPECT_TRUE(vorbis_codebooks_sizable({}));
  EXPECT_TRUE(vorbis_codebooks_sizable({3, 'v', 'o', 'r', 'b', 'i', 's', 0, 0}));
  SetupPacket badSync;
  badSync.Put(0x123456, 24);
  EXPECT_TRUE(vorbis_codebooks_sizable(badSync.bytes()));
}

}  // namespace
