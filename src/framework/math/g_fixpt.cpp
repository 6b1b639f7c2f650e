#include "framework/math/g_fixpt.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "framework/qdx_assert.h"

// The assertions name the argument type this way in their messages.
#define CTYPE QMathFixed

QMathFixed QMathFixMul(QMathFixed a, QMathFixed b) {
  const int64_t product = static_cast<int64_t>(a) * static_cast<int64_t>(b);
  return static_cast<QMathFixed>(static_cast<uint32_t>(static_cast<uint64_t>(product >> 12)));
}

QMathFixed QMathFixDiv(QMathFixed a, QMathFixed denominator) {
  QDX_ASSERT(denominator != (CTYPE) 0);
  if (a == 0) {
    return 0;
  }
  const int64_t quotient = (static_cast<int64_t>(a) * 4096) / static_cast<int64_t>(denominator);
  if (quotient > INT32_MAX) {
    return INT32_MAX;
  }
  if (quotient < INT32_MIN) {
    return INT32_MIN;
  }
  return static_cast<QMathFixed>(quotient);
}

QMathFixed QMathFixSqrt(QMathFixed x) {
  if (x == 0) {
    return 0;
  }
  QDX_ASSERT(x > ( CTYPE ) 0);
  // Bit-pair square root: 16 steps over the 32 input bits, then 6 steps that
  // shift in zero pairs, giving 12 fraction bits.
  uint32_t v = static_cast<uint32_t>(x);
  uint64_t root = 0;
  uint64_t rest = 0;
  for (int step = 0; step < 22; ++step) {
    root <<= 1;
    rest = (rest << 2) | (v >> 30);
    v <<= 2;
    if (rest >= 2 * root + 1) {
      rest -= 2 * root + 1;
      root += 1;
    }
  }
  return static_cast<QMathFixed>(root);
}

int32_t QMathISqrt(int32_t n) {
  if (n <= 0) {
    return 0;
  }
  if (n == 1) {
    return 1;
  }
  int32_t r = n / 2;
  for (;;) {
    const int32_t next = (n / r + r) >> 1;
    if (next >= r) {
      return r;
    }
    r = next;
  }
}

namespace {

// The seed table lives on the heap; the holder's first word points to it so
// that QMathFreeBlock can release it.
struct SeedHolder {
  uint8_t* table;
};

SeedHolder g_seeds = {nullptr};
bool g_seedsFreeRegistered = false;

uint32_t FloatBits(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

float BitsFloat(uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

void InvSqrtAtExit() { QMathInvSqrtTableFree(); }

}  // namespace

void QMathFreeBlock(void* object) {
  void** block = static_cast<void**>(object);
  std::free(*block);
  *block = nullptr;
}

void QMathInvSqrtTableBuild(void) {
  if (g_seeds.table != nullptr) {
    return;
  }
  uint8_t* table = static_cast<uint8_t*>(std::malloc(128));
  QDX_ASSERT(table != nullptr);
  for (uint32_t i = 0; i < 128; ++i) {
    // v runs over 0.5..0.9921875 (i = 0..63) and 1.0..1.984375 (i = 64..127).
    const float v = BitsFloat((0x1F80u + i) << 17);
    const float inv = 1.0f / std::sqrt(v);
    table[i] = static_cast<uint8_t>(((FloatBits(inv) + 8192u) >> 15) & 0xFFu);
  }
  // 1/sqrt(1.0) has an all-zero mantissa: the seed of the lower binade's top.
  table[64] = 255;
  g_seeds.table = table;
  if (!g_seedsFreeRegistered) {
    g_seedsFreeRegistered = true;
    std::atexit(InvSqrtAtExit);
  }
}

void QMathInvSqrtTableFree(void) {
  if (g_seeds.table != nullptr) {
    QMathFreeBlock(&g_seeds);
  }
}

const uint8_t* QMathInvSqrtTable(void) {
  if (g_seeds.table == nullptr) {
    QMathInvSqrtTableBuild();
  }
  return g_seeds.table;
}

void QMathNop(void) {}

float QMathFastInvSqrt(float x) {
  const uint8_t* seeds = QMathInvSqrtTable();
  const uint32_t bits = FloatBits(x);
  const uint32_t exponent = (bits >> 23) & 0xFFu;
  const uint32_t index = (bits >> 17) & 0x7Fu;
  const uint32_t guess = ((0x5F000000u - (exponent << 22)) & ~0x7FFFFFu) | (static_cast<uint32_t>(seeds[index]) << 15);
  float y = BitsFloat(guess);
  for (int step = 0; step < 2; ++step) {
    const float y2 = y * y;
    const float t = 3.0f - x * y2;
    y = y * t * 0.5f;
  }
  return y;
}

namespace {

// Builds the seed table before the program's entry function runs.
struct SeedTableInit {
  SeedTableInit() {
    QMathInvSqrtTableBuild();
    QMathNop();
  }
};

const SeedTableInit g_seedTableInit;

}  // namespace
