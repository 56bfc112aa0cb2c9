// vaultwick-replay: plays a replay file through the game without a window, art
// or sound (over the null window layer) and checks every state hash it holds.
//
//   vaultwick-replay verify FILE
//
// Exit 0: every hash matched; the mode, score and updates are printed.
// Exit 1: the round went another way; the first update whose hash differs
//         is named.
// Exit 2: the file cannot be read as a replay of this game (missing,
//         damaged, truncated, foreign), or the command is wrong.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/app.h"
#include "game/program.h"
#include "game/vaultwick.h"
#include "seam/window.h"

namespace {

const int kLoadingLimit = 1000;  // updates; the loader needs about 40

int Usage() {
  std::fprintf(stderr, "usage: vaultwick-replay verify FILE\n");
  return 2;
}

// At most one byte more than a replay may have, so a larger file is named as such.
bool ReadFile(const char* path, std::string* bytes) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  char block[4096];
  size_t n;
  while (bytes->size() <= replay::kMaxFileBytes && (n = std::fread(block, 1, sizeof block, f)) > 0)
    bytes->append(block, n);
  std::fclose(f);
  return true;
}

// The game as the program builds it, over the null layer, at the menu once
// its loader has run.
bb_Vaultwick_MyApp* StartHeadlessGame(const replay::Replay& recorded) {
  replay::Event first;
  replay::EventReader reader;
  reader.Next(recorded.events, &first);  // the set-up's screen, which Decode ensures
  wlInit();
  wlOpenWindow(static_cast<int>(first.width + 0.5f), static_cast<int>(first.height + 0.5f), 0, 0, 0, 0, 0, 0,
               WL_WINDOW);
  bb_Vaultwick_Headless = 1;
  bb_std_main(0, nullptr);
  bb_Vaultwick_MyApp* game = static_cast<bb_Vaultwick_MyApp*>(bb_app_device->m_app);
  game->m_ScaleX = game->m_ScaleY = 1;  // no render sets them here
  app->InvokeOnCreate();
  for (int i = 0; i < kLoadingLimit && game->m_LoadStep > 0; ++i) app->InvokeOnUpdate();
  return game;
}

int Verify(const char* path) {
  std::string bytes;
  if (!ReadFile(path, &bytes)) {
    std::printf("%s: cannot be read\n", path);
    return 2;
  }
  replay::Replay recorded;
  replay::ReadError error =
      replay::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &recorded);
  if (error != replay::ReadError::kNone) {
    std::printf("%s: %s\n", path, replay::Describe(error));
    return 2;
  }
  bb_Vaultwick_MyApp* game = StartHeadlessGame(recorded);
  game->StartReplay(recorded, ReplayPlayer::kVerify);
  while (game->m_Player.Driving()) app->InvokeOnUpdate();
  const ReplayPlayer& player = game->m_Player;
  if (player.outcome != ReplayPlayer::kMatched) {
    std::printf("%s: the round goes another way from update %u on (its state hash differs there)\n", path,
                player.mismatchAt);
    return 1;
  }
  std::printf("mode %d  score %d  updates %u  every state hash matches\n", recorded.header.playMode,
              recorded.score, recorded.updates);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || std::strcmp(argv[1], "verify") != 0) return Usage();
  int code = Verify(argv[2]);
  std::fflush(stdout);
  return code;
}
