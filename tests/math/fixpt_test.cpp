// Fixed point, integer square root and the fast reciprocal square root.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "framework/math/qmath.h"

namespace {

TEST(FixedPoint, MultiplyShiftsTowardMinusInfinityAndKeepsLow32Bits) {
  struct Case {
    QMathFixed a, b, expected;
  };
  const Case cases[] = {
      {-1, 1, -1},               // -1 >> 12 rounds down, not toward zero
      {4096, 4096, 4096},        // 1.0 * 1.0
      {6144, 6144, 9216},        // 1.5 * 1.5 = 2.25
      {-6144, 6144, -9216},      //
      {3, 3, 0},                 // 9 >> 12
      {-3, 3, -1},               // -9 >> 12
      {0, -123456, 0},           //
      {0x40000000, 8192, INT32_MIN},  // 2^31 in the low 32 bits
      {INT32_MAX, 8192, -2},     // (2^31 - 1) * 2 = 2^32 - 2 -> -2
      {-4096, -4096, 4096},      //
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QMathFixMul(c.a, c.b), c.expected) << c.a << " * " << c.b;
  }
}

TEST(FixedPoint, DivideTruncatesTowardZero) {
  struct Case {
    QMathFixed a, b, expected;
  };
  const Case cases[] = {
      {4096, 8192, 2048},      // 1 / 2
      {-4096, 8192, -2048},    //
      {1, 3, 1365},            // 4096 / 3 = 1365.33
      {-1, 3, -1365},          // toward zero, not down
      {1, -3, -1365},          //
      {0, 7, 0},               // zero numerator
      {12288, 4096, 12288},    // 3 / 1
      {1000000, 4096, 1000000},
      {0x7FFFF, 1, 0x7FFFF000},  // largest numerator whose quotient fits
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QMathFixDiv(c.a, c.b), c.expected) << c.a << " / " << c.b;
  }
  // Quotients beyond the 32-bit range saturate instead of wrapping.
  EXPECT_EQ(QMathFixDiv(INT32_MAX, 1), INT32_MAX);
  EXPECT_EQ(QMathFixDiv(INT32_MIN, -4096), INT32_MAX);  // -2^31 / -1.0 = 2^31
  EXPECT_EQ(QMathFixDiv(INT32_MIN, 1), INT32_MIN);
  EXPECT_EQ(QMathFixDiv(-0x80000, 1), INT32_MIN);  // exactly -2^31 fits
}

TEST(FixedPoint, SquareRootIsFloorOfRootTimes4096) {
  EXPECT_EQ(QMathFixSqrt(0), 0);
  EXPECT_EQ(QMathFixSqrt(4096), 4096);     // sqrt(1.0)
  EXPECT_EQ(QMathFixSqrt(16384), 8192);    // sqrt(4.0)
  EXPECT_EQ(QMathFixSqrt(1), 64);          // sqrt(1/4096) = 1/64
  EXPECT_EQ(QMathFixSqrt(8192), 5792);     // sqrt(2.0) = 1.41421 -> 5792.6
  EXPECT_EQ(QMathFixSqrt(1024), 2048);     // sqrt(0.25)
  // Differential against the definition over a sweep including the extremes.
  for (int64_t x = 1; x <= INT32_MAX; x = x * 3 + 7) {
    const int64_t r = QMathFixSqrt(static_cast<QMathFixed>(x));
    const int64_t n = x * 4096;
    EXPECT_LE(r * r, n) << x;
    EXPECT_GT((r + 1) * (r + 1), n) << x;
  }
  const int64_t top = QMathFixSqrt(INT32_MAX);
  EXPECT_LE(top * top, static_cast<int64_t>(INT32_MAX) * 4096);
  EXPECT_GT((top + 1) * (top + 1), static_cast<int64_t>(INT32_MAX) * 4096);
}

TEST(FixedPoint, AssertionsReportTheExpression) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(QMathFixDiv(1, 0), "denominator != \\(CTYPE\\) 0");
  EXPECT_DEATH(QMathFixDiv(0, 0), "denominator != \\(CTYPE\\) 0");
  EXPECT_DEATH(QMathFixSqrt(-1), "x > \\( CTYPE \\) 0");
  EXPECT_DEATH(QMathFixSqrt(INT32_MIN), "g_fixpt");
}

TEST(IntegerSqrt, FloorOfRoot) {
  struct Case {
    int32_t n, expected;
  };
  const Case cases[] = {{0, 0},   {1, 1},   {2, 1},     {3, 1},     {4, 2},          {8, 2},
                        {9, 3},   {15, 3},  {16, 4},    {17, 4},    {99, 9},         {100, 10},
                        {65535, 255}, {65536, 256}, {2147395600, 46340}, {INT32_MAX, 46340}};
  for (const Case& c : cases) {
    EXPECT_EQ(QMathISqrt(c.n), c.expected) << c.n;
  }
  for (int64_t n = 0; n <= INT32_MAX; n = n * 5 / 4 + 1) {
    const int64_t r = QMathISqrt(static_cast<int32_t>(n));
    EXPECT_LE(r * r, n);
    EXPECT_GT((r + 1) * (r + 1), n);
  }
  // A negative argument gives 0 rather than dividing by zero.
  EXPECT_EQ(QMathISqrt(-1), 0);
  EXPECT_EQ(QMathISqrt(INT32_MIN), 0);
}

uint32_t Bits(float f) {
  uint32_t b;
  std::memcpy(&b, &f, sizeof b);
  return b;
}

TEST(FastInvSqrt, SeedTableFollowsItsFormula) {
  const uint8_t* seeds = QMathInvSqrtTable();
  ASSERT_NE(seeds, nullptr);
  EXPECT_EQ(seeds[64], 255);  // the computed value would be 0
  EXPECT_EQ(seeds[0], 106);   // 1/sqrt(0.5) = 1.41421: mantissa .41421 * 256
  EXPECT_EQ(seeds[65], 252);  // 1/sqrt(1.015625) = 0.99228 = 1.98456 / 2
  for (uint32_t i = 0; i < 128; ++i) {
    if (i == 64) {
      continue;
    }
    const uint32_t vBits = (0x1F80u + i) << 17;
    float v;
    std::memcpy(&v, &vBits, sizeof v);
    const float inv = static_cast<float>(1.0 / std::sqrt(static_cast<double>(v)));
    EXPECT_EQ(seeds[i], ((Bits(inv) + 8192u) >> 15) & 0xFFu) << i;
  }
}

TEST(FastInvSqrt, TwoNewtonStepsReachFloatPrecision) {
  EXPECT_NEAR(QMathFastInvSqrt(1.0f), 1.0f, 1.2e-7f);
  EXPECT_NEAR(QMathFastInvSqrt(4.0f), 0.5f, 0.5f * 2e-7f);
  EXPECT_NEAR(QMathFastInvSqrt(0.25f), 2.0f, 2.0f * 2e-7f);
  for (float x = 1e-6f; x < 1e7f; x *= 1.013f) {
    const double exact = 1.0 / std::sqrt(static_cast<double>(x));
    EXPECT_NEAR(QMathFastInvSqrt(x) / exact, 1.0, 3e-7) << x;
  }
}

TEST(FastInvSqrt, TableCanBeFreedAndRebuilt) {
  QMathInvSqrtTableFree();
  QMathInvSqrtTableFree();  // a second release is harmless
  EXPECT_NEAR(QMathFastInvSqrt(16.0f), 0.25f, 1e-7f);
  QMathInvSqrtTableBuild();
  EXPECT_EQ(QMathInvSqrtTable()[64], 255);
  QMathNop();
}

}  // namespace
