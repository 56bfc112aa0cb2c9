// The benchmarked screens: how each is reached on the harness, and what keeps
// a round as busy as its name says while it is measured.
#include "scenes.h"

#include "unit/play_helpers.h"

namespace gamescenes {

namespace {

using gameharness::Game;

const int kEffectRecords = 100;
const int kEffectStride = 10;
// Updates a round is played before it counts as under way: the field is full
// of columns and the effect pool has cycled.
const int kRoundLeadIn = 600;

void Menu(Game& game) {
  game.FinishLoading();
  game.Update(60);  // the menu has slid in
}

// The box over the menu with a dozen badges owned and two notifications
// sliding in.
void BadgesBox(Game& game) {
  Menu(game);
  bb_Vaultwick_MyApp& app = game.app();
  for (int id = 0; id < 12; ++id) app.m_Badges[id] = true;
  app.m_GiveBadge(20);
  app.m_GiveBadge(21);
  app.m_BadgesBoxOpen = 1;
  game.Update(20);
}

// Every free record of the effect pool taken as shots and smashes take them:
// eight particles, then a score pop-up (type 2 or 3 by turns), near the
// character. With `popups`, half the records are pop-ups instead, far more
// than play makes in their four seconds: the heaviest pool there can be.
void FillEffectPool(bb_Vaultwick_MyApp& app, int& turn, bool popups) {
  int free = 0;
  for (int r = 0; r < kEffectRecords; ++r) free += app.m_Particles[r * kEffectStride] < 1;
  const int period = popups ? 2 : 9;
  for (int n = 0; n < free; ++n, ++turn) {
    float x = 128 + static_cast<float>(turn % 7) * 16, y = 300 - static_cast<float>(turn % 5) * 20;
    int kind = turn % 9 + 1;
    if (turn % period != period - 1)
      app.m_Smash(x, y, kind, 1);
    else
      app.m_Gets(x, y, kind, 120, popups ? turn / 2 % 3 + 1 : turn / period % 2 + 2);
  }
}

// What a round keeps up besides the player: play mode 7's gun recharged
// whenever its bullet is gone, play mode 9's five shields, play mode 10's
// combo timer (the round ends when it runs out).
enum class Extra { kGun, kShields, kComboTimer };
enum class Pool { kAsPlayFillsIt, kHalfPopups };

std::function<void()> RoundKeeper(Game& game, Extra extra, Pool pool) {
  auto player = std::make_shared<playtest::ScriptedPlayer>(game);
  auto turn = std::make_shared<int>(0);
  Game* g = &game;
  return [g, player, turn, extra, pool]() {
    bb_Vaultwick_MyApp& app = g->app();
    // Hits must not end the round under measurement; two can come in one
    // update, so two lives are kept.
    if (app.m_GetLives(app.m_PlayedMode) > 0 && app.m_Lives < 2) app.m_Lives = 2;
    if (extra == Extra::kGun && app.m_BulletX <= 0) app.m_Charge = 5;
    if (extra == Extra::kShields) app.m_Charge = 5;
    if (extra == Extra::kComboTimer && app.m_ComboTimer < 60) app.m_ComboTimer = 60;
    FillEffectPool(app, *turn, pool == Pool::kHalfPopups);
    player->Step();
  };
}

std::function<void(Game&)> ReachRound(int playMode, Extra extra, Pool pool = Pool::kAsPlayFillsIt) {
  return [playMode, extra, pool](Game& game) {
    playtest::StartRound(game, playMode);
    std::function<void()> keep = RoundKeeper(game, extra, pool);
    for (int i = 0; i < kRoundLeadIn; ++i) {
      keep();
      game.Update();
    }
  };
}

std::function<std::function<void()>(Game&)> KeepRound(Extra extra, Pool pool = Pool::kAsPlayFillsIt) {
  return [extra, pool](Game& game) { return RoundKeeper(game, extra, pool); };
}

std::function<void()> Nothing(Game&) {
  return [] {};
}

}  // namespace

const std::vector<Scene>& Scenes() {
  static const std::vector<Scene> scenes = {
      {"menu", "main menu, at rest", Menu, Nothing},
      {"badges-box", "badges box over the menu, 12 badges, 2 notifications", BadgesBox, Nothing},
      {"round-mode7", "play mode 7 firing, effect pool full", ReachRound(7, Extra::kGun), KeepRound(Extra::kGun)},
      {"round-mode7-popups", "play mode 7 firing, effect pool half pop-ups (beyond play)",
       ReachRound(7, Extra::kGun, Pool::kHalfPopups), KeepRound(Extra::kGun, Pool::kHalfPopups)},
      {"round-mode9", "play mode 9 with five shields, effect pool full", ReachRound(9, Extra::kShields),
       KeepRound(Extra::kShields)},
      {"round-mode10", "play mode 10 in play, effect pool full", ReachRound(10, Extra::kComboTimer),
       KeepRound(Extra::kComboTimer)},
  };
  return scenes;
}

const Scene* Find(const std::string& name) {
  for (const Scene& s : Scenes())
    if (s.name == name) return &s;
  return nullptr;
}

}  // namespace gamescenes
