// Placeholders until the menus, pause panel, game over and credits box are written.
#include "game/vaultwick.h"

int bb_Vaultwick_MyApp::m_Menu() { return 0; }
int bb_Vaultwick_MyApp::m_PauseMenu() { return 0; }
int bb_Vaultwick_MyApp::m_GameOver() { return 0; }
String bb_Vaultwick_MyApp::m_MyNth() { return String(); }
int bb_Vaultwick_MyApp::m_LoadMenu() { return 0; }
int bb_Vaultwick_MyApp::m_CreditBox() { return 0; }
int bb_Vaultwick_MyApp::m_InGame() { return 0; }
