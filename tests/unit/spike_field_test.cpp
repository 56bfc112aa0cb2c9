// The spike field each frame: collisions at their exact bounds, bobbing, the
// pass and its latch, over and under, what a hit costs in every case, the
// bullet, the upper lanes of each variant, and the effect pool.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "play_helpers.h"

namespace {

using gameharness::Game;
using playtest::EndPause;
using playtest::HoldPause;
using playtest::CharacterAt;
using playtest::ClearSounds;
using playtest::CountSound;
using playtest::EmptyField;
using playtest::SpikeAt;
using playtest::SpikeY;
using playtest::StartRound;

// The field of a round of play mode 2 (variant 1, no lives) emptied, with
// one spike put where a test wants it.
class Field : public ::testing::Test {
 protected:
  Game game_;
  bb_Vaultwick_MyApp& app_ = game_.app();

  void SetUp() override {
    StartRound(game_, 2);
    EmptyField(app_);
    app_.m_Passed = 1;  // past the first spike, so hits award no badge
    ClearSounds();
  }

  // A spike of `kind` at dx right of the character, who is dy below it.
  bool Hits(int variant, int kind, int dx, int dy) {
    app_.m_Mode = variant;
    app_.m_Lives = 3;
    EmptyField(app_);
    SpikeAt(app_, kind, 128 + dx);
    CharacterAt(app_, static_cast<float>(SpikeY(kind) + dy), 0);
    app_.m_DoSpikes();
    return app_.m_Lives == 2;
  }
};

TEST_F(Field, CollisionBoundsKeepTheirExactStrictness) {
  struct Case {
    int variant, kind, dx, dy;
    bool hit;
  };
  const Case cases[] = {
      {1, 3, 30, 30, true},   {1, 3, -30, -30, true}, {1, 3, 31, 0, false}, {1, 3, -31, 0, false},
      {1, 3, 0, 31, false},   {1, 3, 0, -31, false},  {1, 9, 0, 0, true},   {6, 5, 30, -30, true},
      {4, 3, 28, 0, true},    {4, 3, 29, 0, false},   {4, 3, -29, 0, false}, {4, 3, -28, 30, true},
      // The runner's spike is a solid column: its lower levels hit too.
      {3, 4, 0, 24 * 3, true}, {3, 4, 30, 24 * 3 + 30, true}, {3, 4, 0, 24 * 3 + 31, false},
      {3, 1, 0, 31, false},    {3, 4, 0, -31, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Hits(c.variant, c.kind, c.dx, c.dy), c.hit)
        << "variant " << c.variant << " kind " << c.kind << " dx " << c.dx << " dy " << c.dy;
}

TEST_F(Field, BobbingSpikesMoveOnlyWhileRunning) {
  SpikeAt(app_, 2, 400, 1, 90);  // 40 below its place at phase 90
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Lower[12], 92);
  bool drawn = false;
  for (const gameharness::Record& r : game_.DisplayList())
    if (r.kind == 1 && r.frame == 11 && r.x == 400 && r.y == SpikeY(2) + 40) drawn = true;
  EXPECT_TRUE(drawn);
  HoldPause(app_);
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Lower[12], 92);
  EndPause(app_);
  app_.m_Lower[11] = 4;  // tiers past 3 stand still
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Lower[12], 92);
}

TEST_F(Field, APassCountsOncePerColumnAndTheLatchRearmsOnlyOnASpike) {
  SpikeAt(app_, 2, 94);  // within 30 of x 64
  CharacterAt(app_, 100, 100);
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Passed, 2);
  EXPECT_EQ(app_.m_Flags[2], 1);
  for (int x = 93; x >= 34; --x) {  // the spike stays near x 64 for several frames
    app_.m_ColumnOffset = static_cast<float>(256 - x);
    app_.m_DoSpikes();
  }
  EXPECT_EQ(app_.m_Passed, 2);
  // An empty column passing x 160 leaves the latch set...
  app_.m_ColumnOffset = 256 + 352;  // slot 3 at x 160
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Flags[2], 1);
  // ...a spike within 30 of it clears it.
  app_.m_Lower[30] = 1;
  app_.m_ColumnOffset = 512 - 190 + 256;  // slot 3 at x 190
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Flags[2], 0);
  app_.m_ColumnOffset = 512 - 191 + 256;
  app_.m_Flags[2] = 1;
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Flags[2], 1);
}

