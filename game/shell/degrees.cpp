// The game's own sine, cosine and arc tangent: range reduction and series in
// IEEE double arithmetic only (additions, multiplications, divisions and a
// square root, each correctly rounded on every machine), with fused
// multiply-adds switched off for the game (game/CMakeLists.txt), so a round
// computes the same bits on every build.
#include "game/shell/degrees.h"

#include <cmath>

namespace {

// pi / 2 split so that k * kHalfPiHigh is exact for any k below 2^20.
const double kHalfPiHigh = 1.57079632673412561417e+00;
const double kHalfPiLow = 6.07710050650619224932e-11;
const double kTwoOverPi = 6.36619772367581382433e-01;
const double kPi = 3.14159265358979311600e+00;
const double kHalfPi = 1.57079632679489655800e+00;

// Taylor series on |r| <= pi / 4; the first term left out is below 1e-16.
double SinSeries(double r) {
  double r2 = r * r;
  double s = -1.0 / 1307674368000.0;  // 1 / 15!
  s = 1.0 / 6227020800.0 + r2 * s;    // 1 / 13!
  s = -1.0 / 39916800.0 + r2 * s;     // 1 / 11!
  s = 1.0 / 362880.0 + r2 * s;        // 1 / 9!
  s = -1.0 / 5040.0 + r2 * s;
  s = 1.0 / 120.0 + r2 * s;
  s = -1.0 / 6.0 + r2 * s;
  return r + r * r2 * s;
}

double CosSeries(double r) {
  double r2 = r * r;
  double c = 1.0 / 20922789888000.0;  // 1 / 16!
  c = -1.0 / 87178291200.0 + r2 * c;  // 1 / 14!
  c = 1.0 / 479001600.0 + r2 * c;     // 1 / 12!
  c = -1.0 / 3628800.0 + r2 * c;      // 1 / 10!
  c = 1.0 / 40320.0 + r2 * c;
  c = -1.0 / 720.0 + r2 * c;
  c = 1.0 / 24.0 + r2 * c;
  c = -0.5 + r2 * c;
  return 1.0 + r2 * c;
}

// sin(x + offset * pi / 2): x reduced to |r| <= pi / 4 and its quadrant.
double SineOfQuadrant(double x, int offset) {
  double k = std::floor(x * kTwoOverPi + 0.5);
  double r = (x - k * kHalfPiHigh) - k * kHalfPiLow;
  long long q = static_cast<long long>(std::fmod(k, 4.0)) + offset;
  switch (((q % 4) + 4) % 4) {
    case 0: return SinSeries(r);
    case 1: return CosSeries(r);
    case 2: return -SinSeries(r);
    default: return -CosSeries(r);
  }
}

// The series of atan for |t| <= tan(pi / 16); the first term left out is
// below 1e-17.
double AtanSeries(double t) {
  double t2 = t * t;
  double a = 1.0 / 21.0;
  for (int n = 19; n >= 3; n -= 2) a = 1.0 / n - t2 * a;
  return t - t * t2 * a;
}

// atan(t) for any finite t: the tangent is halved twice (tan(a / 2) =
// t / (1 + sqrt(1 + t^2))) into the series' range.
double Atan(double t) {
  if (t > 1) return kHalfPi - Atan(1 / t);
  if (t < -1) return -kHalfPi - Atan(1 / t);
  for (int i = 0; i < 2; ++i) t = t / (1 + std::sqrt(1 + t * t));
  return 4 * AtanSeries(t);
}

bool Finite(float v) { return v == v && v - v == 0; }

}  // namespace

float SteadySin(float radians) {
  if (!Finite(radians)) return radians - radians;  // NaN, as sinf gives
  if (radians == 0) return radians;                 // keeps the sign of a zero
  return static_cast<float>(SineOfQuadrant(radians, 0));
}

float SteadyCos(float radians) {
  if (!Finite(radians)) return radians - radians;
  return static_cast<float>(SineOfQuadrant(radians, 1));
}

float SteadyAtan2(float y, float x) {
  if (y != y || x != x) return y + x;
  double yd = y, xd = x;
  if (x == 0) {
    if (y > 0) return static_cast<float>(kHalfPi);
    if (y < 0) return static_cast<float>(-kHalfPi);
    // Both zero: the signs decide, as the C library's atan2 has it.
    if (!std::signbit(x)) return y;
    return static_cast<float>(std::signbit(y) ? -kPi : kPi);
  }
  double a = Atan(yd / xd);
  if (x < 0) a += std::signbit(y) ? -kPi : kPi;
  return static_cast<float>(a);
}
