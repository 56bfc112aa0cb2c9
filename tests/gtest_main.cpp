// The test programs' main: Google Test's own, except that a run in which a
// test was skipped (GTEST_SKIP: something this machine cannot show) ends with
// kSkippedExitCode, which ctest then reports as skipped rather than passed.
#include <gtest/gtest.h>

#include <cstdio>

namespace {

const int kSkippedExitCode = 77;  // SKIP_RETURN_CODE of the ctest entries

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (RUN_ALL_TESTS() != 0) return 1;
  int skipped = testing::UnitTest::GetInstance()->skipped_test_count();
  if (skipped == 0) return 0;
  std::printf("%d test%s skipped: this run does not count as passed\n", skipped, skipped == 1 ? "" : "s");
  return kSkippedExitCode;
}
