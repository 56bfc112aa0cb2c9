// Shared by the replay tests and the golden-replay recorder: a scripted round
// recorded the way a player's round is (set up from the menu, played to its
// end and handed over), with a pause and a window change on the way when
// asked, and the replay file it left.
#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/app.h"
#include "fake_window.h"
#include "play_helpers.h"

namespace replaytest {

using gameharness::Game;

struct Script {
  int pauseAt = -1;           // update of the round at which Escape pauses it
  int pauseFor = 40;          // updates until Escape closes the panel again
  int resizeAt = -1;          // update at which the window changes size
  int width = 800, height = 480;
  int focusLostAt = -1;       // update before which another window takes the focus
  int iconifyAt = -1;         // update before which the window is iconified and restored
  int quitAt = -1;            // update at which the round is quit from the pause panel
  int limit = 30000;          // updates at most
  // Called after every update of the round, with its number.
  std::function<void(int)> afterUpdate;
};

struct Recording {
  int score = 0;         // the round's score as it ended
  int updates = 0;       // updates from the set-up to the hand-over
  bool ended = false;    // back at the menu within the limit
  std::string last;      // replays/last.vwr after the hand-over
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Escape held for two updates: at `pauseAt`, and `pauseFor` updates after
// each pause (its own, a lost focus, an iconified window) when the panel is
// still up, so that the round goes on.
inline void PauseKey(Game& game, int update, const Script& s) {
  const int opened[] = {s.pauseAt, s.focusLostAt, s.iconifyAt};
  bool press = update == s.pauseAt;
  for (int at : opened) press = press || (at >= 0 && update == at + s.pauseFor && game.app().m_Paused == 1);
  bool release = false;
  for (int at : opened) release = release || (at >= 0 && (update == at + 2 || update == at + s.pauseFor + 2));
  if (press) game.Press(WL_KEY_ESC);
  if (release) game.Release(WL_KEY_ESC);
}

// Quits from the pause panel, as a player would with the keys: pause,
// left to the quit button, then the action key.
inline void QuitKeys(Game& game, int update, const Script& s) {
  if (s.quitAt < 0 || update < s.quitAt || update > s.quitAt + 10) return;
  const int keys[] = {WL_KEY_ESC, WL_KEY_LEFT, WL_KEY_SPACE};
  int step = update - s.quitAt;
  if (step % 4 == 0) game.Press(keys[step / 4]);
  if (step % 4 == 2) game.Release(keys[step / 4]);
}

// A round of `playMode` from its set-up to the menu, the scripted player at
// the button.
inline Recording RecordRound(Game& game, int playMode, const Script& script = Script()) {
  bb_Vaultwick_MyApp& app = game.app();
  playtest::StartRound(game, playMode);
  playtest::ScriptedPlayer player(game);
  Recording rec;
  rec.updates = 1;
  for (int u = 1; u <= script.limit && app.m_Screen != kScreenMenu; ++u, ++rec.updates) {
    if (u == script.resizeAt) {
      fakewin::state().width = script.width;
      fakewin::state().height = script.height;
      game.Render();
    }
    // What the main loop does between updates when the window changes hands.
    if (u == script.focusLostAt) ::app->OnFocusLost();
    if (u == script.iconifyAt) {
      ::app->InvokeOnSuspend();
      ::app->InvokeOnResume();
    }
    // The player lets go while the panel is up (it plays the field, not
    // the panel), so the pause key that closes it is not held back.
    if (app.m_Paused == 1) {
      game.Release(WL_KEY_SPACE);
      game.Release('X');
    } else {
      player.Step();
    }
    PauseKey(game, u, script);
    if (app.m_RoundOver == 0) QuitKeys(game, u, script);
    game.Update();
    if (script.afterUpdate) script.afterUpdate(u);
    if (app.m_Screen == kScreenBackToMenu) rec.score = app.m_Score;
  }
  game.Release(WL_KEY_SPACE);
  game.Release('X');
  rec.ended = app.m_Screen == kScreenMenu;
  rec.last = ReadBytes("replays/last.vwr");
  return rec;
}

inline replay::ReadError DecodeBytes(const std::string& bytes, replay::Replay* out) {
  return replay::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
}

}  // namespace replaytest
