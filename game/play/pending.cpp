// Placeholders until the spike field, play modes and round flow are written.
#include "game/vaultwick.h"

int bb_Vaultwick_MyApp::m_GetLives(int) { return 0; }
int bb_Vaultwick_MyApp::m_GetCost(float) { return 0; }
int bb_Vaultwick_MyApp::m_LoadGame() {
  m_Screen = 10;
  return 0;
}
int bb_Vaultwick_MyApp::m_NextPiece() { return 0; }
int bb_Vaultwick_MyApp::m_Place(int, int) { return 0; }
int bb_Vaultwick_MyApp::m_Placeb(int, int) { return 0; }
int bb_Vaultwick_MyApp::m_DoSpikes() { return 0; }
int bb_Vaultwick_MyApp::m_Smash(float, float, int, int) { return 0; }
int bb_Vaultwick_MyApp::m_Gets(float, float, int, int, int) { return 0; }
int bb_Vaultwick_MyApp::m_Game() { return 0; }
