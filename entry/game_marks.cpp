// The game's changes as marks in the timing log, looked for after each frame.
#include "game_marks.h"

#include <cstdio>

#include "app/bb_app.h"
#include "app/timing_log.h"
#include "game/vaultwick.h"

namespace {

// What the last frame showed; -1 before the first.
int g_screen = -1;
int g_paused = -1;
int g_round_over = -1;
bool g_at_rest = false;

const bb_Vaultwick_MyApp* game() {
  return bb_app_device ? static_cast<const bb_Vaultwick_MyApp*>(bb_app_device->m_app) : nullptr;
}

void note_screen(int screen) {
  char what[32];
  std::snprintf(what, sizeof what, "screen-%d", screen);
  timinglog::Mark(what);
}

// Compares the game with the last frame's and marks what changed.
void note_changes() {
  const bb_Vaultwick_MyApp* g = game();
  if (!g) return;
  if (g->m_Screen != g_screen) note_screen(g->m_Screen);
  if (g_paused != -1 && (g->m_Paused != 0) != (g_paused != 0)) timinglog::Mark(g->m_Paused ? "paused" : "unpaused");
  if (g_round_over == 0 && g->m_RoundOver != 0) timinglog::Mark("round-over");
  bool at_rest = MenuAtRest(*g);
  if (at_rest && !g_at_rest) timinglog::Mark("menu-at-rest");
  g_at_rest = at_rest;
  g_screen = g->m_Screen;
  g_paused = g->m_Paused;
  g_round_over = g->m_RoundOver;
}

}  // namespace

bool MenuAtRest(const bb_Vaultwick_MyApp& game) {
  return game.m_Screen == 1 && game.m_LoadStep == 0 && game.m_MenuIntro == 0 && game.m_GameOverTime == 0;
}

void WatchGameForMarks() {
  if (timinglog::enabled) timinglog::Watch(note_changes);
}
