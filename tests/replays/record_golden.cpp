// Records the golden replays: a round of every play mode 1 to 10, played by
// the tests' scripted player over the whole-game harness, with a pause, a
// lost focus or an iconified window, and for half of them a window change.
// Writes mode-NN.vwr and expected.txt (file, mode, score, updates) into the
// folder given; `make golden-replays` writes them into tests/replays/.
// Every build must then verify them alike (verify_golden.sh).
#include <cstdio>
#include <string>

#include "replay_helpers.h"

namespace {

const int kModes = 10;

replaytest::Script ScriptFor(int mode) {
  replaytest::Script s;
  s.pauseAt = 120 + 10 * mode;
  if (mode % 2 == 1) s.focusLostAt = 500;
  if (mode % 2 == 0) s.iconifyAt = 500;
  if (mode % 2 == 0) s.resizeAt = 900;
  s.quitAt = 20000;
  return s;
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
    gameharness::Game game;
    game.FinishLoading();
    replaytest::Recording rec = replaytest::RecordRound(game, mode, ScriptFor(mode));
    replay::Replay recorded;
    if (!rec.ended || replaytest::DecodeBytes(rec.last, &recorded) != replay::ReadError::kNone) {
      std::fprintf(stderr, "play mode %d: no replay\n", mode);
      return 1;
    }
    char name[32];
    std::snprintf(name, sizeof name, "mode-%02d.vwr", mode);
    replaytest::WriteBytes(folder + "/" + name, rec.last);
    expected += std::string(name) + " " + std::to_string(mode) + " " + std::to_string(recorded.score) + " " +
                std::to_string(recorded.updates) + "\n";
    std::printf("%s: score %d, %u updates, %zu bytes\n", name, recorded.score, recorded.updates, rec.last.size());
  }
  replaytest::WriteBytes(folder + "/expected.txt", expected);
  return 0;
}