TEST_F(Field, OverOrUnderIsJudgedAgainstTheFrameBefore) {
  struct Case {
    float now, before;
    int code;
  };
  const int y = SpikeY(5);
  // The character's record now does not matter; the frame before does.
  const Case cases[] = {{static_cast<float>(y + 50), static_cast<float>(y - 1), 15},
                        {static_cast<float>(y - 50), static_cast<float>(y + 1), 5},
                        {static_cast<float>(y), static_cast<float>(y), 5}};
  for (const Case& c : cases) {
    EmptyField(app_);
    SpikeAt(app_, 5, 64);
    CharacterAt(app_, c.now, c.before);
    app_.m_DoSpikes();
    EXPECT_EQ(app_.m_PassHistory[9], c.code) << c.before;
  }
  EXPECT_EQ(app_.m_PassHistory[7], 15);
  EXPECT_EQ(app_.m_PassHistory[8], 5);
}

TEST_F(Field, AHitWithLivesSmashesTheSpikeAndHalvesTheCombo) {
  app_.m_Lives = 2;
  app_.m_Combo = 7;
  app_.m_Chain = 4;
  app_.m_ComboTimer = 30;
  app_.m_PassHistory[9] = 14;
  SpikeAt(app_, 3, 128);
  CharacterAt(app_, static_cast<float>(SpikeY(3)), 0);
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Lives, 1);
  EXPECT_EQ(app_.m_Lower[10], -1);
  EXPECT_EQ(app_.m_Combo, 3);
  EXPECT_EQ(app_.m_Chain, 1);
  EXPECT_FLOAT_EQ(app_.m_ComboTimer, 120);
  EXPECT_EQ(app_.m_PassHistory[9], 0);
  EXPECT_EQ(app_.m_RoundOver, 0);
  EXPECT_EQ(CountSound(app_, 8), 1);
  EXPECT_EQ(CountSound(app_, 10), 1);  // a combo was lost
  int particles = 0;
  for (int r = 0; r < 100; ++r) particles += app_.m_Particles[r * 10] == 120;
  EXPECT_EQ(particles, 8);
  // A smashed spike no longer collides.
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Lives, 1);
}

TEST_F(Field, AHitOnTheLastLifeEndsTheRoundAndTheSpikeStays) {
  app_.m_Lives = 0;
  app_.m_Combo = 5;
  app_.m_Chain = 3;
  app_.m_ComboTimer = 30;
  SpikeAt(app_, 3, 128);
  CharacterAt(app_, static_cast<float>(SpikeY(3)), 0);
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_RoundOver, 1);
  EXPECT_EQ(app_.m_Lower[10], 3);
  EXPECT_EQ(app_.m_Combo, 2);
  EXPECT_EQ(app_.m_Chain, 1);
  EXPECT_FLOAT_EQ(app_.m_ComboTimer, 30);
  EXPECT_EQ(app_.m_Lives, 0);
  EXPECT_EQ(CountSound(app_, 5), 1);
  EXPECT_EQ(CountSound(app_, 8), 0);
  EXPECT_EQ(CountSound(app_, 10), 0);
  // The frozen round keeps meeting the spike but ends only once.
  app_.m_DoSpikes();
  EXPECT_EQ(CountSound(app_, 5), 1);
}

TEST_F(Field, ShieldsPayForAHitOnTheLastLife) {
  app_.m_Mode = 8;
  app_.m_Lives = 0;
  app_.m_Charge = 3;
  app_.m_Combo = 6;
  SpikeAt(app_, 3, 128);
  CharacterAt(app_, static_cast<float>(SpikeY(3)), 0);
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_RoundOver, 0);
  EXPECT_EQ(app_.m_Charge, 0);
  EXPECT_EQ(app_.m_Lower[10], -1);
  EXPECT_EQ(app_.m_Combo, 0);
  EXPECT_EQ(app_.m_Chain, 1);
  EXPECT_EQ(app_.m_Lives, 0);  // no life below none
  EXPECT_EQ(CountSound(app_, 22), 1);
  EXPECT_EQ(CountSound(app_, 5), 0);
  // Without shields the next hit ends the round.
  EmptyField(app_);
  SpikeAt(app_, 3, 128);
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_RoundOver, 1);
}

