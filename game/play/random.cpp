// The game's random generator. Every random choice of a round is one step of
// this state, so a fixed seed replays a round exactly.
#include "game/play/random.h"

uint32_t bb_random_Seed;

float bb_random_Rnd() {
  bb_random_Seed = bb_random_Seed * 1664525u + 1013904223u;
  // 24 bits fit a float's mantissa exactly, so the result never rounds up to 1.
  return static_cast<float>(bb_random_Seed >> 8) / 16777216.0f;
}

float bb_random_Rnd2(float a, float b) { return a + (b - a) * bb_random_Rnd(); }

float bb_random_Rnd3(float x) { return bb_random_Rnd() * x; }
