// Table trigonometry: exact values, the tables against their formulas and a
// comparison with libm within the tables' resolution.
#include <gtest/gtest.h>

#include <cmath>

#include "framework/math/qmath.h"

namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;

TEST(TrigTables, EntriesFollowTheirFormulas) {
  EXPECT_EQ(QMathSinTable[0], 0);
  EXPECT_EQ(QMathSinTable[64], 32767);
  EXPECT_EQ(QMathSinTable[128], 0);
  EXPECT_EQ(QMathSinTable[192], -32767);
  EXPECT_EQ(QMathSinTable[256], 0);
  EXPECT_EQ(QMathAcosTable[0], 32768);
  EXPECT_EQ(QMathAcosTable[128], 16384);
  EXPECT_EQ(QMathAcosTable[256], 0);
  EXPECT_EQ(QMathAcosTable[257], 0);  // read with weight zero at the end point
  EXPECT_EQ(QMathAtanTable[256], 8192u);
  for (int i = 0; i <= 320; ++i) {
    EXPECT_EQ(QMathSinTable[i], std::lround(32767.0 * std::sin(kTwoPi * i / 256.0))) << i;
  }
  for (int i = 0; i <= 256; ++i) {
    EXPECT_EQ(QMathAcosTable[i], std::lround(std::acos(-1.0 + i / 128.0) * 65536.0 / kTwoPi)) << i;
    EXPECT_EQ(QMathAtanTable[i], static_cast<uint32_t>(std::lround(std::atan(i / 256.0) * 65536.0 / kTwoPi))) << i;
  }
}

TEST(Trig, SineAndCosineExactValues) {
  struct Case {
    int32_t angle, sine, cosine;
  };
  const Case cases[] = {
      {0, 0, 65534},
      {16384, 65534, 0},
      {32768, 0, -65534},
      {49152, -65534, 0},
      {8192, 46340, 46340},      // entry 32 = round(23169.77) = 23170, doubled
      {100, 628, 65526},         // 0 + floor((804 * 100 + 128) / 256) = 314, doubled;
                                 // 32767 + floor((-10 * 100 + 128) / 256) = 32763, doubled
      {32768 + 100, -628, -65526},
      {-16384, -65534, 0},       // only the low 16 bits count
      {65536 + 16384, 65534, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QMathSin(c.angle), c.sine) << c.angle;
    EXPECT_EQ(QMathCos(c.angle), c.cosine) << c.angle;
  }
  for (int32_t a = 0; a < 65536; a += 97) {
    EXPECT_EQ(QMathSin(65536 + a), QMathSin(a));
    EXPECT_EQ(QMathCos(a), QMathSin(a + 16384));
    // Rounding half up is not symmetric about zero: a half turn on, the
    // magnitude may differ by one step of the doubled value.
    EXPECT_LE(std::abs(QMathSin(a + 32768) + QMathSin(a)), 2) << a;
  }
}

TEST(Trig, ArcCosineAndArcSine) {
  EXPECT_EQ(QMathAcos(65536), 0);
  EXPECT_EQ(QMathAcos(-65536), 32768);
  EXPECT_EQ(QMathAcos(0), 16384);
  EXPECT_EQ(QMathAcos(32768), QMathAcosTable[192]);  // acos(0.5) exactly on an entry
  EXPECT_EQ(QMathAsin(65536), 16384);
  EXPECT_EQ(QMathAsin(-65536), -16384);
  EXPECT_EQ(QMathAsin(0), 0);
  // Halfway between entries 0 and 1: u = 256 * 128 = 32768 -> f = 32768.
  const int32_t d = QMathAcosTable[1] - QMathAcosTable[0];
  EXPECT_EQ(QMathAcos(-65536 + 256), QMathAcosTable[0] + ((d * 32768) >> 16));
}

TEST(Trig, ArcCosineAssertionsReportTheLimits) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(QMathAcos(65537), "x <= 65536");
  EXPECT_DEATH(QMathAcos(-65537), "x >= -65536");
  EXPECT_DEATH(QMathAsin(65537), "x <= 65536");
  EXPECT_DEATH(QMathAsin(-65537), "x >= -65536");
}

int32_t AtanEntry(double ratio) {
  return static_cast<int32_t>(std::lround(std::atan(ratio) * 65536.0 / kTwoPi));
}

TEST(Trig, Atan2AxesAndQuadrants) {
  // Axes.
  EXPECT_EQ(QMathAtan2(0, 0), 0);
  EXPECT_EQ(QMathAtan2(5, 0), 0);
  EXPECT_EQ(QMathAtan2(-1, 0), 32768);
  EXPECT_EQ(QMathAtan2(0, 7), 16384);
  EXPECT_EQ(QMathAtan2(0, -7), 49152);
  // Diagonals.
  EXPECT_EQ(QMathAtan2(5, 5), 8192);
  EXPECT_EQ(QMathAtan2(1, -1), -8192);  // 49152 as an angle
  EXPECT_EQ(static_cast<QMathAngle>(QMathAtan2(1, -1)), 57344);
  EXPECT_EQ(QMathAtan2(-5, 5), 32768 - 8192);
  EXPECT_EQ(QMathAtan2(-5, -5), 32768 + 8192);
  // Shallow (index (1 * 256) / 3 = 85, no interpolation) and steep.
  const int32_t t = AtanEntry(85 / 256.0);
  EXPECT_EQ(QMathAtan2(3, 1), t);
  EXPECT_EQ(QMathAtan2(-3, 1), 32768 - t);
  EXPECT_EQ(QMathAtan2(-3, -1), 32768 + t);
  EXPECT_EQ(QMathAtan2(3, -1), -t);
  EXPECT_EQ(QMathAtan2(1, 3), 16384 - t);
  EXPECT_EQ(QMathAtan2(-1, 3), 32768 - (16384 - t));
  EXPECT_EQ(QMathAtan2(-1, -3), 32768 + (16384 - t));
  EXPECT_EQ(QMathAtan2(1, -3), -(16384 - t));
  // Large coordinates: the scaling does not overflow.
  EXPECT_EQ(QMathAtan2(INT32_MAX, INT32_MAX), 8192);
  EXPECT_EQ(QMathAtan2(2000000000, 1000000000), AtanEntry(0.5));
  EXPECT_EQ(QMathAtan2(INT32_MIN, -1), 32768);
  EXPECT_EQ(QMathAtan2(INT32_MIN, INT32_MIN), 32768 + 8192);
  EXPECT_EQ(QMathAtan2(1, INT32_MIN), -16384);
}

