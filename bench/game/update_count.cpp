// Runs one benchmarked screen on the harness and has callgrind count only the
// updates: collection is toggled on around each update and off around the
// scene's keeper. Run it as
//
//   valgrind --tool=callgrind --collect-atstart=no vw_update_count SCENE [UPDATES]
//
// (vw_update_count --list names the scenes, with a line on each).
//
// and divide the counted instructions by UPDATES (bench/tools/
// callgrind_by_function.py does, with the functions that cost most).
//
// It also prints a digest of every display list and sound the updates made,
// and of the GL draws (mode, texture, every vertex) of a render after each
// update, so that a change meant to keep behaviour or the picture can be
// checked to keep them: the digests must not move. The renders are not
// counted.
#include <valgrind/callgrind.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fake_al.h"
#include "scenes.h"

namespace {

// FNV-1a over the bytes given.
void Mix(uint64_t& digest, const void* data, size_t size) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) digest = (digest ^ p[i]) * 1099511628211ull;
}

// The display list's records, float by float, and the sounds started.
void MixUpdate(uint64_t& digest, const bb_Vaultwick_MyApp& app) {
  for (int k = 0; k < app.m_DrawCount; ++k) {
    float f = app.m_DrawList[k];
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    Mix(digest, &bits, sizeof bits);
  }
  for (const fakeal::PlayEvent& play : fakeal::state().plays) {
    const float values[] = {static_cast<float>(play.buffer), play.gain, play.pitch, play.pan,
                            static_cast<float>(play.looping)};
    Mix(digest, values, sizeof values);
  }
}

// Every draw call of the last render: its kind, texture, and vertices bit for bit.
void MixRender(uint64_t& digest, const gameharness::Game& game) {
  for (const fakegl::Draw& d : game.draws()) {
    const unsigned int head[] = {d.mode, d.texture, static_cast<unsigned int>(d.textured)};
    Mix(digest, head, sizeof head);
    for (const fakegl::Vertex& v : d.vertices) {
      const float xyuv[] = {v.x, v.y, v.u, v.v};
      const unsigned char rgba[] = {v.r, v.g, v.b, v.a};
      Mix(digest, xyuv, sizeof xyuv);
      Mix(digest, rgba, sizeof rgba);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
    for (const gamescenes::Scene& s : gamescenes::Scenes()) std::printf("%s\t%s\n", s.name.c_str(), s.what.c_str());
    return 0;
  }
  const gamescenes::Scene* scene = argc >= 2 ? gamescenes::Find(argv[1]) : nullptr;
  if (!scene) {
    std::fprintf(stderr, "usage: %s SCENE [UPDATES]; scenes:", argv[0]);
    for (const gamescenes::Scene& s : gamescenes::Scenes()) std::fprintf(stderr, " %s", s.name.c_str());
    std::fprintf(stderr, "\n");
    return 2;
  }
  int updates = argc >= 3 ? std::atoi(argv[2]) : 600;
  gameharness::Game game(640, 480);
  scene->reach(game);
  std::function<void()> keep = scene->keeper(game);
  long records = 0;
  uint64_t digest = 14695981039346656037ull, picture = digest;
  for (int i = 0; i < updates; ++i) {
    keep();
    fakeal::state().plays.clear();
    fakeal::state().log.clear();
    CALLGRIND_TOGGLE_COLLECT;
    game.Update();
    CALLGRIND_TOGGLE_COLLECT;
    records += game.app().m_DrawCount / bb_Vaultwick_MyApp::kDrawRecord;
    MixUpdate(digest, game.app());
    game.Render();
    MixRender(picture, game);
  }
  bool over = game.app().m_Screen == 10 && game.app().m_RoundOver != 0;
  std::printf("%s: %d updates counted, %.1f records per update, digest %016llx, renders %016llx%s\n",
              scene->name.c_str(), updates, static_cast<double>(records) / updates,
              static_cast<unsigned long long>(digest), static_cast<unsigned long long>(picture),
              over ? ", ROUND ENDED" : "");
  return 0;
}
