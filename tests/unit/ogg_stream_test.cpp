// The streaming Ogg reader against the whole-file one, over files oggenc
// makes at test time: the same samples whatever the read sizes, a loop that
// wraps on the exact sample its last page names, and damaged streams that end
// where the damage starts.
#include "audio/ogg_stream.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/decode.h"
#include "game/vaultwick.h"

namespace {

typedef std::vector<unsigned char> Bytes;
typedef std::vector<short> Samples;

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

// Offsets of the pages of an Ogg file, in order.
std::vector<size_t> page_offsets(const Bytes& b) {
  std::vector<size_t> pages;
  for (size_t at = 0; at + 27 <= b.size();) {
    pages.push_back(at);
    size_t body = 0;
    for (size_t i = 0; i < b[at + 26]; ++i) body += b[at + 27 + i];
    at += 27 + b[at + 26] + body;
  }
  return pages;
}

// The same file with every page's checksum made to hold, so that damage
// inside the pages reaches the header checks and the decoder.
Bytes with_checksums(Bytes b) {
  for (size_t at : page_offsets(b)) {
    size_t length = 27 + b[at + 26];
    for (size_t i = 0; i < b[at + 26]; ++i) length += b[at + 27 + i];
    if (at + length > b.size()) break;
    uint32_t crc = ogg_page_checksum(&b[at], length);
    for (int i = 0; i < 4; ++i) b[at + 22 + i] = static_cast<unsigned char>(crc >> (8 * i));
  }
  return b;
}

// The whole file through ogg_decode: what the stream must give.
Samples whole(const std::string& path, int* channels = nullptr) {
  FILE* f = std::fopen(path.c_str(), "rb");
  PcmData pcm;
  bool ok = f && ogg_decode(f, &pcm);
  if (f) std::fclose(f);
  if (!ok) return Samples();
  const short* s = reinterpret_cast<const short*>(pcm.data);
  Samples out(s, s + static_cast<size_t>(pcm.frames) * static_cast<size_t>(pcm.channels));
  if (channels) *channels = pcm.channels;
  std::free(pcm.data);
  return out;
}

std::unique_ptr<OggStream> open(const std::string& path) { return OggStream::Open(std::fopen(path.c_str(), "rb")); }

// Refused when opened, or, for what only the decoder finds, at the first read
// with nothing read.
bool refused(const std::string& path) {
  std::unique_ptr<OggStream> s = open(path);
  short samples[64];
  return !s || (s->Read(samples, 8, true) == 0 && s->Failed());
}

// Reads `frames` frames in pieces of `piece`, as a queue refill would.
Samples stream(OggStream& s, size_t frames, size_t piece, bool loop) {
  Samples out;
  std::vector<short> block(piece * static_cast<size_t>(s.Channels()));
  while (out.size() < frames * static_cast<size_t>(s.Channels())) {
    size_t n = s.Read(block.data(), piece, loop);
    out.insert(out.end(), block.begin(), block.begin() + static_cast<long>(n) * s.Channels());
    if (n < piece) break;
  }
  return out;
}

class OggStreamFiles : public ::testing::Test {
 protected:
  static std::string dir;

  static void SetUpTestSuite() {
    char name[] = "/tmp/vw_stream_XXXXXX";
    ASSERT_TRUE(mkdtemp(name));
    dir = name;
    // Lengths that no frame size divides, so the last packet is cut short by
    // the granule position of the last page; noise, so that the long one
    // spreads over many pages.
    run("sox -V1 -r 44100 -c 2 -n -b 16 " + at("long.wav") + " synth 200003s pinknoise vol 0.5");
    run("oggenc -Q -o " + at("long.ogg") + " " + at("long.wav"));
    run("sox -V1 -r 22050 -c 1 -n -b 16 " + at("short.wav") + " synth 7919s sine 500");
    run("oggenc -Q -o " + at("short.ogg") + " " + at("short.wav"));
  }
  static void TearDownTestSuite() { run("rm -rf " + dir); }

