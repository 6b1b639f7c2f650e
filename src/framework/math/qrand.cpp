#include "framework/math/qrand.h"

namespace {

constexpr QMathRandState kInitialState = {
    {0,          5642352,    92450124,   213059723,  8745314,    20934,      5645243,    3458394,
     3845315934, 742344623,  3453145,    8304134,    2345899331, 6543144,    4140573346, 38429323,
     3920348203, 3502323,    52394023,   124324184,  4523423,    93842930,   2342359856, 1920345023,
     345432,     93420394,   802934023,  23430594,   204593043,  73840235,   49938434,   99839402,
     23045345,   4405434,    9839434,    345034532,  2034345345, 23409234,   98302394,   350235,
     2344928533, 39842034,   883932346,  432949429,  1847324592, 843290333,  2432033920, 332234089,
     45243505,   2405045304, 239420340,  298345002,  329502395,  7450345,    23502935,   53024096},
    24,
    55};

QMathRandState g_state = kInitialState;

// v % m where m == 0 stands for 2^32 (a range of all 32-bit values): the
// full-range helpers return the value itself instead of dividing by zero.
uint32_t Mod(uint32_t v, uint32_t m) { return m == 0 ? v : v % m; }

// lo + next % (hi - lo) over the smaller and larger of a and b, a != b.
int32_t DrawBetween(int32_t a, int32_t b) {
  const int32_t lo = a < b ? a : b;
  const int32_t hi = a < b ? b : a;
  const uint32_t span = static_cast<uint32_t>(hi) - static_cast<uint32_t>(lo);
  return static_cast<int32_t>(static_cast<uint32_t>(lo) + QMathRandNext() % span);
}

}  // namespace

uint32_t QMathRandNext(void) {
  const uint32_t v = g_state.table[g_state.j] + g_state.table[g_state.k];
  g_state.table[g_state.k] = v;
  g_state.j = static_cast<uint8_t>(g_state.j == 1 ? 55 : g_state.j - 1);
  g_state.k = static_cast<uint8_t>(g_state.k == 1 ? 55 : g_state.k - 1);
  return v;
}

uint32_t QMathRandSkip(uint32_t n) {
  const uint32_t count = n & 0xFFFFu;
  if (count == 0) {
    return n;
  }
  uint32_t v = 0;
  for (uint32_t i = 0; i < count; ++i) {
    v = QMathRandNext();
  }
  return v;
}

uint32_t QMathRandRange(uint32_t n) { return Mod(QMathRandNext(), n + 1u); }

uint32_t QMathRandAngle(void) { return QMathRandNext() % 65537u; }

uint32_t QMathRand4096(void) { return QMathRandNext() % 4097u; }

int16_t QMathRand4096Short(void) { return static_cast<int16_t>(QMathRand4096()); }

int32_t QMathRandBetween(int32_t a, int32_t b) {
  if (a == b) {
    return a;
  }
  return DrawBetween(a, b);
}

float QMathRandFloat(void) { return static_cast<float>(QMathRandNext() >> 8) * (1.0f / 16777216.0f); }

float QMathRandFloatBetween(float a, float b) {
  const float lo = a < b ? a : b;
  const float hi = a < b ? b : a;
  return lo + QMathRandFloat() * (hi - lo);
}

float QMathRandFloatJitter(float c, float s) {
  const float d = QMathRandFloatBetween(0.0f, s);
  return QMathRandFloatBetween(0.0f, d) - d / 2.0f + c;
}

int32_t QMathRandJitter(int32_t c, int32_t s) {
  const int32_t d = (s == 0) ? 0 : DrawBetween(0, s);
  if (d == 0) {
    return c;
  }
  const int32_t offset = DrawBetween(0, d);
  return static_cast<int32_t>(static_cast<uint32_t>(c) + static_cast<uint32_t>(offset) -
                              static_cast<uint32_t>(d >> 1));
}

uint32_t QMathRandBiased(uint32_t a, uint32_t b) {
  const uint32_t r = Mod(QMathRandNext(), b + 1u);
  // The threshold is formed in 32 bits and compared signed.
  const int32_t threshold = static_cast<int32_t>((a + b) * 138u) / 256;
  if (static_cast<int32_t>(r) >= threshold) {
    const uint32_t x = a + Mod(QMathRandNext(), b - a + 1u);
    return a + Mod(QMathRandNext(), x - a + 1u);
  }
  return Mod(QMathRandNext(), a + 1u);
}

void QMathRandStateSave(QMathRandState* state) { *state = g_state; }

int32_t QMathRandStateRestore(const QMathRandState* state) {
  if (state->j < 1 || state->j > 55 || state->k < 1 || state->k > 55) {
    return 7;
  }
  g_state = *state;
  return 0;
}

void QMathRandStateInitial(QMathRandState* state) { *state = kInitialState; }
