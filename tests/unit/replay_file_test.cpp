// The replay file's reader and writer: what is written reads back the same,
// and a flipped byte, a cut, a newer format, other rules or contents that do
// not fit together are each refused with their own error, never read.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "game/meta/replay_file.h"

namespace {

using replay::ReadError;

replay::Replay Sample() {
  replay::Replay r;
  r.header.playMode = 7;
  r.header.buttonMode = 1;
  r.header.seed = 0xdeadbeef;
  r.header.badgeCounter = -3;
  r.header.badges[0] = 0x80000001u;
  r.header.badges[7] = 5;
  for (int i = 0; i < 10; ++i) r.header.topTen[i] = 1000 - 100 * i;
  r.header.carry = replay::Carry{12.5f, 3456.25f, 3440, 77, 123, 9, -1};
  replay::EventWriter writer;
  replay::Event screen;
  screen.what = replay::kScreenChanged | replay::kButtonsChanged;
  screen.width = 640;
  screen.height = 359.8125f;
  screen.buttons = 0x1ff;
  writer.Add(screen, &r.events);
  replay::Event press;
  press.update = 1;
  press.what = replay::kPointerChanged | replay::kPaused;
  press.pointer = replay::Pointer{true, -5, 470};
  press.pause = replay::PauseState{1, -1, -64, 1};
  writer.Add(press, &r.events);
  replay::Event reload;
  reload.update = 300;
  reload.what = replay::kReloaded | replay::kPointerChanged;
  reload.loadStep = 1;
  writer.Add(reload, &r.events);
  r.updates = 301;
  r.score = 4242;
  r.hashes = {1, 2, 3, 4, 5, 6};
  return r;
}

ReadError DecodeString(const std::string& bytes, replay::Replay* out) {
  return replay::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
}

// Puts a correct length and checksum on hand-made bytes.
std::string Reseal(std::string bytes) {
  uint32_t length = static_cast<uint32_t>(bytes.size());
  std::memcpy(&bytes[8], &length, 4);
  uint32_t crc = replay::Crc32(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size() - 4);
  std::memcpy(&bytes[bytes.size() - 4], &crc, 4);
  return bytes;
}

TEST(ReplayFile, WhatIsWrittenReadsBackTheSame) {
  replay::Replay in = Sample();
  std::string bytes = replay::Encode(in);
  replay::Replay out;
  ASSERT_EQ(DecodeString(bytes, &out), ReadError::kNone);
  EXPECT_EQ(out.header.playMode, 7);
  EXPECT_EQ(out.header.buttonMode, 1);
  EXPECT_EQ(out.header.seed, 0xdeadbeefu);
  EXPECT_EQ(out.header.badgeCounter, -3);
  EXPECT_EQ(out.header.badges[0], 0x80000001u);
  EXPECT_EQ(out.header.badges[7], 5u);
  EXPECT_EQ(out.header.topTen[9], 100);
  EXPECT_EQ(out.header.carry.distance, 3456.25f);
  EXPECT_EQ(out.header.carry.pauseChoice, -1);
  EXPECT_EQ(out.updates, 301u);
  EXPECT_EQ(out.score, 4242);
  EXPECT_EQ(out.hashes, in.hashes);
  EXPECT_EQ(out.events, in.events);

  replay::EventReader reader;
  replay::Event e;
  ASSERT_TRUE(reader.Next(out.events, &e));
  EXPECT_EQ(e.update, 0u);
  EXPECT_EQ(e.height, 359.8125f);
  EXPECT_EQ(e.buttons, 0x1ff);
  ASSERT_TRUE(reader.Next(out.events, &e));
  EXPECT_EQ(e.update, 1u);
  EXPECT_TRUE(e.pointer.down);
  EXPECT_EQ(e.pointer.x, -5);
  EXPECT_EQ(e.pointer.y, 470);
  EXPECT_EQ(e.pause.opened, -1);
  EXPECT_EQ(e.pause.y, -64);
  ASSERT_TRUE(reader.Next(out.events, &e));
  EXPECT_EQ(e.update, 300u);
  EXPECT_EQ(e.loadStep, 1);
  EXPECT_FALSE(e.pointer.down);
  EXPECT_FALSE(reader.Next(out.events, &e));
}

TEST(ReplayFile, EveryFlippedBitIsRefused) {
  std::string bytes = replay::Encode(Sample());
  for (size_t i = 0; i < bytes.size(); ++i) {
    for (int bit = 0; bit < 8; ++bit) {
      std::string damaged = bytes;
      damaged[i] = static_cast<char>(damaged[i] ^ (1 << bit));
      replay::Replay out;
      ASSERT_NE(DecodeString(damaged, &out), ReadError::kNone) << "byte " << i << " bit " << bit;
      EXPECT_TRUE(out.events.empty());
    }
  }
}

TEST(ReplayFile, EveryCutIsRefused) {
  std::string bytes = replay::Encode(Sample());
  for (size_t n = 0; n < bytes.size(); ++n) {
    replay::Replay out;
    ReadError error = DecodeString(bytes.substr(0, n), &out);
    EXPECT_EQ(error, n < 4 ? ReadError::kNotReplay : ReadError::kTruncated) << n << " bytes";
  }
  replay::Replay out;
  EXPECT_EQ(DecodeString(bytes + "x", &out), ReadError::kDamaged);
}

TEST(ReplayFile, NewerFormatsAndOtherRulesAreNamed) {
  std::string bytes = replay::Encode(Sample());
  replay::Replay out;
  std::string newer = bytes;
  newer[4] = static_cast<char>(replay::kFormatVersion + 1);
  EXPECT_EQ(DecodeString(newer, &out), ReadError::kNewerFormat);
  std::string rules = bytes;
  rules[6] = static_cast<char>(replay::kRulesVersion + 1);
  EXPECT_EQ(DecodeString(Reseal(rules), &out), ReadError::kOtherRules);
  EXPECT_EQ(DecodeString("PNG\x89 and more", &out), ReadError::kNotReplay);
  std::string huge = bytes;
  huge.resize(replay::kMaxFileBytes + 1);
  EXPECT_EQ(DecodeString(huge, &out), ReadError::kTooLarge);
}

// Sealed with a good checksum, but not something the recorder writes.
TEST(ReplayFile, ContentsThatDoNotFitTogetherAreRefused) {
  const std::string good = replay::Encode(Sample());
  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
    size_t width;  // bytes
  };
  const Case cases[] = {
      {"play mode 11", 12, 11, 1},
      {"play mode 0", 12, 0, 1},
      {"button mode 2", 13, 2, 1},
      {"updates that need another hash", 124, 360, 4},
      {"no updates", 124, 0, 4},
      {"more updates than a day", 124, replay::kMaxUpdates + 1, 4},
      {"an event of an unknown kind", 137, 0x40, 1},
      {"a first event without the screen", 137, replay::kButtonsChanged, 1},
      {"a carried distance that is not a number", 100, 0x7fc00000u, 4},
  };
  for (const Case& c : cases) {
    std::string bytes = good;
    std::memcpy(&bytes[c.at], &c.value, c.width);
    replay::Replay out;
    EXPECT_EQ(DecodeString(Reseal(bytes), &out), ReadError::kInconsistent) << c.what;
  }
}

TEST(ReplayFile, EventsMustRiseAndStayWithinTheRound) {
  replay::Replay r = Sample();
  r.events.clear();
  replay::EventWriter writer;
  replay::Event e;
  e.what = replay::kScreenChanged;
  e.width = e.height = 100;
  writer.Add(e, &r.events);
  e.update = 302;  // past the last update
  e.what = replay::kButtonsChanged;
  writer.Add(e, &r.events);
  replay::Replay out;
  EXPECT_EQ(DecodeString(replay::Encode(r), &out), ReadError::kInconsistent);

  r.events.clear();
  replay::EventWriter again;
  e = replay::Event();
  e.what = replay::kScreenChanged;
  e.width = 0;  // no screen
  e.height = 100;
  again.Add(e, &r.events);
  EXPECT_EQ(DecodeString(replay::Encode(r), &out), ReadError::kInconsistent);
}

}  // namespace
