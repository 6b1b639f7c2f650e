#include <gtest/gtest.h>

#include "framework/qdx_assert.h"

namespace {

int CheckLimit(int cVSync_Tasks) {
  QDX_ASSERT(cVSync_Tasks < 11);
  return cVSync_Tasks;
}

TEST(QDXAssertDeathTest, ReportsExpressionFileAndLine) {
  EXPECT_EQ(CheckLimit(3), 3);
  EXPECT_DEATH(CheckLimit(11), "Assertion failed: cVSync_Tasks < 11, file .*assert_test\\.cpp, line 8");
}

}  // namespace
