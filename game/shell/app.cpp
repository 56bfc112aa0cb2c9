// The game object's construction and lifecycle hooks.
#include "game/vaultwick.h"

int bb_Vaultwick_MaxGames;
int bb_Vaultwick_MaxBadges;
int bb_Vaultwick_DebugMode;
int bb_Vaultwick_HasMusic;
int bb_Vaultwick_iCadeControls;
int bb_Vaultwick_OnScreenControls;
int bb_Vaultwick_AccelerometerControls;
float bb_Vaultwick_rawscrw, bb_Vaultwick_rawscrh;
float bb_Vaultwick_jscrw, bb_Vaultwick_jscrh;
int bb_random_Seed;

bb_Vaultwick_MyApp* bb_Vaultwick_MyApp::g_new() {
  bb_app_App::g_new();
  return this;
}

int bb_Vaultwick_MyApp::m_OnCreate() {
  bb_app_SetUpdateRate(60);
  return 0;
}
