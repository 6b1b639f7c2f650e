#pragma once
// 2- and 3-vectors of floats. Operations write the output first and return it;
// the output may be one of the inputs.
#include "framework/math/qmath_types.h"

QMathVec3* QMathVec3Add(QMathVec3* out, const QMathVec3* a, const QMathVec3* b);
QMathVec3* QMathVec3Sub(QMathVec3* out, const QMathVec3* a, const QMathVec3* b);  // a - b
float QMathVec3Dot(const QMathVec3* a, const QMathVec3* b);
QMathVec3* QMathVec3Scale(QMathVec3* out, const QMathVec3* in, float f);
QMathVec3* QMathVec3Divide(QMathVec3* out, const QMathVec3* in, float f);
float QMathVec3Length(const QMathVec3* v);
// out = in / |in|, unless |in|^2 lies within 0.0001 of 1.0: then out = in.
// The caller never passes a zero vector.
QMathVec3* QMathVec3Normalise(QMathVec3* out, const QMathVec3* in);
// (a.z*b.y - a.y*b.z, a.x*b.z - a.z*b.x, a.y*b.x - a.x*b.y): b x a in the
// usual right-handed notation.
QMathVec3* QMathVec3Cross(QMathVec3* out, const QMathVec3* a, const QMathVec3* b);

QMathVec2* QMathVec2Add(QMathVec2* out, const QMathVec2* a, const QMathVec2* b);
QMathVec2* QMathVec2Sub(QMathVec2* out, const QMathVec2* a, const QMathVec2* b);
float QMathVec2Dot(const QMathVec2* a, const QMathVec2* b);
QMathVec2* QMathVec2Scale(QMathVec2* out, const QMathVec2* in, float f);
QMathVec2* QMathVec2Divide(QMathVec2* out, const QMathVec2* in, float f);
float QMathVec2Length(const QMathVec2* v);
QMathVec2* QMathVec2Normalise(QMathVec2* out, const QMathVec2* in);
