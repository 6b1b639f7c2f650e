#include "framework/math/trigw.h"

#include "framework/qdx_assert.h"

namespace {

// The tables are computed at compile time from their formulas with series in
// long double, far more precise than the rounding to integers needs.
constexpr long double kPi = 3.141592653589793238462643383279502884L;

constexpr long double SqrtL(long double v) {
  if (v <= 0.0L) {
    return 0.0L;
  }
  long double r = v < 1.0L ? 1.0L : v;
  for (int i = 0; i < 200; ++i) {
    const long double next = 0.5L * (r + v / r);
    if (next == r) {
      break;
    }
    r = next;
  }
  return r;
}

// sin(x) for 0 <= x <= pi / 2 by its Taylor series.
constexpr long double SinSeriesL(long double x) {
  long double term = x;
  long double sum = x;
  for (int n = 1; n < 40; ++n) {
    term *= -x * x / static_cast<long double>((2 * n) * (2 * n + 1));
    sum += term;
  }
  return sum;
}

// atan(z) for z >= 0: reflection above 1, two argument halvings, then the series.
constexpr long double AtanL(long double z) {
  if (z > 1.0L) {
    return kPi / 2.0L - AtanL(1.0L / z);
  }
  long double scale = 1.0L;
  for (int i = 0; i < 3; ++i) {
    z = z / (1.0L + SqrtL(1.0L + z * z));
    scale *= 2.0L;
  }
  long double power = z;
  long double sum = 0.0L;
  for (int n = 0; n < 60; ++n) {
    const long double term = power / static_cast<long double>(2 * n + 1);
    sum += (n % 2 == 0) ? term : -term;
    power *= z * z;
  }
  return scale * sum;
}

constexpr long double AcosL(long double x) {
  if (x <= -1.0L) {
    return kPi;
  }
  return 2.0L * AtanL(SqrtL((1.0L - x) / (1.0L + x)));
}

// Rounds half away from zero.
constexpr long long RoundL(long double v) {
  return v >= 0.0L ? static_cast<long long>(v + 0.5L) : -static_cast<long long>(-v + 0.5L);
}

// sin(k * 2 pi / 256) for any k >= 0, by quarter-turn symmetry.
constexpr long double SinStepL(int k) {
  const int m = k % 256;
  const int quarter = m / 64;
  const int r = m % 64;
  const long double step = kPi / 128.0L;
  switch (quarter) {
    case 0: return SinSeriesL(r * step);
    case 1: return SinSeriesL((64 - r) * step);
    case 2: return -SinSeriesL(r * step);
    default: return -SinSeriesL((64 - r) * step);
  }
}

struct SinTable {
  int16_t v[321];
};
struct AcosTable {
  uint16_t v[258];
};
struct AtanTable {
  uint32_t v[257];
};

constexpr SinTable MakeSinTable() {
  SinTable t{};
  for (int i = 0; i <= 320; ++i) {
    t.v[i] = static_cast<int16_t>(RoundL(32767.0L * SinStepL(i)));
  }
  return t;
}

constexpr AcosTable MakeAcosTable() {
  AcosTable t{};
  for (int i = 0; i <= 256; ++i) {
    const long double x = -1.0L + static_cast<long double>(i) / 128.0L;
    t.v[i] = static_cast<uint16_t>(RoundL(AcosL(x) * 65536.0L / (2.0L * kPi)));
  }
  t.v[257] = 0;
  return t;
}

constexpr AtanTable MakeAtanTable() {
  AtanTable t{};
  for (int i = 0; i <= 256; ++i) {
    t.v[i] = static_cast<uint32_t>(RoundL(AtanL(static_cast<long double>(i) / 256.0L) * 65536.0L / (2.0L * kPi)));
  }
  return t;
}

constexpr SinTable kSin = MakeSinTable();
constexpr AcosTable kAcos = MakeAcosTable();
constexpr AtanTable kAtan = MakeAtanTable();

static_assert(kSin.v[0] == 0 && kSin.v[64] == 32767 && kSin.v[128] == 0 && kSin.v[192] == -32767 &&
              kSin.v[256] == 0 && kSin.v[320] == 32767);
static_assert(kAcos.v[0] == 32768 && kAcos.v[128] == 16384 && kAcos.v[256] == 0 && kAcos.v[257] == 0);
static_assert(kAtan.v[0] == 0 && kAtan.v[256] == 8192);

}  // namespace

// Bound to the compile-time tables: constant-initialised, usable at any time.
const int16_t (&QMathSinTable)[321] = kSin.v;
const uint16_t (&QMathAcosTable)[258] = kAcos.v;
const uint32_t (&QMathAtanTable)[257] = kAtan.v;

namespace {

// Interpolated table sine from entry base (0 for sine, 64 for cosine); the
// step is rounded half up and the sum kept to 16 bits before doubling.
inline int32_t TableSine(int32_t angle, int base) {
  const int i = ((angle >> 8) & 0xFF) + base;
  const int32_t f = angle & 0xFF;
  const int16_t d = static_cast<int16_t>(kSin.v[i + 1] - kSin.v[i]);
  const int32_t p = d * f;
  const int16_t s = static_cast<int16_t>(kSin.v[i] + ((p + 128) >> 8));
  return s * 2;
}

}  // namespace

int32_t QMathSin(int32_t angle) { return TableSine(angle, 0); }

int32_t QMathCos(int32_t angle) { return TableSine(angle, 64); }

int32_t QMathAcos(int32_t x) {
  QDX_ASSERT(x <= 65536);
  QDX_ASSERT(x >= -65536);
  const uint32_t u = static_cast<uint32_t>(x + 65536) * 128u;
  const uint32_t i = u >> 16;
  const int32_t f = static_cast<int32_t>(u & 0xFFFFu);
  const int32_t d = static_cast<int32_t>(kAcos.v[i + 1]) - static_cast<int32_t>(kAcos.v[i]);
  // |d| <= 32768 and f < 65536: the product stays within 32 bits.
  return static_cast<int32_t>(kAcos.v[i]) + ((d * f) >> 16);
}

int32_t QMathAsin(int32_t x) {
  QDX_ASSERT(x <= 65536);
  QDX_ASSERT(x >= -65536);
  return 16384 - QMathAcos(x);
}

int32_t QMathAtan2(int32_t x, int32_t y) {
  if (y == 0) {
    return x >= 0 ? 0 : 32768;
  }
  if (x == 0) {
    return y > 0 ? 16384 : 49152;
  }
  // Scaled in 64 bits: |y| * 256 overflows 32 bits for large coordinates.
  const int64_t ax = x < 0 ? -static_cast<int64_t>(x) : x;
  const int64_t ay = y < 0 ? -static_cast<int64_t>(y) : y;
  int32_t t;
  if (ay <= ax) {
    t = static_cast<int32_t>(kAtan.v[(ay * 256) / ax]);
  } else {
    t = 16384 - static_cast<int32_t>(kAtan.v[(ax * 256) / ay]);
  }
  if (x > 0) {
    return y > 0 ? t : -t;
  }
  return y > 0 ? 32768 - t : 32768 + t;
}
