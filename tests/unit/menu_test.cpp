// The main menu through the whole game: buying modes, taps and drags on the
// mode list, the keys at its ends, the score lists of the selected mode, the
// sound button's setting, the credits box, and starting a round.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "game_harness.h"
#include "seam/window.h"

namespace {

using gameharness::Game;
using gameharness::Record;

const float kLine = 480 * 0.65f;  // the selection line of a 640 x 480 window
const int kRowX = 256;            // the mode list's x
const int kPitch = 82;

std::vector<std::string> StatePieces() {
  std::vector<std::string> pieces(1);
  FILE* f = std::fopen(".tovrinstate", "rb");
  if (!f) return {};
  for (int c; (c = std::fgetc(f)) != EOF;) {
    if (c == '|')
      pieces.emplace_back();
    else
      pieces.back() += static_cast<char>(c);
  }
  std::fclose(f);
  return pieces;
}

class Menu : public ::testing::Test {
 protected:
  Game game_;
  bb_Vaultwick_MyApp& app_ = game_.app();

  void SetUp() override {
    game_.FinishLoading();
    app_.m_MenuIntro = 0;  // past the slide-in
    game_.Update();
    game_.ClearSounds();
  }

  // Puts mode `mode` on the selection line, as the keys do.
  void Select(int mode) {
    app_.m_MenuMode = mode;
    app_.m_MenuScroll = kLine - static_cast<float>((mode - 1) * kPitch);
  }
  float RowY(int mode) const { return app_.m_MenuScroll + static_cast<float>((mode - 1) * kPitch); }

  void PressAt(int x, int y) {
    game_.MoveMouse(x, y);
    game_.MouseDown();
    game_.Update();
  }
  void ReleaseMouse() {
    game_.MouseUp();
    game_.Update();
  }
  void TapKey(int key) {
    game_.Press(key);
    game_.Update();
    game_.Release(key);
    game_.Update();
  }
  int Cost(int mode) { return app_.m_GetCost(static_cast<float>(25 * mode - 70)); }
  bool Unlocked(int mode) { return app_.m_GetFlag(app_.m_Settings[2], mode) == 1; }

