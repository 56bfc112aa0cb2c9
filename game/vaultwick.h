// The game: one application object that holds every piece of game state.
#pragma once

#include "host/bb_app.h"

class bb_Vaultwick_MyApp : public bb_app_App {
 public:
  bb_Vaultwick_MyApp() {}
  bb_Vaultwick_MyApp* g_new();

  int m_OnCreate() override;
};

// Game-wide settings, set by bbInit before the game object exists.
extern int bb_Vaultwick_MaxGames;
extern int bb_Vaultwick_MaxBadges;
extern int bb_Vaultwick_DebugMode;
extern int bb_Vaultwick_HasMusic;
extern int bb_Vaultwick_iCadeControls;
extern int bb_Vaultwick_OnScreenControls;
extern int bb_Vaultwick_AccelerometerControls;
extern float bb_Vaultwick_rawscrw, bb_Vaultwick_rawscrh;
extern float bb_Vaultwick_jscrw, bb_Vaultwick_jscrh;
extern int bb_random_Seed;
