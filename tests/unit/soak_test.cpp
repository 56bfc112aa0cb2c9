// A long stretch of play on the harness, driven by random but seeded input
// over the menus and all ten play modes, one render after every update as the
// main loop makes them. The sanitizer run finds memory and undefined-behaviour
// faults on the way; the test checks that every screen was reached and that
// the collected heap and the C heap level off.
//
// VW_SOAK_UPDATES sets the length (default ten simulated minutes, 36 000
// updates; `make soak` runs a simulated hour), VW_SOAK_SEED the seed.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "fake_al.h"
#include "fake_gl.h"
#include "game_harness.h"
#include "runtime/gc.h"
#include "seam/window.h"

#if defined(__SANITIZE_ADDRESS__)
#define VW_SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VW_SOAK_ASAN 1
#endif
#endif
#ifdef VW_SOAK_ASAN
// The sanitizer's allocator counts the heap (mallinfo does not see it).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

using gameharness::Game;

const int kUpdatesPerMinute = 60 * 60;
const int kFirstLockedMode = 3;  // modes 1 and 2 come unlocked
const int kOfferedModes = 5;

int EnvInt(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::atoi(value) : fallback;
}

// The program's bytes in the C heap, less the fake GL's copies of the
// textures, which follow whichever world the last round loaded.
long long CHeapBytes() {
#ifdef VW_SOAK_ASAN
  long long bytes = static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
  long long bytes = static_cast<long long>(mallinfo2().uordblks);
#endif
  for (const auto& texture : fakegl::state().textures) bytes -= static_cast<long long>(texture.second.rgba.capacity());
  return bytes;
}

// The fakes record every call; the game does not need the records kept.
void ClearRecorders() {
  fakeal::state().plays.clear();
  fakeal::state().log.clear();
  fakegl::State& gl = fakegl::state();
  gl.calls.clear();
  gl.uploads.clear();
  gl.allocations.clear();
  gl.deleted_textures.clear();
}

enum class Where { kLoading, kMenu, kBox, kRound, kPaused, kOver };

Where WhereNow(const bb_Vaultwick_MyApp& app) {
  if (app.m_LoadStep > 0) return Where::kLoading;
  if (app.m_Screen == 10 || app.m_Screen == 11) {
    if (app.m_RoundOver != 0) return Where::kOver;
    return app.m_Paused != 0 ? Where::kPaused : Where::kRound;
  }
  return app.m_CreditBoxOpen || app.m_BadgesBoxOpen ? Where::kBox : Where::kMenu;
}

// Gestures a hand makes, picked at random by what the screen shows: keys held
// for a while, clicks anywhere or on the menu's buttons, drags, pauses. At the
// menu it sometimes starts a round of play mode 6 to 10 directly, as the menu
// offers only 1 to 5.
class RandomPlayer {
 public:
  RandomPlayer(Game& game, unsigned seed) : game_(game), rng_(seed) {}

  // Sets the input for the next update.
  void Step() {
    PutSelectionBack();
    if (left_ > 0) {
      --left_;
      if (mouse_) game_.MoveMouse(x_ += dx_, y_ += dy_);
      if (left_ == 0) End();
      return;
    }
    if (rest_ > 0) {
      --rest_;
      return;
    }
    Begin(WhereNow(game_.app()));
  }