TEST_F(Field, PlayMode10HitsSmashScoreAndNeverEndTheRound) {
  app_.m_Mode = 9;
  app_.m_Lives = 1;
  app_.m_Passed = 0;
  app_.m_Combo = 2;
  app_.m_Chain = 1;
  for (int n = 0; n < 3; ++n) {
    EmptyField(app_);
    SpikeAt(app_, 4, 128);
    CharacterAt(app_, static_cast<float>(SpikeY(4)), 0);
    app_.m_DoSpikes();
    EXPECT_EQ(app_.m_Lower[10], -1);
    EXPECT_EQ(app_.m_Lives, 1);
    EXPECT_EQ(app_.m_RoundOver, 0);
  }
  // Combo 2 + 1 with chain 2 scores 6, then halves; 1 + 1 with 2 scores 4;
  // and again 4.
  EXPECT_EQ(app_.m_Score, 6 + 4 + 4);
  EXPECT_EQ(app_.m_Passed, 3);
  EXPECT_EQ(app_.m_Combo, 1);
  EXPECT_EQ(app_.m_Chain, 1);
  EXPECT_FLOAT_EQ(app_.m_ComboTimer, 200);
  EXPECT_FALSE(app_.m_Badges[25]);  // hitting is the point here
  // Weaving past a spike is a miss and counts nothing.
  EmptyField(app_);
  SpikeAt(app_, 4, 64);
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Passed, 3);
  EXPECT_EQ(app_.m_Combo, 0);
  EXPECT_EQ(app_.m_Chain, 2);
}

TEST_F(Field, TheFirstSpikeHitCountsAcrossGames) {
  app_.m_Passed = 0;
  app_.m_Lives = 3;
  app_.m_Settings[6] = 24;
  SpikeAt(app_, 3, 128);
  CharacterAt(app_, static_cast<float>(SpikeY(3)), 0);
  app_.m_DoSpikes();
  EXPECT_TRUE(app_.m_Badges[25]);
  EXPECT_TRUE(app_.m_Badges[26]);
  EXPECT_EQ(app_.m_Settings[6], 25);
  // Not while paused, and the counter never wraps.
  HoldPause(app_);
  app_.m_Settings[6] = INT_MAX;
  EmptyField(app_);
  SpikeAt(app_, 3, 128);
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Settings[6], INT_MAX);
  EndPause(app_);
  EmptyField(app_);
  SpikeAt(app_, 3, 128);
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Settings[6], INT_MAX);
}

TEST_F(Field, TheBulletDestroysEverySpikeItMeetsAndFliesOn) {
  app_.m_Mode = 6;
  app_.m_Combo = 2;
  app_.m_Chain = 1;
  app_.m_BulletX = 150;
  app_.m_BulletY = static_cast<float>(SpikeY(5) + 20);
  SpikeAt(app_, 5, 187);  // 31 ahead of the bullet once it has moved 6
  app_.m_Lower[20] = 5;   // and another a column further on
  CharacterAt(app_, 0, 0);
  app_.m_CLS2D(bb_Vaultwick_MyApp::kAbsent, 0, 0, 0);
  app_.m_DoSpikes();
  EXPECT_FLOAT_EQ(app_.m_BulletX, 156);
  EXPECT_EQ(app_.m_Lower[10], 0);
  EXPECT_EQ(app_.m_Lower[20], 5);
  EXPECT_EQ(app_.m_Combo, 12);
  EXPECT_EQ(app_.m_Chain, 2);
  EXPECT_EQ(app_.m_Score, 24);
  EXPECT_FLOAT_EQ(app_.m_ComboTimer, 240);
  EXPECT_EQ(CountSound(app_, 8), 1);
  // Eight particles take records 99..92, then a COMBO pop-up in white.
  EXPECT_EQ(app_.m_Particles[91 * 10 + 8], 2);
  EXPECT_EQ(app_.m_Particles[91 * 10 + 7], 9);
  // Orbiting balls around the bullet.
  int ovals = 0;
  for (const gameharness::Record& r : game_.DisplayList()) ovals += r.is_oval();
  EXPECT_EQ(ovals, 3);

  // Past the right edge it is gone, and not drawn on its way out.
  app_.m_BulletX = 640 + 30;
  app_.m_CLS2D(bb_Vaultwick_MyApp::kAbsent, 0, 0, 0);
  app_.m_DoSpikes();
  EXPECT_FLOAT_EQ(app_.m_BulletX, 0);
  ovals = 0;
  for (const gameharness::Record& r : game_.DisplayList()) ovals += r.is_oval();
  EXPECT_EQ(ovals, 0);
}

