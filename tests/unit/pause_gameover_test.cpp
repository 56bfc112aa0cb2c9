// Around a round: the pause panel's slide, keys and buttons, game over with
// the place announced and the round filed at the hand-over, and a close of
// the window that must not lose a round still open.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "fake_al.h"
#include "fake_window.h"
#include "game_harness.h"
#include "seam/window.h"

namespace {

using gameharness::Game;

std::vector<int> StateNumbers() {
  std::vector<int> numbers;
  FILE* f = std::fopen(".tovrinstate", "rb");
  if (!f) return numbers;
  std::string piece;
  for (int c; (c = std::fgetc(f)) != EOF;) {
    if (c != '|') {
      piece += static_cast<char>(c);
      continue;
    }
    numbers.push_back(std::stoi(piece));
    piece.clear();
  }
  std::fclose(f);
  return numbers;
}

// Entries of the saved lists; mode is the play mode 1..5.
int SavedTop(const std::vector<int>& s, int mode, int i) { return s.at(35 + 21 * (mode - 1) + 2 * i); }
int SavedLast(const std::vector<int>& s, int mode, int i) { return s.at(35 + 21 * (mode - 1) + 2 * i + 1); }

class AroundARound : public ::testing::Test {
 protected:
  Game game_;
  bb_Vaultwick_MyApp& app_ = game_.app();

  // A round of `mode` in play, as its set-up leaves it.
  void SetUp() override {
    game_.FinishLoading();
    StartRound(1);
  }
  void StartRound(int mode) {
    app_.m_MenuMode = mode;
    app_.m_Screen = 11;
    game_.Update(2);  // set-up latches the keys; a frame with nothing held frees them
    game_.ClearSounds();
  }

  int& Top(int mode, int i) { return app_.m_Scores[(mode - 1) * 10 + i]; }
  int& Last(int mode, int i) { return app_.m_Scores[bb_Vaultwick_MaxGames * 10 + (mode - 1) * 10 + i]; }
  std::vector<int> TopList(int mode) {
    std::vector<int> out;
    for (int i = 0; i < 10; ++i) out.push_back(Top(mode, i));
    return out;
  }

