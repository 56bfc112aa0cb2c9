// Writes the game frames the render comparison replays: each scene runs the
// game on the harness to a screen and dumps that frame's display list. For
// each it also prints the draw calls our renderer made for the frame (on the
// recording GL, which counts the very calls the real one gets) against the
// fewest the display list allows were everything blended, and how many of
// them draw a large image's cells (graphics/cells.cpp): the renderer trades
// those draw calls for the fill they save.
//
//   vw_dump_frames <folder>
//
// To compare another screen, add a scene below or in bench/game/scenes.cpp.
#include <sys/stat.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "../game/scenes.h"
#include "dump.h"

namespace {

struct Scene {
  std::string name;
  std::function<void(gameharness::Game&)> reach;  // drives a fresh game to the frame
};

// Loading screen a few steps in, with the first sheets drawn.
void LoadingEarly(gameharness::Game& game) { game.Update(5); }
// Loading screen near its end.
void LoadingLate(gameharness::Game& game) { game.Update(30); }

std::vector<Scene> Scenes() {
  std::vector<Scene> scenes = {{"loading-early", LoadingEarly}, {"loading-late", LoadingLate}};
  for (const gamescenes::Scene& s : gamescenes::Scenes()) scenes.push_back({s.name, s.reach});
  return scenes;
}

// The fewest draw calls the list allows: one per run of records that share a
// texture (rectangles share none, as the clearing rectangle before them
// does), plus one per ellipse. Records that draw nothing (an empty slot, a
// frame the image lacks) break no run.
int LeastDrawCalls(const gameharness::Game& game) {
  bb_Vaultwick_MyApp& app = game.app();
  int calls = 1;  // the clearing rectangle
  const gxtkSurface* run = nullptr;
  bool open = true;
  for (const gameharness::Record& r : game.DisplayList()) {
    if (r.is_oval()) {
      ++calls;
      open = false;
      continue;
    }
    const gxtkSurface* texture = nullptr;
    if (!r.is_rect()) {
      int slot = static_cast<int>(r.kind);
      bb_graphics_Image* image = r.kind > -1 && slot < app.m_Img.Length() ? app.m_Img[slot] : nullptr;
      if (!image || !image->FrameAt(static_cast<int>(r.frame))) continue;
      texture = image->m_surface;
    }
    if (open && texture == run) continue;
    ++calls;
    run = texture;
    open = true;
  }
  return calls;
}

// Draw calls that draw the quad the call before drew, under another scissor:
// the second and later rectangles of an image drawn by cells.
int CellRepeats(const std::vector<fakegl::Draw>& draws) {
  int repeats = 0;
  for (size_t i = 1; i < draws.size(); ++i) {
    const fakegl::Draw &a = draws[i - 1], &b = draws[i];
    if (!a.scissor || !b.scissor || a.scissor_box == b.scissor_box || a.vertices.size() != b.vertices.size())
      continue;
    bool same = true;
    for (size_t v = 0; v < a.vertices.size() && same; ++v)
      same = a.vertices[v].x == b.vertices[v].x && a.vertices[v].y == b.vertices[v].y &&
             a.vertices[v].u == b.vertices[v].u && a.vertices[v].v == b.vertices[v].v;
    repeats += same;
  }
  return repeats;
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
  std::printf(
      "| frame | records | draw calls | of them repeats for cells | fewest the list allows, all blended |\n"
      "|---|---|---|---|---|\n");
  for (const Scene& scene : Scenes()) {
    gameharness::Game game(640, 480);
    scene.reach(game);
    game.Render();  // the frame as the real render draws it, at the scale it uses
    if (!frames::DumpFrame(game, dir, scene.name)) {
      std::fprintf(stderr, "cannot write frame %s to %s\n", scene.name.c_str(), dir);
      return 1;
    }
    std::printf("| %s | %zu | %zu | %d | %d |\n", scene.name.c_str(), game.DisplayList().size(), game.draws().size(),
                CellRepeats(game.draws()), LeastDrawCalls(game));
  }
  return 0;
}