 private:
  int Roll(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  void Hold(int key, int lo, int hi) {
    key_ = key;
    game_.Press(key);
    left_ = Roll(lo, hi);
  }
  void Click(int x, int y, int dx = 0, int dy = 0) {
    mouse_ = true;
    x_ = x, y_ = y, dx_ = dx, dy_ = dy;
    game_.MoveMouse(x, y);
    game_.MouseDown();
    left_ = dx || dy ? Roll(5, 30) : Roll(2, 10);
  }
  void End() {
    if (key_) game_.Release(key_);
    if (mouse_) game_.MouseUp();
    key_ = 0;
    mouse_ = false;
    rest_ = Roll(1, 12);  // let go long enough for the latches to clear
  }

  void Begin(Where where) {
    const int any = Roll(0, 99);
    switch (where) {
      case Where::kLoading:
        rest_ = 5;
        break;
      case Where::kMenu:
        if (any < 25) Hold(any % 2 ? WL_KEY_SPACE : WL_KEY_ENTER, 2, 8);
        else if (any < 40) Hold(any % 2 ? WL_KEY_UP : WL_KEY_DOWN, 2, 8);
        else if (any < 48) Click(32, 32);  // badges
        else if (any < 56) Click(540, 20);  // credits box
        else if (any < 58) Click(48, 192);  // sound
        else if (any < 59) Click(602, 38);  // iCade
        else if (any < 65) Click(570, 432);  // play
        else if (any < 75) Click(Roll(0, 639), Roll(0, 479));
        else if (any < 80) Click(256, Roll(100, 450), 0, Roll(-12, 12));  // drag the mode list
        else if (any < 90) StartDirectly(6 + direct_++ % 5);  // by turns, so none is missed
        else rest_ = Roll(5, 60);
        break;
      case Where::kBox:
        if (any < 30) Hold(WL_KEY_ESC, 2, 6);
        else if (any < 50) Hold(any % 2 ? WL_KEY_UP : WL_KEY_DOWN, 2, 30);
        else if (any < 80) Click(Roll(0, 639), Roll(0, 479), 0, any % 3 ? 0 : Roll(-10, 10));
        else rest_ = Roll(5, 60);
        break;
      case Where::kRound:
        if (any < 55) Hold(WL_KEY_SPACE, 1, 90);
        else if (any < 65) Hold('X', 2, 6);  // fire
        else if (any < 73) Hold(WL_KEY_ESC, 2, 6);  // pause
        else if (any < 80) Click(Roll(0, 639), Roll(0, 479));
        else rest_ = Roll(1, 90);
        break;
      case Where::kPaused:
        if (any < 25) Hold(WL_KEY_LEFT, 2, 8);  // to the quit button
        else if (any < 45) Hold(WL_KEY_SPACE, 2, 8);
        else if (any < 55) Hold(any % 2 ? WL_KEY_RIGHT : WL_KEY_DOWN, 2, 8);
        else if (any < 62) Hold(WL_KEY_ESC, 2, 8);
        else if (any < 72) Click(180, 184);  // quit
        else if (any < 77) Click(320, 248);  // resume
        else if (any < 85) Click(Roll(0, 639), Roll(0, 479));
        else rest_ = Roll(5, 40);
        break;
      case Where::kOver:
        if (any < 30) Hold(WL_KEY_SPACE, 2, 8);
        else if (any < 45) Click(Roll(0, 639), Roll(0, 479));
        else rest_ = Roll(10, 120);
        break;
    }
  }

  void StartDirectly(int playMode) {
    selection_ = game_.app().m_MenuMode;
    game_.app().m_MenuMode = playMode;
    game_.app().m_Screen = 11;
  }

  // Back at the menu after such a round, the list shows the mode selected
  // before it, as the list has no row for the mode played.
  void PutSelectionBack() {
    bb_Vaultwick_MyApp& app = game_.app();
    if (selection_ == 0 || WhereNow(app) != Where::kMenu) return;
    app.m_MenuMode = selection_;
    app.m_MenuScroll = bb_Vaultwick_jscrh * 0.65f - static_cast<float>((selection_ - 1) * 82);
    selection_ = 0;
  }

  Game& game_;
  std::mt19937 rng_;
  int key_ = 0;
  bool mouse_ = false;
  int x_ = 0, y_ = 0, dx_ = 0, dy_ = 0;
  int left_ = 0, rest_ = 0;
  int selection_ = 0;  // the menu's selection before a round started directly
  int direct_ = 0;     // rounds started directly so far
};

// What the run reached, counted in updates or events.
struct Reached {
  int menu = 0, badgesBox = 0, creditsBox = 0, purchases = 0, paused = 0, quits = 0, gameOver = 0, backToMenu = 0;
  int rounds[11] = {};  // updates in a round, by play mode

