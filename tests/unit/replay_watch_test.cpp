// Watching a replay from the main menu, through the whole game: the round
// shows as it was recorded, update for update, with its pauses skipped and
// "REPLAY" over it; any key ends it; the menu says why a replay cannot be
// watched; and nothing the player keeps changes, down to the save string.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "replay_helpers.h"

namespace {

using gameharness::Game;
using replaytest::Recording;
using replaytest::Script;

const float kLabelR = 255, kLabelG = 90, kLabelB = 90;
const float kNoteR = 255, kNoteG = 140, kNoteB = 140;

// The first `floats` floats of the display list.
uint64_t ListHash(const bb_Vaultwick_MyApp& app, int floats) {
  uint64_t h = 1469598103934665603ull;
  for (int i = 0; i < floats; ++i) {
    uint32_t bits;
    std::memcpy(&bits, &app.m_DrawList[i], sizeof bits);
    h = (h ^ bits) * 1099511628211ull;
  }
  return h;
}

struct Frame {
  int count;
  uint64_t hash;
};

// A round of play mode 1, paused on the way, with the display list of each
// of its updates; it becomes the mode's best run. The game then waits at
// the menu until the round's overlay and badge notes have gone.
std::vector<Frame> RecordBestRun(Game& game, const std::function<void()>& probe = nullptr, int quitAt = -1) {
  std::vector<Frame> frames;
  Script script;
  script.pauseAt = 200;
  script.quitAt = quitAt;
  int paused = 0;
  script.afterUpdate = [&](int) {
    frames.push_back(Frame{game.app().m_DrawCount, ListHash(game.app(), game.app().m_DrawCount)});
    paused += game.app().m_Paused;
    if (probe) probe();
  };
  Recording rec = replaytest::RecordRound(game, 1, script);
  EXPECT_TRUE(rec.ended);
  EXPECT_GT(paused, 8);
  EXPECT_GT(rec.score, 0);
  game.Update(300);
  return frames;
}

void PressR(Game& game) {
  game.Press('R');
  game.Update();
  game.Release('R');
}

std::vector<int> Tables(bb_Vaultwick_MyApp& app) {
  std::vector<int> t(app.m_Settings.begin(), app.m_Settings.end());
  t.insert(t.end(), app.m_Scores.begin(), app.m_Scores.end());
  for (int i = 0; i < app.m_Badges.Length(); ++i) t.push_back(app.m_Badges[i] ? 1 : 0);
  return t;
}

struct Watched {
  int realUpdates = 0;  // updates of the game from R to the menu
  int compared = 0;     // updates shown and compared with the recording's
};

// Starts the best run with R and plays it to its end, comparing each update
// shown with the recorded one's display list.
Watched WatchAndCompare(Game& game, const std::vector<Frame>& recorded) {
  bb_Vaultwick_MyApp& app = game.app();
  Watched w;
  PressR(game);
  EXPECT_EQ(app.m_Screen, kScreenRoundSetUp);
  for (int guard = 0; guard < 40000 && app.m_Player.active; ++guard) {
    game.Update();
    ++w.realUpdates;
    if (!app.m_Player.active || app.m_Player.update < 2) continue;
    uint32_t shown = app.m_Player.update - 1;
    if (shown > recorded.size()) {
      ADD_FAILURE() << "update " << shown << " is past the recorded round";
      break;
    }
    const Frame& f = recorded[shown - 1];
    EXPECT_GE(app.m_DrawCount, f.count) << "update " << shown;
    EXPECT_EQ(ListHash(app, std::min(f.count, app.m_DrawCount)), f.hash) << "update " << shown;
    EXPECT_EQ(app.m_Paused, 0) << "a paused update was shown: " << shown;
    EXPECT_EQ(game.TextDrawn(kLabelR, kLabelG, kLabelB), "REPLAY");
    ++w.compared;
    if (::testing::Test::HasFailure()) break;
  }
  return w;
}

TEST(WatchingReplays, TheRoundShowsAsRecordedAndChangesNothing) {
  Game game;
  game.FinishLoading();
  std::vector<Frame> recorded = RecordBestRun(game);
  bb_Vaultwick_MyApp& app = game.app();
  std::string saved = replaytest::ReadBytes(".tovrinstate");
  ASSERT_FALSE(saved.empty());
  std::vector<int> tables = Tables(app);
  float scroll = app.m_MenuScroll;

  Watched watched = WatchAndCompare(game, recorded);
  int realUpdates = watched.realUpdates;
  EXPECT_EQ(app.m_Player.outcome, ReplayPlayer::kMatched);
  EXPECT_GT(watched.compared, 100);
  // The pauses passed in single updates rather than shown (the round's own
  // updates, its set-up and the hand-over were one real update each).
  EXPECT_LT(realUpdates, static_cast<int>(recorded.size()) - 8);
  EXPECT_EQ(app.m_Screen, kScreenMenu);
  EXPECT_EQ(Tables(app), tables);
  EXPECT_EQ(app.m_MenuScroll, scroll);
  game.Update(100);
  EXPECT_EQ(replaytest::ReadBytes(".tovrinstate"), saved);
  app.m_Save();
  EXPECT_EQ(replaytest::ReadBytes(".tovrinstate"), saved) << "the tables in memory changed";
}

// A round played with the button as a toggle shows as it was played (its
// hold mark included) to a player whose setting is now hold, and leaves the
// setting as it found it.
TEST(WatchingReplays, AToggleModeRoundShowsAsPlayed) {
  Game game;
  game.FinishLoading();
  bb_Vaultwick_MyApp& app = game.app();
  app.m_Settings[kSettingButtonMode] = 1;
  int holdShown = 0;
  // The scripted player's presses flip the hold, so it may never lose: it quits.
  std::vector<Frame> recorded = RecordBestRun(game, [&] { holdShown += app.m_ToggleHeld; }, 1500);
  ASSERT_GT(holdShown, 0) << "the toggled hold was never on";
  app.m_Settings[kSettingButtonMode] = 0;
  std::vector<int> tables = Tables(app);

  Watched watched = WatchAndCompare(game, recorded);
  EXPECT_EQ(app.m_Player.outcome, ReplayPlayer::kMatched);
  EXPECT_GT(watched.compared, 100);
  EXPECT_EQ(Tables(app), tables);
}

TEST(WatchingReplays, AnyKeyOrClickEndsItAtOnce) {
  Game game;
  game.FinishLoading();
  RecordBestRun(game);
  bb_Vaultwick_MyApp& app = game.app();
  std::vector<int> tables = Tables(app);
  const struct {
    const char* what;
    std::function<void()> press;
  } ways[] = {
      {"space", [&] { game.Press(WL_KEY_SPACE); }},
      {"a letter", [&] { game.Press('Q'); }},
      {"a click", [&] { game.MouseDown(0); }},
  };
  for (const auto& way : ways) {
    PressR(game);
    game.Update(50);
    ASSERT_TRUE(app.m_Player.active) << way.what;
    way.press();
    game.Update();
    EXPECT_FALSE(app.m_Player.active) << way.what;
    EXPECT_EQ(app.m_Screen, kScreenMenu) << way.what;
    EXPECT_EQ(app.m_GameOverTime, 0) << way.what;
    EXPECT_EQ(Tables(app), tables) << way.what;
    game.Release(WL_KEY_SPACE);
    game.Release('Q');
    game.MouseUp(0);
    game.Update(5);
  }
}

// Iconifying the window ends the replay before the game saves, so the menu
// is saved as it was; a lost focus pauses nothing the replay did not.
TEST(WatchingReplays, AnIconifiedWindowEndsItAndSavesTheMenuAsItWas) {
  Game game;
  game.FinishLoading();
  RecordBestRun(game);
  bb_Vaultwick_MyApp& app = game.app();
  std::string saved = replaytest::ReadBytes(".tovrinstate");
  PressR(game);
  game.Update(100);
  ASSERT_TRUE(app.m_Player.Driving());
  ::app->OnFocusLost();
  game.Update();
  EXPECT_TRUE(app.m_Player.Driving());
  ::app->InvokeOnSuspend();
  EXPECT_FALSE(app.m_Player.active);
  EXPECT_EQ(app.m_Screen, kScreenMenu);
  EXPECT_EQ(replaytest::ReadBytes(".tovrinstate"), saved);
  ::app->InvokeOnResume();
  game.Update(5);
  EXPECT_EQ(app.m_Screen, kScreenMenu);
}

TEST(WatchingReplays, TheButtonBesideTheTopListStartsIt) {
  Game game;
  game.FinishLoading();
  RecordBestRun(game);
  bb_Vaultwick_MyApp& app = game.app();
  // At rest the strip starts 140 from the right edge; the button is 120 in.
  game.MoveMouse(640 - 140 + 120, 86);
  game.MouseDown(0);
  game.Update();
  game.MouseUp(0);
  EXPECT_TRUE(app.m_Player.active);
  EXPECT_EQ(app.m_Screen, kScreenRoundSetUp);
}

// What the menu says, and that it stays at the menu.
TEST(WatchingReplays, TheMenuSaysWhyAReplayCannotBeWatched) {
  Game game;
  game.FinishLoading();
  bb_Vaultwick_MyApp& app = game.app();
  const std::string none = "Noreplayofthismodeyet";  // blanks draw nothing
  PressR(game);
  EXPECT_EQ(app.m_Screen, kScreenMenu);
  EXPECT_EQ(game.TextDrawn(kNoteR, kNoteG, kNoteB), none);

  RecordBestRun(game);
  std::string best = replaytest::ReadBytes("replays/best-1.vwr");
  ASSERT_FALSE(best.empty());
  const struct {
    std::string bytes;
    const char* says;
  } cases[] = {
      {best.substr(0, best.size() - 9), "Thatreplayisdamaged"},
      {std::string(best).replace(4, 1, 1, static_cast<char>(replay::kFormatVersion + 1)),
       "Thatreplayisfromanotherversion"},
  };
  for (const auto& c : cases) {
    replaytest::WriteBytes("replays/best-1.vwr", c.bytes);
    PressR(game);
    EXPECT_EQ(app.m_Screen, kScreenMenu);
    EXPECT_FALSE(app.m_Player.active);
    EXPECT_EQ(game.TextDrawn(kNoteR, kNoteG, kNoteB), c.says);
  }
  // Mode 1's best run filed as mode 2's.
  app.m_MenuMode = 2;
  app.m_MenuScroll = bb_Vaultwick_jscrh * 0.65f - 82;
  replaytest::WriteBytes("replays/best-2.vwr", best);
  PressR(game);
  EXPECT_EQ(app.m_Screen, kScreenMenu);
  EXPECT_FALSE(app.m_Player.active);
  EXPECT_EQ(game.TextDrawn(kNoteR, kNoteG, kNoteB), "Thatreplayisofanothermode");
}

// A replay recorded on another virtual screen plays on its own, centred in
// the window with bars beside it.
TEST(WatchingReplays, AnotherScreenSizeIsLetterboxed) {
  Game game;
  game.FinishLoading();
  RecordBestRun(game);
  bb_Vaultwick_MyApp& app = game.app();
  fakewin::state().width = 1280;
  fakewin::state().height = 600;  // a virtual screen of 640 x 300
  game.Render();
  game.FinishLoading();
  game.Render();
  ASSERT_EQ(bb_Vaultwick_jscrh, 300);
  PressR(game);
  game.Update(60);
  ASSERT_TRUE(app.m_Player.Driving());
  game.Render();
  EXPECT_EQ(bb_Vaultwick_jscrw, 640);
  EXPECT_EQ(bb_Vaultwick_jscrh, 480);
  EXPECT_FLOAT_EQ(app.m_ScaleX, 1.25f);  // 600 / 480
  // Everything but the clear is drawn inside an 800 x 600 box in the middle.
  int boxed = 0;
  for (const fakegl::Draw& d : game.draws()) {
    if (!d.scissor) continue;
    EXPECT_EQ(d.scissor_box[0], 240);
    EXPECT_EQ(d.scissor_box[1], 0);
    EXPECT_EQ(d.scissor_box[2], 800);
    EXPECT_EQ(d.scissor_box[3], 600);
    ++boxed;
  }
  EXPECT_GE(boxed, static_cast<int>(game.draws().size()) - 1);
  game.Update();
  EXPECT_EQ(app.m_LoadStep, 0) << "the window's art is not reloaded while a replay plays";
  EXPECT_TRUE(app.m_Player.Driving());
}

}  // namespace