// Variant 2's floating object, level 6, half a column before slot 1.
TEST_F(Field, LandingOnAFloatingObjectScoresAndRisingIntoItCostsTheCombo) {
  app_.m_Mode = 2;
  app_.m_ColumnOffset = 256 - 128 - 128;  // object at x 128
  app_.m_Upper[10] = 6;
  app_.m_Combo = 3;
  app_.m_Angle = 120;  // coming down
  CharacterAt(app_, static_cast<float>(SpikeY(6) + 15), 0);
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Upper[11], 1);
  EXPECT_EQ(app_.m_Combo, 4);
  EXPECT_EQ(app_.m_Score, 20);
  EXPECT_FLOAT_EQ(app_.m_ComboTimer, 120);
  EXPECT_EQ(CountSound(app_, 12), 1);
  EXPECT_EQ(app_.m_Particles[99 * 10 + 7], 35);
  int particles = 0;
  for (int r = 0; r < 100; ++r) particles += app_.m_Particles[r * 10] == 120;
  EXPECT_EQ(particles, 32);
  // Touched once only.
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Combo, 4);

  app_.m_Upper[11] = 0;
  app_.m_Angle = 60;  // going up into it
  app_.m_Chain = 3;
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Combo, 2);
  EXPECT_EQ(app_.m_Chain, 1);
  EXPECT_EQ(CountSound(app_, 10), 1);
  // Out of reach: 16 above or below it.
  app_.m_Upper[11] = 0;
  CharacterAt(app_, static_cast<float>(SpikeY(6) + 16), 0);
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Upper[11], 0);
}

TEST_F(Field, PickupsScoreAndShieldsStopAtFive) {
  app_.m_Mode = 3;
  app_.m_ColumnOffset = 256 - 128 - 47;  // pickup at x 175: 47 from the character
  app_.m_Upper[10] = 4;
  app_.m_Combo = 1;
  CharacterAt(app_, static_cast<float>(SpikeY(4) - 47), 0);
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Upper[10], 0);
  EXPECT_EQ(app_.m_Combo, 2);
  EXPECT_EQ(app_.m_Score, 4);
  EXPECT_EQ(CountSound(app_, 12), 1);
  EXPECT_EQ(app_.m_Particles[99 * 10 + 7], 31);

  // Spinning pickups reach 32 only.
  app_.m_Mode = 7;
  app_.m_Upper[10] = 4;
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Upper[10], 4);
  app_.m_ColumnOffset = 256 - 128 - 31;
  CharacterAt(app_, static_cast<float>(SpikeY(4) - 31), 0);
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Upper[10], 0);
  EXPECT_EQ(CountSound(app_, 20), 1);

  app_.m_Mode = 8;
  app_.m_Charge = 4;
  app_.m_Upper[10] = 4;
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Charge, 5);
  EXPECT_EQ(app_.m_Upper[10], 0);
  EXPECT_EQ(CountSound(app_, 21), 1);
  app_.m_Upper[10] = 4;
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Charge, 5);
  EXPECT_EQ(app_.m_Upper[10], 4);  // left in place
}

