// Records the golden replays: a round of every play mode 1 to 10, played by
// the tests' scripted player over the whole-game harness, with a pause, a
// lost focus or an iconified window, and for half of them a window change;
// then a round played with the options a round reads or runs by (the button
// as a toggle, the game at 80 %), which every build must verify with its
// own settings. Writes mode-NN.vwr, options-01.vwr and expected.txt (file,
// mode, score, updates) into the folder given; `make golden-replays` writes them into tests/replays/.
// Every build must then verify them alike (verify_golden.sh).
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "replay_helpers.h"

namespace {

const int kModes = 10;
const int kToggle = 1;         // kSettingButtonMode
const int kEightyPercent = 2;  // kSettingGameSpeed
// The scripted player's presses flip a toggled hold, so it may never lose: it quits.
const int kOptionsQuitAt = 3000;

replaytest::Script ScriptFor(int mode) {
  replaytest::Script s;
  s.pauseAt = 120 + 10 * mode;
  if (mode % 2 == 1) s.focusLostAt = 500;
  if (mode % 2 == 0) s.iconifyAt = 500;
  if (mode % 2 == 0) s.resizeAt = 900;
  s.quitAt = 20000;
  return s;
}

// One round of `mode` from a game just started, written to `folder`/`name`
// and listed in `expected`; false when it left no replay.
bool RecordGolden(int mode, const replaytest::Script& script, const std::vector<std::pair<int, int>>& settings,
                  const std::string& folder, const char* name, std::string* expected) {
  gameharness::Game game;
  game.FinishLoading();
  for (const auto& slot : settings) game.app().m_Settings[slot.first] = slot.second;
  replaytest::Recording rec = replaytest::RecordRound(game, mode, script);
  replay::Replay recorded;
  if (!rec.ended || replaytest::DecodeBytes(rec.last, &recorded) != replay::ReadError::kNone) {
    std::fprintf(stderr, "%s: no replay\n", name);
    return false;
  }
  replaytest::WriteBytes(folder + "/" + name, rec.last);
  *expected += std::string(name) + " " + std::to_string(mode) + " " + std::to_string(recorded.score) + " " +
               std::to_string(recorded.updates) + "\n";
  std::printf("%s: score %d, %u updates, %zu bytes\n", name, recorded.score, recorded.updates, rec.last.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  std::string expected = "# file mode score updates (written by record_golden_replays)\n";
  for (int mode = 1; mode <= kModes; ++mode) {
    char name[32];
    std::snprintf(name, sizeof name, "mode-%02d.vwr", mode);
    if (!RecordGolden(mode, ScriptFor(mode), {}, folder, name, &expected)) return 1;
  }
  replaytest::Script options = ScriptFor(1);
  options.quitAt = kOptionsQuitAt;
  const std::vector<std::pair<int, int>> settings = {{kSettingButtonMode, kToggle},
                                                     {kSettingGameSpeed, kEightyPercent}};
  if (!RecordGolden(1, options, settings, folder, "options-01.vwr", &expected)) return 1;
  replaytest::WriteBytes(folder + "/expected.txt", expected);
  return 0;
}
