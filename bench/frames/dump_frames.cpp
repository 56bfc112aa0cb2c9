// Writes the game frames the render comparison replays: each scene runs the
// game on the harness to a screen and dumps that frame's display list.
//
//   vw_dump_frames <folder>
//
// To compare another screen, add a scene below that drives the game there.
#include <sys/stat.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "dump.h"

namespace {

struct Scene {
  const char* name;
  std::function<void(gameharness::Game&)> reach;  // drives a fresh game to the frame
};

// Loading screen a few steps in, with the first sheets drawn.
void LoadingEarly(gameharness::Game& game) { game.Update(5); }
// Loading screen near its end.
void LoadingLate(gameharness::Game& game) { game.Update(30); }

// The badges box over the menu with a dozen badges owned, two notifications
// sliding in. The menu itself is still drawn by nobody here, so the list is
// emptied before the update as the menu will do.
void BadgesBox(gameharness::Game& game) {
  game.FinishLoading();
  bb_Vaultwick_MyApp& app = game.app();
  for (int id = 0; id < 12; ++id) app.m_Badges[id] = true;
  app.m_GiveBadge(20);
  app.m_GiveBadge(21);
  app.m_Screen = 1;
  app.m_BadgesBoxOpen = 1;
  for (int i = 0; i < 20; ++i) {
    app.m_DrawCount = 0;
    game.Update();
  }
}

const std::vector<Scene>& Scenes() {
  static const std::vector<Scene> scenes = {
      {"loading-early", LoadingEarly},
      {"loading-late", LoadingLate},
      {"badges-box", BadgesBox},
  };
  return scenes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  mkdir(argv[1], 0755);
  char dir[PATH_MAX];
  if (!realpath(argv[1], dir)) {
    std::fprintf(stderr, "cannot use folder %s\n", argv[1]);
    return 1;
  }
  for (const Scene& scene : Scenes()) {
    gameharness::Game game(640, 480);
    scene.reach(game);
    game.Render();  // the scale of this frame, as the real render would use it
    if (!frames::DumpFrame(game, dir, scene.name)) {
      std::fprintf(stderr, "cannot write frame %s to %s\n", scene.name, dir);
      return 1;
    }
    std::printf("%s: %zu records\n", scene.name, game.DisplayList().size());
  }
  return 0;
}
