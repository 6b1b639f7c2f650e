#pragma once
// Integer points and rectangles: containment, clamping, intersection,
// mirroring and distances with an overflow code.
#include <cstdint>

#include "framework/math/qmath_types.h"

// 1 when 0 <= px - x <= w and 0 <= py - y <= h, else 0.
int32_t QMathRectPointInside(const QMathPoint* point, const QMathRect* rect);
int32_t QMathPointInRectXY(int32_t px, int32_t py, int32_t left, int32_t top, int32_t w, int32_t h);
// Each coordinate clamped to the rectangle's edges. Returns out.
QMathPoint* QMathRectClampPoint(QMathPoint* out, const QMathRect* rect, const QMathPoint* point);
// 0 when the rectangles are apart on x or y (out untouched); otherwise 1 and
// the overlap in out. Touching rectangles intersect with a width or height 0.
int32_t QMathRectIntersect(QMathRect* out, const QMathRect* a, const QMathRect* b);
// (2c - x, y) / (x, 2c - y). Return out.
QMathPoint* QMathPointMirrorX(QMathPoint* out, const QMathPoint* point, int32_t c);
QMathPoint* QMathPointMirrorY(QMathPoint* out, const QMathPoint* point, int32_t c);
// out.x = 2c - x - w / out.y = 2c - y - h, the other fields copied. Return out.
QMathRect* QMathRectMirrorX(const QMathRect* rect, QMathRect* out, int32_t c);
QMathRect* QMathRectMirrorY(const QMathRect* rect, QMathRect* out, int32_t c);
// Integer distance (floor of the square root) into out; returns 0, or 7 when a
// square or the sum of the squares exceeds the 32-bit range (out then holds
// the sum's low 32 bits when only the sum is too large).
int32_t QMathPointDistance2D(int32_t* out, const QMathPoint* a, const QMathPoint* b);
int32_t QMathPointDistance3D(int32_t* out, const QMathPoint3D* a, const QMathPoint3D* b);
int32_t QMathPointDistance2DXY(int32_t* out, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
