#pragma once
// Rotation quaternions {x, y, z, w}. QMathQuatMultiply(out, a, b) composes like
// the matrix product: the rotation a first, then b (the Hamilton product b a).
// Operations take the output first and return it unless stated; the output
// may be one of the inputs.
#include "framework/math/qmath_types.h"

QMathQuat* QMathQuatAdd(QMathQuat* out, const QMathQuat* a, const QMathQuat* b);
QMathQuat* QMathQuatSub(QMathQuat* out, const QMathQuat* a, const QMathQuat* b);
float QMathQuatDot(const QMathQuat* a, const QMathQuat* b);
float QMathQuatLength(const QMathQuat* q);
QMathQuat* QMathQuatNegate(QMathQuat* out, const QMathQuat* in);     // all four
QMathQuat* QMathQuatConjugate(QMathQuat* out, const QMathQuat* in);  // vector part
// out = in when 0.9999 <= q.q <= 1.0001, else in / |in|.
QMathQuat* QMathQuatNormalise(QMathQuat* out, const QMathQuat* in);
// The product, normalised.
QMathQuat* QMathQuatMultiply(QMathQuat* out, const QMathQuat* a, const QMathQuat* b);

// Half the 16-bit angle through the table sine and cosine; the axis is a unit
// vector. The axis form is normalised, the single-axis forms are not.
QMathQuat* QMathQuatFromAxisAngle(QMathQuat* out, const QMathVec3* axis, int32_t angle);
QMathQuat* QMathQuatFromAngleX(QMathQuat* out, int32_t angle);
QMathQuat* QMathQuatFromAngleY(QMathQuat* out, int32_t angle);
QMathQuat* QMathQuatFromAngleZ(QMathQuat* out, int32_t angle);
// q = r then q, r the (normalised) turn about the axis.
QMathQuat* QMathQuatRotateX(QMathQuat* q, int32_t angle);
QMathQuat* QMathQuatRotateY(QMathQuat* q, int32_t angle);
QMathQuat* QMathQuatRotateZ(QMathQuat* q, int32_t angle);

// Axis and 16-bit angle of q (normalised first). The axis is not written when
// the half angle's sine is below 0.0001.
void QMathQuatToAxisAngle(const QMathQuat* q, QMathVec3* axis, QMathAngle* angle);

// out = q when |ref + q|^2 >= |ref - q|^2, else -q.
QMathQuat* QMathQuatAlign(QMathQuat* out, const QMathQuat* q, const QMathQuat* ref);
// Spherical interpolation with table sines, normalised; no sign flip for a
// negative dot product.
QMathQuat* QMathQuatSlerp(QMathQuat* out, const QMathQuat* a, const QMathQuat* b, float t);
// The fraction t of the rotation q: slerp from whichever of (0, 0, 0, 1) and
// (0, 0, 0, -1) lies nearer q.
QMathQuat* QMathQuatScaleAngle(QMathQuat* out, const QMathQuat* q, float t);

// r = (w^2 - v.v) p + 2 (v.p) v + 2 w QMathVec3Cross(v, p); out = (-r.x, r.y, r.z).
QMathVec3* QMathQuatRotateVector(const QMathQuat* q, QMathVec3* out, const QMathVec3* p);

// Rotation turning the reference axis (+z) onto d: heading then pitch, as
// QMathMatrixFromDirection. A zero d leaves out unchanged.
QMathQuat* QMathQuatFromDirection(QMathQuat* out, const QMathVec3* d);

// The rotation of a matrix's 3 x 3 block.
QMathQuat* QMathQuatFromMatrix(QMathQuat* out, const QMathMatrix* m);
