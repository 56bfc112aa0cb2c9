// vaultwick-replay: plays a replay file through the game without a window, art
// or sound (over the null window layer) and checks every state hash it holds.
//
//   vaultwick-replay verify FILE
//   vaultwick-replay time FILE...   (how fast: each file played to its end)
//
// Exit 0: every hash matched; the mode, score and updates are printed.
// Exit 1: the round went another way; the first update whose hash differs
//         is named.
// Exit 2: the file cannot be read as a replay of this game (missing,
//         damaged, truncated, foreign), or the command is wrong.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/app.h"
#include "game/program.h"
#include "game/vaultwick.h"
#include "seam/window.h"

namespace {

const int kLoadingLimit = 1000;  // updates; the loader needs about 40

int Usage() {
  std::fprintf(stderr, "usage: vaultwick-replay verify FILE\n       vaultwick-replay time FILE...\n");
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
  // The game's create hook alone: the framework's own would load its default
  // font into a texture, for text that is never rendered here.
  game->m_OnCreate();
  for (int i = 0; i < kLoadingLimit && game->m_LoadStep > 0; ++i) app->InvokeOnUpdate();
  return game;
}

// The file read and decoded, or its one-line error printed.
bool ReadReplay(const char* path, replay::Replay* recorded) {
  std::string bytes;
  if (!ReadFile(path, &bytes)) {
    std::printf("%s: cannot be read\n", path);
    return false;
  }
  replay::ReadError error = replay::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), recorded);
  if (error == replay::ReadError::kNone) return true;
  std::printf("%s: %s\n", path, replay::Describe(error));
  return false;
}

// Plays `recorded` to its end or its first difference; true when every hash matched.
bool PlayToTheEnd(bb_Vaultwick_MyApp* game, const replay::Replay& recorded) {
  game->StartReplay(recorded, ReplayPlayer::kVerify);
  while (game->m_Player.Driving()) app->InvokeOnUpdate();
  bool matched = game->m_Player.outcome == ReplayPlayer::kMatched;
  game->StopReplay();
  return matched;
}

int Verify(const char* path) {
  replay::Replay recorded;
  if (!ReadReplay(path, &recorded)) return 2;
  bb_Vaultwick_MyApp* game = StartHeadlessGame(recorded);
  if (!PlayToTheEnd(game, recorded)) {
    std::printf("%s: the state hash at update %u differs from the recording\n", path, game->m_Player.mismatchAt);
    return 1;
  }
  std::printf("mode %d  score %d  updates %u  every state hash matches\n", recorded.header.playMode,
              recorded.score, recorded.updates);
  return 0;
}

// Updates per second of each file's playback alone (after the game's start).
int Time(int count, char** paths) {
  std::vector<replay::Replay> replays(count);
  for (int i = 0; i < count; ++i)
    if (!ReadReplay(paths[i], &replays[i])) return 2;
  bb_Vaultwick_MyApp* game = StartHeadlessGame(replays[0]);
  double seconds = 0, updates = 0;
  for (int i = 0; i < count; ++i) {
    auto start = std::chrono::steady_clock::now();
    bool matched = PlayToTheEnd(game, replays[i]);
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!matched) return 1;
    std::printf("%s: %u updates in %.3f s, %.0f updates per second\n", paths[i], replays[i].updates, s,
                replays[i].updates / s);
    seconds += s;
    updates += replays[i].updates;
  }
  std::printf("all: %.0f updates in %.3f s, %.0f updates per second\n", updates, seconds, updates / seconds);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int code;
  if (argc == 3 && std::strcmp(argv[1], "verify") == 0)
    code = Verify(argv[2]);
  else if (argc >= 3 && std::strcmp(argv[1], "time") == 0)
    code = Time(argc - 2, argv + 2);
  else
    return Usage();
  std::fflush(stdout);
  return code;
}
