// A round frame by frame: the three control schemes, what the frame draws
// (ground, background, trail, captions, head-up display, lives, the bullet
// gauge), and whole rounds of all ten play modes by a scripted player.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "play_helpers.h"

namespace {

using gameharness::Game;
using playtest::EndPause;
using playtest::HoldPause;
using gameharness::Record;
using playtest::ClearSounds;
using playtest::CountSound;
using playtest::EmptyField;
using playtest::GlyphsAt;
using playtest::SoundsPlayed;
using playtest::StartRound;

TEST(ControlSchemes, AButtonHeldFromTheMenuDoesNothingUntilPressedAgain) {
  Game game;
  game.FinishLoading();
  game.Press(WL_KEY_SPACE);
  game.Update();
  StartRound(game, 2);
  bb_Vaultwick_MyApp& app = game.app();
  game.Update(10);
  EXPECT_FLOAT_EQ(app.m_Speed, 0);
  EXPECT_EQ(app.m_Held, 1);
  game.Release(WL_KEY_SPACE);
  game.Update();
  game.Press(WL_KEY_SPACE);
  const float speeds[] = {0.25f, 0.5f, 0.75f, 1, 1};
  for (float speed : speeds) {
    game.Update();
    EXPECT_FLOAT_EQ(app.m_Speed, speed);
  }
  game.Release(WL_KEY_SPACE);
  game.Update();
  EXPECT_FLOAT_EQ(app.m_Speed, 0.5f);
  EXPECT_EQ(app.m_Chain, 1);
  game.Update();
  EXPECT_FLOAT_EQ(app.m_Speed, 0);

  // The mouse button counts as the one button too.
  game.MouseDown();
  game.Update(2);
  EXPECT_FLOAT_EQ(app.m_Speed, 0.5f);
}

TEST(ControlSchemes, TheLeapNeedsAFreshPressAndAnEarlyReleaseTurnsIt) {
  Game game;
  game.FinishLoading();
  game.Press(WL_KEY_SPACE);
  game.Update();
  StartRound(game, 4);
  bb_Vaultwick_MyApp& app = game.app();
  game.Update(10);
  EXPECT_FLOAT_EQ(app.m_Angle, 0);
  game.Release(WL_KEY_SPACE);
  game.Update();
  ClearSounds();
  game.Press(WL_KEY_SPACE);
  game.Update();
  EXPECT_FLOAT_EQ(app.m_Angle, 5);
  EXPECT_EQ(app.m_KeyLatch, 1);
  EXPECT_EQ(CountSound(app, 3), 1);
  game.Update(10);
  EXPECT_FLOAT_EQ(app.m_Angle, 55);
  game.Release(WL_KEY_SPACE);
  game.Update();
  EXPECT_FLOAT_EQ(app.m_Angle, 120);  // released at 60: the same height, coming down
  game.Update(11);
  EXPECT_FLOAT_EQ(app.m_Angle, 175);
  game.Update();
  EXPECT_FLOAT_EQ(app.m_Angle, 0);  // landed

  // Released after the top, the leap goes on unchanged.
  game.Press(WL_KEY_SPACE);
  game.Update(19);
  EXPECT_FLOAT_EQ(app.m_Angle, 95);
  game.Release(WL_KEY_SPACE);
  game.Update();
  EXPECT_FLOAT_EQ(app.m_Angle, 100);
}

TEST(ControlSchemes, PausingStopsTheRunnerWhoRegainsFullSpeedInSevenFrames) {
  Game game;
  StartRound(game, 4);
  bb_Vaultwick_MyApp& app = game.app();
  game.Update(40);
  EXPECT_FLOAT_EQ(app.m_Speed, 1);
  HoldPause(app);
  game.Update();
  EXPECT_FLOAT_EQ(app.m_Speed, 0);
  EXPECT_FLOAT_EQ(app.m_Accel, 0.15f);
  float distance = app.m_Distance;
  game.Update(5);
  EXPECT_FLOAT_EQ(app.m_Distance, distance);
  EndPause(app);
  for (int frame = 1; frame <= 6; ++frame) {
    game.Update();
    EXPECT_NEAR(app.m_Speed, 0.15f * static_cast<float>(frame), 1e-5) << frame;
  }
  game.Update();
  EXPECT_FLOAT_EQ(app.m_Speed, 1);  // never past full speed
}

TEST(ControlSchemes, TheFlyerClimbsWhileHeldAndSinksWhenReleased) {
  Game game;
  StartRound(game, 5);
  bb_Vaultwick_MyApp& app = game.app();
  game.Press(WL_KEY_SPACE);
  float highest = 0;
  for (int frame = 0; frame < 80; ++frame) {
    game.Update();
    EXPECT_LE(app.m_Speed, 1);
    EXPECT_GE(app.m_Lift, -1);
    highest = std::max(highest, app.m_Angle);
  }
  EXPECT_FLOAT_EQ(app.m_Angle, 90);
  EXPECT_FLOAT_EQ(app.m_Lift, -1);
  EXPECT_FLOAT_EQ(app.m_Speed, 1);
  EXPECT_FLOAT_EQ(app.m_RunSpeed, 6);
  EXPECT_FLOAT_EQ(app.m_Trail[202], 480 - 132 - 180);
  game.Release(WL_KEY_SPACE);
  for (int frame = 0; frame < 80; ++frame) {
    game.Update();
    EXPECT_LE(app.m_Lift, 1);
    EXPECT_GE(app.m_Angle, 0);
  }
  EXPECT_FLOAT_EQ(app.m_Angle, 0);
  EXPECT_FLOAT_EQ(app.m_Lift, 1);
}

TEST(ControlSchemes, TheFlyersDrainPlaysTheLostSoundOnlyWhenAComboIsLost) {
  Game game;
  StartRound(game, 5);
  bb_Vaultwick_MyApp& app = game.app();
  ClearSounds();
  app.m_ComboTimer = 3;
  app.m_Combo = 0;
  game.Update();
  EXPECT_FLOAT_EQ(app.m_ComboTimer, 0);
  EXPECT_EQ(CountSound(app, 10), 0);
  app.m_ComboTimer = 3;
  app.m_Combo = 2;
  game.Update();
  EXPECT_EQ(app.m_Combo, 0);
  EXPECT_EQ(CountSound(app, 10), 1);
  app.m_ComboTimer = 50;
  game.Update();
  EXPECT_FLOAT_EQ(app.m_ComboTimer, 50 - 5 - 2.1f);
}

TEST(ControlSchemes, OneBounceSoundPerLandingExceptWhenWeaving) {
  Game game;
  StartRound(game, 2);
  ClearSounds();
  game.Update(120);
  EXPECT_EQ(CountSound(game.app(), 3), 2);
  StartRound(game, 10);
  EmptyField(game.app());
  ClearSounds();
  game.Update(120);
  EXPECT_EQ(CountSound(game.app(), 3), 0);
}

// --- What a frame draws ----------------------------------------------------

class Scene : public ::testing::Test {
 protected:
  Game game_;
  bb_Vaultwick_MyApp& app_ = game_.app();

