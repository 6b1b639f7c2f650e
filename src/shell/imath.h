#pragma once
// Integer trigonometry of the portable game code: headings in 802 units per
// turn, angles in degrees.
#include <cstdint>

constexpr int32_t IMATH_TAN_TABLE_SIZE = 91;
extern const int32_t imath_aiTanTable[IMATH_TAN_TABLE_SIZE];

int32_t imath_Atan2(int32_t dx, int32_t dy);
int32_t imath_AtanRatio(int32_t r);
int32_t imath_Abs(int32_t n);
int32_t imath_bIsPositive(int32_t n);
int32_t imath_SinScale(int32_t r, int32_t iDegrees);
int32_t imath_CosScale(int32_t r, int32_t iDegrees);