  void After(const bb_Vaultwick_MyApp& app) {
    Where where = WhereNow(app);
    menu += where == Where::kMenu;
    badgesBox += app.m_Screen == 1 && app.m_BadgesBoxOpen;
    creditsBox += app.m_Screen == 1 && app.m_CreditBoxOpen;
    paused += where == Where::kPaused;
    gameOver += where == Where::kOver;
    if (app.m_Screen == 10 && app.m_PlayedMode >= 1 && app.m_PlayedMode <= 10) ++rounds[app.m_PlayedMode];
  }
};

struct Snapshot {
  int screen, paused, roundOver, credits, unlocked;
  explicit Snapshot(const bb_Vaultwick_MyApp& app)
      : screen(app.m_Screen),
        paused(app.m_Paused),
        roundOver(app.m_RoundOver),
        credits(app.m_Settings[3]),
        unlocked(app.m_Settings[2]) {}
};

void CountTransitions(Reached& reached, const Snapshot& was, const bb_Vaultwick_MyApp& app) {
  if (was.paused && !was.roundOver && app.m_RoundOver && !app.m_Paused) ++reached.quits;
  if (was.screen == 10 && app.m_Screen <= 2) ++reached.backToMenu;
  if (app.m_Settings[3] < was.credits && app.m_Settings[2] != was.unlocked) ++reached.purchases;
}

long long MaxOf(const std::vector<long long>& v, size_t from, size_t to) {
  return *std::max_element(v.begin() + static_cast<long>(from), v.begin() + static_cast<long>(to));
}

TEST(Soak, RandomPlayOverEveryScreenKeepsTheHeapsLevel) {
  const int updates = EnvInt("VW_SOAK_UPDATES", 10 * kUpdatesPerMinute);
  const unsigned seed = static_cast<unsigned>(EnvInt("VW_SOAK_SEED", 20261208));
  ASSERT_GE(updates, 4 * kUpdatesPerMinute) << "too short to see the heaps level off";
  Game game(640, 480);
  game.FinishLoading();
  bb_Vaultwick_MyApp& app = game.app();
  app.m_Settings[3] = 100;  // credits to buy play modes 3 to 5 with
  RandomPlayer player(game, seed);
  Reached reached;
  std::vector<long long> collected, cHeap;  // at the end of each minute

  for (int update = 1; update <= updates; ++update) {
    player.Step();
    Snapshot was(app);
    game.Update();
    game.Render();
    CountTransitions(reached, was, app);
    reached.After(app);
    ClearRecorders();
    if (update % kUpdatesPerMinute == 0) {
      gc_force_sweep = true;  // a whole cycle: what is left is what is live
      gc_collect();
      collected.push_back(gc_alloced_bytes);
      cHeap.push_back(CHeapBytes());
    }
  }

  std::string rounds;
  for (int mode = 1; mode <= 10; ++mode) {
    EXPECT_GT(reached.rounds[mode], 0) << "no round of play mode " << mode;
    rounds += " " + std::to_string(reached.rounds[mode]);
  }
  EXPECT_GT(reached.menu, 0);
  EXPECT_GT(reached.badgesBox, 0);
  EXPECT_GT(reached.creditsBox, 0);
  EXPECT_GT(reached.purchases, 0) << "no play mode bought";
  EXPECT_GT(reached.paused, 0);
  EXPECT_GT(reached.quits, 0) << "no round quit from the pause panel";
  EXPECT_GT(reached.gameOver, 0);
  EXPECT_GT(reached.backToMenu, 0);
  for (int mode = kFirstLockedMode; mode <= kOfferedModes; ++mode)
    EXPECT_TRUE(app.m_GetFlag(app.m_Settings[2], mode)) << "play mode " << mode << " still locked";

  // Levelled off: nothing in the second half of the run rises above the first
  // half (the first minute, with loading, aside) by more than a little.
  const size_t mid = 1 + (collected.size() - 1) / 2;
  EXPECT_LE(MaxOf(collected, mid, collected.size()), MaxOf(collected, 1, mid) + (64 << 10));
  EXPECT_LE(MaxOf(cHeap, mid, cHeap.size()), MaxOf(cHeap, 1, mid) + (256 << 10));

  std::printf("[ soak     ] %d updates, seed %u; updates in rounds of modes 1-10:%s\n", updates, seed, rounds.c_str());
  std::printf("[ soak     ] menu %d, badges box %d, credits box %d, purchases %d, paused %d, quits %d, "
              "game over %d, back to menu %d\n",
              reached.menu, reached.badgesBox, reached.creditsBox, reached.purchases, reached.paused, reached.quits,
              reached.gameOver, reached.backToMenu);
  std::printf("[ soak     ] live KiB per minute, collected / C heap:");
  for (size_t i = 0; i < collected.size(); ++i) std::printf(" %lld/%lld", collected[i] >> 10, cHeap[i] >> 10);
  std::printf("\n");
}

}  // namespace