  void TapKey(int key) {
    game_.Press(key);
    game_.Update();
    game_.Release(key);
    game_.Update();
  }
  // Updates until the game is back on the menu; returns how many it took.
  int UntilMenu(int limit = 200) {
    int n = 0;
    while (app_.m_Screen != 1 && n < limit) {
      game_.Update();
      ++n;
    }
    return n;
  }
  // The place line game over draws in one update: green text at full alpha
  // (the round's score above it is green too, but translucent).
  std::string Announced() {
    game_.Update();
    std::string out;
    for (const gameharness::Record& r : game_.DisplayList())
      if (r.kind == 90 && r.r == 100 && r.g == 255 && r.b == 100 && r.alpha == 1) out += static_cast<char>(r.frame + 32);
    return out;
  }
};

TEST_F(AroundARound, ThePanelRestsAt248AndPlayResumesAsItLeaves) {
  app_.m_PauseY = -64;
  game_.Press(WL_KEY_ESC);
  std::vector<int> ys;
  for (int i = 0; i < 15; ++i) {
    game_.Update();
    ys.push_back(app_.m_PauseY);
  }
  EXPECT_EQ(app_.m_Paused, 1);
  EXPECT_EQ(app_.m_PauseOpened, 1);
  EXPECT_EQ(app_.m_PauseChoice, 0);
  EXPECT_EQ(game_.SoundsPlayed(), std::vector<int>{98});
  EXPECT_EQ(ys[0], -40);
  EXPECT_EQ(ys[11], 224);
  EXPECT_EQ(ys[12], 248) << "at rest after 13 updates";
  EXPECT_EQ(ys[14], 248);
  game_.Release(WL_KEY_ESC);
  game_.Update();

  // The pause key closes it again (it starts moving in the next update): up
  // 24 a time, play on as it passes above -32.
  game_.Press(WL_KEY_ESC);
  game_.Update();
  EXPECT_EQ(app_.m_PauseOpened, -1);
  std::vector<int> paused;
  for (int i = 0; i < 13; ++i) {
    game_.Update();
    paused.push_back(app_.m_Paused);
    if (i == 10) {
      EXPECT_EQ(app_.m_PauseY, -16);
    }
  }
  EXPECT_EQ(paused[10], 1) << "at -16 the panel still shows";
  EXPECT_EQ(paused[11], 0) << "at -40 play resumes";
  EXPECT_EQ(app_.m_PauseY, -40);
}

TEST_F(AroundARound, NoPauseOnceTheRoundIsOver) {
  app_.m_RoundOver = 1;
  game_.Press(WL_KEY_ESC);
  game_.Update(3);
  game_.Release(WL_KEY_ESC);
  game_.MoveMouse(16, 16);  // the pause button
  game_.MouseDown();
  game_.Update(3);
  EXPECT_EQ(app_.m_Paused, 0);
  for (int slot : game_.SoundsPlayed()) EXPECT_NE(slot, 98);
}

TEST_F(AroundARound, TheSoundButtonToggledByTapsAndCycledByTheKeyboard) {
  TapKey(WL_KEY_ESC);
  game_.Update(15);
  TapKey(WL_KEY_RIGHT);
  EXPECT_EQ(app_.m_PauseChoice, 1);
  std::vector<int> seen;
  for (int i = 0; i < 4; ++i) {
    TapKey(WL_KEY_ENTER);
    seen.push_back(app_.m_Settings[5]);
  }
  EXPECT_EQ(seen, (std::vector<int>{2, 3, 0, 1}));
  app_.m_Settings[5] = 3;
  game_.MoveMouse(460, 184);  // the sound button at the panel's right corner
  game_.MouseDown();
  game_.Update();
  EXPECT_EQ(app_.m_Settings[5], 0);
  EXPECT_EQ(app_.m_Paused, 1);
}

TEST_F(AroundARound, QuittingFromThePanelFilesTheRoundAndAddsItsCredits) {
  StartRound(2);
  for (int i = 0; i < 10; ++i) {
    Top(2, i) = 100 - 10 * i;
    Last(2, i) = i + 1;
  }
  app_.m_Settings[3] = 5;
  app_.m_Score = 42;
  app_.m_CreditsEarned = 3;
  TapKey(WL_KEY_ESC);
  TapKey(WL_KEY_LEFT);
  EXPECT_EQ(app_.m_PauseChoice, -1);
  game_.ClearSounds();
  game_.Press(WL_KEY_SPACE);
  game_.Update();
  EXPECT_EQ(app_.m_RoundOver, 1);
  EXPECT_EQ(app_.m_Paused, 0);
  EXPECT_EQ(app_.m_PauseY, -64);
  ASSERT_EQ(game_.SoundsPlayed(), std::vector<int>{98});
  EXPECT_FLOAT_EQ(fakeal::state().plays[0].pitch, 0.5f);

  EXPECT_EQ(UntilMenu(), 90) << "the overlay shows for 90 updates, then the hand-over";
  EXPECT_EQ(game_.SoundsPlayed(), (std::vector<int>{98, 6}));
  EXPECT_EQ(TopList(2), (std::vector<int>{100, 90, 80, 70, 60, 50, 42, 40, 30, 20}));
  EXPECT_EQ(Last(2, 0), 42);
  EXPECT_EQ(Last(2, 1), 1);
  EXPECT_EQ(Last(2, 9), 9);
  EXPECT_EQ(app_.m_Settings[3], 8);
  EXPECT_EQ(app_.m_KeyLatch, 1);
  EXPECT_EQ(app_.m_PointerLatch, 1);
  EXPECT_FLOAT_EQ(app_.m_MenuScroll, 480 * 0.65f - 82);
  std::vector<int> saved = StateNumbers();
  ASSERT_FALSE(saved.empty());
  EXPECT_EQ(SavedTop(saved, 2, 6), 42);
  EXPECT_EQ(SavedLast(saved, 2, 0), 42);
  EXPECT_EQ(saved[3], 8);
}

// The place is announced on a tie, but only a better score enters the top ten.
TEST_F(AroundARound, GameOverAnnouncesThePlaceAndFilesStrictlyBetterScores) {
  const std::vector<int> tens = {100, 90, 80, 70, 60, 50, 40, 30, 20, 10};
  const std::vector<int> zeros(10, 0);
  struct Case {
    std::vector<int> top;
    int score;
    std::string announced;
    std::vector<int> after;
  };
  const Case cases[] = {
      {zeros, 0, "NewHighscore1st!", zeros},
      {tens, 10, "NewHighscore10th", tens},
      {tens, 100, "NewHighscore1st!", {100, 100, 90, 80, 70, 60, 50, 40, 30, 20}},
      {tens, 5, "", tens},
      {tens, 55, "NewHighscore6th", {100, 90, 80, 70, 60, 55, 50, 40, 30, 20}},
  };
  for (const Case& c : cases) {
    StartRound(1);
    for (int i = 0; i < 10; ++i) {
      Top(1, i) = c.top[i];
      Last(1, i) = 7;
    }
    app_.m_Score = c.score;
    app_.m_RoundOver = 1;
    game_.Update(29);
    EXPECT_EQ(Announced(), c.announced) << "score " << c.score;
    UntilMenu();
    EXPECT_EQ(TopList(1), c.after) << "score " << c.score;
    EXPECT_EQ(Last(1, 0), c.score) << "every round enters the last ten";
    EXPECT_EQ(Last(1, 1), 7);
  }
}

// The menu may select another mode while the overlay fades over it: the place
// and the filing stay with the mode that was played.
TEST_F(AroundARound, GameOverRanksAndFilesTheModeThatWasPlayed) {
  for (int i = 0; i < 10; ++i) {
    Top(1, i) = 50 - 5 * i;
    Top(2, i) = Top(3, i) = 1000;
  }
  app_.m_Score = 60;
  app_.m_RoundOver = 1;
  app_.m_MenuMode = 2;
  UntilMenu();
  EXPECT_EQ(Top(1, 0), 60);
  EXPECT_EQ(Last(1, 0), 60);
  EXPECT_EQ(Top(2, 0), 1000);
  EXPECT_EQ(Last(2, 0), 0);
  game_.Update(2);
  TapKey(WL_KEY_DOWN);
  ASSERT_EQ(app_.m_MenuMode, 3);
  EXPECT_EQ(Announced(), "NewHighscore1st!");
  EXPECT_GT(app_.m_GameOverTime, 0);
}

// A close ends the main loop with one last suspension, which saves. A round
// still open then is saved as filed, once, whatever happened before.
TEST(CloseDuringARound, TheRoundIsFiledOnceBeforeTheFinalSave) {
  struct Case {
    const char* what;
    std::function<void(bb_Vaultwick_MyApp&)> schedule;
    int rounds;  // entries the round should have in the last ten
  };
  // A round of play mode 1 is set up at 1.4 s; the scheduled call gives it 42
  // points and 2 credits.
  auto inRound = [](bb_Vaultwick_MyApp& app) {
    app.m_Score = 42;
    app.m_CreditsEarned = 2;
  };
  const Case cases[] = {
      {"mid-round",
       [&](bb_Vaultwick_MyApp& app) {
         fakewin::at(1.5, [&app, inRound] { inRound(app); });
         fakewin::request_close(2.0);
       },
       1},
      {"during game over",
       [&](bb_Vaultwick_MyApp& app) {
         fakewin::at(1.5, [&app, inRound] {
           inRound(app);
           app.m_RoundOver = 1;
         });
         fakewin::request_close(2.0);
       },
       1},
      {"after the hand-over",
       [&](bb_Vaultwick_MyApp& app) {
         fakewin::at(1.5, [&app, inRound] {
           inRound(app);
           app.m_RoundOver = 1;
         });
         fakewin::request_close(4.0);
       },
       1},
      {"iconified mid-round",
       [&](bb_Vaultwick_MyApp& app) {
         fakewin::at(1.5, [&app, inRound] { inRound(app); });
         fakewin::iconify(2.0);
         fakewin::request_close(2.5);
       },
       1},
      {"iconified, restored, then over",
       [&](bb_Vaultwick_MyApp& app) {
         fakewin::at(1.5, [&app, inRound] { inRound(app); });
         fakewin::iconify(2.0);
         fakewin::restore(2.5, true);
         fakewin::at(3.0, [&app] { app.m_RoundOver = 1; });
         fakewin::request_close(6.0);
       },
       1},
      {"in the menu", [](bb_Vaultwick_MyApp&) { fakewin::request_close(2.0); }, 0},
  };
  for (const Case& c : cases) {
    Game game{Game::ForMainLoop{}};
    bb_Vaultwick_MyApp& app = game.app();
    if (c.rounds) {
      fakewin::at(1.4, [&app] {
        app.m_MenuMode = 1;
        app.m_Screen = 11;
      });
    }
    c.schedule(app);
    RunApp();
    std::vector<int> saved = StateNumbers();
    ASSERT_FALSE(saved.empty()) << c.what;
    EXPECT_EQ(SavedLast(saved, 1, 0), c.rounds ? 42 : 0) << c.what;
    EXPECT_EQ(SavedLast(saved, 1, 1), 0) << c.what << ": filed twice";
    EXPECT_EQ(SavedTop(saved, 1, 0), c.rounds ? 42 : 0) << c.what;
    EXPECT_EQ(saved[3], 2 * c.rounds) << c.what << ": credits";
  }
}

}  // namespace
