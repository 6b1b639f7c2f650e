#pragma once
// Value types of the math library.
#include <cstdint>

// Signed 20.12 fixed point: 4096 is 1.0.
typedef int32_t QMathFixed;

// 16 bits per turn: 65536 a full turn, 16384 a quarter turn. Functions that
// take an angle use only its low 16 bits.
typedef uint16_t QMathAngle;

struct QMathVec2 {
  float x, y;
};

struct QMathVec3 {
  float x, y, z;
};

// 16 floats row after row (word = 4 * row + column). Points are row vectors
// multiplied on the left: p' = p * R + t, with the rotation in the upper 3 x 3
// block and the translation in the fourth row (words 12 to 14).
struct QMathMatrix {
  float m[16];
};

// Rotation quaternion, vector part first and the scalar last.
struct QMathQuat {
  float x, y, z, w;
};

// Integer points and rectangles; a rectangle covers x..x + w and y..y + h,
// both edges included.
struct QMathPoint {
  int32_t x, y;
};

struct QMathPoint3D {
  int32_t x, y, z;
};

struct QMathRect {
  int32_t x, y, w, h;
};
