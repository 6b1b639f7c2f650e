#include "framework/math/qquat.h"

#include <cmath>

#include "framework/math/qmath_internal.h"
#include "framework/math/qvector.h"

using qmath_internal::AngleFromRadians;
using qmath_internal::CosF;
using qmath_internal::SinF;

namespace {

// Half of a 16-bit angle.
int32_t HalfAngle(int32_t angle) { return (angle & 0xFFFF) >> 1; }

QMathQuat Combine(float s0, const QMathQuat& a, float s1, const QMathQuat& b) {
  return QMathQuat{s0 * a.x + s1 * b.x, s0 * a.y + s1 * b.y, s0 * a.z + s1 * b.z, s0 * a.w + s1 * b.w};
}

// Table sine of a radian angle, as a float.
float SinRadians(float theta) { return SinF(AngleFromRadians(theta)); }

}  // namespace

QMathQuat* QMathQuatAdd(QMathQuat* out, const QMathQuat* a, const QMathQuat* b) {
  *out = QMathQuat{a->x + b->x, a->y + b->y, a->z + b->z, a->w + b->w};
  return out;
}

QMathQuat* QMathQuatSub(QMathQuat* out, const QMathQuat* a, const QMathQuat* b) {
  *out = QMathQuat{a->x - b->x, a->y - b->y, a->z - b->z, a->w - b->w};
  return out;
}

float QMathQuatDot(const QMathQuat* a, const QMathQuat* b) {
  return a->x * b->x + a->y * b->y + a->z * b->z + a->w * b->w;
}

float QMathQuatLength(const QMathQuat* q) { return std::sqrt(QMathQuatDot(q, q)); }

QMathQuat* QMathQuatNegate(QMathQuat* out, const QMathQuat* in) {
  *out = QMathQuat{-in->x, -in->y, -in->z, -in->w};
  return out;
}

QMathQuat* QMathQuatConjugate(QMathQuat* out, const QMathQuat* in) {
  *out = QMathQuat{-in->x, -in->y, -in->z, in->w};
  return out;
}

QMathQuat* QMathQuatNormalise(QMathQuat* out, const QMathQuat* in) {
  const float squared = QMathQuatDot(in, in);
  if (squared >= 0.9999f && squared <= 1.0001f) {
    *out = *in;
    return out;
  }
  const float length = std::sqrt(squared);
  *out = QMathQuat{in->x / length, in->y / length, in->z / length, in->w / length};
  return out;
}

QMathQuat* QMathQuatMultiply(QMathQuat* out, const QMathQuat* a, const QMathQuat* b) {
  const QMathVec3 av = {a->x, a->y, a->z};
  const QMathVec3 bv = {b->x, b->y, b->z};
  QMathVec3 cross;
  QMathVec3Cross(&cross, &av, &bv);
  const QMathQuat product = {a->w * bv.x + b->w * av.x + cross.x, a->w * bv.y + b->w * av.y + cross.y,
                             a->w * bv.z + b->w * av.z + cross.z, a->w * b->w - QMathVec3Dot(&av, &bv)};
  return QMathQuatNormalise(out, &product);
}

QMathQuat* QMathQuatFromAxisAngle(QMathQuat* out, const QMathVec3* axis, int32_t angle) {
  const int32_t h = HalfAngle(angle);
  const float s = SinF(h);
  const QMathQuat q = {axis->x * s, axis->y * s, axis->z * s, CosF(h)};
  return QMathQuatNormalise(out, &q);
}

QMathQuat* QMathQuatFromAngleX(QMathQuat* out, int32_t angle) {
  const int32_t h = HalfAngle(angle);
  *out = QMathQuat{SinF(h), 0.0f, 0.0f, CosF(h)};
  return out;
}

QMathQuat* QMathQuatFromAngleY(QMathQuat* out, int32_t angle) {
  const int32_t h = HalfAngle(angle);
  *out = QMathQuat{0.0f, SinF(h), 0.0f, CosF(h)};
  return out;
}

QMathQuat* QMathQuatFromAngleZ(QMathQuat* out, int32_t angle) {
  const int32_t h = HalfAngle(angle);
  *out = QMathQuat{0.0f, 0.0f, SinF(h), CosF(h)};
  return out;
}

QMathQuat* QMathQuatRotateX(QMathQuat* q, int32_t angle) {
  QMathQuat r;
  QMathQuatNormalise(&r, QMathQuatFromAngleX(&r, angle));
  return QMathQuatMultiply(q, &r, q);
}

QMathQuat* QMathQuatRotateY(QMathQuat* q, int32_t angle) {
  QMathQuat r;
  QMathQuatNormalise(&r, QMathQuatFromAngleY(&r, angle));
  return QMathQuatMultiply(q, &r, q);
}

QMathQuat* QMathQuatRotateZ(QMathQuat* q, int32_t angle) {
  QMathQuat r;
  QMathQuatNormalise(&r, QMathQuatFromAngleZ(&r, angle));
  return QMathQuatMultiply(q, &r, q);
}

void QMathQuatToAxisAngle(const QMathQuat* q, QMathVec3* axis, QMathAngle* angle) {
  QMathQuat n;
  QMathQuatNormalise(&n, q);
  // A unit quaternion within the normalising tolerance can have w slightly
  // above 1: the arc cosine takes the clamped value.
  int32_t w = qmath_internal::TruncToInt(n.w * 65536.0f + 0.5f);
  w = w > 65536 ? 65536 : (w < -65536 ? -65536 : w);
  const int32_t h = QMathAcos(w);
  *angle = static_cast<QMathAngle>(2 * h);
  const float s = SinF(h);
  if (std::fabs(s) >= 0.0001f) {
    *axis = QMathVec3{n.x / s, n.y / s, n.z / s};
  }
}

