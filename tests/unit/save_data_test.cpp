// The save string: its exact layout, the three wrapping checksums, sections
// that fall back to their defaults one by one, the values forced after
// loading, atoi-style number reading with wrapping, and the bit flags.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "game_harness.h"

namespace {

using gameharness::Game;

const char kStateFile[] = ".tovrinstate";

std::string ReadStateFile() {
  std::string bytes;
  FILE* f = std::fopen(kStateFile, "rb");
  if (!f) return bytes;
  char block[4096];
  size_t n;
  while ((n = std::fread(block, 1, sizeof block, f)) > 0) bytes.append(block, n);
  std::fclose(f);
  return bytes;
}

void WriteStateFile(const std::string& bytes) {
  FILE* f = std::fopen(kStateFile, "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

std::vector<std::string> SplitBar(const std::string& s) {
  std::vector<std::string> pieces(1);
  for (char c : s) {
    if (c == '|')
      pieces.emplace_back();
    else
      pieces.back() += c;
  }
  return pieces;
}

std::string JoinBar(const std::vector<std::string>& pieces) {
  std::string out;
  for (size_t i = 0; i < pieces.size(); ++i) out += (i ? "|" : "") + pieces[i];
  return out;
}

// The tables as one comparable value.
struct Tables {
  std::vector<int> settings, scores;
  std::vector<bool> badges;
  bool operator==(const Tables& o) const {
    return settings == o.settings && scores == o.scores && badges == o.badges;
  }
};

class SaveData : public ::testing::Test {
 protected:
  Game game_;
  bb_Vaultwick_MyApp& app_ = game_.app();

  // The start values that creation gives the tables before loading.
  void StartValues() {
    for (int i = 0; i < 25; ++i) app_.m_Settings[i] = 0;
    app_.m_Settings[5] = 1;
    for (int i = 0; i < 256; ++i) app_.m_Badges[i] = false;
    for (int i = 0; i < 200; ++i) app_.m_Scores[i] = 0;
  }

  Tables Snapshot() const {
    Tables t;
    for (int i = 0; i < 25; ++i) t.settings.push_back(app_.m_Settings[i]);
    for (int i = 0; i < 100; ++i) t.scores.push_back(app_.m_Scores[i]);
    for (int i = 0; i < 256; ++i) t.badges.push_back(app_.m_Badges[i]);
    return t;
  }

  // Loads `state` over the start values; returns what was printed.
  std::string Load(const std::string& state) {
    WriteStateFile(state);
    StartValues();
    testing::internal::CaptureStdout();
    app_.m_Load();
    return testing::internal::GetCapturedStdout();
  }

  // Fills the tables with values that survive the forced rules unchanged.
  void RandomTables(std::mt19937& rng) {
    std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
    for (int i = 0; i < 25; ++i) app_.m_Settings[i] = any(rng);
    app_.m_Settings[1] = 1 + static_cast<int>(rng() % 5);
    app_.m_Settings[2] |= 3;
    app_.m_Settings[10] = 64 + static_cast<int>(rng() % 1000);
    app_.m_Settings[11] = 64 + static_cast<int>(rng() % 1000);
    app_.m_Settings[12] = 8 + static_cast<int>(rng() % 20);
    // The options' slots hold their rows' values: volumes, speed, button mode.
    app_.m_Settings[13] = static_cast<int>(rng() % 11);
    app_.m_Settings[14] = static_cast<int>(rng() % 11);
    app_.m_Settings[15] = static_cast<int>(rng() % 6);
    app_.m_Settings[16] = static_cast<int>(rng() % 2);
    for (int i = 0; i < 256; ++i) app_.m_Badges[i] = rng() % 2 == 1;
    app_.m_Badges[31] = true;  // bit 31 of word 0: a negative word
    for (int i = 0; i < 100; ++i) app_.m_Scores[i] = any(rng);
  }

  // A valid string for random tables, and those tables.
  std::string RandomSave(unsigned seed, Tables* tables) {
    std::mt19937 rng(seed);
    RandomTables(rng);
    *tables = Snapshot();
    app_.m_Save();
    return ReadStateFile();
  }
};

const std::string kAllLoaded =
    "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Loaded\nHighscore 2 Loaded\n"
    "Highscore 3 Loaded\nHighscore 4 Loaded\n";

TEST_F(SaveData, AFirstStartSavesTheDefaultString) {
  // Creation found no state file and printed nothing; suspending saves.
  app_.m_OnSuspend();
  std::string expected = "0|1|3|0|0|1|0|0|0|0|64|64|10|" + Repeat("0|", 12) + "1476|" + Repeat("0|", 9) +
                         Repeat(Repeat("0|", 21), 5);
  EXPECT_EQ(ReadStateFile(), expected);
  EXPECT_EQ(SplitBar(expected).size(), 141u);
}

TEST_F(SaveData, AnEmptyOrAbsentStateLoadsTheDefaultsSilently) {
  for (bool present : {false, true}) {
    std::remove(kStateFile);
    if (present) WriteStateFile("");
    StartValues();
    app_.m_Badges[7] = true;  // sections that are skipped keep what they hold
    app_.m_Scores[3] = 42;
    testing::internal::CaptureStdout();
    app_.m_Load();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << present;
    const int settings[13] = {0, 1, 3, 0, 0, 1, 0, 0, 0, 0, 64, 64, 10};
    for (int i = 0; i < 25; ++i) EXPECT_EQ(app_.m_Settings[i], i < 13 ? settings[i] : 0) << i;
    EXPECT_TRUE(app_.m_Badges[7]);
    EXPECT_EQ(app_.m_Scores[3], 42);
  }
}

TEST_F(SaveData, RandomTablesSurviveASaveAndLoad) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    Tables saved;
    std::string state = RandomSave(seed, &saved);
    ASSERT_EQ(SplitBar(state).size(), 141u);
    EXPECT_EQ(state.back(), '|');
    EXPECT_EQ(Load(state), kAllLoaded) << seed;
    EXPECT_TRUE(Snapshot() == saved) << seed;
    // Saving what was loaded gives the same string back.
    app_.m_Save();
    EXPECT_EQ(ReadStateFile(), state) << seed;
  }
}

TEST_F(SaveData, BadgeThirtyOneAloneMakesTheMostNegativeWord) {
  StartValues();
  app_.m_Settings[1] = 1;
  app_.m_Badges[31] = true;
  app_.m_Save();
  std::vector<std::string> pieces = SplitBar(ReadStateFile());
  EXPECT_EQ(pieces[26], "-2147483648");
  for (int k = 27; k <= 33; ++k) EXPECT_EQ(pieces[k], "0");
  EXPECT_EQ(pieces[34], "-2147483648");
  EXPECT_EQ(Load(ReadStateFile()), kAllLoaded);
  for (int id = 0; id < 256; ++id) EXPECT_EQ(app_.m_Badges[id], id == 31) << id;
}

TEST_F(SaveData, ChecksumsWeighAndWrapAsTheFormatSays) {
  // Settings: index times value, index 0 ignored; 24 * INT_MAX wraps to -24.
  std::string settings = "99|" + Repeat("0|", 23) + "2147483647|-24|";
  EXPECT_EQ(Load(settings), "Settings Loaded\n");
  EXPECT_EQ(app_.m_Settings[0], 99);
  EXPECT_EQ(app_.m_Settings[24], INT_MAX);
  EXPECT_EQ(app_.m_Settings[5], 0);  // a loaded setting is kept, even sound off

  // Badges: the words' sum wraps; 2^31 - 1 plus 1 is INT_MIN.
  std::string badges = "2147483647|1|0|0|0|0|0|0|-2147483648|";
  EXPECT_EQ(Load(settings + badges), "Settings Loaded\nBadges Loaded\n");
  for (int id = 0; id < 256; ++id) EXPECT_EQ(app_.m_Badges[id], id < 31 || id == 32) << id;

  // Scores of mode 1 (0-based): top i weighs i + 4, last i weighs m + i + 3.
  // top(1, 2) = 5 and last(1, 9) = 7: 5 * 6 + 7 * 13 = 121.
  std::vector<std::string> mode(21, "0");
  mode[4] = "5";
  mode[19] = "7";
  mode[20] = "121";
  std::string state = settings + badges + Repeat("0|", 21) + JoinBar(mode) + "|";
  EXPECT_EQ(Load(state), "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Loaded\n");
  EXPECT_EQ(app_.m_Scores[12], 5);
  EXPECT_EQ(app_.m_Scores[50 + 19], 7);
  // The same values in mode 0 weigh differently and fail there.
  EXPECT_EQ(Load(settings + badges + JoinBar(mode) + "|"),
            "Settings Loaded\nBadges Loaded\nHighscore 0 Checksum Invalid\n");
}

TEST_F(SaveData, EachDamagedSectionFallsBackAlone) {
  Tables saved;
  std::string good = RandomSave(7, &saved);
  std::vector<std::string> pieces = SplitBar(good);

  {  // Settings checksum off by one: defaults with sound on, the rest loads.
    std::vector<std::string> bad = pieces;
    bad[25] = std::to_string(std::stoll(bad[25]) + 1);
    std::string out = Load(JoinBar(bad));
    EXPECT_EQ(out.substr(0, out.find('\n')), "Settings Checksum Invalid");
    EXPECT_EQ(out.substr(out.find('\n') + 1), kAllLoaded.substr(kAllLoaded.find('\n') + 1));
    const int settings[13] = {0, 1, 3, 0, 0, 1, 0, 0, 0, 0, 64, 64, 10};
    for (int i = 0; i < 25; ++i) EXPECT_EQ(app_.m_Settings[i], i < 13 ? settings[i] : 0) << i;
    Tables now = Snapshot();
    EXPECT_TRUE(now.badges == saved.badges);
    EXPECT_TRUE(now.scores == saved.scores);
  }
  {  // One badge word changed: no badges at all, settings and scores intact.
    std::vector<std::string> bad = pieces;
    bad[29] = bad[29] == "5" ? "6" : "5";
    EXPECT_EQ(Load(JoinBar(bad)),
              "Settings Loaded\nBadge Checksum Invalid\nHighscore 0 Loaded\nHighscore 1 Loaded\n"
              "Highscore 2 Loaded\nHighscore 3 Loaded\nHighscore 4 Loaded\n");
    Tables now = Snapshot();
    EXPECT_TRUE(now.settings == saved.settings);
    EXPECT_TRUE(now.scores == saved.scores);
    EXPECT_TRUE(now.badges == std::vector<bool>(256, false));
  }
  for (int mode = 0; mode < 5; ++mode) {  // One score digit: that mode only.
    std::vector<std::string> bad = pieces;
    std::string& digitPiece = bad[35 + mode * 21 + 7];
    char& digit = digitPiece.back();
    digit = digit == '9' ? '8' : static_cast<char>(digit + 1);
    std::string out = Load(JoinBar(bad));
    std::string line = "Highscore " + std::to_string(mode) + " Checksum Invalid\n";
    std::string expected = kAllLoaded;
    std::string loaded = "Highscore " + std::to_string(mode) + " Loaded\n";
    expected.replace(expected.find(loaded), loaded.size(), line);
    EXPECT_EQ(out, expected) << mode;
    Tables now = Snapshot();
    EXPECT_TRUE(now.settings == saved.settings);
    EXPECT_TRUE(now.badges == saved.badges);
    for (int m = 0; m < 5; ++m) {
      for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(now.scores[m * 10 + i], m == mode ? 0 : saved.scores[m * 10 + i]) << m << " " << i;
        EXPECT_EQ(now.scores[50 + m * 10 + i], m == mode ? 0 : saved.scores[50 + m * 10 + i]) << m << " " << i;
      }
    }
  }
}

