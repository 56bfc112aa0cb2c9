// The game's changes as marks in the timing log, looked for after each frame.
#include "game_marks.h"

#include <time.h>

#include <cstdio>

#include "app/bb_app.h"
#include "app/timing_log.h"
#include "game/vaultwick.h"

namespace {

// Frames further apart than this mean the game had stopped drawing (it was
// suspended, or the machine stalled it).
const double kDrawingGapSeconds = 0.5;

// What the last frame showed; -1 before the first.
int g_screen = -1;
int g_paused = -1;
int g_round_over = -1;
double g_last_frame = -1;

double now_seconds() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// "drawing" at the first frame and at the first after a gap: the game shows
// itself again, after a restore from an iconified window for one.
void note_drawing() {
  double now = now_seconds();
  if (g_last_frame < 0 || now - g_last_frame > kDrawingGapSeconds) timinglog::Mark("drawing");
  g_last_frame = now;
}

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
  note_drawing();
  const bb_Vaultwick_MyApp* g = game();
  if (!g) return;
  if (g->m_Screen != g_screen) note_screen(g->m_Screen);
  if (g_paused != -1 && (g->m_Paused != 0) != (g_paused != 0)) timinglog::Mark(g->m_Paused ? "paused" : "unpaused");
  if (g_round_over == 0 && g->m_RoundOver != 0) timinglog::Mark("round-over");
  g_screen = g->m_Screen;
  g_paused = g->m_Paused;
  g_round_over = g->m_RoundOver;
}

}  // namespace

void WatchGameForMarks() {
  if (timinglog::enabled) timinglog::Watch(note_changes);
}
