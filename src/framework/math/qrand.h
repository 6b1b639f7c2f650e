#pragma once
// The program's one pseudo-random source: an additive lagged generator (lags
// 24 and 55) over 55 32-bit words. It starts from the same fixed state at every
// program start and the game never reseeds it. Main thread only.
#include <cstdint>

// Next 32-bit value.
uint32_t QMathRandNext(void);
// Draws n values (low 16 bits of n) and returns the last; n itself, without a
// draw, when those bits are 0.
uint32_t QMathRandSkip(uint32_t n);
// 0..n inclusive.
uint32_t QMathRandRange(uint32_t n);
// 0..65536 inclusive.
uint32_t QMathRandAngle(void);
// 0..4096 inclusive.
uint32_t QMathRand4096(void);
int16_t QMathRand4096Short(void);
// a when a == b (no draw); otherwise the smaller up to but excluding the larger.
int32_t QMathRandBetween(int32_t a, int32_t b);
// Uniform in [0, 1): the top 24 bits of the next value times 2^-24.
float QMathRandFloat(void);
// lo + QMathRandFloat() * (hi - lo), lo and hi the smaller and larger.
float QMathRandFloatBetween(float a, float b);
// d = QMathRandFloatBetween(0, s); QMathRandFloatBetween(0, d) - d / 2 + c.
float QMathRandFloatJitter(float c, float s);
// c moved by a draw of up to a drawn spread, centred (see the source).
int32_t QMathRandJitter(int32_t c, int32_t s);
// Biased draw in 0..b, a <= b.
uint32_t QMathRandBiased(uint32_t a, uint32_t b);

// The whole generator state, so that tests and recordings can save and
// restore it. Entry 0 of the table is unused.
struct QMathRandState {
  uint32_t table[56];
  uint8_t j;
  uint8_t k;
};

void QMathRandStateSave(QMathRandState* state);
// Returns 0, or 7 (and leaves the generator as it was) when an index of state
// lies outside 1..55.
int32_t QMathRandStateRestore(const QMathRandState* state);
// The fixed state the generator starts from.
void QMathRandStateInitial(QMathRandState* state);
