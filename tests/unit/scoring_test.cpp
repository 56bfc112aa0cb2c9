// What a round scores: the points of a pass with combo and chain, the pitch
// and pop-up of each, the saturating score, credits, play mode 7's charge,
// the badges of passes and of the frame end, and the combo timer.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "play_helpers.h"

namespace {

using gameharness::Game;
using playtest::EndPause;
using playtest::HoldPause;
using gameharness::Record;
using playtest::CharacterAt;
using playtest::ClearSounds;
using playtest::CountSound;
using playtest::EmptyField;
using playtest::SoundsPlayed;
using playtest::SpikeAt;
using playtest::SpikeY;
using playtest::StartRound;

class Scoring : public ::testing::Test {
 protected:
  Game game_;
  bb_Vaultwick_MyApp& app_ = game_.app();

  void SetUp() override {
    StartRound(game_, 2);
    EmptyField(app_);
    app_.m_Passed = 1;
    ClearSounds();
  }

  // A spike of `kind` passed over or under at x 64.
  void Pass(int kind, bool over) {
    EmptyField(app_);
    SpikeAt(app_, kind, 64);
    CharacterAt(app_, 0, static_cast<float>(SpikeY(kind) + (over ? -10 : 10)));
    app_.m_DoSpikes();
  }

  const float* Popup(int record) const { return &app_.m_Particles[record * 10]; }
};

TEST_F(Scoring, TheFirstPassScoresOneWithAPlainPopup) {
  Pass(3, true);
  EXPECT_EQ(app_.m_Score, 1);
  EXPECT_EQ(app_.m_Combo, 1);
  EXPECT_EQ(app_.m_Chain, 2);
  EXPECT_FLOAT_EQ(app_.m_ComboTimer, 160);
  std::vector<playtest::Sound> sounds = SoundsPlayed(app_);
  ASSERT_EQ(sounds.size(), 1u);
  EXPECT_EQ(sounds[0].slot, 2);
  EXPECT_FLOAT_EQ(sounds[0].rate, 0.725f);
  EXPECT_FLOAT_EQ(Popup(99)[6], 1);
  EXPECT_FLOAT_EQ(Popup(99)[7], 3);  // in the spike's colour
  EXPECT_FLOAT_EQ(Popup(99)[8], 1);
}

TEST_F(Scoring, HoldingThroughASecondSpikeScoresFourAsSuper) {
  app_.m_Combo = 1;
  app_.m_Chain = 2;
  app_.m_Score = 1;
  Pass(5, false);
  EXPECT_EQ(app_.m_Score, 5);
  EXPECT_FLOAT_EQ(Popup(99)[6], 4);
  EXPECT_FLOAT_EQ(Popup(99)[8], 3);
  std::vector<playtest::Sound> sounds = SoundsPlayed(app_);
  ASSERT_EQ(sounds.size(), 1u);
  EXPECT_EQ(sounds[0].slot, 4);
  EXPECT_FLOAT_EQ(sounds[0].rate, 0.75f);
  // Without the chain the same combo shows COMBO only.
  app_.m_Chain = 1;
  Pass(5, false);
  EXPECT_FLOAT_EQ(Popup(99)[8], 2);
  EXPECT_EQ(SoundsPlayed(app_).back().slot, 2);
}

TEST_F(Scoring, ATenPointPopupAwardsTheComboBadge) {
  app_.m_Combo = 4;
  app_.m_Chain = 2;
  Pass(2, true);
  EXPECT_FLOAT_EQ(Popup(99)[6], 10);
  EXPECT_TRUE(app_.m_BadgesThisGame[7]);
  EXPECT_FALSE(app_.m_BadgesThisGame[8]);
  // A big pop-up awards every threshold below it too.
  app_.m_Combo = 99;
  app_.m_Chain = 11;
  Pass(2, true);
  for (int id = 7; id <= 14; ++id) EXPECT_TRUE(app_.m_BadgesThisGame[id]) << id;
  // The pitch climbs with the combo and stops at twice.
  float rate = 0;
  for (const playtest::Sound& sound : SoundsPlayed(app_))
    if (sound.slot == 4) rate = sound.rate;
  EXPECT_FLOAT_EQ(rate, 2.0f);
}

TEST_F(Scoring, TheScoreSaturatesInsteadOfWrapping) {
  app_.m_Score = INT_MAX - 5;
  app_.m_Combo = 1000;
  app_.m_Chain = 1000;
  Pass(1, true);
  EXPECT_EQ(app_.m_Score, INT_MAX);
  // The credit line keeps within range too.
  app_.m_NextCredit = INT_MAX - 100;
  game_.Update();
  EXPECT_EQ(app_.m_NextCredit, INT_MAX);
  game_.Update();
  EXPECT_EQ(app_.m_NextCredit, INT_MAX);
}

TEST_F(Scoring, ACreditIsEarnedAbove250AndOnePerFrame) {
  app_.m_Score = 250;
  game_.Update();
  EXPECT_EQ(app_.m_CreditsEarned, 0);
  app_.m_Score = 251;
  game_.Update();
  EXPECT_EQ(app_.m_CreditsEarned, 1);
  EXPECT_EQ(app_.m_NextCredit, 500);
  EXPECT_EQ(CountSound(app_, 11), 1);
  app_.m_Score = 1100;
  game_.Update();
  EXPECT_EQ(app_.m_CreditsEarned, 2);
  game_.Update(5);
  EXPECT_EQ(app_.m_CreditsEarned, 4);
  EXPECT_EQ(app_.m_NextCredit, 1250);
}

TEST_F(Scoring, PlayMode7ChargesOnThePassThatTakesTheChainPastTwo) {
  app_.m_Mode = 6;
  Pass(3, true);
  EXPECT_EQ(app_.m_Chain, 2);
  EXPECT_EQ(app_.m_Charge, 0);
  Pass(3, true);
  EXPECT_EQ(app_.m_Chain, 3);
  EXPECT_EQ(app_.m_Charge, 1);
  app_.m_Charge = 4;
  Pass(3, true);
  EXPECT_EQ(app_.m_Charge, 5);
  EXPECT_EQ(CountSound(app_, 15), 1);
  Pass(3, true);
  EXPECT_EQ(app_.m_Charge, 6);
  EXPECT_EQ(CountSound(app_, 15), 1);
}

TEST_F(Scoring, WaveBadgesReadTheEndOfThePassHistory) {
  // Over red, orange and yellow, then over green with the chain at 4.
  app_.m_PassHistory[7] = 11;
  app_.m_PassHistory[8] = 12;
  app_.m_PassHistory[9] = 13;
  app_.m_Chain = 4;
  Pass(4, true);
  EXPECT_TRUE(app_.m_Badges[30]);
  EXPECT_FALSE(app_.m_Badges[27]);
  // Then over green again: two greens over.
  Pass(4, true);
  EXPECT_TRUE(app_.m_Badges[27]);

  struct Case {
    int before, kind;
    bool over;
    int badge;
  };
  const Case cases[] = {{15, 5, false, 28}, {17, 7, false, 29}};
  for (const Case& c : cases) {
    app_.m_PassHistory[9] = c.before;
    app_.m_Chain = 2;
    Pass(c.kind, c.over);
    EXPECT_TRUE(app_.m_Badges[c.badge]) << c.badge;
  }
}

TEST_F(Scoring, WaveBadgesNeedTheButtonHeld) {
  app_.m_PassHistory[7] = 11;
  app_.m_PassHistory[8] = 12;
  app_.m_PassHistory[9] = 13;
  app_.m_Chain = 3;  // held through two spikes only
  Pass(4, true);
  EXPECT_FALSE(app_.m_Badges[30]);
  app_.m_Chain = 1;
  app_.m_PassHistory[9] = 14;
  Pass(4, true);
  EXPECT_FALSE(app_.m_Badges[27]);
  // The flyer never earns them.
  app_.m_Mode = 4;
  app_.m_Chain = 2;
  app_.m_PassHistory[9] = 14;
  Pass(4, true);
  EXPECT_FALSE(app_.m_Badges[27]);
}

TEST_F(Scoring, ColourBadgesCountWithinTheRound) {
  for (int n = 1; n <= 5; ++n) {
    Pass(4, false);  // green, under
    EXPECT_TRUE(app_.m_Badges[19]);
    EXPECT_EQ(app_.m_Badges[20], n == 5) << n;
  }
  EXPECT_EQ(app_.m_RoundCounts[20], 5);
  Pass(4, true);  // over a green counts nothing
  EXPECT_EQ(app_.m_RoundCounts[20], 5);
  Pass(6, true);
  EXPECT_TRUE(app_.m_Badges[21]);
  EXPECT_EQ(app_.m_RoundCounts[22], 1);
  Pass(7, true);
  EXPECT_TRUE(app_.m_Badges[23]);
  EXPECT_EQ(app_.m_RoundCounts[24], 1);
  Pass(7, false);
  EXPECT_EQ(app_.m_RoundCounts[24], 1);
}

TEST_F(Scoring, Variant8ScoresOnlyWithShieldsAndByTheirNumber) {
  app_.m_Mode = 8;
  app_.m_Combo = 3;
  app_.m_Chain = 5;
  Pass(3, true);
  EXPECT_EQ(app_.m_Score, 0);
  EXPECT_EQ(app_.m_Combo, 0);
  EXPECT_EQ(app_.m_Chain, 2);
  EXPECT_TRUE(SoundsPlayed(app_).empty());
  EXPECT_FLOAT_EQ(Popup(99)[0], 0);
  app_.m_Charge = 2;
  app_.m_Combo = 2;
  Pass(3, true);
  EXPECT_EQ(app_.m_Score, 6);
  EXPECT_FLOAT_EQ(Popup(99)[6], 6);
  EXPECT_FLOAT_EQ(Popup(99)[8], 2);  // never SUPER
  EXPECT_EQ(app_.m_Chain, 2);
  // A frame without shields keeps no combo.
  app_.m_Charge = 0;
  app_.m_Combo = 4;
  game_.Update();
  EXPECT_EQ(app_.m_Combo, 0);
  EXPECT_EQ(app_.m_Chain, 1);
}

TEST_F(Scoring, PassedBadgesAreNestedAtTheEndOfEachFrame) {
  app_.m_Passed = 25;
  game_.Update();
  EXPECT_TRUE(app_.m_BadgesThisGame[0]);
  EXPECT_FALSE(app_.m_BadgesThisGame[1]);
  app_.m_Passed = 100;
  game_.Update();
  EXPECT_TRUE(app_.m_BadgesThisGame[1]);
  EXPECT_TRUE(app_.m_BadgesThisGame[2]);
  EXPECT_FALSE(app_.m_BadgesThisGame[3]);
}

TEST_F(Scoring, ChainBadgesNeedTheButtonHeldAtTheFrameEnd) {
  app_.m_ComboTimer = 100;
  app_.m_Chain = 9;
  game_.Update();  // released: the chain is back to 1 first
  EXPECT_FALSE(app_.m_BadgesThisGame[15]);
  game_.Press(WL_KEY_SPACE);
  app_.m_Chain = 9;
  game_.Update();
  EXPECT_TRUE(app_.m_BadgesThisGame[15]);
  EXPECT_TRUE(app_.m_BadgesThisGame[16]);
  EXPECT_TRUE(app_.m_BadgesThisGame[17]);
  EXPECT_FALSE(app_.m_BadgesThisGame[18]);
}

TEST_F(Scoring, TheComboTimerDrainsWhileRunningAndTheComboGoesWithIt) {
  app_.m_ComboTimer = 5;
  app_.m_Combo = 3;
  game_.Update();
  EXPECT_FLOAT_EQ(app_.m_ComboTimer, 2.9f);
  EXPECT_EQ(app_.m_Combo, 3);
  HoldPause(app_);
  game_.Update(10);
  EXPECT_FLOAT_EQ(app_.m_ComboTimer, 2.9f);
  EndPause(app_);
  game_.Update();
  EXPECT_EQ(app_.m_Combo, 0);
  EXPECT_EQ(CountSound(app_, 10), 1);
  game_.Update(3);  // nothing more to lose
  EXPECT_EQ(CountSound(app_, 10), 1);
}

TEST(ComboTimer, PlayMode10WaitsForTheFirstSmashThenEndsWhenItRunsOut) {
  Game game;
  StartRound(game, 10);
  bb_Vaultwick_MyApp& app = game.app();
  EmptyField(app);
  game.Update(300);
  EXPECT_FLOAT_EQ(app.m_ComboTimer, 200);
  EXPECT_EQ(app.m_RoundOver, 0);
  app.m_Passed = 1;
  game.Update(94);  // 200 less 2.1 a frame falls below 1 in the 95th
  EXPECT_EQ(app.m_RoundOver, 0);
  game.Update();
  EXPECT_EQ(app.m_RoundOver, 1);
}

TEST(ComboTimer, ThePlayMode4ComboNeverTimesOutAndShowsNoBar) {
  Game game;
  StartRound(game, 4);
  bb_Vaultwick_MyApp& app = game.app();
  EmptyField(app);
  app.m_ColumnWidth = 100000;  // nothing new comes in to stumble over
  game.Update();               // the timer starts at 0 and is pinned from here
  app.m_Combo = 7;
  game.Update(200);
  EXPECT_FLOAT_EQ(app.m_ComboTimer, 100);
  EXPECT_EQ(app.m_Combo, 7);
  for (const Record& r : game.DisplayList()) {
    if (r.is_rect() && r.y == 8) {
      EXPECT_FLOAT_EQ(r.w, 0);
    }
  }
}

}  // namespace
