#include "framework/math/qmatrix.h"

#include <cmath>

#include "framework/math/qmath_internal.h"
#include "framework/math/qvector.h"

using qmath_internal::CosF;
using qmath_internal::SinF;

namespace {

// Scratch for products whose output aliases an input (main thread only).
QMathMatrix g_scratch;

// 3 x 3 product of the rotation blocks into r (words 0-2, 4-6, 8-10).
void Product3x3(float* r, const float* a, const float* b) {
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      r[4 * row + col] = a[4 * row] * b[col] + a[4 * row + 1] * b[4 + col] + a[4 * row + 2] * b[8 + col];
    }
  }
}

// ta * b3 into words 12-14 of r.
void TranslationTimes3x3(float* r, const float* a, const float* b) {
  for (int col = 0; col < 3; ++col) {
    r[12 + col] = a[12] * b[col] + a[13] * b[4 + col] + a[14] * b[8 + col];
  }
}

void ScaleColumn(QMathMatrix* out, const QMathMatrix* in, int col, float f) {
  out->m[col] = in->m[col] * f;
  out->m[4 + col] = in->m[4 + col] * f;
  out->m[8 + col] = in->m[8 + col] * f;
}

float ColumnLength(const QMathMatrix* m, int col) {
  const float squared = m->m[col] * m->m[col] + m->m[4 + col] * m->m[4 + col] + m->m[8 + col] * m->m[8 + col];
  if (std::fabs(squared - 1.0f) < 0.0001f) {
    return squared;
  }
  return std::sqrt(squared);
}

}  // namespace

QMathMatrix* QMathMatrixIdentity(QMathMatrix* m) {
  for (int i = 0; i < 16; ++i) {
    m->m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
  }
  return m;
}

QMathMatrix* QMathMatrixIdentity3x4(QMathMatrix* m) {
  for (int i = 0; i < 12; ++i) {
    m->m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
  }
  return m;
}

QMathMatrix* QMathMatrixSetRotateX(QMathMatrix* m, int32_t angle) {
  const float c = CosF(angle);
  const float s = SinF(angle);
  m->m[0] = 1.0f;
  m->m[1] = 0.0f;
  m->m[2] = 0.0f;
  m->m[4] = 0.0f;
  m->m[5] = c;
  m->m[6] = s;
  m->m[8] = 0.0f;
  m->m[9] = -s;
  m->m[10] = c;
  return m;
}

QMathMatrix* QMathMatrixSetRotateY(QMathMatrix* m, int32_t angle) {
  const float c = CosF(angle);
  const float s = SinF(angle);
  m->m[0] = c;
  m->m[1] = 0.0f;
  m->m[2] = -s;
  m->m[4] = 0.0f;
  m->m[5] = 1.0f;
  m->m[6] = 0.0f;
  m->m[8] = s;
  m->m[9] = 0.0f;
  m->m[10] = c;
  return m;
}

QMathMatrix* QMathMatrixSetRotateAxis(QMathMatrix* m, const QMathVec3* axis, int32_t angle) {
  QMathVec3 n;
  QMathVec3Normalise(&n, axis);
  const float c = CosF(angle);
  const float s = SinF(angle);
  const float t = 1.0f - c;
  m->m[0] = n.x * n.x * t + c;
  m->m[1] = n.x * n.y * t + n.z * s;
  m->m[2] = n.x * n.z * t - n.y * s;
  m->m[4] = n.x * n.y * t - n.z * s;
  m->m[5] = n.y * n.y * t + c;
  m->m[6] = n.y * n.z * t + n.x * s;
  m->m[8] = n.x * n.z * t + n.y * s;
  m->m[9] = n.y * n.z * t - n.x * s;
  m->m[10] = n.z * n.z * t + c;
  return m;
}

QMathMatrix* QMathMatrixSetTranslation(QMathMatrix* m, const QMathVec3* v) {
  m->m[12] = v->x;
  m->m[13] = v->y;
  m->m[14] = v->z;
  return m;
}

QMathMatrix* QMathMatrixTranslateLocal(QMathMatrix* m, const QMathVec3* v) {
  QMathVec3 moved;
  QMathMatrixTransformPoint(m, &moved, v);
  return QMathMatrixSetTranslation(m, &moved);
}

QMathMatrix* QMathMatrixScaleX(QMathMatrix* out, const QMathMatrix* in, float f) {
  if (f != 1.0f) {
    ScaleColumn(out, in, 0, f);
  }
  return const_cast<QMathMatrix*>(in);
}

QMathMatrix* QMathMatrixScaleY(QMathMatrix* out, const QMathMatrix* in, float f) {
  if (f != 1.0f) {
    ScaleColumn(out, in, 1, f);
  }
  return const_cast<QMathMatrix*>(in);
}

QMathMatrix* QMathMatrixScaleZ(QMathMatrix* out, const QMathMatrix* in, float f) {
  if (f != 1.0f) {
    ScaleColumn(out, in, 2, f);
  }
  return const_cast<QMathMatrix*>(in);
}

QMathMatrix* QMathMatrixScale(QMathMatrix* out, const QMathMatrix* in, float f) {
  if (f != 1.0f) {
    for (int col = 0; col < 3; ++col) {
      ScaleColumn(out, in, col, f);
    }
  }
  return const_cast<QMathMatrix*>(in);
}

