// The game's one random generator: a 32-bit linear congruential state and
// draws in [0, 1) made from its top 24 bits.
#pragma once

#include <cstdint>

// The generator's state. Unsigned, so the multiply-add wraps modulo 2^32.
extern uint32_t bb_random_Seed;

// Advances the state one step and returns a float in [0, 1).
float bb_random_Rnd();
// A draw in [a, b).
float bb_random_Rnd2(float a, float b);
// A draw in [0, x).
float bb_random_Rnd3(float x);
