// The random generator: its first values, the lag relation, the helpers'
// bounds, and saving and restoring the state.
#include <gtest/gtest.h>

#include <vector>

#include "framework/math/qmath.h"

namespace {

// Every test starts from the fixed start state and leaves the generator as it
// found it, so that test order never changes a result.
class Rand : public ::testing::Test {
 protected:
  void SetUp() override {
    QMathRandStateSave(&saved_);
    QMathRandState initial;
    QMathRandStateInitial(&initial);
    ASSERT_EQ(QMathRandStateRestore(&initial), 0);
  }
  void TearDown() override { QMathRandStateRestore(&saved_); }

  static QMathRandState Now() {
    QMathRandState s;
    QMathRandStateSave(&s);
    return s;
  }
  static bool Same(const QMathRandState& a, const QMathRandState& b) {
    for (int i = 0; i < 56; ++i) {
      if (a.table[i] != b.table[i]) {
        return false;
      }
    }
    return a.j == b.j && a.k == b.k;
  }

 private:
  QMathRandState saved_;
};

TEST_F(Rand, FirstValuesFromTheFixedStartState) {
  const QMathRandState start = Now();
  EXPECT_EQ(start.j, 24);
  EXPECT_EQ(start.k, 55);
  EXPECT_EQ(start.table[1], 5642352u);
  EXPECT_EQ(start.table[24], 345432u);
  EXPECT_EQ(start.table[55], 53024096u);
  EXPECT_EQ(QMathRandNext(), 53369528u);  // t[24] + t[55]
  EXPECT_EQ(Now().table[55], 53369528u);
  EXPECT_EQ(QMathRandNext(), 1943847958u);  // t[23] + t[54] = 1920345023 + 23502935
  EXPECT_EQ(Now().table[54], 1943847958u);
  EXPECT_EQ(Now().j, 22);
  EXPECT_EQ(Now().k, 53);
}

TEST_F(Rand, ValuesFollowTheLaggedSum) {
  // Draw n is draw n - 24 plus draw n - 55 (mod 2^32) once 55 draws exist,
  // across many wraps of both indices.
  std::vector<uint32_t> v;
  for (int i = 0; i < 2000; ++i) {
    v.push_back(QMathRandNext());
  }
  for (size_t n = 55; n < v.size(); ++n) {
    ASSERT_EQ(v[n], v[n - 24] + v[n - 55]) << n;
  }
  // The first 24 draws add the untouched entries t[24..1] to t[55..32].
  QMathRandState initial;
  QMathRandStateInitial(&initial);
  for (int n = 0; n < 24; ++n) {
    EXPECT_EQ(v[n], initial.table[24 - n] + initial.table[55 - n]) << n;
  }
}

TEST_F(Rand, SaveAndRestoreReplayTheSameDraws) {
  for (int i = 0; i < 77; ++i) {
    QMathRandNext();
  }
  const QMathRandState mark = Now();
  std::vector<uint32_t> first, second;
  for (int i = 0; i < 100; ++i) {
    first.push_back(QMathRandNext());
  }
  ASSERT_EQ(QMathRandStateRestore(&mark), 0);
  for (int i = 0; i < 100; ++i) {
    second.push_back(QMathRandNext());
  }
  EXPECT_EQ(first, second);
  // A state with an index outside 1..55 is refused and changes nothing.
  const QMathRandState before = Now();
  QMathRandState bad = mark;
  bad.j = 0;
  EXPECT_EQ(QMathRandStateRestore(&bad), 7);
  bad = mark;
  bad.k = 56;
  EXPECT_EQ(QMathRandStateRestore(&bad), 7);
  EXPECT_TRUE(Same(Now(), before));
}

TEST_F(Rand, SkipDrawsAndReturnsTheLast) {
  const QMathRandState start = Now();
  QMathRandNext();
  QMathRandNext();
  const uint32_t third = QMathRandNext();
  QMathRandStateRestore(&start);
  EXPECT_EQ(QMathRandSkip(3), third);
  EXPECT_EQ(QMathRandSkip(0x30000u + 0), 0x30000u);  // low 16 bits 0: no draw
  QMathRandStateRestore(&start);
  EXPECT_EQ(QMathRandSkip(0x10003u), third);  // only the low 16 bits count
  const QMathRandState after = Now();
  EXPECT_EQ(QMathRandSkip(0), 0u);
  EXPECT_TRUE(Same(Now(), after));
}

TEST_F(Rand, RangeHelpersInclusiveBounds) {
  const QMathRandState start = Now();
  EXPECT_EQ(QMathRandRange(0), 0u);
  EXPECT_FALSE(Same(Now(), start));  // still advances
  QMathRandStateRestore(&start);
  EXPECT_EQ(QMathRandRange(99), 53369528u % 100);
  // The whole 32-bit range returns the value itself instead of dividing by 0.
  QMathRandStateRestore(&start);
  EXPECT_EQ(QMathRandRange(UINT32_MAX), 53369528u);

  bool sawZero = false, sawTop = false, sawTop4096 = false;
  for (int i = 0; i < 200000; ++i) {
    const uint32_t r = QMathRandRange(6);
    ASSERT_LE(r, 6u);
    sawZero |= (r == 0);
    sawTop |= (r == 6);
    const uint32_t a = QMathRandAngle();
    ASSERT_LE(a, 65536u);
    const uint32_t f = QMathRand4096();
    ASSERT_LE(f, 4096u);
    sawTop4096 |= (f == 4096);
    const int16_t s = QMathRand4096Short();
    ASSERT_GE(s, 0);
    ASSERT_LE(s, 4096);
  }
  EXPECT_TRUE(sawZero);
  EXPECT_TRUE(sawTop);
  EXPECT_TRUE(sawTop4096);
  QMathRandStateRestore(&start);
  EXPECT_EQ(QMathRandAngle(), 53369528u % 65537u);
  EXPECT_EQ(QMathRand4096(), 1943847958u % 4097u);
}

TEST_F(Rand, BetweenExcludesTheLargerBound) {
  const QMathRandState start = Now();
  EXPECT_EQ(QMathRandBetween(5, 5), 5);
  EXPECT_TRUE(Same(Now(), start));  // no draw
  EXPECT_EQ(QMathRandBetween(7, 3), 3 + static_cast<int32_t>(53369528u % 4));
  bool saw3 = false, saw6 = false;
  for (int i = 0; i < 10000; ++i) {
    const int32_t r = QMathRandBetween(7, 3);
    ASSERT_GE(r, 3);
    ASSERT_LE(r, 6);
    saw3 |= (r == 3);
    saw6 |= (r == 6);
    const int32_t n = QMathRandBetween(-3, 2);
    ASSERT_GE(n, -3);
    ASSERT_LE(n, 1);
  }
  EXPECT_TRUE(saw3);
  EXPECT_TRUE(saw6);
  // The widest span: lo + next % (hi - lo) formed without overflow.
  QMathRandStateRestore(&start);
  EXPECT_EQ(QMathRandBetween(INT32_MAX, INT32_MIN), static_cast<int32_t>(0x80000000u + 53369528u % 0xFFFFFFFFu));
}

TEST_F(Rand, JitterSpreads) {
  const QMathRandState start = Now();
  EXPECT_EQ(QMathRandJitter(123, 0), 123);
  EXPECT_TRUE(Same(Now(), start));
  for (int32_t s : {10, -10, 1, 2, 1000}) {
    for (int i = 0; i < 500; ++i) {
      const QMathRandState mark = Now();
      // The spread is the first draw: the smaller of 0 and s up to the larger.
      const int32_t lo = s < 0 ? s : 0;
      const int32_t hi = s < 0 ? 0 : s;
      const int32_t d = lo + static_cast<int32_t>(QMathRandNext() % static_cast<uint32_t>(hi - lo));
      QMathRandStateRestore(&mark);
      const int32_t r = QMathRandJitter(50, s);
      if (d == 0) {
        ASSERT_EQ(r, 50);
      } else if (d > 0) {
        ASSERT_GE(r, 50 - (d >> 1));
        ASSERT_LE(r, 50 - (d >> 1) + d - 1);
      } else {
        // The offset runs from d up to -1.
        ASSERT_GE(r, 50 + d - (d >> 1));
        ASSERT_LE(r, 50 - 1 - (d >> 1));
      }
    }
  }
}

TEST_F(Rand, FloatHelpers) {
  const QMathRandState start = Now();
  EXPECT_EQ(QMathRandFloat(), static_cast<float>(53369528u >> 8) / 16777216.0f);
  QMathRandStateRestore(&start);
  for (int i = 0; i < 100000; ++i) {
    const float f = QMathRandFloat();
    ASSERT_GE(f, 0.0f);
    ASSERT_LT(f, 1.0f);
    const float b = QMathRandFloatBetween(5.0f, 2.0f);
    ASSERT_GE(b, 2.0f);
    ASSERT_LT(b, 5.0f);
    const float j = QMathRandFloatJitter(10.0f, 4.0f);
    ASSERT_GE(j, 8.0f);
    ASSERT_LE(j, 12.0f);
  }
  // All-ones draws stay below 1.
  QMathRandState ones = Now();
  for (int i = 1; i <= 55; ++i) {
    ones.table[i] = 0x7FFFFFFFu;
  }
  ones.table[ones.j] = 0x80000000u;
  QMathRandStateRestore(&ones);
  EXPECT_LT(QMathRandFloat(), 1.0f);
}

TEST_F(Rand, BiasedStaysInRange) {
  for (int i = 0; i < 20000; ++i) {
    const uint32_t r = QMathRandBiased(2, 10);
    ASSERT_LE(r, 10u);
    ASSERT_EQ(QMathRandBiased(0, 0), 0u);
    ASSERT_LE(QMathRandBiased(5, 5), 5u);
  }
  // Full-range bounds do not divide by zero.
  QMathRandBiased(0, UINT32_MAX);
  QMathRandBiased(UINT32_MAX, UINT32_MAX);
}

TEST_F(Rand, BiasedFollowsItsThresholdAndDraws) {
  // Replayed against the plain generator: r = next % (b + 1); from
  // ((a + b) * 138) / 256 upwards two more draws pick a value from a up to a
  // value from a to b, below it one draw picks 0..a.
  // 5..32 has the threshold 19, which a factor of 139 would move to 20.
  const uint32_t bounds[][2] = {{2, 10}, {0, 5}, {3, 3}, {7, 40}, {1, 2}, {100, 1000}, {5, 32}};
  int upper = 0, lower = 0;
  for (const auto& ab : bounds) {
    const uint32_t a = ab[0], b = ab[1];
    for (int i = 0; i < 400; ++i) {
      const QMathRandState mark = Now();
      uint32_t expected;
      const uint32_t r = QMathRandNext() % (b + 1);
      if (static_cast<int32_t>(r) >= static_cast<int32_t>((a + b) * 138u) / 256) {
        const uint32_t x = a + QMathRandNext() % (b - a + 1);
        expected = a + QMathRandNext() % (x - a + 1);
        ++upper;
      } else {
        expected = QMathRandNext() % (a + 1);
        ++lower;
      }
      const QMathRandState after = Now();
      QMathRandStateRestore(&mark);
      ASSERT_EQ(QMathRandBiased(a, b), expected) << a << ".." << b << " draw " << i;
      ASSERT_TRUE(Same(Now(), after));
    }
  }
  EXPECT_GT(upper, 0);
  EXPECT_GT(lower, 0);
}

}  // namespace