TEST_F(Field, MarkerBeamsTurnToTheSideASpikeAllowsAndRewardIt) {
  app_.m_Mode = 5;
  struct Case {
    int lowerKind, marker, turned;
  };
  const Case cases[] = {{3, 2, 1}, {7, 1, 2}, {5, 1, 1}, {5, 2, 2}, {0, 2, 1}};
  for (const Case& c : cases) {
    EmptyField(app_);
    SpikeAt(app_, c.lowerKind, 300);
    app_.m_Upper[10] = c.marker;
    app_.m_DoSpikes();
    EXPECT_EQ(app_.m_Upper[10], c.turned) << c.lowerKind << " " << c.marker;
  }
  // Passing over a beam above adds three to the combo, besides the pass.
  EmptyField(app_);
  SpikeAt(app_, 5, 64);
  app_.m_Upper[10] = 1;
  app_.m_Combo = 0;
  CharacterAt(app_, 0, static_cast<float>(SpikeY(5) - 40));
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Upper[10], 0);
  EXPECT_EQ(app_.m_Combo, 4);
  EXPECT_EQ(CountSound(app_, 7), 1);
  // Passing under it earns nothing extra.
  EmptyField(app_);
  SpikeAt(app_, 5, 64);
  app_.m_Upper[10] = 1;
  app_.m_Combo = 0;
  CharacterAt(app_, 0, static_cast<float>(SpikeY(5) + 40));
  app_.m_DoSpikes();
  EXPECT_EQ(app_.m_Upper[10], 1);
  EXPECT_EQ(app_.m_Combo, 1);
}

class Effects : public Field {};

TEST_F(Effects, ParticlesTakeTheHighestFreeRecord) {
  app_.m_Scroll = 100;
  app_.m_Particles[99 * 10] = 5;  // busy
  app_.m_Smash(200, 150, 3, 3);
  EXPECT_FLOAT_EQ(app_.m_Particles[99 * 10], 5);
  for (int r : {98, 97, 96}) {
    const float* e = &app_.m_Particles[r * 10];
    EXPECT_FLOAT_EQ(e[0], 120) << r;
    EXPECT_FLOAT_EQ(e[1], 250) << r;  // half the scroll added
    EXPECT_FLOAT_EQ(e[2], 150) << r;
    EXPECT_GE(e[3], -8);
    EXPECT_LT(e[3], 8);
    EXPECT_GE(e[6], 1);
    EXPECT_LE(e[6], 3);
    EXPECT_FLOAT_EQ(e[7], 3);
    EXPECT_FLOAT_EQ(e[8], 0);
  }
  EXPECT_FLOAT_EQ(app_.m_Particles[95 * 10], 0);
  app_.m_Smash(0, 0, 1, 0);
  app_.m_Smash(0, 0, 1, -4);
  EXPECT_FLOAT_EQ(app_.m_Particles[95 * 10], 0);
}

TEST_F(Effects, AFullPoolDropsParticlesWithoutDrawingRandomNumbers) {
  for (int r = 0; r < 100; ++r) app_.m_Particles[r * 10] = 1;
  bb_random_Seed = 4242;
  app_.m_Smash(10, 10, 2, 8);
  EXPECT_EQ(bb_random_Seed, 4242u);
  app_.m_Gets(10, 10, 2, 5, 1);
  EXPECT_EQ(bb_random_Seed, 4242u);
  for (int r = 0; r < 100; ++r) EXPECT_FLOAT_EQ(app_.m_Particles[r * 10 + 1], 0);
}

TEST_F(Effects, PopupsStackInFiveRowsTakingTurns) {
  app_.m_PopupCount = 0;
  for (int n = 0; n < 7; ++n) app_.m_Gets(100, 200, 4, n, 1 + n % 3);
  for (int n = 0; n < 7; ++n) {
    const float* e = &app_.m_Particles[(99 - n) * 10];
    EXPECT_FLOAT_EQ(e[0], 240);
    EXPECT_FLOAT_EQ(e[3], 0.85f * 640);
    EXPECT_FLOAT_EQ(e[4], 240 + 480 * (static_cast<float>(n % 5) - 2.5f) * 0.15f) << n;
    EXPECT_FLOAT_EQ(e[6], static_cast<float>(n));
    EXPECT_FLOAT_EQ(e[8], static_cast<float>(1 + n % 3));
  }
  EXPECT_EQ(app_.m_PopupCount, 7);
}

