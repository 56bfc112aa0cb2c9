// The play modes and the column generator: the random generator, every play
// mode's set-up and opening columns, the difficulty steps, the variant rules
// of the generator and the upper lane as columns enter, the lives and cost
// tables, and the reload of sheets and sounds between play modes.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "play_helpers.h"

namespace {

using gameharness::Game;
using playtest::StartRound;

// The generator's formula, worked out here on its own.
struct Lcg {
  uint64_t seed;
  float Next() {
    seed = (seed * 1664525u + 1013904223u) % 4294967296u;
    return static_cast<float>(seed >> 8) / 16777216.0f;
  }
};

TEST(Random, DrawsFollowTheLinearCongruentialFormula) {
  for (uint32_t start : {1234u, 0x9E3779B9u, 0xFFFFFFFFu}) {
    bb_random_Seed = start;
    Lcg expected{start};
    for (int i = 0; i < 8; ++i) {
      float want = expected.Next();
      EXPECT_FLOAT_EQ(bb_random_Rnd(), want) << "seed " << start << " draw " << i;
      EXPECT_EQ(bb_random_Seed, static_cast<uint32_t>(expected.seed));
    }
  }
  bb_random_Seed = 0;
  float r = Lcg{0}.Next();
  EXPECT_FLOAT_EQ(bb_random_Rnd2(10, 20), 10 + 10 * r);
  bb_random_Seed = 0;
  EXPECT_FLOAT_EQ(bb_random_Rnd3(360), 360 * r);
}

TEST(Random, DrawsStayBelowOne) {
  // The largest state gives the largest draw, still short of 1.
  bb_random_Seed = static_cast<uint32_t>((0xFFFFFFFFull - 1013904223u) * 4276115653u % 4294967296u);
  EXPECT_LT(bb_random_Rnd(), 1.0f);
  EXPECT_EQ(bb_random_Seed, 0xFFFFFFFFu);
}

// What the formula gives for one piece of a plain variant:
// kind and tier from the seed counter and the difficulty.
struct Piece {
  int kind, tier;
};
Piece ReferencePiece(int seedCounter, int maxPiece) {
  Lcg lcg{static_cast<uint32_t>(seedCounter)};
  uint32_t discards = static_cast<uint32_t>(seedCounter + 1) % 10u;
  for (uint32_t i = 0; i < discards; ++i) lcg.Next();
  int p = static_cast<int>((static_cast<float>(maxPiece) + 0.9f - 1) * lcg.Next() + 1);
  return Piece{(p - 1) % 9 + 1, (p - 1) / 9};
}

int KindOfPatternChar(char c) { return static_cast<unsigned char>(c) - 64; }

struct Opening {
  int playMode, variant, lives, width;
  const char* pattern;
  int seed, maxPieceAfter;
};
const Opening kOpenings[] = {
    {1, 1, 3, 256, "0000AAAAIIIIEEEE", 12345, 3},     {2, 1, 0, 256, "AABBCCDDEEDDCCBBAA", 24690, 7},
    {3, 2, 3, 256, "ABCDEFGHIABCDEFGHI", 37035, 7},   {4, 3, 3, 112, "       ", 37171650, 3},
    {5, 4, 0, 400, "  ", 61725, 8},                   {6, 5, 3, 256, "ABCIHG", 74070, 7},
    {7, 6, 1, 256, "AACCEEGGIIGGEECCAA", 86415, 7},   {8, 7, 0, 256, "CGCGCGGC", -1, 7},
    {9, 8, 0, 256, "ACDC", 111105, 12},               {10, 9, 1, 256, "ABCDEFGHGFEDCBA", 123450, 9},
};

// Every play mode's 21 opening columns: the pattern, then generated pieces;
// ring slot 0 and slots 22..63 stay empty in both lanes.
TEST(PlayModes, EveryPlayModeOpensWithItsPatternAndGeneratedColumns) {
  Game game;
  for (const Opening& o : kOpenings) {
    StartRound(game, o.playMode);
    bb_Vaultwick_MyApp& app = game.app();
    SCOPED_TRACE("play mode " + std::to_string(o.playMode));
    EXPECT_EQ(app.m_Mode, o.variant);
    EXPECT_EQ(app.m_Lives, o.lives);
    EXPECT_EQ(app.m_ColumnWidth, o.width);
    EXPECT_EQ(app.m_Column, 21);
    EXPECT_EQ(app.m_MaxPiece, o.maxPieceAfter);
    if (o.seed >= 0) {
      EXPECT_EQ(app.m_PieceSeed, o.seed + 21);
    }
    int length = static_cast<int>(std::strlen(o.pattern));
    for (int slot = 0; slot < 64; ++slot) {
      const int* lower = &app.m_Lower[slot * 10];
      const int* upper = &app.m_Upper[slot * 10];
      if (slot == 0 || slot > 21) {
        for (int i = 0; i < 10; ++i) EXPECT_EQ(lower[i] | upper[i], 0) << "slot " << slot;
        continue;
      }
      if (slot <= length) {
        EXPECT_EQ(lower[0], KindOfPatternChar(o.pattern[slot - 1])) << "slot " << slot;
        EXPECT_EQ(lower[1], 0) << "slot " << slot;
      } else if (o.variant != 3) {
        EXPECT_GE(lower[0], 1) << "slot " << slot;
        EXPECT_LE(lower[0], 9) << "slot " << slot;
      }
      // Only variants 7 and 8 put objects over the opening.
      if (o.variant != 7 && o.variant != 8) {
        EXPECT_EQ(upper[0], 0) << "slot " << slot;
      }
      if (upper[0] > 0) {
        EXPECT_NE(upper[0], lower[0]) << "slot " << slot;
      }
    }
  }
}

TEST(PlayModes, GeneratedOpeningColumnsFollowTheSeedCounter) {
  Game game;
  for (int playMode : {1, 2, 6, 7, 10}) {
    StartRound(game, playMode);
    bb_Vaultwick_MyApp& app = game.app();
    const Opening& o = kOpenings[playMode - 1];
    int length = static_cast<int>(std::strlen(o.pattern));
    int maxPiece = playMode == 1 ? 1 : playMode == 10 ? 9 : 5;
    for (int i = 0; i < 21; ++i) {
      Piece want = ReferencePiece(o.seed + i, maxPiece);
      // The difficulty steps after the 9th and 18th piece.
      if (i == 8 || i == 17) maxPiece = std::min(maxPiece + 1, 9);
      if (i < length) continue;
      EXPECT_EQ(app.m_Lower[(i + 1) * 10], want.kind) << "play mode " << playMode << " column " << i + 1;
      EXPECT_EQ(app.m_Lower[(i + 1) * 10 + 1], want.tier) << "play mode " << playMode << " column " << i + 1;
    }
  }
  // Play mode 1: four empty columns, then low, high and middle spikes, then
  // generated spikes no higher than 3.
  StartRound(game, 1);
  const int want[] = {-16, -16, -16, -16, 1, 1, 1, 1, 9, 9, 9, 9, 5, 5, 5, 5};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(game.app().m_Lower[(i + 1) * 10], want[i]);
  for (int slot = 17; slot <= 21; ++slot) EXPECT_LE(game.app().m_Lower[slot * 10], 3);
}

TEST(PlayModes, FixedSeedsReplayTheirColumnsAndTheClockSeedDoesNot) {
  Game game;
  auto lanes = [&game]() {
    std::vector<int> out;
    for (int i = 0; i < 640; ++i) out.push_back(game.app().m_Lower[i] * 100 + game.app().m_Upper[i]);
    return out;
  };
  StartRound(game, 2);
  std::vector<int> first = lanes();
  game.Update(37);
  StartRound(game, 2);
  EXPECT_EQ(lanes(), first);

  StartRound(game, 8);
  std::vector<int> clockFirst = lanes();
  game.Update(37);
  StartRound(game, 8);
  EXPECT_NE(lanes(), clockFirst);
}

TEST(PlayModes, PlayMode4SpacesItsSolidSpikesThreeToSixColumnsApart) {
  Game game;
  StartRound(game, 4);
  bb_Vaultwick_MyApp& app = game.app();
  for (int slot = 1; slot <= 7; ++slot) EXPECT_EQ(app.m_Lower[slot * 10], -32);
  std::vector<int> spikes;
  for (int c = 0; c < 60; ++c) {
    int kind = app.m_Lower[(app.m_Column % 64) * 10];
    if (c > 0 || app.m_Column > 7) {
      if (kind > 0) spikes.push_back(app.m_Column);
      EXPECT_GE(kind, 0);
      EXPECT_LE(kind, 5);  // at most five levels high
    }
    app.m_NextPiece();
    app.m_Place(app.m_NextKind, app.m_NextTier);
  }
  ASSERT_GT(spikes.size(), 8u);
  for (size_t i = 1; i < spikes.size(); ++i) {
    EXPECT_GE(spikes[i] - spikes[i - 1], 3) << i;
    EXPECT_LE(spikes[i] - spikes[i - 1], 6) << i;
  }
  // The gap counter starts from 0 every round, so every round opens alike.
  StartRound(game, 4);
  std::vector<int> opening(&app.m_Lower[0], &app.m_Lower[0] + 220);
  app.m_GapCount = 5;
  StartRound(game, 4);
  EXPECT_EQ(std::vector<int>(&app.m_Lower[0], &app.m_Lower[0] + 220), opening);
}

TEST(SpikeGenerator, DifficultyRisesEveryNinePiecesUpToItsCap) {
  Game game;
  StartRound(game, 2);
  bb_Vaultwick_MyApp& app = game.app();
  app.m_MaxPiece = 5;
  app.m_MaxPieceCap = 9;
  app.m_PieceCount = 0;
  for (int piece = 1; piece <= 8; ++piece) {
    app.m_NextPiece();
    EXPECT_GE(app.m_NextKind, 1);
    EXPECT_LE(app.m_NextKind, 5);  // only kinds up to the difficulty
    EXPECT_EQ(app.m_NextTier, 0);
  }
  app.m_NextPiece();
  EXPECT_EQ(app.m_MaxPiece, 6);
  for (int piece = 0; piece < 9 * 10; ++piece) app.m_NextPiece();
  EXPECT_EQ(app.m_MaxPiece, 9);

  // Piece numbers above 9 are bobbing spikes of the same nine kinds.
  app.m_MaxPiece = app.m_MaxPieceCap = 27;
  bool tiers[3] = {false, false, false};
  for (int piece = 0; piece < 300; ++piece) {
    app.m_NextPiece();
    ASSERT_GE(app.m_NextTier, 0);
    ASSERT_LE(app.m_NextTier, 2);
    tiers[app.m_NextTier] = true;
    EXPECT_GE(app.m_NextKind, 1);
    EXPECT_LE(app.m_NextKind, 9);
    EXPECT_GE(app.m_UpperPick, 3);
    EXPECT_LE(app.m_UpperPick, 7);
    EXPECT_GE(app.m_PieceRoll, 0);
    EXPECT_LE(app.m_PieceRoll, 9);
    EXPECT_GE(app.m_PiecePhase, 0);
    EXPECT_LE(app.m_PiecePhase, 359);
  }
  EXPECT_TRUE(tiers[0] && tiers[1] && tiers[2]);
}

TEST(SpikeGenerator, TheShieldFloatsOneLevelFromItsSpike) {
  Game game;
  StartRound(game, 9);
  bb_Vaultwick_MyApp& app = game.app();
  for (int piece = 0; piece < 200; ++piece) {
    app.m_NextPiece();
    int kind = app.m_NextKind;
    EXPECT_EQ(std::abs(app.m_UpperPick - kind), 1) << kind;
    if (kind > 7) {
      EXPECT_EQ(app.m_UpperPick, kind - 1);
    } else if (kind <= 3) {
      EXPECT_EQ(app.m_UpperPick, kind + 1);
    }
  }
}

// A clock seed near the top of the int range wraps instead of overflowing,
// and its discard count is the unsigned remainder.
TEST(SpikeGenerator, SeedCountersPastTheIntRangeWrap) {
  Game game;
  StartRound(game, 2);
  bb_Vaultwick_MyApp& app = game.app();
  for (int start : {INT_MAX, -7, INT_MIN}) {
    app.m_PieceSeed = start;
    app.m_MaxPiece = 9;
    app.m_NextPiece();
    uint32_t next = static_cast<uint32_t>(start) + 1u;
    EXPECT_EQ(static_cast<uint32_t>(app.m_PieceSeed), next);
    Lcg lcg{static_cast<uint32_t>(start)};
    for (uint32_t i = 0; i < next % 10u; ++i) lcg.Next();
    int p = static_cast<int>((9 + 0.9f - 1) * lcg.Next() + 1);
    EXPECT_EQ(app.m_NextKind, (p - 1) % 9 + 1) << start;
  }
}

TEST(SpikeGenerator, PlacingWritesTheNewestSlotAndItsUpperRecord) {
  Game game;
  StartRound(game, 2);
  bb_Vaultwick_MyApp& app = game.app();
  app.m_Column = 63;
  app.m_Upper[0] = 5;
  app.m_Upper[3] = 9;
  app.m_PiecePhase = 77;
  app.m_Place(4, 0);
  EXPECT_EQ(app.m_Column, 64);
  EXPECT_EQ(app.m_Lower[0], 4);
  EXPECT_EQ(app.m_Lower[2], 0);  // still spikes have no phase
  EXPECT_EQ(app.m_Upper[0], 0);
  EXPECT_EQ(app.m_Upper[3], 0);
  app.m_Place(13, 2);
  EXPECT_EQ(app.m_Lower[12], 77);
  app.m_Placeb(6, 0);
  EXPECT_EQ(app.m_Column, 65);
  EXPECT_EQ(app.m_Upper[10], 6);
}

// One column entry with the upper lane of `variant`, from a round of it.
struct Entry {
  int lowerKind, upperKind;
};
Entry EnterColumn(Game& game) {
  bb_Vaultwick_MyApp& app = game.app();
  app.m_ColumnPos = static_cast<float>(app.m_ColumnWidth) + 1;
  app.m_Speed = 0;
  game.Update();
  int slot = app.m_Column % 64;
  return Entry{app.m_Lower[slot * 10], app.m_Upper[slot * 10]};
}

TEST(SpikeGenerator, EachVariantFillsItsUpperLaneAsColumnsEnter) {
  Game game;
  StartRound(game, 3);  // variant 2: a floating object every fifth column
  std::vector<int> objects;
  for (int c = 1; c <= 15; ++c) {
    Entry e = EnterColumn(game);
    if (e.upperKind > 0) {
      objects.push_back(c);
      EXPECT_EQ(e.upperKind, 6);
    }
  }
  EXPECT_EQ(objects, (std::vector<int>{5, 10, 15}));

  StartRound(game, 4);  // variant 3: pickups only over empty columns
  int pickups = 0;
  for (int c = 0; c < 120; ++c) {
    Entry e = EnterColumn(game);
    if (e.upperKind > 0) {
      ++pickups;
      EXPECT_LE(e.lowerKind, 0);
      EXPECT_GE(e.upperKind, 3);
      EXPECT_LE(e.upperKind, 7);
    }
  }
  EXPECT_GT(pickups, 0);

  StartRound(game, 6);  // variant 5: a beam above or below every few columns
  int markers = 0;
  for (int c = 0; c < 60; ++c) {
    Entry e = EnterColumn(game);
    if (e.upperKind > 0) ++markers;
    EXPECT_LE(e.upperKind, 2);
    EXPECT_LE(game.app().m_UpperGap, 2);
  }
  EXPECT_GT(markers, 8);

  StartRound(game, 2);  // variant 1 has no upper lane
  for (int c = 0; c < 20; ++c) EXPECT_EQ(EnterColumn(game).upperKind, 0);
}

TEST(PlayModes, LivesAndUnlockCostTables) {
  Game game;
  bb_Vaultwick_MyApp& app = game.app();
  const int lives[] = {0, 3, 0, 3, 3, 0, 3, 1, 0, 0, 1, 0};  // play modes 0..11
  for (int mode = 0; mode <= 11; ++mode) EXPECT_EQ(app.m_GetLives(mode), lives[mode]) << mode;
  EXPECT_EQ(app.m_GetLives(-1), 0);
  struct Cost {
    float x;
    int cost;
  };
  const Cost costs[] = {{4, 5},     {24.9f, 5}, {25, 25},     {99, 75},           {-100, 5},
                        {250, 250}, {1e12f, INT_MAX},         {-1e12f, 5},        {NAN, 5}};
  for (const Cost& c : costs) EXPECT_EQ(app.m_GetCost(c.x), c.cost) << c.x;
}

TEST(PlayModes, SetUpStartsAFreshUnpausedRound) {
  Game game;
  StartRound(game, 5);
  bb_Vaultwick_MyApp& app = game.app();
  // What a finished round of play mode 5 may leave behind.
  app.m_ColumnPos = 350;
  app.m_Distance = 5000;
  app.m_Paused = 1;
  app.m_PauseOpened = 1;
  app.m_PauseY = 240;
  app.m_GameOverTime = 60;
  app.m_Score = 999;
  app.m_RoundOver = 1;
  app.m_BadgesThisGame[3] = true;
  app.m_RoundCounts[20] = 4;
  app.m_Particles[990] = 50;
  StartRound(game, 4);
  EXPECT_EQ(app.m_Screen, 10);
  EXPECT_EQ(app.m_PlayedMode, 4);
  EXPECT_EQ(app.m_Settings[1], 4);
  EXPECT_EQ(app.m_Paused, 0);
  EXPECT_EQ(app.m_PauseOpened, -1);
  EXPECT_EQ(app.m_PauseY, -64);
  EXPECT_EQ(app.m_GameOverTime, 0);
  EXPECT_EQ(app.m_Score, 0);
  EXPECT_EQ(app.m_RoundOver, 0);
  EXPECT_EQ(app.m_Chain, 1);
  EXPECT_EQ(app.m_NextCredit, 250);
  EXPECT_FALSE(app.m_BadgesThisGame[3]);
  EXPECT_EQ(app.m_RoundCounts[20], 0);
  EXPECT_EQ(app.m_Particles[990], 0);
  EXPECT_EQ(app.m_PointerLatch, 1);
  EXPECT_EQ(app.m_KeyLatch, 1);
  // The carried column position fits the narrower column: no burst of
  // columns entering with no travel.
  EXPECT_FLOAT_EQ(app.m_ColumnPos, std::fmod(350.0f, 112.0f));
  EXPECT_FLOAT_EQ(app.m_Distance, 5000);
  // Every trail record starts where the character stands.
  for (int i = 0; i <= 20; ++i) {
    EXPECT_FLOAT_EQ(app.m_Trail[i * 10 + 1], 5128) << i;
    EXPECT_FLOAT_EQ(app.m_Trail[i * 10 + 2], 480 - 132) << i;
  }
}

TEST(PlayModes, APlayModeOutsideTheTableKeepsTheVariantAndGeneratesEveryColumn) {
  Game game;
  StartRound(game, 3);
  StartRound(game, 11);
  bb_Vaultwick_MyApp& app = game.app();
  EXPECT_EQ(app.m_Mode, 2);
  EXPECT_EQ(app.m_Lives, 0);
  EXPECT_EQ(app.m_ColumnWidth, 256);
  EXPECT_EQ(app.m_Column, 21);
  for (int slot = 1; slot <= 21; ++slot) EXPECT_GE(app.m_Lower[slot * 10], 1) << slot;
  game.Update(5);  // and it plays
  EXPECT_EQ(app.m_Screen, 10);
}

TEST(PlayModes, SheetsAndSoundsReloadOnlyWhenTheVariantChanges) {
  Game game;
  game.FinishLoading();
  bb_Vaultwick_MyApp& app = game.app();
  StartRound(game, 1);
  const bb_graphics_Image* sheet = app.m_Img[1];
  const bb_audio_Sound* pass = app.m_Sfx[2];
  ASSERT_NE(sheet, nullptr);
  StartRound(game, 2);  // variant 1 again
  EXPECT_EQ(app.m_Img[1], sheet);
  EXPECT_EQ(app.m_Sfx[2], pass);
  EXPECT_EQ(app.m_SfxSet, 0);

  StartRound(game, 3);  // variant 2 has its own sheet and sounds
  EXPECT_NE(app.m_Img[1], sheet);
  EXPECT_NE(app.m_Img[2], nullptr);
  EXPECT_EQ(app.m_WorldMode, 2);
  EXPECT_EQ(app.m_SfxSet, 2);
  EXPECT_NE(app.m_Sfx[2], pass);
  const bb_audio_Sound* lake = app.m_Sfx[3];
  StartRound(game, 3);
  EXPECT_EQ(app.m_Sfx[3], lake);  // nothing reloads for the same variant

  StartRound(game, 5);  // variant 4 uses the default sounds again
  EXPECT_EQ(app.m_WorldMode, 4);
  EXPECT_EQ(app.m_SfxSet, 0);
  EXPECT_NE(app.m_Sfx[3], lake);
  ASSERT_NE(app.m_Sfx[3], nullptr);
}

}  // namespace