  bool DrewRect(float r, float g, float b, float alpha) const {
    for (const Record& rec : game_.DisplayList())
      if (rec.is_rect() && rec.r == r && rec.g == g && rec.b == b && rec.alpha == alpha) return true;
    return false;
  }
};

TEST_F(Menu, ALockedModeIsBoughtOnlyWithEnoughCreditsAndTheSaleIsSavedAtOnce) {
  Select(3);
  ASSERT_FALSE(Unlocked(3));
  app_.m_Settings[3] = Cost(3) - 1;
  PressAt(kRowX, static_cast<int>(kLine));
  EXPECT_FALSE(Unlocked(3));
  EXPECT_EQ(app_.m_Settings[3], Cost(3) - 1);
  EXPECT_TRUE(DrewRect(255, 100, 100, 0.6f)) << "the price tag is red while the credits fall short";
  EXPECT_TRUE(game_.SoundsPlayed().empty());
  EXPECT_EQ(app_.m_Screen, 1);
  ReleaseMouse();

  app_.m_Settings[3] = Cost(3);
  PressAt(kRowX, static_cast<int>(kLine));
  EXPECT_TRUE(Unlocked(3));
  EXPECT_EQ(app_.m_Settings[3], 0);
  EXPECT_EQ(game_.SoundsPlayed(), std::vector<int>{4});
  EXPECT_EQ(app_.m_Screen, 1) << "buying does not also start the round";
  std::vector<std::string> pieces = StatePieces();
  ASSERT_GT(pieces.size(), 4u) << "no state file written";
  EXPECT_EQ(pieces[2], "7");
  EXPECT_EQ(pieces[3], "0");
}

// A tap on a row above the selection moves the list at once; the rows after
// it are laid out from the moved list, so they do not take the selection back.
TEST_F(Menu, ATapOnAnotherRowBringsItToTheLineWithOneSound) {
  const struct {
    int selected, tapped;
  } cases[] = {{1, 2}, {2, 1}, {3, 1}};
  for (const auto& c : cases) {
    Select(c.selected);
    game_.Update();
    game_.ClearSounds();
    PressAt(kRowX, static_cast<int>(RowY(c.tapped)));
    EXPECT_EQ(app_.m_MenuMode, c.tapped) << c.selected << " -> " << c.tapped;
    EXPECT_FLOAT_EQ(app_.m_MenuScroll, kLine - static_cast<float>((c.tapped - 1) * kPitch));
    EXPECT_EQ(game_.SoundsPlayed(), std::vector<int>{2}) << c.selected << " -> " << c.tapped;
    ReleaseMouse();
    EXPECT_EQ(app_.m_MenuMode, c.tapped);
    EXPECT_EQ(app_.m_Screen, 1);
  }
}

// A press between two rows that moves 7 units in one update is a drag: rows
// that then pass under the pointer are not tapped. At 6 units it is not, and
// the row that reaches the pointer is tapped.
TEST_F(Menu, ADragOfSevenUnitsIsNotATap) {
  for (int step : {7, 6}) {
    Select(1);
    game_.Update();
    game_.ClearSounds();
    int y = static_cast<int>(kLine) + kPitch + 41;  // between modes 2 and 3
    PressAt(kRowX, y);
    bool tapped = false;
    for (int i = 0; i < 12 && !tapped; ++i) {
      y -= step;
      game_.MoveMouse(kRowX, y);
      game_.Update();
      for (int slot : game_.SoundsPlayed()) tapped = tapped || slot == 2;
    }
    EXPECT_EQ(tapped, step < 7) << "moving " << step << " per update";
    EXPECT_EQ(app_.m_PointerLatch, 1);
    ReleaseMouse();
  }
}

TEST_F(Menu, TheSelectionFollowsADragWithASoundAtEachChange) {
  Select(1);
  PressAt(100, 300);  // beside the list, on nothing that reacts
  std::vector<int> modes;
  for (int y = 296; y > 200; y -= 4) {
    game_.MoveMouse(100, y);
    game_.Update();
    if (modes.empty() || modes.back() != app_.m_MenuMode) modes.push_back(app_.m_MenuMode);
  }
  EXPECT_EQ(modes, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(game_.SoundsPlayed(), (std::vector<int>{13, 13}));
  EXPECT_FLOAT_EQ(app_.m_MenuScroll, kLine - 1.5f * (300 - 204));
}

TEST_F(Menu, KeysStopAtTheFirstAndLastModes) {
  Select(1);
  TapKey(WL_KEY_UP);
  TapKey(WL_KEY_LEFT);
  EXPECT_EQ(app_.m_MenuMode, 1);
  EXPECT_FLOAT_EQ(app_.m_MenuScroll, kLine);
  EXPECT_TRUE(game_.SoundsPlayed().empty());

  Select(bb_Vaultwick_MaxGames);
  TapKey(WL_KEY_DOWN);
  TapKey(WL_KEY_RIGHT);
  EXPECT_EQ(app_.m_MenuMode, 5);
  EXPECT_TRUE(game_.SoundsPlayed().empty());

  TapKey(WL_KEY_UP);
  EXPECT_EQ(app_.m_MenuMode, 4);
  EXPECT_FLOAT_EQ(app_.m_MenuScroll, kLine - 3 * kPitch);
  EXPECT_EQ(game_.SoundsPlayed(), std::vector<int>{98});
}

// The lists of play mode N are the save data's mode N - 1.
TEST_F(Menu, TheListsAreThoseOfTheSelectedMode) {
  const int top = 0, last = bb_Vaultwick_MaxGames * 10;
  app_.m_Scores[top + 1 * 10 + 0] = 4321;   // mode 2's best
  app_.m_Scores[last + 1 * 10 + 0] = 1234;  // mode 2's newest
  app_.m_Scores[top + 2 * 10 + 0] = 9999;   // mode 3's best
  Select(2);
  game_.Update();
  std::string tops = game_.TextDrawn(255, 200, 100);
  std::string lasts = game_.TextDrawn(200, 255, 100);
  EXPECT_EQ(tops, "Top10" "4321" "000000000");
  EXPECT_EQ(lasts, "Last10" "1234" "000000000");
}

// A sound setting the menus never write is taken as plain on, which is what
// the button shows for it; neither path then leaves 0..3.
TEST_F(Menu, AnUnknownSoundSettingReadsAsOn) {
  struct Case {
    int stored, music, afterTap;
  };
  const Case cases[] = {{7, 0, 0}, {-3, 0, 0}, {-3, 1, 2}, {1, 0, 0}, {0, 0, 1}, {2, 0, 0}, {3, 1, 0}};
  for (const Case& c : cases) {
    bb_Vaultwick_HasMusic = c.music;
    app_.m_Settings[5] = c.stored;
    game_.Update();
    int shown = -1;
    for (const Record& rec : game_.DisplayList())
      if (rec.kind == 97 && rec.x == 48 && rec.y == 192) shown = static_cast<int>(rec.frame);
    EXPECT_EQ(shown, c.stored == 0 ? 5 : 4) << c.stored;
    PressAt(48, 192);
    EXPECT_EQ(app_.m_Settings[5], c.afterTap) << c.stored << " with music " << c.music;
    ReleaseMouse();
  }
  bb_Vaultwick_HasMusic = 0;
}

TEST_F(Menu, TheCreditsBoxClosesOnlyOnANewTap) {
  PressAt(540, 20);  // the logo
  EXPECT_EQ(app_.m_CreditBoxOpen, 1);
  game_.Update(5);  // the opening press, still held
  EXPECT_EQ(app_.m_CreditBoxOpen, 1);
  EXPECT_TRUE(game_.TextDrawn(255, 200, 100).empty()) << "the lists give way to the box";
  std::string lines = game_.TextDrawn(255, 255, 255);
  EXPECT_NE(lines.find("AGameBy" "TheVaultwickteam" "Createdusing" "Tovrin"), std::string::npos) << lines;
  ReleaseMouse();
  EXPECT_EQ(app_.m_CreditBoxOpen, 1);
  game_.ClearSounds();
  PressAt(320, 300);  // a mode row under the box: the tap only closes it
  EXPECT_EQ(app_.m_CreditBoxOpen, 0);
  EXPECT_EQ(game_.SoundsPlayed(), std::vector<int>{99});
  EXPECT_EQ(app_.m_Screen, 1);
}

TEST_F(Menu, SpaceStartsTheSelectedUnlockedModeAndTheRoundRemembersIt) {
  Select(3);
  app_.m_Settings[3] = Cost(3) - 1;
  TapKey(WL_KEY_SPACE);
  EXPECT_EQ(app_.m_Screen, 1) << "mode 3 is locked";
  Select(2);
  game_.Press(WL_KEY_SPACE);
  game_.Update();
  EXPECT_EQ(app_.m_Screen, 11);
  EXPECT_EQ(app_.m_PlayedMode, 2);
  EXPECT_EQ(game_.SoundsPlayed(), std::vector<int>{98});
}

}  // namespace