// Glyph records of the font, as the text they spell.
std::string Glyphs(const std::vector<gameharness::Record>& list) {
  std::string out;
  for (const gameharness::Record& r : list)
    if (r.kind == 90) out += static_cast<char>(r.frame + 32);
  return out;
}

// The records a frame drew for its effects: the last ones, after the combo
// bar (the rectangle at y 8) and the life icons.
std::vector<gameharness::Record> EffectRecords(const std::vector<gameharness::Record>& list) {
  size_t bar = 0;
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].is_rect() && list[i].y == 8) bar = i;
  // The round's frame ends where the pause button (image 97) begins what
  // m_InGame and the overlays draw over it.
  std::vector<gameharness::Record> out;
  for (size_t i = bar + 1; i < list.size() && list[i].kind != 97; ++i)
    if (list[i].kind != 3) out.push_back(list[i]);
  return out;
}

TEST_F(Effects, PopupsShowTheirPointsAndWordsThenLeaveToTheLeft) {
  app_.m_Gets(300, 300, 4, 8, 3);
  game_.Update();
  std::vector<gameharness::Record> list = EffectRecords(game_.DisplayList());
  EXPECT_EQ(Glyphs(list), "8COMBOSUPER");
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list[0].kind, 1);  // the kind's icon first
  EXPECT_EQ(list[0].frame, 13);
  EXPECT_FLOAT_EQ(list[0].alpha, 0.5f);
  const float* e = &app_.m_Particles[990];
  EXPECT_FLOAT_EQ(e[0], 239);
  EXPECT_FLOAT_EQ(e[1], 300 - (300 - 544) / 32.0f);
  game_.Update(139);
  EXPECT_FLOAT_EQ(e[0], 100);
  EXPECT_FLOAT_EQ(e[3], 544);
  game_.Update();
  EXPECT_FLOAT_EQ(e[3], -128);
  game_.Update(99);
  EXPECT_FLOAT_EQ(e[0], 0);
  EXPECT_LT(e[1], 0);
  game_.Update();
  EXPECT_TRUE(EffectRecords(game_.DisplayList()).empty());
}

TEST_F(Effects, ParticlesFallFadeAndDie) {
  app_.m_Smash(300, 200, 5, 1);
  float* e = &app_.m_Particles[990];
  e[3] = 2;
  e[4] = -4;
  game_.Update();
  std::vector<gameharness::Record> list = EffectRecords(game_.DisplayList());
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].kind, 96);
  EXPECT_FLOAT_EQ(list[0].x, 302);
  EXPECT_FLOAT_EQ(list[0].y, 196);
  EXPECT_FLOAT_EQ(list[0].alpha, 119.0f / 120);
  EXPECT_FLOAT_EQ(list[0].r, 80);  // cyan, the kind's colour
  EXPECT_FLOAT_EQ(e[4], -3.75f);
  // The grid world snaps them to 16.
  app_.m_Mode = 5;
  game_.Update();
  list = EffectRecords(game_.DisplayList());
  ASSERT_EQ(list.size(), 1u);
  EXPECT_FLOAT_EQ(list[0].x, 304);
  EXPECT_FLOAT_EQ(list[0].y, 192);
  game_.Update(118);
  EXPECT_FLOAT_EQ(e[0], 0);
}

TEST_F(Effects, EffectsStandStillWhileTheRoundIsPausedOrOver) {
  app_.m_Smash(300, 200, 5, 1);
  app_.m_Gets(300, 300, 4, 3, 1);
  std::vector<float> before(&app_.m_Particles[970], &app_.m_Particles[1000]);
  auto standStill = [&](const char* why) {
    game_.Update(5);
    EXPECT_EQ(std::vector<float>(&app_.m_Particles[970], &app_.m_Particles[1000]), before) << why;
    // Still drawn: the particle and the pop-up's icon and number.
    EXPECT_EQ(EffectRecords(game_.DisplayList()).size(), 3u) << why;
  };
  HoldPause(app_);
  standStill("paused");
  EndPause(app_);
  app_.m_RoundOver = 1;
  standStill("over");
  app_.m_RoundOver = 0;
  game_.Update();
  EXPECT_FLOAT_EQ(app_.m_Particles[990], 119);
}

}  // namespace