QMathQuat* QMathQuatAlign(QMathQuat* out, const QMathQuat* q, const QMathQuat* ref) {
  QMathQuat sum, difference;
  QMathQuatAdd(&sum, ref, q);
  QMathQuatSub(&difference, ref, q);
  if (QMathQuatDot(&sum, &sum) >= QMathQuatDot(&difference, &difference)) {
    *out = *q;
    return out;
  }
  return QMathQuatNegate(out, q);
}

QMathQuat* QMathQuatSlerp(QMathQuat* out, const QMathQuat* a, const QMathQuat* b, float t) {
  const float c = QMathQuatDot(a, b);
  const float halfPi = 3.14159265f * 0.5f;
  QMathQuat result;
  if (c + 1.0f <= 0.0001f) {
    // Nearly opposite: turn towards a perpendicular quaternion.
    const QMathQuat p = {-a->y, a->x, -a->w, a->z};
    const float s0 = SinRadians((1.0f - t) * halfPi);
    const float s1 = SinRadians(t * halfPi);
    result = Combine(s0, *a, s1, p);
  } else if (1.0f - c <= 0.0001f) {
    // Nearly equal: linear.
    result = Combine(1.0f - t, *a, t, *b);
  } else {
    const int32_t acosAngle = QMathAcos(qmath_internal::TruncToInt(c * 65536.0f + 0.5f));
    const float omega = static_cast<float>(static_cast<int16_t>(acosAngle)) * qmath_internal::kRadiansPerUnit;
    const float sinOmega = SinF(acosAngle);
    const float s0 = SinRadians((1.0f - t) * omega) / sinOmega;
    const float s1 = SinRadians(t * omega) / sinOmega;
    result = Combine(s0, *a, s1, *b);
  }
  return QMathQuatNormalise(out, &result);
}

QMathQuat* QMathQuatScaleAngle(QMathQuat* out, const QMathQuat* q, float t) {
  const QMathQuat identity = {0.0f, 0.0f, 0.0f, 1.0f};
  const QMathQuat negated = {0.0f, 0.0f, 0.0f, -1.0f};
  QMathQuat plus, minus;
  QMathQuatAdd(&plus, q, &identity);
  QMathQuatSub(&minus, q, &identity);
  const QMathQuat* from = QMathQuatDot(&plus, &plus) < QMathQuatDot(&minus, &minus) ? &negated : &identity;
  return QMathQuatSlerp(out, from, q, t);
}

QMathVec3* QMathQuatRotateVector(const QMathQuat* q, QMathVec3* out, const QMathVec3* p) {
  const QMathVec3 v = {q->x, q->y, q->z};
  const QMathVec3 point = *p;
  const float scalar = q->w * q->w - QMathVec3Dot(&v, &v);
  const float along = 2.0f * QMathVec3Dot(&v, &point);
  const float twoW = 2.0f * q->w;
  QMathVec3 cross;
  QMathVec3Cross(&cross, &v, &point);
  const QMathVec3 r = {scalar * point.x + along * v.x + twoW * cross.x, scalar * point.y + along * v.y + twoW * cross.y,
                       scalar * point.z + along * v.z + twoW * cross.z};
  *out = QMathVec3{-r.x, r.y, r.z};
  return out;
}

QMathQuat* QMathQuatFromDirection(QMathQuat* out, const QMathVec3* d) {
  int32_t heading;
  int32_t pitch;
  if (!qmath_internal::DirectionAngles(d, &heading, &pitch)) {
    return out;
  }
  const QMathQuat identity = {0.0f, 0.0f, 0.0f, 1.0f};
  QMathQuat ry, rx, turned;
  QMathQuatFromAngleY(&ry, heading);
  QMathQuatFromAngleX(&rx, pitch);
  QMathQuatMultiply(&turned, &ry, &identity);
  return QMathQuatMultiply(out, &rx, &turned);
}

QMathQuat* QMathQuatFromMatrix(QMathQuat* out, const QMathMatrix* m) {
  const float* r = m->m;
  const float trace = r[0] + r[5] + r[10];
  if (trace > 0.0f) {
    const float root = std::sqrt(trace + 1.0f);
    const float k = 0.5f / root;
    *out = QMathQuat{(r[6] - r[9]) * k, (r[8] - r[2]) * k, (r[1] - r[4]) * k, root / 2.0f};
    return out;
  }
  int i = 0;
  if (r[5] > r[0]) {
    i = 1;
  }
  if (r[10] > r[5 * i]) {
    i = 2;
  }
  const int next[3] = {1, 2, 0};
  const int j = next[i];
  const int k = next[j];
  const auto at = [r](int row, int col) { return r[4 * row + col]; };
  const float s = std::sqrt(at(i, i) - (at(j, j) + at(k, k)) + 1.0f);
  const float half = 0.5f / s;
  float q[4];
  q[i] = s / 2.0f;
  q[3] = (at(j, k) - at(k, j)) * half;
  q[j] = (at(i, j) + at(j, i)) * half;
  q[k] = (at(i, k) + at(k, i)) * half;
  const QMathQuat result = {q[0], q[1], q[2], q[3]};
  return QMathQuatNormalise(out, &result);
}
