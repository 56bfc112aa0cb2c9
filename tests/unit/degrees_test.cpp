// The game's own sine, cosine and arc tangent: correctly rounded floats (as
// a wider reference rounds them) over the angles a round uses, with the C
// library's quadrants, signs and answers for zeros, infinities and NaN.
#include <gtest/gtest.h>

#include <cmath>

#include "game/shell/degrees.h"

namespace {

// Every angle a round takes in tenths of a degree over four turns, as the
// game forms them (degrees times the float D2R).
TEST(SteadyTrig, SineAndCosineAreTheFloatsNearestTheTrueValues) {
  int checked = 0;
  for (int tenth = -14400; tenth <= 14400; ++tenth) {
    float radians = static_cast<float>(tenth) / 10 * D2R;
    ASSERT_EQ(SteadySin(radians), static_cast<float>(std::sin(static_cast<long double>(radians)))) << tenth;
    ASSERT_EQ(SteadyCos(radians), static_cast<float>(std::cos(static_cast<long double>(radians)))) << tenth;
    ++checked;
  }
  EXPECT_EQ(checked, 28801);
  EXPECT_EQ(SinDeg(90), 1.0f);
  EXPECT_EQ(CosDeg(0), 1.0f);
  EXPECT_EQ(SinDeg(-90), -1.0f);
}

TEST(SteadyTrig, ArcTangentIsTheFloatNearestTheTrueValue) {
  for (int y = -300; y <= 300; y += 7) {
    for (int x = -300; x <= 300; x += 11) {
      float fy = static_cast<float>(y) * 0.37f, fx = static_cast<float>(x) * 0.53f;
      ASSERT_EQ(SteadyAtan2(fy, fx), static_cast<float>(std::atan2(static_cast<long double>(fy), fx))) << fy << " " << fx;
    }
  }
  EXPECT_EQ(Atan2Deg(1, 1), 45.0f);
  EXPECT_EQ(Atan2Deg(-1, -1), -135.0f);
}

TEST(SteadyTrig, ZerosInfinitiesAndNaNAsTheCLibraryHasThem) {
  const float inf = INFINITY, nan = NAN;
  EXPECT_TRUE(std::signbit(SteadySin(-0.0f)));
  EXPECT_FALSE(std::signbit(SteadySin(0.0f)));
  EXPECT_EQ(SteadyCos(-0.0f), 1.0f);
  EXPECT_TRUE(std::isnan(SteadySin(inf)));
  EXPECT_TRUE(std::isnan(SteadyCos(-inf)));
  EXPECT_TRUE(std::isnan(SteadySin(nan)));
  const float zeros[][2] = {{0.0f, 0.0f}, {-0.0f, 0.0f}, {0.0f, -0.0f}, {-0.0f, -0.0f}, {1, 0}, {-1, 0}, {0, -1}};
  for (const auto& z : zeros) {
    float mine = SteadyAtan2(z[0], z[1]), theirs = std::atan2(z[0], z[1]);
    EXPECT_EQ(mine, theirs) << z[0] << " " << z[1];
    EXPECT_EQ(std::signbit(mine), std::signbit(theirs)) << z[0] << " " << z[1];
  }
  EXPECT_TRUE(std::isnan(SteadyAtan2(nan, 1)));
  EXPECT_EQ(SteadyAtan2(1, inf), 0.0f);
  EXPECT_EQ(SteadyAtan2(inf, 1), static_cast<float>(M_PI / 2));
}

}  // namespace
