#pragma once
// 4 x 4 float matrices in the row-vector convention: p' = p * R + t, the
// rotation in words 0-2, 4-6, 8-10 and the translation in words 12-14. The
// product a * b applies a first. Angles are 16-bit and go through the table
// sine and cosine (a quarter turn's sine is 0.999969).
//
// Operations take the output first and return it unless stated; products use
// a scratch matrix, so the output may be one of the inputs.
#include "framework/math/qmath_types.h"

QMathMatrix* QMathMatrixIdentity(QMathMatrix* m);
// Words 0-11 to the identity rotation (words 3, 7, 11 zero); the translation
// row is left as it is.
QMathMatrix* QMathMatrixIdentity3x4(QMathMatrix* m);

// Rotations: the 3 x 3 block only.
QMathMatrix* QMathMatrixSetRotateX(QMathMatrix* m, int32_t angle);
QMathMatrix* QMathMatrixSetRotateY(QMathMatrix* m, int32_t angle);
// The axis is normalised first (a copy: the caller's axis is not changed).
QMathMatrix* QMathMatrixSetRotateAxis(QMathMatrix* m, const QMathVec3* axis, int32_t angle);

QMathMatrix* QMathMatrixSetTranslation(QMathMatrix* m, const QMathVec3* v);
// Moves the matrix along v given in its own frame: t = v * R + t.
QMathMatrix* QMathMatrixTranslateLocal(QMathMatrix* m, const QMathVec3* v);

// Scale out's column 0 / 1 / 2 (or the whole 3 x 3 block) to in's times f. A
// factor of exactly 1.0 writes nothing. These return in.
QMathMatrix* QMathMatrixScaleX(QMathMatrix* out, const QMathMatrix* in, float f);
QMathMatrix* QMathMatrixScaleY(QMathMatrix* out, const QMathMatrix* in, float f);
QMathMatrix* QMathMatrixScaleZ(QMathMatrix* out, const QMathMatrix* in, float f);
QMathMatrix* QMathMatrixScale(QMathMatrix* out, const QMathMatrix* in, float f);

// out's 3 x 3 block = in's transposed; other words untouched.
QMathMatrix* QMathMatrixTranspose3x3(QMathMatrix* out, const QMathMatrix* in);

// The lengths of the three columns of the 3 x 3 block; a squared length within
// 0.0001 of 1.0 is written as it is, without a square root.
void QMathMatrixDecompose(const QMathMatrix* m, float* sx, float* sy, float* sz);

// Inverse of a rotation plus translation: R transposed, translation (-t) * R^T.
QMathMatrix* QMathMatrixInvertRigid(QMathMatrix* out, const QMathMatrix* in);

// Full 4 x 4 product a * b.
QMathMatrix* QMathMatrixMultiply(QMathMatrix* out, const QMathMatrix* a, const QMathMatrix* b);
// 3 x 3 = a3 * b3, translation = ta * b3 + tb, words 3, 7, 11 = 0, 15 = 1.
QMathMatrix* QMathMatrixMultiplyAffine(QMathMatrix* out, const QMathMatrix* a, const QMathMatrix* b);
// 3 x 3 = a3 * b3 and translation = ta * b3 into a third matrix; when out is a
// or b only the 3 x 3 block is replaced.
QMathMatrix* QMathMatrixMultiplyRotation(QMathMatrix* out, const QMathMatrix* a, const QMathMatrix* b);

// Rotation of q scaled by 2 / |q|^2 (by |q|^2 itself when that is at most
// 0.0001); the 3 x 3 block only.
QMathMatrix* QMathMatrixFromQuat(QMathMatrix* m, const QMathQuat* q);

// out = p * R + t / out = v * R. Return out.
QMathVec3* QMathMatrixTransformPoint(const QMathMatrix* m, QMathVec3* out, const QMathVec3* p);
QMathVec3* QMathMatrixRotateVector(const QMathMatrix* m, QMathVec3* out, const QMathVec3* v);

// Rotation turning the reference axis (+z) onto d: heading about y, then
// pitch; the 3 x 3 block only. A zero d leaves m unchanged.
QMathMatrix* QMathMatrixFromDirection(QMathMatrix* m, const QMathVec3* d);
