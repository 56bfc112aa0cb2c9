// Sine, cosine and arc tangent in degrees, the game's unit for every angle.
//
// The round's logic must give the same bits on every build (the desktop, the
// sanitizer build, the browser), so these do not call the C library: glibc's
// sinf and the browser libc's differ in their last bits. They are worked out
// from IEEE double arithmetic alone (game/shell/degrees.cpp) and rounded to
// float, which matches a correctly rounded sinf in all but the rarest cases.
#pragma once

#include "graphics/context.h"

// sin and cos of an angle in radians, the same bits everywhere.
float SteadySin(float radians);
float SteadyCos(float radians);
// atan2(y, x) in radians, with the C library's signs and quadrants.
float SteadyAtan2(float y, float x);

// The radian angle is the same float product the game has always taken.
inline float SinDeg(float degrees) { return SteadySin(degrees * D2R); }
inline float CosDeg(float degrees) { return SteadyCos(degrees * D2R); }
// The direction of (x, y) in degrees, -180..180.
inline float Atan2Deg(float y, float x) { return SteadyAtan2(y, x) / D2R; }
