#include "framework/math/qvector.h"

#include <cmath>

QMathVec3* QMathVec3Add(QMathVec3* out, const QMathVec3* a, const QMathVec3* b) {
  const QMathVec3 r = {a->x + b->x, a->y + b->y, a->z + b->z};
  *out = r;
  return out;
}

QMathVec3* QMathVec3Sub(QMathVec3* out, const QMathVec3* a, const QMathVec3* b) {
  const QMathVec3 r = {a->x - b->x, a->y - b->y, a->z - b->z};
  *out = r;
  return out;
}

float QMathVec3Dot(const QMathVec3* a, const QMathVec3* b) { return a->x * b->x + a->y * b->y + a->z * b->z; }

QMathVec3* QMathVec3Scale(QMathVec3* out, const QMathVec3* in, float f) {
  const QMathVec3 r = {in->x * f, in->y * f, in->z * f};
  *out = r;
  return out;
}

QMathVec3* QMathVec3Divide(QMathVec3* out, const QMathVec3* in, float f) {
  const QMathVec3 r = {in->x / f, in->y / f, in->z / f};
  *out = r;
  return out;
}

float QMathVec3Length(const QMathVec3* v) { return std::sqrt(QMathVec3Dot(v, v)); }

QMathVec3* QMathVec3Normalise(QMathVec3* out, const QMathVec3* in) {
  const float squared = QMathVec3Dot(in, in);
  if (std::fabs(squared - 1.0f) >= 0.0001f) {
    return QMathVec3Divide(out, in, std::sqrt(squared));
  }
  *out = *in;
  return out;
}

QMathVec3* QMathVec3Cross(QMathVec3* out, const QMathVec3* a, const QMathVec3* b) {
  const QMathVec3 r = {a->z * b->y - a->y * b->z, a->x * b->z - a->z * b->x, a->y * b->x - a->x * b->y};
  *out = r;
  return out;
}

QMathVec2* QMathVec2Add(QMathVec2* out, const QMathVec2* a, const QMathVec2* b) {
  const QMathVec2 r = {a->x + b->x, a->y + b->y};
  *out = r;
  return out;
}

QMathVec2* QMathVec2Sub(QMathVec2* out, const QMathVec2* a, const QMathVec2* b) {
  const QMathVec2 r = {a->x - b->x, a->y - b->y};
  *out = r;
  return out;
}

float QMathVec2Dot(const QMathVec2* a, const QMathVec2* b) { return a->x * b->x + a->y * b->y; }

QMathVec2* QMathVec2Scale(QMathVec2* out, const QMathVec2* in, float f) {
  const QMathVec2 r = {in->x * f, in->y * f};
  *out = r;
  return out;
}

QMathVec2* QMathVec2Divide(QMathVec2* out, const QMathVec2* in, float f) {
  const QMathVec2 r = {in->x / f, in->y / f};
  *out = r;
  return out;
}

float QMathVec2Length(const QMathVec2* v) { return std::sqrt(QMathVec2Dot(v, v)); }

QMathVec2* QMathVec2Normalise(QMathVec2* out, const QMathVec2* in) {
  const float squared = QMathVec2Dot(in, in);
  if (std::fabs(squared - 1.0f) >= 0.0001f) {
    return QMathVec2Divide(out, in, std::sqrt(squared));
  }
  *out = *in;
  return out;
}
