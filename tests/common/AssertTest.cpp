#include "common/Assert.h"

#include <gtest/gtest.h>

namespace {

#if defined(FLUX_ASSERTIONS)
TEST(AssertDeathTest, ABrokenInvariantStopsTheProgramAndSaysWhere) {
  int slot = 3;
  FLUX_ASSERT(slot == 3);
  EXPECT_DEATH(FLUX_ASSERT(slot < 2), "AssertTest.cpp:[0-9]+: assertion failed: slot < 2");
}
#else
TEST(Assert, ReleaseBuildsDoNotEvaluateTheCondition) {
  int evaluated = 0;
  FLUX_ASSERT(++evaluated == 0);
  EXPECT_EQ(evaluated, 0);
}
#endif

}  // namespace