TEST_F(SaveData, AStringCutShortLoadsTheSectionsItStillHolds) {
  Tables saved;
  std::string good = RandomSave(11, &saved);
  std::vector<std::string> pieces = SplitBar(good);
  auto cut = [&](size_t keep) {
    return JoinBar(std::vector<std::string>(pieces.begin(), pieces.begin() + static_cast<long>(keep))) + "|";
  };

  // After the badge section: settings and badges, no score lists, no score messages.
  EXPECT_EQ(Load(cut(35)), "Settings Loaded\nBadges Loaded\n");
  Tables now = Snapshot();
  EXPECT_TRUE(now.settings == saved.settings);
  EXPECT_TRUE(now.badges == saved.badges);
  EXPECT_TRUE(now.scores == std::vector<int>(100, 0));

  // Within the third mode: the first two load, the rest keep their start values.
  EXPECT_EQ(Load(cut(35 + 2 * 21 + 19)), "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Loaded\n");
  now = Snapshot();
  for (int m = 0; m < 5; ++m)
    for (int i = 0; i < 10; ++i) EXPECT_EQ(now.scores[m * 10 + i], m < 2 ? saved.scores[m * 10 + i] : 0);

  // Without the settings checksum (the empty last piece reads as 0, or no
  // piece at all) the settings fail.
  EXPECT_EQ(Load(cut(25)), "Settings Checksum Invalid\n");
  EXPECT_EQ(app_.m_Settings[5], 1);
  EXPECT_EQ(Load(JoinBar(std::vector<std::string>(pieces.begin(), pieces.begin() + 25))),
            "Settings Checksum Invalid\n");

  // Fewer than 25 pieces skip the settings, so the badge section begins at
  // the very first piece.
  EXPECT_EQ(Load("1|2|0|0|0|0|0|0|3|"), "Badges Loaded\n");
  EXPECT_TRUE(app_.m_Badges[0]);
  EXPECT_TRUE(app_.m_Badges[33]);
  EXPECT_EQ(app_.m_Settings[1], 1);
  EXPECT_EQ(Load("1|2|0|0|0|0|0|0|3"), "Badges Loaded\n");  // nine pieces are enough
  EXPECT_EQ(Load("1|2|0|0|0|0|0|3"), "");                  // eight are not
}