  void TearDown() override { bb_Vaultwick_jscrh = 480; }

  std::vector<Record> Images(int slot) const {
    std::vector<Record> out;
    for (const Record& r : game_.DisplayList())
      if (r.kind == slot) out.push_back(r);
    return out;
  }
};

TEST_F(Scene, TheGroundLowersOnShortScreens) {
  struct Case {
    float height, ground;
  };
  const Case cases[] = {{480, 100}, {364, 100}, {363, 76}, {300, 28}, {200, 4}, {2, 4}};
  StartRound(game_, 2);
  for (const Case& c : cases) {
    bb_Vaultwick_jscrh = c.height;
    game_.Update();
    EXPECT_FLOAT_EQ(app_.m_Ground, c.ground) << c.height;
  }
}

TEST_F(Scene, BackgroundRowsScrollFasterTowardTheGround) {
  StartRound(game_, 2);
  app_.m_Distance = 100;
  game_.Update(2);  // the background uses the scroll of the frame before
  std::vector<Record> rows = Images(2);
  // Rows -12 (above the top edge) to 4, three strips each.
  ASSERT_EQ(rows.size(), 17u * 3);
  const Record& top = rows[0];
  EXPECT_FLOAT_EQ(top.y, -12 * 32 + 380);
  EXPECT_FLOAT_EQ(top.x, 0);  // the top row stands still
  EXPECT_FLOAT_EQ(rows[1].x, 640);
  EXPECT_FLOAT_EQ(top.frame, 5);
  EXPECT_FLOAT_EQ(top.alpha, 0.5f);
  EXPECT_FLOAT_EQ(top.w, 2);
  const Record& ground = rows[12 * 3];
  EXPECT_FLOAT_EQ(ground.y, 380);
  EXPECT_FLOAT_EQ(ground.frame, 6);
  EXPECT_FLOAT_EQ(ground.x, -100);  // with the track
  EXPECT_FLOAT_EQ(ground.alpha, 1);
  const Record& below = rows[16 * 3];
  EXPECT_FLOAT_EQ(below.frame, 7);
  EXPECT_FLOAT_EQ(below.x, -100 * (2 - 8.0f / 12));  // row 4 runs faster
  EXPECT_FLOAT_EQ(rows[11 * 3].frame, 4);  // row -1
}

TEST_F(Scene, AWindowShorterThanTheGroundStillDrawsFiniteRows) {
  StartRound(game_, 2);
  app_.m_Distance = 1000;
  bb_Vaultwick_jscrh = 2;
  game_.Update();
  std::vector<Record> rows = Images(2);
  ASSERT_FALSE(rows.empty());
  for (const Record& r : rows) EXPECT_TRUE(std::isfinite(r.x)) << r.y;
}

TEST_F(Scene, TheFirstFramesShowNoGhostsOfTheTrail) {
  StartRound(game_, 2);
  app_.m_Distance = 777;
  StartRound(game_, 1);
  game_.Update();
  std::vector<Record> sprites = Images(1);
  int atCharacter = 0;
  for (const Record& r : sprites) {
    if (r.frame >= 10) continue;  // spikes
    EXPECT_FLOAT_EQ(r.x, 128);
    // The trail where the character stood, the character a step up.
    if (r.alpha < 1) {
      EXPECT_FLOAT_EQ(r.y, 348);
    } else {
      EXPECT_FLOAT_EQ(r.y, app_.m_Trail[202]);
    }
    ++atCharacter;
  }
  EXPECT_EQ(atCharacter, 21);  // twenty faint records under the character
}

TEST_F(Scene, TheLakeMirrorsTheCharacterUnderTheGround) {
  StartRound(game_, 3);
  game_.Update();
  std::vector<Record> sprites = Images(1);
  ASSERT_GE(sprites.size(), 2u);
  // H + 0.15 (H - y) - 10 with the ground line H at 380.
  float want = 380 + 0.15f * (380 - app_.m_Trail[202]) - 10;
  bool mirrored = false;
  for (const Record& r : sprites)
    if (r.x == 128 && r.h == 0.6f && r.alpha == 0.75f) mirrored = std::fabs(r.y - want) < 1e-3;
  EXPECT_TRUE(mirrored);
}

TEST_F(Scene, PlayMode1TeachesItsOpeningAndPlayMode4ItsLeap) {
  struct Case {
    int playMode, columns;
    float y;
    const char* text;
  };
  const Case cases[] = {
      {1, 0, 240, "HoldtoMove-->"},
      {1, 6, 192, "Bounceoverlowspikes"},
      {1, 12, 288, "Bounceunderhighspikes"},
      {1, 16, 240, "Bouncearoundmiddlespikes"},
      {1, 25, 144, "Youearnonecreditevery250points"},
      {1, 39, 144, "Usethemtounlockextraplaymodes."},
      {4, 19, 240, "HoldtoLeap_/\\"},
  };
  for (const Case& c : cases) {
    StartRound(game_, c.playMode);
    app_.m_Columns = c.columns;
    HoldPause(app_);
    game_.Update();
    EXPECT_EQ(GlyphsAt(game_.DisplayList(), c.y), c.text) << c.playMode << " " << c.columns;
  }
  for (int columns : {17, 20, 30, 40}) {
    StartRound(game_, 1);
    app_.m_Columns = columns;
    HoldPause(app_);
    game_.Update();
    for (float y : {144.0f, 192.0f, 240.0f, 288.0f}) EXPECT_EQ(GlyphsAt(game_.DisplayList(), y), "") << columns;
  }
}

TEST_F(Scene, TheHeadUpDisplayShowsTheScoreToBeatAndTheCredits) {
  for (int i = 0; i < 10; ++i) app_.m_Scores[10 + i] = 100 * (9 - i);  // play mode 2: 900 .. 0
  struct Case {
    int playMode, score;
    const char* beat;
  };
  const Case cases[] = {
      {2, 0, "10th00000000"},  // a tie does not raise the place
      {2, 150, "8th00000200"},
      {2, 5000, "1st00000900"},
      {7, 5000, "10th00000000"},  // no list for the play modes past the menu's
      {11, 5000, "10th00000000"},
  };
  for (const Case& c : cases) {
    StartRound(game_, c.playMode);
    app_.m_Score = c.score;
    app_.m_ShownScore = c.score;
    HoldPause(app_);
    game_.Update();
    EXPECT_EQ(GlyphsAt(game_.DisplayList(), 36), c.beat) << c.playMode << " " << c.score;
  }
  StartRound(game_, 2);
  app_.m_Score = 42;
  app_.m_ShownScore = 42;
  app_.m_CreditsEarned = 3;
  app_.m_NextCredit = 1000;
  HoldPause(app_);
  game_.Update();
  EXPECT_EQ(GlyphsAt(game_.DisplayList(), 52), "00000042");
  EXPECT_EQ(GlyphsAt(game_.DisplayList(), 9), "1000-3");
}

TEST_F(Scene, TheShownScoreEasesTowardTheScore) {
  StartRound(game_, 2);
  app_.m_ShownScore = 1000;
  HoldPause(app_);
  const int shown[] = {834, 695, 580, 484, 404, 337};
  for (int want : shown) {
    game_.Update();
    EXPECT_EQ(app_.m_ShownScore, want);
  }
  app_.m_ShownScore = 7;
  game_.Update();
  EXPECT_EQ(app_.m_ShownScore, 6);
  game_.Update();
  EXPECT_EQ(app_.m_ShownScore, 0);  // 6 - 1 is within 6: snaps
}

TEST_F(Scene, LifeIconsAndTheComboBarSitCentred) {
  StartRound(game_, 1);
  app_.m_ComboTimer = 100;
  HoldPause(app_);
  game_.Update();
  std::vector<Record> hearts = Images(3);
  ASSERT_EQ(hearts.size(), 3u);
  EXPECT_FLOAT_EQ(hearts[0].x, 256);
  EXPECT_FLOAT_EQ(hearts[1].x, 320);
  EXPECT_FLOAT_EQ(hearts[2].x, 384);
  EXPECT_FLOAT_EQ(hearts[0].y, 448);
  EXPECT_FLOAT_EQ(hearts[0].w, 2);
  std::vector<Record> list = game_.DisplayList();
  const Record* bar = nullptr;
  for (const Record& r : list)
    if (r.is_rect() && r.y == 8) bar = &r;
  ASSERT_NE(bar, nullptr);
  EXPECT_FLOAT_EQ(bar->x, 170);
  EXPECT_FLOAT_EQ(bar->w, 300);
  // Too wide for the screen at 1.5 per point: one per point.
  app_.m_ComboTimer = 240;
  game_.Update();
  for (const Record& r : game_.DisplayList()) {
    if (r.is_rect() && r.y == 8) {
      EXPECT_FLOAT_EQ(r.w, 480);
    }
  }
  app_.m_Lives = 0;
  game_.Update();
  EXPECT_TRUE(Images(3).empty());
}

TEST_F(Scene, PlayMode7FiresWhenChargedAndItsGaugeFlashes) {
  StartRound(game_, 7);
  app_.m_Charge = 7;
  HoldPause(app_);
  game_.Update();
  EXPECT_EQ(app_.m_Charge, 5);  // the gauge holds five
  int lamps = 0;
  for (const Record& r : game_.DisplayList())
    if (r.is_rect() && r.x == 608 && r.w == 24) {
      ++lamps;
      EXPECT_FLOAT_EQ(r.r, 255);
      EXPECT_FLOAT_EQ(r.alpha, 0.75f);
    }
  EXPECT_EQ(lamps, 5);
  EndPause(app_);
  ClearSounds();
  app_.m_Shots = 4;
  float y = app_.m_Trail[202];  // fired before the character moves this frame
  game_.Press('X');
  game_.Update();
  EXPECT_EQ(app_.m_Charge, 0);
  EXPECT_EQ(app_.m_Shots, 5);
  EXPECT_GT(app_.m_BulletX, 128);
  EXPECT_FLOAT_EQ(app_.m_BulletY, y);
  EXPECT_TRUE(app_.m_BadgesThisGame[31]);
  EXPECT_TRUE(app_.m_BadgesThisGame[32]);
  std::vector<playtest::Sound> sounds = SoundsPlayed(app_);
  ASSERT_FALSE(sounds.empty());
  EXPECT_EQ(sounds[0].slot, 7);
  EXPECT_FLOAT_EQ(sounds[0].rate, 0.5f);
  // Not charged: the key does nothing.
  game_.Release('X');
  game_.Update();
  app_.m_Charge = 4;
  game_.Press('X');
  game_.Update();
  EXPECT_EQ(app_.m_Shots, 5);
}

// --- Whole rounds -------------------------------------------------------------

struct RoundResult {
  int score = 0, passed = 0, hits = 0, updates = 0, columns = 0;
  bool ended = false;
};

// Plays a round of `playMode` with the scripted player until it ends or
// 20 000 updates pass, checking after every update what must always hold.
RoundResult PlayRound(int playMode) {
  Game game;
  StartRound(game, playMode);
  bb_Vaultwick_MyApp& app = game.app();
  playtest::ScriptedPlayer player(game);
  RoundResult result;
  std::array<float, 100> lives;
  for (int r = 0; r < 100; ++r) lives[r] = app.m_Particles[r * 10];
  int lastScore = 0;
  for (; result.updates < 20000 && app.m_RoundOver == 0; ++result.updates) {
    std::array<int, 64> kinds;
    for (int s = 0; s < 64; ++s) kinds[s] = app.m_Lower[s * 10];
    player.Step();
    game.Update();
    for (int s = 0; s < 64; ++s) result.hits += kinds[s] > 0 && app.m_Lower[s * 10] == -1;

    EXPECT_GE(app.m_Score, lastScore) << "update " << result.updates;
    lastScore = app.m_Score;
    EXPECT_GE(app.m_Lives, 0) << "update " << result.updates;
    EXPECT_LE(app.m_Speed, 1);
    // Records are appended while the count is at most 37 484; reaching
    // 37 485 means the list was full.
    EXPECT_LT(app.m_DrawCount, 2499 * 15) << "update " << result.updates;
    if (playMode == 10 && app.m_RoundOver) {
      EXPECT_GE(app.m_Passed, 1);
    }
    for (int r = 0; r < 100; ++r) {
      float life = app.m_Particles[r * 10];
      float birth = app.m_Particles[r * 10 + 8] == 0 ? 120 : 240;
      bool reborn = life == birth;
      // A live record loses one update of life per running frame or is new.
      if (lives[r] >= 1 && !reborn) {
        EXPECT_EQ(life, lives[r] - (app.m_RoundOver ? 0 : 1)) << "record " << r;
      }
      EXPECT_GE(life, 0);
      EXPECT_LE(life, birth);
      lives[r] = life;
    }
    if (::testing::Test::HasFailure()) break;
  }
  // The last-life hit leaves its spike standing.
  if (app.m_RoundOver && app.m_Mode != 9) result.hits += 1;
  result.score = app.m_Score;
  result.passed = app.m_Passed;
  result.columns = app.m_Columns;
  result.ended = app.m_RoundOver == 1;
  return result;
}

class WholeRounds : public ::testing::TestWithParam<int> {};

TEST_P(WholeRounds, AScriptedPlayerPlaysARoundToItsEnd) {
  int playMode = GetParam();
  RoundResult r = PlayRound(playMode);
  std::printf("[ round    ] play mode %d: score %d, passed %d, hits %d, columns %d, %s after %d updates\n", playMode,
              r.score, r.passed, r.hits, r.columns, r.ended ? "ended" : "still going", r.updates);
  RecordProperty("score", r.score);
  EXPECT_GT(r.passed, 0);
  EXPECT_GT(r.score, 0);
  EXPECT_GT(r.hits, 0);
  // The same script plays the same round again.
  RoundResult again = PlayRound(playMode);
  EXPECT_EQ(again.score, r.score);
  EXPECT_EQ(again.passed, r.passed);
  EXPECT_EQ(again.hits, r.hits);
  EXPECT_EQ(again.updates, r.updates);
}

INSTANTIATE_TEST_SUITE_P(EveryPlayMode, WholeRounds, ::testing::Range(1, 11));

}  // namespace
