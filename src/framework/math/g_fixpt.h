#pragma once
// 20.12 fixed point, integer square root and the fast reciprocal square root.
#include <cstdint>

#include "framework/math/qmath_types.h"

// (a * b) >> 12 with a 64-bit product and an arithmetic shift (rounds toward
// minus infinity); the low 32 bits of the result.
QMathFixed QMathFixMul(QMathFixed a, QMathFixed b);

// (a << 12) / b with a 64-bit dividend, truncated toward zero; 0 when a is 0.
// b must not be 0 (assertion). A quotient beyond the 32-bit range saturates.
QMathFixed QMathFixDiv(QMathFixed a, QMathFixed b);

// Square root in 20.12, truncated: floor(sqrt(x * 4096)). 0 for 0; a negative
// argument is an assertion failure.
QMathFixed QMathFixSqrt(QMathFixed x);

// floor(sqrt(n)) by Newton's method from n / 2; a negative n gives 0.
int32_t QMathISqrt(int32_t n);

// Approximately 1 / sqrt(x) for a positive float: a seed from the 128-byte
// table and two Newton steps.
float QMathFastInvSqrt(float x);

// Builds the seed table (once) and registers its release at process exit /
// frees it. The library builds it among the static initialisers; the fast
// reciprocal square root also builds it on first use if called earlier.
void QMathInvSqrtTableBuild(void);
void QMathInvSqrtTableFree(void);

// The seed table (128 bytes), built when needed.
const uint8_t* QMathInvSqrtTable(void);

// Frees the heap block whose address is the first word of object, and clears
// that word.
void QMathFreeBlock(void* object);

// An empty entry run among the static initialisers after the seed-table build.
void QMathNop(void);
