#pragma once
// The skeleton walk over one pose frame: every segment's matrix and origin in
// the world, as the player's drawing places the body (mirror in the body's own
// lateral axis, turn about the vertical axis, build scale 1). Used by the
// match engine for joint positions and by the animation generator's checks.
#include <cstdint>

#include "framework/math/qmath_types.h"

// The 17 segment matrices of a frame in metres, relative to the player's
// origin: mirror (lateral axis negated) when bMirror is set, then the turn by
// uAngle16 (65536 a full turn) about the vertical axis. Segment s's origin is
// the fourth row of aOut[s].
void animpose_SegmentMatrices(const float* pfFrame, int bMirror, std::uint16_t uAngle16, QMathMatrix aOut[17]);

// World positions (pitch units) of the 17 segment origins: each component of
// the turned origin in metres times 157.4784, truncated toward zero, plus the
// player's x, height and y.
void animpose_JointsWorld(const float* pfFrame, int bMirror, std::uint16_t uAngle16, std::int32_t x, std::int32_t height,
                          std::int32_t y, std::int32_t aiOut[17][3]);
