// Decoding sound files made by other tools (sox and oggenc, run at test time)
// and byte-level variations of them: formats that load, formats refused, and
// damaged files that must fail without reading or allocating past their end.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include "audio/audio.h"

namespace {

typedef std::vector<unsigned char> Bytes;

struct Decoded {
  bool ok = false;
  int frames = -1, channels = -1, bytesPerSample = -1, rate = -1;
  Bytes data;
};

Decoded load(const std::string& path) {
  Decoded d;
  unsigned char* data = loadSound(String(path.c_str()), &d.frames, &d.channels, &d.bytesPerSample, &d.rate);
  if (!data) return d;
  d.ok = true;
  d.data.assign(data, data + static_cast<size_t>(d.frames) * d.channels * d.bytesPerSample);
  unloadSound(data);
  return d;
}

Bytes read_file(const std::string& path) {
  Bytes bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  int c;
  while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
  std::fclose(f);
  return bytes;
}

void write_file(const std::string& path, const Bytes& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_TRUE(f) << path;
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

uint32_t get32(const Bytes& b, size_t at) {
  return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 | static_cast<uint32_t>(b[at + 2]) << 16 |
         static_cast<uint32_t>(b[at + 3]) << 24;
}

void put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

void put16(Bytes& b, size_t at, uint32_t v) {
  b[at] = static_cast<unsigned char>(v);
  b[at + 1] = static_cast<unsigned char>(v >> 8);
}

// Offset of the first occurrence of a chunk identifier.
size_t find_id(const Bytes& b, const char* id) {
  for (size_t i = 12; i + 4 <= b.size(); ++i)
    if (std::equal(id, id + 4, b.begin() + static_cast<long>(i))) return i;
  return std::string::npos;
}

class WavFiles : public ::testing::Test {
 protected:
  static std::string dir;

  static void SetUpTestSuite() {
    char name[] = "/tmp/vw_sounds_XXXXXX";
    ASSERT_TRUE(mkdtemp(name));
    dir = name;
    // Each file is a sine tone; the formats are what the cases below name.
    run("sox -n -r 22050 -b 8 -c 1 " + at("mono8.wav") + " synth 0.1 sine 440");
    run("sox -n -r 11025 -b 8 -c 2 " + at("stereo8.wav") + " synth 0.05 sine 300");
    run("sox -n -r 8000 -b 16 -c 1 " + at("mono16.wav") + " synth 0.1 sine 440");
    run("sox -n -r 44100 -b 16 -c 2 " + at("stereo16.wav") + " synth 1 sine 440");
    run("sox -n -r 44100 -e floating-point -b 32 -c 1 " + at("float.wav") + " synth 0.05 sine 440");
    run("sox -n -r 44100 -b 24 -c 1 " + at("extensible.wav") + " synth 0.05 sine 440");
    run("sox -V1 -r 44100 -c 2 -n -b 16 " + at("long.wav") + " synth 100000s sine 440");
    run("oggenc -Q -o " + at("long.ogg") + " " + at("long.wav"));
    run("sox -n -r 22050 -b 16 -c 1 " + at("short.wav") + " synth 0.2 sine 500");
    run("oggenc -Q -o " + at("mono.ogg") + " " + at("short.wav"));
    // A full-scale square wave: its lossy copy decodes past full scale.
    run("sox -V1 -n -r 22050 -b 16 -c 2 " + at("square.wav") + " synth 0.3 square 300 gain -0.1");
    run("oggenc -Q -o " + at("square.ogg") + " " + at("square.wav"));
    // The samples as sox itself reads them, to compare against.
    for (const char* f : {"mono8", "stereo8", "mono16", "stereo16"})
      run("sox " + at(std::string(f) + ".wav") + " -t raw " + at(std::string(f) + ".raw"));
  }

  static void TearDownTestSuite() { run("rm -rf " + dir); }

  static std::string at(const std::string& name) { return dir + "/" + name; }

  static void run(const std::string& command) {
    ASSERT_EQ(0, std::system(command.c_str())) << command;
  }

  // A variation of a sox file, written under a new name; returns its path.
  static std::string variant(const std::string& from, const std::string& name, void (*edit)(Bytes&)) {
    Bytes b = read_file(at(from));
    edit(b);
    write_file(at(name), b);
    return at(name);
  }
};

std::string WavFiles::dir;

// The same files; a suite of its own for the Ogg decoder.
class OggFiles : public WavFiles {};

TEST_F(WavFiles, PcmWavLoadsExactlyAsStored) {
  struct Case {
    const char* name;
    int channels, bytesPerSample, rate;
  } cases[] = {{"mono8", 1, 1, 22050}, {"stereo8", 2, 1, 11025}, {"mono16", 1, 2, 8000}, {"stereo16", 2, 2, 44100}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Decoded d = load(at(std::string(c.name) + ".wav"));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(c.channels, d.channels);
    EXPECT_EQ(c.bytesPerSample, d.bytesPerSample);
    EXPECT_EQ(c.rate, d.rate);
    Bytes raw = read_file(at(std::string(c.name) + ".raw"));
    ASSERT_FALSE(raw.empty());
    EXPECT_EQ(static_cast<int>(raw.size()) / (c.channels * c.bytesPerSample), d.frames);
    EXPECT_TRUE(d.data == raw) << "samples differ from sox's own reading";
  }
  EXPECT_EQ(44100, load(at("stereo16.wav")).frames) << "176400 bytes of 16-bit stereo";
}

TEST_F(WavFiles, ExtraFormatBytesAndOtherChunksBeforeTheDataAreSkipped) {
  // An 18-byte format chunk (with the extension-size word), then a LIST chunk.
  std::string path = variant("mono16.wav", "fmt18_list.wav", [](Bytes& b) {
    put32(b, 16, 18);
    b.insert(b.begin() + 36, {0, 0});
    const char list[] = "LIST\x0a\0\0\0INFOabcdef";
    b.insert(b.begin() + 38, list, list + sizeof list - 1);
  });
  Decoded d = load(path);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(1, d.channels);
  EXPECT_EQ(2, d.bytesPerSample);
  EXPECT_TRUE(d.data == read_file(at("mono16.raw")));
}

TEST_F(WavFiles, NonPcmWavIsRefused) {
  EXPECT_FALSE(load(at("float.wav")).ok) << "format 3, floating point";
  EXPECT_FALSE(load(at("extensible.wav")).ok) << "format 0xfffe, extensible";
  for (const char* missing : {"nothing.wav", "nothing.ogg"}) EXPECT_FALSE(load(at(missing)).ok);
}

TEST_F(WavFiles, ExtensionPicksTheDecoderAndIgnoresCase) {
  run("cp " + at("mono8.wav") + " " + at("UPPER.WAV"));
  run("cp " + at("mono.ogg") + " " + at("Mixed.OgG"));
  EXPECT_TRUE(load(at("UPPER.WAV")).ok);
  EXPECT_TRUE(load(at("Mixed.OgG")).ok);

  // A dotted folder and a file without extension: no decoder, however valid.
  run("mkdir -p " + at("sounds.v2") + " && cp " + at("mono8.wav") + " " + at("sounds.v2/beep"));
  EXPECT_FALSE(load(at("sounds.v2/beep")).ok);
  run("cp " + at("mono8.wav") + " " + at("beep"));
  EXPECT_FALSE(load(at("beep")).ok);
  run("cp " + at("mono8.wav") + " " + at("beep.mp3"));
  EXPECT_FALSE(load(at("beep.mp3")).ok);
  // The wrong decoder for the contents fails cleanly.
  run("cp " + at("mono8.wav") + " " + at("wav_inside.ogg"));
  EXPECT_FALSE(load(at("wav_inside.ogg")).ok);
  run("cp " + at("mono.ogg") + " " + at("ogg_inside.wav"));
  EXPECT_FALSE(load(at("ogg_inside.wav")).ok);
}

TEST_F(WavFiles, TruncatedWavFailsAtEveryCut) {
  Bytes whole = read_file(at("mono8.wav"));
  size_t data_end = find_id(whole, "data") + 8 + 2205;  // sox pads the odd-sized chunk with one byte
  ASSERT_EQ(data_end + 1, whole.size());
  std::vector<size_t> cuts;
  for (size_t n = 0; n < 60; ++n) cuts.push_back(n);
  for (size_t n : {data_end / 2, data_end - 1}) cuts.push_back(n);
  for (size_t n : cuts) {
    write_file(at("cut.wav"), Bytes(whole.begin(), whole.begin() + static_cast<long>(n)));
    EXPECT_FALSE(load(at("cut.wav")).ok) << "cut at " << n;
  }
  // Only the padding missing: every sample is there.
  write_file(at("cut.wav"), Bytes(whole.begin(), whole.begin() + static_cast<long>(data_end)));
  Decoded d = load(at("cut.wav"));
  EXPECT_TRUE(d.ok);
  EXPECT_EQ(2205, d.frames);
}

TEST_F(WavFiles, ImpossibleHeadersFailInsteadOfDividingOrOverreading) {
  // Field offsets in a plain 44-byte header.
  const size_t kChannels = 22, kBits = 34, kDataSize = 40;
  EXPECT_FALSE(load(variant("mono16.wav", "ch0.wav", [](Bytes& b) { put16(b, kChannels, 0); })).ok);
  EXPECT_FALSE(load(variant("mono16.wav", "bits0.wav", [](Bytes& b) { put16(b, kBits, 0); })).ok);
  EXPECT_FALSE(load(variant("mono16.wav", "bits4.wav", [](Bytes& b) { put16(b, kBits, 4); })).ok);
  EXPECT_FALSE(load(variant("mono16.wav", "huge.wav", [](Bytes& b) { put32(b, kDataSize, 0xffffffffu); })).ok);
  EXPECT_FALSE(load(variant("mono16.wav", "over.wav", [](Bytes& b) { put32(b, kDataSize, 1600 + 2); })).ok);
  // A chunk before the data that claims more than the file holds.
  EXPECT_FALSE(load(variant("mono16.wav", "biglist.wav", [](Bytes& b) {
                 const char list[] = "LIST\xf0\xff\xff\x7f";
                 b.insert(b.begin() + 36, list, list + 8);
               })).ok);
  // A format chunk claiming more than the file holds.
  EXPECT_FALSE(load(variant("mono16.wav", "bigfmt.wav", [](Bytes& b) { put32(b, 16, 0x7ffffff0u); })).ok);
  // No data chunk at all.
  EXPECT_FALSE(load(variant("mono16.wav", "nodata.wav", [](Bytes& b) { b.resize(36); })).ok);
  // Wrong magic.
  EXPECT_FALSE(load(variant("mono16.wav", "rifx.wav", [](Bytes& b) { b[3] = 'X'; })).ok);
  EXPECT_FALSE(load(variant("mono16.wav", "wavx.wav", [](Bytes& b) { b[11] = 'X'; })).ok);

  // An empty data chunk is a valid, silent sound.
  Decoded empty = load(variant("mono16.wav", "empty.wav", [](Bytes& b) {
    b.resize(44);
    put32(b, 40, 0);
  }));
  EXPECT_TRUE(empty.ok);
  EXPECT_EQ(0, empty.frames);
}

TEST_F(OggFiles, OggDecodesWholeToSixteenBit) {
  Decoded d = load(at("long.ogg"));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(100000, d.frames) << "several doublings of the decode buffer";
  EXPECT_EQ(2, d.channels);
  EXPECT_EQ(2, d.bytesPerSample);
  EXPECT_EQ(44100, d.rate);
  // The tone is really there: a lossy copy of a sine has most of its energy.
  double energy = 0;
  const short* s = reinterpret_cast<const short*>(d.data.data());
  for (int i = 0; i < 44100 * 2; ++i) energy += static_cast<double>(s[i]) * s[i];
  EXPECT_GT(energy / (44100 * 2), 1e7);

  Decoded mono = load(at("mono.ogg"));
  ASSERT_TRUE(mono.ok);
  EXPECT_EQ(1, mono.channels);
  EXPECT_EQ(22050, mono.rate);
  EXPECT_EQ(4410, mono.frames);
}

// The samples are the decoder's own 16-bit conversion of the stream (rounded to
// nearest, limited to the range), interleaved, for a tone and for a square wave
// whose copy overshoots full scale.
TEST_F(OggFiles, SamplesAreTheDecodersOwnConversion) {
  for (const char* name : {"long.ogg", "mono.ogg", "square.ogg"}) {
    Decoded ours = load(at(name));
    ASSERT_TRUE(ours.ok) << name;
    int channels = 0, rate = 0;
    short* reference = nullptr;
    int frames = stb_vorbis_decode_filename(at(name).c_str(), &channels, &rate, &reference);
    ASSERT_GT(frames, 0) << name;
    EXPECT_EQ(frames, ours.frames) << name;
    EXPECT_EQ(channels, ours.channels) << name;
    const short* got = reinterpret_cast<const short*>(ours.data.data());
    size_t values = static_cast<size_t>(frames) * static_cast<size_t>(channels);
    size_t differ = 0, clipped = 0;
    for (size_t i = 0; i < values; ++i) {
      differ += got[i] != reference[i];
      clipped += got[i] == 32767 || got[i] == -32768;
    }
    EXPECT_EQ(0u, differ) << name;
    if (std::string(name) == "square.ogg") {
      EXPECT_GT(clipped, 100u) << "the overshoot is limited, not wrapped";
    }
    std::free(reference);
  }
}

TEST_F(OggFiles, DamagedOggFails) {
  Bytes whole = read_file(at("mono.ogg"));
  for (size_t n : {size_t(0), size_t(4), size_t(30), size_t(100)}) {
    write_file(at("cut.ogg"), Bytes(whole.begin(), whole.begin() + static_cast<long>(n)));
    EXPECT_FALSE(load(at("cut.ogg")).ok) << "cut at " << n;
  }
  Bytes garbage(4000);
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<unsigned char>(i * 7919 >> 3);
  write_file(at("garbage.ogg"), garbage);
  EXPECT_FALSE(load(at("garbage.ogg")).ok);
}

// The decoder allocates and fills whatever lengths the comment header gives,
// even past the header's end (the Ogg fuzzer found a count that made it ask for
// exabytes); such files are refused before it reads them.
TEST_F(OggFiles, CommentLengthsBeyondTheHeaderAreRefused) {
  Bytes whole = read_file(at("mono.ogg"));
  const Bytes tag = {3, 'v', 'o', 'r', 'b', 'i', 's'};
  auto found = std::search(whole.begin(), whole.end(), tag.begin(), tag.end());
  ASSERT_NE(found, whole.end());
  const size_t vendor = static_cast<size_t>(found - whole.begin()) + 7;
  const size_t count = vendor + 4 + get32(whole, vendor);
  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
  } cases[] = {{"vendor length", vendor, 0xffffffffu}, {"vendor length", vendor, 60000},
               {"comment count", count, 0x40000000u}, {"comment count", count, 5000},
               {"first comment length", count + 4, 0xfffffff0u}};
  for (const Case& c : cases) {
    Bytes b = whole;
    put32(b, c.at, c.value);
    write_file(at("comments.ogg"), b);
    EXPECT_FALSE(load(at("comments.ogg")).ok) << c.what << " " << c.value;
  }
  EXPECT_TRUE(load(at("mono.ogg")).ok);
  EXPECT_FALSE(load(std::string(VW_SOURCE_DIR) + "/fuzz/regressions/ogg_fuzz/comment-count-beyond-packet.ogg").ok);
}

// The decoder keeps its memory in a block of ours: a file it gives up on
// half-way (here in a sparse codebook, where it used to lose what it had
// allocated) leaves nothing behind, as the sanitizer run checks.
TEST_F(OggFiles, FilesTheDecoderGivesUpOnLeaveNothingAllocated) {
  EXPECT_FALSE(load(std::string(VW_SOURCE_DIR) + "/fuzz/regressions/ogg_fuzz/sparse-codebook-leak.ogg").ok);
  // A comment list that outgrew the decoder's first block made it read a list
  // it never had; the block now starts large enough for any list.
  EXPECT_FALSE(load(std::string(VW_SOURCE_DIR) + "/fuzz/regressions/ogg_fuzz/comment-list-beyond-memory.ogg").ok);
  Decoded d = load(at("long.ogg"));  // and a whole file still decodes in it
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(100000, d.frames);
}

// Codebooks whose lookup tables the decoder would size with arithmetic that
// leaves the int range (undefined behaviour the sanitizer run catches) are
// refused before it reads them.
TEST_F(OggFiles, CodebooksTheDecoderCannotSizeAreRefused) {
  for (const char* name : {"lattice-power-beyond-int.ogg", "lookup-table-beyond-int.ogg"})
    EXPECT_FALSE(load(std::string(VW_SOURCE_DIR) + "/fuzz/regressions/ogg_fuzz/" + name).ok) << name;
}

}  // namespace