  static std::string at(const std::string& name) { return dir + "/" + name; }
  static void run(const std::string& command) { ASSERT_EQ(0, std::system(command.c_str())) << command; }
};

std::string OggStreamFiles::dir;

TEST_F(OggStreamFiles, GivesTheWholeFilesSamplesWhateverTheReadSize) {
  for (const char* name : {"long.ogg", "short.ogg"}) {
    int channels = 0;
    Samples expected = whole(at(name), &channels);
    ASSERT_FALSE(expected.empty()) << name;
    for (size_t piece : {size_t(1), size_t(1000), size_t(4096), size_t(1) << 20}) {
      std::unique_ptr<OggStream> s = open(at(name));
      ASSERT_TRUE(s) << name;
      EXPECT_EQ(channels, s->Channels());
      Samples got = stream(*s, expected.size(), piece, false);
      EXPECT_TRUE(got == expected) << name << " in pieces of " << piece << ": " << got.size() << " values of "
                                   << expected.size();
      EXPECT_FALSE(s->Failed());
      short spare[8];
      EXPECT_EQ(0u, s->Read(spare, 1, false)) << "nothing after the end";
    }
  }
  EXPECT_EQ(200003u * 2, whole(at("long.ogg")).size());
  EXPECT_EQ(44100, open(at("long.ogg"))->Rate());
}

// A loop plays the file's samples again and again with nothing between: the
// wrap is on the sample the last page's granule position names, not on the
// padded end of the last packet.
TEST_F(OggStreamFiles, LoopWrapsOnTheExactSample) {
  for (const char* name : {"short.ogg", "long.ogg"}) {
    Samples once = whole(at(name));
    Samples thrice;
    for (int i = 0; i < 3; ++i) thrice.insert(thrice.end(), once.begin(), once.end());
    std::unique_ptr<OggStream> s = open(at(name));
    ASSERT_TRUE(s);
    size_t frames = thrice.size() / static_cast<size_t>(s->Channels());
    Samples got = stream(*s, frames, 4096, true);
    got.resize(std::min(got.size(), thrice.size()));
    EXPECT_TRUE(got == thrice) << name;
    EXPECT_FALSE(s->Failed());
  }
}

// Damage anywhere after the headers ends the stream at the damaged page: the
// frames before it are the file's own, then nothing, and Failed() says why.
TEST_F(OggStreamFiles, DamageMidStreamEndsItThere) {
  Bytes bytes = read_file(at("long.ogg"));
  std::vector<size_t> pages = page_offsets(bytes);
  ASSERT_GT(pages.size(), 8u);
  size_t middle = pages[pages.size() / 2];
  Samples expected = whole(at("long.ogg"));
  struct Case {
    const char* what;
    Bytes file;
  } cases[] = {{"a body byte flipped", bytes}, {"capture pattern broken", bytes}, {"cut inside a page", bytes}};
  cases[0].file[middle + 40] ^= 0x20;
  cases[1].file[middle] = 'X';
  cases[2].file.resize(middle + 100);
  for (Case& c : cases) {
    write_file(at("damaged.ogg"), c.file);
    std::unique_ptr<OggStream> s = open(at("damaged.ogg"));
    ASSERT_TRUE(s) << c.what;
    Samples got = stream(*s, expected.size(), 4096, true);
    EXPECT_TRUE(s->Failed()) << c.what;
    EXPECT_GT(got.size(), 0u) << c.what;
    EXPECT_LT(got.size(), expected.size() * 2 / 3) << c.what << ": played on past the damage";
    EXPECT_TRUE(std::equal(got.begin(), got.end(), expected.begin())) << c.what;
    short spare[8];
    EXPECT_EQ(0u, s->Read(spare, 4, true)) << c.what << ": nothing after the damage";
  }
}

// Opening reads and checks the headers only; the decoder, which starts at the
// first read, refuses what the checks cannot see, and the stream then gives
// nothing.
TEST_F(OggStreamFiles, HeadersThatTheWholeFileReaderRefusesAreRefused) {
  EXPECT_FALSE(OggStream::Open(nullptr));
  Bytes bytes = read_file(at("short.ogg"));
  std::vector<size_t> pages = page_offsets(bytes);
  ASSERT_GE(pages.size(), 3u);
  for (size_t cut : {size_t(0), size_t(20), pages[1] + 10, pages[2] - 1}) {
    write_file(at("cut.ogg"), Bytes(bytes.begin(), bytes.begin() + static_cast<long>(cut)));
    EXPECT_TRUE(refused(at("cut.ogg"))) << "cut at " << cut;
  }
  Bytes wrong = bytes;
  wrong[pages[1] + 30] ^= 1;  // in the comment header: its checksum no longer holds
  write_file(at("wrong.ogg"), wrong);
  EXPECT_FALSE(open(at("wrong.ogg")));
  // An identification header the decoder could not work with: no channels,
  // a long block shorter than the short one.
  for (size_t at_ : {size_t(11), size_t(28)}) {
    Bytes id = bytes;
    id[27 + id[26] + at_] = at_ == 11 ? 0 : 0x78;
    write_file(at("id.ogg"), with_checksums(id));
    EXPECT_FALSE(open(at("id.ogg"))) << "identification byte " << at_;
  }
  // Files that once broke the whole-file reader, with checksums that hold, so
  // that it is the header checks that refuse them.
  const std::string regressions = std::string(VW_SOURCE_DIR) + "/fuzz/regressions/ogg_fuzz/";
  for (const char* name : {"comment-count-beyond-packet.ogg", "sparse-codebook-leak.ogg",
                           "comment-list-beyond-memory.ogg", "lattice-power-beyond-int.ogg",
                           "lookup-table-beyond-int.ogg"}) {
    Bytes file = read_file(regressions + name);
    ASSERT_FALSE(file.empty()) << name;
    write_file(at("regression.ogg"), with_checksums(file));
    EXPECT_TRUE(refused(at("regression.ogg"))) << name;
  }
  write_file(at("refreshed.ogg"), with_checksums(bytes));
  EXPECT_TRUE(open(at("refreshed.ogg"))) << "refreshing sound checksums changes nothing";
}

// Every Ogg file the game ships decodes whole through the game's reader and
// streams to the same samples, wrapping on its last sample; and once there is
// music at all, every file the game's music table names is there.
TEST(ShippedOgg, EveryFileDecodesThroughTheGamesReaderAndStreamsTheSame) {
  namespace fs = std::filesystem;
  const fs::path data = VW_SOURCE_DIR "/data";
  std::vector<std::string> files;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(data))
    if (e.is_regular_file() && e.path().extension() == ".ogg") files.push_back(e.path().string());
  if (files.empty()) GTEST_SKIP() << "data/ holds no Ogg files yet";
  for (const std::string& path : files) {
    int channels = 0;
    Samples once = whole(path, &channels);
    ASSERT_FALSE(once.empty()) << path << " does not decode";
    std::unique_ptr<OggStream> s = open(path);
    ASSERT_TRUE(s) << path << " does not open as a stream";
    Samples twice = stream(*s, once.size() / static_cast<size_t>(channels) * 2, 8192, true);
    EXPECT_FALSE(s->Failed()) << path;
    if (twice.size() > once.size() * 2) twice.resize(once.size() * 2);
    EXPECT_TRUE(twice.size() == once.size() * 2 && std::equal(once.begin(), once.end(), twice.begin()) &&
                std::equal(once.begin(), once.end(), twice.begin() + static_cast<long>(once.size())))
        << path << " streams otherwise than it decodes";
  }
  if (!fs::exists(data / "music")) return;
  for (int track = 0; track <= 9; ++track)
    EXPECT_TRUE(fs::exists(data / bb_Vaultwick_MusicFile(track).ToUtf8())) << "track " << track;
}

}  // namespace