TEST_F(SaveData, LoadedSettingsAreForcedIntoRange) {
  struct Case {
    int index, saved, loaded;
  } cases[] = {
      {1, 9, 5}, {1, 0, 1}, {1, -4, 1}, {1, 5, 5}, {1, 3, 3},  // a real play mode
      {2, 0, 3}, {2, 4, 7}, {2, -8, -5},                       // modes 1 and 2 open
      {10, 63, 64}, {10, 64, 64}, {10, -1000, 64},            // the stick on screen
      {11, 10, 64}, {11, 300, 300},
      {12, 7, 10}, {12, 8, 8}, {12, -3, 10},                    // too small a stick
  };
  for (const Case& c : cases) {
    StartValues();
    app_.m_Settings[c.index] = c.saved;
    app_.m_Save();
    EXPECT_EQ(Load(ReadStateFile()), kAllLoaded);
    EXPECT_EQ(app_.m_Settings[c.index], c.loaded) << "index " << c.index << " saved " << c.saved;
  }
}

TEST_F(SaveData, NumbersAreReadLikeAtoiButWrapWhenTooLong) {
  // Settings 3 is read from each piece; only settings 3 and 5 count toward
  // the checksum, so it is 3 * value + 5.
  struct Case {
    std::string piece;
    int value;
  } cases[] = {
      {"  \t+12", 12},       {"-7", -7},         {"12abc", 12},         {"abc", 0},           {"", 0},
      {"- 5", 0},            {"--5", 0},         {"4294967299", 3},     {"-4294967295", 1},   {"2147483648", INT_MIN},
      {"-2147483648", INT_MIN}, {"99999999999999999999", 1661992959}, {"\xC4\xB1" "2", 12},  // U+0131 narrows to "1"
  };
  for (const Case& c : cases) {
    uint32_t sum = 3u * static_cast<uint32_t>(c.value) + 5u;
    int32_t checksum = static_cast<int32_t>(sum);
    std::string state = "0|0|0|" + c.piece + "|0|1|" + Repeat("0|", 19) + std::to_string(checksum) + "|";
    EXPECT_EQ(Load(state), "Settings Loaded\n") << c.piece;
    EXPECT_EQ(app_.m_Settings[3], c.value) << c.piece;
  }
}