// Difference of two angles on the circle, in units.
int32_t AngleGap(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 65536.0);
  if (d > 32768.0) {
    d = 65536.0 - d;
  }
  return static_cast<int32_t>(std::ceil(d));
}

TEST(TrigProperty, TablesAgreeWithLibmWithinTheirResolution) {
  // Sine and cosine: linear interpolation over 1/256 turn ((2 pi / 256)^2 / 8
  // = 4.9 units), the 32767 scale (2 units) and two roundings: at most 10.
  for (int32_t a = 0; a < 65536; ++a) {
    const double radians = kTwoPi * a / 65536.0;
    EXPECT_LE(std::fabs(QMathSin(a) - 65536.0 * std::sin(radians)), 10.0) << a;
    EXPECT_LE(std::fabs(QMathCos(a) - 65536.0 * std::cos(radians)), 10.0) << a;
  }
  // Arc cosine: between the two entries it interpolates, as is the true value.
  for (int32_t x = -65536; x <= 65536; x += 3) {
    const int i = static_cast<int>((static_cast<uint32_t>(x + 65536) * 128u) >> 16);
    const int32_t step = std::abs(QMathAcosTable[i + 1] - QMathAcosTable[i]);
    const double exact = std::acos(x / 65536.0) * 65536.0 / kTwoPi;
    EXPECT_LE(std::fabs(QMathAcos(x) - exact), step + 1.0) << x;
    EXPECT_LE(std::fabs(QMathAsin(x) - std::asin(x / 65536.0) * 65536.0 / kTwoPi), step + 1.0) << x;
  }
  // Arc tangent: no interpolation, the index truncated: one step of 1/256 in
  // the tangent (at most 40.7 units) plus the entry's rounding.
  for (int32_t y = -2000; y <= 2000; y += 37) {
    for (int32_t x = -2000; x <= 2000; x += 41) {
      if (x == 0 && y == 0) {
        continue;
      }
      const double exact = std::atan2(static_cast<double>(y), static_cast<double>(x)) * 65536.0 / kTwoPi;
      EXPECT_LE(AngleGap(QMathAtan2(x, y), exact), 42) << x << "," << y;
    }
  }
}

TEST(Trig, SineAndCosineFollowTheInterpolationOnEveryAngle) {
  // Reference: entry i plus floor((d * f + 128) / 256) with d the step to the
  // next entry, kept to 16 bits and doubled; a step product of an odd d times
  // 128 sits exactly halfway and rounds up.
  for (int32_t a = 0; a < 65536; ++a) {
    for (int base : {0, 64}) {
      const int i = (a >> 8) + base;
      const int32_t f = a & 0xFF;
      const int32_t d = QMathSinTable[i + 1] - QMathSinTable[i];
      const int32_t p = d * f;
      const int32_t floorDiv = (p + 128 >= 0) ? (p + 128) / 256 : -((-(p + 128) + 255) / 256);
      const int16_t s = static_cast<int16_t>(QMathSinTable[i] + floorDiv);
      ASSERT_EQ(base == 0 ? QMathSin(a) : QMathCos(a), s * 2) << a << " base " << base;
    }
  }
}

TEST(Trig, Atan2FollowsTheTruncatedTableIndexOnAGrid) {
  // Reference: the table entry at the truncated ratio times 256 (the smaller
  // coordinate over the larger), mirrored into the quadrant.
  for (int32_t y = -300; y <= 300; y += 7) {
    for (int32_t x = -300; x <= 300; x += 11) {
      if (x == 0 || y == 0) {
        continue;
      }
      const int32_t ax = std::abs(x), ay = std::abs(y);
      const int32_t t = ay <= ax ? static_cast<int32_t>(QMathAtanTable[(ay * 256) / ax])
                                 : 16384 - static_cast<int32_t>(QMathAtanTable[(ax * 256) / ay]);
      const int32_t expected = x > 0 ? (y > 0 ? t : -t) : (y > 0 ? 32768 - t : 32768 + t);
      ASSERT_EQ(QMathAtan2(x, y), expected) << x << "," << y;
    }
  }
  // (2 * 256) / 3 = 170.67 is taken as 170, not rounded.
  EXPECT_EQ(QMathAtan2(3, 2), static_cast<int32_t>(QMathAtanTable[170]));
  EXPECT_EQ(QMathAtan2(2, 3), 16384 - static_cast<int32_t>(QMathAtanTable[170]));
}

}  // namespace
