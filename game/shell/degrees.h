// Sine and cosine of angles in degrees, the game's unit for every angle.
#pragma once

#include <cmath>

#include "graphics/context.h"

inline float SinDeg(float degrees) { return std::sin(degrees * D2R); }
inline float CosDeg(float degrees) { return std::cos(degrees * D2R); }