TEST_F(SaveData, DebugModePrintsTheWholeString) {
  Tables saved;
  std::string state = RandomSave(3, &saved);
  bb_Vaultwick_DebugMode = 1;
  testing::internal::CaptureStdout();
  app_.m_Save();
  std::string saveOut = testing::internal::GetCapturedStdout();
  std::string loadOut = Load(state);
  bb_Vaultwick_DebugMode = 0;
  EXPECT_EQ(saveOut, state + "\n");
  EXPECT_EQ(loadOut, state + "\n" + kAllLoaded);
}

TEST_F(SaveData, CreationReadsTheStateThatSuspendWrote) {
  app_.m_Settings[1] = 4;
  app_.m_Settings[3] = 1234;
  app_.m_Badges[18] = true;
  app_.m_Scores[30] = 9000;
  app_.m_OnSuspend();
  // Creation clears the tables, then the saved state is read over them.
  testing::internal::CaptureStdout();
  app_.m_OnCreate();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), kAllLoaded);
  EXPECT_EQ(app_.m_MenuMode, 4);
  EXPECT_EQ(app_.m_Settings[3], 1234);
  EXPECT_TRUE(app_.m_Badges[18]);
  EXPECT_EQ(app_.m_Scores[30], 9000);
}

TEST(SaveDataFlags, BitsAreNumberedFromOne) {
  Game game;
  bb_Vaultwick_MyApp& app = game.app();
  EXPECT_EQ(app.m_SetFlag(5, 2, 1), 7);
  EXPECT_EQ(app.m_SetFlag(7, 1, 0), 6);
  EXPECT_EQ(app.m_SetFlag(7, 1, 2), 0);
  EXPECT_EQ(app.m_SetFlag(7, 1, -1), 0);
  EXPECT_EQ(app.m_SetFlag(0, 32, 1), INT_MIN);
  EXPECT_EQ(app.m_SetFlag(-1, 32, 0), INT_MAX);
  EXPECT_EQ(app.m_GetFlag(6, 1), 0);
  EXPECT_EQ(app.m_GetFlag(6, 3), 1);
  EXPECT_EQ(app.m_GetFlag(INT_MIN, 32), 1);
  EXPECT_EQ(app.m_GetFlag(INT_MIN, 31), 0);
  // Out-of-range bit numbers wrap round the word rather than being undefined.
  EXPECT_EQ(app.m_SetFlag(0, 33, 1), 1);
  EXPECT_EQ(app.m_GetFlag(1, INT_MIN + 1), 1);
}

}  // namespace
