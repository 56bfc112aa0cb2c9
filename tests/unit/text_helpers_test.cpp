// Fixed-width numbers and ordinals as the score lists and file names use them.
#include <gtest/gtest.h>

#include "game_harness.h"

namespace {

class TextHelpers : public ::testing::Test {
 protected:
  gameharness::Game game_;
  bb_Vaultwick_MyApp& app_ = game_.app();

  std::string rstr(int value, int width, const char* pad) { return app_.m_rstr(value, width, String(pad)).ToUtf8(); }
};

TEST_F(TextHelpers, RstrPadsShortNumbersAndCutsLongOnes) {
  struct Case {
    int value, width;
    const char* pad;
    const char* expected;
  };
  const Case cases[] = {
      {7, 3, "0", "007"},
      {1234, 3, "0", "234"},
      {42, 8, " ", "      42"},
      {5, 0, "0", "05"},       // width 0 keeps the one pad copy and the whole number
      {5, -1, "0", "5"},       // a negative width cuts units off the front
      {-7, 4, "0", "00-7"},    // the sign is part of the text
      {-1234, 3, "0", "234"},
      {9, 3, "ab", "ab9"},     // a longer pad is still cut to the width
      {0, 1, "x", "0"},
      {123, 3, "0", "123"},
      {42, 4, "", "42"},       // no pad: the number alone
      {-2147483647 - 1, 5, "0", "83648"},
      {3, -8, "0", ""},        // cut past the end
      {77, 70, "ab", "abababababababababababababababababababababababababababababababababab77"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(rstr(c.value, c.width, c.pad), c.expected) << c.value << " in " << c.width << " with '" << c.pad << "'";
}

TEST_F(TextHelpers, RstrLeavesTheSharedCounterPastTheWidth) {
  app_.m_rstr(1, 5, String("0"));
  EXPECT_EQ(app_.m_Iter, 6);
  app_.m_rstr(1, 0, String("0"));
  EXPECT_EQ(app_.m_Iter, 1);
}

TEST_F(TextHelpers, NthNamesPlacesOneToTen) {
  const char* const expected[] = {"", "1st", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th", "10th", ""};
  for (int n = 0; n <= 11; ++n) EXPECT_EQ(app_.m_Nth(n).ToUtf8(), expected[n]) << n;
  EXPECT_EQ(app_.m_Nth(-1).Length(), 0);
}

}  // namespace
