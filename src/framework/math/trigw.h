#pragma once
// Table-driven trigonometry on 16-bit angles. Results are 16.16 values
// (65536 stands for 1.0); a quarter turn's sine is 65534.
#include <cstdint>

#include "framework/math/qmath_types.h"

// Sine table: entry i = round(32767 * sin(2 pi i / 256)), i = 0..320 (one and
// a quarter turns, so the cosine reads the same table 64 entries on).
extern const int16_t (&QMathSinTable)[321];
// Arc-cosine table: entry i = round(acos(-1 + i / 128) * 65536 / (2 pi)),
// i = 0..256, and a zero entry that the interpolation reads at the end point.
extern const uint16_t (&QMathAcosTable)[258];
// Arc-tangent table: entry i = round(atan(i / 256) * 65536 / (2 pi)), i = 0..256.
extern const uint32_t (&QMathAtanTable)[257];

// Sine and cosine of the low 16 bits of angle, 16.16.
int32_t QMathSin(int32_t angle);
int32_t QMathCos(int32_t angle);

// Arc cosine of a 16.16 value in -65536..65536 (assertion otherwise): an angle
// 0..32768. Arc sine: 16384 - arc cosine, -16384..16384.
int32_t QMathAcos(int32_t x);
int32_t QMathAsin(int32_t x);

// Angle of the direction (x, y) from +x towards +y. Only the low 16 bits are
// meaningful: the fourth quadrant comes out negative (-100 for 65436).
int32_t QMathAtan2(int32_t x, int32_t y);