QMathMatrix* QMathMatrixTranspose3x3(QMathMatrix* out, const QMathMatrix* in) {
  const float m1 = in->m[1], m2 = in->m[2], m4 = in->m[4], m6 = in->m[6], m8 = in->m[8], m9 = in->m[9];
  out->m[0] = in->m[0];
  out->m[5] = in->m[5];
  out->m[10] = in->m[10];
  out->m[1] = m4;
  out->m[4] = m1;
  out->m[2] = m8;
  out->m[8] = m2;
  out->m[6] = m9;
  out->m[9] = m6;
  return out;
}

void QMathMatrixDecompose(const QMathMatrix* m, float* sx, float* sy, float* sz) {
  *sx = ColumnLength(m, 0);
  *sy = ColumnLength(m, 1);
  *sz = ColumnLength(m, 2);
}

QMathMatrix* QMathMatrixInvertRigid(QMathMatrix* out, const QMathMatrix* in) {
  const float* r = in->m;
  const float tx = -r[12], ty = -r[13], tz = -r[14];
  QMathMatrix result;
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      result.m[4 * row + col] = r[4 * col + row];
    }
  }
  result.m[3] = result.m[7] = result.m[11] = 0.0f;
  result.m[15] = 1.0f;
  // (-t) * R^T: component c is (-t) dotted with row c of R.
  for (int col = 0; col < 3; ++col) {
    result.m[12 + col] = tx * r[4 * col] + ty * r[4 * col + 1] + tz * r[4 * col + 2];
  }
  *out = result;
  return out;
}

QMathMatrix* QMathMatrixMultiply(QMathMatrix* out, const QMathMatrix* a, const QMathMatrix* b) {
  QMathMatrix* target = (out == a || out == b) ? &g_scratch : out;
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      target->m[4 * row + col] = a->m[4 * row] * b->m[col] + a->m[4 * row + 1] * b->m[4 + col] +
                                 a->m[4 * row + 2] * b->m[8 + col] + a->m[4 * row + 3] * b->m[12 + col];
    }
  }
  if (target != out) {
    *out = *target;
  }
  return out;
}

QMathMatrix* QMathMatrixMultiplyAffine(QMathMatrix* out, const QMathMatrix* a, const QMathMatrix* b) {
  QMathMatrix* target = (out == a || out == b) ? &g_scratch : out;
  Product3x3(target->m, a->m, b->m);
  TranslationTimes3x3(target->m, a->m, b->m);
  target->m[12] += b->m[12];
  target->m[13] += b->m[13];
  target->m[14] += b->m[14];
  target->m[3] = target->m[7] = target->m[11] = 0.0f;
  target->m[15] = 1.0f;
  if (target != out) {
    *out = *target;
  }
  return out;
}

QMathMatrix* QMathMatrixMultiplyRotation(QMathMatrix* out, const QMathMatrix* a, const QMathMatrix* b) {
  if (out == a || out == b) {
    Product3x3(g_scratch.m, a->m, b->m);
    for (int row = 0; row < 3; ++row) {
      for (int col = 0; col < 3; ++col) {
        out->m[4 * row + col] = g_scratch.m[4 * row + col];
      }
    }
    return out;
  }
  Product3x3(out->m, a->m, b->m);
  TranslationTimes3x3(out->m, a->m, b->m);
  return out;
}

QMathMatrix* QMathMatrixFromQuat(QMathMatrix* m, const QMathQuat* q) {
  const float x = q->x, y = q->y, z = q->z, w = q->w;
  const float n = x * x + y * y + z * z + w * w;
  const float s = (n <= 0.0001f) ? n : 2.0f / n;
  m->m[0] = 1.0f - s * (y * y + z * z);
  m->m[1] = s * (x * y + w * z);
  m->m[2] = s * (x * z - w * y);
  m->m[4] = s * (x * y - w * z);
  m->m[5] = 1.0f - s * (x * x + z * z);
  m->m[6] = s * (y * z + w * x);
  m->m[8] = s * (x * z + w * y);
  m->m[9] = s * (y * z - w * x);
  m->m[10] = 1.0f - s * (x * x + y * y);
  return m;
}

QMathVec3* QMathMatrixTransformPoint(const QMathMatrix* m, QMathVec3* out, const QMathVec3* p) {
  const float* r = m->m;
  const QMathVec3 result = {p->x * r[0] + p->y * r[4] + p->z * r[8] + r[12],
                            p->x * r[1] + p->y * r[5] + p->z * r[9] + r[13],
                            p->x * r[2] + p->y * r[6] + p->z * r[10] + r[14]};
  *out = result;
  return out;
}

QMathVec3* QMathMatrixRotateVector(const QMathMatrix* m, QMathVec3* out, const QMathVec3* v) {
  const float* r = m->m;
  const QMathVec3 result = {v->x * r[0] + v->y * r[4] + v->z * r[8], v->x * r[1] + v->y * r[5] + v->z * r[9],
                            v->x * r[2] + v->y * r[6] + v->z * r[10]};
  *out = result;
  return out;
}

QMathMatrix* QMathMatrixFromDirection(QMathMatrix* m, const QMathVec3* d) {
  int32_t heading;
  int32_t pitch;
  if (!qmath_internal::DirectionAngles(d, &heading, &pitch)) {
    return m;
  }
  const float ch = CosF(heading), sh = SinF(heading);
  const float cp = CosF(pitch), sp = SinF(pitch);
  m->m[0] = ch;
  m->m[1] = 0.0f;
  m->m[2] = -sh;
  m->m[4] = sh * sp;
  m->m[5] = cp;
  m->m[6] = ch * sp;
  m->m[8] = sh * cp;
  m->m[9] = -sp;
  m->m[10] = ch * cp;
  return m;
}
