// The game's part of start-up: its globals and the game object, after the
// framework's own start.
#include "game/program.h"

#include "app/app.h"
#include "game/vaultwick.h"

int bbInit() {
  bb_Vaultwick_MaxGames = 10;
  bb_Vaultwick_MaxBadges = 33;
  bb_Vaultwick_DebugMode = 0;
  bb_Vaultwick_jscrw = bb_Vaultwick_rawscrw = 640.0f;
  bb_Vaultwick_jscrh = bb_Vaultwick_rawscrh = 480.0f;
  bb_Vaultwick_iCadeControls = 0;
  bb_Vaultwick_HasMusic = 1;
  bb_random_Seed = 1234;
  bb_Vaultwick_OnScreenControls = 0;
  bb_Vaultwick_AccelerometerControls = 0;
  return 0;
}

int bbMain() {
  (new bb_Vaultwick_MyApp())->g_new();
  return 0;
}

int bb_std_main(int argc, const char** argv) {
  StartFramework(argc, argv);
  bbInit();
  gc_mark();
  bbMain();
  return 0;
}
