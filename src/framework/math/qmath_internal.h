#pragma once
// Helpers shared by the library's float code (not part of its interface).
#include <cmath>
#include <cstdint>

#include "framework/math/qmath_types.h"
#include "framework/math/trigw.h"

namespace qmath_internal {

// Table trigonometry as floats: the 16.16 value times 1/65536 (exact).
inline float SinF(int32_t angle) { return static_cast<float>(QMathSin(angle)) * (1.0f / 65536.0f); }
inline float CosF(int32_t angle) { return static_cast<float>(QMathCos(angle)) * (1.0f / 65536.0f); }

// Integer part of v, truncated toward zero, clamped to the 32-bit range; 0 for
// a NaN.
inline int32_t TruncToInt(float v) {
  if (!(v == v)) {
    return 0;
  }
  if (v >= 2147483648.0f) {
    return INT32_MAX;
  }
  if (v <= -2147483648.0f) {
    return INT32_MIN;
  }
  return static_cast<int32_t>(v);
}

// A radian angle as a 16-bit angle: the integer part (toward zero) of
// theta * 10430.378 + 0.5, taken modulo 65536. Large values keep their residue.
inline int32_t AngleFromRadians(float theta) {
  const float v = theta * 10430.378f + 0.5f;
  if (!(v == v)) {
    return 0;
  }
  const float whole = std::trunc(v);
  if (std::fabs(whole) < 2147483648.0f) {
    return static_cast<int32_t>(whole) & 0xFFFF;
  }
  const float residue = std::fmod(whole, 65536.0f);  // exact, an integer
  return static_cast<int32_t>(residue) & 0xFFFF;
}

// 16-bit angle units to radians.
constexpr float kRadiansPerUnit = 9.58738e-5f;

// Heading and pitch of the rotation that turns the reference axis onto d:
// heading = 16384 - angle(atan2(d.z, d.x)), the horizontal reach
// l = |cos(-heading) d.z - sin(-heading) d.x| by the tables, pitch =
// -angle(atan2(d.y, l)); both as 16-bit angles. False for a zero d.
inline bool DirectionAngles(const QMathVec3* d, int32_t* heading, int32_t* pitch) {
  if (d->x == 0.0f && d->y == 0.0f && d->z == 0.0f) {
    return false;
  }
  const int32_t h = (16384 - AngleFromRadians(std::atan2(d->z, d->x))) & 0xFFFF;
  const float reach = std::fabs(CosF(-h) * d->z - SinF(-h) * d->x);
  const int32_t p = (-AngleFromRadians(std::atan2(d->y, reach))) & 0xFFFF;
  *heading = h;
  *pitch = p;
  return true;
}

}  // namespace qmath_internal
